// Adding files: one file, several files or every file of a folder.  Each file goes
// through one road: the engine probes it, a task is made for it, the selected preset's
// parameters (with the option boxes' choices) become its output options, its output file
// is set, and it becomes a job row holding a job slot.  Failures go to the log; the files
// an add refused are named, with their reasons, in one box when it ends.
#include "app/forms/FormBuild.h"
#include "app/presets/PresetOptionLists.h"
#include "app/presets/PresetOutput.h"
#include "app/forms/Unit1.h"

#include "engine/probe/AVProbe.h"
#include "engine/common/HostUtils.h"
#include "engine/tasks/TaskList.h"
#include "platform/forms/Menus.h"
#include "platform/shell/FileSearch.h"
#include "platform/system/SysUtils.h"
#include "skin/boxes/bsSkinBoxCtrls.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/controls/bsSkinExCtrls.h"
#include "skin/dialogs/bsSkinShellDialogs.h"

#include <algorithm>
#include <set>

namespace {

struct TFilterEntry {
    const char* Description;
    const char* Patterns;
};

// The open dialogs' filter entries; the patterns stand as the program has always offered
// them (upper-case masks match without regard to case).
constexpr TFilterEntry FilterEntries[] = {
    {"所有文件格式 (*.*)", "*.*"},
    {"支持的视频/音频文件格式",
     "*.AVI;*.ASF;*.asx;*.WMV;*.AVS;*.FLV;*.MKV;*.MOV;*.3GP;*.MP4;*.MPG;*.MPEG;*.DAT;*.OGM;*.VOB;*.RM;*.RMVB;*.TS;"
     "*.TP;*.IFO;*.NSV;*.MP3;*.AAC;*.WAV;*.WMA;*.CDA;*.SWF;"
     "*.FLAC;*.M4A;*.MID;*.MKA;*.MP2;*.MPA;*.MPC;*.APE;*.OFR;*.OGG;*.RA;*.WV;*.TTA;*.AC3;*.DTS;*.DV;*.m4v;*.3g2;"
     "*.mkv;*.dv;*.yuv;*.h261;*.h264;*.mjpeg;*.dif;*.m4v;*.3gpp;*.3gp2;*.qt"},
    {"支持的视频文件格式",
     "*.AVI;*.ASF;*.asx;*.WMV;*.AVS;*.FLV;*.MKV;*.MOV;*.3GP;*.MP4;*.MPG;*.MPEG;*.DAT;*.OGM;*.VOB;*.RM;*.RMVB;*.TS;"
     "*.TP;*.IFO;*.NSV;*.SWF;*.WV;*.TTA;*.AC3;*.DTS;*.DV;*.m4v;*.3g2;*.mkv;*.dv;*.yuv;*.h261;*.h264;*.mjpeg;*.dif;"
     "*.m4v;*.3gpp;*.3gp2;*.qt"},
    {"支持的音频文件格式",
     "*.MP3;*.AAC;*.WAV;*.WMA;*.CDA;*.FLAC;*.M4A;*.MID;*.MKA;*.MP2;*.MPA;*.MPC;*.APE;*.OFR;*.OGG;*.RA;*.WV;*.TTA;"
     "*.AC3"},
    {"AVI文件 (*.avi)", "*.avi"},
    {"Real视频文件格式 (*.rm;*.rmvb)", "*.rm;*.rmvb"},
    {"MP4视频格式 (*.mp4;*.m4v)", "*.mp4;*.m4v"},
    {"MPEG视频格式 (*.mpg;*.mpeg)", "*.mpg;*.mpeg"},
    {"DVD视频格式 (*.vob)", "*.vob"},
    {"VCD/SVCD视频格式 (*.dat;*.mpg)", "*.dat;*.mpg"},
    {"ASF微软视频格式 (*.asf)", "*.asf"},
    {"WMV微软视频格式 (*.wmv)", "*.wmv"},
    {"手机3GPP文件格式 (*.3gp;*.3gpp)", "*.3gp;*.3gpp"},
    {"手机3GPP2文件格式 (*.3g2;*.3gp2)", "*.3g2;*.3gp2"},
    {"Flash动画格式 (*.swf)", "*.swf"},
    {"Flash视频格式 (*.flv)", "*.flv"},
    {"MKV视频媒体格式 (*.mkv)", "*.mkv"},
    {"Quick Time视频文件格式 (*.mov;*.qt)", "*.mov;*.qt"},
    {"DV数字视频文件格式 (*.dv;*.dif)", "*.dv;*.dif"},
    {"Raw h261类型文件 (*.h261)", "*.h261"},
    {"Raw h264类型文件 (*.h264)", "*.h264"},
    {"YUV类型文件 (*.yuv)", "*.yuv"},
    {"GIF图片动画格式 (*.gif)", "*.gif"},
    {"MJPEG视频格式(*.mjpg;*.mjpeg)", "*.mjpg;*.mjpeg"},
    {"TS视频格式 (*.ts)", "*.ts"},
    {"WMV高清HD视频格式 (*.xwmv)", "*.xwmv"},
    {"微软数字视频格式( *.dvr-ms)", "*.dvr-ms"},
    {"iTunes视频格式 (*.m4v)", "*.m4v"},
    {"MP3音频格式 (*.mp3)", "*.mp3"},
    {"CD音频格式 (*.cda)", "*.cda"},
    {"WMA微软音频格式 (*.wma)", "*.wma"},
    {"WAVE音频格式 (*.wav)", "*.wav"},
    {"REAL音频格式 (*.ra;*.ram)", "*.ra;*.ram"},
    {"MP4音频格式 (*.m4a;*.mp4)", "*.m4a;*.mp4"},
    {"AAC高级音频格式 (*.aac)", "*.aac"},
    {"AC3音频格式 (*.ac3)", "*.ac3"},
    {"Monkey音频格式 (*.ape;*.cue)", "*.ape;*.cue"},
    {"Flac无损压缩音频格式\u3000(*.flac)", "*.flac"},
    {"MPEG音频编码格式(*.mpa)", "*.mpa"},
    {"MPEG 2音频编码格式(*.mp2)", "*.mp2"},
    {"OGG音频编码格式(*.ogg)", "*.ogg"},
    {"AIFF音频编码格式(*.aif; *.aiff)", "*.aif; *.aiff"},
};
static_assert(std::size(FilterEntries) == 42);

const char* const SlotLimitText = "任务数量已达上限（501个），请先清空列表。";
const char* const EmptyFolderText = "在该目录没有发现可以用的视频或音频文件！";

void AddLogLines(TForm1* AForm, std::initializer_list<String> ALines)
{
    for (const String& line : ALines) AForm->mmoLog->Lines()->Add(line);
}


}  // namespace

