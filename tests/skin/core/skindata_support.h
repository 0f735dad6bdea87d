// Helpers of the skin data tests: ini objects from text, small skins built in code, and
// forms that record the skin data object's messages.
#pragma once

#include "skin/core/bsSkinData.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <vector>
#include "test_files.h"

namespace skintest {

inline std::unique_ptr<TMemIniFile> Ini(const String& Text)
{
    auto I = std::make_unique<TMemIniFile>("");
    TStringList L;
    L.SetText(Text);
    I->SetStrings(&L);
    return I;
}

inline String IniText(TMemIniFile* I)
{
    TStringList L;
    I->GetStrings(&L);
    return L.Text();
}

// A stand-in for a form: a component with a class name of its own.
class FakeForm : public TComponent {
public:
    FakeForm(const String& AName, const String& AClassName = "TFakeForm") : FClassName(AClassName) { SetName(AName); }
    String ClassName() const override { return FClassName; }

private:
    String FClassName;
};

struct Sent {
    String Form;
    unsigned Message;
    uintptr_t WParam;
    intptr_t LParam;
};

// Routes the skin data object's messages to fake forms and records them; the default
// route comes back when the object goes.
class RecordingRoute {
public:
    RecordingRoute()
    {
        TbsSkinMessageRoute R;
        R.IsForm = [](TComponent* C) { return dynamic_cast<FakeForm*>(C) != nullptr; };
        R.Forms = [this] { return Screen; };
        R.Send = [this](TComponent* F, unsigned M, uintptr_t W, intptr_t L) {
            Log.push_back({F->Name(), M, W, L});
            if (OnSend) OnSend(F, M);
        };
        bsSetSkinMessageRoute(R);
    }
    ~RecordingRoute() { bsSetSkinMessageRoute(TbsSkinMessageRoute()); }

    std::vector<String> Messages(unsigned M) const
    {
        std::vector<String> R;
        for (const Sent& S : Log)
            if (S.Message == M) R.push_back(S.Form);
        return R;
    }
    std::vector<unsigned> Sequence() const
    {
        std::vector<unsigned> R;
        for (const Sent& S : Log) R.push_back(S.Message);
        return R;
    }

    std::vector<TComponent*> Screen;
    std::vector<Sent> Log;
    std::function<void(TComponent*, unsigned)> OnSend;
};

// Adds a record of class T named AName to the skin data's list.
template <class T>
T* AddControl(TbsSkinData* D, const String& AName)
{
    auto R = std::make_unique<T>(AName);
    T* P = R.get();
    D->CtrlList.push_back(std::move(R));
    return P;
}

template <class T>
T* AddObject(TbsSkinData* D, const String& AName)
{
    auto R = std::make_unique<T>(AName);
    T* P = R.get();
    D->ObjectList.push_back(std::move(R));
    return P;
}

// A skin without pictures: a few records with values of their own.
inline void FillSmallSkin(TbsSkinData* D)
{
    D->SkinName = "Small";
    D->SkinAuthor = "Tests";
    D->ClRect = TRect(3, 21, 143, 115);
    D->LTPoint = TPoint(5, 25);
    D->RTPoint = TPoint(140, 25);
    D->LBPoint = TPoint(5, 110);
    D->RBPoint = TPoint(140, 110);
    D->CaptionRect = TRect(24, 4, 148, 22);
    auto* B = AddControl<TbsDataSkinButtonControl>(D, "button");
    B->SkinRect = TRect(0, 0, 75, 25);
    B->FontHeight = 15;
    AddControl<TbsDataSkinMemoControl>(D, "memo")->BGColor = 0x123456;
    AddControl<TbsDataSkinSplitterControl>(D, "splitter");
    AddControl<TbsDataSkinListBox>(D, "listbox")->CaptionFontHeight = 11;
    auto* C = AddObject<TbsDataSkinCaption>(D, "caption");
    C->FontName = "Tahoma";
    C->FontHeight = 13;
    auto* S = AddObject<TbsDataSkinStdButton>(D, "close");
    S->Command = cmClose;
    S->Hint = "Close";
    D->FSkinColors->FcBtnFace = 0x00F0F0F0;
    D->HintWindow->FontHeight = 12;
}

// A temporary folder, removed with the object.
class TempDir {
public:
    TempDir()
    {
        Path = vctest::ScratchDir("skindata_");
        Path += "/";
    }
    ~TempDir() { std::filesystem::remove_all(Path); }
    String Path;
};

// A 24-bit BMP file of W x H pixels; Color(X, Y) gives each pixel as 0x00RRGGBB.
inline String BmpBytesOf(int W, int H, const std::function<uint32_t(int X, int Y)>& Color)
{
    int Row = (W * 3 + 3) / 4 * 4;
    uint32_t Size = 54 + uint32_t(Row) * H;
    String B(Size, '\0');
    auto Put32 = [&](int At, uint32_t V) {
        for (int i = 0; i < 4; ++i) B[At + i] = char(V >> (8 * i));
    };
    B[0] = 'B';
    B[1] = 'M';
    Put32(2, Size);
    Put32(10, 54);
    Put32(14, 40);
    Put32(18, uint32_t(W));
    Put32(22, uint32_t(H));
    B[26] = 1;
    B[28] = 24;
    Put32(34, uint32_t(Row) * H);
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X) {
            uint32_t C = Color(X, H - 1 - Y);  // rows are stored bottom-up
            for (int i = 0; i < 3; ++i) B[54 + Y * Row + X * 3 + i] = char(C >> (8 * i));
        }
    return B;
}

