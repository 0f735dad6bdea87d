// Writes the program's finish sound: a short two-note chime (a fifth up, each note dying
// away) as 16-bit mono PCM at 22050 samples a second in a RIFF WAVE file.  The samples
// come from a formula, so every build writes the same bytes.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

constexpr int Rate = 22050;

void Put16(std::vector<uint8_t>& AOut, uint16_t AValue)
{
    AOut.push_back(uint8_t(AValue & 0xFF));
    AOut.push_back(uint8_t(AValue >> 8));
}

void Put32(std::vector<uint8_t>& AOut, uint32_t AValue)
{
    Put16(AOut, uint16_t(AValue & 0xFFFF));
    Put16(AOut, uint16_t(AValue >> 16));
}

void PutTag(std::vector<uint8_t>& AOut, const char* ATag) { AOut.insert(AOut.end(), ATag, ATag + 4); }

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: soundgen <file.wav>\n");
        return 2;
    }
    // Two notes of 0.45 s, the second starting 0.25 s after the first.
    const double pi = std::acos(-1.0);
    const struct {
        double Start, Frequency;
    } notes[] = {{0.0, 880.0}, {0.25, 1318.5}};
    const int count = int(Rate * 0.7);
    std::vector<uint8_t> data;
    data.reserve(size_t(count) * 2);
    for (int i = 0; i < count; ++i) {
        const double t = double(i) / Rate;
        double v = 0;
        for (const auto& n : notes) {
            const double u = t - n.Start;
            if (u < 0 || u > 0.45) continue;
            const double attack = std::min(1.0, u / 0.005), release = std::min(1.0, (0.45 - u) / 0.02);
            v += 0.35 * attack * release * std::exp(-u * 7.0) *
                 (std::sin(2 * pi * n.Frequency * u) + 0.3 * std::sin(4 * pi * n.Frequency * u));
        }
        Put16(data, uint16_t(int16_t(std::lround(std::clamp(v, -1.0, 1.0) * 32000))));
    }
    std::vector<uint8_t> file;
    PutTag(file, "RIFF");
    Put32(file, uint32_t(36 + data.size()));
    PutTag(file, "WAVE");
    PutTag(file, "fmt ");
    Put32(file, 16);
    Put16(file, 1);  // PCM
    Put16(file, 1);  // mono
    Put32(file, Rate);
    Put32(file, Rate * 2);
    Put16(file, 2);
    Put16(file, 16);
    PutTag(file, "data");
    Put32(file, uint32_t(data.size()));
    file.insert(file.end(), data.begin(), data.end());
    std::FILE* f = std::fopen(argv[1], "wb");
    if (!f) {
        std::perror(argv[1]);
        return 1;
    }
    const bool written = std::fwrite(file.data(), 1, file.size(), f) == file.size();
    return std::fclose(f) == 0 && written ? 0 : 1;
}
