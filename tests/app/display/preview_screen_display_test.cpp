// The preview's screen panel on a real display, where the paused picture must stay whole:
// a window that covered the panel and went away leaves the picture as it was, and the
// bars beside a picture of another shape (or the whole panel of a file without pictures)
// keep nothing of the file shown before.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "app/forms/Unit1.h"
#include "app/forms/Unit2.h"
#include "display/pointer_keys.h"
#include "display/program_display.h"
#include "support/display/screen_pixels.h"
#include "display/skin_screen.h"
#include "engine/player/FFPlay.h"
#include "skin/controls/bsSkinCtrls.h"

using namespace skinscreen;

namespace {

class PreviewScreenDisplay : public ProgramFormsDisplay {
protected:
    void TearDown() override
    {
        if (FormsUp && Form1 && Form1->FFPlayer) Form1->FFPlayer->Stop(true);
        ProgramFormsDisplay::TearDown();
    }
    // Pixels of R that differ from AWant.
    static int Differing(const TRect& R, const std::vector<uint32_t>& AWant)
    {
        const std::vector<uint32_t> now = Grab(R);
        int n = 0;
        for (size_t i = 0; i < now.size() && i < AWant.size(); ++i) n += now[i] != AWant[i];
        return n + int(std::max(now.size(), AWant.size()) - std::min(now.size(), AWant.size()));
    }
    // Pixels of R that are not the screen's background (black).
    static int NotBlack(const TRect& R)
    {
        return R.IsEmpty() ? 0 : Count(Grab(R), [](uint32_t c) { return c != 0; });
    }
    // Waits until the panel's pixels stop changing.
    static std::vector<uint32_t> Steady(const TRect& R)
    {
        std::vector<uint32_t> last = Grab(R);
        for (int turn = 0; turn < 40; ++turn) {
            Settle(10);
            std::vector<uint32_t> now = Grab(R);
            if (now == last) return now;
            last = std::move(now);
        }
        return last;
    }
};

TEST_F(PreviewScreenDisplay, APausedPictureComesBackWhereAWindowCoveredIt)
{
    const String clip = MakeClip(Root + "/clip.mkv", 2, "64x48");
    ASSERT_FALSE(clip.empty());
    Form1->T_Movie_PLayer_FileName = clip;
    Form1->Button31Click(Form1);
    ASSERT_NE(Form1->FFPlayer->VideoState(), nullptr) << Form1->FFPlayer->LastErrMsg();
    const TRect screen = OnScreen(Form1->Panel6);
    ASSERT_TRUE(Pump([&] { return NotBlack(screen) > screen.Width() * screen.Height() / 2; }));
    const std::vector<uint32_t> picture = Steady(screen);
    ASSERT_TRUE(Form1->FFPlayer->Paused());

    // The about box laid over the panel, then closed with its button.
    Form2->Show();
    Form2->SetBounds(screen.Left - 20, screen.Top - 20, Form2->Width(), Form2->Height());
    const TRect box = GetWindowRect(Form2->Handle());
    ASSERT_TRUE(box.Contains(screen.TopLeft()) && box.Contains({screen.Right - 1, screen.Bottom - 1}));
    ASSERT_TRUE(Pump([&] { return Differing(screen, picture) > screen.Width() * screen.Height() / 2; }))
        << "the box covers the panel";
    Settle();
    ClickOn(Form2->bsSkinButton1);
    ASSERT_TRUE(Pump([] { return !Form2->Visible(); }));
    Pump([&] { return Differing(screen, picture) == 0; });
    Settle();
    EXPECT_EQ(Differing(screen, picture), 0) << "the picture shown again where the box lay";
    EXPECT_TRUE(Form1->FFPlayer->Paused());
    if (HasFailure()) Save(Grab(screen), screen, "preview_screen_uncovered.ppm");
}

TEST_F(PreviewScreenDisplay, TheBarsBesideThePictureKeepNothingOfTheFileBefore)
{
    const String wide = MakeClip(Root + "/wide.mkv", 2, "64x36");
    const String narrow = MakeClip(Root + "/narrow.mkv", 2, "64x48");
    const String sound = Root + "/sound.wav";
    ASSERT_FALSE(wide.empty() || narrow.empty());
    ASSERT_EQ(std::system(("ffmpeg -nostdin -y -loglevel error -f lavfi -i sine=f=440:d=2 '" + sound + "' >/dev/null 2>&1")
                              .c_str()),
              0);
    // Added last to first: the rows are the 4:3 clip, the 16:9 clip, the sound.
    Form1->SelectInputFiles = [&](bool, std::vector<String>& AFiles) {
        AFiles = {sound, wide, narrow};
        return true;
    };
    Form1->Button8Click(Form1);
    ASSERT_EQ(Form1->lvFiles->Items()->Count(), 3);
    const TRect screen = OnScreen(Form1->Panel6);
    const TRect list = OnScreen(Form1->lvFiles);
    auto choose = [&](int ARow) {
        const TRect r = Form1->lvFiles->GetSubItemRect(ARow, 0);
        pointerkeys::MovePointer(list.Left + r.Left + 10, list.Top + (r.Top + r.Bottom) / 2);
        pointerkeys::PressButton(1);
        pointerkeys::ReleaseButton(1);
        return Pump([&] { return Form1->lvFiles->ItemIndex() == ARow; });
    };
    ASSERT_TRUE(choose(0));
    ASSERT_TRUE(Pump([&] { return NotBlack(screen) > screen.Width() * screen.Height() / 2; }));
    Steady(screen);
    // 4:3 in the 210 x 135 panel: 180 wide, bars of 15 at the sides.
    EXPECT_EQ(NotBlack({screen.Left, screen.Top, screen.Left + 14, screen.Bottom}), 0);
    EXPECT_EQ(NotBlack({screen.Right - 14, screen.Top, screen.Right, screen.Bottom}), 0);

    // 16:9: the whole width, 118 high; bars of 8 above and below.
    ASSERT_TRUE(choose(1));
    ASSERT_TRUE(Pump([&] { return Form1->FFPlayer->CurrentFrame()->Height() == 36; })) << Form1->mmoLog->Lines()->Text();
    Steady(screen);
    EXPECT_EQ(NotBlack({screen.Left, screen.Top, screen.Right, screen.Top + 7}), 0) << "the bar above";
    EXPECT_EQ(NotBlack({screen.Left, screen.Bottom - 7, screen.Right, screen.Bottom}), 0) << "the bar below";
    EXPECT_GT(NotBlack({screen.Left, screen.Top + 10, screen.Left + 14, screen.Bottom - 10}), 200)
        << "the picture reaches the sides";

    // The sound alone with the player's visualisation off: nothing is drawn for it, and
    // nothing of the clip's picture stays.
    Form1->FFPlayer->SetShowAudio(saNone);
    ASSERT_TRUE(choose(2));
    ASSERT_TRUE(Pump([] { return Form1->FFPlayer->VideoState() && Form1->FFPlayer->VideoStreamIndex() < 0; }));
    Steady(screen);
    EXPECT_EQ(NotBlack(screen), 0);
    if (HasFailure()) Save(Grab(screen), screen, "preview_screen_bars.ppm");
}

}  // namespace
