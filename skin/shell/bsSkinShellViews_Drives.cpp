// The drive box: the mounted drives read from the mount table, their kinds and volume
// labels, each item drawn with its drive picture; linked to a folder list both ways.
#include <dirent.h>
#include <limits.h>
#include <stdlib.h>

#include <algorithm>
#include <cstring>

#include "platform/shell/ShlObj.h"
#include "platform/system/Classes.h"
#include "platform/system/SysUtils.h"
#include "skin/shell/bsSkinShellViews.h"
#include "skin/shell/bsSkinShellViews_Guards.h"

namespace {

// A field of the mount table: blanks and other special characters stand as "\ooo".
String DecodeOctalEscapes(const String& S)
{
    String R;
    for (size_t I = 0; I < S.size(); ++I) {
        if (S[I] == '\\' && I + 3 < S.size() &&
            std::all_of(S.begin() + long(I) + 1, S.begin() + long(I) + 4, [](char C) { return C >= '0' && C <= '7'; })) {
            R += char((S[I + 1] - '0') * 64 + (S[I + 2] - '0') * 8 + (S[I + 3] - '0'));
            I += 3;
        } else {
            R += S[I];
        }
    }
    return R;
}

int HexDigit(char C)
{
    if (C >= '0' && C <= '9') return C - '0';
    if (C >= 'a' && C <= 'f') return C - 'a' + 10;
    if (C >= 'A' && C <= 'F') return C - 'A' + 10;
    return -1;
}

// A name of udev's label links: blanks, "/" and other characters stand as "\xHH".
String DecodeHexEscapes(const String& S)
{
    String R;
    for (size_t I = 0; I < S.size(); ++I) {
        if (S[I] == '\\' && I + 3 < S.size() && S[I + 1] == 'x' &&
            HexDigit(S[I + 2]) >= 0 && HexDigit(S[I + 3]) >= 0) {
            R += char(HexDigit(S[I + 2]) * 16 + HexDigit(S[I + 3]));
            I += 3;
        } else {
            R += S[I];
        }
    }
    return R;
}

TbsDriveType DriveTypeOf(const String& Point, const String& FsType)
{
    static const char* const Remote[] = {"nfs", "nfs4", "cifs", "smb3", "smbfs", "sshfs", "fuse.sshfs", "9p",
                                         "afs", "ceph", "glusterfs", "fuse.glusterfs", "davfs", "fuse.davfs"};
    static const char* const Disc[] = {"iso9660", "udf"};
    static const char* const Memory[] = {"tmpfs", "ramfs"};
    auto In = [&](auto& List) {
        return std::any_of(std::begin(List), std::end(List), [&](const char* T) { return FsType == T; });
    };
    if (In(Remote)) return bsdtRemote;
    if (In(Disc)) return bsdtCDROM;
    if (In(Memory)) return bsdtRAM;
    for (const String& R : ShellEnvironment().RemovableRoots)
        if (Point.compare(0, R.size(), R) == 0) return bsdtRemovable;
    return bsdtFixed;
}

TbsDriveSource& DriveSource()
{
    static TbsDriveSource S;
    return S;
}

}  // namespace

std::vector<TbsDriveInfo> DrivesFromMountTable(const String& Table, const std::map<String, String>& Labels)
{
    struct TMount {
        String Device, FsType;
    };
    std::map<String, TMount> Mounts;  // the last mount at a point is the one in force
    size_t Pos = 0;
    while (Pos < Table.size()) {
        size_t End = Table.find('\n', Pos);
        if (End == String::npos) End = Table.size();
        const String Line = Table.substr(Pos, End - Pos);
        Pos = End + 1;
        std::vector<String> Fields;
        size_t P = 0;
        while (P < Line.size() && Fields.size() < 3) {
            size_t Q = Line.find(' ', P);
            if (Q == String::npos) Q = Line.size();
            if (Q > P) Fields.push_back(Line.substr(P, Q - P));
            P = Q + 1;
        }
        if (Fields.size() < 3) continue;
        Mounts[DecodeOctalEscapes(Fields[1])] = TMount{DecodeOctalEscapes(Fields[0]), Fields[2]};
    }
    std::vector<TbsDriveInfo> R;
    for (const String& Point : UserMountsFromTable(Table)) {
        TbsDriveInfo D;
        D.Root = Point;
        auto M = Mounts.find(Point);
        if (M != Mounts.end()) {
            D.Type = DriveTypeOf(Point, M->second.FsType);
            auto L = Labels.find(M->second.Device);
            if (L != Labels.end()) D.Label = L->second;
        }
        R.push_back(D);
    }
    return R;
}

std::map<String, String> VolumeLabelsIn(const String& Folder)
{
    std::map<String, String> R;
    DIR* D = opendir(Folder.c_str());
    if (!D) return R;
    while (dirent* E = readdir(D)) {
        if (E->d_name[0] == '.') continue;
        const String Link = JoinPathName(Folder, E->d_name);
        char Target[PATH_MAX];
        if (!realpath(Link.c_str(), Target)) continue;
        R[Target] = DecodeHexEscapes(E->d_name);
    }
    closedir(D);
    return R;
}

std::vector<TbsDriveInfo> SystemDrives()
{
    String Table;
    try {
        Table = ReadFileToString("/proc/self/mounts");
    } catch (const Exception&) {
        // no mount table: "/" alone
    }
    return DrivesFromMountTable(Table, VolumeLabelsIn("/dev/disk/by-label"));
}

void SetDriveSource(TbsDriveSource Source) { DriveSource() = std::move(Source); }

