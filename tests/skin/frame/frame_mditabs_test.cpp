// The MDI tabs bar on its own: the layout of the tabs, hidden tabs and their list button,
// dragging a tab to a new place, the close buttons (only a press and a release on the
// same close button close), the add button, and skins that lack what the bar reads.
#include <gtest/gtest.h>

#include "platform/forms/Forms.h"
#include "platform/forms/Menus.h"
#include "platform/windows/Headless.h"
#include "skin/frame/bsSkinMDITabsBar.h"

namespace {

constexpr TColor StripColor = RGB(90, 120, 30);
constexpr TColor TabColor = RGB(220, 100, 40);

class MDITabsBarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Headless::Install();
        InitForms();
        Host = Application->CreateForm<TForm>();
        Host->SetBorderStyle(bsNone);
        Host->SetBounds(0, 0, 500, 100);
        Bar = new TbsSkinMDITabsBar(Host);
        Bar->SetParent(Host);
        Bar->SetBounds(0, 0, 400, 21);
        Host->Show();
        Pump();
    }
    void TearDown() override { DoneForms(); }
    void Pump() { Application->ProcessMessages(); }

    TForm* AddChild(const String& Caption)
    {
        auto* C = new TForm(Application);
        C->SetName("Child" + std::to_string(Children.size() + 1));
        C->AfterConstruction();
        C->SetCaption(Caption);
        // a pressed tab shows its child: away from the bar, so that the input still reaches it
        C->SetBounds(900, 600, 60, 60);
        Children.push_back(C);
        Bar->AddTab(C);
        return C;
    }
    void Layout()
    {
        Bar->Repaint();
        Pump();
    }
    TPoint At(int X, int Y) { return Bar->ClientToScreen(TPoint(X, Y)); }
    void Down(int X, int Y)
    {
        Headless::MouseMove(At(X, Y));
        Headless::MouseDown(At(X, Y));
        Pump();
    }
    void MoveTo(int X, int Y)
    {
        Headless::MouseMove(At(X, Y));
        Pump();
    }
    void Up(int X, int Y)
    {
        Headless::MouseMove(At(X, Y));
        Headless::MouseUp(At(X, Y));
        Pump();
    }
    std::vector<TCustomForm*> Order()
    {
        std::vector<TCustomForm*> L;
        for (int I = 0; I < Bar->TabCount(); ++I) L.push_back(Bar->Tabs(I)->Child);
        return L;
    }
    TColor BarPixel(int X, int Y)
    {
        Pump();
        uint32_t P = Headless::Pixel(Host->Handle(), Bar->Left() + X, Bar->Top() + Y);
        return RGB(int((P >> 16) & 0xFF), int((P >> 8) & 0xFF), int(P & 0xFF));
    }

    TForm* Host = nullptr;
    TbsSkinMDITabsBar* Bar = nullptr;
    std::vector<TForm*> Children;
};

