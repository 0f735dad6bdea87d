// The skin folder: an ini file describing the skin and the bitmap files it names.
// Also the section readers and writers that the stored skin shares.
#include "skin/core/bsSkinData.h"

#include "skin/core/bsUtils.h"

#include <algorithm>
#include <filesystem>
#include <set>

namespace fs = std::filesystem;

// ---- Kind keywords

namespace {

template <class T, class B>
std::unique_ptr<B> Make(const String& Name)
{
    return std::make_unique<T>(Name);
}

struct TControlKind {
    const char* Keyword;
    std::unique_ptr<TbsDataSkinControl> (*Create)(const String&);
    bool (*Is)(const TbsDataSkinControl*);
};

struct TObjectKind {
    const char* Keyword;
    std::unique_ptr<TbsDataSkinObject> (*Create)(const String&);
    bool (*Is)(const TbsDataSkinObject*);
};

#define BS_CONTROL_KIND(K, T) \
    TControlKind { K, &Make<T, TbsDataSkinControl>, [](const TbsDataSkinControl* R) { return dynamic_cast<const T*>(R) != nullptr; } }
#define BS_OBJECT_KIND(K, T) \
    TObjectKind { K, &Make<T, TbsDataSkinObject>, [](const TbsDataSkinObject* R) { return dynamic_cast<const T*>(R) != nullptr; } }

// Derived classes come before their bases, so that the first class test that holds
// gives a record's own keyword.
const TControlKind ControlKinds[] = {
    BS_CONTROL_KIND("panel", TbsDataSkinPanelControl),
    BS_CONTROL_KIND("expanel", TbsDataSkinExPanelControl),
    BS_CONTROL_KIND("menubutton", TbsDataSkinMenuButtonControl),
    BS_CONTROL_KIND("button", TbsDataSkinButtonControl),
    BS_CONTROL_KIND("checkradio", TbsDataSkinCheckRadioControl),
    BS_CONTROL_KIND("gauge", TbsDataSkinGaugeControl),
    BS_CONTROL_KIND("splitter", TbsDataSkinSplitterControl),
    BS_CONTROL_KIND("trackbar", TbsDataSkinTrackBarControl),
    BS_CONTROL_KIND("label", TbsDataSkinLabelControl),
    BS_CONTROL_KIND("stdlabel", TbsDataSkinStdLabelControl),
    BS_CONTROL_KIND("updown", TbsDataSkinUpDownControl),
    BS_CONTROL_KIND("grid", TbsDataSkinGridControl),
    BS_CONTROL_KIND("tab", TbsDataSkinTabControl),
    BS_CONTROL_KIND("mainmenubar", TbsDataSkinMainMenuBar),
    BS_CONTROL_KIND("controlbar", TbsDataSkinControlBar),
    BS_CONTROL_KIND("appmenu", TbsDataSkinAppMenu),
    BS_CONTROL_KIND("memo", TbsDataSkinMemoControl),
    BS_CONTROL_KIND("edit", TbsDataSkinEditControl),
    BS_CONTROL_KIND("checklistbox", TbsDataSkinCheckListBox),
    BS_CONTROL_KIND("listbox", TbsDataSkinListBox),
    BS_CONTROL_KIND("combobox", TbsDataSkinComboBox),
    BS_CONTROL_KIND("scrollbar", TbsDataSkinScrollBarControl),
    BS_CONTROL_KIND("spinedit", TbsDataSkinSpinEditControl),
    BS_CONTROL_KIND("scrollbox", TbsDataSkinScrollBoxControl),
    BS_CONTROL_KIND("treeview", TbsDataSkinTreeView),
    BS_CONTROL_KIND("bevel", TbsDataSkinBevel),
    BS_CONTROL_KIND("slider", TbsDataSkinSlider),
    BS_CONTROL_KIND("listview", TbsDataSkinListView),
    BS_CONTROL_KIND("richedit", TbsDataSkinRichEdit),
};

const TObjectKind ObjectKinds[] = {
    BS_OBJECT_KIND("menuitem", TbsDataSkinMenuItem),
    BS_OBJECT_KIND("mainmenubaritem", TbsDataSkinMainMenuBarItem),
    BS_OBJECT_KIND("mainmenubarbutton", TbsDataSkinMainMenuBarButton),
    BS_OBJECT_KIND("stdbutton", TbsDataSkinStdButton),
    BS_OBJECT_KIND("button", TbsDataSkinButton),
    BS_OBJECT_KIND("caption", TbsDataSkinCaption),
    BS_OBJECT_KIND("userobject", TbsDataUserObject),
    BS_OBJECT_KIND("animate", TbsDataSkinAnimate),
};

// The fixed sections of a skin description.
const char* const FixedSections[] = {"VERSION",    "PICTURES",   "FORMINFO",    "POPUPWINDOW", "LAYERFRAME",
                                     "HINTWINDOW", "SKINCOLORS", "SKINOBJECTS", "SKINCONTROLS"};

} // namespace

