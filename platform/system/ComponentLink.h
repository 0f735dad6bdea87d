// TComponentLink: a non-owning link to a component that forgets it when it is freed.
//
// The link keeps a small component of its own that asks the linked one for free
// notification; that component's Notification clears the link, so the holder needs no
// Notification code for it.  While the linked component is being destroyed (csDestroying:
// its destructor has begun) the link already reads nullptr, so nothing reaches a half-torn
// object through it.
#pragma once

#include <memory>

#include "platform/system/Classes.h"

class TComponentLinkBase {
public:
    TComponentLinkBase();
    TComponentLinkBase(const TComponentLinkBase&) = delete;
    TComponentLinkBase& operator=(const TComponentLinkBase&) = delete;
    ~TComponentLinkBase();

protected:
    void Link(TComponent* AComponent);
    // The linked component; nullptr when none, once freed, or while being destroyed.
    TComponent* Linked() const;

private:
    class TWatch;
    std::unique_ptr<TWatch> FWatch;  // made on the first link
};

// Reads and assigns as a T*; T may be incomplete where only the link is declared or read.
template <class T>
class TComponentLink : public TComponentLinkBase {
public:
    TComponentLink() = default;
    TComponentLink& operator=(T* AComponent)
    {
        Link(AComponent);
        FPtr = AComponent;
        return *this;
    }
    T* Get() const { return Linked() ? FPtr : nullptr; }
    operator T*() const { return Get(); }
    T* operator->() const { return Get(); }

private:
    T* FPtr = nullptr;
};
