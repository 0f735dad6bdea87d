// The preview panel and the about box on a real display: a generated clip opened paused
// into the main window's screen panel through SDL's X11 driver (pictures there and
// nowhere else), played, paused, stopped and opened again, muted and unmuted with real
// clicks, the seek slider held while the file plays, a snapshot written, the keyboard's
// way to the off-screen skin button; the main window with a picture and the about box
// photographed (preview_*.ppm when screenshots are kept) and checked.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "app/forms/Unit1.h"
#include "app/forms/Unit2.h"
#include "display/pointer_keys.h"
#include "display/program_display.h"
#include "support/display/screen_pixels.h"
#include "display/skin_screen.h"
#include "engine/player/FFPlay.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/controls/bsSkinExCtrls.h"

using namespace skinscreen;

namespace {

class PreviewDisplay : public ProgramFormsDisplay {
protected:
    static bool Logged(const String& ALine)
    {
        for (int i = 0; i < Form1->mmoLog->Lines()->Count(); ++i)
            if (Form1->mmoLog->Lines()->Strings(i) == ALine) return true;
        return false;
    }
};

TEST_F(PreviewDisplay, TheClipPlaysInTheScreenPanelDrivenByItsButtons)
{
    const String clip = MakeClip(Root + "/clip.mkv", 2, "64x48");
    ASSERT_FALSE(clip.empty());
    const TRect win = GetWindowRect(Form1->Handle());
    const TRect screen = OnScreen(Form1->Panel6);
    const std::vector<uint32_t> before = Grab(win);
    // The open gives the seek slider its new range (its scale is drawn again); every
    // other change lies in the screen panel.
    const TRect scale = OnScreen(Form1->bsSkinSlider1);
    auto inScreen = [&](size_t I) {
        const int x = win.Left + int(I) % win.Width(), y = win.Top + int(I) / win.Width();
        return x >= screen.Left && x < screen.Right && y >= screen.Top && y < screen.Bottom;
    };
    auto inScale = [&](size_t I) {
        const int x = win.Left + int(I) % win.Width(), y = win.Top + int(I) / win.Width();
        return x >= scale.Left && x < scale.Right && y >= scale.Top && y < scale.Bottom;
    };

    // The job list's road: the selected row's file, then the open routine.
    Form1->T_Movie_PLayer_FileName = clip;
    Form1->Button31Click(Form1);
    ASSERT_NE(Form1->FFPlayer->VideoState(), nullptr) << Form1->FFPlayer->LastErrMsg();
    EXPECT_TRUE(Form1->FFPlayer->Paused());
    // The first picture covers the panel's still picture (a 4:3 clip in a 210 x 135
    // panel: bars at its sides at most); nothing outside the panel changes.
    const std::vector<uint32_t> still = Grab(screen);
    const bool pictured = Pump([&] {
        const auto now = Grab(screen);
        int changed = 0;
        for (size_t i = 0; i < now.size() && i < still.size(); ++i) changed += now[i] != still[i];
        return changed > screen.Width() * screen.Height() / 3;
    });
    if (!pictured) {
        Save(Grab(win), win, "preview_no_picture.ppm");
        Form1->FFPlayer->Stop(true);
    }
    ASSERT_TRUE(pictured) << "a picture in the screen panel; log:\n" << Form1->mmoLog->Lines()->Text();
    Pump([] { return false; }, 40);
    const std::vector<uint32_t> shown = Grab(win);
    ASSERT_EQ(shown.size(), before.size());
    int changedInside = 0, changedOutside = 0;
    TRect outside{10000, 10000, -1, -1};
    for (size_t i = 0; i < shown.size(); ++i) {
        if (shown[i] == before[i] || inScale(i)) continue;
        (inScreen(i) ? changedInside : changedOutside)++;
        if (inScreen(i)) continue;
        const int x = int(i) % win.Width(), y = int(i) / win.Width();
        outside = {std::min(outside.Left, x), std::min(outside.Top, y), std::max(outside.Right, x), std::max(outside.Bottom, y)};
    }
    EXPECT_GT(changedInside, screen.Width() * screen.Height() / 3);
    EXPECT_EQ(changedOutside, 0) << outside.Left << "," << outside.Top << " - " << outside.Right << "," << outside.Bottom;
    Save(shown, win, "preview_main.ppm");
    EXPECT_GT(Count(shown, [](uint32_t c) { return c == Accent; }), 2000) << "the skinned window around it";

    // Play, then pause, with real clicks.
    ClickOn(Form1->bsSkinButton13);
    EXPECT_TRUE(Pump([] { return !Form1->FFPlayer->Paused() && Form1->Label3->Caption() != "0.0"; }));
    ClickOn(Form1->bsSkinButton14);
    EXPECT_TRUE(Pump([] { return Form1->FFPlayer->Paused(); }));
    EXPECT_EQ(Form1->FormStyle(), fsNormal);

    // Mute turns into unmute and back.
    ClickOn(Form1->bsSkinButton16);
    EXPECT_TRUE(Pump([] { return Form1->bsSkinButton20->Visible(); }));
    EXPECT_TRUE(Form1->FFPlayer->Mute());
    ClickOn(Form1->bsSkinButton20);
    EXPECT_TRUE(Pump([] { return Form1->bsSkinButton16->Visible(); }));
    EXPECT_FALSE(Form1->FFPlayer->Mute());

    // The slider held while the file plays: position events change neither the label nor
    // the slider; letting go seeks there and plays on.
    const TRect slider = OnScreen(Form1->bsSkinSlider1);
    // On the thumb: a press beside it would page the slider on by itself while held.
    const TRect thumb = Form1->bsSkinSlider1->ThumbRect();
    pointerkeys::MovePointer(slider.Left + (thumb.Left + thumb.Right) / 2, slider.Top + (thumb.Top + thumb.Bottom) / 2);
    pointerkeys::PressButton(1);
    EXPECT_TRUE(Pump([] { return Form1->bsSkinSlider1_down_UP == "Down"; }));
    Pump([] { return false; }, 20);
    const String label = Form1->Label3->Caption();
    const int value = Form1->bsSkinSlider1->Value();
    Form1->FFPlayer->Resume();  // positions flow while the slider is held
    Pump([] { return false; }, 100);
    EXPECT_EQ(Form1->Label3->Caption(), label);
    EXPECT_EQ(Form1->bsSkinSlider1->Value(), value);
    pointerkeys::ReleaseButton(1);
    EXPECT_TRUE(Pump([] { return Form1->bsSkinSlider1_down_UP == "UP"; }));
    EXPECT_TRUE(Pump([] { return !Form1->FFPlayer->Paused(); }));

    // At the end the file rests at its start, paused.
    EXPECT_TRUE(Pump([] { return Logged("End"); }, 4000));
    EXPECT_TRUE(Pump([] { return Form1->FFPlayer->Paused(); }));

    // The snapshot button writes the picture shown.
    std::ofstream(Root + "/prog/option.ini", std::ios::app) << "[SnapShot]\nDir=" << Root << "/shots\nPicture=PNG\n";
    ClickOn(Form1->bsSkinButton22);
    EXPECT_TRUE(Pump([&] { return std::filesystem::exists(Root + "/shots/clip_1.png"); }));

    // Stop with a row selected stops and opens the file again.
    Form1->AddJobRow({clip});
    Form1->lvFiles->SetItemIndex(0);
    Form1->mmoLog->Lines()->Clear();
    ClickOn(Form1->bsSkinButton15);
    EXPECT_TRUE(Pump([] { return Logged("Stop") && Logged("duration: 2.00, frame size: 64x48"); }));
    EXPECT_NE(Form1->FFPlayer->VideoState(), nullptr);
    Form1->FFPlayer->Stop(true);
}

TEST_F(PreviewDisplay, TabReachesTheSkinButtonOffScreen)
{
    ClickOn(Form1->lvFiles);
    ASSERT_TRUE(Pump([] { return Form1->ActiveControl() != nullptr; }));
    bool reached = false;
    for (int tab = 0; tab < 80 && !reached; ++tab) {
        pointerkeys::TapKey("Tab");
        reached = Pump([] { return Form1->ActiveControl() == Form1->bsSkinButton9; }, 20);
    }
    EXPECT_TRUE(reached) << "\"皮肤\" by the keyboard";
}

TEST_F(PreviewDisplay, AboutBoxIsDrawnFromTheProgramSkin)
{
    Form2->Show();
    ASSERT_TRUE(Pump([] {
        const TRect r = GetWindowRect(Form2->Handle());
        return !r.IsEmpty() && screentest::ScreenPixel(r.Left + 1, r.Top + 1) == Accent;
    }));
    Pump([] { return false; }, 60);
    const TRect box = GetWindowRect(Form2->Handle());
    const auto px = Grab(box);
    Save(px, box, "preview_about.ppm");
    EXPECT_GE(box.Width(), 368);
    EXPECT_GE(box.Height(), 238 + 20) << "the skin's caption above the client area";
    // Centred on the main window.
    const TRect win = GetWindowRect(Form1->Handle());
    EXPECT_LE(std::abs((box.Left + box.Right) / 2 - (win.Left + win.Right) / 2), 2);
    EXPECT_EQ(At(box.Left + 1, box.Top + box.Height() / 2), Accent) << "the skin's frame";
    EXPECT_GT(CaptionText(box, 120), 15) << "\"关于\" in white";
    EXPECT_EQ(DefaultLookIn(box), 0) << "no control in the default look";
    auto darkIn = [](TControl* C) { return DarkIn(OnScreen(C)); };
    EXPECT_GT(darkIn(Form2->bsSkinStdLabel3), 40) << "\"澄枫DAT格式转换器\"";
    EXPECT_GT(darkIn(Form2->bsSkinStdLabel1), 20) << "\"了解更多请访问：\"";
    EXPECT_GT(darkIn(Form2->bsSkinButton1), 10) << "\"确定\"";
    // No web site or mail yet: their links are drawn disabled, in grey on the face.
    auto written = [](TControl* C) {
        std::vector<uint32_t> px = Grab(OnScreen(C));
        std::map<uint32_t, int> counts;
        for (uint32_t c : px) ++counts[c];
        int most = 0;
        for (const auto& [c, n] : counts) most = std::max(most, n);
        return int(px.size()) - most;
    };
    EXPECT_GT(written(Form2->bsSkinLinkLabel1), 40) << "\"暂无网站\"";
    EXPECT_GT(written(Form2->bsSkinLinkLabel2), 40) << "\"暂无邮箱\"";
    EXPECT_GT(Count(Grab(OnScreen(Form2->Image1)), [](uint32_t c) { return c == Accent; }), 50) << "the product picture";
    ClickOn(Form2->bsSkinButton1);
    EXPECT_TRUE(Pump([] { return !Form2->Visible(); }));
}

}  // namespace
