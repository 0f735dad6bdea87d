// The program's own skin: every record name the program's forms and dialogs look up
// resolves to a record of the right class; the geometry is sound; the folder, the stored
// skin and the folder again agree; the records draw as the golden pictures show; the
// program's picture lists have their counts and sizes.
#include "resources/program_skin_support.h"

#include <algorithm>
#include <cstdlib>
#include <cctype>
#include <set>

#include <unistd.h>

#include "app/resources/ProgramPictures.h"
#include "app/resources/ProgramResources.h"
#include "platform/system/IniFiles.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/core/bsUtils.h"
#include "test_files.h"

using namespace progskin;
namespace fs = std::filesystem;

namespace {

const fs::path Generated = VC_PROGRAM_SKIN_DIR;
const fs::path Source = VC_SOURCE_DIR;

// Every skinned component of the program's forms and of the dialogs it runs, with the
// record name it looks up and the kind of record it needs.
struct TNameRow {
    const char* Form;
    const char* Component;
    const char* Class;
    const char* SkinDataName;
    const char* Kind;
};

const TNameRow NameTable[] = {
    // main window
    {"TForm1", "bsSkinMainMenuBar1", "TbsSkinMainMenuBar", "mainmenubar", "mainmenubar"},
    {"TForm1", "bsSkinToolBar2", "TbsSkinToolBar", "toolpanel", "panel"},
    {"TForm1", "bsSkinMenuSpeedButton1", "TbsSkinMenuSpeedButton", "resizetoolbutton", "button"},
    {"TForm1", "bsSkinButton7", "TbsSkinButton", "resizetoolbutton", "button"},
    {"TForm1", "bsSkinButton8", "TbsSkinButton", "resizetoolbutton", "button"},
    {"TForm1", "bsSkinButton19", "TbsSkinButton", "resizetoolbutton", "button"},
    {"TForm1", "bsSkinButton9", "TbsSkinButton", "resizetoolbutton", "button"},
    {"TForm1", "bsSkinPanel1", "TbsSkinPanel", "panel", "panel"},
    {"TForm1", "lvFiles", "TbsSkinListView", "listview", "listview"},
    {"TForm1", "lvFiles.Header", "TbsSkinListView", "resizetoolbutton", "button"},
    {"TForm1", "lvFiles.VScrollBar", "TbsSkinScrollBar", "vscrollbar", "scrollbar"},
    {"TForm1", "lvFiles.HScrollBar", "TbsSkinScrollBar", "hscrollbar", "scrollbar"},
    {"TForm1", "bsSkinButton3", "TbsSkinButton", "button", "button"},
    {"TForm1", "bsSkinButton4", "TbsSkinButton", "button", "button"},
    {"TForm1", "bsSkinButton21", "TbsSkinButton", "button", "button"},
    {"TForm1", "bsSkinPanel5", "TbsSkinPanel", "panel", "panel"},
    {"TForm1", "bsSkinPanel2", "TbsSkinPanel", "panel", "panel"},
    {"TForm1", "bsSkinStdLabel1", "TbsSkinStdLabel", "stdlabel", "stdlabel"},
    {"TForm1", "bsSkinOfficeComboBox2", "TbsSkinOfficeComboBox", "combobox", "combobox"},
    {"TForm1", "bsSkinOfficeComboBox1", "TbsSkinOfficeComboBox", "combobox", "combobox"},
    {"TForm1", "bsSkinButton24", "TbsSkinButton", "button", "button"},
    {"TForm1", "Video_OutPut_Folder_Edit", "TbsSkinEdit", "edit", "edit"},
    {"TForm1", "bsSkinButton5", "TbsSkinButton", "button", "button"},
    {"TForm1", "bsSkinButton6", "TbsSkinButton", "button", "button"},
    {"TForm1", "bsSkinPanel3", "TbsSkinGroupBox", "groupbox", "panel"},
    {"TForm1", "bsSkinMenuSpeedButton1", "TbsSkinMenuSpeedButton", "toolmenubutton", "menubutton"},
    {"TForm1", "bsSkinSlider1", "TbsSkinSlider", "slider", "slider"},
    {"TForm1", "bsSkinButton13", "TbsSkinButton", "resizetoolbutton", "button"},
    {"TForm1", "bsSkinButton14", "TbsSkinButton", "resizetoolbutton", "button"},
    {"TForm1", "bsSkinButton15", "TbsSkinButton", "resizetoolbutton", "button"},
    {"TForm1", "bsSkinButton16", "TbsSkinButton", "resizetoolbutton", "button"},
    {"TForm1", "bsSkinButton20", "TbsSkinButton", "resizetoolbutton", "button"},
    {"TForm1", "bsSkinButton22", "TbsSkinButton", "resizetoolbutton", "button"},
    {"TForm1", "bsSkinButton23", "TbsSkinButton", "resizetoolbutton", "button"},
    {"TForm1", "bsSkinButton2", "TbsSkinButton", "button", "button"},
    {"TForm1", "bsSkinButton10", "TbsSkinButton", "button", "button"},
    {"TForm1", "bsSkinButton11", "TbsSkinButton", "button", "button"},
    {"TForm1", "bsSkinButton12", "TbsSkinButton", "button", "button"},
    {"TForm1", "bsSkinPanel4", "TbsSkinGroupBox", "groupbox", "panel"},
    {"TForm1", "bsSkinComboBox1", "TbsSkinComboBox", "combobox", "combobox"},
    {"TForm1", "bsSkinComboBox10", "TbsSkinComboBox", "combobox", "combobox"},
    {"TForm1", "bsSkinPanel6", "TbsSkinPanel", "panel", "panel"},
    // about box
    {"TForm2", "bsSkinStdLabel3", "TbsSkinStdLabel", "stdlabel", "stdlabel"},
    {"TForm2", "bsSkinLinkLabel1", "TbsSkinLinkLabel", "stdlabel", "stdlabel"},
    {"TForm2", "bsSkinButton1", "TbsSkinButton", "button", "button"},
    // options dialog
    {"TForm5", "bsSkinPageControl1", "TbsSkinPageControl", "tab", "tab"},
    {"TForm5", "bsSkinCheckRadioBox9", "TbsSkinCheckRadioBox", "radiobox", "checkradio"},
    {"TForm5", "bsSkinCheckRadioBox8", "TbsSkinCheckRadioBox", "checkbox", "checkradio"},
    {"TForm5", "bsSkinComboBox2", "TbsSkinComboBox", "combobox", "combobox"},
    {"TForm5", "bsSkinGroupBox1", "TbsSkinGroupBox", "groupbox", "panel"},
    {"TForm5", "bsSkinButton1", "TbsSkinButton", "button", "button"},
    // settings dialog
    {"TForm6", "bsSkinPanel2", "TbsSkinPanel", "panel", "panel"},
    {"TForm6", "bsSkinTextLabel5", "TbsSkinTextLabel", "stdlabel", "stdlabel"},
    {"TForm6", "bsSkinOfficeComboBox2", "TbsSkinOfficeComboBox", "combobox", "combobox"},
    {"TForm6", "bsSkinPageControl1", "TbsSkinPageControl", "tab", "tab"},
    {"TForm6", "bsSkinComboBox1", "TbsSkinComboBox", "combobox", "combobox"},
    // preset dialog
    {"TForm7", "bsSkinOfficeComboBox1", "TbsSkinOfficeComboBox", "combobox", "combobox"},
    {"TForm7", "bsSkinGroupBox1", "TbsSkinGroupBox", "groupbox", "panel"},
    {"TForm7", "bsSkinComboBox1", "TbsSkinComboBox", "combobox", "combobox"},
    {"TForm7", "bsSkinTextLabel1", "TbsSkinTextLabel", "stdlabel", "stdlabel"},
    {"TForm7", "bsSkinButton1", "TbsSkinButton", "button", "button"},
    // dialogs, by the names they give their parts at run time
    {"TbsMessageForm", "buttons", "TbsSkinButton", "button", "button"},
    {"TbsMessageForm", "Message", "TbsSkinStdLabel", "stdlabel", "stdlabel"},
    {"TbsSelectSkinDlgForm", "list", "TbsSkinListBox", "listbox", "listbox"},
    {"TbsSelectSkinDlgForm", "buttons", "TbsSkinButton", "button", "button"},
    {"TbsSelectSkinDlgForm", "panel", "TbsSkinPanel", "panel", "panel"},
    {"TbsSelDirDlgForm", "tree", "TbsSkinDirTreeView", "treeview", "treeview"},
    {"TbsSelDirDlgForm", "tree items", "TbsSkinDirTreeView", "listbox", "listbox"},
    {"TbsSelDirDlgForm", "edit", "TbsSkinEdit", "edit", "edit"},
    {"TbsSelDirDlgForm", "tool buttons", "TbsSkinSpeedButton", "toolbutton", "button"},
    {"TbsOpenSkinDlgForm", "file list", "TbsSkinShellListView", "listview", "listview"},
    {"TbsOpenSkinDlgForm", "file list header", "TbsSkinShellListView", "resizebutton", "button"},
    {"TbsOpenSkinDlgForm", "file list items", "TbsSkinShellListView", "listbox", "listbox"},
    {"TbsOpenSkinDlgForm", "filter", "TbsSkinFilterComboBox", "combobox", "combobox"},
    {"TbsOpenSkinDlgForm", "tool bar", "TbsSkinToolBar", "toolpanel", "panel"},
    {"TbsOpenSkinDlgForm", "view button", "TbsSkinMenuSpeedButton", "toolmenubutton", "menubutton"},
    {"TbsOpenSkinDlgForm", "bevel", "TbsSkinBevel", "bevel", "bevel"},
};

String Lower(String S)
{
    for (char& C : S) C = char(std::tolower(static_cast<unsigned char>(C)));
    return S;
}

bool Inside(const TRect& R, TBitmap* P)
{
    return P && R.Left >= 0 && R.Top >= 0 && R.Right <= P->Width() && R.Bottom <= P->Height() && R.Width() > 0 &&
           R.Height() > 0;
}

TColor PixelOf(TBitmap* P, int X, int Y) { return P->Canvas()->Pixels(X, Y) & 0xFFFFFF; }
constexpr TColor KeyColor = 0xFF00FF;
std::pair<int, int> Sz(const TRect& R) { return {R.Width(), R.Height()}; }

// How a skinned control resizes with a record's corner points: 1 both ways (right-bottom
// point set), 2 horizontally (right-top point set), 3 vertically (left-bottom point set).
int ResizeMode(const TRect& SR, TPoint RT, TPoint LB, TPoint RB)
{
    if (SR.Width() <= 0 || SR.Height() <= 0) return -1;
    if (RB.X != 0 && RB.Y != 0) return 1;
    if (RT.X != 0 || RT.Y != 0) return 2;
    if (LB.X != 0 || LB.Y != 0) return 3;
    return 0;
}

}  // namespace

