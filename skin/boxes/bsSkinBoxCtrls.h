// Skinned input boxes: the inner edit the skin suite builds its edits on, the skinned
// edit (frame in the non-client area, optional button and image buttons), and the
// skinned up-down pair of arrow buttons.
#pragma once

#include <functional>
#include <memory>

#include "platform/forms/StdCtrls.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/menus/bsSkinMenus.h"

using TbsOnEditCancelMode = std::function<void(TControl* C)>;

// ---------------------------------------------------------------------------------------
// The inner edit
// ---------------------------------------------------------------------------------------

// A borderless single-line edit with its own read-only switch (keys and clipboard edits are
// filtered while the native edit stays writable), a transparent mode painted off screen over
// the parent's background, and a skinned context menu.
class TbsCustomEdit : public TCustomMaskEdit {
public:
    explicit TbsCustomEdit(TComponent* AOwner);
    ~TbsCustomEdit() override;

    bool EditTransparent() const { return FEditTransparent; }
    // Switches transparency and recreates the window.
    void SetTransparentMode(bool Value);
    bool EditReadOnly() const { return FReadOnly; }
    void SetEditReadOnly(bool Value) { FReadOnly = Value; }
    // Repaints the whole edit through one off-screen bitmap (transparent mode).
    virtual void RePaintEdit();
    // Paints the whole edit into DC through one off-screen bitmap; DC stays the caller's.
    virtual void PaintEditToDC(HDC DC);
    // The context menu while it exists (built on demand, owned by the edit).
    TbsSkinPopupMenu* SysPopupMenu() const { return FSysPopupMenu; }
    // Builds the context menu afresh (the previous one is freed).
    void CreateSysPopupMenu();
    bool IsDown() const { return FDown; }

    TNotifyEvent OnMouseEnter, OnMouseLeave, OnUp, OnDown, OnKillFocus;
    TbsOnEditCancelMode OnEditCancelMode;

protected:
    void CreateParams(TCreateParams& Params) override;
    void Dispatch(TMessage& Message) override;
    void Change() override;
    // The size of the off-screen picture and the context it is copied to (window or client).
    virtual void EraseForPicture(HDC DC);
    void WMChar(TMessage& M);
    void WMContextMenu(TMessage& M);
    void PaintThrough(HDC Target, int W, int H);
    bool SelectionEmpty();

    bool FDown = false;
    bool FReadOnly = false;
    bool FEditTransparent = false;
    TbsSkinPopupMenu* FSysPopupMenu = nullptr;
    bool FStopDraw = false;
};

// ---------------------------------------------------------------------------------------
// The skinned edit
// ---------------------------------------------------------------------------------------

// Non-client hit codes of the image buttons.
constexpr int HTEDITLEFTIMAGE = 104;
constexpr int HTEDITRIGHTIMAGE = 105;

class TbsSkinCustomEdit : public TbsCustomEdit {
public:
    explicit TbsSkinCustomEdit(TComponent* AOwner);
    ~TbsSkinCustomEdit() override;
    // After loading, the font takes the character set of the skin's interface strings.
    void Loaded() override;

    TbsSkinData* SkinData() const { return FSD; }
    virtual void SetSkinData(TbsSkinData* Value);
    const String& SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(const String& Value) { FSkinDataName = Value; }
    virtual void ChangeSkinData();
    void GetSkinData();
    bool Skinned() const { return FIndex != -1; }

    TColor DefaultColor() const { return FDefaultColor; }
    void SetDefaultColor(TColor Value);
    TFont* DefaultFont() const { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* Value);
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
    int DefaultWidth() const { return FDefaultWidth; }
    void SetDefaultWidth(int Value);
    int DefaultHeight() const { return FDefaultHeight; }
    void SetDefaultHeight(int Value);
    bool ButtonMode() const { return FButtonMode; }
    void SetButtonMode(bool Value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value) { FReadOnly = Value; }
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* Value);
    int ButtonImageIndex() const { return FButtonImageIndex; }
    void SetButtonImageIndex(int Value);
    int LeftImageIndex() const { return FLeftImageIndex; }
    void SetLeftImageIndex(int Value);
    int RightImageIndex() const { return FRightImageIndex; }
    void SetRightImageIndex(int Value);
    int LeftImageHotIndex() const { return FLeftImageHotIndex; }
    void SetLeftImageHotIndex(int Value) { FLeftImageHotIndex = Value; }
    int LeftImageDownIndex() const { return FLeftImageDownIndex; }
    void SetLeftImageDownIndex(int Value) { FLeftImageDownIndex = Value; }
    int RightImageHotIndex() const { return FRightImageHotIndex; }
    void SetRightImageHotIndex(int Value) { FRightImageHotIndex = Value; }
    int RightImageDownIndex() const { return FRightImageDownIndex; }
    void SetRightImageDownIndex(int Value) { FRightImageDownIndex = Value; }

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    // A picture of the whole control in its normal state, showing AText, at (X, Y) of C.
    void PaintSkinTo(TCanvas* C, int X, int Y, const String& AText);
    void RePaintEdit() override;
    int CalcEditHeight();
    void AdjustEditHeight() { SetHeight(CalcEditHeight()); }

    const TRect& EditRect() const { return FEditRect; }
    const TRect& ButtonRect() const { return FButtonRect; }
    bool MouseIn() const { return FMouseIn; }
    bool ButtonDown() const { return FButtonDown; }
    bool ButtonActive() const { return FButtonActive; }

    TNotifyEvent OnButtonClick, OnLeftButtonClick, OnRightButtonClick;
    TNotifyEvent OnSkinMouseEnter, OnSkinMouseLeave;

    TbsCBButtonX LeftButton, RightButton;
    int FIndex = -1;
    TBitmap* Picture = nullptr;
    int LOffset = 0, ROffset = 0;
    TRect ClRect, SkinRect, ActiveSkinRect;
    String FontName;
    TFontStyles FontStyle;
    int FontHeight = 0;
    TColor FontColor = clBlack, DisabledFontColor = clGray, ActiveFontColor = clBlack;
    TRect SkinButtonRect, ActiveButtonRect, DownButtonRect, UnEnabledButtonRect;
    bool StretchEffect = false;

