// The caret: inverted pixels in the owner's back buffer, blinking on a timer.
#include "platform/windows/Caret.h"

#include <vector>

#include "platform/graphics/DeviceContext.h"
#include "platform/windows/WinPaint.h"

namespace {

constexpr uintptr_t CaretTimerId = 0xCA7E7;
constexpr UINT BlinkTime = 530;

struct TDrawnPixel {
    int X, Y;
    uint32_t Value;  // what the pixel became
};

struct TCaret {
    HWND Owner = nullptr;
    int Width = 0, Height = 0;
    TPoint Pos;
    int HideCount = 1;
    bool Phase = false;  // the blink's "on" half
    PSurface Surface;
    std::vector<TDrawnPixel> Drawn;
} Caret;

void Erase()
{
    if (Caret.Surface) {
        for (const TDrawnPixel& P : Caret.Drawn)
            if (Caret.Surface->GetPixel(P.X, P.Y) == P.Value)
                Caret.Surface->SetPixel(P.X, P.Y, P.Value ^ 0x00FFFFFF);
    }
    bool Was = !Caret.Drawn.empty();
    Caret.Drawn.clear();
    Caret.Surface.reset();
    if (Was && IsWindow(Caret.Owner)) {
        // let the change reach the screen
        HDC DC = GetDC(Caret.Owner);
        ReleaseDC(Caret.Owner, DC);
    }
}

void Draw()
{
    if (!Caret.Drawn.empty() || !IsWindow(Caret.Owner) || Caret.Width <= 0 || Caret.Height <= 0) return;
    if (!IsWindowVisible(Caret.Owner)) return;
    HDC DC = GetDC(Caret.Owner);
    if (!DC) return;
    PSurface S = GetDCSurface(DC);
    if (S) {
        TPoint O = GetDCSurfaceOrigin(DC);
        TRegion Clip = GetDCEffectiveClip(DC);
        for (int Y = 0; Y < Caret.Height; ++Y)
            for (int X = 0; X < Caret.Width; ++X) {
                int SX = O.X + Caret.Pos.X + X, SY = O.Y + Caret.Pos.Y + Y;
                if (!Clip.Contains(SX, SY)) continue;
                uint32_t V = S->GetPixel(SX, SY) ^ 0x00FFFFFF;
                S->SetPixel(SX, SY, V);
                Caret.Drawn.push_back({SX, SY, S->GetPixel(SX, SY)});
            }
        Caret.Surface = S;
    }
    ReleaseDC(Caret.Owner, DC);
}

void Refresh()
{
    if (Caret.HideCount == 0 && Caret.Phase) Draw();
    else Erase();
}

void BlinkProc(HWND, UINT, uintptr_t, DWORD)
{
    if (!IsWindow(Caret.Owner)) {
        Caret = TCaret{};
        return;
    }
    Caret.Phase = !Caret.Phase;
    Refresh();
}

void RestartBlink()
{
    if (!IsWindow(Caret.Owner)) return;
    Caret.Phase = true;
    SetTimer(Caret.Owner, CaretTimerId, BlinkTime, &BlinkProc);
    Refresh();
}

}  // namespace

bool CreateCaret(HWND Wnd, HBITMAP, int Width, int Height)
{
    if (!IsWindow(Wnd)) return false;
    DestroyCaret();
    Caret.Owner = Wnd;
    Caret.Width = Width > 0 ? Width : 1;
    Caret.Height = Height > 0 ? Height : 1;
    Caret.HideCount = 1;
    Caret.Phase = true;
    return true;
}

bool DestroyCaret()
{
    if (!Caret.Owner) return false;
    Erase();
    if (IsWindow(Caret.Owner)) KillTimer(Caret.Owner, CaretTimerId);
    Caret = TCaret{};
    return true;
}

bool ShowCaret(HWND Wnd)
{
    if (!Caret.Owner || (Wnd && Wnd != Caret.Owner)) return false;
    if (Caret.HideCount == 0) return true;  // an unmatched show does nothing
    if (--Caret.HideCount == 0) RestartBlink();
    return true;
}

bool HideCaret(HWND Wnd)
{
    if (!Caret.Owner || (Wnd && Wnd != Caret.Owner)) return false;
    ++Caret.HideCount;
    Erase();
    return true;
}

bool SetCaretPos(int X, int Y)
{
    if (!Caret.Owner) return false;
    if (Caret.Pos == TPoint(X, Y)) return true;
    Erase();
    Caret.Pos = {X, Y};
    if (Caret.HideCount == 0) RestartBlink();
    return true;
}

bool GetCaretPos(TPoint* Point)
{
    if (!Point) return false;
    *Point = Caret.Pos;
    return Caret.Owner != nullptr;
}

UINT GetCaretBlinkTime() { return BlinkTime; }

TCaretInfo GetCaretInfo()
{
    TCaretInfo I;
    if (!IsWindow(Caret.Owner)) return I;
    I.Owner = Caret.Owner;
    I.Rect = Bounds(Caret.Pos.X, Caret.Pos.Y, Caret.Width, Caret.Height);
    I.HideCount = Caret.HideCount;
    I.Drawn = !Caret.Drawn.empty();
    return I;
}
