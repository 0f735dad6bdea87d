// TCustomEdit and TCustomMemo: the native edit (text, selection, single-level undo,
// clipboard, keys, mouse, caret, horizontal and vertical scrolling, painting) and the
// class library's properties over its messages.
#include <algorithm>
#include <cwctype>

#include "platform/forms/Clipbrd.h"
#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"
#include "platform/windows/Caret.h"

namespace {
constexpr uintptr_t AutoScrollTimer = 0xED17;

int CharClass(char32_t C)
{
    if (C == ' ' || C == '\t') return 0;
    if (C == '\n') return 3;
    if (C < 0x80 && !iswalnum(wint_t(C)) && C != '_') return 1;
    return 2;
}
}  // namespace

TCustomEdit::TCustomEdit(TComponent* AOwner) : TNativeControl(AOwner)
{
    FControlStyle = {csClickEvents, csSetCaption, csDoubleClicks, csFixedHeight};
    FWidth = 121;
    FHeight = 25;
    FTabStop = true;
    FColor = clWindow;
    FParentColor = false;
}

TCustomEdit::~TCustomEdit()
{
    if (FHasCaret) DestroyCaret();
}

void TCustomEdit::CreateParams(TCreateParams& P)
{
    TNativeControl::CreateParams(P);
    P.Style |= ES_AUTOHSCROLL | ES_AUTOVSCROLL;
    if (FMultiLine) P.Style |= ES_MULTILINE;
    if (FWantReturns && FMultiLine) P.Style |= ES_WANTRETURN;
    if (FBorderStyle == bsSingle) P.ExStyle |= WS_EX_CLIENTEDGE;
    if (FNativeReadOnly) P.Style |= ES_READONLY;
    if (!FHideSelection) P.Style |= ES_NOHIDESEL;
    if (FPasswordChar) P.Style |= ES_PASSWORD;
    if (FCharCase == ecUpperCase) P.Style |= ES_UPPERCASE;
    if (FCharCase == ecLowerCase) P.Style |= ES_LOWERCASE;
    P.Style |= FAlignment == taRightJustify ? ES_RIGHT : FAlignment == taCenter ? ES_CENTER : ES_LEFT;
    P.WindowClass.hCursor = LoadCursor(IDC_IBEAM);
}

void TCustomEdit::CreateWnd()
{
    TNativeControl::CreateWnd();
    Changed(false);
}

// ---- properties -----------------------------------------------------------------------------------
void TCustomEdit::SetBorderStyle(TBorderStyle V)
{
    if (FBorderStyle == V) return;
    FBorderStyle = V;
    RecreateWnd();
}

void TCustomEdit::SetCharCase(TEditCharCase V)
{
    if (FCharCase == V) return;
    FCharCase = V;
    if (V != ecNormal) {
        std::u32string T = CaseFold(FTextValue);
        if (T != FTextValue) {
            FTextValue = T;
            Changed();
        }
    }
}

void TCustomEdit::SetHideSelection(bool V)
{
    FHideSelection = V;
    InvalidateNative();
}

void TCustomEdit::SetMaxLength(int V) { Perform(EM_LIMITTEXT, WPARAM(std::max(0, V))); }
void TCustomEdit::SetReadOnly(bool V) { Perform(EM_SETREADONLY, V ? 1 : 0); }
void TCustomEdit::SetPasswordChar(char32_t V) { Perform(EM_SETPASSWORDCHAR, WPARAM(V)); }

void TCustomEdit::SetAlignment(TAlignment V)
{
    if (FAlignment == V) return;
    FAlignment = V;
    if (FHandle) {
        LONG_PTR S = GetWindowLong(FHandle, GWL_STYLE) & ~LONG_PTR(ES_CENTER | ES_RIGHT);
        S |= V == taRightJustify ? ES_RIGHT : V == taCenter ? ES_CENTER : ES_LEFT;
        SetWindowLong(FHandle, GWL_STYLE, S);
    }
    Changed(false);
}

bool TCustomEdit::CanUndo() { return Perform(EM_CANUNDO) != 0; }

int TCustomEdit::SelStart()
{
    DWORD S = 0, E = 0;
    Perform(EM_GETSEL, WPARAM(&S), LPARAM(&E));
    return int(S);
}

int TCustomEdit::SelLength()
{
    DWORD S = 0, E = 0;
    Perform(EM_GETSEL, WPARAM(&S), LPARAM(&E));
    return int(E) - int(S);
}

void TCustomEdit::SetSelStart(int V) { Perform(EM_SETSEL, WPARAM(V), LPARAM(V)); }

void TCustomEdit::SetSelLength(int V)
{
    int S = SelStart();
    Perform(EM_SETSEL, WPARAM(S), LPARAM(S + V));
}

String TCustomEdit::SelText()
{
    int S = SelStart(), L = SelLength();
    return Utf32ToUtf8(FTextValue.substr(size_t(S), size_t(L)));
}

void TCustomEdit::SetSelText(const String& V) { Perform(EM_REPLACESEL, 0, LPARAM(V.c_str())); }

void TCustomEdit::SelectAll() { Perform(EM_SETSEL, 0, -1); }

String TCustomEdit::GetText() const
{
    if (!FTextUtf8Valid) {
        std::u32string T;
        T.reserve(FTextValue.size() + (FMultiLine ? LineStarts().size() : 0));
        for (char32_t C : FTextValue) {
            if (C == '\n' && FMultiLine) T += U'\r';
            T += C;
        }
        FTextUtf8 = Utf32ToUtf8(T);
        FTextUtf8Valid = true;
    }
    return FTextUtf8;
}

