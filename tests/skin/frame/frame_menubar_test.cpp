// The skinned main menu bar: items measured and drawn (default look and skin), submenus
// opened through the form frame by mouse, menu mode by keyboard, accelerators, items that
// do not fit behind the marker.
#include "frame_support.h"

#include "platform/forms/Menus.h"

#include <map>

using namespace frametest;

namespace {

class FrameMenuBar : public FrameSkinTest {
protected:
    void SetUp() override
    {
        FrameSkinTest::SetUp();
        Menu = new TbsSkinMainMenu(Form);
        for (const char* C : {"&File", "&Edit", "&Help"}) {
            auto* I = new TMenuItem(Menu);
            I->SetCaption(C);
            Menu->Items()->Add(I);
        }
        for (int Top : {0, 1})
            for (const char* C : {"One", "Two"}) {
                auto* S = new TMenuItem(Menu);
                S->SetCaption(C);
                Menu->Items()->Items(Top)->Add(S);
            }
        Menu->Items()->Items(2)->OnClick = [this](TObject*) { ++HelpClicks; };
        Bar = new TbsSkinMainMenuBar(Form);
        Bar->SetParent(Form);
        Bar->SetSkinFormFrame(Frame);
        Frame->SetMainMenuBar(Bar);
        Bar->SetMainMenu(Menu);
    }
    TbsSkinMainMenuBarItem* It(int I) { return Bar->Item(I); }
    // The window point of the middle of item I.
    TPoint ItemPoint(int I)
    {
        TRect R = It(I)->ObjectRect();
        TPoint S = Bar->ClientToScreen(Point((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2));
        return Point(S.X - Form->Left(), S.Y - Form->Top());
    }
    void ClickItem(int I)
    {
        TPoint P = ItemPoint(I);
        Click(P.X, P.Y);
    }
    // A picture of one colour, added to the skin; its index.
    int AddPicture(TColor Color, int W, int H)
    {
        auto P = std::make_unique<TBitmap>(W, H);
        P->Canvas()->Brush()->SetColor(Color);
        P->Canvas()->FillRect(Rect(0, 0, W, H));
        SD->FActivePictures.push_back(std::move(P));
        return int(SD->FActivePictures.size()) - 1;
    }
    // The bar's record: a 60 x 18 green picture, items area (4, 0, 56, 18); the item's looks
    // green at rest and purple when highlighted, white text.
    void SkinTheBar()
    {
        int BarPic = AddPicture(RGB(10, 90, 10), 60, 18);
        auto ItemPic = std::make_unique<TBitmap>(40, 18);
        ItemPic->Canvas()->Brush()->SetColor(RGB(10, 90, 10));
        ItemPic->Canvas()->FillRect(Rect(0, 0, 20, 18));
        ItemPic->Canvas()->Brush()->SetColor(RGB(90, 10, 90));
        ItemPic->Canvas()->FillRect(Rect(20, 0, 40, 18));
        SD->FActivePictures.push_back(std::move(ItemPic));
        auto R = std::make_unique<TbsDataSkinMainMenuBar>("mainmenubar");
        R->PictureIndex = BarPic;
        R->SkinRect = Rect(0, 0, 60, 18);
        R->ItemsRect = Rect(4, 0, 56, 18);
        R->MenuBarItem = "barItem";
        SD->CtrlList.push_back(std::move(R));
        auto I = std::make_unique<TbsDataSkinMainMenuBarItem>("barItem");
        I->ActivePictureIndex = int(SD->FActivePictures.size()) - 1;
        I->SkinRect = Rect(0, 0, 20, 18);
        I->ActiveSkinRect = Rect(20, 0, 40, 18);
        I->TextRct = Rect(3, 2, 17, 16);
        I->ItemLO = I->ItemRO = 3;
        I->FontName = "Tahoma";
        I->FontHeight = 13;
        I->FontColor = I->ActiveFontColor = I->DownFontColor = clWhite;
        SD->ObjectList.push_back(std::move(I));
    }
    // A resizable record of class T named Name over a whole 12 x 12 picture of one colour.
    template <class T>
    T* AddResizeRecord(const String& Name, TColor Color)
    {
        auto R = std::make_unique<T>(Name);
        R->PictureIndex = AddPicture(Color, 12, 12);
        R->SkinRect = Rect(0, 0, 12, 12);
        R->LTPoint = Point(3, 3);
        R->RTPoint = Point(9, 3);
        R->LBPoint = Point(3, 9);
        R->RBPoint = Point(9, 9);
        R->ClRect = Rect(3, 3, 9, 9);
        T* Raw = R.get();
        SD->CtrlList.push_back(std::move(R));
        return Raw;
    }
    TColor BarPixel(TPoint P) { return Headless::PixelColor(Bar->Handle(), P); }
    TbsSkinMainMenu* Menu = nullptr;
    TbsSkinMainMenuBar* Bar = nullptr;
    int HelpClicks = 0;
};

// An item's text reads right to left on a right-to-left bar, in the default look and the
// skin's.
TEST_F(FrameMenuBar, ItemTextReadsRightToLeftOnARightToLeftBar)
{
    Menu->Items()->Items(0)->SetCaption("H...");
    ShowForm();
    for (bool Skinned : {false, true}) {
        SCOPED_TRACE(Skinned ? "skinned" : "default look");
        if (Skinned) SkinTheBar();
        auto Ink = [&](TBiDiMode Mode) {
            Bar->SetBiDiMode(Mode);
            Bar->Invalidate();
            Pump();
            const TRect R = It(0)->ObjectRect();
            const TPoint O = Bar->ClientToScreen(Point(0, 0));
            const int DX = O.X - Form->Left(), DY = O.Y - Form->Top();
            const TColor Back = WindowPixel(DX + R.Left + 1, DY + R.Top + 1);
            return TextInk(Rect(DX + R.Left + 1, DY + R.Top, DX + R.Right - 1, DY + R.Bottom),
                           [&](int X, int Y) { return WindowPixel(X, Y) != Back; });
        };
        const TTextInk Ltr = Ink(bdLeftToRight), Rtl = Ink(bdRightToLeftReadingOnly);
        ASSERT_FALSE(Ltr.Box.IsEmpty());
        EXPECT_FALSE(Ltr.DotsFirst);
        EXPECT_TRUE(Rtl.DotsFirst);
    }
}

TEST_F(FrameMenuBar, DefaultLookMeasuresItemsInARow)
{
    ShowForm();
    EXPECT_EQ(Bar->Height(), 22);
    EXPECT_EQ(Bar->Width(), Form->ClientWidth());
    ASSERT_EQ(Bar->ObjectList.size(), 3u);
    EXPECT_EQ(It(0)->ObjectRect().Left, 2);
    EXPECT_EQ(It(1)->ObjectRect().Left, It(0)->ObjectRect().Right);
    EXPECT_EQ(It(2)->ObjectRect().Left, It(1)->ObjectRect().Right);
    EXPECT_GT(It(0)->ObjectRect().Width(), 12);
    EXPECT_EQ(It(0)->ObjectRect().Top, 2);
    EXPECT_EQ(It(0)->ObjectRect().Bottom, 20);
    // the bar's background and an item at rest are button face
    Pump();
    EXPECT_EQ(Headless::PixelColor(Bar->Handle(), Point(It(0)->ObjectRect().Left + 1, 3)), Sys(clBtnFace));
    // hover: frame and hover fill
    TPoint P = ItemPoint(0);
    Move(P.X, P.Y);
    Wait(60);
    EXPECT_TRUE(It(0)->Active());
    EXPECT_EQ(Headless::PixelColor(Bar->Handle(), It(0)->ObjectRect().TopLeft()), bsDefaultFrameColor);
    EXPECT_EQ(Headless::PixelColor(Bar->Handle(), Point(It(0)->ObjectRect().Left + 1, 3)), bsDefaultHotColor);
}

TEST_F(FrameMenuBar, ClickOpensTheSubmenuAndTheHighlightMoves)
{
    ShowForm();
    int Entered = 0;
    Frame->OnMainMenuEnter = [&](TObject*) { ++Entered; };
    ClickItem(0);
    EXPECT_EQ(Frame->OpenMenuItem(), Menu->Items()->Items(0));
    EXPECT_TRUE(Frame->InMainMenu());
    EXPECT_TRUE(Bar->MenuActive());
    EXPECT_TRUE(It(0)->Down());
    EXPECT_EQ(Entered, 1);
    // below the item, on the screen
    TPoint TL = Bar->ClientToScreen(It(0)->ObjectRect().TopLeft());
    EXPECT_EQ(Frame->OpenMenuRect().TopLeft(), TL);
    // the submenu moves with the mouse to the next item (items without names too)
    TPoint P = ItemPoint(1);
    Move(P.X, P.Y);
    Wait(60);
    EXPECT_EQ(Frame->OpenMenuItem(), Menu->Items()->Items(1));
    EXPECT_FALSE(It(0)->Down());
    EXPECT_TRUE(It(1)->Down());
    // an item without subitems ends menu mode and runs its command
    ClickItem(2);
    EXPECT_EQ(HelpClicks, 1);
    EXPECT_FALSE(Frame->InMainMenu());
    EXPECT_FALSE(Bar->MenuActive());
    EXPECT_EQ(Frame->OpenMenuItem(), nullptr);
}

TEST_F(FrameMenuBar, KeyboardMenuMode)
{
    ShowForm();
    SendMessage(H(), WM_SYSCOMMAND, SC_KEYMENU, 0);
    EXPECT_TRUE(Frame->InMainMenu());
    EXPECT_TRUE(Bar->MenuActive());
    EXPECT_TRUE(It(0)->Active());
    Headless::Key(VK_RIGHT);
    Pump();
    EXPECT_FALSE(It(0)->Active());
    EXPECT_TRUE(It(1)->Active());
    Headless::Key(VK_LEFT);
    Headless::Key(VK_LEFT);
    Pump();
    EXPECT_TRUE(It(2)->Active());  // wrapped round to the last
    // Down presses the highlighted item: Help runs its command and menu mode ends
    Headless::Key(VK_DOWN);
    Pump();
    EXPECT_EQ(HelpClicks, 1);
    EXPECT_FALSE(Frame->InMainMenu());
    // again, then Escape leaves menu mode
    SendMessage(H(), WM_SYSCOMMAND, SC_KEYMENU, 0);
    Headless::Key(VK_RETURN);
    Pump();
    EXPECT_EQ(Frame->OpenMenuItem(), Menu->Items()->Items(0));
    Headless::Key(VK_ESCAPE);
    Pump();
    EXPECT_EQ(Frame->OpenMenuItem(), nullptr);
    EXPECT_TRUE(Frame->InMainMenu());
    Headless::Key(VK_ESCAPE);
    Pump();
    EXPECT_FALSE(Frame->InMainMenu());
    EXPECT_FALSE(Bar->MenuActive());
}

TEST_F(FrameMenuBar, AcceleratorKeysPressItems)
{
    ShowForm();
    SendMessage(H(), WM_SYSCOMMAND, SC_KEYMENU, 0);
    Headless::Key('E');
    Pump();
    EXPECT_EQ(Frame->OpenMenuItem(), Menu->Items()->Items(1));
    // a command item's accelerator runs it once, also while another item's submenu is open
    EXPECT_TRUE(Bar->PressAccelItem('H'));
    EXPECT_EQ(HelpClicks, 1);
    EXPECT_FALSE(Bar->PressAccelItem('Q'));
    // a disabled item takes no accelerator
    It(0)->SetEnabled(false);
    EXPECT_FALSE(Bar->PressAccelItem('F'));
}

TEST_F(FrameMenuBar, ItemsThatDoNotFitGoBehindTheMarker)
{
    // an invisible item has no place on the bar but keeps its place in the menu
    auto* Hidden = new TMenuItem(Menu);
    Hidden->SetCaption("Hidden");
    Hidden->SetVisible(false);
    Menu->Items()->Insert(1, Hidden);
    for (const char* C : {"Alpha", "Bravo", "Charlie", "Delta", "Echo", "Foxtrot", "Golf", "Hotel"}) {
        auto* I = new TMenuItem(Menu);
        I->SetCaption(C);
        auto* S = new TMenuItem(Menu);
        S->SetCaption("sub");
        I->Add(S);
        Menu->Items()->Add(I);
    }
    Bar->SetMainMenu(Menu);
    ShowForm();
    Bar->Repaint();
    Pump();
    EXPECT_TRUE(Bar->Scroll());
    int Shown = 0;
    for (size_t I = 0; I < Bar->ObjectList.size(); ++I) {
        auto* It0 = It(int(I));
        if (It0->ItemVisible) {
            ++Shown;
            EXPECT_LE(It0->ObjectRect().Right, Bar->NewItemsRect.Right - 5);
        } else {
            EXPECT_FALSE(It0->Enabled());
        }
    }
    EXPECT_LT(Shown, 11);
    TRect M = Bar->GetMarkerRect();
    TPoint S = Bar->ClientToScreen(Point(M.Left + 2, M.Top + 5));
    Click(S.X - Form->Left(), S.Y - Form->Top());
    EXPECT_EQ(Frame->OpenMenuItem(), Menu->Items());
    // the menu starts at the first hidden item, counted in the menu
    EXPECT_EQ(Frame->OpenMenuStart(), Shown + 1);
    EXPECT_EQ(Menu->Items()->Items(Frame->OpenMenuStart())->Caption(), It(Shown)->MenuItem()->Caption());
}

TEST_F(FrameMenuBar, SkinnedBarAndItems)
{
    SkinTheBar();
    Bar->SetSkinData(SD);
    Frame->SetSkinData(SD);
    ShowForm();
    EXPECT_TRUE(Bar->FSkinSupport);
    EXPECT_EQ(Bar->Height(), 18);
    EXPECT_EQ(It(0)->ObjectRect().Left, 4);
    EXPECT_EQ(It(0)->ObjectRect().Height(), 18);
    Pump();
    EXPECT_EQ(Headless::PixelColor(Bar->Handle(), Point(It(0)->ObjectRect().Left + 1, 1)), RGB(10, 90, 10));
    TPoint P = ItemPoint(0);
    Move(P.X, P.Y);
    Wait(60);
    EXPECT_EQ(Headless::PixelColor(Bar->Handle(), Point(It(0)->ObjectRect().Left + 1, 1)), RGB(90, 10, 90));
}

// In tool-bar mode the bar is drawn from the tool-bar panel and its items from the tool
// button record; the bar's own pictures play no part.
TEST_F(FrameMenuBar, ToolBarModeTakesThePanelAndToolButtonLooks)
{
    const TColor Panel = RGB(200, 180, 20), Normal = RGB(20, 40, 160), Hot = RGB(160, 20, 40), Down = RGB(20, 150, 60);
    SkinTheBar();
    AddResizeRecord<TbsDataSkinPanelControl>("resizetoolpanel", Panel);
    auto* Tool = AddResizeRecord<TbsDataSkinButtonControl>("resizetoolbutton", Normal);
    // one picture of three looks side by side: normal, active, down
    Tool->PictureIndex = AddPicture(Down, 36, 12);
    TCanvas* C = SD->FActivePictures[size_t(Tool->PictureIndex)]->Canvas();
    C->Brush()->SetColor(Normal);
    C->FillRect(Rect(0, 0, 12, 12));
    C->Brush()->SetColor(Hot);
    C->FillRect(Rect(12, 0, 24, 12));
    Tool->ActiveSkinRect = Rect(12, 0, 24, 12);
    Tool->DownSkinRect = Rect(24, 0, 36, 12);
    // the text in the record's font and colours by state
    Tool->FontName = "Tahoma";
    Tool->FontHeight = 13;
    Tool->FontColor = clWhite;
    Tool->ActiveFontColor = RGB(255, 255, 0);
    Tool->DownFontColor = RGB(0, 255, 255);
    Bar->SetUseSkinSize(false);
    Bar->SetToolBarMode(true);
    Bar->SetSkinData(SD);
    Frame->SetSkinData(SD);
    ShowForm();
    Bar->SetHeight(26);
    Pump();
    ASSERT_TRUE(Bar->FSkinSupport);
    const TRect R0 = It(0)->ObjectRect();
    EXPECT_EQ(BarPixel(Point(Bar->Width() - 2, 1)), Panel);
    EXPECT_EQ(BarPixel(Point(1, Bar->Height() - 2)), Panel);
    // pixels of the item close to C (text is smoothed at its edges)
    auto TextIn = [&](TColor C) {
        auto Near = [](int A, int B) { return std::abs(A - B) < 16; };
        int N = 0;
        for (int X = R0.Left; X < R0.Right; ++X)
            for (int Y = R0.Top; Y < R0.Bottom; ++Y) {
                TColor P = BarPixel(Point(X, Y));
                N += Near(GetRValue(P), GetRValue(C)) && Near(GetGValue(P), GetGValue(C)) &&
                     Near(GetBValue(P), GetBValue(C));
            }
        return N;
    };
    EXPECT_EQ(BarPixel(Point(R0.Left + 1, R0.Top + 1)), Normal);
    EXPECT_GT(TextIn(clWhite), 5);
    TPoint P = ItemPoint(0);
    Move(P.X, P.Y);
    Wait(60);
    EXPECT_EQ(BarPixel(Point(R0.Left + 1, R0.Top + 1)), Hot);
    EXPECT_GT(TextIn(RGB(255, 255, 0)), 5);
    Click(P.X, P.Y);
    Pump();
    ASSERT_TRUE(It(0)->Down());
    EXPECT_EQ(BarPixel(Point(R0.Left + 1, R0.Top + 1)), Down);
    EXPECT_GT(TextIn(RGB(0, 255, 255)), 5);
    // the submenu takes the bar's skin data
    EXPECT_EQ(Frame->OpenMenuItem(), Menu->Items()->Items(0));
}

TEST_F(FrameMenuBar, ToolBarModeFallsBackToThePanelAndTransparentItems)
{
    const TColor Panel = RGB(200, 180, 20), Normal = RGB(20, 40, 160);
    SkinTheBar();
    AddResizeRecord<TbsDataSkinPanelControl>("panel", Panel);
    AddResizeRecord<TbsDataSkinButtonControl>("resizetoolbutton", Normal);
    Bar->SetUseSkinSize(false);
    Bar->SetToolBarMode(true);
    Bar->SetToolBarModeItemTransparent(true);
    Bar->SetSkinData(SD);
    Frame->SetSkinData(SD);
    ShowForm();
    Pump();
    const TRect R0 = It(0)->ObjectRect();
    // without "resizetoolpanel" the plain panel; items at rest show the bar under them
    EXPECT_EQ(BarPixel(Point(Bar->Width() - 2, 1)), Panel);
    EXPECT_EQ(BarPixel(Point(R0.Left + 1, R0.Top + 1)), Panel);
    TPoint P = ItemPoint(0);
    Move(P.X, P.Y);
    Wait(60);
    EXPECT_EQ(BarPixel(Point(R0.Left + 1, R0.Top + 1)), Normal);
    // a skin without the tool button record: the hot item shows the bar under its text
    SD->CtrlList.pop_back();
    Bar->Invalidate();
    Pump();
    EXPECT_TRUE(It(0)->Active());
    EXPECT_EQ(BarPixel(Point(R0.Left + 1, R0.Top + 1)), Panel);
}

// A skinned bar whose record names MDI buttons; the skin describes only the close button.
TEST_F(FrameMenuBar, MDIButtonsTheSkinLacksRunTheirSlotsCommands)
{
    auto R = std::make_unique<TbsDataSkinMainMenuBar>("mainmenubar");
    R->PictureIndex = -1;
    R->SkinRect = Rect(0, 0, 60, 18);
    R->ItemsRect = Rect(4, 0, 56, 18);
    R->CloseButton = "closebutton";
    R->MaxButton = "mdimax";
    R->MinButton = "mdimin";
    R->SysMenuButton = "mdisys";
    SD->CtrlList.push_back(std::move(R));
    Bar->SetSkinData(SD);
    Frame->SetSkinData(SD);
    ShowForm();
    Bar->ShowMDIButtons();
    ASSERT_EQ(Bar->ButtonsCount, 4);
    std::map<String, TbsStdCommand> Commands;
    for (int I = 0; I < Bar->ButtonsCount; ++I) {
        auto* B = dynamic_cast<TbsSkinMainMenuBarButton*>(Bar->ObjectList[size_t(I)].get());
        ASSERT_NE(B, nullptr);
        Commands[B->IDName()] = B->Command();
    }
    EXPECT_EQ(Commands["closebutton"], cmClose);
    EXPECT_EQ(Commands["mdimax"], cmMaximize);
    EXPECT_EQ(Commands["mdimin"], cmMinimize);
    EXPECT_EQ(Commands["mdisys"], cmSysMenu);
}

TEST_F(FrameMenuBar, ItemsWithoutALookAreStillMeasured)
{
    auto R = std::make_unique<TbsDataSkinMainMenuBar>("mainmenubar");
    R->PictureIndex = -1;
    R->SkinRect = Rect(0, 0, 60, 18);
    R->ItemsRect = Rect(4, 0, 56, 18);
    R->MenuBarItem = "barItem";
    SD->CtrlList.push_back(std::move(R));
    // an item record without a skin rectangle: the items show nothing
    auto I = std::make_unique<TbsDataSkinMainMenuBarItem>("barItem");
    I->ActivePictureIndex = -1;
    I->FontName = "Tahoma";
    I->FontHeight = 13;
    SD->ObjectList.push_back(std::move(I));
    Bar->SetSkinData(SD);
    Frame->SetSkinData(SD);
    ShowForm();
    Bar->Repaint();
    Pump();
    ASSERT_EQ(Bar->ObjectList.size(), 3u);
    // each item has its place after the one before, and the places follow a change
    EXPECT_EQ(It(0)->ObjectRect().Left, 4);
    EXPECT_GT(It(0)->ObjectRect().Width(), 0);
    EXPECT_EQ(It(1)->ObjectRect().Left, It(0)->ObjectRect().Right);
    int Before = It(1)->ObjectRect().Left;
    Menu->Items()->Items(0)->SetCaption("&File and more");
    Bar->Repaint();
    Pump();
    EXPECT_GT(It(1)->ObjectRect().Left, Before);
}

TEST_F(FrameMenuBar, RemovingTheMenuEmptiesTheBar)
{
    ShowForm();
    delete Menu;
    EXPECT_EQ(Bar->MainMenu(), nullptr);
    EXPECT_TRUE(Bar->ObjectList.empty());
    delete Bar;
    EXPECT_EQ(Frame->MainMenuBar(), nullptr);
}

}  // namespace

TEST_F(FrameMenuBar, MovingOntoACommandItemClosesTheOpenSubmenuAndKeepsMenuMode)
{
    // File and Edit have submenus, Help is a command: from File's open submenu, Left goes
    // to Help (the submenu closes, nothing runs) and Left again reaches Edit
    ShowForm();
    Headless::Key(VK_MENU);
    Pump();
    ASSERT_TRUE(Frame->InMainMenu());
    Headless::Key(VK_RETURN);
    Pump();
    ASSERT_EQ(Frame->OpenMenuItem(), Menu->Items()->Items(0));
    Headless::Key(VK_LEFT);
    Pump();
    EXPECT_TRUE(It(2)->Active());
    EXPECT_FALSE(It(0)->Down());
    EXPECT_EQ(Frame->OpenMenuItem(), nullptr);
    EXPECT_FALSE(Frame->SkinMenu->Visible());
    EXPECT_EQ(Frame->SkinMenu->LevelCount(), 0);
    EXPECT_TRUE(Frame->InMainMenu());
    EXPECT_EQ(HelpClicks, 0);
    Headless::Key(VK_LEFT);
    Pump();
    EXPECT_TRUE(It(1)->Active());
    EXPECT_FALSE(It(2)->Active());
    Headless::Key(VK_RETURN);
    Pump();
    EXPECT_EQ(Frame->OpenMenuItem(), Menu->Items()->Items(1));
    Headless::Key(VK_ESCAPE);
    Headless::Key(VK_ESCAPE);
    Pump();
    EXPECT_FALSE(Frame->InMainMenu());
    EXPECT_FALSE(Frame->InAppHook());
}

// The menu mode's transitions: from each state, each transition, the state it reaches and
// the effects it has (H+/H- the key filter in and out, C the chain hidden, L the bar
// leaving menu mode, R the bar's pressed item released; events o/c menu open/close,
// e/x main menu enter/exit).
TEST(FrameMenuMode, TransitionsTable)
{
    enum TStart { Idle, Popup, Bar, BarOpen };
    enum TStep { Open, Close, Enter, Leave, CloseChain };
    struct TRow {
        TStart Start;
        TStep Step;
        bool InMenu, InMainMenu, Hooked, HasItem;
        const char* Effects;
    };
    const TRow Rows[] = {
        {Idle, Open, true, false, true, false, "H+ o "},
        {Idle, Close, false, false, false, false, "C c "},
        {Idle, Enter, false, true, true, false, "H+ e "},
        {Idle, Leave, false, false, false, false, "L "},
        {Idle, CloseChain, false, false, false, false, ""},
        {Popup, Open, true, false, true, true, ""},
        {Popup, Close, false, false, false, false, "C H- c "},
        {Popup, Enter, true, true, true, true, "e "},
        {Popup, Leave, false, false, false, false, "C c L H- "},
        {Popup, CloseChain, false, false, false, false, "C R c H- "},
        {Bar, Open, true, true, true, false, "o "},
        {Bar, Close, false, false, false, false, "C H- c L x "},
        {Bar, Enter, false, true, true, false, ""},
        {Bar, Leave, false, false, false, false, "L H- x "},
        {Bar, CloseChain, false, true, true, false, ""},
        {BarOpen, Close, false, false, false, false, "C H- c L x "},
        {BarOpen, Leave, false, false, false, false, "C c L H- x "},
        {BarOpen, CloseChain, false, true, true, false, "C R c "},
        {BarOpen, Enter, true, true, true, true, ""},
    };
    TMenuItem Root(nullptr);
    for (const TRow& Row : Rows) {
        std::string Log;
        TbsFrameMenuMode::TEffects E;
        E.Hook = [&](bool On) { Log += On ? "H+ " : "H- "; };
        E.HideChain = [&] { Log += "C "; };
        E.BarLeave = [&] { Log += "L "; };
        E.BarRelease = [&] { Log += "R "; };
        E.Event = [&](TbsMenuModeEvent Ev) {
            const char* Names[] = {"o ", "c ", "e ", "x "};
            Log += Names[int(Ev)];
        };
        TbsFrameMenuMode M(std::move(E));
        if (Row.Start == Bar || Row.Start == BarOpen) M.EnterMainMenu();
        if (Row.Start == Popup || Row.Start == BarOpen) {
            M.Open();
            M.Shown(&Root);
        }
        Log.clear();
        switch (Row.Step) {
        case Open: M.Open(); break;
        case Close: M.Close(); break;
        case Enter: M.EnterMainMenu(); break;
        case Leave: M.LeaveMainMenu(); break;
        case CloseChain: M.CloseChain(); break;
        }
        SCOPED_TRACE(testing::Message() << "start " << int(Row.Start) << " step " << int(Row.Step));
        EXPECT_EQ(M.InMenu(), Row.InMenu);
        EXPECT_EQ(M.InMainMenu(), Row.InMainMenu);
        EXPECT_EQ(M.Hooked(), Row.Hooked);
        EXPECT_EQ(M.OpenItem() != nullptr, Row.HasItem);
        EXPECT_EQ(Log, Row.Effects);
    }
}
