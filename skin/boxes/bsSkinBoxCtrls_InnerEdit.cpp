// The inner edit: read-only filter, transparent off-screen painting, the skinned context
// menu and the hand-over of keys and cancel-mode notices to an owning control.
#include <algorithm>

#include "platform/forms/Clipbrd.h"
#include "platform/windows/Caret.h"
#include "skin/boxes/bsSkinBoxCtrls.h"
#include "skin/frame/bsSkinFormFrame.h"

TbsCustomEdit::TbsCustomEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner)
{
    FControlStyle.Include(csOpaque);
}

TbsCustomEdit::~TbsCustomEdit()
{
    delete FSysPopupMenu;
    FSysPopupMenu = nullptr;
}

void TbsCustomEdit::SetTransparentMode(bool Value)
{
    FEditTransparent = Value;
    RecreateWnd();
}

void TbsCustomEdit::CreateParams(TCreateParams& P)
{
    TCustomMaskEdit::CreateParams(P);
    P.Style &= ~WS_BORDER;
    P.ExStyle &= ~WS_EX_CLIENTEDGE;
    if (PasswordChar()) P.Style |= ES_PASSWORD;
    else P.Style |= ES_MULTILINE;
}

void TbsCustomEdit::Change()
{
    TCustomMaskEdit::Change();
    if (FEditTransparent) RePaintEdit();
}

// The picture of the edit: the background (WM_ERASEBKGND) and the text (WM_PAINT) into one
// memory bitmap one pixel larger than W x H, copied to Target in one transfer.
void TbsCustomEdit::PaintThrough(HDC Target, int W, int H)
{
    HDC Mem = CreateCompatibleDC(Target);
    HBITMAP Bmp = CreateCompatibleBitmap(Target, W + 1, H + 1);
    HGDIOBJ Old = SelectObject(Mem, Bmp);
    try {
        Perform(WM_ERASEBKGND, WPARAM(Mem), 0);
        Perform(WM_PAINT, WPARAM(Mem), 0);
        BitBlt(Target, 0, 0, W, H, Mem, 0, 0, SRCCOPY);
    } catch (...) {
        SelectObject(Mem, Old);
        DeleteObject(Bmp);
        DeleteDC(Mem);
        throw;
    }
    SelectObject(Mem, Old);
    DeleteObject(Bmp);
    DeleteDC(Mem);
}

void TbsCustomEdit::RePaintEdit()
{
    if (!HandleAllocated()) return;
    FStopDraw = true;
    HideCaret(FHandle);
    HDC DC = GetDC(FHandle);
    struct Restore {
        TbsCustomEdit* E;
        HDC DC;
        ~Restore()
        {
            ReleaseDC(E->FHandle, DC);
            ShowCaret(E->FHandle);
            E->FStopDraw = false;
        }
    } R{this, DC};
    PaintThrough(DC, Width(), Height());
}

void TbsCustomEdit::PaintEditToDC(HDC DC)
{
    if (!HandleAllocated()) return;
    bool Was = FStopDraw;
    FStopDraw = true;
    struct Restore {
        bool& F;
        bool V;
        ~Restore() { F = V; }
    } R{FStopDraw, Was};
    PaintThrough(DC, Width(), Height());
}

void TbsCustomEdit::EraseForPicture(HDC DC)
{
    TBitmap B;
    B.SetSize(Width(), Height());
    DrawParentBackground(this, B.Canvas());
    TCanvas C;
    C.SetHandle(DC);
    C.Draw(0, 0, &B);
    C.SetHandle(nullptr);
}

bool TbsCustomEdit::SelectionEmpty()
{
    DWORD S = 0, E = 0;
    Perform(EM_GETSEL, WPARAM(&S), LPARAM(&E));
    return !(S < E);
}

void TbsCustomEdit::WMChar(TMessage& M)
{
    char32_t Ch = char32_t(M.WParam);
    if (Ch == 27 || Ch == 13) {
        // never given to the native edit: the key press event, then the form's dialog keys
        char32_t K = Ch;
        if (OnKeyPress) OnKeyPress(this, K);
        if (TCustomForm* F = GetParentForm(this)) F->Perform(CM_DIALOGKEY, M.WParam, M.LParam);
        return;
    }
    // a read-only edit still copies (Ctrl+C) and selects all (Ctrl+A)
    if (FReadOnly && Ch != 3 && Ch != 1) return;
    TCustomMaskEdit::Dispatch(M);
    if (FEditTransparent) RePaintEdit();
}

