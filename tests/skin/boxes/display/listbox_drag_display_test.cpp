// Dragging an item from one skinned list box to another on a real display, with the
// pointer and keys of the X server: the source list drags by itself (automatic mode), the
// target says whether it takes the item and moves it when it is dropped.  A drag cancelled
// with Escape, a drop on a list that does not take it and a press released before the
// pointer has moved far enough leave both lists as they were.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "dialogs/display/filedlg_keys.h"
#include "frame/display/frame_display_probe.h"
#include "platform/forms/Forms.h"
#include "platform/windows/Backend.h"
#include "skin/boxes/bsSkinBoxCtrls.h"
#include "display_pump.h"

using displaypump::PumpUntil;
using displaypump::Settle;

namespace {

std::vector<std::string> ItemsOf(TbsSkinListBox* L)
{
    std::vector<std::string> R;
    for (int I = 0; I < L->Items()->Count(); ++I) R.push_back(L->Items()->Strings(I));
    return R;
}

class ListBoxDragDisplay : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display";
        ASSERT_TRUE(InstallX11Backend());
        InitForms();
        ASSERT_TRUE(framedisplay::Open());
        ASSERT_TRUE(filedlgx::Open());
        Opened = true;
        Form = Application->CreateForm<TForm>();
        Form->SetBorderStyle(bsNone);
        Form->SetBounds(80, 80, 540, 240);
        Source = MakeList(Rect(10, 10, 170, 210), {"alpha", "beta", "gamma", "delta"});
        Target = MakeList(Rect(190, 10, 350, 210), {"one", "two"});
        Refuser = MakeList(Rect(370, 10, 530, 210), {"x"});
        Source->SetListBoxDragMode(dmAutomatic);
        Source->SetListBoxDragCursor(crHandPoint);
        Source->OnListBoxClick = [this](TObject*) { Log.push_back("click"); };
        Source->SetOnListBoxStartDrag([this](TObject* Sender, TDragObject*&) {
            EXPECT_EQ(Sender, Source->ListBox);
            Log.push_back("start");
        });
        Source->SetOnListBoxEndDrag([this](TObject* Sender, TObject* To, int, int) {
            EXPECT_EQ(Sender, Source->ListBox);
            EXPECT_FALSE(Source->ListBox->Dragging());
            Log.push_back(To == Target->ListBox ? "end target" : To ? "end other" : "end none");
        });
        Target->SetOnListBoxDragOver([this](TObject* Sender, TObject* From, int X, int Y, TDragState State, bool& Accept) {
            EXPECT_EQ(Sender, Target->ListBox);
            EXPECT_TRUE(Target->ListBox->ClientRect().Contains(TPoint(X, Y)) || State == dsDragLeave);
            Accept = From == Source->ListBox;
            Note(State == dsDragEnter ? "enter" : State == dsDragLeave ? "leave" : "move");
        });
        Target->SetOnListBoxDragDrop([this](TObject* Sender, TObject* From, int, int) {
            EXPECT_EQ(Sender, Target->ListBox);
            auto* L = static_cast<TbsListBox*>(From);
            int I = L->ItemIndex();
            ASSERT_GE(I, 0);
            Target->Items()->Add(L->Items()->Strings(I));
            L->Items()->Delete(I);
            Target->SetItemIndex(Target->Items()->Count() - 1);
            Log.push_back("drop");
        });
        Refuser->SetOnListBoxDragOver([this](TObject*, TObject*, int, int, TDragState State, bool& Accept) {
            Accept = false;
            Note(State == dsDragEnter ? "refuser enter" : State == dsDragLeave ? "refuser leave" : "refuser move");
        });
        Refuser->SetOnListBoxDragDrop([this](TObject*, TObject*, int, int) { Log.push_back("refuser drop"); });
        Form->Show();
        ASSERT_TRUE(PumpUntil([&] { return Form->HandleAllocated() && IsWindowVisible(Form->Handle()); }));
        Settle();
    }
    void TearDown() override
    {
        if (!Opened) return;
        framedisplay::PressButton(1, false);
        DoneForms();
        filedlgx::Close();
        framedisplay::Close();
    }
    TbsSkinListBox* MakeList(TRect R, std::vector<std::string> Items)
    {
        auto* L = new TbsSkinListBox(Form);
        L->SetBoundsRect(R);
        L->SetParent(Form);
        for (auto& S : Items) L->Items()->Add(S);
        return L;
    }
    // Consecutive moves over one list are noted once.
    void Note(const std::string& What)
    {
        if (Log.empty() || Log.back() != What) Log.push_back(What);
    }
    // The middle of an item of a list, on the screen.
    static TPoint ItemPoint(TbsSkinListBox* L, int Index)
    {
        TRect R = L->ItemRect(Index);
        return L->ListBox->ClientToScreen(TPoint(R.Left + 30, R.Top + R.Height() / 2));
    }
    // The screen colour of a list's row, near its right end (away from the text).
    static TColor RowColour(TbsSkinListBox* L, int Index)
    {
        TRect R = L->ItemRect(Index);
        TPoint P = L->ListBox->ClientToScreen(TPoint(R.Right - 6, R.Top + R.Height() / 2));
        return TColor(framedisplay::ScreenPixel(P.X, P.Y));
    }
    // Whether the left part of a list's row, where its text is, shows anything but the
    // colour of the list's blank part below its items.
    static bool RowHasText(TbsSkinListBox* L, int Index)
    {
        TRect Last = L->ListBox->ClientRect();
        TPoint B = L->ListBox->ClientToScreen(TPoint(Last.Right - 4, Last.Bottom - 4));
        TColor Blank = TColor(framedisplay::ScreenPixel(B.X, B.Y));
        TRect R = L->ItemRect(Index);
        TPoint O = L->ListBox->ClientToScreen(TPoint(R.Left, R.Top));
        auto Px = framedisplay::ScreenRect(O.X, O.Y, 70, R.Height());
        for (uint32_t P : Px)
            if (TColor(((P & 0xFF) << 16) | (P & 0xFF00) | ((P >> 16) & 0xFF)) != Blank) return true;
        return false;
    }
    void MoveTo(TPoint P)
    {
        framedisplay::MovePointer(P.X, P.Y);
        for (int I = 0; I < 4; ++I) {
            Application->ProcessMessages();
            usleep(3000);
        }
    }
    // Moves the pointer from Start to End in steps of about Step pixels.
    void Glide(TPoint Start, TPoint End, int Step)
    {
        int N = std::max(std::abs(End.X - Start.X), std::abs(End.Y - Start.Y)) / Step + 1;
        for (int I = 1; I <= N; ++I)
            MoveTo(TPoint(Start.X + (End.X - Start.X) * I / N, Start.Y + (End.Y - Start.Y) * I / N));
    }
    void Press(bool Down)
    {
        framedisplay::PressButton(1, Down);
        Settle();
    }

    bool Opened = false;
    TForm* Form = nullptr;
    TbsSkinListBox *Source = nullptr, *Target = nullptr, *Refuser = nullptr;
    std::vector<std::string> Log;
};

