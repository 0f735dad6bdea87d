// The platform message box on the headless backend: what it draws (icon, text,
// buttons) and how keys and clicks answer it.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/forms/Forms.h"
#include "platform/windows/Headless.h"

namespace {

class FormsMessageBox : public ::testing::Test {
protected:
    void SetUp() override
    {
        Headless::Install();
        InitForms();
        Application->CreateForm<TForm>()->SetBounds(0, 0, 400, 300);
        Application->MainForm()->Show();
    }
    void TearDown() override { DoneForms(); }

    // The message box on screen (the visible form with Caption).
    static TCustomForm* Box(const String& Caption)
    {
        for (int I = 0; I < Screen->FormCount(); ++I)
            if (Screen->Forms(I)->Caption() == Caption && Screen->Forms(I)->Visible()) return Screen->Forms(I);
        return nullptr;
    }
    // Runs MessageBox; once it waits for the user, Look sees the box and Answer acts.
    int Run(const String& Text, UINT Type, std::function<void(TCustomForm*)> Answer)
    {
        int Calls = 0;
        Headless::SetIdleHandler([&] {
            TCustomForm* B = Box("Title");
            if (!B || ++Calls > 3) return false;
            Answer(B);
            return true;
        });
        int R = MessageBox(nullptr, Text, "Title", Type);
        Headless::SetIdleHandler(nullptr);
        return R;
    }
};

TEST_F(FormsMessageBox, DrawsTheIconTheWrappedTextAndTheButtons)
{
    const String Long = "转换失败：The output file could not be written because the folder does not exist "
                        "or is not writable, please choose another one.";
    bool Seen = false;
    int R = Run(Long, MB_OK | MB_ICONWARNING, [&](TCustomForm* B) {
        Seen = true;
        HWND H = B->Handle();
        EXPECT_TRUE(IsWindowVisible(H));
        EXPECT_FALSE(IsWindowEnabled(Application->MainForm()->Handle()));  // modal
        EXPECT_LE(B->ClientWidth(), 12 + 32 + 12 + 400 + 12);
        // the warning icon: a yellow triangle at the top left
        TColor Icon = Headless::PixelColor(H, {12 + 8, 12 + 25});
        EXPECT_GT(GetRValue(Icon), 200);
        EXPECT_GT(GetGValue(Icon), 150);
        EXPECT_LT(GetBValue(Icon), 100);
        // the text runs over several lines right of the icon: ink on more than one line
        int InkRows = 0;
        for (int Y = 12; Y < B->ClientHeight() - 23 - 12; ++Y) {
            bool Ink = false;
            for (int X = 56; X < B->ClientWidth() - 12 && !Ink; ++X)
                Ink = Headless::PixelColor(H, {X, Y}) != ColorToRGB(clBtnFace);
            InkRows += Ink;
        }
        EXPECT_GT(InkRows, 20);
        // one button, centred at the bottom, focused
        int Buttons = 0;
        for (int I = 0; I < B->ControlCount(); ++I)
            if (B->Controls(I)->Caption() == "OK") {
                ++Buttons;
                TControl* Ok = B->Controls(I);
                EXPECT_EQ(Ok->Top() + Ok->Height() + 12, B->ClientHeight());
                EXPECT_NEAR(Ok->Left() + Ok->Width() / 2, B->ClientWidth() / 2, 1);
                EXPECT_TRUE(static_cast<TWinControl*>(Ok)->Focused());
            }
        EXPECT_EQ(Buttons, 1);
        Headless::Key(VK_RETURN);
    });
    EXPECT_TRUE(Seen);
    EXPECT_EQ(R, IDOK);
    EXPECT_TRUE(IsWindowEnabled(Application->MainForm()->Handle()));
}

struct TAnswerCase {
    UINT Type;
    std::vector<int> Keys;
    int Expected;
};

TEST_F(FormsMessageBox, KeysAnswerByTheButtonsOfTheType)
{
    const TAnswerCase Cases[] = {
        {MB_OK, {VK_RETURN}, IDOK},
        {MB_OK, {VK_ESCAPE}, IDOK},
        {MB_OK, {VK_SPACE}, IDOK},
        {MB_OKCANCEL, {VK_RETURN}, IDOK},
        {MB_OKCANCEL, {VK_ESCAPE}, IDCANCEL},
        {MB_OKCANCEL, {VK_TAB, VK_RETURN}, IDCANCEL},
        {MB_YESNO, {VK_RETURN}, IDYES},
        {MB_YESNO, {VK_ESCAPE, VK_TAB, VK_SPACE}, IDNO},  // Escape does not answer a question
    };
    for (const auto& C : Cases) {
        int R = Run("Text", C.Type, [&](TCustomForm*) {
            for (int K : C.Keys) Headless::Key(K);
        });
        EXPECT_EQ(R, C.Expected) << "type " << C.Type << ", first key " << C.Keys[0];
    }
}

TEST_F(FormsMessageBox, AClickOnAButtonAnswers)
{
    int R = Run("Delete?", MB_YESNO | MB_ICONQUESTION, [&](TCustomForm* B) {
        for (int I = 0; I < B->ControlCount(); ++I)
            if (B->Controls(I)->Caption() == "No") {
                TControl* No = B->Controls(I);
                Headless::Click(No->ClientToScreen({10, 10}));
            }
    });
    EXPECT_EQ(R, IDNO);
}

}  // namespace
