// The main window "澄枫DAT格式转换器": the job list, the output format and folder, the
// preview panel, the batch buttons, the engine components and the 501 job slots.
//
// The window is built in code (Unit1.cpp).  Its handlers are spread over one source file
// per concern, each named in the section of this header that declares its methods:
//   Unit1.cpp              start-up, closing, the shared fields' routines
//   Unit1_Jobs.cpp         the job list: remove, clear, move, rename, select
//   Unit1_Folder.cpp       the output folder and the settings file's "OutPath"
//   Unit1_Presets.cpp      the preset boxes bound to the shared preset routines
//   Unit1_Add.cpp          adding files
//   Unit1_Batch.cpp        running a batch: start, stop, pause, progress, terminate, log
//   Unit1_OutputNames.cpp  the rule every change of a job's output name follows
//   Unit1_Preview.cpp      the preview player panel and snapshots
//   Unit1_Menus.cpp        skin choice, menu commands, about box
//   Unit1_PresetDialog.cpp the preset dialog ("设置...")
//
// The routines the window reuses are methods named after the hidden buttons that ran
// them (Button15Click "初始化数值", Button17Click "读ini文件", ...).  Each concern binds
// its controls' and components' events in its own BindXxxEvents, which the constructor
// runs once every control exists.
#pragma once

#include "app/presets/PresetParams.h"
#include "app/presets/PresetRoutines.h"
#include "engine/transcode/TaskOptions.h"
#include "platform/forms/ComCtrls.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"

#include <array>
#include <map>
#include <functional>
#include <memory>
#include <vector>

class TbsSkinData;
class TbsCompressedSkinList;
class TbsResourceStrData;
class TbsSkinFormFrame;
class TbsSkinMainMenu;
class TbsSkinMainMenuBar;
class TbsSkinPopupMenu;
class TbsSkinToolBar;
class TbsSkinMenuSpeedButton;
class TbsSkinButton;
class TbsSkinPanel;
class TbsSkinGroupBox;
class TbsSkinListView;
class TbsSkinScrollBar;
class TbsSkinOfficeComboBox;
class TbsSkinComboBox;
class TbsSkinEdit;
class TbsSkinStdLabel;
class TbsSkinSlider;
class TbsSkinMessage;
class TbsPngImageList;
class TbsSkinSelectDirectoryDialog;
class TbsSelectSkinDialog;
class TTaskList;
class TbsSkinOpenDialog;
class TbsSkinSavePictureDialog;
struct TProgressInfo;
struct TTerminateInfo;
enum TLogLevel : uint8_t;
class TStringList;
class TFFLogger;
class TFFPlayer;
enum TPlayState : int32_t;
class TMenuItem;
class TImageList;

// Job slots: 0 to 500.
constexpr int JobSlotCount = 501;
// Columns of a job row (column 0 is the caption).
constexpr int JobColumnCount = 25;
constexpr int jcInputFile = 0, jcDuration = 1, jcFileSize = 2, jcProgress = 4, jcFPS = 5, jcPosition = 6,
              jcOutputSize = 7, jcTaskNumber = 8;

// Slot markers.
inline constexpr const char* SlotFree = "kong";
inline constexpr const char* SlotFull = "Full";
inline constexpr const char* SlotDeleted = "DELETED";

class TForm1 : public TForm {
public:
    explicit TForm1(TComponent* AOwner);
    ~TForm1() override;

    // ---- skin --------------------------------------------------------------------------
    TbsSkinFormFrame* bsSkinFormFrame1;
    TbsSkinData* bsSkinData1;
    TbsCompressedSkinList* bsCompressedSkinList1;
    TbsResourceStrData* bsResourceStrData1;
    TbsSkinMessage* bsSkinMessage1;
    TbsSkinSelectDirectoryDialog* bsSkinSelectDirectoryDialog1;  // "选择目录": folder add
    TbsSkinSelectDirectoryDialog* bsSkinSelectDirectoryDialog2;  // "选择输出目录"

