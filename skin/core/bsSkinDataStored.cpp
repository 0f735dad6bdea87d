// Stored skins: a whole skin (pictures and ini text) packed into one zlib stream, the
// skin list that holds several, and the reader that loads one into a skin data object.
//
// Container: int32 version (3), int32 length N, N bytes of zlib stream.
// Payload:   int32 version (3); three flagged pictures (flag byte 0: a BMP image follows);
//            for version 2 two more flagged pictures, read and skipped; int32 count and
//            that many BMP images; the rest is the ini text.
#include "skin/core/bsSkinData.h"

#include "skin/core/bsUtils.h"
#include "skin/core/bszlibcompress.h"

#include <cstring>

namespace {

constexpr int32_t StoredSkinVersion = 3;
// A BMP file header and the smallest info header.
constexpr int64_t MinBitmapImageSize = 14 + 12;

uint16_t Get16(const uint8_t* P) { return uint16_t(P[0] | (P[1] << 8)); }
uint32_t Get32(const uint8_t* P) { return uint32_t(P[0]) | (uint32_t(P[1]) << 8) | (uint32_t(P[2]) << 16) | (uint32_t(P[3]) << 24); }

[[noreturn]] void Damaged(const String& What)
{
    throw EReadError("The stored skin is damaged: " + What);
}

int32_t ReadInt32(TStream* S)
{
    uint8_t B[4];
    S->ReadBuffer(B, 4);
    return int32_t(Get32(B));
}

void WriteInt32(TStream* S, int32_t V)
{
    uint8_t B[4] = {uint8_t(V), uint8_t(V >> 8), uint8_t(V >> 16), uint8_t(V >> 24)};
    S->WriteBuffer(B, 4);
}

} // namespace

bool bsBitmapImageExtent(const uint8_t* P, int64_t Avail, int64_t& Width, int64_t& Height)
{
    if (Avail < MinBitmapImageSize || P[0] != 'B' || P[1] != 'M') return false;
    const int64_t HeaderSize = Get32(P + 14);
    if (HeaderSize == 12) {
        Width = Get16(P + 18);
        Height = Get16(P + 20);
    } else if (HeaderSize >= 40 && Avail >= 14 + 40) {
        Width = int32_t(Get32(P + 18));
        Height = int32_t(Get32(P + 22));
    } else {
        return false;
    }
    if (Height < 0) Height = -Height;
    return true;
}

// The length of the BMP image at P (Avail bytes there), taken from its headers: file
// header, info header, colour table and pixel data. Raises EReadError for a header that
// is not a BMP's, or an image longer than what is there.
int64_t bsBitmapImageSize(const uint8_t* P, int64_t Avail)
{
    if (Avail < MinBitmapImageSize || P[0] != 'B' || P[1] != 'M') Damaged("a picture is not a BMP image");
    int64_t HeaderSize = Get32(P + 14);
    int64_t Width, Height, BitCount, Compression = 0, SizeImage = 0, ClrUsed = 0;
    if (HeaderSize == 12) {
        Width = Get16(P + 18);
        Height = Get16(P + 20);
        BitCount = Get16(P + 24);
    } else if (HeaderSize >= 40 && HeaderSize <= 124) {
        if (Avail < 14 + 40) Damaged("a picture is cut short");
        Width = int32_t(Get32(P + 18));
        Height = int32_t(Get32(P + 22));
        BitCount = Get16(P + 28);
        Compression = Get32(P + 30);
        SizeImage = Get32(P + 34);
        ClrUsed = Get32(P + 46);
    } else {
        Damaged("a picture has an unknown header");
    }
    if (Height < 0) Height = -Height;
    if (Width <= 0 || Height <= 0) Damaged("a picture has a bad size");
    bsCheckSkinPictureSize(Width, Height, "a picture");
    if (BitCount != 1 && BitCount != 4 && BitCount != 8 && BitCount != 16 && BitCount != 24 && BitCount != 32)
        Damaged("a picture has a bad colour depth");
    int64_t Colors = ClrUsed ? ClrUsed : (BitCount <= 8 ? int64_t(1) << BitCount : 0);
    if (Colors > 256) Damaged("a picture has a bad colour table");
    int64_t TableSize = Colors * (HeaderSize == 12 ? 3 : 4);
    if (HeaderSize == 40 && Compression == 3) TableSize += 12;  // BI_BITFIELDS masks
    int64_t RowSize = (Width * BitCount + 31) / 32 * 4;
    int64_t DataSize = (Compression == 0 || Compression == 3 || SizeImage == 0) ? RowSize * Height : SizeImage;
    int64_t Size = 14 + HeaderSize + TableSize + DataSize;
    if (Size > Avail) Damaged("a picture is cut short");
    return Size;
}

