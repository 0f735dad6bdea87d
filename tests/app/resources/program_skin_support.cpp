#include "resources/program_skin_support.h"

#include <cstdlib>

namespace progskin {

namespace {

std::filesystem::path GoldenPath(const String& Name)
{
    return std::filesystem::path(VC_SOURCE_DIR) / "tests/app/resources/golden/program_skin" / (Name + ".png");
}

TColor PixelAt(TBitmap* B, int X, int Y) { return B->Canvas()->Pixels(X, Y) & 0xFFFFFF; }

}  // namespace

void ExpectGolden(TBitmap* B, const String& Name)
{
    const auto Path = GoldenPath(Name);
    if (std::getenv("VC_UPDATE_GOLDEN")) {
        TPngImage P(COLOR_RGB, B->Width(), B->Height());
        for (int Y = 0; Y < B->Height(); ++Y)
            for (int X = 0; X < B->Width(); ++X) P.SetPixels(X, Y, PixelAt(B, X, Y));
        std::filesystem::create_directories(Path.parent_path());
        P.SaveToFile(Path.string());
        return;
    }
    ASSERT_TRUE(std::filesystem::exists(Path)) << "no golden picture " << Path << " (run with VC_UPDATE_GOLDEN=1)";
    TPngImage G;
    G.LoadFromFile(Path.string());
    ASSERT_EQ(G.Width(), B->Width()) << Name;
    ASSERT_EQ(G.Height(), B->Height()) << Name;
    int Differ = 0;
    for (int Y = 0; Y < B->Height(); ++Y)
        for (int X = 0; X < B->Width(); ++X)
            if ((G.Pixels(X, Y) & 0xFFFFFF) != PixelAt(B, X, Y)) ++Differ;
    EXPECT_EQ(Differ, 0) << Name << ": pixels differ from the golden picture (regenerate with VC_UPDATE_GOLDEN=1 "
                         << "when the palette changed on purpose)";
}

}  // namespace progskin
