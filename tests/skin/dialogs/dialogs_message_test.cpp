// Skinned message boxes on the headless backend: the layout of the built dialog, its
// buttons with their default and cancel roles, results answered by clicks and keys
// through the modal loop, texts from the interface strings, the "do not show again"
// box, positions, and the help button.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/forms/ExtCtrls.h"
#include "platform/shell/Runner.h"
#include "platform/windows/Headless.h"
#include "skin/dialogs/bsMessages.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/core/bsSkinData.h"
#include "skin/controls/bsSkinExCtrls.h"
#include "skin/frame/bsSkinFormFrame.h"

namespace {

class TRecordingRunner : public TCommandRunner {
public:
    std::vector<std::vector<String>>* Calls;
    explicit TRecordingRunner(std::vector<std::vector<String>>* C) : Calls(C) {}
    bool Start(const std::vector<String>& A) override
    {
        Calls->push_back(A);
        return true;
    }
    int Run(const std::vector<String>& A) override
    {
        Calls->push_back(A);
        return 0;
    }
};

class MessageDialogs : public ::testing::Test {
protected:
    void SetUp() override
    {
        Headless::Install();
        InitForms();
        Application->SetTitle("澄枫DAT格式转换器");
        Main = Application->CreateForm<TForm>();
        Main->SetBounds(0, 0, 400, 300);
        Main->Show();
        Msg = new TbsSkinMessage(Main);
    }
    void TearDown() override
    {
        Headless::SetIdleHandler(nullptr);
        DoneForms();
    }

    static TbsMessageForm* Dialog()
    {
        for (int I = 0; I < Screen->FormCount(); ++I)
            if (auto* F = dynamic_cast<TbsMessageForm*>(Screen->Forms(I)))
                if (F->Visible()) return F;
        return nullptr;
    }
    // Runs Call; once the dialog is up, Answer looks at it and answers (again after each
    // answer that leaves it open).  The answer comes from a timer, which the dialog's
    // modal loop runs after the input queued before it.
    int Run(const std::function<int()>& Call, const std::function<void(TbsMessageForm*)>& Answer)
    {
        int Calls = 0;
        Seen = false;
        HWND Poster = AllocateHWnd([&](TMessage& M) {
            if (M.Msg != WM_TIMER) return;
            TbsMessageForm* F = Dialog();
            if (F && ++Calls <= 20) {
                Seen = true;
                Answer(F);
            }
        });
        SetTimer(Poster, 1, 10, nullptr);
        int R = Call();
        KillTimer(Poster, 1);
        DeallocateHWnd(Poster);
        return R;
    }
    static TbsSkinButton* Button(TbsMessageForm* F, const String& Name)
    {
        return dynamic_cast<TbsSkinButton*>(F->FindComponent(Name));
    }
    static void ClickOn(TControl* C) { Headless::Click(C->ClientToScreen({C->Width() / 2, C->Height() / 2})); }
    static int Buttons(TbsMessageForm* F)
    {
        int N = 0;
        for (int I = 0; I < F->ComponentCount(); ++I) N += dynamic_cast<TbsSkinButton*>(F->Components(I)) != nullptr;
        return N;
    }

    TForm* Main = nullptr;
    TbsSkinMessage* Msg = nullptr;
    bool Seen = false;
};

// A control skin with a button record of height 30 and interface strings.
struct TCtrlSkin {
    TCtrlSkin()
    {
        SD.Empty = false;
        SD.SetEnableSkinEffects(false);
        auto B = std::make_unique<TBitmap>();
        B->SetSize(100, 40);
        SD.FActivePictures.push_back(std::move(B));
        auto R = std::make_unique<TbsDataSkinButtonControl>("button");
        R->PictureIndex = 0;
        R->MaskPictureIndex = -1;
        R->SkinRect = Rect(0, 0, 70, 30);
        R->ClRect = Rect(3, 3, 67, 27);
        SD.CtrlList.push_back(std::move(R));
        SD.SetResourceStrData(&Strings);
        Strings.ResStrings()->Clear();
    }
    TbsSkinData SD{nullptr};
    TbsResourceStrData Strings{nullptr};
};

}  // namespace

