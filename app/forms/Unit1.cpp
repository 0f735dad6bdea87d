#include "app/forms/Unit1.h"

#include "app/forms/FormBuild.h"
#include "app/forms/FormSkin.h"
#include "app/presets/PresetSkinBoxes.h"
#include "app/resources/ProgramPictures.h"
#include "app/resources/ProgramSkin.h"
#include "engine/player/FFPlay.h"
#include "engine/libs/FFmpegLogger.h"
#include "engine/tasks/TaskList.h"
#include "platform/forms/Menus.h"
#include "skin/boxes/bsSkinBoxCtrls.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/controls/bsSkinExCtrls.h"
#include "skin/core/bsPngImageList.h"
#include "skin/dialogs/bsMessages.h"
#include "skin/dialogs/bsSkinShellDialogs.h"
#include "skin/frame/bsSkinFormFrame.h"
#include "skin/menus/bsSkinMenus.h"

TForm1* Form1 = nullptr;

namespace {

TMenuItem* MenuItem(TComponent* AOwner, TMenuItem* AParent, const char* AName, const char* ACaption)
{
    auto* item = new TMenuItem(AOwner);
    item->SetName(AName);
    item->SetCaption(ACaption);
    AParent->Add(item);
    return item;
}

TMenuItem* Separator(TComponent* AOwner, TMenuItem* AParent) { return MenuItem(AOwner, AParent, "", "-"); }

// The job list's columns: caption and width; hidden columns have width 0 and cannot be
// widened.
struct TJobColumnDef {
    const char* Caption;
    int Width;
};
constexpr TJobColumnDef JobColumns[JobColumnCount] = {
    {"输入文件", 80},   {"视频时间", 70},   {"文件大小", 70},   {"输出文件", 80},   {"转换进度", 70},
    {"", 0},            {"当前时间", 80},   {"转换大小", 80},   {"视频序号", 0},    {"视频类别", 0},
    {"视频选项", 0},    {"视频编码", 0},    {"音频编码", 0},    {"声音频道", 0},    {"VideoTag", 0},
    {"FileExt", 0},     {"视频分辨率", 0},  {"视频比特率", 0},  {"视频帧率", 0},    {"音频比特率", 0},
    {"音频采样率", 0},  {"视频缩放", 0},    {"视频能否", 0},    {"TargetType", 0},  {"NormType", 0},
};

}  // namespace

TForm1::TForm1(TComponent* AOwner) : TForm(AOwner), IO1(JobSlotCount), OO1(JobSlotCount), SlotMarker(JobSlotCount)
{
    if (!Form1) Form1 = this;
    for (int i = 0; i < JobSlotCount; ++i) {
        InitInputOptions(IO1[size_t(i)]);
        InitOutputOptions(OO1[size_t(i)]);
    }
    BuildControls();
    BuildMenus();
    // An empty list: nothing to remove, rename, clear or start; no batch to steer.
    SetBatchState(bsEmpty);
    BuildPresetRoutines();
    LinkFormSkin(this, bsSkinData1);
    BindJobEvents();
    BindFolderEvents();
    BindPresetEvents();
    BindAddEvents();
    BindBatchEvents();
    BindPreviewEvents();
    BindMenuEvents();
    BindPresetDialogEvents();
    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
    OnCloseQuery = [this](TObject* Sender, bool& CanClose) { FormCloseQuery(Sender, CanClose); };
}

TForm1::~TForm1()
{
    // The controls and components go first: none of their events may reach the preset
    // routines or the adapters after those are gone, and no row or edit event runs while
    // the window comes apart.
    lvFiles->OnSelectItem = nullptr;
    lvFiles->OnClick = nullptr;
    edt->OnExit = nullptr;
    // The player stops before its screen and labels go: stopping delivers the events
    // still on their way, which must find no handler of this window.
    FFPlayer->OnFileOpen = nullptr;
    FFPlayer->OnPosition = nullptr;
    FFPlayer->OnState = nullptr;
    FFPlayer->OnHook = nullptr;
    FFPlayer->Stop(true);
    DestroyComponents();
    if (Form1 == this) Form1 = nullptr;
}

