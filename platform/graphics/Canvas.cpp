// The canvas: drawing with a font, a pen and a brush through a device context.
#include "platform/graphics/Graphics.h"

TCanvas::TCanvas()
    : FFont(std::make_unique<TFont>()), FPen(std::make_unique<TPen>()), FBrush(std::make_unique<TBrush>())
{
    FFont->OnChange = [this](TObject* S) { FontChanged(S); };
    FPen->OnChange = [this](TObject* S) { PenChanged(S); };
    FBrush->OnChange = [this](TObject* S) { BrushChanged(S); };
}

TCanvas::~TCanvas()
{
    // A derived canvas that owns its DC detaches it in its own destructor; this covers
    // a canvas attached to a DC made elsewhere.
    if (FHandle && IsValidDC(FHandle)) DeselectHandles();
    FHandle = nullptr;
}

void TCanvas::CreateHandle() {}

HDC TCanvas::RequireHandle()
{
    if (!FHandle) CreateHandle();
    if (!FHandle) throw EInvalidOperation("Canvas does not allow drawing");
    return FHandle;
}

HDC TCanvas::Handle()
{
    // Code that draws through the handle itself (DrawText, block transfers) expects the
    // canvas's font, pen and brush to be in the DC, as they are for the canvas's own calls.
    RequireObjects();
    return FHandle;
}

void TCanvas::SetHandle(HDC Value)
{
    if (FHandle == Value) return;
    if (FHandle && IsValidDC(FHandle)) DeselectHandles();
    FHandle = Value;
    FFontValid = FPenValid = FBrushValid = false;
    FOldFont = FOldPen = FOldBrush = nullptr;
}

void TCanvas::DeselectHandles()
{
    if (FOldFont) SelectObject(FHandle, GetStockObject(SYSTEM_FONT));
    if (FOldPen) SelectObject(FHandle, GetStockObject(BLACK_PEN));
    if (FOldBrush) SelectObject(FHandle, GetStockObject(WHITE_BRUSH));
    FOldFont = FOldPen = FOldBrush = nullptr;
    FFontValid = FPenValid = FBrushValid = false;
}

void TCanvas::RequireObjects()
{
    HDC DC = RequireHandle();
    if (!FFontValid) {
        HGDIOBJ Old = SelectObject(DC, FFont->Handle());
        if (!FOldFont) FOldFont = Old;
        SetTextColor(DC, COLORREF(ColorToRGB(FFont->Color())));
        FFontValid = true;
    }
    if (!FPenValid) {
        HGDIOBJ Old = SelectObject(DC, FPen->Handle());
        if (!FOldPen) FOldPen = Old;
        SetROP2(DC, FPen->Mode() == pmNot ? R2_NOT : R2_COPYPEN);
        FPenValid = true;
    }
    if (!FBrushValid) {
        HGDIOBJ Old = SelectObject(DC, FBrush->Handle());
        if (!FOldBrush) FOldBrush = Old;
        SetBkColor(DC, COLORREF(ColorToRGB(FBrush->Color())));
        SetBkMode(DC, FBrush->Style() == bsClear ? TRANSPARENT : OPAQUE);
        FBrushValid = true;
    }
}

void TCanvas::FontChanged(TObject*) { FFontValid = false; }
void TCanvas::PenChanged(TObject*) { FPenValid = false; }
void TCanvas::BrushChanged(TObject*) { FBrushValid = false; }

void TCanvas::Changing()
{
    if (OnChanging) OnChanging(this);
}

void TCanvas::Changed()
{
    if (OnChange) OnChange(this);
}

void TCanvas::Refresh()
{
    if (FHandle) DeselectHandles();
}

TPoint TCanvas::PenPos()
{
    POINT P;
    GetCurrentPositionEx(Handle(), &P);
    return P;
}

void TCanvas::SetPenPos(TPoint P) { MoveToEx(Handle(), P.X, P.Y, nullptr); }

TRect TCanvas::ClipRect()
{
    RECT R;
    GetClipBox(Handle(), &R);
    return R;
}

TColor TCanvas::Pixels(int X, int Y) { return TColor(GetPixel(Handle(), X, Y)); }

void TCanvas::SetPixels(int X, int Y, TColor C)
{
    Changing();
    SetPixel(Handle(), X, Y, COLORREF(ColorToRGB(C)));
    Changed();
}

void TCanvas::Lock()
{
    FLock.Enter();
    ++FLockCount;
}

bool TCanvas::TryLock()
{
    if (!FLock.TryEnter()) return false;
    ++FLockCount;
    return true;
}

void TCanvas::Unlock()
{
    --FLockCount;
    FLock.Leave();
}

// ---- drawing ---------------------------------------------------------------------------------