void TCustomEdit::SetTextValue(const String& V) { Perform(WM_SETTEXT, 0, LPARAM(V.c_str())); }

void TCustomEdit::Change()
{
    if (OnChange) OnChange(this);
}

void TCustomEdit::DoEnter()
{
    if (FAutoSelect && !FMultiLine && !FControlState.Contains(csLButtonDown)) SelectAll();
    TNativeControl::DoEnter();
}

void TCustomEdit::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case CN_COMMAND:
        if (HIWORD(M.WParam) == EN_CHANGE) Change();
        return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE:
        // the native action first, then the class library's handlers and events
        MouseNative(M);
        break;
    case WM_MOUSEWHEEL:
        if (FMultiLine) {
            WheelNative(M);
            return;
        }
        break;
    }
    TNativeControl::Dispatch(M);
}

// A memo scrolls three lines a notch (after its OnMouseWheel, which may take the wheel).
void TCustomEdit::WheelNative(TMessage& M)
{
    TWMMouseWheel& W = MessageAs<TWMMouseWheel>(M);
    bool Handled = false;
    if (OnMouseWheel) OnMouseWheel(this, KeysToShiftState(WPARAM(W.Keys())), W.WheelDelta(), {W.XPos(), W.YPos()}, Handled);
    if (!Handled) Perform(EM_LINESCROLL, 0, -W.WheelDelta() * 3 / WHEEL_DELTA);
    M.Result = 1;
}

// ---- lines and geometry --------------------------------------------------------------------------------
// The start of every line, found once per text (a memo holding a long log asks often).
const std::vector<int>& TCustomEdit::LineStarts() const
{
    if (FLineStarts.empty()) {
        FLineStarts.push_back(0);
        if (FMultiLine)
            for (size_t I = 0; I < FTextValue.size(); ++I)
                if (FTextValue[I] == '\n') FLineStarts.push_back(int(I) + 1);
    }
    return FLineStarts;
}

int TCustomEdit::LineCount() const { return int(LineStarts().size()); }

int TCustomEdit::LineStart(int Line) const
{
    const std::vector<int>& S = LineStarts();
    if (Line <= 0) return 0;
    return Line < int(S.size()) ? S[size_t(Line)] : int(FTextValue.size());
}

int TCustomEdit::LineOf(int Index) const
{
    const std::vector<int>& S = LineStarts();
    Index = std::clamp(Index, 0, int(FTextValue.size()));
    return int(std::upper_bound(S.begin(), S.end(), Index) - S.begin()) - 1;
}

int TCustomEdit::ListedLineCount() const
{
    if (FTextValue.empty()) return 0;
    const int N = int(LineStarts().size());
    return EndsWithLineBreak() ? N - 1 : N;
}

int TCustomEdit::LineLength(int Line) const
{
    const std::vector<int>& S = LineStarts();
    if (Line < 0 || Line >= int(S.size())) return 0;
    int End = Line + 1 < int(S.size()) ? S[size_t(Line) + 1] - 1 : int(FTextValue.size());
    return End - S[size_t(Line)];
}

std::u32string TCustomEdit::Display() const
{
    if (!FPasswordChar) return FTextValue;
    std::u32string D;
    for (char32_t C : FTextValue) D += C == '\n' ? C : FPasswordChar;
    return D;
}

std::u32string TCustomEdit::LineDisplay(int Line) const
{
    std::u32string D = FTextValue.substr(size_t(LineStart(Line)), size_t(LineLength(Line)));
    if (FPasswordChar) std::fill(D.begin(), D.end(), FPasswordChar);
    return D;
}

std::u32string TCustomEdit::CaseFold(std::u32string T) const
{
    if (FCharCase == ecUpperCase)
        for (char32_t& C : T) C = char32_t(towupper(wint_t(C)));
    else if (FCharCase == ecLowerCase)
        for (char32_t& C : T) C = char32_t(towlower(wint_t(C)));
    return T;
}

const std::vector<int>& TCustomEdit::Positions(int Line)
{
    if (FPositionsFont != NativeFont()) {
        FPositions.clear();
        FPositionsFont = NativeFont();
        FMaxWidth = -1;
    }
    std::u32string D = LineDisplay(Line);
    std::vector<int>& P = FPositions[D];
    if (!P.empty()) return P;
    P.assign(D.size() + 1, 0);
    // The whole line is laid out once; every caret position comes from that one layout.
    String U = Utf32ToUtf8(D);
    if (!U.empty()) GetTextExtentExPoint(MeasureDC(), U.c_str(), int(U.size()), 0, nullptr, P.data() + 1, nullptr);
    return P;
}

int TCustomEdit::MaxLineWidth()
{
    if (FPositionsFont != NativeFont()) FMaxWidth = -1;
    if (FMaxWidth < 0) {
        int W = 0;
        for (int L = 0; L < LineCount(); ++L) W = std::max(W, Positions(L).back());
        FMaxWidth = W;
    }
    return FMaxWidth;
}

TRect TCustomEdit::FormatRect()
{
    if (FHasRect) return FRect;
    return ClientRect();
}

TPoint TCustomEdit::PosFromChar(int Index)
{
    Index = std::clamp(Index, 0, int(FTextValue.size()));
    int Line = LineOf(Index);
    const std::vector<int>& P = Positions(Line);
    TRect F = FormatRect();
    int Width = F.Width() - FLeftMargin - FRightMargin;
    int X = F.Left + FLeftMargin - FScrollX;
    if (!FMultiLine && P.back() < Width) {
        if (FAlignment == taRightJustify) X += Width - P.back();
        else if (FAlignment == taCenter) X += (Width - P.back()) / 2;
    }
    X += P[size_t(Index - LineStart(Line))];
    return {X, F.Top + (Line - FTopLine) * LineHeight()};
}

