// The frames of an MDI main form and of its children working together: the children
// report their moves and state changes by message; the main form's frame keeps the
// maximized-child state and arranges the children (tile, cascade, minimize, maximize,
// restore and close all).  The children are child windows of the main form's MDI client
// window (the platform's), so their bounds are in that window's coordinates.
#include "skin/frame/bsSkinFormFrame.h"

#include <cmath>

#include "platform/forms/Menus.h"

namespace {

TCustomForm* MainForm() { return Application ? Application->MainForm() : nullptr; }

bool IsMDIMain(TCustomForm* F) { return F && F == MainForm() && F->FormStyle() == fsMDIForm; }

// The start of every arrangement: on an MDI main form with children, all of them restored;
// L the children, A the MDI client area.  False when there is nothing to arrange.
bool StartArranging(TbsSkinFormFrame* F, std::vector<TCustomForm*>& L, TRect& A)
{
    if (!IsMDIMain(F->Form())) return false;
    L = bsMDIChildren();
    if (L.empty()) return false;
    F->RestoreAll();
    F->GetMDIClientRect(A);
    return true;
}

}  // namespace

std::vector<TCustomForm*> bsMDIChildren()
{
    std::vector<TCustomForm*> L;
    TCustomForm* M = MainForm();
    if (!IsMDIMain(M)) return L;
    for (int I = 0; I < M->MDIChildCount(); ++I) L.push_back(M->MDIChildren(I));
    return L;
}

TCustomForm* bsActiveMDIChild()
{
    TCustomForm* M = MainForm();
    return IsMDIMain(M) ? M->ActiveMDIChild() : nullptr;
}

TbsSkinFormFrame* FindMaximizedChildSkinForm()
{
    TbsSkinFormFrame* Main = MainForm() ? FindSkinFormComponent(MainForm()) : nullptr;
    TCustomForm* F = Main ? Main->GetMaximizedChild() : nullptr;
    return F ? FindSkinFormComponent(F) : nullptr;
}

TbsSkinFormFrame* FindActiveChildSkinForm()
{
    TCustomForm* F = bsActiveMDIChild();
    return F ? FindSkinFormComponent(F) : nullptr;
}

// ---- queries --------------------------------------------------------------------------------

void TbsSkinFormFrame::GetMDIClientRect(TRect& R)
{
    if (TCustomForm* M = MainForm()) R = M->MDIClientRect();
}

TCustomForm* TbsSkinFormFrame::GetMaximizedChild()
{
    if (TCustomForm* A = bsActiveMDIChild())
        if (TbsSkinFormFrame* F = FindSkinFormComponent(A); F && F->WindowState() == wsMaximized) return A;
    for (TCustomForm* C : bsMDIChildren())
        if (TbsSkinFormFrame* F = FindSkinFormComponent(C); F && F->WindowState() == wsMaximized) return C;
    return nullptr;
}

void TbsSkinFormFrame::SetChildBounds(TCustomForm* Child, int L, int T, int W, int H)
{
    // a child window of the MDI client window: its bounds are in that window's coordinates
    Child->SetBounds(L, T, W, H);
}

TPoint TbsSkinFormFrame::ChildPosition(TCustomForm* Child) { return TPoint(Child->Left(), Child->Top()); }

// ---- arranging ------------------------------------------------------------------------------

void TbsSkinFormFrame::MinimizeAll()
{
    if (!IsMDIMain(FForm)) return;
    for (TCustomForm* C : bsMDIChildren())
        if (TbsSkinFormFrame* F = FindSkinFormComponent(C)) F->SetWindowState(wsMinimized);
}

void TbsSkinFormFrame::MaximizeAll()
{
    if (!IsMDIMain(FForm)) return;
    for (TCustomForm* C : bsMDIChildren())
        if (TbsSkinFormFrame* F = FindSkinFormComponent(C); F && F->BorderIcons().Contains(TbsBorderIcon::biMaximize))
            F->SetWindowState(wsMaximized);
}

void TbsSkinFormFrame::RestoreAllExcept(HWND AFormHandle)
{
    if (!IsMDIMain(FForm)) return;
    for (TCustomForm* C : bsMDIChildren()) {
        if (AFormHandle && C->HandleAllocated() && C->Handle() == AFormHandle) continue;
        TbsSkinFormFrame* F = FindSkinFormComponent(C);
        if (!F) continue;
        if (F->WindowState() != wsNormal) F->SetWindowState(wsNormal);
        else if (F->RollUpState()) F->SetRollUpState(false);
    }
}

void TbsSkinFormFrame::RestoreAll() { RestoreAllExcept(nullptr); }

void TbsSkinFormFrame::CloseAll()
{
    if (!IsMDIMain(FForm)) return;
    auto L = bsMDIChildren();
    for (auto I = L.rbegin(); I != L.rend(); ++I) (*I)->Close();
}

void TbsSkinFormFrame::Tile()
{
    if (FTileMode == tbHorizontal) TileHorizontal();
    else TileVertical();
}

