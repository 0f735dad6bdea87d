// The nodes of a tree view: TTreeNode and TTreeNodes.
#include <algorithm>

#include "platform/forms/ComCtrls.h"

// ---- TTreeNode -----------------------------------------------------------------------------------------
TTreeNode::TTreeNode(TTreeNodes* AOwner) : FOwner(AOwner) {}

TTreeNode::~TTreeNode()
{
    for (TTreeNode* C : FChildren) delete C;
}

TCustomTreeView* TTreeNode::TreeView() const { return FOwner ? FOwner->Owner() : nullptr; }

void TTreeNode::Assign(TPersistent* Source)
{
    auto* S = dynamic_cast<TTreeNode*>(Source);
    if (!S) {
        TPersistent::Assign(Source);
        return;
    }
    FText = S->FText;
    FData = S->FData;
    FImageIndex = S->FImageIndex;
    FSelectedIndex = S->FSelectedIndex;
    FStateIndex = S->FStateIndex;
    FHasChildren = S->FHasChildren;
    if (TreeView()) TreeView()->NodeChanged(this, false);
}

void TTreeNode::SetText(const String& V)
{
    if (FText == V) return;
    FText = V;
    if (TreeView()) TreeView()->NodeChanged(this, true);
}

void TTreeNode::SetImageIndex(int V)
{
    FImageIndex = V;
    if (TreeView()) TreeView()->NodeChanged(this, false);
}

void TTreeNode::SetSelectedIndex(int V)
{
    FSelectedIndex = V;
    if (TreeView()) TreeView()->NodeChanged(this, false);
}

void TTreeNode::SetStateIndex(int V)
{
    FStateIndex = V;
    if (TreeView()) TreeView()->NodeChanged(this, false);
}

void TTreeNode::SetHasChildren(bool V)
{
    if (FHasChildren == V) return;
    FHasChildren = V;
    if (TreeView()) TreeView()->NodeChanged(this, false);
}

void TTreeNode::SetExpanded(bool V)
{
    if (V) Expand(false);
    else Collapse(false);
}

void TTreeNode::Expand(bool Recurse)
{
    if (TreeView()) TreeView()->ExpandNode(this, true);
    if (Recurse)
        for (size_t I = 0; I < FChildren.size(); ++I) FChildren[I]->Expand(true);
}

void TTreeNode::Collapse(bool Recurse)
{
    if (TreeView()) TreeView()->ExpandNode(this, false);
    if (Recurse)
        for (TTreeNode* C : FChildren) C->Collapse(true);
}

bool TTreeNode::Selected() const { return TreeView() && TreeView()->Selected() == this; }

void TTreeNode::SetSelected(bool V)
{
    if (!TreeView()) return;
    if (V) TreeView()->SelectNode(this, true);
    else if (Selected()) TreeView()->SelectNode(nullptr, true);
}

int TTreeNode::Level() const
{
    int L = 0;
    for (TTreeNode* P = FParent; P; P = P->FParent) ++L;
    return L;
}

TTreeNode* TTreeNode::Item(int I) const
{
    if (I < 0 || I >= Count()) throw EListError(Format("List index out of bounds (%d)", I));
    return FChildren[size_t(I)];
}

int TTreeNode::Index() const
{
    const auto& S = FParent ? FParent->FChildren : FOwner->FRoots;
    auto It = std::find(S.begin(), S.end(), this);
    return It == S.end() ? -1 : int(It - S.begin());
}

int TTreeNode::AbsoluteIndex() const
{
    int I = 0;
    for (TTreeNode* N = FOwner->GetFirstNode(); N; N = N->GetNext(), ++I)
        if (N == this) return I;
    return -1;
}

TTreeNode* TTreeNode::GetNextSibling() const
{
    const auto& S = FParent ? FParent->FChildren : FOwner->FRoots;
    int I = Index();
    return I >= 0 && size_t(I + 1) < S.size() ? S[size_t(I + 1)] : nullptr;
}

