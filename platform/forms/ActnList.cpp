#include "platform/forms/ActnList.h"

#include <algorithm>

#include "platform/graphics/ImgList.h"

// ---- links -----------------------------------------------------------------------------------------

TBasicActionLink::~TBasicActionLink()
{
    if (FAction) FAction->UnRegisterChanges(this);
}

void TBasicActionLink::SetAction(TBasicAction* Value)
{
    if (Value == FAction) return;
    if (FAction) FAction->UnRegisterChanges(this);
    FAction = Value;
    if (FAction) FAction->RegisterChanges(this);
}

bool TBasicActionLink::Execute(TComponent*)
{
    return FAction && FAction->Execute();
}

void TBasicActionLink::Change()
{
    if (OnChange && FAction) OnChange(FAction);
}

// ---- actions ---------------------------------------------------------------------------------------

TBasicAction::~TBasicAction()
{
    // A freed action leaves its links empty; the controls keep running without it.
    for (TBasicActionLink* L : FClients) L->FAction = nullptr;
    FClients.clear();
}

bool TBasicAction::Execute()
{
    if (!OnExecute) return false;
    TNotifyEvent Handler = OnExecute;  // the handler may replace OnExecute while it runs
    Handler(this);
    return true;
}

void TBasicAction::RegisterChanges(TBasicActionLink* Link)
{
    if (std::find(FClients.begin(), FClients.end(), Link) == FClients.end()) FClients.push_back(Link);
}

void TBasicAction::UnRegisterChanges(TBasicActionLink* Link)
{
    FClients.erase(std::remove(FClients.begin(), FClients.end(), Link), FClients.end());
}

void TBasicAction::Change()
{
    // A link's handler may unlink itself (or another link): walk a copy and skip the gone.
    const std::vector<TBasicActionLink*> Links = FClients;
    for (TBasicActionLink* L : Links)
        if (std::find(FClients.begin(), FClients.end(), L) != FClients.end()) L->Change();
}

TCustomAction::~TCustomAction()
{
    SetActionList(nullptr);
}

bool TCustomAction::Execute()
{
    return FEnabled && TBasicAction::Execute();
}

void TCustomAction::SetCaption(const String& Value)
{
    if (Value == FCaption) return;
    FCaption = Value;
    Change();
}

void TCustomAction::SetHint(const String& Value)
{
    if (Value == FHint) return;
    FHint = Value;
    Change();
}

void TCustomAction::SetEnabled(bool Value)
{
    if (Value == FEnabled) return;
    FEnabled = Value;
    Change();
}

void TCustomAction::SetVisible(bool Value)
{
    if (Value == FVisible) return;
    FVisible = Value;
    Change();
}

void TCustomAction::SetChecked(bool Value)
{
    if (Value == FChecked) return;
    FChecked = Value;
    Change();
}

void TCustomAction::SetImageIndex(int Value)
{
    if (Value == FImageIndex) return;
    FImageIndex = Value;
    Change();
}

void TCustomAction::SetActionList(TCustomActionList* Value)
{
    if (Value == FActionList) return;
    if (FActionList) {
        auto& V = FActionList->FActions;
        V.erase(std::remove(V.begin(), V.end(), this), V.end());
    }
    FActionList = Value;
    if (FActionList) FActionList->FActions.push_back(this);
    if (!(FComponentState.Contains(csDestroying))) Change();
}

TCustomImageList* TCustomAction::Images() const
{
    return FActionList ? FActionList->Images() : nullptr;
}

TCustomActionList::~TCustomActionList()
{
    for (TCustomAction* A : FActions) A->FActionList = nullptr;
    FActions.clear();
}

void TCustomActionList::SetImages(TCustomImageList* Value)
{
    if (Value == FImages) return;
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = Value;
    if (FImages) FImages->FreeNotification(this);
    ChangeAll();
}

void TCustomActionList::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FImages) {
        FImages = nullptr;
        ChangeAll();
    }
}

void TCustomActionList::ChangeAll()
{
    const std::vector<TCustomAction*> Actions = FActions;
    for (TCustomAction* A : Actions) A->Change();
}

// ---- controls --------------------------------------------------------------------------------------

TControlActionLink::TControlActionLink(TControl* AClient, TActionChange AOnActionChange)
    : TBasicActionLink(AClient), FOnActionChange(std::move(AOnActionChange))
{
    OnChange = [this](TBasicAction* Sender) {
        if (FOnActionChange) FOnActionChange(Sender, false);
    };
}

void TControlActionLink::Assign(std::unique_ptr<TControlActionLink>& Link, TControl* AClient, TBasicAction* Value,
                                TActionChange AOnActionChange)
{
    if (!Value) {
        Link.reset();
        return;
    }
    if (!Link) Link = std::make_unique<TControlActionLink>(AClient, AOnActionChange);
    Link->SetAction(Value);
    if (AOnActionChange) AOnActionChange(Value, Value->ComponentState().Contains(csLoading));
}

void ApplyActionToControl(TControl* Control, TBasicAction* Sender, bool CheckDefaults)
{
    auto* A = dynamic_cast<TCustomAction*>(Sender);
    if (!A || !Control) return;
    if (!CheckDefaults || Control->Caption().empty()) Control->SetCaption(A->Caption());
    if (!CheckDefaults || Control->Hint().empty()) Control->SetHint(A->Hint());
    if (!CheckDefaults || Control->Enabled()) Control->SetEnabled(A->Enabled());
    if (!CheckDefaults || Control->Visible()) Control->SetVisible(A->Visible());
}

TCustomImageList* ActionImages(TBasicAction* Sender)
{
    auto* A = dynamic_cast<TCustomAction*>(Sender);
    TCustomImageList* Images = A ? A->Images() : nullptr;
    return Images && A->ImageIndex() >= 0 && A->ImageIndex() < Images->Count() ? Images : nullptr;
}

bool SameHandler(const TNotifyEvent& A, const TNotifyEvent& B)
{
    if (!A || !B) return !A && !B;
    if (A.target_type() != B.target_type()) return false;
    using TFn = void (*)(TObject*);
    if (const TFn* FA = A.target<TFn>()) return *FA == *B.target<TFn>();
    return true;
}

void ClickWithAction(TControl* Sender, const TNotifyEvent& OnClick, TBasicActionLink* Link)
{
    TBasicAction* A = Link ? Link->Action() : nullptr;
    if (OnClick && A && !SameHandler(OnClick, A->OnExecute)) {
        OnClick(Sender);
        return;
    }
    if (A && !Sender->ComponentState().Contains(csDesigning)) {
        Link->Execute(Sender);
        return;
    }
    if (OnClick) OnClick(Sender);
}
