// The main window's job list: one row per added file, its settings in zero-width
// columns; removing, clearing, moving, renaming and selecting rows.
#include "app/forms/FormBuild.h"
#include "app/presets/PresetCatalogue.h"
#include "app/presets/PresetOutput.h"
#include "app/forms/Unit1.h"

#include "platform/forms/Menus.h"
#include "platform/system/SysUtils.h"
#include "skin/boxes/bsSkinBoxCtrls.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/controls/bsSkinExCtrls.h"

namespace {

// The glyph pictures of the buttons that show their state by a glyph.
struct TGlyphPair {
    TbsSkinButton* TForm1::*Button;
    int Enabled, Disabled;
};
constexpr TGlyphPair GlyphPairs[] = {
    {&TForm1::bsSkinButton7, 15, 14},  {&TForm1::bsSkinButton21, 16, 17}, {&TForm1::bsSkinButton8, 13, 12},
    {&TForm1::bsSkinButton2, 5, 4},    {&TForm1::bsSkinButton10, 11, 10}, {&TForm1::bsSkinButton11, 7, 6},
    {&TForm1::bsSkinButton12, 9, 8},
};

// The output name of column 3 without folder and extension.
String NameWithoutExt(const String& AOutput)
{
    const String name = OutputNamePart(AOutput);
    const size_t dot = name.rfind('.');
    return dot == String::npos ? name : name.substr(0, dot);
}

}  // namespace

String TForm1::JobColumn(TListItem* AItem, int AColumn)
{
    if (!AItem) return String();
    if (AColumn == 0) return AItem->Caption();
    TStrings* sub = AItem->SubItems();
    return AColumn - 1 < sub->Count() ? sub->Strings(AColumn - 1) : String();
}

void TForm1::SetJobColumn(TListItem* AItem, int AColumn, const String& AText)
{
    if (!AItem) return;
    if (AColumn == 0) {
        AItem->SetCaption(AText);
        return;
    }
    TStrings* sub = AItem->SubItems();
    while (sub->Count() < AColumn) sub->Add("");
    sub->SetStrings(AColumn - 1, AText);
}

TListItem* TForm1::AddJobRow(const std::vector<String>& AColumns)
{
    TListItem* item = lvFiles->Items()->Add();
    item->SetCaption(AColumns.empty() ? String() : AColumns[0]);
    for (int c = 1; c < JobColumnCount; ++c) item->SubItems()->Add(size_t(c) < AColumns.size() ? AColumns[size_t(c)] : "");
    return item;
}

void TForm1::SetButtonState(TbsSkinButton* AButton, bool AEnabled)
{
    AButton->SetEnabled(AEnabled);
    if (AButton->ImageList()) return;  // a tool-bar picture shows the state itself
    for (const TGlyphPair& g : GlyphPairs)
        if (this->*g.Button == AButton) {
            AButton->SetGlyph(Image(AEnabled ? g.Enabled : g.Disabled)->Picture()->Bitmap());
            AButton->RefreshButton();
        }
}

void TForm1::UpdateJobControls(bool AHasRows) { SetBatchState(AHasRows ? bsReady : bsEmpty); }

void TForm1::EnableAdding(bool AEnabled)
{
    bsSkinMenuSpeedButton1->SetEnabled(AEnabled);
    for (TMenuItem* item : {Item111, Item121, N21, N11111, N2222, N3331}) item->SetEnabled(AEnabled);
}

void TForm1::btnRemoveClick(TObject*)
{
    const int r = lvFiles->ItemIndex();
    if (r < 0) {
        InfoMessage("请先选择您需要删除的项目！");
        return;
    }
    TListItem* row = lvFiles->Items()->Item(r);
    const int n = StrToIntDef(JobColumn(row, jcTaskNumber), 0);
    if (n > 0) {
        try {
            EngineRemoveTask(n - 1);
        } catch (const Exception& E) {
            // The engine keeps its task: the row stays with it.
            mmoLog->Lines()->Add(E.Message());
            return;
        }
    }
    lvFiles->Items()->Delete(r);
    MarkSlotDeleted(r);
    const int count = lvFiles->Items()->Count();
    for (int i = 0; i < count; ++i) {
        TListItem* item = lvFiles->Items()->Item(i);
        const int number = StrToIntDef(JobColumn(item, jcTaskNumber), 0);
        if (number > n) SetJobColumn(item, jcTaskNumber, IntToStr(number - 1));
    }
    // the batch state decides the controls: rows left are ready, none is an empty list
    UpdateJobControls(count > 0);
    FocusIfAble(lvFiles);
    if (count > 0) {
        lvFiles->SetItemIndex(0);
        FocusIfAble(lvFiles);
    } else {
        bsSkinPanel5->SetVisible(true);
        StopPreview();
        ResetSeekSlider();
    }
}

void TForm1::btnClearClick(TObject*)
{
    try {
        EngineClearTasks();
    } catch (const Exception& E) {
        mmoLog->Lines()->Add(E.Message());
        return;
    }
    lvFiles->Items()->Clear();
    SetBatchState(bsEmpty);
    Button15Click(this);
    bsSkinPanel5->SetVisible(true);
    StopPreview();
    ResetSeekSlider();
}

namespace {

// Exchanges the contents of rows A and B (caption and every column) through a scratch row.
void SwapRows(TCustomListView* AList, int A, int B)
{
    TListItems* items = AList->Items();
    items->BeginUpdate();
    TListItem* scratch = items->Add();
    scratch->Assign(items->Item(A));
    items->Item(A)->Assign(items->Item(B));
    items->Item(B)->Assign(scratch);
    items->Delete(scratch->Index());
    items->EndUpdate();
}

}  // namespace

