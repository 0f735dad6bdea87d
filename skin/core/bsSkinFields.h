// Field tables of the skin records.
//
// Every skin record class lists its own stored fields once, in a table of
// (field, ini key, value kind, value of a missing key, value after construction).
// The same table drives the record's reader, its writer and its constructor, so
// that the keys a record writes are exactly the keys it reads, in the same form.
#pragma once

#include "platform/graphics/Graphics.h"
#include "platform/system/Classes.h"
#include "platform/system/IniFiles.h"
#include "platform/system/Types.h"
#include "skin/core/bsUtils.h"

#include <type_traits>
#include <variant>
#include <vector>

// Enumerations that skins store by keyword and skinned parts share (the stretch type
// comes with the image builders).
enum TbsMorphKind { mkDefault, mkGradient, mkLeftGradient, mkRightGradient, mkLeftSlide, mkRightSlide, mkPush };
enum TbsInActiveEffect { ieBrightness, ieDarkness, ieGrayScale, ieNoise, ieSplitBlur, ieInvert };
enum TbsStdCommand { cmClose, cmMaximize, cmMinimize, cmSysMenu, cmDefault, cmRollUp, cmMinimizeToTray };

// Draws A blended towards B (same size) by Kf with the transition Kind at 0, 0 of Dest
// (the morphing of buttons, check boxes and menu items).
void bsMorphBitmaps(TBitmap* A, TBitmap* B, double Kf, TbsMorphKind Kind, TCanvas* Dest);

// Keyword codecs of the enumerations.
TbsInActiveEffect ReadSkinInActiveEffect(TCustomIniFile* IniFile, const String& Section, const String& Ident);
void WriteSkinInActiveEffect(TCustomIniFile* IniFile, const String& Section, const String& Ident, TbsInActiveEffect Value);
TbsMorphKind ReadSkinMorphKind(TCustomIniFile* IniFile, const String& Section, const String& Ident);
void WriteSkinMorphKind(TCustomIniFile* IniFile, const String& Section, const String& Ident, TbsMorphKind Value);
TbsStretchType ReadSkinStretchType(TCustomIniFile* IniFile, const String& Section, const String& Ident);
void WriteSkinStretchType(TCustomIniFile* IniFile, const String& Section, const String& Ident, TbsStretchType Value);
TbsStdCommand ReadSkinStdCommand(TCustomIniFile* IniFile, const String& Section, const String& Ident);
void WriteSkinStdCommand(TCustomIniFile* IniFile, const String& Section, const String& Ident, TbsStdCommand Value);

// True when the ini object describes a skin: each of the sections "VERSION", "PICTURES",
// "FORMINFO", "SKINOBJECTS" and "SKINCONTROLS" holds at least one key.
bool IsSkinIni(TCustomIniFile* IniFile);

// How a field is stored.
enum class TbsValueKind {
    Integer,        // signed decimal; "0x" hex accepted on read; unreadable text gives the missing value
    Color,          // as Integer, a TColor
    Boolean,        // 1 or 0; only the integer 1 reads as true
    Text,           // the text unchanged
    Rect,           // "L,T,R,B"
    Point,          // "X,Y"
    FontStyles,     // "fsbold,fsitalic,..."
    Alignment,      // "taleftjustify", "tarightjustify", "tacenter"
    MorphKind,      // "mkdefault" ..
    StretchType,    // "stfull", "sthorz", "stvert"
    InActiveEffect, // "iebrightness" ..
    StdCommand,     // "cmclose" ..
};

using TbsSkinValue = std::variant<int, bool, String, TRect, TPoint, TFontStyles, TAlignment, TbsMorphKind,
                                  TbsStretchType, TbsInActiveEffect, TbsStdCommand>;

// One stored field. Addr maps a pointer to the record (given as a pointer to the root
// class of its hierarchy, cast to void*) to the address of the field.
struct TbsSkinField {
    const char* Name;   // the field's name in the class
    const char* Key;    // its ini key
    TbsValueKind Kind;
    TbsSkinValue Missing; // value read for a missing key
    TbsSkinValue Init;    // value set by the class's constructor
    void* (*Addr)(void* ARecord);
};