    // ---- menus -------------------------------------------------------------------------
    TbsSkinMainMenu* bsSkinMainMenu1;
    TbsSkinMainMenuBar* bsSkinMainMenuBar1;
    TMenuItem* N1;       // "文件"
    TMenuItem* Item111;  // "添加一个文件"
    TMenuItem* Item121;  // "添加多个文件"
    TMenuItem* N21;      // "添加整个目录"
    TMenuItem* N3;       // "退出"
    TMenuItem* N4;       // "编辑"
    TMenuItem* N111;     // "上移文件"
    TMenuItem* N2221;    // "下移文件"
    TMenuItem* N13;      // "删除选择"
    TMenuItem* N14;      // "清空文件"
    TMenuItem* N26;      // "重新命名"
    TMenuItem* N5;       // "动作"
    TMenuItem* N6;       // "开始转换"
    TMenuItem* N7;       // "停止转换"
    TMenuItem* N8;       // "暂停转换"
    TMenuItem* N9;       // "继续继续"
    TMenuItem* N10;      // "转换选项"
    TMenuItem* N11;      // "帮助"
    TMenuItem* N12;      // "帮助系统" (F1)
    TMenuItem* N15;      // "官方网站"
    TMenuItem* N16;      // "联系邮箱"
    TMenuItem* N17;      // "关于软件"
    TbsSkinPopupMenu* bsSkinPopupMenu1;  // the add button's menu
    TMenuItem* N11111;   // "添加一个文件"
    TMenuItem* N2222;    // "添加多个文件"
    TMenuItem* N3331;    // "添加整个目录"
    TbsSkinPopupMenu* bsSkinPopupMenu2;  // snapshot settings
    TMenuItem* MenuItem1;  // "打开快照目录"
    TMenuItem* MenuItem2;  // "设置快照目录"
    TMenuItem* MenuItem3;  // "-"
    TMenuItem* N27;        // "快照保存类型"
    TMenuItem* BMP1;
    TMenuItem* JPG1;
    TMenuItem* GIF1;
    TMenuItem* PNG1;

    // ---- picture lists -----------------------------------------------------------------
    TbsPngImageList* bsPngImageList1;  // tool bar, 48 x 48
    TbsPngImageList* bsPngImageList2;  // preview buttons, 24 x 24
    TbsPngImageList* bsPngImageList3;  // preset emblems, 32 x 32
    TbsPngImageList* bsPngImageList5;  // output categories, 36 x 36

    // ---- tool bar ----------------------------------------------------------------------
    TbsSkinToolBar* bsSkinToolBar2;
    TbsSkinMenuSpeedButton* bsSkinMenuSpeedButton1;  // "添加"
    TbsSkinButton* bsSkinButton7;   // "删除"
    TbsSkinButton* bsSkinButton8;   // "清空"
    TbsSkinButton* bsSkinButton19;  // "选项"

    // ---- job list ----------------------------------------------------------------------
    TbsSkinPanel* bsSkinPanel1;
    TbsSkinListView* lvFiles;
    TbsSkinScrollBar* bsSkinScrollBar1;  // the list's vertical scroll bar
    TbsSkinButton* bsSkinButton3;   // "上移"
    TbsSkinButton* bsSkinButton4;   // "下移"
    TbsSkinButton* bsSkinButton21;  // "重命名"
    TbsSkinPanel* bsSkinPanel5;     // the empty list's picture
    TImage* Image1;                 // its picture
    TEdit* edt;                     // the rename edit, shown over the output-name cell

    // ---- output format and folder ------------------------------------------------------
    TbsSkinPanel* bsSkinPanel2;
    TbsSkinStdLabel* bsSkinStdLabel1;  // "输出格式："
    TbsSkinStdLabel* bsSkinStdLabel2;  // "输出目录："
    TbsSkinOfficeComboBox* bsSkinOfficeComboBox2;  // category
    TbsSkinOfficeComboBox* bsSkinOfficeComboBox1;  // preset
    TbsSkinButton* bsSkinButton24;  // "设置..."
    TbsSkinEdit* Video_OutPut_Folder_Edit;
    TbsSkinButton* bsSkinButton5;   // "浏览..."
    TbsSkinButton* bsSkinButton6;   // "打开"

