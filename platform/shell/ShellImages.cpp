// The shell's pictures, drawn here on a 16-unit grid in one flat look with straight
// alpha: the system image list of the shell namespace (one process-wide list of
// 16-pixel and one of 32-pixel icons: desktop, computer, home, drive, closed and open
// folder, file, video, audio, image, text; never freed, controls share them) and the
// program's named pictures (folder and drive bitmaps, the file dialog's tool pictures).
#include <cmath>
#include <functional>
#include <map>
#include <mutex>

#include "platform/graphics/Graphics.h"
#include "platform/graphics/ImgList.h"
#include "platform/shell/ShlObj.h"

namespace {

// A flat icon painter on a 16-unit grid, Scale pixels per unit.
class TIconPainter {
public:
    TIconPainter(TSurface& S, int OffsetX, int Scale) : FS(S), FX(OffsetX), FK(Scale) {}
    // fills units [X0, X1) x [Y0, Y1) (half units allowed through the doubled grid)
    void Fill(double X0, double Y0, double X1, double Y1, uint32_t C)
    {
        for (int Y = int(Y0 * FK); Y < int(Y1 * FK); ++Y)
            for (int X = int(X0 * FK); X < int(X1 * FK); ++X) Put(X, Y, C);
    }
    void Frame(double X0, double Y0, double X1, double Y1, uint32_t C)
    {
        double W = 1.0 / FK;  // one pixel
        Fill(X0, Y0, X1, Y0 + W, C);
        Fill(X0, Y1 - W, X1, Y1, C);
        Fill(X0, Y0, X0 + W, Y1, C);
        Fill(X1 - W, Y0, X1, Y1, C);
    }
    void Box(double X0, double Y0, double X1, double Y1, uint32_t Face, uint32_t Line)
    {
        Fill(X0, Y0, X1, Y1, Face);
        Frame(X0, Y0, X1, Y1, Line);
    }
    struct TP {
        double X, Y;
    };
    // a filled disc (centre and radius in units)
    void Disc(double Cx, double Cy, double R, uint32_t Col)
    {
        for (int Y = 0; Y < 16 * FK; ++Y)
            for (int X = 0; X < 16 * FK; ++X) {
                double Dx = (X + 0.5) / FK - Cx, Dy = (Y + 0.5) / FK - Cy;
                if (Dx * Dx + Dy * Dy <= R * R) Put(X, Y, Col);
            }
    }
    // a filled triangle
    void Triangle(TP A, TP B, TP C, uint32_t Col)
    {
        auto Side = [](double Px, double Py, TP P, TP Q) {
            return (Q.X - P.X) * (Py - P.Y) - (Q.Y - P.Y) * (Px - P.X);
        };
        for (int Y = 0; Y < 16 * FK; ++Y)
            for (int X = 0; X < 16 * FK; ++X) {
                double Px = (X + 0.5) / FK, Py = (Y + 0.5) / FK;
                double D1 = Side(Px, Py, A, B), D2 = Side(Px, Py, B, C), D3 = Side(Px, Py, C, A);
                bool Neg = D1 < 0 || D2 < 0 || D3 < 0, Pos = D1 > 0 || D2 > 0 || D3 > 0;
                if (!(Neg && Pos)) Put(X, Y, Col);
            }
    }

private:
    void Put(int X, int Y, uint32_t C)
    {
        if (X < 0 || Y < 0 || X >= 16 * FK || Y >= 16 * FK) return;
        FS.SetPixel(FX + X, Y, C);
    }
    TSurface& FS;
    int FX, FK;
};

constexpr uint32_t Outline = 0xFF5A6470, Paper = 0xFFFFFFFF, Accent = 0xFF2F80ED, AccentDark = 0xFF1B5FB8,
                   FolderFace = 0xFFF2C94C, FolderBack = 0xFFE0A82E, FolderLine = 0xFFB7891E, Grey = 0xFFB8BEC6,
                   GreyDark = 0xFF7D858F, Green = 0xFF27AE60, Red = 0xFFD64541, Purple = 0xFF8E44AD, Sky = 0xFFBFE3FF;

void Page(TIconPainter& P)
{
    P.Box(3, 1, 13, 15, Paper, Outline);
    P.Fill(10, 1, 13, 4, 0);  // the folded corner
    P.Triangle({10, 1}, {10, 4}, {13, 4}, Grey);
    P.Fill(10, 1, 10.5, 4, Outline);
}

void Paint(TIconPainter& P, int Icon)
{
    switch (Icon) {
    case siDesktop:
        P.Box(1, 2, 15, 12, Accent, AccentDark);
        P.Fill(3, 4, 7, 7, Paper);
        P.Fill(9, 4, 13, 7, Sky);
        P.Fill(6, 12, 10, 14, GreyDark);
        P.Fill(4, 14, 12, 15, GreyDark);
        break;
    case siComputer:
        P.Box(1, 2, 15, 11, Grey, GreyDark);
        P.Fill(2.5, 3.5, 13.5, 9.5, Accent);
        P.Fill(6, 11, 10, 13, GreyDark);
        P.Fill(3, 13, 13, 15, Grey);
        break;
    case siHome:
        P.Triangle({8, 1}, {1, 8}, {15, 8}, Red);
        P.Box(3, 8, 13, 15, Paper, Outline);
        P.Fill(7, 10, 9, 15, AccentDark);
        break;
    case siDrive:
        P.Box(1, 5, 15, 12, Grey, GreyDark);
        P.Fill(2, 9, 14, 10, GreyDark);
        P.Fill(11, 6.5, 13, 8, Green);
        break;
    case siFolder:
        P.Box(1, 3, 7, 6, FolderBack, FolderLine);
        P.Box(1, 5, 15, 14, FolderFace, FolderLine);
        break;
    case siFolderOpen:
        P.Box(1, 3, 7, 6, FolderBack, FolderLine);
        P.Box(1, 5, 14, 14, FolderBack, FolderLine);
        P.Triangle({3, 8}, {16, 8}, {14, 14}, FolderFace);
        P.Triangle({3, 8}, {14, 14}, {1, 14}, FolderFace);
        break;
    case siFile: Page(P); break;
    case siVideo:
        Page(P);
        P.Fill(4, 6, 12, 12, Accent);
        P.Triangle({6.5, 7.5}, {6.5, 10.5}, {10, 9}, Paper);
        break;
    case siAudio:
        Page(P);
        P.Fill(8, 5, 9, 11, Purple);
        P.Fill(8, 5, 11, 6, Purple);
        P.Box(5.5, 10, 9, 12.5, Purple, Purple);
        break;
    case siImage:
        Page(P);
        P.Fill(4, 6, 12, 13, Sky);
        P.Triangle({4, 13}, {7, 8}, {10, 13}, Green);
        P.Fill(9.5, 7, 11, 8.5, FolderFace);
        break;
    case siText:
        Page(P);
        for (double Y = 6; Y < 13; Y += 2) P.Fill(5, Y, Y == 12 ? 9 : 11, Y + 1, GreyDark);
        break;
    }
}

HIMAGELIST MakeList(int Size)
{
    int K = Size / 16;
    HIMAGELIST L = ImageList_Create(Size, Size, ILC_COLOR32, siCount, 0);
    auto Strip = std::make_shared<TSurface>(Size * siCount, Size, 32);
    for (int I = 0; I < siCount; ++I) {
        TIconPainter P(*Strip, I * Size, K);
        Paint(P, I);
    }
    HBITMAP B = CreateBitmap(Strip->Width(), Strip->Height(), 1, 32, nullptr);
    if (PSurface S = GetBitmapSurface(B)) *S = *Strip;
    ImageList_Add(L, B, nullptr);
    DeleteObject(B);
    return L;
}

}  // namespace