std::unique_ptr<TbsDataSkinControl> bsCreateControlRecord(const String& Kind, const String& AIDName)
{
    for (const TControlKind& K : ControlKinds)
        if (Kind == K.Keyword) return K.Create(AIDName);
    return nullptr;
}

std::unique_ptr<TbsDataSkinObject> bsCreateObjectRecord(const String& Kind, const String& AIDName)
{
    for (const TObjectKind& K : ObjectKinds)
        if (Kind == K.Keyword) return K.Create(AIDName);
    return nullptr;
}

String bsControlKind(const TbsDataSkinControl* ARecord)
{
    for (const TControlKind& K : ControlKinds)
        if (K.Is(ARecord)) return K.Keyword;
    return String();
}

String bsObjectKind(const TbsDataSkinObject* ARecord)
{
    for (const TObjectKind& K : ObjectKinds)
        if (K.Is(ARecord)) return K.Keyword;
    return String();
}

void SplitNameKind(const String& S, String& Name, String& Kind)
{
    size_t P = S.find(':');
    if (P == String::npos) {
        Name.clear();
        Kind.clear();
        return;
    }
    Name = S.substr(0, P);
    Kind = S.substr(P + 1);
}

// ---- "FORMINFO"

const TbsFieldTable& TbsSkinData::FormInfoFields()
{
    using Self = TbsSkinData;
    using Root = TbsSkinData;
    static const TbsFieldTable Table = {
        BS_FIELD(LTPoint, "lefttoppoint", Point, TPoint()),
        BS_FIELD(RTPoint, "righttoppoint", Point, TPoint()),
        BS_FIELD(LBPoint, "leftbottompoint", Point, TPoint()),
        BS_FIELD(RBPoint, "rightbottompoint", Point, TPoint()),
        BS_FIELD(ClRect, "clientrect", Rect, TRect()),
        BS_FIELD(BGPictureIndex, "bgpictureindex", Integer, -1),
        BS_FIELD(MDIBGPictureIndex, "mdibgpictureindex", Integer, -1),
        BS_FIELD(LeftStretch, "leftstretch", Boolean, false),
        BS_FIELD(RightStretch, "rightstretch", Boolean, false),
        BS_FIELD(TopStretch, "topstretch", Boolean, false),
        BS_FIELD(BottomStretch, "bottomstretch", Boolean, false),
        BS_FIELD(StretchEffect, "stretcheffect", Boolean, false),
        BS_FIELD(StretchType, "stretchtype", StretchType, bsstFull),
        BS_FIELD(MDIBGStretchEffect, "mdibgstretcheffect", Boolean, false),
        BS_FIELD(MDIBGStretchType, "mdibgstretchtype", StretchType, bsstFull),
        BS_FIELD(MaskRectArea, "maskrectarea", Rect, TRect()),
        BS_FIELD(HitTestLTPoint, "hittestlefttoppoint", Point, TPoint()),
        BS_FIELD(HitTestRTPoint, "hittestrighttoppoint", Point, TPoint()),
        BS_FIELD(HitTestLBPoint, "hittestleftbottompoint", Point, TPoint()),
        BS_FIELD(HitTestRBPoint, "hittestrightbottompoint", Point, TPoint()),
        BS_FIELD(ButtonsRect, "buttonsrect", Rect, TRect()),
        BS_FIELD(CaptionRect, "captionrect", Rect, TRect()),
        BS_FIELD(ButtonsOffset, "buttonsoffset", Integer, 0),
        BS_FIELD(CapButtonsInLeft, "buttonsinleft", Boolean, false),
        BS_FIELD(MainMenuPopupUp, "mainmenupopupup", Boolean, false),
        BS_FIELD(BorderW, "borderwidth", Integer, 0),
        BS_FIELD(AutoRenderingInActiveImage, "autorenderinginactiveimage", Boolean, false),
        BS_FIELD(InActiveEffect, "inactiveeffect", InActiveEffect, ieBrightness),
        BS_FIELD(FormMinWidth, "formminwidth", Integer, 0),
        BS_FIELD(FormMinHeight, "formminheight", Integer, 0),
        BS_FIELD(MDITabsTransparent, "mditabstransparent", Boolean, false),
        BS_FIELD(MainMenuBarTransparent, "mainmenubartransparent", Boolean, false),
    };
    return Table;
}

