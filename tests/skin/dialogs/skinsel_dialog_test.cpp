// The skin chooser dialog: the list filled from skins made in a temporary folder, the live
// preview, OK / Cancel / Escape / double click driven through the real message loop, a
// damaged skin, interface strings, and the stored-skin mode.
#include <functional>
#include <vector>

#include "platform/forms/Forms.h"
#include "platform/windows/Headless.h"
#include "skin/dialogs/bsMessages.h"
#include "skin/boxes/bsSkinBoxCtrls.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/controls/bsSkinExCtrls.h"
#include "skin/frame/bsSkinFormFrame.h"
#include "skin/dialogs/bsSkinSelectDlg.h"
#include "core/skindata_support.h"

using namespace skintest;

namespace {

using TStep = std::function<void(TbsSelectSkinDlgForm* F)>;

// Writes a skin folder named Name under Dir and gives its ini file.
String MakeFolderSkin(const String& Dir, const String& Name)
{
    String Folder = Dir + Name + "/";
    std::filesystem::create_directories(Folder);
    String Ini = WriteFolderSkin(Folder);
    WriteBytes(Ini, Replaced(ReadBytes(Ini), "skinname=Port default", "skinname=" + Name));
    return Ini;
}

class SkinSelect : public ::testing::Test {
protected:
    void SetUp() override
    {
        Headless::Install();
        InitForms();
        Main = Application->CreateForm<TForm>();
        Main->SetBorderStyle(bsNone);
        Main->SetBounds(0, 0, 50, 50);
        Main->Show();
        Dialog = new TbsSelectSkinDialog(Main);
        List = new TbsCompressedSkinList(Main);
        Dialog->SetSkinList(List);
        Application->OnIdle = [this](TObject*) { Idle(); };
    }
    void TearDown() override
    {
        Application->OnIdle = nullptr;
        DoneForms();
    }

    // Adds a skin made in the temporary folder; an empty Description lists it by name.
    void AddSkin(const String& Name, const String& Description)
    {
        TbsSkinListItem* Item = List->Skins()->Add();
        Item->SetName(Name);
        Item->SetDescription(Description);
        Item->Skin()->LoadFromIniFile(MakeFolderSkin(Dir.Path, Name));
        ASSERT_FALSE(Item->Skin()->GetEmpty());
    }
    // Adds a skin whose data is damaged: it loads into the list but cannot be read.
    void AddBrokenSkin(const String& Name)
    {
        TbsSkinListItem* Item = List->Skins()->Add();
        Item->SetName(Name);
        TMemoryStream S;
        String Bytes = String("\3\0\0\0\14\0\0\0", 8) + "hello, world";
        S.WriteBuffer(Bytes.data(), int64_t(Bytes.size()));
        S.SetPosition(0);
        Item->ReadSkin(&S);
        ASSERT_FALSE(Item->Skin()->GetEmpty());
    }

    // Runs the steps one per idle turn of the dialog's loop; a dialog still open after
    // the last step is closed (and the test fails) so that nothing hangs.
    void Idle()
    {
        TbsSelectSkinDlgForm* F = Dialog->DlgFrm();
        if (!F) return;
        if (!Settled) {
            Settled = true;  // one turn first: the window is mapped by the loop's wait
        } else if (Next < Steps.size()) {
            Steps[Next++](F);
        } else if (++Extra > 20) {
            ADD_FAILURE() << "the dialog did not close";
            for (int I = 0; I < Screen->FormCount(); ++I) Screen->Forms(I)->SetModalResult(mrAbort);
        }
        PostMessage(F->Handle(), WM_NULL, 0, 0);
    }
    void Script(std::vector<TStep> S)
    {
        Steps = std::move(S);
        Next = 0;
        Extra = 0;
        Settled = false;
    }

    static TPoint ItemPoint(TbsSelectSkinDlgForm* F, int Index)
    {
        return Headless::ScreenPoint(F->SkinsListBox->ListBox->Handle(),
                                     Point(40, F->SkinsListBox->ListBox->ItemHeight() * Index + 5));
    }
    // Chooses item Index with a click of the mouse.
    static void PickItem(TbsSelectSkinDlgForm* F, int Index)
    {
        Headless::Click(ItemPoint(F, Index));
    }
    static void ClickButton(TbsSkinButton* B) { Headless::Click(Headless::ScreenPoint(B->Handle(), Point(30, 12))); }
    // The open message box, if any.
    static TbsMessageForm* MessageBox()
    {
        for (int I = 0; I < Screen->FormCount(); ++I)
            if (auto* M = dynamic_cast<TbsMessageForm*>(Screen->Forms(I))) return M;
        return nullptr;
    }
    static std::vector<String> Items(TbsSelectSkinDlgForm* F)
    {
        std::vector<String> R;
        for (int I = 0; I < F->SkinsListBox->Items()->Count(); ++I) R.push_back(F->SkinsListBox->Items()->Strings(I));
        return R;
    }