    // ---- preview -----------------------------------------------------------------------
    TbsSkinGroupBox* bsSkinPanel3;  // "视频预览"
    TPanel* Panel6;                 // the screen
    TImage* Image18;                // the still picture under the video
    TbsSkinSlider* bsSkinSlider1;   // seek
    TbsSkinButton* bsSkinButton13;  // "播放"
    TbsSkinButton* bsSkinButton14;  // "暂停"
    TbsSkinButton* bsSkinButton15;  // "停止"
    TbsSkinButton* bsSkinButton16;  // "静音"
    TbsSkinButton* bsSkinButton20;  // "静音" (unmute)
    TbsSkinButton* bsSkinButton22;  // "快照"
    TbsSkinButton* bsSkinButton23;  // "设置"

    // ---- batch -------------------------------------------------------------------------
    TbsSkinButton* bsSkinButton2;   // "开始"
    TbsSkinButton* bsSkinButton10;  // "停止"
    TbsSkinButton* bsSkinButton11;  // "暂停"
    TbsSkinButton* bsSkinButton12;  // "继续"

    // ---- off-screen controls -----------------------------------------------------------
    TPanel* Panel1;  // log level, priority, thread mode, scratch list, glyph pictures
    TRadioGroup* grpLogLevel;
    TRadioGroup* grpPriority;
    TCheckBox* chkThreadMode;
    TCheckBox* chkPreview;
    TEdit* edtThreadCount;
    TListBox* ListBox1;        // scratch file list of the folder add
    TProgressBar* ProgressBar1;
    // The skinned buttons' glyphs: odd enabled, even disabled (rename: 16 and 17).
    std::array<TImage*, 16> GlyphImages{};  // Image2 .. Image17
    TImage* Image(int ANumber) const { return GlyphImages.at(size_t(ANumber - 2)); }
    TPanel* Panel5;  // the log and the player's steering controls
    TMemo* mmoLog;
    TComboBox* cboScreens;
    TComboBox* cboVideoDriver;
    TComboBox* cboAudioDriver;
    TCheckBox* chkOpenPaused;
    TCheckBox* chkStayOnTop;
    TTrackBar* TrackBar2;  // volume
    TPanel* Panel3;
    TPanel* Panel4;
    TbsSkinButton* bsSkinButton9;   // "皮肤"
    TbsSkinGroupBox* bsSkinPanel4;  // "预置选项": the six option boxes
    TbsSkinComboBox* bsSkinComboBox1;   // resolution
    TbsSkinComboBox* bsSkinComboBox2;   // video bitrate
    TbsSkinComboBox* bsSkinComboBox3;   // audio bitrate
    TbsSkinComboBox* bsSkinComboBox4;   // aspect
    TbsSkinComboBox* bsSkinComboBox9;   // frame rate
    TbsSkinComboBox* bsSkinComboBox10;  // sample rate
    TbsSkinPanel* bsSkinPanel6;

    // ---- engine ------------------------------------------------------------------------
    TTaskList* FFEngine;
    TFFLogger* FFLogger;   // the process's logger (not owned when another made it first)
    TFFPlayer* FFPlayer;   // the preview player

    // ---- shared fields -----------------------------------------------------------------
    String FileOutPutPath;
    TPresetFields Video;              // the Video_* preset parameter fields
    String T_Movie_PLayer_FileName;
    int64_t FDuration = 0;
    bool FTrackChanging = false;
    TWinControl* FScreenControl = nullptr;
    String bsSkinSlider1_down_UP;

    // ---- start-up and closing (Unit1.cpp) ----------------------------------------------
    void FormCreate(TObject* Sender);
    void FormCloseQuery(TObject* Sender, bool& CanClose);
    void Button6Click(TObject* Sender);   // "初始化数据": reset of the Video_* fields
    void Button15Click(TObject* Sender);  // "初始化数值": every slot free

