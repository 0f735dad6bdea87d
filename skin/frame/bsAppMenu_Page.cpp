// The application menu's pages: a container whose children scroll vertically by two
// buttons in its non-client area, and the page that places itself in the menu's page
// area and paints its background from the menu's skin.
#include <algorithm>

#include "skin/frame/bsAppMenu.h"

namespace {
constexpr int ScrollButtonSize = 12;
constexpr uintptr_t ScrollTimerId = 1, WatchTimerId = 2;
constexpr UINT WatchInterval = 100;

// A canvas over a device context it does not own.
struct TDCCanvas {
    TCanvas C;
    explicit TDCCanvas(HDC DC) { C.SetHandle(DC); }
    ~TDCCanvas() { C.SetHandle(nullptr); }
};
}  // namespace

// ---- TbsAppMenuCustomPage ---------------------------------------------------------------------

TbsAppMenuCustomPage::TbsAppMenuCustomPage(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetBounds(Left(), Top(), 150, 30);
}

TbsAppMenuCustomPage::~TbsAppMenuCustomPage() = default;

void TbsAppMenuCustomPage::SetScrollOffset(int Value)
{
    if (Value >= 0) FScrollOffset = Value;
}

void TbsAppMenuCustomPage::SetScrollTimerInterval(int Value)
{
    if (Value >= 1) FScrollTimerInterval = Value;
}

void TbsAppMenuCustomPage::SetCanScroll(bool Value)
{
    if (FCanScroll == Value) return;
    FCanScroll = Value;
    if (!Value) {
        // Without scrolling the children go home and the buttons away.
        if (SPosition > 0) ScrollContent(-SPosition);
        SMax = SPosition = SPage = SOldPosition = FVSizeOffset = 0;
        SetButtonsVisible(false);
    } else
        GetScrollInfo();
}

void TbsAppMenuCustomPage::SetPosition(int Value)
{
    if (Value == SPosition) return;
    SPosition = Value;
    GetScrollInfo();
}

void TbsAppMenuCustomPage::UpDateSize() { SetBounds(Left(), Top(), Width(), Height()); }

void TbsAppMenuCustomPage::GetScrollInfo()
{
    if (!FStopScroll && FCanScroll) CalcScrollRange();
}

void TbsAppMenuCustomPage::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    const int OldHeight = Height();
    TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    FVSizeOffset = OldHeight != 0 && Height() > OldHeight ? Height() - OldHeight : 0;
    if (FCanScroll) GetScrollInfo();
}

void TbsAppMenuCustomPage::AdjustClientRect(TRect& Rect)
{
    TCustomControl::AdjustClientRect(Rect);
    if (FCanScroll) Rect = Bounds(0, -SPosition, ClientWidth(), MaxOf(SMax, ClientHeight()));
}

void TbsAppMenuCustomPage::CalcScrollRange()
{
    // The lowest edge of the visible children (it may lie above the client area while
    // the children are scrolled up); 0 without visible children.
    int B = 0;
    bool Any = false;
    for (int I = 0; I < ControlCount(); ++I) {
        TControl* C = Controls(I);
        if (!C->Visible()) continue;
        B = Any ? std::max(B, C->Top() + C->Height()) : C->Top() + C->Height();
        Any = true;
    }
    if (B == 0) {
        SetButtonsVisible(false);
        return;
    }
    int CH = ClientHeight();
    const int E = SPosition + B;
    if (CH >= E) {
        if (SPosition > 0) ScrollContent(-SPosition);
        FVSizeOffset = SOldPosition = SMax = SPage = SPosition = 0;
        SetButtonsVisible(false);
        return;
    }
    if (!Buttons[0].Visible) {
        SetButtonsVisible(true);
        // The buttons took their bands off the client area: measure it again, or the
        // first range would stop short of the end by their height.
        CH = ClientHeight();
    }
    const int P = SPosition;
    if (P > 0 && CH > B && FVSizeOffset > 0) {
        FVSizeOffset = std::min(FVSizeOffset, P);
        SMax = E - 1;
        SPosition = P - FVSizeOffset;
        SPage = CH;
        ScrollContent(-FVSizeOffset);
    } else if (FVSizeOffset == 0 && E - 1 < SMax && P > 0 && CH > B) {
        SMax = E - 1;
        SPosition = P - (CH - B);
        SPage = CH;
        ScrollContent(B - CH);
    } else {
        SMax = E - 1;
        SPage = CH;
    }
    FVSizeOffset = 0;
    SOldPosition = SPosition;
}

