// Drag and drop between controls on the headless backend: the automatic start after the
// threshold, the targets' answers and the drag cursor, the drop and the end told to the
// source, a drag object of the source's own, the ways a drag ends without a drop.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/forms/Forms.h"
#include "platform/windows/Headless.h"

namespace {

class TBox : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
};
class TShape : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
};

class TParcel : public TDragObject {};

class FormsDrag : public ::testing::Test {
protected:
    void SetUp() override
    {
        Headless::Install();
        InitForms();
        Form = Application->CreateForm<TForm>();
        Form->SetBorderStyle(bsNone);
        Form->SetBounds(100, 100, 400, 200);
        Source = new TShape(Form);
        Source->SetBoundsRect(Rect(10, 10, 110, 60));
        Source->SetParent(Form);
        Target = new TBox(Form);
        Target->SetBoundsRect(Rect(200, 10, 300, 110));
        Target->SetParent(Form);
        Source->OnClick = [this](TObject*) { Log.push_back("click"); };
        Source->OnStartDrag = [this](TObject* Sender, TDragObject*& Obj) {
            EXPECT_EQ(Sender, Source);
            Obj = Parcel;
            Log.push_back("start");
        };
        Source->OnEndDrag = [this](TObject* Sender, TObject* To, int X, int Y) {
            EXPECT_EQ(Sender, Source);
            Log.push_back(std::string("end ") + (To == Target ? "target" : To ? "other" : "none") + " " +
                          std::to_string(X) + "," + std::to_string(Y));
        };
        Target->OnDragOver = [this](TObject*, TObject* From, int X, int Y, TDragState State, bool& Accept) {
            EXPECT_TRUE(Accept);  // set to take it before the handler answers
            Accept = TakeIt;
            Seen = From;
            Log.push_back(std::string(State == dsDragEnter ? "enter " : State == dsDragLeave ? "leave " : "move ") +
                          std::to_string(X) + "," + std::to_string(Y));
        };
        Target->OnDragDrop = [this](TObject*, TObject* From, int X, int Y) {
            Seen = From;
            Log.push_back("drop " + std::to_string(X) + "," + std::to_string(Y));
        };
        Form->Show();
        Pump();
    }
    void TearDown() override
    {
        DoneForms();
        delete Parcel;
    }
    void Pump() { Application->ProcessMessages(); }
    TPoint At(TControl* C, int X, int Y) { return C->ClientToScreen(TPoint(X, Y)); }
    int CursorNow() { return Headless::TopInfo(Form->Handle()).Cursor; }

    TForm* Form = nullptr;
    TShape* Source = nullptr;
    TBox* Target = nullptr;
    TParcel* Parcel = nullptr;
    bool TakeIt = true;
    TObject* Seen = nullptr;
    std::vector<std::string> Log;
};

TEST_F(FormsDrag, AutomaticDragStartsPastTheThresholdAndDropsOnTheTarget)
{
    Source->SetDragMode(dmAutomatic);
    Source->SetDragCursor(crHandPoint);
    Headless::MouseDown(At(Source, 20, 20));
    Headless::MouseMove(At(Source, 20 + DefaultDragThreshold - 1, 20));
    Pump();
    EXPECT_TRUE(Source->Dragging());
    EXPECT_EQ(DragObject(), nullptr);  // waiting for the threshold
    EXPECT_TRUE(Log.empty());
    Headless::MouseMove(At(Source, 20 + DefaultDragThreshold, 20));
    Pump();
    EXPECT_EQ(Log, std::vector<std::string>{"start"});
    ASSERT_NE(DragObject(), nullptr);
    EXPECT_EQ(CursorNow(), IDC_NO);  // over the source, which takes nothing
    Headless::MouseMove(At(Target, 5, 6));
    Headless::MouseMove(At(Target, 7, 8));
    Pump();
    EXPECT_EQ(CursorNow(), IDC_HAND);
    EXPECT_EQ(Seen, Source);  // without a drag object of its own, the source itself
    EXPECT_EQ(DragObject()->DragTarget(), Target);
    Headless::MouseUp(At(Target, 7, 8));
    Pump();
    EXPECT_EQ(Log, (std::vector<std::string>{"start", "enter 5,6", "move 7,8", "drop 7,8", "end target 7,8"}));
    EXPECT_FALSE(Source->Dragging());
    EXPECT_EQ(DragObject(), nullptr);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(FormsDrag, PressReleasedWithinTheThresholdClicks)
{
    Source->SetDragMode(dmAutomatic);
    Headless::MouseDown(At(Source, 20, 20));
    Headless::MouseMove(At(Source, 22, 21));
    Headless::MouseUp(At(Source, 22, 21));
    Pump();
    EXPECT_EQ(Log, std::vector<std::string>{"click"});
    EXPECT_FALSE(Source->Dragging());
}

TEST_F(FormsDrag, DragObjectOfTheSourceIsWhatTheTargetSees)
{
    Parcel = new TParcel;
    Source->BeginDrag(true);
    EXPECT_EQ(DragObject(), Parcel);
    Headless::MouseMove(At(Target, 30, 40));
    Pump();
    EXPECT_EQ(Seen, Parcel);
    EXPECT_EQ(Parcel->DragTarget(), Target);
    EXPECT_EQ(Parcel->DragPos(), At(Target, 30, 40));
    Source->EndDrag(true);
    EXPECT_TRUE(Parcel->Dropped());
    EXPECT_EQ(Log, (std::vector<std::string>{"start", "enter 30,40", "drop 30,40", "end target 30,40"}));
}

// Every way a started drag ends without a drop: the target's leave, then the source's end
// without a target.
TEST_F(FormsDrag, DragsEndingWithoutADropTellTheSourceNoTarget)
{
    struct {
        const char* Name;
        bool Take;
        std::function<void()> End;
    } Cases[] = {
        {"released over a target that refuses", false, [this] { Headless::MouseUp(At(Target, 30, 40)); }},
        {"Escape", true, [] { Headless::Key(VK_ESCAPE); }},
        {"cancel mode", true, [] { SendMessage(GetCapture(), WM_CANCELMODE, 0, 0); }},
        {"capture taken", true, [this] { SetCapture(Target->Handle()); }},
        {"cancelled", true, [] { CancelDrag(); }},
        {"ended without a drop", true, [this] { Source->EndDrag(false); }},
    };
    for (auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        Log.clear();
        TakeIt = C.Take;
        Source->BeginDrag(true);
        Headless::MouseMove(At(Target, 30, 40));
        Pump();
        C.End();
        Pump();
        ReleaseCapture();
        std::vector<std::string> Expected{"start", "enter 30,40", "leave 30,40", "end none 0,0"};
        EXPECT_EQ(Log, Expected);
        EXPECT_FALSE(Source->Dragging());
        EXPECT_EQ(DragObject(), nullptr);
    }
}

TEST_F(FormsDrag, FreedSourceEndsTheDragQuietlyAndDockingStartsNone)
{
    Source->BeginDrag(true);
    Headless::MouseMove(At(Target, 30, 40));
    Pump();
    delete Source;
    Source = nullptr;
    EXPECT_EQ(DragObject(), nullptr);
    EXPECT_EQ(GetCapture(), nullptr);
    Headless::MouseUp(At(Target, 30, 40));
    Pump();
    EXPECT_EQ(Log, (std::vector<std::string>{"start", "enter 30,40"}));

    Target->SetDragKind(dkDock);
    Target->BeginDrag(true);
    EXPECT_FALSE(Target->Dragging());
    EXPECT_EQ(DragObject(), nullptr);
}

}  // namespace
