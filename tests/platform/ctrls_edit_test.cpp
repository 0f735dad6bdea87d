// The edit and the memo on the headless backend: every input path against the
// read-only gate, selection with keys and mouse, undo, clipboard, caret, scrolling,
// colours and painting, and a subclass that swallows the mouse.
#include <functional>

#include "ctrls_support.h"
#include "platform/forms/StdCtrls.h"
#include "platform/windows/Caret.h"

namespace {

class EditTest : public CtrlsTest {
protected:
    void SetUp() override
    {
        CtrlsTest::SetUp();
        Edit = Add<TEdit>({10, 10, 210, 35});
        Edit->OnChange = [this](TObject*) { ++Changes; };
        Form->Show();
        Edit->SetFocus();
        Pump();
    }
    void Reset(const String& Text, int SelStart, int SelLength)
    {
        Edit->SetText(Text);
        Edit->SetSelStart(SelStart);
        Edit->SetSelLength(SelLength);
        Changes = 0;
    }
    TEdit* Edit = nullptr;
    int Changes = 0;
    bool ReadOnlyNow = false;
};

}  // namespace

TEST_F(EditTest, EveryInputPathPassesTheReadOnlyGate)
{
    struct TCase {
        const char* Name;
        std::function<void()> Act;
        const char* Writable;  // the text afterwards when the edit may be changed
    };
    // "hello world" with "world" selected; the clipboard holds "X"
    const TCase Cases[] = {
        {"typing", [&] { Type("ab"); }, "hello ab"},
        {"input-method commit", [&] { Type("视频"); }, "hello 视频"},
        {"backspace", [&] { Key(VK_BACK); }, "hello "},
        {"delete key", [&] { Key(VK_DELETE); }, "hello "},
        {"ctrl+v", [&] { Key('V', {VK_CONTROL}); }, "hello X"},
        {"shift+insert", [&] { Key(VK_INSERT, {VK_SHIFT}); }, "hello X"},
        {"ctrl+x", [&] { Key('X', {VK_CONTROL}); }, "hello "},
        {"shift+delete", [&] { Key(VK_DELETE, {VK_SHIFT}); }, "hello "},
        {"WM_CUT", [&] { Edit->Perform(WM_CUT); }, "hello "},
        {"WM_PASTE", [&] { Edit->Perform(WM_PASTE); }, "hello X"},
        {"WM_CLEAR", [&] { Edit->Perform(WM_CLEAR); }, "hello "},
        {"SelText", [&] { Edit->SetSelText("there"); }, "hello there"},
        {"undo after typing", [&] {
             Edit->SetReadOnly(false);
             Type("z");
             Edit->SetReadOnly(ReadOnlyNow);
             Key('Z', {VK_CONTROL});
         }, "hello world"},
    };
    for (bool RO : {false, true}) {
        for (const TCase& C : Cases) {
            Reset("hello world", 6, 5);
            Clipboard()->SetAsText("X");
            ReadOnlyNow = RO;
            Edit->SetReadOnly(RO);
            C.Act();
            String Expected = RO ? (String(C.Name) == "undo after typing" ? "hello z" : "hello world") : C.Writable;
            EXPECT_EQ(Edit->Text(), Expected) << C.Name << (RO ? " (read-only)" : "");
            if (RO && String(C.Name) != "undo after typing") EXPECT_EQ(Changes, 0) << C.Name;
        }
    }
    // copying is allowed either way
    Reset("hello world", 0, 5);
    Edit->SetReadOnly(true);
    Key('C', {VK_CONTROL});
    EXPECT_EQ(Clipboard()->AsText(), "hello");
    Edit->Perform(EM_SETSEL, 6, 11);
    Key(VK_INSERT, {VK_CONTROL});
    EXPECT_EQ(Clipboard()->AsText(), "world");
}

