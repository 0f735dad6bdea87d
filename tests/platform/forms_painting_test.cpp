// Painting controls on the headless backend: fonts (ParentFont, WM_SETFONT), control
// canvases (the paint DC while painting, a window DC outside), the posted invalidate
// message, and a parent's background painted into a child's canvas.
#include <gtest/gtest.h>

#include <functional>

#include "platform/forms/Forms.h"
#include "platform/windows/Headless.h"

namespace {

// A control that paints through OnPaintCanvas, counting its paints and whether it
// was painting a copy for another control.
template <class Base>
class TPaintedControl : public Base {
public:
    using Base::Base;
    std::function<void(TCanvas*)> OnPaintCanvas;
    int Paints = 0;
    bool SawPaintCopy = false;

protected:
    void Paint() override
    {
        ++Paints;
        SawPaintCopy = this->ControlState().Contains(csPaintCopy);
        if (OnPaintCanvas) OnPaintCanvas(this->Canvas());
    }
};

class TPainted : public TPaintedControl<TCustomControl> {
public:
    using TPaintedControl::TPaintedControl;
    std::vector<HFONT> FontsSet;
    void Dispatch(TMessage& M) override
    {
        if (M.Msg == WM_SETFONT) FontsSet.push_back(reinterpret_cast<HFONT>(M.WParam));
        TPaintedControl::Dispatch(M);
    }
};
using TPaintedShape = TPaintedControl<TGraphicControl>;

void FillAll(TCanvas* C, TColor Color, int W, int H)
{
    C->Brush()->SetColor(Color);
    C->FillRect({0, 0, W, H});
}

class FormsPainting : public ::testing::Test {
protected:
    void SetUp() override
    {
        Headless::Install();
        InitForms();
        Form = Application->CreateForm<TForm>();
        Form->SetBorderStyle(bsNone);
        Form->SetBounds(100, 100, 300, 200);
        Form->SetColor(clWhite);
    }
    void TearDown() override { DoneForms(); }
    template <class T>
    T* Add(TWinControl* Parent, TRect R)
    {
        auto* C = new T(Form);
        C->SetBoundsRect(R);
        C->SetParent(Parent);
        return C;
    }
    void Pump() { Application->ProcessMessages(); }
    TColor At(TWinControl* C, TPoint P) { return Headless::PixelColor(C->Handle(), P); }
    TForm* Form = nullptr;
};

TEST_F(FormsPainting, ParentFontFollowsTheParentUntilTheControlSetsItsOwn)
{
    auto* Panel = Add<TPainted>(Form, {0, 0, 200, 100});
    auto* Shape = Add<TPaintedShape>(Panel, {10, 10, 50, 50});
    auto* Own = Add<TPainted>(Panel, {60, 10, 100, 50});
    Own->Font()->SetStyle({fsBold});
    EXPECT_FALSE(Own->ParentFont());

    Form->Font()->SetName("DejaVu Sans");
    Form->Font()->SetHeight(-20);
    EXPECT_EQ(Panel->Font()->Name(), "DejaVu Sans");
    EXPECT_EQ(Shape->Font()->Height(), -20);  // through the panel
    EXPECT_TRUE(Panel->ParentFont());
    EXPECT_TRUE(Shape->ParentFont());
    EXPECT_EQ(Own->Font()->Name(), "Tahoma");  // kept its own

    // giving ParentFont back copies the parent's font at once
    Own->SetParentFont(true);
    EXPECT_EQ(Own->Font()->Height(), -20);
    EXPECT_FALSE(Own->Font()->Style().Contains(fsBold));

    // a control moved under another parent takes that parent's font
    auto* Other = Add<TPainted>(Form, {0, 100, 200, 200});
    Other->Font()->SetHeight(-30);
    Shape->SetParent(Other);
    EXPECT_EQ(Shape->Font()->Height(), -30);

    // SetFont copies the font (the caller keeps its object)
    TFont F;
    F.SetColor(clRed);
    Panel->SetFont(&F);
    EXPECT_EQ(Panel->Font()->Color(), clRed);
    EXPECT_NE(Panel->Font(), &F);
    EXPECT_FALSE(Panel->ParentFont());
}

TEST_F(FormsPainting, WindowsGetTheirFontOnCreationAndOnEveryChange)
{
    auto* Panel = Add<TPainted>(Form, {0, 0, 200, 100});
    Form->Show();
    ASSERT_EQ(Panel->FontsSet.size(), 1u);
    EXPECT_EQ(Panel->FontsSet[0], Panel->Font()->Handle());
    Form->Font()->SetSize(12);
    ASSERT_EQ(Panel->FontsSet.size(), 2u);
    EXPECT_EQ(Panel->FontsSet[1], Panel->Font()->Handle());
}

TEST_F(FormsPainting, PaintDrawsThroughTheCanvasOnThePaintDC)
{
    auto* Panel = Add<TPainted>(Form, {10, 10, 110, 110});
    auto* Shape = Add<TPaintedShape>(Panel, {20, 20, 40, 40});
    HDC SeenDC = nullptr;
    Panel->OnPaintCanvas = [&](TCanvas* C) {
        SeenDC = Panel->PaintDC();
        EXPECT_EQ(C->Handle(), Panel->PaintDC());
        FillAll(C, clBlue, 100, 100);
    };
    // the shape fills far more than its bounds: the canvas is moved and clipped
    Shape->OnPaintCanvas = [&](TCanvas* C) {
        EXPECT_EQ(C->ClipRect(), TRect(0, 0, 20, 20));
        FillAll(C, clLime, 500, 500);
    };
    Form->Show();
    Pump();
    EXPECT_NE(SeenDC, nullptr);
    EXPECT_EQ(Panel->PaintDC(), nullptr);
    EXPECT_FALSE(Panel->Canvas()->HandleAllocated());  // detached after painting
    EXPECT_EQ(At(Panel, {5, 5}), clBlue);
    EXPECT_EQ(At(Panel, {20, 20}), clLime);
    EXPECT_EQ(At(Panel, {39, 39}), clLime);
    EXPECT_EQ(At(Panel, {40, 40}), clBlue);
    EXPECT_EQ(At(Panel, {19, 30}), clBlue);
    EXPECT_EQ(At(Form, {5, 5}), clWhite);
}

TEST_F(FormsPainting, CanvasesDrawOutsidePaintThroughAWindowDC)
{
    auto* Panel = Add<TPainted>(Form, {10, 10, 110, 110});
    auto* Shape = Add<TPaintedShape>(Panel, {20, 20, 40, 40});
    Panel->OnPaintCanvas = [](TCanvas* C) { FillAll(C, clBlue, 100, 100); };
    Form->Show();
    Pump();

    FillAll(Panel->Canvas(), clRed, 10, 10);
    FillAll(Shape->Canvas(), clYellow, 500, 500);  // moved and clipped to the shape
    EXPECT_TRUE(Panel->Canvas()->HandleAllocated());
    FreeDeviceContexts();
    EXPECT_FALSE(Panel->Canvas()->HandleAllocated());
    EXPECT_FALSE(Shape->Canvas()->HandleAllocated());
    EXPECT_EQ(At(Panel, {0, 0}), clRed);
    EXPECT_EQ(At(Panel, {10, 10}), clBlue);
    EXPECT_EQ(At(Panel, {20, 20}), clYellow);
    EXPECT_EQ(At(Panel, {40, 40}), clBlue);

    // a DC taken while handling a message goes back when the message is done
    Panel->WindowProc = [&, Old = Panel->WindowProc](TMessage& M) {
        if (M.Msg == WM_USER + 1) FillAll(Panel->Canvas(), clGreen, 5, 5);
        Old(M);
    };
    SendMessage(Panel->Handle(), WM_USER + 1, 0, 0);
    EXPECT_FALSE(Panel->Canvas()->HandleAllocated());
    EXPECT_EQ(At(Panel, {1, 1}), clGreen);

    // a canvas left holding a DC lets it go when the window goes
    FillAll(Panel->Canvas(), clGreen, 5, 5);
    delete Panel;
    FreeDeviceContexts();
}

TEST_F(FormsPainting, ThePostedInvalidateMessageRepaintsLater)
{
    auto* Panel = Add<TPainted>(Form, {10, 10, 110, 110});
    Form->Show();
    Pump();
    int Before = Panel->Paints;
    PostMessage(Panel->Handle(), CM_INVALIDATE, 0, 0);
    EXPECT_EQ(Panel->Paints, Before);  // posted: nothing yet
    UpdateWindow(Panel->Handle());
    EXPECT_EQ(Panel->Paints, Before);  // not invalid until the message runs
    MSG M;
    while (PeekMessage(M, Panel->Handle(), CM_INVALIDATE, CM_INVALIDATE, PM_REMOVE)) DispatchMessage(M);
    UpdateWindow(Panel->Handle());  // "update it at once"
    EXPECT_EQ(Panel->Paints, Before + 1);
}

// What a transparent control does in each paint: its parent's picture and the
// graphic siblings under it are painted into the control's own canvas, the parent and
// each sibling marked as painting a copy meanwhile.
void DrawParentBackground(TWinControl* Control, TCanvas* Canvas)
{
    TWinControl* Parent = Control->Parent();
    HDC DC = Canvas->Handle();
    Parent->SetControlState(Parent->ControlState() + TControlState{csPaintCopy});
    int Saved = SaveDC(DC);
    TPoint Org;
    GetViewportOrgEx(DC, &Org);
    SetViewportOrgEx(DC, Org.X - Control->Left(), Org.Y - Control->Top(), nullptr);
    IntersectClipRect(DC, 0, 0, Parent->ClientWidth(), Parent->ClientHeight());
    Parent->Perform(WM_ERASEBKGND, WPARAM(DC), 0);
    if (!dynamic_cast<TCustomForm*>(Parent)) Parent->PaintWindow(DC);
    RestoreDC(DC, Saved);
    for (int I = 0; I < Parent->ControlCount() && Parent->Controls(I) != Control; ++I) {
        auto* G = dynamic_cast<TGraphicControl*>(Parent->Controls(I));
        TRect B = G ? G->BoundsRect() : TRect();
        TRect C = Control->BoundsRect();
        if (!G || !G->Visible() || B.Right <= C.Left || B.Left >= C.Right || B.Bottom <= C.Top || B.Top >= C.Bottom)
            continue;
        G->SetControlState(G->ControlState() + TControlState{csPaintCopy});
        Saved = SaveDC(DC);
        GetViewportOrgEx(DC, &Org);
        SetViewportOrgEx(DC, Org.X + B.Left - C.Left, Org.Y + B.Top - C.Top, nullptr);
        IntersectClipRect(DC, 0, 0, B.Width(), B.Height());
        G->Perform(WM_PAINT, WPARAM(DC), 0);
        RestoreDC(DC, Saved);
        G->SetControlState(G->ControlState() - TControlState{csPaintCopy});
    }
    Parent->SetControlState(Parent->ControlState() - TControlState{csPaintCopy});
}

TEST_F(FormsPainting, AParentsBackgroundPaintsIntoAChildsCanvas)
{
    auto* Panel = Add<TPainted>(Form, {10, 10, 210, 160});
    Panel->OnPaintCanvas = [&](TCanvas* C) {
        FillAll(C, clBlue, 200, 150);
        C->Brush()->SetColor(clYellow);
        C->FillRect({0, 0, 200, 10});  // a stripe along the top
    };
    auto* Shape = Add<TPaintedShape>(Panel, {30, 30, 60, 60});
    Shape->OnPaintCanvas = [](TCanvas* C) { FillAll(C, clLime, 30, 30); };
    auto* Glass = Add<TPainted>(Panel, {20, 5, 100, 85});
    bool PanelMarked = false;
    Glass->OnPaintCanvas = [&](TCanvas* C) {
        Panel->OnPaintCanvas = [&, Old = Panel->OnPaintCanvas](TCanvas* PC) {
            PanelMarked = Panel->ControlState().Contains(csPaintCopy);
            Old(PC);
        };
        DrawParentBackground(Glass, C);
        C->Brush()->SetColor(clRed);
        C->FillRect({70, 70, 80, 80});  // its own picture on top
    };
    Form->Show();
    Pump();
    // Glass shows the panel's stripe and fill, the shape under it, then its own corner
    EXPECT_EQ(At(Glass, {1, 1}), clYellow);
    EXPECT_EQ(At(Glass, {1, 10}), clBlue);
    EXPECT_EQ(At(Glass, {10, 25}), clLime);   // the shape at (30, 30) of the panel
    EXPECT_EQ(At(Glass, {39, 54}), clLime);
    EXPECT_EQ(At(Glass, {40, 55}), clBlue);
    EXPECT_EQ(At(Glass, {75, 75}), clRed);
    EXPECT_TRUE(PanelMarked);
    EXPECT_TRUE(Shape->SawPaintCopy);
    EXPECT_FALSE(Panel->ControlState().Contains(csPaintCopy));
    EXPECT_FALSE(Shape->ControlState().Contains(csPaintCopy));
    // the panel's own paint was not disturbed
    EXPECT_EQ(At(Panel, {150, 100}), clBlue);
}

}  // namespace