void TbsAppMenuCustomPage::ScrollContent(int Distance)
{
    if (Distance != 0) ScrollBy(0, -Distance);
}

void TbsAppMenuCustomPage::ScrollStep(bool Down)
{
    const int Step = FScrollOffset == 0 ? ClientHeight() : FScrollOffset;
    if (Down)
        SPosition = std::max(0, std::min(SPosition + Step, SMax - SPage + 1));
    else
        SPosition = std::max(0, SPosition - Step);
    if (SPosition == SOldPosition) {
        StopScrollTimer();
        return;
    }
    ScrollContent(SPosition - SOldPosition);
    SOldPosition = SPosition;
    CalcScrollRange();
}

void TbsAppMenuCustomPage::SetButtonsVisible(bool Value)
{
    if (Buttons[0].Visible == Value) return;
    Buttons[0].Visible = Buttons[1].Visible = Value;
    // The focused control inside the page keeps the focus across the new window.
    TWinControl* Keep = nullptr;
    if (TCustomForm* F = GetParentForm(this)) {
        TWinControl* A = F->ActiveControl();
        if (A && A->Focused() && (A->Parent() == this || (A->Parent() && A->Parent()->Parent() == this))) Keep = A;
    }
    FMouseIn = false;
    if (HandleAllocated()) {
        RecreateWnd();
        HandleNeeded();
    }
    if (Value && AppMenu) {
        Buttons[0].R = Rect(0, 0, Width(), ScrollButtonSize);
        Buttons[1].R = Rect(0, Height() - ScrollButtonSize, Width(), Height());
    }
    if (Keep && Keep->Visible() && !Keep->Focused() && Keep->CanFocus()) Keep->SetFocus();
}

void TbsAppMenuCustomPage::StartScrollTimer()
{
    if (!HandleAllocated()) return;
    KillTimer(Handle(), ScrollTimerId);
    SetTimer(Handle(), ScrollTimerId, UINT(FScrollTimerInterval), nullptr);
}

void TbsAppMenuCustomPage::StopScrollTimer()
{
    if (HandleAllocated()) KillTimer(Handle(), ScrollTimerId);
    TimerMode = 0;
}

void TbsAppMenuCustomPage::ButtonDown(int Index)
{
    TimerMode = Index == 0 ? 1 : 2;
    StartScrollTimer();
}

void TbsAppMenuCustomPage::ButtonUp(int Index)
{
    StopScrollTimer();
    ScrollStep(Index == 1);
}

void TbsAppMenuCustomPage::MouseEnterPage()
{
    FMouseIn = true;
    if (FCanScroll && HasScrollButtons() && HandleAllocated()) {
        KillTimer(Handle(), WatchTimerId);
        SetTimer(Handle(), WatchTimerId, WatchInterval, nullptr);
    }
}

void TbsAppMenuCustomPage::MouseLeavePage()
{
    FMouseIn = false;
    if (!FCanScroll) return;
    if (HandleAllocated() && WindowFromPoint(GetCursorPos()) == Handle()) return;
    for (TScrollButton& B : Buttons)
        if (B.Visible && B.MouseIn) {
            if (TimerMode != 0) StopScrollTimer();
            B.MouseIn = false;
            RepaintNC();
        }
}

void TbsAppMenuCustomPage::RepaintNC()
{
    if (HandleAllocated()) SendMessage(Handle(), WM_NCPAINT, 0, 0);
}

// ---- the scroll buttons' looks --------------------------------------------------------------