namespace {

// Reads the BMP image at the stream's position into Picture, its pixels counted in Budget
// before they are decoded.
void ReadBitmapImage(TMemoryStream* S, TBitmap* Picture, TbsSkinPictureBudget& Budget)
{
    int64_t Pos = S->Position();
    const uint8_t* P = static_cast<const uint8_t*>(S->Memory()) + Pos;
    int64_t Size = bsBitmapImageSize(P, S->Size() - Pos);
    int64_t Width = 0, Height = 0;
    bsBitmapImageExtent(P, Size, Width, Height);
    Budget.Take(Width, Height, "a picture");
    TMemoryStream Image;
    Image.WriteBuffer(P, Size);
    Image.SetPosition(0);
    try {
        Picture->LoadFromStream(&Image);
    } catch (const Exception& E) {
        Damaged("a picture cannot be read (" + E.Message() + ")");
    }
    S->SetPosition(Pos + Size);
}

void WriteBitmapImage(TStream* S, TBitmap* Picture)
{
    TMemoryStream Image;
    Picture->SaveToStream(&Image);
    // The reader finds an image's end from its headers; an image whose headers say
    // otherwise could not be read back.
    if (bsBitmapImageSize(static_cast<const uint8_t*>(Image.Memory()), Image.Size()) != Image.Size())
        throw EWriteError("A skin picture cannot be stored: its BMP headers do not give its length");
    S->WriteBuffer(Image.Memory(), Image.Size());
}

void WriteFlaggedImage(TStream* S, TBitmap* Picture)
{
    uint8_t Flag = Picture->Empty() ? 1 : 0;
    S->WriteBuffer(&Flag, 1);
    if (!Flag) WriteBitmapImage(S, Picture);
}

void ReadFlaggedImage(TMemoryStream* S, TBitmap* Picture, TbsSkinPictureBudget& Budget)
{
    uint8_t Flag;
    S->ReadBuffer(&Flag, 1);
    if (Flag == 0) ReadBitmapImage(S, Picture, Budget);
}

void WriteText(TStream* S, const TStrings* Lines)
{
    String Text = Lines->Text();
    S->WriteBuffer(Text.data(), int64_t(Text.size()));
}

} // namespace

// ---- TbsCompressedStoredSkin

TbsCompressedStoredSkin::TbsCompressedStoredSkin(TComponent* AOwner)
    : TComponent(AOwner), FCompressedStream(std::make_unique<TMemoryStream>())
{
}

TbsCompressedStoredSkin::~TbsCompressedStoredSkin() = default;

bool TbsCompressedStoredSkin::GetEmpty() const { return FCompressedStream->Size() == 0; }

void TbsCompressedStoredSkin::LoadFromSkinData(TbsSkinData* ASkinData)
{
    TMemIniFile IniFile("");
    ASkinData->SaveSkinToIni(&IniFile);
    TStringList Lines;
    IniFile.GetStrings(&Lines);

    TMemoryStream Payload;
    WriteInt32(&Payload, StoredSkinVersion);
    WriteFlaggedImage(&Payload, ASkinData->FPicture.get());
    WriteFlaggedImage(&Payload, ASkinData->FInActivePicture.get());
    WriteFlaggedImage(&Payload, ASkinData->FMask.get());
    WriteInt32(&Payload, int32_t(ASkinData->FActivePictures.size()));
    for (auto& Picture : ASkinData->FActivePictures) WriteBitmapImage(&Payload, Picture.get());
    WriteText(&Payload, &Lines);

    auto Compressed = std::make_unique<TMemoryStream>();
    ZCompressMemoryStream(&Payload, Compressed.get());
    FCompressedStream = std::move(Compressed);
}

