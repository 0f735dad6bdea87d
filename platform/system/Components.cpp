// TObject, TPersistent and TComponent: class names, Assign, ownership and free
// notification.
#include "platform/system/Classes.h"

#include <algorithm>
#include <cxxabi.h>
#include <cstdlib>
#include <typeinfo>

TObject::~TObject() = default;

String TObject::ClassName() const
{
    const char* mangled = typeid(*this).name();
    int status = 0;
    char* demangled = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
    String name = status == 0 && demangled ? demangled : mangled;
    std::free(demangled);
    // Drop namespaces and template arguments' noise: keep the last plain identifier.
    size_t lt = name.find('<');
    String head = lt == String::npos ? name : name.substr(0, lt);
    size_t colon = head.rfind("::");
    if (colon != String::npos) name = name.substr(colon + 2);
    return name;
}

// ---------------------------------------------------------------------------------

void TPersistent::Assign(TPersistent* ASource)
{
    if (ASource) ASource->AssignTo(this);
    else AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* ADest) { ADest->AssignError(this); }

void TPersistent::AssignError(TPersistent* ASource)
{
    String source = ASource ? ASource->ClassName() : String("nil");
    throw EConvertError("Cannot assign a %s to a %s", source, ClassName());
}

// ---------------------------------------------------------------------------------

TComponent::TComponent(TComponent* AOwner)
{
    if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent()
{
    Destroying();
    // Tell every component that links to this one; each answer removes itself from
    // FFreeNotifies (through RemoveFreeNotification), so take from the back.
    while (!FFreeNotifies.empty()) {
        TComponent* c = FFreeNotifies.back();
        FFreeNotifies.pop_back();
        c->Notification(this, opRemove);
        c->RemoveNotification(this);
    }
    DestroyComponents();
    if (FOwner) FOwner->RemoveComponent(this);
}

TComponent* TComponent::Components(int AIndex) const
{
    if (AIndex < 0 || AIndex >= int(FComponents.size())) TList::Error("List index out of bounds (%d)", AIndex);
    return FComponents[AIndex];
}

int TComponent::ComponentIndex() const
{
    if (!FOwner) return -1;
    auto& v = FOwner->FComponents;
    auto it = std::find(v.begin(), v.end(), this);
    return it == v.end() ? -1 : int(it - v.begin());
}

TComponent* TComponent::FindComponent(const String& AName) const
{
    if (AName.empty()) return nullptr;
    for (TComponent* c : FComponents)
        if (SameText(c->FName, AName)) return c;
    return nullptr;
}

static bool IsValidIdent(const String& S)
{
    if (S.empty()) return false;
    auto alpha = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; };
    if (!alpha(S[0])) return false;
    for (char c : S)
        if (!alpha(c) && !(c >= '0' && c <= '9')) return false;
    return true;
}

void TComponent::SetName(const String& AName)
{
    if (FName == AName) return;
    if (!AName.empty() && !IsValidIdent(AName)) throw EComponentError("'%s' is not a valid component name", AName);
    if (FOwner) FOwner->ValidateRename(this, FName, AName);
    else ValidateRename(nullptr, FName, AName);
    FName = AName;
}

void TComponent::ValidateRename(TComponent* AComponent, const String& ACurName, const String& ANewName)
{
    (void)ACurName;
    if (AComponent && !ANewName.empty()) {
        TComponent* other = FindComponent(ANewName);
        if (other && other != AComponent) throw EComponentError("A component named %s already exists", ANewName);
    }
}

void TComponent::SetDesigning(bool AValue)
{
    if (AValue) FComponentState.Include(csDesigning);
    else FComponentState.Exclude(csDesigning);
    for (TComponent* c : FComponents) c->SetDesigning(AValue);
}

void TComponent::Insert(TComponent* AComponent)
{
    FComponents.push_back(AComponent);
    AComponent->FOwner = this;
}

void TComponent::Remove(TComponent* AComponent)
{
    auto it = std::find(FComponents.begin(), FComponents.end(), AComponent);
    if (it != FComponents.end()) FComponents.erase(it);
    AComponent->FOwner = nullptr;
}

void TComponent::InsertComponent(TComponent* AComponent)
{
    if (!AComponent || AComponent->FOwner == this) return;
    if (AComponent->FOwner) AComponent->FOwner->RemoveComponent(AComponent);
    if (!AComponent->FName.empty()) ValidateRename(AComponent, String(), AComponent->FName);
    Insert(AComponent);
    if (FComponentState.Contains(csDesigning)) AComponent->SetDesigning(true);
    Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent)
{
    if (!AComponent || AComponent->FOwner != this) return;
    Notification(AComponent, opRemove);
    Remove(AComponent);
}

void TComponent::DestroyComponents()
{
    // Last first; each removal is announced so that sibling links are cleared before
    // the component is deleted.
    while (!FComponents.empty()) {
        TComponent* c = FComponents.back();
        RemoveComponent(c);
        delete c;
    }
}

void TComponent::Destroying()
{
    if (FComponentState.Contains(csDestroying)) return;
    FComponentState.Include(csDestroying);
    for (TComponent* c : FComponents) c->Destroying();
}

void TComponent::FreeNotification(TComponent* AComponent)
{
    if (!AComponent || AComponent == this) return;
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end()) {
        FFreeNotifies.push_back(AComponent);
        AComponent->FreeNotification(this);
    }
    FComponentState.Include(csFreeNotification);
}

void TComponent::RemoveNotification(TComponent* AComponent)
{
    auto it = std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent);
    if (it != FFreeNotifies.end()) FFreeNotifies.erase(it);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent)
{
    if (!AComponent) return;
    RemoveNotification(AComponent);
    AComponent->RemoveNotification(this);
}

void TComponent::Notification(TComponent* AComponent, TOperation AOperation)
{
    if (AOperation == opRemove && AComponent) RemoveFreeNotification(AComponent);
    // Pass the notice on to owned components, last first.  A handler may delete
    // components of this owner: the index is kept within the list as it shrinks.
    for (int i = int(FComponents.size()) - 1; i >= 0; --i) {
        if (i >= int(FComponents.size())) {
            i = int(FComponents.size());
            continue;
        }
        TComponent* c = FComponents[i];
        if (c != AComponent) c->Notification(AComponent, AOperation);
    }
}

void TComponent::Loading() { FComponentState.Include(csLoading); }

void TComponent::Loaded() { FComponentState.Exclude(csLoading); }