void TbsAppMenuCustomPage::DrawScrollButton(TCanvas* Cnvs, int Index)
{
    const TScrollButton& Btn = Buttons[Index];
    const TRect R = Btn.R;
    if (R.IsEmpty()) return;
    TBitmap B;
    B.SetSize(R.Width(), R.Height());
    const bool Pressed = (Btn.Down && Btn.MouseIn) || (Btn.MouseIn && FHotScroll);
    TColor ArrowColor = clBtnText;
    TbsDataSkinButtonControl* Rec = nullptr;
    TBitmap* Pic = nullptr;
    if (AppMenu) {
        AppMenu->GetSkinData();
        TbsSkinData* SD = AppMenu->SkinData();
        if (AppMenu->FIndex != -1 && SD) {
            const int I = SD->GetControlIndex("resizetoolbutton");
            if (I != -1) Rec = dynamic_cast<TbsDataSkinButtonControl*>(SD->CtrlList[size_t(I)].get());
            if (Rec) Pic = SD->ActivePicture(Rec->PictureIndex);
            if (Pic && Pic->Empty()) Pic = nullptr;
        }
    }
    if (Rec && Pic && !Rec->SkinRect.IsEmpty()) {
        TRect Src = Rec->SkinRect;
        ArrowColor = Rec->FontColor;
        if (Pressed && !Rec->DownSkinRect.IsEmpty()) {
            Src = Rec->DownSkinRect;
            ArrowColor = Rec->DownFontColor;
        } else if (Btn.MouseIn && !Rec->ActiveSkinRect.IsEmpty()) {
            Src = Rec->ActiveSkinRect;
            ArrowColor = Rec->ActiveFontColor;
        }
        const int DW = R.Width() - Rec->SkinRect.Width(), DH = R.Height() - Rec->SkinRect.Height();
        TRect Cl = Rec->ClRect;
        Cl.Right += DW;
        Cl.Bottom += DH;
        CreateSkinImage(Rec->LTPoint, Rec->RTPoint, Rec->LBPoint, Rec->RBPoint, Rec->ClRect, Rec->LTPoint,
                        Point(Rec->RTPoint.X + DW, Rec->RTPoint.Y), Point(Rec->LBPoint.X, Rec->LBPoint.Y + DH),
                        Point(Rec->RBPoint.X + DW, Rec->RBPoint.Y + DH), Cl, &B, Pic, Src, B.Width(), B.Height(),
                        true, Rec->LeftStretch, Rec->TopStretch, Rec->RightStretch, Rec->BottomStretch,
                        Rec->StretchEffect, Rec->StretchType);
    } else {
        TCanvas* C = B.Canvas();
        const bool Hot = Btn.MouseIn;
        C->Brush()->SetColor(Hot ? bsDefaultFrameColor : clBtnShadow);
        C->FillRect(Rect(0, 0, B.Width(), B.Height()));
        C->Brush()->SetColor(Pressed ? bsDefaultDownColor : Hot ? bsDefaultHotColor : clBtnFace);
        C->FillRect(Rect(1, 1, B.Width() - 1, B.Height() - 1));
    }
    DrawArrowImage(B.Canvas(), Rect(0, 0, B.Width(), B.Height()), ArrowColor, Index == 0 ? 3 : 4);
    Cnvs->Draw(R.Left, R.Top, &B);
}

void TbsAppMenuCustomPage::PaintButtonsTo(HDC DC)
{
    TDCCanvas C(DC);
    for (int I = 0; I < 2; ++I)
        if (Buttons[I].Visible) DrawScrollButton(&C.C, I);
}

// ---- messages ---------------------------------------------------------------------------------

