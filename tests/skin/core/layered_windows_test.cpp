// Version tests, layered windows and the fading layer manager, work areas, alpha bitmaps.
#include <gtest/gtest.h>

#include "platform/forms/Forms.h"
#include "platform/windows/Headless.h"
#include "platform/windows/WinPaint.h"
#include "skin/core/bsEffects.h"
#include "skin/core/bsUtils.h"

namespace {

DWORD gVersion = 0x0105;
DWORD FakeVersion() { return gVersion; }

class LayeredWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        Headless::Install(Options());
        InitForms();
        bsGetVersion = &FakeVersion;
        gVersion = 0x0105;
    }
    void TearDown() override
    {
        bsGetVersion = &GetVersion;
        DoneForms();
    }
    virtual THeadlessOptions Options() { return {}; }

    // A W x H image of one colour and a mask of one grey.
    static std::unique_ptr<TBitmap> Solid(int W, int H, TColor C)
    {
        auto b = std::make_unique<TBitmap>();
        b->SetPixelFormat(pf32bit);
        b->SetSize(W, H);
        b->Canvas()->Brush()->SetColor(C);
        b->Canvas()->FillRect(TRect(0, 0, W, H));
        return b;
    }
    static int LayerWindows(TbsLayerManager& M)
    {
        int n = 0;
        for (int i = 0; i < M.ComponentCount(); ++i) n += dynamic_cast<TbsLayerWindow*>(M.Components(i)) != nullptr;
        return n;
    }
};

}  // namespace

TEST_F(LayeredWindows, VersionTests)
{
    struct Case {
        int Major, Minor;
        bool W2000, XP, Vista, W7, W8;
    };
    const Case cases[] = {
        {4, 0, false, false, false, false, false}, {5, 0, true, false, false, false, false},
        {5, 1, true, true, false, false, false},   {5, 2, true, false, false, false, false},
        {6, 0, true, true, true, false, false},    {6, 1, true, true, true, true, false},
        {6, 2, true, true, true, false, true},     {6, 3, true, true, true, false, false},
        {10, 0, true, true, true, false, true},
    };
    for (const auto& c : cases) {
        gVersion = DWORD(c.Major) | (DWORD(c.Minor) << 8) | 0x0A280000;
        int major, minor;
        GetOsVersion(major, minor);
        EXPECT_EQ(major, c.Major);
        EXPECT_EQ(minor, c.Minor);
        EXPECT_EQ(OsIsWin2000OrLater(), c.W2000) << c.Major << "." << c.Minor;
        EXPECT_EQ(OsIsXPOrLater(), c.XP) << c.Major << "." << c.Minor;
        EXPECT_EQ(OsIsVistaOrLater(), c.Vista) << c.Major << "." << c.Minor;
        EXPECT_EQ(OsIsWindows7(), c.W7) << c.Major << "." << c.Minor;
        EXPECT_EQ(OsIsWindows8OrLater(), c.W8) << c.Major << "." << c.Minor;
    }
    bsGetVersion = &GetVersion;
    EXPECT_TRUE(OsIsXPOrLater());  // the system's own profile
}

TEST_F(LayeredWindows, FadeSequences)
{
    struct Case {
        int Target;
        std::vector<int> Steps;
    };
    const Case cases[] = {
        {255, {25, 50, 75, 100, 125, 150, 175, 200, 225, 250, 255}},
        {100, {10, 20, 30, 40, 50, 60, 70, 80, 90, 100}},
        {5, {1, 2, 3, 4, 5}},  // a step of at least one
    };
    auto image = Solid(4, 3, clRed), mask = Solid(4, 3, clWhite);
    for (const auto& c : cases) {
        TbsLayerManager m(nullptr);
        m.Show(50, 60, image.get(), mask.get(), c.Target);
        ASSERT_NE(m.LayerWindow, nullptr);
        EXPECT_TRUE(m.IsVisible);
        EXPECT_TRUE(m.Timer->Enabled());
        EXPECT_EQ(m.Timer->Interval(), 25u);
        std::vector<int> seen;
        while (m.Timer->Enabled() && seen.size() < 20) {
            m.FadeStep();
            seen.push_back(m.BeginAlphaBlendValue);
        }
        EXPECT_EQ(seen, c.Steps) << c.Target;
        m.Hide();
        EXPECT_EQ(m.LayerWindow, nullptr);
        EXPECT_FALSE(m.IsVisible);
    }
}