protected:
    void CreateParams(TCreateParams& Params) override;
    void Dispatch(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void EraseForPicture(HDC DC) override;

private:
    void CalcEditRects();
    void CalcImageRects(bool SetRect);
    void RefreshFrame();
    void DoMouseEnter();
    void DoMouseLeave();
    bool NeedsMouseTimer() const;
    void SetSkinFontColor();
    void ApplyCharset(TFont* F);
    void PaintFrameTo(TCanvas* C);
    void PaintFrame(TCanvas* C);
    void PaintStretchedFrame(TCanvas* C);
    void DrawEditButton(TCanvas* C, const TRect& R);
    void DrawButtonImage(TCanvas* C);
    void PaintEditBackground(TCanvas* C);
    void DrawImages(TCanvas* C);
    void PaintDisabledText(HDC DC);
    void DrawTextInto(TCanvas* C, TRect R, const String& Text);
    bool LooksActive() const;
    void DefaultFontChange(TObject*);
    void WMNCHitTest(TMessage& M);
    bool WMNCMouse(TMessage& M);

    TColor FDefaultColor = clWindow;
    TRect FButtonRect, FEditRect;
    bool FButtonMode = false, FButtonDown = false, FButtonActive = false, FMouseIn = false;
    TbsSkinData* FSD = nullptr;
    String FSkinDataName = "edit";
    std::unique_ptr<TFont> FDefaultFont;
    bool FUseSkinFont = true;
    int FDefaultWidth = 0, FDefaultHeight = 0;
    TAlignment FAlignment = taLeftJustify;
    TCustomImageList* FImages = nullptr;
    int FLeftImageIndex = -1, FLeftImageHotIndex = -1, FLeftImageDownIndex = -1;
    int FRightImageIndex = -1, FRightImageHotIndex = -1, FRightImageDownIndex = -1;
    int FButtonImageIndex = -1;
};

class TbsSkinEdit : public TbsSkinCustomEdit {
public:
    using TbsSkinCustomEdit::TbsSkinCustomEdit;
};

// ---------------------------------------------------------------------------------------
// The up-down
// ---------------------------------------------------------------------------------------

enum TUDOrientation { udHorizontal, udVertical };

struct TbsUpDownButton {
    TRect R;
    bool MouseIn = false;
    bool Down = false;
};

// Two arrow buttons stepping Position between Min and Max by Increment; a held button
// repeats after a delay.  Button 0 increases, button 1 decreases.
class TbsSkinUpDown : public TbsSkinCustomControl {
public:
    explicit TbsSkinUpDown(TComponent* AOwner);
    ~TbsSkinUpDown() override;

    bool UseSkinSize() const { return FUseSkinSize; }
    void SetUseSkinSize(bool Value) { FUseSkinSize = Value; }
    TUDOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TUDOrientation Value);
    int Increment() const { return FIncrement; }
    void SetIncrement(int Value) { FIncrement = Value; }
    int Position() const { return FPosition; }
    void SetPosition(int Value);
    int Min() const { return FMin; }
    void SetMin(int Value);
    int Max() const { return FMax; }
    void SetMax(int Value);

    void GetSkinData() override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap* B) override;
    void CalcSize(int& AWidth, int& AHeight) override;
    void SetControlRegion() override;

    TNotifyEvent OnChange, OnUpButtonClick, OnDownButtonClick;

    TbsUpDownButton Buttons[2];
    int OldActiveButton = -1, ActiveButton = -1, CaptureButton = -1;
    int TimerMode = 0;
    bool WaitMode = false;
    TRect UpButtonRect, ActiveUpButtonRect, DownUpButtonRect;
    TRect DownButtonRect, ActiveDownButtonRect, DownDownButtonRect;

protected:
    void Dispatch(TMessage& Message) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    void CalcButtonRects();
    void TestActive(int X, int Y);
    void ButtonEnter(int I);
    void ButtonLeave(int I);
    void ButtonDown(int I);
    void ButtonUp(int I);
    void StartTimer(unsigned Interval);
    void StopTimer();
    int ArrowKind(int I) const;
    void DrawButton(TCanvas* C, int I);
    void DrawResizeButton(TCanvas* C, int I);

    bool FUseSkinSize = true;
    TUDOrientation FOrientation = udHorizontal;
    int FIncrement = 1, FPosition = 0, FMin = 0, FMax = 100;
};

// ---------------------------------------------------------------------------------------
// The owner-drawn inner list and the skinned list box
// ---------------------------------------------------------------------------------------

// Owner drawing of a list or combo item: the item's bitmap canvas, the item, the bitmap's
// size, the text rectangle in it and the item's state.
using TbsDrawSkinItemEvent = std::function<void(TCanvas* Cnvs, int Index, int ItemWidth, int ItemHeight,
                                                TRect TxtRect, TOwnerDrawState State)>;

// Answered by the inner list when it painted its background on PaintBackgroundToDCEx.
constexpr LRESULT PaintBackgroundToDCExAnswer = 16802;

class TbsSkinCustomListBox;

// A tab stop of item text: an entry made only of decimal digits gives its value, any other
// (the empty one included) 0.
int bsTabValue(const String& S);
// Item text at tab stops: the first ten entries of TabWidths, drawn from R.Left + Offset + 2
// and centred vertically (one pixel higher for an odd font height).
void bsDrawTabbedText(TCanvas* C, const String& Text, TStrings* TabWidths, const TRect& R, int Offset);