TEST_F(MDITabsBarTest, LayoutSharesTheWidthOrHidesWhatDoesNotFit)
{
    struct Case {
        int Width, Tabs, DefaultWidth, MinWidth;
        bool AddButton;
        std::vector<int> Lefts;  // of the shown tabs
        int LastRight, Hidden, AddLeft;
    };
    const Case Cases[] = {
        // (400 - 15) div 6 = 64 each from 15; the last takes the remainder
        {400, 6, 100, 0, false, {15, 79, 143, 207, 271, 335}, 400, 0, 402},
        // room for more than the largest width: each 100 wide
        {400, 2, 100, 0, false, {15, 115}, 215, 0, 217},
        // the add button takes 19 pixels of the width
        {400, 6, 100, 0, true, {15, 76, 137, 198, 259, 320}, 381, 0, 383},
        // (400 - 15) div 8 = 48 is below 80: (400 - 30) div 80 = 4 shown, 4 hidden
        {400, 8, 100, 80, false, {15, 95, 175, 255}, 335, 4, 337},
        // a bar narrower than the list button: no tab has room, nothing crashes
        {10, 3, 100, 80, false, {}, -1, 3, 2},
    };
    for (const Case& C : Cases) {
        for (TForm* F : Children) {
            Bar->DeleteTab(F);
            delete F;
        }
        Children.clear();
        Bar->SetWidth(C.Width);
        Bar->SetDefaultTabWidth(C.DefaultWidth);
        Bar->SetMinTabWidth(C.MinWidth);
        Bar->SetShowAddButton(C.AddButton);
        for (int I = 0; I < C.Tabs; ++I) AddChild("tab");
        Bar->CalcTabRects();
        std::vector<int> Lefts;
        int LastRight = -1;
        for (int I = 0; I < Bar->TabCount(); ++I)
            if (Bar->Tabs(I)->Visible) {
                Lefts.push_back(Bar->Tabs(I)->ObjectRect.Left);
                LastRight = Bar->Tabs(I)->ObjectRect.Right;
                EXPECT_EQ(Bar->Tabs(I)->ObjectRect.Top, 0);
                EXPECT_EQ(Bar->Tabs(I)->ObjectRect.Bottom, 21);
            } else {
                EXPECT_TRUE(IsEmptyRect(Bar->Tabs(I)->ObjectRect));
            }
        EXPECT_EQ(Lefts, C.Lefts) << C.Width << "/" << C.Tabs;
        EXPECT_EQ(LastRight, C.LastRight) << C.Width << "/" << C.Tabs;
        EXPECT_EQ(Bar->InVisibleCount(), C.Hidden) << C.Width << "/" << C.Tabs;
        EXPECT_EQ(Bar->AddButtonRect(), Rect(C.AddLeft, 21 / 2 - 8, C.AddLeft + 14, 21 / 2 + 6));
    }
    // without tabs the add button stands at the left
    for (TForm* F : Children) Bar->DeleteTab(F);
    Bar->CalcTabRects();
    EXPECT_EQ(Bar->AddButtonRect(), Rect(2, 2, 16, 16));
}

TEST_F(MDITabsBarTest, ListButtonsFollowTheTabs)
{
    EXPECT_EQ(Bar->ListButton(), nullptr);
    TForm* A = AddChild("alpha");
    ASSERT_NE(Bar->ListButton(), nullptr);
    EXPECT_EQ(Bar->ListButton()->Align(), alLeft);
    Bar->SetMinTabWidth(80);
    for (int I = 0; I < 7; ++I) AddChild("more");
    Layout();
    // four tabs do not fit: the hidden-tabs list button stands at the right end
    ASSERT_NE(Bar->HideListButton(), nullptr);
    EXPECT_EQ(Bar->HideListButton()->Align(), alRight);
    Bar->FillHideListMenu(nullptr);
    TMenuItem* Items = Bar->HideListMenu()->Items();
    ASSERT_EQ(Items->Count(), 4);
    for (int I = 0; I < 4; ++I) EXPECT_EQ(Items->Items(I)->Caption(), Children[size_t(I + 4)]->Caption());
    Bar->FillListMenu(nullptr);
    ASSERT_EQ(Bar->ListMenu()->Items()->Count(), 8);
    EXPECT_EQ(Bar->ListMenu()->Items()->Items(0)->Caption(), "alpha");
    EXPECT_TRUE(Bar->ListMenu()->Items()->Items(0)->RadioItem());
    // everything fits again: the hidden-tabs button goes; no tab left: the list button goes
    Bar->SetMinTabWidth(0);
    Layout();
    EXPECT_EQ(Bar->HideListButton(), nullptr);
    for (TForm* F : Children) Bar->DeleteTab(F);
    EXPECT_EQ(Bar->ListButton(), nullptr);
    (void)A;
}

