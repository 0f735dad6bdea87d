// Controls and forms on the headless backend: focus notifications, mouse enter and
// leave for windowed and windowless controls, clicks, alignment, Tab, dialog keys,
// the modal loop and the keyboard menu.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/forms/Forms.h"
#include "platform/forms/Menus.h"
#include "platform/windows/Headless.h"

namespace {

std::vector<std::string> Events;

template <class Base>
class TLogged : public Base {
public:
    explicit TLogged(TComponent* O, const char* N) : Base(O) { Tag = N; }
    std::string Tag;
    void Dispatch(TMessage& M) override
    {
        switch (M.Msg) {
        case WM_SETFOCUS: Events.push_back(Tag + ":setfocus"); break;
        case WM_KILLFOCUS: Events.push_back(Tag + ":killfocus"); break;
        case CM_ENTER: Events.push_back(Tag + ":enter"); break;
        case CM_EXIT: Events.push_back(Tag + ":exit"); break;
        case CM_FOCUSCHANGED: Events.push_back(Tag + ":focuschanged"); break;
        case CM_MOUSEENTER: Events.push_back(Tag + ":mouseenter"); break;
        case CM_MOUSELEAVE: Events.push_back(Tag + ":mouseleave"); break;
        case CM_CANCELMODE: Events.push_back(Tag + ":cancelmode"); break;
        case CM_DIALOGKEY:
            if (M.WParam == VK_RETURN && Tag == "ok") { Events.push_back("ok:default"); M.Result = 1; return; }
            break;
        }
        Base::Dispatch(M);
    }
};
using TBox = TLogged<TCustomControl>;
using TShape = TLogged<TGraphicControl>;

class FormsControls : public ::testing::Test {
protected:
    void SetUp() override
    {
        Headless::Install();
        InitForms();
        Events.clear();
        Form = Application->CreateForm<TForm>();
        Form->SetBorderStyle(bsNone);
        Form->SetBounds(100, 100, 300, 200);
    }
    void TearDown() override { DoneForms(); }
    template <class T>
    T* Add(TWinControl* Parent, const char* Name, TRect R)
    {
        auto* C = new T(Form, Name);
        C->SetBoundsRect(R);
        C->SetParent(Parent);
        return C;
    }
    void Pump() { Application->ProcessMessages(); }
    TForm* Form = nullptr;
};

TEST_F(FormsControls, FocusChangesNotifyInOrder)
{
    auto* A = Add<TBox>(Form, "a", {10, 10, 60, 40});
    auto* B = Add<TBox>(Form, "b", {70, 10, 120, 40});
    A->SetTabStop(true);
    B->SetTabStop(true);
    Form->Show();
    A->SetFocus();
    Events.clear();
    B->SetFocus();
    std::vector<std::string> Focus;
    for (auto& E : Events)
        if (E.rfind("b:focuschanged", 0) != 0 && E.rfind("a:focuschanged", 0) != 0) Focus.push_back(E);
    EXPECT_EQ(Focus, (std::vector<std::string>{"a:killfocus", "b:setfocus", "a:exit", "b:enter"}));
    EXPECT_NE(std::find(Events.begin(), Events.end(), "a:focuschanged"), Events.end());
    EXPECT_EQ(Form->ActiveControl(), B);
    EXPECT_EQ(Screen->ActiveControl(), B);
    B->SetVisible(false);
    EXPECT_THROW(B->SetFocus(), EInvalidOperation);
}

TEST_F(FormsControls, TabMovesInTabOrderEvenOutsideTheClientArea)
{
    auto* A = Add<TBox>(Form, "a", {10, 10, 60, 40});
    auto* B = Add<TBox>(Form, "b", {900, 10, 950, 40});  // beyond the client area
    auto* C = Add<TBox>(Form, "c", {70, 10, 120, 40});
    for (auto* X : {A, B, C}) X->SetTabStop(true);
    C->SetTabOrder(0);
    Form->Show();
    C->SetFocus();
    Headless::Key(VK_TAB);
    Pump();
    EXPECT_TRUE(A->Focused());
    Headless::Key(VK_TAB);
    Pump();
    EXPECT_TRUE(B->Focused());
    Headless::KeyDown(VK_SHIFT);
    Headless::Key(VK_TAB);
    Headless::KeyUp(VK_SHIFT);
    Pump();
    EXPECT_TRUE(A->Focused());
}

TEST_F(FormsControls, EnterGoesToTheFormsDialogKeyAndShortCutComesFirst)
{
    auto* Ok = Add<TBox>(Form, "ok", {10, 10, 60, 40});
    auto* Edit = Add<TBox>(Form, "edit", {70, 10, 120, 40});
    Edit->SetTabStop(true);
    Form->Show();
    Edit->SetFocus();
    bool ShortCutSeen = false;
    Form->OnShortCut = [&](TWMKey& K, bool& Handled) {
        if (K.CharCode() == VK_F5) ShortCutSeen = Handled = true;
    };
    Headless::Key(VK_RETURN);
    Headless::Key(VK_F5);
    Pump();
    EXPECT_NE(std::find(Events.begin(), Events.end(), "ok:default"), Events.end());
    EXPECT_TRUE(ShortCutSeen);
    (void)Ok;
}

TEST_F(FormsControls, MouseEnterAndLeaveReachWindowedAndWindowlessControls)
{
    auto* Panel = Add<TBox>(Form, "panel", {10, 10, 150, 150});
    auto* Shape = Add<TShape>(Panel, "shape", {10, 10, 50, 50});
    Form->Show();
    Pump();
    TPoint Org = Panel->ClientToScreen({0, 0});
    Headless::MouseMove({Org.X + 100, Org.Y + 100});
    Pump();
    Headless::MouseMove({Org.X + 20, Org.Y + 20});
    Pump();
    Headless::MouseMove({Org.X + 100, Org.Y + 100});
    Pump();
    Shape->SetVisible(false);
    Headless::MouseMove({Org.X + 500, Org.Y + 500});  // outside every window
    Pump();
    std::vector<std::string> M;
    for (auto& E : Events)
        if (E.find("mouse") != std::string::npos) M.push_back(E);
    EXPECT_EQ(M, (std::vector<std::string>{"panel:mouseenter", "panel:mouseleave", "shape:mouseenter",
                                           "shape:mouseleave", "panel:mouseenter", "panel:mouseleave"}));
}

TEST_F(FormsControls, PressOnAControlSendsCancelModeToTheActiveControlAndClicksOnRelease)
{
    auto* A = Add<TBox>(Form, "a", {10, 10, 60, 40});
    auto* Shape = Add<TShape>(Form, "shape", {100, 10, 150, 40});
    A->SetTabStop(true);
    Form->Show();
    A->SetFocus();
    int Clicks = 0;
    TControl* CancelSender = nullptr;
    Shape->OnClick = [&](TObject*) { ++Clicks; };
    A->WindowProc = [&, Old = A->WindowProc](TMessage& M) {
        if (M.Msg == CM_CANCELMODE) CancelSender = reinterpret_cast<TControl*>(M.LParam);
        Old(M);
    };
    TPoint P = Form->ClientToScreen({120, 20});
    Headless::Click(P);
    Pump();
    EXPECT_EQ(CancelSender, Shape);
    EXPECT_EQ(Clicks, 1);
    // a release outside the control after a press inside does not click (capture held it)
    Headless::MouseDown(P);
    Headless::MouseUp(Form->ClientToScreen({250, 150}));
    Pump();
    EXPECT_EQ(Clicks, 1);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(FormsControls, AlignmentFillsEdgesInOrderAndAnchorsKeepDistances)
{
    auto* Top = Add<TBox>(Form, "t", {0, 0, 10, 20});
    auto* Bottom = Add<TBox>(Form, "b", {0, 0, 10, 30});
    auto* Left = Add<TBox>(Form, "l", {0, 0, 40, 10});
    auto* Right = Add<TBox>(Form, "r", {0, 0, 50, 10});
    auto* Client = Add<TBox>(Form, "c", {0, 0, 10, 10});
    auto* Anchored = Add<TBox>(Form, "x", {250, 150, 290, 190});
    Top->SetAlign(alTop);
    Bottom->SetAlign(alBottom);
    Left->SetAlign(alLeft);
    Right->SetAlign(alRight);
    Client->SetAlign(alClient);
    Anchored->SetAnchors({akRight, akBottom});
    Form->Show();
    struct TCase {
        TControl* C;
        TRect R;
    } Cases[] = {{Top, {0, 0, 300, 20}},   {Bottom, {0, 170, 300, 200}}, {Left, {0, 20, 40, 170}},
                 {Right, {250, 20, 300, 170}}, {Client, {40, 20, 250, 170}}};
    for (auto& C : Cases) EXPECT_EQ(C.C->BoundsRect(), C.R);
    Form->SetBounds(100, 100, 400, 260);
    EXPECT_EQ(Client->BoundsRect(), TRect(40, 20, 350, 230));
    EXPECT_EQ(Anchored->BoundsRect(), TRect(350, 210, 390, 250));
}

TEST_F(FormsControls, ShowModalRunsANestedLoopAndReturnsTheModalResult)
{
    Form->Show();
    auto* Dlg = new TForm(Application);
    Dlg->AfterConstruction();
    Dlg->SetBounds(0, 0, 100, 80);
    Dlg->OnShow = [&](TObject*) { PostMessage(Dlg->Handle(), WM_USER + 7, 0, 0); };
    Dlg->WindowProc = [Dlg, Old = Dlg->WindowProc](TMessage& M) {
        if (M.Msg == WM_USER + 7) {
            EXPECT_FALSE(IsWindowEnabled(Application->MainForm()->Handle()));
            Dlg->SetModalResult(mrOk);
        }
        Old(M);
    };
    EXPECT_EQ(Dlg->ShowModal(), mrOk);
    EXPECT_FALSE(Dlg->Visible());
    EXPECT_TRUE(IsWindowEnabled(Form->Handle()));
    // Close inside a modal loop answers mrCancel
    Dlg->OnShow = [&](TObject*) { PostMessage(Dlg->Handle(), WM_CLOSE, 0, 0); };
    EXPECT_EQ(Dlg->ShowModal(), mrCancel);
}

TEST_F(FormsControls, CentredDialogIsCentredAgainEachTimeItIsShown)
{
    Form->Show();
    MONITORINFO MI;
    GetMonitorInfo(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &MI);
    const TRect Screen = MI.rcMonitor;
    struct Row { TPosition Pos; bool OnForm; };
    for (Row R : {Row{poMainFormCenter, true}, Row{poOwnerFormCenter, true}, Row{poScreenCenter, false}}) {
        SCOPED_TRACE(int(R.Pos));
        Form->SetBounds(100, 100, 300, 200);
        auto* Dlg = new TForm(Form);
        Dlg->AfterConstruction();
        Dlg->SetBounds(0, 0, 100, 80);
        Dlg->SetPosition(R.Pos);
        Dlg->OnShow = [&](TObject*) { PostMessage(Dlg->Handle(), WM_CLOSE, 0, 0); };
        auto Expect = [&] {
            const TRect A = R.OnForm ? Form->BoundsRect() : Screen;
            EXPECT_EQ(Dlg->Left(), A.Left + (A.Width() - 100) / 2);
            EXPECT_EQ(Dlg->Top(), A.Top + (A.Height() - 80) / 2);
        };
        Dlg->ShowModal();
        Expect();
        // the main window moves and the dialog is moved away before it opens again
        Form->SetBounds(420, 310, 300, 200);
        Dlg->SetBounds(5, 5, 100, 80);
        Dlg->ShowModal();
        Expect();
        delete Dlg;
    }
}

TEST_F(FormsControls, OnMessageSeesQueuedMessagesFirstAndCanCancelThem)
{
    Form->Show();
    std::vector<UINT> Seen;
    int Arrived = 0;
    Form->WindowProc = [&, Old = Form->WindowProc](TMessage& M) {
        if (M.Msg == 1424 || M.Msg == 1425) ++Arrived;
        Old(M);
    };
    Application->OnMessage = [&](TMsg& Msg, bool&) {
        if (Msg.message == 1424 || Msg.message == 1425) Seen.push_back(Msg.message);
        if (Msg.message == 1425) Msg.message = 0;
    };
    PostMessage(Form->Handle(), 1424, 0, 0);
    PostMessage(Form->Handle(), 1425, 0, 0);
    Pump();
    EXPECT_EQ(Seen, (std::vector<UINT>{1424, 1425}));
    EXPECT_EQ(Arrived, 1);
}

TEST_F(FormsControls, MessageFiltersRunNewestFirstAndLeaveEachOtherAloneWhenRemoved)
{
    Form->Show();
    std::vector<std::string> Seen;
    int Arrived = 0;
    Form->WindowProc = [&, Old = Form->WindowProc](TMessage& M) {
        if (M.Msg == 1424) ++Arrived;
        Old(M);
    };
    int A = 0, B = 0;  // two components' identities
    auto Filter = [&](const char* Name, bool Swallow) {
        return [&Seen, Name, Swallow](TMsg& Msg, bool& Handled) {
            if (Msg.message != 1424) return;
            Seen.push_back(Name);
            Handled = Swallow;
        };
    };
    auto Post = [&] {
        Seen.clear();
        Arrived = 0;
        PostMessage(Form->Handle(), 1424, 0, 0);
        Pump();
    };
    Application->OnMessage = [&](TMsg& Msg, bool&) {
        if (Msg.message == 1424) Seen.push_back("app");
    };
    // a swallowing filter hides the message from older filters, OnMessage and the window
    Application->AddMessageFilter(&A, Filter("a", false));
    Application->AddMessageFilter(&B, Filter("b", true));
    Post();
    EXPECT_EQ(Seen, (std::vector<std::string>{"b"}));
    EXPECT_EQ(Arrived, 0);
    // removed in the order they were added, nothing of the first comes back
    Application->RemoveMessageFilter(&A);
    EXPECT_FALSE(Application->HasMessageFilter(&A));
    EXPECT_TRUE(Application->HasMessageFilter(&B));
    Application->RemoveMessageFilter(&B);
    Post();
    EXPECT_EQ(Seen, (std::vector<std::string>{"app"}));
    EXPECT_EQ(Arrived, 1);
    // a passing filter lets the message on; adding under the same owner replaces the entry
    Application->AddMessageFilter(&A, Filter("a", true));
    Application->AddMessageFilter(&A, Filter("a2", false));
    Post();
    EXPECT_EQ(Seen, (std::vector<std::string>{"a2", "app"}));
    EXPECT_EQ(Arrived, 1);
    // a filter may remove itself and another while it runs
    Application->AddMessageFilter(&B, [&](TMsg& Msg, bool&) {
        if (Msg.message != 1424) return;
        Seen.push_back("b-removes");
        Application->RemoveMessageFilter(&A);
        Application->RemoveMessageFilter(&B);
    });
    Post();
    EXPECT_EQ(Seen, (std::vector<std::string>{"b-removes", "app"}));
    EXPECT_FALSE(Application->HasMessageFilter(&A));
    EXPECT_FALSE(Application->HasMessageFilter(&B));
}

TEST_F(FormsControls, TimersTickOnTheLoopUntilDisabled)
{
    auto* T = new TTimer(Form);
    T->SetInterval(100);
    int Ticks = 0;
    T->SetOnTimer([&](TObject*) {
        if (++Ticks == 3) T->SetEnabled(false);
    });
    for (int I = 0; I < 10; ++I) {
        Headless::AdvanceTime(100);
        Pump();
    }
    EXPECT_EQ(Ticks, 3);
}

TEST_F(FormsControls, MenusKeepGroupsShortCutsAndLines)
{
    auto* M = new TMainMenu(Form);
    auto* A = new TMenuItem(M);
    auto* B = new TMenuItem(M);
    auto* L1 = new TMenuItem(M);
    auto* L2 = new TMenuItem(M);
    auto* C = new TMenuItem(M);
    L1->SetCaption("-");
    L2->SetCaption("-");
    for (auto* I : {A, B}) I->SetRadioItem(true), I->SetGroupIndex(1);
    M->Items()->Add(L1);
    M->Items()->Add(A);
    M->Items()->Add(B);
    M->Items()->Add(L2);
    M->Items()->Add(C);
    A->SetChecked(true);
    B->SetChecked(true);
    EXPECT_FALSE(A->Checked());
    C->SetVisible(false);
    M->RethinkLines();
    EXPECT_FALSE(L1->Visible());
    EXPECT_FALSE(L2->Visible());
    EXPECT_EQ(ShortCutToText(ShortCut(VK_F4, {ssCtrl})), "Ctrl+F4");
    EXPECT_EQ(ShortCutToText(ShortCut(VK_F4, {ssAlt})), "Alt+F4");
    EXPECT_EQ(ShortCutToText(ShortCut(VK_F1, {})), "F1");
    EXPECT_EQ(TextToShortCut("Ctrl+F4"), ShortCut(VK_F4, {ssCtrl}));
    int Clicked = 0;
    A->SetShortCut(ShortCut('O', {ssCtrl}));
    A->OnClick = [&](TObject*) { ++Clicked; };
    Form->SetMenu(M);
    auto* Box = Add<TBox>(Form, "box", {0, 0, 20, 20});
    Box->SetTabStop(true);
    Form->Show();
    Box->SetFocus();
    Headless::KeyDown(VK_CONTROL);
    Headless::Key('O');
    Headless::KeyUp(VK_CONTROL);
    Pump();
    EXPECT_EQ(Clicked, 1);
}

TEST_F(FormsControls, AControlForgetsAPopupMenuFreedBeforeIt)
{
    // a right click pops the control's menu up; once the menu is freed the control no
    // longer reaches it, neither on a right click nor when the control itself goes
    auto* Box = Add<TBox>(Form, "box", {10, 10, 110, 60});
    auto* Menu = new TPopupMenu(nullptr);
    int Popups = 0;
    Menu->OnPopup = [&](TObject*) { ++Popups; };
    Box->SetPopupMenu(Menu);
    Form->Show();
    TPoint P = Form->ClientToScreen({50, 30});
    Headless::Click(P, 2);
    Pump();
    EXPECT_EQ(Popups, 1);
    delete Menu;
    ASSERT_EQ(Box->PopupMenu(), nullptr);
    Headless::Click(P, 2);
    Pump();
    EXPECT_EQ(Popups, 1);
    delete Box;
}

TEST_F(FormsControls, TheWheelGoesToTheFocusedControlThenUpItsParents)
{
    auto* Panel = Add<TBox>(Form, "panel", {10, 10, 200, 150});
    auto* Edit = Add<TBox>(Panel, "edit", {10, 10, 100, 40});
    auto* Other = Add<TBox>(Form, "other", {210, 10, 290, 150});
    Edit->SetTabStop(true);
    Form->Show();
    Edit->SetFocus();
    std::vector<std::string> Seen;
    bool PanelHandles = false;
    Edit->OnMouseWheel = [&](TObject*, TShiftState, int Delta, TPoint, bool&) {
        Seen.push_back("edit:" + std::to_string(Delta));
    };
    Panel->OnMouseWheelDown = [&](TObject*, TShiftState, TPoint, bool& Handled) {
        Seen.push_back("panel:down");
        Handled = PanelHandles;
    };
    Panel->OnMouseWheelUp = [&](TObject*, TShiftState, TPoint, bool&) { Seen.push_back("panel:up"); };
    Form->OnMouseWheel = [&](TObject*, TShiftState, int, TPoint, bool&) { Seen.push_back("form"); };
    Other->OnMouseWheel = [&](TObject*, TShiftState, int, TPoint, bool&) { Seen.push_back("other"); };

    // over another control: the wheel still goes to the focused one, then its parents
    TPoint Over = Other->ClientToScreen({5, 5});
    Headless::Wheel(Over, -120);
    Pump();
    EXPECT_EQ(Seen, (std::vector<std::string>{"edit:-120", "panel:down", "form"}));
    // a handled notch stops there; half notches add up before they count
    Seen.clear();
    PanelHandles = true;
    Headless::Wheel(Over, -60);
    Headless::Wheel(Over, -60);
    Pump();
    EXPECT_EQ(Seen, (std::vector<std::string>{"edit:-60", "form", "edit:-60", "panel:down"}));
    Seen.clear();
    Headless::Wheel(Over, 240);
    Pump();
    EXPECT_EQ(Seen, (std::vector<std::string>{"edit:240", "panel:up", "panel:up", "form"}));
}

TEST_F(FormsControls, RecreateWndKeepsTextChildrenAndFocus)
{
    auto* Panel = Add<TBox>(Form, "panel", {10, 10, 200, 150});
    auto* Edit = Add<TBox>(Panel, "edit", {10, 10, 100, 40});
    Edit->SetTabStop(true);
    Panel->SetText("caption");
    Form->Show();
    Edit->SetFocus();
    HWND OldPanel = Panel->Handle(), OldEdit = Edit->Handle();
    Events.clear();
    Panel->RecreateWnd();
    EXPECT_FALSE(IsWindow(OldPanel));
    EXPECT_FALSE(IsWindow(OldEdit));
    ASSERT_TRUE(Panel->HandleAllocated());
    EXPECT_EQ(GetWindowText(Panel->Handle()), "caption");
    EXPECT_EQ(GetParent(Edit->Handle()), Panel->Handle());
    EXPECT_TRUE(IsWindowVisible(Edit->Handle()));
    EXPECT_EQ(GetWindowRect(Edit->Handle()), Bounds(Form->ClientOrigin().X + 20, Form->ClientOrigin().Y + 20, 90, 30));
    EXPECT_TRUE(Edit->Focused());
    EXPECT_EQ(GetFocus(), Edit->Handle());
}

TEST_F(FormsControls, TheHintWindowShowsTheWrappedHintInItsColour)
{
    auto* A = Add<TBox>(Form, "a", {10, 10, 100, 40});
    A->SetHint("A short hint|with a long part for the status bar");
    A->SetShowHint(true);
    Application->HintColor = clYellow;
    Form->Show();
    Headless::MouseMove(A->ClientToScreen({5, 5}));
    Pump();
    Headless::AdvanceTime(Application->HintPause + 10);
    Pump();
    THintWindow* H = Application->HintWindow();
    ASSERT_NE(H, nullptr);
    ASSERT_TRUE(IsWindowVisible(H->Handle()));
    EXPECT_EQ(H->Caption(), "A short hint");
    TRect R = GetWindowRect(H->Handle());
    TSize Text = MeasureText(H->Font(), "A short hint", 1000, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    EXPECT_EQ(R.Width(), Text.cx + 6);
    EXPECT_EQ(R.Height(), Text.cy + 4);
    EXPECT_EQ(Headless::PixelColor(H->Handle(), {0, 0}), ColorToRGB(clWindowFrame));   // the border
    EXPECT_EQ(Headless::PixelColor(H->Handle(), {1, 1}), clYellow);                     // the colour
    int Ink = 0;
    for (int X = 3; X < R.Width() - 3; ++X)
        for (int Y = 2; Y < R.Height() - 2; ++Y) Ink += Headless::PixelColor(H->Handle(), {X, Y}) != clYellow;
    EXPECT_GT(Ink, 20);  // the text
    // a long hint wraps at the given width
    TRect Narrow = H->CalcHintRect(60, "several words that cannot fit in sixty pixels", nullptr);
    EXPECT_LE(Narrow.Width(), 60);
    EXPECT_GT(Narrow.Height(), 2 * Text.cy);
    // a press hides it
    Headless::Click(A->ClientToScreen({5, 5}));
    Pump();
    EXPECT_FALSE(IsWindowVisible(H->Handle()));
}

}  // namespace

TEST_F(FormsControls, BiDiModeFlagsSwapAlignmentAndAddRightToLeftReading)
{
    struct {
        TBiDiMode Mode;
        UINT In, Out;
    } Cases[] = {
        {bdLeftToRight, DT_LEFT | DT_SINGLELINE, DT_LEFT | DT_SINGLELINE},
        {bdLeftToRight, DT_RIGHT, DT_RIGHT},
        {bdRightToLeft, DT_LEFT | DT_SINGLELINE, DT_RIGHT | DT_SINGLELINE | DT_RTLREADING},
        {bdRightToLeft, DT_RIGHT | DT_VCENTER, DT_LEFT | DT_VCENTER | DT_RTLREADING},
        {bdRightToLeft, DT_CENTER | DT_VCENTER, DT_CENTER | DT_VCENTER | DT_RTLREADING},
        {bdRightToLeftNoAlign, DT_LEFT, DT_LEFT | DT_RTLREADING},
        {bdRightToLeftNoAlign, DT_RIGHT, DT_RIGHT | DT_RTLREADING},
        {bdRightToLeftReadingOnly, DT_CENTER, DT_CENTER | DT_RTLREADING},
        {bdRightToLeftReadingOnly, DT_LEFT | DT_RTLREADING, DT_LEFT | DT_RTLREADING},
    };
    auto* C = Add<TBox>(Form, "box", Rect(0, 0, 50, 20));
    for (auto& K : Cases) {
        SCOPED_TRACE(int(K.Mode));
        SCOPED_TRACE(K.In);
        C->SetBiDiMode(K.Mode);
        EXPECT_EQ(C->DrawTextBiDiModeFlags(K.In), K.Out);
        EXPECT_EQ(C->UseRightToLeftReading(), K.Mode != bdLeftToRight);
        EXPECT_EQ(C->UseRightToLeftAlignment(), K.Mode == bdRightToLeft);
    }
}

TEST_F(FormsControls, ChildrenFollowTheirParentsBiDiModeUntilTheyHaveTheirOwn)
{
    auto* Panel = Add<TBox>(Form, "panel", Rect(0, 0, 100, 100));
    auto* Inner = Add<TBox>(Panel, "inner", Rect(0, 0, 50, 50));
    auto* Shape = Add<TShape>(Panel, "shape", Rect(50, 0, 100, 50));
    Form->SetBiDiMode(bdRightToLeft);
    EXPECT_EQ(Panel->BiDiMode(), bdRightToLeft);
    EXPECT_EQ(Inner->BiDiMode(), bdRightToLeft);
    EXPECT_EQ(Shape->BiDiMode(), bdRightToLeft);
    EXPECT_TRUE(Inner->ParentBiDiMode());
    // a control of its own mode keeps it, and its children follow it
    Panel->SetBiDiMode(bdRightToLeftReadingOnly);
    EXPECT_FALSE(Panel->ParentBiDiMode());
    Form->SetBiDiMode(bdLeftToRight);
    EXPECT_EQ(Panel->BiDiMode(), bdRightToLeftReadingOnly);
    EXPECT_EQ(Inner->BiDiMode(), bdRightToLeftReadingOnly);
    // back to following: it takes the parent's at once
    Panel->SetParentBiDiMode(true);
    EXPECT_EQ(Panel->BiDiMode(), bdLeftToRight);
    EXPECT_EQ(Shape->BiDiMode(), bdLeftToRight);
    // a control placed on a parent takes the parent's mode
    Form->SetBiDiMode(bdRightToLeftNoAlign);
    auto* Late = Add<TShape>(Panel, "late", Rect(0, 50, 50, 100));
    EXPECT_EQ(Late->BiDiMode(), bdRightToLeftNoAlign);
}