TEST_F(EditTest, ChangeFiresAfterEveryModificationAndTextWrite)
{
    Reset("", 0, 0);
    Type("abc");
    EXPECT_EQ(Changes, 3);
    Edit->SetText("new");
    EXPECT_EQ(Changes, 4);
    Edit->SetText("new");  // no change, no event
    EXPECT_EQ(Changes, 4);
    Edit->Perform(WM_SETTEXT, 0, LPARAM("x"));
    EXPECT_EQ(Changes, 5);
    Key(VK_LEFT);
    Edit->SelectAll();
    EXPECT_EQ(Changes, 5);  // selection is no modification
    String Got;
    Edit->OnChange = [&](TObject*) { Got = Edit->Text(); };
    Type("y");
    EXPECT_EQ(Got, "y");
}

TEST_F(EditTest, PasteKeepsTheFirstLineAndMaxLengthCuts)
{
    Reset("ab", 1, 0);
    Clipboard()->SetAsText("line1\r\nline2\nline3");
    Edit->PasteFromClipboard();
    EXPECT_EQ(Edit->Text(), "aline1b");
    EXPECT_EQ(Edit->SelStart(), 6);
    Reset("", 0, 0);
    Edit->SetMaxLength(4);
    Type("abcdef");
    EXPECT_EQ(Edit->Text(), "abcd");
    Edit->SelectAll();
    Clipboard()->SetAsText("0123456789");
    Edit->PasteFromClipboard();
    EXPECT_EQ(Edit->Text(), "0123");
    Edit->SetMaxLength(0);
    Edit->SetCharCase(ecUpperCase);
    Reset("", 0, 0);
    Type("ab视");
    EXPECT_EQ(Edit->Text(), "AB视");
}

TEST_F(EditTest, UndoIsOneLevelAndTypingIsOneStep)
{
    Reset("start", 5, 0);
    EXPECT_FALSE(Edit->CanUndo());
    Type(" more");
    EXPECT_TRUE(Edit->CanUndo());
    Edit->Undo();
    EXPECT_EQ(Edit->Text(), "start");
    Edit->Undo();  // undoing the undo brings it back
    EXPECT_EQ(Edit->Text(), "start more");
    Key(VK_BACK);
    Edit->Undo();
    EXPECT_EQ(Edit->Text(), "start more");
    Edit->SetText("reset");  // a text write empties the undo buffer
    EXPECT_FALSE(Edit->CanUndo());
    EXPECT_EQ(Edit->Perform(EM_CANUNDO), 0);
}

TEST_F(EditTest, SelectionMessagesAndProperties)
{
    Reset("0123456789", 0, 0);
    Edit->Perform(EM_SETSEL, 0, -1);
    DWORD S = 9, E = 9;
    Edit->Perform(EM_GETSEL, WPARAM(&S), LPARAM(&E));
    EXPECT_EQ(S, 0u);
    EXPECT_EQ(E, 10u);
    Edit->Perform(EM_SETSEL, 7, 3);  // a backwards selection
    EXPECT_EQ(Edit->SelStart(), 3);
    EXPECT_EQ(Edit->SelLength(), 4);
    EXPECT_EQ(Edit->SelText(), "3456");
    Edit->Perform(EM_SETSEL, 2, 100);
    EXPECT_EQ(Edit->SelLength(), 8);
    Edit->Perform(EM_SETSEL, WPARAM(-1), 0);  // no selection, the caret stays
    EXPECT_EQ(Edit->SelLength(), 0);
    char Buf[6];
    EXPECT_EQ(Edit->Perform(WM_GETTEXT, sizeof Buf, LPARAM(Buf)), 5);
    EXPECT_STREQ(Buf, "01234");
    EXPECT_EQ(GetWindowText(Edit->Handle()), "0123456789");
    // character counts, not bytes
    Edit->SetText("视频abc");
    Edit->Perform(EM_SETSEL, 1, 3);
    EXPECT_EQ(Edit->SelText(), "频a");
}

