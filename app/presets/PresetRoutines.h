// The preset routines of a window, over its category, preset and option boxes and the
// main window's preset parameter fields and job list.  The main window and the preset
// dialog each own one; both share the main window's fields and job list.  The window
// binds its boxes' change events to the handlers of the same names and runs the
// ButtonNClick routines where it clicks its hidden buttons.
#pragma once

#include "app/presets/PresetCatalogue.h"
#include "app/presets/PresetControls.h"
#include "app/presets/PresetOptionLists.h"
#include "app/presets/PresetOutput.h"
#include "app/presets/PresetParams.h"

#include <functional>

struct TPresetBindings {
    TPresetChoiceBox* CategoryBox = nullptr;  // bsSkinOfficeComboBox2
    TPresetChoiceBox* PresetBox = nullptr;    // bsSkinOfficeComboBox1
    TPresetOptionBoxes Options{};
    TPresetFields* Fields = nullptr;          // the main window's
    TPresetJobList* JobList = nullptr;        // the main window's
    std::function<String()> OutputFolderText;  // the output folder box's text
    std::function<bool()> OverwriteOutput;     // "直接覆盖输出文件" is chosen
    // The output-name rule for a new name of the selected row; none: taken as it is.
    std::function<String(const String& AName)> SettleOutputName;
};

class TPresetRoutines {
public:
    explicit TPresetRoutines(TPresetBindings ABindings);

    // The category code of the boxes' selection; -1 when either index is out of range.
    int CurrentCode() const;

    void Button2Click();   // "添加combox": the catalogue of the selected category
    void Button5Click();   // "根据combox添加数据": parameters, output path, selected row
    void Button6Click();   // "初始化数据": reset of the fields
    void Button13Click();  // "确认预置选项数据": the option boxes' texts over the parameters
    void Button18Click();  // "根据combox添加预设选项": the option lists of the preset

    void bsSkinOfficeComboBox2Change();  // category change
    void bsSkinOfficeComboBox1Change();  // preset change
    void bsSkinComboBox1Change();   // resolution
    void bsSkinComboBox2Change();   // video bitrate
    void bsSkinComboBox3Change();   // audio bitrate
    void bsSkinComboBox4Change();   // aspect
    void bsSkinComboBox9Change();   // frame rate
    void bsSkinComboBox10Change();  // sample rate

    // Writes this window's category, preset and option indices into ATarget's boxes, in the
    // order category, preset, resolution, video bitrate, frame rate, aspect, audio
    // bitrate, sample rate; each write runs ATarget's handlers.  The preset dialog's OK
    // copies back into the main window with it.
    void CopyChoiceTo(const TPresetRoutines& ATarget) const;

    // "设置...": copies this window's choice into ADialog's boxes (category, preset, then
    // resolution, video bitrate, frame rate, aspect, audio bitrate, sample rate), each
    // write running the dialog's handlers, then shows the dialog.
    void bsSkinButton24Click(TPresetRoutines& ADialog, const std::function<void()>& AShowModal);

    const TPresetBindings& Bindings() const { return F; }

private:
    void OptionChange(TPresetOption AOption);
    // The option overrides; with ARow, each value is written into its column (16 to 21).
    void ApplyOptionTexts(TPresetJobList* ARow);

    TPresetBindings F;
};
