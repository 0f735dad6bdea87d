// The standard controls on a real display: a form with an edit, a list view of 500
// rows, a tree view and a page control is typed into, clicked, scrolled and
// photographed; text committed by the input method reaches the edit through its one
// gate; copy and paste go both ways with another X client (xclip), and a picture put on
// the clipboard reaches it as PNG and BMP files.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>

#include "test_files.h"
#include "x11_fixture.h"
#include "platform/forms/Clipbrd.h"
#include "platform/forms/ComCtrls.h"
#include "platform/forms/StdCtrls.h"

namespace {

using namespace x11test;
using CtrlsDisplay = X11Test;

// The standard output of a shell-free command line run by popen (fixed text only).
String Output(const char* Command)
{
    String Out;
    FILE* P = popen(Command, "r");
    if (!P) return Out;
    char Buf[256];
    size_t N;
    while ((N = fread(Buf, 1, sizeof Buf, P)) > 0) Out.append(Buf, N);
    pclose(P);
    return Out;
}

bool HaveXclip() { return system("command -v xclip >/dev/null 2>&1") == 0; }

// What "xclip -selection clipboard -t Target -o" prints, while this program's loop
// turns (at most half a minute); the output goes through a file in Folder.
std::vector<uint8_t> ReadSelection(const String& Folder, const char* Target)
{
    String Out = Folder + "/selection";
    pid_t Child = fork();
    if (Child == 0) {
        FILE* F = std::freopen(Out.c_str(), "wb", stdout);
        if (!F) _exit(127);
        execlp("xclip", "xclip", "-selection", "clipboard", "-t", Target, "-o", static_cast<char*>(nullptr));
        _exit(127);
    }
    int Status = 0;
    bool Exited = false;
    for (int I = 0; I < 6000 && !Exited; ++I) {
        Application->ProcessMessages();
        Exited = waitpid(Child, &Status, WNOHANG) == Child;
        if (!Exited) usleep(5000);
    }
    if (!Exited) {
        kill(Child, SIGKILL);
        waitpid(Child, &Status, 0);
    }
    std::ifstream In(Out, std::ios::binary);
    std::vector<uint8_t> Data((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
    std::remove(Out.c_str());
    EXPECT_TRUE(Exited && WIFEXITED(Status) && WEXITSTATUS(Status) == 0) << "xclip -t " << Target;
    return Data;
}

// The colour (0x00RRGGBB) of every pixel of a picture.
std::vector<uint32_t> Colours(TGraphic* G)
{
    TBitmap B;
    B.Assign(G);
    std::vector<uint32_t> V;
    if (PSurface S = B.Surface())
        for (int y = 0; y < S->Height(); ++y)
            for (int x = 0; x < S->Width(); ++x) V.push_back(S->GetPixel(x, y) & 0xFFFFFF);
    return V;
}

TEST_F(CtrlsDisplay, AFormOfStandardControlsTakesKeysClicksAndScrolling)
{
    TForm* F = NewForm(Bounds(40, 40, 640, 440), clBtnFace);
    auto* Edit = Add<TEdit>(F, Bounds(10, 10, 300, 24));
    auto* Pages = Add<TPageControl>(F, Bounds(10, 44, 620, 386));
    auto* ListPage = new TTabSheet(F);
    ListPage->SetCaption("任务列表");
    ListPage->SetPageControl(Pages);
    auto* TreePage = new TTabSheet(F);
    TreePage->SetCaption("Folders");
    TreePage->SetPageControl(Pages);
    auto* List = Add<TListView>(ListPage, Bounds(0, 0, 600, 340));
    List->SetViewStyle(vsReport);
    List->SetRowSelect(true);
    List->SetReadOnly(true);
    for (auto [C, W] : {std::pair<const char*, int>{"文件", 260}, {"hidden", 0}, {"大小", 90}}) {
        TListColumn* Col = List->Columns()->Add();
        Col->SetCaption(C);
        Col->SetWidth(W);
        if (!W) Col->SetMaxWidth(1);
    }
    List->Items()->BeginUpdate();
    for (int I = 0; I < 500; ++I) {
        TListItem* It = List->Items()->Add();
        It->SetCaption("视频 " + IntToStr(I) + ".mp4");
        It->SubItems()->Add("x");
        It->SubItems()->Add(IntToStr(I) + " MB");
    }
    List->Items()->EndUpdate();
    auto* Tree = Add<TTreeView>(TreePage, Bounds(0, 0, 300, 340));
    TTreeNode* Root = Tree->Items()->Add(nullptr, "Computer");
    for (int I = 0; I < 5; ++I) Tree->Items()->AddChild(Root, "drive " + IntToStr(I));
    F->Show();
    XId W = XWin(F);
    ASSERT_TRUE(PumpUntil([&] { return Viewable(W); }));
    ASSERT_TRUE(PumpUntil([&] { return FocusedWindow() == W; }));

    // typing into the edit after a click on it
    ClickAt(Edit->ClientToScreen({20, 10}));
    ASSERT_TRUE(PumpUntil([&] { return Edit->Focused(); }));
    for (const char* K : {"h", "e", "l", "l", "o"}) KeyTap(K);
    ASSERT_TRUE(PumpUntil([&] { return Edit->Text() == "hello"; })) << Edit->Text();
    KeyTap("BackSpace");
    ASSERT_TRUE(PumpUntil([&] { return Edit->Text() == "hell"; }));

    // a click selects a row; the wheel scrolls three rows a notch
    TRect Row3 = List->Items()->Item(3)->DisplayRect(drBounds);
    ClickAt(List->ClientToScreen({40, Row3.Top + 3}));
    ASSERT_TRUE(PumpUntil([&] { return List->ItemIndex() == 3; }));
    MoveTo(List->ClientToScreen({100, 100}));
    Button(true, 5);
    Button(false, 5);
    ASSERT_TRUE(PumpUntil([&] { return List->TopItem() && List->TopItem()->Index() == 3; }));
    Pump();
    // the selected row is highlighted on the screen, right where the list says
    Row3 = List->Items()->Item(3)->DisplayRect(drBounds);
    EXPECT_EQ(ScreenPixel(List->ClientToScreen({200, Row3.Top + Row3.Height() / 2})), ColorToRGB(clHighlight));
    KeyTap("End");
    ASSERT_TRUE(PumpUntil([&] { return List->ItemIndex() == 499; }));
    EXPECT_GT(GetScrollPos(List->Handle(), SB_VERT), 400);
    SaveScreenshot(Bounds(30, 30, 660, 460), "ctrls_list.ppm");

    // the second tab shows the tree; a click on the button expands
    TRect Tab = Pages->TabRect(1);
    ClickAt(Pages->ClientToScreen({Tab.Left + 10, Tab.Top + 5}));
    ASSERT_TRUE(PumpUntil([&] { return Pages->ActivePage() == TreePage; }));
    Pump();
    TRect T = Root->DisplayRect(true);
    ClickAt(Tree->ClientToScreen({T.Left - Tree->Indent() / 2 - 4, T.Top + T.Height() / 2}));
    ASSERT_TRUE(PumpUntil([&] { return Root->Expanded(); }));
    TRect Child = Root->Item(2)->DisplayRect(true);
    ClickAt(Tree->ClientToScreen({Child.Left + 4, Child.Top + 4}));
    ASSERT_TRUE(PumpUntil([&] { return Tree->Selected() == Root->Item(2); }));
    Pump();
    SaveScreenshot(Bounds(30, 30, 660, 460), "ctrls_tree.ppm");
}

// Xlib's own input method composes a sequence of keys into committed text: a compose
// table of our own makes <Multi_key> v i commit two Chinese characters at once, as an
// input method server commits a chosen phrase (a filtered key sequence, then text
// without a key).  The committed text is typed into the edit; read-only stops it.
TEST_F(CtrlsDisplay, TextCommittedByTheInputMethodPassesTheEditsGate)
{
    if (!EnsureKey("Multi_key")) GTEST_SKIP() << "no free key code for the compose key";
    String Table = testing::TempDir() + "vc_compose_" + std::to_string(getpid());
    std::ofstream(Table) << "<Multi_key> <v> <i> : \"视频\"\n";
    setenv("XCOMPOSEFILE", Table.c_str(), 1);
    // a backend opened now opens the input method with that table
    ASSERT_TRUE(InstallX11Backend());
    TForm* F = NewForm(Bounds(60, 60, 320, 60), clBtnFace);
    auto* Edit = Add<TEdit>(F, Bounds(10, 10, 300, 24));
    int Chars = 0;
    bool KeyUpAfterText = false;  // a key release follows the committed text (completion keys on it)
    TWndMethod Old = Edit->WindowProc;
    Edit->WindowProc = [&, Old](TMessage& M) {
        if (M.Msg == WM_CHAR) {
            ++Chars;
            KeyUpAfterText = false;
        }
        if (M.Msg == WM_KEYUP && Chars) KeyUpAfterText = true;
        Old(M);
    };
    F->Show();
    ASSERT_TRUE(PumpUntil([&] { return Viewable(XWin(F)) && FocusedWindow() == XWin(F); }));
    ClickAt(Edit->ClientToScreen({20, 10}));
    ASSERT_TRUE(PumpUntil([&] { return Edit->Focused(); }));
    auto Commit = [&] {
        for (const char* K : {"Multi_key", "v", "i"}) KeyTap(K);
    };
    Commit();
    ASSERT_TRUE(PumpUntil([&] { return Edit->Text() == "视频"; })) << Edit->Text();
    EXPECT_EQ(Chars, 2);  // the keys of the sequence typed nothing themselves
    EXPECT_TRUE(PumpUntil([&] { return KeyUpAfterText; }));
    EXPECT_EQ(Edit->SelStart(), 2);

    Edit->SetReadOnly(true);
    Commit();
    ASSERT_TRUE(PumpUntil([&] { return Chars == 4; }));
    EXPECT_EQ(Edit->Text(), "视频");
    Edit->SetReadOnly(false);
    KeyTap("Home");
    Commit();
    ASSERT_TRUE(PumpUntil([&] { return Edit->Text() == "视频视频"; })) << Edit->Text();
    unsetenv("XCOMPOSEFILE");
    std::remove(Table.c_str());
}

TEST_F(CtrlsDisplay, CopyAndPasteWithAnotherClient)
{
    if (!HaveXclip()) GTEST_SKIP() << "xclip is not installed";
    TForm* F = NewForm(Bounds(60, 60, 320, 80), clBtnFace);
    auto* Edit = Add<TEdit>(F, Bounds(10, 10, 300, 24));
    F->Show();
    ASSERT_TRUE(PumpUntil([&] { return Viewable(XWin(F)); }));

    // ours to theirs
    Edit->SetText("从程序复制 copied");
    Edit->SelectAll();
    Edit->CopyToClipboard();
    EXPECT_EQ(Output("xclip -selection clipboard -o"), "从程序复制 copied");
    EXPECT_EQ(Output("xclip -selection clipboard -o -t TARGETS").find("UTF8_STRING") != String::npos, true);

    // theirs to ours (xclip stays to serve it until another client owns the selection)
    system("printf '%s' '外部 pasted' | xclip -selection clipboard -i");
    ASSERT_TRUE(PumpUntil([&] { return Clipboard()->AsText() == "外部 pasted"; })) << Clipboard()->AsText();
    EXPECT_TRUE(Clipboard()->HasFormat(CF_UNICODETEXT));
    Edit->SetText("");
    Edit->PasteFromClipboard();
    EXPECT_EQ(Edit->Text(), "外部 pasted");

    // a text of several lines: a one-line edit keeps the first
    system("printf 'one\\ntwo' | xclip -selection clipboard -i");
    ASSERT_TRUE(PumpUntil([&] { return Clipboard()->AsText() == "one\ntwo"; }));
    Edit->SetText("");
    Edit->PasteFromClipboard();
    EXPECT_EQ(Edit->Text(), "one");
    // taking the selection back ends the other client
    Clipboard()->SetAsText("done");
    EXPECT_EQ(Output("xclip -selection clipboard -o"), "done");
}

// A picture put on the clipboard is offered as image/png and image/bmp; another client
// reads both and gets the picture's colours.  The large picture does not fit into one
// request and goes in parts.
TEST_F(CtrlsDisplay, APictureOnTheClipboardReachesAnotherClientAsPngAndBmp)
{
    if (!HaveXclip()) GTEST_SKIP() << "xclip is not installed";
    const vctest::TScratch Scratch("vc-clip-");
    ASSERT_FALSE(Scratch.Path.empty());
    const String Folder = Scratch.Path;
    struct TCase {
        int W, H;
        bool InPicture;   // assigned as a TPicture holding the bitmap, else as the bitmap
    };
    for (TCase C : {TCase{37, 23, true}, TCase{1500, 1000, false}}) {
        SCOPED_TRACE(IntToStr(C.W) + "x" + IntToStr(C.H));
        TBitmap Source;
        Source.SetPixelFormat(pf32bit);
        Source.SetSize(C.W, C.H);
        std::mt19937 Noise(7);
        for (int y = 0; y < C.H; ++y) {
            auto* Row = static_cast<uint32_t*>(Source.ScanLine(y));
            for (int x = 0; x < C.W; ++x) Row[x] = Noise() & 0xFFFFFF;   // alpha 0 as GDI leaves it
        }
        TPicture Holder;
        Holder.SetBitmap(&Source);
        if (C.InPicture) Clipboard()->Assign(&Holder);
        else Clipboard()->Assign(&Source);
        const std::vector<uint32_t> Expected = Colours(&Source);

        std::vector<uint8_t> T = ReadSelection(Folder, "TARGETS");
        String Targets(T.begin(), T.end());
        for (const char* Name : {"TARGETS", "image/png", "image/bmp"})
            EXPECT_NE(Targets.find(Name), String::npos) << Name << " in " << Targets;
        EXPECT_EQ(Targets.find("UTF8_STRING"), String::npos) << Targets;

        for (const char* Type : {"image/png", "image/bmp"}) {
            SCOPED_TRACE(Type);
            std::vector<uint8_t> Data = ReadSelection(Folder, Type);
            TMemoryStream M;
            M.WriteBuffer(Data.data(), int64_t(Data.size()));
            M.Seek(0, soBeginning);
            std::unique_ptr<TGraphic> Got;
            if (String(Type) == "image/png") Got = std::make_unique<TPngImage>();
            else Got = std::make_unique<TBitmap>();
            ASSERT_NO_THROW(Got->LoadFromStream(&M)) << Data.size() << " bytes";
            ASSERT_EQ(Got->Width(), C.W);
            ASSERT_EQ(Got->Height(), C.H);
            EXPECT_TRUE(Colours(Got.get()) == Expected);
        }
    }
    // text put on the clipboard takes the picture's place
    Clipboard()->SetAsText("text again");
    EXPECT_EQ(Output("xclip -selection clipboard -o"), "text again");
    EXPECT_EQ(Output("xclip -selection clipboard -o -t TARGETS").find("image/png"), String::npos);
}

}  // namespace
