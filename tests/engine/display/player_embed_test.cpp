// The preview player on a real display (Xvfb): a file plays inside a panel of a form,
// through the panel's native window and SDL's X11 driver, and stops when the form goes.
#include "ScreenPixels.h"
#include "engine/FFPlay.h"
#include "engine/FFmpegLoader.h"
#include "engine/MyUtils.h"
#include "platform/forms/Forms.h"
#include "platform/windows/Backend.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <unistd.h>

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

// A grey clip (luma 128 everywhere: RGB 130) made with the real ffmpeg.
String GreyClip()
{
    String Dir = std::filesystem::temp_directory_path().string() + "/vc_player_display_" + std::to_string(getpid());
    std::filesystem::create_directories(Dir);
    String Path = Dir + "/grey.avi";
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
    const String Clip = GreyClip();
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

    TCustomPlayer Player;
    int Stops = 0;
    Player.OnState = [&](TObject*, TPlayState S) { Stops += S == psStop; };
    ASSERT_TRUE(Player.Open(Clip, Panel->Handle(), false)) << Player.LastErrMsg();
    EXPECT_EQ(Player.ScreenWidth(), 160);  // the panel's client size
    EXPECT_EQ(Player.ScreenHeight(), 120);
    // The picture (4:3 in a 4:3 panel) fills the panel; the form around it is untouched.
    EXPECT_TRUE(PumpUntil([&] { return NearGrey(Pixel(Inside), 130, 12); })) << std::hex << Pixel(Inside);
    EXPECT_TRUE(NearGrey(Pixel({PanelAt.X + 3, PanelAt.Y + 3}), 130, 12));
    EXPECT_TRUE(NearGrey(Pixel({PanelAt.X + 156, PanelAt.Y + 116}), 130, 12));
    EXPECT_EQ(Pixel(Outside), 0xFFFFFFu);
    EXPECT_EQ(Pixel({PanelAt.X - 3, PanelAt.Y + 60}), 0xFFFFFFu);
    // A close request sent to the panel while it plays is swallowed.
    SendMessage(Panel->Handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(Panel->Handle()));

    // The form goes while the file plays: the file is stopped before the window.
    delete Form;
    EXPECT_EQ(Player.VideoState(), nullptr);
    EXPECT_TRUE(PumpUntil([&] { return Stops == 1; }));
    DoneForms();
    screentest::CloseScreen();
}
