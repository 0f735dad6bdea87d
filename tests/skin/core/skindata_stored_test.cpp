// Stored skins: the byte layout, round trips, skin list items, and damaged input.
#include "skindata_support.h"

#include "skin/core/bszlibcompress.h"

#include <filesystem>

using namespace skintest;

namespace {

String Int32(int32_t V)
{
    String S(4, '\0');
    for (int i = 0; i < 4; ++i) S[i] = char(uint32_t(V) >> (8 * i));
    return S;
}

int32_t GetInt32(const String& S, size_t At)
{
    uint32_t V = 0;
    for (int i = 0; i < 4; ++i) V |= uint32_t(uint8_t(S[At + i])) << (8 * i);
    return int32_t(V);
}

String Bytes(TMemoryStream* S) { return String(static_cast<const char*>(S->Memory()), size_t(S->Size())); }

String Deflate(const String& Payload)
{
    TMemoryStream In, Out;
    In.WriteBuffer(Payload.data(), int64_t(Payload.size()));
    ZCompressMemoryStream(&In, &Out);
    return Bytes(&Out);
}

String Inflate(const String& Data)
{
    TMemoryStream In, Out;
    In.WriteBuffer(Data.data(), int64_t(Data.size()));
    ZDecompressStream(&Out, &In);
    return Bytes(&Out);
}

// A stored skin read from container bytes.
std::unique_ptr<TbsCompressedStoredSkin> FromContainer(const String& Container)
{
    auto Stored = std::make_unique<TbsCompressedStoredSkin>(nullptr);
    TMemoryStream S;
    S.WriteBuffer(Container.data(), int64_t(Container.size()));
    Stored->LoadFromCompressStream(&S);
    return Stored;
}

std::unique_ptr<TbsCompressedStoredSkin> FromPayload(const String& Payload)
{
    String Z = Deflate(Payload);
    return FromContainer(Int32(3) + Int32(int32_t(Z.size())) + Z);
}

const String SmallIni = "[VERSION]\r\nver=1\r\nskinname=Stored\r\n[PICTURES]\r\npicture=\r\nactivepicturescount=2\r\n"
                        "0=a.bmp\r\n1=b.bmp\r\n[FORMINFO]\r\nclientrect=1,1,5,5\r\n[SKINOBJECTS]\r\ncount=0\r\n"
                        "[SKINCONTROLS]\r\ncount=1\r\n0=button:button\r\n[button]\r\nskinrect=0,0,5,5\r\n";

// Version, three flags and pictures, the picture list, the text.
String Payload(int32_t Version, const String& Frames, int32_t Count, const String& Pictures, const String& Text)
{
    return Int32(Version) + Frames + Int32(Count) + Pictures + Text;
}

const String NoFrames = String("\1\1\1", 3);

TEST(SkinDataStored, ByteLayout)
{
    TempDir Dir;
    TbsSkinData D(nullptr);
    D.LoadFromFile(WriteFolderSkin(Dir.Path));
    D.SaveToCompressedFile(Dir.Path + "skin.skn");
    String File = ReadBytes(Dir.Path + "skin.skn");
    ASSERT_GT(File.size(), 10u);
    EXPECT_EQ(GetInt32(File, 0), 3);
    EXPECT_EQ(GetInt32(File, 4), int32_t(File.size() - 8));
    EXPECT_EQ(uint8_t(File[8]), 0x78);
    EXPECT_EQ(uint8_t(File[9]), 0xDA);

    String P = Inflate(File.substr(8));
    EXPECT_EQ(GetInt32(P, 0), 3);
    size_t At = 4;
    EXPECT_EQ(P[At], 0);  // frame picture present
    EXPECT_EQ(P.substr(At + 1, 2), "BM");
    At += 1 + bsBitmapImageSize(reinterpret_cast<const uint8_t*>(P.data() + At + 1), int64_t(P.size() - At - 1));
    EXPECT_EQ(P[At], 1);  // no inactive picture
    At += 1;
    EXPECT_EQ(P[At], 0);  // mask
    At += 1 + bsBitmapImageSize(reinterpret_cast<const uint8_t*>(P.data() + At + 1), int64_t(P.size() - At - 1));
    EXPECT_EQ(GetInt32(P, At), 2);
    At += 4;
    for (int i = 0; i < 2; ++i)
        At += bsBitmapImageSize(reinterpret_cast<const uint8_t*>(P.data() + At), int64_t(P.size() - At));
    String Text = P.substr(At);
    EXPECT_EQ(Text.rfind("[VERSION]\r\n", 0), 0u) << Text.substr(0, 40);
    EXPECT_NE(Text.find("\r\n[PICTURES]\r\n"), String::npos);
    EXPECT_EQ(Text.find('\n', 0), Text.find("\r\n", 0) + 1);
}

TEST(SkinDataStored, RoundTripThroughAFile)
{
    TempDir Dir;
    TbsSkinData A(nullptr);
    A.LoadFromFile(WriteFolderSkin(Dir.Path));
    A.SaveToCompressedFile(Dir.Path + "one.skn");
    TbsSkinData B(nullptr);
    B.LoadFromCompressedFile(Dir.Path + "one.skn");
    EXPECT_FALSE(B.Empty);
    EXPECT_EQ(SkinText(&A), SkinText(&B));
    EXPECT_EQ(PictureBytes(A.FPicture.get()), PictureBytes(B.FPicture.get()));
    EXPECT_TRUE(B.FInActivePicture->Empty());
    EXPECT_EQ(PictureBytes(A.FMask.get()), PictureBytes(B.FMask.get()));
    ASSERT_EQ(B.FActivePictures.size(), 2u);
    EXPECT_EQ(PictureBytes(A.FActivePictures[1].get()), PictureBytes(B.FActivePictures[1].get()));
    EXPECT_EQ(B.FActivePicturesNames->Strings(1), "Glyphs.BMP");
    EXPECT_EQ(B.FSkinColors->FcBtnFace, 15790320);
    // A second save gives the same bytes.
    B.SaveToCompressedFile(Dir.Path + "two.skn");
    EXPECT_EQ(ReadBytes(Dir.Path + "one.skn"), ReadBytes(Dir.Path + "two.skn"));
}

TEST(SkinDataStored, MadeFromAFolderKeepsTheIniText)
{
    TempDir Dir;
    String File = WriteFolderSkin(Dir.Path);
    TbsCompressedStoredSkin Stored(nullptr);
    Stored.LoadFromIniFile(File);
    ASSERT_FALSE(Stored.GetEmpty());
    TMemoryStream P;
    Stored.DeCompressToStream(&P);
    String Text = Bytes(&P);
    EXPECT_NE(Text.find("[VERSION]\r\nver=7\r\n"), String::npos);
    TbsSkinData D(nullptr);
    D.LoadCompressedStoredSkin(&Stored);
    EXPECT_EQ(D.SkinName, "Port default");
    EXPECT_EQ(D.FActivePictures.size(), 2u);
    // A file that is not a skin leaves the stored skin as it was.
    WriteBytes(Dir.Path + "other.ini", "[a]\nb=1\n");
    Stored.LoadFromIniFile(Dir.Path + "other.ini");
    EXPECT_FALSE(Stored.GetEmpty());
}

TEST(SkinDataStored, EmptyStoredSkins)
{
    TempDir Dir;
    TbsCompressedStoredSkin Stored(nullptr);
    EXPECT_TRUE(Stored.GetEmpty());
    Stored.SaveToCompressFile(Dir.Path + "none.skn");
    EXPECT_FALSE(std::filesystem::exists(Dir.Path + "none.skn"));
    TMemoryStream S;
    Stored.SaveToCompressStream(&S);
    EXPECT_EQ(Bytes(&S), String("\3\0\0\0\0\0\0\0", 8));
    // An empty list item streams the same and reads back empty.
    TbsCompressedSkinList List(nullptr);
    TbsSkinListItem* Item = List.Skins()->Add();
    TMemoryStream Streamed;
    Item->WriteSkin(&Streamed);
    EXPECT_EQ(Bytes(&Streamed), String("\3\0\0\0\0\0\0\0", 8));
    TbsSkinListItem* Copy = List.Skins()->Add();
    Copy->ReadSkin(&Streamed);
    EXPECT_TRUE(Copy->Skin()->GetEmpty());
    RecordingRoute Route;
    FakeForm Form("Form1");
    Route.Screen = {&Form};
    TbsSkinData D(nullptr);
    D.LoadCompressedStoredSkin(Copy->Skin());
    EXPECT_TRUE(Route.Log.empty());
    EXPECT_TRUE(D.Empty);
}

TEST(SkinDataStored, Version2PayloadSkipsTwoPictures)
{
    String Frames = String("\1\1", 2) + String(1, '\0') + BmpBytes(4, 3, 9) + String(1, '\0') + BmpBytes(2, 2, 1) +
                    String(1, '\0') + BmpBytes(3, 3, 2);
    String Pictures = BmpBytes(5, 5, 3) + BmpBytes(6, 2, 4);
    auto Stored = FromPayload(Payload(2, Frames, 2, Pictures, SmallIni));
    TbsSkinData D(nullptr);
    D.LoadCompressedStoredSkin(Stored.get());
    EXPECT_TRUE(D.FPicture->Empty());
    EXPECT_EQ(D.FMask->Width(), 4);
    ASSERT_EQ(D.FActivePictures.size(), 2u);
    EXPECT_EQ(D.FActivePictures[0]->Width(), 5);
    EXPECT_EQ(D.FActivePictures[1]->Width(), 6);
    EXPECT_EQ(D.SkinName, "Stored");
    EXPECT_EQ(D.GetControlIndex("button"), 0);
}

TEST(SkinDataStored, TextWithByteOrderMarks)
{
    String Pictures = BmpBytes(5, 5, 3) + BmpBytes(6, 2, 4);
    String Utf16 = "\xFF\xFE";
    for (char C : SmallIni) Utf16 += String(1, C) + String(1, '\0');
    for (const String& Text : {"\xEF\xBB\xBF" + SmallIni, Utf16}) {
        TbsSkinData D(nullptr);
        D.LoadCompressedStoredSkin(FromPayload(Payload(3, NoFrames, 2, Pictures, Text)).get());
        EXPECT_EQ(D.SkinName, "Stored");
        EXPECT_EQ(D.GetControlIndex("button"), 0);
    }
}

TEST(SkinDataStored, PictureNamesAgreeWithThePictures)
{
    String Pic = BmpBytes(5, 5, 3);
    // Three pictures, two names: a third name is made up.
    TbsSkinData D(nullptr);
    D.LoadCompressedStoredSkin(FromPayload(Payload(3, NoFrames, 3, Pic + Pic + Pic, SmallIni)).get());
    ASSERT_EQ(D.FActivePicturesNames->Count(), 3);
    EXPECT_EQ(D.FActivePicturesNames->Strings(1), "b.bmp");
    EXPECT_FALSE(D.FActivePicturesNames->Strings(2).empty());
    // One picture, two names: the second name goes.
    TbsSkinData E(nullptr);
    E.LoadCompressedStoredSkin(FromPayload(Payload(3, NoFrames, 1, Pic, SmallIni)).get());
    ASSERT_EQ(E.FActivePicturesNames->Count(), 1);
    EXPECT_EQ(E.FActivePicturesNames->Strings(0), "a.bmp");
    TempDir Dir;
    D.StoreToDisk(Dir.Path + "skin.ini");
    EXPECT_TRUE(std::filesystem::exists(Dir.Path + D.FActivePicturesNames->Strings(2)));
}

// Container errors: a clear error or, for an unknown version, an empty stored skin.
TEST(SkinDataStored, DamagedContainers)
{
    String Z = Deflate(Payload(3, NoFrames, 0, "", SmallIni));
    struct Case {
        const char* Why;
        String Bytes;
        bool Fails;  // false: no error, the stored skin stays empty
    } Cases[] = {
        {"version 4", Int32(4) + Int32(int32_t(Z.size())) + Z, false},
        {"length 0", Int32(3) + Int32(0), false},
        {"no length", Int32(3), true},
        {"nothing", "", true},
        {"length beyond the data", Int32(3) + Int32(int32_t(Z.size()) + 1) + Z, true},
        {"negative length", Int32(3) + Int32(-5) + Z, true},
        {"huge length", Int32(3) + Int32(0x7FFFFFFF) + Z, true},
    };
    for (const Case& C : Cases) {
        if (C.Fails) {
            EXPECT_THROW(FromContainer(C.Bytes), EReadError) << C.Why;
        } else {
            EXPECT_TRUE(FromContainer(C.Bytes)->GetEmpty()) << C.Why;
        }
    }
}

// Payload errors: a clear error; the skin and the forms are left as they were.
TEST(SkinDataStored, DamagedPayloads)
{
    String Pic = BmpBytes(5, 5, 3);
    String Good = Payload(3, NoFrames, 2, Pic + Pic, SmallIni);
    String Z = Deflate(Good);
    String BadHeader = Pic;
    BadHeader[0] = 'X';
    String HugeBmp = Pic;
    HugeBmp[18] = HugeBmp[19] = HugeBmp[20] = char(0xFF);  // width 16 million
    String ShortBmp = Pic.substr(0, Pic.size() - 10);
    String BadDepth = Pic;
    BadDepth[28] = 7;
    auto IniWith = [](const String& From, const String& To) { return Replaced(SmallIni, From, To); };
    struct Case {
        const char* Why;
        String Container;
    } Cases[] = {
        {"zlib data damaged", Int32(3) + Int32(int32_t(Z.size())) + Z.substr(0, 10) + String(20, 'x') +
                                  Z.substr(30)},
        {"zlib data cut short", Int32(3) + Int32(int32_t(Z.size() / 2)) + Z.substr(0, Z.size() / 2)},
        {"not zlib at all", Int32(3) + Int32(12) + "hello, world"},
        {"payload version 4", Int32(3) + Int32(0) + ""},
        {"payload cut in the flags", ""},
        {"more pictures than there are", ""},
        {"huge picture count", ""},
        {"picture header not a BMP", ""},
        {"picture of huge size", ""},
        {"picture cut short", ""},
        {"picture of a bad depth", ""},
        {"empty rectangle value", ""},
        {"huge name count", ""},
    };
    std::vector<String> Payloads = {
        Payload(4, NoFrames, 0, "", SmallIni),
        Int32(3) + "\1",
        Payload(3, NoFrames, 3, Pic + Pic, SmallIni),
        Payload(3, NoFrames, 0x7FFFFFFF, Pic, SmallIni),
        Payload(3, NoFrames, 1, BadHeader, SmallIni),
        Payload(3, NoFrames, 1, HugeBmp, SmallIni),
        Payload(3, NoFrames, 1, ShortBmp, ""),
        Payload(3, NoFrames, 1, BadDepth, SmallIni),
        Payload(3, NoFrames, 2, Pic + Pic, IniWith("skinrect=0,0,5,5", "skinrect=")),
        Payload(3, NoFrames, 2, Pic + Pic, IniWith("activepicturescount=2", "activepicturescount=999999999")),
    };
    for (size_t i = 3; i < std::size(Cases); ++i) {
        String Zp = Deflate(Payloads[i - 3]);
        Cases[i].Container = Int32(3) + Int32(int32_t(Zp.size())) + Zp;
    }
    for (const Case& C : Cases) {
        auto Stored = FromContainer(C.Container);
        ASSERT_FALSE(Stored->GetEmpty()) << C.Why;
        ExpectRefused(C.Why, [&](TbsSkinData* D) { D->LoadCompressedStoredSkin(Stored.get()); });
    }
}

TEST(SkinDataStored, AStoredSkinThatUnpacksBeyondAnyRealSkinIsRefused)
{
    String Pic = BmpBytes(5, 5, 3);
    String Padding;
    const String Line = "; padding that packs to almost nothing\n";
    while (Padding.size() <= (size_t(64) << 20)) Padding += Line;
    auto Stored = FromPayload(Payload(3, NoFrames, 2, Pic + Pic, SmallIni + Padding));
    ExpectRefused("65 MB of text", [&](TbsSkinData* D) { D->LoadCompressedStoredSkin(Stored.get()); });
}

// A stored skin asking for more than a screen can show is refused with a clear message:
// a picture too large, pictures beyond the budget together, text that would take many
// times its size once read.  None of them comes near the unpacked size limit.
TEST(SkinDataStored, AStoredSkinAskingForMoreThanAScreenCanShowIsRefused)
{
    const String Pic = BmpBytes(5, 5, 3);
    const String Big = MonoBmpBytes(4096, 4096);
    const String Frames3 = String(1, '\0') + Big + String(1, '\0') + Big + String(1, '\0') + Big;
    struct Case {
        const char* Why;
        String Payload;
        const char* Expected;
    } Cases[] = {
        {"picture wider than a screen", Payload(3, NoFrames, 2, Pic + MonoBmpBytes(9000, 1), SmallIni),
         "larger than a screen"},
        {"three pictures beyond the budget", Payload(3, Frames3, 2, Pic + Pic, SmallIni), "pictures together"},
        {"3 MB of text", Payload(3, NoFrames, 2, Pic + Pic, SmallIni + String(size_t(3) << 20, ';')), "longer than"},
        {"rectangle of 23000 x 23000", Payload(3, NoFrames, 2, Pic + Pic, Replaced(SmallIni, "skinrect=0,0,5,5", "skinrect=0,0,23000,23000")),
         "screen"},
    };
    for (const Case& C : Cases) {
        auto Stored = FromPayload(C.Payload);
        ExpectRefused(C.Why, [&](TbsSkinData* D) { D->LoadCompressedStoredSkin(Stored.get()); }, C.Expected);
    }
}

// Damage anywhere: every payload cut short and many with one byte changed either load
// or raise a clear error.
TEST(SkinDataStored, DamageAnywhereIsHandled)
{
    String Pic = BmpBytes(5, 5, 3);
    String Good = Payload(3, NoFrames, 2, Pic + Pic, SmallIni);
    auto Try = [](const String& P) {
        TbsSkinData D(nullptr);
        try {
            D.LoadCompressedStoredSkin(FromPayload(P).get());
        } catch (const Exception& E) {
            EXPECT_FALSE(E.Message().empty());
            EXPECT_TRUE(D.Empty);
        }
        EXPECT_FALSE(D.ChangeSkinDataProcess);
    };
    for (size_t Len = 0; Len < Good.size(); Len += 7) Try(Good.substr(0, Len));
    uint32_t Seed = 12345;
    for (int i = 0; i < 300; ++i) {
        Seed = Seed * 1103515245 + 12345;
        String P = Good;
        size_t At = (Seed >> 8) % P.size();
        P[At] = char(P[At] ^ (1 + (Seed >> 20) % 255));
        Try(P);
    }
}

TEST(SkinDataStored, ListItemsHoldContainers)
{
    TbsSkinData Source(nullptr);
    FillSmallSkin(&Source);
    TbsCompressedSkinList List(nullptr);
    TbsSkinListItem* Item = List.Skins()->Add();
    Item->Skin()->LoadFromSkinData(&Source);
    TMemoryStream S;
    Item->WriteSkin(&S);
    TbsSkinListItem* Copy = List.Skins()->Add();
    Copy->ReadSkin(&S);
    EXPECT_EQ(Bytes(Copy->Skin()->CompressedStream()), Bytes(Item->Skin()->CompressedStream()));
    EXPECT_EQ(List.Skins()->Count(), 2);
    EXPECT_EQ(List.Skins()->GetOwner(), &List);
    TbsSkinData D(nullptr);
    D.SetSkinIndex(1);
    D.SetSkinList(&List);
    EXPECT_EQ(SkinText(&D), SkinText(&Source));
    D.SetSkinList(nullptr);

    // the Skins writer copies the items: skins, texts and names
    Item->SetDescription("first");
    Item->SetName("one");
    TbsCompressedSkinList Other(nullptr);
    Other.Skins()->Add();
    Other.SetSkins(List.Skins());
    ASSERT_EQ(Other.Skins()->Count(), 2);
    TbsSkinListItem* Got = Other.Skins()->Items(0);
    EXPECT_NE(Got, Item);
    EXPECT_EQ(Got->Description(), "first");
    EXPECT_EQ(Got->Name(), "one");
    EXPECT_EQ(Bytes(Got->Skin()->CompressedStream()), Bytes(Item->Skin()->CompressedStream()));
    EXPECT_EQ(Other.Skins()->GetOwner(), &Other);
}

} // namespace