void TForm1::BuildControls()
{
    SetName("Form1");
    SetCaption("澄枫DAT格式转换器");
    SetBorderStyle(bsSingle);
    SetBorderIcons({});
    SetPosition(poDesktopCenter);
    SetClientWidth(823);
    SetClientHeight(489);

    // Skin: the program's stored skin at index 0 of the skin list.
    bsSkinData1 = new TbsSkinData(this);
    bsSkinData1->SetName("bsSkinData1");
    bsResourceStrData1 = new TbsResourceStrData(this);
    bsSkinData1->SetResourceStrData(bsResourceStrData1);
    bsCompressedSkinList1 = new TbsCompressedSkinList(this);
    InstallProgramSkin(bsCompressedSkinList1);
    bsSkinData1->SetSkinList(bsCompressedSkinList1);
    bsSkinFormFrame1 = new TbsSkinFormFrame(this);
    bsSkinFormFrame1->SetName("bsSkinFormFrame1");
    bsSkinFormFrame1->SetBorderIcons({TbsBorderIcon::biMinimize});
    // The skin's caption and borders go around the client area, which keeps its size.
    bsSkinFormFrame1->SetClientWidth(823);
    bsSkinFormFrame1->SetClientHeight(489);
    bsSkinMessage1 = new TbsSkinMessage(this);
    bsSkinMessage1->SetSkinData(bsSkinData1);
    bsSkinMessage1->SetCtrlSkinData(bsSkinData1);
    bsSkinSelectDirectoryDialog1 = new TbsSkinSelectDirectoryDialog(this);
    bsSkinSelectDirectoryDialog1->SetName("bsSkinSelectDirectoryDialog1");
    bsSkinSelectDirectoryDialog1->SetTitle("选择目录");
    bsSkinSelectDirectoryDialog2 = new TbsSkinSelectDirectoryDialog(this);
    bsSkinSelectDirectoryDialog2->SetName("bsSkinSelectDirectoryDialog2");
    bsSkinSelectDirectoryDialog2->SetTitle("选择输出目录");
    for (TbsSkinSelectDirectoryDialog* d : {bsSkinSelectDirectoryDialog1, bsSkinSelectDirectoryDialog2}) {
        d->SetSkinData(bsSkinData1);
        d->SetCtrlSkinData(bsSkinData1);
    }

    // Picture lists.
    auto pngList = [this](const char* AName, const char* AList) {
        auto* list = new TbsPngImageList(this);
        list->SetName(AName);
        FillProgramImageList(AList, list);
        return list;
    };
    bsPngImageList1 = pngList("bsPngImageList1", "toolbar");
    bsPngImageList2 = pngList("bsPngImageList2", "preview");
    bsPngImageList3 = pngList("bsPngImageList3", "preset");
    bsPngImageList5 = pngList("bsPngImageList5", "category");

    // Engine components; the libraries load on the first add.
    FFEngine = new TTaskList(this);
    FFEngine->SetName("FFEngine");
    try {
        FFLogger = new TFFLogger(this);
        FFLogger->SetName("FFLogger");
    } catch (const EAssertionFailed&) {
        FFLogger = GlobalLogger();  // the process has its logger already
    }
    FFPlayer = new TFFPlayer(this);
    FFPlayer->SetName("FFPlayer");

    // Tool bar.
    bsSkinToolBar2 = Place<TbsSkinToolBar>(this, this, "bsSkinToolBar2", 0, 22, 823, 72);
    bsSkinToolBar2->SetImages(bsPngImageList1);
    bsSkinMenuSpeedButton1 = Place<TbsSkinMenuSpeedButton>(this, bsSkinToolBar2, "bsSkinMenuSpeedButton1", 8, 2, 112, 68);
    bsSkinMenuSpeedButton1->SetCaption("添加");
    bsSkinMenuSpeedButton1->SetImageList(bsPngImageList1);
    bsSkinMenuSpeedButton1->SetImageIndex(0);
    bsSkinMenuSpeedButton1->SetLayout(blGlyphTop);
    auto toolButton = [this](const char* AName, const char* ACaption, int ALeft, int AImage) {
        auto* b = Place<TbsSkinButton>(this, bsSkinToolBar2, AName, ALeft, 2, 89, 68);
        b->SetSkinDataName("resizetoolbutton");
        b->SetCaption(ACaption);
        b->SetImageList(bsPngImageList1);
        b->SetImageIndex(AImage);
        b->SetLayout(blGlyphTop);
        return b;
    };
    bsSkinButton7 = toolButton("bsSkinButton7", "删除", 150, 1);
    bsSkinButton8 = toolButton("bsSkinButton8", "清空", 245, 2);
    // these two show the pictures of their enabled and disabled state (the glyph pairs)
    for (TbsSkinButton* b : {bsSkinButton7, bsSkinButton8}) b->SetImageList(nullptr);
    bsSkinButton19 = toolButton("bsSkinButton19", "选项", 341, 6);

    // Job list.
    bsSkinPanel1 = Place<TbsSkinPanel>(this, this, "bsSkinPanel1", 8, 99, 568, 261);
    bsSkinPanel1->SetCaption("");
    lvFiles = Place<TbsSkinListView>(this, bsSkinPanel1, "lvFiles", 2, 2, 548, 225);
    lvFiles->SetHeaderSkinDataName("resizetoolbutton");
    lvFiles->SetViewStyle(vsReport);
    lvFiles->SetReadOnly(true);
    lvFiles->SetRowSelect(true);
    lvFiles->SetHideSelection(false);
    for (const TJobColumnDef& c : JobColumns) {
        TListColumn* column = lvFiles->Columns()->Add();
        column->SetCaption(c.Caption);
        if (c.Width == 0) column->SetMaxWidth(1);
        column->SetWidth(c.Width);
    }
    bsSkinScrollBar1 = Place<TbsSkinScrollBar>(this, bsSkinPanel1, "bsSkinScrollBar1", 550, 2, 16, 225);
    bsSkinScrollBar1->SetKind(sbVertical);
    lvFiles->SetVScrollBar(bsSkinScrollBar1);
    auto smallButton = [this](const char* AName, const char* AHint, int ALeft) {
        auto* b = Place<TbsSkinButton>(this, bsSkinPanel1, AName, ALeft, 231, 28, 26);
        b->SetSkinDataName("resizetoolbutton");
        b->SetCaption("");
        b->SetHint(AHint);
        b->SetShowHint(true);
        return b;
    };
    bsSkinButton3 = smallButton("bsSkinButton3", "上移", 4);
    bsSkinButton4 = smallButton("bsSkinButton4", "下移", 34);
    bsSkinButton21 = smallButton("bsSkinButton21", "重命名", 64);
    bsSkinButton3->SetGlyph(ProgramBitmap("moveup", clWhite).get());
    bsSkinButton4->SetGlyph(ProgramBitmap("movedown", clWhite).get());
    // Below the list's column header, which stays in sight.
    bsSkinPanel5 = Place<TbsSkinPanel>(this, bsSkinPanel1, "bsSkinPanel5", 2, 26, 564, 201);
    bsSkinPanel5->SetCaption("");
    Image1 = Place<TImage>(this, bsSkinPanel5, "Image1", 72, 25, 420, 150);
    Image1->SetTransparent(true);
    if (auto picture = ProgramBitmap("emptylist", clWhite)) Image1->Picture()->SetBitmap(picture.get());
    edt = Place<TEdit>(this, this, "edt", 873, 460, 80, 21);
    edt->SetVisible(false);

    // Output format and folder.
    bsSkinPanel2 = Place<TbsSkinPanel>(this, this, "bsSkinPanel2", 8, 366, 568, 116);
    bsSkinPanel2->SetCaption("");
    bsSkinStdLabel1 = Place<TbsSkinStdLabel>(this, bsSkinPanel2, "bsSkinStdLabel1", 10, 22, 70, 16);
    bsSkinStdLabel1->SetCaption("输出格式：");
    bsSkinOfficeComboBox2 = Place<TbsSkinOfficeComboBox>(this, bsSkinPanel2, "bsSkinOfficeComboBox2", 82, 8, 150, 44);
    bsSkinOfficeComboBox2->SetImages(bsPngImageList5);
    bsSkinOfficeComboBox2->SetListBoxItemHeight(44);
    bsSkinOfficeComboBox2->SetDropDownCount(8);
    bsSkinOfficeComboBox2->SetListBoxShowItemTitles(false);
    AddPresetCategories(bsSkinOfficeComboBox2);
    bsSkinOfficeComboBox2->SetItemIndex(0);  // before its event is bound, as when loaded
    bsSkinOfficeComboBox1 = Place<TbsSkinOfficeComboBox>(this, bsSkinPanel2, "bsSkinOfficeComboBox1", 238, 8, 236, 44);
    bsSkinOfficeComboBox1->SetImages(bsPngImageList3);
    bsSkinOfficeComboBox1->SetListBoxItemHeight(40);
    bsSkinOfficeComboBox1->SetDropDownCount(8);
    bsSkinOfficeComboBox1->SetListBoxShowItemTitles(false);
    bsSkinButton24 = Place<TbsSkinButton>(this, bsSkinPanel2, "bsSkinButton24", 480, 16, 80, 28);
    bsSkinButton24->SetCaption("设置...");
    bsSkinStdLabel2 = Place<TbsSkinStdLabel>(this, bsSkinPanel2, "bsSkinStdLabel2", 10, 80, 70, 16);
    bsSkinStdLabel2->SetCaption("输出目录：");
    Video_OutPut_Folder_Edit = Place<TbsSkinEdit>(this, bsSkinPanel2, "Video_OutPut_Folder_Edit", 82, 77, 306, 21);
    Video_OutPut_Folder_Edit->SetReadOnly(true);
    bsSkinButton5 = Place<TbsSkinButton>(this, bsSkinPanel2, "bsSkinButton5", 394, 74, 80, 28);
    bsSkinButton5->SetCaption("浏览...");
    bsSkinButton6 = Place<TbsSkinButton>(this, bsSkinPanel2, "bsSkinButton6", 480, 74, 80, 28);
    bsSkinButton6->SetCaption("打开");

    // Preview: the group box and, over it on the form, the screen panel.
    bsSkinPanel3 = Place<TbsSkinGroupBox>(this, this, "bsSkinPanel3", 584, 99, 226, 261);
    bsSkinPanel3->SetSkinDataName("groupbox");
    bsSkinPanel3->SetCaption("视频预览");
    Panel6 = Place<TPanel>(this, this, "Panel6", 591, 131, 210, 135);
    Panel6->SetCaption("");
    Panel6->SetBevelOuter(TPanelBevel::bvNone);
    Panel6->SetColor(clBtnText);
    Image18 = Place<TImage>(this, Panel6, "Image18", 57, 31, 96, 72);
    Image18->SetTransparent(true);
    if (auto picture = ProgramBitmap("still", clBtnText)) Image18->Picture()->SetBitmap(picture.get());
    bsSkinSlider1 = Place<TbsSkinSlider>(this, bsSkinPanel3, "bsSkinSlider1", 3, 173, 218, 31);
    bsSkinSlider1->SetSkinDataName("slider");
    bsSkinSlider1->SetTransparent(true);
    struct TPreviewButton {
        TbsSkinButton*& Button;
        const char* Name;
        const char* Hint;
        int Left, Image;
    };
    const TPreviewButton previewButtons[] = {
        {bsSkinButton13, "bsSkinButton13", "播放", 8, 0},   {bsSkinButton14, "bsSkinButton14", "暂停", 45, 1},
        {bsSkinButton15, "bsSkinButton15", "停止", 79, 2},  {bsSkinButton16, "bsSkinButton16", "静音", 115, 3},
        {bsSkinButton20, "bsSkinButton20", "静音", 115, 4}, {bsSkinButton22, "bsSkinButton22", "快照", 151, 5},
        {bsSkinButton23, "bsSkinButton23", "设置", 187, 6},
    };
    for (const TPreviewButton& p : previewButtons) {
        p.Button = Place<TbsSkinButton>(this, bsSkinPanel3, p.Name, p.Left, 204, 30, 30);
        p.Button->SetSkinDataName("resizetoolbutton");
        p.Button->SetCaption("");
        p.Button->SetHint(p.Hint);
        p.Button->SetShowHint(true);
        p.Button->SetImageList(bsPngImageList2);
        p.Button->SetImageIndex(p.Image);
    }
    bsSkinButton20->SetVisible(false);

    // Batch buttons; pause and resume share one place.
    auto batchButton = [this](const char* AName, const char* ACaption, int ALeft) {
        auto* b = Place<TbsSkinButton>(this, this, AName, ALeft, 400, 72, 40);
        b->SetCaption(ACaption);
        return b;
    };
    bsSkinButton2 = batchButton("bsSkinButton2", "开始", 584);
    bsSkinButton10 = batchButton("bsSkinButton10", "停止", 661);
    bsSkinButton11 = batchButton("bsSkinButton11", "暂停", 738);
    bsSkinButton12 = batchButton("bsSkinButton12", "继续", 738);
    bsSkinButton12->SetVisible(false);

    // Off-screen: the routine panel.
    Panel1 = Place<TPanel>(this, this, "Panel1", 873, 0, 420, 489);
    Panel1->SetCaption("");
    grpLogLevel = Place<TRadioGroup>(this, Panel1, "grpLogLevel", 8, 8, 190, 200);
    grpLogLevel->SetCaption("Log Level");
    for (const char* level : {"Quiet", "Panic", "Fatal", "Error", "Warning", "Info", "Verbose", "Debug"})
        grpLogLevel->Items()->Add(level);
    grpLogLevel->SetItemIndex(5);
    grpPriority = Place<TRadioGroup>(this, Panel1, "grpPriority", 206, 8, 190, 200);
    grpPriority->SetCaption("Priority");
    for (const char* priority : {"Idle", "Lowest", "Lower", "Normal", "Higher", "Highest", "TimeCritical"})
        grpPriority->Items()->Add(priority);
    grpPriority->SetItemIndex(3);
    chkThreadMode = Place<TCheckBox>(this, Panel1, "chkThreadMode", 8, 216, 120, 20);
    chkThreadMode->SetCaption("Thread Mode");
    chkThreadMode->SetChecked(true);
    chkPreview = Place<TCheckBox>(this, Panel1, "chkPreview", 136, 216, 120, 20);
    chkPreview->SetCaption("Preview");
    edtThreadCount = Place<TEdit>(this, Panel1, "edtThreadCount", 264, 216, 60, 21);
    edtThreadCount->SetText("1");
    ListBox1 = Place<TListBox>(this, Panel1, "ListBox1", 8, 244, 190, 120);
    ProgressBar1 = Place<TProgressBar>(this, Panel1, "ProgressBar1", 8, 372, 390, 16);
    for (int n = 2; n <= 17; ++n) {
        const String name = "Image" + IntToStr(n);
        TImage* image = Place<TImage>(this, Panel1, name.c_str(), 206 + ((n - 2) % 8) * 24, 244 + ((n - 2) / 8) * 24, 16, 16);
        if (auto picture = ProgramBitmap(name, clWhite)) image->Picture()->SetBitmap(picture.get());
        GlyphImages[size_t(n - 2)] = image;
    }

    // Off-screen: the log and the player's steering controls.
    Panel5 = Place<TPanel>(this, this, "Panel5", 1300, 0, 400, 489);
    Panel5->SetCaption("");
    mmoLog = Place<TMemo>(this, Panel5, "mmoLog", 8, 8, 384, 240);
    cboScreens = Place<TComboBox>(this, Panel5, "cboScreens", 8, 256, 180, 21);
    cboScreens->SetStyle(csDropDownList);
    cboVideoDriver = Place<TComboBox>(this, Panel5, "cboVideoDriver", 8, 284, 180, 21);
    cboVideoDriver->SetStyle(csDropDownList);
    for (const char* d : {"Default", "DDraw", "GDI"}) cboVideoDriver->Items()->Add(d);
    cboVideoDriver->SetItemIndex(0);
    cboAudioDriver = Place<TComboBox>(this, Panel5, "cboAudioDriver", 8, 312, 180, 21);
    cboAudioDriver->SetStyle(csDropDownList);
    for (const char* d : {"Default", "DSound", "waveOut"}) cboAudioDriver->Items()->Add(d);
    cboAudioDriver->SetItemIndex(0);
    chkOpenPaused = Place<TCheckBox>(this, Panel5, "chkOpenPaused", 196, 256, 120, 20);
    chkOpenPaused->SetCaption("Open Paused");
    chkOpenPaused->SetChecked(true);
    chkStayOnTop = Place<TCheckBox>(this, Panel5, "chkStayOnTop", 196, 284, 120, 20);
    chkStayOnTop->SetCaption("Stay On Top");
    TrackBar2 = Place<TTrackBar>(this, Panel5, "TrackBar2", 8, 340, 200, 40);
    TrackBar2->SetMax(128);
    TrackBar2->SetPosition(128);
    TrackBar2->SetPageSize(10);
    TrackBar2->SetFrequency(20);
    TrackBar2->SetTickMarks(tmBoth);

    Panel3 = Place<TPanel>(this, this, "Panel3", 1720, 0, 100, 100);
    Panel3->SetCaption("");
    Panel4 = Place<TPanel>(this, this, "Panel4", 1720, 110, 140, 60);
    Panel4->SetCaption("");
    bsSkinButton9 = Place<TbsSkinButton>(this, Panel4, "bsSkinButton9", 8, 6, 114, 46);
    bsSkinButton9->SetSkinDataName("resizetoolbutton");
    bsSkinButton9->SetCaption("皮肤");
    bsSkinButton9->SetImageList(bsPngImageList1);
    bsSkinButton9->SetImageIndex(8);
    bsSkinButton9->SetCanFocused(true);

    // Off-screen: the six option boxes, chosen through the preset dialog.
    bsSkinPanel4 = Place<TbsSkinGroupBox>(this, this, "bsSkinPanel4", 1880, 0, 300, 330);
    bsSkinPanel4->SetSkinDataName("groupbox");
    bsSkinPanel4->SetCaption("预置选项");
    auto option = [this](const char* AName, int ATop) {
        auto* box = Place<TbsSkinComboBox>(this, bsSkinPanel4, AName, 12, ATop, 270, 20);
        box->SetStyle(bscbFixedStyle);
        box->SetDropDownCount(8);
        return box;
    };
    bsSkinComboBox1 = option("bsSkinComboBox1", 30);
    bsSkinComboBox2 = option("bsSkinComboBox2", 80);
    bsSkinComboBox3 = option("bsSkinComboBox3", 130);
    bsSkinComboBox4 = option("bsSkinComboBox4", 180);
    bsSkinComboBox9 = option("bsSkinComboBox9", 230);
    bsSkinComboBox10 = option("bsSkinComboBox10", 280);
    bsSkinPanel6 = Place<TbsSkinPanel>(this, this, "bsSkinPanel6", 1880, 340, 100, 60);
    bsSkinPanel6->SetCaption("");

    // The routine panel, the log panel and the option boxes lie outside the client area:
    // the program sets their controls, the user never sees them, so the keyboard never
    // reaches them (no tab stop, no keys).  The skin button stays within the tab order.
    for (TWinControl* hidden : std::initializer_list<TWinControl*>{Panel1, Panel5, bsSkinPanel4})
        hidden->SetEnabled(false);
}

