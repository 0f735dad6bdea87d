// The context menu of a shell item: a skinned popup menu of the verbs the desktop offers
// here ("open" and "rename"), run through the control's command handler.
#include "platform/forms/Forms.h"
#include "platform/forms/Menus.h"
#include "platform/shell/ShellAPI.h"
#include "skin/menus/bsSkinMenus.h"
#include "skin/shell/bsSkinShellCtrls.h"

namespace {

// The menu of one control, kept for its next use; it remembers the item it was shown for.
class TbsShellItemMenu : public TbsSkinPopupMenu {
public:
    explicit TbsShellItemMenu(TWinControl* AControl) : TbsSkinPopupMenu(AControl), FControl(AControl)
    {
        static const char* const Captions[] = {"&Open", "Rena&me"};
        const auto& Verbs = ItemContextVerbs();
        for (size_t I = 0; I < Verbs.size(); ++I) {
            auto* Item = new TMenuItem(this);
            Item->SetCaption(Captions[I]);
            const String Verb = Verbs[I];
            Item->OnClick = [this, Verb](TObject*) { RunItemCommand(FControl, FItemPath, Verb); };
            Items()->Add(Item);
        }
    }
    String FItemPath;

private:
    TWinControl* FControl;
};

TbsShellItemMenu* ItemMenuOf(TWinControl* Control)
{
    for (int I = 0; I < Control->ComponentCount(); ++I)
        if (auto* M = dynamic_cast<TbsShellItemMenu*>(Control->Components(I))) return M;
    return new TbsShellItemMenu(Control);
}

}  // namespace

const std::vector<String>& ItemContextVerbs()
{
    static const std::vector<String> Verbs{"open", "rename"};
    return Verbs;
}

bool InvokePathVerb(const String& Path, const String& Verb)
{
    // only file-system items can be opened; the desktop has no property sheets
    if (CompareText(Verb, "open") != 0 || Path.empty() || Path[0] != '/') return false;
    return ShellExecute(nullptr, "open", Path) > 32;
}

void InvokeItemVerb(TbsShellFolder* Item, const String& Verb)
{
    if (Item) InvokePathVerb(Item->PathName(), Verb);
}

void RunItemCommand(TWinControl* Control, const String& Path, const String& Verb)
{
    auto* Handler = dynamic_cast<IbsShellCommandHandler*>(Control);
    bool Handled = false;
    bool Succeeded = true;
    if (Handler) Handler->ExecuteCommand(Verb, Handled);
    if (!Handled) Succeeded = InvokePathVerb(Path, Verb);
    if (Handler) Handler->CommandCompleted(Verb, Succeeded);
}

void ShowItemContextMenu(TWinControl* Control, TbsShellFolder* Item, int X, int Y)
{
    if (!Control || !Item) return;
    TbsShellItemMenu* Menu = ItemMenuOf(Control);
    Menu->FItemPath = Item->PathName();
    if (!Menu->ComponentForm()) Menu->SetComponentForm(GetParentForm(Control));
    const TPoint P = Control->ClientToScreen(X == -1 && Y == -1 ? Point(8, 8) : Point(X, Y));
    Menu->Popup(P.X, P.Y);
}