int TCustomEdit::CharFromPos(TPoint Pt)
{
    TRect F = FormatRect();
    int Line = FMultiLine ? std::clamp(FTopLine + (Pt.Y - F.Top) / LineHeight() - (Pt.Y < F.Top ? 1 : 0), 0,
                                       LineCount() - 1)
                          : 0;
    int Start = LineStart(Line);
    int X0 = PosFromChar(Start).X;
    const std::vector<int>& P = Positions(Line);
    int X = Pt.X - X0;
    size_t Best = 0;
    for (size_t I = 0; I < P.size(); ++I) {
        if (P[I] <= X) Best = I;
        else {
            if (I > 0 && X - P[I - 1] > P[I] - X) Best = I;
            break;
        }
    }
    return Start + int(Best);
}

void TCustomEdit::ScrollToCaret()
{
    if (!FHandle) return;
    TRect F = FormatRect();
    int Width = F.Width() - FLeftMargin - FRightMargin;
    int Line = LineOf(FCaret);
    const std::vector<int>& P = Positions(Line);
    int Cx = P[size_t(FCaret - LineStart(Line))];
    int TextWidth = MaxLineWidth();
    if (Width > 0) {
        if (TextWidth <= Width) FScrollX = 0;
        else if (Cx - FScrollX >= Width) FScrollX = std::min(Cx - Width + Width / 4, TextWidth - Width + 1);
        else if (Cx < FScrollX) FScrollX = std::max(0, Cx - Width / 4);
        FScrollX = std::clamp(FScrollX, 0, std::max(0, TextWidth - Width + 1));
    }
    if (FMultiLine) {
        int Visible = std::max(1, F.Height() / LineHeight());
        if (Line < FTopLine) FTopLine = Line;
        else if (Line >= FTopLine + Visible) FTopLine = Line - Visible + 1;
        FTopLine = std::clamp(FTopLine, 0, std::max(0, LineCount() - 1));
    }
    UpdateScrollState();
}

void TCustomEdit::UpdateScrollState()
{
    TRect F = FormatRect();
    int Width = std::max(0, F.Width() - FLeftMargin - FRightMargin);
    int TextWidth = MaxLineWidth();
    SetScrollState(SB_HORZ, 0, TextWidth, UINT(Width), FScrollX);
    if (FMultiLine) SetScrollState(SB_VERT, 0, LineCount() - 1, UINT(std::max(1, F.Height() / LineHeight())), FTopLine);
}

void TCustomEdit::UpdateCaret()
{
    if (!FHasCaret) return;
    TPoint P = PosFromChar(FCaret);
    SetCaretPos(P.X, P.Y);
}

void TCustomEdit::Changed(bool Notify)
{
    // every change of the text ends here: the line index and the widest line are redone;
    // widths of lines that were edited away are dropped once they pile up
    FLineStarts.clear();
    FTextUtf8Valid = false;
    FMaxWidth = -1;
    if (FPositions.size() > 2 * size_t(LineCount()) + 64) FPositions.clear();
    if (FHandle) ScrollToCaret();
    InvalidateNative();
    UpdateCaret();
    if (Notify) NotifyCommand(EN_CHANGE);
}

// ---- selection and changes ----------------------------------------------------------------------------
void TCustomEdit::SetSel(int Anchor, int Caret, bool Scroll)
{
    int N = int(FTextValue.size());
    Anchor = std::clamp(Anchor, 0, N);
    Caret = std::clamp(Caret, 0, N);
    if (Anchor == FAnchor && Caret == FCaret) return;
    FAnchor = Anchor;
    FCaret = Caret;
    FTyping = false;
    if (Scroll) ScrollToCaret();
    InvalidateNative();
    UpdateCaret();
}

void TCustomEdit::SaveUndo()
{
    FUndoText = FTextValue;
    FUndoAnchor = FAnchor;
    FUndoCaret = FCaret;
    FCanUndo = true;
}

bool TCustomEdit::Modify(const std::u32string& Text, bool Typing)
{
    if (!CanModify()) return false;
    std::u32string Insert;
    for (size_t I = 0; I < Text.size(); ++I) {
        char32_t C = Text[I];
        if (C == '\r' || C == '\n') {
            // a one-line edit keeps the first line of what is inserted
            if (!FMultiLine) break;
            if (C == '\r' && I + 1 < Text.size() && Text[I + 1] == '\n') ++I;
            C = '\n';
        }
        Insert += C;
    }
    Insert = CaseFold(Insert);
    int S = std::min(FAnchor, FCaret), E = std::max(FAnchor, FCaret);
    if (FMaxLength > 0) {
        int Room = FMaxLength - (int(FTextValue.size()) - (E - S));
        if (Room < int(Insert.size())) Insert.resize(size_t(std::max(0, Room)));
    }
    if (Insert.empty() && S == E) return false;
    bool Continue = Typing && FTyping && S == E;
    if (!Continue) SaveUndo();
    FTextValue.replace(size_t(S), size_t(E - S), Insert);
    FCaret = FAnchor = S + int(Insert.size());
    FTyping = Typing;
    FModified = true;
    Changed();
    return true;
}

