// The standard controls: edit and memo, list box, combo box, buttons, check boxes,
// radio buttons and labels.  Each one's own behaviour (caret, selection, clipboard,
// keyboard, scrolling, painting) runs in its default handling (see NativeControl.h).
#pragma once

#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/forms/Forms.h"
#include "platform/forms/NativeControl.h"
#include "platform/graphics/ImgList.h"

enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

// ---------------------------------------------------------------------------------
// Edit

// The edit's text and selection, counted in characters (code points).
class TCustomEdit : public TNativeControl {
public:
    explicit TCustomEdit(TComponent* AOwner);
    ~TCustomEdit() override;

    bool AutoSelect() const { return FAutoSelect; }
    void SetAutoSelect(bool V) { FAutoSelect = V; }
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle V);
    TEditCharCase CharCase() const { return FCharCase; }
    void SetCharCase(TEditCharCase V);
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool V);
    int MaxLength() const { return FMaxLength; }  // 0: no limit
    void SetMaxLength(int V);
    bool ReadOnly() const { return FNativeReadOnly; }
    void SetReadOnly(bool V);
    char32_t PasswordChar() const { return FPasswordChar; }
    void SetPasswordChar(char32_t V);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment V);
    bool Modified() const { return FModified; }
    void SetModified(bool V) { FModified = V; }
    // Conversion through an OEM code page has no meaning with Unicode text: kept only.
    bool OEMConvert() const { return FOEMConvert; }
    void SetOEMConvert(bool V) { FOEMConvert = V; }
    bool CanUndo();

    int SelStart();
    void SetSelStart(int V);
    int SelLength();
    void SetSelLength(int V);
    String SelText();
    void SetSelText(const String& V);  // replaces the selection, as typing would
    void SelectAll();
    void ClearSelection() { Perform(WM_CLEAR); }
    void CopyToClipboard() { Perform(WM_COPY); }
    void CutToClipboard() { Perform(WM_CUT); }
    void PasteFromClipboard() { Perform(WM_PASTE); }
    void Undo() { Perform(WM_UNDO); }
    void ClearUndo() { Perform(EM_EMPTYUNDOBUFFER); }
    void Clear() { SetText(""); }

    TNotifyEvent OnChange;

    // The character index nearest to a client point, and the client point of a
    // character index (its left edge, top of its line).
    int CharFromPos(TPoint P);
    TPoint PosFromChar(int Index);

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& Message) override;
    bool NativeProc(TMessage& Message) override;
    void NativePaint(HDC DC) override;
    LRESULT NativeDlgCode() override;
    String GetText() const override;
    void SetTextValue(const String& V) override;
    virtual void Change();
    void DoEnter() override;
    // Text() + Text as a Text write would give it (new text, no undo, the caret at the
    // end, change notices), measuring only what is new: the memo adds lines this way.
    void AppendText(const String& Text);
    // The lines as a line list counts them (a final line break ends the last line, it
    // starts no empty one), and whether the text ends with a line break: both without
    // copying the text, so that a log adding line after line stays linear.
    int ListedLineCount() const;
    bool EndsWithLineBreak() const { return !FTextValue.empty() && FTextValue.back() == U'\n'; }

    // the memo sets it: lines, Enter and vertical movement
    bool FMultiLine = false;
    bool FWantReturns = true;
    bool FWantTabs = false;
    TScrollStyle FScrollBars = ssNone;
    bool FAutoSelect = true;

