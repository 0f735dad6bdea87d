// The shell list view on a real display, painted by the skinned item painter (DrawSkin) in
// report and icon view: the shell's folder and video icons, which the list gives to its
// window as image lists of its own, show in each row's icon cell beside the skinned
// selection bar.  Each view is photographed (kept as shellview_<view>.ppm when screenshots
// are kept) and checked pixel by pixel.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "frame/display/frame_display_probe.h"
#include "platform/forms/Forms.h"
#include "platform/windows/Backend.h"
#include "skin/shell/bsSkinShellViews.h"
#include "display_pump.h"
#include "test_files.h"

using displaypump::PumpUntil;
using displaypump::Settle;

namespace {

// The shell's flat icon colours (the folder's face, the video page's picture) and the
// skin's list colours.
constexpr TColor FolderFace = RGB(0xF2, 0xC9, 0x4C), VideoFace = RGB(0x2F, 0x80, 0xED);
constexpr TColor ListBack = RGB(236, 242, 250), BarColor = RGB(40, 120, 60);

struct TShot {
    int W = 0, H = 0;
    std::vector<uint32_t> Pixels;  // row by row, as $00RRGGBB
    // The colour at (X, Y) as $00BBGGRR.
    TColor At(int X, int Y) const
    {
        const uint32_t C = Pixels[size_t(Y) * size_t(W) + size_t(X)];
        return RGB(uint8_t(C >> 16), uint8_t(C >> 8), uint8_t(C));
    }
};

class ShellViewDisplay : public ::testing::TestWithParam<TViewStyle> {
protected:
    void SetUp() override
    {
        if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display";
        ASSERT_TRUE(InstallX11Backend());
        ASSERT_TRUE(framedisplay::Open());
        InitForms();
        Opened = true;
        Root = vctest::ScratchDir("shellview");
        std::filesystem::create_directories(Root + "/视频");
        std::ofstream(Root + "/片段.mp4") << "x";

        Main = Application->CreateForm<TForm>();
        Main->SetBorderStyle(bsNone);
        Main->SetBounds(80, 80, 420, 300);
        SD = new TbsSkinData(Main);
        SD->Empty = false;
        SD->SetEnableSkinEffects(false);
        auto* L = new TbsDataSkinListView("listview");
        L->FontName = "Tahoma";
        L->FontHeight = 13;
        L->FontColor = clBlack;
        L->BGColor = ListBack;
        SD->CtrlList.emplace_back(L);
        auto Bar = std::make_unique<TBitmap>();
        Bar->SetSize(40, 20);
        Bar->Canvas()->Brush()->SetColor(BarColor);
        Bar->Canvas()->FillRect(Rect(0, 0, 40, 20));
        SD->FActivePictures.push_back(std::move(Bar));
        auto* B = new TbsDataSkinListBox("listbox");
        B->PictureIndex = 0;
        B->ActiveItemRect = B->FocusItemRect = Rect(0, 0, 40, 20);
        B->ItemTextRect = Rect(2, 2, 38, 18);
        B->FocusFontColor = B->ActiveFontColor = clWhite;
        SD->CtrlList.emplace_back(B);

        List = new TbsSkinFileListView(Main);
        List->SetParent(Main);
        List->SetBounds(0, 0, 420, 300);
        List->SetViewStyle(GetParam());
        List->SetSkinData(SD);
        List->SetDrawSkin(true);
        Main->Show();
        ASSERT_TRUE(PumpUntil([&] { return Main->HandleAllocated() && IsWindowVisible(Main->Handle()); }));
        List->SetPath(Root);
        Settle();
    }
    void TearDown() override
    {
        if (!Opened) return;
        DoneForms();
        framedisplay::Close();
        std::error_code E;
        std::filesystem::remove_all(Root, E);
    }
    int Row(const String& Name)
    {
        for (int I = 0; I < List->FolderCount(); ++I)
            if (List->FolderAt(I)->DisplayName() == Name) return I;
        ADD_FAILURE() << "no row " << Name;
        return 0;
    }
    // The form's screen area, saved under Name when screenshots are kept.
    TShot Photograph(const std::string& Name)
    {
        List->Repaint();
        Settle();
        const TRect R = Main->BoundsRect();
        TShot P{R.Width(), R.Height(), framedisplay::ScreenRect(R.Left, R.Top, R.Width(), R.Height())};
        if (int(P.Pixels.size()) != R.Width() * R.Height()) {
            ADD_FAILURE() << "the screen could not be read";
            return {};
        }
        framedisplay::SavePixmap(P.Pixels, R.Width(), R.Height(), Name);
        return P;
    }
    // A point of the list's client area in the photograph.
    TPoint Local(TPoint P)
    {
        const TPoint S = List->ClientToScreen(P);
        return TPoint(S.X - Main->Left(), S.Y - Main->Top());
    }
    // Where the list's painter puts the picture of a row: the icon cell's top-left, in icon
    // view centred in it and 2 pixels down; (X, Y) counted in the icon's own pixels.
    TPoint IconPixel(int Row, int X, int Y)
    {
        TRect I = List->NativeItemRect(Row, drIcon);
        TPoint P(I.Left + X, I.Top + Y);
        if (GetParam() == vsIcon) P = TPoint(I.Left + (I.Width() - 32) / 2 + X, I.Top + 2 + Y);
        return Local(P);
    }

    bool Opened = false;
    String Root;
    TForm* Main = nullptr;
    TbsSkinData* SD = nullptr;
    TbsSkinFileListView* List = nullptr;
};

TEST_P(ShellViewDisplay, ShellIconsAreDrawnByTheSkinnedPainter)
{
    ASSERT_EQ(List->FolderCount(), 2);
    const int Folder = Row("视频"), Video = Row("片段.mp4");
    const bool Icon = GetParam() == vsIcon;
    const int K = Icon ? 2 : 1;  // the icons are drawn on a 16-unit grid
    List->SetFocus();
    List->SetItemIndex(Folder);
    const std::string Name = std::string("shellview_") + (Icon ? "icon" : "report") + ".ppm";
    TShot P = Photograph(Name);
    ASSERT_GT(P.W, 0) << "no picture in " << Name;
    // the folder's face and the video page's blue picture, from the shell's own lists
    TPoint F = IconPixel(Folder, 8 * K, 9 * K), V = IconPixel(Video, 5 * K, 7 * K);
    EXPECT_EQ(P.At(F.X, F.Y), FolderFace) << std::hex << P.At(F.X, F.Y);
    EXPECT_EQ(P.At(V.X, V.Y), VideoFace) << std::hex << P.At(V.X, V.Y);
    // around the icons the skin's list colour, and the selected row's skinned bar
    TPoint Corner = IconPixel(Video, 0, 0);
    EXPECT_EQ(P.At(Corner.X, Corner.Y), ListBack) << std::hex << P.At(Corner.X, Corner.Y);
    TRect L = List->NativeItemRect(Folder, drLabel);
    TPoint In = Local(TPoint(L.Left + 4, L.Top + 1));
    EXPECT_EQ(P.At(In.X, In.Y), BarColor) << std::hex << P.At(In.X, In.Y);
}

INSTANTIATE_TEST_SUITE_P(Views, ShellViewDisplay, ::testing::Values(vsReport, vsIcon),
                         [](const ::testing::TestParamInfo<TViewStyle>& I) {
                             return I.param == vsIcon ? "Icon" : "Report";
                         });

}  // namespace