// ---- name resolution ------------------------------------------------------------------------------

TEST_F(ProgramSkinTest, EveryNameOfTheProgramResolvesToItsKind)
{
    for (const TNameRow& Row : NameTable) {
        SCOPED_TRACE(String(Row.Form) + "." + Row.Component + " (" + Row.Class + ")");
        TbsDataSkinControl* R = Ctrl(Row.SkinDataName);
        ASSERT_NE(R, nullptr) << "no record named " << Row.SkinDataName;
        EXPECT_EQ(bsControlKind(R), String(Row.Kind));
    }
}

TEST_F(ProgramSkinTest, IndirectNamesResolve)
{
    auto* LB = As<TbsDataSkinListBox>("listbox");
    ASSERT_NE(LB, nullptr);
    for (const String& N : {LB->VScrollBarName, LB->HScrollBarName, LB->BothScrollBarName}) {
        SCOPED_TRACE(N);
        EXPECT_NE(As<TbsDataSkinScrollBarControl>(N), nullptr);
    }
    auto* CB = As<TbsDataSkinComboBox>("combobox");
    ASSERT_NE(CB, nullptr);
    EXPECT_EQ(CB->ListBoxName, "listbox");
    EXPECT_NE(As<TbsDataSkinListBox>(CB->ListBoxName), nullptr);
    auto* MB = As<TbsDataSkinMainMenuBar>("mainmenubar");
    ASSERT_NE(MB, nullptr);
    auto* Item = dynamic_cast<TbsDataSkinMainMenuBarItem*>(Obj(MB->MenuBarItem));
    ASSERT_NE(Item, nullptr) << MB->MenuBarItem;
    EXPECT_FALSE(IsEmptyRect(Item->TextRct));
    // the dialogs draw their tree and list items from this record
    EXPECT_NE(As<TbsDataSkinListBox>(SD->DlgTreeViewItemSkinDataName()), nullptr);
    EXPECT_NE(As<TbsDataSkinListBox>(SD->DlgListViewItemSkinDataName()), nullptr);
}