TTreeNode* TTreeNode::GetPrevSibling() const
{
    const auto& S = FParent ? FParent->FChildren : FOwner->FRoots;
    int I = Index();
    return I > 0 ? S[size_t(I - 1)] : nullptr;
}

TTreeNode* TTreeNode::GetNext() const
{
    if (!FChildren.empty()) return FChildren.front();
    for (const TTreeNode* N = this; N; N = N->FParent)
        if (TTreeNode* S = N->GetNextSibling()) return S;
    return nullptr;
}

TTreeNode* TTreeNode::GetPrev() const
{
    TTreeNode* S = GetPrevSibling();
    if (!S) return FParent;
    while (!S->FChildren.empty()) S = S->FChildren.back();
    return S;
}

bool TTreeNode::IsVisible() const
{
    for (TTreeNode* P = FParent; P; P = P->FParent)
        if (!P->FExpanded) return false;
    return true;
}

TTreeNode* TTreeNode::GetNextVisible() const
{
    if (!IsVisible()) return nullptr;
    if (FExpanded && !FChildren.empty()) return FChildren.front();
    for (const TTreeNode* N = this; N; N = N->FParent)
        if (TTreeNode* S = N->GetNextSibling()) return S;
    return nullptr;
}

TTreeNode* TTreeNode::GetPrevVisible() const
{
    if (!IsVisible()) return nullptr;
    TTreeNode* S = GetPrevSibling();
    if (!S) return FParent;
    while (S->FExpanded && !S->FChildren.empty()) S = S->FChildren.back();
    return S;
}

void TTreeNode::MakeVisible()
{
    for (TTreeNode* P = FParent; P; P = P->FParent)
        if (!P->FExpanded) P->Expand(false);
    if (TreeView()) TreeView()->EnsureVisible(this);
}

TRect TTreeNode::DisplayRect(bool TextOnly) const
{
    return TreeView() ? TreeView()->NodeRect(this, TextOnly) : TRect();
}

bool TTreeNode::EditText() { return TreeView() && TreeView()->StartEdit(this); }

void TTreeNode::EndEdit(bool Cancel)
{
    if (TreeView()) TreeView()->EndEdit(!Cancel);
}

void TTreeNode::Delete() { FOwner->Delete(this); }

void TTreeNode::DeleteChildren()
{
    FOwner->BeginUpdate();
    while (!FChildren.empty()) FOwner->Delete(FChildren.back());
    FOwner->EndUpdate();
}

bool TTreeNode::AlphaSort(bool Recurse)
{
    return CustomSort([](TTreeNode* A, TTreeNode* B) { return CompareText(A->Text(), B->Text()); }, Recurse);
}

bool TTreeNode::CustomSort(const std::function<int(TTreeNode*, TTreeNode*)>& Compare, bool Recurse)
{
    std::stable_sort(FChildren.begin(), FChildren.end(), [&](TTreeNode* A, TTreeNode* B) { return Compare(A, B) < 0; });
    if (Recurse)
        for (TTreeNode* C : FChildren) C->CustomSort(Compare, true);
    if (TreeView()) TreeView()->NodeChanged(this, true);
    return true;
}

bool TTreeNode::HasAsParent(TTreeNode* Value) const
{
    for (TTreeNode* P = FParent; P; P = P->FParent)
        if (P == Value) return true;
    return false;
}

// ---- TTreeNodes ----------------------------------------------------------------------------------------
TTreeNodes::TTreeNodes(TCustomTreeView* AOwner) : FOwner(AOwner) {}

TTreeNodes::~TTreeNodes()
{
    for (TTreeNode* N : FRoots) delete N;
}

int TTreeNodes::Count() const
{
    int C = 0;
    for (TTreeNode* N = GetFirstNode(); N; N = N->GetNext()) ++C;
    return C;
}