TEST_F(MessageDialogs, LayoutOfAnInformationPrompt)
{
    int R = Run([&] { return Msg->MessageDlg2("文件已存在", "提示", mtInformation, {mbOK}, 0); },
                [&](TbsMessageForm* F) {
                    EXPECT_EQ(F->Caption(), "提示");
                    EXPECT_FALSE(IsWindowEnabled(Main->Handle()));  // modal
                    ASSERT_NE(F->BSF, nullptr);
                    EXPECT_TRUE(F->BSF->BorderIcons().Empty());
                    EXPECT_EQ(F->BorderStyle(), bsDialog);
                    EXPECT_TRUE(F->KeyPreview());
                    TbsSkinStdLabel* L = F->Message;
                    ASSERT_NE(L, nullptr);
                    EXPECT_EQ(L->Caption(), "文件已存在");
                    EXPECT_EQ(L->Left(), 50);
                    EXPECT_EQ(L->Top(), 15);
                    EXPECT_GT(L->Width(), 0);
                    auto* Img = dynamic_cast<TImage*>(F->FindComponent("Image"));
                    ASSERT_NE(Img, nullptr);
                    EXPECT_EQ(Img->BoundsRect(), Rect(5, std::max(10, 15 + L->Height() / 2 - 16), 37,
                                                      std::max(10, 15 + L->Height() / 2 - 16) + 32));
                    EXPECT_FALSE(Img->Picture()->Graphic() == nullptr);
                    EXPECT_EQ(F->ClientHeight(), 25 + L->Height() + 50);
                    int Width = std::max(70, L->Left() + L->Width()) + 40;
                    if (F->Width() > F->BSF->GetMinWidth()) EXPECT_EQ(F->ClientWidth(), Width);
                    TbsSkinButton* Ok = Button(F, "OK");
                    ASSERT_NE(Ok, nullptr);
                    EXPECT_EQ(Buttons(F), 1);
                    EXPECT_EQ(Ok->Caption(), "OK");
                    EXPECT_EQ(Ok->BoundsRect(), Rect((F->ClientWidth() - 70) / 2, F->ClientHeight() - 35,
                                                     (F->ClientWidth() - 70) / 2 + 70, F->ClientHeight() - 10));
                    EXPECT_TRUE(Ok->Default());
                    EXPECT_TRUE(Ok->Cancel());  // no Cancel or No: OK cancels
                    EXPECT_EQ(F->FindComponent("checkbox"), nullptr);
                    ClickOn(Ok);
                });
    EXPECT_TRUE(Seen);
    EXPECT_EQ(R, mrOk);
    EXPECT_EQ(Dialog(), nullptr);  // freed
    EXPECT_TRUE(IsWindowEnabled(Main->Handle()));
}

TEST_F(MessageDialogs, EveryButtonInTableOrderWithItsResult)
{
    struct TCase { TMsgDlgBtn B; const char* Name; const char* Caption; int Result; };
    const TCase Cases[] = {{mbYes, "Yes", "&Yes", 6},        {mbNo, "No", "&No", 7},
                           {mbOK, "OK", "OK", 1},            {mbCancel, "Cancel", "Cancel", 2},
                           {mbAbort, "Abort", "&Abort", 3},  {mbRetry, "Retry", "&Retry", 4},
                           {mbIgnore, "Ignore", "&Ignore", 5}, {mbAll, "All", "&All", 8},
                           {mbNoToAll, "NoToAll", "N&oToAll", 9}, {mbYesToAll, "YesToAll", "&YesToAll", 10},
                           {mbClose, "Close", "Close", 11}};
    for (const TCase& C : Cases) {
        int R = Run([&] { return Msg->MessageDlg("?", mtConfirmation, {C.B}, 0); }, [&](TbsMessageForm* F) {
            TbsSkinButton* B = Button(F, C.Name);
            ASSERT_NE(B, nullptr) << C.Name;
            EXPECT_EQ(B->Caption(), C.Caption);
            EXPECT_EQ(F->Caption(), "Confirm");
            ClickOn(B);
        });
        EXPECT_EQ(R, C.Result) << C.Name;
    }

    // all twelve: one row, 80 apart, centred
    TMsgDlgButtons All;
    for (int I = 0; I < MsgDlgButtonCount; ++I) All.Include(TMsgDlgBtn(I));
    Run([&] { return Msg->MessageDlg("x", mtWarning, All, 0); }, [&](TbsMessageForm* F) {
        const char* Order[] = {"Yes", "No", "OK", "Cancel", "Abort", "Retry", "Ignore", "All", "NoToAll", "YesToAll",
                               "Help", "Close"};
        int Row = 12 * 70 + 12 * 10 - 10;
        EXPECT_EQ(F->ClientWidth(), Row + 40);
        for (int I = 0; I < 12; ++I) EXPECT_EQ(Button(F, Order[I])->Left(), (F->ClientWidth() - Row) / 2 + 80 * I);
        F->SetModalResult(mrCancel);
    });
}

