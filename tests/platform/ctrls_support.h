// A form on the headless backend for the standard-control tests, and input helpers.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "platform/forms/Clipbrd.h"
#include "platform/forms/Forms.h"
#include "platform/windows/Headless.h"

class CtrlsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Headless::Install();
        InitForms();
        Clipboard()->Clear();
        Form = Application->CreateForm<TForm>();
        Form->SetBorderStyle(bsNone);
        Form->SetBounds(100, 100, 400, 300);
    }
    void TearDown() override { DoneForms(); }
    template <class T>
    T* Add(TRect R, TWinControl* Parent = nullptr)
    {
        auto* C = new T(Form);
        C->SetBoundsRect(R);
        C->SetParent(Parent ? Parent : Form);
        return C;
    }
    void Pump() { Application->ProcessMessages(); }
    TPoint At(TControl* C, TPoint P) { return C->ClientToScreen(P); }
    void Click(TControl* C, TPoint P)
    {
        Headless::Click(At(C, P));
        Pump();
    }
    // A key with modifiers held (VK_SHIFT, VK_CONTROL).
    void Key(int Vk, const std::vector<int>& Mods = {})
    {
        for (int M : Mods) Headless::KeyDown(M);
        Headless::Key(Vk);
        for (int M : Mods) Headless::KeyUp(M);
        Pump();
    }
    void Type(const String& S)
    {
        Headless::Type(S);
        Pump();
    }
    TForm* Form = nullptr;
};
