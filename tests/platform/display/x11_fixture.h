// The fixture of the display tests: the X11 backend installed, forms, a box control
// that paints one colour and counts clicks and typed keys, and the loop pumped until
// the server has done what was asked.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <functional>

#include "x_probe.h"
#include "platform/forms/Forms.h"
#include "platform/windows/Backend.h"
#include "platform/windows/WinPaint.h"
#include "test_files.h"

namespace x11test {

using namespace xprobe;

class TBox : public TCustomControl {
public:
    TBox(TComponent* O, TColor C) : TCustomControl(O), Fill(C) {}
    TColor Fill;
    String Typed;
    int Clicks = 0;

protected:
    void Paint() override
    {
        Canvas()->Brush()->SetColor(Fill);
        Canvas()->FillRect(ClientRect());
    }
    void Click() override
    {
        ++Clicks;
        TCustomControl::Click();
    }
    void KeyPress(char32_t& Key) override
    {
        if (Key >= 32 && Key < 127) Typed += char(Key);
        if (Key == 13) Typed += "<enter>";
    }
};

// A popup window: a tool window without a caption, on top.
class TPopup : public TBox {
public:
    using TBox::TBox;

protected:
    void CreateParams(TCreateParams& P) override
    {
        TBox::CreateParams(P);
        P.Style = WS_POPUP;
        P.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
        P.WndParent = nullptr;
    }
};

class X11Test : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display";
        ASSERT_TRUE(InstallX11Backend());
        InitForms();
        ASSERT_TRUE(Open());
        Opened = true;
    }
    void TearDown() override
    {
        if (!Opened) return;
        DoneForms();
        Close();
    }

    TForm* NewForm(TRect R, TColor Color)
    {
        auto* F = Application->CreateForm<TForm>();
        F->SetBorderStyle(bsNone);
        F->SetBoundsRect(R);
        F->SetColor(Color);
        return F;
    }
    template <class T, class... A>
    T* Add(TWinControl* Parent, TRect R, A... Args)
    {
        auto* C = new T(Parent, Args...);
        C->SetBoundsRect(R);
        C->SetParent(Parent);
        return C;
    }
    // Runs the program's loop until Done holds (the server works asynchronously), for up
    // to ten seconds: a compositor started by a test can take seconds to take over under
    // the sanitizers on a loaded machine.
    bool PumpUntil(const std::function<bool()>& Done)
    {
        for (int I = 0; I < 2000; ++I) {
            Sync();
            Application->ProcessMessages();
            if (Done()) return true;
            usleep(5000);
        }
        return false;
    }
    void Pump()
    {
        for (int I = 0; I < 5; ++I) {
            Sync();
            usleep(2000);
            Application->ProcessMessages();
        }
    }
    XId XWin(TWinControl* C) { return XId(GetNativeWindow(C->Handle())); }
    // Kept as a binary portable pixmap, which any picture viewer shows, when screenshots
    // are kept (VC_TEST_SHOTS).
    void SaveScreenshot(const TRect& R, const String& Name)
    {
        const std::string File = vctest::ShotFile(Name);
        if (File.empty()) return;
        auto Px = ScreenPixels(R);
        ASSERT_EQ(Px.size(), size_t(R.Width() * R.Height()));
        String Data = "P6\n" + std::to_string(R.Width()) + " " + std::to_string(R.Height()) + "\n255\n";
        for (TColor C : Px) {
            Data += char(GetRValue(C));
            Data += char(GetGValue(C));
            Data += char(GetBValue(C));
        }
        std::ofstream(File, std::ios::binary) << Data;
    }
    bool Opened = false;
};

}  // namespace x11test