TEST_F(MessageDialogs, DefaultAndCancelRolesAnswerKeys)
{
    // Yes and No: Yes is the default, No cancels
    int R = Run([&] { return Msg->MessageDlg("?", mtConfirmation, {mbYes, mbNo}, 0); }, [&](TbsMessageForm* F) {
        EXPECT_TRUE(Button(F, "Yes")->Default());
        EXPECT_TRUE(Button(F, "No")->Cancel());
        EXPECT_FALSE(Button(F, "Yes")->Cancel());
        Headless::Key(VK_ESCAPE);
    });
    EXPECT_EQ(R, mrNo);
    R = Run([&] { return Msg->MessageDlg("?", mtConfirmation, {mbYes, mbNo}, 0); },
            [&](TbsMessageForm*) { Headless::Key(VK_RETURN); });
    EXPECT_EQ(R, mrYes);

    // Abort and Ignore: neither role exists
    R = Run([&] { return Msg->MessageDlg("?", mtError, {mbAbort, mbIgnore}, 0); }, [&](TbsMessageForm* F) {
        for (const char* N : {"Abort", "Ignore"}) {
            EXPECT_FALSE(Button(F, N)->Default()) << N;
            EXPECT_FALSE(Button(F, N)->Cancel()) << N;
        }
        EXPECT_EQ(F->Caption(), "Error");
        ClickOn(Button(F, "Ignore"));
    });
    EXPECT_EQ(R, mrIgnore);
    // without a cancel button Escape still closes, as a cancel
    R = Run([&] { return Msg->MessageDlg("?", mtError, {mbAbort, mbRetry, mbIgnore}, 0); },
            [&](TbsMessageForm*) { Headless::Key(VK_ESCAPE); });
    EXPECT_EQ(R, mrCancel);

    // a given default button is the default and the active control
    R = Run([&] { return Msg->MessageDlg("?", mtWarning, {mbOK, mbCancel}, 0, mbCancel); }, [&](TbsMessageForm* F) {
        EXPECT_TRUE(Button(F, "Cancel")->Default());
        EXPECT_FALSE(Button(F, "OK")->Default());
        EXPECT_EQ(F->ActiveControl(), Button(F, "Cancel"));
        Headless::Key(VK_RETURN);
    });
    EXPECT_EQ(R, mrCancel);
}

TEST_F(MessageDialogs, NoButtonsAndCustomTypes)
{
    int R = Run([&] { return Msg->MessageDlg("没有按钮的对话框", mtCustom, {}, 0); }, [&](TbsMessageForm* F) {
        EXPECT_EQ(Buttons(F), 0);
        EXPECT_EQ(F->Caption(), "澄枫DAT格式转换器");  // the application title
        auto* Img = dynamic_cast<TImage*>(F->FindComponent("Image"));
        ASSERT_NE(Img, nullptr);
        EXPECT_TRUE(Img->Picture()->Graphic() == nullptr);  // no icon
        if (F->Width() > F->BSF->GetMinWidth()) EXPECT_EQ(F->ClientWidth(), F->Message->Left() + F->Message->Width() + 40);
        F->SetModalResult(mrAbort);
    });
    EXPECT_EQ(R, mrAbort);
    // a dialog without buttons has the caption's close button and closes with Escape
    R = Run([&] { return Msg->MessageDlg("没有按钮的对话框", mtCustom, {}, 0); }, [&](TbsMessageForm* F) {
        EXPECT_TRUE(F->BSF->BorderIcons().Contains(TbsBorderIcon::biSystemMenu));
        Headless::Key(VK_ESCAPE);
    });
    EXPECT_EQ(R, mrCancel);

    // a picture of an image list, only for a valid index
    TImageList List(nullptr);
    List.SetSize(24, 24);
    TBitmap B(24, 24);
    List.AddMasked(&B, clFuchsia);
    struct TCase { TCustomImageList* L; int Index; bool Picture; };
    const TCase Cases[] = {{&List, 0, true}, {&List, 1, false}, {&List, -1, false}, {nullptr, 0, false}};
    for (const TCase& C : Cases) {
        Run([&] { return Msg->CustomMessageDlg("x", "自定义", C.L, C.Index, {mbOK}, 0); }, [&](TbsMessageForm* F) {
            EXPECT_EQ(F->Caption(), "自定义");
            auto* Img = dynamic_cast<TImage*>(F->FindComponent("Image"));
            EXPECT_EQ(Img != nullptr, C.Picture) << C.Index;
            if (Img) {
                EXPECT_EQ(Img->Width(), 24);
                EXPECT_EQ(Img->Top(), 15 + F->Message->Height() / 2 - 16);  // no lower bound
            }
            Headless::Key(VK_RETURN);
        });
    }
}

