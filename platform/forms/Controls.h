// The control classes: TControl (geometry, looks, mouse, the message chain),
// TWinControl (a window of its own: focus, keys, children, alignment, painting),
// TCustomControl (paints on its canvas) and TGraphicControl (no window; paints on
// its parent's device context).
//
// Every message a control gets passes WindowProc (replaceable: a subclass saves the
// old one and calls it), then WndProc, then Dispatch, which calls the handler of the
// message's id, and last DefaultHandler (for windowed controls the window's default
// procedure).  Derived classes add handlers by overriding Dispatch (switch on the
// id, call the base for the rest) or WndProc.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/graphics/Gdi.h"
#include "platform/graphics/Graphics.h"
#include "platform/system/Classes.h"
#include "platform/windows/WinPaint.h"
#include "platform/windows/Windows.h"

class TWinControl;
class TCustomForm;
class TPopupMenu;
class TCanvas;
class TFont;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
enum TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = TSet<TAnchorKind>;
enum TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateItem>;
enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TControlStyleItem {
    csAcceptsControls, csCaptureMouse, csDesignInteractive, csClickEvents, csFramed, csSetCaption, csOpaque,
    csDoubleClicks, csFixedWidth, csFixedHeight, csNoDesignVisible, csReplicatable, csNoStdEvents,
    csDisplayDragImage, csReflector, csActionClient, csMenuEvents, csNeedsBorderPaint, csParentBackground
};
using TControlStyle = TSet<TControlStyleItem>;
enum TControlStateItem {
    csLButtonDown, csClicked, csPalette, csReadingState, csAlignmentNeeded, csFocusing, csCreating, csPaintCopy,
    csCustomPaint, csDestroyingHandle, csDocking
};
using TControlState = TSet<TControlStateItem>;
enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };
// How a control asks for the input method; kept for the forms that set it (the X input
// method serves every control alike).
enum TImeMode { imDisable, imClose, imOpen, imDontCare, imSAlpha, imAlpha, imHira, imSKata, imKata, imChinese,
                imSHanguel, imHanguel };
// Vertical placement of a label's text.
enum TTextLayout { tlTop, tlCenter, tlBottom };

using TCursor = int16_t;
constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4, crSize = -22,
                  crSizeNESW = -6, crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10,
                  crHourGlass = -11, crDrag = -12, crNoDrop = -13, crHSplit = -14, crVSplit = -15,
                  crMultiDrag = -16, crSQLWait = -17, crNo = -18, crAppStart = -19, crHelp = -20,
                  crHandPoint = -21, crSizeAll = -22;
HCURSOR CursorHandle(TCursor Cursor);


using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = std::function<void(TObject* Sender, WORD& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, char32_t& Key)>;
using TContextPopupEvent = std::function<void(TObject* Sender, TPoint MousePos, bool& Handled)>;
using TMouseWheelEvent = std::function<void(TObject* Sender, TShiftState Shift, int WheelDelta, TPoint MousePos, bool& Handled)>;
using TMouseWheelUpDownEvent = std::function<void(TObject* Sender, TShiftState Shift, TPoint MousePos, bool& Handled)>;

// Drag and drop inside the program.  A drag starts at BeginDrag (at once, or once the
// pointer has moved Threshold pixels from where it began) or, for a control whose DragMode
// is dmAutomatic, at a press of the left button that is then moved that far.  The control
// under the pointer hears of it through DragOver (entered, moved over, left) and says
// whether it would take it; the drag cursor (the source's DragCursor, crNoDrop where it
// would not) follows that answer.  Releasing the button over a control that takes it
// calls its DragDrop; Escape (or a loss of the capture) cancels.  Either way the source
// hears last, through EndDrag with the target (null when nothing took it).  Docking is
// not built: a control of kind dkDock starts no drag.
enum TDragMode { dmManual, dmAutomatic };
enum TDragKind { dkDrag, dkDock };
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };
class TDragObject;
// The pixels the pointer moves before a drag begun with BeginDrag(false) starts.
constexpr int DefaultDragThreshold = 5;
using TStartDragEvent = std::function<void(TObject* Sender, TDragObject*& DragObject)>;
using TDragOverEvent =
    std::function<void(TObject* Sender, TObject* Source, int X, int Y, TDragState State, bool& Accept)>;