// The list inside a skinned list box: keeps the strings and the selection of the platform's
// list, paints its items and background from its owner's look, and hands its input to the
// owner.
class TbsListBox : public TListBox {
public:
    explicit TbsListBox(TComponent* AOwner);
    ~TbsListBox() override;

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void WndProc(TMessage& Message) override;
    void PaintWindow(HDC DC) override;
    // Paints the background (no items) into DC.
    void PaintBackground(HDC DC);
    // The state an item is drawn in.
    TOwnerDrawState GetItemState(int Index);
    // Draws item Index at R of C by the owner's look.
    void DrawItemTo(TCanvas* C, int Index, const TRect& R, TOwnerDrawState State);

    int FHorizontalExtentValue = 0;
    TbsSkinCustomListBox* SkinListBox = nullptr;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& Message) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(char32_t& Key) override;
    void Click() override;

private:
    void PaintList(TCanvas* C);
    void PaintColumns(TCanvas* C);
    void DrawTiledBackground(TCanvas* C, int AWidth, int AHeight, int ALeft, int ATop);
    void DrawDefaultItem(TCanvas* C, int Index, const TRect& R, TOwnerDrawState State);
    void DrawSkinItem(TCanvas* C, int Index, const TRect& R, TOwnerDrawState State);
    void DrawSkinItemFixedHeight(TCanvas* C, int Index, const TRect& R, TOwnerDrawState State);
    void DrawItemContent(TCanvas* C, int Index, int W, int H, TRect TextRect, TOwnerDrawState State,
                         bool Skinned);
    void SetItemFont(TCanvas* C, bool Skinned);
    void CNDrawItemHere(TMessage& M);
    std::unique_ptr<TCanvas> FItemCanvas;
    friend class TbsSkinCustomListBox;
};

// The caption buttons of the skinned list box: 0 up, 1 down, 2 check.
enum { bsLBUpButton = 0, bsLBDownButton = 1, bsLBCheckButton = 2 };

// The skinned list box: a frame from the "listbox" record around the inner list, scroll
// bars made on demand, and an optional caption strip with up, down and check buttons.
class TbsSkinCustomListBox : public TbsSkinCustomControl {
public:
    explicit TbsSkinCustomListBox(TComponent* AOwner);
    ~TbsSkinCustomListBox() override;

    TStrings* Items() const { return ListBox->Items(); }
    void SetItems(TStrings* Value);
    int ItemIndex() const { return ListBox->ItemIndex(); }
    void SetItemIndex(int Value) { ListBox->SetItemIndex(Value); }
    bool MultiSelect() const { return ListBox->MultiSelect(); }
    void SetMultiSelect(bool Value) { ListBox->SetMultiSelect(Value); }
    bool ExtandedSelect() const { return ListBox->ExtendedSelect(); }
    void SetExtandedSelect(bool Value) { ListBox->SetExtendedSelect(Value); }
    bool Sorted() const { return ListBox->Sorted(); }
    void SetSorted(bool Value);
    int Columns() const { return ListBox->Columns(); }
    void SetColumns(int Value);
    bool AutoComplete() const { return ListBox->AutoComplete(); }
    void SetAutoComplete(bool Value) { ListBox->SetAutoComplete(Value); }
    int TopIndex() const { return ListBox->TopIndex(); }
    void SetTopIndex(int Value) { ListBox->SetTopIndex(Value); }
    int SelCount() const { return ListBox->SelCount(); }
    bool GetSelected(int Index) const { return ListBox->Selected(Index); }
    TCanvas* ListBoxCanvas() const { return ListBox->Canvas(); }
    TFont* ListBoxFont() const { return ListBox->Font(); }
    void SetListBoxFont(TFont* Value) { ListBox->Font()->Assign(Value); }
    int ListBoxTabOrder() const { return ListBox->TabOrder(); }
    void SetListBoxTabOrder(int Value) { ListBox->SetTabOrder(Value); }
    bool ListBoxTabStop() const { return ListBox->TabStop(); }
    void SetListBoxTabStop(bool Value) { ListBox->SetTabStop(Value); }
    TPopupMenu* ListBoxPopupMenu() const { return ListBox->PopupMenu(); }
    void SetListBoxPopupMenu(TPopupMenu* Value) { ListBox->SetPopupMenu(Value); }
    // Dragging from and onto the list goes through the inner list: its drag mode, kind and
    // cursor, and its own drag events (their handlers get the inner list as sender).
    TDragMode ListBoxDragMode() const { return ListBox->DragMode(); }
    void SetListBoxDragMode(TDragMode Value) { ListBox->SetDragMode(Value); }
    TDragKind ListBoxDragKind() const { return ListBox->DragKind(); }
    void SetListBoxDragKind(TDragKind Value) { ListBox->SetDragKind(Value); }
    TCursor ListBoxDragCursor() const { return ListBox->DragCursor(); }
    void SetListBoxDragCursor(TCursor Value) { ListBox->SetDragCursor(Value); }
    TTouchManager* ListBoxTouch() const { return ListBox->Touch(); }
    void SetListBoxTouch(TTouchManager* Value) { ListBox->SetTouch(Value); }
    const TDragDropEvent& OnListBoxDragDrop() const { return ListBox->OnDragDrop; }
    void SetOnListBoxDragDrop(TDragDropEvent Value) { ListBox->OnDragDrop = std::move(Value); }
    const TDragOverEvent& OnListBoxDragOver() const { return ListBox->OnDragOver; }
    void SetOnListBoxDragOver(TDragOverEvent Value) { ListBox->OnDragOver = std::move(Value); }
    const TStartDragEvent& OnListBoxStartDrag() const { return ListBox->OnStartDrag; }
    void SetOnListBoxStartDrag(TStartDragEvent Value) { ListBox->OnStartDrag = std::move(Value); }
    const TEndDragEvent& OnListBoxEndDrag() const { return ListBox->OnEndDrag; }
    void SetOnListBoxEndDrag(TEndDragEvent Value) { ListBox->OnEndDrag = std::move(Value); }
    bool UseSkinItemHeight() const { return FUseSkinItemHeight; }
    void SetUseSkinItemHeight(bool Value) { FUseSkinItemHeight = Value; }
    bool HorizontalExtent() const { return FHorizontalExtent; }
    void SetHorizontalExtent(bool Value);
    int RowCount() const { return FRowCount; }
    void SetRowCount(int Value);
    int DefaultItemHeight() const { return FDefaultItemHeight; }
    void SetDefaultItemHeight(int Value);
    TStrings* TabWidths() const { return FTabWidths.get(); }
    void SetTabWidths(TStrings* Value);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* Value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
    bool CaptionMode() const { return FCaptionMode; }
    void SetCaptionMode(bool Value);
    String Caption() const { return GetText(); }
    void SetCaption(const String& Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    int DefaultCaptionHeight() const { return FDefaultCaptionHeight; }
    void SetDefaultCaptionHeight(int Value);
    TFont* DefaultCaptionFont() const { return FDefaultCaptionFont.get(); }
    void SetDefaultCaptionFont(TFont* Value) { FDefaultCaptionFont->Assign(Value); }
    bool ShowCaptionButtons() const { return FShowCaptionButtons; }
    void SetShowCaptionButtons(bool Value);
    TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(TBitmap* Value);
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int Value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int Value);