void TForm1::BuildMenus()
{
    bsSkinMainMenu1 = new TbsSkinMainMenu(this);
    bsSkinMainMenu1->SetName("bsSkinMainMenu1");
    TMenuItem* root = bsSkinMainMenu1->Items();
    N1 = MenuItem(this, root, "N1", "文件");
    Item111 = MenuItem(this, N1, "Item111", "添加一个文件");
    Item121 = MenuItem(this, N1, "Item121", "添加多个文件");
    N21 = MenuItem(this, N1, "N21", "添加整个目录");
    Separator(this, N1);
    N3 = MenuItem(this, N1, "N3", "退出");
    N4 = MenuItem(this, root, "N4", "编辑");
    N111 = MenuItem(this, N4, "N111", "上移文件");
    N2221 = MenuItem(this, N4, "N2221", "下移文件");
    Separator(this, N4);
    N13 = MenuItem(this, N4, "N13", "删除选择");
    N14 = MenuItem(this, N4, "N14", "清空文件");
    Separator(this, N4);
    N26 = MenuItem(this, N4, "N26", "重新命名");
    N5 = MenuItem(this, root, "N5", "动作");
    N6 = MenuItem(this, N5, "N6", "开始转换");
    N7 = MenuItem(this, N5, "N7", "停止转换");
    Separator(this, N5);
    N8 = MenuItem(this, N5, "N8", "暂停转换");
    N9 = MenuItem(this, N5, "N9", "继续继续");
    Separator(this, N5);
    N10 = MenuItem(this, N5, "N10", "转换选项");
    for (TMenuItem* item : {N6, N7, N8, N9}) item->SetEnabled(false);
    N11 = MenuItem(this, root, "N11", "帮助");
    N12 = MenuItem(this, N11, "N12", "帮助系统");
    N12->SetShortCut(VK_F1);
    Separator(this, N11);
    N15 = MenuItem(this, N11, "N15", "官方网站");
    N16 = MenuItem(this, N11, "N16", "联系邮箱");
    N17 = MenuItem(this, N11, "N17", "关于软件");

    bsSkinMainMenuBar1 = new TbsSkinMainMenuBar(this);
    bsSkinMainMenuBar1->SetName("bsSkinMainMenuBar1");
    bsSkinMainMenuBar1->SetParent(this);
    bsSkinMainMenuBar1->SetSkinFormFrame(bsSkinFormFrame1);
    bsSkinFormFrame1->SetMainMenuBar(bsSkinMainMenuBar1);
    bsSkinMainMenuBar1->SetMainMenu(bsSkinMainMenu1);

    bsSkinPopupMenu1 = new TbsSkinPopupMenu(this);
    bsSkinPopupMenu1->SetName("bsSkinPopupMenu1");
    N11111 = MenuItem(this, bsSkinPopupMenu1->Items(), "N11111", "添加一个文件");
    N2222 = MenuItem(this, bsSkinPopupMenu1->Items(), "N2222", "添加多个文件");
    N3331 = MenuItem(this, bsSkinPopupMenu1->Items(), "N3331", "添加整个目录");
    bsSkinMenuSpeedButton1->SetSkinPopupMenu(bsSkinPopupMenu1);

    bsSkinPopupMenu2 = new TbsSkinPopupMenu(this);
    bsSkinPopupMenu2->SetName("bsSkinPopupMenu2");
    TMenuItem* snap = bsSkinPopupMenu2->Items();
    MenuItem1 = MenuItem(this, snap, "MenuItem1", "打开快照目录");
    MenuItem2 = MenuItem(this, snap, "MenuItem2", "设置快照目录");
    MenuItem3 = MenuItem(this, snap, "MenuItem3", "-");
    N27 = MenuItem(this, snap, "N27", "快照保存类型");
    BMP1 = MenuItem(this, N27, "BMP1", "BMP文件");
    JPG1 = MenuItem(this, N27, "JPG1", "JPG文件");
    GIF1 = MenuItem(this, N27, "GIF1", "GIF文件");
    PNG1 = MenuItem(this, N27, "PNG1", "PNG文件");
    for (TMenuItem* item : {BMP1, JPG1, GIF1, PNG1}) item->SetRadioItem(true);
    BMP1->SetChecked(true);
}

