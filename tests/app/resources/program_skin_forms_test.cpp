// The program's real forms against the program's skin: every skinned control of a form,
// walked headless, finds a record of its kind under its SkinDataName.
#include "resources/program_skin_support.h"

#include <functional>

#include "app/Program.h"
#include "app/forms/Unit6.h"
#include "forms/main_window_support.h"
#include "skin/boxes/bsSkinBoxCtrls.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/controls/bsSkinExCtrls.h"
#include "skin/shell/bsSkinShellViews.h"
#include "test_files.h"

using namespace progskin;

namespace {

struct TSkinnedPart {
    String Component, SkinDataName, Kind;  // Kind empty: any record will do
};

// The record name and the kind of record each skinned control of Root (all owned
// components, at any depth of ownership) looks up.
std::vector<TSkinnedPart> SkinnedParts(TComponent* Root)
{
    std::vector<TSkinnedPart> L;
    std::function<void(TComponent*)> Walk = [&](TComponent* C) {
        for (int I = 0; I < C->ComponentCount(); ++I) {
            TComponent* P = C->Components(I);
            String Name, Kind;
            bool Skinned = true;
            if (auto* B = dynamic_cast<TbsSkinButton*>(P)) Name = B->SkinDataName(), Kind = "button";
            else if (auto* R = dynamic_cast<TbsSkinCheckRadioBox*>(P)) Name = R->SkinDataName(), Kind = "checkradio";
            else if (auto* S = dynamic_cast<TbsSkinScrollBar*>(P)) Name = S->SkinDataName(), Kind = "scrollbar";
            else if (auto* Q = dynamic_cast<TbsSkinPanel*>(P)) Name = Q->SkinDataName(), Kind = "panel";
            else if (auto* O = dynamic_cast<TbsSkinCustomOfficeComboBox*>(P)) Name = O->SkinDataName(), Kind = "combobox";
            else if (auto* X = dynamic_cast<TbsSkinCustomComboBox*>(P)) Name = X->SkinDataName(), Kind = "combobox";
            else if (auto* E = dynamic_cast<TbsSkinCustomEdit*>(P)) Name = E->SkinDataName(), Kind = "edit";
            else if (auto* T = dynamic_cast<TbsSkinPageControl*>(P)) Name = T->SkinDataName(), Kind = "tab";
            else if (auto* V = dynamic_cast<TbsSkinCustomListView*>(P)) Name = V->SkinDataName(), Kind = "listview";
            else if (auto* W = dynamic_cast<TbsSkinControl*>(P)) Name = W->SkinDataName();
            else if (auto* La = dynamic_cast<TbsSkinStdLabel*>(P)) Name = La->SkinDataName(), Kind = "stdlabel";
            else if (auto* Tl = dynamic_cast<TbsSkinTextLabel*>(P)) Name = Tl->SkinDataName(), Kind = "stdlabel";
            else if (auto* G = dynamic_cast<TbsGraphicSkinControl*>(P)) Name = G->SkinDataName();
            else Skinned = false;
            if (Skinned) L.push_back({P->Name().empty() ? P->ClassName() : P->Name(), Name, Kind});
            Walk(P);
        }
    };
    Walk(Root);
    return L;
}

// Expects every skinned part of Root to resolve in SD; returns how many were checked.
size_t ExpectAllResolve(TbsSkinData* SD, TComponent* Root)
{
    auto Parts = SkinnedParts(Root);
    for (const TSkinnedPart& P : Parts) {
        SCOPED_TRACE(Root->Name() + "." + P.Component + " (" + P.SkinDataName + ")");
        if (P.SkinDataName.empty()) continue;  // draws its default look on purpose
        const int I = SD->GetControlIndex(P.SkinDataName);
        EXPECT_GE(I, 0) << "unresolved name";
        if (I >= 0 && !P.Kind.empty()) EXPECT_EQ(bsControlKind(SD->CtrlList[size_t(I)].get()), P.Kind);
    }
    return Parts.size();
}

class ProgramSkinForms : public ProgramSkinTest {
protected:
    size_t ExpectAllResolve(TComponent* Root) { return ::ExpectAllResolve(SD, Root); }
};

TEST_F(ProgramSkinForms, SettingsDialogHasNoUnresolvedName)
{
    TPresetFields Fields;
    Form6Links.Fields = &Fields;
    Form6Links.OutputFolderText = [] { return String("/nonexistent-out"); };
    Form6Links.OverwriteOutput = [] { return false; };
    TForm6* F = Application->CreateForm<TForm6>(&Form6);
    EXPECT_GE(ExpectAllResolve(F), 15u);
    Form6Links = {};
}

// Every form the program creates at start-up, walked headless in a scratch program folder.
class ProgramFormsWalk : public mainwindow::MainWindowTest {};

TEST_F(ProgramFormsWalk, EveryFormOfTheProgramHasNoUnresolvedName)
{
    CreateProgramForms();
    auto* SD = new TbsSkinData(Application);
    LoadProgramSkin(SD);
    ASSERT_FALSE(SD->Empty);
    std::vector<String> Walked;
    for (int I = 0; I < Application->ComponentCount(); ++I)
        if (auto* F = dynamic_cast<TCustomForm*>(Application->Components(I))) {
            EXPECT_GE(ExpectAllResolve(SD, F), 5u) << F->Name();
            Walked.push_back(F->Name());
        }
    EXPECT_GE(Walked.size(), 4u);
}

// A group box wider than its skin picture stretches its caption band with it, so a long
// caption is drawn whole instead of cut off at the picture's width.
TEST_F(ProgramSkinForms, GroupBoxCaptionBandStretchesWithTheBox)
{
    auto* F = Application->CreateForm<TForm>();
    F->SetBorderStyle(bsNone);
    F->SetBounds(50, 50, 400, 200);
    F->Show();
    auto* G = new TbsSkinGroupBox(F);
    G->SetParent(F);
    G->SetBounds(10, 10, 300, 100);
    G->SetSkinData(SD);
    G->SetCaption("预置视频参数设置");
    Application->ProcessMessages();
    G->Repaint();
    Application->ProcessMessages();
    auto* R = As<TbsDataSkinPanelControl>("groupbox");
    ASSERT_NE(R, nullptr);
    const TRect Band = G->NewCaptionRect;
    EXPECT_EQ(Band.Left, R->CaptionRect.Left);
    EXPECT_EQ(Band.Right, R->CaptionRect.Right + G->Width() - R->SkinRect.Width());
    EXPECT_EQ(Band.Bottom, R->CaptionRect.Bottom);
    // ink of the caption lies past the picture's own band
    const TColor Back = Headless::PixelColor(G->Handle(), Point(G->Width() - 10, 12));
    int Ink = 0;
    for (int X = R->CaptionRect.Right; X < G->Width() - 20; ++X)
        for (int Y = Band.Top + 1; Y < Band.Bottom - 1; ++Y)
            if (Headless::PixelColor(G->Handle(), Point(X, Y)) != Back) ++Ink;
    EXPECT_GT(Ink, 20);
}

TEST_F(ProgramSkinForms, SkinDrawnFileListShowsEachRowsOwnName)
{
    // The open dialog's file list draws its rows from the skin; measuring the rows of the
    // owner-data list must not leave every row showing the last row's name.
    const String Dir = vctest::ScratchDir("skinlist");
    std::filesystem::create_directory(Dir + "/输出");
    for (const char* N : {"会议记录.avi", "旅行.mp4"}) std::ofstream(Dir + "/" + N) << "x";
    auto* F = Application->CreateForm<TForm>();
    F->SetBorderStyle(bsNone);
    F->SetBounds(50, 50, 400, 200);
    F->Show();
    auto* L = new TbsSkinFileListView(F);
    L->SetParent(F);
    L->SetBounds(0, 0, 380, 180);
    L->SetSkinData(SD);
    L->SetDrawSkin(true);
    L->SetViewStyle(vsList);
    L->SetPath(Dir);
    Application->ProcessMessages();
    L->Repaint();
    Application->ProcessMessages();
    ASSERT_EQ(L->Items()->Count(), 3);
    // each row's ink, column by column: three different names give three different rows
    std::vector<std::vector<TColor>> Rows;
    for (int R = 0; R < 3; ++R) {
        const TRect B = L->NativeItemRect(R, drLabel);
        std::vector<TColor> Ink;
        for (int X = B.Left; X < B.Left + 120; ++X)
            for (int Y = B.Top; Y < B.Bottom; ++Y) Ink.push_back(Headless::PixelColor(L->Handle(), Point(X, Y)));
        Rows.push_back(Ink);
    }
    EXPECT_NE(Rows[0], Rows[2]);
    EXPECT_NE(Rows[1], Rows[2]);
    EXPECT_NE(Rows[0], Rows[1]);
    std::filesystem::remove_all(Dir);
}

}  // namespace
