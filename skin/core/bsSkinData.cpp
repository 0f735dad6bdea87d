// The skin data object: properties, lookups by name, clearing, the picture list, the
// global font change and the messages that announce a change to the forms.
#include "skin/core/bsSkinData.h"

#include "skin/core/bsUtils.h"

#include <algorithm>
#include <exception>
#include <optional>

TbsSkinData::TbsSkinData(TComponent* AOwner)
    : TComponent(AOwner),
      PopupWindow(std::make_unique<TbsDataSkinPopupWindow>()),
      LayerFrame(std::make_unique<TbsDataSkinLayerFrame>()),
      HintWindow(std::make_unique<TbsDataSkinHintWindow>()),
      FSkinColors(std::make_unique<TbsSkinColors>()),
      FPicture(std::make_unique<TBitmap>()),
      FInActivePicture(std::make_unique<TBitmap>()),
      FMask(std::make_unique<TBitmap>()),
      FActivePicturesNames(std::make_unique<TStringList>())
{
}

TbsSkinData::~TbsSkinData()
{
    Empty = true;
    ClearObjects();
}

bool TbsSkinData::IsDesigning() const { return ComponentState().Contains(csDesigning); }

bool TbsSkinData::IsLoading() const { return ComponentState().Contains(csLoading); }

// ---- Links and options

void TbsSkinData::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FCompressedStoredSkin) FCompressedStoredSkin = nullptr;
    if (AComponent == FResourceStrData) FResourceStrData = nullptr;
    if (AComponent == FCompressedSkinList) FCompressedSkinList = nullptr;
}

void TbsSkinData::SetSkinIndex(int Value)
{
    if (Value == FCompressedSkinIndex) return;
    if (!FCompressedSkinList) {
        FCompressedSkinIndex = Value;
        return;
    }
    if (Value < 0 || Value >= FCompressedSkinList->Skins()->Count()) return;
    // A damaged skin raises with the old skin still loaded: keep the index that names it.
    int OldIndex = FCompressedSkinIndex;
    FCompressedSkinIndex = Value;
    if (IsDesigning()) return;
    try {
        LoadCompressedStoredSkin(FCompressedSkinList->Skins()->Items(Value)->Skin());
    } catch (...) {
        FCompressedSkinIndex = OldIndex;
        throw;
    }
}

void TbsSkinData::SetSkinList(TbsCompressedSkinList* Value)
{
    if (FCompressedSkinList) FCompressedSkinList->RemoveFreeNotification(this);
    FCompressedSkinList = Value;
    if (!Value) return;
    Value->FreeNotification(this);
    if (!IsDesigning() && FCompressedSkinIndex >= 0 && FCompressedSkinIndex < Value->Skins()->Count())
        LoadCompressedStoredSkin(Value->Skins()->Items(FCompressedSkinIndex)->Skin());
}

void TbsSkinData::SetCompressedStoredSkin(TbsCompressedStoredSkin* Value)
{
    if (FCompressedStoredSkin) FCompressedStoredSkin->RemoveFreeNotification(this);
    FCompressedStoredSkin = Value;
    if (!Value) return;
    Value->FreeNotification(this);
    if (!IsDesigning()) LoadCompressedStoredSkin(Value);
}

void TbsSkinData::SetResourceStrData(TbsResourceStrData* Value)
{
    if (FResourceStrData) FResourceStrData->RemoveFreeNotification(this);
    FResourceStrData = Value;
    if (Value) Value->FreeNotification(this);
    if (!IsDesigning()) SendSkinDataMessage(ResourceStringsChanged);
}

void TbsSkinData::SetSkinnableForm(bool Value)
{
    if (FSkinnableForm == Value) return;
    FSkinnableForm = Value;
    if (!IsDesigning() && !IsLoading()) SendSkinDataMessage(SkinnableFormChanged);
}

void TbsSkinData::SetShowLayeredBorders(bool Value)
{
    if (FShowLayeredBorders == Value) return;
    FShowLayeredBorders = Value;
    if (!IsDesigning() && !IsLoading()) SendSkinDataMessage(LayeredBordersChanged);
}

void TbsSkinData::SetAeroBlurEnabled(bool Value)
{
    if (FAeroBlurEnabled == Value) return;
    FAeroBlurEnabled = Value;
    if (!IsDesigning() && !IsLoading()) SendSkinDataMessage(AeroBlurChanged);
}