TEST_F(ProgramSkinTest, FrameObjectsAreOneCaptionTheStandardButtonsAndTheMenuItemFirst)
{
    int Captions = 0;
    TbsDataSkinMenuItem* FirstItem = nullptr;
    for (auto& O : SD->ObjectList) {
        if (auto* C = dynamic_cast<TbsDataSkinCaption*>(O.get())) {
            ++Captions;
            EXPECT_TRUE(IsEmptyRect(C->ActiveSkinRect));
            EXPECT_EQ(C->ActivePictureIndex, -1);
        }
        if (auto* M = dynamic_cast<TbsDataSkinMenuItem*>(O.get()); M && !FirstItem) FirstItem = M;
    }
    EXPECT_EQ(Captions, 1);
    ASSERT_NE(FirstItem, nullptr);
    EXPECT_EQ(FirstItem->IDName, "menuitem");
    for (auto [Name, Cmd] : {std::pair{"closebutton", cmClose}, std::pair{"minbutton", cmMinimize}}) {
        auto* B = dynamic_cast<TbsDataSkinStdButton*>(Obj(Name));
        ASSERT_NE(B, nullptr) << Name;
        EXPECT_EQ(bsObjectKind(B), "stdbutton");
        EXPECT_EQ(B->Command, Cmd);
        EXPECT_TRUE(B->SkinRectInAPicture);
        EXPECT_TRUE(Inside(B->SkinRect, Pic(B->ActivePictureIndex)));
    }
}

// ---- geometry ---------------------------------------------------------------------------------------