// A 1-bit BMP file of W x H black pixels: a large picture in few bytes.
inline String MonoBmpBytes(int W, int H)
{
    const uint32_t Row = uint32_t(W + 31) / 32 * 4, Data = 14 + 40 + 8;
    String B(Data + size_t(Row) * size_t(H), '\0');
    auto Put32 = [&](int At, uint32_t V) {
        for (int i = 0; i < 4; ++i) B[At + i] = char(V >> (8 * i));
    };
    B[0] = 'B';
    B[1] = 'M';
    Put32(2, uint32_t(B.size()));
    Put32(10, Data);
    Put32(14, 40);
    Put32(18, uint32_t(W));
    Put32(22, uint32_t(H));
    B[26] = 1;
    B[28] = 1;
    Put32(34, Row * uint32_t(H));
    Put32(58, 0x00FFFFFF);  // colour 1 white, colour 0 black
    return B;
}

// A picture from BMP bytes.
inline std::unique_ptr<TBitmap> Picture(const String& Bytes)
{
    auto P = std::make_unique<TBitmap>();
    TMemoryStream S;
    S.WriteBuffer(Bytes.data(), int64_t(Bytes.size()));
    S.SetPosition(0);
    P->LoadFromStream(&S);
    return P;
}

// A 24-bit BMP file of W x H pixels whose colours follow Seed.
inline String BmpBytes(int W, int H, unsigned Seed)
{
    return BmpBytesOf(W, H, [Seed](int X, int Y) {
        uint32_t C = 0;
        for (int i = 0; i < 3; ++i) C |= uint32_t((X * 37 + Y * 11 + i * 70 + Seed * 53) & 0xFF) << (8 * i);
        return C;
    });
}

// S with the first From replaced by To.
inline String Replaced(String S, const String& From, const String& To)
{
    S.replace(S.find(From), From.size(), To);
    return S;
}

inline void WriteBytes(const String& Path, const String& Bytes) { WriteFileAtomic(Path, Bytes); }

inline String ReadBytes(const String& Path) { return ReadFileToString(Path); }

// A picture as the BMP bytes it writes.
inline String PictureBytes(TBitmap* Picture)
{
    TMemoryStream S;
    Picture->SaveToStream(&S);
    return String(static_cast<const char*>(S.Memory()), size_t(S.Size()));
}

// The skin's description as the ini text its writer gives.
inline String SkinText(TbsSkinData* D)
{
    TMemIniFile I("");
    D->SaveSkinToIni(&I);
    return IniText(&I);
}

