// Skin records: keyword codecs, the skin test, and every record class's reader, writer
// and constructor, driven by the classes' own field tables.
#include "skin/core/bsSkinData.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

namespace {

// ---- An ini object with text

std::unique_ptr<TMemIniFile> Ini(const String& Text)
{
    auto I = std::make_unique<TMemIniFile>("");
    TStringList L;
    L.SetText(Text);
    I->SetStrings(&L);
    return I;
}

String IniText(TMemIniFile* I)
{
    TStringList L;
    I->GetStrings(&L);
    return L.Text();
}

std::set<String> SectionKeys(TCustomIniFile* I, const String& Section)
{
    TStringList L;
    I->ReadSection(Section, &L);
    std::set<String> Keys;
    for (int i = 0; i < L.Count(); ++i) Keys.insert(LowerCase(L.Strings(i)));
    return Keys;
}

// ---- Codecs

struct CodecCase {
    const char* Text;  // nullptr: the key is missing
    int Expected;
};

TEST(SkinDataCodecs, StretchTypeComparesOnlyFullAndVertical)
{
    const CodecCase Cases[] = {{nullptr, bsstFull}, {"stfull", bsstFull}, {"stvert", bsstVert},
                               {"sthorz", bsstHorz}, {"STFULL", bsstHorz}, {"", bsstHorz}};
    for (const auto& C : Cases) {
        auto I = Ini(C.Text ? String("[S]\nk=") + C.Text + "\nx=1\n" : "[S]\nx=1\n");
        EXPECT_EQ(ReadSkinStretchType(I.get(), "S", "k"), C.Expected) << (C.Text ? C.Text : "(missing)");
    }
}

TEST(SkinDataCodecs, MorphKindAndInActiveEffectFallBacks)
{
    const CodecCase Morph[] = {{nullptr, mkDefault}, {"mkpush", mkPush}, {"MKPUSH", mkDefault},
                               {"mkleftslide", mkLeftSlide}, {"nonsense", mkDefault}};
    for (const auto& C : Morph) {
        auto I = Ini(C.Text ? String("[S]\nk=") + C.Text + "\n" : "[S]\nx=1\n");
        EXPECT_EQ(ReadSkinMorphKind(I.get(), "S", "k"), C.Expected) << (C.Text ? C.Text : "(missing)");
    }
    const CodecCase Effect[] = {{nullptr, ieBrightness}, {"ieinvert", ieInvert}, {"glow", ieGrayScale},
                                {"iedarkness", ieDarkness}, {"IEDARKNESS", ieGrayScale}};
    for (const auto& C : Effect) {
        auto I = Ini(C.Text ? String("[S]\nk=") + C.Text + "\n" : "[S]\nx=1\n");
        EXPECT_EQ(ReadSkinInActiveEffect(I.get(), "S", "k"), C.Expected) << (C.Text ? C.Text : "(missing)");
    }
    const CodecCase Command[] = {{nullptr, cmDefault}, {"cmclose", cmClose}, {"cmrollup", cmRollUp},
                                 {"cmMaximize", cmMinimizeToTray}, {"cmminimizetotray", cmMinimizeToTray},
                                 {"", cmMinimizeToTray}};
    for (const auto& C : Command) {
        auto I = Ini(C.Text ? String("[S]\nk=") + C.Text + "\n" : "[S]\nx=1\n");
        EXPECT_EQ(ReadSkinStdCommand(I.get(), "S", "k"), C.Expected) << (C.Text ? C.Text : "(missing)");
    }
}

TEST(SkinDataCodecs, WritersWriteTheKeywords)
{
    auto I = Ini("");
    WriteSkinStretchType(I.get(), "S", "a", bsstHorz);
    WriteSkinMorphKind(I.get(), "S", "b", mkRightGradient);
    WriteSkinInActiveEffect(I.get(), "S", "c", ieSplitBlur);
    WriteSkinStdCommand(I.get(), "S", "d", cmMinimizeToTray);
    EXPECT_EQ(I->ReadString("S", "a", ""), "sthorz");
    EXPECT_EQ(I->ReadString("S", "b", ""), "mkrightgradient");
    EXPECT_EQ(I->ReadString("S", "c", ""), "iesplitblur");
    EXPECT_EQ(I->ReadString("S", "d", ""), "cmminimizetotray");
}

TEST(SkinDataCodecs, FieldValueForms)
{
    // Booleans: only the integer 1; integers: hex accepted, bad text gives the missing value.
    struct Case {
        const char* Key;
        const char* Text;
        bool Bool;
    } Bools[] = {{"showfocus", "2", false}, {"showfocus", "true", false}, {"showfocus", "-1", false},
                 {"showfocus", "1", true},  {"showfocus", "0x1", true}};
    for (const auto& C : Bools) {
        TbsDataSkinButtonControl R("b");
        R.LoadFromFile(Ini(String("[b]\n") + C.Key + "=" + C.Text + "\n").get());
        EXPECT_EQ(R.ShowFocus, C.Bool) << C.Text;
    }
    TbsDataSkinButtonControl R("b");
    R.LoadFromFile(Ini("[b]\npictureindex=abc\nfontcolor=0xFF\n").get());
    EXPECT_EQ(R.PictureIndex, -1);
    EXPECT_EQ(R.FontColor, 255);
    // A system colour is written signed.
    TbsSkinColors Colors;
    Colors.SetColorsToDefault();
    auto Out = Ini("");
    Colors.SaveToFile(Out.get());
    EXPECT_EQ(Out->ReadString("SKINCOLORS", "cbtnface", ""), "-16777201");
}

TEST(SkinDataCodecs, IsSkinIniNeedsAKeyInEachOfFiveSections)
{
    const String Full = "[VERSION]\nver=1\n[PICTURES]\npicture=\n[FORMINFO]\nx=1\n[SKINOBJECTS]\ncount=0\n"
                        "[SKINCONTROLS]\ncount=0\n";
    EXPECT_TRUE(IsSkinIni(Ini(Full).get()));
    EXPECT_FALSE(IsSkinIni(Ini("[VERSION]\nver=1\n[PICTURES]\npicture=\n[FORMINFO]\nx=1\n[SKINOBJECTS]\n"
                               "[SKINCONTROLS]\ncount=0\n")
                               .get()));
    EXPECT_FALSE(IsSkinIni(Ini("[VERSION]\nver=1\n[PICTURES]\npicture=\n[FORMINFO]\nx=1\n[SKINOBJECTS]\ncount=0\n")
                               .get()));
    EXPECT_FALSE(IsSkinIni(Ini("").get()));
}

// ---- Every record class, driven by its field table

template <class C>
concept HasParent = requires { typename C::inherited; } && !std::is_void_v<typename C::inherited>;

template <class C>
TbsFieldTable AllFields()
{
    TbsFieldTable T;
    if constexpr (HasParent<C>) T = AllFields<typename C::inherited>();
    const TbsFieldTable& Own = C::ClassFields();
    T.insert(T.end(), Own.begin(), Own.end());
    return T;
}

// The user object stores only its rectangle.
template <>
TbsFieldTable AllFields<TbsDataUserObject>()
{
    return TbsDataUserObject::ClassFields();
}

struct RecordClass {
    String Name;
    String Section;
    TbsFieldTable Fields;
    std::function<std::shared_ptr<void>()> Create;  // the record as a pointer to its root class
    std::function<void(void*, TCustomIniFile*)> Load, Save;
};

template <class C>
RecordClass Class(const char* Name, const char* Section = "rec")
{
    using Root = typename C::Root;
    RecordClass K{Name, Section, AllFields<C>(), nullptr, nullptr, nullptr};
    K.Create = [] {
        C* P;
        if constexpr (std::is_constructible_v<C, String>) P = new C("rec");
        else P = new C();
        return std::shared_ptr<void>(static_cast<Root*>(P), [P](void*) { delete P; });
    };
    K.Load = [](void* R, TCustomIniFile* I) { static_cast<C*>(static_cast<Root*>(R))->LoadFromFile(I); };
    K.Save = [](void* R, TCustomIniFile* I) { static_cast<C*>(static_cast<Root*>(R))->SaveToFile(I); };
    return K;
}

std::vector<RecordClass> AllClasses()
{
    return {
        Class<TbsDataSkinCustomControl>("TbsDataSkinCustomControl"),
        Class<TbsDataSkinPanelControl>("TbsDataSkinPanelControl"),
        Class<TbsDataSkinExPanelControl>("TbsDataSkinExPanelControl"),
        Class<TbsDataSkinMenuButtonControl>("TbsDataSkinMenuButtonControl"),
        Class<TbsDataSkinButtonControl>("TbsDataSkinButtonControl"),
        Class<TbsDataSkinCheckRadioControl>("TbsDataSkinCheckRadioControl"),
        Class<TbsDataSkinGaugeControl>("TbsDataSkinGaugeControl"),
        Class<TbsDataSkinSplitterControl>("TbsDataSkinSplitterControl"),
        Class<TbsDataSkinTrackBarControl>("TbsDataSkinTrackBarControl"),
        Class<TbsDataSkinLabelControl>("TbsDataSkinLabelControl"),
        Class<TbsDataSkinStdLabelControl>("TbsDataSkinStdLabelControl"),
        Class<TbsDataSkinUpDownControl>("TbsDataSkinUpDownControl"),
        Class<TbsDataSkinGridControl>("TbsDataSkinGridControl"),
        Class<TbsDataSkinTabControl>("TbsDataSkinTabControl"),
        Class<TbsDataSkinMainMenuBar>("TbsDataSkinMainMenuBar"),
        Class<TbsDataSkinControlBar>("TbsDataSkinControlBar"),
        Class<TbsDataSkinAppMenu>("TbsDataSkinAppMenu"),
        Class<TbsDataSkinMemoControl>("TbsDataSkinMemoControl"),
        Class<TbsDataSkinEditControl>("TbsDataSkinEditControl"),
        Class<TbsDataSkinCheckListBox>("TbsDataSkinCheckListBox"),
        Class<TbsDataSkinListBox>("TbsDataSkinListBox"),
        Class<TbsDataSkinComboBox>("TbsDataSkinComboBox"),
        Class<TbsDataSkinScrollBarControl>("TbsDataSkinScrollBarControl"),
        Class<TbsDataSkinSpinEditControl>("TbsDataSkinSpinEditControl"),
        Class<TbsDataSkinScrollBoxControl>("TbsDataSkinScrollBoxControl"),
        Class<TbsDataSkinTreeView>("TbsDataSkinTreeView"),
        Class<TbsDataSkinBevel>("TbsDataSkinBevel"),
        Class<TbsDataSkinSlider>("TbsDataSkinSlider"),
        Class<TbsDataSkinListView>("TbsDataSkinListView"),
        Class<TbsDataSkinRichEdit>("TbsDataSkinRichEdit"),
        Class<TbsDataSkinMenuItem>("TbsDataSkinMenuItem"),
        Class<TbsDataSkinMainMenuBarItem>("TbsDataSkinMainMenuBarItem"),
        Class<TbsDataSkinMainMenuBarButton>("TbsDataSkinMainMenuBarButton"),
        Class<TbsDataSkinStdButton>("TbsDataSkinStdButton"),
        Class<TbsDataSkinButton>("TbsDataSkinButton"),
        Class<TbsDataSkinCaption>("TbsDataSkinCaption"),
        Class<TbsDataUserObject>("TbsDataUserObject"),
        Class<TbsDataSkinAnimate>("TbsDataSkinAnimate"),
        Class<TbsSkinColors>("TbsSkinColors", "SKINCOLORS"),
        Class<TbsDataSkinPopupWindow>("TbsDataSkinPopupWindow", "POPUPWINDOW"),
        Class<TbsDataSkinHintWindow>("TbsDataSkinHintWindow", "HINTWINDOW"),
        Class<TbsDataSkinLayerFrame>("TbsDataSkinLayerFrame", "LAYERFRAME"),
    };
}

// A random value of the field's kind that every reader takes back unchanged: no
// negative coordinates (the rectangle reader drops signs), no empty rectangles (the menu
// item's marks fall back on them).
TbsSkinValue RandomValue(const TbsSkinField& F, std::mt19937& Rng)
{
    auto N = [&](int Lo, int Hi) { return std::uniform_int_distribution<int>(Lo, Hi)(Rng); };
    switch (F.Kind) {
    case TbsValueKind::Integer: return N(-1000, MaxSkinExtent);  // within what a skin may ask for
    case TbsValueKind::Color: return N(0, 1) ? N(0, 0xFFFFFF) : int(0xFF000000u | unsigned(N(0, 30)));
    case TbsValueKind::Boolean: return N(0, 1) == 1;
    case TbsValueKind::Text: return String("v") + std::to_string(N(0, 99999)) + " x";
    case TbsValueKind::Rect: {
        int L = N(0, 500), T = N(0, 500);
        return TRect(L, T, L + N(1, 300), T + N(1, 300));
    }
    case TbsValueKind::Point: return TPoint(N(0, 900), N(0, 900));
    case TbsValueKind::FontStyles: {
        TFontStyles S;
        for (TFontStyle St : {fsBold, fsItalic, fsUnderline, fsStrikeOut})
            if (N(0, 1)) S.Include(St);
        return S;
    }
    case TbsValueKind::Alignment: return TAlignment(N(0, 2));
    case TbsValueKind::MorphKind: return TbsMorphKind(N(0, 6));
    case TbsValueKind::StretchType: return TbsStretchType(N(0, 2));
    case TbsValueKind::InActiveEffect: return TbsInActiveEffect(N(0, 5));
    case TbsValueKind::StdCommand: return TbsStdCommand(N(0, 6));
    }
    return 0;
}

// Fields that a reader sets whatever the section holds.
bool ForcedByReader(const RecordClass& K, const TbsSkinField& F)
{
    String Name = F.Name;
    if (K.Name == "TbsDataSkinUpDownControl")
        return Name == "LTPoint" || Name == "RTPoint" || Name == "LBPoint" || Name == "RBPoint" || Name == "ClRect";
    if (K.Name == "TbsDataSkinAnimate") return Name == "Morphing";
    return false;
}

class SkinDataRecordClass : public ::testing::TestWithParam<RecordClass> {};

TEST_P(SkinDataRecordClass, KeysAreUniqueAndTypesMatch)
{
    const RecordClass& K = GetParam();
    std::set<String> Keys;
    for (const TbsSkinField& F : K.Fields) {
        EXPECT_TRUE(Keys.insert(LowerCase(F.Key)).second) << "key twice: " << F.Key;
        EXPECT_EQ(F.Missing.index(), F.Init.index()) << F.Name;
        if (F.Kind == TbsValueKind::Rect) {
            EXPECT_EQ(std::get<TRect>(F.Missing), TRect()) << F.Name;
        }
        if (F.Kind == TbsValueKind::Point) {
            EXPECT_EQ(std::get<TPoint>(F.Missing), TPoint()) << F.Name;
        }
    }
}

TEST_P(SkinDataRecordClass, ConstructedRecordHoldsConstructorValues)
{
    const RecordClass& K = GetParam();
    auto R = K.Create();
    for (const TbsSkinField& F : K.Fields) EXPECT_EQ(bsGetField(R.get(), F), F.Init) << F.Name;
}

TEST_P(SkinDataRecordClass, EmptySectionGivesMissingValuesAndWritesEveryKey)
{
    const RecordClass& K = GetParam();
    auto R = K.Create();
    std::mt19937 Rng(7);
    for (const TbsSkinField& F : K.Fields) bsSetField(R.get(), F, RandomValue(F, Rng));
    auto In = Ini("[other]\nx=1\n");
    K.Load(R.get(), In.get());
    for (const TbsSkinField& F : K.Fields) EXPECT_EQ(bsGetField(R.get(), F), F.Missing) << F.Name;

    auto Out = Ini("");
    K.Save(R.get(), Out.get());
    std::set<String> Expected;
    for (const TbsSkinField& F : K.Fields) Expected.insert(LowerCase(F.Key));
    EXPECT_EQ(SectionKeys(Out.get(), K.Section), Expected);
}

TEST_P(SkinDataRecordClass, WhatIsWrittenReadsBackAndWritesTheSameText)
{
    const RecordClass& K = GetParam();
    for (unsigned Seed : {1u, 2u, 3u}) {
        std::mt19937 Rng(Seed);
        auto A = K.Create();
        for (const TbsSkinField& F : K.Fields) bsSetField(A.get(), F, RandomValue(F, Rng));
        auto First = Ini("");
        K.Save(A.get(), First.get());
        auto B = K.Create();
        K.Load(B.get(), First.get());
        for (const TbsSkinField& F : K.Fields) {
            if (ForcedByReader(K, F)) continue;
            EXPECT_EQ(bsGetField(B.get(), F), bsGetField(A.get(), F)) << F.Name;
        }
        auto Second = Ini("");
        K.Save(B.get(), Second.get());
        auto C = K.Create();
        K.Load(C.get(), Second.get());
        auto Third = Ini("");
        K.Save(C.get(), Third.get());
        EXPECT_EQ(IniText(Second.get()), IniText(Third.get()));
    }
}

TEST_P(SkinDataRecordClass, WriterErasesItsSectionFirst)
{
    const RecordClass& K = GetParam();
    auto R = K.Create();
    auto Out = Ini("[" + K.Section + "]\nforeignkey=5\n");
    K.Save(R.get(), Out.get());
    // The skin colours alone keep the other keys of their section.
    EXPECT_EQ(Out->ReadString(K.Section, "foreignkey", "") == "5", K.Name == "TbsSkinColors");
}

INSTANTIATE_TEST_SUITE_P(AllRecords, SkinDataRecordClass, ::testing::ValuesIn(AllClasses()),
                         [](const auto& Info) { return Info.param.Name; });

// ---- The reader rules and values that differ between construction and loading

TEST(SkinDataRecords, ButtonWithOnlyASkinRect)
{
    TbsDataSkinButtonControl R("button");
    R.LoadFromFile(Ini("[button]\nskinrect=1,2,3,4\n").get());
    EXPECT_EQ(R.SkinRect, TRect(1, 2, 3, 4));
    EXPECT_EQ(R.FontName, "Tahoma");
    EXPECT_EQ(R.FontHeight, 13);
    EXPECT_TRUE(R.FontStyle.Empty());
    EXPECT_EQ(R.ActiveSkinRect, TRect());
    EXPECT_EQ(R.AnimateInterval, 25);
    EXPECT_EQ(R.GlowLayerPictureIndex, -1);
    EXPECT_EQ(R.GlowLayerAlphaBlendValue, 255);
    EXPECT_EQ(R.MorphKind, mkDefault);
    // Constructed and not loaded, the interval is 0.
    EXPECT_EQ(TbsDataSkinButtonControl("x").AnimateInterval, 0);
}

TEST(SkinDataRecords, MenuButtonReadsAndWritesOneSection)
{
    TbsDataSkinMenuButtonControl R("mb");
    R.LoadFromFile(Ini("[mb]\nfontheight=20\ntrackbuttonrect=1,1,5,5\n").get());
    EXPECT_EQ(R.FontHeight, 20);
    EXPECT_EQ(R.TrackButtonRect, TRect(1, 1, 5, 5));
    auto Out = Ini("");
    R.SaveToFile(Out.get());
    auto Keys = SectionKeys(Out.get(), "mb");
    EXPECT_TRUE(Keys.count("trackbuttonrect") && Keys.count("fontheight") && Keys.count("skinrect"));
}

// A field's value after construction and after loading a section without its key.
template <class T, class V>
std::pair<V, V> Values(V T::*Field)
{
    T R("rec");
    V Constructed = R.*Field;
    R.LoadFromFile(Ini("[rec]\nx=1\n").get());
    return {Constructed, R.*Field};
}

TEST(SkinDataRecords, ConstructedAndMissingValuesDiffer)
{
    using P = std::pair<int, int>;
    using S = std::pair<String, String>;
    EXPECT_EQ(Values(&TbsDataSkinStdLabelControl::ActiveFontColor), P(0xFF0000, 0xFF0000));
    EXPECT_EQ(Values(&TbsDataSkinStdLabelControl::FontColor), P(0, 0));
    EXPECT_EQ(Values(&TbsDataSkinScrollBarControl::ThumbTransparentColor), P(0xFF00FF, 0));
    EXPECT_EQ(Values(&TbsDataSkinRichEdit::FontHeight), P(14, 13));
    EXPECT_EQ(Values(&TbsDataSkinTabControl::ButtonTransparentColor), P(0xFF00FF, 0));
    EXPECT_EQ(Values(&TbsDataSkinAppMenu::FontPageHeight), P(0, 16));
    EXPECT_EQ(Values(&TbsDataSkinAppMenu::PageItemOffset1), P(0, 10));
    EXPECT_EQ(Values(&TbsDataSkinAppMenu::ItemOffset1), P(0, 3));
    EXPECT_EQ(Values(&TbsDataSkinListBox::VScrollBarName), S("", "vscrollbar"));
    EXPECT_EQ(Values(&TbsDataSkinListBox::HScrollBarName), S("", "hscrollbar"));
    EXPECT_EQ(Values(&TbsDataSkinListBox::BothScrollBarName), S("", "bothhscrollbar"));
    EXPECT_EQ(Values(&TbsDataSkinMainMenuBar::MenuBarItem), S("", ""));
    TbsSkinColors Colors;
    EXPECT_EQ(Colors.FcBtnFace, 0);
    Colors.LoadFromFile(Ini("[rec]\nx=1\n").get());
    EXPECT_EQ(Colors.FcBtnFace, TColor(0xFF00000F));
    EXPECT_EQ(Colors.FcBtnShadow, TColor(0xFF000010));
}

TEST(SkinDataRecords, UpDownHasNoGeometry)
{
    TbsDataSkinUpDownControl R("ud");
    R.LoadFromFile(Ini("[ud]\nlefttoppoint=3,3\nrightbottompoint=9,9\nclientrect=2,2,10,10\n").get());
    EXPECT_EQ(R.LTPoint, TPoint());
    EXPECT_EQ(R.RBPoint, TPoint());
    EXPECT_EQ(R.ClRect, TRect());
    auto Out = Ini("");
    R.SaveToFile(Out.get());
    EXPECT_EQ(Out->ReadString("ud", "lefttoppoint", ""), "0,0");
}

TEST(SkinDataRecords, CheckListBoxReadsListBoxKeysFromItsSection)
{
    TbsDataSkinCheckListBox R("cl");
    R.LoadFromFile(Ini("[cl]\nitemrect=1,1,2,2\nitemcheckrect=3,3,4,4\nvscrollbarname=v2\n").get());
    EXPECT_EQ(R.SItemRect, TRect(1, 1, 2, 2));
    EXPECT_EQ(R.ItemCheckRect, TRect(3, 3, 4, 4));
    EXPECT_EQ(R.VScrollBarName, "v2");
}

TEST(SkinDataRecords, ObjectReaderRules)
{
    TbsDataUserObject U("u");
    U.LoadFromFile(Ini("[u]\nhint=Hello\nactivepictureindex=3\nskinrect=1,2,3,4\n").get());
    EXPECT_EQ(U.Hint, "");
    EXPECT_EQ(U.ActivePictureIndex, -1);
    EXPECT_EQ(U.SkinRect, TRect(1, 2, 3, 4));

    TbsDataSkinAnimate A("a");
    EXPECT_EQ(A.CountFrames, 0);
    EXPECT_EQ(A.Command, cmClose);
    A.LoadFromFile(Ini("[a]\nmorphing=1\n").get());
    EXPECT_FALSE(A.Morphing);
    EXPECT_EQ(A.CountFrames, 1);
    EXPECT_EQ(A.TimerInterval, 50);

    struct {
        const char* Hint;
        const char* Command;
        const char* Restore;
    } Hints[] = {{"Maximize", "cmmaximize", "Restore"}, {"Minimize", "cmminimize", "Restore"},
                 {"Roll Up", "cmrollup", "Restore"},    {"RollUp", "cmrollup", "Restore"},
                 {"Minimize", "cmclose", ""},           {"maximize", "cmmaximize", ""}};
    for (const auto& H : Hints) {
        TbsDataSkinStdButton B("b");
        B.LoadFromFile(Ini(String("[b]\nhint=") + H.Hint + "\ncommand=" + H.Command + "\n").get());
        EXPECT_EQ(B.RestoreHint, H.Restore) << H.Hint << " " << H.Command;
        TbsDataSkinAnimate An("b");
        An.LoadFromFile(Ini(String("[b]\nhint=") + H.Hint + "\ncommand=" + H.Command + "\n").get());
        EXPECT_EQ(An.RestoreHint, H.Restore) << H.Hint << " " << H.Command;
    }
    TbsDataSkinStdButton Kept("b");
    Kept.LoadFromFile(Ini("[b]\nhint=Maximize\ncommand=cmmaximize\nrestorehint=Back\n").get());
    EXPECT_EQ(Kept.RestoreHint, "Back");
    EXPECT_EQ(TbsDataSkinStdButton("b").Command, cmClose);

    TbsDataSkinMenuItem M("m");
    M.LoadFromFile(Ini("[m]\ncheckimagerect=1,2,3,4\nradioimagerect=5,5,6,6\nactiveradioimagerect=7,7,9,9\n").get());
    EXPECT_EQ(M.ActiveCheckImageRect, TRect(1, 2, 3, 4));
    EXPECT_EQ(M.ActiveRadioImageRect, TRect(7, 7, 9, 9));
    auto Out = Ini("");
    M.SaveToFile(Out.get());
    EXPECT_EQ(Out->ReadString("m", "activecheckimagerect", ""), "1,2,3,4");

    TbsDataSkinCaption Cap("c");
    EXPECT_EQ(Cap.Alignment, taLeftJustify);
    EXPECT_EQ(Cap.QuickButtonAlphaMaskPictureIndex, 0);
    Cap.LoadFromFile(Ini("[c]\nreflactioncolor=5\n").get());
    EXPECT_EQ(Cap.Alignment, taCenter);
    EXPECT_EQ(Cap.GlowSize, 3);
    EXPECT_EQ(Cap.ReflectionColor, 5);
    EXPECT_EQ(Cap.QuickButtonAlphaMaskPictureIndex, -1);
}

TEST(SkinDataRecords, MisspelledKeysAreTheStoredOnes)
{
    TbsDataSkinButton B("b");
    B.LoadFromFile(Ini("[b]\ndisableskinrsect=1,1,2,2\n").get());
    EXPECT_EQ(B.DisableSkinRect, TRect(1, 1, 2, 2));
    TbsDataSkinMainMenuBarItem I("i");
    I.LoadFromFile(Ini("[i]\nunenabledfontcolor=77\n").get());
    EXPECT_EQ(I.UnEnabledFontColor, 77);
    TbsDataSkinCaption C("c");
    C.LoadFromFile(Ini("[c]\nreflactionactivecolor=9\n").get());
    EXPECT_EQ(C.ReflectionActiveColor, 9);
    TbsDataSkinPopupWindow P;
    P.LoadFromFile(Ini("[POPUPWINDOW]\nstretchtype=stvert\n").get());
    EXPECT_EQ(P.StretchType, bsstVert);
}

TEST(SkinDataRecords, BadNumbersNameTheirPlace)
{
    // points and rectangles far outside any picture are refused as well: painting with
    // them would run for minutes
    for (const char* Text : {"[btn]\nskinrect=\n", "[btn]\nlefttoppoint=2147483647,2147483647\n",
                             "[btn]\nlefttoppoint=1073741824,3\n", "[btn]\nskinrect=0,0,70000,5\n"}) {
        TbsDataSkinButtonControl R("btn");
        try {
            R.LoadFromFile(Ini(Text).get());
            ADD_FAILURE() << "no error for " << Text;
        } catch (const EConvertError& E) {
            EXPECT_NE(E.Message().find("btn"), String::npos) << E.Message();
            EXPECT_TRUE(E.Message().find("skinrect") != String::npos ||
                        E.Message().find("lefttoppoint") != String::npos)
                << E.Message();
        }
    }
    TbsDataSkinButtonControl Wide("btn");
    Wide.LoadFromFile(Ini("[btn]\nskinrect=0,0,4000,20\n").get());
    EXPECT_EQ(Wide.SkinRect, Rect(0, 0, 4000, 20));
}

} // namespace
