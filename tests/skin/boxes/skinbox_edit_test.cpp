// The inner edit (read-only gate, Enter/Escape hand-over, context menu) and the skinned
// edit (non-client frame, default and skinned looks, button mode, skin changes).
#include <map>

#include "platform/forms/Clipbrd.h"
#include "skin/boxes/bsSkinBoxCtrls.h"
#include "skin/frame/bsSkinFormFrame.h"
#include "controls/skinctl_support.h"

using namespace skinctl;

namespace {

class KeyForm : public TForm {
public:
    using TForm::TForm;
    std::vector<WPARAM> DialogKeys;
    void Dispatch(TMessage& M) override
    {
        if (M.Msg == CM_DIALOGKEY) DialogKeys.push_back(M.WParam);
        TForm::Dispatch(M);
    }
};

class InnerEdit : public SkinCtlTest {
protected:
    TbsCustomEdit* MakeEdit(const String& Text)
    {
        auto* E = Make<TbsCustomEdit>(Rect(10, 10, 150, 32));
        E->SetText(Text);
        E->SetFocus();
        Pump();
        return E;
    }
    void Type(const String& S)
    {
        Headless::Type(S);
        Pump();
    }
    void Ctrl(int VK)
    {
        Headless::KeyDown(VK_CONTROL);
        Headless::Key(VK);
        Headless::KeyUp(VK_CONTROL);
        Pump();
    }
    // Enabled state of the context menu's items, by caption.
    std::map<String, bool> MenuState(TbsCustomEdit* E)
    {
        E->CreateSysPopupMenu();
        std::map<String, bool> R;
        for (int I = 0; I < E->SysPopupMenu()->Items()->Count(); ++I) {
            TMenuItem* It = E->SysPopupMenu()->Items()->Items(I);
            if (!It->IsLine()) R[It->Caption()] = It->Enabled();
        }
        return R;
    }
};

TEST_F(InnerEdit, TypingEditsUnlessReadOnly)
{
    auto* E = MakeEdit("");
    Type("ab");
    EXPECT_EQ(E->Text(), "ab");
    E->SetEditReadOnly(true);
    Type("cd");
    Key(VK_BACK);
    E->SelectAll();
    Key(VK_DELETE);
    EXPECT_EQ(E->Text(), "ab");
    // cut, paste, clear and undo change nothing; copy still works
    Clipboard()->SetAsText("zz");
    E->SelectAll();
    for (UINT Msg : {WM_CUT, WM_PASTE, WM_CLEAR, WM_UNDO}) E->Perform(Msg);
    EXPECT_EQ(E->Text(), "ab");
    Ctrl('C');
    EXPECT_EQ(Clipboard()->AsText(), "ab");
    E->SetEditReadOnly(false);
    E->SetSelStart(2);
    Type("c");
    EXPECT_EQ(E->Text(), "abc");
}

TEST_F(InnerEdit, EnterAndEscapeGoToKeyPressAndTheFormNotTheText)
{
    auto* F = new KeyForm(Application);
    F->SetBounds(0, 0, 200, 100);
    F->Show();
    auto* E = new TbsCustomEdit(F);
    E->SetParent(F);
    E->SetBounds(5, 5, 100, 22);
    E->SetText("x");
    E->SetFocus();
    Pump();
    std::vector<char32_t> Pressed;
    E->OnKeyPress = [&](TObject*, char32_t& K) { Pressed.push_back(K); };
    E->Perform(WM_CHAR, 13, 0);
    E->Perform(WM_CHAR, 27, 0);
    EXPECT_EQ(E->Text(), "x");
    EXPECT_EQ(Pressed, (std::vector<char32_t>{13, 27}));
    EXPECT_EQ(F->DialogKeys, (std::vector<WPARAM>{13, 27}));
}

TEST_F(InnerEdit, ContextMenuItemsFollowSelectionReadOnlyAndClipboard)
{
    auto* E = MakeEdit("");
    Clipboard()->SetAsText("");
    auto S = MenuState(E);
    EXPECT_FALSE(S["Select All"]);
    EXPECT_FALSE(S["Cut"]);
    EXPECT_FALSE(S["Copy"]);
    EXPECT_FALSE(S["Delete"]);
    EXPECT_FALSE(S["Paste"]);
    E->SetText("hello");
    E->SetSelStart(1);
    E->SetSelLength(2);
    Clipboard()->SetAsText("q");
    S = MenuState(E);
    EXPECT_TRUE(S["Cut"] && S["Copy"] && S["Delete"] && S["Paste"] && S["Select All"]);
    E->SetEditReadOnly(true);
    S = MenuState(E);
    EXPECT_FALSE(S["Cut"] || S["Paste"] || S["Delete"]);
    EXPECT_TRUE(S["Copy"]);
    // choosing an item sends its message to the edit, through the read-only gate
    E->SetEditReadOnly(false);
    E->CreateSysPopupMenu();
    E->SysPopupMenu()->Items()->Items(7)->Click();  // select all
    EXPECT_EQ(E->SelLength(), 5);
    E->SysPopupMenu()->Items()->Items(5)->Click();  // delete
    EXPECT_EQ(E->Text(), "");
    E->Perform(SkinMenuCommandDone);
    EXPECT_EQ(E->SysPopupMenu(), nullptr);
}

TEST_F(InnerEdit, MenuCaptionsComeFromTheSkinsInterfaceStrings)
{
    TestSkin Skin;
    auto* E = new TbsSkinEdit(Form);
    E->SetParent(Form);
    E->CreateSysPopupMenu();  // no form frame: the built-in captions
    EXPECT_EQ(E->SysPopupMenu()->Items()->Items(3)->Caption(), "Copy");
    TbsResourceStrData Strings(nullptr);
    Skin.SD->SetResourceStrData(&Strings);
    auto* Frame = new TbsSkinFormFrame(Form);
    Frame->SetSkinData(Skin.SD);
    Skin.SD->ResourceStrData()->ResStrings()->Clear();
    Skin.SD->ResourceStrData()->ResStrings()->Add("EDIT_COPY=复制");
    E->CreateSysPopupMenu();
    EXPECT_EQ(E->SysPopupMenu()->Items()->Items(3)->Caption(), "复制");
    EXPECT_EQ(E->SysPopupMenu()->Items()->Items(0)->Caption(), "");
}

TEST_F(InnerEdit, PasswordEditsAreNotMultiLine)
{
    auto* E = MakeEdit("");
    EXPECT_TRUE(GetWindowLong(E->Handle(), GWL_STYLE) & ES_MULTILINE);
    auto* P = new TbsCustomEdit(Form);
    P->SetPasswordChar('*');
    P->SetParent(Form);
    E = P;
    LONG S = GetWindowLong(E->Handle(), GWL_STYLE);
    EXPECT_TRUE(S & ES_PASSWORD);
    EXPECT_FALSE(S & ES_MULTILINE);
}

// ---- the skinned edit ----------------------------------------------------------------

class SkinEdit : public SkinCtlTest {
protected:
    // A 60 x 24 "edit" picture: blue frame of 3 px, white client; hover picture below it
    // with a red frame.
    TbsDataSkinEditControl* Record()
    {
        Skin.AddPicture(60, 48, clBlue);
        Skin.Paint(0, Rect(3, 3, 57, 21), clWhite);
        Skin.Paint(0, Rect(0, 24, 60, 48), clRed);
        Skin.Paint(0, Rect(3, 27, 57, 45), clWhite);
        auto* R = Skin.Add<TbsDataSkinEditControl>("edit");
        NinePiece(R, 60, 24, 3);
        R->ActiveSkinRect = Rect(0, 24, 60, 48);
        R->FontName = "Tahoma";
        R->FontHeight = 14;
        R->FontColor = clNavy;
        R->ActiveFontColor = clMaroon;
        R->DisabledFontColor = clGray;
        return R;
    }
    TestSkin Skin;
};

TEST_F(SkinEdit, DefaultLookFrameAndFontHeight)
{
    auto* E = Make<TbsSkinEdit>(Rect(10, 10, 130, 60));
    Pump();
    HDC DC = GetDC(nullptr);
    SelectObject(DC, E->Font()->Handle());
    TEXTMETRIC TM{};
    GetTextMetrics(DC, &TM);
    ReleaseDC(nullptr, DC);
    EXPECT_EQ(E->Height(), TM.tmHeight + 6);  // any requested height becomes the font's
    EXPECT_EQ(E->ClientRect(), Rect(0, 0, 116, E->Height() - 4));
    TPoint O = E->ScreenToClient(E->ClientToScreen(Point(0, 0)));
    (void)O;
    HWND Top = Form->Handle();
    TPoint P = Form->ScreenToClient(E->ClientToScreen(Point(-2, -2)));
    Pump();
    E->Repaint();
    Pump();
    EXPECT_EQ(Headless::PixelColor(Top, P), Sys(clBtnShadow));
    EXPECT_EQ(Headless::PixelColor(Top, Point(P.X + 2, P.Y + 2)), Sys(clWindow));
}

TEST_F(SkinEdit, ButtonModeFiresOnReleaseOverTheButton)
{
    auto* E = Make<TbsSkinEdit>(Rect(10, 10, 130, 30));
    E->SetButtonMode(true);
    Pump();
    int Clicks = 0;
    E->OnButtonClick = [&](TObject*) { ++Clicks; };
    const int H = E->Height();
    EXPECT_EQ(E->ClientWidth(), 120 - H - 4);
    // the button is the square at the right end, in the non-client area
    TPoint B = Form->ScreenToClient(E->ClientToScreen(Point(E->ClientWidth() + 2 + H / 2, H / 2 - 2)));
    Headless::MouseMove(Form->ClientToScreen(B));
    Headless::MouseDown(Form->ClientToScreen(B));
    Pump();
    EXPECT_TRUE(E->ButtonDown());
    EXPECT_EQ(Clicks, 0);
    Headless::MouseUp(Form->ClientToScreen(B));
    Pump();
    EXPECT_EQ(Clicks, 1);
    EXPECT_FALSE(E->ButtonDown());
    EXPECT_TRUE(E->Focused());
}

TEST_F(SkinEdit, LoadedTakesTheInterfaceStringsCharacterSet)
{
    TbsResourceStrData Strings(nullptr);
    Strings.SetCharSet(GB2312_CHARSET);
    Skin.SD->SetResourceStrData(&Strings);
    auto* E = Make<TbsSkinEdit>(Rect(10, 10, 130, 50));
    E->Loading();
    E->SetSkinData(Skin.SD);
    E->Font()->SetCharset(DEFAULT_CHARSET);
    E->Loaded();
    EXPECT_EQ(E->Font()->Charset(), GB2312_CHARSET);
    Skin.SD->SetResourceStrData(nullptr);
}

TEST_F(SkinEdit, SkinnedTakesTheRecordsGeometryAndFont)
{
    Record();
    auto* E = Make<TbsSkinEdit>(Rect(10, 10, 130, 50));
    E->SetSkinData(Skin.SD);
    Pump();
    EXPECT_NE(E->FIndex, -1);
    EXPECT_EQ(E->Height(), 24);  // the picture's height
    EXPECT_EQ(E->ClientRect(), Rect(0, 0, 114, 18));
    EXPECT_EQ(E->Font()->Color(), clNavy);
    EXPECT_EQ(E->Font()->Height(), 14);
    E->SetBounds(10, 10, 140, 80);
    EXPECT_EQ(E->Height(), 24);
    EXPECT_EQ(E->Width(), 140);
    E->Repaint();
    Pump();
    TPoint P = Form->ScreenToClient(E->ClientToScreen(Point(-3, -3)));
    EXPECT_EQ(Headless::PixelColor(Form->Handle(), P), clBlue);
    EXPECT_EQ(Headless::PixelColor(Form->Handle(), Point(P.X + 139, P.Y + 23)), clBlue);
    EXPECT_EQ(PixelOf(E, 50, 9), clWhite);
    // focus takes the active look and font colour
    E->SetFocus();
    Pump();
    EXPECT_EQ(E->Font()->Color(), clMaroon);
    E->Repaint();
    Pump();
    EXPECT_EQ(Headless::PixelColor(Form->Handle(), P), clRed);
    // a skin change to an empty skin returns to the default look
    Skin.SD->Empty = true;
    E->ChangeSkinData();
    EXPECT_EQ(E->FIndex, -1);
    EXPECT_EQ(E->Font()->Color(), E->DefaultFont()->Color());
}

TEST_F(SkinEdit, ReadOnlyPropertyIsTheInnerGateAndTextPaints)
{
    auto* E = Make<TbsSkinEdit>(Rect(10, 10, 130, 30));
    E->SetText("abc");
    E->SetReadOnly(true);
    E->SetFocus();
    Pump();
    Headless::Type("x");
    Pump();
    EXPECT_EQ(E->Text(), "abc");
    // the text is drawn over the background (some pixel in the text box is not the fill)
    bool Ink = false;
    for (int X = 0; X < 30 && !Ink; ++X)
        for (int Y = 0; Y < E->ClientHeight() && !Ink; ++Y) Ink = PixelOf(E, X, Y) != Sys(clWindow);
    EXPECT_TRUE(Ink);
}

TEST_F(SkinEdit, PaintNonClientToDCMessages)
{
    auto* E = Make<TbsSkinEdit>(Rect(10, 10, 130, 30));
    Pump();
    EXPECT_EQ(E->Perform(PaintNonClientToDC, 0, 0), 0);
    TBitmap B;
    B.SetSize(E->Width(), E->Height());
    EXPECT_EQ(E->Perform(PaintNonClientToDC, WPARAM(B.Canvas()->Handle()), 0), PaintNonClientToDCAnswer);
    EXPECT_EQ(B.Canvas()->Pixels(0, 0), Sys(clBtnShadow));
    EXPECT_EQ(E->Perform(PaintNonClientToDCEx, 0, PaintNonClientToDCExParam), PaintNonClientToDCExParam);
    EXPECT_NE(E->Perform(PaintNonClientToDCEx, 0, 1), PaintNonClientToDCExParam);
    // a picture of the control with a given text
    TBitmap P;
    P.SetSize(200, 50);
    E->PaintSkinTo(P.Canvas(), 5, 5, "W");
    EXPECT_EQ(P.Canvas()->Pixels(5, 5), Sys(clBtnShadow));
    EXPECT_EQ(P.Canvas()->Pixels(6, 6), Sys(clBtnFace));
}

}  // namespace
