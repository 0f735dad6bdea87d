// The preview player on a real display (Xvfb): a file plays inside a panel of a form,
// through the panel's native window and SDL's X11 driver, and stops when the form goes.
#include "support/display/screen_pixels.h"
#include "engine/player/FFPlay.h"
#include "engine/libs/FFmpegLoader.h"
#include "engine/common/HostUtils.h"
#include "platform/forms/Forms.h"
#include "platform/windows/Backend.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <vector>
#include <unistd.h>
#include "test_files.h"

namespace {

class TPanel : public TCustomControl {
public:
    TPanel(TComponent* AOwner, TColor AColor) : TCustomControl(AOwner), FFill(AColor) {}

protected:
    void Paint() override
    {
        Canvas()->Brush()->SetColor(FFill);
        Canvas()->FillRect(ClientRect());
    }

private:
    TColor FFill;
};

bool PumpUntil(const std::function<bool()>& ADone, int ATimeoutMs = 10000)
{
    auto End = std::chrono::steady_clock::now() + std::chrono::milliseconds(ATimeoutMs);
    for (;;) {
        Application->ProcessMessages();
        if (ADone()) return true;
        if (std::chrono::steady_clock::now() > End) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

// A grey clip (luma 128 everywhere: RGB 130) made with the real ffmpeg in the folder ADir.
String GreyClip(const String& ADir)
{
    if (ADir.empty()) return String();
    String Path = ADir + "/grey.avi";
    String Cmd = "ffmpeg -nostdin -y -loglevel error -f lavfi -i \"color=c=black:s=64x48:r=25:d=2,"
                 "geq=lum=128:cb=128:cr=128\" -c:v mpeg4 -q:v 1 -pix_fmt yuv420p '" +
                 Path + "' >/dev/null 2>&1";
    return std::system(Cmd.c_str()) == 0 ? Path : String();
}

bool NearGrey(uint32_t APixel, int AGrey, int ATolerance)
{
    for (int Shift : {0, 8, 16})
        if (std::abs(int((APixel >> Shift) & 0xFF) - AGrey) > ATolerance) return false;
    return true;
}

}  // namespace

TEST(PlayerDisplay, PlaysInsideThePanelAndStopsWhenTheFormGoes)
{
    if (!getenv("DISPLAY")) GTEST_SKIP() << "no display";
    const vctest::TScratch Dir("vc_player_display_");
    const String Clip = GreyClip(Dir.Path);
    ASSERT_FALSE(Clip.empty());
    unsetenv("SDL_VIDEODRIVER");
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    setenv("SDL_VIDEO_YUV_HWACCEL", "0", 1);
    ASSERT_TRUE(InstallX11Backend());
    InitForms();
    FFLoader().SetLibraryPath("");
    ASSERT_TRUE(FFLoader().Load(PlayerLibraries)) << FFLoader().LastErrMsg();
    ASSERT_TRUE(screentest::OpenScreen());
    auto Pixel = [](TPoint P) { return screentest::ScreenPixel(P.X, P.Y); };

    auto* Form = new TForm(nullptr);
    Form->AfterConstruction();
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(200, 150, 320, 240);
    Form->SetColor(clWhite);
    auto* Panel = new TPanel(Form, clLime);
    Panel->SetParent(Form);
    Panel->SetBounds(40, 30, 160, 120);
    Form->Show();
    TPoint PanelAt{0, 0};
    ClientToScreen(Panel->Handle(), PanelAt);
    const TPoint Inside{PanelAt.X + 80, PanelAt.Y + 60}, Outside{PanelAt.X + 200, PanelAt.Y + 60};
    ASSERT_TRUE(PumpUntil([&] { return Pixel(Inside) == 0x00FF00 && Pixel(Outside) == 0xFFFFFF; }));
    // The form and a margin around it, read back whole.
    TRect FormRect;
    GetWindowRect(Form->Handle(), FormRect);
    const TRect Area{FormRect.Left - 20, FormRect.Top - 20, FormRect.Right + 20, FormRect.Bottom + 20};
    auto Grab = [&] { return screentest::ScreenRect(Area.Left, Area.Top, Area.Width(), Area.Height()); };
    auto InPanel = [&](int AIndex) {
        const int X = Area.Left + AIndex % Area.Width(), Y = Area.Top + AIndex / Area.Width();
        return X >= PanelAt.X && X < PanelAt.X + 160 && Y >= PanelAt.Y && Y < PanelAt.Y + 120;
    };
    const std::vector<uint32_t> Before = Grab();
    ASSERT_EQ(Before.size(), size_t(Area.Width() * Area.Height()));

    TCustomPlayer Player;
    int Stops = 0;
    Player.OnState = [&](TObject*, TPlayState S) { Stops += S == psStop; };
    ASSERT_TRUE(Player.Open(Clip, Panel->Handle(), false)) << Player.LastErrMsg();
    EXPECT_EQ(Player.ScreenWidth(), 160);  // the panel's client size
    EXPECT_EQ(Player.ScreenHeight(), 120);
    // The picture (4:3 in a 4:3 panel) fills the panel; nothing around it changes.
    EXPECT_TRUE(PumpUntil([&] { return NearGrey(Pixel(Inside), 130, 12); })) << std::hex << Pixel(Inside);
    EXPECT_TRUE(PumpUntil([&] {
        return NearGrey(Pixel({PanelAt.X + 1, PanelAt.Y + 1}), 130, 12) &&
               NearGrey(Pixel({PanelAt.X + 158, PanelAt.Y + 118}), 130, 12);
    }));
    const std::vector<uint32_t> Playing = Grab();
    ASSERT_EQ(Playing.size(), Before.size());
    int ChangedOutside = 0, GreyInside = 0;
    for (size_t I = 0; I < Playing.size(); ++I) {
        if (InPanel(int(I)))
            GreyInside += NearGrey(Playing[I], 130, 12);
        else
            ChangedOutside += Playing[I] != Before[I];
    }
    EXPECT_EQ(ChangedOutside, 0);
    EXPECT_EQ(GreyInside, 160 * 120);
    // A close request sent to the panel while it plays is swallowed.
    SendMessage(Panel->Handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(Panel->Handle()));

    // The form goes while the file plays: the file is stopped before the window, and
    // nothing draws where it was any more.
    delete Form;
    EXPECT_EQ(Player.VideoState(), nullptr);
    EXPECT_TRUE(PumpUntil([&] { return Stops == 1; }));
    EXPECT_TRUE(PumpUntil([&] { return Pixel(Inside) != Playing[size_t((Inside.Y - Area.Top) * Area.Width() + Inside.X - Area.Left)]; }));
    const std::vector<uint32_t> Gone = Grab();
    PumpUntil([] { return false; }, 200);
    EXPECT_EQ(Grab(), Gone);
    // The player opens again into a new window afterwards.
    auto* Second = new TForm(nullptr);
    Second->AfterConstruction();
    Second->SetBorderStyle(bsNone);
    Second->SetBounds(200, 150, 320, 240);
    auto* Panel2 = new TPanel(Second, clLime);
    Panel2->SetParent(Second);
    Panel2->SetBounds(40, 30, 160, 120);
    Second->Show();
    ASSERT_TRUE(Player.Open(Clip, Panel2->Handle(), true)) << Player.LastErrMsg();
    EXPECT_TRUE(PumpUntil([&] { return NearGrey(Pixel(Inside), 130, 12); })) << std::hex << Pixel(Inside);
    Player.Stop(true);
    EXPECT_EQ(Stops, 2);
    delete Second;
    DoneForms();
    screentest::CloseScreen();
}