// ---- start-up and closing ----------------------------------------------------------------

void TForm1::FormCreate(TObject*)
{
    Button15Click(this);
    Button17Click(this);
    Button21Click(this);
    Button3Click(this);
    Button2Click(this);
    FillScreenList();
    bsSkinSlider1_down_UP = "UP";
}

void TForm1::FillScreenList()
{
    cboScreens->Items()->Clear();
    cboScreens->Items()->Add("Panel6");
    for (int order = 0;; ++order) {
        TWinControl* found = nullptr;
        for (int i = 0; i < ControlCount() && !found; ++i) {
            auto* child = dynamic_cast<TWinControl*>(Controls(i));
            if (child && child->TabOrder() == order) found = child;
        }
        if (!found) break;
        cboScreens->Items()->Add(found->Name());
    }
    cboScreens->SetItemIndex(0);
}

void TForm1::FormCloseQuery(TObject*, bool& CanClose)
{
    // A batch stopped by closing shows nothing and runs no after-done action.
    DetachTerminateEvents();
    FFPlayer->OnPosition = nullptr;
    FFPlayer->OnState = nullptr;
    FFPlayer->OnHook = nullptr;
    FFEngine->OnCustomHook = nullptr;
    FFEngine->OnProgress = nullptr;
    FFEngine->OnTerminate = nullptr;
    EngineStop(true);
    FFLogger->OnLog = nullptr;
    CanClose = true;
}