using TDragDropEvent = std::function<void(TObject* Sender, TObject* Source, int X, int Y)>;
using TEndDragEvent = std::function<void(TObject* Sender, TObject* Target, int X, int Y)>;

// A control's touch settings: which gestures it would interpret itself.  Kept for the
// forms that set them; the X11 backend receives no touch input, so no touch or gesture
// event is ever raised.
enum TInteractiveGesture { igZoom, igPan, igRotate, igTwoFingerTap, igPressAndTap };
using TInteractiveGestures = TSet<TInteractiveGesture>;
class TTouchManager : public TPersistent {
public:
    TInteractiveGestures InteractiveGestures() const { return FInteractiveGestures; }
    void SetInteractiveGestures(TInteractiveGestures V) { FInteractiveGestures = V; }
    void Assign(TPersistent* ASource) override;

private:
    TInteractiveGestures FInteractiveGestures;
};

TShiftState KeysToShiftState(WPARAM Keys);
TShiftState KeyDataToShiftState(LPARAM KeyData);
TShiftState KeyboardShiftState();

// Size limits; 0 means no limit.
struct TSizeConstraints {
    int MinWidth = 0, MinHeight = 0, MaxWidth = 0, MaxHeight = 0;
};

struct TCreateParams {
    String Caption;
    DWORD Style = 0, ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr;
    void* Param = nullptr;
    WNDCLASS WindowClass;
    String WinClassName;
};

class TControl : public TComponent {
public:
    explicit TControl(TComponent* AOwner);
    ~TControl() override;