TEST_F(MDITabsBarTest, TheListMenuOpensEveryTimeAlsoForUnnamedChildren)
{
    // the list button's menu, opened by clicks again and again over children with and
    // without names, lists them all; an item shows its child
    std::vector<String> Errors;
    Application->OnException = [&](TObject*, Exception* E) { Errors.push_back(E->Message()); };
    AddChild("alpha");
    TForm* B = AddChild("beta");
    B->SetName("");
    TForm* C = AddChild("gamma");
    C->SetName("");
    Layout();
    ASSERT_NE(Bar->ListButton(), nullptr);
    TbsSkinMenuSpeedButton* LB = Bar->ListButton();
    const TPoint P = LB->ClientToScreen(TPoint(LB->Width() / 2, LB->Height() / 2));
    for (int Round = 0; Round < 3; ++Round) {
        SCOPED_TRACE(Round);
        Headless::Click(P);
        Pump();
        TMenuItem* Items = Bar->ListMenu()->Items();
        ASSERT_EQ(Items->Count(), 3);
        EXPECT_EQ(Items->Items(0)->Caption(), "alpha");
        EXPECT_EQ(Items->Items(1)->Caption(), "beta");
        EXPECT_EQ(Items->Items(2)->Caption(), "gamma");
        Headless::Key(VK_ESCAPE);
        Pump();
    }
    EXPECT_TRUE(Errors.empty()) << (Errors.empty() ? "" : Errors[0]);
    C->Hide();
    Bar->ListMenu()->Items()->Items(2)->Click();
    EXPECT_TRUE(C->Visible());
    Application->OnException = nullptr;
}

TEST_F(MDITabsBarTest, DraggingATabReordersTheTabs)
{
    // four tabs 96 wide from 15 (the last to 400): middles at 63, 159, 255, 351
    TForm* A = AddChild("a");
    TForm* B = AddChild("b");
    TForm* C = AddChild("c");
    TForm* D = AddChild("d");
    Bar->SetDefaultTabWidth(96);
    Layout();
    ASSERT_EQ(Bar->Tabs(0)->ObjectRect, Rect(15, 0, 111, 21));
    // dragged right by 160: its right edge (271) passes the middles of b and c
    Down(40, 10);
    MoveTo(120, 10);
    MoveTo(200, 10);
    EXPECT_TRUE(Bar->IsDrag);
    Up(200, 10);
    EXPECT_EQ(Order(), (std::vector<TCustomForm*>{B, C, A, D}));
    // dragged back by less than half a tab: the order stays
    int X = Bar->Tabs(2)->ObjectRect.Left + 20;
    Down(X, 10);
    MoveTo(X - 30, 10);
    Up(X - 40, 10);
    EXPECT_EQ(Order(), (std::vector<TCustomForm*>{B, C, A, D}));
    EXPECT_FALSE(Bar->IsDrag);
    // dragged left past the middle of the first tab: it becomes the first
    X = Bar->Tabs(2)->ObjectRect.Left + 20;
    Down(X, 10);
    MoveTo(X - 100, 10);
    Up(X - 180, 10);
    EXPECT_EQ(Order(), (std::vector<TCustomForm*>{A, B, C, D}));
    // with MoveTabs off a press and a move do not drag
    Bar->SetMoveTabs(false);
    Down(40, 10);
    MoveTo(300, 10);
    EXPECT_FALSE(Bar->IsDrag);
    Up(300, 10);
    EXPECT_EQ(Order(), (std::vector<TCustomForm*>{A, B, C, D}));
}

