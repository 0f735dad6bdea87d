// The main window's preview panel: the player opened on the selected job's file inside
// Panel6, its buttons, the seek slider and volume, the player's events; and snapshots of
// the picture shown, with their settings menu and the section "SnapShot" of the
// settings file; the off-screen capture under a chosen name.
#include "app/forms/FormBuild.h"
#include "app/forms/OptionFile.h"
#include "app/forms/PreviewRules.h"
#include "app/forms/Unit1.h"

#include "engine/probe/AVProbe.h"
#include "engine/player/FFPlay.h"
#include "platform/forms/Menus.h"
#include "platform/graphics/Graphics.h"
#include "platform/shell/ShellAPI.h"
#include "platform/system/Classes.h"
#include "platform/system/Paths.h"
#include "platform/system/SysUtils.h"
#include "platform/windows/WinPaint.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/controls/bsSkinExCtrls.h"
#include "skin/dialogs/bsSkinShellDialogs.h"
#include "skin/menus/bsSkinMenus.h"

#include <algorithm>
#include <memory>

namespace {

// Appends text to the log, one memo line per line of the text.
void AddLog(TForm1* AForm, const String& AText)
{
    size_t start = 0;
    while (start <= AText.size()) {
        size_t end = AText.find('\n', start);
        if (end == String::npos) end = AText.size();
        String line = AText.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (end < AText.size() || !line.empty()) AForm->mmoLog->Lines()->Add(line);
        start = end + 1;
    }
}

const char* StateName(TPlayState AState)
{
    switch (AState) {
    case psPlay: return "Play";
    case psPause: return "Pause";
    case psResume: return "Resume";
    case psStep: return "Step";
    case psStop: return "Stop";
    case psEnd: return "End";
    }
    return "";
}

TVideoDriver VideoDriverOf(int AItem) { return AItem == 1 ? vdDirectDraw : AItem == 2 ? vdGDI : vdDefault; }
TAudioDriver AudioDriverOf(int AItem) { return AItem == 1 ? adDirectSound : AItem == 2 ? adWaveOut : adDefault; }

}  // namespace

// ---- the player panel ---------------------------------------------------------------------