String TForm1::InputFileFilter()
{
    String filter;
    for (const TFilterEntry& e : FilterEntries) filter += String(e.Description) + "|" + e.Patterns + "|";
    return filter;
}

void TForm1::Button21Click(TObject*)
{
    OpenDialogFilter = InputFileFilter();
    for (TbsSkinOpenDialog* dialog : {OpenDialog1, OpenDialog2}) {
        dialog->SetFilter(OpenDialogFilter);
        dialog->SetFilterIndex(1);
    }
}

namespace {

// The open dialog's answer: its file, or its selected files; a name typed without files
// selected in the list gives none.
bool RunOpenDialog(TbsSkinOpenDialog* ADialog, bool AMultiple, std::vector<String>& AFiles)
{
    if (!ADialog->Execute() || !FileExists(ADialog->FileName())) return false;
    AFiles.clear();
    if (!AMultiple) {
        AFiles.push_back(ADialog->FileName());
        return true;
    }
    for (int i = 0; i < ADialog->Files()->Count(); ++i) AFiles.push_back(ADialog->Files()->Strings(i));
    return !AFiles.empty();
}

}  // namespace

std::unique_ptr<TStringList> TForm1::GetFilenames(const String& FilePath, const String& ExtMask)
{
    if (!DirectoryExists(FilePath)) return nullptr;
    String path = FilePath;
    if (path.empty() || path.back() != '/') path += "/";
    auto list = std::make_unique<TStringList>();
    TSearchRec rec;
    if (FindFirst(path + ExtMask, faAnyFile, rec) == 0) {
        do {
            if ((rec.Attr & faDirectory) == 0) list->Add(path + rec.Name);
        } while (FindNext(rec) == 0);
        FindClose(rec);
    }
    return list;
}