TEST_F(EditTest, KeysMoveAndExtendTheSelection)
{
    struct TCase {
        // the modifiers are held in vectors: a stored initializer_list would outlive its array
        std::vector<std::pair<int, std::vector<int>>> Keys;
        int Start, Length;
    };
    const TCase Cases[] = {
        {{{VK_END, {}}}, 15, 0},
        {{{VK_HOME, {VK_SHIFT}}}, 0, 8},
        {{{VK_LEFT, {VK_SHIFT}}, {VK_LEFT, {VK_SHIFT}}}, 6, 2},
        {{{VK_RIGHT, {VK_CONTROL}}}, 11, 0},  // the start of the next word
        {{{VK_LEFT, {VK_CONTROL}}}, 6, 0},
        {{{VK_LEFT, {VK_CONTROL}}, {VK_LEFT, {VK_CONTROL}}}, 0, 0},
        {{{VK_RIGHT, {VK_SHIFT, VK_CONTROL}}}, 8, 3},
        {{{VK_END, {VK_SHIFT}}, {VK_LEFT, {}}}, 8, 0},
        {{{VK_END, {VK_SHIFT}}, {VK_RIGHT, {}}}, 15, 0},
    };
    for (const TCase& C : Cases) {
        Reset("alpha beta gamma", 8, 0);
        Edit->SetText("alpha beta gamma");  // 16 characters
        Edit->Perform(EM_SETSEL, 8, 8);
        for (auto& K : C.Keys) Key(K.first, K.second);
        if (C.Start == 15) {
            EXPECT_EQ(Edit->SelStart() + Edit->SelLength(), 16);
        } else {
            EXPECT_EQ(Edit->SelStart(), C.Start);
            EXPECT_EQ(Edit->SelLength(), C.Length);
        }
    }
}

TEST_F(EditTest, MouseSetsTheCaretDragsAndSelectsWords)
{
    Reset("one two three", 0, 0);
    int Y = 8;
    TPoint P4 = Edit->PosFromChar(4), P7 = Edit->PosFromChar(7);
    Click(Edit, {P4.X + 1, Y});
    EXPECT_EQ(Edit->SelStart(), 4);
    EXPECT_EQ(Edit->SelLength(), 0);
    // drag from 4 to 7 with the capture held (later than a double click)
    Headless::AdvanceTime(1000);
    Headless::MouseDown(At(Edit, {P4.X, Y}));
    Pump();
    EXPECT_EQ(GetCapture(), Edit->Handle());
    Headless::MouseMove(At(Edit, {P7.X, Y}));
    Pump();
    Headless::MouseUp(At(Edit, {P7.X, Y}));
    Pump();
    EXPECT_EQ(Edit->SelStart(), 4);
    EXPECT_EQ(Edit->SelLength(), 3);
    EXPECT_EQ(GetCapture(), nullptr);
    // a double click selects the word
    TPoint P9 = Edit->PosFromChar(9);
    Headless::Click(At(Edit, {P9.X + 1, Y}));
    Headless::Click(At(Edit, {P9.X + 1, Y}));
    Pump();
    EXPECT_EQ(Edit->SelText(), "three");
}

