#include "display/skin_screen.h"

#include <unistd.h>

#include <algorithm>
#include <fstream>

#include "support/display/screen_pixels.h"
#include "platform/forms/Forms.h"
#include "test_files.h"

namespace skinscreen {

bool IsDark(uint32_t C) { return ((C >> 16) & 0xFF) + ((C >> 8) & 0xFF) + (C & 0xFF) < 3 * 110; }

int Count(const std::vector<uint32_t>& APixels, const std::function<bool(uint32_t)>& AWhich)
{
    int n = 0;
    for (uint32_t c : APixels) n += AWhich(c);
    return n;
}

uint32_t At(int X, int Y) { return screentest::ScreenPixel(X, Y); }

TRect OnScreen(TControl* C)
{
    const TPoint o = C->ClientToScreen({0, 0});
    return Bounds(o.X, o.Y, C->Width(), C->Height());
}

std::vector<uint32_t> Grab(const TRect& R) { return screentest::ScreenRect(R.Left, R.Top, R.Width(), R.Height()); }

int DarkIn(const TRect& R) { return Count(Grab(R), IsDark); }

int DefaultLookIn(const TRect& R)
{
    return Count(Grab(R), [](uint32_t c) { return c == DefaultFace; });
}

int CaptionText(const TRect& AWindow, int AWidth)
{
    return Count(screentest::ScreenRect(AWindow.Left + 4, AWindow.Top + 3, std::min(AWidth, AWindow.Width() - 8), 24),
                 [](uint32_t c) { return c == 0xFFFFFF; });
}

void Save(const std::vector<uint32_t>& APixels, const TRect& R, const String& AFileName)
{
    const std::string file = vctest::ShotFile(AFileName);
    if (file.empty()) return;
    String data = "P6\n" + std::to_string(R.Width()) + " " + std::to_string(R.Height()) + "\n255\n";
    for (uint32_t c : APixels) {
        data += char((c >> 16) & 0xFF);
        data += char((c >> 8) & 0xFF);
        data += char(c & 0xFF);
    }
    std::ofstream(file, std::ios::binary) << data;
}

std::vector<uint32_t> Shot(const TRect& R, const String& AFileName)
{
    std::vector<uint32_t> px = Grab(R);
    Save(px, R, AFileName);
    return px;
}

bool Pump(const std::function<bool()>& ADone, int ATurns)
{
    for (int turn = 0; turn < ATurns; ++turn) {
        Application->ProcessMessages();
        if (ADone()) return true;
        usleep(5000);
    }
    return false;
}

void Settle(int ATurns)
{
    Pump([] { return false; }, ATurns);
}

}  // namespace skinscreen