private:
    // the native edit
    bool Modify(const std::u32string& Insert, bool Typing);  // the one gate of every change
    bool CanModify() const { return !FNativeReadOnly; }
    void SetSel(int Anchor, int Caret, bool Scroll = true);
    void SetAllText(const std::u32string& T);
    void KeyDownNative(WORD Key);
    void CharNative(char32_t C);
    void MouseNative(TMessage& M);
    void WheelNative(TMessage& M);
    void Copy();
    void Paste();
    void UndoNative();
    void SaveUndo();
    std::u32string Display() const;
    std::u32string LineDisplay(int Line) const;  // one line as shown (password characters)
    std::u32string CaseFold(std::u32string T) const;
    const std::vector<int>& Positions(int Line);  // prefix widths of a line
    const std::vector<int>& LineStarts() const;
    int MaxLineWidth();
    int LineOf(int Index) const;
    int LineStart(int Line) const;
    int LineCount() const;
    int LineLength(int Line) const;
    TRect FormatRect();
    void ScrollToCaret();
    void UpdateCaret();
    void UpdateScrollState();
    void Changed(bool Notify = true);
    int WordLeft(int I) const;
    int WordRight(int I) const;
    void SelectWordAt(int I);
    void AutoScroll();

    std::u32string FTextValue;
    int FAnchor = 0, FCaret = 0;
    std::u32string FUndoText;
    int FUndoAnchor = 0, FUndoCaret = 0;
    bool FCanUndo = false;
    bool FTyping = false;  // the last change was typing at the caret (one undo step)
    bool FHideSelection = true, FNativeReadOnly = false, FModified = false, FOEMConvert = false;
    TBorderStyle FBorderStyle = bsSingle;
    TEditCharCase FCharCase = ecNormal;
    int FMaxLength = 0;
    char32_t FPasswordChar = 0;
    TAlignment FAlignment = taLeftJustify;
    int FLeftMargin = 1, FRightMargin = 1;
    TRect FRect;
    bool FHasRect = false;
    int FScrollX = 0;
    int FTopLine = 0;
    bool FDragging = false;
    bool FHasCaret = false;
    // Prefix widths by line text, so that an edit measures only the lines it changed
    // (a log that grows by a line measures one line); cleared with a new font.
    std::unordered_map<std::u32string, std::vector<int>> FPositions;
    HFONT FPositionsFont = nullptr;
    mutable std::vector<int> FLineStarts;  // empty when the text changed since
    mutable int FMaxWidth = -1;            // the widest line, -1 when not known
    mutable String FTextUtf8;              // Text() as given out, until the next change
    mutable bool FTextUtf8Valid = false;
    TPoint FLastMouse;
};

class TEdit : public TCustomEdit {
public:
    using TCustomEdit::TCustomEdit;
};

// An edit over part of Parent for changing a label in place: Enter ends it taking its
// text, Escape without, a loss of the focus taking it; End(Accept) is called each time.
// The control that made it hides it in End and frees it later with a posted
// CM_RELEASEEDITOR (its own messages may still be running).
TCustomEdit* CreateInplaceEditor(TWinControl* Parent, TRect R, const String& Text,
                                 std::function<void(bool Accept)> End);
constexpr UINT CM_RELEASEEDITOR = 0xB0E1;
// Frees Editor once it has been hidden (on the posted CM_RELEASEEDITOR) and clears it.
void ReleaseInplaceEditor(TCustomEdit*& Editor);

// The masked edit: an edit with an edit mask, which nothing here uses (so the mask is
// kept but not applied).
class TCustomMaskEdit : public TCustomEdit {
public:
    using TCustomEdit::TCustomEdit;
    const String& EditMask() const { return FEditMask; }
    void SetEditMask(const String& V) { FEditMask = V; }

private:
    String FEditMask;
};
class TMaskEdit : public TCustomMaskEdit {
public:
    using TCustomMaskEdit::TCustomMaskEdit;
};

// A multi-line edit whose Lines are the lines of its text.
class TCustomMemo : public TCustomEdit {
public:
    explicit TCustomMemo(TComponent* AOwner);
    ~TCustomMemo() override;
    TStrings* Lines() { return FLines.get(); }
    void SetLines(TStrings* V) { FLines->Assign(V); }
    // Lines.Add's way: the line after the last one, in view.
    void AppendLine(const String& Line);
    int ListedLineCount() const { return TCustomEdit::ListedLineCount(); }
    bool WantReturns() const { return FWantReturns; }
    void SetWantReturns(bool V) { FWantReturns = V; }
    bool WantTabs() const { return FWantTabs; }
    void SetWantTabs(bool V) { FWantTabs = V; }
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle V) { FScrollBars = V; }
    bool WordWrap() const { return false; }