    // ---- tree and geometry
    TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* AParent);
    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetLeft(int V) { SetBounds(V, FTop, FWidth, FHeight); }
    void SetTop(int V) { SetBounds(FLeft, V, FWidth, FHeight); }
    void SetWidth(int V) { SetBounds(FLeft, FTop, V, FHeight); }
    void SetHeight(int V) { SetBounds(FLeft, FTop, FWidth, V); }
    TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
    void SetBoundsRect(const TRect& R) { SetBounds(R.Left, R.Top, R.Width(), R.Height()); }
    virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    virtual TRect ClientRect() const;
    int ClientWidth() const { return ClientRect().Width(); }
    int ClientHeight() const { return ClientRect().Height(); }
    void SetClientWidth(int V);
    void SetClientHeight(int V);
    virtual TPoint ClientOrigin() const;  // screen point of the client area's top-left
    TPoint ClientToScreen(TPoint P) const;
    TPoint ScreenToClient(TPoint P) const;
    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign V);
    TAnchors Anchors() const { return FAnchors; }
    void SetAnchors(TAnchors V);
    TSizeConstraints& Constraints() { return FConstraints; }
    void SetConstraints(const TSizeConstraints& C);
    bool AutoSize() const { return FAutoSize; }
    virtual void SetAutoSize(bool V);

    // ---- state and looks
    bool Visible() const { return FVisible; }
    void SetVisible(bool V);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool V);
    TColor Color() const { return FColor; }
    void SetColor(TColor V);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool V);
    // The control's own font (never null).  Changing it clears ParentFont; with
    // ParentFont set, the parent's font is copied in whenever it changes.
    TFont* Font() { return FFont; }
    void SetFont(TFont* V);
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool V);
    String Caption() const { return GetText(); }
    void SetCaption(const String& V) { SetText(V); }
    String Text() const { return GetText(); }
    void SetText(const String& V);
    const String& Hint() const { return FHint; }
    void SetHint(const String& V) { FHint = V; }
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool V);
    bool ParentShowHint() const { return FParentShowHint; }
    void SetParentShowHint(bool V);
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor V);
    TPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TPopupMenu* V);
    // Reading order and alignment of the control's text.  A control follows its parent's
    // mode while ParentBiDiMode is on; setting BiDiMode turns that off.
    TBiDiMode BiDiMode() const { return FBiDiMode; }
    void SetBiDiMode(TBiDiMode V);
    bool ParentBiDiMode() const { return FParentBiDiMode; }
    void SetParentBiDiMode(bool V);
    // Every mode but bdLeftToRight reads right to left; only bdRightToLeft also aligns
    // text to the right.
    bool UseRightToLeftReading() const { return FBiDiMode != bdLeftToRight; }
    bool UseRightToLeftAlignment() const { return FBiDiMode == bdRightToLeft; }
    // DrawText flags adjusted for the mode: with right-to-left alignment DT_RIGHT gives way
    // to left alignment and left-aligned text gets DT_RIGHT (centred text stays centred);
    // with right-to-left reading DT_RTLREADING is added.
    UINT DrawTextBiDiModeFlags(UINT Flags) const;
    UINT DrawTextBiDiModeFlagsReadingOnly() const { return UseRightToLeftReading() ? UINT(DT_RTLREADING) : 0u; }
    // Help topics are kept only: help opens the program's web page, not a help file.
    int HelpContext() const { return FHelpContext; }
    void SetHelpContext(int V) { FHelpContext = V; }
    TControlStyle ControlStyle() const { return FControlStyle; }
    void SetControlStyle(TControlStyle V) { FControlStyle = V; }
    TControlState ControlState() const { return FControlState; }
    void SetControlState(TControlState V) { FControlState = V; }
    bool MouseCapture() const;
    void SetMouseCapture(bool V);
    // Whether the control and all its parents are visible and it has a parent window.
    bool Showing() const;

    // ---- messages
    TWndMethod WindowProc;  // replaceable; calls WndProc by default
    LRESULT Perform(UINT Msg, WPARAM W = 0, LPARAM L = 0);
    virtual void WndProc(TMessage& Message);
    virtual void Dispatch(TMessage& Message);
    virtual void DefaultHandler(TMessage& Message);

    // ---- painting
    virtual void Invalidate();
    virtual void Update();
    virtual void Repaint();
    void Refresh() { Repaint(); }
    virtual void BringToFront();
    virtual void SendToBack();

    // ---- the frame of mind of a created form
    void Loaded() override;
    virtual bool IsAccel(WORD VK, const String& Str) const;

    // events
    TNotifyEvent OnClick, OnDblClick, OnResize, OnMouseEnter, OnMouseLeave;
    TMouseEvent OnMouseDown, OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TContextPopupEvent OnContextPopup;
    TMouseWheelEvent OnMouseWheel;
    TMouseWheelUpDownEvent OnMouseWheelDown, OnMouseWheelUp;
    // Where a wheel turn goes: the form hands it to its focused control, which sends
    // CM_MOUSEWHEEL (WParam and LParam as WM_MOUSEWHEEL's) up its parents until one
    // handles it.
    virtual void MouseWheelHandler(TMessage& Message);

    // ---- drag and drop
    TDragMode DragMode() const { return FDragMode; }
    void SetDragMode(TDragMode V) { FDragMode = V; }
    TDragKind DragKind() const { return FDragKind; }
    void SetDragKind(TDragKind V) { FDragKind = V; }
    TCursor DragCursor() const { return FDragCursor; }
    void SetDragCursor(TCursor V) { FDragCursor = V; }
    // The touch settings (made on first use); the setter copies them.
    TTouchManager* Touch();
    void SetTouch(TTouchManager* V) { Touch()->Assign(V); }
    // Begins a drag of this control: at once when Immediate, else once the pointer is
    // Threshold pixels (DefaultDragThreshold when negative) or more away from where it is
    // now along either axis.  Nothing happens while another drag is going on.
    void BeginDrag(bool Immediate, int Threshold = -1);
    // Ends this control's drag: dropped where the pointer is when Drop (if the control
    // there takes it), else cancelled.
    void EndDrag(bool Drop);
    // Whether this control's drag has begun (waiting for the threshold included).
    bool Dragging() const;
    // The drop: OnDragDrop.  X, Y are in this control's client coordinates.
    virtual void DragDrop(TObject* Source, int X, int Y);
    // OnStartDrag may hand out a drag object of its own (it stays the handler's); without
    // one the source control itself is the Source the targets see.
    TStartDragEvent OnStartDrag;
    // Accept starts true when the handler is set, false otherwise.
    TDragOverEvent OnDragOver;
    TDragDropEvent OnDragDrop;
    TEndDragEvent OnEndDrag;

    // Which control the mouse message points at (for windowed parents).
    virtual bool HasWindow() const { return false; }
    virtual void Click();
    virtual void DblClick();