TEST_F(EditTest, DragBeyondTheEdgeScrollsAndLongTextFollowsTheCaret)
{
    String Long;
    for (int I = 0; I < 60; ++I) Long += char('a' + I % 26);
    Reset(Long, 0, 0);
    EXPECT_EQ(GetScrollPos(Edit->Handle(), SB_HORZ), 0);
    Key(VK_END);
    int End = GetScrollPos(Edit->Handle(), SB_HORZ);
    EXPECT_GT(End, 0);
    TPoint C = Edit->PosFromChar(60);
    EXPECT_LT(C.X, Edit->ClientWidth());  // the caret is in view
    EXPECT_GE(C.X, 0);
    Key(VK_HOME);
    EXPECT_EQ(GetScrollPos(Edit->Handle(), SB_HORZ), 0);
    // press inside, move beyond the right edge: the timer keeps extending and scrolling
    Headless::MouseDown(At(Edit, {5, 8}));
    Headless::MouseMove(At(Edit, {Edit->ClientWidth() + 30, 8}));
    Pump();
    int Before = Edit->SelLength();
    for (int I = 0; I < 40; ++I) {
        Headless::AdvanceTime(60);
        Pump();
    }
    EXPECT_GT(Edit->SelLength(), Before);
    EXPECT_GT(GetScrollPos(Edit->Handle(), SB_HORZ), 0);
    Headless::MouseUp(At(Edit, {Edit->ClientWidth() + 30, 8}));
    Pump();
    SCROLLBARINFO Info;
    EXPECT_TRUE(GetScrollBarInfo(Edit->Handle(), OBJID_HSCROLL, &Info));
    EXPECT_EQ(Info.rgstate[0], STATE_SYSTEM_INVISIBLE);
}

// Caret positions come from the line laid out as a whole: in a line without kerned pairs
// each is the width of the text before it, and in a line longer than 256 characters the
// last one is the whole line's width, kerning included (the caret at the end sits just
// past the last drawn letter).
TEST_F(EditTest, CaretPositionsAreTheWidthsOfTheTextBeforeThem)
{
    auto* M = Add<TMemo>({10, 50, 300, 120});
    Pump();
    HDC DC = CreateCompatibleDC(nullptr);
    SelectObject(DC, M->Font()->Handle());
    auto Width = [&](const String& S) {
        SIZE Sz;
        GetTextExtentPoint32(DC, S.c_str(), int(S.size()), &Sz);
        return int(Sz.cx);
    };
    const String Sample = "Job 3: 视频 42% done, e\u0301";
    M->SetText(Sample);
    std::u32string U = Utf8ToUtf32(Sample);
    int X0 = M->PosFromChar(0).X;
    for (size_t I = 0; I <= U.size(); ++I)
        EXPECT_EQ(M->PosFromChar(int(I)).X - X0, Width(Utf32ToUtf8(U.substr(0, I)))) << I;
    String Long;
    for (int I = 0; I < 100; ++I) Long += "To ";
    M->SetText(Long);
    X0 = M->PosFromChar(0).X;
    EXPECT_EQ(M->PosFromChar(int(Long.size())).X - X0, Width(Long));
    EXPECT_LT(Width(Long), 100 * (Width("T") + Width("o") + Width(" "))) << "the font kerns \"To\"";
    DeleteDC(DC);
}

TEST_F(EditTest, ASwallowedPressHasNoEffect)
{
    auto* Other = Add<TEdit>({10, 50, 210, 75});
    Pump();
    Other->SetText("text");
    Other->SetSelStart(4);
    TWndMethod Old = Other->WindowProc;
    std::vector<UINT> Seen;
    Other->WindowProc = [&](TMessage& M) {
        if (M.Msg == WM_LBUTTONDOWN) {
            Seen.push_back(M.Msg);
            return;  // dropped
        }
        Old(M);
    };
    Click(Other, {3, 5});
    EXPECT_EQ(Seen.size(), 1u);
    EXPECT_EQ(Other->SelStart(), 4);
    EXPECT_FALSE(Other->Focused());
    EXPECT_EQ(GetCapture(), nullptr);
    Other->WindowProc = Old;
}