void TbsSkinData::LoadFormInfo(TCustomIniFile* IniFile)
{
    bsReadFields(IniFile, "FORMINFO", this, FormInfoFields());
    if (!FMaskName.empty()) {
        if (IsEmptyRect(MaskRectArea)) {
            MaskRectArea = ClRect;
        } else {
            MaskRectArea.Left = std::min(MaskRectArea.Left, ClRect.Left);
            MaskRectArea.Top = std::min(MaskRectArea.Top, ClRect.Top);
            MaskRectArea.Right = std::max(MaskRectArea.Right, ClRect.Right);
            MaskRectArea.Bottom = std::max(MaskRectArea.Bottom, ClRect.Bottom);
        }
        if (IsNullPoint(HitTestLTPoint)) HitTestLTPoint = LTPoint;
        if (IsNullPoint(HitTestRTPoint)) HitTestRTPoint = RTPoint;
        if (IsNullPoint(HitTestLBPoint)) HitTestLBPoint = LBPoint;
        if (IsNullPoint(HitTestRBPoint)) HitTestRBPoint = RBPoint;
    }
    if (RBPoint.X != LTPoint.X && RBPoint.Y != LTPoint.Y) {
        LTPoint.X = std::max(LTPoint.X, ClRect.Left);
        LTPoint.Y = std::max(LTPoint.Y, ClRect.Top);
        RTPoint.X = std::min(RTPoint.X, ClRect.Right);
        RTPoint.Y = std::max(RTPoint.Y, ClRect.Top);
        LBPoint.X = std::max(LBPoint.X, ClRect.Left);
        LBPoint.Y = std::min(LBPoint.Y, ClRect.Bottom);
        RBPoint.X = std::min(RBPoint.X, ClRect.Right);
        RBPoint.Y = std::min(RBPoint.Y, ClRect.Bottom);
    }
}

void TbsSkinData::SaveFormInfo(TCustomIniFile* IniFile)
{
    IniFile->EraseSection("FORMINFO");
    bsWriteFields(IniFile, "FORMINFO", this, FormInfoFields());
}

// ---- Record lists

namespace {

// The entries 0 .. count-1 of a record list that the section holds, in order. Missing
// entries would be skipped anyway; walking only the keys that exist keeps a damaged
// count (say two thousand million) from running for ages.
std::vector<int> ListEntries(TCustomIniFile* IniFile, const String& Section)
{
    int N = IniFile->ReadInteger(Section, "count", 0);
    TStringList Keys;
    IniFile->ReadSection(Section, &Keys);
    std::vector<int> Entries;
    for (int k = 0; k < Keys.Count(); ++k) {
        const String& Key = Keys.Strings(k);
        if (Key.empty() || Key.size() > 10 || Key.find_first_not_of("0123456789") != String::npos) continue;
        long long i = std::stoll(Key);
        if (i < N && std::to_string(i) == Key) Entries.push_back(int(i));
    }
    std::sort(Entries.begin(), Entries.end());
    Entries.erase(std::unique(Entries.begin(), Entries.end()), Entries.end());
    return Entries;
}

} // namespace