void TCustomEdit::SetAllText(const std::u32string& T)
{
    std::u32string N;
    for (size_t I = 0; I < T.size(); ++I) {
        char32_t C = T[I];
        if (FMultiLine && C == '\r') {
            if (I + 1 < T.size() && T[I + 1] == '\n') ++I;
            C = '\n';
        }
        N += C;
    }
    FTextValue = N;
    FAnchor = FCaret = 0;
    FScrollX = 0;
    FTopLine = 0;
    FCanUndo = false;
    FTyping = false;
    FModified = false;
    Changed();
}

void TCustomEdit::AppendText(const String& Text)
{
    std::u32string U = Utf8ToUtf32(Text), N;
    for (size_t I = 0; I < U.size(); ++I) {
        char32_t C = U[I];
        if (FMultiLine && C == '\r') {
            if (I + 1 < U.size() && U[I + 1] == '\n') ++I;
            C = '\n';
        }
        N += C;
    }
    if (N.empty()) return;
    int Old = int(FTextValue.size());
    int FirstChanged = LineOf(Old);
    bool Known = !FLineStarts.empty(), Wide = FMaxWidth >= 0 && FPositionsFont == NativeFont();
    FTextValue += N;
    if (Known && FMultiLine) {
        for (size_t I = 0; I < N.size(); ++I)
            if (N[I] == '\n') FLineStarts.push_back(Old + int(I) + 1);
    } else {
        FLineStarts.clear();
    }
    if (FTextUtf8Valid) {
        std::u32string T;
        for (char32_t C : N) {
            if (C == '\n' && FMultiLine) T += U'\r';
            T += C;
        }
        FTextUtf8 += Utf32ToUtf8(T);
    }
    if (Wide && Known) {
        // lines only grow or are new: the widest is the old one or one of these
        for (int L = FirstChanged; L < LineCount(); ++L) FMaxWidth = std::max(FMaxWidth, Positions(L).back());
    } else {
        FMaxWidth = -1;
    }
    if (FPositions.size() > 2 * size_t(LineCount()) + 64) FPositions.clear();
    FAnchor = FCaret = int(FTextValue.size());
    FCanUndo = false;
    FTyping = false;
    FModified = false;
    if (FHandle) ScrollToCaret();
    InvalidateNative();
    UpdateCaret();
    NotifyCommand(EN_CHANGE);
    Perform(CM_TEXTCHANGED, 0, 0);
}

void TCustomEdit::Copy()
{
    if (FPasswordChar) return;
    int S = std::min(FAnchor, FCaret), E = std::max(FAnchor, FCaret);
    if (S == E) return;
    std::u32string T;
    for (int I = S; I < E; ++I) {
        if (FTextValue[size_t(I)] == '\n') T += U"\r\n";
        else T += FTextValue[size_t(I)];
    }
    Clipboard()->SetAsText(Utf32ToUtf8(T));
}

void TCustomEdit::Paste()
{
    if (!Clipboard()->HasFormat(CF_UNICODETEXT)) return;
    Modify(Utf8ToUtf32(Clipboard()->AsText()), false);
}

void TCustomEdit::UndoNative()
{
    if (!FCanUndo || !CanModify()) return;
    std::swap(FTextValue, FUndoText);
    std::swap(FAnchor, FUndoAnchor);
    std::swap(FCaret, FUndoCaret);
    // the text before the undo becomes what the next undo brings back
    FTyping = false;
    FModified = true;
    Changed();
}

int TCustomEdit::WordLeft(int I) const
{
    if (I <= 0) return 0;
    --I;
    while (I > 0 && CharClass(FTextValue[size_t(I)]) == 0) --I;
    int K = CharClass(FTextValue[size_t(I)]);
    while (I > 0 && CharClass(FTextValue[size_t(I - 1)]) == K && K != 3) --I;
    return I;
}

int TCustomEdit::WordRight(int I) const
{
    int N = int(FTextValue.size());
    if (I >= N) return N;
    int K = CharClass(FTextValue[size_t(I)]);
    ++I;
    if (K != 3)
        while (I < N && CharClass(FTextValue[size_t(I)]) == K) ++I;
    while (I < N && CharClass(FTextValue[size_t(I)]) == 0) ++I;
    return I;
}

void TCustomEdit::SelectWordAt(int I)
{
    int N = int(FTextValue.size());
    if (N == 0) return;
    int P = std::min(I, N - 1);
    if (P > 0 && I == N) P = N - 1;
    int K = CharClass(FTextValue[size_t(P)]);
    int S = P, E = P + 1;
    while (S > 0 && CharClass(FTextValue[size_t(S - 1)]) == K && K != 3) --S;
    while (E < N && CharClass(FTextValue[size_t(E)]) == K && K != 3) ++E;
    SetSel(S, E);
}

// ---- input ----------------------------------------------------------------------------------------------
void TCustomEdit::CharNative(char32_t C)
{
    switch (C) {
    case 1: SelectAll(); return;  // Ctrl+A, read-only or not
    case 3: Perform(WM_COPY); return;
    case 22: Perform(WM_PASTE); return;
    case 24: Perform(WM_CUT); return;
    case 26: Perform(WM_UNDO); return;
    case 8:
        if (!CanModify()) return;
        if (FAnchor == FCaret) {
            if (FCaret == 0) return;
            FAnchor = FCaret - 1;
        }
        Modify({}, false);
        return;
    case 13:
        if (FMultiLine && FWantReturns) Modify(U"\n", true);
        return;
    case 9:
        if (FMultiLine && FWantTabs) Modify(U"\t", true);
        return;
    }
    if (C < 32 || C == 127) return;
    Modify(std::u32string(1, C), true);
}

