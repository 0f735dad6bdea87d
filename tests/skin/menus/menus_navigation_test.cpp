// Following the pointer, keys and scrolling of an open menu level, and the messages on
// which a form closes its menus.
#include "menus_support.h"

using namespace menustest;

namespace {

class MenuKeys : public MenuTest {
protected:
    TbsSkinPopupWindow* Last() { return Chain->LastLevel(); }
    void Press(int Key) { Chain->LastLevel()->PopupKeyDown(Key); }
};

TEST_F(MenuKeys, DownAndUpSkipUnusableItemsAndWrapOnlyFromTheEnds)
{
    Add("A");
    Add("B")->SetEnabled(false);
    Add("-");
    Add("C");
    Open();
    EXPECT_EQ(Last()->ActiveItem, 0);
    Press(VK_DOWN);
    EXPECT_EQ(Last()->ActiveItem, 3);
    EXPECT_TRUE(Last()->Item(3)->Active);
    EXPECT_FALSE(Last()->Item(0)->Active);
    Press(VK_DOWN);  // from the last item: the first usable one
    EXPECT_EQ(Last()->ActiveItem, 0);
    Press(VK_UP);  // from the first: the last usable one
    EXPECT_EQ(Last()->ActiveItem, 3);
    Last()->Item(3)->MouseLeave();
    Last()->ActiveItem = -1;
    Press(VK_UP);  // nothing highlighted: from the last item
    EXPECT_EQ(Last()->ActiveItem, 3);
}

TEST_F(MenuKeys, DownStaysWhenOnlyUnusableItemsFollow)
{
    Add("A");
    Add("B");
    Add("C")->SetEnabled(false);
    Open();
    Press(VK_DOWN);
    EXPECT_EQ(Last()->ActiveItem, 1);
    Press(VK_DOWN);
    EXPECT_EQ(Last()->ActiveItem, 1);
}

TEST_F(MenuKeys, AcceleratorsRunItemsBeforeArrowKeysCount)
{
    int Saved = 0, Printed = 0;
    Add("&Save")->OnClick = [&](TObject*) { ++Saved; };
    TMenuItem* P = Add("&Print");
    P->SetEnabled(false);
    P->OnClick = [&](TObject*) { ++Printed; };
    Open();
    Press('P');  // a disabled item is highlighted and runs nothing
    EXPECT_EQ(Last()->ActiveItem, 1);
    EXPECT_EQ(Printed, 0);
    EXPECT_TRUE(Chain->Visible());
    Press('s');
    EXPECT_EQ(Saved, 1);
    EXPECT_FALSE(Chain->Visible());
    EXPECT_EQ(Chain->LevelCount(), 0);
}

TEST_F(MenuKeys, SubmenusOpenByRightOrEnterAndCloseByEscapeOrLeft)
{
    TMenuItem* File = Add("File");
    int FileClicks = 0;
    File->OnClick = [&](TObject*) { ++FileClicks; };
    Add("New", File);
    Add("Open", File);
    Add("Quit");
    Open();
    // entered by keyboard: nothing opens, not even after the wait
    Wait(600);
    EXPECT_EQ(Chain->LevelCount(), 1);
    Press(VK_LEFT);  // one level: nothing
    EXPECT_EQ(Chain->LevelCount(), 1);
    Press(VK_RIGHT);
    ASSERT_EQ(Chain->LevelCount(), 2);
    EXPECT_EQ(FileClicks, 1);  // the item's click runs before its submenu shows
    EXPECT_TRUE(Level(0)->Item(0)->Down);
    EXPECT_EQ(Level(1)->ActiveItem, 0);
    // beside the item, its first item level with it
    const TPoint ItemTL = Level(0)->ClientToScreen(Level(0)->Item(0)->ObjectRect.TopLeft());
    EXPECT_EQ(Level(1)->Left(), ItemTL.X + Level(0)->Item(0)->ObjectRect.Width() + 1);
    EXPECT_EQ(Level(1)->Top(), ItemTL.Y - Level(1)->NewItemsRect.Top);
    Press(VK_ESCAPE);
    EXPECT_EQ(Chain->LevelCount(), 1);
    EXPECT_FALSE(Level(0)->Item(0)->Down);
    Press(VK_RETURN);
    EXPECT_EQ(Chain->LevelCount(), 2);
    Press(VK_LEFT);
    EXPECT_EQ(Chain->LevelCount(), 1);
    Press(VK_ESCAPE);  // the only level: the whole menu closes
    EXPECT_FALSE(Chain->Visible());
}

TEST_F(MenuKeys, MenuCloseMessages)
{
    const UINT Closing[] = {WM_MOVE,          WM_SIZE,         WM_ACTIVATE,     WM_KILLFOCUS,  WM_CANCELMODE,
                            WM_MOUSEACTIVATE, WM_NCLBUTTONDOWN, WM_NCRBUTTONDOWN, WM_NCMBUTTONDOWN, WM_LBUTTONDOWN,
                            WM_RBUTTONDOWN,   WM_MBUTTONDOWN,  WM_PARENTNOTIFY};
    for (UINT M : Closing) EXPECT_TRUE(IsMenuCloseMessage(M)) << M;
    for (UINT M : {UINT(WM_KEYDOWN), UINT(WM_MOUSEMOVE), UINT(WM_LBUTTONUP), UINT(WM_PAINT), UINT(WM_TIMER)})
        EXPECT_FALSE(IsMenuCloseMessage(M)) << M;
}

// ---- the pointer ---------------------------------------------------------------------------------

class MenuPointer : public MenuTest {};

TEST_F(MenuPointer, RestingOnASubmenuItemOpensItAfterTheWait)
{
    Add("Leaf");
    TMenuItem* Sub = Add("Sub");
    Add("Child", Sub);
    Add("Other");
    Open();
    TbsSkinPopupWindow* W = Level(0);
    PointTo(AtItem(W, 1));
    EXPECT_EQ(W->ActiveItem, 1);
    EXPECT_TRUE(W->Item(1)->Active);
    EXPECT_FALSE(W->Item(0)->Active);
    Wait(400);
    EXPECT_EQ(Chain->LevelCount(), 1);
    Wait(100);
    ASSERT_EQ(Chain->LevelCount(), 2);
    // leaving the window keeps the highlight; moving to another item closes the submenu
    PointTo(Point(5, 5));
    EXPECT_EQ(W->ActiveItem, 1);
    PointTo(AtItem(W, 2));
    EXPECT_EQ(Chain->LevelCount(), 1);
    EXPECT_FALSE(W->Item(1)->Down);
    // moving on within the wait cancels it
    PointTo(AtItem(W, 1));
    Wait(300);
    PointTo(AtItem(W, 2));
    Wait(600);
    EXPECT_EQ(Chain->LevelCount(), 1);
}

TEST_F(MenuPointer, TheAutomaticHighlightWaitsForTheMouse)
{
    TMenuItem* Sub = Add("Sub");
    Add("Child", Sub);
    Open();
    TbsSkinPopupWindow* W = Level(0);
    EXPECT_TRUE(W->Item(0)->WaitCommand);
    Wait(600);
    EXPECT_EQ(Chain->LevelCount(), 1);
    PointTo(AtItem(W, 0));
    EXPECT_FALSE(W->Item(0)->WaitCommand);
    Wait(500);
    EXPECT_EQ(Chain->LevelCount(), 2);
}

TEST_F(MenuPointer, ClicksRunLeavesAndOpenSubmenusAtOnce)
{
    int Runs = 0;
    Add("Run")->OnClick = [&](TObject*) { ++Runs; };
    Add("-");
    TMenuItem* Sub = Add("Sub");
    Add("Child", Sub);
    Open();
    TbsSkinPopupWindow* W = Level(0);
    // a right-button release moves the highlight and runs nothing
    Headless::MouseMove(AtItem(W, 0));
    Headless::MouseDown(AtItem(W, 0), 2);
    Headless::MouseUp(AtItem(W, 0), 2);
    Pump();
    EXPECT_EQ(Runs, 0);
    // a release over the separator runs nothing
    ClickAt(AtItem(W, 1));
    EXPECT_TRUE(Chain->Visible());
    ClickAt(AtItem(W, 2));
    EXPECT_EQ(Chain->LevelCount(), 2);
    ClickAt(AtItem(W, 0));
    EXPECT_EQ(Runs, 1);
    EXPECT_FALSE(Chain->Visible());
    Pump();  // closed levels go once the click is done
}

// ---- scrolling -----------------------------------------------------------------------------------

class MenuScroll : public MenuTest {
protected:
    void SetUp() override
    {
        MenuTest::SetUp();
        for (int I = 0; I < 10; ++I) Add("Item " + IntToStr(I));
        Chain->MaxMenuItemsInWindow = 4;
    }
};

TEST_F(MenuScroll, KeysScrollByOneAndWrapTheView)
{
    Open();
    TbsSkinPopupWindow* W = Level(0);
    for (int I = 0; I < 3; ++I) W->PopupKeyDown(VK_DOWN);
    EXPECT_EQ(W->ActiveItem, 3);
    EXPECT_EQ(W->VisibleStartIndex, 0);
    W->PopupKeyDown(VK_DOWN);
    EXPECT_EQ(W->ActiveItem, 4);
    EXPECT_EQ(W->VisibleStartIndex, 1);
    EXPECT_FALSE(W->Item(0)->FVisible);
    EXPECT_TRUE(W->Item(4)->FVisible);
    for (int I = 0; I < 5; ++I) W->PopupKeyDown(VK_DOWN);
    EXPECT_EQ(W->ActiveItem, 9);
    EXPECT_EQ(W->VisibleStartIndex, 6);
    W->PopupKeyDown(VK_DOWN);  // from the last of all: the view wraps to the top
    EXPECT_EQ(W->ActiveItem, 0);
    EXPECT_EQ(W->VisibleStartIndex, 0);
    W->PopupKeyDown(VK_UP);  // and from the first to the last page
    EXPECT_EQ(W->ActiveItem, 9);
    EXPECT_EQ(W->VisibleStartIndex, W->LastPageStart());
    EXPECT_TRUE(W->Item(9)->FVisible);
}

TEST_F(MenuScroll, MarkersScrollWhileThePointerRests)
{
    Open();
    TbsSkinPopupWindow* W = Level(0);
    // the up marker at the top does nothing
    PointTo(At(W, 20, W->NewItemsRect.Top + 3));
    EXPECT_EQ(W->ScrollCode, 0);
    PointTo(At(W, 20, W->NewItemsRect.Bottom - 3));
    EXPECT_EQ(W->ScrollCode, 2);
    Wait(100);
    EXPECT_EQ(W->VisibleStartIndex, 1);
    for (int I = 0; I < 10; ++I) Wait(100);
    EXPECT_EQ(W->VisibleStartIndex, 6);
    EXPECT_EQ(W->ScrollCode, 0);  // stopped by itself at the end
    // up again until the pointer leaves the marker
    PointTo(At(W, 20, W->NewItemsRect.Top + 3));
    EXPECT_EQ(W->ScrollCode, 1);
    Wait(100);
    Wait(100);
    EXPECT_EQ(W->VisibleStartIndex, 4);
    PointTo(AtItem(W, 5));
    EXPECT_EQ(W->ScrollCode, 0);
    Wait(300);
    EXPECT_EQ(W->VisibleStartIndex, 4);
}

TEST_F(MenuScroll, StartingToScrollClosesTheSubmenu)
{
    Menu->Items()->Clear();
    TMenuItem* Sub = Add("Sub");
    Add("Child", Sub);
    for (int I = 0; I < 9; ++I) Add("Item");
    Open();
    TbsSkinPopupWindow* W = Level(0);
    W->PopupKeyDown(VK_RIGHT);
    ASSERT_EQ(Chain->LevelCount(), 2);
    PointTo(At(W, 20, W->NewItemsRect.Bottom - 3));
    EXPECT_EQ(Chain->LevelCount(), 1);
}

}  // namespace