namespace {

// Reads a record list: every entry whose kind is known gives a record of that kind,
// appended to List and loaded from its own section; Loaded then runs on it.
template <class R>
void LoadRecordList(TCustomIniFile* IniFile, const char* Section, std::vector<std::unique_ptr<R>>& List,
                    std::unique_ptr<R> (*Create)(const String&, const String&), const std::function<void(R*)>& Loaded)
{
    for (int i : ListEntries(IniFile, Section)) {
        String Name, Kind;
        SplitNameKind(IniFile->ReadString(Section, std::to_string(i), ""), Name, Kind);
        std::unique_ptr<R> Record = Create(Kind, Name);
        if (!Record) continue;
        R* P = Record.get();
        List.push_back(std::move(Record));
        P->LoadFromFile(IniFile);
        if (Loaded) Loaded(P);
    }
}

// Writes a record list: the count, an entry "name:kind" per record, and each record's section.
template <class R>
void SaveRecordList(TCustomIniFile* IniFile, const char* Section, const std::vector<std::unique_ptr<R>>& List,
                    String (*KindOf)(const R*))
{
    IniFile->EraseSection(Section);
    IniFile->WriteInteger(Section, "count", int(List.size()));
    for (size_t i = 0; i < List.size(); ++i) {
        R* Record = List[i].get();
        IniFile->WriteString(Section, std::to_string(i), Record->IDName + ":" + KindOf(Record));
        Record->SaveToFile(IniFile);
    }
}

} // namespace

void TbsSkinData::LoadSkinObjects(TCustomIniFile* IniFile)
{
    LoadRecordList<TbsDataSkinObject>(IniFile, "SKINOBJECTS", ObjectList, &bsCreateObjectRecord,
                                      [this](TbsDataSkinObject* R) { R->InitAlphaImages(this); });
}

void TbsSkinData::LoadSkinControls(TCustomIniFile* IniFile)
{
    LoadRecordList<TbsDataSkinControl>(IniFile, "SKINCONTROLS", CtrlList, &bsCreateControlRecord, nullptr);
}

void TbsSkinData::SaveSkinObjects(TCustomIniFile* IniFile)
{
    SaveRecordList(IniFile, "SKINOBJECTS", ObjectList, &bsObjectKind);
}

void TbsSkinData::SaveSkinControls(TCustomIniFile* IniFile)
{
    SaveRecordList(IniFile, "SKINCONTROLS", CtrlList, &bsControlKind);
}

// ---- Reading

namespace {

// Folder + Name; where no file has exactly that name, a file of the folder whose name
// differs only in letter case (skins are often authored on case-blind file systems).
String SkinFilePath(const String& Folder, const String& Name)
{
    // a picture belongs to the skin's folder: no absolute names, no climbing out of it
    const fs::path Rel(Name);
    bool Outside = Name.empty() || Rel.is_absolute();
    for (const fs::path& Part : Rel) Outside = Outside || Part == "..";
    if (Outside) throw EReadError(Format("The skin names a picture outside its folder: \"%s\"", Name));
    String Path = Folder + Name;
    std::error_code E;
    if (fs::exists(Path, E) || Name.find('/') != String::npos) return Path;
    String Wanted = LowerCase(Name);
    for (const auto& Entry : fs::directory_iterator(Folder.empty() ? "." : Folder, E))
        if (LowerCase(Entry.path().filename().string()) == Wanted) return Folder + Entry.path().filename().string();
    return Path;
}

} // namespace

int64_t bsFileSize(const String& AFileName)
{
    std::error_code E;
    if (!fs::is_regular_file(AFileName, E)) return 0;
    const auto Size = fs::file_size(AFileName, E);
    return E ? 0 : int64_t(Size);
}

void bsLoadSkinPicture(TBitmap* Picture, const String& Folder, const String& Name, TbsSkinPictureBudget* Budget)
{
    String Path = SkinFilePath(Folder, Name);
    auto Fail = [&](const Exception& E) {
        return EReadError(Format("Cannot load the skin picture \"%s\": %s", Path, E.Message()));
    };
    // the size from the headers first: the pixels are decoded only within the limits
    int64_t Width = 0, Height = 0;
    bool Known = false;
    try {
        TFileStream File(Path, fmOpenRead | fmShareDenyWrite);
        uint8_t Header[14 + 40];
        Known = bsBitmapImageExtent(Header, File.Read(Header, int64_t(sizeof(Header))), Width, Height);
    } catch (const Exception& E) {
        throw Fail(E);
    }
    if (Known) {
        const String What = Format("the picture \"%s\"", Name);
        if (Budget)
            Budget->Take(Width, Height, What);
        else
            bsCheckSkinPictureSize(Width, Height, What);
    }
    try {
        Picture->LoadFromFile(Path);
    } catch (const Exception& E) {
        throw Fail(E);
    }
}

