// How the application menu draws its items in the default and the skinned look, the back
// button's band, and skins with broken "appmenu" records.
#include "frame/appmenu_support.h"

using namespace appmenutest;

namespace {

class AppMenuPaint : public AppMenuTest {
protected:
    void Skin(bool BackButton = false)
    {
        SD = new TbsSkinData(Form);
        Rec = AddAppMenuSkin(SD, BackButton);
        Menu->SetSkinData(SD);
    }
    TbsSkinData* SD = nullptr;
    TbsDataSkinAppMenu* Rec = nullptr;
};

enum TState { Plain, Hot, Selected, SelectedDisabled, Disabled, ActivePage, HotPage };

struct TLookCase {
    const char* Name;
    bool Skinned;
    TState State;
    bool Highlight;
    TColor Font;  // resolved against the test skin
    bool Frame, Arrow;
};

class AppMenuLooks : public AppMenuPaint, public ::testing::WithParamInterface<TLookCase> {};

TEST_P(AppMenuLooks, ItemCases)
{
    const TLookCase& C = GetParam();
    if (C.Skinned) Skin();
    ShowMenu();
    AddItem(true);  // 0: a page, active only in the page cases
    TbsAppMenuItem* It = AddItem(C.State == ActivePage || C.State == HotPage);
    AddItem();
    Menu->SetItemIndex(2);
    switch (C.State) {
    case Hot: It->Active = true; break;
    case Selected: Menu->SetItemIndex(1); break;
    case SelectedDisabled:
        It->SetEnabled(false);
        Menu->SetItemIndex(1);
        break;
    case Disabled: It->SetEnabled(false); break;
    case ActivePage: Menu->SetActivePage(It->Page()); break;
    case HotPage:
        Menu->SetActivePage(Menu->Items()->Items(0)->Page());
        It->Active = true;
        break;
    default: break;
    }
    Menu->CalcItemRects();
    const TbsAppMenuItemLook L = Menu->ItemLook(1);
    EXPECT_EQ(L.Highlight, C.Highlight);
    EXPECT_EQ(L.FontColor, C.Font);
    EXPECT_EQ(L.Frame, C.Frame);
    EXPECT_EQ(L.Arrow, C.Arrow);
    if (C.Skinned && C.Highlight) {
        const TRect Expected = C.State == ActivePage ? Rect(0, 50, 60, 80)
                               : C.State == HotPage  ? Rect(0, 20, 60, 50)
                                                     : Rect(0, 0, 60, 20);
        EXPECT_EQ(L.Source, Expected);
        // the highlight face is what the menu shows at the item's left end
        const TRect R = It->ItemRect;
        const TColor Face = C.State == ActivePage ? PageItemActiveFace : C.State == HotPage ? PageItemFace : ItemFace;
        EXPECT_EQ(MenuPixel(R.Left + 1, R.Top + 3), Face);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AppMenuLooks,
    ::testing::Values(
        TLookCase{"DefaultPlain", false, Plain, false, clBtnHighlight, false, false},
        TLookCase{"DefaultDisabled", false, Disabled, false, cl3DDkShadow, false, false},
        TLookCase{"DefaultHot", false, Hot, true, clBtnText, true, false},
        TLookCase{"DefaultSelected", false, Selected, true, clBtnText, true, false},
        // the default look highlights a disabled selected item, the skinned one does not
        TLookCase{"DefaultSelectedDisabled", false, SelectedDisabled, true, clBtnText, true, false},
        TLookCase{"DefaultActivePage", false, ActivePage, true, clBtnText, false, true},
        TLookCase{"SkinPlain", true, Plain, false, PlainColor, false, false},
        TLookCase{"SkinDisabled", true, Disabled, false, DisabledFont, false, false},
        TLookCase{"SkinHot", true, Hot, true, ActiveFont, false, false},
        TLookCase{"SkinSelected", true, Selected, true, ActiveFont, false, false},
        TLookCase{"SkinSelectedDisabled", true, SelectedDisabled, false, DisabledFont, false, false},
        TLookCase{"SkinActivePage", true, ActivePage, true, ActivePageFont, false, false},
        TLookCase{"SkinHotPage", true, HotPage, true, ActivePageFont, false, false}),
    [](const auto& I) { return std::string(I.param.Name); });

// In the default look a hot acting item has a dark frame and no arrow; the active page's
// item has no frame and the left-pointing arrow at its right end.
TEST_F(AppMenuPaint, DefaultFrameAndArrowOnScreen)
{
    ShowMenu();
    TbsAppMenuItem* Act = AddItem(false, "A");
    TbsAppMenuItem* Pg = AddItem(true, "B");
    Menu->SetActivePage(Pg->Page());
    Act->Active = true;
    Menu->CalcItemRects();
    const TRect A = Act->ItemRect, P = Pg->ItemRect;
    const TColor Dark = ColorToRGB(cl3DDkShadow), Face = ColorToRGB(clBtnFace);
    EXPECT_EQ(MenuPixel(A.Left, A.Top + A.Height() / 2), Dark);
    EXPECT_EQ(MenuPixel(A.Right - 1, A.Top + A.Height() / 2), Dark);
    EXPECT_EQ(MenuPixel(A.Left + 3, A.Top + 3), Face);
    EXPECT_EQ(MenuPixel(P.Left, P.Top + P.Height() / 2), Face);
    int WindowPixels = 0;
    for (int X = P.Right - 5; X < P.Right; ++X)
        for (int Y = P.Top; Y < P.Bottom + 2; ++Y) WindowPixels += MenuPixel(X, Y) == ColorToRGB(clWindow);
    EXPECT_GT(WindowPixels, 3);
    // the column outside the items is the shadow colour
    EXPECT_EQ(MenuPixel(2, 2), ColorToRGB(clBtnShadow));
}

// A skinned page item scrolled above y = 30, or reaching below the page's bottom - 5, is
// drawn as plain text without its face.
TEST_F(AppMenuPaint, SkinnedPageItemsOutsideTheBandAreDrawnPlain)
{
    Skin();
    ShowMenu();
    for (int I = 0; I < 12; ++I) AddItem(true);
    Menu->SetActivePage(Menu->Items()->Items(0)->Page());
    Pump();
    ASSERT_NE(Menu->ScrollBar(), nullptr);
    Menu->ScrollBar()->SetPosition(10);
    Menu->CalcItemRects();
    TbsAppMenuItem* First = Menu->Items()->Items(0);
    ASSERT_LT(First->ItemRect.Top, 30);
    First->Active = true;
    EXPECT_FALSE(Menu->ItemLook(0).Highlight);
    EXPECT_EQ(Menu->ItemLook(0).FontColor, PageColor);
    const TRect Page = Menu->GetActivePageRect();
    for (int I = 1; I < 12; ++I) {
        TbsAppMenuItem* It = Menu->Items()->Items(I);
        It->Active = true;
        const bool Inside = It->ItemRect.Top >= 30 && It->ItemRect.Bottom <= Page.Bottom - 5;
        EXPECT_EQ(Menu->ItemLook(I).Highlight, Inside) << I;
        It->Active = false;
    }
}

// With a back button, items scrolled up never cover the band from the top down to two
// pixels below the button; the band's clip does not outlive the painting.
TEST_F(AppMenuPaint, ScrolledItemsLeaveTheBackButtonBandAlone)
{
    Skin(true);
    ShowMenu();
    for (int I = 0; I < 20; ++I) AddItem();
    Pump();
    ASSERT_NE(Menu->ScrollBar(), nullptr);
    Menu->CalcItemRects();
    EXPECT_EQ(Menu->FBackButtonRect, Rect(23, 3, 53, 19));
    EXPECT_EQ(Menu->Items()->Items(0)->ItemRect.Top, 21 + 7);
    Menu->SetItemIndex(1);  // highlighted: a face of its own
    Menu->ScrollBar()->SetPosition(40);
    Menu->CalcItemRects();
    const TRect R = Menu->Items()->Items(1)->ItemRect;
    ASSERT_LT(R.Top, 21);
    ASSERT_GT(R.Bottom, 21);
    EXPECT_EQ(MenuPixel(10, 15), ColumnBG);
    EXPECT_EQ(MenuPixel(30, 10), BackFace);
    EXPECT_EQ(MenuPixel(10, 22), ItemFace);

    TBitmap B(Menu->Width(), Menu->Height());
    Menu->PaintAppMenu(B.Canvas());
    B.Canvas()->Brush()->SetColor(clRed);
    B.Canvas()->FillRect(Rect(0, 0, B.Width(), B.Height()));
    EXPECT_EQ(B.Canvas()->Pixels(10, 10), clRed);
}

// A page background picture without a column picture is tiled over the page area from the
// item column's right edge; the column falls back to the face colour.
TEST_F(AppMenuPaint, BackgroundsFromTheirOwnPictures)
{
    Skin();
    ShowMenu();
    AddItem();
    EXPECT_EQ(MenuPixel(4, 200), ColumnBG);
    EXPECT_EQ(MenuPixel(Menu->ItemWidth() + 3, 5), PageBG);
    Rec->BGPictureIndex = -1;
    EXPECT_EQ(MenuPixel(4, 200), ColorToRGB(clBtnFace));
    EXPECT_EQ(MenuPixel(Menu->Width() - 2, Menu->Height() - 2), PageBG);
}

TEST_F(AppMenuPaint, TheCaptionStripFollowsTheSkin)
{
    EXPECT_FALSE(Menu->CanDrawAppMenuCaption());
    EXPECT_EQ(Menu->GetAppMenuCaptionOffset(), 100);
    Skin();
    EXPECT_FALSE(Menu->CanDrawAppMenuCaption());
    Rec->CaptionRect = Rect(60, 0, 90, 16);
    Rec->CaptionLeftOffset = 7;
    Rec->CaptionTopOffset = 2;
    EXPECT_TRUE(Menu->CanDrawAppMenuCaption());
    EXPECT_EQ(Menu->GetAppMenuCaptionOffset(), 107);
    TBitmap B(200, 30);
    B.Canvas()->Brush()->SetColor(clWhite);
    B.Canvas()->FillRect(Rect(0, 0, 200, 30));
    Menu->DrawAppMenuCaption(B.Canvas(), Rect(10, 0, 110, 20));
    EXPECT_EQ(B.Canvas()->Pixels(17 + 50, 10), BackFace);
    EXPECT_EQ(B.Canvas()->Pixels(17 + 50, 1), clWhite);
    EXPECT_EQ(B.Canvas()->Pixels(12, 10), clWhite);
}

// Broken records: pictures outside the list or empty, inverted and oversized rectangles,
// a record of another kind under the name. The menu, its items, pages and caption strip
// paint without reading outside anything.
TEST_F(AppMenuPaint, MalformedRecordsNeverCrash)
{
    std::vector<std::function<void(TbsDataSkinAppMenu*, TbsSkinData*)>> Breaks = {
        [](auto* R, auto*) { R->PictureIndex = 99; },
        [](auto* R, auto*) { R->BGPictureIndex = 99; R->BGPagePictureIndex = -7; },
        [](auto* R, auto* S) {
            S->FActivePictures.push_back(std::make_unique<TBitmap>());
            R->BGPictureIndex = R->BGPagePictureIndex = int(S->FActivePictures.size()) - 1;
        },
        [](auto* R, auto* S) {
            S->FActivePictures.push_back(std::make_unique<TBitmap>());
            R->PictureIndex = int(S->FActivePictures.size()) - 1;
        },
        [](auto* R, auto*) { R->ItemRect = Rect(60, 20, 0, 0); R->PageItemRect = Rect(0, 0, 0, 0); },
        [](auto* R, auto*) { R->ItemRect = Rect(-50, -50, 5000, 5000); R->PageItemActiveRect = Rect(150, 90, 900, 900); },
        [](auto* R, auto*) { R->SkinRect = TRect(); R->ClRect = Rect(10, 10, 500, 500); },
        [](auto* R, auto*) { R->ClRect = Rect(30, 30, 5, 5); R->LTPoint = Point(-40, 900); },
        [](auto* R, auto*) { R->BackButtonRect = Rect(180, 90, 400, 400); R->BackButtonActiveRect = Rect(-5, -5, 3, 3); },
        [](auto* R, auto*) { R->TopLineRect = Rect(0, 0, 500, 3); R->TopLineOffset1 = -4; R->TopLineOffset2 = 900; },
        [](auto* R, auto*) { R->CaptionRect = Rect(150, 50, 900, 900); R->CaptionTopOffset = -30; },
        [](auto* R, auto*) { R->GripperRect = Rect(190, 90, 260, 160); R->FontHeight = -1000; },
        [](auto*, auto* S) {
            S->CtrlList.clear();
            S->CtrlList.push_back(std::make_unique<TbsDataSkinButtonControl>("appmenu"));
        },
    };
    for (size_t I = 0; I < Breaks.size(); ++I) {
        SCOPED_TRACE(I);
        auto* D = new TbsSkinData(Form);
        TbsDataSkinAppMenu* R = AddAppMenuSkin(D, true);
        Breaks[I](R, D);
        Menu->SetSkinData(D);
        Menu->Items()->Clear();
        ShowMenu();
        AddItem(true)->Active = true;
        AddItem();
        AddItem(true);
        Menu->SetItemIndex(1);
        Menu->Invalidate();
        Pump();
        TBitmap B(300, 40);
        Menu->DrawAppMenuCaption(B.Canvas(), Rect(0, 0, 300, 30));
        int Min, Max, Page;
        Menu->CalcScrollInfo(Min, Max, Page);
        if (Menu->ActivePage()) {
            Menu->ActivePage()->Invalidate();
            Pump();
        }
        Menu->SetSkinData(nullptr);
        delete D;
    }
}

}  // namespace