protected:
    // Clears the link to the popup menu when the menu is freed first.
    void Notification(TComponent* AComponent, TOperation Operation) override;
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void Resize();
    virtual void Changed() {}
    virtual String GetText() const;
    virtual void SetTextValue(const String& V);  // stores the text (windowed controls: WM_SETTEXT)
    virtual void VisibleChanging() {}
    virtual void RequestAlign();
    virtual bool CanAutoSize(int& NewWidth, int& NewHeight);
    virtual void AdjustSize();
    virtual void ConstrainedResize(int& MinWidth, int& MinHeight, int& MaxWidth, int& MaxHeight);
    void ApplyConstraints(int& AWidth, int& AHeight);
    void SendCancelMode(TControl* Sender);
    void InvalidateControl(bool IsVisible, bool IsOpaque);
    void UpdateAnchorRules();
    void FontChanged();
    void ParentFontChanged();
    void ParentColorChanged();
    void ParentBiDiModeChanged();
    virtual bool DoContextPopup(TPoint MousePos);
    // OnMouseWheel, then one OnMouseWheelDown/Up per whole notch (120) turned; true when handled.
    virtual bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos);
    virtual bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos);
    virtual bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos);
    void CMMouseWheel(TMessage& M);
    // Drag and drop: whether this control takes Source at X, Y (OnDragOver); the start
    // (OnStartDrag) and end (OnEndDrag) of this control's own drag; the start of an
    // automatic drag after a press of the left button.
    virtual void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept);
    virtual void DoStartDrag(TDragObject*& DragObject);
    virtual void DoEndDrag(TObject* Target, int X, int Y);
    virtual void BeginAutoDrag();

    // message handlers
    void WMLButtonDown(TMessage& M);
    void WMRButtonDown(TMessage& M);
    void WMMButtonDown(TMessage& M);
    void WMLButtonUp(TMessage& M);
    void WMRButtonUp(TMessage& M);
    void WMMButtonUp(TMessage& M);
    void WMLButtonDblClk(TMessage& M);
    void WMMouseMove(TMessage& M);
    void WMContextMenu(TMessage& M);
    void CMMouseEnter(TMessage& M);
    void CMMouseLeave(TMessage& M);
    void CMHitTest(TMessage& M) { M.Result = 1; }
    void DoMouseDown(TMessage& M, TMouseButton Button, TShiftState Shift);
    void DoMouseUp(TMessage& M, TMouseButton Button);

    friend class TWinControl;
    friend class TApplication;
    friend class TCustomForm;
    friend class TDragSession;

    TWinControl* FParent = nullptr;
    int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    bool FVisible = true, FEnabled = true;
    TAlign FAlign = alNone;
    TAnchors FAnchors{akLeft, akTop};
    TSizeConstraints FConstraints;
    bool FAutoSize = false;
    TColor FColor = clWindow;
    bool FParentColor = true;
    TFont* FFont = nullptr;
    bool FParentFont = true;
    String FText;
    String FHint;
    bool FShowHint = false, FParentShowHint = true;
    TCursor FCursor = crDefault;
    TPopupMenu* FPopupMenu = nullptr;
    TBiDiMode FBiDiMode = bdLeftToRight;
    bool FParentBiDiMode = true;
    int FHelpContext = 0;
    TControlStyle FControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    TControlState FControlState;
    // anchors: the parent's client size and our bounds when they were last set by hand
    TSize FAnchorParentSize;
    TRect FAnchorBounds;
    bool FAnchorValid = false;
    bool FInSetBounds = false;
    int FWheelAccumulator = 0;
    TDragMode FDragMode = dmManual;
    TDragKind FDragKind = dkDrag;
    TCursor FDragCursor = crDrag;
    std::unique_ptr<TTouchManager> FTouch;
};