TTreeNode* TTreeNodes::Item(int AbsoluteIndex) const
{
    int I = 0;
    for (TTreeNode* N = GetFirstNode(); N; N = N->GetNext(), ++I)
        if (I == AbsoluteIndex) return N;
    throw EListError(Format("List index out of bounds (%d)", AbsoluteIndex));
}

TTreeNode* TTreeNodes::InternalAdd(TTreeNode* Parent, int Index, const String& S, void* Data)
{
    auto* N = new TTreeNode(this);
    N->FText = S;
    N->FData = Data;
    N->FParent = Parent;
    auto& L = Siblings(Parent);
    if (FOwner->SortType() == stText || FOwner->SortType() == stBoth)
        Index = int(std::upper_bound(L.begin(), L.end(), S, [](const String& A, TTreeNode* B) {
                        return CompareText(A, B->Text()) < 0;
                    }) - L.begin());
    Index = std::clamp(Index, 0, int(L.size()));
    L.insert(L.begin() + Index, N);
    FOwner->NodeChanged(Parent ? Parent : N, true);
    return N;
}

TTreeNode* TTreeNodes::Add(TTreeNode* Sibling, const String& S) { return AddObject(Sibling, S, nullptr); }

TTreeNode* TTreeNodes::AddObject(TTreeNode* Sibling, const String& S, void* Data)
{
    TTreeNode* P = Sibling ? Sibling->FParent : nullptr;
    return InternalAdd(P, int(Siblings(P).size()), S, Data);
}

TTreeNode* TTreeNodes::AddFirst(TTreeNode* Sibling, const String& S)
{
    return InternalAdd(Sibling ? Sibling->FParent : nullptr, 0, S, nullptr);
}

TTreeNode* TTreeNodes::AddChild(TTreeNode* Parent, const String& S) { return AddChildObject(Parent, S, nullptr); }

TTreeNode* TTreeNodes::AddChildObject(TTreeNode* Parent, const String& S, void* Data)
{
    return InternalAdd(Parent, int(Siblings(Parent).size()), S, Data);
}

TTreeNode* TTreeNodes::AddChildFirst(TTreeNode* Parent, const String& S) { return InternalAdd(Parent, 0, S, nullptr); }

TTreeNode* TTreeNodes::Insert(TTreeNode* Sibling, const String& S)
{
    if (!Sibling) return Add(nullptr, S);
    return InternalAdd(Sibling->FParent, Sibling->Index(), S, nullptr);
}

void TTreeNodes::Delete(TTreeNode* Node)
{
    if (!Node) return;
    // children first, each announced before it goes
    while (!Node->FChildren.empty()) Delete(Node->FChildren.back());
    FOwner->NodeDeleting(Node);
    auto& L = Siblings(Node->FParent);
    L.erase(std::remove(L.begin(), L.end(), Node), L.end());
    TTreeNode* Parent = Node->FParent;
    delete Node;
    FOwner->NodeChanged(Parent, true);
}

void TTreeNodes::Clear()
{
    BeginUpdate();
    while (!FRoots.empty()) Delete(FRoots.back());
    EndUpdate();
}

void TTreeNodes::BeginUpdate() { ++FUpdateCount; }

void TTreeNodes::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0) FOwner->NodeChanged(nullptr, true);
}

void TTreeNodes::Assign(TPersistent* Source)
{
    auto* S = dynamic_cast<TTreeNodes*>(Source);
    if (!S) {
        TPersistent::Assign(Source);
        return;
    }
    BeginUpdate();
    Clear();
    std::function<void(TTreeNode*, TTreeNode*)> Copy = [&](TTreeNode* From, TTreeNode* ToParent) {
        TTreeNode* N = AddChildObject(ToParent, From->Text(), From->Data());
        N->Assign(From);
        for (TTreeNode* C : From->FChildren) Copy(C, N);
    };
    for (TTreeNode* R : S->FRoots) Copy(R, nullptr);
    EndUpdate();
}