void TForm1::Button6Click(TObject*) { FPresets->Button6Click(); }

void TForm1::Button15Click(TObject*)
{
    for (String& marker : SlotMarker) marker = SlotFree;
}

int TForm1::FreeSlot() const
{
    for (int i = 0; i < JobSlotCount; ++i)
        if (SlotMarker[size_t(i)] == SlotFree) return i;
    return -1;
}

int TForm1::TakeSlot(const TInputOptions& AInput, const TOutputOptions& AOutput)
{
    const int slot = FreeSlot();
    if (slot < 0) return -1;
    IO1[size_t(slot)] = AInput;
    OO1[size_t(slot)] = AOutput;
    SlotMarker[size_t(slot)] = SlotFull;
    return slot;
}

void TForm1::MarkSlotDeleted(int ARow)
{
    if (ARow >= 0 && ARow < JobSlotCount) SlotMarker[size_t(ARow)] = SlotDeleted;
}

void TForm1::SetSlotRecords(int ASlot, const TInputOptions& AInput, const TOutputOptions& AOutput)
{
    if (ASlot < 0 || ASlot >= JobSlotCount) return;
    IO1[size_t(ASlot)] = AInput;
    OO1[size_t(ASlot)] = AOutput;
}

int TForm1::InfoMessage(const String& AMsg) { return bsSkinMessage1->MessageDlg2(AMsg, "提示", mtInformation, {mbOK}, 0); }

void TForm1::EngineRemoveTask(int ATaskIndex) { FFEngine->RemoveTask(ATaskIndex); }
void TForm1::EngineClearTasks() { FFEngine->ClearTasks(); }
void TForm1::EngineStop(bool AWaitFor) { FFEngine->Stop(AWaitFor); }
void TForm1::EngineSetPreview(bool APreview) { FFEngine->SetPreview(APreview); }