bool TForm1::EngineLoadLibraries(String& AError)
{
    if (FFEngine->AVLibLoaded() || FFEngine->LoadAVLib(GetExePath() + "LibAV")) return true;
    AError = FFEngine->LastErrMsg();
    return false;
}

int TForm1::EngineAddTask(const String& AFileName, TInputOptions& AOptions) { return FFEngine->AddTask(AFileName, &AOptions); }

bool TForm1::EngineSetOutputFile(int ATaskIndex, const String& AFileName, TOutputOptions& AOptions)
{
    return FFEngine->SetOutputFile(ATaskIndex, AFileName, &AOptions);
}

bool TForm1::PrepareAdd()
{
    Button6Click(this);
    String error;
    if (EngineLoadLibraries(error)) return true;
    mmoLog->Lines()->Add(error);
    return false;
}

TForm1::TAddResult TForm1::AddFileRoad(const String& F)
{
    // The slots hold 501 jobs; one more is refused before anything is made for it.
    if (FreeSlot() < 0) {
        AddLogLines(this, {"", String("***") + SlotLimitText, ""});
        InfoMessage(SlotLimitText);
        return arFailed;
    }
    TAVProbe* probe = FFEngine->AVProbe();
    bool loaded = false;
    try {
        loaded = probe->LoadFile(F, "");
    } catch (const Exception&) {
        loaded = false;  // the libraries went away: reported as the probe's failure
    }
    if (!loaded) {
        AddLogLines(this, {"", "***File load error: " + probe->LastErrMsg(), ""});
        RefusedFiles.emplace_back(F, probe->LastErrMsg());
        return arSkipped;
    }
    Video.Video_AddFileName = F;

    TInputOptions input;
    InitInputOptions(input);
    const int task = EngineAddTask(F, input);
    if (task < 0) {
        AddLogLines(this, {"", "***File open error: " + FFEngine->LastErrMsg(), ""});
        RefusedFiles.emplace_back(F, FFEngine->LastErrMsg());
        return arFailed;
    }
    if (input.FileName.empty()) input.FileName = F;
    String report;
    if (task < FFEngine->TasksCount())
        if (TAVProbe* taskProbe = FFEngine->GetAVProbes(task, 0)) report = taskProbe->FileInfoText();
    AddLogLines(this, {"", report});
    T_Movie_PLayer_FileName = F;

    // The preset's parameters and the option boxes' choices.  The parameter routine runs
    // without writing into the selected row: adding a file leaves the other jobs as they are.
    TOutputOptions output;
    InitOutputOptions(output);
    const int code = PresetRoutines().CurrentCode();
    const String folder = Video_OutPut_Folder_Edit->Text();
    ApplyPresetCode(code, Video, folder, OverwriteOutput());
    // Two jobs never write one file: a name another row holds is numbered on, as is
    // one on disk.
    if (!Video.Video_OutPutFileName.empty()) {
        const String name = ChangeOutputExt(F, OutputNameExt(OutputNamePart(Video.Video_OutPutFileName)));
        Video.Video_OutPutFileName = folder + "/" + SettleOutputName(name, nullptr);
    }
    Button13Click(this);
    PresetFieldsToOutputOptions(Video, output);

    if (!EngineSetOutputFile(task, Video.Video_OutPutFileName, output)) {
        const String error = FFEngine->LastErrMsg();
        EngineRemoveTask(task);
        AddLogLines(this, {"", "***Cannot do convert, error: " + error, ""});
        RefusedFiles.emplace_back(F, error);
        return arFailed;
    }
    if (output.FileName.empty()) output.FileName = Video.Video_OutPutFileName;
    bsSkinPanel5->SetVisible(false);

    const int64_t duration = probe->FileStreamInfo().Duration;
    const std::vector<String> columns = {
        input.FileName,
        duration > 0 ? SecToDate(duration / 1000000) : String("N/A"),
        SizeText(probe->FileSize()),
        OutputNamePart(output.FileName),
        "", "", "", "",
        IntToStr(task + 1),
        IntToStr(code),
        BuildOptionCode(PresetRoutines().Bindings().Options),
        output.VideoCodec,
        output.AudioCodec,
        IntToStr(output.AudioChannels),
        output.VideoTag,
        output.FileExt,
        output.FrameSize,
        IntToStr(output.VideoBitrate),
        output.FrameRate,
        IntToStr(output.AudioBitrate),
        IntToStr(output.AudioSampleRate),
        output.FrameAspectRatio,
        // The job's kind, target and norm go with the row, so the batch rebuilds it as
        // added even when no row was selected while the parameters were set.
        Video.Video_DisableVideo ? "True" : "False",
        Video.Video_TargetType,
        Video.Video_NormType,
    };
    AddJobRow(columns);
    SetBatchState(bsReady);

    TakeSlot(input, output);
    AddLogLines(this, {"", "***Can do convert.", ""});
    return arAdded;
}