TEST_F(MessageDialogs, ShowAgainBoxKeepsItsAnswer)
{
    Msg->SetShowAgainFlag(true);
    Msg->SetShowAgainFlagValue(false);
    int BoxWidth = 0;
    Run([&] { return Msg->MessageDlg("短", mtInformation, {mbOK}, 0); }, [&](TbsMessageForm* F) {
        ASSERT_NE(F->DisplayCheckBox, nullptr);
        EXPECT_TRUE(F->DisplayCheckBox->Checked());
        EXPECT_EQ(F->DisplayCheckBox->Caption(), "Do not display this message again");
        // a short message: the caption sets the width
        TBitmap M(1, 1);
        M.Canvas()->Font()->Assign(Msg->DefaultFont());
        int W = M.Canvas()->TextWidth("Do not display this message again");
        EXPECT_EQ(F->ClientWidth(), W + 60);
        BoxWidth = F->DisplayCheckBox->Width();
        EXPECT_EQ(BoxWidth, W + 55);
        EXPECT_EQ(F->DisplayCheckBox->Left(), 5);
        EXPECT_EQ(F->DisplayCheckBox->Top(), F->ClientHeight() - 25 - 50);
        EXPECT_EQ(F->ClientHeight(), 25 + F->Message->Height() + 50 + 40);
        Headless::Key(VK_RETURN);
    });
    EXPECT_FALSE(Msg->ShowAgainFlagValue());  // left checked
    Run([&] { return Msg->MessageDlg("短", mtInformation, {mbOK}, 0); }, [&](TbsMessageForm* F) {
        F->DisplayCheckBox->SetChecked(false);
        F->SetModalResult(mrOk);
    });
    EXPECT_TRUE(Msg->ShowAgainFlagValue());  // unchecked
    Run([&] { return Msg->MessageDlg("短", mtInformation, {mbOK}, 0); }, [&](TbsMessageForm* F) {
        EXPECT_FALSE(F->DisplayCheckBox->Checked());  // starts unchecked now
        F->SetModalResult(mrOk);
    });
    // the wide operations never have the box
    Msg->SetShowAgainFlagValue(false);
    Run([&] { return Msg->WideMessageDlg("宽", mtInformation, {mbOK}, 0); }, [&](TbsMessageForm* F) {
        EXPECT_EQ(F->DisplayCheckBox, nullptr);
        F->SetModalResult(mrOk);
    });
    EXPECT_FALSE(Msg->ShowAgainFlagValue());
    // without the flag the value is untouched
    Msg->SetShowAgainFlag(false);
    Run([&] { return Msg->MessageDlg("短", mtInformation, {mbOK}, 0); }, [&](TbsMessageForm* F) {
        EXPECT_EQ(F->DisplayCheckBox, nullptr);
        F->SetModalResult(mrOk);
    });
    EXPECT_FALSE(Msg->ShowAgainFlagValue());
}

TEST_F(MessageDialogs, TextsFromTheInterfaceStrings)
{
    TCtrlSkin Skin;
    Skin.Strings.ResStrings()->Add("MSG_BTN_CANCEL=取消");
    Skin.Strings.ResStrings()->Add("MSG_CAP_WARNING=警告");
    Msg->SetCtrlSkinData(&Skin.SD);
    Msg->SetShowAgainFlag(true);
    Run([&] { return Msg->MessageDlg("覆盖吗？", mtWarning, {mbOK, mbCancel, mbClose}, 0); }, [&](TbsMessageForm* F) {
        EXPECT_EQ(F->Caption(), "警告");
        EXPECT_EQ(Button(F, "OK")->Caption(), "");  // a key missing from a present list
        EXPECT_EQ(Button(F, "Cancel")->Caption(), "取消");
        EXPECT_EQ(Button(F, "Close")->Caption(), "Close");
        EXPECT_EQ(F->DisplayCheckBox->Caption(), "Do not display this message again");
        // the skin's button record sets the height
        EXPECT_EQ(Button(F, "OK")->Height(), 30);
        EXPECT_EQ(Button(F, "OK")->Top(), F->ClientHeight() - 40);
        Headless::Key(VK_ESCAPE);
    });
    Skin.Strings.ResStrings()->Add("MSG_CAP_SHOWFLAG=不再显示");
    Run([&] { return Msg->MessageDlg("x", mtConfirmation, {mbOK}, 0); }, [&](TbsMessageForm* F) {
        EXPECT_EQ(F->DisplayCheckBox->Caption(), "不再显示");
        EXPECT_EQ(F->Caption(), "");
        Headless::Key(VK_RETURN);
    });
    EXPECT_EQ(GetMessageTitle(mtCustom, &Skin.SD), "");
    EXPECT_EQ(GetMessageTitle(mtError, nullptr), "Error");
    EXPECT_EQ(GetMessageButtonCaption(mbHelp, nullptr), "&Help");
    // another record name: no record, the height 25
    Msg->SetButtonSkinDataName("nosuchbutton");
    Run([&] { return Msg->MessageDlg("x", mtConfirmation, {mbOK}, 0); }, [&](TbsMessageForm* F) {
        EXPECT_EQ(Button(F, "OK")->Height(), 25);
        Headless::Key(VK_RETURN);
    });
    Msg->SetCtrlSkinData(nullptr);
}