    // Makes, updates or removes the scroll bars from the inner list's state.
    void UpDateScrollBar();
    // The control height that shows AItemsCount rows.
    int CalcHeight(int AItemsCount);
    void Clear();
    int ItemAtPos(TPoint Pos, bool Existing) { return ListBox->ItemAtPos(Pos, Existing); }
    TRect ItemRect(int Item) { return ListBox->ItemRect(Item); }
    // Places the scroll bars and the inner list.
    void CalcListRects();

    void GetSkinData() override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap* B) override;
    void ChangeSkinData() override;
    void DefaultFontChanged() override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    virtual int GetItemTextWidth(int Index, TCanvas* C);
    virtual void ListBoxMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void ListBoxMouseMove(TShiftState Shift, int X, int Y);
    virtual void ListBoxMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void ListBoxClick();
    virtual void ListBoxDblClick();
    virtual void ListBoxKeyDown(WORD& Key, TShiftState Shift);
    virtual void ListBoxKeyUp(WORD& Key, TShiftState Shift);
    virtual void ListBoxKeyPress(char32_t& Key);
    virtual void ListBoxEnter() {}
    virtual void ListBoxExit() {}
    virtual void ListBoxWndProcHook(TMessage& Message, bool& Handled) { (void)Message; Handled = true; }
    virtual void ListBoxCreateWnd() {}

    TNotifyEvent OnUpButtonClick, OnDownButtonClick, OnCheckButtonClick;
    TNotifyEvent OnListBoxClick, OnListBoxDblClick;
    TMouseEvent OnListBoxMouseDown, OnListBoxMouseUp;
    TMouseMoveEvent OnListBoxMouseMove;
    TKeyEvent OnListBoxKeyDown, OnListBoxKeyUp;
    TKeyPressEvent OnListBoxKeyPress;
    TbsDrawSkinItemEvent OnDrawItem;

    TRect ListRect;
    TbsCBButtonX Buttons[3];
    int OldActiveButton = -1, ActiveButton = -1, CaptureButton = -1;
    TRect NewCaptionRect;
    int TimerMode = 0;
    bool WaitMode = false;
    TbsSkinScrollBar* ScrollBar = nullptr;
    TbsSkinScrollBar* HScrollBar = nullptr;
    TbsListBox* ListBox = nullptr;
    // Copied from the record.
    String FontName;
    TFontStyles FontStyle;
    int FontHeight = 0;
    TRect SItemRect, ActiveItemRect, FocusItemRect;
    int ItemLeftOffset = 0, ItemRightOffset = 0;
    TRect ItemTextRect;
    TColor FontColor = 0, ActiveFontColor = 0, FocusFontColor = 0;
    TRect CaptionRect;
    String CaptionFontName;
    TFontStyles CaptionFontStyle;
    int CaptionFontHeight = 0;
    TColor CaptionFontColor = 0;
    TRect UpButtonRect, ActiveUpButtonRect, DownUpButtonRect;
    TRect DownButtonRect, ActiveDownButtonRect, DownDownButtonRect;
    TRect CheckButtonRect, ActiveCheckButtonRect, DownCheckButtonRect;
    String VScrollBarName, HScrollBarName, BothScrollBarName;
    bool ShowFocus = false;
    TRect ButtonsArea, DisabledButtonsRect;

protected:
    void CreateParams(TCreateParams& Params) override;
    void Dispatch(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

    void ShowScrollBar();
    void HideScrollBar();
    void ShowHScrollBar();
    void HideHScrollBar();
    void SetScrollBarNames();
    void SetHScrollBarNames();
    void CalcButtonRects();
    void TestActive(int X, int Y);
    void DrawButton(TCanvas* C, int I);
    void RepaintButton(int I);
    void DrawCaption(TCanvas* C, const TRect& R, bool Skinned);
    void StartTimer(unsigned Interval);
    void StopTimer();
    void ButtonAction(int I);

    bool FShowCaptionButtons = true;
    std::unique_ptr<TStrings> FTabWidths;
    bool FUseSkinItemHeight = true;
    bool FHorizontalExtent = false;
    bool FStopUpDateHScrollBar = false;
    int FRowCount = 0;
    std::unique_ptr<TBitmap> FGlyph;
    int FNumGlyphs = 1;
    int FSpacing = 2;
    TCustomImageList* FImages = nullptr;
    int FImageIndex = -1;
    int FDefaultItemHeight = 20;
    int FDefaultCaptionHeight = 20;
    std::unique_ptr<TFont> FDefaultCaptionFont;
    bool FCaptionMode = false;
    TAlignment FAlignment = taLeftJustify;

    friend class TbsListBox;
};