TEST_F(ProgramSkinTest, PicturesAndCellsLieInRangeAndStateCellsHaveTheSkinSize)
{
    const int N = int(SD->FActivePictures.size());
    for (auto& C : SD->CtrlList) {
        SCOPED_TRACE(C->IDName);
        if (C->PictureIndex == -1) continue;
        ASSERT_GE(C->PictureIndex, 0);
        ASSERT_LT(C->PictureIndex, N);
        TBitmap* P = Pic(C->PictureIndex);
        if (dynamic_cast<TbsDataSkinCustomControl*>(C.get()) || !IsEmptyRect(C->SkinRect))
            EXPECT_TRUE(Inside(C->SkinRect, P));
        std::vector<TRect> States;
        if (auto* B = dynamic_cast<TbsDataSkinButtonControl*>(C.get()))
            States = {B->ActiveSkinRect, B->DownSkinRect, B->DisabledSkinRect, B->FocusedSkinRect};
        if (auto* E = dynamic_cast<TbsDataSkinEditControl*>(C.get())) States = {E->ActiveSkinRect};
        if (auto* E = dynamic_cast<TbsDataSkinComboBox*>(C.get()))
            States = {E->ActiveSkinRect};
        for (const TRect& S : States) {
            EXPECT_TRUE(Inside(S, P));
            EXPECT_EQ(S.Width(), C->SkinRect.Width());
            EXPECT_EQ(S.Height(), C->SkinRect.Height());
        }
        if (auto* CB = dynamic_cast<TbsDataSkinComboBox*>(C.get()))
            for (const TRect& S : {CB->ActiveButtonRect, CB->DownButtonRect, CB->UnEnabledButtonRect}) {
                EXPECT_TRUE(Inside(S, P));
                EXPECT_EQ(S.Width(), CB->ButtonRect.Width());
                EXPECT_EQ(S.Height(), CB->ButtonRect.Height());
            }
        if (auto* S = dynamic_cast<TbsDataSkinScrollBarControl*>(C.get())) {
            for (const TRect& R : {S->ActiveUpButtonRect, S->DownUpButtonRect})
                EXPECT_EQ(Sz(R), Sz(S->UpButtonRect));
            for (const TRect& R : {S->ActiveDownButtonRect, S->DownDownButtonRect})
                EXPECT_EQ(Sz(R), Sz(S->DownButtonRect));
            for (const TRect& R : {S->ActiveThumbRect, S->DownThumbRect}) EXPECT_EQ(Sz(R), Sz(S->ThumbRect));
        }
    }
    for (auto& O : SD->ObjectList) {
        SCOPED_TRACE(O->IDName);
        if (O->ActivePictureIndex == -1) continue;
        TBitmap* P = Pic(O->ActivePictureIndex);
        ASSERT_NE(P, nullptr);
        EXPECT_TRUE(Inside(O->SkinRect, P));
        if (!IsEmptyRect(O->ActiveSkinRect)) EXPECT_EQ(Sz(O->ActiveSkinRect), Sz(O->SkinRect));
        if (auto* B = dynamic_cast<TbsDataSkinButton*>(O.get())) {
            EXPECT_EQ(Sz(B->DownRect), Sz(B->SkinRect));
            EXPECT_EQ(Sz(B->InActiveSkinRect), Sz(B->SkinRect));
        }
    }
    EXPECT_EQ(SD->PopupWindow->WindowPictureIndex, 1);
    EXPECT_EQ(SD->HintWindow->WindowPictureIndex, 2);
    EXPECT_EQ(SD->LayerFrame->PictureIndex, -1);
    EXPECT_TRUE(SD->FMask->Empty());
    EXPECT_EQ(SD->FPicture->Width(), SD->FInActivePicture->Width());
}

TEST_F(ProgramSkinTest, ResizeModesAndHeightsKeepTheFixedLayouts)
{
    struct {
        const char* Name;
        int Mode;
        int Height;  // 0: any
        int Width;
    } Rows[] = {{"button", 1, 25, 0},       {"resizebutton", 1, 0, 0}, {"resizetoolbutton", 1, 0, 0},
                {"panel", 1, 0, 0},         {"groupbox", 1, 0, 0},     {"listbox", 1, 0, 0},
                {"combobox", 2, 20, 0},     {"edit", 2, 21, 0},        {"hscrollbar", 2, 19, 0},
                {"bothhscrollbar", 2, 19, 0}, {"vscrollbar", 3, 0, 19}};
    for (auto& R : Rows) {
        SCOPED_TRACE(R.Name);
        auto* C = As<TbsDataSkinCustomControl>(R.Name);
        ASSERT_NE(C, nullptr);
        EXPECT_EQ(ResizeMode(C->SkinRect, C->RTPoint, C->LBPoint, C->RBPoint), R.Mode);
        if (R.Height) EXPECT_EQ(C->SkinRect.Height(), R.Height);
        if (R.Width) EXPECT_EQ(C->SkinRect.Width(), R.Width);
    }
    EXPECT_EQ(Ctrl("mainmenubar")->SkinRect.Height(), 22);
    // the combo button lies in the right fixed end, which is narrower than the left part
    auto* CB = As<TbsDataSkinComboBox>("combobox");
    EXPECT_GE(CB->ButtonRect.Left, CB->RTPoint.X);
    EXPECT_GE(CB->ButtonRect.Left, CB->SkinRect.Width() - CB->RTPoint.X);
    // scroll bar "up" buttons at the right and bottom ends
    auto* H = As<TbsDataSkinScrollBarControl>("hscrollbar");
    EXPECT_EQ(H->UpButtonRect.Right, H->SkinRect.Width());
    auto* V = As<TbsDataSkinScrollBarControl>("vscrollbar");
    EXPECT_EQ(V->UpButtonRect.Bottom, V->SkinRect.Height());
    // no morphing, animation or glow
    for (auto& C : SD->CtrlList)
        if (auto* B = dynamic_cast<TbsDataSkinButtonControl*>(C.get())) {
            EXPECT_FALSE(B->Morphing) << B->IDName;
            EXPECT_EQ(B->FrameCount, 0) << B->IDName;
            EXPECT_EQ(B->GlowLayerPictureIndex, -1) << B->IDName;
        }
    for (auto& O : SD->ObjectList) {
        EXPECT_FALSE(O->Morphing) << O->IDName;
        EXPECT_EQ(O->GlowLayerPictureIndex, -1) << O->IDName;
    }
    EXPECT_GE(SD->FormMinWidth, 120);
    EXPECT_LE(SD->FormMinWidth, 150);
    EXPECT_FALSE(SD->CapButtonsInLeft);
}