void TCanvas::MoveTo(int X, int Y) { MoveToEx(Handle(), X, Y, nullptr); }

void TCanvas::LineTo(int X, int Y)
{
    Changing();
    RequireObjects();
    ::LineTo(FHandle, X, Y);
    Changed();
}

void TCanvas::Polyline(const std::vector<TPoint>& Points)
{
    Changing();
    RequireObjects();
    if (Points.size() >= 2) ::Polyline(FHandle, Points.data(), int(Points.size()));
    Changed();
}

void TCanvas::Polygon(const std::vector<TPoint>& Points)
{
    Changing();
    RequireObjects();
    if (Points.size() >= 2) ::Polygon(FHandle, Points.data(), int(Points.size()));
    Changed();
}

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2)
{
    Changing();
    RequireObjects();
    ::Rectangle(FHandle, X1, Y1, X2, Y2);
    Changed();
}

void TCanvas::RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3)
{
    Changing();
    RequireObjects();
    ::RoundRect(FHandle, X1, Y1, X2, Y2, X3, Y3);
    Changed();
}

void TCanvas::Ellipse(int X1, int Y1, int X2, int Y2)
{
    Changing();
    RequireObjects();
    ::Ellipse(FHandle, X1, Y1, X2, Y2);
    Changed();
}

void TCanvas::FillRect(const TRect& R)
{
    Changing();
    RequireObjects();
    ::FillRect(FHandle, &R, FBrush->Handle());
    Changed();
}

void TCanvas::FrameRect(const TRect& R)
{
    Changing();
    RequireObjects();
    ::FrameRect(FHandle, &R, FBrush->Handle());
    Changed();
}

void TCanvas::DrawFocusRect(const TRect& R)
{
    Changing();
    RequireObjects();
    ::DrawFocusRect(FHandle, &R);
    Changed();
}

void TCanvas::TextOut(int X, int Y, const String& Text)
{
    Changing();
    RequireObjects();
    ::TextOut(FHandle, X, Y, Text.data(), int(Text.size()));
    SIZE S;
    GetTextExtentPoint32(FHandle, Text.data(), int(Text.size()), &S);
    MoveToEx(FHandle, X + S.cx, Y, nullptr);
    Changed();
}

void TCanvas::TextRect(const TRect& R, int X, int Y, const String& Text)
{
    Changing();
    RequireObjects();
    int Saved = SaveDC(FHandle);
    if (FBrush->Style() != bsClear) ::FillRect(FHandle, &R, FBrush->Handle());
    IntersectClipRect(FHandle, R.Left, R.Top, R.Right, R.Bottom);
    int OldMode = SetBkMode(FHandle, TRANSPARENT);
    ::TextOut(FHandle, X, Y, Text.data(), int(Text.size()));
    SetBkMode(FHandle, OldMode);
    RestoreDC(FHandle, Saved);
    Changed();
}

TSize TCanvas::TextExtent(const String& Text)
{
    RequireObjects();
    SIZE S;
    GetTextExtentPoint32(FHandle, Text.data(), int(Text.size()), &S);
    return S;
}

void TCanvas::Draw(int X, int Y, TGraphic* Graphic)
{
    if (!Graphic || Graphic->Empty()) return;
    Changing();
    RequireObjects();
    Graphic->Draw(this, Bounds(X, Y, Graphic->Width(), Graphic->Height()));
    Changed();
}

void TCanvas::StretchDraw(const TRect& R, TGraphic* Graphic)
{
    if (!Graphic || Graphic->Empty()) return;
    Changing();
    RequireObjects();
    Graphic->Draw(this, R);
    Changed();
}

void TCanvas::CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source)
{
    if (!Canvas) return;
    Changing();
    RequireObjects();
    HDC Src = Canvas->Handle();
    StretchBlt(FHandle, Dest.Left, Dest.Top, Dest.Width(), Dest.Height(), Src, Source.Left, Source.Top,
               Source.Width(), Source.Height(), FCopyMode);
    Changed();
}

void Frame3D(TCanvas* Canvas, TRect& R, TColor TopColor, TColor BottomColor, int Width)
{
    if (!Canvas) return;
    Canvas->Pen()->SetWidth(1);
    --R.Bottom;
    --R.Right;
    for (; Width > 0; --Width) {
        Canvas->Pen()->SetColor(TopColor);
        Canvas->Polyline({{R.Left, R.Bottom}, {R.Left, R.Top}, {R.Right, R.Top}});
        Canvas->Pen()->SetColor(BottomColor);
        Canvas->Polyline({{R.Right, R.Top}, {R.Right, R.Bottom}, {R.Left - 1, R.Bottom}});
        ++R.Left;
        ++R.Top;
        --R.Right;
        --R.Bottom;
    }
    ++R.Bottom;
    ++R.Right;
}
