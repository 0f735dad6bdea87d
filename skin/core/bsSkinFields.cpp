// Keyword codecs of the skin enumerations, the skin test, and the table-driven reader
// and writer of record fields.
#include "skin/core/bsSkinFields.h"

#include "skin/core/bsEffects.h"
#include "skin/core/bsUtils.h"

namespace {

// Keywords in enumeration order.
const char* const InActiveEffectWords[] = {"iebrightness", "iedarkness", "iegrayscale",
                                           "ienoise",      "iesplitblur", "ieinvert"};
const char* const MorphKindWords[] = {"mkdefault",   "mkgradient",   "mkleftgradient", "mkrightgradient",
                                      "mkleftslide", "mkrightslide", "mkpush"};
const char* const StretchTypeWords[] = {"stfull", "sthorz", "stvert"};
const char* const StdCommandWords[] = {"cmclose",   "cmmaximize", "cmminimize",      "cmsysmenu",
                                       "cmdefault", "cmrollup",   "cmminimizetotray"};

template <size_t N>
int FindWord(const char* const (&Words)[N], const String& S)
{
    for (size_t i = 0; i < N; ++i)
        if (S == Words[i]) return int(i);
    return -1;
}

} // namespace

TbsInActiveEffect ReadSkinInActiveEffect(TCustomIniFile* IniFile, const String& Section, const String& Ident)
{
    int i = FindWord(InActiveEffectWords, IniFile->ReadString(Section, Ident, "iebrightness"));
    return i < 0 ? ieGrayScale : TbsInActiveEffect(i);
}

void WriteSkinInActiveEffect(TCustomIniFile* IniFile, const String& Section, const String& Ident,
                             TbsInActiveEffect Value)
{
    IniFile->WriteString(Section, Ident, InActiveEffectWords[Value]);
}

TbsMorphKind ReadSkinMorphKind(TCustomIniFile* IniFile, const String& Section, const String& Ident)
{
    int i = FindWord(MorphKindWords, IniFile->ReadString(Section, Ident, "mkdefault"));
    return i < 0 ? mkDefault : TbsMorphKind(i);
}

void WriteSkinMorphKind(TCustomIniFile* IniFile, const String& Section, const String& Ident, TbsMorphKind Value)
{
    IniFile->WriteString(Section, Ident, MorphKindWords[Value]);
}

TbsStretchType ReadSkinStretchType(TCustomIniFile* IniFile, const String& Section, const String& Ident)
{
    // Only the full and vertical keywords are told apart; any other text is horizontal.
    String S = IniFile->ReadString(Section, Ident, "stfull");
    if (S == "stfull") return bsstFull;
    if (S == "stvert") return bsstVert;
    return bsstHorz;
}

void WriteSkinStretchType(TCustomIniFile* IniFile, const String& Section, const String& Ident,
                          TbsStretchType Value)
{
    IniFile->WriteString(Section, Ident, StretchTypeWords[Value]);
}

TbsStdCommand ReadSkinStdCommand(TCustomIniFile* IniFile, const String& Section, const String& Ident)
{
    int i = FindWord(StdCommandWords, IniFile->ReadString(Section, Ident, "cmdefault"));
    return i < 0 ? cmMinimizeToTray : TbsStdCommand(i);
}

void WriteSkinStdCommand(TCustomIniFile* IniFile, const String& Section, const String& Ident, TbsStdCommand Value)
{
    IniFile->WriteString(Section, Ident, StdCommandWords[Value]);
}

bool IsSkinIni(TCustomIniFile* IniFile)
{
    for (const char* Section : {"VERSION", "PICTURES", "FORMINFO", "SKINOBJECTS", "SKINCONTROLS"}) {
        TStringList Keys;
        IniFile->ReadSection(Section, &Keys);
        if (Keys.Count() == 0) return false;
    }
    return true;
}

void bsReadFields(TCustomIniFile* IniFile, const String& Section, void* ARecord, const TbsFieldTable& Table)
{
    for (const TbsSkinField& F : Table) {
        try {
            bsReadField(IniFile, Section, ARecord, F);
        } catch (const EConvertError& E) {
            throw EConvertError(Format("Skin section [%s], key \"%s\": %s", Section, F.Key, E.Message()));
        }
    }
}

