// Building a form's controls in code, and giving them the focus.
#pragma once

#include "platform/forms/Controls.h"

// A control of class T owned by AOwner, named, placed on AParent at the given bounds.
template <class T>
T* Place(TComponent* AOwner, TWinControl* AParent, const char* AName, int ALeft, int ATop, int AWidth, int AHeight)
{
    T* control = new T(AOwner);
    control->SetName(AName);
    control->SetParent(AParent);
    control->SetBounds(ALeft, ATop, AWidth, AHeight);
    return control;
}

// Gives AControl the focus when it can take it (it and its form shown and enabled);
// otherwise the focus stays where it is.
inline void FocusIfAble(TWinControl* AControl)
{
    if (AControl->CanFocus()) AControl->SetFocus();
}