void TbsCompressedStoredSkin::LoadFromIniFile(const String& AFileName)
{
    bsCheckSkinTextSize(bsFileSize(AFileName));
    TStringList Lines;
    Lines.LoadFromFile(AFileName);
    TMemIniFile IniFile(AFileName);
    if (!IsSkinIni(&IniFile)) return;
    String Folder = ExtractFilePath(AFileName);
    TbsSkinPictureBudget Budget;

    TMemoryStream Payload;
    WriteInt32(&Payload, StoredSkinVersion);
    for (const char* Key : {"picture", "inactivepicture", "mask"}) {
        TBitmap Picture;
        String Name = IniFile.ReadString("PICTURES", Key, "");
        if (!Name.empty()) bsLoadSkinPicture(&Picture, Folder, Name, &Budget);
        WriteFlaggedImage(&Payload, &Picture);
    }
    TStringList Names;
    bsReadPictureNames(&IniFile, &Names);
    WriteInt32(&Payload, Names.Count());
    for (int i = 0; i < Names.Count(); ++i) {
        TBitmap Picture;
        bsLoadSkinPicture(&Picture, Folder, Names.Strings(i), &Budget);
        WriteBitmapImage(&Payload, &Picture);
    }
    WriteText(&Payload, &Lines);

    auto Compressed = std::make_unique<TMemoryStream>();
    ZCompressMemoryStream(&Payload, Compressed.get());
    FCompressedStream = std::move(Compressed);
}

void TbsCompressedStoredSkin::LoadFromCompressStream(TStream* Stream)
{
    FCompressedStream->Clear();
    Stream->SetPosition(0);
    int32_t Version = ReadInt32(Stream);
    if (Version > StoredSkinVersion) return;
    int32_t N = ReadInt32(Stream);
    if (N < 0 || N > Stream->Size() - Stream->Position()) throw EReadError("Stream read error");
    if (N > 0) FCompressedStream->CopyFrom(Stream, N);
}

void TbsCompressedStoredSkin::LoadFromCompressFile(const String& AFileName)
{
    TFileStream File(AFileName, fmOpenRead | fmShareDenyWrite);
    LoadFromCompressStream(&File);
}

void TbsCompressedStoredSkin::SaveToCompressStream(TStream* Stream)
{
    WriteInt32(Stream, StoredSkinVersion);
    WriteInt32(Stream, int32_t(FCompressedStream->Size()));
    if (FCompressedStream->Size() > 0) Stream->WriteBuffer(FCompressedStream->Memory(), FCompressedStream->Size());
}

void TbsCompressedStoredSkin::SaveToCompressFile(const String& AFileName)
{
    if (GetEmpty()) return;
    TMemoryStream Data;
    SaveToCompressStream(&Data);
    WriteFileAtomic(AFileName, std::string_view(static_cast<const char*>(Data.Memory()), size_t(Data.Size())));
}

void TbsCompressedStoredSkin::DeCompressToStream(TMemoryStream* S)
{
    ZDecompressStream(S, FCompressedStream.get());
}

namespace {

// No real skin unpacks to more than a few megabytes; a stored skin that would unpack to
// more than this is refused before it takes the memory and the time.
constexpr int64_t MaxStoredSkinPayload = int64_t(64) << 20;

// The payload of a stored skin, unpacked up to the limit.
void UnpackPayload(TMemoryStream* Packed, TMemoryStream* Payload)
{
    Packed->SetPosition(0);
    try {
        TDecompressionStream Z(Packed);
        uint8_t Buf[65536];
        for (;;) {
            const int64_t N = Z.Read(Buf, sizeof(Buf));
            if (N <= 0) break;
            if (Payload->Size() + N > MaxStoredSkinPayload)
                Damaged(Format("it unpacks to more than %d MB", int(MaxStoredSkinPayload >> 20)));
            Payload->WriteBuffer(Buf, N);
        }
    } catch (const EZlibError& E) {
        Damaged("its compressed data cannot be unpacked (" + E.Message() + ")");
    }
}

}  // namespace

// ---- Loading a stored skin into a skin data object