class TbsSkinListBox : public TbsSkinCustomListBox {
public:
    using TbsSkinCustomListBox::TbsSkinCustomListBox;
};

// ---------------------------------------------------------------------------------------
// The skinned combo box
// ---------------------------------------------------------------------------------------

enum TbsSkinCustomComboBoxStyle { bscbEditStyle, bscbFixedStyle };

// The drop-down of the skinned combo box: a skinned list box as a pop-up window that never
// takes the focus and may fade in with its owner's opacity.
class TbsPopupListBox : public TbsSkinListBox {
public:
    explicit TbsPopupListBox(TComponent* AOwner);
    // Shows the window at Origin (screen coordinates) without activating it.
    void Show(TPoint Origin);
    void Hide();
    uint8_t AppliedAlpha() const { return FOldAlphaBlendValue; }
    bool Layered() const { return FOldAlphaBlend; }
    // The opacities of the last fade-in, in order.
    std::vector<uint8_t> FadeSteps;

protected:
    void CreateParams(TCreateParams& Params) override;
    void Dispatch(TMessage& Message) override;
    bool FOldAlphaBlend = false;
    uint8_t FOldAlphaBlendValue = 0;
};

// The skinned combo box: shows the selected item (or, in the edit style, an inner edit) and
// drops down a skinned list under or above itself.
class TbsSkinCustomComboBox : public TbsSkinCustomControl {
public:
    explicit TbsSkinCustomComboBox(TComponent* AOwner);
    ~TbsSkinCustomComboBox() override;

    String Text() const { return GetText(); }
    void SetText(const String& Value) { TControl::SetText(Value); }
    TStrings* Items() const { return FListBox->Items(); }
    void SetItems(TStrings* Value) { FListBox->Items()->Assign(Value); }
    int ItemIndex() const { return FListBox->ItemIndex(); }
    void SetItemIndex(int Value);
    TbsSkinCustomComboBoxStyle Style() const { return FStyle; }
    void SetStyle(TbsSkinCustomComboBoxStyle Value);
    int DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int Value) { if (Value > 0) FDropDownCount = Value; }
    int ListBoxWidth() const { return FListBoxWidth; }
    void SetListBoxWidth(int Value) { FListBoxWidth = Value; }
    bool AutoComplete() const { return FAutoComplete; }
    void SetAutoComplete(bool Value) { FAutoComplete = Value; }
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool Value) { FHideSelection = Value; }
    TEditCharCase CharCase() const { return FCharCase; }
    void SetCharCase(TEditCharCase Value);
    TColor DefaultColor() const { return FDefaultColor; }
    void SetDefaultColor(TColor Value);
    bool ToolButtonStyle() const { return FToolButtonStyle; }
    void SetToolButtonStyle(bool Value);
    bool UseSkinSize() const { return FUseSkinSize; }
    void SetUseSkinSize(bool Value) { FUseSkinSize = Value; }
    bool AlphaBlend() const { return FAlphaBlend; }
    void SetAlphaBlend(bool Value) { FAlphaBlend = Value; }
    uint8_t AlphaBlendValue() const { return FAlphaBlendValue; }
    void SetAlphaBlendValue(uint8_t Value) { FAlphaBlendValue = Value; }
    bool AlphaBlendAnimation() const { return FAlphaBlendAnimation; }
    void SetAlphaBlendAnimation(bool Value) { FAlphaBlendAnimation = Value; }
    TCustomImageList* Images() const { return FListBox->Images(); }
    void SetImages(TCustomImageList* Value);
    int ImageIndex() const { return FListBox->ImageIndex(); }
    void SetImageIndex(int Value);
    TStrings* TabWidths() const { return FListBox->TabWidths(); }
    void SetTabWidths(TStrings* Value) { FListBox->SetTabWidths(Value); }
    bool Sorted() const { return FListBox->Sorted(); }
    void SetSorted(bool Value) { FListBox->SetSorted(Value); }
    bool HorizontalExtent() const { return FListBox->HorizontalExtent(); }
    void SetHorizontalExtent(bool Value) { FListBox->SetHorizontalExtent(Value); }
    String ListBoxCaption() const { return FListBox->Caption(); }
    void SetListBoxCaption(const String& Value) { FListBox->SetCaption(Value); }
    bool ListBoxCaptionMode() const { return FListBox->CaptionMode(); }
    void SetListBoxCaptionMode(bool Value) { FListBox->SetCaptionMode(Value); }
    TAlignment ListBoxCaptionAlignment() const { return FListBox->Alignment(); }
    void SetListBoxCaptionAlignment(TAlignment Value) { FListBox->SetAlignment(Value); }
    TFont* ListBoxDefaultFont() const { return FListBox->DefaultFont(); }
    void SetListBoxDefaultFont(TFont* Value) { FListBox->SetDefaultFont(Value); }
    TFont* ListBoxDefaultCaptionFont() const { return FListBox->DefaultCaptionFont(); }
    void SetListBoxDefaultCaptionFont(TFont* Value) { FListBox->SetDefaultCaptionFont(Value); }
    int ListBoxDefaultItemHeight() const { return FListBox->DefaultItemHeight(); }
    void SetListBoxDefaultItemHeight(int Value) { FListBox->SetDefaultItemHeight(Value); }
    bool ListBoxUseSkinFont() const { return FListBox->UseSkinFont(); }
    void SetListBoxUseSkinFont(bool Value) { FListBox->SetUseSkinFont(Value); }
    bool ListBoxUseSkinItemHeight() const { return FListBox->UseSkinItemHeight(); }
    void SetListBoxUseSkinItemHeight(bool Value) { FListBox->SetUseSkinItemHeight(Value); }
    TbsDrawSkinItemEvent OnListBoxDrawItem() const { return FOnListBoxDrawItem; }
    void SetOnListBoxDrawItem(TbsDrawSkinItemEvent Value);
    int SelStart() const { return FEdit ? FEdit->SelStart() : 0; }
    void SetSelStart(int Value) { if (FEdit) FEdit->SetSelStart(Value); }
    int SelLength() const { return FEdit ? FEdit->SelLength() : 0; }
    void SetSelLength(int Value) { if (FEdit) FEdit->SetSelLength(Value); }

    TbsPopupListBox* ListBox() const { return FListBox; }
    TbsCustomEdit* Edit() const { return FEdit; }
    bool DroppedDown() const { return FDropDown; }
    bool MouseIn() const { return FMouseIn; }
    int OldItemIndex() const { return FOldItemIndex; }

    virtual void Change() {}
    virtual void DropDown();
    void CloseUp(bool Value);
    bool IsPopupVisible() const { return FListBox->Visible(); }
    bool CanCancelDropDown() const { return FListBox->Visible() && !FMouseIn; }
    // Draws the control as it would look showing AText at (X, Y) of C.
    void PaintSkinTo(TCanvas* C, int X, int Y, const String& AText);
    void CalcRects();
    void Invalidate() override;

    void GetSkinData() override;
    void ChangeSkinData() override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap* B) override;
    void DefaultFontChanged() override;
    void CalcSize(int& AWidth, int& AHeight) override;
    void SetControlRegion() override;

    TNotifyEvent OnChange, OnCloseUp, OnDropDown;  // OnClick is TControl's
    TbsDrawSkinItemEvent OnComboBoxDrawItem;

    TbsCBItem CBItem;
    TOwnerDrawState CBItemState;
    TbsCBButtonX Button;
    // Copied from the "combobox" record.
    TRect ActiveSkinRect;
    TColor ActiveFontColor = 0;
    String FontName;
    TFontStyles FontStyle;
    int FontHeight = 0;
    TRect SItemRect, FocusItemRect, ActiveItemRect;
    int ItemLeftOffset = 0, ItemRightOffset = 0;
    TRect ItemTextRect;
    TColor FontColor = 0, FocusFontColor = 0;
    TRect ButtonRect, ActiveButtonRect, DownButtonRect, UnEnabledButtonRect;
    String ListBoxName;
    bool ItemStretchEffect = false, FocusItemStretchEffect = false, ShowFocus = false;