std::vector<TbsDriveInfo> CurrentDrives() { return DriveSource() ? DriveSource()() : SystemDrives(); }

// ---- the box ---------------------------------------------------------------------------------------------

TbsSkinDriveComboBox::TbsSkinDriveComboBox(TComponent* AOwner) : TbsSkinComboBox(AOwner)
{
    SetOnListBoxDrawItem([this](TCanvas* C, int I, int W, int H, TRect R, TOwnerDrawState S) {
        DrawDriveItem(C, I, W, H, R, S);
    });
    OnComboBoxDrawItem = [this](TCanvas* C, int I, int W, int H, TRect R, TOwnerDrawState S) {
        DrawDriveItem(C, I, W, H, R, S);
    };
    FloppyBMP = bsshell::LoadNamedPicture("BS_FLOPPY");
    FixedBMP = bsshell::LoadNamedPicture("BS_HARD");
    NetworkBMP = bsshell::LoadNamedPicture("BS_NETWORK");
    CDROMBMP = bsshell::LoadNamedPicture("BS_CDROM");
    RAMBMP = bsshell::LoadNamedPicture("BS_RAM");
    FDrives = CurrentDrives();
    FDrive = DriveOf(bsGetCurrentDir());
}

TbsSkinDriveComboBox::~TbsSkinDriveComboBox()
{
    if (FDirList) FDirList->FDriveCombo = nullptr;
}

String TbsSkinDriveComboBox::DriveOf(const String& Path) const
{
    String Best;
    for (const TbsDriveInfo& D : FDrives) {
        const String& R = D.Root;
        const bool Under = Path == R || (Path.compare(0, R.size(), R) == 0 && (R == "/" || Path[R.size()] == '/'));
        if (Under && R.size() > Best.size()) Best = R;
    }
    return Best;
}

String TbsSkinDriveComboBox::DriveText(const TbsDriveInfo& D) const
{
    if (D.Type == bsdtRemovable || D.Label.empty()) return D.Root;
    const String Label = FTextCase == tcUpperCase ? UpperCase(D.Label) : LowerCase(D.Label);
    return D.Root + " [" + Label + "]";
}

TBitmap* TbsSkinDriveComboBox::DriveBitmap(TbsDriveType Type) const
{
    switch (Type) {
    case bsdtRemovable: return FloppyBMP.get();
    case bsdtRemote: return NetworkBMP.get();
    case bsdtCDROM: return CDROMBMP.get();
    case bsdtRAM: return RAMBMP.get();
    case bsdtFixed: break;
    }
    return FixedBMP.get();
}

void TbsSkinDriveComboBox::BuildDriveList()
{
    FDrives = CurrentDrives();
    TStrings* S = Items();
    S->BeginUpdate();
    S->Clear();
    for (const TbsDriveInfo& D : FDrives) S->AddObject(DriveText(D), DriveBitmap(D.Type));
    S->EndUpdate();
}

void TbsSkinDriveComboBox::SetDrive(const String& NewDrive)
{
    if (ItemIndex() >= 0 && NewDrive == FDrive) return;
    int Index = -1;
    for (size_t I = 0; I < FDrives.size() && I < size_t(Items()->Count()); ++I)
        if (FDrives[I].Root == NewDrive) {
            Index = int(I);
            break;
        }
    FDrive = Index >= 0 ? NewDrive : String();
    {
        bsshell::TFlag Setting(FSettingDrive);
        SetItemIndex(Index);
    }
    if (FDirList) FDirList->DriveChanged(FDrive);
    TbsSkinComboBox::Change();
}

void TbsSkinDriveComboBox::Change()
{
    if (FSettingDrive) return;
    // a drive chosen in the box
    const int I = ItemIndex();
    if (I >= 0 && I < int(FDrives.size()))
        SetDrive(FDrives[size_t(I)].Root);
    else
        TbsSkinComboBox::Change();
}

void TbsSkinDriveComboBox::SetTextCase(TTextCase Value)
{
    FTextCase = Value;
    const String Old = FDrive;
    BuildDriveList();
    FDrive.clear();
    SetDrive(Old);
}

void TbsSkinDriveComboBox::SetDirList(TbsSkinDirectoryListBox* Value)
{
    if (FDirList) FDirList->FDriveCombo = nullptr;
    FDirList = Value;
    if (FDirList) {
        FDirList->FDriveCombo = this;
        FDirList->FreeNotification(this);
    }
}

void TbsSkinDriveComboBox::Notification(TComponent* AComponent, TOperation Operation)
{
    TbsSkinComboBox::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FDirList) FDirList = nullptr;
}

void TbsSkinDriveComboBox::CreateWnd()
{
    TbsSkinComboBox::CreateWnd();
    BuildDriveList();
    const String Old = FDrive;
    FDrive.clear();
    SetDrive(Old);
}

void TbsSkinDriveComboBox::DrawDriveItem(TCanvas* C, int Index, int, int, TRect R, TOwnerDrawState)
{
    if (Index < 0 || Index >= Items()->Count()) return;
    auto* Bmp = dynamic_cast<TBitmap*>(Items()->Objects(Index));
    int Left = R.Left;
    if (Bmp) {
        C->Draw(R.Left, R.Top + (R.Height() - Bmp->Height()) / 2, Bmp);
        Left += Bmp->Width();
    }
    C->Brush()->SetStyle(bsClear);
    C->TextOut(Left + 6, R.Top + (R.Height() - C->TextHeight("Wg")) / 2, Items()->Strings(Index));
}