TEST_F(MessageDialogs, PositionsAndTheirEvent)
{
    int Calls = 0;
    Msg->OnSetShowPos = [&](int& X, int& Y, int W, int H) {
        ++Calls;
        EXPECT_GT(W, 0);
        EXPECT_GT(H, 0);
        EXPECT_EQ(X, 30);
        EXPECT_EQ(Y, 40);
        X = 100;
        Y = 120;
    };
    Run([&] { return Msg->MessageDlgPos("x", mtInformation, {mbOK}, 0, 30, 40); }, [&](TbsMessageForm* F) {
        EXPECT_EQ(F->Left(), 100);
        EXPECT_EQ(F->Top(), 120);
        Headless::Key(VK_RETURN);
    });
    EXPECT_EQ(Calls, 1);
    Msg->OnSetShowPos = [&](int&, int&, int, int) { ++Calls; };
    // -10001 centres; -10000 is a position
    Run([&] { return Msg->MessageDlgPos("x", mtInformation, {mbOK}, 0, -10001, -10001); }, [&](TbsMessageForm* F) {
        EXPECT_NEAR(F->Left() + F->Width() / 2, 1280 / 2, 2);
        Headless::Key(VK_RETURN);
    });
    Run([&] { return Msg->MessageDlgPos("x", mtInformation, {mbOK}, 0, -10000, 5); }, [&](TbsMessageForm* F) {
        EXPECT_EQ(F->Left(), -10000);
        Headless::Key(VK_RETURN);
    });
    EXPECT_EQ(Calls, 3);
    // the wide position and the centred operations never call it
    Run([&] { return Msg->WideMessageDlgPos("x", mtInformation, {mbOK}, 0, 10, 10); }, [&](TbsMessageForm* F) {
        EXPECT_EQ(F->Left(), 10);
        Headless::Key(VK_RETURN);
    });
    Run([&] { return Msg->MessageDlg("x", mtInformation, {mbOK}, 0); },
        [&](TbsMessageForm*) { Headless::Key(VK_RETURN); });
    EXPECT_EQ(Calls, 3);
}

TEST_F(MessageDialogs, HelpOpensTheHelpFileAndTheDialogStays)
{
    std::vector<std::vector<String>> Calls;
    auto Old = SetCommandRunner(std::make_unique<TRecordingRunner>(&Calls));
    bool StillOpen = false;
    int R = Run([&] { return Msg->MessageDlgHelp("x", mtInformation, {mbOK, mbHelp}, 7, "/opt/vc/help.chm"); },
                [&](TbsMessageForm* F) {
                    EXPECT_EQ(F->HelpContext(), 7);
                    if (Calls.empty()) {
                        ClickOn(Button(F, "Help"));
                        return;
                    }
                    StillOpen = true;
                    ClickOn(Button(F, "OK"));
                });
    EXPECT_TRUE(StillOpen);
    EXPECT_EQ(R, mrOk);
    EXPECT_EQ(Calls, (std::vector<std::vector<String>>{{"xdg-open", "/opt/vc/help.chm"}}));
    SetCommandRunner(std::move(Old));
}

TEST_F(MessageDialogs, FreedSkinDataIsForgotten)
{
    auto* SD = new TbsSkinData(nullptr);
    Msg->SetSkinData(SD);
    Msg->SetCtrlSkinData(SD);
    delete SD;
    EXPECT_EQ(Msg->SkinData(), nullptr);
    EXPECT_EQ(Msg->CtrlSkinData(), nullptr);
    EXPECT_EQ(Msg->ButtonSkinDataName(), "button");
    EXPECT_EQ(Msg->MessageLabelSkinDataName(), "stdlabel");
    EXPECT_EQ(Msg->DefaultFont()->Name(), "Tahoma");
    EXPECT_EQ(Msg->DefaultButtonFont()->Height(), 13);
    EXPECT_TRUE(Msg->UseSkinFont());
    EXPECT_EQ(Msg->AlphaBlendValue(), 200);
}