TEST_F(LayeredWindows, ShowingAgainReplacesTheWindow)
{
    TbsLayerManager m(nullptr);
    auto red = Solid(4, 4, clRed), blue = Solid(6, 2, clBlue), mask = Solid(6, 4, clWhite);
    m.Show(10, 10, red.get(), mask.get(), 255);
    m.Show(20, 30, blue.get(), mask.get(), 200);
    EXPECT_EQ(LayerWindows(m), 1);
    EXPECT_EQ(m.Bmp->Width(), 6);
    EXPECT_EQ(*m.Bmp->PixelAddress(0, 0), 0xFF0000FFu);
    EXPECT_EQ(m.LayerWindow->Left(), 20);
    HWND wnd = m.LayerWindow->Handle();
    EXPECT_EQ(GetWindowLong(wnd, GWL_EXSTYLE) & (WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT),
              LONG_PTR(WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT));
    EXPECT_TRUE(GetWindowLong(wnd, GWL_STYLE) & WS_POPUP);
    EXPECT_EQ(SendMessage(wnd, WM_MOUSEACTIVATE, 0, 0), LRESULT(MA_NOACTIVATE));
    while (m.Timer->Enabled()) m.FadeStep();
    EXPECT_EQ(m.BeginAlphaBlendValue, 200);
    // The window shows the image (blue, opaque by the white mask), also after it painted.
    Headless::ProcessPending();
    EXPECT_EQ(Headless::Pixel(wnd, 1, 1) & 0x00FFFFFF, 0x0000FFu);
    m.Update();
    m.TopMostMode = false;
    m.Update();
    m.Hide();
    EXPECT_EQ(LayerWindows(m), 0);
    m.Hide();  // hidden already: nothing
}

TEST_F(LayeredWindows, OlderSystemsShowNothing)
{
    gVersion = 0x0004;
    TbsLayerManager m(nullptr);
    auto image = Solid(2, 2, clRed);
    m.Show(0, 0, image.get(), image.get(), 255);
    EXPECT_EQ(m.LayerWindow, nullptr);
    EXPECT_FALSE(m.IsVisible);
    m.Hide();
}

namespace {
class NoCompositor : public LayeredWindows {
protected:
    THeadlessOptions Options() override
    {
        THeadlessOptions o;
        o.Compositing = false;
        return o;
    }
};
}  // namespace

TEST_F(NoCompositor, NoLayerWindowIsShown)
{
    TbsLayerManager m(nullptr);
    auto image = Solid(2, 2, clRed);
    m.Show(0, 0, image.get(), image.get(), 255);
    EXPECT_EQ(m.LayerWindow, nullptr);
    EXPECT_FALSE(m.IsVisible);
    EXPECT_EQ(LayerWindows(m), 0);
    m.Hide();
}

TEST_F(LayeredWindows, ScrollBarInfoAndComposition)
{
    TForm* f = Application->CreateForm<TForm>();
    SCROLLBARINFO info;
    EXPECT_TRUE(SafeGetScrollBarInfo(f->Handle(), OBJID_VSCROLL, info));  // bars are never shown
    EXPECT_EQ(info.rgstate[0], STATE_SYSTEM_INVISIBLE);
    auto* entry = bsGetScrollBarInfo;
    bsGetScrollBarInfo = nullptr;  // a system without the call
    SCROLLBARINFO none;
    EXPECT_FALSE(SafeGetScrollBarInfo(f->Handle(), OBJID_VSCROLL, none));
    EXPECT_EQ(none.rgstate[0], STATE_SYSTEM_INVISIBLE);
    bsGetScrollBarInfo = entry;
    EXPECT_FALSE(LoadDwmApi());
    EXPECT_FALSE(IsDwmCompositionOn());
    EXPECT_FALSE(EnableBlurBehind(nullptr, true, nullptr));
    SetDwmTransitions(nullptr, false);
}