HIMAGELIST ShellSystemImageList(bool Small)
{
    static std::once_flag Once;
    static HIMAGELIST Lists[2];
    std::call_once(Once, [] {
        Lists[0] = MakeList(32);
        Lists[1] = MakeList(16);
    });
    return Lists[Small ? 1 : 0];
}

uintptr_t ShellImageListHandle(bool Small) { return uintptr_t(ShellSystemImageList(Small)); }

// ---- the program's named pictures ------------------------------------------------------------------
namespace {

// The folder and drive bitmaps: 16 x 16, 24 bits, on a key colour that their users take
// from the bottom-left pixel.
constexpr uint32_t Key = 0xFFFF00FF;

void Plus(TIconPainter& P, double X, double Y)
{
    P.Fill(X - 3, Y - 1, X + 3, Y + 1, Green);
    P.Fill(X - 1, Y - 3, X + 1, Y + 3, Green);
}

const std::map<String, std::function<void(TIconPainter&)>>& Pictures()
{
    static const std::map<String, std::function<void(TIconPainter&)>> M = {
        {"BS_CLOSEDFOLDER", [](TIconPainter& P) { Paint(P, siFolder); }},
        {"BS_OPENFOLDER", [](TIconPainter& P) { Paint(P, siFolderOpen); }},
        {"BS_CURRENTFOLDER",
         [](TIconPainter& P) {
             Paint(P, siFolderOpen);
             P.Triangle({9, 9}, {9, 13}, {12.5, 11}, AccentDark);
         }},
        {"BS_HARD", [](TIconPainter& P) { Paint(P, siDrive); }},
        {"BS_FLOPPY",
         [](TIconPainter& P) {
             P.Box(2, 2, 14, 14, Accent, AccentDark);
             P.Fill(5, 2.5, 11, 6, Grey);
             P.Fill(8.5, 3, 10, 5.5, GreyDark);
             P.Fill(4, 9, 12, 13.5, Paper);
         }},
        {"BS_CDROM",
         [](TIconPainter& P) {
             P.Disc(8, 8, 6.5, GreyDark);
             P.Disc(8, 8, 6, Sky);
             P.Disc(8, 8, 2, Paper);
             P.Disc(8, 8, 1, GreyDark);
         }},
        {"BS_NETWORK",
         [](TIconPainter& P) {
             Paint(P, siDrive);
             P.Fill(7.5, 12, 8.5, 14, GreyDark);
             P.Fill(3, 14, 13, 15, Green);
         }},
        {"BS_RAM",
         [](TIconPainter& P) {
             P.Box(1, 5, 15, 11, Green, 0xFF1E8449);
             for (double X = 3; X < 14; X += 3) P.Fill(X, 6.5, X + 2, 9.5, GreyDark);
             for (double X = 2; X < 15; X += 2) P.Fill(X, 11, X + 1, 12.5, FolderLine);
         }},
        // the file dialog's tool pictures (PNG with alpha)
        {"BS_BACK_PNG",
         [](TIconPainter& P) {
             P.Triangle({1.5, 8}, {8, 2}, {8, 14}, Accent);
             P.Fill(8, 6, 14.5, 10, Accent);
         }},
        {"BS_UP_PNG",
         [](TIconPainter& P) {
             P.Triangle({8, 1.5}, {2, 8}, {14, 8}, Accent);
             P.Fill(6, 8, 10, 14.5, Accent);
         }},
        {"BS_NEWFOLDER_PNG",
         [](TIconPainter& P) {
             P.Box(1, 5, 6, 8, FolderBack, FolderLine);
             P.Box(1, 7, 13, 15, FolderFace, FolderLine);
             Plus(P, 12, 4);
         }},
        {"BS_LVSTYLE_PNG",
         [](TIconPainter& P) {
             for (double Y : {2.0, 9.0})
                 for (double X : {2.0, 9.0}) P.Box(X, Y, X + 5, Y + 5, Sky, AccentDark);
         }},
        {"BS_STRETCH_PNG",
         [](TIconPainter& P) {
             P.Frame(4, 4, 12, 12, GreyDark);
             P.Triangle({1, 1}, {6, 1}, {1, 6}, Accent);
             P.Triangle({15, 15}, {10, 15}, {15, 10}, Accent);
             P.Triangle({15, 1}, {15, 6}, {10, 1}, Accent);
             P.Triangle({1, 15}, {1, 10}, {6, 15}, Accent);
         }},
    };
    return M;
}

void StreamBytes(TMemoryStream& Ms, std::vector<uint8_t>& Data)
{
    const uint8_t* B = static_cast<const uint8_t*>(Ms.Memory());
    Data.assign(B, B + Ms.Size());
}

}  // namespace

