// Stand-ins for the controls the preset routines drive, with the change-event rules of
// the real ones, and a window that wires them to a TPresetRoutines as the main window does.
#pragma once

#include "app/presets/PresetRoutines.h"
#include "platform/system/SysUtils.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace presettest {

// An office combo box: every index write raises the change event.
class TChoiceBox : public TPresetChoiceBox {
public:
    struct TItem {
        String Caption;
        int ImageIndex;
    };
    std::vector<TItem> Items;
    int Index = -1;
    int Refreshes = 0;
    int Changes = 0;
    std::function<void()> OnChange;

    int ItemIndex() const override { return Index; }
    void SetItemIndex(int AIndex) override
    {
        if (AIndex >= int(Items.size())) throw EListError("List index out of bounds (%d)", AIndex);
        Index = AIndex;
        ++Changes;
        if (OnChange) OnChange();
    }
    int ItemCount() const override { return int(Items.size()); }
    String ItemCaption(int AIndex) const override { return Items.at(size_t(AIndex)).Caption; }
    void ClearItems() override { Items.clear(); }
    void AddItem(const String& ACaption, int AImageIndex) override { Items.push_back({ACaption, AImageIndex}); }
    void Refresh() override { ++Refreshes; }
};

// A fixed drop-down list: the change event only when the shown text changes.
class TOptionBox : public TPresetOptionBox {
public:
    std::vector<String> Items;
    int Index = -1;
    String Shown;
    bool Enabled = true;
    int Changes = 0;
    std::function<void()> OnChange;

    int ItemIndex() const override { return Index; }
    void SetItemIndex(int AIndex) override
    {
        Index = AIndex >= 0 && AIndex < int(Items.size()) ? AIndex : -1;
        if (Index < 0 || Items[size_t(Index)] == Shown) return;
        Shown = Items[size_t(Index)];
        ++Changes;
        if (OnChange) OnChange();
    }
    String Text() const override { return Shown; }
    void ClearItems() override
    {
        Items.clear();
        Index = -1;
    }
    void AddItem(const String& AText) override { Items.push_back(AText); }
    void SetEnabled(bool AEnabled) override { Enabled = AEnabled; }
};

// Rows of 25 columns (caption and 24 sub items) and one selection.
class TJobList : public TPresetJobList {
public:
    std::vector<std::vector<String>> Rows;
    int Selected = -1;
    int Focused = 0;

    int AddRow(const String& AOutputFile, int ACode, const String& AOptionCode)
    {
        std::vector<String> row(25);
        row[jcOutputFile] = AOutputFile;
        row[jcCategoryCode] = IntToStr(ACode);
        row[jcOptionCode] = AOptionCode;
        Rows.push_back(row);
        return int(Rows.size()) - 1;
    }
    std::vector<String>& Row() { return Rows.at(size_t(Selected)); }
    bool HasSelection() const override { return Selected >= 0; }
    String Column(int AColumn) const override { return Rows.at(size_t(Selected)).at(size_t(AColumn)); }
    void SetColumn(int AColumn, const String& AText) override { Rows.at(size_t(Selected)).at(size_t(AColumn)) = AText; }
    void SetFocus() override { ++Focused; }
};

// One window's boxes wired to its routines; the fields and the job list may be another
// window's (the preset dialog acts on the main window's).
struct TWindow {
    TChoiceBox Category, Preset;
    TOptionBox Resolution, VideoBitrate, AudioBitrate, Aspect, FrameRate, SampleRate;
    std::unique_ptr<TPresetRoutines> Routines;
    std::vector<String> Log;  // handlers run, in order

    TWindow(TPresetFields& AFields, TJobList& AJobs, String* AFolder, bool* AOverwrite)
    {
        for (int i = 0; i < PresetCategoryCount; ++i) Category.Items.push_back({PresetCategory(i)->Caption, i});
        Category.Index = 0;
        Preset.Items.push_back({"placeholder", 0});
        TPresetBindings b;
        b.CategoryBox = &Category;
        b.PresetBox = &Preset;
        b.Options = {&Resolution, &VideoBitrate, &AudioBitrate, &Aspect, &FrameRate, &SampleRate};
        b.Fields = &AFields;
        b.JobList = &AJobs;
        b.OutputFolderText = [AFolder] { return *AFolder; };
        b.OverwriteOutput = [AOverwrite] { return *AOverwrite; };
        Routines = std::make_unique<TPresetRoutines>(b);
        auto bind = [this](std::function<void()>& AEvent, const char* AName, void (TPresetRoutines::*AHandler)()) {
            AEvent = [this, AName, AHandler] {
                Log.push_back(AName);
                (Routines.get()->*AHandler)();
            };
        };
        bind(Category.OnChange, "category", &TPresetRoutines::bsSkinOfficeComboBox2Change);
        bind(Preset.OnChange, "preset", &TPresetRoutines::bsSkinOfficeComboBox1Change);
        bind(Resolution.OnChange, "resolution", &TPresetRoutines::bsSkinComboBox1Change);
        bind(VideoBitrate.OnChange, "video bitrate", &TPresetRoutines::bsSkinComboBox2Change);
        bind(AudioBitrate.OnChange, "audio bitrate", &TPresetRoutines::bsSkinComboBox3Change);
        bind(Aspect.OnChange, "aspect", &TPresetRoutines::bsSkinComboBox4Change);
        bind(FrameRate.OnChange, "frame rate", &TPresetRoutines::bsSkinComboBox9Change);
        bind(SampleRate.OnChange, "sample rate", &TPresetRoutines::bsSkinComboBox10Change);
    }

    // The six boxes' shown texts in fill order.
    std::vector<String> Texts() const
    {
        return {Resolution.Shown, VideoBitrate.Shown, FrameRate.Shown, AudioBitrate.Shown, SampleRate.Shown, Aspect.Shown};
    }
    String OptionCode() const { return BuildOptionCode(Routines->Bindings().Options); }
};

// The main window with its fields, job list, output folder and overwrite choice.
struct TMainWindow {
    TPresetFields Fields;
    TJobList Jobs;
    String Folder = "/out";
    bool Overwrite = false;
    TWindow Window{Fields, Jobs, &Folder, &Overwrite};

    // Start-up: the catalogue runs once for category 0.
    void Start() { Window.Routines->Button2Click(); }
};

}  // namespace presettest