TEST_F(MDITabsBarTest, OnlyAPressOnTheCloseButtonClosesItsChild)
{
    Bar->SetShowCloseButtons(true);
    TForm* A = AddChild("alpha");
    TForm* B = AddChild("beta");
    int Closed = 0;
    TCustomForm* ClosedForm = nullptr;
    for (TForm* F : {A, B})
        F->OnClose = [&, F](TObject*, TCloseAction& Action) {
            ++Closed;
            ClosedForm = F;
            Action = caNone;
        };
    Layout();
    TbsMDITab* TA = Bar->Tabs(0);
    TbsMDITab* TB = Bar->Tabs(1);
    ASSERT_FALSE(IsEmptyRect(TB->ButtonRect));
    auto CloseOf = [](TbsMDITab* T) {
        return TPoint(T->ObjectRect.Left + T->ButtonRect.Left + 4, T->ObjectRect.Top + T->ButtonRect.Top + 4);
    };
    // a press on the other tab, released over beta's close button: nothing closes
    Bar->SetMoveTabs(false);
    Down(TA->ObjectRect.Left + 10, 10);
    Up(CloseOf(TB).X, CloseOf(TB).Y);
    EXPECT_EQ(Closed, 0);
    // a press on beta's caption, released over its close button: nothing closes
    Down(TB->ObjectRect.Left + 10, 10);
    Up(CloseOf(TB).X, CloseOf(TB).Y);
    EXPECT_EQ(Closed, 0);
    // a press on alpha's close button, released over beta's: nothing closes
    Down(CloseOf(TA).X, CloseOf(TA).Y);
    Up(CloseOf(TB).X, CloseOf(TB).Y);
    EXPECT_EQ(Closed, 0);
    // press and release on beta's close button: beta closes
    Down(CloseOf(TB).X, CloseOf(TB).Y);
    Up(CloseOf(TB).X, CloseOf(TB).Y);
    EXPECT_EQ(Closed, 1);
    EXPECT_EQ(ClosedForm, B);
}

TEST_F(MDITabsBarTest, AddButtonClicksOnRelease)
{
    Bar->SetShowAddButton(true);
    AddChild("alpha");
    int Clicks = 0;
    Bar->OnAddButtonClick = [&](TObject*) { ++Clicks; };
    Layout();
    TRect R = Bar->AddButtonRect();
    MoveTo(R.Left + 5, R.Top + 5);
    Down(R.Left + 5, R.Top + 5);
    Up(R.Left + 5, R.Top + 5);
    EXPECT_EQ(Clicks, 1);
    // released outside: no click
    Down(R.Left + 5, R.Top + 5);
    Up(R.Left + 5, 20 + 40);
    EXPECT_EQ(Clicks, 1);
}

TEST_F(MDITabsBarTest, HoverEventsFollowTheMouse)
{
    AddChild("alpha");
    AddChild("beta");
    std::vector<String> Seen;
    Bar->OnTabMouseEnter = [&](TbsMDITab* T) { Seen.push_back("+" + T->Child->Caption()); };
    Bar->OnTabMouseLeave = [&](TbsMDITab* T) { Seen.push_back("-" + T->Child->Caption()); };
    Layout();
    MoveTo(30, 10);
    MoveTo(Bar->Tabs(1)->ObjectRect.Left + 5, 10);
    MoveTo(5, 40);  // off the bar
    Pump();
    EXPECT_EQ(Seen, (std::vector<String>{"+alpha", "-alpha", "+beta", "-beta"}));
    EXPECT_FALSE(Bar->Tabs(0)->MouseIn);
    EXPECT_FALSE(Bar->Tabs(1)->MouseIn);
}

// A skin with a "tab" record: a strip cell and a tab picture in picture 0.
void FillTabSkin(TbsSkinData* SD, bool StripCells)
{
    auto P = std::make_unique<TBitmap>(60, 40);
    P->Canvas()->Brush()->SetColor(StripColor);
    P->Canvas()->FillRect(Rect(0, 0, 60, 40));
    P->Canvas()->Brush()->SetColor(TabColor);
    P->Canvas()->FillRect(Rect(0, 20, 60, 40));
    SD->FActivePictures.push_back(std::move(P));
    auto T = std::make_unique<TbsDataSkinTabControl>("tab");
    T->PictureIndex = 0;
    T->TabRect = Rect(0, 20, 60, 40);
    T->TabLeftOffset = T->TabRightOffset = 3;
    T->TabsBGRect = StripCells ? Rect(0, 0, 10, 20) : TRect();
    T->FontName = "Tahoma";
    T->FontHeight = 13;
    SD->CtrlList.push_back(std::move(T));
    SD->Empty = false;
}