bool ShellResourceData(const String& Name, std::vector<uint8_t>& Data)
{
    auto It = Pictures().find(UpperCase(Name));
    if (It == Pictures().end()) return false;
    bool Png = EndsText("_PNG", Name);
    TSurface S(16, 16, 32);
    S.Fill(Png ? 0 : Key);
    TIconPainter P(S, 0, 1);
    It->second(P);
    TMemoryStream Ms;
    if (Png) {
        TPngImage Img(COLOR_RGBALPHA, 16, 16);
        for (int Y = 0; Y < 16; ++Y)
            for (int X = 0; X < 16; ++X) {
                uint32_t C = S.GetPixel(X, Y);
                Img.SetPixels(X, Y, RGB(int((C >> 16) & 0xFF), int((C >> 8) & 0xFF), int(C & 0xFF)));
                Img.AlphaScanline(Y)[X] = uint8_t(C >> 24);
            }
        Img.SaveToStream(&Ms);
    } else {
        TBitmap B;
        B.SetPixelFormat(pf24bit);
        B.SetSize(16, 16);
        for (int Y = 0; Y < 16; ++Y)
            for (int X = 0; X < 16; ++X) {
                uint32_t C = S.GetPixel(X, Y);
                B.Canvas()->SetPixels(X, Y, RGB(int((C >> 16) & 0xFF), int((C >> 8) & 0xFF), int(C & 0xFF)));
            }
        B.SaveToStream(&Ms);
    }
    StreamBytes(Ms, Data);
    return true;
}

std::vector<String> ShellResourceNames()
{
    std::vector<String> N;
    for (const auto& P : Pictures()) N.push_back(P.first);
    return N;
}

void InstallShellResources() { SetResourceLookup(ShellResourceData); }