void TForm1::BindPreviewEvents()
{
    // The stream lists and the time labels lie with the other steering controls.
    cboVideo = Place<TComboBox>(this, Panel5, "cboVideo", 196, 312, 90, 21);
    cboAudio = Place<TComboBox>(this, Panel5, "cboAudio", 292, 312, 90, 21);
    cboSubtitle = Place<TComboBox>(this, Panel5, "cboSubtitle", 196, 340, 90, 21);
    for (TComboBox* box : {cboVideo, cboAudio, cboSubtitle}) {
        box->SetStyle(csDropDownList);
        box->SetEnabled(false);
    }
    Label2 = Place<TLabel>(this, Panel5, "Label2", 292, 340, 90, 16);
    Label3 = Place<TLabel>(this, Panel5, "Label3", 292, 360, 90, 16);
    Label2->SetCaption("N/A");
    Label3->SetCaption("N/A");

    bsSkinButton13->OnClick = [this](TObject* Sender) { bsSkinButton13Click(Sender); };
    bsSkinButton14->OnClick = [this](TObject* Sender) { bsSkinButton14Click(Sender); };
    bsSkinButton15->OnClick = [this](TObject* Sender) { bsSkinButton15Click(Sender); };
    bsSkinButton16->OnClick = [this](TObject* Sender) { bsSkinButton16Click(Sender); };
    bsSkinButton20->OnClick = [this](TObject* Sender) { bsSkinButton20Click(Sender); };
    bsSkinSlider1->OnMouseDown = [this](TObject* Sender, TMouseButton B, TShiftState S, int X, int Y) {
        bsSkinSlider1MouseDown(Sender, B, S, X, Y);
    };
    bsSkinSlider1->OnMouseUp = [this](TObject* Sender, TMouseButton B, TShiftState S, int X, int Y) {
        bsSkinSlider1MouseUp(Sender, B, S, X, Y);
    };
    TrackBar2->OnChange = [this](TObject* Sender) { TrackBar2Change(Sender); };
    FFPlayer->OnFileOpen = [this](TObject* Sender, int64_t D, int W, int H, int& SW, int& SH) {
        FFPlayerFileOpen(Sender, D, W, H, SW, SH);
    };
    FFPlayer->OnPosition = [this](TObject* Sender, int64_t APTS) { FFPlayerPosition(Sender, APTS); };
    FFPlayer->OnState = [this](TObject* Sender, TPlayState AState) { FFPlayerState(Sender, AState); };

    // Snapshots and their settings menu (also the settings button's context menu).
    bsSkinButton22->OnClick = [this](TObject* Sender) { bsSkinButton22Click(Sender); };
    bsSkinButton23->OnMouseDown = [this](TObject* Sender, TMouseButton B, TShiftState S, int X, int Y) {
        bsSkinButton23MouseDown(Sender, B, S, X, Y);
    };
    bsSkinButton23->OnClick = [this](TObject* Sender) { bsSkinButton23Click(Sender); };
    bsSkinButton23->SetPopupMenu(bsSkinPopupMenu2);
    MenuItem1->OnClick = [this](TObject* Sender) { MenuItem1Click(Sender); };
    MenuItem2->OnClick = [this](TObject* Sender) { MenuItem2Click(Sender); };
    for (TMenuItem* item : {BMP1, JPG1, GIF1, PNG1})
        item->OnClick = [this](TObject* Sender) { SnapshotFormatClick(Sender); };

    // The capture asks for its file through the skinned save-picture dialog.
    btnCapture = Place<TButton>(this, Panel5, "btnCapture", 8, 392, 90, 25);
    btnCapture->SetCaption("Capture");
    btnCapture->OnClick = [this](TObject* Sender) { btnCaptureClick(Sender); };
    SavePictureDialog1 = new TbsSkinSavePictureDialog(this);
    SavePictureDialog1->SetName("SavePictureDialog1");
    SavePictureDialog1->SetSkinData(bsSkinData1);
    SavePictureDialog1->SetCtrlSkinData(bsSkinData1);
    SavePictureDialog1->SetFilter("Bitmaps (*.bmp)|*.bmp|JPEG Image File |*.jpg;*.jpeg");
    SavePictureDialog1->SetFilterIndex(1);
    SavePictureDialog1->SetDefaultExt("bmp");
    SavePictureDialog1->SetOverwritePromt(true);
    SavePictureDialog1->SetCheckFileExists(false);
    // The program's other file dialogs' look: the list header from the button record.
    SavePictureDialog1->SetLVHeaderSkinDataName("resizebutton");
    SavePictureDialog1->DefaultFont()->SetName("Arial");
    SavePictureDialog1->DefaultFont()->SetHeight(14);

    // The player's picture follows the window (after the window's own handling).
    TWndMethod inherited = WindowProc;
    WindowProc = [this, inherited](TMessage& Message) {
        inherited(Message);
        if ((Message.Msg == WM_WINDOWPOSCHANGING || Message.Msg == WM_WINDOWPOSCHANGED) &&
            !ComponentState().Contains(csDestroying) && FFPlayer)
            FFPlayer->UpdateScreenPosition();
    };
}

void TForm1::Button31Click(TObject*)
{
    if (!FFPlayer->AVLibLoaded() && !FFPlayer->LoadAVLib(ProgramFolder() + "LibAV")) {
        AddLog(this, FFPlayer->LastErrMsg());
        return;
    }
    // The screen list names a windowed child of the window; the picture still goes to
    // Panel6, the list only decides the screen size reported at the open.
    FScreenControl = nullptr;
    const int screen = cboScreens->ItemIndex();
    const String screenName = screen >= 0 ? cboScreens->Items()->Strings(screen) : String();
    for (int i = 0; i < ControlCount() && !FScreenControl; ++i) {
        auto* child = dynamic_cast<TWinControl*>(Controls(i));
        if (child && child->Name() == screenName) FScreenControl = child;
    }
    // A job's file that has gone since it was added is reported here, before any of the
    // player's threads start for it.
    if (!FileExists(T_Movie_PLayer_FileName)) {
        AddLog(this, T_Movie_PLayer_FileName + ": No such file or directory");
        return;
    }
    FFPlayer->SetVideoDriver(VideoDriverOf(cboVideoDriver->ItemIndex()));
    FFPlayer->SetAudioDriver(AudioDriverOf(cboAudioDriver->ItemIndex()));
    if (!FFPlayer->Open(T_Movie_PLayer_FileName, Panel6->Handle(), chkOpenPaused->Checked()))
        AddLog(this, FFPlayer->LastErrMsg());
}

void TForm1::StopPreview() { FFPlayer->Stop(true); }

void TForm1::ResetSeekSlider() { bsSkinSlider1->SetValue(0); }

void TForm1::bsSkinButton13Click(TObject*)
{
    FFPlayer->Resume();
    FocusIfAble(lvFiles);
}

void TForm1::bsSkinButton14Click(TObject*)
{
    FFPlayer->Pause();
    FocusIfAble(lvFiles);
}