TEST_F(EditTest, CaretLivesWithTheFocusAndNeverEntersAMemoryPicture)
{
    TCaretInfo C = GetCaretInfo();
    EXPECT_EQ(C.Owner, Edit->Handle());
    EXPECT_EQ(C.HideCount, 0);
    // hide and show keep a count; a show too many is harmless
    HideCaret(Edit->Handle());
    HideCaret(Edit->Handle());
    ShowCaret(Edit->Handle());
    EXPECT_EQ(GetCaretInfo().HideCount, 1);
    ShowCaret(Edit->Handle());
    ShowCaret(Edit->Handle());
    EXPECT_EQ(GetCaretInfo().HideCount, 0);
    Reset("abc", 3, 0);
    Pump();
    // the caret's pixels are in the window, inverted; a picture painted into a memory DC has none
    TPoint P = Edit->PosFromChar(3);
    ASSERT_TRUE(GetCaretInfo().Drawn);
    TColor OnScreen = Headless::PixelColor(Edit->Handle(), {P.X, P.Y + 3});
    HDC Mem = CreateCompatibleDC(nullptr);
    HBITMAP B = CreateCompatibleBitmap(nullptr, Edit->Width(), Edit->Height());
    SelectObject(Mem, B);
    Edit->Perform(WM_ERASEBKGND, WPARAM(Mem));
    Edit->Perform(WM_PAINT, WPARAM(Mem));
    TColor InPicture = TColor(GetPixel(Mem, P.X, P.Y + 3));
    EXPECT_NE(OnScreen, InPicture);
    EXPECT_EQ(InPicture, ColorToRGB(clWindow));
    DeleteDC(Mem);
    DeleteObject(B);
    // it blinks off and on with time
    Headless::AdvanceTime(GetCaretBlinkTime());
    Pump();
    EXPECT_FALSE(GetCaretInfo().Drawn);
    EXPECT_EQ(Headless::PixelColor(Edit->Handle(), {P.X, P.Y + 3}), ColorToRGB(clWindow));
    Headless::AdvanceTime(GetCaretBlinkTime());
    Pump();
    EXPECT_TRUE(GetCaretInfo().Drawn);
    // gone with the focus
    auto* Other = Add<TEdit>({10, 50, 210, 75});
    Other->SetFocus();
    Pump();
    EXPECT_EQ(GetCaretInfo().Owner, Other->Handle());
}

TEST_F(EditTest, TransparentColoursDrawGlyphsOnlyAndSelectionIsOpaque)
{
    Reset("MMMM", 0, 0);
    Edit->SetBorderStyle(bsNone);
    // the colour request as a skinned edit answers it: transparent, white text, no brush
    Edit->WindowProc = [Old = Edit->WindowProc](TMessage& M) {
        if (M.Msg == CN_CTLCOLOREDIT) {
            SetBkMode(HDC(M.WParam), TRANSPARENT);
            SetTextColor(HDC(M.WParam), 0xFFFFFF);
            M.Result = LRESULT(GetStockObject(NULL_BRUSH));
            return;
        }
        Old(M);
    };
    HDC Mem = CreateCompatibleDC(nullptr);
    HBITMAP B = CreateCompatibleBitmap(nullptr, Edit->Width(), Edit->Height());
    SelectObject(Mem, B);
    TRect R{0, 0, Edit->Width(), Edit->Height()};
    FillSolid(Mem, R, clRed);
    Edit->Perform(WM_PAINT, WPARAM(Mem));
    int Red = 0, Other = 0;
    for (int Y = 0; Y < R.Bottom; ++Y)
        for (int X = 0; X < R.Right; ++X) (GetPixel(Mem, X, Y) == COLORREF(clRed) ? Red : Other)++;
    EXPECT_GT(Other, 10);           // the glyphs
    EXPECT_GT(Red, Other * 3);      // and the background shows through
    // a selection is drawn opaque in the highlight colours
    Edit->SelectAll();
    FillSolid(Mem, R, clRed);
    Edit->Perform(WM_PAINT, WPARAM(Mem));
    TPoint P = Edit->PosFromChar(0);
    int Highlight = 0;
    for (int X = P.X; X < Edit->PosFromChar(4).X; ++X)
        if (GetPixel(Mem, X, P.Y + 1) == GetSysColor(COLOR_HIGHLIGHT)) ++Highlight;
    EXPECT_GT(Highlight, 0);
    DeleteDC(Mem);
    DeleteObject(B);
}