protected:
    friend class TbsPopupListBox;
    void Dispatch(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(char32_t& Key) override;
    virtual void EditWndProc(TMessage& Message);
    virtual void CreateEditControl();

    void ListBoxWndProc(TMessage& Message);
    void ListBoxMouseMoveHandler(TObject* Sender, TShiftState Shift, int X, int Y);
    void EditChange(TObject* Sender);
    void EditCancelMode(TControl* C);
    void CheckCancelMode(TControl* Sender);
    void TrackPointer();
    void StartTimer(int Mode);
    void StopTimer();
    void PlaceEdit();
    // The prefix search of the incremental search and the completion: length 1 searches after
    // the current item, longer texts from the start; -1 when nothing matches.
    int FindItem(const String& Text);
    void CompleteFromList();
    void EditUpStep(bool Extras);
    void EditDownStep(bool Extras);
    TColor DisabledTextColor() const;
    BYTE InterfaceCharset() const;
    void ApplyEditFont();

    // painting (combo box painting)
    int ShownIndex() const;
    TbsDataSkinButtonControl* FindButtonRecord(std::initializer_list<const char*> Names) const;
    void DrawDefaultFrame(TCanvas* C);
    void DrawDefaultButton(TCanvas* C);
    void DrawSkinFace(TCanvas* C, TBitmap* B, bool StretchFromSkinRect);
    void DrawSkinButton(TCanvas* C);
    void DrawStretchSkinButton(TCanvas* C);
    void DrawDefaultItem(TCanvas* C);
    void DrawSkinItem(TCanvas* C, bool Stretched);
    void DrawDefaultToolButton(TCanvas* C, const String* AText);
    void DrawSkinToolButton(TCanvas* C, TBitmap* B, const String* AText);
    void DrawItemContent(TCanvas* C, TRect TR, int W, int H, bool Skin, const String* AText);
    void DrawItemText(TCanvas* C, const String& Text, const TRect& R);
    bool LooksActive();

    bool FDropDown = false;
    bool FToolButtonStyle = false;
    TEditCharCase FCharCase = ecNormal;
    TColor FDefaultColor = clWindow;
    bool FUseSkinSize = true;
    bool WasInLB = false;
    int TimerMode = 0;
    int FListBoxWidth = 0;
    bool FHideSelection = true;
    DWORD FLastTime = 0;
    String FFilter;
    bool FAutoComplete = true;
    bool FAlphaBlend = false, FAlphaBlendAnimation = false;
    uint8_t FAlphaBlendValue = 0;
    TbsSkinCustomComboBoxStyle FStyle = bscbFixedStyle;
    TbsDrawSkinItemEvent FOnListBoxDrawItem;
    bool FMouseIn = false;
    int FOldItemIndex = -1;
    int FDropDownCount = 8;
    bool FLBDown = false;
    TWndMethod FListBoxWindowProc;
    TWndMethod FEditWindowProc;
    TbsPopupListBox* FListBox = nullptr;
    TbsCustomEdit* FEdit = nullptr;
    bool FromEdit = false;
    bool FInPaint = false;
};

class TbsSkinComboBox : public TbsSkinCustomComboBox {
public:
    using TbsSkinCustomComboBox::TbsSkinCustomComboBox;
};

// ---------------------------------------------------------------------------------------
// The skinned page control and its tab sheets
// ---------------------------------------------------------------------------------------