void TForm1::bsSkinButton15Click(TObject*)
{
    if (lvFiles->ItemIndex() >= 0) {
        try {
            FFPlayer->Stop(true);
            if (!FFPlayer->Open(T_Movie_PLayer_FileName, Panel6->Handle(), chkOpenPaused->Checked()))
                AddLog(this, FFPlayer->LastErrMsg());
        } catch (const Exception&) {
            FFPlayer->Stop(true);
        }
    }
    FocusIfAble(lvFiles);
}

void TForm1::bsSkinButton16Click(TObject*)
{
    FFPlayer->SetMute(true);
    bsSkinButton16->SetVisible(false);
    bsSkinButton20->SetVisible(true);
}

void TForm1::bsSkinButton20Click(TObject*)
{
    FFPlayer->SetMute(false);
    bsSkinButton20->SetVisible(false);
    bsSkinButton16->SetVisible(true);
}

void TForm1::bsSkinSlider1MouseDown(TObject*, TMouseButton AButton, TShiftState, int X, int Y)
{
    bsSkinSlider1_down_UP = "Down";
    FFPlayer->Pause();
    // A press on the track beside the thumb puts the thumb's centre under the pointer, so
    // the thumb is held from there and letting go seeks to that place (rather than paging
    // the slider by its small step).
    TbsSkinSlider* s = bsSkinSlider1;
    const TRect thumb = s->ThumbRect();
    if (AButton != mbLeft || thumb.Contains(TPoint(X, Y)) || !s->Ruler()) return;
    const int length = s->Ruler()->Width() - thumb.Width();
    if (length <= 0) return;
    const int offset = X - thumb.Width() / 2 - s->RulerOrg().X;
    s->SetValue(std::clamp(MulDiv(offset, s->MaxValue() - s->MinValue(), length) + s->MinValue(), s->MinValue(),
                           s->MaxValue()));
}

void TForm1::bsSkinSlider1MouseUp(TObject*, TMouseButton, TShiftState, int, int)
{
    FFPlayer->Pause();
    FFPlayer->Seek(SeekTargetOfSlider(FDuration, bsSkinSlider1->Value(), bsSkinSlider1->MaxValue()), TSeekFlags{}, false);
    FFPlayer->Resume();
    bsSkinSlider1_down_UP = "UP";
}

void TForm1::TrackBar2Change(TObject*) { FFPlayer->SetAudioVolume(TrackBar2->Position()); }

void TForm1::FFPlayerFileOpen(TObject*, int64_t ADuration, int AFrameWidth, int AFrameHeight, int& AScreenWidth,
                              int& AScreenHeight)
{
    if (TAVProbe* probe = FFPlayer->AVProbe()) AddLog(this, probe->FileInfoText());
    AddLog(this, Format("duration: %f, frame size: %dx%d", double(ADuration) / 1000000.0, AFrameWidth, AFrameHeight));
    if (FScreenControl) {
        AScreenWidth = FScreenControl->Width();
        AScreenHeight = FScreenControl->Height();
    } else {
        AScreenWidth = Screen->Width();
        AScreenHeight = Screen->Height();
    }
    FDuration = ADuration;
    Label2->SetCaption(Format("%f", double(ADuration) / 1000000.0));
    Label3->SetCaption("0.0");
    bsSkinSlider1->SetIncrement(5);
    bsSkinSlider1->SetMaxValue(bsSkinSlider1->Width());
    bsSkinSlider1->SetValue(0);

    std::vector<TStreamKind> streams;
    if (TAVProbe* probe = FFPlayer->AVProbe())
        for (int i = 0; i < probe->StreamCount(); ++i)
            streams.push_back(probe->IsVideoStream(i)      ? TStreamKind::Video
                              : probe->IsAudioStream(i)    ? TStreamKind::Audio
                              : probe->IsSubtitleStream(i) ? TStreamKind::Subtitle
                                                           : TStreamKind::Other);
    FillStreamLists(streams, FFPlayer->VideoStreamIndex(), FFPlayer->AudioStreamIndex(),
                    FFPlayer->SubtitleStreamIndex(), cboVideo, cboAudio, cboSubtitle);
}

void TForm1::FFPlayerPosition(TObject*, int64_t APTS)
{
    if (bsSkinSlider1_down_UP != "UP") return;
    Label3->SetCaption(Format("%f", double(APTS) / 1000000.0));
    const int value = SliderValueOfPosition(APTS, FDuration, bsSkinSlider1->MaxValue());
    if (value >= 0) bsSkinSlider1->SetValue(value);
}