void TbsSkinFormFrame::TileHorizontal()
{
    std::vector<TCustomForm*> L;
    TRect A;
    if (!StartArranging(this, L, A)) return;
    const int N = int(L.size()), AW = A.Width(), AH = A.Height();
    int Cols = std::max(1, int(std::trunc(std::sqrt(double(N)))));
    int Rows = N / Cols + (N > (N / Cols) * Cols ? 1 : 0);
    int CW = AW / Cols, RH = AH / Rows;
    int X = AW, Y = AH, Left = N;
    for (int I = N - 1; I >= 0; --I) {
        SetChildBounds(L[size_t(I)], std::max(X - CW, 0), std::max(Y - RH, 0), CW, RH);
        --Left;
        Y -= RH;
        if (Y - RH < 0 && Left > 0) {
            // the column is full: the next one to the left
            Y = AH;
            X -= CW;
            Cols = std::max(1, Cols - 1);
            Rows = std::max(1, Left / Cols + (Left % Cols ? 1 : 0));
            RH = AH / Rows;
        }
    }
}

void TbsSkinFormFrame::TileVertical()
{
    std::vector<TCustomForm*> L;
    TRect A;
    if (!StartArranging(this, L, A)) return;
    const int N = int(L.size()), AW = A.Width(), AH = A.Height();
    int Rows = std::max(1, int(std::trunc(std::sqrt(double(N)))));
    int Cols = std::max(1, N / Rows);
    int CW = AW / Cols, RH = AH / Rows;
    int X = 0, Y = 0;
    for (int I = 0; I < N; ++I) {
        SetChildBounds(L[size_t(I)], X, Y, CW, RH);
        Y += RH;
        if (Y + RH > AH && I + 1 < N) {
            // the column is full: the next one to the right
            Y = 0;
            X += CW;
            Cols = std::max(1, Cols - 1);
            Rows = std::max(1, (N - I - 1) / Cols);
            RH = AH / Rows;
        }
    }
}

void TbsSkinFormFrame::Cascade()
{
    std::vector<TCustomForm*> L;
    TRect A;
    if (!StartArranging(this, L, A)) return;
    const int N = int(L.size()), AW = A.Width(), AH = A.Height();
    int S = FSkinSupport ? NewClRect.Top : GetDefCaptionHeight() + 3;
    if (S <= 0) S = 1;
    int K = (AW - int(std::lround(AW * 0.8))) / S;
    int W, H;
    if (K > N) {
        W = AW - (N - 1) * S;
        H = AH - (N - 1) * S;
    } else {
        W = AW - K * S;
        H = AH - K * S;
    }
    W = std::max(W, GetMinWidth());
    H = std::max(H, GetMinHeight());
    int O = 0;
    for (int I = N - 1; I >= 0; --I) {
        TCustomForm* C = L[size_t(I)];
        int CW = C->BorderStyle() == bsSingle ? C->Width() : W;
        int CH = C->BorderStyle() == bsSingle ? C->Height() : H;
        if (O + CW > AW || O + CH > AH) O = 0;
        SetChildBounds(C, O, O, CW, CH);
        O += S;
    }
}

void TbsSkinFormFrame::NotifyChildrenFitClient()
{
    if (!IsMDIMain(FForm)) return;
    for (TCustomForm* C : bsMDIChildren())
        if (C->HandleAllocated()) SendMessage(C->Handle(), MDIChildFitClient, 0, 0);
    if (!FShowMDIScrollBars) ArrangeMinimizedChildren();
}

void TbsSkinFormFrame::ArrangeMinimizedChildren()
{
    for (TCustomForm* C : bsMDIChildren())
        if (TbsSkinFormFrame* F = FindSkinFormComponent(C); F && F->WindowState() == wsMinimized) {
            TPoint P;
            F->GetMinimizedPosition(P);
            SetChildBounds(C, P.X, P.Y, C->Width(), C->Height());
        }
}

// ---- the protocol ---------------------------------------------------------------------------

void TbsSkinFormFrame::NotifyMainForm(unsigned Msg, WPARAM W)
{
    TCustomForm* M = MainForm();
    if (IsMDIChild() && M && M != FForm && M->HandleAllocated()) SendMessage(M->Handle(), Msg, W, 0);
}

void TbsSkinFormFrame::MDIStateChanged()
{
    UpDateFormNC();
    if (FMainMenuBar) FMainMenuBar->CheckMDIButtons();
    RibbonMDIChildRestored();
    UpdateMDIScrollBars(true);
}

