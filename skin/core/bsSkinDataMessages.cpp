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

void bsPaintFormsNow(const std::vector<TComponent*>& AForms)
{
    // the windows first: a form freed by another's painting is then passed over
    std::vector<HWND> Windows;
    for (TComponent* C : AForms)
        if (auto* W = dynamic_cast<TWinControl*>(C); W && W->HandleAllocated() && IsWindowVisible(W->Handle()))
            Windows.push_back(W->Handle());
    for (HWND H : Windows)
        if (IsWindow(H))
            RedrawWindow(H, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

std::optional<String> bsRunHoldingReportedErrors(const std::function<void()>& AWork)
{
    if (!Application) {
        AWork();
        return std::nullopt;
    }
    struct THold {
        TExceptionEvent Saved = Application->OnException;
        std::optional<String> First;
        THold()
        {
            Application->OnException = [this](TObject*, Exception* E) {
                if (!First) First = E ? E->Message() : String("Error");
            };
        }
        ~THold() { Application->OnException = Saved; }
    } Hold;
    AWork();
    return Hold.First;
}
