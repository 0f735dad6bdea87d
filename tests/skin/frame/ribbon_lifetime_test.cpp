// The ribbon, its frame, its application menu and their pages across one another's lives:
// each part freed first, then the others shown, hovered, painted and freed.  Every link to
// a freed part must read as none at once (the address sanitizer reports any read of the
// freed object).
#include "frame/appmenu_support.h"
#include "frame/ribbon_support.h"

using namespace ribbontest;

namespace {

enum TPart { pFrame, pRibbon, pRibbonPage, pAppMenu, pAppMenuPage, PartCount };

struct TLifeCase {
    const char* Name;
    TPart First;     // freed first (PartCount: none, the others go in their usual order)
    bool ClearTabs;  // the ribbon's tabs cleared first (their pages stay on the form)
};

class RibbonLifetime : public RibbonTest, public ::testing::WithParamInterface<TLifeCase> {
protected:
    void SetUp() override
    {
        RibbonTest::SetUp();
        SD = new TbsSkinData(Main);
        SD->SetShowLayeredBorders(false);
        frametest::FillFrameSkin(SD);
        AddOfficeTab(SD);
        appmenutest::AddAppMenuSkin(SD, false);
        Frame->SetSkinData(SD);
        Ribbon->SetSkinData(SD);
        Menu = new TbsAppMenu(Form);
        Menu->SetParent(Form);
        Menu->SetSkinData(SD);
        Ribbon->SetAppMenu(Menu);
        Menu->Items()->Add()->SetCaption("Act");
        TbsAppMenuItem* Paged = Menu->Items()->Add();
        Paged->SetCaption("Paged");
        AppPage = Menu->CreatePage();
        Paged->SetPage(AppPage);
        RibbonPage = AddTab("Home")->Page();
        AddTab("View");
        Ribbon->SetTabIndex(0);
        Form->SetBounds(100, 100, 500, 400);
        ShowForm();
    }