void TbsAppMenuCustomPage::WndProc(TMessage& M)
{
    if (!FCanScroll) {
        TCustomControl::WndProc(M);
        return;
    }
    const bool Designing = ComponentState().Contains(csDesigning);
    switch (M.Msg) {
    case WM_WINDOWPOSCHANGED:
        if (HandleAllocated() && Align() == alNone) GetScrollInfo();
        break;
    case WM_NCHITTEST: {
        if (Designing) break;
        if (!FMouseIn) MouseEnterPage();
        const TPoint P = ScreenToClient(LParamToPoint(M.LParam));
        if (P.Y < 0 && Buttons[0].Visible) {
            M.Result = HTAPPMENUSCROLLUP;
            return;
        }
        if (P.Y > ClientHeight() && Buttons[1].Visible) {
            M.Result = HTAPPMENUSCROLLDOWN;
            return;
        }
        break;
    }
    case WM_NCMOUSEMOVE: {
        const int I = M.WParam == HTAPPMENUSCROLLUP ? 0 : M.WParam == HTAPPMENUSCROLLDOWN ? 1 : -1;
        if (I != -1 && !Buttons[I].MouseIn) {
            Buttons[I].MouseIn = true;
            Buttons[1 - I].MouseIn = false;
            RepaintNC();
            if (FHotScroll) {
                TimerMode = I + 1;
                StartScrollTimer();
            }
        }
        break;
    }
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK: {
        const int I = M.WParam == HTAPPMENUSCROLLUP ? 0 : M.WParam == HTAPPMENUSCROLLDOWN ? 1 : -1;
        if (I != -1) {
            Buttons[I].Down = true;
            RepaintNC();
            ButtonDown(I);
        }
        break;
    }
    case WM_NCLBUTTONUP: {
        const int I = M.WParam == HTAPPMENUSCROLLUP ? 0 : M.WParam == HTAPPMENUSCROLLDOWN ? 1 : -1;
        if (I != -1) {
            Buttons[I].Down = false;
            RepaintNC();
            ButtonUp(I);
        }
        break;
    }
    case WM_MOUSEMOVE:
        for (TScrollButton& B : Buttons)
            if (B.Visible && B.MouseIn) {
                if (TimerMode != 0) StopScrollTimer();
                B.MouseIn = false;
                RepaintNC();
                break;
            }
        break;
    }
    TCustomControl::WndProc(M);
}

void TbsAppMenuCustomPage::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case WM_SETCURSOR:
        if (FCanScroll) {
            const int Hit = LOWORD(M.LParam);
            if (Hit == HTAPPMENUSCROLLUP || Hit == HTAPPMENUSCROLLDOWN)
                M.LParam = (M.LParam & ~LPARAM(0xFFFF)) | HTCLIENT;
        }
        break;
    case WM_TIMER:
        TCustomControl::Dispatch(M);
        if (M.WParam == ScrollTimerId) {
            if (TimerMode == 1)
                ScrollStep(false);
            else if (TimerMode == 2)
                ScrollStep(true);
        } else if (M.WParam == WatchTimerId && HandleAllocated() && WindowFromPoint(GetCursorPos()) != Handle()) {
            KillTimer(Handle(), WatchTimerId);
            MouseLeavePage();
        }
        return;
    case WM_NCCALCSIZE: {
        TRect* R = M.WParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(M.LParam)->rgrc[0]
                            : reinterpret_cast<TRect*>(M.LParam);
        if (R) {
            if (Buttons[0].Visible) R->Top += ScrollButtonSize;
            if (Buttons[1].Visible) R->Bottom -= ScrollButtonSize;
            R->Bottom = std::max(R->Top, R->Bottom);
        }
        M.Result = 0;
        return;
    }
    case WM_NCPAINT:
        if (FCanScroll && HasScrollButtons() && HandleAllocated()) {
            HDC DC = GetWindowDC(Handle());
            PaintButtonsTo(DC);
            ReleaseDC(Handle(), DC);
        }
        return;
    case WM_SIZE:
        TCustomControl::Dispatch(M);
        if (AppMenu && FCanScroll && Buttons[0].Visible) {
            Buttons[0].R = Rect(0, 0, Width(), ScrollButtonSize);
            Buttons[1].R = Rect(0, Height() - ScrollButtonSize, Width(), Height());
            RepaintNC();
        }
        return;
    case PaintNonClientToDC:
        if (M.WParam && HasScrollButtons()) {
            PaintButtonsTo(reinterpret_cast<HDC>(M.WParam));
            M.Result = PaintNonClientToDCAnswer;
        } else
            M.Result = 0;
        return;
    case PaintNonClientToDCEx:
        if (M.LParam != PaintNonClientToDCExParam) break;
        if (M.WParam && HasScrollButtons()) PaintButtonsTo(reinterpret_cast<HDC>(M.WParam));
        M.Result = PaintNonClientToDCExParam;
        return;
    case WM_DESTROY:
        if (HandleAllocated()) {
            KillTimer(Handle(), ScrollTimerId);
            KillTimer(Handle(), WatchTimerId);
        }
        FMouseIn = false;
        break;
    }
    TCustomControl::Dispatch(M);
}