void TCustomEdit::KeyDownNative(WORD Key)
{
    bool Shift = KeyHeld(VK_SHIFT), Ctrl = KeyHeld(VK_CONTROL);
    int Sel0 = std::min(FAnchor, FCaret), Sel1 = std::max(FAnchor, FCaret);
    auto MoveTo = [&](int P) { SetSel(Shift ? FAnchor : P, P); };
    auto LineMove = [&](int Lines) {
        int Line = LineOf(FCaret);
        int Target = std::clamp(Line + Lines, 0, LineCount() - 1);
        TPoint P = PosFromChar(FCaret);
        TPoint Q = PosFromChar(LineStart(Target));
        MoveTo(CharFromPos({P.X, Q.Y + LineHeight() / 2}));
    };
    switch (Key) {
    case VK_LEFT:
        if (!Shift && Sel0 != Sel1) SetSel(Sel0, Sel0);
        else MoveTo(Ctrl ? WordLeft(FCaret) : FCaret - 1);
        break;
    case VK_RIGHT:
        if (!Shift && Sel0 != Sel1) SetSel(Sel1, Sel1);
        else MoveTo(Ctrl ? WordRight(FCaret) : FCaret + 1);
        break;
    case VK_UP:
        if (FMultiLine) LineMove(-1);
        else MoveTo(FCaret - 1);
        break;
    case VK_DOWN:
        if (FMultiLine) LineMove(1);
        else MoveTo(FCaret + 1);
        break;
    case VK_PRIOR:
    case VK_NEXT:
        if (FMultiLine) {
            int Page = std::max(1, FormatRect().Height() / LineHeight());
            LineMove(Key == VK_PRIOR ? -Page : Page);
        }
        break;
    case VK_HOME:
        MoveTo(Ctrl || !FMultiLine ? 0 : LineStart(LineOf(FCaret)));
        break;
    case VK_END:
        if (Ctrl || !FMultiLine) MoveTo(int(FTextValue.size()));
        else MoveTo(LineStart(LineOf(FCaret)) + LineLength(LineOf(FCaret)));
        break;
    case VK_DELETE:
        if (Shift) {
            Perform(WM_CUT);
        } else if (CanModify()) {
            if (FAnchor == FCaret) {
                if (FCaret >= int(FTextValue.size())) break;
                FAnchor = FCaret + 1;
            }
            Modify({}, false);
        }
        break;
    case VK_INSERT:
        if (Shift) Perform(WM_PASTE);
        else if (Ctrl) Perform(WM_COPY);
        break;
    }
}

void TCustomEdit::AutoScroll()
{
    if (!FDragging || !FHandle) return;
    TRect F = FormatRect();
    int Target = FCaret;
    if (FLastMouse.X < F.Left) Target = std::max(LineStart(LineOf(FCaret)), FCaret - 1);
    else if (FLastMouse.X >= F.Right) Target = std::min(LineStart(LineOf(FCaret)) + LineLength(LineOf(FCaret)), FCaret + 1);
    if (FMultiLine && (FLastMouse.Y < F.Top || FLastMouse.Y >= F.Bottom)) {
        int Line = std::clamp(LineOf(FCaret) + (FLastMouse.Y < F.Top ? -1 : 1), 0, LineCount() - 1);
        Target = std::min(LineStart(Line) + LineLength(Line), CharFromPos({FLastMouse.X, PosFromChar(LineStart(Line)).Y}));
    }
    SetSel(FAnchor, Target);
}

void TCustomEdit::MouseNative(TMessage& M)
{
    if (!FHandle) return;
    TPoint P = MessageAs<TWMMouse>(M).Pos();
    switch (M.Msg) {
    case WM_LBUTTONDOWN: {
        if (GetFocus() != FHandle) ::SetFocus(FHandle);
        int I = CharFromPos(P);
        SetSel(KeyHeld(VK_SHIFT) ? FAnchor : I, I);
        FDragging = true;
        FLastMouse = P;
        SetCapture(FHandle);
        break;
    }
    case WM_LBUTTONDBLCLK:
        if (GetFocus() != FHandle) ::SetFocus(FHandle);
        SelectWordAt(CharFromPos(P));
        break;
    case WM_MOUSEMOVE:
        if (FDragging) {
            FLastMouse = P;
            TRect F = FormatRect();
            bool Outside = P.X < F.Left || P.X >= F.Right || (FMultiLine && (P.Y < F.Top || P.Y >= F.Bottom));
            if (Outside) {
                SetTimer(FHandle, AutoScrollTimer, 50);
                AutoScroll();
            } else {
                KillTimer(FHandle, AutoScrollTimer);
                SetSel(FAnchor, CharFromPos(P));
            }
        }
        break;
    case WM_LBUTTONUP:
        if (FDragging) {
            FDragging = false;
            KillTimer(FHandle, AutoScrollTimer);
            if (GetCapture() == FHandle) ReleaseCapture();
        }
        break;
    }
}

LRESULT TCustomEdit::NativeDlgCode()
{
    LRESULT R = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
    if (FHandle && (GetWindowLong(FHandle, GWL_STYLE) & ES_MULTILINE)) R |= DLGC_WANTALLKEYS;
    if (FMultiLine && FWantTabs) R |= DLGC_WANTTAB;
    return R;
}

