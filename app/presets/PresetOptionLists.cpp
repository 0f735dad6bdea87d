#include "app/presets/PresetOptionLists.h"

#include "platform/system/SysUtils.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// The value lists.  Texts are shown as they stand and parsed back by the text rules;
// lists are not sorted and may hold a text twice (both copies count for indices).
// resolution
const char* const R1[] = {
    "保持原分辨率", "128*96", "176*144", "240*176", "320*240", "352*240", "352*288", "384*288", "480*480",
    "480*576", "640*368", "640*480", "704*480", "704*576", "720*480", "720*576", "800*600", "852*480",
    "1024*768", "1280*720", "1280*1024", "1600*1024", "1600*1200", "1920*1080", "1920*1200", "1920*1200",
    "2048*1536", "2560*1600",
};
const char* const R2[] = {
    "112*96", "128*96", "160*112", "160*120", "176*144", "192*144", "208*176", "220*176", "320*208",
    "320*224", "320*240",
};
const char* const R3[] = {"该格式无视频"};
const char* const R4[] = {
    "保持原分辨率", "1024*768", "1280*720", "1280*1024", "1600*1024", "1600*1200", "1920*1080", "1920*1200",
    "1920*1200", "2048*1536", "2560*1600",
};
const char* const R5[] = {"128*96", "176*144", "160*120", "320*240", "352*288", "368*208", "640*480"};
const char* const R6[] = {
    "128*96", "176*144", "160*120", "320*240", "352*288", "368*208", "480*320", "480*368", "512*384",
    "640*272", "640*353", "640*480",
};
const char* const R7[] = {
    "128*96", "176*144", "160*120", "320*240", "352*288", "368*208", "480*320", "480*368", "512*384",
    "640*272", "640*353", "640*480", "720*406",
};
const char* const R8[] = {"320*240", "368*208", "480*272", "640*480", "720*480"};
const char* const R9[] = {
    "112*96", "128*96", "160*112", "160*120", "176*144", "192*144", "208*176", "220*176", "320*208",
    "320*224", "320*240", "352*288", "480*360",
};
const char* const R10[] = {"128*96", "176*144", "160*120", "320*240", "352*288", "368*208", "640*480", "1280*720"};
const char* const R11[] = {
    "128*96", "176*144", "160*120", "320*240", "352*288", "368*208", "480*272", "640*480", "704*576",
};
const char* const R12[] = {"1280*720", "1440*1080", "1920*1080"};
const char* const R13[] = {
    "640*480", "704*576", "720*480", "720*576", "800*600", "852*480", "1024*768", "1280*720", "1280*1024",
    "1600*1024", "1600*1200", "1920*1080", "1920*1200", "1920*1200", "2048*1536", "2560*1600",
};
const char* const R14[] = {"704*576", "1280*720", "1440*1080", "1920*1080"};
const char* const R15[] = {
    "128*96", "176*144", "160*120", "320*240", "352*288", "368*208", "640*480", "704*576", "1280*720",
    "1440*1080", "1920*1080",
};
const char* const R16[] = {
    "128*96", "176*144", "160*120", "320*240", "352*288", "368*208", "480*272", "640*480", "704*576",
    "1280*720", "1440*1080", "1920*1080",
};
const char* const R17[] = {"160*120", "320*240", "480*272", "640*480", "720*480"};
const char* const R18[] = {"320*240", "640*480"};
const char* const R19[] = {
    "保持原分辨率", "128*96", "176*144", "240*176", "320*240", "352*240", "352*288", "384*288", "480*480",
    "480*576", "640*368", "640*480", "704*480", "704*576", "720*480", "720*576", "800*600", "852*480",
    "1024*768",
};
const char* const R20[] = {"640*480", "720*480", "720*576", "960*540", "1024*768", "1280*720"};

// video bitrate
const char* const VB1[] = {
    "128 kbps", "288 kbps", "528 kbps", "816 kbps", "1200 kbps", "1600 kbps", "1800 kbps", "2000 kbps",
};
const char* const VB2[] = {
    "128 kbps", "288 kbps", "528 kbps", "768 kbps", "816 kbps", "1200 kbps", "1600 kbps", "1800 kbps",
    "2000 kbps",
};
const char* const VB3[] = {
    "128 kbps", "288 kbps", "528 kbps", "816 kbps", "1000 kbps", "1200 kbps", "1600 kbps", "1800 kbps",
    "2000 kbps",
};
const char* const VB4[] = {
    "8 kbps", "16 kbps", "24 kbps", "32 kbps", "48 kbps", "56 kbps", "64 kbps", "80 kbps", "96 kbps",
    "128 kbps", "160 kbps", "192 kbps", "256 kbps", "320 kbps", "384 kbps",
};
const char* const VB5[] = {
    "128 kbps", "288 kbps", "528 kbps", "600 kbps", "816 kbps", "1200 kbps", "1600 kbps", "1800 kbps",
    "2000 kbps",
};
const char* const VB6[] = {"无视频"};
const char* const VB7[] = {
    "816 kbps", "1200 kbps", "1600 kbps", "1800 kbps", "2000 kbps", "2500 kbps", "3000 kbps", "4000 kbps",
};
const char* const VB8[] = {
    "192 kbps", "384 kbps", "600 kbps", "768 kbps", "1000 kbps", "1200 kbps", "1500 kbps", "1800 kbps",
    "2000 kbps",
};
const char* const VB9[] = {"216 kbps", "384 kbps", "512 kbps", "768 kbps", "1000 kbps", "1200 kbps", "1500 kbps"};
const char* const VB10[] = {
    "8 kbps", "16 kbps", "24 kbps", "32 kbps", "48 kbps", "56 kbps", "64 kbps", "80 kbps", "96 kbps",
    "128 kbps", "160 kbps", "192 kbps", "256 kbps", "320 kbps", "384 kbps", "512 kbps", "600 kbps",
};
const char* const VB11[] = {
    "816 kbps", "1000 kbps", "1200 kbps", "1600 kbps", "1800 kbps", "2000 kbps", "2500 kbps", "3000 kbps",
    "4000 kbps",
};
const char* const VB12[] = {
    "528 kbps", "768 kbps", "816 kbps", "1200 kbps", "1600 kbps", "1800 kbps", "2000 kbps", "2500 kbps",
    "3000 kbps", "4000 kbps",
};

