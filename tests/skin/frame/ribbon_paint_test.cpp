// The ribbon's painting: which face each tab takes in the skin's look (focused, active,
// hot, plain, and the selected tab while the application menu shows), the default look,
// the MDI buttons' fallbacks, the page area's background and its clip, and malformed
// "officetab" records.
#include "frame/ribbon_support.h"
#include "skin/frame/bsAppMenu.h"

using namespace ribbontest;

namespace {

class RibbonPaint : public RibbonTest {
protected:
    void SetUp() override
    {
        RibbonTest::SetUp();
        Data = AddOfficeTab(Skin.SD);
        ShowForm();
        Ribbon->SetAlign(alNone);
        Ribbon->SetBounds(0, 0, 400, 115);
        AddTab("HHHH");
        AddTab("HHHH");
        AddTab("HHHH");
        Ribbon->SetTabIndex(0);
        Pump();
    }
    // The face colour of tab I: a pixel near its left edge, away from the caption.
    TColor Face(TBitmap* B, int I)
    {
        const TRect& R = Ribbon->Tabs()->Items(I)->ItemRect;
        return PixelOf(B, R.Left + 1, R.Top + 2);
    }
    // Whether some pixel of R is near C (the caption's antialiased strokes).
    bool HasColour(TBitmap* B, const TRect& R, TColor C)
    {
        for (int Y = R.Top; Y < R.Bottom; ++Y)
            for (int X = R.Left; X < R.Right; ++X) {
                const TColor P = PixelOf(B, X, Y);
                if (std::abs(GetRValue(P) - GetRValue(C)) + std::abs(GetGValue(P) - GetGValue(C)) +
                        std::abs(GetBValue(P) - GetBValue(C)) < 60)
                    return true;
            }
        return false;
    }
    skinctl::TestSkin Skin;
    TbsDataSkinTabControl* Data = nullptr;
};

struct TabCase {
    const char* Name;
    bool Focused;
    bool Hot;            // tab 0 under the pointer
    bool MenuShown;      // the application menu is visible
    bool EmptyFocus;     // FocusTabRect empty
    bool EmptyActive;    // ActiveTabRect empty
    bool EmptyMouseIn;   // MouseInTabRect empty
    TColor Tab0;         // face of the selected tab 0
};

class RibbonTabFaces : public RibbonPaint, public ::testing::WithParamInterface<TabCase> {};

TEST_P(RibbonTabFaces, SelectedTabFace)
{
    const TabCase& C = GetParam();
    Ribbon->SetSkinData(Skin.SD);
    if (C.EmptyFocus) Data->FocusTabRect = TRect();
    if (C.EmptyActive) Data->ActiveTabRect = TRect();
    if (C.EmptyMouseIn) Data->MouseInTabRect = TRect();
    TbsAppMenu* Menu = nullptr;
    if (C.MenuShown) {
        Menu = new TbsAppMenu(Form);
        Ribbon->SetAppMenu(Menu);
        Ribbon->ShowAppMenu();
        Pump();
    }
    if (C.Focused) {
        Ribbon->SetFocus();
        Pump();
    }
    Layout();
    if (C.Hot) Ribbon->TestActive(Ribbon->Tabs()->Items(0)->ItemRect.Left + 2, 5);
    auto B = Paint();
    EXPECT_EQ(Face(B.get(), 0), C.Tab0) << C.Name;
    // the other tabs are plain text on the strip's background
    EXPECT_EQ(Face(B.get(), 1), TabsBG) << C.Name;
    if (Menu) Ribbon->HideAppMenu(nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RibbonTabFaces,
    ::testing::Values(TabCase{"active", false, false, false, false, false, false, ActiveTab},
                      TabCase{"focused", true, false, false, false, false, false, FocusTab},
                      TabCase{"focused without a focus face", true, false, false, true, false, false, ActiveTab},
                      TabCase{"menu shown looks unselected", true, false, true, false, false, false, TabsBG},
                      TabCase{"menu shown and hot", false, true, true, false, false, false, HotTab},
                      TabCase{"no active face and hot", false, true, false, false, true, false, HotTab},
                      TabCase{"no active face, hot, no hot face", false, true, false, false, true, true, TabsBG}),
    [](const ::testing::TestParamInfo<TabCase>& I) {
        std::string S = I.param.Name;
        for (char& Ch : S)
            if (!isalnum((unsigned char)Ch)) Ch = '_';
        return S;
    });

TEST_F(RibbonPaint, PlainAndHotCaptionsTakeTheirColours)
{
    Ribbon->SetSkinData(Skin.SD);
    Data->MouseInTabRect = TRect();
    Layout();
    Ribbon->TestActive(Ribbon->Tabs()->Items(2)->ItemRect.Left + 2, 5);
    auto B = Paint();
    EXPECT_TRUE(HasColour(B.get(), Ribbon->Tabs()->Items(1)->ItemRect, PlainText));
    EXPECT_FALSE(HasColour(B.get(), Ribbon->Tabs()->Items(1)->ItemRect, HotText));
    EXPECT_TRUE(HasColour(B.get(), Ribbon->Tabs()->Items(2)->ItemRect, HotText));
}

TEST_F(RibbonPaint, DefaultLook)
{
    auto B = Paint();
    const int T = Ribbon->GetTabsHeight();
    EXPECT_EQ(PixelOf(B.get(), 3, 60), ColorToRGB(clBtnShadow));        // under the strip
    EXPECT_EQ(Face(B.get(), 0), ColorToRGB(clBtnFace));                 // the selected tab
    EXPECT_EQ(Face(B.get(), 1), ColorToRGB(clBtnShadow));               // the others
    EXPECT_EQ(PixelOf(B.get(), 300, T - 3), ColorToRGB(clBtnShadow));
    // without tabs the page area is the button face
    Ribbon->Tabs()->Clear();
    auto E = Paint();
    EXPECT_EQ(PixelOf(E.get(), 50, 60), ColorToRGB(clBtnFace));
}

TEST_F(RibbonPaint, SkinnedFrameAndPageAreaWithoutVisibleTabs)
{
    Ribbon->SetSkinData(Skin.SD);
    auto B = Paint();
    const int T = Ribbon->GetTabsHeight();
    EXPECT_EQ(T, 21);
    EXPECT_EQ(PixelOf(B.get(), 300, 5), TabsBG);
    EXPECT_EQ(PixelOf(B.get(), 1, T + 10), FrameColor);  // the frame's left strip
    // tabs hidden: the page area shows the skin's client part
    for (int I = 0; I < 3; ++I) Ribbon->Tabs()->Items(I)->FVisible = false;
    auto E = Paint();
    EXPECT_EQ(PixelOf(E.get(), 50, 60), ClientPart);
}

TEST_F(RibbonPaint, PageAreaBackgroundLeavesTheClipAsItWas)
{
    Ribbon->SetSkinData(Skin.SD);
    Data->BGPictureIndex = Skin.AddPicture(7, 5, RGB(9, 9, 9));
    for (int I = 0; I < 3; ++I) Ribbon->Tabs()->Items(I)->FVisible = false;
    TBitmap B(400, 115);
    B.Canvas()->Brush()->SetColor(RGB(77, 77, 77));
    B.Canvas()->FillRect(Rect(0, 0, 400, 115));
    HDC DC = B.Canvas()->Handle();
    IntersectClipRect(DC, 0, 0, 390, 110);
    HRGN Before = CreateRectRgn(0, 0, 0, 0), After = CreateRectRgn(0, 0, 0, 0);
    ASSERT_EQ(GetClipRgn(DC, Before), 1);
    Ribbon->PaintRibbon(B.Canvas());
    Ribbon->PaintRibbon(B.Canvas());
    ASSERT_EQ(GetClipRgn(DC, After), 1);
    EXPECT_TRUE(EqualRgn(Before, After));
    SelectClipRgn(DC, nullptr);  // pixels outside a clip region read as invalid
    EXPECT_EQ(PixelOf(&B, 50, 60), RGB(9, 9, 9));
    EXPECT_EQ(PixelOf(&B, 395, 60), RGB(77, 77, 77));  // outside the clip: untouched
    DeleteObject(Before);
    DeleteObject(After);
}

TEST_F(RibbonPaint, MDIButtonsFallBackToTheirNormalFace)
{
    Ribbon->SetSkinData(Skin.SD);
    Ribbon->MDIChildMaximize();
    Layout();
    // close has a hot face; restore has none and shows its normal face when hot
    const TRect Close = Ribbon->MDIButtons()->Items(0)->ItemRect;
    const TRect Restore = Ribbon->MDIButtons()->Items(1)->ItemRect;
    EXPECT_EQ(Close.Width(), 10);
    Ribbon->TestActive(Close.Left + 2, Close.Top + 2);
    auto B = Paint();
    EXPECT_EQ(PixelOf(B.get(), Close.Left + 2, Close.Top + 2), MDIActive);
    Ribbon->TestActive(Restore.Left + 2, Restore.Top + 2);
    auto C = Paint();
    EXPECT_EQ(PixelOf(C.get(), Restore.Left + 2, Restore.Top + 2), MDINormal);
    EXPECT_EQ(PixelOf(C.get(), Close.Left + 2, Close.Top + 2), MDINormal);
}

// Malformed "officetab" records paint without a crash (the default look where the record
// cannot be used).
TEST_F(RibbonPaint, MalformedRecordsNeverCrash)
{
    Ribbon->SetSkinData(Skin.SD);
    Ribbon->MDIChildMaximize();
    auto Paints = [&](const char* What) {
        SCOPED_TRACE(What);
        auto B = Paint();
        for (int I = 0; I < 3; ++I) Ribbon->Tabs()->Items(I)->FVisible = false;
        auto E = Paint();
        for (int I = 0; I < 3; ++I) Ribbon->Tabs()->Items(I)->FVisible = true;
        int L, T, W, H;
        Ribbon->GetPageBounds(L, T, W, H);
        Ribbon->Tabs()->Items(0)->Page()->PaintBG(B->Canvas()->Handle());
    };
    Data->PictureIndex = 42;
    Paints("picture outside the list");
    EXPECT_EQ(Ribbon->FDataPicture, nullptr);
    Data->PictureIndex = -3;
    Paints("negative picture");
    Data->PictureIndex = 0;
    Data->BGPictureIndex = 1000;
    Paints("background outside the list");
    Data->TabRect = TRect();
    Data->SkinRect = Rect(0, 0, 500, 500);  // larger than the picture and the ribbon
    Data->ClRect = Rect(300, 300, 10, 10);  // inverted
    Data->ActiveTabRect = Rect(90, 90, 200, 200);
    Data->TabsBGRect = Rect(-10, -10, 5, 5);
    Data->MDICloseRect = Rect(95, 95, 300, 300);
    Data->DividerRect = Rect(99, 99, 120, 130);
    Paints("rectangles outside the picture");
    // a record of another kind under the name
    skinctl::TestSkin Other;
    auto* Wrong = Other.Add<TbsDataSkinButtonControl>("officetab");
    Wrong->PictureIndex = 0;
    Ribbon->SetSkinData(Other.SD);
    Paints("record of another kind");
    EXPECT_EQ(Ribbon->FIndex, -1);
    Ribbon->SetSkinData(nullptr);
}

}  // namespace