    // ---- job slots (Unit1.cpp) ---------------------------------------------------------
    // Each of the 501 slots holds a job's input and output records and a marker: "kong"
    // (free), "Full" (an added job) or "DELETED" (its row removed; the slot is not taken
    // again until the list is cleared).  The marker lives apart from the records: freeing
    // the slots leaves the records, and rebuilding the tasks rewrites the records only.
    const std::vector<String>& SlotMarkers() const { return SlotMarker; }
    const std::vector<TInputOptions>& SlotInputs() const { return IO1; }
    const std::vector<TOutputOptions>& SlotOutputs() const { return OO1; }
    // The first free slot, -1 when none.
    int FreeSlot() const;
    // An added job takes the first free slot: its records and the marker "Full".  Returns
    // the slot, -1 (nothing changed) when none is free.
    int TakeSlot(const TInputOptions& AInput, const TOutputOptions& AOutput);
    // The slot of a removed row (its index in the list) is marked "DELETED"; a row past
    // the slots marks nothing.
    void MarkSlotDeleted(int ARow);
    // The records of a slot, its marker left as it is; nothing past the slots.
    void SetSlotRecords(int ASlot, const TInputOptions& AInput, const TOutputOptions& AOutput);
    // Shows a skinned information message titled "提示".
    virtual int InfoMessage(const String& AMsg);
    // Enables or disables a skinned button and gives it its enabled or disabled glyph
    // (removing, renaming, clearing, start, stop, pause, resume); other buttons are only
    // enabled or disabled.
    void SetButtonState(TbsSkinButton* AButton, bool AEnabled);

    // ---- job list (Unit1_Jobs.cpp) -----------------------------------------------------
    void btnRemoveClick(TObject* Sender);
    void btnClearClick(TObject* Sender);
    void bsSkinButton3Click(TObject* Sender);   // move up
    void bsSkinButton4Click(TObject* Sender);   // move down
    void bsSkinButton21Click(TObject* Sender);  // start renaming
    void N26Click(TObject* Sender);
    void lvFilesDblClick(TObject* Sender);
    void edtExit(TObject* Sender);              // finish renaming
    void lvFilesSelectItem(TObject* Sender, TListItem* Item, bool Selected);
    void lvFilesClick(TObject* Sender);
    void BindJobEvents();
    // The column of a row (0: caption, 1 to 24: sub items); empty when it has none.
    static String JobColumn(TListItem* AItem, int AColumn);
    static void SetJobColumn(TListItem* AItem, int AColumn, const String& AText);
    // Appends a row with 25 columns (missing texts empty); the add road's last step.
    TListItem* AddJobRow(const std::vector<String>& AColumns);
    // Enables or disables removing, renaming, clearing and starting by the row count.
    // Rows were added or the last one went: the batch is ready or empty (the state
    // sets the controls).
    void UpdateJobControls(bool AHasRows);
    // Enables adding (the add button, its menu and the main menu's add entries).
    void EnableAdding(bool AEnabled);

    // ---- output folder (Unit1_Folder.cpp) ----------------------------------------------
    void Button16Click(TObject* Sender);  // "写ini文件": store the output folder
    void Button17Click(TObject* Sender);  // "读ini文件": read the output folder
    void Button20Click(TObject* Sender);  // "转换后打开文件夹": open it in the desktop
    void bsSkinButton5Click(TObject* Sender);  // "浏览..."
    void bsSkinButton6Click(TObject* Sender);  // "打开"
    void Video_OutPut_Folder_EditClick(TObject* Sender);
    // Shows the output-folder dialog; true and the chosen folder in ADirectory when the
    // user accepted.  Empty: bsSkinSelectDirectoryDialog2 (tests replace it).
    std::function<bool(String& ADirectory)> SelectOutputFolder;
    void BindFolderEvents();

    // ---- presets (Unit1_Presets.cpp) ---------------------------------------------------
    void Button2Click(TObject* Sender);   // "添加combox"
    void Button5Click(TObject* Sender);   // "根据combox添加数据"
    void Button13Click(TObject* Sender);  // "确认预置选项数据"
    void Button18Click(TObject* Sender);  // "根据combox添加预设选项"
    void bsSkinOfficeComboBox2Change(TObject* Sender);
    void bsSkinOfficeComboBox1Change(TObject* Sender);
    void bsSkinComboBox1Change(TObject* Sender);
    void bsSkinComboBox2Change(TObject* Sender);
    void bsSkinComboBox3Change(TObject* Sender);
    void bsSkinComboBox4Change(TObject* Sender);
    void bsSkinComboBox9Change(TObject* Sender);
    void bsSkinComboBox10Change(TObject* Sender);
    TPresetRoutines& PresetRoutines() const { return *FPresets; }
    // "直接覆盖输出文件" is chosen in the options dialog.
    bool OverwriteOutput() const;
    void BindPresetEvents();