// What is dragged.  Made by an OnStartDrag handler that wants the targets to see
// something else than the source control; the drag fills in where it is.
class TDragObject : public TObject {
public:
    ~TDragObject() override = default;
    // The screen point the pointer is at, the control under it, whether the drag ended in
    // a drop and whether it is being cancelled.
    TPoint DragPos() const { return FDragPos; }
    TControl* DragTarget() const { return FDragTarget; }
    bool Dropped() const { return FDropped; }
    bool Cancelling() const { return FCancelling; }
    // The cursor shown over a control that would take the drag (Accepted) or not.
    virtual TCursor GetDragCursor(bool Accepted, int X, int Y);

private:
    friend class TDragSession;
    TPoint FDragPos;
    TControl* FDragTarget = nullptr;
    bool FDropped = false, FCancelling = false;
};

// The drag object of a control's drag when OnStartDrag gives none; the targets are
// handed the control.
class TDragControlObject : public TDragObject {
public:
    explicit TDragControlObject(TControl* AControl) : FControl(AControl) {}
    TControl* Control() const { return FControl; }
    TCursor GetDragCursor(bool Accepted, int X, int Y) override;

private:
    TControl* FControl;
};

// Cancels the drag going on, if any.
void CancelDrag();
// The drag object of the drag going on (null when none has started).
TDragObject* DragObject();

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* AOwner);
    ~TWinControl() override;

    // ---- the window
    HWND Handle();
    bool HandleAllocated() const { return FHandle != nullptr; }
    void HandleNeeded();
    HWND ParentWindow() const { return FParentWindow; }
    void SetParentWindow(HWND V);
    void RecreateWnd();
    void DestroyHandle();

    // ---- children
    int ControlCount() const { return int(FControls.size() + FWinControls.size()); }
    TControl* Controls(int Index) const;
    int ControlIndex(TControl* C) const;
    bool ContainsControl(TControl* C) const;
    TControl* ControlAtPos(TPoint Pos, bool AllowDisabled, bool AllowWinControls = false) const;
    void InsertControl(TControl* C);
    void RemoveControl(TControl* C);
    void Broadcast(TMessage& Message);
    void NotifyControls(UINT Msg);
    void DisableAlign();
    void EnableAlign();
    void Realign();
    virtual void AlignControls(TControl* AControl, TRect& Rect);
    virtual void AdjustClientRect(TRect& Rect);
    void ScrollBy(int DeltaX, int DeltaY);

    // ---- focus and tabs
    int TabOrder() const;
    void SetTabOrder(int V);
    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool V);
    TImeMode ImeMode() const { return FImeMode; }
    void SetImeMode(TImeMode V) { FImeMode = V; }
    const String& ImeName() const { return FImeName; }
    void SetImeName(const String& V) { FImeName = V; }
    virtual bool CanFocus() const;
    virtual bool Focused() const;
    virtual void SetFocus();
    void GetTabOrderList(std::vector<TWinControl*>& List);
    TWinControl* FindNextControl(TWinControl* Cur, bool GoForward, bool CheckTabStop, bool CheckParent);
    void SelectNext(TWinControl* Cur, bool GoForward, bool CheckTabStop);
    bool DoubleBuffered() const { return FDoubleBuffered; }
    void SetDoubleBuffered(bool V) { FDoubleBuffered = V; }

    TRect ClientRect() const override;
    TPoint ClientOrigin() const override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void Invalidate() override;
    void Update() override;
    void Repaint() override;
    bool HasWindow() const override { return true; }
    void BringToFront() override;
    void SendToBack() override;

    void WndProc(TMessage& Message) override;
    void Dispatch(TMessage& Message) override;
    void DefaultHandler(TMessage& Message) override;
    // The window procedure the window itself calls; exceptions go to the application.
    void MainWndProc(TMessage& Message);
    void PaintTo(HDC DC, int X, int Y);
    // Paints the control's own picture into DC (no children): painting a parent's
    // background into a child's canvas uses it.
    virtual void PaintWindow(HDC DC);

    TKeyEvent OnKeyDown, OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TNotifyEvent OnEnter, OnExit;

    // The control whose window is Wnd (nullptr for foreign windows).
    static TWinControl* FindControl(HWND Wnd);
    // Makes Wnd this control's window (its procedure becomes MainWndProc).
    void AttachHandle(HWND Wnd);