// ---- the native edit's messages ---------------------------------------------------------------------------
bool TCustomEdit::NativeProc(TMessage& M)
{
    switch (M.Msg) {
    case WM_SETTEXT:
        SetAllText(Utf8ToUtf32(M.LParam ? reinterpret_cast<const char*>(M.LParam) : ""));
        M.Result = 1;
        return true;
    case WM_GETTEXT: {
        String T = GetText();
        if (!M.WParam || !M.LParam) {
            M.Result = 0;
            return true;
        }
        size_t N = std::min(T.size(), size_t(M.WParam) - 1);
        std::copy_n(T.data(), N, reinterpret_cast<char*>(M.LParam));
        reinterpret_cast<char*>(M.LParam)[N] = 0;
        M.Result = LRESULT(N);
        return true;
    }
    case WM_GETTEXTLENGTH:
        M.Result = LRESULT(GetText().size());
        return true;
    case WM_CHAR:
    case WM_IME_CHAR:
        CharNative(char32_t(M.WParam));
        return true;
    case WM_KEYDOWN:
        KeyDownNative(WORD(M.WParam));
        return true;
    case WM_CUT:
        if (CanModify() && !FPasswordChar && FAnchor != FCaret) {
            Copy();
            Modify({}, false);
        }
        return true;
    case WM_COPY: Copy(); return true;
    case WM_PASTE: Paste(); return true;
    case WM_CLEAR:
        if (FAnchor != FCaret) Modify({}, false);
        return true;
    case WM_UNDO:
    case EM_UNDO:
        UndoNative();
        M.Result = FCanUndo;
        return true;
    case EM_CANUNDO: M.Result = FCanUndo; return true;
    case EM_EMPTYUNDOBUFFER:
        FCanUndo = false;
        FUndoText.clear();
        return true;
    case EM_GETSEL: {
        DWORD S = DWORD(std::min(FAnchor, FCaret)), E = DWORD(std::max(FAnchor, FCaret));
        if (M.WParam) *reinterpret_cast<DWORD*>(M.WParam) = S;
        if (M.LParam) *reinterpret_cast<DWORD*>(M.LParam) = E;
        M.Result = LRESULT(MAKELPARAM(int(std::min<DWORD>(S, 0xFFFF)), int(std::min<DWORD>(E, 0xFFFF))));
        return true;
    }
    case EM_SETSEL: {
        int S = int(intptr_t(M.WParam)), E = int(M.LParam);
        int N = int(FTextValue.size());
        if (S < 0) {
            SetSel(FCaret, FCaret);  // -1: no selection, the caret stays
        } else {
            if (E < 0 || E > N) E = N;
            SetSel(std::min(S, N), E);
        }
        return true;
    }
    case EM_REPLACESEL:
        Modify(Utf8ToUtf32(M.LParam ? reinterpret_cast<const char*>(M.LParam) : ""), false);
        if (!M.WParam) FCanUndo = false;
        return true;
    case EM_LIMITTEXT:
        FMaxLength = int(M.WParam);
        return true;
    case EM_GETLIMITTEXT: M.Result = FMaxLength ? FMaxLength : 0x7FFFFFFE; return true;
    case EM_SETREADONLY:
        FNativeReadOnly = M.WParam != 0;
        if (FHandle) {
            LONG_PTR S = GetWindowLong(FHandle, GWL_STYLE);
            SetWindowLong(FHandle, GWL_STYLE, FNativeReadOnly ? (S | ES_READONLY) : (S & ~LONG_PTR(ES_READONLY)));
        }
        InvalidateNative();
        M.Result = 1;
        return true;
    case EM_SETPASSWORDCHAR:
        FPasswordChar = char32_t(M.WParam);
        Changed(false);
        return true;
    case EM_GETPASSWORDCHAR: M.Result = LRESULT(FPasswordChar); return true;
    case EM_GETMODIFY: M.Result = FModified; return true;
    case EM_SETMODIFY: FModified = M.WParam != 0; return true;
    case EM_SETMARGINS:
        if (M.WParam & EC_LEFTMARGIN) FLeftMargin = M.WParam == EC_USEFONTINFO ? 1 : LOWORD(uintptr_t(M.LParam));
        if (M.WParam & EC_RIGHTMARGIN) FRightMargin = M.WParam == EC_USEFONTINFO ? 1 : HIWORD(uintptr_t(M.LParam));
        Changed(false);
        return true;
    case EM_GETMARGINS: M.Result = MAKELPARAM(FLeftMargin, FRightMargin); return true;
    case EM_SETRECT:
    case EM_SETRECTNP:
        if (M.LParam) {
            FRect = *reinterpret_cast<const TRect*>(M.LParam);
            FHasRect = true;
        } else {
            FHasRect = false;
        }
        if (FHandle) ScrollToCaret();
        UpdateCaret();
        if (M.Msg == EM_SETRECT) InvalidateNative();
        return true;
    case EM_GETRECT:
        if (M.LParam) *reinterpret_cast<TRect*>(M.LParam) = FormatRect();
        return true;
    case EM_GETLINECOUNT: M.Result = LineCount(); return true;
    case EM_LINEINDEX: {
        int L = int(intptr_t(M.WParam));
        if (L < 0) L = LineOf(FCaret);
        M.Result = L < LineCount() ? LineStart(L) : -1;
        return true;
    }
    case EM_LINELENGTH: {
        int I = int(intptr_t(M.WParam));
        M.Result = LineLength(LineOf(I < 0 ? FCaret : I));
        return true;
    }
    case EM_LINEFROMCHAR: {
        int I = int(intptr_t(M.WParam));
        M.Result = LineOf(I < 0 ? FCaret : I);
        return true;
    }
    case EM_GETFIRSTVISIBLELINE: M.Result = FTopLine; return true;
    case EM_LINESCROLL:
        if (FMultiLine) {
            FTopLine = std::clamp(FTopLine + int(M.LParam), 0, std::max(0, LineCount() - 1));
            UpdateScrollState();
            InvalidateNative();
            UpdateCaret();
        }
        M.Result = 1;
        return true;
    case EM_SCROLLCARET:
        ScrollToCaret();
        InvalidateNative();
        UpdateCaret();
        return true;
    case EM_POSFROMCHAR: {
        TPoint P = PosFromChar(int(M.WParam));
        M.Result = MAKELPARAM(P.X, P.Y);
        return true;
    }
    case EM_CHARFROMPOS: {
        int I = CharFromPos(LParamToPoint(M.LParam));
        M.Result = MAKELPARAM(I, LineOf(I));
        return true;
    }
    case WM_VSCROLL:
        if (FMultiLine) {
            int Code = LOWORD(M.WParam), Page = std::max(1, FormatRect().Height() / LineHeight());
            int T = FTopLine;
            switch (Code) {
            case SB_LINEUP: --T; break;
            case SB_LINEDOWN: ++T; break;
            case SB_PAGEUP: T -= Page; break;
            case SB_PAGEDOWN: T += Page; break;
            case SB_THUMBPOSITION: case SB_THUMBTRACK: T = HIWORD(M.WParam); break;
            case SB_TOP: T = 0; break;
            case SB_BOTTOM: T = LineCount(); break;
            }
            FTopLine = std::clamp(T, 0, std::max(0, LineCount() - 1));
            UpdateScrollState();
            InvalidateNative();
            UpdateCaret();
        }
        return true;
    case WM_HSCROLL: {
        int Code = LOWORD(M.WParam), W = std::max(1, FormatRect().Width());
        int X = FScrollX;
        switch (Code) {
        case SB_LINELEFT: X -= 8; break;
        case SB_LINERIGHT: X += 8; break;
        case SB_PAGELEFT: X -= W; break;
        case SB_PAGERIGHT: X += W; break;
        case SB_THUMBPOSITION: case SB_THUMBTRACK: X = HIWORD(M.WParam); break;
        }
        const TScrollAxis& A = ScrollAxis(SB_HORZ);
        FScrollX = std::clamp(X, 0, std::max(0, A.MaxPos()));
        UpdateScrollState();
        InvalidateNative();
        UpdateCaret();
        return true;
    }
    case WM_SETFOCUS:
        if (FHandle) {
            CreateCaret(FHandle, nullptr, 1, LineHeight());
            FHasCaret = true;
            UpdateCaret();
            ShowCaret(FHandle);
            InvalidateNative();
        }
        NotifyCommand(EN_SETFOCUS);
        return true;
    case WM_KILLFOCUS:
        if (FHasCaret) {
            DestroyCaret();
            FHasCaret = false;
        }
        if (FDragging) {
            FDragging = false;
            if (FHandle) KillTimer(FHandle, AutoScrollTimer);
        }
        InvalidateNative();
        NotifyCommand(EN_KILLFOCUS);
        return true;
    case WM_TIMER:
        if (M.WParam == AutoScrollTimer) {
            AutoScroll();
            return true;
        }
        break;
    case WM_CAPTURECHANGED:
        if (FDragging && FHandle && reinterpret_cast<HWND>(M.LParam) != FHandle) {
            FDragging = false;
            KillTimer(FHandle, AutoScrollTimer);
        }
        return true;
    case WM_SIZE:
        if (FHandle) {
            ScrollToCaret();
            UpdateCaret();
        }
        return true;
    case WM_SETFONT:
        TNativeControl::NativeProc(M);
        FPositions.clear();
        FMaxWidth = -1;
        if (FHasCaret) {
            CreateCaret(FHandle, nullptr, 1, LineHeight());
            UpdateCaret();
            ShowCaret(FHandle);
        }
        if (FHandle) ScrollToCaret();
        return true;
    case WM_DESTROY:
        if (FHasCaret) {
            DestroyCaret();
            FHasCaret = false;
        }
        break;
    }
    return TNativeControl::NativeProc(M);
}