void TbsCustomEdit::CreateSysPopupMenu()
{
    delete FSysPopupMenu;
    FSysPopupMenu = new TbsSkinPopupMenu(this);
    TCustomForm* Form = GetParentForm(this);
    TCustomForm* MenuForm = Form;
    if (Form && Form->FormStyle() == fsMDIChild && Application) MenuForm = Application->MainForm();
    FSysPopupMenu->SetComponentForm(MenuForm);

    // the captions come from the interface strings of the form frame's skin data
    TbsResourceStrData* Strings = nullptr;
    if (Form) {
        TbsSkinData* SD = nullptr;
        if (TbsSkinFormFrame* Frame = FindSkinFormComponent(Form)) SD = Frame->SkinData();
        if (SD) Strings = SD->ResourceStrData();
    }
    auto Caption = [&](const char* Key, const char* Fallback) -> String {
        return Strings ? Strings->GetResStr(Key) : String(Fallback);
    };

    DWORD S = 0, E = 0;
    Perform(EM_GETSEL, WPARAM(&S), LPARAM(&E));
    const bool HasSel = S < E;
    const bool All = S == 0 && int(E) == Utf8Length(Text());
    bool ClipText = false;
    if (Clipboard()->HasFormat(CF_TEXT)) ClipText = !Clipboard()->AsText().empty();

    struct Entry {
        const char* Key;
        const char* Fallback;
        UINT Msg;
        bool Enabled;
    };
    const Entry Items[] = {
        {"EDIT_UNDO", "Undo", WM_UNDO, Perform(EM_CANUNDO) != 0},
        {nullptr, "-", 0, true},
        {"EDIT_CUT", "Cut", WM_CUT, HasSel && !FReadOnly},
        {"EDIT_COPY", "Copy", WM_COPY, HasSel},
        {"EDIT_PASTE", "Paste", WM_PASTE, ClipText && !FReadOnly},
        {"EDIT_DELETE", "Delete", WM_CLEAR, HasSel && !FReadOnly},
        {nullptr, "-", 0, true},
        {"EDIT_SELECTALL", "Select All", EM_SETSEL, !All},
    };
    for (const Entry& I : Items) {
        auto* Item = new TMenuItem(FSysPopupMenu);
        if (!I.Key) {
            Item->SetCaption("-");
        } else {
            Item->SetCaption(Caption(I.Key, I.Fallback));
            Item->SetEnabled(I.Enabled);
            UINT Msg = I.Msg;
            Item->OnClick = [this, Msg](TObject*) {
                if (!HandleAllocated()) return;
                if (Msg == EM_SETSEL) SendMessage(FHandle, EM_SETSEL, 0, LPARAM(-1));
                else SendMessage(FHandle, Msg, 0, 0);
            };
        }
        FSysPopupMenu->Items()->Add(Item);
    }
}

void TbsCustomEdit::WMContextMenu(TMessage& M)
{
    if (PopupMenu()) {
        TCustomMaskEdit::Dispatch(M);
        return;
    }
    CreateSysPopupMenu();
    int X = int16_t(LOWORD(M.LParam)), Y = int16_t(HIWORD(M.LParam));
    if (X < 0 || Y < 0) {
        TPoint P = ClientToScreen(Point(0, 0));
        X = P.X + Width() / 2;
        Y = P.Y + Height() / 2;
    }
    FSysPopupMenu->PopupFromRect2(this, Rect(X, Y, X, Y), false);
}

void TbsCustomEdit::Dispatch(TMessage& M)
{
    const bool Live = FEditTransparent && !ComponentState().Contains(csDesigning);
    switch (M.Msg) {
    case WM_CHAR:
        WMChar(M);
        return;
    case WM_KEYDOWN:
        if (FReadOnly && M.WParam == VK_DELETE) return;
        break;
    case WM_CUT:
    case WM_PASTE:
    case WM_CLEAR:
    case WM_UNDO:
        if (FReadOnly) return;
        break;
    case WM_SETFONT:
        TCustomMaskEdit::Dispatch(M);
        Perform(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(2, 0));
        return;
    case WM_LBUTTONDOWN:
        TCustomMaskEdit::Dispatch(M);
        FDown = true;
        if (FEditTransparent) RePaintEdit();
        return;
    case WM_LBUTTONUP:
        TCustomMaskEdit::Dispatch(M);
        FDown = false;
        return;
    case WM_SETFOCUS:
        TCustomMaskEdit::Dispatch(M);
        if (FEditTransparent) RePaintEdit();
        if (AutoSelect()) SelectAll();
        return;
    case WM_KILLFOCUS:
        TCustomMaskEdit::Dispatch(M);
        if (FEditTransparent) RePaintEdit();
        return;
    case WM_CONTEXTMENU:
        WMContextMenu(M);
        return;
    case SkinMenuCommandDone:
        delete FSysPopupMenu;
        FSysPopupMenu = nullptr;
        return;
    case CM_CANCELMODE:
        TCustomMaskEdit::Dispatch(M);
        if (OnEditCancelMode) OnEditCancelMode(reinterpret_cast<TControl*>(M.LParam));
        return;
    case WM_ERASEBKGND:
        if (!Live) break;
        if (FStopDraw) {
            EraseForPicture(reinterpret_cast<HDC>(M.WParam));
        } else {
            RePaintEdit();
        }
        M.Result = 1;
        return;
    case WM_PAINT:
        if (!Live || FStopDraw) break;
        {
            HDC DC = reinterpret_cast<HDC>(M.WParam);
            PAINTSTRUCT PS;
            bool Began = false;
            if (!DC) {
                DC = BeginPaint(FHandle, &PS);
                Began = true;
            }
            if (DC) PaintEditToDC(DC);
            ShowCaret(FHandle);
            if (Began) EndPaint(FHandle, &PS);
        }
        M.Result = 0;
        return;
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORSTATIC:
        if (!Live) break;
        {
            HDC DC = reinterpret_cast<HDC>(M.WParam);
            SetBkMode(DC, TRANSPARENT);
            SetTextColor(DC, COLORREF(ColorToRGB(Font()->Color())));
            M.Result = LRESULT(GetStockObject(NULL_BRUSH));
        }
        return;
    }
    TCustomMaskEdit::Dispatch(M);
}
