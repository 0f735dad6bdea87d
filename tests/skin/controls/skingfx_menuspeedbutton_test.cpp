// The skinned menu speed button: which presses drop its menus, the pressed look while a
// menu is open, the close notice, and its face styles by record name.
#include "skingfx_support.h"

#include "skin/menus/bsSkinMenus.h"

#include <vector>

using namespace skingfx;

namespace {

// A form frame stand-in that shows menus by recording them and closes them on demand.
class TFakeHost : public TbsSkinMenuHost {
public:
    TbsSkinData* MenuSkinData() override { return nullptr; }
    void CloseSkinMenu() override {}
    void PopupSkinMenu(TbsSkinPopupMenu* AMenu, TControl* ACtrl, const TRect& R, bool APopupUp, TbsSkinData*) override
    {
        Shown.push_back({AMenu, ACtrl, R, APopupUp});
        Open = ACtrl;
    }
    void Close()
    {
        TControl* C = Open;
        Open = nullptr;
        bsNotifySkinMenuClosed(C);
    }
    struct TShown {
        TbsSkinPopupMenu* Menu;
        TControl* Ctrl;
        TRect R;
        bool Up;
    };
    std::vector<TShown> Shown;
    TControl* Open = nullptr;
};

class MenuSpeedButton : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        bsSetSkinMenuHostResolver([this](TComponent* C) -> TbsSkinMenuHost* { return C == Form ? &Host : nullptr; });
        Menu = new TbsSkinPopupMenu(Form);
        B = Add<TbsSkinMenuSpeedButton>(TRect(10, 10, 70, 40));
        B->OnClick = [this](TObject*) { ++Clicks; };
        B->OnShowTrackMenu = [this](TObject*) { ++Shows; };
        B->OnHideTrackMenu = [this](TObject*) { ++Hides; };
    }
    void TearDown() override
    {
        bsSetSkinMenuHostResolver(nullptr);
        FormTest::TearDown();
    }
    TFakeHost Host;
    TbsSkinPopupMenu* Menu = nullptr;
    TbsSkinMenuSpeedButton* B = nullptr;
    int Clicks = 0, Shows = 0, Hides = 0;
};

}  // namespace

TEST_F(MenuSpeedButton, WithoutMenusItIsAPlainSpeedButton)
{
    B->SetTrackButtonMode(true);
    Show();
    EXPECT_FALSE(B->CanMenuPopup(55, 5));
    ClickOn(B, 55, 5);
    EXPECT_EQ(Clicks, 1);
    EXPECT_EQ(Shows, 0);
    EXPECT_FALSE(B->MenuTracked());
}

TEST_F(MenuSpeedButton, APressAnywhereDropsTheMenuAndKeepsTheButtonPressedUntilItCloses)
{
    B->SetSkinPopupMenu(Menu);
    Show();
    Press(B, 5, 5);
    ASSERT_EQ(Host.Shown.size(), 1u);
    const TPoint P = B->ClientToScreen(TPoint(0, 0));
    EXPECT_EQ(Host.Shown[0].R, TRect(P.X, P.Y, P.X + 60, P.Y + 30));
    EXPECT_FALSE(Host.Shown[0].Up);
    EXPECT_EQ(Host.Shown[0].Ctrl, B);
    EXPECT_TRUE(B->MenuTracked());
    EXPECT_TRUE(B->Down());
    EXPECT_EQ(Shows, 1);
    Release(B, 5, 5);  // ignored while the menu is open
    EXPECT_TRUE(B->Down());
    EXPECT_EQ(Clicks, 0);
    EXPECT_EQ(At(12, 12), bsDefaultDownColor);
    MoveTo(B, 200, 200);
    EXPECT_EQ(At(12, 12), bsDefaultDownColor);
    Host.Close();
    Pump();
    EXPECT_FALSE(B->MenuTracked());
    EXPECT_FALSE(B->Down());
    EXPECT_FALSE(B->MouseIn());
    EXPECT_EQ(Hides, 1);
    EXPECT_EQ(Clicks, 0);
    EXPECT_EQ(At(12, 12), ColorToRGB(clBtnFace));
}

TEST_F(MenuSpeedButton, TrackModeOpensTheMenuOnlyFromTheStrip)
{
    B->SetSkinPopupMenu(Menu);
    B->SetTrackButtonMode(true);
    Show();
    // the strip is the right 15 pixels, edges included
    EXPECT_FALSE(B->CanMenuPopup(44, 5));
    EXPECT_TRUE(B->CanMenuPopup(45, 5));
    EXPECT_TRUE(B->CanMenuPopup(60, 30));
    ClickOn(B, 10, 10);
    EXPECT_EQ(Clicks, 1);
    EXPECT_TRUE(Host.Shown.empty());
    Press(B, 50, 10);
    EXPECT_EQ(Host.Shown.size(), 1u);
    EXPECT_TRUE(B->Down());
    // default look while the menu is open: main part hot, strip pressed
    EXPECT_EQ(At(20, 20), bsDefaultHotColor);
    EXPECT_EQ(At(65, 12), bsDefaultDownColor);
    Release(B, 50, 10);
    EXPECT_TRUE(B->Down());
    Host.Close();
    EXPECT_FALSE(B->Down());
    EXPECT_EQ(Clicks, 1);
    EXPECT_EQ(Hides, 1);
}