void TForm1::SelectLastRow()
{
    const int count = lvFiles->Items()->Count();
    if (count == 0) return;
    lvFiles->SetItemIndex(count - 1);
    FocusIfAble(lvFiles);
}

bool TForm1::AddFilesBackwards(const std::vector<String>& AFiles)
{
    for (auto it = AFiles.rbegin(); it != AFiles.rend(); ++it) {
        if (!FileExists(*it)) return false;
        if (AddFileRoad(*it) == arFailed) return false;
    }
    return true;
}

String TForm1::RefusedFilesText() const
{
    constexpr size_t Shown = 5;
    String text = "以下文件未能添加：";
    for (size_t i = 0; i < RefusedFiles.size() && i < Shown; ++i) {
        // The engine's message names the file first; the box names it once.
        const String& file = RefusedFiles[i].first;
        String reason = RefusedFiles[i].second;
        if (reason.rfind(file + ": ", 0) == 0) reason.erase(0, file.size() + 2);
        text += "\n" + ExtractFileName(file) + "：" + (reason.empty() ? String("无法读取") : reason);
    }
    if (RefusedFiles.size() > Shown) text += "\n……另有 " + IntToStr(int64_t(RefusedFiles.size() - Shown)) + " 个文件";
    return text;
}

namespace {

// Gathers the files one add refuses and, when it ends, tells of them in one box
// (after APrefix, a message the add gives anyway).
class TRefusedReport {
public:
    explicit TRefusedReport(TForm1* AForm) : FForm(AForm) { FForm->RefusedFiles.clear(); }
    ~TRefusedReport()
    {
        if (!FForm->RefusedFiles.empty())
            FForm->InfoMessage(Prefix.empty() ? FForm->RefusedFilesText() : Prefix + "\n\n" + FForm->RefusedFilesText());
        else if (!Prefix.empty())
            FForm->InfoMessage(Prefix);
        FForm->RefusedFiles.clear();
    }
    String Prefix;

private:
    TForm1* FForm;
};

}  // namespace

