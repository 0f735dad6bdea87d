// The jobs' output names: one rule for every change of a row's output name (adding a
// file, a preset change, the preset dialog's OK, a row's selection, a rename) and the
// batch start's last check of every row.
//
// A name is taken when another row holds it, or, unless overwriting is chosen, when a
// file of that name exists in the output folder.  A taken name is numbered: stem + "_" +
// N + extension with the first N from 1 whose name is not taken.  A chain of handlers
// that passes through other presets (a row's selection restores its category, whose
// first preset comes before the row's own; the preset dialog) changes the name once, from
// the name before the chain to the extension after it, so that it never drifts.
//
// A job's own earlier output: the file a task of this window wrote for a row, noted when
// the task finished, is not the user's file.  As long as it is the very file written
// (same file, size and time of change) and the row still converts the same input into
// that name, a restarted batch writes it again rather than numbering a new file on each
// run.  Any other file, and that file once changed by someone else, is the user's and is
// never replaced while overwriting is off.
#include "app/presets/PresetOutput.h"
#include "app/forms/Unit1.h"

#include "platform/system/SysUtils.h"
#include "skin/boxes/bsSkinBoxCtrls.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/controls/bsSkinExCtrls.h"

#include <sys/stat.h>

namespace {

TForm1::TWrittenOutput StampOf(const String& APath, bool& AOk)
{
    struct stat st;
    AOk = stat(APath.c_str(), &st) == 0 && S_ISREG(st.st_mode);
    TForm1::TWrittenOutput w;
    if (AOk) {
        w.Device = uint64_t(st.st_dev);
        w.Inode = uint64_t(st.st_ino);
        w.Size = int64_t(st.st_size);
        w.ChangeTime = int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    }
    return w;
}

}  // namespace

String TForm1::OutputFolderText() const { return Video_OutPut_Folder_Edit->Text(); }

bool TForm1::IsOwnEarlierOutput(TListItem* ARow, const String& APath) const
{
    if (!ARow) return false;
    const auto it = FWrittenOutputs.find(APath);
    if (it == FWrittenOutputs.end() || it->second.Input != ARow->Caption()) return false;
    bool ok = false;
    const TWrittenOutput now = StampOf(APath, ok);
    const TWrittenOutput& was = it->second;
    return ok && now.Device == was.Device && now.Inode == was.Inode && now.Size == was.Size &&
           now.ChangeTime == was.ChangeTime;
}

void TForm1::NoteWrittenOutput(TListItem* ARow)
{
    if (!ARow) return;
    const String path = OutputFolderText() + "/" + JobColumn(ARow, jcOutputFile);
    bool ok = false;
    TWrittenOutput w = StampOf(path, ok);
    if (!ok) return;
    w.Input = ARow->Caption();
    FWrittenOutputs[path] = w;
}

bool TForm1::OutputNameTaken(const String& AName, TListItem* AOwnRow) const
{
    const int count = lvFiles->Items()->Count();
    for (int i = 0; i < count; ++i) {
        TListItem* row = lvFiles->Items()->Item(i);
        if (row != AOwnRow && JobColumn(row, jcOutputFile) == AName) return true;
    }
    if (OverwriteOutput()) return false;
    const String path = OutputFolderText() + "/" + AName;
    return OutputFileExists(path) && !IsOwnEarlierOutput(AOwnRow, path);
}

String TForm1::SettleOutputName(const String& AName, TListItem* AOwnRow) const
{
    if (!OutputNameTaken(AName, AOwnRow)) return AName;
    const String ext = OutputNameExt(AName);
    const String stem = AName.substr(0, AName.size() - ext.size());
    for (int64_t n = 1;; ++n) {
        const String candidate = stem + "_" + IntToStr(n) + ext;
        if (!OutputNameTaken(candidate, AOwnRow)) return candidate;
    }
}

String TForm1::SettleSelectedRowName(const String& AName) const
{
    return SettleOutputName(AName, lvFiles->Selected());
}

void TForm1::KeepRowNameThrough(const std::function<void()>& AChain)
{
    TListItem* row = lvFiles->Selected();
    const String before = JobColumn(row, jcOutputFile);
    AChain();
    if (!row || lvFiles->Selected() != row) return;
    const String ext = OutputNameExt(JobColumn(row, jcOutputFile));
    SetJobColumn(row, jcOutputFile,
                 ext == OutputNameExt(before) ? before : SettleOutputName(ChangeOutputExt(before, ext), row));
}

void TForm1::SettleRowOutputNames()
{
    const int count = lvFiles->Items()->Count();
    for (int i = 0; i < count; ++i) {
        TListItem* row = lvFiles->Items()->Item(i);
        const String name = JobColumn(row, jcOutputFile);
        // Only a name taken by an earlier row or on disk moves; later rows move for it.
        bool taken = false;
        for (int j = 0; j < i && !taken; ++j) taken = JobColumn(lvFiles->Items()->Item(j), jcOutputFile) == name;
        if (!taken && !OverwriteOutput()) {
            const String path = OutputFolderText() + "/" + name;
            taken = OutputFileExists(path) && !IsOwnEarlierOutput(row, path);
        }
        if (!taken) continue;
        // The new name is free of every row and, unless overwriting, of the disk.
        SetJobColumn(row, jcOutputFile, "");
        SetJobColumn(row, jcOutputFile, SettleOutputName(name, row));
    }
}