TEST_F(LayeredWindows, WorkAreasOnOneMonitor)
{
    EXPECT_FALSE(IsMultiMonitor());
    TRect r;
    GetWorkArea(true, r);
    EXPECT_EQ(r, Rect(0, 0, 1280, 994));
    GetWorkArea(false, r);
    EXPECT_EQ(r, Rect(0, 0, 1280, 1024));
    GetMonitorWorkArea(nullptr, true, r);
    EXPECT_EQ(r, Rect(0, 0, 1280, 994));
}

namespace {
class TwoMonitors : public LayeredWindows {
protected:
    THeadlessOptions Options() override
    {
        THeadlessOptions o;
        o.Monitors = {{{0, 0, 1280, 1024}, {0, 0, 1280, 994}, true}, {{1280, 0, 2304, 768}, {1280, 0, 2304, 740}, false}};
        return o;
    }
};
}  // namespace

TEST_F(TwoMonitors, WorkAreaOfTheNearestMonitor)
{
    EXPECT_TRUE(IsMultiMonitor());
    TForm* f = Application->CreateForm<TForm>();
    f->SetBounds(1500, 100, 200, 100);
    TRect r;
    GetMonitorWorkArea(f->Handle(), true, r);
    EXPECT_EQ(r, Rect(1280, 0, 2304, 740));
    GetMonitorWorkArea(f->Handle(), false, r);
    EXPECT_EQ(r, Rect(1280, 0, 2304, 768));
}

TEST_F(LayeredWindows, AlphaBitmapsForLayers)
{
    auto image = Solid(3, 2, RGB(200, 100, 50));
    auto mask = Solid(2, 2, RGB(90, 90, 90));  // narrower than the image
    TbsBitmap dest;
    CreateAlphaBitmap(image.get(), mask.get(), &dest);
    EXPECT_EQ(*dest.PixelAddress(0, 0), bsPackARGB(90, 90, 90, 50));  // colours lowered to alpha
    EXPECT_EQ(*dest.PixelAddress(2, 1), 0u);                          // not covered by the mask
    CreateAlphaBitmap(image.get(), nullptr, &dest);                    // no mask: the picture's own
    EXPECT_EQ(*dest.PixelAddress(2, 1), bsPackARGB(255, 200, 100, 50)); // alpha, opaque for 24 bits

    TPngImage rgba(COLOR_RGBALPHA, 2, 1);
    rgba.SetPixels(0, 0, RGB(1, 2, 3));
    rgba.AlphaScanline(0)[0] = 7;
    PngImageToBitmap(&dest, &rgba);
    EXPECT_EQ(*dest.PixelAddress(0, 0), 0x07010203u);
    EXPECT_EQ(bsAlphaOf(*dest.PixelAddress(1, 0)), 255);
    EXPECT_TRUE(dest.AlphaBlend());

    TPngImage keyed(COLOR_RGB, 2, 1);
    keyed.SetPixels(0, 0, clLime);
    keyed.SetPixels(1, 0, clRed);
    keyed.SetTransparentColor(clLime);
    PngImageToBitmap(&dest, &keyed);
    EXPECT_EQ(*dest.PixelAddress(0, 0), 0x0000FF00u);
    EXPECT_EQ(*dest.PixelAddress(1, 0), 0xFFFF0000u);
    EXPECT_FALSE(dest.AlphaBlend());
}