void bsReadField(TCustomIniFile* IniFile, const String& Section, void* ARecord, const TbsSkinField& F)
{
    void* P = F.Addr(ARecord);
    switch (F.Kind) {
    case TbsValueKind::Integer:
    case TbsValueKind::Color: {
        const int V = IniFile->ReadInteger(Section, F.Key, std::get<int>(F.Missing));
        // Offsets and font heights are lengths on the screen
        const String Key = F.Key;
        const bool Length = Key.find("offset") != String::npos ||
                            (Key.size() > 6 && Key.compare(Key.size() - 6, 6, "height") == 0);
        if (F.Kind == TbsValueKind::Integer && Length && (V > MaxSkinExtent || V < -MaxSkinExtent))
            throw EConvertError(Format("\"%s=%d\" lies beyond what a screen can show", Key, V));
        *static_cast<int*>(P) = V;
        break;
    }
    case TbsValueKind::Boolean: *static_cast<bool*>(P) = ReadSkinBool(IniFile, Section, F.Key); break;
    case TbsValueKind::Text:
        *static_cast<String*>(P) = IniFile->ReadString(Section, F.Key, std::get<String>(F.Missing));
        break;
    case TbsValueKind::Rect: ReadSkinRect(IniFile, Section, F.Key, *static_cast<TRect*>(P)); break;
    case TbsValueKind::Point: ReadSkinPoint(IniFile, Section, F.Key, *static_cast<TPoint*>(P)); break;
    case TbsValueKind::FontStyles:
        *static_cast<TFontStyles*>(P) = ReadSkinFontStyles(IniFile, Section, F.Key);
        break;
    case TbsValueKind::Alignment:
        *static_cast<TAlignment*>(P) = ReadSkinAlignment(IniFile, Section, F.Key);
        break;
    case TbsValueKind::MorphKind:
        *static_cast<TbsMorphKind*>(P) = ReadSkinMorphKind(IniFile, Section, F.Key);
        break;
    case TbsValueKind::StretchType:
        *static_cast<TbsStretchType*>(P) = ReadSkinStretchType(IniFile, Section, F.Key);
        break;
    case TbsValueKind::InActiveEffect:
        *static_cast<TbsInActiveEffect*>(P) = ReadSkinInActiveEffect(IniFile, Section, F.Key);
        break;
    case TbsValueKind::StdCommand:
        *static_cast<TbsStdCommand*>(P) = ReadSkinStdCommand(IniFile, Section, F.Key);
        break;
    }
}

void bsWriteFields(TCustomIniFile* IniFile, const String& Section, void* ARecord, const TbsFieldTable& Table)
{
    for (const TbsSkinField& F : Table) {
        void* P = F.Addr(ARecord);
        switch (F.Kind) {
        case TbsValueKind::Integer:
        case TbsValueKind::Color: IniFile->WriteInteger(Section, F.Key, *static_cast<int*>(P)); break;
        case TbsValueKind::Boolean: WriteSkinBool(IniFile, Section, F.Key, *static_cast<bool*>(P)); break;
        case TbsValueKind::Text: IniFile->WriteString(Section, F.Key, *static_cast<String*>(P)); break;
        case TbsValueKind::Rect: WriteSkinRect(IniFile, Section, F.Key, *static_cast<TRect*>(P)); break;
        case TbsValueKind::Point: WriteSkinPoint(IniFile, Section, F.Key, *static_cast<TPoint*>(P)); break;
        case TbsValueKind::FontStyles:
            WriteSkinFontStyles(IniFile, Section, F.Key, *static_cast<TFontStyles*>(P));
            break;
        case TbsValueKind::Alignment:
            WriteSkinAlignment(IniFile, Section, F.Key, *static_cast<TAlignment*>(P));
            break;
        case TbsValueKind::MorphKind:
            WriteSkinMorphKind(IniFile, Section, F.Key, *static_cast<TbsMorphKind*>(P));
            break;
        case TbsValueKind::StretchType:
            WriteSkinStretchType(IniFile, Section, F.Key, *static_cast<TbsStretchType*>(P));
            break;
        case TbsValueKind::InActiveEffect:
            WriteSkinInActiveEffect(IniFile, Section, F.Key, *static_cast<TbsInActiveEffect*>(P));
            break;
        case TbsValueKind::StdCommand:
            WriteSkinStdCommand(IniFile, Section, F.Key, *static_cast<TbsStdCommand*>(P));
            break;
        }
    }
}

TbsSkinValue bsGetField(void* ARecord, const TbsSkinField& Field)
{
    return std::visit(
        [&](const auto& Sample) -> TbsSkinValue {
            using T = std::decay_t<decltype(Sample)>;
            return *static_cast<T*>(Field.Addr(ARecord));
        },
        Field.Missing);
}

void bsSetField(void* ARecord, const TbsSkinField& Field, const TbsSkinValue& Value)
{
    std::visit(
        [&](const auto& Sample) {
            using T = std::decay_t<decltype(Sample)>;
            *static_cast<T*>(Field.Addr(ARecord)) = std::get<T>(Value);
        },
        Field.Missing);
}

void bsInitFields(void* ARecord, const TbsFieldTable& Table)
{
    for (const TbsSkinField& F : Table) bsSetField(ARecord, F, F.Init);
}

void bsMorphBitmaps(TBitmap* A, TBitmap* B, double Kf, TbsMorphKind Kind, TCanvas* Dest)
{
    TbsEffectBmp EA(A->Handle()), EB(B->Handle());
    switch (Kind) {
    case mkDefault: EA.Morph(&EB, Kf); break;
    case mkGradient: EA.MorphGrad(&EB, Kf); break;
    case mkLeftGradient: EA.MorphLeftGrad(&EB, Kf); break;
    case mkRightGradient: EA.MorphRightGrad(&EB, Kf); break;
    case mkLeftSlide: EA.MorphLeftSlide(&EB, Kf); break;
    case mkRightSlide: EA.MorphRightSlide(&EB, Kf); break;
    case mkPush: EA.MorphPush(&EB, Kf); break;
    }
    EA.Draw(Dest->Handle(), 0, 0);
}