TEST_F(EditTest, BordersComeFromTheStylesAndMarginsFromMessages)
{
    EXPECT_EQ(Edit->ClientWidth(), 196);  // a client edge of 2 pixels
    Edit->SetBorderStyle(bsNone);
    EXPECT_EQ(Edit->ClientWidth(), 200);
    Edit->Perform(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(2, 0));
    EXPECT_EQ(Edit->Perform(EM_GETMARGINS), MAKELPARAM(2, 0));
    Reset("x", 0, 0);
    EXPECT_EQ(Edit->PosFromChar(0).X, 2);
    TRect R{5, 3, 100, 20};
    Edit->Perform(EM_SETRECTNP, 0, LPARAM(&R));
    EXPECT_EQ(Edit->PosFromChar(0), TPoint(7, 3));
}

TEST_F(EditTest, EnterAndEscapeAreClaimedByAMultiLineStyle)
{
    EXPECT_FALSE(Edit->Perform(WM_GETDLGCODE) & DLGC_WANTALLKEYS);
    SetWindowLong(Edit->Handle(), GWL_STYLE, GetWindowLong(Edit->Handle(), GWL_STYLE) | ES_MULTILINE);
    EXPECT_TRUE(Edit->Perform(WM_GETDLGCODE) & DLGC_WANTALLKEYS);
    Reset("a", 1, 0);
    Key(VK_RETURN);
    Key(VK_ESCAPE);
    EXPECT_EQ(Edit->Text(), "a");  // a one-line edit takes no line break
}

TEST_F(EditTest, ModelWorksWithoutAWindow)
{
    auto* E = new TEdit(Form);
    E->SetText("abc");
    E->SetSelStart(1);
    E->SetSelLength(1);
    E->SetSelText("X");
    EXPECT_EQ(E->Text(), "aXc");
    EXPECT_FALSE(E->HandleAllocated());
    E->SetParent(Form);
    EXPECT_EQ(GetWindowText(E->Handle()), "aXc");
}

TEST_F(EditTest, MemoLinesAndKeys)
{
    auto* M = Add<TMemo>({10, 50, 300, 120});
    M->Lines()->Add("first");
    M->Lines()->Add("second");
    M->Lines()->Add("第三");
    EXPECT_EQ(M->Text(), "first\r\nsecond\r\n第三\r\n");
    EXPECT_EQ(M->Lines()->Count(), 3);
    EXPECT_EQ(M->Lines()->Strings(2), "第三");
    EXPECT_EQ(M->Perform(EM_GETLINECOUNT), 4);
    M->SetFocus();
    Pump();
    M->Perform(EM_SETSEL, 2, 2);
    Key(VK_DOWN);
    EXPECT_EQ(M->Perform(EM_LINEFROMCHAR, WPARAM(M->SelStart())), 1);
    Key(VK_END);
    Key(VK_RETURN);
    Type("x");
    EXPECT_EQ(M->Lines()->Strings(2), "x");
    EXPECT_EQ(M->Lines()->Count(), 4);
    // many lines: the view follows the end
    for (int I = 0; I < 30; ++I) M->Lines()->Add("line " + IntToStr(I));
    EXPECT_GT(GetScrollPos(M->Handle(), SB_VERT), 0);
    SCROLLINFO Info;
    Info.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(M->Handle(), SB_VERT, &Info));
    EXPECT_EQ(Info.nMax, 34);  // the line after the last line break
    EXPECT_EQ(Info.nPos, int(34 - Info.nPage + 1));
    M->Perform(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 3));
    EXPECT_EQ(M->Perform(EM_GETFIRSTVISIBLELINE), 3);
    // a final line break ends the last line: the next line follows it directly
    M->SetText("a\r\nb\r\n");
    EXPECT_EQ(M->Lines()->Count(), 2);
    M->Lines()->Add("c");
    EXPECT_EQ(M->Text(), "a\r\nb\r\nc\r\n");
    EXPECT_EQ(M->Lines()->Count(), 3);
    // empty lines are lines as well, in the middle and at the end
    M->SetText("a");
    for (const char* L : {"", "b", ""}) M->Lines()->Add(L);
    EXPECT_EQ(M->Lines()->Count(), 4);
    EXPECT_EQ(M->Lines()->Strings(1), "");
    EXPECT_EQ(M->Lines()->Strings(3), "");
    EXPECT_EQ(M->Text(), "a\r\n\r\nb\r\n\r\n");
    M->Clear();
    EXPECT_EQ(M->Lines()->Count(), 0);
}

