// The skin data object: lookups, clearing, the picture list, the global font change,
// the links and their writers, and the messages that announce changes to the forms.
#include "skindata_support.h"

using namespace skintest;

namespace {

TEST(SkinDataObject, Defaults)
{
    TbsSkinData D(nullptr);
    EXPECT_TRUE(D.Empty);
    EXPECT_FALSE(D.ChangeSkinDataProcess);
    EXPECT_TRUE(D.SkinnableForm());
    EXPECT_TRUE(D.EnableSkinEffects());
    EXPECT_TRUE(D.ShowButtonGlowFrames());
    EXPECT_TRUE(D.ShowCaptionButtonGlowFrames());
    EXPECT_TRUE(D.ShowLayeredBorders());
    EXPECT_TRUE(D.AeroBlurEnabled());
    EXPECT_FALSE(D.AnimationForAllWindows());
    EXPECT_TRUE(D.DlgTreeViewDrawSkin());
    EXPECT_EQ(D.DlgTreeViewItemSkinDataName(), "listbox");
    EXPECT_EQ(D.DlgListViewItemSkinDataName(), "listbox");
    EXPECT_EQ(D.SkinIndex(), 0);
    EXPECT_EQ(D.BGPictureIndex, -1);
    EXPECT_EQ(D.MDIBGPictureIndex, -1);
    EXPECT_EQ(D.SkinList(), nullptr);
    EXPECT_EQ(D.ResourceStrData(), nullptr);
}

TEST(SkinDataObject, LookupsGiveTheFirstExactName)
{
    TbsSkinData D(nullptr);
    EXPECT_EQ(D.GetControlIndex("button"), -1);
    EXPECT_EQ(D.GetIndex("caption"), -1);
    AddControl<TbsDataSkinPanelControl>(&D, "panel");
    AddControl<TbsDataSkinButtonControl>(&D, "button");
    AddControl<TbsDataSkinCheckRadioControl>(&D, "button");
    AddObject<TbsDataSkinCaption>(&D, "caption");
    EXPECT_EQ(D.GetControlIndex("button"), 1);
    EXPECT_EQ(D.GetControlIndex("Button"), -1);
    EXPECT_EQ(D.GetControlIndex("panel"), 0);
    EXPECT_EQ(D.GetIndex("caption"), 0);
    EXPECT_EQ(D.GetIndex("button"), -1);
}

TEST(SkinDataObject, ClearAllEmptiesTheSkin)
{
    TbsSkinData D(nullptr);
    FillSmallSkin(&D);
    D.FPictureName = "frame.bmp";
    D.FMaskName = "mask.bmp";
    D.FActivePicturesNames->Add("a.bmp");
    D.FActivePictures.push_back(std::make_unique<TBitmap>());
    D.LayerFrame->PictureIndex = 0;
    D.PopupWindow->WindowPictureIndex = 0;
    D.HintWindow->WindowPictureIndex = 0;
    D.Empty = false;
    D.ClearAll();
    EXPECT_TRUE(D.Empty);
    EXPECT_TRUE(D.CtrlList.empty());
    EXPECT_TRUE(D.ObjectList.empty());
    EXPECT_TRUE(D.FActivePictures.empty());
    EXPECT_EQ(D.FActivePicturesNames->Count(), 0);
    EXPECT_EQ(D.FPictureName, "");
    EXPECT_EQ(D.FMaskName, "");
    EXPECT_EQ(D.LayerFrame->PictureIndex, -1);
    EXPECT_EQ(D.PopupWindow->WindowPictureIndex, -1);
    EXPECT_EQ(D.HintWindow->WindowPictureIndex, -1);
    EXPECT_EQ(D.FSkinColors->FcBtnFace, clBtnFace);
    EXPECT_EQ(D.FSkinColors->FcWindowText, clWindowText);
}

TEST(SkinDataObject, ClearSkinAnnouncesTheChange)
{
    RecordingRoute Route;
    FakeForm F("Form1");
    Route.Screen = {&F};
    TbsSkinData D(nullptr);
    FillSmallSkin(&D);
    D.ClearSkin();
    EXPECT_TRUE(D.CtrlList.empty());
    EXPECT_EQ(Route.Sequence(), (std::vector<unsigned>{SkinDataChanging, SkinDataChanged, SkinDataApplied}));
}

TEST(SkinDataObject, PictureList)
{
    TbsSkinData D(nullptr);
    // A picture that cannot be loaded leaves both lists as they were.
    EXPECT_ANY_THROW(D.AddBitMap("/nonexistent/folder/pic.bmp"));
    EXPECT_EQ(D.FActivePicturesNames->Count(), 0);
    EXPECT_TRUE(D.FActivePictures.empty());
    EXPECT_THROW(D.DeleteBitMap(0), EListError);
    D.FActivePictures.push_back(std::make_unique<TBitmap>());
    D.FActivePictures.push_back(std::make_unique<TBitmap>());
    D.FActivePicturesNames->Add("a.bmp");
    D.FActivePicturesNames->Add("b.bmp");
    TBitmap* Second = D.FActivePictures[1].get();
    D.DeleteBitMap(0);
    ASSERT_EQ(D.FActivePictures.size(), 1u);
    EXPECT_EQ(D.FActivePictures[0].get(), Second);
    EXPECT_EQ(D.FActivePicturesNames->Strings(0), "b.bmp");
    EXPECT_EQ(D.ActivePicture(0), Second);
    EXPECT_EQ(D.ActivePicture(1), nullptr);
    EXPECT_EQ(D.ActivePicture(-1), nullptr);
}

TEST(SkinDataObject, GlobalChangeFont)
{
    TbsSkinData D(nullptr);
    FillSmallSkin(&D);
    auto* Grid = AddControl<TbsDataSkinGridControl>(&D, "grid");
    auto* Item = AddObject<TbsDataSkinMenuItem>(&D, "item");
    auto* Std = static_cast<TbsDataSkinStdButton*>(D.ObjectList[1].get());
    auto* Memo = static_cast<TbsDataSkinMemoControl*>(D.CtrlList[1].get());
    auto* List = static_cast<TbsDataSkinListBox*>(D.CtrlList[3].get());
    RecordingRoute Route;
    D.GlobalChangeFont("Verdana", 2);
    auto* Button = static_cast<TbsDataSkinButtonControl*>(D.CtrlList[0].get());
    EXPECT_EQ(Button->FontName, "Verdana");
    EXPECT_EQ(Button->FontHeight, 17);
    EXPECT_EQ(Memo->FontName, "Verdana");
    EXPECT_EQ(Memo->FontHeight, 15);
    EXPECT_EQ(List->CaptionFontName, "Verdana");
    EXPECT_EQ(List->CaptionFontHeight, 13);
    EXPECT_EQ(Grid->FixedFontHeight, 15);
    EXPECT_EQ(Item->FontName, "Verdana");
    EXPECT_EQ(Item->FontHeight, 2);
    EXPECT_EQ(D.HintWindow->FontHeight, 14);
    auto* Caption = static_cast<TbsDataSkinCaption*>(D.ObjectList[0].get());
    EXPECT_EQ(Caption->FontHeight, 15);
    // Records without text keep everything; no message is sent.
    EXPECT_EQ(Std->Hint, "Close");
    EXPECT_TRUE(Route.Log.empty());
}

TEST(SkinDataObject, LinksAreClearedWhenTheirComponentGoes)
{
    RecordingRoute Route;
    TbsSkinData D(nullptr);
    auto* Strings = new TbsResourceStrData(nullptr);
    D.SetResourceStrData(Strings);
    EXPECT_EQ(Route.Messages(ResourceStringsChanged).size(), 0u);  // no forms yet
    auto* List = new TbsCompressedSkinList(nullptr);
    auto* Stored = new TbsCompressedStoredSkin(nullptr);
    D.SetSkinList(List);
    D.SetCompressedStoredSkin(Stored);
    Route.Log.clear();
    delete Strings;
    delete List;
    delete Stored;
    EXPECT_EQ(D.ResourceStrData(), nullptr);
    EXPECT_EQ(D.SkinList(), nullptr);
    EXPECT_EQ(D.CompressedStoredSkin(), nullptr);
    EXPECT_TRUE(Route.Log.empty());
}

// ---- Messages

class SkinDataMessages : public ::testing::Test {
protected:
    RecordingRoute Route;
    FakeForm Owner{"Owner"};
    FakeForm A{"A"}, B{"B"};
    FakeForm Layer{"Layer", "TbsFormLayerWindow"};
    FakeForm Derived{"Derived", "TbsFormLayerWindow2"};
};

TEST_F(SkinDataMessages, RecipientOrder)
{
    struct Case {
        bool OwnerIsForm;
        bool Layered;
        int LayerPicture;
        std::vector<String> Expected;
    } Cases[] = {
        {true, false, -1, {"Owner", "A", "B", "Derived"}},
        {true, false, 0, {"Owner", "A", "B", "Derived"}},
        {true, true, -1, {"A", "Owner", "B", "Derived"}},
        {true, true, 0, {"Derived", "B", "Owner", "A"}},
        {false, false, -1, {"A", "B", "Derived"}},
        {false, true, 0, {"Derived", "B", "A"}},
    };
    for (const Case& C : Cases) {
        TComponent DataModule;
        TComponent* Own = C.OwnerIsForm ? static_cast<TComponent*>(&Owner) : &DataModule;
        Route.Screen = {&A, &Layer};
        if (C.OwnerIsForm) Route.Screen.push_back(&Owner);
        Route.Screen.push_back(&B);
        Route.Screen.push_back(&Derived);
        auto* D = new TbsSkinData(Own);
        D->SetShowLayeredBorders(C.Layered);
        D->LayerFrame->PictureIndex = C.LayerPicture;
        Route.Log.clear();
        D->SendSkinDataMessage(SkinDataChanged);
        EXPECT_EQ(Route.Messages(SkinDataChanged), C.Expected)
            << C.OwnerIsForm << C.Layered << C.LayerPicture;
        for (const Sent& S : Route.Log) {
            EXPECT_EQ(S.WParam, reinterpret_cast<uintptr_t>(D));
            EXPECT_EQ(S.LParam, 1000);
        }
        delete D;
    }
}

TEST_F(SkinDataMessages, AFormFreedByAnotherReceiverIsSkipped)
{
    auto* Doomed = new FakeForm("Doomed");
    auto* Last = new FakeForm("Last");
    Route.Screen = {&A, Doomed, Last};
    Route.OnSend = [&](TComponent* F, unsigned) {
        if (F != &A) return;
        Route.Screen.erase(std::find(Route.Screen.begin(), Route.Screen.end(), Doomed));
        delete Doomed;
    };
    TbsSkinData D(nullptr);
    D.SendSkinDataMessage(SkinDataChanged);
    EXPECT_EQ(Route.Messages(SkinDataChanged), (std::vector<String>{"A", "Last"}));
    Route.OnSend = nullptr;
    Route.Screen.clear();
    delete Last;
}

TEST_F(SkinDataMessages, AFormMadeDuringTheSendingDoesNotGetTheMessage)
{
    Route.Screen = {&A, &B};
    FakeForm Late("Late");
    Route.OnSend = [&](TComponent* F, unsigned) {
        if (F == &A) Route.Screen.push_back(&Late);
    };
    TbsSkinData D(nullptr);
    D.SendSkinDataMessage(SkinDataChanging);
    EXPECT_EQ(Route.Messages(SkinDataChanging), (std::vector<String>{"A", "B"}));
}

TEST_F(SkinDataMessages, AFailingReceiverDoesNotKeepTheMessageFromTheOthers)
{
    Route.Screen = {&A, &B};
    Route.OnSend = [&](TComponent* F, unsigned) {
        if (F == &A) throw Exception("receiver failed");
    };
    TbsSkinData D(nullptr);
    EXPECT_THROW(D.SendSkinDataMessage(SkinDataChanged), Exception);
    EXPECT_EQ(Route.Messages(SkinDataChanged), (std::vector<String>{"A", "B"}));
}

TEST_F(SkinDataMessages, OptionWritersSendOnlyOnChange)
{
    Route.Screen = {&A};
    TbsSkinData D(nullptr);
    D.SetSkinnableForm(true);
    D.SetShowLayeredBorders(true);
    D.SetAeroBlurEnabled(true);
    EXPECT_TRUE(Route.Log.empty());
    D.SetSkinnableForm(false);
    D.SetShowLayeredBorders(false);
    D.SetAeroBlurEnabled(false);
    EXPECT_EQ(Route.Sequence(),
              (std::vector<unsigned>{SkinnableFormChanged, LayeredBordersChanged, AeroBlurChanged}));
    // While the component is being loaded, option changes send nothing.
    Route.Log.clear();
    D.Loading();
    D.SetSkinnableForm(true);
    EXPECT_TRUE(Route.Log.empty());
    // The string table's writer always announces the new table.
    TbsResourceStrData Strings(nullptr);
    D.SetResourceStrData(&Strings);
    EXPECT_EQ(Route.Messages(ResourceStringsChanged), (std::vector<String>{"A"}));
    D.Loaded();
    D.SetResourceStrData(nullptr);
}

// ---- Choosing a skin from a list

class SkinDataSkinList : public ::testing::Test {
protected:
    void SetUp() override
    {
        Route.Screen = {&Form};
        TbsSkinData Source(nullptr);
        FillSmallSkin(&Source);
        List.Skins()->Add()->Skin()->LoadFromSkinData(&Source);
    }
    int Loads() const { return int(Route.Messages(SkinDataChanged).size()); }