// ---- Lookups

int TbsSkinData::GetIndex(const String& AIDName) const
{
    for (size_t i = 0; i < ObjectList.size(); ++i)
        if (ObjectList[i]->IDName == AIDName) return int(i);
    return -1;
}

int TbsSkinData::GetControlIndex(const String& AIDName) const
{
    for (size_t i = 0; i < CtrlList.size(); ++i)
        if (CtrlList[i]->IDName == AIDName) return int(i);
    return -1;
}

TBitmap* TbsSkinData::ActivePicture(int Index) const
{
    return Index >= 0 && Index < int(FActivePictures.size()) ? FActivePictures[Index].get() : nullptr;
}

// ---- Clearing

void TbsSkinData::ClearObjects()
{
    ObjectList.clear();
    CtrlList.clear();
    FActivePictures.clear();
    LayerFrame->PictureIndex = -1;
    LayerFrame->InActivePictureIndex = -1;
    LayerFrame->InitAlphaImages(this);
    PopupWindow->WindowPictureIndex = -1;
    HintWindow->WindowPictureIndex = -1;
    FActivePicturesNames->Clear();
    FSkinColors->SetColorsToDefault();
}

void TbsSkinData::ClearAll()
{
    ClearObjects();
    FPicture = std::make_unique<TBitmap>();
    FInActivePicture = std::make_unique<TBitmap>();
    FMask = std::make_unique<TBitmap>();
    FPictureName.clear();
    FInActivePictureName.clear();
    FMaskName.clear();
    Empty = true;
}

void TbsSkinData::ClearSkin()
{
    ClearAll();
    SendSkinDataMessage(SkinDataChanging);
    SendSkinDataMessage(SkinDataChanged);
    SendSkinDataMessage(SkinDataApplied);
}

// ---- Loading

namespace {

// Copies every stored field of one single record into another of its class.
template <class T>
void TakeFields(T* Dest, T* Source)
{
    for (const TbsSkinField& F : T::ClassFields())
        bsSetField(static_cast<typename T::Root*>(Dest), F, bsGetField(static_cast<typename T::Root*>(Source), F));
}

}  // namespace

void TbsSkinData::TakeSkinFrom(TbsSkinData& Source)
{
    for (const TbsSkinField& F : FormInfoFields()) bsSetField(this, F, bsGetField(&Source, F));
    SkinName = Source.SkinName;
    SkinAuthor = Source.SkinAuthor;
    AuthorURL = Source.AuthorURL;
    AuthorEmail = Source.AuthorEmail;
    SkinComments = Source.SkinComments;
    FPictureName = Source.FPictureName;
    FInActivePictureName = Source.FInActivePictureName;
    FMaskName = Source.FMaskName;
    std::swap(FPicture, Source.FPicture);
    std::swap(FInActivePicture, Source.FInActivePicture);
    std::swap(FMask, Source.FMask);
    std::swap(FActivePictures, Source.FActivePictures);
    std::swap(FActivePicturesNames, Source.FActivePicturesNames);
    std::swap(ObjectList, Source.ObjectList);
    std::swap(CtrlList, Source.CtrlList);
    // the single records keep their addresses, since forms and windows hold pointers to
    // them: their values come over, not the objects
    TakeFields(PopupWindow.get(), Source.PopupWindow.get());
    TakeFields(HintWindow.get(), Source.HintWindow.get());
    TakeFields(FSkinColors.get(), Source.FSkinColors.get());
    TakeFields(LayerFrame.get(), Source.LayerFrame.get());
    std::swap(LayerFrame->FSourceBitmap, Source.LayerFrame->FSourceBitmap);
    std::swap(LayerFrame->FSourceInActiveBitMap, Source.LayerFrame->FSourceInActiveBitMap);
}