TEST_F(ProgramSkinTest, KeyedCellsCarryTheKeyColourAndNoArtworkUsesIt)
{
    std::vector<std::pair<String, TRect>> Keyed;
    for (const char* N : {"checkbox", "radiobox"}) {
        auto* C = As<TbsDataSkinCheckRadioControl>(N);
        for (const TRect& R : {C->CheckImageRect, C->UnCheckImageRect, C->ActiveCheckImageRect,
                               C->ActiveUnCheckImageRect, C->UnEnabledCheckImageRect, C->UnEnabledUnCheckImageRect})
            Keyed.push_back({N, R});
    }
    auto* SL = As<TbsDataSkinSlider>("slider");
    Keyed.push_back({"slider", SL->HThumbRect});
    Keyed.push_back({"slider", SL->VThumbRect});
    auto* TV = As<TbsDataSkinTreeView>("treeview");
    Keyed.push_back({"treeview", TV->ExpandImageRect});
    Keyed.push_back({"treeview", TV->NoExpandImageRect});
    auto* MI = dynamic_cast<TbsDataSkinMenuItem*>(Obj("menuitem"));
    for (const TRect& R : {MI->CheckImageRect, MI->ActiveCheckImageRect, MI->RadioImageRect, MI->ActiveRadioImageRect,
                           MI->ArrowImageRect, MI->ActiveArrowImageRect})
        Keyed.push_back({"menuitem", R});
    TBitmap* Atlas = Pic(0);
    for (auto& [Name, R] : Keyed) {
        SCOPED_TRACE(Name);
        ASSERT_TRUE(Inside(R, Atlas));
        EXPECT_EQ(PixelOf(Atlas, R.Left, R.Bottom - 1), KeyColor);
    }
    // opaque looks never contain the key colour
    std::vector<std::pair<String, TRect>> Opaque;
    for (auto& C : SD->CtrlList)
        if (C->PictureIndex == 0) Opaque.push_back({C->IDName, C->SkinRect});
    for (auto& O : SD->ObjectList)
        if (O->ActivePictureIndex == 0) Opaque.push_back({O->IDName, O->SkinRect});
    for (auto& [Name, R] : Opaque)
        for (int Y = R.Top; Y < R.Bottom; ++Y)
            for (int X = R.Left; X < R.Right; ++X) ASSERT_NE(PixelOf(Atlas, X, Y), KeyColor) << Name;
    for (TBitmap* P : {SD->FPicture.get(), SD->FInActivePicture.get(), Pic(1), Pic(2)})
        for (int Y = 0; Y < P->Height(); ++Y)
            for (int X = 0; X < P->Width(); ++X) ASSERT_NE(PixelOf(P, X, Y), KeyColor);
}

TEST_F(ProgramSkinTest, NamesAreUniqueIgnoringCaseAndNoValueIsNegative)
{
    std::set<String> Seen = {"version", "pictures", "forminfo", "popupwindow", "layerframe", "hintwindow",
                             "skincolors", "skinobjects", "skincontrols"};
    auto Check = [&](const String& Name) { EXPECT_TRUE(Seen.insert(Lower(Name)).second) << Name; };
    for (auto& C : SD->CtrlList) Check(C->IDName);
    for (auto& O : SD->ObjectList) Check(O->IDName);
    // every stored value: negative numbers only as "no picture" indexes
    TMemIniFile Ini("");
    SD->SaveSkinToIni(&Ini);
    TStringList Sections;
    Ini.ReadSections(&Sections);
    for (int S = 0; S < Sections.Count(); ++S) {
        TStringList Keys;
        Ini.ReadSection(Sections.Strings(S), &Keys);
        for (int K = 0; K < Keys.Count(); ++K) {
            const String Key = Keys.Strings(K), V = Ini.ReadString(Sections.Strings(S), Key, "");
            if (V.find('-') == String::npos) continue;
            const bool Index = Lower(Key).find("index") != String::npos || Lower(Key).find("picture") != String::npos;
            EXPECT_TRUE(Index && V == "-1") << "[" << Sections.Strings(S) << "] " << Key << "=" << V;
        }
    }
}

TEST_F(ProgramSkinTest, FormInfoIsUnchangedByLoading)
{
    // The stored text and the loaded frame give the same FORMINFO: the reader's
    // corrections (clamping, hit-test points) have nothing to change.
    const String Text = ReadFile(Generated / "flat" / "skin.ini");
    TMemIniFile Stored("");
    TStringList L;
    L.SetText(Text);
    Stored.SetStrings(&L);
    TMemIniFile Again("");
    SD->SaveFormInfo(&Again);
    TStringList Keys;
    Stored.ReadSection("FORMINFO", &Keys);
    ASSERT_GT(Keys.Count(), 10);
    for (int K = 0; K < Keys.Count(); ++K)
        EXPECT_EQ(Again.ReadString("FORMINFO", Keys.Strings(K), "?"), Stored.ReadString("FORMINFO", Keys.Strings(K), "!"))
            << Keys.Strings(K);
    EXPECT_EQ(SD->HitTestLTPoint, SD->LTPoint);
    EXPECT_EQ(SD->HitTestRBPoint, SD->RBPoint);
    EXPECT_GE(SD->LTPoint.X, SD->ClRect.Left);
    EXPECT_GE(SD->LTPoint.Y, SD->ClRect.Top);
    EXPECT_LE(SD->RBPoint.X, SD->ClRect.Right);
    EXPECT_LE(SD->RBPoint.Y, SD->ClRect.Bottom);
}