void bsReadPictureNames(TCustomIniFile* IniFile, TStrings* Names)
{
    // Every name of the list is a key of the section: a count beyond the keys is damage
    // (and could ask for thousands of millions of names).
    int N = IniFile->ReadInteger("PICTURES", "activepicturescount", 0);
    TStringList Keys;
    IniFile->ReadSection("PICTURES", &Keys);
    if (N > Keys.Count())
        throw EReadError(Format("The skin is damaged: its picture list counts %d pictures but names fewer", N));
    ReadSkinStrings(IniFile, "PICTURES", "activepictures", Names);
}

void TbsSkinData::LoadActivePictures(TCustomIniFile* IniFile, const String& Folder, TbsSkinPictureBudget* Budget)
{
    bsReadPictureNames(IniFile, FActivePicturesNames.get());
    for (int i = 0; i < FActivePicturesNames->Count(); ++i) {
        auto Picture = std::make_unique<TBitmap>();
        bsLoadSkinPicture(Picture.get(), Folder, FActivePicturesNames->Strings(i), Budget);
        FActivePictures.push_back(std::move(Picture));
    }
}

void TbsSkinData::ReadNames(TCustomIniFile* IniFile)
{
    SkinName = IniFile->ReadString("VERSION", "skinname", "");
    SkinAuthor = IniFile->ReadString("VERSION", "skinauthor", "");
    AuthorEmail = IniFile->ReadString("VERSION", "authoremail", "");
    AuthorURL = IniFile->ReadString("VERSION", "authorurl", "");
    SkinComments = IniFile->ReadString("VERSION", "skincomments", "");
    FPictureName = IniFile->ReadString("PICTURES", "picture", "");
    FInActivePictureName = IniFile->ReadString("PICTURES", "inactivepicture", "");
    FMaskName = IniFile->ReadString("PICTURES", "mask", "");
}

void TbsSkinData::ReadRecords(TCustomIniFile* IniFile)
{
    LoadFormInfo(IniFile);
    PopupWindow->LoadFromFile(IniFile);
    LayerFrame->LoadFromFile(IniFile);
    LayerFrame->InitAlphaImages(this);
    HintWindow->LoadFromFile(IniFile);
    FSkinColors->LoadFromFile(IniFile);
    LoadSkinObjects(IniFile);
    LoadSkinControls(IniFile);
}

void TbsSkinData::LoadFromFile(const String& FileName)
{
    auto Loaded = std::make_unique<TbsSkinData>(nullptr);
    {
        // read once: every value comes from the one parsed copy
        bsCheckSkinTextSize(bsFileSize(FileName));
        TMemIniFile IniFile(FileName);
        if (!IsSkinIni(&IniFile)) return;
        String Folder = ExtractFilePath(FileName);
        TbsSkinPictureBudget Budget;
        Loaded->ReadNames(&IniFile);
        if (!Loaded->FPictureName.empty())
            bsLoadSkinPicture(Loaded->FPicture.get(), Folder, Loaded->FPictureName, &Budget);
        if (!Loaded->FInActivePictureName.empty())
            bsLoadSkinPicture(Loaded->FInActivePicture.get(), Folder, Loaded->FInActivePictureName, &Budget);
        if (!Loaded->FMaskName.empty()) bsLoadSkinPicture(Loaded->FMask.get(), Folder, Loaded->FMaskName, &Budget);
        Loaded->LoadActivePictures(&IniFile, Folder, &Budget);
        Loaded->ReadRecords(&IniFile);
    }
    ApplyLoadedSkin(*Loaded);
}

// ---- Writing