private:
    std::unique_ptr<TStrings> FLines;
};
class TMemo : public TCustomMemo {
public:
    using TCustomMemo::TCustomMemo;
};

// ---------------------------------------------------------------------------------
// List box

enum TOwnerDrawStateItem {
    odSelected, odGrayed, odDisabled, odChecked, odFocused, odDefault, odHotLight, odInactive, odNoAccel,
    odNoFocusRect, odReserved1, odReserved2, odComboBoxEdit
};
using TOwnerDrawState = TSet<TOwnerDrawStateItem>;
enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable, lbVirtual, lbVirtualOwnerDraw };
using TDrawItemEvent = std::function<void(TWinControl* Control, int Index, TRect Rect, TOwnerDrawState State)>;
using TMeasureItemEvent = std::function<void(TWinControl* Control, int Index, int& Height)>;

// The list box: strings with an object each, single or multiple selection, fixed item
// heights, columns, type-ahead, owner drawing.  Adding, inserting and deleting go
// through the window procedure as LB_ADDSTRING, LB_INSERTSTRING and LB_DELETESTRING.
// Every change of the top index, the count or the size invalidates with erasing, so
// that WM_ERASEBKGND follows (an owner's cue to update its scroll bars).
class TCustomListBox : public TNativeControl {
public:
    explicit TCustomListBox(TComponent* AOwner);
    ~TCustomListBox() override;

    TStrings* Items() { return FItems.get(); }
    void SetItems(TStrings* V) { FItems->Assign(V); }
    int Count() const { return int(FList.size()); }
    // -1: none.  A write out of range selects nothing; it scrolls the item into view and
    // fires no Click.
    int ItemIndex();
    void SetItemIndex(int V);
    bool Selected(int Index);
    void SetSelected(int Index, bool V);
    // The number of selected items of a multiple-selection list; -1 for a single-selection list.
    int SelCount();
    bool MultiSelect() const { return FMultiSelect; }
    void SetMultiSelect(bool V);
    bool ExtendedSelect() const { return FExtendedSelect; }
    void SetExtendedSelect(bool V);
    bool Sorted() const { return FSorted; }
    void SetSorted(bool V);
    TListBoxStyle Style() const { return FStyle; }
    void SetStyle(TListBoxStyle V);
    int ItemHeight();
    void SetItemHeight(int V);  // values below 1 are ignored
    int Columns() const { return FColumns; }
    void SetColumns(int V);
    int TopIndex();
    void SetTopIndex(int V);
    int TabWidth() const { return FTabWidth; }
    void SetTabWidth(int V) { FTabWidth = V; Invalidate(); }
    bool AutoComplete() const { return FAutoComplete; }
    void SetAutoComplete(bool V) { FAutoComplete = V; }
    bool IntegralHeight() const { return FIntegralHeight; }
    void SetIntegralHeight(bool V) { FIntegralHeight = V; }
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle V);
    TRect ItemRect(int Index);
    // The item at a client point; with Existing, -1 beyond the last item, else Count.
    int ItemAtPos(TPoint Pos, bool Existing);
    void Clear() { FItems->Clear(); }
    void SelectAll();
    void ClearSelection();

    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;

    // The canvas while an item is drawn (CN_DRAWITEM).
    TCanvas* Canvas() { return FCanvas.get(); }

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& Message) override;
    bool NativeProc(TMessage& Message) override;
    void NativePaint(HDC DC) override;
    LRESULT NativeDlgCode() override { return DLGC_WANTARROWS | DLGC_WANTCHARS; }
    virtual void DrawItem(int Index, TRect Rect, TOwnerDrawState State);
    void CNDrawItem(TMessage& Message);

