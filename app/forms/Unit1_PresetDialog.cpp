// The main window's "设置...": the preset dialog opened on the window's choice.
#include "app/forms/Unit1.h"
#include "app/forms/Unit7.h"

#include "skin/controls/bsSkinCtrls.h"

void TForm1::BindPresetDialogEvents()
{
    bsSkinButton24->OnClick = [this](TObject* Sender) { bsSkinButton24Click(Sender); };
}

void TForm1::bsSkinButton24Click(TObject*)
{
    if (!Form7) return;
    const TPresetBindings& presets = PresetRoutines().Bindings();
    // Taken before the first copy: the copies already run the dialog's handlers, which
    // rewrite the selected row and the Video_* fields.  Anything but OK puts them back.
    const TPresetDialogSnapshot snapshot(*presets.Fields, *presets.JobList);
    try {
        // The copies pass through the categories' first presets: the row's name changes
        // once, by the output-name rule, from its name before the dialog.
        KeepRowNameThrough(
            [this] { PresetRoutines().bsSkinButton24Click(Form7->PresetRoutines(), [] { Form7->ShowModal(); }); });
    } catch (...) {
        snapshot.Restore(*presets.Fields, *presets.JobList);
        throw;
    }
    if (!Form7->Accepted()) snapshot.Restore(*presets.Fields, *presets.JobList);
}