protected:
    virtual void CreateParams(TCreateParams& Params);
    virtual void CreateWnd();
    virtual void CreateWindowHandle(const TCreateParams& Params);
    virtual void DestroyWnd();
    virtual void CreateHandle();
    void PaintHandler(TMessage& M);
    void PaintControls(HDC DC, TControl* First);
    virtual void KeyDown(WORD& Key, TShiftState Shift);
    virtual void KeyUp(WORD& Key, TShiftState Shift);
    virtual void KeyPress(char32_t& Key);
    bool DoKeyDown(TMessage& M);
    bool DoKeyUp(TMessage& M);
    bool DoKeyPress(TMessage& M);
    void UpdateBounds();
    virtual void Resizing() {}
    bool CanAutoSize(int& NewWidth, int& NewHeight) override;
    void SetTextValue(const String& V) override;
    String GetText() const override;
    bool IsControlMouseMsg(TMessage& M);
    virtual void DoEnter();
    virtual void DoExit();

    // handlers
    void WMPaint(TMessage& M);
    void WMEraseBkgnd(TMessage& M);
    void WMSize(TMessage& M);
    void WMMove(TMessage& M);
    void WMWindowPosChanged(TMessage& M);
    void WMSetCursor(TMessage& M);
    void WMSetFocus(TMessage& M);
    void WMKillFocus(TMessage& M);
    void WMKeyDown(TMessage& M);
    void WMKeyUp(TMessage& M);
    void WMChar(TMessage& M);
    void CNKeyDown(TMessage& M);
    void CNChar(TMessage& M);
    void WMMouseWheel(TMessage& M);
    void WMNCDestroy(TMessage& M);
    void CMEnter(TMessage&) { DoEnter(); }
    void CMExit(TMessage&) { DoExit(); }
    void CMDialogKey(TMessage& M) { Broadcast(M); }
    void CMDialogChar(TMessage& M) { Broadcast(M); }
    void WMCommandLike(TMessage& M);  // WM_COMMAND/NOTIFY/DRAWITEM/CTLCOLOR reflected as CN_

    friend class TControl;
    friend class TCustomForm;
    friend class TApplication;

    HWND FHandle = nullptr;
    HWND FParentWindow = nullptr;
    WNDPROC FObjectInstance = nullptr;
    WNDPROC FDefWndProc = nullptr;
    std::vector<TControl*> FControls;     // without windows, z-order back to front
    std::vector<TWinControl*> FWinControls;  // with windows, z-order back to front
    std::vector<TWinControl*> FTabList;
    bool FTabStop = false;
    TImeMode FImeMode = imDontCare;
    String FImeName;
    bool FDoubleBuffered = false;
    int FAlignLevel = 0;
    bool FClicksDisabled = false;
    bool FShowing = false;
    bool FInAlign = false;
};

