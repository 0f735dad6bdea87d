// The drive box: drives read from a mount table with their kinds and labels, labels read
// from a folder of label links, the items with their pictures and cased labels, and the
// links with a folder list both ways.
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "skin/shell/bsSkinShellViews.h"
#include "controls/skinctl_support.h"
#include "test_files.h"

using namespace skinctl;

namespace {

TEST(DriveTable, MountsOfComputerWithTheirKindsAndLabels)
{
    const String Table = "/dev/sda1 / ext4 rw 0 0\n"
                         "proc /proc proc rw 0 0\n"
                         "/dev/sda2 /home ext4 rw 0 0\n"
                         "/dev/sdb1 /media/me/STICK vfat rw 0 0\n"
                         "server:/share /mnt/nas nfs4 rw 0 0\n"
                         "/dev/sr0 /mnt/cd iso9660 ro 0 0\n"
                         "tmpfs /mnt/ram tmpfs rw 0 0\n"
                         "/dev/sdc1 /mnt/My\\040Disk ext4 rw 0 0\n"
                         "short line\n";
    const std::map<String, String> Labels{{"/dev/sda1", "System"}, {"/dev/sdc1", "数据"}, {"/dev/sdb1", "STICK"}};
    const std::vector<TbsDriveInfo> D = DrivesFromMountTable(Table, Labels);
    struct Want {
        const char* Root;
        TbsDriveType Type;
        const char* Label;
    } Cases[] = {
        {"/", bsdtFixed, "System"},          {"/media/me/STICK", bsdtRemovable, "STICK"},
        {"/mnt/nas", bsdtRemote, ""},        {"/mnt/cd", bsdtCDROM, ""},
        {"/mnt/ram", bsdtRAM, ""},           {"/mnt/My Disk", bsdtFixed, "数据"},
    };
    ASSERT_EQ(D.size(), std::size(Cases));
    for (size_t I = 0; I < D.size(); ++I) {
        EXPECT_EQ(D[I].Root, Cases[I].Root);
        EXPECT_EQ(D[I].Type, Cases[I].Type) << Cases[I].Root;
        EXPECT_EQ(D[I].Label, Cases[I].Label) << Cases[I].Root;
    }
    // no table at all: the root alone, without a label
    const std::vector<TbsDriveInfo> None = DrivesFromMountTable("", {});
    ASSERT_EQ(None.size(), 1u);
    EXPECT_EQ(None[0].Root, "/");
    EXPECT_EQ(None[0].Label, "");
}

TEST(DriveTable, LabelsFromTheLinksOfALabelFolder)
{
    const String Dir = vctest::ScratchDir("drivelabels");
    std::filesystem::create_directories(Dir + "/dev");
    std::filesystem::create_directories(Dir + "/by-label");
    for (const char* D : {"sda1", "sdb1"}) std::ofstream(Dir + "/dev/" + D) << "";
    std::filesystem::create_symlink("../dev/sda1", Dir + "/by-label/My\\x20Disk");
    std::filesystem::create_symlink(Dir + "/dev/sdb1", Dir + "/by-label/视频");
    std::filesystem::create_symlink("../dev/gone", Dir + "/by-label/Gone");
    const std::map<String, String> L = VolumeLabelsIn(Dir + "/by-label");
    EXPECT_EQ(L, (std::map<String, String>{{Dir + "/dev/sda1", "My Disk"}, {Dir + "/dev/sdb1", "视频"}}));
    EXPECT_TRUE(VolumeLabelsIn(Dir + "/missing").empty());
    std::error_code E;
    std::filesystem::remove_all(Dir, E);
}

class DriveBoxTest : public SkinCtlTest {
protected:
    void SetUp() override
    {
        SkinCtlTest::SetUp();
        Saved = bsGetCurrentDir();
        Root = vctest::ScratchDir("drivebox");
        for (const char* D : {"fixed/sub", "stick/photos"}) std::filesystem::create_directories(Root + "/" + D);
        SetDriveSource([this] {
            return std::vector<TbsDriveInfo>{{"/", bsdtFixed, ""},
                                             {Root + "/fixed", bsdtFixed, "Data"},
                                             {Root + "/stick", bsdtRemovable, "Stick"}};
        });
    }
    void TearDown() override
    {
        SetDriveSource(nullptr);
        bsChDir(Saved);
        std::error_code E;
        std::filesystem::remove_all(Root, E);
        SkinCtlTest::TearDown();
    }
    std::vector<String> Texts(TbsSkinDriveComboBox* B)
    {
        std::vector<String> R;
        for (int I = 0; I < B->Items()->Count(); ++I) R.push_back(B->Items()->Strings(I));
        return R;
    }
    String Saved, Root;
};

TEST_F(DriveBoxTest, ItemsCarryPicturesAndCasedLabels)
{
    bsChDir(Root + "/fixed/sub");
    auto* B = Make<TbsSkinDriveComboBox>(Rect(0, 0, 250, 22));
    Pump();
    EXPECT_EQ(Texts(B), (std::vector<String>{"/", Root + "/fixed [data]", Root + "/stick"}));
    EXPECT_EQ(B->Drive(), Root + "/fixed");
    EXPECT_EQ(B->ItemIndex(), 1);
    EXPECT_EQ(B->Items()->Objects(1), B->DriveBitmap(bsdtFixed));
    EXPECT_EQ(B->Items()->Objects(2), B->DriveBitmap(bsdtRemovable));
    EXPECT_NE(B->DriveBitmap(bsdtRemovable), B->DriveBitmap(bsdtFixed));
    B->SetTextCase(tcUpperCase);
    EXPECT_EQ(B->Items()->Strings(1), Root + "/fixed [DATA]");
    EXPECT_EQ(B->Drive(), Root + "/fixed");
    EXPECT_EQ(B->DriveOf(Root + "/stick/photos"), Root + "/stick");
    EXPECT_EQ(B->DriveOf(Root + "/sticky"), "/");
}

TEST_F(DriveBoxTest, DriveAndFolderListFollowEachOther)
{
    bsChDir(Root + "/fixed");
    auto* B = Make<TbsSkinDriveComboBox>(Rect(0, 0, 250, 22));
    auto* L = Make<TbsSkinDirectoryListBox>(Rect(0, 30, 250, 200));
    Pump();
    B->SetDirList(L);
    EXPECT_EQ(L->DriveCombo(), B);
    int Changes = 0;
    L->OnChange = [&](TObject*) { ++Changes; };
    // a drive chosen in the box: the list moves to it
    B->SetItemIndex(2);
    EXPECT_EQ(B->Drive(), Root + "/stick");
    EXPECT_EQ(L->Directory(), Root + "/stick");
    EXPECT_EQ(Changes, 1);
    // a folder on another drive chosen in the list: the box shows that drive
    L->SetDirectory(Root + "/fixed/sub");
    EXPECT_EQ(L->Directory(), Root + "/fixed/sub");
    EXPECT_EQ(B->Drive(), Root + "/fixed");
    EXPECT_EQ(B->ItemIndex(), 1);
    // a drive that cannot be entered leaves the list where it was
    SetDriveSource([this] { return std::vector<TbsDriveInfo>{{"/", bsdtFixed, ""}, {Root + "/gone", bsdtFixed, ""}}; });
    B->BuildDriveList();
    B->SetDrive(Root + "/gone");
    EXPECT_EQ(L->Directory(), Root + "/fixed/sub");
    delete L;
    EXPECT_EQ(B->DirList(), nullptr);
}

} // namespace