void TbsSkinData::AnnounceSkin(TbsSkinData& Loaded, TbsSkinData* Previous)
{
    // The skin in Loaded is complete: announcing it cannot fail half way for want of
    // data. Should a receiver or the OnLoadData handler fail, the change is still
    // completed (with the skin cleared when it was not yet announced), so that no form
    // is left waiting for SkinDataChanged, and the error is passed on.
    enum { Started, Announced, Done } Stage = Started;
    try {
        Empty = true;
        ChangeSkinDataProcess = true;
        SendSkinDataMessage(SkinDataChanging);
        if (Previous) Previous->TakeSkinFrom(*this);
        ClearAll();
        TakeSkinFrom(Loaded);
        Empty = false;
        if (OnLoadData) OnLoadData(this);
        Stage = Announced;
        SendSkinDataMessage(SkinDataChanged);
        ChangeSkinDataProcess = false;
        Stage = Done;
        SendSkinDataMessage(SkinDataApplied);
    } catch (...) {
        try {
            if (Stage == Started) {
                ClearAll();
                SendSkinDataMessage(SkinDataChanged);
            }
            ChangeSkinDataProcess = false;
            if (Stage != Done) SendSkinDataMessage(SkinDataApplied);
        } catch (...) {
            ChangeSkinDataProcess = false;
        }
        throw;
    }
}

void TbsSkinData::PaintReceiversNow()
{
    const TbsSkinMessageRoute Route = EffectiveRoute();
    std::vector<TComponent*> Forms = Route.Forms();
    if (Owner() && Route.IsForm(Owner())) Forms.push_back(Owner());
    bsPaintFormsNow(Forms);
}

void TbsSkinData::ApplyLoadedSkin(TbsSkinData& Loaded)
{
    // A skin can pass every check of its reading and still fail when a form paints it
    // (a rectangle its picture cannot give, say).  The forms showing it are painted at
    // once, with the failures that the application would report box by box, paint by
    // paint, held back: on the first, the previous skin (or none) comes back and the
    // failure is raised once, to whoever asked for the skin.
    TbsSkinData Previous(nullptr);
    const bool HadSkin = !Empty;
    const std::optional<String> Failure = bsRunHoldingReportedErrors([&] {
        AnnounceSkin(Loaded, &Previous);
        PaintReceiversNow();
    });
    if (!Failure) return;
    try {
        bsRunHoldingReportedErrors([&] {
            if (HadSkin)
                AnnounceSkin(Previous, nullptr);
            else
                ClearSkin();
            PaintReceiversNow();
        });
    } catch (...) {
        // the failure to report is the new skin's
    }
    throw EReadError(Format("The skin cannot be painted: %s", *Failure));
}

void TbsSkinData::LoadFromCompressedFile(const String& FileName)
{
    auto StoredSkin = std::make_unique<TbsCompressedStoredSkin>(nullptr);
    StoredSkin->LoadFromCompressFile(FileName);
    if (!StoredSkin->GetEmpty()) LoadCompressedStoredSkin(StoredSkin.get());
}

void TbsSkinData::SaveToCompressedFile(const String& FileName)
{
    auto StoredSkin = std::make_unique<TbsCompressedStoredSkin>(nullptr);
    StoredSkin->LoadFromSkinData(this);
    StoredSkin->SaveToCompressFile(FileName);
}

// ---- The picture list

void TbsSkinData::AddBitMap(const String& FileName)
{
    // The picture is loaded first, so that a failed load leaves both lists as they were.
    auto Picture = std::make_unique<TBitmap>();
    Picture->LoadFromFile(FileName);
    FActivePicturesNames->Add(ExtractFileName(FileName));
    FActivePictures.push_back(std::move(Picture));
}

void TbsSkinData::DeleteBitMap(int Index)
{
    if (Index < 0 || Index >= int(FActivePictures.size()) || Index >= FActivePicturesNames->Count())
        throw EListError(Format("List index out of bounds (%d)", Index));
    FActivePicturesNames->Delete(Index);
    FActivePictures.erase(FActivePictures.begin() + Index);
}

// ---- Global font change

namespace {

template <class T>
void ChangeFont(T* R, const String& Name, int Correction)
{
    R->FontName = Name;
    R->FontHeight += Correction;
}

// Changes ARecord by the first class among Ts that it belongs to; false when none.
template <class... Ts, class R>
bool ChangeFontByClass(R* ARecord, const String& Name, int Correction)
{
    return ((dynamic_cast<Ts*>(ARecord) ? (ChangeFont(dynamic_cast<Ts*>(ARecord), Name, Correction), true)
                                         : false) ||
            ...);
}

} // namespace