// frame rate
const char* const FR1[] = {
    "保持原帧速率", "10.00", "13.00", "15.00", "18.00", "20.00", "23.00", "23.97", "24.00", "25.00", "29.97",
    "30.00",
};
const char* const FR2[] = {"1", "2", "3", "5", "10", "12", "15"};
const char* const FR3[] = {"无视频"};
const char* const FR4[] = {"保持原帧速率", "25.00", "29.97", "30.00"};
const char* const FR5[] = {"保持原帧速率", "10.00", "12.00", "15.00", "20.00", "23.98", "24.00", "25.00", "29.97", "30.00"};
const char* const FR6[] = {"15.00", "23.98", "29.97"};
const char* const FR7[] = {"1", "2", "3", "5", "10", "12", "15", "25"};
const char* const FR8[] = {"保持原帧速率", "23.98", "24.00", "25.00", "29.97", "30.00"};

// audio bitrate
const char* const AB1[] = {
    "16 kbps", "24 kbps", "32 kbps", "40 kbps", "48 kbps", "56 kbps", "64 kbps", "80 kbps", "96 kbps",
    "112 kbps", "128 kbps", "144 kbps", "160 kbps", "192 kbps", "224 kbps", "256 kbps", "320 kbps",
};
const char* const AB2[] = {"5 kbps", "6 kbps", "7 kbps", "8 kbps", "10 kbps", "12 kbps"};
const char* const AB3[] = {
    "4.75 kbps", "5.15 kbps", "5.9 kbps", "6.7 kbps", "7.4 kbps", "7.95 kbps", "10.2 kbps", "12.2 kbps",
};
const char* const AB4[] = {"64 kbps", "96 kbps", "128 kbps", "160 kbps", "192 kbps"};
const char* const AB5[] = {"48 kbps", "56 kbps", "64 kbps", "80 kbps", "96 kbps", "112 kbps", "116 kbps", "128 kbps"};
const char* const AB6[] = {
    "32 kbps", "48 kbps", "56 kbps", "64 kbps", "80 kbps", "96 kbps", "112 kbps", "116 kbps", "128 kbps",
};

// sample rate
const char* const SR1[] = {"11025", "16000", "22050", "32000", "44100", "48000"};
const char* const SR2[] = {"8000"};
const char* const SR3[] = {"22050", "32000", "44100", "48000"};
const char* const SR4[] = {"8000", "11025", "16000", "22050", "32000", "44100", "48000"};
const char* const SR5[] = {"11025", "22050", "44100"};
const char* const SR6[] = {"22050", "24000", "32000", "44100", "48000"};

// aspect
const char* const AM1[] = {"保持原视频模式", "普通视频4:3模式", "宽屏视频16:9模式", "宽屏视频37:20模式", "宽屏视频47:20模式"};
const char* const AM2[] = {"保持原视频模式", "普通视频4:3模式"};
const char* const AM3[] = {"无视频"};

constexpr bool A = true;  // audio only