using TbsFieldTable = std::vector<TbsSkinField>;

// The C++ type that holds a value of each kind.
template <TbsValueKind K> struct TbsKindType;
template <> struct TbsKindType<TbsValueKind::Integer> { using type = int; };
template <> struct TbsKindType<TbsValueKind::Color> { using type = TColor; };
template <> struct TbsKindType<TbsValueKind::Boolean> { using type = bool; };
template <> struct TbsKindType<TbsValueKind::Text> { using type = String; };
template <> struct TbsKindType<TbsValueKind::Rect> { using type = TRect; };
template <> struct TbsKindType<TbsValueKind::Point> { using type = TPoint; };
template <> struct TbsKindType<TbsValueKind::FontStyles> { using type = TFontStyles; };
template <> struct TbsKindType<TbsValueKind::Alignment> { using type = TAlignment; };
template <> struct TbsKindType<TbsValueKind::MorphKind> { using type = TbsMorphKind; };
template <> struct TbsKindType<TbsValueKind::StretchType> { using type = TbsStretchType; };
template <> struct TbsKindType<TbsValueKind::InActiveEffect> { using type = TbsInActiveEffect; };
template <> struct TbsKindType<TbsValueKind::StdCommand> { using type = TbsStdCommand; };

// Table rows, written inside a function where `Self` names the record class and
// `Root` the root class of its hierarchy. The field's type must match its kind.
#define BS_FIELD_INIT(F, KEY, KIND, MISSING, INIT)                                                          \
    TbsSkinField{#F, KEY, TbsValueKind::KIND,                                                              \
                 TbsSkinValue(TbsKindType<TbsValueKind::KIND>::type(MISSING)),                             \
                 TbsSkinValue(TbsKindType<TbsValueKind::KIND>::type(INIT)), [](void* P) -> void* {         \
                     static_assert(std::is_same_v<decltype(Self::F), TbsKindType<TbsValueKind::KIND>::type>, \
                                   "field type and value kind differ");                                    \
                     return &static_cast<Self*>(static_cast<Root*>(P))->F;                                 \
                 }}
#define BS_FIELD(F, KEY, KIND, MISSING) BS_FIELD_INIT(F, KEY, KIND, MISSING, MISSING)

// Reads every field of the table from Section (a missing key gives the field's missing value).
void bsReadFields(TCustomIniFile* IniFile, const String& Section, void* ARecord, const TbsFieldTable& Table);
// Reads one field.
void bsReadField(TCustomIniFile* IniFile, const String& Section, void* ARecord, const TbsSkinField& Field);
// Writes every field of the table into Section, in table order.
void bsWriteFields(TCustomIniFile* IniFile, const String& Section, void* ARecord, const TbsFieldTable& Table);
// Sets every field of the table to its constructor value.
void bsInitFields(void* ARecord, const TbsFieldTable& Table);
// Reads and writes one field's value as a variant (used by copies and by tests).
TbsSkinValue bsGetField(void* ARecord, const TbsSkinField& Field);
void bsSetField(void* ARecord, const TbsSkinField& Field, const TbsSkinValue& Value);

// Definitions of a record class's constructor (the parent's, then the class's constructor
// values) and of its reader and writer (the parent's keys, then the class's own).
#define BS_DEFINE_RECORD_CTOR(C) \
    C::C(const String& AIDName) : inherited(AIDName) { bsInitFields(static_cast<Root*>(this), ClassFields()); }
#define BS_DEFINE_RECORD_IO(C)                                                      \
    void C::LoadFromFile(TCustomIniFile* IniFile)                                   \
    {                                                                               \
        inherited::LoadFromFile(IniFile);                                           \
        bsReadFields(IniFile, IDName, static_cast<Root*>(this), ClassFields());     \
    }                                                                               \
    void C::SaveToFile(TCustomIniFile* IniFile)                                     \
    {                                                                               \
        inherited::SaveToFile(IniFile);                                             \
        bsWriteFields(IniFile, IDName, static_cast<Root*>(this), ClassFields());    \
    }
#define BS_DEFINE_RECORD(C) BS_DEFINE_RECORD_CTOR(C) BS_DEFINE_RECORD_IO(C)
