// The system image list of the shell namespace: one process-wide list of 16-pixel and
// one of 32-pixel icons (desktop, computer, home, drive, closed and open folder,
// file, video, audio, image, text), drawn here on a 16-unit grid in a flat look with
// straight alpha.  The lists are never freed: controls share them.
#include <mutex>

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