bool TbsSkinFormFrame::MDIMessage(TMessage& M)
{
    if (M.Msg == MDIChildFitClient) {
        if (IsMDIChild() && FWindowState == wsMaximized) {
            TRect A;
            GetMDIClientRect(A);
            SetChildBounds(FForm, 0, 0, A.Width(), A.Height());
        }
        return false;
    }
    if (!IsMDIMain(FForm)) return false;
    if (M.Msg == MDIChildMaximized) {
        if (FInMaximizeAll) return false;
        FMDIChildMaximized = true;
        UpDateFormNC();
        if (FMainMenuBar) FMainMenuBar->ShowMDIButtons();
        RibbonMDIChildMaximized();
        FInMaximizeAll = true;
        MaximizeAll();
        FInMaximizeAll = false;
        UpdateMDIScrollBars(true);
        return true;
    }
    if (M.Msg == MDIChildRestored) {
        if (FInRestoreAll) return false;
        if (!GetMaximizedChild()) FMDIChildMaximized = false;
        MDIStateChanged();
        return true;
    }
    if (M.Msg == MDIChildMoved) {
        if (FStopCheckChildMove) return false;
        ChangeVisibleChildHanle = reinterpret_cast<HWND>(M.WParam);
        UpdateMDIScrollBars(true);
        ChangeVisibleChildHanle = nullptr;
        return true;
    }
    if (M.Msg == MDIRestoreAll || M.Msg == MDIRestoreAllExcept) {
        if (FInRestoreAll || !FMDIChildMaximized) return false;
        FInRestoreAll = true;
        if (M.Msg == MDIRestoreAll) RestoreAll();
        else RestoreAllExcept(reinterpret_cast<HWND>(M.WParam));
        FInRestoreAll = false;
        FMDIChildMaximized = false;
        if (M.Msg == MDIRestoreAllExcept) NextMDIChild();
        MDIStateChanged();
        return true;
    }
    return false;
}

void TbsSkinFormFrame::NextMDIChild()
{
    if (IsMDIMain(FForm)) FForm->Next();
}

// ---- the window menu ------------------------------------------------------------------------

namespace {

const String ChildItemTag = "_BSFCHILDITEM";

TMenuItem* MainWindowMenu()
{
    TCustomForm* M = MainForm();
    return M && FindSkinFormComponent(M) ? M->WindowMenu() : nullptr;
}

bool IsChildItem(TMenuItem* I) { return I->Name().find(ChildItemTag) != String::npos; }

String ChildOfItem(TMenuItem* I)
{
    String N = I->Name();
    size_t P = N.find(ChildItemTag);
    return P == String::npos ? N : N.substr(0, P) + N.substr(P + ChildItemTag.size());
}

TMenuItem* ItemOfChild(TMenuItem* Menu, TCustomForm* Child)
{
    for (int I = 0; I < Menu->Count(); ++I)
        if (TMenuItem* E = Menu->Items(I); IsChildItem(E) && ChildOfItem(E) == Child->Name()) return E;
    return nullptr;
}

}  // namespace

void TbsSkinFormFrame::AddChildToMenu(TCustomForm* Child)
{
    TMenuItem* Menu = MainWindowMenu();
    TbsSkinFormFrame* ChildFrame = FindSkinFormComponent(Child);
    if (!Menu || !ChildFrame || ItemOfChild(Menu, Child)) return;
    auto* E = new TMenuItem(ChildFrame);
    E->SetName(Child->Name() + ChildItemTag);
    E->SetCaption(Child->Caption());
    E->OnClick = [ChildFrame](TObject* S) { ChildFrame->MDIItemClick(S); };
    Menu->Add(E);
}

void TbsSkinFormFrame::DeleteChildFromMenu(TCustomForm* Child)
{
    TMenuItem* Menu = MainWindowMenu();
    if (!Menu) return;
    if (TMenuItem* E = ItemOfChild(Menu, Child)) {
        Menu->Remove(E);
        delete E;
    }
    if (!bsMDIChildren().empty()) return;
    for (int I = 0; I < Menu->Count(); ++I)
        if (TMenuItem* E = Menu->Items(I); IsChildItem(E)) {
            Menu->Remove(E);
            delete E;
            break;
        }
}

void TbsSkinFormFrame::UpDateChildCaptionInMenu(TCustomForm* Child)
{
    if (TMenuItem* Menu = MainWindowMenu())
        if (TMenuItem* E = ItemOfChild(Menu, Child)) E->SetCaption(Child->Caption());
}

void TbsSkinFormFrame::UpDateChildActiveInMenu()
{
    TMenuItem* Menu = MainWindowMenu();
    if (!Menu) return;
    TCustomForm* A = bsActiveMDIChild();
    for (int I = 0; I < Menu->Count(); ++I)
        if (TMenuItem* E = Menu->Items(I); IsChildItem(E)) E->SetChecked(A && ChildOfItem(E) == A->Name());
}

void TbsSkinFormFrame::MDIItemClick(TObject* Sender)
{
    auto* E = dynamic_cast<TMenuItem*>(Sender);
    if (!E) return;
    String Name = ChildOfItem(E);
    for (TCustomForm* C : bsMDIChildren()) {
        if (C->Name() != Name) continue;
        if (TbsSkinFormFrame* F = FindSkinFormComponent(C); F && F->WindowState() == wsMinimized)
            F->SetWindowState(wsNormal);
        C->Show();
    }
}