TEST_F(MDITabsBarTest, SkinsWithoutWhatTheBarReadsDrawWithoutFailing)
{
    AddChild("alpha");
    AddChild("beta");
    Bar->SetShowCloseButtons(true);
    Bar->SetShowAddButton(true);
    struct Case {
        const char* What;
        std::function<void(TbsSkinData*)> Fill;
    };
    const Case Cases[] = {
        {"no records", [](TbsSkinData* SD) { SD->Empty = false; }},
        {"a tab record of another kind",
         [](TbsSkinData* SD) {
             SD->CtrlList.push_back(std::make_unique<TbsDataSkinControl>("tab"));
             SD->Empty = false;
         }},
        {"no strip cells", [](TbsSkinData* SD) { FillTabSkin(SD, false); }},
        {"a picture index past the list",
         [](TbsSkinData* SD) {
             FillTabSkin(SD, true);
             SD->CtrlList.back()->PictureIndex = 7;
         }},
        {"strip cells", [](TbsSkinData* SD) { FillTabSkin(SD, true); }},
    };
    for (const Case& C : Cases) {
        auto* SD = new TbsSkinData(Host);
        C.Fill(SD);
        Bar->SetSkinData(SD);
        for (TbsSkinMDITabKind K : {bstkTab, bstkButton})
            for (bool SkinSize : {true, false}) {
                Bar->SetTabKind(K);
                Bar->SetUseSkinSize(SkinSize);
                Layout();
                MoveTo(Bar->Tabs(0)->ObjectRect.Left + 5, 5);
                MoveTo(Bar->AddButtonRect().Left + 3, Bar->AddButtonRect().Top + 3);
            }
        Bar->SetTabKind(bstkTab);
        Bar->SetUseSkinSize(true);
        Bar->ChangeSkinData();
        Layout();
        SCOPED_TRACE(C.What);
        if (String(C.What) == "no strip cells") {
            // the strip without cells is the plain face
            EXPECT_EQ(BarPixel(398, 2), ColorToRGB(clBtnFace));
            EXPECT_EQ(Bar->Tabs(0)->ObjectRect.Bottom, 20);
        }
        if (String(C.What) == "strip cells") {
            EXPECT_EQ(BarPixel(398, 2), StripColor);
            EXPECT_EQ(BarPixel(Bar->Tabs(0)->ObjectRect.Left + 20, 15), TabColor);
        }
        Bar->SetSkinData(nullptr);
        delete SD;
    }
}

// The strip under the tabs takes the record's frame between its corner points: a frame
// whose ends (left of the left point, right of the right point) are red and whose middle
// is blue gives a blue strip from end to end.
TEST_F(MDITabsBarTest, StripUnderTheTabsComesFromBetweenTheCornerPoints)
{
    AddChild("alpha");
    auto* SD = new TbsSkinData(Host);
    FillTabSkin(SD, true);
    TBitmap* P = SD->FActivePictures[0].get();
    P->SetSize(60, 60);
    const TColor Ends = RGB(200, 0, 0), Middle = RGB(0, 0, 200);
    P->Canvas()->Brush()->SetColor(StripColor);
    P->Canvas()->FillRect(Rect(0, 0, 60, 20));
    P->Canvas()->Brush()->SetColor(TabColor);
    P->Canvas()->FillRect(Rect(0, 20, 60, 40));
    P->Canvas()->Brush()->SetColor(Ends);
    P->Canvas()->FillRect(Rect(0, 40, 60, 60));
    P->Canvas()->Brush()->SetColor(Middle);
    P->Canvas()->FillRect(Rect(10, 40, 50, 60));
    auto* T = static_cast<TbsDataSkinTabControl*>(SD->CtrlList.back().get());
    T->SkinRect = Rect(0, 40, 60, 60);
    T->LTPoint = Point(10, 2);
    T->RTPoint = Point(50, 2);
    T->ClRect = Rect(3, 4, 57, 18);
    Bar->SetSkinData(SD);
    Bar->SetTabKind(bstkTab);
    Bar->SetUseSkinSize(true);
    Bar->ChangeSkinData();
    Layout();
    const int H = Bar->Height();
    ASSERT_EQ(H, 24);
    for (int X : {1, 200, 398}) EXPECT_EQ(BarPixel(X, H - 2), Middle) << X;
    Bar->SetSkinData(nullptr);
    delete SD;
}