private:
    struct TItem {
        String Text;
        TObject* Object = nullptr;
        bool Selected = false;
    };
    friend class TListBoxStrings;
    int RowsPerColumn();
    int ItemsPerPage();
    int MaxTopIndex();
    int SetTop(int V);  // the native top index: clamped, erase on change
    void EnsureVisible(int Index);
    void SelectNative(int Index, bool Notify);
    void SelectRange(int From, int To);
    void KeyNative(WORD Key);
    void CharNative(char32_t C);
    void MouseNative(TMessage& M);
    int FindPrefix(int Start, const String& Prefix, bool Exact);
    void EraseChanged();
    void InvalidateItem(int Index);
    void UpdateScroll();
    bool Multi() const { return FMultiSelect; }

    std::vector<TItem> FList;
    std::unique_ptr<TStrings> FItems;
    std::unique_ptr<TCanvas> FCanvas;
    int FCurSel = -1;    // single selection
    int FCaretIndex = 0; // the focused item
    int FAnchorIndex = -1;
    int FTop = 0;
    int FItemHeight = 0;  // 0: from the font
    int FColumns = 0;
    int FTabWidth = 0;
    bool FMultiSelect = false, FExtendedSelect = true, FSorted = false, FAutoComplete = true,
         FIntegralHeight = false;
    TBorderStyle FBorderStyle = bsSingle;
    TListBoxStyle FStyle = lbStandard;
    bool FTracking = false, FPressedOnItem = false;
    TPoint FLastMouse;
    TTypeAhead FTypeAhead;
};

class TListBox : public TCustomListBox {
public:
    using TCustomListBox::TCustomListBox;
};

// ---------------------------------------------------------------------------------
// Combo box

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };

class TComboDropList;

// A combo box: an edit part (csDropDown) or a fixed text (csDropDownList) over a list of
// items that drops down in a popup that never takes the focus.  Up and Down change the
// item; F4 or Alt+Down drop the list.
class TCustomComboBox : public TNativeControl {
public:
    explicit TCustomComboBox(TComponent* AOwner);
    ~TCustomComboBox() override;
    TStrings* Items() { return FItems.get(); }
    void SetItems(TStrings* V) { FItems->Assign(V); }
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int V);  // no OnChange
    TComboBoxStyle Style() const { return FStyle; }
    void SetStyle(TComboBoxStyle V);
    bool Sorted() const { return FSorted; }
    void SetSorted(bool V);
    int DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int V) { FDropDownCount = std::max(1, V); }
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int V) { FMaxLength = std::max(0, V); }
    bool DroppedDown() const;
    void SetDroppedDown(bool V);
    int ItemHeight();
    void Clear();
    TNotifyEvent OnChange, OnDropDown, OnCloseUp, OnSelect;

protected:
    void CreateParams(TCreateParams& Params) override;
    void Dispatch(TMessage& Message) override;
    bool NativeProc(TMessage& Message) override;
    void NativePaint(HDC DC) override;
    LRESULT NativeDlgCode() override { return DLGC_WANTARROWS | DLGC_WANTCHARS; }
    String GetText() const override { return FEditText; }
    void SetTextValue(const String& V) override;
    virtual void Change();
    virtual void Select();

private:
    friend class TComboBoxStrings;
    friend class TComboDropList;
    void SelectNative(int Index, bool Notify);
    void CloseUp(bool Accept);
    TRect ButtonRect();

    std::unique_ptr<TStringList> FList;
    std::unique_ptr<TStrings> FItems;
    int FItemIndex = -1;
    String FEditText;
    TComboBoxStyle FStyle = csDropDown;
    bool FSorted = false;
    int FDropDownCount = 8;
    int FMaxLength = 0;
    TComboDropList* FDrop = nullptr;
};

class TComboBox : public TCustomComboBox {
public:
    using TCustomComboBox::TCustomComboBox;
};

// ---------------------------------------------------------------------------------
// Buttons, check boxes, radio buttons