void TForm1::FFPlayerState(TObject*, TPlayState AState)
{
    AddLog(this, StateName(AState));
    switch (AState) {
    case psPlay:
    case psResume:
        if (chkStayOnTop->Checked()) SetFormStyle(fsStayOnTop);
        break;
    case psPause:
    case psStep: SetFormStyle(fsNormal); break;
    case psStop:
        SetFormStyle(fsNormal);
        if (HWND screen = FFPlayer->ScreenHandle()) {
            PostMessage(screen, CM_INVALIDATE, 0, 0);
            UpdateWindow(screen);
        }
        break;
    case psEnd:
        // The file rests at its start.
        FFPlayer->Seek(int64_t(0), TSeekFlags{sfAny}, false);
        FFPlayer->Pause();
        break;
    }
}

// ---- snapshots --------------------------------------------------------------------------

String TForm1::SnapshotFolder()
{
    using namespace OptionKeys;
    if (OptionFileExists()) {
        // A stored folder that is not an absolute path (a Windows path, a relative name)
        // counts as missing.
        const String stored = ReadOption(SnapShot, SnapShotDir);
        if (!OptionValueMissing(stored) && IsUsableFolderPath(stored)) {
            MakeFolder(stored);
            return stored;
        }
    }
    const String folder = DefaultSnapshotFolder();
    MakeFolder(folder);
    WriteOption(SnapShot, SnapShotDir, folder);
    return folder;
}

String TForm1::SnapshotFormat()
{
    using namespace OptionKeys;
    String format = OptionFileExists() ? ReadOption(SnapShot, SnapShotPicture) : String();
    if (!IsSnapshotFormat(format)) {
        format = "BMP";
        WriteOption(SnapShot, SnapShotPicture, format);
    }
    TMenuItem* item = format == "JPG" ? JPG1 : format == "GIF" ? GIF1 : format == "PNG" ? PNG1 : BMP1;
    item->SetChecked(true);
    return format;
}

String TForm1::TakeSnapshot()
{
    auto frame = std::make_unique<TBitmap>();
    frame->Assign(FFPlayer->CurrentFrame());
    const String folder = SnapshotFolder();
    const String format = SnapshotFormat();
    if (frame->Width() < 1) return String();
    return WriteSnapshotFile(folder, SnapshotBaseName(T_Movie_PLayer_FileName), SnapshotExtension(format),
                             EncodeSnapshot(frame.get(), format));
}

void TForm1::bsSkinButton22Click(TObject*) { TakeSnapshot(); }

void TForm1::bsSkinButton23MouseDown(TObject*, TMouseButton Button, TShiftState, int, int)
{
    if (Button != mbLeft) return;
    const TPoint at = GetCursorPos();
    bsSkinPopupMenu2->Popup(at.X, at.Y);
}

void TForm1::bsSkinButton23Click(TObject*) { SnapshotFormat(); }

void TForm1::MenuItem1Click(TObject*)
{
    ShellExecute(Handle(), "open", SnapshotFolder(), "", "", SW_SHOWNORMAL);
}

void TForm1::MenuItem2Click(TObject*)
{
    // The dialog is the one the output folder's "浏览..." uses; only an accepted choice of
    // an existing folder is stored, so a cancelled dialog changes nothing.
    String folder;
    const bool accepted = SelectOutputFolder ? SelectOutputFolder(folder) : RunOutputFolderDialog(folder);
    if (accepted && DirectoryExists(folder)) WriteOption(OptionKeys::SnapShot, OptionKeys::SnapShotDir, folder);
}

void TForm1::SnapshotFormatClick(TObject* Sender)
{
    const String format = Sender == JPG1 ? "JPG" : Sender == GIF1 ? "GIF" : Sender == PNG1 ? "PNG" : "BMP";
    WriteOption(OptionKeys::SnapShot, OptionKeys::SnapShotPicture, format);
    static_cast<TMenuItem*>(Sender)->SetChecked(true);
}

void TForm1::btnCaptureClick(TObject*)
{
    auto frame = std::make_unique<TBitmap>();
    frame->Assign(FFPlayer->CurrentFrame());
    if (frame->Width() < 1) return;
    String name;
    const bool accepted = SelectCaptureFile ? SelectCaptureFile(name) : [&] {
        if (!SavePictureDialog1->Execute()) return false;
        name = SavePictureDialog1->FileName();
        return true;
    }();
    if (!accepted || name.empty()) return;
    // The dialog asked before a file is replaced; the file is replaced whole or not at
    // all, so a failed write keeps the old one.
    const bool bitmap = SameText(ExtractFileExt(name), ".bmp");
    const std::vector<uint8_t> data = EncodeSnapshot(frame.get(), bitmap ? "BMP" : "JPG");
    WriteFileAtomic(name, std::string_view(reinterpret_cast<const char*>(data.data()), data.size()));
}