TEST_F(MenuSpeedButton, BottomStripWithNewStyle)
{
    B->SetSkinPopupMenu(Menu);
    B->SetTrackButtonMode(true);
    B->SetNewStyle(true);
    B->SetTrackPosition(bstpBottom);
    EXPECT_EQ(B->SkinDataName(), "resizetoolbutton");
    EXPECT_TRUE(B->CanMenuPopup(5, 15));
    EXPECT_FALSE(B->CanMenuPopup(55, 14));
}

TEST_F(MenuSpeedButton, BothMenusShowTwiceAndTheImagesMenuClosesTheTrack)
{
    auto* Images = new TImageList(Form);
    TBitmap Pic(16, 16);
    Images->SetSize(16, 16);
    Images->Add(&Pic, nullptr);
    auto* IM = new TbsSkinImagesMenu(Form);
    IM->SetImages(Images);
    IM->Items()->Add()->SetImageIndex(0);
    B->SetSkinPopupMenu(Menu);
    B->SetSkinImagesMenu(IM);
    Show();
    Press(B);
    EXPECT_EQ(Shows, 2);
    EXPECT_EQ(Host.Shown.size(), 1u);
    EXPECT_TRUE(IM->GridVisible());
    IM->Hide();
    EXPECT_FALSE(B->MenuTracked());
    EXPECT_FALSE(B->Down());
    EXPECT_EQ(Hides, 1);
}

TEST_F(MenuSpeedButton, RemovedMenusAreForgotten)
{
    B->SetSkinPopupMenu(Menu);
    delete Menu;
    EXPECT_EQ(B->SkinPopupMenu(), nullptr);
    auto* IM = new TbsSkinImagesMenu(Form);
    B->SetSkinImagesMenu(IM);
    delete IM;
    EXPECT_EQ(B->SkinImagesMenu(), nullptr);
    Show();
    ClickOn(B);
    EXPECT_EQ(Clicks, 1);
}

TEST_F(MenuSpeedButton, AddButtonOfTheMainWindow)
{
    // flat and transparent, record "resizetoolbutton", whole button drops the menu
    FillTestSkin(Skin);
    auto* R = AddRecord<TbsDataSkinButtonControl>(Skin, "resizetoolbutton");
    NinePiece(R, 0);
    R->ActiveSkinRect = Band(1);
    R->DownSkinRect = Band(2);
    B->SetCaption("添加");
    B->SetFlat(true);
    B->SetSkinDataName("resizetoolbutton");
    B->SetSkinData(Skin);
    B->SetSkinPopupMenu(Menu);
    Show();
    EXPECT_EQ(At(40, 25), FormColor);  // at rest only the content shows
    MoveTo(B, 5, 5);
    EXPECT_EQ(At(12, 25), FaceActive);
    Press(B, 5, 5);
    EXPECT_EQ(Host.Shown.size(), 1u);
    EXPECT_EQ(At(12, 25), FaceDown);
    Release(B, 5, 5);
    EXPECT_EQ(At(12, 25), FaceDown);
    MoveTo(B, 200, 200);
    Host.Close();
    Pump();
    EXPECT_FALSE(B->Down());
    EXPECT_EQ(At(12, 25), FormColor);
    // a batch disables it and refreshes it
    B->RefreshButton();
    B->SetEnabled(false);
    Pump();
    Press(B, 5, 5);
    EXPECT_EQ(Host.Shown.size(), 1u);
}

TEST_F(MenuSpeedButton, ToolButtonStyleInTrackModeShowsHotMainPartAndPressedStrip)
{
    FillTestSkin(Skin);
    B->SetSkinDataName("toolbutton");
    B->SetSkinData(Skin);
    B->SetSkinPopupMenu(Menu);
    B->SetTrackButtonMode(true);
    Show();
    EXPECT_EQ(At(25, 25), FaceNormal);
    EXPECT_EQ(At(58, 15), FaceNormal);
    Press(B, 50, 10);
    EXPECT_EQ(At(25, 25), FaceActive);
    EXPECT_EQ(At(58, 15), FaceDown);
    Host.Close();
    Pump();
    MoveTo(B, 200, 200);
    EXPECT_EQ(At(25, 25), FaceNormal);
}

TEST_F(MenuSpeedButton, OtherRecordNamesMapTheTrackPartOfTheRecord)
{
    FillTestSkin(Skin);
    auto* R = AddRecord<TbsDataSkinMenuButtonControl>(Skin, "toolmenubutton");
    NinePiece(R, 0);
    R->RBPoint = R->LBPoint = TPoint(0, 0);  // horizontally resizable
    R->TrackButtonRect = TRect(20, 0, 30, 20);
    B->SetSkinData(Skin);
    B->SetSkinPopupMenu(Menu);
    B->SetTrackButtonMode(true);
    EXPECT_EQ(B->Height(), 20);
    // mapped: moved right by 60 - 30
    EXPECT_FALSE(B->CanMenuPopup(49, 5));
    EXPECT_TRUE(B->CanMenuPopup(50, 5));
    EXPECT_TRUE(B->CanMenuPopup(60, 20));
}