// ---- round trip --------------------------------------------------------------------------------------

TEST_F(ProgramSkinTest, FolderStoredSkinFolderRoundTripIsExact)
{
    const vctest::TScratch Scratch("vc_progskin_");
    const fs::path Tmp = Scratch.Path;
    fs::create_directories(Tmp / "a");
    fs::create_directories(Tmp / "b");
    // folder -> stored skin -> folder
    TbsSkinData Folder(nullptr);
    Folder.LoadFromFile((Generated / "flat" / "skin.ini").string());
    Folder.SaveToCompressedFile((Tmp / "skin.vcs").string());
    TbsSkinData Back(nullptr);
    Back.LoadFromCompressedFile((Tmp / "skin.vcs").string());
    Back.StoreToDisk((Tmp / "a" / "skin.ini").string());
    Back.StoreToDisk((Tmp / "b" / "skin.ini").string());
    for (const auto& E : fs::directory_iterator(Generated / "flat")) {
        const auto Name = E.path().filename();
        SCOPED_TRACE(Name.string());
        EXPECT_TRUE(ReadFile(Tmp / "a" / Name) == ReadFile(E.path())) << "differs: " << (Tmp / "a" / Name);
        EXPECT_TRUE(ReadFile(Tmp / "b" / Name) == ReadFile(Tmp / "a" / Name)) << "differs: " << (Tmp / "b" / Name);
    }
}

TEST_F(ProgramSkinTest, EmbeddedSkinIsTheFolderPackedAgainAndTheSourceCopiesAreCurrent)
{
    TbsCompressedStoredSkin Packed(nullptr);
    Packed.LoadFromIniFile((Generated / "flat" / "skin.ini").string());
    TMemoryStream S;
    Packed.SaveToCompressStream(&S);
    ASSERT_EQ(size_t(S.Size()), ProgramSkinSize());
    EXPECT_TRUE(std::equal(ProgramSkinBytes(), ProgramSkinBytes() + ProgramSkinSize(),
                           static_cast<const uint8_t*>(S.Memory())));
    // container head and the zlib stream at level 9
    EXPECT_EQ(ProgramSkinBytes()[0], 3);
    EXPECT_EQ(ProgramSkinBytes()[8], 0x78);
    EXPECT_EQ(ProgramSkinBytes()[9], 0xDA);
    // the source tree holds what the generator writes (ninja program-skin-update)
    for (auto [Gen, Src] : {std::pair{Generated / "flat", Source / "skins" / "flat"},
                            std::pair{Generated / "res", Source / "app" / "resources" / "res"}}) {
        size_t N = 0;
        for (const auto& E : fs::directory_iterator(Gen)) {
            ++N;
            EXPECT_TRUE(ReadFile(Src / E.path().filename()) == ReadFile(E.path()))
                << (Src / E.path().filename()) << " is out of date: run ninja program-skin-update";
        }
        size_t M = 0;
        for ([[maybe_unused]] const auto& E : fs::directory_iterator(Src)) ++M;
        EXPECT_EQ(M, N) << Src;
    }
}

TEST(ProgramSkinBuild, TwoRunsOfTheGeneratorWriteTheSameFiles)
{
    const vctest::TScratch Scratch("vc_skingen_");
    const fs::path Tmp = Scratch.Path;
    for (const char* Run : {"one", "two"}) {
        const String Cmd = String("ASAN_OPTIONS=detect_leaks=0 '") + VC_SKINGEN + "' '" + (Tmp / Run).string() + "'";
        ASSERT_EQ(std::system(Cmd.c_str()), 0) << Cmd;
    }
    size_t N = 0;
    for (const auto& E : fs::recursive_directory_iterator(Tmp / "one")) {
        if (!E.is_regular_file()) continue;
        ++N;
        const fs::path Other = Tmp / "two" / fs::relative(E.path(), Tmp / "one");
        EXPECT_TRUE(ReadFile(E.path()) == ReadFile(Other)) << Other;
    }
    EXPECT_GT(N, 80u);
    EXPECT_TRUE(ReadFile(Tmp / "one" / "flat.vcs") == ReadFile(Generated / "flat.vcs"));
}

TEST_F(ProgramSkinTest, SkinListHoldsTheSkinAtIndexZeroAndBothSkinDataObjectsLoadIt)
{
    auto* List = new TbsCompressedSkinList(Application);
    InstallProgramSkin(List);
    ASSERT_EQ(List->Skins()->Count(), 1);
    EXPECT_EQ(List->Skins()->Items(0)->Name(), "bsSkin0");
    auto* First = new TbsSkinData(Application);
    auto* Second = new TbsSkinData(Application);
    for (TbsSkinData* D : {First, Second}) {
        D->SetSkinList(List);
        D->SetSkinIndex(0);
        EXPECT_FALSE(D->Empty);
        EXPECT_GE(D->GetControlIndex("resizetoolbutton"), 0);
        EXPECT_EQ(D->CtrlList.size(), SD->CtrlList.size());
    }
    InstallProgramSkin(List);  // again: still one item
    EXPECT_EQ(List->Skins()->Count(), 1);
}

// ---- render smoke ------------------------------------------------------------------------------------