void TbsSkinData::CheckSectionNames() const
{
    // Ini section names ignore case: two records of one name (in either list, in any
    // case), or a record named like a fixed section, would share a section, and each
    // writer erases its section first. Such a skin cannot be saved without loss.
    std::set<String> Used;
    for (const char* S : FixedSections) Used.insert(LowerCase(S));
    auto Check = [&](const String& Name, const String& Kind) {
        if (Kind.empty())
            throw EInvalidOperation(Format("Cannot save the skin: the record \"%s\" has no kind keyword", Name));
        if (Name.empty() || Name.find_first_of(":[]\r\n") != String::npos)
            throw EInvalidOperation(Format("Cannot save the skin: the record name \"%s\" cannot be stored", Name));
        if (!Used.insert(LowerCase(Name)).second)
            throw EInvalidOperation(
                Format("Cannot save the skin: the record name \"%s\" is used twice or names a fixed section "
                       "(names are compared without regard to case)",
                       Name));
    };
    for (const auto& R : ObjectList) Check(R->IDName, bsObjectKind(R.get()));
    for (const auto& R : CtrlList) Check(R->IDName, bsControlKind(R.get()));
}

void TbsSkinData::SaveActivePictureNames(TCustomIniFile* IniFile)
{
    IniFile->EraseSection("PICTURES");
    IniFile->WriteString("PICTURES", "picture", FPictureName);
    IniFile->WriteString("PICTURES", "inactivepicture", FInActivePictureName);
    IniFile->WriteString("PICTURES", "mask", FMaskName);
    WriteSkinStrings(IniFile, "PICTURES", "activepictures", FActivePicturesNames.get());
}

void TbsSkinData::SaveSkinToIni(TCustomIniFile* IniFile)
{
    CheckSectionNames();
    IniFile->EraseSection("VERSION");
    IniFile->WriteInteger("VERSION", "ver", 1);
    IniFile->WriteString("VERSION", "skinname", SkinName);
    IniFile->WriteString("VERSION", "skinauthor", SkinAuthor);
    IniFile->WriteString("VERSION", "authoremail", AuthorEmail);
    IniFile->WriteString("VERSION", "authorurl", AuthorURL);
    IniFile->WriteString("VERSION", "skincomments", SkinComments);
    SaveActivePictureNames(IniFile);
    SaveFormInfo(IniFile);
    PopupWindow->SaveToFile(IniFile);
    LayerFrame->SaveToFile(IniFile);
    HintWindow->SaveToFile(IniFile);
    FSkinColors->SaveToFile(IniFile);
    SaveSkinObjects(IniFile);
    SaveSkinControls(IniFile);
}

void TbsSkinData::SaveToFile(const String& FileName)
{
    CheckSectionNames();
    TMemIniFile IniFile(FileName);
    SaveSkinToIni(&IniFile);
    IniFile.UpdateFile();
}

void TbsSkinData::StoreToDisk(const String& AFileName)
{
    // Picture names are plain names in the skin's folder; a name that leads elsewhere
    // is refused before anything is written.
    auto CheckName = [](const String& Name) {
        if (Name.find('/') != String::npos || Name == "." || Name == "..")
            throw EInvalidOperation(Format("Cannot store the skin: \"%s\" is not a plain file name", Name));
    };
    for (const String* N : {&FPictureName, &FInActivePictureName, &FMaskName}) CheckName(*N);
    for (int i = 0; i < FActivePicturesNames->Count(); ++i) {
        CheckName(FActivePicturesNames->Strings(i));
        if (FActivePicturesNames->Strings(i).empty())
            throw EInvalidOperation(Format("Cannot store the skin: picture %d has no file name", i));
    }
    SaveToFile(AFileName);
    String Folder = ExtractFilePath(AFileName);
    auto Store = [&](TBitmap* Picture, const String& Name) {
        if (!Picture->Empty() && !Name.empty()) Picture->SaveToFile(Folder + Name);
    };
    Store(FPicture.get(), FPictureName);
    Store(FInActivePicture.get(), FInActivePictureName);
    Store(FMask.get(), FMaskName);
    int N = std::min(int(FActivePictures.size()), FActivePicturesNames->Count());
    for (int i = 0; i < N; ++i) FActivePictures[i]->SaveToFile(Folder + FActivePicturesNames->Strings(i));
}
