// What the shell views share: scope guards (the hourglass cursor, a BeginUpdate/EndUpdate
// pair and a busy flag, each undone however the work ends) and the loading of the program's
// named folder and drive pictures.
#pragma once

#include <memory>

#include "platform/forms/Forms.h"

namespace bsshell {

// Shows the hourglass and puts the cursor back.
struct THourGlass {
    TCursor Saved;
    THourGlass() : Saved(Screen ? Screen->Cursor() : crDefault)
    {
        if (Screen) Screen->SetCursor(crHourGlass);
    }
    ~THourGlass()
    {
        if (Screen) Screen->SetCursor(Saved);
    }
    THourGlass(const THourGlass&) = delete;
    THourGlass& operator=(const THourGlass&) = delete;
};

// BeginUpdate now, EndUpdate at the end of the scope (list items, tree nodes, combo items).
template <class T>
struct TUpdateScope {
    T* Items;
    explicit TUpdateScope(T* A) : Items(A) { Items->BeginUpdate(); }
    ~TUpdateScope() { Items->EndUpdate(); }
    TUpdateScope(const TUpdateScope&) = delete;
    TUpdateScope& operator=(const TUpdateScope&) = delete;
};

// Raises a flag for the scope and gives it back its earlier value.
struct TFlag {
    bool& F;
    bool Old;
    explicit TFlag(bool& A) : F(A), Old(A) { F = true; }
    ~TFlag() { F = Old; }
    TFlag(const TFlag&) = delete;
    TFlag& operator=(const TFlag&) = delete;
};

// One of the program's named folder or drive pictures; its bottom-left pixel is the
// transparent colour.
inline std::unique_ptr<TBitmap> LoadNamedPicture(const char* Name)
{
    auto B = std::make_unique<TBitmap>();
    B->LoadFromResourceName(0, Name);
    B->SetTransparent(true);
    return B;
}

}  // namespace bsshell