namespace {

// A record's look in one state at a size other than the skin's, as its control builds it.
std::unique_ptr<TBitmap> Grown(TbsDataSkinCustomControl* C, TBitmap* P, const TRect& Src, int W, int H)
{
    auto B = std::make_unique<TBitmap>(W, H);
    const int Mode = ResizeMode(C->SkinRect, C->RTPoint, C->LBPoint, C->RBPoint);
    const int DX = W - C->SkinRect.Width(), DY = H - C->SkinRect.Height();
    switch (Mode) {
    case 1:
        CreateSkinImage(C->LTPoint, C->RTPoint, C->LBPoint, C->RBPoint, C->ClRect, C->LTPoint,
                        Point(C->RTPoint.X + DX, C->RTPoint.Y), Point(C->LBPoint.X, C->LBPoint.Y + DY),
                        Point(C->RBPoint.X + DX, C->RBPoint.Y + DY),
                        Rect(C->ClRect.Left, C->ClRect.Top, C->ClRect.Right + DX, C->ClRect.Bottom + DY), B.get(), P,
                        Src, W, H, true, C->LeftStretch, C->TopStretch, C->RightStretch, C->BottomStretch,
                        C->StretchEffect, C->StretchType);
        break;
    case 2: CreateHSkinImage(C->LTPoint.X, C->SkinRect.Width() - C->RTPoint.X, B.get(), P, Src, W, H, C->StretchEffect); break;
    case 3: CreateVSkinImage(C->LTPoint.Y, C->SkinRect.Height() - C->LBPoint.Y, B.get(), P, Src, W, H, C->StretchEffect); break;
    default: bsCopyPicturePart(B.get(), P, Src); break;
    }
    return B;
}

// The looks side by side on one sheet, over the skin's face colour.
std::unique_ptr<TBitmap> Sheet(const std::vector<TBitmap*>& Looks, TColor Back)
{
    int W = 4, H = 0;
    for (TBitmap* L : Looks) {
        W += L->Width() + 4;
        H = std::max(H, L->Height());
    }
    auto S = std::make_unique<TBitmap>(W, H + 8);
    S->Canvas()->Brush()->SetColor(Back);
    S->Canvas()->FillRect(Rect(0, 0, W, H + 8));
    int X = 4;
    for (TBitmap* L : Looks) {
        L->SetTransparent(true);
        S->Canvas()->Draw(X, 4, L);
        X += L->Width() + 4;
    }
    return S;
}

}  // namespace

TEST_F(ProgramSkinTest, RequiredRecordsDrawAsTheGoldenPictures)
{
    TBitmap* P = Pic(0);
    const TColor Back = SD->FSkinColors->FcBtnFace;
    auto Looks = [&](const String& Name, std::vector<TRect> States, int W, int H) {
        SCOPED_TRACE(Name);
        auto* C = As<TbsDataSkinCustomControl>(Name);
        ASSERT_NE(C, nullptr);
        std::vector<std::unique_ptr<TBitmap>> Own;
        std::vector<TBitmap*> L;
        States.insert(States.begin(), C->SkinRect);
        for (const TRect& S : States) {
            Own.push_back(Grown(C, P, S, W, H));
            L.push_back(Own.back().get());
        }
        auto S = Sheet(L, Back);
        ExpectGolden(S.get(), Name);
    };
    auto Button = [&](const String& Name, int W, int H) {
        auto* B = As<TbsDataSkinButtonControl>(Name);
        ASSERT_NE(B, nullptr) << Name;
        Looks(Name, {B->ActiveSkinRect, B->DownSkinRect, B->DisabledSkinRect, B->FocusedSkinRect}, W, H);
    };
    Button("button", 96, 25);
    Button("resizebutton", 60, 30);
    Button("resizetoolbutton", 89, 68);
    for (const char* N : {"panel", "groupbox", "toolpanel", "resizetoolpanel"}) Looks(N, {}, 120, 70);
    Looks("listbox", {}, 100, 60);
    Looks("combobox", {As<TbsDataSkinComboBox>("combobox")->ActiveSkinRect}, 140, 20);
    Looks("edit", {As<TbsDataSkinEditControl>("edit")->ActiveSkinRect}, 140, 21);
    Looks("hscrollbar", {}, 120, 19);
    Looks("bothhscrollbar", {}, 120, 19);
    Looks("vscrollbar", {}, 19, 90);
    for (const char* N : {"checkbox", "radiobox"}) {
        auto* C = As<TbsDataSkinCheckRadioControl>(N);
        std::vector<std::unique_ptr<TBitmap>> Own;
        std::vector<TBitmap*> L;
        for (const TRect& R : {C->CheckImageRect, C->UnCheckImageRect, C->ActiveCheckImageRect, C->ActiveUnCheckImageRect,
                               C->UnEnabledCheckImageRect, C->UnEnabledUnCheckImageRect}) {
            Own.push_back(std::make_unique<TBitmap>());
            bsCopyPicturePart(Own.back().get(), P, R);
            L.push_back(Own.back().get());
        }
        ExpectGolden(Sheet(L, Back).get(), N);
    }
    // records drawn from cells as they stand
    auto Cells = [&](const String& Name, std::vector<TRect> Rs) {
        std::vector<std::unique_ptr<TBitmap>> Own;
        std::vector<TBitmap*> L;
        for (const TRect& R : Rs) {
            Own.push_back(std::make_unique<TBitmap>());
            bsCopyPicturePart(Own.back().get(), P, R);
            L.push_back(Own.back().get());
        }
        ExpectGolden(Sheet(L, Back).get(), Name);
    };
    auto* SL = As<TbsDataSkinSlider>("slider");
    Cells("slider", {SL->HRulerRect, SL->HThumbRect, SL->VRulerRect});
    auto* TB = As<TbsDataSkinTabControl>("tab");
    Cells("tab", {TB->SkinRect, TB->TabRect, TB->ActiveTabRect, TB->MouseInTabRect, TB->TabsBGRect});
    auto* TV = As<TbsDataSkinTreeView>("treeview");
    Cells("treeview", {TV->ExpandImageRect, TV->NoExpandImageRect});
    auto* MB = As<TbsDataSkinMainMenuBar>("mainmenubar");
    auto* BI = dynamic_cast<TbsDataSkinMainMenuBarItem*>(Obj("mainmenubaritem"));
    Cells("mainmenubar", {MB->SkinRect, BI->SkinRect, BI->ActiveSkinRect, BI->DownRect});
    auto* MI = dynamic_cast<TbsDataSkinMenuItem*>(Obj("menuitem"));
    Cells("menuitem", {MI->SkinRect, MI->ActiveSkinRect, MI->DividerRect, MI->CheckImageRect, MI->ActiveCheckImageRect,
                       MI->RadioImageRect, MI->ArrowImageRect});
    for (const char* N : {"closebutton", "minbutton", "maxbutton"}) {
        auto* B = dynamic_cast<TbsDataSkinButton*>(Obj(N));
        Cells(N, {B->SkinRect, B->ActiveSkinRect, B->DownRect, B->InActiveSkinRect});
    }
    // the frame pair and the two windows, as they stand
    ExpectGolden(SD->FPicture.get(), "frame");
    ExpectGolden(SD->FInActivePicture.get(), "frameinactive");
    ExpectGolden(Pic(1), "popupwindow");
    ExpectGolden(Pic(2), "hintwindow");
}