// ---- painting ------------------------------------------------------------------------------------------
void TCustomEdit::NativePaint(HDC DC)
{
    bool Own = FHandle && WindowFromDC(DC) == FHandle && FHasCaret;
    if (Own) HideCaret(FHandle);
    {
        TSaveDC Keep(DC);
        UINT Msg = (FNativeReadOnly || !Enabled()) ? CN_CTLCOLORSTATIC : CN_CTLCOLOREDIT;
        HBRUSH Brush = QueryColors(DC, Msg);
        TRect C = ClientRect();
        if (Brush && Brush != HBRUSH(GetStockObject(NULL_BRUSH))) FillRect(DC, &C, Brush);
        if (!Enabled()) SetTextColor(DC, GetSysColor(COLOR_GRAYTEXT));
        SelectObject(DC, NativeFont());
        TRect F = FormatRect();
        IntersectClipRect(DC, F.Left, F.Top, F.Right, F.Bottom);
        bool ShowSel = FAnchor != FCaret && (!FHideSelection || (FHandle && GetFocus() == FHandle));
        int S = std::min(FAnchor, FCaret), E = std::max(FAnchor, FCaret);
        std::u32string D = Display();
        int Lh = LineHeight();
        int Visible = FMultiLine ? F.Height() / Lh + 1 : 1;
        for (int Line = FTopLine; Line < std::min(LineCount(), FTopLine + Visible); ++Line) {
            int Start = LineStart(Line), Len = LineLength(Line);
            TPoint O = PosFromChar(Start);
            const std::vector<int>& P = Positions(Line);
            auto Out = [&](int A, int B) {
                if (B <= A) return;
                String T = Utf32ToUtf8(D.substr(size_t(Start + A), size_t(B - A)));
                TextOut(DC, O.X + P[size_t(A)], O.Y, T.c_str(), int(T.size()));
            };
            int A = std::clamp(S - Start, 0, Len), B = std::clamp(E - Start, 0, Len);
            if (!ShowSel || A == B) {
                Out(0, Len);
                continue;
            }
            Out(0, A);
            Out(B, Len);
            int Mode = GetBkMode(DC);
            COLORREF Bk = GetBkColor(DC), Fg = GetTextColor(DC);
            SetBkMode(DC, OPAQUE);
            SetBkColor(DC, GetSysColor(COLOR_HIGHLIGHT));
            SetTextColor(DC, GetSysColor(COLOR_HIGHLIGHTTEXT));
            Out(A, B);
            SetBkMode(DC, Mode);
            SetBkColor(DC, Bk);
            SetTextColor(DC, Fg);
        }
    }
    if (Own) ShowCaret(FHandle);
}

