#include "app/presets/PresetCatalogue.h"

#include "platform/system/SysUtils.h"

namespace {

// 0: "视频格式", codes 100 to 114
const char* const Category0[] = {
    "AVI - 音频视频交错格式(*.avi)",
    "MP4 - MPEG-4视频格式(*.mp4)",
    "DivX - 视频格式(*.avi)",
    "MOV - 苹果QuickTime视频格式(*.mov)",
    "XviD - 视频格式(*.avi)",
    "MKV - Matroska视频格式(*.mkv)",
    "MPEG-1视频格式(*.mpg)",
    "MPEG-2视频格式(*.mpg)",
    "ASF - 高级流视频格式(*.asf)",
    "3GP - 视频格式(*.3gp)",
    "WMV - 视频格式(*.wmv)",
    "DVD - 视频格式(*.mpg)",
    "SVCD - 视频格式(*.mpg)",
    "VCD - 视频格式(*.mpg)",
    "RM - REAL视频格式(*.rm)",
};

// 1: "音频格式", codes 200 to 212
const char* const Category1[] = {
    "MP3 - MPEG Layer-3音频格式(*.mp3)",
    "WMA - Windows媒体音频格式(*.wma)",
    "WAV - 波形音频格式(*.wav)",
    "AAC - 高级音频格式(*.aac)",
    "M4A - MPEG-4音频格式(*.m4a)",
    "OGG - Ogg Vorbis音频格式(*.ogg)",
    "RA - RealAudio音频格式(*.ra)",
    "AC3 - 杜比数字AC-3音频格式(*.ac3)",
    "AIFF - 音频交换文件格式(*.aiff)",
    "MP2 - MPEG Layer-2音频格式(*.mp2)",
    "FLAC-音频格式(*.flac)",
    "MP4-MP4音频格式(*.m4a)",
    "AMR-手机音频格式(*.amr)",
};

// 2: "高清格式", codes 300 to 309
const char* const Category2[] = {
    "高清AVI视频格式(*.avi)",
    "高清AVI视频格式(*.avi)",
    "高清H264视频格式(*.mp4)",
    "高清MPEG-4视频格式(*.mp4)",
    "高清MOV视频格式(*.mov)",
    "高清ASF视频格式(*.asf)",
    "高清WMV视频格式(*.wmv)",
    "高清DVD视频格式(*.vob)",
    "高清MPEG-2视频格式(*.mpg)",
    "高清MKV视频格式(*.mkv)",
};

// 3: "iPod格式", codes 400 to 413
const char* const Category3[] = {
    "iPod (320X240) 高清晰视频(*.mp4)",
    "iPod (320X240) 高压缩视频(*.mp4)",
    "iPod (320X240) 标准视频(*.mp4)",
    "iPod Video2 TV OutPut视频(*.mp4)",
    "iPod Video2 (640X480)视频(*.mp4)",
    "iPod Video2 (640X480)高清晰视频(*.mp4)",
    "iPod Video2 (640X480)高压缩视频(*.mp4)",
    "iPod touch MPEG-4视频(*.mp4)",
    "iPod touch MPEG-4 480P视频(*.mp4)",
    "iPod touch MPEG-4 480P高清晰视频(*.mp4)",
    "iPod touch MPEG-4 480P高压缩视频(*.mp4)",
    "iPod touch MPEG-4 480P宽屏视频(*.mp4)",
    "iPod touch MPEG-4 (320X240)视频(*.mp4)",
    "iPod touch MPEG-4 (480X320)视频(*.mp4)",
};

// 4: "iPhone格式", codes 500 to 505
const char* const Category4[] = {
    "iPhone MPEG-4视频(*.mp4)",
    "iPhone MPEG-4视频480P(*.mp4)",
    "iPhone MPEG-4视频宽屏(*.mp4)",
    "iPhone MPEG-4高清晰视频(*.mp4)",
    "iPhone MPEG-4视频(320X240)(*.mp4)",
    "iPhone MPEG-4视频(480X320)(*.mp4)",
};

// 5: "PSP格式", codes 600 to 604
const char* const Category5[] = {
    "PSP MPEG-4视频(*.mp4)",
    "PSP AVC MPEG-4视频(*.mp4)",
    "PSP高清晰MPEG-4视频(*.mp4)",
    "PSP高压缩MPEG-4视频(*.mp4)",
    "PSP Video MPEG-4视频480P(*.mp4)",
};

// 6: "3GP格式", codes 700 to 713
const char* const Category6[] = {
    "3GPP -  第三代合作项目-3GP视频+AMR音频(*.3gp)",
    "3GPP -  第三代合作项目-3GP视频+AAC音频(*.3gp)",
    "3GPP2 -  第三代合作项目2-3G2视频+AMR音频(*.3g2)",
    "3GPP2 -  第三代合作项目2-3G2视频+AAC音频(*.3g2)",
    "黑莓手机3GP视频+AMR音频(*.3gp)",
    "黑莓手机3GP视频+AAC音频(*.3gp)",
    "黑莓手机AVI视频(*.avi)",
    "黑莓手机MPEG-4视频(*.mp4)",
    "黑莓手机AMR音频格式(*.amr)",
    "Symbian智能平台手机专用MP4视频(*.mp4)",
    "各种手机常用的MP4视频(*.mp4)",
    "各种手机常用的AVI视频(*.avi)",
    "各种手机常用的MOV视频(*.mov)",
    "各种手机常用的MP4视频(*.mp4)",
};

// 7: "APPLE格式", codes 800 to 804
const char* const Category7[] = {
    "Apple TV H264视频(320X240)(*.mp4)",
    "Apple TV H264视频480P(640X480)(*.mp4)",
    "Apple TV H264视频720P(1280X720)(*.mp4)",
    "Apple TV H264高清晰视频480P(640X480)(*.mp4)",
    "Apple TV MPEG-4高压缩视频480P(640X480)(*.mp4)",
};

// 8: "XboX格式", codes 900 to 909
const char* const Category8[] = {
    "Xbox360 HD H.264视频(*.mp4)",
    "Xbox360 MCE HD MPEG-2视频(*.mpg)",
    "Xbox360 MCE HD MPEG-2视频(*.mpg)",
    "Xbox360 MPEG-4视频(*.mp4)",
    "Xbox360 MP4高清晰视频(*.mp4)",
    "Xbox360 WMV视频(*.wmv)",
    "Xbox360 WMV HDTV视频(*.wmv)",
    "Xbox360 MCE 高清晰AVI视频(*.avi)",
    "Xbox360 MCE 高清晰AVI视频(*.avi)",
    "Xbox360 MCE 高清晰AVI视频(*.avi)",
};

// 9: "PMP格式", codes 1000 to 1007
const char* const Category9[] = {
    "爱可视AV500/GMini402视频(*.avi)",
    "爱可视AV700视频(*.avi)",
    "Creative Zen Vision视频(*.avi)",
    "Zune MPEG-4 AVC视频(*.mp4)",
    "Zune MPEG-4 AVC视频(*.mp4)",
    "Zune MPEG-4视频(*.mp4)",
    "Zune WMV多媒体视频(*.wmv)",
    "iRiver PMP-100视频(*.avi)",
};

// 10: "MP4格式", codes 1100 to 1104
const char* const Category10[] = {
    "MP4机播放的MP4视频格式(*.mp4)",
    "电脑上使用的MP4视频格式(*.mp4)",
    "MPEG-4视频高清晰视频(*.mp4)",
    "MP4 AVC视频(*.mp4)",
    "MP4 H264编码视频(*.mp4)",
};

// 11: "Flash格式", codes 1200 to 1203
const char* const Category11[] = {
    "FLV在线网络视频(*.flv)",
    "SWF动画视频FLASH动画视频(*.swf)",
    "FLV在线网络音频格式(*.flv)",
    "SWF动画视频FLASH动画音频格式(*.swf)",
};

// 12: "iPad格式", codes 1300 to 1305
const char* const Category12[] = {
    "iPad标准视频格式(*.mp4)",
    "iPad高清视频格式H.264编码(*.mp4)",
    "iPad MPEG-4视频格式 XviD编码 (*.mp4)",
    "iPad 720P HD高清晰视频MPEG-4(*.mp4)",
    "iPad 优化视频方案1(*.mp4)",
    "iPad 优化视频方案2(*.mp4)",
};

// 13: "MPG格式", codes 1400 to 1410
const char* const Category13[] = {
    "MPG标准视频(*.mpg)",
    "MPEG-1标准视频(*.mpg)",
    "MPEG-2标准视频(*.mpg)",
    "MPEG-4标准视频(*.mp4)",
    "MPEG-2高清HD视频(*.mpg)",
    "MPEG-4高清HD视频(*.mp4)",
    "MPEG-2优化视频(*.mpg)",
    "MPEG-2高压缩视频(*.mpg)",
    "DVD格式高清晰视频(*.mpg)",
    "SVCD格式标清视频(*.mpg)",
    "VCD格式清晰视频(*.mpg)",
};

// 14: "SWF格式", codes 1500 to 1506
const char* const Category14[] = {
    "标准的SWF视频格式(*.swf)",
    "高清的SWF动画视频FLASH动画视频(*.swf)",
    "优化的SWF视频格式(*.swf)",
    "高压缩的SWF视频格式(*.swf)",
    "FLV在线网络视频(*.flv)",
    "SWF动画视频FLASH动画音频格式(*.swf)",
    "FLV在线网络音频格式(*.flv)",
};

// 15: "AVI格式", codes 1600 to 1606
const char* const Category15[] = {
    "AVI标准视频(*.avi)",
    "HD高清晰AVI标准视频(*.avi)",
    "网络上常用的AVI视频(*.avi)",
    "电脑上常用的AVI视频(*.avi)",
    "优化的AVI视频(*.avi)",
    "高压缩的AVI视频(*.avi)",
    "高清的HD AVI视频(*.avi)",
};

// 16: "MKV格式", codes 1700 to 1706
const char* const Category16[] = {
    "MKV标准视频(*.mkv)",
    "HD高清MKV视频(*.mkv)",
    "网络上常用的MKV视频(*.mkv)",
    "电脑上常用的MKV标准视频(*.mkv)",
    "优化的MKV视频(*.mkv)",
    "高压缩的MKV视频(*.mkv)",
    "高清的HD MKV视频(*.mkv)",
};

// 17: "WMV格式", codes 1800 to 1806
const char* const Category17[] = {
    "WMV标准视频(*.wmv)",
    "HD高清WMV视频(*.wmv)",
    "网络上常用的WMV视频(*.wmv)",
    "电脑上常用的WMV标准视频(*.wmv)",
    "优化的WMV视频(*.wmv)",
    "高压缩的WMV视频(*.wmv)",
    "高清的HD WMV视频(*.wmv)",
};

// 18: "ASF格式", codes 1900 to 1906
const char* const Category18[] = {
    "ASF标准视频(*.asf)",
    "HD高清ASF视频(*.asf)",
    "网络上常用的ASF视频(*.asf)",
    "电脑上常用的ASF标准视频(*.asf)",
    "优化的ASF视频(*.asf)",
    "高压缩的ASF视频(*.asf)",
    "高清的HD ASF视频(*.asf)",
};

// 19: "Android格式", codes 2000 to 2013
const char* const Category19[] = {
    "3GPP -  第三代合作项目-3GP视频+AMR音频(*.3gp)",
    "3GPP -  第三代合作项目-3GP视频+AAC音频(*.3gp)",
    "3GPP2 -  第三代合作项目2-3G2视频+AMR音频(*.3g2)",
    "3GPP2 -  第三代合作项目2-3G2视频+AAC音频(*.3g2)",
    "Android手机3GP视频+AMR音频(*.3gp)",
    "Android手机3GP视频+AAC音频(*.3gp)",
    "Android手机AVI视频(*.avi)",
    "Android手机MPEG-4视频(*.mp4)",
    "Android手机AMR音频格式(*.amr)",
    "Symbian智能平台手机专用MP4视频(*.mp4)",
    "各种手机常用的MP4视频(*.mp4)",
    "各种手机常用的AVI视频(*.avi)",
    "各种手机常用的MOV视频(*.mov)",
    "各种手机常用的MP4视频(*.mp4)",
};

// 20: "VOB格式", codes 2100 to 2105
const char* const Category20[] = {
    "VOB标准视频(*.vob)",
    "HD高清VOB视频(*.vob)",
    "高清DVD视频格式(*.vob)",
    "电脑上常用的VOB标准视频(*.vob)",
    "优化的VOB视频(*.vob)",
    "高压缩的VOB视频(*.vob)",
};

// 21: "MTS格式", codes 2200 to 2212
const char* const Category21[] = {
    "MTS转换为标准AVI视频(*.avi)",
    "Sony HD高清MTS视频转换为HD高清AVI视频(*.avi)",
    "Sony AVCHD高清视频格式(*.avi)",
    "MTS转换为MPEG-2视频格式标准视频(*.mpg)",
    "MTS转换为MPG视频格式(*.mpg)",
    "MTS转换为MP4视频(*.mp4)",
    "MTS转换为AVI视频(*.avi)",
    "MTS转换为3GP视频(*.3gp)",
    "MTS转换为电脑常用WMV视频(*.wmv)",
    "MTS转换为网络在线常用FLV视频(*.flv)",
    "MTS视频转换为DVD视频(*.mpg)",
    "MTS视频转换为SVCD视频(*.mpg)",
    "MTS视频转换为VCD视频(*.mpg)",
};

// 22: "MOD格式", codes 2300 to 2312
const char* const Category22[] = {
    "MOD视频转换为标准AVI视频(*.avi)",
    "JVC HD高清MOD视频转换为HD高清AVI视频(*.avi)",
    "JVC DV摄像机MOD高清视频格式，转换为AVI视频格式(*.avi)",
    "MOD视频转换为MPEG-2视频格式标准视频(*.mpg)",
    "MOD视频转换为MPG视频格式(*.mpg)",
    "MOD视频转换为MP4视频(*.mp4)",
    "MOD视频转换为AVI视频(*.avi)",
    "MOD视频转换为3GP视频(*.3gp)",
    "MOD视频转换为电脑常用WMV视频(*.wmv)",
    "MOD视频转换为网络在线常用FLV视频(*.flv)",
    "MOD视频转换为DVD视频(*.mpg)",
    "MOD视频转换为SVCD视频(*.mpg)",
    "MOD视频转换为VCD视频(*.mpg)",
};

// 23: "RMVB格式", codes 2400 to 2414
const char* const Category23[] = {
    "RMVB视频转换为标准AVI视频(*.avi)",
    "HD高清RMVB视频转换为HD高清AVI视频(*.avi)",
    "RM视频格式，转换为AVI视频格式(*.avi)",
    "RMVB视频转换为MPEG-2视频格式标准视频(*.mpg)",
    "RMVB视频转换为MPG视频格式(*.mpg)",
    "RMVB视频转换为MP4视频(*.mp4)",
    "RMVB视频转换为AVI视频(*.avi)",
    "RMVB视频转换为3GP视频(*.3gp)",
    "RMVB视频转换为电脑常用WMV视频(*.wmv)",
    "RMVB视频转换为网络在线常用FLV视频(*.flv)",
    "RMVB视频转换为SWF视频(*.swf)",
    "RMVB视频转换为VOB视频(*.vob)",
    "RMVB视频转换为DVD视频(*.mpg)",
    "RMVB视频转换为SVCD视频(*.mpg)",
    "RMVB视频转换为VCD视频(*.mpg)",
};

const TPresetCategory Categories[PresetCategoryCount] = {
    {"视频格式", Category0},
    {"音频格式", Category1},
    {"高清格式", Category2},
    {"iPod格式", Category3},
    {"iPhone格式", Category4},
    {"PSP格式", Category5},
    {"3GP格式", Category6},
    {"APPLE格式", Category7},
    {"XboX格式", Category8},
    {"PMP格式", Category9},
    {"MP4格式", Category10},
    {"Flash格式", Category11},
    {"iPad格式", Category12},
    {"MPG格式", Category13},
    {"SWF格式", Category14},
    {"AVI格式", Category15},
    {"MKV格式", Category16},
    {"WMV格式", Category17},
    {"ASF格式", Category18},
    {"Android格式", Category19},
    {"VOB格式", Category20},
    {"MTS格式", Category21},
    {"MOD格式", Category22},
    {"RMVB格式", Category23},
};

}  // namespace