// ---- the program's pictures ---------------------------------------------------------------------------

TEST(ProgramPictures, ListsHaveTheirCountsAndSizes)
{
    struct {
        const char* List;
        int Count, W, H;
    } Rows[] = {{"toolbar", 9, 48, 48},  {"preview", 7, 24, 24},  {"preset", 3, 32, 32},
                {"category", 24, 36, 36}, {"settings", 12, 32, 32}};
    for (auto& R : Rows) {
        SCOPED_TRACE(R.List);
        EXPECT_EQ(ProgramListCount(R.List), R.Count);
        TbsPngImageList L(nullptr);
        EXPECT_EQ(FillProgramImageList(R.List, &L), R.Count);
        EXPECT_EQ(L.PngImages()->Count(), R.Count);
        EXPECT_EQ(L.Count(), R.Count);
        EXPECT_EQ(L.Width(), R.W);
        EXPECT_EQ(L.Height(), R.H);
        for (int I = 0; I < R.Count; ++I) {
            EXPECT_EQ(L.PngImages()->Items(I)->PngImage()->Width(), R.W);
            EXPECT_EQ(L.PngImages()->Items(I)->PngImage()->Height(), R.H);
        }
        TImageList Plain(nullptr);
        EXPECT_EQ(FillProgramImageList(R.List, &Plain, clWhite), R.Count);
        EXPECT_EQ(Plain.Count(), R.Count);
    }
    struct {
        const char* Name;
        int W, H;
    } Singles[] = {{"about", 87, 83}, {"settings.image", 48, 48}, {"moveup", 16, 16}, {"movedown.disabled", 16, 16}};
    for (auto& S : Singles) {
        TPngImage P;
        ASSERT_TRUE(LoadProgramPicture(S.Name, &P)) << S.Name;
        EXPECT_EQ(P.Width(), S.W) << S.Name;
        EXPECT_EQ(P.Height(), S.H) << S.Name;
    }
    for (int I = 2; I <= 17; ++I) {
        TPngImage P;
        EXPECT_TRUE(LoadProgramPicture(Format("Image%d", I), &P)) << I;
    }
    TPngImage Missing;
    EXPECT_FALSE(LoadProgramPicture("nothing", &Missing));
    EXPECT_EQ(ProgramBitmap("nothing", clWhite), nullptr);
}

TEST(ProgramPictures, GlyphBitmapsAreKeyedAtTheBottomLeftAndShowTheirShape)
{
    for (const char* N : {"Image5", "Image4", "moveup", "preview.0"}) {
        auto B = ProgramBitmap(N, RGB(255, 255, 255));
        ASSERT_NE(B, nullptr) << N;
        EXPECT_EQ(B->PixelFormat(), pf24bit);
        EXPECT_EQ(B->Canvas()->Pixels(0, B->Height() - 1) & 0xFFFFFF, TColor(0xFF00FF)) << N;
        int Drawn = 0;
        for (int Y = 0; Y < B->Height(); ++Y)
            for (int X = 0; X < B->Width(); ++X)
                if ((B->Canvas()->Pixels(X, Y) & 0xFFFFFF) != 0xFF00FF) ++Drawn;
        EXPECT_GT(Drawn, B->Width() * B->Height() / 10) << N;
    }
}