using TbsCloseEvent = std::function<void(TObject* Sender, bool& CanClose)>;
using TbsDrawSkinTabEvent = std::function<void(int TabIndex, const TRect& Rct, bool Active, bool MouseIn, TCanvas* Cnvs)>;

// Turning and mirroring of tab pictures.
void DrawBitmapRotatedLeft(TCanvas* C, TBitmap* B, int X, int Y);
void DrawBitmapRotatedRight(TCanvas* C, TBitmap* B, int X, int Y);
void RotateBitmapLeft(TBitmap* B);
void RotateBitmapRight(TBitmap* B);
void FlipBitmapVert(TBitmap* B);
// An image of the list and the caption side by side, centred as a group in W x H.
void DrawTabImageAndText(TCanvas* C, int W, int H, int Shift, bool AEnabled, int ImageIndex,
                         TCustomImageList* Images, const String& Caption);

class TbsSkinPageControl;

// A page of the skinned page control; paints its own background (wallpaper, the skin's
// background picture or client part, or the button face) and keeps its tab's close button.
class TbsSkinCustomTabSheet : public TTabSheet {
public:
    explicit TbsSkinCustomTabSheet(TComponent* AOwner);
    ~TbsSkinCustomTabSheet() override;
    TBitmap* WallPaper() const { return FWallPaper.get(); }
    void SetWallPaper(TBitmap* Value);
    void PaintBG(HDC DC);

    TRect ButtonRect;
    bool ButtonMouseIn = false;
    bool ButtonMouseDown = false;

protected:
    void CreateParams(TCreateParams& Params) override;
    void Dispatch(TMessage& Message) override;

private:
    std::unique_ptr<TBitmap> FWallPaper;
};

class TbsSkinTabSheet : public TbsSkinCustomTabSheet {
public:
    using TbsSkinCustomTabSheet::TbsSkinCustomTabSheet;
};

// The platform's page control with tabs, frame and background drawn from the "tab" record.
class TbsSkinPageControl : public TPageControl {
public:
    explicit TbsSkinPageControl(TComponent* AOwner);
    ~TbsSkinPageControl() override;

    bool MouseWheelSupport() const { return FMouseWheelSupport; }
    void SetMouseWheelSupport(bool Value) { FMouseWheelSupport = Value; }
    bool TabExtededDraw() const { return FTabExtendedDraw; }
    void SetTabExtededDraw(bool Value);
    int TabMargin() const { return FTabMargin; }
    void SetTabMargin(int Value);
    int TabSpacing() const { return FTabSpacing; }
    void SetTabSpacing(int Value);
    TbsButtonLayout TabLayout() const { return FTabLayout; }
    void SetTabLayout(TbsButtonLayout Value);
    bool TextInHorizontal() const { return FTextInHorizontal; }
    void SetTextInHorizontal(bool Value);
    int CloseSize() const { return FCloseSize; }
    bool FreeOnClose() const { return FFreeOnClose; }
    void SetFreeOnClose(bool Value) { FFreeOnClose = Value; }
    bool ShowCloseButtons() const { return FShowCloseButtons; }
    void SetShowCloseButtons(bool Value);
    bool TabsBGTransparent() const { return FTabsBGTransparent; }
    void SetTabsBGTransparent(bool Value);
    bool TabsInCenter() const { return FTabsInCenter; }
    void SetTabsInCenter(bool Value);
    int TabsOffset() const { return FTabsOffset; }
    void SetTabsOffset(int Value);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* Value);
    TCustomImageList* TempImages() const { return FTempImages; }
    const String& ButtonTabSkinDataName() const { return FButtonTabSkinDataName; }
    void SetButtonTabSkinDataName(const String& Value) { FButtonTabSkinDataName = Value; }
    TFont* DefaultFont() const { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* Value) { FDefaultFont->Assign(Value); }
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
    int DefaultItemHeight() const { return FDefaultItemHeight; }
    void SetDefaultItemHeight(int Value);
    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* Value);
    const String& SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(const String& Value) { FSkinDataName = Value; }
    bool TabsHidden() const { return FHideTabs; }
    bool BorderHidden() const { return FHideBorder; }
    int ActiveTabIndex() const { return FActiveTabIndex; }
    TbsSkinUpDown* Scroller() const { return FSkinUpDown; }

    void GetSkinData();
    void ChangeSkinData();
    void UpDateTabs();
    void HideTabs();
    void ShowTabs();
    void HideBorderAndTabs();
    void ShowBorderAndTabs();
    TRect GetItemRect(int Index);
    void SetItemSize(int AWidth, int AHeight);
    int GetTabsOffset();
    bool HasVisibleTabs() const;
    void CheckScroller();
    int GetHiddenTabCount();
    int GetScrolledTabCount();
    // Asks OnClose, then hides (or frees) page P.
    void ClosePage(TTabSheet* P);
    void Loaded() override;
    void WndProc(TMessage& Message) override;
    void PaintWindow(HDC DC) override;
    TRect GetActiveTabClipRect();

    TbsCloseEvent OnClose;
    TNotifyEvent OnAfterClose;
    TbsDrawSkinTabEvent OnDrawSkinTab;

    int FIndex = -1;
    TBitmap* Picture = nullptr;
    TRect SkinRect, ClRect, TabRect, ActiveTabRect, FocusTabRect, MouseInTabRect, TabsBGRect;
    TPoint LTPoint, RTPoint, LBPoint, RBPoint;
    int TabLeftOffset = 0, TabRightOffset = 0;
    String FontName;
    TFontStyles FontStyle;
    int FontHeight = 0;
    TColor FontColor = 0, ActiveFontColor = 0, FocusFontColor = 0, MouseInFontColor = 0;
    String UpDown;
    int BGPictureIndex = -1;
    bool TabStretchEffect = false, ShowFocus = false;
    int FocusOffsetX = 0, FocusOffsetY = 0;
    bool StretchEffect = false, LeftStretch = false, TopStretch = false, RightStretch = false, BottomStretch = false;
    TbsStretchType StretchType = bsstFull;
    TRect CloseButtonRect, ClosebuttonActiveRect, CloseButtonDownRect;
    bool ButtonTransparent = false;
    TColor ButtonTransparentColor = 0;
    TRect TabLeftBottomActiveRect, TabLeftBottomFocusRect;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Dispatch(TMessage& Message) override;
    void Change() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

    bool Centred() const { return FTabsInCenter || FTabsOffset > 0; }
    bool Vertical() const { return TabPosition() == tpLeft || TabPosition() == tpRight; }
    TbsSkinCustomTabSheet* SheetOf(int PageIndex) const;
    int GetCloseSize() const;
    void ChangeTempImages(int Delta);
    void CreateScroller();
    void RemoveScroller();
    void SyncScroller();
    void UpDownChange();
    void TestActive(int X, int Y);
    void RepaintTabs() { Invalidate(); }
    void DrawDefaultFrame(TCanvas* C);
    void DrawSkinFrame(TCanvas* C);
    void DrawSkinBackground(TCanvas* C);
    void DrawTabs(TCanvas* C);
    void DrawTab(int PageIndex, TRect R, TCanvas* C, bool MouseIn, bool Active);
    void DrawCloseButton(TCanvas* C, TRect A, int H, int W, int PageIndex);
    TColor DrawButtonTab(TBitmap* T, bool Active, bool MouseIn);
    TbsDataSkinButtonControl* ButtonRecord(const String& Name) const;
    void ApplyCharset(TFont* F);

    bool FMouseWheelSupport = false;
    bool FTabExtendedDraw = false;
    int FTabMargin = -1;
    int FTabSpacing = 1;
    TbsButtonLayout FTabLayout = blGlyphLeft;
    bool FTextInHorizontal = false;
    bool FHideTabs = false, FHideBorder = false;
    TTabPosition FOLdTabPosition = tpTop;
    bool FOldMultiLine = false;
    int FOldTabHeight = -1;
    int FCloseSize = 14;
    bool FFreeOnClose = false;
    bool FShowCloseButtons = false;
    bool FTabsBGTransparent = false;
    int FActiveTab = -1, FOldActiveTab = -1, FActiveTabIndex = -1, FOldActiveTabIndex = -1;
    TCustomImageList* FImages = nullptr;
    TCustomImageList* FTempImages = nullptr;
    bool FTabsInCenter = false;
    int FTabsOffset = 0;
    String FButtonTabSkinDataName = "resizetoolbutton";
    TbsSkinData* FSD = nullptr;
    String FSkinDataName = "tab";
    TbsSkinUpDown* FSkinUpDown = nullptr;
    std::unique_ptr<TFont> FDefaultFont;
    bool FUseSkinFont = true;
    int FDefaultItemHeight = 20;
    // True while a mouse message shifted by the strip offset is handled: the native hit test
    // then works on the unmoved tabs.
    bool FMouseShifted = false;
};

