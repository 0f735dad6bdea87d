// The skin folder: reading, writing, the form-frame corrections, what is accepted as a
// skin, damaged folders, and saves that would lose data.
#include "skindata_support.h"

#include <sys/stat.h>

#include <filesystem>

using namespace skintest;

namespace {

TEST(SkinDataFolder, ReadsTheFolder)
{
    TempDir Dir;
    RecordingRoute Route;
    FakeForm Form("Form1");
    Route.Screen = {&Form};
    TbsSkinData D(nullptr);
    D.LoadFromFile(WriteFolderSkin(Dir.Path));
    EXPECT_FALSE(D.Empty);
    EXPECT_EQ(Route.Sequence(), (std::vector<unsigned>{SkinDataChanging, SkinDataChanged, SkinDataApplied}));
    EXPECT_EQ(D.SkinName, "Port default");
    EXPECT_EQ(D.FPicture->Width(), 200);
    EXPECT_TRUE(D.FInActivePicture->Empty());
    EXPECT_EQ(D.FMask->Height(), 150);
    ASSERT_EQ(D.FActivePictures.size(), 2u);
    EXPECT_EQ(D.FActivePicturesNames->Strings(1), "Glyphs.BMP");
    EXPECT_EQ(D.FActivePictures[1]->Width(), 9);  // found as glyphs.bmp
    EXPECT_EQ(D.StretchType, bsstVert);
    EXPECT_EQ(D.InActiveEffect, ieDarkness);
    EXPECT_EQ(D.PopupWindow->WindowPictureIndex, 1);
    EXPECT_EQ(D.HintWindow->FontName, "Verdana");
    EXPECT_EQ(D.FSkinColors->FcBtnFace, 15790320);
    EXPECT_EQ(D.FSkinColors->FcBtnText, clBtnText);
    ASSERT_EQ(D.ObjectList.size(), 3u);
    ASSERT_EQ(D.CtrlList.size(), 3u);
    auto* Close = dynamic_cast<TbsDataSkinStdButton*>(D.ObjectList[D.GetIndex("close")].get());
    ASSERT_NE(Close, nullptr);
    EXPECT_EQ(Close->DownRect, TRect(18, 75, 36, 91));
    auto* Button = dynamic_cast<TbsDataSkinButtonControl*>(D.CtrlList[D.GetControlIndex("button")].get());
    ASSERT_NE(Button, nullptr);
    EXPECT_EQ(Button->MorphKind, mkPush);
    EXPECT_TRUE(Button->FontStyle.Contains(fsItalic));
    EXPECT_NE(dynamic_cast<TbsDataSkinUpDownControl*>(D.CtrlList[1].get()), nullptr);
}

TEST(SkinDataFolder, WritingAndReadingAgainGivesTheSameSkin)
{
    TempDir Dir, Out1, Out2;
    TbsSkinData A(nullptr);
    A.LoadFromFile(WriteFolderSkin(Dir.Path));
    A.StoreToDisk(Out1.Path + "skin.ini");
    TbsSkinData B(nullptr);
    B.LoadFromFile(Out1.Path + "skin.ini");
    B.StoreToDisk(Out2.Path + "skin.ini");
    TbsSkinData C(nullptr);
    C.LoadFromFile(Out2.Path + "skin.ini");

    EXPECT_EQ(ReadBytes(Out1.Path + "skin.ini"), ReadBytes(Out2.Path + "skin.ini"));
    EXPECT_EQ(SkinText(&A), SkinText(&C));
    EXPECT_EQ(B.FSkinColors->FcBtnFace, 15790320);
    EXPECT_EQ(PictureBytes(A.FPicture.get()), PictureBytes(C.FPicture.get()));
    EXPECT_EQ(PictureBytes(A.FMask.get()), PictureBytes(C.FMask.get()));
    ASSERT_EQ(C.FActivePictures.size(), 2u);
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(PictureBytes(A.FActivePictures[i].get()), PictureBytes(C.FActivePictures[i].get()));
    // "ver" is written as 1 whatever was read; a key the colours do not know stays.
    TMemIniFile Written(Out1.Path + "skin.ini");
    EXPECT_EQ(Written.ReadString("VERSION", "ver", ""), "1");
    EXPECT_FALSE(Written.ValueExists("SKINCOLORS", "myown"));
    EXPECT_TRUE(std::filesystem::exists(Out1.Path + "Glyphs.BMP"));
}

TEST(SkinDataFolder, SaveKeepsWhatTheWriterDoesNotErase)
{
    TempDir Dir;
    TbsSkinData D(nullptr);
    FillSmallSkin(&D);
    String File = Dir.Path + "skin.ini";
    WriteBytes(File, "[Mine]\na=1\n[SKINCOLORS]\nforeign=9\n[button]\nold=1\n");
    D.SaveToFile(File);
    TMemIniFile I(File);
    EXPECT_EQ(I.ReadString("Mine", "a", ""), "1");
    EXPECT_EQ(I.ReadString("SKINCOLORS", "foreign", ""), "9");
    EXPECT_FALSE(I.ValueExists("button", "old"));
    EXPECT_EQ(I.ReadString("SKINCONTROLS", "0", ""), "button:button");
    EXPECT_EQ(I.ReadString("SKINCONTROLS", "1", ""), "memo:memo");
    EXPECT_EQ(I.ReadString("SKINOBJECTS", "1", ""), "close:stdbutton");
}

TEST(SkinDataFolder, FormInfoCorrections)
{
    struct Case {
        const char* Text;
        TRect Mask;
        TPoint HitLT, LT, RT;
    } Cases[] = {
        // A mask without its area takes the client rectangle; empty hit-test points the corners.
        {"mask=m.bmp\n[FORMINFO]\nclientrect=3,21,143,115\nlefttoppoint=5,25\nrightbottompoint=100,100\n",
         TRect(3, 21, 143, 115), TPoint(5, 25), TPoint(5, 25), TPoint(0, 21)},
        // A mask area grows to cover the client rectangle.
        {"mask=m.bmp\n[FORMINFO]\nclientrect=3,21,143,115\nmaskrectarea=5,5,100,200\nhittestlefttoppoint=1,1\n",
         TRect(3, 5, 143, 200), TPoint(1, 1), TPoint(0, 0), TPoint(0, 0)},
        // Without a mask the area and the hit-test points stay as read.
        {"mask=\n[FORMINFO]\nclientrect=3,21,143,115\nmaskrectarea=5,5,100,200\n", TRect(5, 5, 100, 200),
         TPoint(0, 0), TPoint(0, 0), TPoint(0, 0)},
        // Corner points are moved onto the client rectangle.
        {"mask=\n[FORMINFO]\nclientrect=3,21,143,115\nlefttoppoint=1,2\nrighttoppoint=150,2\n"
         "rightbottompoint=150,120\n",
         TRect(), TPoint(), TPoint(3, 21), TPoint(143, 21)},
        // ... unless the right-bottom point shares a coordinate with the left-top one.
        {"mask=\n[FORMINFO]\nclientrect=3,21,143,115\nlefttoppoint=1,2\nrighttoppoint=150,2\n"
         "rightbottompoint=1,120\n",
         TRect(), TPoint(), TPoint(1, 2), TPoint(150, 2)},
    };
    for (const Case& C : Cases) {
        TbsSkinData D(nullptr);
        auto I = Ini(String("[PICTURES]\n") + C.Text);
        D.FMaskName = I->ReadString("PICTURES", "mask", "");
        D.LoadFormInfo(I.get());
        EXPECT_EQ(D.MaskRectArea, C.Mask) << C.Text;
        EXPECT_EQ(D.HitTestLTPoint, C.HitLT) << C.Text;
        EXPECT_EQ(D.LTPoint, C.LT) << C.Text;
        EXPECT_EQ(D.RTPoint, C.RT) << C.Text;
    }
}

TEST(SkinDataFolder, WhatIsASkin)
{
    const String Head = "[VERSION]\nver=1\n[PICTURES]\npicture=\n[FORMINFO]\nclientrect=0,0,1,1\n"
                        "[SKINOBJECTS]\ncount=0\n";
    struct Case {
        String Text;
        bool Loads;
        std::vector<String> Controls;
    } Cases[] = {
        {Head, false, {}},
        {Head + "[SKINCONTROLS]\n", false, {}},
        {Head + "[SKINCONTROLS]\ncount=2\n0=button:button\n1=foo:gadget\n", true, {"button"}},
        {Head + "[SKINCONTROLS]\ncount=1\n0=panel\n", true, {}},
        {Head + "[SKINCONTROLS]\ncount=3\n0=a:panel\n2=c:panel\n", true, {"a", "c"}},
        {Head + "[SKINCONTROLS]\ncount=2147483647\n5=e:edit\n", true, {"e"}},
        {Head + "[SKINCONTROLS]\ncount=1\n0=Button:Button\n1=b:bevel\n", true, {}},
        {Head + "[SKINCONTROLS]\ncount=1\n0=x:y:panel\n", true, {}},
        {Head + "[SKINCONTROLS]\ncount=1\n0=:panel\n", true, {""}},
        {String("\0\xFF\xFE[VERSION\n\x01=\x02\n[]\n=\n", 20), false, {}},
    };
    for (const Case& C : Cases) {
        TempDir Dir;
        WriteBytes(Dir.Path + "s.ini", C.Text);
        RecordingRoute Route;
        FakeForm Form("Form1");
        Route.Screen = {&Form};
        TbsSkinData D(nullptr);
        AddControl<TbsDataSkinBevel>(&D, "old");
        D.Empty = false;
        D.LoadFromFile(Dir.Path + "s.ini");
        EXPECT_EQ(Route.Log.empty(), !C.Loads) << C.Text;
        std::vector<String> Names;
        for (auto& R : D.CtrlList) Names.push_back(R->IDName);
        EXPECT_EQ(Names, C.Loads ? C.Controls : std::vector<String>{"old"}) << C.Text;
    }
}

TEST(SkinDataFolder, AMissingFileIsNoSkin)
{
    RecordingRoute Route;
    FakeForm Form("Form1");
    Route.Screen = {&Form};
    TbsSkinData D(nullptr);
    D.LoadFromFile("/nonexistent/folder/skin.ini");
    EXPECT_TRUE(D.Empty);
    EXPECT_TRUE(Route.Log.empty());
}

// Damaged folders: a clear error, the old skin kept, no message to the forms.
TEST(SkinDataFolder, DamagedFoldersFailBeforeAnythingChanges)
{
    const String Good = FolderIni();
    auto Replace = [&](const String& From, const String& To) { return Replaced(Good, From, To); };
    struct Case {
        const char* Why;
        String Ini;
        const char* Frame;  // bytes of frame.bmp, nullptr: the good picture
    } Cases[] = {
        {"missing picture file", Replace("0=controls.bmp", "0=nothere.bmp"), nullptr},
        {"picture that is not a bitmap", Good, "this is not a bitmap"},
        {"empty picture file", Good, ""},
        {"empty rectangle value", Replace("skinrect=0,0,75,25", "skinrect="), nullptr},
        {"point with one field", Replace("lefttoppoint=3,3\nupbuttonrect", "lefttoppoint=3\nupbuttonrect"), nullptr},
        {"huge number in a rectangle", Replace("thumbrect=1,2,3,4", "thumbrect=1,2,3,99999999999"), nullptr},
        {"huge picture count", Replace("activepicturescount=2", "activepicturescount=2147483647"), nullptr},
        // pictures stay inside the skin's folder, even where the name leads back into it
        {"picture above the folder", Replace("0=controls.bmp", "0=../@DIR@/controls.bmp"), nullptr},
        {"picture by an absolute name", Replace("0=controls.bmp", "0=@PATH@controls.bmp"), nullptr},
    };
    for (const Case& C : Cases) {
        TempDir Dir;
        String File = WriteFolderSkin(Dir.Path);
        String Ini = C.Ini;
        const String Folder = Dir.Path.substr(0, Dir.Path.size() - 1);
        if (Ini.find("@DIR@") != String::npos) Ini = Replaced(Ini, "@DIR@", Folder.substr(Folder.rfind('/') + 1));
        if (Ini.find("@PATH@") != String::npos) Ini = Replaced(Ini, "@PATH@", Dir.Path);
        WriteBytes(File, Ini);
        if (C.Frame) WriteBytes(Dir.Path + "frame.bmp", C.Frame);
        ExpectRefused(C.Why, [&](TbsSkinData* D) { D->LoadFromFile(File); });
    }
}

// Every size a skin asks for stays within what a screen can show: lengths, rectangles,
// each picture and all pictures together.  A skin asking for more is refused with a clear
// message before it takes the memory, and the loaded skin stays.
TEST(SkinDataFolder, SkinsAskingForMoreThanAScreenCanShowAreRefused)
{
    const String Good = FolderIni();
    auto Replace = [&](const String& From, const String& To) { return Replaced(Good, From, To); };
    const String Big = MonoBmpBytes(4096, 4096);  // as large as one picture may be
    struct Case {
        const char* Why;
        String Ini;
        String Frame;  // bytes of frame.bmp; empty: the good picture
        const char* Expected;
    } Cases[] = {
        {"rectangle of 23000 x 23000", Replace("thumbrect=1,2,3,4", "thumbrect=0,0,23000,23000"), "", "screen"},
        {"rectangle of 8000 x 8000", Replace("thumbrect=1,2,3,4", "thumbrect=0,0,8000,8000"), "", "screen"},
        {"point far out", Replace("lefttoppoint=3,3\nupbuttonrect", "lefttoppoint=3,9000\nupbuttonrect"), "", "screen"},
        {"font height of 100000", Replace("fontheight=13", "fontheight=100000"), "", "screen"},
        {"picture wider than a screen", Good, MonoBmpBytes(9000, 1), "larger than a screen"},
        {"picture of 2^28 pixels", Good, MonoBmpBytes(8192, 1 << 15), "larger than a screen"},
        {"three pictures beyond the budget",
         Replace("inactivepicture=\nmask=mask.bmp", "inactivepicture=frame.bmp\nmask=frame.bmp"), Big,
         "pictures together"},
        {"description beyond 2 MB", Good + String(size_t(3) << 20, ';'), "", "longer than"},
    };
    for (const Case& C : Cases) {
        TempDir Dir;
        String File = WriteFolderSkin(Dir.Path);
        WriteBytes(File, C.Ini);
        if (!C.Frame.empty()) WriteBytes(Dir.Path + "frame.bmp", C.Frame);
        ExpectRefused(C.Why, [&](TbsSkinData* D) { D->LoadFromFile(File); }, C.Expected);
    }
    // the largest picture alone is taken
    TempDir Dir;
    String File = WriteFolderSkin(Dir.Path);
    WriteBytes(Dir.Path + "frame.bmp", Big);
    TbsSkinData D(nullptr);
    D.LoadFromFile(File);
    EXPECT_EQ(D.FPicture->Width(), 4096);
}

TEST(SkinDataFolder, SavesThatWouldLoseDataAreRefused)
{
    struct Case {
        const char* Why;
        std::function<void(TbsSkinData*)> Spoil;
    } Cases[] = {
        {"two controls of one name", [](TbsSkinData* D) { AddControl<TbsDataSkinBevel>(D, "button"); }},
        {"names differing in case", [](TbsSkinData* D) { AddControl<TbsDataSkinBevel>(D, "Memo"); }},
        {"a control and an object of one name", [](TbsSkinData* D) { AddObject<TbsDataSkinCaption>(D, "splitter"); }},
        {"a fixed section's name", [](TbsSkinData* D) { AddControl<TbsDataSkinBevel>(D, "SkinColors"); }},
        {"a name with a colon", [](TbsSkinData* D) { AddControl<TbsDataSkinBevel>(D, "a:b"); }},
        {"an empty name", [](TbsSkinData* D) { AddControl<TbsDataSkinBevel>(D, ""); }},
        {"a record without kind", [](TbsSkinData* D) { AddControl<TbsDataSkinCustomControl>(D, "custom"); }},
    };
    for (const Case& C : Cases) {
        TempDir Dir;
        String File = Dir.Path + "skin.ini";
        WriteBytes(File, "[keep]\na=1\n");
        TbsSkinData D(nullptr);
        FillSmallSkin(&D);
        C.Spoil(&D);
        EXPECT_THROW(D.SaveToFile(File), EInvalidOperation) << C.Why;
        EXPECT_EQ(ReadBytes(File), "[keep]\na=1\n") << C.Why;
        TbsCompressedStoredSkin Stored(nullptr);
        EXPECT_THROW(Stored.LoadFromSkinData(&D), EInvalidOperation) << C.Why;
        EXPECT_TRUE(Stored.GetEmpty()) << C.Why;
    }
}

TEST(SkinDataFolder, StoreToDiskWritesOnlyIntoItsFolder)
{
    TempDir Dir;
    TbsSkinData D(nullptr);
    FillSmallSkin(&D);
    D.FActivePicturesNames->Add("../escape.bmp");
    D.FActivePictures.push_back(std::make_unique<TBitmap>());
    EXPECT_THROW(D.StoreToDisk(Dir.Path + "skin.ini"), EInvalidOperation);
    EXPECT_FALSE(std::filesystem::exists(Dir.Path + "skin.ini"));
}

} // namespace