// ---- TbsAppMenuPage ---------------------------------------------------------------------------

TbsAppMenuPage::TbsAppMenuPage(TComponent* AOwner) : TbsAppMenuCustomPage(AOwner)
{
    FControlStyle.Include(csAcceptsControls);
    FControlStyle.Include(csNoDesignVisible);
}

TbsAppMenuPage::~TbsAppMenuPage() = default;

void TbsAppMenuPage::CreateParams(TCreateParams& Params)
{
    TbsAppMenuCustomPage::CreateParams(Params);
    Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TbsAppMenuPage::SetDefaultWidth(int Value)
{
    if (FDefaultWidth == Value) return;
    FDefaultWidth = Value;
    SetWidth(Value);
}

void TbsAppMenuPage::SetFirstActiveControl(TWinControl* Value)
{
    FFirstActiveControl = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsAppMenuPage::Notification(TComponent* AComponent, TOperation Operation)
{
    TbsAppMenuCustomPage::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FFirstActiveControl) FFirstActiveControl = nullptr;
}

void TbsAppMenuPage::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    if (!Parent() || !AppMenu) {
        TbsAppMenuCustomPage::SetBounds(ALeft, ATop, AWidth, AHeight);
        return;
    }
    TRect B;
    AppMenu->GetPageBounds(B);
    int W;
    if (AWidth > B.Width() || FDefaultWidth == 0)
        W = B.Width();
    else
        W = FDefaultWidth > 0 ? std::min(FDefaultWidth, B.Width()) : FDefaultWidth;
    W = std::max(W, 100);
    const int H = std::max(B.Height(), 100);
    TbsAppMenuCustomPage::SetBounds(B.Left, B.Top, W, H);
}

void TbsAppMenuPage::PaintBG(HDC DC)
{
    TDCCanvas CC(DC);
    TCanvas* C = &CC.C;
    TbsDataSkinAppMenu* D = nullptr;
    TBitmap* Pic = nullptr;
    if (AppMenu) {
        AppMenu->GetSkinData();
        D = AppMenu->FIndex != -1 ? AppMenu->FData : nullptr;
        Pic = D ? AppMenu->FDataPicture : nullptr;
    }
    TRect Part;
    if (D && Pic) {
        Part = D->ClRect;
        Part.Left += D->SkinRect.Left;
        Part.Right += D->SkinRect.Left;
        Part.Top += D->SkinRect.Top;
        Part.Bottom += D->SkinRect.Top;
    }
    // A client part that is empty or reaches outside the picture is no background.
    const bool Usable = D && Pic && !Part.IsEmpty() && Part.Left >= 0 && Part.Top >= 0 && Part.Right <= Pic->Width() &&
                        Part.Bottom <= Pic->Height();
    if (!Usable) {
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(clWindow);
        C->FillRect(Rect(0, 0, Width(), Height()));
        return;
    }
    TBitmap Piece;
    bsCopyPicturePart(&Piece, Pic, Part);
    bsFillWithPiece(C, &Piece, Rect(0, 0, Width(), Height()), D->StretchEffect && Width() > 0 && Height() > 0,
                    D->StretchType);
}

void TbsAppMenuPage::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case WM_SIZE:
        TbsAppMenuCustomPage::Dispatch(M);
        Invalidate();
        return;
    case WM_ERASEBKGND:
        if (M.WParam) PaintBG(reinterpret_cast<HDC>(M.WParam));
        M.Result = 1;
        return;
    }
    TbsAppMenuCustomPage::Dispatch(M);
}