void TForm1::bsSkinButton3Click(TObject*)
{
    const int p = lvFiles->ItemIndex();
    if (p <= 0) return;
    SwapRows(lvFiles, p, p - 1);
    lvFiles->SetItemIndex(p - 1);
    FocusIfAble(lvFiles);
}

void TForm1::bsSkinButton4Click(TObject*)
{
    const int p = lvFiles->ItemIndex();
    if (p < 0 || p >= lvFiles->Items()->Count() - 1) return;
    SwapRows(lvFiles, p, p + 1);
    lvFiles->SetItemIndex(p + 1);
    FocusIfAble(lvFiles);
}

void TForm1::bsSkinButton21Click(TObject*)
{
    if (lvFiles->ItemIndex() < 0) {
        InfoMessage("请先选中您需要重命名的项目！");
        return;
    }
    lvFilesDblClick(this);
}

void TForm1::N26Click(TObject* Sender) { bsSkinButton21Click(Sender); }

void TForm1::lvFilesDblClick(TObject*)
{
    TListItem* row = lvFiles->Selected();
    if (!row) return;
    // Over the output-name cell, in the list's own coordinates.
    int left = 2;
    for (int c = 0; c < 3; ++c) left += lvFiles->Column(c)->Width();
    edt->SetParent(lvFiles);
    edt->SetBounds(left, row->Top(), lvFiles->Column(jcOutputFile)->Width(), edt->Height());
    edt->SetText(NameWithoutExt(JobColumn(row, jcOutputFile)));
    edt->SetVisible(true);
    edt->BringToFront();
    FocusIfAble(edt);
}

void TForm1::edtExit(TObject*)
{
    const int preset = bsSkinOfficeComboBox1->ItemIndex();
    const String caption = preset >= 0 && preset < bsSkinOfficeComboBox1->Items()->Count()
                               ? bsSkinOfficeComboBox1->Items()->Items(preset)->Caption()
                               : String();
    const String ext = PresetExtFromCaption(caption);
    const String name = edt->Text();
    // An empty name, or one that would leave the output folder, is refused: the edit stays.
    if (name.empty() || name.find('/') != String::npos) return;
    const int r = lvFiles->ItemIndex();
    if (r < 0) {
        edt->SetVisible(false);
        return;
    }
    // A new name follows the output-name rule; confirming the name it has keeps it.
    TListItem* row = lvFiles->Items()->Item(r);
    if (name + ext != JobColumn(row, jcOutputFile)) SetJobColumn(row, jcOutputFile, SettleOutputName(name + ext, row));
    edt->SetVisible(false);
    if (r < JobSlotCount)
        OO1[size_t(r)].FileName = Video_OutPut_Folder_Edit->Text() + "/" + JobColumn(lvFiles->Items()->Item(r), jcOutputFile);
}

void TForm1::lvFilesSelectItem(TObject*, TListItem*, bool)
{
    try {
        const int index = lvFiles->ItemIndex();
        if (index < 0) return;
        TListItem* row = lvFiles->Items()->Item(index);
        const int code = StrToInt(JobColumn(row, jcCategoryCode));
        const String options = JobColumn(row, jcOptionCode);
        // The row's name does not drift through the category's first preset.
        KeepRowNameThrough([&] {
            bsSkinOfficeComboBox2->SetItemIndex(CategoryIndexOfCode(code));
            bsSkinOfficeComboBox1->SetItemIndex(code - (code / 100) * 100);
        });
        // The option code's digit pairs, in its order; a short code ends here.
        TbsSkinComboBox* const boxes[] = {bsSkinComboBox1, bsSkinComboBox2, bsSkinComboBox3,
                                          bsSkinComboBox4, bsSkinComboBox9, bsSkinComboBox10};
        for (int i = 0; i < 6; ++i) {
            if (options.size() < size_t(i * 2 + 2)) return;
            boxes[i]->SetItemIndex(StrToInt(options.substr(size_t(i * 2), 2)));
        }
        ResetSeekSlider();
        T_Movie_PLayer_FileName = row->Caption();
        Button31Click(this);
    } catch (const Exception&) {
        // A row that cannot be read back changes nothing more.
    }
}

void TForm1::lvFilesClick(TObject*)
{
    if (lvFiles->ItemIndex() < 0) StopPreview();
}

void TForm1::BindJobEvents()
{
    lvFiles->OnSelectItem = [this](TObject* Sender, TListItem* Item, bool Selected) {
        lvFilesSelectItem(Sender, Item, Selected);
    };
    lvFiles->OnClick = [this](TObject* Sender) { lvFilesClick(Sender); };
    lvFiles->OnDblClick = [this](TObject* Sender) { lvFilesDblClick(Sender); };
    edt->OnExit = [this](TObject* Sender) { edtExit(Sender); };
    bsSkinButton7->OnClick = [this](TObject* Sender) { btnRemoveClick(Sender); };
    N13->OnClick = [this](TObject* Sender) { btnRemoveClick(Sender); };
    bsSkinButton8->OnClick = [this](TObject* Sender) { btnClearClick(Sender); };
    N14->OnClick = [this](TObject* Sender) { btnClearClick(Sender); };
    bsSkinButton3->OnClick = [this](TObject* Sender) { bsSkinButton3Click(Sender); };
    N111->OnClick = [this](TObject* Sender) { bsSkinButton3Click(Sender); };
    bsSkinButton4->OnClick = [this](TObject* Sender) { bsSkinButton4Click(Sender); };
    N2221->OnClick = [this](TObject* Sender) { bsSkinButton4Click(Sender); };
    bsSkinButton21->OnClick = [this](TObject* Sender) { bsSkinButton21Click(Sender); };
    N26->OnClick = [this](TObject* Sender) { N26Click(Sender); };
}