// ---------------------------------------------------------------------------------------
// The skinned scroll box
// ---------------------------------------------------------------------------------------

// A skinned container whose children may be larger than its client area; it scrolls them by
// two linked skinned scroll bars (placed by the form, not owned), whose ranges it computes
// from its visible children.  Its frame lies in the non-client area.
class TbsSkinScrollBox : public TbsSkinCustomControl {
public:
    explicit TbsSkinScrollBox(TComponent* AOwner);
    ~TbsSkinScrollBox() override;

    TbsSkinScrollBar* VScrollBar() const { return FVScrollBar; }
    void SetVScrollBar(TbsSkinScrollBar* Value);
    TbsSkinScrollBar* HScrollBar() const { return FHScrollBar; }
    void SetHScrollBar(TbsSkinScrollBar* Value);
    TbsSkinBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TbsSkinBorderStyle Value);
    bool CanFocused() const { return FCanFocused; }
    void SetCanFocused(bool Value) { FCanFocused = Value; }
    int VSizeOffset() const { return FVSizeOffset; }
    int HSizeOffset() const { return FHSizeOffset; }

    // The ranges of both bars, after the children changed size or place.
    void UpDateScrollRange();
    void GetVRange();
    void GetHRange();
    // One axis's range from the client size and the content's far edge; true when the
    // bar is to show.
    bool AxisRange(TbsSkinScrollBar* Bar, int Client, int Content, int& SizeOffset, int& OldPos,
                   void (TbsSkinScrollBox::*ScrollControls)(int));
    void VScroll(int APosition);
    void HScroll(int APosition);
    // Moves the bars so that the child C comes into view.
    void ScrollToControl(TControl* C);
    void PaintBorder(TCanvas* C);

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void AdjustClientRect(TRect& Rect) override;
    void GetSkinData() override;
    void ChangeSkinData() override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void WndProc(TMessage& Message) override;

    int BGPictureIndex = -1;

protected:
    void CreateParams(TCreateParams& Params) override;
    void Dispatch(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Paint() override;

    void VScrollControls(int D);
    void HScrollControls(int D);
    void SetBarVisible(TbsSkinScrollBar* Bar, bool Value);
    bool HasFrame() { GetSkinData(); return BGPictureIndex == -1 && FBorderStyle != bvNone; }

    bool FClicksDisabled = false;
    bool FCanFocused = false;
    bool FInCheckScrollBars = false;
    TbsSkinScrollBar* FVScrollBar = nullptr;
    TbsSkinScrollBar* FHScrollBar = nullptr;
    int FOldVScrollBarPos = 0, FOldHScrollBarPos = 0;
    int FVSizeOffset = 0, FHSizeOffset = 0;
    TbsSkinBorderStyle FBorderStyle = bvFrame;
};
