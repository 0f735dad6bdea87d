// The ribbon's layout (caption buttons, MDI buttons, tab widths and their shrinking),
// tab selection through TabIndex, ActivePage and the tabs' Visible writer, and the
// keyboard's tab navigation.
#include <string>
#include <vector>

#include "frame/ribbon_support.h"

using namespace ribbontest;

namespace {

struct LayoutCase {
    const char* Name;
    int Width;
    int AppButtonWidth;
    int Buttons;  // caption buttons, with a 16-pixel image list
    bool MDI;
    std::vector<int> CaptionLengths;  // characters; the stand-in measures 10 pixels each
    int RightOffset;
    bool Divider;
    std::vector<TRect> Tabs;
    std::vector<TRect> ButtonRects;  // caption buttons, then MDI buttons
};

class RibbonLayout : public RibbonTest, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(RibbonLayout, PlacesButtonsAndTabs)
{
    const LayoutCase& C = GetParam();
    Ribbon->SetAlign(alNone);
    Ribbon->SetBounds(0, 0, C.Width, 115);
    Ribbon->SetAppButtonWidth(C.AppButtonWidth);
    for (int L : C.CaptionLengths) AddTab(String(size_t(L), 'A'));
    auto* Images = new TCustomImageList(Form, 16, 16);
    if (C.Buttons > 0) Ribbon->SetButtonsImageList(Images);
    for (int I = 0; I < C.Buttons; ++I) Ribbon->Buttons()->Add();
    if (C.MDI) Ribbon->MDIChildMaximize();
    Layout();
    EXPECT_EQ(Ribbon->LeftOffset(), std::max(C.AppButtonWidth, 54) + 3) << C.Name;
    EXPECT_EQ(Ribbon->RightOffset(), C.RightOffset) << C.Name;
    EXPECT_EQ(Ribbon->ShowDivider(), C.Divider) << C.Name;
    ASSERT_EQ(int(C.Tabs.size()), Ribbon->Tabs()->Count()) << C.Name;
    for (int I = 0; I < Ribbon->Tabs()->Count(); ++I) EXPECT_EQ(Ribbon->Tabs()->Items(I)->ItemRect, C.Tabs[size_t(I)]) << C.Name << " tab " << I;
    std::vector<TRect> Got;
    for (int I = 0; I < Ribbon->Buttons()->Count(); ++I) Got.push_back(Ribbon->Buttons()->Items(I)->ItemRect);
    for (int I = 0; I < Ribbon->MDIButtons()->Count(); ++I) Got.push_back(Ribbon->MDIButtons()->Items(I)->ItemRect);
    EXPECT_EQ(Got, C.ButtonRects) << C.Name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RibbonLayout,
    ::testing::Values(
        LayoutCase{"two tabs that fit", 400, 54, 0, false, {4, 4}, 5, false, {Rect(57, 1, 127, 24), Rect(127, 1, 197, 24)}, {}},
        LayoutCase{"caption buttons from the right", 400, 54, 2, false, {4}, 48, false, {Rect(57, 1, 127, 24)},
                   {Rect(354, 1, 376, 23), Rect(376, 1, 398, 23)}},
        LayoutCase{"MDI buttons left of the caption buttons", 400, 54, 2, true, {4}, 116, false, {Rect(57, 1, 127, 24)},
                   {Rect(354, 1, 376, 23), Rect(376, 1, 398, 23), Rect(330, 1, 352, 23), Rect(308, 1, 330, 23),
                    Rect(286, 1, 308, 23)}},
        LayoutCase{"MDI buttons alone", 400, 54, 0, true, {}, 73, false, {},
                   {Rect(373, 1, 395, 23), Rect(351, 1, 373, 23), Rect(329, 1, 351, 23)}},
        // available 300 - 63 - 5 = 232 of 650: each 232 * 130 / 650 = 46.4 -> 46
        LayoutCase{"five tabs shrunk to their share", 300, 60, 0, false, {10, 10, 10, 10, 10}, 5, true,
                   {Rect(63, 1, 109, 24), Rect(109, 1, 155, 24), Rect(155, 1, 201, 24), Rect(201, 1, 247, 24),
                    Rect(247, 1, 293, 24)}},
        // 30 * 232 / 1030 = 6.7 -> at least 15; 1000 * 232 / 1030 = 225.2 -> 225
        LayoutCase{"a shrunk tab keeps 15 pixels", 300, 60, 0, false, {0, 97}, 5, true,
                   {Rect(63, 1, 78, 24), Rect(78, 1, 303, 24)}},
        LayoutCase{"an application button of 35 is refused", 400, 35, 0, false, {4}, 5, false, {Rect(57, 1, 127, 24)}, {}}),
    [](const ::testing::TestParamInfo<LayoutCase>& I) {
        std::string S = I.param.Name;
        for (char& Ch : S)
            if (!isalnum((unsigned char)Ch)) Ch = '_';
        return S;
    });

TEST_F(RibbonTest, HiddenTabsAndTabsWithoutAPageTakeNoRoom)
{
    Ribbon->SetAlign(alNone);
    Ribbon->SetBounds(0, 0, 400, 115);
    AddTab("AAAA");
    TbsRibbonTab* Hidden = AddTab("BBBB");
    TbsRibbonTab* Orphan = AddTab("CCCC");
    AddTab("DDDD");
    Hidden->SetVisible(false);
    delete Orphan->Page();  // the page goes: its tab stays, without a page
    EXPECT_EQ(Orphan->Page(), nullptr);
    Layout();
    EXPECT_EQ(Ribbon->Tabs()->Items(0)->ItemRect, Rect(57, 1, 127, 24));
    EXPECT_EQ(Ribbon->Tabs()->Items(3)->ItemRect, Rect(127, 1, 197, 24));
    EXPECT_TRUE(IsEmptyRect(Orphan->ItemRect));
    EXPECT_TRUE(IsEmptyRect(Hidden->ItemRect));
    // painting skips it too
    EXPECT_NO_FATAL_FAILURE(Paint());
}

TEST_F(RibbonTest, FitAgainClearsTheDivider)
{
    Ribbon->SetAlign(alNone);
    Ribbon->SetBounds(0, 0, 200, 115);
    AddTab("AAAAAAAAAA");
    AddTab("AAAAAAAAAA");
    Layout();
    EXPECT_TRUE(Ribbon->ShowDivider());
    Ribbon->SetBounds(0, 0, 400, 115);
    Layout();
    EXPECT_FALSE(Ribbon->ShowDivider());
}

TEST_F(RibbonTest, AppButtonWidthBelowTheMinimumIsIgnored)
{
    Ribbon->SetAppButtonWidth(30);
    EXPECT_EQ(Ribbon->AppButtonWidth(), 54);
    EXPECT_EQ(Ribbon->LeftOffset(), 57);
    Ribbon->SetAppButtonWidth(60);
    EXPECT_EQ(Ribbon->AppButtonWidth(), 60);
    EXPECT_EQ(Ribbon->LeftOffset(), 63);
    EXPECT_EQ(Ribbon->AppButton()->Width(), 60);
    Ribbon->SetAppButtonImageIndex(-4);
    EXPECT_EQ(Ribbon->AppButtonImageIndex(), 0);
}

// ---- selection ------------------------------------------------------------------------------

struct SelectCase {
    const char* Name;
    int Tabs;
    std::vector<int> Hidden;  // tabs hidden before the write
    int Start;                // TabIndex before the write (-1: leave as the tabs left it)
    bool HideStartPage;
    int Value;
    int TabIndex;  // after the write
    int Changing, Change;
    bool TargetVisible;  // the tab at TabIndex is visible and its page shown
};

class RibbonSelect : public RibbonTest, public ::testing::WithParamInterface<SelectCase> {};

TEST_P(RibbonSelect, TabIndexWriter)
{
    const SelectCase& C = GetParam();
    ShowForm();
    for (int I = 0; I < C.Tabs; ++I) AddTab("T" + std::to_string(I));
    if (C.Start >= 0) Ribbon->SetTabIndex(C.Start);
    for (int H : C.Hidden) Ribbon->Tabs()->Items(H)->FVisible = false;
    if (C.HideStartPage) Ribbon->ActivePage()->Hide();
    int Changing = 0, Change = 0;
    Ribbon->OnChangingPage = [&](TObject* S) {
        EXPECT_EQ(S, Ribbon);
        ++Changing;
    };
    Ribbon->OnChangePage = [&](TObject*) { ++Change; };
    Ribbon->SetTabIndex(C.Value);
    EXPECT_EQ(Ribbon->TabIndex(), C.TabIndex) << C.Name;
    EXPECT_EQ(Changing, C.Changing) << C.Name;
    EXPECT_EQ(Change, C.Change) << C.Name;
    if (C.TargetVisible) {
        TbsRibbonTab* T = Ribbon->Tabs()->Items(C.TabIndex);
        EXPECT_TRUE(T->Visible()) << C.Name;
        EXPECT_TRUE(T->Page()->Visible()) << C.Name;
        EXPECT_EQ(Ribbon->ActivePage(), T->Page()) << C.Name;
        // the other pages are hidden
        for (int I = 0; I < Ribbon->Tabs()->Count(); ++I)
            if (I != C.TabIndex) EXPECT_FALSE(Ribbon->Tabs()->Items(I)->Page()->Visible()) << C.Name << " " << I;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, RibbonSelect,
                         ::testing::Values(SelectCase{"empty", 0, {}, -1, false, 0, -1, 0, 0, false},
                                           SelectCase{"all hidden", 2, {0, 1}, 0, false, 1, -1, 0, 0, false},
                                           SelectCase{"out of range", 3, {}, 1, false, 3, 1, 0, 0, true},
                                           SelectCase{"negative", 3, {}, 1, false, -1, 1, 0, 0, true},
                                           SelectCase{"another tab", 3, {}, 0, false, 2, 2, 1, 1, true},
                                           SelectCase{"hidden target", 3, {2}, 0, false, 2, 2, 1, 1, true},
                                           SelectCase{"same with its page hidden", 3, {}, 1, true, 1, 1, 0, 0, true}),
                         [](const ::testing::TestParamInfo<SelectCase>& I) {
                             std::string S = I.param.Name;
                             for (char& Ch : S)
                                 if (!isalnum((unsigned char)Ch)) Ch = '_';
                             return S;
                         });

TEST_F(RibbonTest, AddingTabsSelectsTheNewOneAndNamesItsPage)
{
    AddTab("A");
    TbsRibbonTab* B = Ribbon->Tabs()->Add();
    EXPECT_EQ(Ribbon->TabIndex(), 1);
    EXPECT_EQ(B->Page()->Name(), "bsRibbonPage2");
    EXPECT_EQ(B->Page()->Caption(), "bsRibbonPage2");
    EXPECT_EQ(B->Page()->Owner(), Form);
    EXPECT_EQ(B->Page()->Parent(), Ribbon);
    int L, T, W, H;
    Ribbon->GetPageBounds(L, T, W, H);
    EXPECT_EQ(B->Page()->BoundsRect(), Rect(L, T, L + W, T + H));
    // Clear leaves the pages with the form; Delete frees the tab's page
    TbsRibbonPage* P = B->Page();
    Ribbon->Tabs()->Delete(1);
    EXPECT_EQ(Form->FindComponent("bsRibbonPage2"), nullptr);
    TbsRibbonPage* P1 = Ribbon->Tabs()->Items(0)->Page();
    Ribbon->Tabs()->Clear();
    EXPECT_EQ(Form->FindComponent("bsRibbonPage1"), P1);
    (void)P;
}

TEST_F(RibbonTest, HidingTheSelectedTabSelectsANeighbour)
{
    ShowForm();
    for (int I = 0; I < 4; ++I) AddTab("T" + std::to_string(I));
    Ribbon->SetTabIndex(1);
    Ribbon->Tabs()->Items(1)->SetVisible(false);  // the next one after it
    EXPECT_EQ(Ribbon->TabIndex(), 2);
    EXPECT_FALSE(Ribbon->Tabs()->Items(1)->Page()->Visible());
    Ribbon->Tabs()->Items(3)->SetVisible(false);
    Ribbon->Tabs()->Items(2)->SetVisible(false);  // none after: the one before
    EXPECT_EQ(Ribbon->TabIndex(), 0);
    Ribbon->Tabs()->Items(0)->SetVisible(false);  // none left: stays
    EXPECT_EQ(Ribbon->TabIndex(), 0);
    // showing a tab again does not show its page
    Ribbon->Tabs()->Items(2)->SetVisible(true);
    EXPECT_FALSE(Ribbon->Tabs()->Items(2)->Page()->Visible());
}

TEST_F(RibbonTest, ActivePageMakesItsHiddenTabVisible)
{
    ShowForm();
    for (int I = 0; I < 3; ++I) AddTab("T" + std::to_string(I));
    TbsRibbonTab* T = Ribbon->Tabs()->Items(0);
    T->SetVisible(false);
    Ribbon->SetActivePage(T->Page());
    EXPECT_TRUE(T->Visible());
    EXPECT_EQ(Ribbon->TabIndex(), 0);
    Ribbon->SetActivePage(nullptr);
    EXPECT_EQ(Ribbon->TabIndex(), 0);
}

TEST_F(RibbonTest, KeysAndWheelMoveBetweenVisibleTabs)
{
    ShowForm();
    for (int I = 0; I < 4; ++I) AddTab("T" + std::to_string(I));
    Ribbon->Tabs()->Items(2)->SetVisible(false);
    Ribbon->SetTabIndex(0);
    Ribbon->SetFocus();
    Pump();
    ASSERT_TRUE(Ribbon->Focused());
    auto Key = [&](WORD K) {
        Headless::Key(K);
        Pump();
        return Ribbon->TabIndex();
    };
    EXPECT_EQ(Key(VK_RIGHT), 1);
    EXPECT_EQ(Key(VK_DOWN), 3);  // over the hidden one
    EXPECT_EQ(Key(VK_RIGHT), 3);
    EXPECT_EQ(Key(VK_LEFT), 1);
    EXPECT_EQ(Key(VK_PRIOR), 0);
    EXPECT_EQ(Key(VK_NEXT), 3);
    EXPECT_EQ(Key(VK_HOME), 3);
    // Left on the first tab gives the focus to the application button
    Ribbon->SetTabIndex(0);
    Key(VK_LEFT);
    EXPECT_TRUE(Ribbon->AppButton()->Focused());
    // the wheel moves the selection only while the ribbon has the focus
    Ribbon->SetFocus();
    Pump();
    SendMessage(Ribbon->Handle(), WM_MOUSEWHEEL, WPARAM(uint32_t(uint16_t(int16_t(-120))) << 16),
                PointToLParam(RAt(5, 5)));
    Pump();
    EXPECT_EQ(Ribbon->TabIndex(), 1);
}

TEST_F(RibbonTest, LeftWithAHiddenFirstTabDoesNothing)
{
    ShowForm();
    for (int I = 0; I < 2; ++I) AddTab("T" + std::to_string(I));
    Ribbon->SetTabIndex(1);
    Ribbon->Tabs()->Items(0)->SetVisible(false);
    Ribbon->SetFocus();
    Pump();
    Headless::Key(VK_LEFT);
    Pump();
    EXPECT_EQ(Ribbon->TabIndex(), 1);
    EXPECT_TRUE(Ribbon->Focused());
}

}  // namespace