void TbsSkinData::LoadCompressedStoredSkin(TbsCompressedStoredSkin* AStoredSkin)
{
    if (!AStoredSkin || AStoredSkin->GetEmpty()) return;
    // The whole payload is read and checked before the change is announced: a damaged
    // skin raises here and leaves the loaded skin and the forms as they were.
    auto Loaded = std::make_unique<TbsSkinData>(nullptr);
    TbsSkinPictureBudget Budget;
    TMemoryStream Payload;
    UnpackPayload(AStoredSkin->CompressedStream(), &Payload);
    Payload.SetPosition(0);
    try {
        int32_t Version = ReadInt32(&Payload);
        if (Version > StoredSkinVersion) Damaged(Format("unknown payload version %d", Version));
        ReadFlaggedImage(&Payload, Loaded->FPicture.get(), Budget);
        ReadFlaggedImage(&Payload, Loaded->FInActivePicture.get(), Budget);
        ReadFlaggedImage(&Payload, Loaded->FMask.get(), Budget);
        if (Version == 2) {
            TBitmap Skipped;
            ReadFlaggedImage(&Payload, &Skipped, Budget);
            ReadFlaggedImage(&Payload, &Skipped, Budget);
        }
        int32_t Count = ReadInt32(&Payload);
        if (Count > (Payload.Size() - Payload.Position()) / MinBitmapImageSize)
            Damaged(Format("%d pictures do not fit in what follows", Count));
        for (int32_t i = 0; i < Count; ++i) {
            auto Picture = std::make_unique<TBitmap>();
            ReadBitmapImage(&Payload, Picture.get(), Budget);
            Loaded->FActivePictures.push_back(std::move(Picture));
        }
    } catch (const EReadError& E) {
        if (E.Message().rfind("The stored skin is damaged", 0) == 0 || E.Message().rfind("The skin is refused", 0) == 0)
            throw;
        Damaged("it ends too early");
    }

    // the text's lines and the ini file made of them take many times its bytes
    bsCheckSkinTextSize(Payload.Size() - Payload.Position());
    TMemoryStream Text;
    Text.CopyFrom(&Payload, Payload.Size() - Payload.Position());
    Text.SetPosition(0);
    TStringList Lines;
    Lines.LoadFromStream(&Text);
    TMemIniFile IniFile("");
    IniFile.SetStrings(&Lines);

    Loaded->ReadNames(&IniFile);
    bsReadPictureNames(&IniFile, Loaded->FActivePicturesNames.get());
    // The picture names travel in the text and the pictures beside it; make the two
    // lists agree, so that every picture has a name and every name a picture.
    TStrings* Names = Loaded->FActivePicturesNames.get();
    int PictureCount = int(Loaded->FActivePictures.size());
    while (Names->Count() > PictureCount) Names->Delete(Names->Count() - 1);
    for (int i = Names->Count(); i < PictureCount; ++i) {
        String Name = Format("picture%d.bmp", i);
        while (Names->IndexOf(Name) >= 0) Name = "_" + Name;
        Names->Add(Name);
    }
    Loaded->ReadRecords(&IniFile);
    ApplyLoadedSkin(*Loaded);
}

// ---- Skin lists

TbsSkinListItem::TbsSkinListItem(TCollection* ACollection)
    : TCollectionItem(ACollection), FSkin(std::make_unique<TbsCompressedStoredSkin>(nullptr))
{
    FName = Format("bsSkin%d", Index());
}

TbsSkinListItem::~TbsSkinListItem() = default;

void TbsSkinListItem::Assign(TPersistent* Source)
{
    auto* Src = dynamic_cast<TbsSkinListItem*>(Source);
    if (!Src) {
        TCollectionItem::Assign(Source);
        return;
    }
    // the stored skin travels in its container form, as the item streams it
    TMemoryStream Container;
    Src->WriteSkin(&Container);
    Container.SetPosition(0);
    ReadSkin(&Container);
    FDescription = Src->FDescription;
    FFileName = Src->FFileName;
    FCompressedFileName = Src->FCompressedFileName;
    FName = Src->FName;
}

TbsSkinListItems::TbsSkinListItems(TbsCompressedSkinList* ASkinList)
    : TCollection(TCollection::ItemClass<TbsSkinListItem>()), FSkinList(ASkinList)
{
}

TPersistent* TbsSkinListItems::GetOwner() { return FSkinList; }

TbsCompressedSkinList::TbsCompressedSkinList(TComponent* AOwner)
    : TComponent(AOwner), FSkins(std::make_unique<TbsSkinListItems>(this))
{
}

TbsCompressedSkinList::~TbsCompressedSkinList() = default;