TEST_F(ListBoxDragDisplay, DraggedItemMovesToTheListThatTakesIt)
{
    TPoint From = ItemPoint(Source, 1);
    MoveTo(From);
    Press(true);
    EXPECT_EQ(Source->ItemIndex(), 1);  // the press chose the item that is dragged
    // below the threshold nothing has started yet
    MoveTo(TPoint(From.X + 2, From.Y + 1));
    EXPECT_TRUE(Source->ListBox->Dragging());
    EXPECT_EQ(Log, std::vector<std::string>{});
    // over the source itself, which takes nothing: the no-drop cursor
    MoveTo(TPoint(From.X + 12, From.Y));
    EXPECT_EQ(Log, std::vector<std::string>{"start"});
    EXPECT_EQ(CursorShape(GetCursor()), IDC_NO);
    EXPECT_EQ(Source->ItemIndex(), 1);  // the drag does not move the source's selection
    TPoint To = ItemPoint(Target, 1);
    Glide(TPoint(From.X + 12, From.Y), To, 6);
    // over the target, which takes it: the source's drag cursor
    EXPECT_EQ(CursorShape(GetCursor()), IDC_HAND);
    Press(false);
    ASSERT_TRUE(PumpUntil([&] { return Log.size() >= 5; }));
    EXPECT_EQ(Log, (std::vector<std::string>{"start", "enter", "move", "drop", "end target"}));
    EXPECT_EQ(ItemsOf(Source), (std::vector<std::string>{"alpha", "gamma", "delta"}));
    EXPECT_EQ(ItemsOf(Target), (std::vector<std::string>{"one", "two", "beta"}));
    EXPECT_FALSE(Source->ListBox->Dragging());
    EXPECT_EQ(DragObject(), nullptr);
    // what the lists show: the moved item as the target's chosen third row, and the
    // source's fourth row empty with "delta" now in its third
    Source->ListBox->Repaint();
    Target->ListBox->Repaint();
    EXPECT_TRUE(PumpUntil([&] { return RowColour(Target, 2) == ColorToRGB(clHighlight); }))
        << std::hex << RowColour(Target, 2);
    EXPECT_TRUE(PumpUntil([&] { return !RowHasText(Source, 3); }));
    EXPECT_TRUE(RowHasText(Source, 2));
    // the pointer is the arrow again over the target
    MoveTo(TPoint(To.X, To.Y + 3));
    EXPECT_EQ(CursorShape(GetCursor()), IDC_ARROW);
}