// ---- the memo -------------------------------------------------------------------------------------------
namespace {
// The lines of a memo's text.
class TMemoStrings : public TStrings {
public:
    explicit TMemoStrings(TCustomMemo* AMemo) : FMemo(AMemo) {}
    int Count() const override { return FMemo->ListedLineCount(); }
    String Strings(int I) const override
    {
        std::vector<String> L = Split();
        if (I < 0 || I >= int(L.size())) Error("List index out of bounds (%d)", I);
        return L[size_t(I)];
    }
    void SetStrings(int I, const String& S) override
    {
        std::vector<String> L = Split();
        if (I < 0 || I >= int(L.size())) Error("List index out of bounds (%d)", I);
        L[size_t(I)] = S;
        Join(L);
    }
    void Insert(int I, const String& S) override
    {
        if (I >= 0 && I == Count()) {
            FMemo->AppendLine(S);
            return;
        }
        std::vector<String> L = Split();
        if (I < 0 || I > int(L.size())) Error("List index out of bounds (%d)", I);
        L.insert(L.begin() + I, S);
        Join(L);
    }
    void Delete(int I) override
    {
        std::vector<String> L = Split();
        if (I < 0 || I >= int(L.size())) Error("List index out of bounds (%d)", I);
        L.erase(L.begin() + I);
        Join(L);
    }
    void Clear() override { FMemo->SetText(""); }
    String Text() const override { return FMemo->Text(); }
    void SetText(const String& T) override { FMemo->SetText(T); }

private:
    std::vector<String> Split() const
    {
        std::vector<String> L;
        String T = FMemo->Text();
        if (T.empty()) return L;
        size_t P = 0;
        for (;;) {
            size_t E = T.find("\r\n", P);
            if (E == String::npos) {
                L.push_back(T.substr(P));
                break;
            }
            L.push_back(T.substr(P, E - P));
            P = E + 2;
            if (P == T.size()) break;
        }
        return L;
    }
    void Join(const std::vector<String>& L)
    {
        String T;
        for (size_t I = 0; I < L.size(); ++I) T += (I ? "\r\n" : "") + L[I];
        Put(T);
    }
    void Put(const String& T)
    {
        FMemo->SetText(T);
        // the new end stays in view (a log shows its latest line)
        FMemo->Perform(EM_SETSEL, WPARAM(Utf8Length(FMemo->Text())), -1);
        FMemo->Perform(EM_SCROLLCARET);
    }
    TCustomMemo* FMemo;
};
}  // namespace

TCustomMemo::TCustomMemo(TComponent* AOwner) : TCustomEdit(AOwner), FLines(new TMemoStrings(this))
{
    FMultiLine = true;
    FWidth = 185;
    FHeight = 89;
    FAutoSelect = false;
    FControlStyle.Exclude(csFixedHeight);
}

TCustomMemo::~TCustomMemo() = default;

void TCustomMemo::AppendLine(const String& Line)
{
    // every added line ends with a line break, so that an empty line is a line too; a
    // text that does not end with one gets one first.  The remembered line starts grow
    // with the new text, so counting the lines does not read the whole text again.
    bool Open = ListedLineCount() > 0 && !EndsWithLineBreak();
    AppendText((Open ? "\r\n" : "") + Line + "\r\n");
}

// ---- the in-place editor ----------------------------------------------------------------------------
TCustomEdit* CreateInplaceEditor(TWinControl* Parent, TRect R, const String& Text, std::function<void(bool)> End)
{
    auto* E = new TEdit(Parent);
    E->SetBounds(R.Left, R.Top, R.Width(), R.Height());
    E->SetParent(Parent);
    E->SetText(Text);
    TWndMethod Old = E->WindowProc;
    E->WindowProc = [E, Old, End = std::move(End)](TMessage& M) {
        if (M.Msg == WM_GETDLGCODE) {
            Old(M);
            M.Result |= DLGC_WANTALLKEYS;
            return;
        }
        if (M.Msg == WM_KEYDOWN && (M.WParam == VK_RETURN || M.WParam == VK_ESCAPE)) {
            End(M.WParam == VK_RETURN);
            return;
        }
        if (M.Msg == WM_CHAR && (M.WParam == 13 || M.WParam == 27)) return;
        Old(M);
        if (M.Msg == WM_KILLFOCUS && E->Visible()) End(true);
    };
    E->SetFocus();
    E->SelectAll();
    return E;
}

void ReleaseInplaceEditor(TCustomEdit*& Editor)
{
    if (!Editor || Editor->Visible()) return;
    TCustomEdit* E = Editor;
    Editor = nullptr;
    delete E;
}