void TForm1::btnAddClick(TObject*)
{
    if (!PrepareAdd()) return;
    std::vector<String> files;
    const bool chosen = SelectInputFiles ? SelectInputFiles(false, files) : RunOpenDialog(OpenDialog1, false, files);
    if (!chosen || files.empty() || !FileExists(files.front())) return;
    TRefusedReport report(this);
    if (AddFileRoad(files.front()) == arAdded) SelectLastRow();
}

void TForm1::Button8Click(TObject*)
{
    if (!PrepareAdd()) return;
    std::vector<String> files;
    const bool chosen = SelectInputFiles ? SelectInputFiles(true, files) : RunOpenDialog(OpenDialog2, true, files);
    if (!chosen || files.empty() || !FileExists(files.front())) return;
    TRefusedReport report(this);
    if (AddFilesBackwards(files)) SelectLastRow();
}

void TForm1::Button12Click(TObject*)
{
    const int before = lvFiles->Items()->Count();
    if (!PrepareAdd()) return;
    // Only an accepted folder is added: Cancel adds nothing.
    String folder;
    const bool accepted = SelectAddFolder ? SelectAddFolder(folder) : [&] {
        if (!bsSkinSelectDirectoryDialog1->Execute()) return false;
        folder = bsSkinSelectDirectoryDialog1->Directory();
        return true;
    }();
    if (!accepted || folder.empty() || !DirectoryExists(folder)) return;
    ListBox1->Items()->Clear();
    if (std::unique_ptr<TStringList> listed = GetFilenames(folder, "*.*")) ListBox1->Items()->Assign(listed.get());
    std::vector<String> files;
    for (int i = 0; i < ListBox1->Items()->Count(); ++i) files.push_back(ListBox1->Items()->Strings(i));
    TRefusedReport report(this);
    if (!AddFilesBackwards(files)) return;
    SelectLastRow();
    if (lvFiles->Items()->Count() <= before) report.Prefix = EmptyFolderText;
}

void TForm1::BindAddEvents()
{
    OpenDialog1 = new TbsSkinOpenDialog(this);
    OpenDialog1->SetName("OpenDialog1");
    OpenDialog2 = new TbsSkinOpenDialog(this);
    OpenDialog2->SetName("OpenDialog2");
    OpenDialog2->SetMultiSelection(true);
    for (TbsSkinOpenDialog* dialog : {OpenDialog1, OpenDialog2}) {
        dialog->SetTitle("打开文件");
        dialog->SetCheckFileExists(true);
        dialog->SetToolButtonsTransparent(true);
        dialog->SetOverwritePromt(false);
        dialog->SetShowHiddenFiles(false);
        dialog->SetDialogWidth(0);
        dialog->SetDialogHeight(0);
        dialog->SetDialogMinWidth(0);
        dialog->SetDialogMinHeight(0);
        dialog->SetAlphaBlend(false);
        dialog->SetAlphaBlendAnimation(false);
        dialog->SetCtrlAlphaBlend(false);
        dialog->SetCtrlAlphaBlendAnimation(false);
        dialog->SetAlphaBlendValue(225);
        dialog->SetCtrlAlphaBlendValue(225);
        dialog->SetLVHeaderSkinDataName("resizebutton");
        dialog->DefaultFont()->SetName("Arial");
        dialog->DefaultFont()->SetHeight(14);
        dialog->SetFilterIndex(1);
        dialog->SetSkinData(bsSkinData1);
        dialog->SetCtrlSkinData(bsSkinData1);
    }
    for (TMenuItem* item : {Item111, N11111}) item->OnClick = [this](TObject* Sender) { btnAddClick(Sender); };
    for (TMenuItem* item : {Item121, N2222}) item->OnClick = [this](TObject* Sender) { Button8Click(Sender); };
    for (TMenuItem* item : {N21, N3331}) item->OnClick = [this](TObject* Sender) { Button12Click(Sender); };
}