    TComponent* Part(TPart P) const
    {
        switch (P) {
        case pFrame: return Frame;
        case pRibbon: return Ribbon;
        case pRibbonPage: return RibbonPage;
        case pAppMenu: return Menu;
        case pAppMenuPage: return AppPage;
        default: return nullptr;
        }
    }
    void Free(TPart P)
    {
        delete Part(P);
        switch (P) {
        case pFrame: Frame = nullptr; break;
        case pRibbon: Ribbon = nullptr; break;
        case pRibbonPage: RibbonPage = nullptr; break;
        case pAppMenu: Menu = nullptr; break;
        case pAppMenuPage: AppPage = nullptr; break;
        default: break;
        }
        Pump();
    }
    // What still links to a freed part reads none.
    void ExpectNoLinkTo(TPart P)
    {
        switch (P) {
        case pFrame: EXPECT_TRUE(!Ribbon || Ribbon->BSF == nullptr); break;
        case pRibbon:
            EXPECT_TRUE(!Frame || Frame->SkinRibbon() == nullptr);
            EXPECT_TRUE(!Menu || Menu->Ribbon == nullptr);
            EXPECT_TRUE(!RibbonPage || RibbonPage->Ribbon == nullptr);
            break;
        case pRibbonPage:
            EXPECT_TRUE(!Ribbon || Ribbon->Tabs()->Count() == 0 || Ribbon->Tabs()->Items(0)->Page() == nullptr);
            break;
        case pAppMenu:
            EXPECT_TRUE(!Ribbon || Ribbon->AppMenu() == nullptr);
            EXPECT_TRUE(!AppPage || AppPage->AppMenu == nullptr);
            break;
        case pAppMenuPage:
            EXPECT_TRUE(!Menu || (Menu->ActivePage() == nullptr && Menu->Items()->Items(1)->Page() == nullptr));
            break;
        default: break;
        }
    }
    static void PointerTo(TControl* C, int X, int Y)
    {
        Headless::MouseMove(C->ClientToScreen(Point(X, Y)));
    }
    static void ClickAt(TControl* C, int X, int Y)
    {
        const TPoint P = C->ClientToScreen(Point(X, Y));
        Headless::MouseMove(P);
        Headless::MouseDown(P);
        Headless::MouseUp(P);
    }
    // The pointer over every part still there (the menu's size grip included), then the
    // whole window painted again.
    void HoverAndPaint()
    {
        if (Ribbon) {
            PointerTo(Ribbon, 70, 10);
            PointerTo(Ribbon, 200, 60);
        }
        if (RibbonPage && RibbonPage->Showing()) PointerTo(RibbonPage, 5, 5);
        if (Menu && Menu->Showing()) {
            PointerTo(Menu, 20, 10);
            PointerTo(Menu, Menu->Width() - 3, Menu->Height() - 3);
        }
        if (AppPage && AppPage->Showing()) PointerTo(AppPage, 5, 5);
        Pump();
        RedrawWindow(H(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Pump();
    }

    TbsSkinData* SD = nullptr;
    TbsAppMenu* Menu = nullptr;
    TbsAppMenuPage* AppPage = nullptr;
    TbsRibbonPage* RibbonPage = nullptr;
};

TEST_P(RibbonLifetime, FreedFirstThenTheOthersShownHoveredPaintedAndFreed)
{
    const TLifeCase& C = GetParam();
    if (C.ClearTabs) Ribbon->Tabs()->Clear();
    if (C.First != PartCount) {
        Free(C.First);
        ExpectNoLinkTo(C.First);
    }

    // the application menu opened by the application button, or shown alone
    if (Ribbon && Menu) {
        TbsAppButton* B = Ribbon->AppButton();
        ClickAt(B, B->Width() / 2, B->Height() / 2);
        Pump();
    } else if (Menu) {
        Menu->Show();
        Menu->BringToFront();
        Pump();
    }
    if (Menu) {
        ASSERT_TRUE(Menu->Visible());
        // the size grip answers only while the ribbon has a frame
        const TPoint G = Menu->ClientToScreen(Point(Menu->Width() - 3, Menu->Height() - 3));
        const LRESULT Hit = SendMessage(Menu->Handle(), WM_NCHITTEST, 0, PointToLParam(G));
        EXPECT_EQ(Hit == HTBOTTOMRIGHT, Ribbon && Frame);
    }
    HoverAndPaint();
    // the tab strip keeps its skin's background right of the tabs
    if (Ribbon) {
        EXPECT_EQ(Headless::PixelColor(Ribbon->Handle(), Point(Ribbon->Width() - 40, 5)), TabsBG);
    }
    if (Menu) {
        // the item column keeps its skin's background below the items
        EXPECT_EQ(Headless::PixelColor(Menu->Handle(), Point(10, Menu->Height() - 20)), appmenutest::ColumnBG);
        // choosing the acting item closes the menu while a ribbon runs it
        TbsAppMenuItem* Act = Menu->Items()->Items(0);
        ClickAt(Menu, Act->ItemRect.Left + 5, Act->ItemRect.Top + 5);
        Pump();
        EXPECT_EQ(Menu->Visible(), !Ribbon);
        if (Menu->Visible()) Menu->Hide();
    }
    HoverAndPaint();

    // the others freed one by one, each leaving the rest working (the ribbon before the
    // pages, as when a form's teardown reaches it first)
    for (TPart P : {pAppMenu, pRibbon, pAppMenuPage, pRibbonPage, pFrame}) {
        if (!Part(P)) continue;
        Free(P);
        ExpectNoLinkTo(P);
        HoverAndPaint();
    }
}

const TLifeCase Cases[] = {
    {"Frame", pFrame, false},
    {"Ribbon", pRibbon, false},
    {"RibbonWithTabsCleared", pRibbon, true},
    {"RibbonPage", pRibbonPage, false},
    {"AppMenu", pAppMenu, false},
    {"AppMenuPage", pAppMenuPage, false},
    {"NoneWithTabsCleared", PartCount, true},
};

INSTANTIATE_TEST_SUITE_P(Parts, RibbonLifetime, ::testing::ValuesIn(Cases),
                         [](const auto& I) { return String(I.param.Name); });

}  // namespace