    // ---- adding files (Unit1_Add.cpp) --------------------------------------------------
    void Button21Click(TObject* Sender);  // "OpenDialog1": the open dialogs' filters
    void btnAddClick(TObject* Sender);    // one file
    void Button8Click(TObject* Sender);   // several files
    void Button12Click(TObject* Sender);  // every file of a folder
    // The open dialogs' filter: 42 entries, each description, "|", patterns, "|".
    static String InputFileFilter();
    String OpenDialogFilter;  // as Button21Click set it for the open dialogs
    TbsSkinOpenDialog* OpenDialog1 = nullptr;  // one file
    TbsSkinOpenDialog* OpenDialog2 = nullptr;  // several files
    // The entries of a folder that are not folders (dot-files too), path and name, sorted
    // by name, without entering subfolders; null when the folder does not exist.
    static std::unique_ptr<TStringList> GetFilenames(const String& FilePath, const String& ExtMask);
    // Shows an open dialog (AMultiple: several files may be chosen); true with the chosen
    // files, in the dialog's order, when the user accepted.  Empty: OpenDialog1 or
    // OpenDialog2 (tests replace it).
    std::function<bool(bool AMultiple, std::vector<String>& AFiles)> SelectInputFiles;
    // Shows the folder dialog "选择目录"; true with the folder when the user accepted.
    // Empty: bsSkinSelectDirectoryDialog1 (tests replace it).
    std::function<bool(String& ADirectory)> SelectAddFolder;
    // What the road did with one file: added it, skipped it (the probe refused it), or
    // failed in a way that ends a several-file or folder add.
    enum TAddResult { arAdded, arSkipped, arFailed };
    TAddResult AddFileRoad(const String& AFileName);
    // The files the current add could not take, each with its reason.
    std::vector<std::pair<String, String>> RefusedFiles;
    // The "提示" box's text naming the refused files (the first few, then how many more).
    String RefusedFilesText() const;
    // ---- output names (Unit1_OutputNames.cpp) -----------------------------------------
    // The output name AName (no folder) when it is not taken, else the first stem + "_" +
    // N + extension that is not taken.  Taken: another row than AOwnRow holds it, or,
    // unless overwriting is chosen, a file of that name exists in the output folder and
    // is not AOwnRow's own earlier output.
    String SettleOutputName(const String& AName, TListItem* AOwnRow) const;
    // The rule for the selected row (the preset routines' renames).
    String SettleSelectedRowName(const String& AName) const;
    // Runs a chain of preset handlers on the selected row; afterwards the row keeps the
    // name it had unless the chain changed its extension, and then it gets its earlier
    // name with the new extension by the rule.
    void KeepRowNameThrough(const std::function<void()>& AChain);
    bool OutputNameTaken(const String& AName, TListItem* AOwnRow) const;
    String OutputFolderText() const;
    // The file a finished task wrote for a row, as it was when the task ended.
    struct TWrittenOutput {
        String Input;
        uint64_t Device = 0, Inode = 0;
        int64_t Size = 0, ChangeTime = 0;
    };
    void NoteWrittenOutput(TListItem* ARow);
    bool IsOwnEarlierOutput(TListItem* ARow, const String& APath) const;
    void BindAddEvents();

