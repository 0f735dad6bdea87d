// The application button and the application menu's items, selection, keys and pointer.
#include "skin/frame/bsAppMenu.h"

// ---- TbsAppButton ---------------------------------------------------------------------------

TbsAppButton::TbsAppButton(TComponent* AOwner) : TbsSkinMenuButton(AOwner) {}
bool TbsAppButton::CanMenuPopup(int X, int Y) { return TbsSkinMenuButton::CanMenuPopup(X, Y); }
void TbsAppButton::TrackMenu() { TbsSkinMenuButton::TrackMenu(); }
void TbsAppButton::Dispatch(TMessage& M) { TbsSkinMenuButton::Dispatch(M); }
void TbsAppButton::KeyDown(WORD& Key, TShiftState Shift) { TbsSkinMenuButton::KeyDown(Key, Shift); }
void TbsAppButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TbsSkinMenuButton::MouseDown(Button, Shift, X, Y);
}

// ---- items ----------------------------------------------------------------------------------

TbsAppMenuItem::TbsAppMenuItem(TCollection* ACollection) : TCollectionItem(ACollection)
{
    FCaption = "TbsAppMenuItem" + std::to_string(Index());
}
void TbsAppMenuItem::SetPage(TbsAppMenuPage* Value) { FPage = Value; }
void TbsAppMenuItem::SetVisible(bool Value) { FVisible = Value; }
void TbsAppMenuItem::SetEnabled(bool Value) { FEnabled = Value; }
void TbsAppMenuItem::SetImageIndex(int Value) { FImageIndex = Value; }
void TbsAppMenuItem::SetCaption(const String& Value) { FCaption = Value; }
void TbsAppMenuItem::Assign(TPersistent* Source) { TCollectionItem::Assign(Source); }

TbsAppMenuItems::TbsAppMenuItems(TbsAppMenu* AAppMenu)
    : TCollection(TCollection::ItemClass<TbsAppMenuItem>()), AppMenu(AAppMenu)
{
}
TPersistent* TbsAppMenuItems::GetOwner() { return AppMenu; }
void TbsAppMenuItems::Update(TCollectionItem* AItem) { TCollection::Update(AItem); }

// ---- pages ----------------------------------------------------------------------------------

TbsAppMenuCustomPage::TbsAppMenuCustomPage(TComponent* AOwner) : TCustomControl(AOwner) {}
TbsAppMenuCustomPage::~TbsAppMenuCustomPage() = default;
void TbsAppMenuCustomPage::SetScrollOffset(int Value) { if (Value >= 0) FScrollOffset = Value; }
void TbsAppMenuCustomPage::SetScrollTimerInterval(int Value) { if (Value >= 1) FScrollTimerInterval = Value; }
void TbsAppMenuCustomPage::SetCanScroll(bool Value) { FCanScroll = Value; }
void TbsAppMenuCustomPage::SetPosition(int Value) { SPosition = Value; }
void TbsAppMenuCustomPage::UpDateSize() {}
void TbsAppMenuCustomPage::GetScrollInfo() {}
void TbsAppMenuCustomPage::SetBounds(int L, int T, int W, int H) { TCustomControl::SetBounds(L, T, W, H); }
void TbsAppMenuCustomPage::AdjustClientRect(TRect& Rect) { TCustomControl::AdjustClientRect(Rect); }
void TbsAppMenuCustomPage::WndProc(TMessage& M) { TCustomControl::WndProc(M); }
void TbsAppMenuCustomPage::Dispatch(TMessage& M) { TCustomControl::Dispatch(M); }
void TbsAppMenuCustomPage::CalcScrollRange() {}
void TbsAppMenuCustomPage::ScrollStep(bool) {}
void TbsAppMenuCustomPage::SetButtonsVisible(bool) {}
void TbsAppMenuCustomPage::StartScrollTimer() {}
void TbsAppMenuCustomPage::StopScrollTimer() {}
void TbsAppMenuCustomPage::ScrollContent(int) {}
void TbsAppMenuCustomPage::ButtonDown(int) {}
void TbsAppMenuCustomPage::ButtonUp(int) {}
void TbsAppMenuCustomPage::MouseEnterPage() {}
void TbsAppMenuCustomPage::MouseLeavePage() {}
void TbsAppMenuCustomPage::DrawScrollButton(TCanvas*, int) {}
void TbsAppMenuCustomPage::PaintButtonsTo(HDC) {}
void TbsAppMenuCustomPage::RepaintNC() {}

TbsAppMenuPage::TbsAppMenuPage(TComponent* AOwner) : TbsAppMenuCustomPage(AOwner) {}
TbsAppMenuPage::~TbsAppMenuPage() = default;
void TbsAppMenuPage::SetDefaultWidth(int Value) { FDefaultWidth = Value; }
void TbsAppMenuPage::SetFirstActiveControl(TWinControl* Value) { FFirstActiveControl = Value; }
void TbsAppMenuPage::SetBounds(int L, int T, int W, int H) { TbsAppMenuCustomPage::SetBounds(L, T, W, H); }
void TbsAppMenuPage::Dispatch(TMessage& M) { TbsAppMenuCustomPage::Dispatch(M); }
void TbsAppMenuPage::PaintBG(HDC) {}
void TbsAppMenuPage::Notification(TComponent* AComponent, TOperation Operation)
{
    TbsAppMenuCustomPage::Notification(AComponent, Operation);
}
void TbsAppMenuPage::CreateParams(TCreateParams& Params) { TbsAppMenuCustomPage::CreateParams(Params); }