// code, resolution, video bitrate, frame rate, audio bitrate, sample rate, aspect: list and default
const TPresetOptionEntry Table[] = {
    {100, {{R1, 0}, {VB1, 3}, {FR1, 9}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {101, {{R1, 0}, {VB2, 3}, {FR1, 9}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {102, {{R1, 0}, {VB3, 4}, {FR1, 9}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {103, {{R1, 0}, {VB2, 3}, {FR1, 9}, {AB1, 10}, {SR1, 5}, {AM1, 0}}, false},
    {104, {{R1, 0}, {VB3, 4}, {FR1, 0}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {105, {{R1, 0}, {VB1, 4}, {FR1, 10}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {106, {{R1, 4}, {VB1, 3}, {FR1, 9}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {107, {{R1, 0}, {VB1, 3}, {FR1, 9}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {108, {{R1, 0}, {VB1, 3}, {FR1, 0}, {AB1, 10}, {SR1, 5}, {AM1, 0}}, false},
    {109, {{R2, 4}, {VB4, 9}, {FR2, 5}, {AB2, 5}, {SR2, 0}, {AM2, 0}}, false},
    {110, {{R1, 0}, {VB5, 3}, {FR1, 9}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {111, {{R1, 12}, {VB1, 4}, {FR1, 10}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {112, {{R1, 8}, {VB1, 2}, {FR1, 9}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {113, {{R1, 4}, {VB1, 2}, {FR1, 9}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {114, {{R1, 4}, {VB1, 2}, {FR1, 9}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},

    {200, {{R3, 0}, {VB6, 0}, {FR3, 0}, {AB1, 10}, {SR1, 4}, {AM3, 0}}, A},
    {201, {{R3, 0}, {VB6, 0}, {FR3, 0}, {AB1, 10}, {SR1, 4}, {AM3, 0}}, A},
    {202, {{R3, 0}, {VB6, 0}, {FR3, 0}, {AB1, 13}, {SR1, 5}, {AM3, 0}}, A},
    {203, {{R3, 0}, {VB6, 0}, {FR3, 0}, {AB1, 10}, {SR1, 5}, {AM3, 0}}, A},
    {204, {{R3, 0}, {VB6, 0}, {FR3, 0}, {AB1, 9}, {SR1, 4}, {AM3, 0}}, A},
    {205, {{R3, 0}, {VB6, 0}, {FR3, 0}, {AB1, 10}, {SR1, 4}, {AM3, 0}}, A},
    {206, {{R3, 0}, {VB6, 0}, {FR3, 0}, {AB1, 9}, {SR1, 4}, {AM3, 0}}, A},
    {207, {{R3, 0}, {VB6, 0}, {FR3, 0}, {AB1, 10}, {SR1, 4}, {AM3, 0}}, A},
    {208, {{R3, 0}, {VB6, 0}, {FR3, 0}, {AB1, 10}, {SR1, 4}, {AM3, 0}}, A},
    {209, {{R3, 0}, {VB6, 0}, {FR3, 0}, {AB1, 10}, {SR1, 4}, {AM3, 0}}, A},
    {210, {{R3, 0}, {VB6, 0}, {FR3, 0}, {AB1, 13}, {SR1, 5}, {AM3, 0}}, A},
    {211, {{R3, 0}, {VB6, 0}, {FR3, 0}, {AB1, 12}, {SR1, 5}, {AM3, 0}}, A},
    {212, {{R3, 0}, {VB6, 0}, {FR3, 0}, {AB3, 4}, {SR2, 0}, {AM3, 0}}, A},

    {300, {{R4, 2}, {VB7, 2}, {FR4, 2}, {AB1, 10}, {SR1, 5}, {AM1, 0}}, false},
    {301, {{R4, 2}, {VB7, 1}, {FR4, 3}, {AB1, 10}, {SR1, 5}, {AM1, 0}}, false},
    {302, {{R4, 2}, {VB7, 1}, {FR4, 2}, {AB1, 13}, {SR1, 5}, {AM1, 0}}, false},
    {303, {{R4, 3}, {VB7, 2}, {FR4, 3}, {AB1, 13}, {SR1, 5}, {AM1, 0}}, false},
    {304, {{R4, 3}, {VB7, 2}, {FR4, 2}, {AB1, 12}, {SR1, 5}, {AM1, 0}}, false},
    {305, {{R4, 3}, {VB7, 1}, {FR4, 2}, {AB1, 10}, {SR1, 5}, {AM1, 0}}, false},
    {306, {{R4, 3}, {VB7, 2}, {FR4, 2}, {AB1, 10}, {SR1, 5}, {AM1, 0}}, false},
    {307, {{R4, 2}, {VB7, 1}, {FR4, 2}, {AB1, 10}, {SR1, 5}, {AM1, 0}}, false},
    {308, {{R4, 3}, {VB7, 2}, {FR4, 2}, {AB1, 10}, {SR1, 5}, {AM1, 0}}, false},
    {309, {{R4, 3}, {VB7, 2}, {FR4, 3}, {AB1, 10}, {SR1, 5}, {AM1, 0}}, false},

    {400, {{R5, 3}, {VB8, 4}, {FR5, 7}, {AB4, 2}, {SR3, 3}, {AM1, 0}}, false},
    {401, {{R5, 3}, {VB8, 2}, {FR5, 7}, {AB4, 2}, {SR3, 3}, {AM1, 0}}, false},
    {402, {{R5, 3}, {VB8, 3}, {FR5, 7}, {AB4, 2}, {SR3, 3}, {AM1, 0}}, false},
    {403, {{R5, 6}, {VB8, 3}, {FR5, 7}, {AB4, 2}, {SR3, 3}, {AM1, 0}}, false},
    {404, {{R5, 6}, {VB8, 3}, {FR5, 7}, {AB4, 2}, {SR3, 3}, {AM1, 0}}, false},
    {405, {{R5, 6}, {VB8, 5}, {FR5, 7}, {AB4, 2}, {SR3, 3}, {AM1, 0}}, false},
    {406, {{R5, 6}, {VB8, 2}, {FR5, 7}, {AB4, 2}, {SR3, 3}, {AM1, 0}}, false},
    {407, {{R6, 6}, {VB8, 3}, {FR5, 7}, {AB4, 2}, {SR3, 3}, {AM1, 0}}, false},
    {408, {{R6, 11}, {VB8, 3}, {FR5, 7}, {AB4, 2}, {SR3, 3}, {AM1, 0}}, false},
    {409, {{R6, 11}, {VB8, 5}, {FR5, 7}, {AB4, 2}, {SR3, 3}, {AM1, 0}}, false},
    {410, {{R6, 11}, {VB8, 2}, {FR5, 7}, {AB4, 2}, {SR3, 3}, {AM1, 0}}, false},
    {411, {{R6, 9}, {VB8, 3}, {FR5, 7}, {AB4, 2}, {SR3, 3}, {AM1, 2}}, false},
    {412, {{R6, 3}, {VB8, 3}, {FR5, 7}, {AB4, 2}, {SR3, 3}, {AM1, 0}}, false},
    {413, {{R6, 6}, {VB8, 3}, {FR5, 7}, {AB4, 2}, {SR3, 3}, {AM1, 0}}, false},

    {500, {{R6, 6}, {VB8, 3}, {FR5, 7}, {AB4, 2}, {SR3, 3}, {AM1, 0}}, false},
    {501, {{R6, 11}, {VB8, 3}, {FR5, 7}, {AB4, 2}, {SR3, 3}, {AM1, 0}}, false},
    {502, {{R7, 12}, {VB8, 3}, {FR5, 7}, {AB4, 2}, {SR3, 3}, {AM1, 2}}, false},
    {503, {{R7, 11}, {VB8, 5}, {FR5, 7}, {AB4, 2}, {SR3, 3}, {AM1, 0}}, false},
    {504, {{R7, 3}, {VB8, 3}, {FR5, 7}, {AB4, 2}, {SR3, 3}, {AM1, 0}}, false},
    {505, {{R7, 6}, {VB8, 3}, {FR5, 7}, {AB4, 2}, {SR3, 3}, {AM1, 0}}, false},

    {600, {{R8, 0}, {VB9, 3}, {FR6, 2}, {AB4, 2}, {SR3, 3}, {AM1, 0}}, false},
    {601, {{R8, 1}, {VB9, 4}, {FR6, 2}, {AB4, 2}, {SR3, 3}, {AM1, 0}}, false},
    {602, {{R8, 1}, {VB9, 5}, {FR6, 2}, {AB4, 2}, {SR3, 3}, {AM1, 0}}, false},
    {603, {{R8, 1}, {VB9, 2}, {FR6, 2}, {AB4, 2}, {SR3, 3}, {AM1, 0}}, false},
    {604, {{R8, 4}, {VB9, 4}, {FR6, 2}, {AB4, 2}, {SR3, 3}, {AM1, 0}}, false},

    {700, {{R2, 4}, {VB4, 9}, {FR2, 5}, {AB3, 4}, {SR2, 0}, {AM1, 0}}, false},
    {701, {{R2, 4}, {VB4, 9}, {FR2, 5}, {AB5, 0}, {SR4, 4}, {AM1, 0}}, false},
    {702, {{R2, 4}, {VB4, 9}, {FR2, 5}, {AB3, 6}, {SR2, 0}, {AM1, 0}}, false},
    {703, {{R2, 4}, {VB4, 9}, {FR2, 5}, {AB5, 0}, {SR4, 4}, {AM1, 0}}, false},
    {704, {{R9, 4}, {VB4, 9}, {FR2, 5}, {AB3, 4}, {SR2, 0}, {AM1, 0}}, false},
    {705, {{R9, 4}, {VB4, 9}, {FR2, 5}, {AB5, 0}, {SR4, 4}, {AM1, 0}}, false},
    {706, {{R9, 4}, {VB4, 9}, {FR2, 5}, {AB5, 0}, {SR4, 4}, {AM1, 0}}, false},
    {707, {{R9, 4}, {VB10, 10}, {FR7, 6}, {AB5, 0}, {SR4, 4}, {AM1, 0}}, false},
    {708, {{R3, 0}, {VB6, 0}, {FR3, 0}, {AB3, 4}, {SR2, 0}, {AM3, 0}}, A},
    {709, {{R9, 4}, {VB10, 9}, {FR7, 5}, {AB6, 0}, {SR4, 4}, {AM1, 0}}, false},
    {710, {{R9, 4}, {VB10, 9}, {FR7, 5}, {AB6, 0}, {SR4, 4}, {AM1, 0}}, false},
    {711, {{R9, 4}, {VB10, 9}, {FR7, 5}, {AB6, 0}, {SR4, 4}, {AM1, 0}}, false},
    {712, {{R9, 4}, {VB10, 9}, {FR7, 5}, {AB6, 0}, {SR4, 4}, {AM1, 0}}, false},
    {713, {{R9, 4}, {VB10, 9}, {FR7, 5}, {AB6, 0}, {SR4, 4}, {AM1, 0}}, false},

    {800, {{R5, 3}, {VB8, 3}, {FR5, 7}, {AB4, 2}, {SR3, 3}, {AM1, 0}}, false},
    {801, {{R5, 6}, {VB8, 3}, {FR5, 7}, {AB4, 2}, {SR3, 3}, {AM1, 0}}, false},
    {802, {{R10, 7}, {VB8, 6}, {FR5, 8}, {AB4, 2}, {SR3, 3}, {AM1, 0}}, false},
    {803, {{R5, 6}, {VB8, 7}, {FR5, 8}, {AB4, 2}, {SR3, 3}, {AM1, 0}}, false},
    {804, {{R5, 6}, {VB8, 2}, {FR5, 7}, {AB4, 2}, {SR3, 3}, {AM1, 0}}, false},

    {900, {{R11, 7}, {VB8, 5}, {FR5, 8}, {AB4, 2}, {SR3, 3}, {AM1, 0}}, false},
    {901, {{R12, 0}, {VB8, 5}, {FR5, 9}, {AB4, 2}, {SR3, 3}, {AM1, 0}}, false},
    {902, {{R12, 0}, {VB8, 5}, {FR5, 9}, {AB4, 2}, {SR3, 3}, {AM1, 0}}, false},
    {903, {{R11, 7}, {VB8, 4}, {FR5, 7}, {AB4, 2}, {SR3, 3}, {AM1, 0}}, false},
    {904, {{R13, 7}, {VB8, 5}, {FR5, 9}, {AB4, 2}, {SR3, 3}, {AM1, 0}}, false},
    {905, {{R11, 7}, {VB8, 5}, {FR5, 7}, {AB4, 2}, {SR3, 3}, {AM1, 0}}, false},
    {906, {{R14, 2}, {VB8, 7}, {FR5, 9}, {AB4, 2}, {SR3, 3}, {AM1, 0}}, false},
    {907, {{R15, 8}, {VB8, 7}, {FR5, 9}, {AB4, 2}, {SR3, 3}, {AM1, 0}}, false},
    {908, {{R16, 9}, {VB8, 5}, {FR5, 8}, {AB4, 2}, {SR3, 3}, {AM1, 0}}, false},
    {909, {{R15, 8}, {VB8, 7}, {FR5, 9}, {AB4, 2}, {SR3, 3}, {AM1, 0}}, false},

    {1000, {{R17, 2}, {VB8, 4}, {FR5, 7}, {AB4, 2}, {SR3, 3}, {AM1, 0}}, false},
    {1001, {{R17, 4}, {VB8, 4}, {FR5, 7}, {AB4, 2}, {SR3, 3}, {AM1, 0}}, false},
    {1002, {{R17, 1}, {VB8, 2}, {FR5, 7}, {AB4, 2}, {SR3, 3}, {AM1, 0}}, false},
    {1003, {{R18, 0}, {VB8, 3}, {FR5, 7}, {AB4, 2}, {SR3, 3}, {AM1, 0}}, false},
    {1004, {{R18, 0}, {VB8, 3}, {FR5, 7}, {AB4, 2}, {SR3, 3}, {AM1, 0}}, false},
    {1005, {{R18, 0}, {VB8, 5}, {FR5, 7}, {AB4, 2}, {SR3, 3}, {AM1, 0}}, false},
    {1006, {{R18, 0}, {VB8, 3}, {FR5, 7}, {AB4, 2}, {SR3, 3}, {AM1, 0}}, false},
    {1007, {{R17, 3}, {VB8, 3}, {FR5, 7}, {AB4, 2}, {SR3, 3}, {AM1, 0}}, false},

    {1100, {{R19, 4}, {VB1, 3}, {FR1, 9}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {1101, {{R1, 0}, {VB1, 4}, {FR1, 9}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {1102, {{R1, 0}, {VB1, 4}, {FR1, 9}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {1103, {{R1, 0}, {VB1, 4}, {FR1, 10}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {1104, {{R1, 0}, {VB1, 4}, {FR1, 10}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},

    {1200, {{R1, 0}, {VB1, 3}, {FR1, 9}, {AB1, 10}, {SR5, 1}, {AM1, 0}}, false},
    {1201, {{R1, 0}, {VB1, 3}, {FR1, 9}, {AB1, 10}, {SR5, 1}, {AM1, 0}}, false},
    {1202, {{R3, 0}, {VB6, 0}, {FR3, 0}, {AB1, 10}, {SR5, 1}, {AM3, 0}}, A},
    {1203, {{R3, 0}, {VB6, 0}, {FR3, 0}, {AB1, 10}, {SR5, 1}, {AM3, 0}}, A},

    {1300, {{R20, 0}, {VB8, 5}, {FR8, 5}, {AB4, 2}, {SR6, 2}, {AM1, 0}}, false},
    {1301, {{R20, 2}, {VB8, 5}, {FR8, 5}, {AB4, 2}, {SR6, 3}, {AM1, 0}}, false},
    {1302, {{R20, 0}, {VB8, 4}, {FR8, 5}, {AB4, 2}, {SR6, 2}, {AM1, 0}}, false},
    {1303, {{R20, 2}, {VB8, 6}, {FR8, 5}, {AB4, 3}, {SR6, 4}, {AM1, 0}}, false},
    {1304, {{R20, 0}, {VB8, 4}, {FR8, 5}, {AB4, 2}, {SR6, 1}, {AM1, 0}}, false},
    {1305, {{R20, 0}, {VB8, 5}, {FR8, 5}, {AB4, 2}, {SR6, 3}, {AM1, 0}}, false},

    {1400, {{R1, 0}, {VB3, 4}, {FR1, 9}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {1401, {{R1, 4}, {VB1, 3}, {FR1, 9}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {1402, {{R1, 0}, {VB3, 3}, {FR1, 9}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {1403, {{R1, 0}, {VB2, 3}, {FR1, 9}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {1404, {{R4, 3}, {VB7, 2}, {FR4, 2}, {AB1, 10}, {SR1, 5}, {AM1, 0}}, false},
    {1405, {{R4, 3}, {VB7, 2}, {FR4, 3}, {AB1, 13}, {SR1, 5}, {AM1, 0}}, false},
    {1406, {{R1, 11}, {VB5, 3}, {FR1, 9}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {1407, {{R1, 4}, {VB1, 2}, {FR1, 9}, {AB1, 8}, {SR1, 3}, {AM1, 0}}, false},
    {1408, {{R1, 12}, {VB1, 4}, {FR1, 10}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {1409, {{R1, 8}, {VB1, 2}, {FR1, 9}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {1410, {{R1, 4}, {VB1, 2}, {FR1, 9}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},

    {1500, {{R1, 0}, {VB1, 3}, {FR1, 9}, {AB1, 10}, {SR5, 1}, {AM1, 0}}, false},
    {1501, {{R1, 19}, {VB1, 5}, {FR1, 10}, {AB1, 10}, {SR5, 1}, {AM1, 0}}, false},
    {1502, {{R1, 4}, {VB5, 3}, {FR1, 9}, {AB1, 10}, {SR5, 1}, {AM1, 0}}, false},
    {1503, {{R1, 4}, {VB1, 2}, {FR1, 5}, {AB1, 8}, {SR5, 1}, {AM1, 0}}, false},
    {1504, {{R1, 0}, {VB1, 3}, {FR1, 9}, {AB1, 10}, {SR5, 1}, {AM1, 0}}, false},
    {1505, {{R3, 0}, {VB6, 0}, {FR3, 0}, {AB1, 10}, {SR5, 1}, {AM3, 0}}, A},
    {1506, {{R3, 0}, {VB6, 0}, {FR3, 0}, {AB1, 10}, {SR5, 1}, {AM3, 0}}, A},

    {1600, {{R1, 0}, {VB1, 3}, {FR1, 9}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {1601, {{R1, 19}, {VB7, 2}, {FR4, 2}, {AB1, 10}, {SR1, 5}, {AM1, 0}}, false},
    {1602, {{R1, 4}, {VB1, 2}, {FR1, 9}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {1603, {{R1, 0}, {VB3, 4}, {FR1, 10}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {1604, {{R1, 4}, {VB5, 3}, {FR1, 9}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {1605, {{R1, 0}, {VB1, 2}, {FR1, 5}, {AB1, 8}, {SR1, 3}, {AM1, 0}}, false},
    {1606, {{R1, 19}, {VB7, 2}, {FR4, 2}, {AB1, 10}, {SR1, 5}, {AM1, 0}}, false},

    {1700, {{R1, 0}, {VB1, 3}, {FR1, 9}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {1701, {{R1, 19}, {VB7, 2}, {FR4, 2}, {AB1, 10}, {SR1, 5}, {AM1, 0}}, false},
    {1702, {{R1, 4}, {VB1, 2}, {FR1, 9}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {1703, {{R1, 0}, {VB3, 4}, {FR1, 10}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {1704, {{R1, 4}, {VB5, 3}, {FR1, 9}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {1705, {{R1, 0}, {VB1, 2}, {FR1, 5}, {AB1, 8}, {SR1, 3}, {AM1, 0}}, false},
    {1706, {{R1, 19}, {VB7, 2}, {FR4, 2}, {AB1, 10}, {SR1, 5}, {AM1, 0}}, false},

    {1800, {{R1, 0}, {VB1, 3}, {FR1, 9}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {1801, {{R1, 19}, {VB7, 2}, {FR4, 2}, {AB1, 10}, {SR1, 5}, {AM1, 0}}, false},
    {1802, {{R1, 4}, {VB1, 2}, {FR1, 9}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {1803, {{R1, 0}, {VB3, 4}, {FR1, 10}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {1804, {{R1, 4}, {VB5, 3}, {FR1, 9}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {1805, {{R1, 0}, {VB1, 2}, {FR1, 5}, {AB1, 8}, {SR1, 3}, {AM1, 0}}, false},
    {1806, {{R1, 19}, {VB7, 2}, {FR4, 2}, {AB1, 10}, {SR1, 5}, {AM1, 0}}, false},

    {1900, {{R1, 0}, {VB1, 3}, {FR1, 9}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {1901, {{R1, 19}, {VB7, 2}, {FR4, 2}, {AB1, 10}, {SR1, 5}, {AM1, 0}}, false},
    {1902, {{R1, 4}, {VB1, 2}, {FR1, 9}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {1903, {{R1, 0}, {VB3, 4}, {FR1, 10}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {1904, {{R1, 4}, {VB5, 3}, {FR1, 9}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {1905, {{R1, 0}, {VB1, 2}, {FR1, 5}, {AB1, 8}, {SR1, 3}, {AM1, 0}}, false},
    {1906, {{R1, 19}, {VB7, 2}, {FR4, 2}, {AB1, 10}, {SR1, 5}, {AM1, 0}}, false},

    {2000, {{R2, 4}, {VB4, 9}, {FR2, 5}, {AB3, 4}, {SR2, 0}, {AM1, 0}}, false},
    {2001, {{R2, 4}, {VB4, 9}, {FR2, 5}, {AB5, 0}, {SR4, 4}, {AM1, 0}}, false},
    {2002, {{R2, 4}, {VB4, 9}, {FR2, 5}, {AB3, 6}, {SR2, 0}, {AM1, 0}}, false},
    {2003, {{R2, 4}, {VB4, 9}, {FR2, 5}, {AB5, 0}, {SR4, 4}, {AM1, 0}}, false},
    {2004, {{R9, 4}, {VB4, 9}, {FR2, 5}, {AB3, 4}, {SR2, 0}, {AM1, 0}}, false},
    {2005, {{R9, 4}, {VB4, 9}, {FR2, 5}, {AB5, 0}, {SR4, 4}, {AM1, 0}}, false},
    {2006, {{R9, 4}, {VB4, 9}, {FR2, 5}, {AB5, 0}, {SR4, 4}, {AM1, 0}}, false},
    {2007, {{R9, 4}, {VB10, 10}, {FR7, 6}, {AB5, 0}, {SR4, 4}, {AM1, 0}}, false},
    {2008, {{R3, 0}, {VB6, 0}, {FR3, 0}, {AB3, 4}, {SR2, 0}, {AM3, 0}}, A},
    {2009, {{R9, 4}, {VB10, 9}, {FR7, 5}, {AB6, 0}, {SR4, 4}, {AM1, 0}}, false},
    {2010, {{R9, 4}, {VB10, 9}, {FR7, 5}, {AB6, 0}, {SR4, 4}, {AM1, 0}}, false},
    {2011, {{R9, 4}, {VB10, 9}, {FR7, 5}, {AB6, 0}, {SR4, 4}, {AM1, 0}}, false},
    {2012, {{R9, 4}, {VB10, 9}, {FR7, 5}, {AB6, 0}, {SR4, 4}, {AM1, 0}}, false},
    {2013, {{R9, 4}, {VB10, 9}, {FR7, 5}, {AB6, 0}, {SR4, 4}, {AM1, 0}}, false},

    {2100, {{R1, 14}, {VB11, 1}, {FR4, 2}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {2101, {{R1, 19}, {VB7, 2}, {FR4, 2}, {AB1, 10}, {SR1, 5}, {AM1, 0}}, false},
    {2102, {{R1, 14}, {VB7, 1}, {FR4, 2}, {AB1, 10}, {SR1, 5}, {AM1, 0}}, false},
    {2103, {{R1, 0}, {VB11, 1}, {FR4, 2}, {AB1, 11}, {SR1, 5}, {AM1, 0}}, false},
    {2104, {{R1, 11}, {VB12, 0}, {FR4, 0}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {2105, {{R1, 4}, {VB12, 0}, {FR4, 0}, {AB1, 10}, {SR1, 3}, {AM1, 0}}, false},

    {2200, {{R1, 12}, {VB3, 3}, {FR1, 9}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {2201, {{R1, 19}, {VB3, 6}, {FR1, 10}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {2202, {{R1, 19}, {VB1, 5}, {FR1, 11}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {2203, {{R1, 0}, {VB1, 4}, {FR1, 10}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {2204, {{R1, 12}, {VB3, 4}, {FR1, 10}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {2205, {{R1, 4}, {VB2, 3}, {FR1, 9}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {2206, {{R1, 0}, {VB1, 5}, {FR1, 10}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {2207, {{R2, 4}, {VB4, 9}, {FR2, 5}, {AB2, 5}, {SR2, 0}, {AM2, 0}}, false},
    {2208, {{R1, 0}, {VB5, 3}, {FR1, 9}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {2209, {{R1, 0}, {VB1, 3}, {FR1, 9}, {AB1, 10}, {SR5, 1}, {AM1, 0}}, false},
    {2210, {{R1, 12}, {VB1, 4}, {FR1, 10}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {2211, {{R1, 8}, {VB1, 2}, {FR1, 9}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {2212, {{R1, 4}, {VB1, 2}, {FR1, 9}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},

    {2300, {{R1, 12}, {VB3, 3}, {FR1, 9}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {2301, {{R1, 19}, {VB3, 6}, {FR1, 10}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {2302, {{R1, 19}, {VB1, 5}, {FR1, 11}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {2303, {{R1, 0}, {VB1, 4}, {FR1, 10}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {2304, {{R1, 12}, {VB3, 4}, {FR1, 10}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {2305, {{R1, 4}, {VB2, 3}, {FR1, 9}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {2306, {{R1, 0}, {VB1, 5}, {FR1, 10}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {2307, {{R2, 4}, {VB4, 9}, {FR2, 5}, {AB2, 5}, {SR2, 0}, {AM2, 0}}, false},
    {2308, {{R1, 0}, {VB5, 3}, {FR1, 9}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {2309, {{R1, 0}, {VB1, 3}, {FR1, 9}, {AB1, 10}, {SR5, 1}, {AM1, 0}}, false},
    {2310, {{R1, 12}, {VB1, 4}, {FR1, 10}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {2311, {{R1, 8}, {VB1, 2}, {FR1, 9}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {2312, {{R1, 4}, {VB1, 2}, {FR1, 9}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},

    {2400, {{R1, 12}, {VB3, 3}, {FR1, 9}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {2401, {{R1, 19}, {VB3, 6}, {FR1, 10}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {2402, {{R1, 19}, {VB1, 5}, {FR1, 11}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {2403, {{R1, 0}, {VB1, 4}, {FR1, 10}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {2404, {{R1, 12}, {VB3, 4}, {FR1, 10}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {2405, {{R1, 4}, {VB2, 3}, {FR1, 9}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {2406, {{R1, 0}, {VB1, 5}, {FR1, 10}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {2407, {{R2, 4}, {VB4, 9}, {FR2, 5}, {AB2, 5}, {SR2, 0}, {AM2, 0}}, false},
    {2408, {{R1, 0}, {VB5, 3}, {FR1, 9}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {2409, {{R1, 0}, {VB1, 3}, {FR1, 9}, {AB1, 10}, {SR5, 1}, {AM1, 0}}, false},
    {2410, {{R1, 0}, {VB1, 3}, {FR1, 9}, {AB1, 10}, {SR5, 1}, {AM1, 0}}, false},
    {2411, {{R4, 2}, {VB7, 1}, {FR4, 2}, {AB1, 10}, {SR1, 5}, {AM1, 0}}, false},
    {2412, {{R1, 12}, {VB1, 4}, {FR1, 10}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {2413, {{R1, 8}, {VB1, 2}, {FR1, 9}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
    {2414, {{R1, 4}, {VB1, 2}, {FR1, 9}, {AB1, 10}, {SR1, 4}, {AM1, 0}}, false},
};

// The number before the first "kbps" of a bitrate text, blanks trimmed.
String KbpsNumber(const String& AText)
{
    size_t p = AText.find("kbps");
    return p == String::npos ? String() : Trim(AText.substr(0, p));
}

// A whole number of bits per second, or -1 (not set) when out of range.
int32_t Bits(double AValue)
{
    double bits = std::nearbyint(AValue);
    if (!(bits >= std::numeric_limits<int32_t>::min() && bits <= std::numeric_limits<int32_t>::max())) return -1;
    return int32_t(bits);
}

}  // namespace

const TPresetOptionEntry* FindPresetOptionLists(int ACode)
{
    auto it = std::lower_bound(std::begin(Table), std::end(Table), ACode,
                               [](const TPresetOptionEntry& E, int C) { return E.Code < C; });
    return it != std::end(Table) && it->Code == ACode ? &*it : nullptr;
}

std::span<const TPresetOptionEntry> PresetOptionTable() { return Table; }

std::span<const char* const> PresetValueList(TPresetOption AOption, int ANumber)
{
    using TList = std::span<const char* const>;
    static const TList Resolution[] = {R1,  R2,  R3,  R4,  R5,  R6,  R7,  R8,  R9,  R10,
                                       R11, R12, R13, R14, R15, R16, R17, R18, R19, R20};
    static const TList VideoBitrate[] = {VB1, VB2, VB3, VB4, VB5, VB6, VB7, VB8, VB9, VB10, VB11, VB12};
    static const TList FrameRate[] = {FR1, FR2, FR3, FR4, FR5, FR6, FR7, FR8};
    static const TList AudioBitrate[] = {AB1, AB2, AB3, AB4, AB5, AB6};
    static const TList SampleRate[] = {SR1, SR2, SR3, SR4, SR5, SR6};
    static const TList Aspect[] = {AM1, AM2, AM3};
    static const std::span<const TList> Lists[PresetOptionCount] = {Resolution, VideoBitrate, FrameRate,
                                                                   AudioBitrate, SampleRate, Aspect};
    if (AOption < 0 || AOption >= PresetOptionCount) return {};
    std::span<const TList> lists = Lists[AOption];
    return ANumber >= 1 && size_t(ANumber) <= lists.size() ? lists[size_t(ANumber) - 1] : TList();
}

TPresetOptionBox* TPresetOptionBoxes::Box(TPresetOption AOption) const
{
    static TPresetOptionBox* TPresetOptionBoxes::*const Members[PresetOptionCount] = {
        &TPresetOptionBoxes::Resolution,   &TPresetOptionBoxes::VideoBitrate, &TPresetOptionBoxes::FrameRate,
        &TPresetOptionBoxes::AudioBitrate, &TPresetOptionBoxes::SampleRate,   &TPresetOptionBoxes::Aspect};
    return this->*Members[AOption];
}

void FillPresetOptions(const TPresetOptionBoxes& B, int ACode) { FillPresetOptions(B, FindPresetOptionLists(ACode)); }

void FillPresetOptions(const TPresetOptionBoxes& B, const TPresetOptionEntry* entry)
{
    TPresetOptionBox* const clearOrder[] = {B.Resolution, B.VideoBitrate, B.AudioBitrate, B.Aspect, B.FrameRate, B.SampleRate};
    for (TPresetOptionBox* box : clearOrder) box->ClearItems();
    for (TPresetOptionBox* box : clearOrder) box->SetEnabled(true);
    if (!entry) return;
    for (int o = 0; o < PresetOptionCount; ++o) {
        TPresetOptionBox* box = B.Box(TPresetOption(o));
        const TPresetOptionList& list = entry->Options[o];
        for (const char* item : list.Items) box->AddItem(item);
        box->SetItemIndex(list.Default);  // may run the box's change handler
    }
    if (entry->AudioOnly)
        for (TPresetOptionBox* box : {B.Resolution, B.VideoBitrate, B.Aspect, B.FrameRate}) box->SetEnabled(false);
}

String FrameSizeFromText(const String& AText)
{
    return AText == "保持原分辨率" || AText == "该格式无视频" ? String() : AText;
}

String FrameRateFromText(const String& AText)
{
    return AText == "保持原帧速率" || AText == "无视频" ? String() : AText;
}

int32_t VideoBitrateFromText(const String& AText)
{
    if (AText == "无视频") return -1000;
    int64_t kbps;
    return TryStrToInt64(KbpsNumber(AText), kbps) ? Bits(double(kbps) * 1000.0) : -1;
}

int32_t AudioBitrateFromText(const String& AText)
{
    if (AText == "自动音频比特率") return -1000;
    String number = KbpsNumber(AText);
    if (number.find('.') == String::npos) {
        int64_t kbps;
        return TryStrToInt64(number, kbps) ? Bits(double(kbps) * 1000.0) : -1;
    }
    double kbps;
    return TryStrToFloat(number, kbps) ? Bits(kbps * 1000.0) : -1;
}

String SampleRateFromText(const String& AText) { return AText == "自动音频采样率" ? String("AUTO") : AText; }

String AspectFromText(const String& AText, const String& ACurrent)
{
    static const std::pair<const char*, const char*> Modes[] = {
        {"保持原视频模式", ""}, {"普通视频4:3模式", "4:3"},     {"宽屏视频16:9模式", "16:9"},
        {"宽屏视频37:20模式", "37:20"}, {"宽屏视频47:20模式", "47:20"}, {"无视频", ""}};
    for (const auto& [text, aspect] : Modes)
        if (AText == text) return aspect;
    return ACurrent;
}

int OptionCodePosition(TPresetOption AOption)
{
    static const int Positions[PresetOptionCount] = {0, 2, 8, 4, 10, 6};
    return Positions[AOption];
}

TJobColumn OptionColumn(TPresetOption AOption) { return TJobColumn(int(jcFrameSize) + int(AOption)); }

String ApplyOptionText(TPresetOption AOption, const String& AText, TPresetFields& F)
{
    switch (AOption) {
    case poResolution: return F.Video_FrameSize = FrameSizeFromText(AText);
    case poFrameRate: return F.Video_FrameRate = FrameRateFromText(AText);
    case poSampleRate: return F.Video_AudioSampleRate = SampleRateFromText(AText);
    case poAspect: return F.Video_FrameAspectRatio = AspectFromText(AText, F.Video_FrameAspectRatio);
    case poVideoBitrate: return IntToStr(F.Video_VideoBitrate = VideoBitrateFromText(AText));
    case poAudioBitrate: return IntToStr(F.Video_AudioBitrate = AudioBitrateFromText(AText));
    }
    return String();
}

bool KeepsTargetStandard(const TPresetOptionEntry* AEntry, const TPresetFields& AFields, TPresetOption AOption,
                         int AIndex)
{
    if (!AEntry || AFields.Video_TargetType.empty() || AOption == poAspect) return false;
    return AIndex == AEntry->Options[AOption].Default;
}

String ApplyOptionChoice(const TPresetOptionEntry* AEntry, TPresetOption AOption, int AIndex, const String& AText,
                         TPresetFields& F)
{
    if (!KeepsTargetStandard(AEntry, F, AOption, AIndex)) return ApplyOptionText(AOption, AText, F);
    switch (AOption) {
    case poResolution: return F.Video_FrameSize = String();
    case poFrameRate: return F.Video_FrameRate = String();
    case poSampleRate: return F.Video_AudioSampleRate = String();
    case poVideoBitrate: return IntToStr(F.Video_VideoBitrate = PresetBitrateNotSet);
    case poAudioBitrate: return IntToStr(F.Video_AudioBitrate = PresetBitrateNotSet);
    case poAspect: break;
    }
    return String();
}

String OptionDigits(int AIndex)
{
    AIndex = std::clamp(AIndex, 0, 99);
    return AIndex <= 9 ? "0" + IntToStr(AIndex) : IntToStr(AIndex);
}

String SetOptionCodeDigits(const String& AOldCode, TPresetOption AOption, int AIndex)
{
    String code = AOldCode.substr(0, std::min<size_t>(AOldCode.size(), 12));
    code.resize(12, '0');
    code.replace(size_t(OptionCodePosition(AOption)), 2, OptionDigits(AIndex));
    return code;
}

String BuildOptionCode(const TPresetOptionBoxes& B)
{
    String code;
    for (TPresetOptionBox* box : {B.Resolution, B.VideoBitrate, B.AudioBitrate, B.Aspect, B.FrameRate, B.SampleRate})
        code += OptionDigits(box->ItemIndex());
    return code;
}
