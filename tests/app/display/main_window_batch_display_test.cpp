// The main window at work on a real display: two generated clips added through the add
// road, the last one opened paused in the preview, a batch started with a real click on
// "开始" and paused with one on "暂停" while its first file converts; the window is
// photographed (main_window_batch.ppm when screenshots are kept) and checked: frame and
// caption in the skin's colours, the rows' Chinese names and the first row's progress
// drawn, the paused picture in the preview, no control in the default look.
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/forms/Unit1.h"
#include "app/forms/Unit5.h"
#include "display/program_display.h"
#include "support/display/screen_pixels.h"
#include "display/skin_screen.h"
#include "engine/player/FFPlay.h"
#include "skin/boxes/bsSkinBoxCtrls.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/controls/bsSkinExCtrls.h"

using namespace skinscreen;

namespace {

using MainWindowBatchDisplay = ProgramFormsDisplay;

TEST_F(MainWindowBatchDisplay, RowsABatchInProgressAndAPreviewPicture)
{
    // The first clip is long enough to be caught converting; the second waits its turn.
    const String first = MakeClip(Root + "/旅行纪录.avi", 200, "320x240");
    const String second = MakeClip(Root + "/会议.avi", 2, "64x48");
    ASSERT_FALSE(first.empty() || second.empty());
    Form5->bsSkinComboBox2->SetText("1");  // one file at a time
    // (files are added from the last chosen to the first: the long clip becomes row 0)
    Form1->SelectInputFiles = [&](bool, std::vector<String>& AFiles) {
        AFiles = {second, first};
        return true;
    };
    Form1->Button8Click(Form1);
    ASSERT_EQ(Form1->lvFiles->Items()->Count(), 2);
    // The selected row's file opens paused in the preview.
    const TRect screen = OnScreen(Form1->Panel6);
    ASSERT_TRUE(Pump([&] { return Form1->FFPlayer->CurrentFrame()->Width() > 0; })) << Form1->mmoLog->Lines()->Text();
    Settle();

    ClickOn(Form1->bsSkinButton2);
    TListItem* row = Form1->lvFiles->Items()->Item(0);
    auto progress = [&] { return TForm1::JobColumn(row, jcProgress); };
    ASSERT_TRUE(Pump([&] { return !progress().empty(); }, 6000)) << "the first file's progress";
    ClickOn(Form1->bsSkinButton11);
    ASSERT_TRUE(Pump([] { return Form1->BatchState() == TForm1::bsPaused; }));
    Settle(60);

    const TRect win = GetWindowRect(Form1->Handle());
    const std::vector<uint32_t> px = Shot(win, "main_window_batch.ppm");
    const String shown = progress();
    EXPECT_NE(shown, "100%") << "caught while converting";
    EXPECT_EQ(shown.back(), '%');

    // Frame and caption in the skin's colours.
    EXPECT_EQ(At(win.Left + 1, win.Top + win.Height() / 2), Accent);
    EXPECT_EQ(At(win.Right - 2, win.Bottom - 2), Accent);
    EXPECT_GT(CaptionText(win), 60) << "\"澄枫DAT格式转换器\" in white";
    // The rows: their files and Chinese output names, and the first row's progress, each
    // drawn in its cell.
    const TRect list = OnScreen(Form1->lvFiles);
    auto cell = [&](int ARow, int AColumn) {
        const TRect r = Form1->lvFiles->GetSubItemRect(ARow, AColumn);
        return Bounds(list.Left + r.Left, list.Top + r.Top, r.Width(), r.Height());
    };
    for (int r = 0; r < 2; ++r) {
        EXPECT_GT(DarkIn(cell(r, jcInputFile)), 40) << "row " << r << ": the file";
        EXPECT_GT(DarkIn(cell(r, jcOutputFile)), 40) << "row " << r << ": the output name in Chinese";
    }
    ASSERT_LE(cell(0, jcProgress).Right, list.Right) << "the progress column lies in view";
    EXPECT_GT(DarkIn(cell(0, jcProgress)), 15) << "\"" << shown << "\" drawn in its cell";
    EXPECT_EQ(DarkIn(cell(1, jcProgress)), 0) << "the second file waits";
    // The state buttons: "继续" and "停止" enabled, "开始" and "暂停" not (glyphs drawn).
    EXPECT_TRUE(Form1->bsSkinButton12->Enabled());
    EXPECT_FALSE(Form1->bsSkinButton2->Enabled());
    EXPECT_GT(DarkIn(OnScreen(Form1->bsSkinButton12)), 10) << "\"继续\"";
    // The preview shows the clip's paused picture fitted to the panel: a grid of points of
    // the panel against the same points of the player's current frame.
    TBitmap* frame = Form1->FFPlayer->CurrentFrame();
    ASSERT_GT(frame->Width(), 0);
    const TDisplayRect fit =
        CalculateDisplayRect(screen.Width(), screen.Height(), double(frame->Width()) / frame->Height());
    const auto panel = Grab(screen);
    ASSERT_EQ(panel.size(), size_t(screen.Width() * screen.Height()));
    int alike = 0, points = 0;
    for (int gy = 1; gy < 10; ++gy)
        for (int gx = 1; gx < 10; ++gx, ++points) {
            const int x = fit.X + fit.W * gx / 10, y = fit.Y + fit.H * gy / 10;
            const TColor want = frame->Canvas()->Pixels((x - fit.X) * frame->Width() / fit.W,
                                                        (y - fit.Y) * frame->Height() / fit.H);
            const uint32_t got = panel[size_t(y * screen.Width() + x)];
            alike += std::abs(int(GetRValue(want)) - int((got >> 16) & 0xFF)) <= 48 &&
                     std::abs(int(GetGValue(want)) - int((got >> 8) & 0xFF)) <= 48 &&
                     std::abs(int(GetBValue(want)) - int(got & 0xFF)) <= 48;
        }
    EXPECT_GE(alike, points * 3 / 4) << "the paused frame in the preview";
    // No control in the default look (the list's grid lines are the platform list's own).
    EXPECT_EQ(DefaultLookIn(win) - DefaultLookIn(GetWindowRect(Form1->lvFiles->Handle())), 0);
    EXPECT_GT(Count(px, [](uint32_t c) { return c == Accent; }), 2000);

    // Stopped, the batch ends; the player stops.
    ClickOn(Form1->bsSkinButton10);
    EXPECT_TRUE(Pump([] { return Form1->BatchState() != TForm1::bsPaused && Form1->BatchState() != TForm1::bsWorking &&
                                 Form1->BatchState() != TForm1::bsStopping; },
                     6000));
    Form1->FFPlayer->Stop(true);
}

}  // namespace
