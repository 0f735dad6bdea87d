// The page control on the headless backend: pages and tabs, item sizes, tab and
// display rectangles on every side, selection by the user with veto, keys, a strip
// that overflows and rows.
#include "ctrls_support.h"
#include "platform/forms/ComCtrls.h"

namespace {

class PageControlTest : public CtrlsTest {
protected:
    void SetUp() override
    {
        CtrlsTest::SetUp();
        Pages = Add<TPageControl>({10, 10, 310, 210});
        for (const char* C : {"常规", "Video", "Audio", "More"}) {
            auto* S = new TTabSheet(Form);
            S->SetCaption(C);
            S->SetPageControl(Pages);
            Sheets.push_back(S);
        }
        Pages->OnChanging = [this](TObject*, bool& Allow) {
            Log.push_back("changing");
            Allow = !Veto;
        };
        Pages->OnChange = [this](TObject*) { Log.push_back("change " + Pages->ActivePage()->Caption()); };
        Form->Show();
        Pump();
    }
    TPoint TabPoint(int Tab)
    {
        TRect R = Pages->TabRect(Tab);
        return At(Pages, {R.Left + R.Width() / 2, R.Top + R.Height() / 2});
    }
    TPageControl* Pages = nullptr;
    std::vector<TTabSheet*> Sheets;
    std::vector<String> Log;
    bool Veto = false;
};

}  // namespace

TEST_F(PageControlTest, PagesTabsAndTheActivePage)
{
    EXPECT_EQ(Pages->PageCount(), 4);
    EXPECT_EQ(Pages->ActivePage(), Sheets[0]);  // the first page becomes active
    EXPECT_TRUE(Sheets[0]->Visible());
    EXPECT_FALSE(Sheets[1]->Visible());
    Pages->SetActivePage(Sheets[2]);  // by the program: no events
    EXPECT_TRUE(Log.empty());
    EXPECT_EQ(Pages->TabIndex(), 2);
    EXPECT_TRUE(Sheets[2]->Visible());
    EXPECT_FALSE(Sheets[0]->Visible());
    // a page without a tab: tab indexes skip it
    Sheets[1]->SetTabVisible(false);
    EXPECT_EQ(Sheets[2]->TabIndex(), 1);
    EXPECT_EQ(Sheets[2]->PageIndex(), 2);
    EXPECT_EQ(Sheets[1]->TabIndex(), -1);
    EXPECT_EQ(Pages->TabIndex(), 1);
    EXPECT_EQ(Pages->Perform(TCM_GETITEMCOUNT), 3);
    // hiding the active page's tab moves to the next page with a tab
    Sheets[2]->SetTabVisible(false);
    EXPECT_EQ(Pages->ActivePage(), Sheets[3]);
    Sheets[3]->SetPageIndex(0);
    EXPECT_EQ(Pages->Pages(0), Sheets[3]);
    EXPECT_EQ(Pages->TabIndex(), 0);
}

TEST_F(PageControlTest, PagesFillTheDisplayRectangle)
{
    TRect Window = Pages->ClientRect();
    TRect D = Window;
    Pages->Perform(TCM_ADJUSTRECT, 0, LPARAM(&D));
    TRect Back = D;
    Pages->Perform(TCM_ADJUSTRECT, 1, LPARAM(&Back));
    EXPECT_EQ(Back, Window);  // the two directions undo each other
    TRect Tab = Pages->TabRect(0);
    EXPECT_GT(D.Top, Tab.Bottom);
    TRect Expected = D;
    Expected.Top += 2;
    EXPECT_EQ(Pages->DisplayRect(), Expected);
    EXPECT_EQ(Sheets[0]->BoundsRect(), Expected);
    Pages->SetTabPosition(tpBottom);
    D = Window;
    Pages->Perform(TCM_ADJUSTRECT, 0, LPARAM(&D));
    EXPECT_LT(D.Bottom, Pages->TabRect(0).Top);
    EXPECT_EQ(Sheets[0]->BoundsRect(), D);
    Pages->SetTabPosition(tpLeft);
    D = Window;
    Pages->Perform(TCM_ADJUSTRECT, 0, LPARAM(&D));
    EXPECT_GT(D.Left, Pages->TabRect(0).Right);
    EXPECT_GT(Pages->TabRect(1).Top, Pages->TabRect(0).Top);
    Pages->SetTabPosition(tpRight);
    EXPECT_GT(Pages->TabRect(0).Left, Pages->ClientWidth() / 2);
}