// The memo remembers its line starts, widths and text between changes (a growing log
// measures only its new line); after every kind of change it must answer exactly as a
// memo that was given the same text at once.
TEST_F(EditTest, RememberedLinesAndWidthsFollowEveryChange)
{
    auto* M = Add<TMemo>({10, 50, 300, 120});
    auto* Fresh = Add<TMemo>({10, 50, 300, 120});
    M->SetFocus();
    Pump();
    auto Same = [&](const char* Step) {
        Fresh->SetText("");
        Fresh->SetText(M->Text());
        EXPECT_EQ(M->Text(), Fresh->Text()) << Step;
        int N = int(M->Perform(WM_GETTEXTLENGTH));
        EXPECT_EQ(M->Perform(EM_GETLINECOUNT), Fresh->Perform(EM_GETLINECOUNT)) << Step;
        EXPECT_EQ(M->Lines()->Count(), Fresh->Lines()->Count()) << Step;
        for (int I = 0; I <= N; ++I) {
            ASSERT_EQ(M->Perform(EM_LINEFROMCHAR, WPARAM(I)), Fresh->Perform(EM_LINEFROMCHAR, WPARAM(I))) << Step << " " << I;
            M->Perform(EM_SETSEL, WPARAM(I), LPARAM(I));
            Fresh->Perform(EM_SETSEL, WPARAM(I), LPARAM(I));
            ASSERT_EQ(M->Perform(EM_POSFROMCHAR, WPARAM(I)), Fresh->Perform(EM_POSFROMCHAR, WPARAM(I))) << Step << " " << I;
        }
        SCROLLINFO A, B;
        A.fMask = B.fMask = SIF_RANGE;
        GetScrollInfo(M->Handle(), SB_HORZ, &A);
        GetScrollInfo(Fresh->Handle(), SB_HORZ, &B);
        EXPECT_EQ(A.nMax, B.nMax) << Step << ": the widest line";
    };
    for (const char* L : {"short", "a much longer line of the log, wider than the rest", "", "视频 3"}) M->Lines()->Add(L);
    Same("lines added");
    M->Lines()->Insert(0, "top");
    M->Lines()->Delete(2);  // the widest line goes
    Same("insert and delete");
    M->Perform(EM_SETSEL, 3, 3);
    Type("WWW");
    Key(VK_RETURN);
    Same("typing and a line break");
    Key('Z', {VK_CONTROL});
    Same("undo");
    M->Lines()->Strings(0);
    M->Lines()->SetStrings(1, "changed in place");
    M->Lines()->Add("tail\r\nwith two lines");
    Same("set and a two-line add");
    M->Perform(EM_SETPASSWORDCHAR, '*');
    Fresh->Perform(EM_SETPASSWORDCHAR, '*');
    Same("password characters");
    M->Font()->SetSize(16);
    Fresh->Font()->SetSize(16);
    Same("a bigger font");
    M->SetText("");
    M->Lines()->Add("again");
    EXPECT_EQ(M->Text(), "again\r\n");
    Same("cleared");
}
