// The default route of the skin data object's messages: the forms of the screen, each
// reached by a message sent to its window (created when it has none yet).
#include "skin/core/bsSkinData.h"

#include "platform/forms/Forms.h"

TbsSkinMessageRoute bsDefaultSkinMessageRoute()
{
    TbsSkinMessageRoute Route;
    Route.IsForm = [](TComponent* C) { return dynamic_cast<TForm*>(C) != nullptr; };
    Route.Forms = [] {
        std::vector<TComponent*> Forms;
        if (Screen)
            for (int i = 0; i < Screen->FormCount(); ++i) Forms.push_back(Screen->Forms(i));
        return Forms;
    };
    Route.Send = [](TComponent* AForm, unsigned M, uintptr_t WParam, intptr_t LParam) {
        if (auto* Form = dynamic_cast<TWinControl*>(AForm)) SendMessage(Form->Handle(), M, WParam, LParam);
    };
    return Route;
}