TEST(SkinDataFolder, TheSingleRecordsKeepTheirAddressesAcrossLoads)
{
    TempDir Dir;
    RecordingRoute Route;
    TbsSkinData D(nullptr);
    const String File = WriteFolderSkin(Dir.Path);
    D.LoadFromFile(File);
    const void* Held[] = {D.PopupWindow.get(), D.HintWindow.get(), D.LayerFrame.get(), D.FSkinColors.get()};
    D.HintWindow->FontName = "changed";
    D.PopupWindow->WindowPictureIndex = 7;
    D.FSkinColors->FcBtnFace = 1;
    D.LoadFromFile(File);
    const void* Now[] = {D.PopupWindow.get(), D.HintWindow.get(), D.LayerFrame.get(), D.FSkinColors.get()};
    for (int I = 0; I < 4; ++I) EXPECT_EQ(Now[I], Held[I]) << I;
    EXPECT_EQ(D.HintWindow->FontName, "Verdana");  // the values are the new skin's
    EXPECT_EQ(D.PopupWindow->WindowPictureIndex, 1);
    EXPECT_EQ(D.FSkinColors->FcBtnFace, 15790320);
}

TEST(SkinDataFolder, APictureThatIsAPipeIsRefusedWithoutWaiting)
{
    TempDir Dir;
    String File = WriteFolderSkin(Dir.Path);
    ASSERT_EQ(mkfifo((Dir.Path + "pipe.bmp").c_str(), 0600), 0);
    WriteBytes(File, Replaced(FolderIni(), "0=controls.bmp", "0=pipe.bmp"));
    ExpectRefused("a pipe", [&](TbsSkinData* D) { D->LoadFromFile(File); });
}
