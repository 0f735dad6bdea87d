// Skin ini values: rectangles, points, flags, font styles, alignments and string lists.
#include "skin/core/bsUtils.h"

#include "platform/system/IniFiles.h"

#include <climits>
#include <cstdlib>

namespace {

// The reader keeps only digits, so a sign cannot survive a round trip; the writer
// therefore never writes one: it writes the value the reader will give back.
String UnsignedText(int V)
{
    int64_t a = V < 0 ? -int64_t(V) : int64_t(V);
    if (a > 2147483647) a = 2147483647;
    return std::to_string(a);
}

struct TStyleName {
    TFontStyle Style;
    const char* Name;
};
constexpr TStyleName StyleNames[] = {
    {fsBold, "fsbold"}, {fsItalic, "fsitalic"}, {fsUnderline, "fsunderline"}, {fsStrikeOut, "fsstrikeout"}};

}  // namespace

namespace {

// No skin picture or window part reaches beyond MaxSkinExtent; a coordinate beyond it,
// or a rectangle larger than a picture may be, is damage, and painting with it would cost
// without end.
void CheckSkinCoordinates(std::initializer_list<int> Values, const String& Text)
{
    for (int V : Values)
        if (V > MaxSkinExtent || V < -MaxSkinExtent)
            throw EConvertError(Format("\"%s\" lies beyond what a screen can show", Text));
}

void CheckSkinArea(const TRect& R, const String& Text)
{
    const int64_t W = std::abs(int64_t(R.Right) - R.Left), H = std::abs(int64_t(R.Bottom) - R.Top);
    if (W * H > MaxSkinPicturePixels)
        throw EConvertError(Format("\"%s\" covers more than a screen can show", Text));
}

}  // namespace

void bsCheckSkinPictureSize(int64_t Width, int64_t Height, const String& What)
{
    if (Width > MaxSkinExtent || Height > MaxSkinExtent || Width * Height > MaxSkinPicturePixels)
        throw EReadError(Format("The skin is refused: %s of %d x %d pixels is larger than a screen can show",
                                What, int(std::min<int64_t>(Width, INT32_MAX)), int(std::min<int64_t>(Height, INT32_MAX))));
}

void bsCheckSkinTextSize(int64_t Bytes)
{
    if (Bytes > MaxSkinTextBytes)
        throw EReadError(Format("The skin is refused: its description is longer than %d MB",
                                int(MaxSkinTextBytes >> 20)));
}

void TbsSkinPictureBudget::Take(int64_t Width, int64_t Height, const String& What)
{
    bsCheckSkinPictureSize(Width, Height, What);
    FPixels += Width * Height;
    if (FPixels > MaxSkinPicturesPixels)
        throw EReadError(Format("The skin is refused: its pictures together take more than %d MB",
                                int(MaxSkinPicturesPixels * 4 >> 20)));
}

void ReadSkinRect(TCustomIniFile* IniFile, const String& Section, const String& Ident, TRect& R)
{
    const String Text = IniFile->ReadString(Section, Ident, "0,0,0,0");
    TRect V;
    ParseRectText(Text, V);
    CheckSkinCoordinates({V.Left, V.Top, V.Right, V.Bottom}, Text);
    CheckSkinArea(V, Text);
    R = V;
}

void ReadSkinPoint(TCustomIniFile* IniFile, const String& Section, const String& Ident, TPoint& P)
{
    const String Text = IniFile->ReadString(Section, Ident, "0,0");
    TPoint V;
    ParsePointText(Text, V);
    CheckSkinCoordinates({V.X, V.Y}, Text);
    P = V;
}

bool ReadSkinBool(TCustomIniFile* IniFile, const String& Section, const String& Ident)
{
    return IniFile->ReadInteger(Section, Ident, 0) == 1;
}

TFontStyles ReadSkinFontStyles(TCustomIniFile* IniFile, const String& Section, const String& Ident)
{
    const String s = IniFile->ReadString(Section, Ident, "");
    TFontStyles styles;
    for (const auto& sn : StyleNames)
        if (s.find(sn.Name) != String::npos) styles.Include(sn.Style);
    return styles;
}

void ReadSkinStrings(TCustomIniFile* IniFile, const String& Section, const String& Ident, TStrings* Strings)
{
    const int count = IniFile->ReadInteger(Section, Ident + "count", 0);
    for (int i = 0; i < count; ++i) Strings->Add(IniFile->ReadString(Section, std::to_string(i), ""));
}

TAlignment ReadSkinAlignment(TCustomIniFile* IniFile, const String& Section, const String& Ident)
{
    const String s = IniFile->ReadString(Section, Ident, "tacenter");
    if (s == "tacenter") return taCenter;
    if (s == "taleftjustify") return taLeftJustify;
    return taRightJustify;
}

void WriteSkinRect(TCustomIniFile* IniFile, const String& Section, const String& Ident, const TRect& Value)
{
    IniFile->WriteString(Section, Ident,
                         UnsignedText(Value.Left) + "," + UnsignedText(Value.Top) + "," + UnsignedText(Value.Right) +
                             "," + UnsignedText(Value.Bottom));
}

void WriteSkinPoint(TCustomIniFile* IniFile, const String& Section, const String& Ident, const TPoint& Value)
{
    IniFile->WriteString(Section, Ident, UnsignedText(Value.X) + "," + UnsignedText(Value.Y));
}

void WriteSkinBool(TCustomIniFile* IniFile, const String& Section, const String& Ident, bool Value)
{
    IniFile->WriteInteger(Section, Ident, Value ? 1 : 0);
}

void WriteSkinFontStyles(TCustomIniFile* IniFile, const String& Section, const String& Ident, TFontStyles Value)
{
    String s;
    for (const auto& sn : StyleNames)
        if (Value.Contains(sn.Style)) {
            if (!s.empty()) s += ",";
            s += sn.Name;
        }
    IniFile->WriteString(Section, Ident, s);
}

void WriteSkinStrings(TCustomIniFile* IniFile, const String& Section, const String& Ident, const TStrings* Strings)
{
    const int count = Strings ? Strings->Count() : 0;
    IniFile->WriteInteger(Section, Ident + "count", count);
    for (int i = 0; i < count; ++i) IniFile->WriteString(Section, std::to_string(i), Strings->Strings(i));
}

void WriteSkinAlignment(TCustomIniFile* IniFile, const String& Section, const String& Ident, TAlignment Value)
{
    const char* s = Value == taLeftJustify ? "taleftjustify" : Value == taRightJustify ? "tarightjustify" : "tacenter";
    IniFile->WriteString(Section, Ident, s);
}
