// A sample canvas with shapes, Latin and Chinese text and a blended picture, saved as
// PNG in a folder of its own under the temporary folder and read back.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>

#include "platform/graphics/Graphics.h"
#include "platform/graphics/ImgList.h"

TEST(GraphicsSample, CanvasSavedAsPng)
{
    TBitmap B;
    B.SetPixelFormat(pf24bit);
    B.SetSize(320, 200);
    TCanvas* C = B.Canvas();
    C->Brush()->SetColor(RGB(246, 248, 250));
    C->FillRect(TRect(0, 0, 320, 200));
    // Shapes.
    C->Pen()->SetColor(RGB(40, 90, 160));
    C->Brush()->SetColor(RGB(200, 220, 245));
    C->Rectangle(10, 10, 110, 70);
    C->Brush()->SetColor(RGB(250, 210, 120));
    C->Ellipse(120, 10, 200, 70);
    C->Brush()->SetColor(RGB(170, 220, 170));
    C->RoundRect(210, 10, 310, 70, 16, 16);
    C->Polygon({{20, 150}, {60, 90}, {100, 150}});
    C->Pen()->SetStyle(psDot);
    C->MoveTo(10, 80);
    C->LineTo(310, 80);
    C->Pen()->SetStyle(psSolid);
    // Text.
    C->Brush()->SetStyle(bsClear);
    C->Font()->SetName("Tahoma");
    C->Font()->SetHeight(-13);
    C->Font()->SetColor(clBlack);
    C->TextOut(120, 92, "Video converter");
    C->Font()->SetName("宋体");
    C->Font()->SetColor(RGB(180, 30, 30));
    C->TextOut(120, 112, "澄枫DAT格式转换器");
    C->Font()->SetStyle({fsBold});
    RECT R{120, 135, 310, 195};
    C->Font()->SetColor(RGB(30, 30, 30));
    DrawText(C->Handle(), "&File 文件 — a wrapped line of text in a box", -1, &R, DT_WORDBREAK | DT_CENTER);
    // A blended picture: a round icon over the shapes.
    TIcon I;
    I.SetHandle(CopyIcon(LoadIcon(0, IDI_ASTERISK)));
    C->Draw(60, 40, &I);
    TPngImage Png;
    Png.Assign(&B);
    std::string Dir = (std::filesystem::temp_directory_path() / "vc-sample-XXXXXX").string();
    ASSERT_NE(mkdtemp(Dir.data()), nullptr);
    const std::string File = Dir + "/graphics_sample.png";
    Png.SaveToFile(File);
    TPngImage Back;
    Back.LoadFromFile(File);
    std::filesystem::remove_all(Dir);
    EXPECT_EQ(Back.Width(), 320);
    EXPECT_EQ(Back.Pixels(60 + 16, 40 + 16), Png.Pixels(60 + 16, 40 + 16));
}