TEST_F(PageControlTest, ItemSizesAndImageRoom)
{
    Pages->Perform(TCM_SETITEMSIZE, 0, MAKELPARAM(0, 26));
    EXPECT_EQ(Pages->TabRect(0).Height(), 26);
    int Plain = Pages->TabRect(1).Width();
    TImageList Images(Form, 16, 12);
    Pages->SetImages(&Images);
    Sheets[1]->SetImageIndex(-1);  // no image: no room
    EXPECT_EQ(Pages->TabRect(1).Width(), Plain);
    Sheets[1]->SetImageIndex(0);
    EXPECT_EQ(Pages->TabRect(1).Width(), Plain + 16 + 3);
    Pages->SetTabPosition(tpLeft);  // tabs on a side: the image's height counts
    Sheets[1]->SetImageIndex(-1);
    int PlainV = Pages->TabRect(1).Height();
    Sheets[1]->SetImageIndex(0);
    EXPECT_EQ(Pages->TabRect(1).Height(), PlainV + 12 + 3);
    Pages->SetTabPosition(tpTop);
    Pages->SetTabWidth(70);
    for (int I = 0; I < 4; ++I) EXPECT_EQ(Pages->TabRect(I).Width(), 70);
    Pages->SetImages(nullptr);
}

TEST_F(PageControlTest, TheUserChangesPagesWithVetoFirst)
{
    Headless::Click(TabPoint(2));
    Pump();
    EXPECT_EQ(Log, (std::vector<String>{"changing", "change Audio"}));
    EXPECT_EQ(Pages->ActivePage(), Sheets[2]);
    Log.clear();
    Veto = true;
    Headless::AdvanceTime(1000);
    Headless::Click(TabPoint(0));
    Pump();
    EXPECT_EQ(Log, (std::vector<String>{"changing"}));
    EXPECT_EQ(Pages->ActivePage(), Sheets[2]);
    Veto = false;
    Log.clear();
    Pages->SetFocus();
    Key(VK_RIGHT);
    EXPECT_EQ(Pages->ActivePage(), Sheets[3]);
    Key(VK_LEFT);
    Key(VK_LEFT);
    EXPECT_EQ(Pages->ActivePage(), Sheets[1]);
    Key(VK_TAB, {VK_CONTROL});
    EXPECT_EQ(Pages->ActivePage(), Sheets[2]);
    Key(VK_TAB, {VK_CONTROL, VK_SHIFT});
    EXPECT_EQ(Pages->ActivePage(), Sheets[1]);
    EXPECT_EQ(Log.size(), 10u);  // five changes, each asked first
}

TEST_F(PageControlTest, AnOverflowingStripScrollsAndRowsWrap)
{
    for (int I = 0; I < 8; ++I) {
        auto* S = new TTabSheet(Form);
        S->SetCaption("Extra page " + IntToStr(I));
        S->SetPageControl(Pages);
    }
    EXPECT_EQ(Pages->RowCount(), 1);
    EXPECT_GT(Pages->TabRect(11).Right, Pages->ClientWidth());
    Pages->Perform(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 3));
    EXPECT_EQ(Pages->TabRect(3).Left, 2);
    EXPECT_LT(Pages->TabRect(2).Right, 3);
    EXPECT_EQ(Pages->IndexOfTabAt(5, Pages->TabRect(3).Top + 3), 3);
    // no arrow child: nothing but the pages
    for (int I = 0; I < Pages->ControlCount(); ++I)
        EXPECT_NE(dynamic_cast<TTabSheet*>(Pages->Controls(I)), nullptr);
    EXPECT_EQ(GetWindow(Pages->Handle(), GW_CHILD) != nullptr, true);
    // selecting a tab beyond the edge brings it into view
    Pages->SetActivePageIndex(11);
    EXPECT_LE(Pages->TabRect(11).Right, Pages->ClientWidth());
    // several rows: the selected tab's row lies next to the pages
    Pages->SetMultiLine(true);
    EXPECT_GT(Pages->RowCount(), 1);
    int Bottom = 0;
    for (int I = 0; I < 12; ++I) Bottom = std::max(Bottom, Pages->TabRect(I).Bottom);
    EXPECT_EQ(Pages->TabRect(Pages->TabIndex()).Bottom, Bottom);
    TRect D = Pages->DisplayRect();
    EXPECT_GT(D.Top, Bottom);
    // full rows reach the right edge unless ragged
    int Right = 0;
    for (int I = 0; I < 12; ++I) Right = std::max(Right, Pages->TabRect(I).Right);
    EXPECT_EQ(Right, Pages->ClientWidth() - 2);
}