// A skin folder with a frame picture, a mask, two pictures and records of several kinds.
inline const char* FolderIni()
{
    return "[VERSION]\nver=7\nskinname=Port default\nskinauthor=Tests\n"
           "[PICTURES]\npicture=frame.bmp\ninactivepicture=\nmask=mask.bmp\nactivepicturescount=2\n"
           "0=controls.bmp\n1=Glyphs.BMP\n"
           "[FORMINFO]\nlefttoppoint=10,30\nrighttoppoint=190,30\nleftbottompoint=10,140\n"
           "rightbottompoint=190,140\nclientrect=4,26,196,146\nbuttonsrect=150,4,196,22\n"
           "captionrect=24,4,148,22\nmaskrectarea=0,0,200,150\nstretchtype=stvert\ninactiveeffect=iedarkness\n"
           "[POPUPWINDOW]\nwindowpictureindex=1\nlefttoppoint=2,2\n"
           "[HINTWINDOW]\nfontname=Verdana\n"
           "[SKINCOLORS]\ncbtnface=15790320\nmyown=5\n"
           "[SKINOBJECTS]\ncount=3\n0=caption:caption\n1=close:stdbutton\n2=item:menuitem\n"
           "[caption]\nskinrect=0,0,200,26\ntextrect=24,4,148,22\nfontname=Tahoma\nfontheight=13\n"
           "[close]\nskinrect=176,4,194,20\nactivepictureindex=0\nactiveskinrect=0,75,18,91\n"
           "downrect=18,75,36,91\ncommand=cmclose\nhint=Close\n"
           "[item]\ncheckimagerect=1,1,9,9\n"
           "[SKINCONTROLS]\ncount=3\n0=button:button\n1=ud:updown\n2=sb:scrollbar\n"
           "[button]\npictureindex=0\nskinrect=0,0,75,25\nactiveskinrect=0,25,75,50\ndownskinrect=0,50,75,75\n"
           "lefttoppoint=3,3\nrighttoppoint=72,3\nleftbottompoint=3,22\nrightbottompoint=72,22\n"
           "clientrect=3,3,72,22\nmorphkind=mkpush\nfontstyle=fsbold,fsitalic\n"
           "[ud]\nlefttoppoint=3,3\nupbuttonrect=0,0,5,5\n"
           "[sb]\nthumbrect=1,2,3,4\n";
}

// Writes the folder skin above into Dir and gives its ini file's path.
inline String WriteFolderSkin(const String& Dir)
{
    WriteBytes(Dir + "skin.ini", FolderIni());
    WriteBytes(Dir + "frame.bmp", BmpBytes(200, 150, 1));
    WriteBytes(Dir + "mask.bmp", BmpBytes(200, 150, 2));
    WriteBytes(Dir + "controls.bmp", BmpBytes(75, 100, 3));
    WriteBytes(Dir + "glyphs.bmp", BmpBytes(9, 5, 4));
    return Dir + "skin.ini";
}

// Load(D) must fail with a clear error and leave D's skin, its state and the forms as
// they were.
// Load raises (with a message holding Expected, when given) and leaves the loaded skin
// and the forms untouched.
inline void ExpectRefused(const String& Why, const std::function<void(TbsSkinData*)>& Load,
                          const String& Expected = "")
{
    RecordingRoute Route;
    FakeForm Form("Form1");
    Route.Screen = {&Form};
    TbsSkinData D(nullptr);
    FillSmallSkin(&D);
    D.Empty = false;
    String Before = SkinText(&D);
    try {
        Load(&D);
        ADD_FAILURE() << Why << ": no error";
    } catch (const Exception& E) {
        EXPECT_FALSE(E.Message().empty()) << Why;
        EXPECT_NE(E.Message().find(Expected), String::npos) << Why << ": " << E.Message();
    }
    EXPECT_TRUE(Route.Log.empty()) << Why;
    EXPECT_FALSE(D.Empty) << Why;
    EXPECT_FALSE(D.ChangeSkinDataProcess) << Why;
    EXPECT_EQ(SkinText(&D), Before) << Why;
}

} // namespace skintest
