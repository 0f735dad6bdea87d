#include "app/resources/ProgramPictures.h"

#include <cstring>

#include "app/resources/ProgramResources.h"
#include "platform/system/SysUtils.h"

namespace {

const vcres::TResourceEntry* Find(const String& Name)
{
    for (size_t I = 0; I < vcres::ProgramPictureCount; ++I)
        if (Name == vcres::ProgramPictureTable[I].Name) return &vcres::ProgramPictureTable[I];
    return nullptr;
}

}  // namespace

bool LoadProgramPicture(const String& Name, TPngImage* APng)
{
    const vcres::TResourceEntry* E = Find(Name);
    if (!E) return false;
    TMemoryStream S;
    S.WriteBuffer(E->Data, int64_t(E->Size));
    S.SetPosition(0);
    APng->LoadFromStream(&S);
    return true;
}

std::vector<String> ProgramPictureNames()
{
    std::vector<String> L;
    for (size_t I = 0; I < vcres::ProgramPictureCount; ++I) L.push_back(vcres::ProgramPictureTable[I].Name);
    return L;
}

int ProgramListCount(const String& AList)
{
    int N = 0;
    while (Find(Format("%s.%d", AList, N))) ++N;
    return N;
}

int FillProgramImageList(const String& AList, TbsPngImageList* AImages)
{
    const int N = ProgramListCount(AList);
    for (int I = 0; I < N; ++I) {
        TPngImage P;
        LoadProgramPicture(Format("%s.%d", AList, I), &P);
        if (I == 0) {
            AImages->SetPngWidth(P.Width());
            AImages->SetPngHeight(P.Height());
        }
        auto* Item = static_cast<TbsPngImageItem*>(AImages->PngImages()->Add());
        Item->SetName(Format("%s.%d", AList, I));
        Item->SetPngImage(&P);
    }
    return N;
}

std::unique_ptr<TBitmap> ProgramBitmap(const String& Name, TColor Back, TColor AKey)
{
    TPngImage P;
    if (!LoadProgramPicture(Name, &P)) return nullptr;
    auto B = std::make_unique<TBitmap>();
    B->SetPixelFormat(pf24bit);
    B->SetSize(P.Width(), P.Height());
    const int BR = Back & 0xFF, BG = (Back >> 8) & 0xFF, BB = (Back >> 16) & 0xFF;
    for (int Y = 0; Y < P.Height(); ++Y) {
        const uint8_t* Src = P.Scanline(Y);
        const uint8_t* Alpha = P.AlphaScanline(Y);
        auto* Dst = static_cast<uint8_t*>(B->ScanLine(Y));
        for (int X = 0; X < P.Width(); ++X) {
            const int A = Alpha ? Alpha[X] : 255;
            if (A == 0) {
                Dst[X * 3 + 0] = uint8_t((AKey >> 16) & 0xFF);
                Dst[X * 3 + 1] = uint8_t((AKey >> 8) & 0xFF);
                Dst[X * 3 + 2] = uint8_t(AKey & 0xFF);
                continue;
            }
            auto Mix = [A](int S, int D) { return uint8_t((S * A + D * (255 - A) + 127) / 255); };
            Dst[X * 3 + 0] = Mix(Src[X * 3 + 0], BB);
            Dst[X * 3 + 1] = Mix(Src[X * 3 + 1], BG);
            Dst[X * 3 + 2] = Mix(Src[X * 3 + 2], BR);
        }
    }
    return B;
}

int FillProgramImageList(const String& AList, TCustomImageList* AImages, TColor Back)
{
    const int N = ProgramListCount(AList);
    for (int I = 0; I < N; ++I) {
        auto B = ProgramBitmap(Format("%s.%d", AList, I), Back, Back);
        if (I == 0) AImages->SetSize(B->Width(), B->Height());
        AImages->AddMasked(B.get(), Back);
    }
    return N;
}