// Drags that end without a drop leave both lists as they were.
TEST_F(ListBoxDragDisplay, DragsThatAreNotTakenChangeNothing)
{
    struct {
        const char* Name;
        TbsSkinListBox* Over;
        bool Escape;
        std::vector<std::string> Events;
    } Cases[] = {
        {"cancelled with Escape over the target", Target, true, {"start", "enter", "move", "leave", "end none"}},
        // on its way the pointer crosses the target, which hears it come and go
        {"dropped on a list that refuses it", Refuser, false,
         {"start", "enter", "move", "leave", "refuser enter", "refuser move", "refuser leave", "end none"}},
    };
    for (auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        Log.clear();
        TPoint From = ItemPoint(Source, 0);
        MoveTo(From);
        Press(true);
        TPoint To = ItemPoint(C.Over, 0);
        Glide(From, To, 6);
        EXPECT_EQ(CursorShape(GetCursor()), C.Over == Target ? IDC_HAND : IDC_NO);
        if (C.Escape) {
            filedlgx::KeyDown("Escape");
            filedlgx::KeyUp("Escape");
            ASSERT_TRUE(PumpUntil([&] { return !Source->ListBox->Dragging(); }));
            // the pointer goes on and the button is let go over the target: no drop
            MoveTo(TPoint(To.X, To.Y + 4));
        }
        Press(false);
        ASSERT_TRUE(PumpUntil([&] { return !Log.empty() && Log.back() == "end none"; })) << testing::PrintToString(Log);
        Settle();
        EXPECT_EQ(Log, C.Events);
        EXPECT_EQ(ItemsOf(Source), (std::vector<std::string>{"alpha", "beta", "gamma", "delta"}));
        EXPECT_EQ(ItemsOf(Target), (std::vector<std::string>{"one", "two"}));
        EXPECT_EQ(ItemsOf(Refuser), (std::vector<std::string>{"x"}));
        Target->ListBox->Repaint();
        Settle();
        EXPECT_FALSE(RowHasText(Target, 2));
        EXPECT_NE(RowColour(Target, 2), ColorToRGB(clHighlight));
        EXPECT_TRUE(RowHasText(Source, 3));
    }
}

// A press released before the pointer has moved the threshold's distance is a click.
TEST_F(ListBoxDragDisplay, PressReleasedWithinTheThresholdIsAClick)
{
    TPoint From = ItemPoint(Source, 2);
    MoveTo(From);
    Press(true);
    MoveTo(TPoint(From.X + DefaultDragThreshold - 2, From.Y));
    Press(false);
    ASSERT_TRUE(PumpUntil([&] { return !Log.empty(); }));
    Settle();
    EXPECT_EQ(Log, std::vector<std::string>{"click"});
    EXPECT_EQ(Source->ItemIndex(), 2);
    EXPECT_FALSE(Source->ListBox->Dragging());
    EXPECT_EQ(ItemsOf(Source), (std::vector<std::string>{"alpha", "beta", "gamma", "delta"}));
}

}  // namespace