    RecordingRoute Route;
    FakeForm Form{"Form1"};
    TbsCompressedSkinList List{nullptr};
};

TEST_F(SkinDataSkinList, AttachingAListLoadsTheSkinAtSkinIndex)
{
    TbsSkinData D(nullptr);
    D.SetSkinList(&List);
    EXPECT_EQ(Loads(), 1);
    EXPECT_FALSE(D.Empty);
    EXPECT_EQ(D.SkinName, "Small");
    EXPECT_EQ(D.GetControlIndex("memo"), 1);
    // The same index again: nothing.
    D.SetSkinIndex(0);
    EXPECT_EQ(Loads(), 1);
    // Outside the list: ignored, the old index kept.
    D.SetSkinIndex(1);
    EXPECT_EQ(D.SkinIndex(), 0);
    EXPECT_EQ(Loads(), 1);
    D.SetSkinIndex(-1);
    EXPECT_EQ(D.SkinIndex(), 0);
    D.SetSkinList(nullptr);
}

TEST_F(SkinDataSkinList, ADamagedItemKeepsTheLoadedSkinAndItsIndex)
{
    // Container version 3, a length, and bytes that are no zlib stream.
    const char Bad[] = "\3\0\0\0\4\0\0\0junk";
    TMemoryStream S;
    S.WriteBuffer(Bad, int64_t(sizeof(Bad) - 1));
    S.SetPosition(0);
    List.Skins()->Add()->Skin()->LoadFromCompressStream(&S);

    TbsSkinData D(nullptr);
    D.SetSkinList(&List);
    ASSERT_EQ(Loads(), 1);
    EXPECT_THROW(D.SetSkinIndex(1), Exception);
    EXPECT_EQ(D.SkinIndex(), 0);
    EXPECT_EQ(D.SkinName, "Small");
    EXPECT_EQ(Loads(), 1);
    D.SetSkinList(nullptr);
}

TEST_F(SkinDataSkinList, IndexWithoutAListIsOnlyStored)
{
    TbsSkinData D(nullptr);
    D.SetSkinIndex(5);
    EXPECT_EQ(D.SkinIndex(), 5);
    D.SetSkinList(&List);
    EXPECT_EQ(Loads(), 0);
    EXPECT_TRUE(D.Empty);
    // Back to an index inside the list: loads.
    D.SetSkinIndex(0);
    EXPECT_EQ(Loads(), 1);
    EXPECT_FALSE(D.Empty);
    D.SetSkinList(nullptr);
}

TEST_F(SkinDataSkinList, AnEmptyItemLoadsNothing)
{
    List.Skins()->Add();
    TbsSkinData D(nullptr);
    D.SetSkinIndex(1);
    D.SetSkinList(&List);
    EXPECT_EQ(Loads(), 0);
    EXPECT_TRUE(D.Empty);
    EXPECT_EQ(List.Skins()->Items(0)->Name(), "bsSkin0");
    EXPECT_EQ(List.Skins()->Items(1)->Name(), "bsSkin1");
    EXPECT_EQ(List.Skins()->Items(1)->DisplayName(), "bsSkin1");
    D.SetSkinList(nullptr);
}

TEST_F(SkinDataSkinList, LoadSequenceAndState)
{
    TbsSkinData D(nullptr);
    std::vector<String> Seen;
    D.OnLoadData = [&](TObject*) {
        Seen.push_back(Format("load empty=%d process=%d", int(D.Empty), int(D.ChangeSkinDataProcess)));
    };
    Route.OnSend = [&](TComponent*, unsigned M) {
        Seen.push_back(Format("%d empty=%d process=%d records=%d", int(M), int(D.Empty), int(D.ChangeSkinDataProcess),
                              int(D.CtrlList.size())));
    };
    D.SetSkinList(&List);
    EXPECT_EQ(Seen, (std::vector<String>{"1225 empty=1 process=1 records=0", "load empty=0 process=1",
                                         "1226 empty=0 process=1 records=4", "1227 empty=0 process=0 records=4"}));
    D.SetSkinList(nullptr);
}

TEST_F(SkinDataSkinList, AFailingLoadHandlerStillCompletesTheChange)
{
    TbsSkinData D(nullptr);
    D.OnLoadData = [](TObject*) { throw Exception("handler failed"); };
    EXPECT_THROW(D.SetSkinList(&List), Exception);
    EXPECT_EQ(Route.Sequence(), (std::vector<unsigned>{SkinDataChanging, SkinDataChanged, SkinDataApplied}));
    EXPECT_TRUE(D.Empty);
    EXPECT_FALSE(D.ChangeSkinDataProcess);
    D.SetSkinList(nullptr);
}

} // namespace