    TempDir Dir;
    TForm* Main = nullptr;
    TbsSelectSkinDialog* Dialog = nullptr;
    TbsCompressedSkinList* List = nullptr;
    std::vector<TStep> Steps;
    size_t Next = 0;
    int Extra = 0;
    bool Settled = false;
};

TEST_F(SkinSelect, ComponentDefaultsAndLinks)
{
    TbsSelectSkinDialog D(nullptr);
    EXPECT_EQ(D.Title(), "Select skin");
    EXPECT_EQ(D.DefaultFont()->Name(), "Tahoma");
    EXPECT_EQ(D.DefaultFont()->Height(), 13);
    EXPECT_FALSE(D.AlphaBlend());
    EXPECT_FALSE(D.AlphaBlendAnimation());
    EXPECT_EQ(D.AlphaBlendValue(), 200);
    EXPECT_EQ(D.SelectedSkinIndex(), -1);
    EXPECT_EQ(D.SelectedSkin(), nullptr);
    // without a skin list a list-mode run ends at once
    EXPECT_FALSE(D.Execute(0));
    // links go when the linked components go
    auto* SD = new TbsSkinData(nullptr);
    auto* CSD = new TbsSkinData(nullptr);
    auto* L = new TbsCompressedSkinList(nullptr);
    D.SetSkinData(SD);
    D.SetCtrlSkinData(CSD);
    D.SetSkinList(L);
    delete SD;
    delete CSD;
    delete L;
    EXPECT_EQ(D.SkinData(), nullptr);
    EXPECT_EQ(D.CtrlSkinData(), nullptr);
    EXPECT_EQ(D.SkinList(), nullptr);
    // the font writer copies
    TFont Arial;
    Arial.SetName("Arial");
    Arial.SetHeight(14);
    D.SetDefaultFont(&Arial);
    EXPECT_EQ(D.DefaultFont()->Name(), "Arial");
    EXPECT_NE(D.DefaultFont(), &Arial);
}

TEST_F(SkinSelect, ListFromFolderSkinsPreviewFollowsTheClickAndOkReturnsIt)
{
    AddSkin("Blue", "Blue sky");
    AddSkin("Green", "");
    AddSkin("Red", "Red dawn");
    Dialog->SetTitle("选择皮肤");
    Script({
        [&](TbsSelectSkinDlgForm* F) {
            EXPECT_EQ(Items(F), (std::vector<String>{"Blue sky", "Green", "Red dawn"}));
            EXPECT_EQ(F->SkinsListBox->ItemIndex(), 1);
            EXPECT_EQ(F->PreviewSkinData->SkinName, "Green");
            EXPECT_EQ(F->Caption(), "选择皮肤");
            EXPECT_EQ(F->ClientWidth(), 420);
            EXPECT_EQ(F->ClientHeight(), 240);
            EXPECT_EQ(F->SkinsListBox->BoundsRect(), Rect(10, 10, 180, 180));
            EXPECT_EQ(F->PreviewForm->BoundsRect(), Rect(190, 10, 410, 180));
            EXPECT_TRUE(F->PreviewForm->Visible());
            EXPECT_FALSE(F->PreviewForm->Enabled());
            EXPECT_EQ(F->PreviewForm->Caption(), "Preview");
            EXPECT_TRUE(F->PreviewBSF->PreviewMode());
            EXPECT_EQ(F->PreviewButton->Caption(), "Button");
            EXPECT_EQ(F->PreviewButton->SkinData(), F->PreviewSkinData);
            EXPECT_EQ(F->OpenButton->Caption(), "OK");
            EXPECT_EQ(F->OpenButton->BoundsRect(), Rect(260, 200, 330, 225));
            EXPECT_EQ(F->CancelButton->Caption(), "Cancel");
            EXPECT_EQ(F->CancelButton->BoundsRect(), Rect(340, 200, 410, 225));
            EXPECT_EQ(F->ActiveControl(), F->SkinsListBox->ListBox);
            PickItem(F, 2);
        },
        [&](TbsSelectSkinDlgForm* F) {
            EXPECT_EQ(F->SkinsListBox->ItemIndex(), 2);
            EXPECT_EQ(F->PreviewSkinData->SkinName, "Red");
            EXPECT_EQ(F->PreviewSkinData->SkinIndex(), 2);
            PickItem(F, 0);
        },
        [&](TbsSelectSkinDlgForm* F) {
            EXPECT_EQ(F->PreviewSkinData->SkinName, "Blue");
            ClickButton(F->OpenButton);
        },
    });
    EXPECT_TRUE(Dialog->Execute(1));
    EXPECT_EQ(Dialog->SelectedSkinIndex(), 0);
    EXPECT_EQ(Dialog->DlgFrm(), nullptr);
    EXPECT_EQ(Next, 3u);
}

TEST_F(SkinSelect, RefusalsLeaveNothingChosenAndDoubleClickAccepts)
{
    AddSkin("Blue", "");
    AddSkin("Green", "");
    struct Case {
        const char* How;
        std::function<void(TbsSelectSkinDlgForm*)> End;
        bool Accepted;
    } Cases[] = {
        {"Cancel button", [](TbsSelectSkinDlgForm* F) { ClickButton(F->CancelButton); }, false},
        {"Escape", [](TbsSelectSkinDlgForm*) { Headless::Key(VK_ESCAPE); }, false},
        {"Enter", [](TbsSelectSkinDlgForm*) { Headless::Key(VK_RETURN); }, true},
        {"double click", [](TbsSelectSkinDlgForm* F) {
             Headless::Click(ItemPoint(F, 1));
             Headless::Click(ItemPoint(F, 1));
         }, true},
    };
    for (const Case& C : Cases) {
        Script({[](TbsSelectSkinDlgForm* F) { PickItem(F, 1); }, C.End});
        EXPECT_EQ(Dialog->Execute(0), C.Accepted) << C.How;
        EXPECT_EQ(Dialog->SelectedSkinIndex(), C.Accepted ? 1 : -1) << C.How;
    }
}

// A damaged skin in the list: a clear error, the preview keeps the skin it showed, the
// list goes back to that skin, and the caller's skin is untouched.
TEST_F(SkinSelect, DamagedSkinGivesAClearErrorAndKeepsTheShownSkin)
{
    AddSkin("Blue", "");
    AddBrokenSkin("Broken");
    AddSkin("Red", "");
    auto* Current = new TbsSkinData(Main);
    Current->SetSkinIndex(2);
    Current->SetSkinList(List);
    ASSERT_EQ(Current->SkinName, "Red");
    Dialog->SetSkinData(Current);
    String Shown;
    Script({
        [](TbsSelectSkinDlgForm* F) { PickItem(F, 1); },
        [&](TbsSelectSkinDlgForm*) {
            TbsMessageForm* M = MessageBox();
            ASSERT_NE(M, nullptr);
            Shown = M->Message->Caption();
            Headless::Key(VK_RETURN);
        },
        [&](TbsSelectSkinDlgForm* F) {
            EXPECT_EQ(MessageBox(), nullptr);
            EXPECT_EQ(F->PreviewSkinData->SkinName, "Blue");
            EXPECT_EQ(F->SkinsListBox->ItemIndex(), 0);
            ClickButton(F->OpenButton);
        },
    });
    EXPECT_TRUE(Dialog->Execute(0));
    EXPECT_EQ(Dialog->SelectedSkinIndex(), 0);
    EXPECT_NE(Shown.find("Broken"), String::npos) << Shown;
    EXPECT_NE(Shown.find("cannot be shown"), String::npos) << Shown;
    EXPECT_EQ(Current->SkinName, "Red");
    EXPECT_EQ(Current->SkinIndex(), 2);
}

// Starting on a damaged skin or outside the list shows nothing; accepting then chooses
// nothing instead of handing back a skin that cannot be used.
TEST_F(SkinSelect, NothingOnShowMeansNothingChosen)
{
    AddBrokenSkin("Broken");
    AddSkin("Blue", "");
    for (int Start : {0, 5, -1}) {
        Script({
            [&](TbsSelectSkinDlgForm* F) {
                EXPECT_EQ(F->SkinsListBox->ItemIndex(), -1) << Start;
                EXPECT_EQ(F->PreviewedIndex(), -1) << Start;
                EXPECT_TRUE(F->PreviewSkinData->Empty) << Start;
                EXPECT_EQ(MessageBox(), nullptr) << Start;
                ClickButton(F->OpenButton);
            },
        });
        EXPECT_FALSE(Dialog->Execute(Start)) << Start;
        EXPECT_EQ(Dialog->SelectedSkinIndex(), -1) << Start;
    }
    // after a failed start a good skin still previews and can be chosen
    Script({
        [](TbsSelectSkinDlgForm* F) {
            F->SkinsListBox->SetItemIndex(1);
            F->SLBOnChange(F->SkinsListBox);
        },
        [](TbsSelectSkinDlgForm* F) {
            EXPECT_EQ(F->PreviewSkinData->SkinName, "Blue");
            ClickButton(F->OpenButton);
        },
    });
    EXPECT_TRUE(Dialog->Execute(0));
    EXPECT_EQ(Dialog->SelectedSkinIndex(), 1);
}

TEST_F(SkinSelect, InterfaceStringsOfTheControlSkin)
{
    AddSkin("Blue", "");
    auto* CSD = new TbsSkinData(Main);
    auto* RS = new TbsResourceStrData(Main);
    TStringList L;
    L.SetText("MSG_BTN_OK=确定\nMSG_PREVIEWBUTTON=按钮\n");
    RS->SetResStrings(&L);
    CSD->SetResourceStrData(RS);
    Dialog->SetCtrlSkinData(CSD);
    Script({[&](TbsSelectSkinDlgForm* F) {
        EXPECT_EQ(F->OpenButton->Caption(), "确定");
        EXPECT_EQ(F->PreviewButton->Caption(), "按钮");
        // keys missing from the strings give empty texts
        EXPECT_EQ(F->CancelButton->Caption(), "");
        EXPECT_EQ(F->PreviewForm->Caption(), "");
        EXPECT_EQ(F->PreviewSkinData->ResourceStrData(), RS);
        EXPECT_EQ(F->OpenButton->SkinData(), CSD);
        EXPECT_EQ(F->SkinsListBox->SkinData(), CSD);
        ClickButton(F->CancelButton);
    }});
    EXPECT_FALSE(Dialog->Execute(0));
}

TEST_F(SkinSelect, StoredSkinsOfTheOwnerForm)
{
    auto* Owner = new TForm(Application);
    auto* D = new TbsSelectSkinDialog(Owner);
    auto Stored = [&](const String& Name, const String& Description) {
        auto* S = new TbsCompressedStoredSkin(Owner);
        S->SetName(Name);
        S->SetDescription(Description);
        S->LoadFromIniFile(MakeFolderSkin(Dir.Path, Name));
        return S;
    };
    auto* A = Stored("SkinA", "First");
    auto* B = Stored("SkinB", "");
    Dialog = D;  // the script follows this dialog
    Script({
        [&](TbsSelectSkinDlgForm* F) {
            EXPECT_EQ(Items(F), (std::vector<String>{"First", "SkinB"}));
            EXPECT_EQ(F->SkinsListBox->ItemIndex(), 1);
            EXPECT_EQ(F->PreviewSkinData->SkinName, "SkinB");
            EXPECT_EQ(F->FCSkinList, nullptr);
            EXPECT_EQ(F->FCSkinIndex, -1);
            PickItem(F, 0);
        },
        [&](TbsSelectSkinDlgForm* F) {
            EXPECT_EQ(F->PreviewSkinData->SkinName, "SkinA");
            ClickButton(F->OpenButton);
        },
    });
    EXPECT_TRUE(D->Execute(B));
    EXPECT_EQ(D->SelectedSkin(), A);
    // a default not on the form starts at the first; Cancel chooses nothing
    Script({[&](TbsSelectSkinDlgForm* F) {
        EXPECT_EQ(F->SkinsListBox->ItemIndex(), 0);
        Headless::Key(VK_ESCAPE);
    }});
    EXPECT_FALSE(D->Execute(nullptr));
    EXPECT_EQ(D->SelectedSkin(), nullptr);
    // a form without stored skins: an empty list, nothing to accept
    auto* Bare = new TForm(Application);
    Dialog = new TbsSelectSkinDialog(Bare);
    Script({[&](TbsSelectSkinDlgForm* F) {
        EXPECT_TRUE(Items(F).empty());
        EXPECT_EQ(F->PreviewedIndex(), -1);
        ClickButton(F->OpenButton);
    }});
    EXPECT_FALSE(Dialog->Execute(nullptr));
    EXPECT_EQ(Dialog->SelectedSkin(), nullptr);
}

}  // namespace
