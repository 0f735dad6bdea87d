// The images menu: grid layout, placement, choosing by mouse and keys, closing, and the
// events in their order.
#include "menus_support.h"
#include "skin/menus/bsSkinHint.h"

using namespace menustest;

namespace {

class ImagesMenu : public MenuTest {
protected:
    void SetUp() override
    {
        MenuTest::SetUp();
        IL = new TImageList(Form);
        IL->SetSize(16, 16);
        TBitmap B(16, 16);
        for (int I = 0; I < 6; ++I) IL->Add(&B, nullptr);
        IM = new TbsSkinImagesMenu(Form);
        IM->SetImages(IL);
        IM->OnItemClick = [this](TObject*) { Log.push_back("itemclick"); };
        IM->OnChange = [this](TObject*) { Log.push_back("change"); };
        IM->OnMenuClose = [this](TObject*) { Log.push_back("close"); };
    }
    void Cells(int N)
    {
        for (int I = 0; I < N; ++I) IM->Items()->Add()->SetImageIndex(I);
    }
    TbsSkinImagesMenuPopupWindow* W() { return IM->PopupWindow(); }
    TPoint CellPoint(int I)
    {
        TRect R = IM->Items()->Items(I)->ItemRect;
        return W()->ClientToScreen(Point(R.Left + 8, R.Top + 8));
    }
    void Key(int VK)
    {
        Headless::Key(VK);
        Pump();
    }
    TImageList* IL = nullptr;
    TbsSkinImagesMenu* IM = nullptr;
    std::vector<std::string> Log;
};

TEST_F(ImagesMenu, CellsWrapByColumnsAndRowsStartAfterHeadersAndButtons)
{
    Cells(6);
    IM->SetColumnsCount(4);
    IM->PopupFromRect(Rect(100, 100, 140, 120));
    ASSERT_NE(W(), nullptr);
    auto R = [&](int I) { return IM->Items()->Items(I)->ItemRect; };
    EXPECT_EQ(R(0), Rect(5, 5, 31, 31));
    EXPECT_EQ(R(3), Rect(83, 5, 109, 31));
    EXPECT_EQ(R(4), Rect(5, 32, 31, 58));
    EXPECT_EQ(R(5), Rect(31, 32, 57, 58));
    EXPECT_EQ(W()->Width(), 4 * 26 + 10);
    EXPECT_EQ(W()->Height(), 58 - 5 + 10);
    // under the rectangle, at its left
    EXPECT_EQ(W()->Left(), 100);
    EXPECT_EQ(W()->Top(), 120);
    IM->Hide();
    // a header in the middle of a row starts a fresh row; a button row takes the whole width
    TbsImagesMenuItem* H = IM->Items()->Add();
    H->SetHeader(true);
    H->SetCaption("Head");
    H->SetIndex(1);
    TbsImagesMenuItem* B = IM->Items()->Add();
    B->SetButton(true);
    B->SetCaption("More");
    IM->PopupFromRect(Rect(100, 100, 140, 120));
    EXPECT_EQ(R(0), Rect(5, 5, 31, 31));
    EXPECT_EQ(R(1), Rect(5, 32, 5 + 104, 32 + 26));  // without a "label" record: a cell high
    EXPECT_EQ(R(2), Rect(5, 59, 31, 85));
    EXPECT_EQ(R(7), Rect(5, 59 + 27 + 27, 109, 59 + 27 + 27 + 26));
    EXPECT_EQ(W()->ItemAtPos(10, 40), -1);  // headers are never hit
    EXPECT_EQ(W()->ItemAtPos(31, 10), 0);   // a shared edge belongs to the earlier cell
}

TEST_F(ImagesMenu, ColumnsOutsideOneToFiftyAreIgnored)
{
    IM->SetColumnsCount(3);
    IM->SetColumnsCount(0);
    EXPECT_EQ(IM->ColumnsCount(), 3);
    IM->SetColumnsCount(51);
    EXPECT_EQ(IM->ColumnsCount(), 3);
    IM->SetColumnsCount(50);
    EXPECT_EQ(IM->ColumnsCount(), 50);
}

TEST_F(ImagesMenu, OpensAboveWhenNoRoomBelowAndMovesLeftAtTheEdge)
{
    Cells(4);
    IM->SetColumnsCount(4);
    IM->PopupFromRect(Rect(1250, 980, 1270, 990));
    EXPECT_EQ(W()->Top(), 990 - W()->Height() - 10);
    EXPECT_EQ(W()->Left(), 1280 - W()->Width());
}

TEST_F(ImagesMenu, TheReleaseOfTheOpeningClickChoosesNothingAClickChooses)
{
    Cells(3);
    IM->SetColumnsCount(3);
    IM->SetItemIndex(0);
    IM->PopupFromRect(Rect(100, 100, 140, 120));
    Headless::MouseMove(CellPoint(1));
    Headless::MouseUp(CellPoint(1));
    Pump();
    EXPECT_TRUE(IM->GridVisible());
    EXPECT_TRUE(Log.empty());
    ClickAt(CellPoint(2));
    EXPECT_FALSE(IM->GridVisible());
    EXPECT_EQ(IM->ItemIndex(), 2);
    EXPECT_EQ(Log, (std::vector<std::string>{"close", "itemclick", "change"}));
    Pump();
}

TEST_F(ImagesMenu, KeysMoveWrapChooseAndAreSwallowed)
{
    int FormKeys = 0;
    Form->OnKeyDown = [&](TObject*, WORD&, TShiftState) { ++FormKeys; };
    Cells(4);
    auto* H = static_cast<TbsImagesMenuItem*>(IM->Items()->Insert(0));
    H->SetHeader(true);
    IM->SetColumnsCount(2);
    IM->PopupFromRect(Rect(100, 100, 140, 120));
    Key(VK_RIGHT);  // nothing hot: the first non-header item
    EXPECT_EQ(W()->MouseInItem, 1);
    Key(VK_DOWN);
    EXPECT_EQ(W()->MouseInItem, 3);
    Key(VK_RIGHT);
    Key(VK_RIGHT);  // the last item: wraps to item 1
    EXPECT_EQ(W()->MouseInItem, 1);
    Key(VK_LEFT);  // item 1 after a header: wraps to the last
    EXPECT_EQ(W()->MouseInItem, 4);
    Key(VK_UP);
    EXPECT_EQ(W()->MouseInItem, 2);
    Headless::Wheel(CellPoint(1), 120);
    Key(VK_RETURN);
    EXPECT_EQ(FormKeys, 0);
    EXPECT_EQ(IM->ItemIndex(), 2);
    EXPECT_EQ(Log, (std::vector<std::string>{"close", "itemclick", "change"}));
    // Enter with nothing hot confirms the current choice: the item events, no change
    Log.clear();
    IM->PopupFromRect(Rect(100, 100, 140, 120));
    Key(VK_RETURN);
    EXPECT_EQ(Log, (std::vector<std::string>{"close", "itemclick"}));
    // Escape closes without choosing
    Log.clear();
    IM->PopupFromRect(Rect(100, 100, 140, 120));
    Key(VK_ESCAPE);
    EXPECT_EQ(Log, std::vector<std::string>{"close"});
    Pump();
}

TEST_F(ImagesMenu, KeysNeverMakeAHeaderHotAndEnterNeverChoosesOne)
{
    // headers first, in the middle and last: the keys wrap between the two cells
    IM->Items()->Add()->SetHeader(true);
    IM->Items()->Add()->SetHeader(true);
    IM->Items()->Add()->SetImageIndex(0);
    IM->Items()->Add()->SetHeader(true);
    IM->Items()->Add()->SetImageIndex(1);
    IM->Items()->Add()->SetHeader(true);
    IM->SetColumnsCount(1);
    struct TCase { std::vector<int> Keys; int Hot; };
    const TCase Cases[] = {{{VK_UP}, 4}, {{VK_DOWN}, 2}, {{VK_RIGHT}, 2}, {{VK_LEFT}, 4},
                           {{VK_RIGHT, VK_LEFT}, 4}, {{VK_LEFT, VK_RIGHT}, 2}, {{VK_RIGHT, VK_RIGHT}, 4}};
    for (const TCase& C : Cases) {
        IM->PopupFromRect(Rect(100, 100, 140, 120));
        for (int K : C.Keys) Key(K);
        EXPECT_EQ(W()->MouseInItem, C.Hot) << C.Keys.size() << " " << C.Keys[0];
        Key(VK_RETURN);
        EXPECT_EQ(IM->ItemIndex(), C.Hot) << C.Keys.size() << " " << C.Keys[0];
        Pump();
    }
    // a menu of headers only: no key makes anything hot, Enter chooses nothing
    IM->Items()->Clear();
    IM->Items()->Add()->SetHeader(true);
    IM->SetItemIndex(-1);
    IM->PopupFromRect(Rect(100, 100, 140, 120));
    for (int K : {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN}) {
        Key(K);
        EXPECT_EQ(W()->MouseInItem, -1) << K;
    }
    Key(VK_RETURN);
    EXPECT_EQ(IM->ItemIndex(), -1);
    Pump();
}

TEST_F(ImagesMenu, ARightClickOrAClickOutsideClosesWithoutChoosing)
{
    Cells(2);
    IM->PopupFromRect(Rect(100, 100, 140, 120));
    Headless::MouseMove(CellPoint(0));
    Headless::MouseDown(CellPoint(0), 2);
    Pump();
    EXPECT_FALSE(IM->GridVisible());
    EXPECT_EQ(Log, std::vector<std::string>{"close"});
    Log.clear();
    IM->PopupFromRect(Rect(100, 100, 140, 120));
    ClickAt(Point(600, 600));
    EXPECT_FALSE(IM->GridVisible());
    EXPECT_EQ(Log, std::vector<std::string>{"close"});
    Pump();
}

TEST_F(ImagesMenu, AGridClosedWhileFadingInIsFreedAndForgotten)
{
    Cells(2);
    IM->AlphaBlend = IM->AlphaBlendAnimation = true;
    // a message already queued when the grid opens closes it during the fade's first pump,
    // and the grid's release message frees it in the same pump
    constexpr unsigned CloseGrid = WM_APP + 17;
    const TWndMethod Old = Form->WindowProc;
    Form->WindowProc = [&](TMessage& M) {
        if (M.Msg == CloseGrid)
            IM->Hide();
        else
            Old(M);
    };
    PostMessage(Form->Handle(), CloseGrid, 0, 0);
    IM->PopupFromRect(Rect(100, 100, 140, 120));
    Form->WindowProc = Old;
    EXPECT_FALSE(IM->GridVisible());
    EXPECT_EQ(Log, std::vector<std::string>{"close"});
    Pump();
    // the menu opens again as usual
    IM->AlphaBlend = IM->AlphaBlendAnimation = false;
    IM->PopupFromRect(Rect(100, 100, 140, 120));
    EXPECT_TRUE(IM->GridVisible());
    IM->Hide();
    Pump();
}

TEST_F(ImagesMenu, WithoutImagesNothingOpensButThePopupEventFires)
{
    int Popups = 0;
    IM->OnMenuPopup = [&](TObject*) { ++Popups; };
    IM->SetImages(nullptr);
    Cells(2);
    IM->PopupFromRect(Rect(0, 0, 10, 10));
    EXPECT_EQ(Popups, 1);
    EXPECT_FALSE(IM->GridVisible());
    // an image list without items: an empty grid a cell high
    IM->SetImages(IL);
    IM->Items()->Clear();
    IM->PopupFromRect(Rect(0, 0, 10, 10));
    ASSERT_TRUE(IM->GridVisible());
    EXPECT_EQ(W()->Height(), 26 + 10);
    IM->Hide();
    Pump();
}

TEST_F(ImagesMenu, DefaultCellsShowTheChoicePressedAndTheHotCellLit)
{
    Cells(3);
    IM->SetColumnsCount(3);
    IM->SetItemIndex(0);
    auto* Hint = new TbsSkinHint(Form);
    IM->SetSkinHint(Hint);
    IM->Items()->Items(1)->SetHint("second");
    IM->PopupFromRect(Rect(100, 100, 140, 120));
    auto Px = [&](int Item, int DX, int DY) {
        Pump();
        W()->Repaint();
        Pump();
        TRect R = IM->Items()->Items(Item)->ItemRect;
        return Headless::PixelColor(W()->Handle(), Point(R.Left + DX, R.Top + DY));
    };
    EXPECT_EQ(Px(0, 0, 0), RGB(59, 107, 183));
    EXPECT_EQ(Px(0, 2, 2), RGB(162, 188, 228));
    EXPECT_EQ(Px(1, 2, 2), Sys(clWindow));
    Headless::MouseMove(CellPoint(1));
    Pump();
    EXPECT_EQ(W()->MouseInItem, 1);
    EXPECT_EQ(Px(1, 2, 2), RGB(193, 212, 243));
    // the hovered item's hint follows after the hint pause
    EXPECT_TRUE(Hint->Pending());
    Wait(Application->HintPause);
    EXPECT_TRUE(Hint->IsVisible());
    EXPECT_EQ(Hint->Window()->Text(), "second");
    Key(VK_ESCAPE);
    EXPECT_FALSE(Hint->IsVisible());
    Pump();
}

}  // namespace