// The button look gives the caption an area as high as the text in the caption's own font,
// centred on the tab: a skin font much taller than the bar's DefaultFont shows whole,
// above and below the rows an area of the DefaultFont's height would clip it to.
TEST_F(MDITabsBarTest, ButtonLookMeasuresTheCaptionInItsOwnFont)
{
    const TColor Face = RGB(0, 160, 0), Ink = RGB(0, 0, 0);
    struct Case {
        int Height;
        TFontStyles Style;
    };
    const Case Cases[] = {{30, TFontStyles{fsBold}}, {26, TFontStyles()}};
    AddChild("Wg");
    TBitmap Probe(10, 10);
    Probe.Canvas()->Font()->Assign(Bar->DefaultFont());
    const int DefaultTH = Probe.Canvas()->TextHeight("Wg");
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Height);
        auto* SD = new TbsSkinData(Host);
        FillTabSkin(SD, true);
        auto* T = static_cast<TbsDataSkinTabControl*>(SD->CtrlList.back().get());
        T->TabRect = Rect(0, 0, 60, 40);
        T->FontHeight = C.Height;
        T->FontStyle = C.Style;
        // a 40-pixel button face whose client area is 4 rows high: lower than either font
        auto Pic = std::make_unique<TBitmap>(20, 40);
        Pic->Canvas()->Brush()->SetColor(Face);
        Pic->Canvas()->FillRect(Rect(0, 0, 20, 40));
        SD->FActivePictures.push_back(std::move(Pic));
        auto D = std::make_unique<TbsDataSkinButtonControl>("resizebutton");
        D->PictureIndex = 1;
        D->SkinRect = Rect(0, 0, 20, 40);
        D->LTPoint = Point(2, 2);
        D->RTPoint = Point(18, 2);
        D->LBPoint = Point(2, 38);
        D->RBPoint = Point(18, 38);
        D->ClRect = Rect(2, 18, 18, 22);
        D->FontColor = D->ActiveFontColor = D->DownFontColor = Ink;
        SD->CtrlList.push_back(std::move(D));
        Bar->SetSkinData(SD);
        Bar->SetTabKind(bstkButton);
        Bar->SetUseSkinSize(true);
        Bar->ChangeSkinData();
        Layout();
        const int H = Bar->Height();
        ASSERT_EQ(H, 40);
        Probe.Canvas()->Font()->SetName(T->FontName);
        Probe.Canvas()->Font()->SetStyle(C.Style);
        Probe.Canvas()->Font()->SetHeight(C.Height);
        const int TH = Probe.Canvas()->TextHeight("Wg");
        ASSERT_GT(TH, DefaultTH + 4);
        ASSERT_LE(TH, H);
        // the rows of the tab that show the caption's ink
        const TRect Tab = Bar->Tabs(0)->ObjectRect;
        int Top = -1, Bottom = -1;
        for (int Y = 0; Y < H; ++Y)
            for (int X = Tab.Left + 3; X < Tab.Right - 3; ++X)
                if (BarPixel(X, Y) == Ink) {
                    if (Top < 0) Top = Y;
                    Bottom = Y;
                    break;
                }
        ASSERT_GE(Top, 0);
        // inside the area of the caption font's height, and beyond the DefaultFont's rows
        EXPECT_GE(Top, (H - TH) / 2);
        EXPECT_LT(Bottom, (H - TH) / 2 + TH);
        EXPECT_LT(Top, (H - DefaultTH) / 2);
        EXPECT_GE(Bottom, (H - DefaultTH) / 2 + DefaultTH);
        Bar->SetSkinData(nullptr);
        delete SD;
    }
}

}  // namespace
