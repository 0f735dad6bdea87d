// The common ground of the standard controls.
//
// A standard control's own behaviour (what a native control's window procedure would
// do) runs in its default handling, that is after the replaceable WindowProc and the
// class library's handlers.  So a replaced WindowProc sees every message first and a
// message it swallows has no effect at all.  The item models live in the control
// object and work before the window exists (messages then go through Perform).
//
// Common native behaviour: the font given by WM_SETFONT, the scroll state without bars
// (CM_SCROLLSTATE, see ScrollInfo.h), a frame for WS_BORDER / WS_EX_CLIENTEDGE given
// by WM_NCCALCSIZE and painted by WM_NCPAINT (so that removing the styles removes the
// frame), colours asked with CN_CTLCOLOR... before drawing, and notifications sent
// to the control itself as CN_COMMAND / CN_NOTIFY (what the parent would reflect).
#pragma once

#include "platform/forms/Controls.h"
#include "platform/windows/CommCtrl.h"
#include "platform/windows/ScrollInfo.h"

class TNativeControl : public TWinControl {
public:
    explicit TNativeControl(TComponent* AOwner);
    ~TNativeControl() override;

    void DefaultHandler(TMessage& Message) override;
    // The font the window was given (WM_SETFONT), else the control's.
    HFONT NativeFont();
    const TScrollAxis& ScrollAxis(int Bar) const { return FScroll[Bar == SB_VERT ? 1 : 0]; }

protected:
    // The control's own window procedure: true when it handled the message.
    virtual bool NativeProc(TMessage& Message);
    // Paints the client area into DC (WM_PAINT).
    virtual void NativePaint(HDC DC);
    virtual LRESULT NativeDlgCode() { return DLGC_WANTARROWS; }
    // Sets the scroll state of one axis (no notification).
    void SetScrollState(int Bar, int Min, int Max, UINT Page, int Pos);
    // The frame width the window's styles ask for: 2 for WS_EX_CLIENTEDGE, 1 for WS_BORDER.
    int FrameWidth() const;
    // The colours of the text: asks CN_CTLCOLOR... (Msg) with DC and returns its brush.
    HBRUSH QueryColors(HDC DC, UINT Msg);
    // A device context for measuring text in the native font.
    HDC MeasureDC();
    int LineHeight();
    TSize TextSize(const String& Text);
    // Sends a notification as the parent would reflect it: CN_COMMAND with the code in
    // the high word, CN_NOTIFY with the record.
    LRESULT NotifyCommand(WORD Code);
    LRESULT NotifyRecord(NMHDR& Header, int Code);
    int ControlId() const;
    void InvalidateNative();

    TScrollAxis FScroll[2];
    HFONT FNativeFont = nullptr;

private:
    HDC FMeasureDC = nullptr;
    HFONT FMeasureFont = nullptr;
    HBRUSH FColorBrush = nullptr;
    TColor FBrushColor = clNone;
};

// The device-context state a painter changes, put back when it goes out of scope.
class TSaveDC {
public:
    explicit TSaveDC(HDC DC) : FDC(DC), FSaved(SaveDC(DC)) {}
    ~TSaveDC() { RestoreDC(FDC, FSaved); }
    TSaveDC(const TSaveDC&) = delete;
    TSaveDC& operator=(const TSaveDC&) = delete;

private:
    HDC FDC;
    int FSaved;
};

// Text folded to lower case character by character, for searches that ignore case.
String LowerText(const String& S);
// Whether a key is held down now.
inline bool KeyHeld(int VirtualKey) { return GetKeyState(VirtualKey) < 0; }

// Characters typed to find an item by the start of its text; forgotten after a second
// without typing.
class TTypeAhead {
public:
    // Adds C, typed at the message time Time, and gives the text to look for.  Again is
    // true when it continues earlier typing (the current item may still fit then).
    String Add(char32_t C, DWORD Time, bool& Again);

private:
    String FText;
    DWORD FTime = 0;
};

// Draws the text in R of DC, single line, clipped, vertically centred, with an ellipsis
// when it does not fit (the item text of lists, views and tabs).
void DrawItemText(HDC DC, const String& Text, TRect R, UINT Align = DT_LEFT);
// A 3-D frame like the classic sunken client edge.
void DrawEdgeFrame(HDC DC, TRect R, bool Sunken, int Width);
// Fills R with a solid colour.
void FillSolid(HDC DC, const TRect& R, TColor Color);