    // ---- batch (Unit1_Batch.cpp) -------------------------------------------------------
    void bsSkinButton2Click(TObject* Sender);   // "开始"
    void bsSkinButton10Click(TObject* Sender);  // "停止"
    void bsSkinButton11Click(TObject* Sender);  // "暂停"
    void bsSkinButton12Click(TObject* Sender);  // "继续"
    void btnStartClick(TObject* Sender);
    void button28Click(TObject* Sender);  // "新添加": the engine's tasks rebuilt from the rows
    void btnPauseClick(TObject* Sender);
    void btnResumeClick(TObject* Sender);
    void btnStopClick(TObject* Sender);
    void FFEngineProgress(TObject* Sender, TProgressInfo* AProgressInfo);
    // Raised on an engine thread: the event waits in order for the GUI thread.
    void FFEngineTerminate(TObject* Sender, const TTerminateInfo& ATerminateInfo);
    void FFLoggerLog(TObject* Sender, uint32_t AThreadID, TLogLevel ALogLevel, const String& ALogMsg);
    void chkPreviewClick(TObject* Sender);
    void Button22Click(TObject* Sender);  // "工作中设置为不能": format controls off
    void Button23Click(TObject* Sender);  // "工作完成设置为能": format controls on
    void Button24Click(TObject* Sender);  // "刷新皮肤": nothing
    void Button25Click(TObject* Sender);  // shut down
    void Button29Click(TObject* Sender);  // the finish sound
    // "hh:mm:ss" of whole seconds, the hours taken modulo 24.
    static String SecToDate(int64_t ASec);
    // Bytes as MB with at most two decimals (halves to even), then "MB".
    static String SizeText(int64_t ABytes);
    static bool SetPrivilege(const String& APrivilegeName, bool AEnable);
    // The output options a row's columns give (3 and 11 to 24 over the engine's defaults,
    // volume 256, no container and no filters); the output file name is left empty.
    static TOutputOptions JobOutputOptions(TListItem* ARow);
    // The row whose task number (column 8) names engine task ATaskIndex; null when none.
    TListItem* TaskRow(int ATaskIndex) const;
    // The window's reaction to one terminate event (GUI thread, in the order raised).
    void HandleTerminateEvent(const TTerminateInfo& AInfo);
    // Terminate events from now on are dropped, also those already waiting.
    void DetachTerminateEvents();
    // The window states of a batch.
    enum TBatchState { bsEmpty, bsReady, bsWorking, bsPaused, bsStopping, bsFinished };
    TBatchState BatchState() const { return FBatchState; }
    void BindBatchEvents();

    // ---- preview and snapshots (Unit1_Preview.cpp) -------------------------------------
    void Button31Click(TObject* Sender);  // "打开播放视频": open T_Movie_PLayer_FileName
    // Stops the player and waits for it.
    void StopPreview();
    // Puts the seek slider back to its start.
    void ResetSeekSlider();
    void BindPreviewEvents();
    // The stream lists and the duration and position labels (off-screen, on Panel5).
    TComboBox* cboVideo = nullptr;
    TComboBox* cboAudio = nullptr;
    TComboBox* cboSubtitle = nullptr;
    TLabel* Label2 = nullptr;  // duration, seconds
    TLabel* Label3 = nullptr;  // position, seconds
    void bsSkinButton13Click(TObject* Sender);  // play
    void bsSkinButton14Click(TObject* Sender);  // pause
    void bsSkinButton15Click(TObject* Sender);  // stop (and open again)
    void bsSkinButton16Click(TObject* Sender);  // mute
    void bsSkinButton20Click(TObject* Sender);  // unmute
    void bsSkinSlider1MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void bsSkinSlider1MouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void TrackBar2Change(TObject* Sender);
    void FFPlayerFileOpen(TObject* Sender, int64_t ADuration, int AFrameWidth, int AFrameHeight, int& AScreenWidth,
                          int& AScreenHeight);
    void FFPlayerPosition(TObject* Sender, int64_t APTS);
    void FFPlayerState(TObject* Sender, TPlayState AState);
    void bsSkinButton22Click(TObject* Sender);  // snapshot
    void bsSkinButton23MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void bsSkinButton23Click(TObject* Sender);  // ticks the stored format
    void MenuItem1Click(TObject* Sender);       // "打开快照目录"
    void MenuItem2Click(TObject* Sender);       // "设置快照目录"
    void SnapshotFormatClick(TObject* Sender);  // BMP1, JPG1, GIF1, PNG1
    // The snapshot folder by its rule (made when missing; a missing or unusable stored
    // folder is replaced by the default, which is written back).
    String SnapshotFolder();
    // The snapshot format by its rule ("BMP", "JPG", "GIF" or "PNG"; anything else is
    // written back as "BMP"); ticks its menu item.
    String SnapshotFormat();
    // Writes the player's current picture into the snapshot folder; the file written,
    // empty when there was no picture.
    String TakeSnapshot();
    // "Capture" (off-screen): the picture shown saved under a name the user chooses in
    // SavePictureDialog1, as a bitmap for a ".bmp" name (any case), else as a JPEG.
    TButton* btnCapture = nullptr;
    TbsSkinSavePictureDialog* SavePictureDialog1 = nullptr;
    void btnCaptureClick(TObject* Sender);
    // Asks for the capture's file name; true with it when the user accepted.  Empty:
    // SavePictureDialog1 (tests replace it).
    std::function<bool(String& AFileName)> SelectCaptureFile;

