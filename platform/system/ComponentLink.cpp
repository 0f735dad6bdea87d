// The watching component behind TComponentLink.
#include "platform/system/ComponentLink.h"

class TComponentLinkBase::TWatch : public TComponent {
public:
    ~TWatch() override
    {
        if (Target) RemoveFreeNotification(Target);
    }
    TComponent* Target = nullptr;

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override
    {
        if (AOperation == opRemove && AComponent == Target) Target = nullptr;
        TComponent::Notification(AComponent, AOperation);
    }
};

TComponentLinkBase::TComponentLinkBase() = default;
TComponentLinkBase::~TComponentLinkBase() = default;

void TComponentLinkBase::Link(TComponent* AComponent)
{
    if (!FWatch) {
        if (!AComponent) return;
        FWatch = std::make_unique<TWatch>();
    }
    if (FWatch->Target == AComponent) return;
    if (FWatch->Target) FWatch->RemoveFreeNotification(FWatch->Target);
    FWatch->Target = AComponent;
    if (AComponent) AComponent->FreeNotification(FWatch.get());
}

TComponent* TComponentLinkBase::Linked() const
{
    TComponent* C = FWatch ? FWatch->Target : nullptr;
    return C && !C->ComponentState().Contains(csDestroying) ? C : nullptr;
}