// A canvas that draws on a control.  While the control paints it is attached to the
// paint DC; at other times, drawing on it takes a DC of the control's window (for a
// windowless control its parent's, moved to the control's place and clipped to its
// bounds).  Such a DC is given back when the current window message has been
// handled (or by FreeHandle), which shows what was drawn.
class TControlCanvas : public TCanvas {
public:
    TControlCanvas() = default;
    ~TControlCanvas() override;
    TControl* Control() const { return FControl; }
    void SetControl(TControl* AControl);
    void FreeHandle();
    HWND WindowHandle() const { return FWindowHandle; }  // the window of a DC taken outside painting
    // Runs Paint with the canvas attached to DC (and PaintDC set to it).
    void PaintOn(HDC DC, HDC& PaintDC, const std::function<void()>& Paint);

protected:
    void CreateHandle() override;

private:
    TControl* FControl = nullptr;
    HDC FDeviceContext = nullptr;
    HWND FWindowHandle = nullptr;
};

// Gives back the DCs that control canvases took outside painting (all of them, or
// those over window Wnd).
void FreeDeviceContexts(HWND Wnd = nullptr);

// A windowed control that paints itself on its canvas.
class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* AOwner);
    ~TCustomControl() override;
    TCanvas* Canvas() { return FCanvas; }

    // The device context Paint draws into (null outside Paint).
    HDC PaintDC() const { return FPaintDC; }

protected:
    virtual void Paint() {}
    void PaintWindow(HDC DC) override;
    TControlCanvas* FCanvas = nullptr;
    HDC FPaintDC = nullptr;
};

// A control without a window; it paints on its parent's device context, moved to
// its place and clipped to its bounds.
class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* AOwner);
    ~TGraphicControl() override;
    TCanvas* Canvas() { return FCanvas; }
    void Dispatch(TMessage& Message) override;

    HDC PaintDC() const { return FPaintDC; }

protected:
    virtual void Paint() {}
    void WMPaint(TMessage& M);
    TControlCanvas* FCanvas = nullptr;
    HDC FPaintDC = nullptr;
};

// A component that fires OnTimer every Interval milliseconds while Enabled.
class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* AOwner);
    ~TTimer() override;
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool V);
    UINT Interval() const { return FInterval; }
    void SetInterval(UINT V);
    TNotifyEvent OnTimer;  // set it with SetOnTimer, so that the timer starts
    void SetOnTimer(TNotifyEvent E);

protected:
    virtual void Timer();

private:
    void UpdateTimer();
    HWND FWindow = nullptr;
    bool FEnabled = true;
    UINT FInterval = 1000;
};

// A hidden window whose messages go to Method (for components that need a window).
HWND AllocateHWnd(TWndMethod Method);
void DeallocateHWnd(HWND Wnd);

// The form that contains the control (nullptr when none).
TCustomForm* GetParentForm(TControl* Control);
// The control at the screen point (windowless children included), as the mouse sees it.
TControl* FindDragTarget(TPoint Pos, bool AllowDisabled);
TControl* FindControlAtWindow(HWND Wnd, TPoint Screen);
String StripHotkey(const String& Text);
// The size DrawText gives Text in Font within MaxWidth pixels (Format: DT_ flags).
TSize MeasureText(TFont* Font, const String& Text, int MaxWidth, UINT Format);
HWND GetDlgItemWindow(TWinControl* Parent, int Id);
bool IsAccelChar(WORD VK, const String& Str);  // Str has "&x" with x matching VK/char
