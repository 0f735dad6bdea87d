// The parent's picture under a transparent control, painted into the control's canvas.
#include <gtest/gtest.h>

#include "platform/forms/Forms.h"
#include "platform/windows/Headless.h"
#include "skin/core/bsUtils.h"

namespace {

// A graphic control that fills itself with one colour.
class TSpot : public TGraphicControl {
public:
    TSpot(TComponent* AOwner, TColor AColor) : TGraphicControl(AOwner), FColor(AColor) {}
    int Paints = 0;
    bool CopyWhilePainting = false;

protected:
    void Paint() override
    {
        ++Paints;
        CopyWhilePainting = ControlState().Contains(csPaintCopy);
        Canvas()->Brush()->SetColor(FColor);
        Canvas()->FillRect(TRect(0, 0, Width(), Height()));
    }

private:
    TColor FColor;
};

// A container that paints a blue stripe over its background.
class TStriped : public TCustomControl {
public:
    using TCustomControl::TCustomControl;

protected:
    void Paint() override
    {
        Canvas()->Brush()->SetColor(clBlue);
        Canvas()->FillRect(TRect(0, 0, Width(), 5));
    }
};

class ParentBackground : public ::testing::Test {
protected:
    void SetUp() override
    {
        Headless::Install();
        InitForms();
        Form = Application->CreateForm<TForm>();
        Form->SetBorderStyle(bsNone);
        Form->SetBounds(0, 0, 200, 150);
        Form->SetColor(clWhite);
    }
    void TearDown() override { DoneForms(); }
    template <class T, class... A>
    T* Add(TWinControl* Parent, TRect R, A... Args)
    {
        auto* c = new T(Form, Args...);
        c->SetBoundsRect(R);
        c->SetParent(Parent);
        return c;
    }
    static std::unique_ptr<TBitmap> Sheet(int W, int H)
    {
        auto b = std::make_unique<TBitmap>();
        b->SetPixelFormat(pf32bit);
        b->SetSize(W, H);
        return b;
    }
    static TColor At(TBitmap& B, int X, int Y) { return B.Canvas()->Pixels(X, Y); }
    TForm* Form = nullptr;
};

}  // namespace

TEST_F(ParentBackground, FormBackgroundAndGraphicControlsBelow)
{
    auto* under = Add<TSpot>(Form, Rect(15, 15, 25, 25), clRed);   // overlaps the control
    auto* apart = Add<TSpot>(Form, Rect(150, 100, 160, 110), clLime);  // does not
    auto* control = Add<TCustomControl>(Form, Rect(10, 10, 50, 40));
    auto* above = Add<TSpot>(Form, Rect(30, 20, 40, 30), clYellow);  // added after: a graphic
    (void)above;                                                      // control comes first too
    auto sheet = Sheet(40, 30);
    DrawParentBackground(control, sheet->Canvas());
    EXPECT_EQ(At(*sheet, 0, 0), clWhite);
    EXPECT_EQ(At(*sheet, 5, 5), clRed);     // the spot at (15, 15) of the form
    EXPECT_EQ(At(*sheet, 14, 14), clRed);
    EXPECT_EQ(At(*sheet, 15, 15), clWhite);
    EXPECT_EQ(apart->Paints, 0);
    EXPECT_TRUE(under->CopyWhilePainting);
    EXPECT_FALSE(under->ControlState().Contains(csPaintCopy));
    EXPECT_FALSE(Form->ControlState().Contains(csPaintCopy));
}

TEST_F(ParentBackground, ContainersPaintTheirWindowToo)
{
    auto* box = Add<TStriped>(Form, Rect(20, 20, 120, 100));
    box->SetColor(clSilver);
    auto* control = Add<TCustomControl>(box, Rect(10, 2, 60, 30));
    auto sheet = Sheet(50, 28);
    DrawParentBackground(control, sheet->Canvas());
    EXPECT_EQ(At(*sheet, 0, 0), clBlue);   // rows 2..4 of the container: the stripe
    EXPECT_EQ(At(*sheet, 0, 2), clBlue);
    EXPECT_EQ(At(*sheet, 0, 3), clSilver);

    auto part = Sheet(20, 10);
    DrawParentBackgroundInRect(control, Rect(0, 2, 20, 12), part->Canvas());
    EXPECT_EQ(At(*part, 0, 0), clBlue);    // row 4 of the container
    EXPECT_EQ(At(*part, 0, 1), clSilver);

    TCustomControl orphan(nullptr);
    DrawParentBackground(&orphan, sheet->Canvas());  // no parent: nothing
    DrawParentBackground(nullptr, sheet->Canvas());
}

namespace {

// A container whose background raises while it is painted.
class TFailing : public TCustomControl {
public:
    using TCustomControl::TCustomControl;

protected:
    void Dispatch(TMessage& M) override
    {
        if (M.Msg == WM_ERASEBKGND && ControlState().Contains(csPaintCopy)) throw Exception("no background");
        TCustomControl::Dispatch(M);
    }
};

}  // namespace

TEST_F(ParentBackground, AParentThatRaisesLeavesNoMarkAndNoSavedStateBehind)
{
    auto* box = Add<TFailing>(Form, Rect(20, 20, 120, 100));
    auto* control = Add<TCustomControl>(box, Rect(10, 10, 60, 30));
    auto sheet = Sheet(50, 20);
    const HDC dc = sheet->Canvas()->Handle();
    const int level = SaveDC(dc);
    RestoreDC(dc, level);
    EXPECT_THROW(DrawParentBackground(control, sheet->Canvas()), Exception);
    EXPECT_FALSE(box->ControlState().Contains(csPaintCopy));
    EXPECT_EQ(SaveDC(dc), level);  // nothing left saved: the next save is at the same level
    RestoreDC(dc, level);
    TPoint org;
    GetViewportOrgEx(dc, &org);
    EXPECT_EQ(org, TPoint(0, 0));
}

TEST_F(ParentBackground, OnAnMDIMainFormTheClientWindowPaints)
{
    Form->SetFormStyle(fsMDIForm);
    Form->HandleNeeded();
    ASSERT_NE(Form->ClientHandle(), nullptr);
    auto* control = Add<TCustomControl>(Form, Rect(10, 10, 50, 40));
    auto sheet = Sheet(40, 30);
    DrawParentBackground(control, sheet->Canvas());
    EXPECT_EQ(At(*sheet, 5, 5), TColor(GetSysColor(COLOR_APPWORKSPACE)));
    EXPECT_FALSE(Form->ControlState().Contains(csPaintCopy));
}