const TPresetCategory* PresetCategory(int AIndex)
{
    return AIndex >= 0 && AIndex < PresetCategoryCount ? &Categories[AIndex] : nullptr;
}

int PresetCount(int ACategoryIndex)
{
    const TPresetCategory* c = PresetCategory(ACategoryIndex);
    return c ? int(c->Presets.size()) : 0;
}

bool IsPresetCode(int ACode)
{
    int p = PresetIndexOfCode(ACode);
    return ACode >= 100 && p < PresetCount(CategoryIndexOfCode(ACode));
}

String PresetCaption(int ACode)
{
    return IsPresetCode(ACode) ? String(Categories[CategoryIndexOfCode(ACode)].Presets[PresetIndexOfCode(ACode)]) : String();
}

String PresetExtFromCaption(const String& ACaption)
{
    String w = Utf8Copy(ACaption, Utf8Length(ACaption) - 4, 4);
    if (w == "*.rm") return ".rm";
    if (w == "*.ra") return ".ra";
    if (w == "flac") return ".flac";
    if (w == "aiff") return ".aiff";
    return w;
}

void FillPresetCatalogue(TPresetChoiceBox& APresetBox, int ACategoryIndex)
{
    APresetBox.ClearItems();
    APresetBox.Refresh();
    const TPresetCategory* c = PresetCategory(ACategoryIndex);
    if (!c) return;  // no such category: the box stays empty, nothing to select
    for (size_t i = 0; i < c->Presets.size(); ++i) APresetBox.AddItem(c->Presets[i], int(i % 2));
    APresetBox.Refresh();
    APresetBox.SetItemIndex(0);
}
