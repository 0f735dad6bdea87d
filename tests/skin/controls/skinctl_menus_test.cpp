// The skinned menus as buttons use them: the popup menu's host lookup and close notice,
// the images menu's popup, choice and events.
#include "skin/menus/bsSkinMenus.h"
#include "skinctl_support.h"

using namespace skinctl;

namespace {

struct FakeHost : TbsSkinMenuHost {
    TbsSkinData* SD = nullptr;
    int Closes = 0, Popups = 0;
    TControl* Ctrl = nullptr;
    TRect R;
    bool Up = false;
    TbsSkinData* Given = nullptr;
    TbsSkinData* MenuSkinData() override { return SD; }
    void CloseSkinMenu() override { ++Closes; }
    void PopupSkinMenu(TbsSkinPopupMenu*, TControl* ACtrl, const TRect& AR, bool APopupUp, TbsSkinData* S) override
    {
        ++Popups;
        Ctrl = ACtrl;
        R = AR;
        Up = APopupUp;
        Given = S;
    }
};

class SkinMenus : public SkinCtlTest {
protected:
    void TearDown() override
    {
        bsSetSkinMenuHostResolver(nullptr);
        SkinCtlTest::TearDown();
    }
};

TEST_F(SkinMenus, PopupWithoutHostFiresOnPopupOnly)
{
    auto* M = new TbsSkinPopupMenu(Form);
    int Popups = 0;
    M->OnPopup = [&](TObject*) { ++Popups; };
    M->PopupFromRect2(Form, Rect(1, 2, 3, 4), false);
    EXPECT_EQ(Popups, 1);
}

TEST_F(SkinMenus, PopupGoesToTheOwnerFormsHostWithItsSkinData)
{
    TestSkin Skin;
    FakeHost Host;
    Host.SD = Skin.SD;
    bsSetSkinMenuHostResolver([&](TComponent* C) -> TbsSkinMenuHost* { return C == Form ? &Host : nullptr; });
    auto* M = new TbsSkinPopupMenu(Form);
    M->PopupFromRect2(Form, Rect(1, 2, 3, 4), true);
    EXPECT_EQ(Host.Closes, 1);
    EXPECT_EQ(Host.Popups, 1);
    EXPECT_EQ(Host.Ctrl, Form);
    EXPECT_EQ(Host.R, Rect(1, 2, 3, 4));
    EXPECT_TRUE(Host.Up);
    EXPECT_EQ(Host.Given, Skin.SD);
}

TEST_F(SkinMenus, CloseNoticeReachesWindowedAndWindowlessControls)
{
    struct TWin : TCustomControl {
        using TCustomControl::TCustomControl;
        int Seen = 0;
        void Dispatch(TMessage& M) override
        {
            if (M.Msg == SkinMenuClosed) ++Seen;
            TCustomControl::Dispatch(M);
        }
    };
    struct TShape : TGraphicControl {
        using TGraphicControl::TGraphicControl;
        int Seen = 0;
        void Dispatch(TMessage& M) override
        {
            if (M.Msg == SkinMenuClosed) ++Seen;
            TGraphicControl::Dispatch(M);
        }
    };
    auto* W = Make<TWin>(Rect(0, 0, 10, 10));
    auto* G = Make<TShape>(Rect(20, 0, 30, 10));
    W->HandleNeeded();
    bsNotifySkinMenuClosed(W);
    bsNotifySkinMenuClosed(G);
    bsNotifySkinMenuClosed(nullptr);
    EXPECT_EQ(W->Seen, 1);
    EXPECT_EQ(G->Seen, 1);
}

TEST_F(SkinMenus, ImagesMenuShowsOnlyWithImagesAndReportsTheChoice)
{
    auto* M = new TbsSkinImagesMenu(Form);
    for (int I = 0; I < 3; ++I) M->Items()->Add()->SetImageIndex(I);
    std::vector<std::string> Log;
    M->OnMenuPopup = [&](TObject*) { Log.push_back("popup"); };
    M->OnMenuClose = [&](TObject*) { Log.push_back("close"); };
    M->OnItemClick = [&](TObject*) { Log.push_back("itemclick"); };
    M->OnChange = [&](TObject*) { Log.push_back("change"); };
    M->FOnInternalMenuClose = [&](TObject*) { Log.push_back("internalclose"); };
    M->FOnInternalChange = [&](TObject*) { Log.push_back("internalchange"); };
    M->Items()->Items(1)->OnClick = [&](TObject*) { Log.push_back("item1"); };
    M->PopupFromRect(Rect(0, 0, 10, 10));
    EXPECT_FALSE(M->GridVisible());  // no images: nothing shown
    auto* IL = new TImageList(Form);
    IL->SetSize(8, 8);
    TBitmap B(8, 8);
    IL->Add(&B, nullptr);
    M->SetImages(IL);
    M->SetItemIndex(0);
    Log.clear();
    M->PopupFromRect(Rect(0, 0, 10, 10));
    EXPECT_TRUE(M->GridVisible());
    // the grid takes the keys: the second cell, chosen
    auto Choose1 = [&] {
        Key(VK_RIGHT);
        Key(VK_RIGHT);
        Key(VK_RETURN);
    };
    Choose1();
    EXPECT_FALSE(M->GridVisible());
    EXPECT_EQ(Log, (std::vector<std::string>{"popup", "internalclose", "close", "item1", "itemclick", "internalchange",
                                             "change"}));
    EXPECT_EQ(M->SelectedItem(), M->Items()->Items(1));
    // the same choice again changes nothing
    Log.clear();
    M->PopupFromRect(Rect(0, 0, 10, 10));
    Choose1();
    EXPECT_EQ(Log, (std::vector<std::string>{"popup", "internalclose", "close", "item1", "itemclick"}));
    M->SetItemIndex(7);
    EXPECT_EQ(M->SelectedItem(), nullptr);
    delete IL;
    EXPECT_EQ(M->Images(), nullptr);
}

}  // namespace