void TbsSkinData::GlobalChangeFont(const String& ANewFontName, int AFontHeightCorrection)
{
    const String& N = ANewFontName;
    int C = AFontHeightCorrection;
    ChangeFont(HintWindow.get(), N, C);
    for (auto& R : ObjectList)
        ChangeFontByClass<TbsDataSkinMenuItem, TbsDataSkinMainMenuBarItem, TbsDataSkinCaption>(R.get(), N, C);
    for (auto& R : CtrlList) {
        TbsDataSkinControl* P = R.get();
        if (auto* G = dynamic_cast<TbsDataSkinGridControl*>(P)) {
            ChangeFont(G, N, C);
            G->FixedFontName = N;
            G->FixedFontHeight += C;
        } else if (auto* L = dynamic_cast<TbsDataSkinListBox*>(P)) {
            ChangeFont(L, N, C);
            L->CaptionFontName = N;
            L->CaptionFontHeight += C;
        } else {
            ChangeFontByClass<TbsDataSkinTreeView, TbsDataSkinListView, TbsDataSkinRichEdit, TbsDataSkinTabControl,
                              TbsDataSkinAppMenu, TbsDataSkinComboBox, TbsDataSkinSpinEditControl,
                              TbsDataSkinEditControl, TbsDataSkinStdLabelControl, TbsDataSkinLabelControl,
                              TbsDataSkinGaugeControl, TbsDataSkinButtonControl, TbsDataSkinCheckRadioControl,
                              TbsDataSkinPanelControl, TbsDataSkinExPanelControl>(P, N, C);
        }
    }
}

// ---- Messages to the forms

namespace {

TbsSkinMessageRoute& CustomRoute()
{
    static TbsSkinMessageRoute Route;
    return Route;
}

// The receivers of one announcement: a receiver freed by another's handler is struck off
// by its free notice before its turn comes.
class TbsReceiverList : public TComponent {
public:
    explicit TbsReceiverList(std::vector<TComponent*> ATargets) : TComponent(nullptr), Targets(std::move(ATargets))
    {
        for (TComponent* C : Targets) C->FreeNotification(this);
    }
    ~TbsReceiverList() override
    {
        for (TComponent* C : Targets)
            if (C) RemoveFreeNotification(C);
    }
    std::vector<TComponent*> Targets;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override
    {
        TComponent::Notification(AComponent, Operation);
        if (Operation != opRemove) return;
        for (TComponent*& C : Targets)
            if (C == AComponent) C = nullptr;
    }
};

} // namespace

void bsSetSkinMessageRoute(const TbsSkinMessageRoute& ARoute) { CustomRoute() = ARoute; }

TbsSkinMessageRoute TbsSkinData::EffectiveRoute()
{
    TbsSkinMessageRoute Route = bsDefaultSkinMessageRoute();
    const TbsSkinMessageRoute& Custom = CustomRoute();
    if (Custom.IsForm) Route.IsForm = Custom.IsForm;
    if (Custom.Forms) Route.Forms = Custom.Forms;
    if (Custom.Send) Route.Send = Custom.Send;
    return Route;
}

void TbsSkinData::SendSkinDataMessage(unsigned M)
{
    const TbsSkinMessageRoute Route = EffectiveRoute();

    uintptr_t WParam = reinterpret_cast<uintptr_t>(this);
    TComponent* Served = nullptr;
    std::exception_ptr Failure;
    if (Owner() && Route.IsForm(Owner()) && !FShowLayeredBorders) {
        Served = Owner();
        try {
            Route.Send(Owner(), M, WParam, SkinDataMessageParam);
        } catch (...) {
            Failure = std::current_exception();
        }
    }
    // The receivers are collected before the first send: a form made by a receiver
    // during the sending does not get this message.
    std::vector<TComponent*> Targets;
    for (TComponent* Form : Route.Forms()) {
        if (Form == Served || Form->ClassName() == "TbsFormLayerWindow") continue;
        Targets.push_back(Form);
    }
    if (FShowLayeredBorders && LayerFrame->PictureIndex != -1) std::reverse(Targets.begin(), Targets.end());
    // A receiver that fails does not keep the message from the others; the first
    // failure is passed on once all have it.
    TbsReceiverList Receivers(std::move(Targets));
    for (size_t I = 0; I < Receivers.Targets.size(); ++I) {
        TComponent* Form = Receivers.Targets[I];
        if (!Form) continue;
        try {
            Route.Send(Form, M, WParam, SkinDataMessageParam);
        } catch (...) {
            if (!Failure) Failure = std::current_exception();
        }
    }
    if (Failure) std::rethrow_exception(Failure);
}