class TButtonControl : public TNativeControl {
public:
    explicit TButtonControl(TComponent* AOwner);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool V) { FWordWrap = V; Invalidate(); }

protected:
    void Dispatch(TMessage& Message) override;
    bool NativeProc(TMessage& Message) override;
    // the native button's press: true while the pointer holds it down over the control
    bool FPressed = false, FTracking = false, FWordWrap = false;
    virtual void NativeClicked() {}
};

// A push button.  Click() works whether or not the button is enabled or visible (the
// program calls hidden buttons' handlers that way); it sets the form's ModalResult.
class TButton : public TButtonControl {
public:
    explicit TButton(TComponent* AOwner);
    bool Default() const { return FDefault; }
    void SetDefault(bool V);
    bool Cancel() const { return FCancel; }
    void SetCancel(bool V) { FCancel = V; }
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult V) { FModalResult = V; }
    void Click() override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void Dispatch(TMessage& Message) override;
    void NativePaint(HDC DC) override;
    LRESULT NativeDlgCode() override;
    void NativeClicked() override { NotifyCommand(BN_CLICKED); }

private:
    bool FDefault = false, FCancel = false;
    TModalResult FModalResult = mrNone;
};

class TCustomCheckBox : public TButtonControl {
public:
    explicit TCustomCheckBox(TComponent* AOwner);
    bool Checked() const { return FState == cbChecked; }
    void SetChecked(bool V) { SetState(V ? cbChecked : cbUnchecked); }
    TCheckBoxState State() const { return FState; }
    void SetState(TCheckBoxState V);
    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool V) { FAllowGrayed = V; }
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment V) { FAlignment = V; Invalidate(); }

protected:
    void CreateParams(TCreateParams& Params) override;
    void Dispatch(TMessage& Message) override;
    void NativePaint(HDC DC) override;
    void NativeClicked() override;
    virtual void Toggle();
    TCheckBoxState FState = cbUnchecked;
    bool FAllowGrayed = false;
    TAlignment FAlignment = taRightJustify;
};

class TCheckBox : public TCustomCheckBox {
public:
    using TCustomCheckBox::TCustomCheckBox;
};

// A radio button: checking it unchecks the radio buttons beside it (same parent).
class TRadioButton : public TButtonControl {
public:
    explicit TRadioButton(TComponent* AOwner);
    bool Checked() const { return FChecked; }
    void SetChecked(bool V);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment V) { FAlignment = V; Invalidate(); }

protected:
    void CreateParams(TCreateParams& Params) override;
    void Dispatch(TMessage& Message) override;
    void NativePaint(HDC DC) override;
    void NativeClicked() override;

private:
    bool FChecked = false;
    TAlignment FAlignment = taRightJustify;
};

// ---------------------------------------------------------------------------------
// Labels

class TCustomLabel : public TGraphicControl {
public:
    explicit TCustomLabel(TComponent* AOwner);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment V);
    TTextLayout Layout() const { return FLayout; }
    void SetLayout(TTextLayout V);
    bool Transparent() const { return !FControlStyle.Contains(csOpaque); }
    void SetTransparent(bool V);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool V);
    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool V);
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* V);
    void SetAutoSize(bool V) override;
    // Draws the caption into Rect with DrawText flags (DT_CALCRECT measures into Rect).
    virtual void DoDrawText(TRect& Rect, UINT Flags);
    // With AutoSize, fits the bounds to the caption (the right edge stays for right
    // alignment, the width stays with word wrap).
    virtual void AdjustBounds();

protected:
    void Paint() override;
    void Dispatch(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Loaded() override;
    String DisplayCaption() const;

private:
    TAlignment FAlignment = taLeftJustify;
    TTextLayout FLayout = tlTop;
    bool FWordWrap = false, FShowAccelChar = true;
    TWinControl* FFocusControl = nullptr;
};

class TLabel : public TCustomLabel {
public:
    using TCustomLabel::TCustomLabel;
};