    // ---- skin, menus, about box (Unit1_Menus.cpp) --------------------------------------
    void Button3Click(TObject* Sender);  // "读入皮肤ini"
    void Button4Click(TObject* Sender);  // "写入皮肤ini"
    TbsSelectSkinDialog* bsSelectSkinDialog1 = nullptr;
    void bsSkinButton9Click(TObject* Sender);   // "皮肤"
    void N3Click(TObject* Sender);              // "退出"
    void N10Click(TObject* Sender);             // "转换选项", tool-bar "选项"
    void N12Click(TObject* Sender);             // "帮助系统"
    void N15Click(TObject* Sender);             // "官方网站"
    void N16Click(TObject* Sender);             // "联系邮箱"
    void N17Click(TObject* Sender);             // "关于软件"
    // Runs the skin dialog from AStart; true with the accepted index in ASelected.
    virtual bool RunSkinDialog(int AStart, int& ASelected);
    void BindMenuEvents();

    // ---- preset dialog (Unit1_PresetDialog.cpp) ----------------------------------------
    void BindPresetDialogEvents();
    void bsSkinButton24Click(TObject* Sender);  // "设置...": the preset dialog on this window's choice

    // ---- engine calls (Unit1.cpp) -------------------------------------------------------
    // The task-list calls of the job list, the options dialog and closing; tests watch
    // them by overriding.
    virtual void EngineRemoveTask(int ATaskIndex);
    virtual void EngineClearTasks();
    virtual void EngineStop(bool AWaitFor);
    virtual void EngineSetPreview(bool APreview);
    // The add road's and the batch's engine calls; tests replace them.
    // Loads the engine's libraries unless they are loaded; false with the reason.
    virtual bool EngineLoadLibraries(String& AError);
    virtual int EngineAddTask(const String& AFileName, TInputOptions& AOptions);
    virtual bool EngineSetOutputFile(int ATaskIndex, const String& AFileName, TOutputOptions& AOptions);
    virtual void EngineStart(int AThreadCount);
    virtual void EnginePause();
    virtual void EngineResume();
    // A task's error: the platform's warning box titled with the application title.
    virtual void TaskErrorMessage(const String& AText);
    // The after-done action chosen in the options dialog (0 open the folder, 1 shut down,
    // 2 the sound, 3 nothing).
    int AfterDoneChoice() const;

private:
    void BuildControls();
    void BuildMenus();
    void BuildPresetRoutines();
    bool RunOutputFolderDialog(String& ADirectory);
    void FillScreenList();

    std::vector<TInputOptions> IO1;  // the job slots (TakeSlot, MarkSlotDeleted, ...)
    std::vector<TOutputOptions> OO1;
    std::vector<String> SlotMarker;  // "kong", "Full" or "DELETED" per slot
    std::map<String, TWrittenOutput> FWrittenOutputs;  // by full output path (NoteWrittenOutput)

    std::unique_ptr<TPresetChoiceBox> FCategoryBox, FPresetBox;
    std::unique_ptr<TPresetOptionBox> FOptionBoxes[PresetOptionCount];
    std::unique_ptr<TPresetJobList> FJobListAdapter;
    std::unique_ptr<TPresetRoutines> FPresets;

    // Adding files and the batch (Unit1_Add.cpp, Unit1_Batch.cpp).
    bool PrepareAdd();
    // Adds AFiles from the last to the first; true when every file was handled.
    bool AddFilesBackwards(const std::vector<String>& AFiles);
    void SelectLastRow();
    void SetBatchState(TBatchState AState);
    int FBuiltTasks = 0;  // tasks the last rebuild made
    // The batch start's last check: each row whose output name an earlier row holds, or
    // that names a file on disk other than its own earlier output (unless overwriting),
    // gets a name by the output-name rule (column 3).
    void SettleRowOutputNames();
    TBatchState FBatchState = bsEmpty;
    bool FUserStopped = false;
    std::shared_ptr<struct TTerminateQueue> FTerminateQueue;
};

extern TForm1* Form1;