// ---- menu -----------------------------------------------------------------------------------

TbsAppMenu::TbsAppMenu(TComponent* AOwner) : TbsSkinControl(AOwner), FItems(std::make_unique<TbsAppMenuItems>(this))
{
    FSkinDataName = "appmenu";
}
TbsAppMenu::~TbsAppMenu() = default;
void TbsAppMenu::SetItemWidth(int Value) { FItemWidth = Value < 100 ? 100 : Value; }
void TbsAppMenu::SetItems(TbsAppMenuItems* Value) { FItems->Assign(Value); }
void TbsAppMenu::SetActivePage(TbsAppMenuPage* Value) { FActivePage = Value; }
void TbsAppMenu::SetSkinHint(TbsSkinHint* Value) { FSkinHint = Value; }
void TbsAppMenu::SetItemImageList(TCustomImageList* Value) { FItemImageList = Value; }
void TbsAppMenu::SetItemPageImageList(TCustomImageList* Value) { FItemPageImageList = Value; }
void TbsAppMenu::SetItemIndex(int Value) { FItemIndex = Value; }
TbsAppMenuItem* TbsAppMenu::SelectedItem() const { return ValidIndex(FItemIndex) ? FItems->Items(FItemIndex) : nullptr; }
void TbsAppMenu::FindNextItem() {}
void TbsAppMenu::FindPriorItem() {}
void TbsAppMenu::FindFirstItem() {}
void TbsAppMenu::FindLastItem() {}
void TbsAppMenu::UpdateScrollInfo() {}
bool TbsAppMenu::CanDrawAppMenuCaption() { return false; }
int TbsAppMenu::GetAppMenuCaptionOffset() { return FItemWidth; }
void TbsAppMenu::DrawAppMenuCaption(TCanvas*, TRect) {}
TbsAppMenuPage* TbsAppMenu::CreatePage() { return nullptr; }
int TbsAppMenu::PageToItemIndex(TbsAppMenuPage*) const { return -1; }
void TbsAppMenu::GetPageBounds(TRect& Bounds) { Bounds = TRect(); }
int TbsAppMenu::ItemAtPoint(TPoint) const { return -1; }
bool TbsAppMenu::CanShowGripper() { return false; }
TRect TbsAppMenu::GetGripperRect() const { return TRect(); }
TRect TbsAppMenu::GetActivePageRect() const { return TRect(); }
void TbsAppMenu::GetSkinData() { TbsSkinControl::GetSkinData(); }
void TbsAppMenu::ChangeSkinData() { TbsSkinControl::ChangeSkinData(); }
void TbsAppMenu::SetSkinData(TbsSkinData* Value) { TbsSkinControl::SetSkinData(Value); }
void TbsAppMenu::Loaded() { TbsSkinControl::Loaded(); }
void TbsAppMenu::Dispatch(TMessage& M) { TbsSkinControl::Dispatch(M); }
void TbsAppMenu::CalcItemRects() {}
void TbsAppMenu::CalcScrollInfo(int& AMin, int& AMax, int& APage) { AMin = 0; AMax = 0; APage = Height(); }
void TbsAppMenu::ScrollToItem(int) {}
void TbsAppMenu::TestActive(int, int) {}
void TbsAppMenu::PaintAppMenu(TCanvas*) {}
void TbsAppMenu::Paint() {}
void TbsAppMenu::Notification(TComponent* AComponent, TOperation Operation)
{
    TbsSkinControl::Notification(AComponent, Operation);
}
void TbsAppMenu::CreateParams(TCreateParams& Params) { TbsSkinControl::CreateParams(Params); }
void TbsAppMenu::KeyDown(WORD& Key, TShiftState Shift) { TbsSkinControl::KeyDown(Key, Shift); }
void TbsAppMenu::MouseMove(TShiftState Shift, int X, int Y) { TbsSkinControl::MouseMove(Shift, X, Y); }
void TbsAppMenu::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TbsSkinControl::MouseDown(Button, Shift, X, Y);
}
void TbsAppMenu::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TbsSkinControl::MouseUp(Button, Shift, X, Y);
}
void TbsAppMenu::ShowScrollBar() {}
void TbsAppMenu::HideScrollBar() {}
void TbsAppMenu::AdjustScrollBar() {}
void TbsAppMenu::ScrollBarChange(TObject*) {}
void TbsAppMenu::WMSize() {}
void TbsAppMenu::WMMouseWheel(TMessage&) {}
void TbsAppMenu::DrawSkinItem(TCanvas*, int) {}
void TbsAppMenu::DrawDefaultItem(TCanvas*, int) {}
void TbsAppMenu::DrawItemText(TCanvas*, TbsAppMenuItem*, TRect, bool, bool) {}

void MakeUniqueName(const String& Pattern, TComponent*, String& Name) { Name = Pattern; }
