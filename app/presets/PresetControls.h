// What the preset routines need of the controls they fill and read: the category and
// preset boxes (skinned office combo boxes), the six option boxes (skinned fixed
// drop-down lists) and the job list.  A form binds its real controls through small
// adapters, so the tables and routines never depend on the control classes.
#pragma once

#include "platform/system/Types.h"

// A category or preset box.  Writing the item index raises the box's change event on
// every write, also when the index does not change; the handler runs to its end inside
// the write.  Clearing the entries leaves the stored index as it was.
class TPresetChoiceBox {
public:
    virtual ~TPresetChoiceBox() = default;
    virtual int ItemIndex() const = 0;
    virtual void SetItemIndex(int AIndex) = 0;
    virtual int ItemCount() const = 0;
    virtual String ItemCaption(int AIndex) const = 0;
    virtual void ClearItems() = 0;
    // Appends an entry with this caption and picture index (-1: no picture).
    virtual void AddItem(const String& ACaption, int AImageIndex) = 0;
    // Redraws the box at once.
    virtual void Refresh() = 0;
};

// An option box: a fixed drop-down list.  Writing the item index shows that item's text
// and raises the change event only when the shown text changes; clearing the items
// leaves no item selected but keeps the shown text and raises nothing.
class TPresetOptionBox {
public:
    virtual ~TPresetOptionBox() = default;
    virtual int ItemIndex() const = 0;
    virtual void SetItemIndex(int AIndex) = 0;
    virtual String Text() const = 0;
    virtual void ClearItems() = 0;
    virtual void AddItem(const String& AText) = 0;
    virtual void SetEnabled(bool AEnabled) = 0;
};

// The job list as the preset routines see it: the selected row's columns and the focus.
// Column 0 is the row's caption, column n (1 to 24) its sub item n - 1.
class TPresetJobList {
public:
    virtual ~TPresetJobList() = default;
    virtual bool HasSelection() const = 0;
    virtual String Column(int AColumn) const = 0;
    virtual void SetColumn(int AColumn, const String& AText) = 0;
    virtual void SetFocus() = 0;
};

// Columns of a job row that the preset routines read or write.
enum TJobColumn : int {
    jcOutputFile = 3,
    jcCategoryCode = 9,
    jcOptionCode = 10,
    jcVideoCodec = 11,
    jcAudioCodec = 12,
    jcAudioChannels = 13,
    jcVideoTag = 14,
    jcFileExt = 15,
    jcFrameSize = 16,
    jcVideoBitrate = 17,
    jcFrameRate = 18,
    jcAudioBitrate = 19,
    jcAudioSampleRate = 20,
    jcAspect = 21,
    jcDisableVideo = 22,
    jcTargetType = 23,
    jcNormType = 24,
};
