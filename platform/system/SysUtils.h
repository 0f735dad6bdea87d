// Exceptions, formatting and conversions, string helpers, dates and times, files and
// folders, ticks, random numbers and UTF-8 helpers.  All number formatting and parsing
// is independent of the locale ("." is the decimal separator).
#pragma once

#include "platform/system/Types.h"

#include <cstdint>
#include <exception>
#include <initializer_list>
#include <source_location>
#include <string>
#include <string_view>
#include <type_traits>

// ---------------------------------------------------------------------------------
// Format arguments

// One argument of Format: an integer, a floating-point number, a text or a pointer.
class TFormatArg {
public:
    enum TKind { akInt, akUInt, akFloat, akString, akPointer };

    template <class T>
        requires(std::is_integral_v<T> && !std::is_same_v<T, bool> && std::is_signed_v<T>)
    TFormatArg(T AValue) : FKind(akInt), FInt(AValue), FSize(sizeof(T)) {}
    template <class T>
        requires(std::is_integral_v<T> && !std::is_same_v<T, bool> && std::is_unsigned_v<T>)
    TFormatArg(T AValue) : FKind(akUInt), FUInt(AValue), FSize(sizeof(T)) {}
    template <class T>
        requires std::is_enum_v<T>
    TFormatArg(T AValue) : FKind(akInt), FInt(int64_t(AValue)), FSize(sizeof(T)) {}
    TFormatArg(bool AValue) : FKind(akInt), FInt(AValue ? 1 : 0) {}
    TFormatArg(double AValue) : FKind(akFloat), FFloat(AValue) {}
    TFormatArg(float AValue) : FKind(akFloat), FFloat(AValue) {}
    TFormatArg(long double AValue) : FKind(akFloat), FFloat(double(AValue)) {}
    TFormatArg(const char* AValue) : FKind(akString), FStr(AValue ? AValue : "") {}
    TFormatArg(char* AValue) : FKind(akString), FStr(AValue ? AValue : "") {}
    TFormatArg(const String& AValue) : FKind(akString), FStr(AValue) {}
    TFormatArg(std::string_view AValue) : FKind(akString), FStr(AValue) {}
    TFormatArg(const void* AValue) : FKind(akPointer), FPtr(AValue) {}
    TFormatArg(std::nullptr_t) : FKind(akPointer), FPtr(nullptr) {}

    TKind Kind() const { return FKind; }
    int64_t AsInt() const { return FKind == akUInt ? int64_t(FUInt) : FInt; }
    uint64_t AsUInt() const { return FKind == akUInt ? FUInt : uint64_t(FInt); }
    double AsFloat() const;
    std::string_view AsString() const { return FStr; }
    const void* AsPointer() const { return FPtr; }
    int Size() const { return FSize; }  // bytes of the integer type given

private:
    TKind FKind;
    int64_t FInt = 0;
    uint64_t FUInt = 0;
    double FFloat = 0;
    std::string_view FStr;
    const void* FPtr = nullptr;
    int FSize = 4;
};

// Format with Delphi's format letters: "%" [index ":"] ["-"] [width] ["." precision] type,
// with type one of d u x e f g n p s (either case) and "*" taking a width or precision from
// the arguments.  %d with a precision pads with zeros ("%.2d" -> "05"); %x is upper-case
// hex; %f without precision gives 2 decimals; %g gives the shortest text of 15 digits;
// %p is the pointer in upper-case hex; "%%" is "%".  A letter that does not fit its argument,
// a missing argument or a broken specifier raises EConvertError.
String FormatArgs(std::string_view AFormat, std::initializer_list<TFormatArg> AArgs);

template <class... A>
String Format(std::string_view AFormat, const A&... AArgs)
{
    return FormatArgs(AFormat, {TFormatArg(AArgs)...});
}

// ---------------------------------------------------------------------------------
// Exceptions

class Exception : public std::exception {
public:
    explicit Exception(const String& AMessage) : FMessage(AMessage) {}
    explicit Exception(const char* AMessage) : FMessage(AMessage ? AMessage : "") {}
    // Formatted creation: Exception("Cannot %s while working.", "add").
    template <class A0, class... A>
    Exception(std::string_view AFormat, const A0& AArg0, const A&... AArgs)
        : FMessage(Format(AFormat, AArg0, AArgs...))
    {
    }
    template <class... A>
    static Exception CreateFmt(std::string_view AFormat, const A&... AArgs)
    {
        return Exception(Format(AFormat, AArgs...));
    }

    const String& Message() const { return FMessage; }
    void SetMessage(const String& AMessage) { FMessage = AMessage; }
    const char* what() const noexcept override { return FMessage.c_str(); }

private:
    String FMessage;
};

#define VC_DECLARE_EXCEPTION(Name, Base)   \
    class Name : public Base {             \
    public:                                \
        using Base::Base;                  \
    };

VC_DECLARE_EXCEPTION(EAbort, Exception)
VC_DECLARE_EXCEPTION(EConvertError, Exception)
VC_DECLARE_EXCEPTION(EInvalidOperation, Exception)
VC_DECLARE_EXCEPTION(EInvalidCast, Exception)
VC_DECLARE_EXCEPTION(EInvalidArgument, Exception)
VC_DECLARE_EXCEPTION(EListError, Exception)
VC_DECLARE_EXCEPTION(EStringListError, EListError)
VC_DECLARE_EXCEPTION(EComponentError, Exception)
VC_DECLARE_EXCEPTION(EStreamError, Exception)
VC_DECLARE_EXCEPTION(EReadError, EStreamError)
VC_DECLARE_EXCEPTION(EWriteError, EStreamError)
VC_DECLARE_EXCEPTION(EFileStreamError, EStreamError)
VC_DECLARE_EXCEPTION(EFOpenError, EFileStreamError)
VC_DECLARE_EXCEPTION(EFCreateError, EFileStreamError)
VC_DECLARE_EXCEPTION(EThread, Exception)
VC_DECLARE_EXCEPTION(EAssertionFailed, Exception)
VC_DECLARE_EXCEPTION(EOutOfRange, Exception)

// An input/output failure; ErrorCode is the system's errno value (0 when none).
class EInOutError : public Exception {
public:
    using Exception::Exception;
    EInOutError(int AErrorCode, const String& AMessage) : Exception(AMessage), FErrorCode(AErrorCode) {}
    int ErrorCode() const { return FErrorCode; }

private:
    int FErrorCode = 0;
};

// Raises EAbort ("Operation aborted"), the silent exception.
[[noreturn]] void Abort();

// Raises EAssertionFailed "<message> (<file>, line <n>)" when ACondition is false.
void Assert(bool ACondition, const String& AMessage = "Assertion failed",
            std::source_location ALocation = std::source_location::current());

// The system's text for an errno value.
String SysErrorMessage(int AErrorCode);

// ---------------------------------------------------------------------------------
// Integers and floating-point numbers

String IntToStr(int64_t AValue);
String IntToHex(uint64_t AValue, int ADigits);
// Accepts optional blanks before the number, a sign, decimal digits, or hex after "$",
// "0x" or "0X"; the value must fit in 32 bits (StrToInt64: 64 bits).  Otherwise raises
// EConvertError "'%s' is not a valid integer value".
int StrToInt(const String& S);
int StrToIntDef(const String& S, int ADefault);
bool TryStrToInt(const String& S, int& AValue);
int64_t StrToInt64(const String& S);
int64_t StrToInt64Def(const String& S, int64_t ADefault);
bool TryStrToInt64(const String& S, int64_t& AValue);
// "." is the decimal separator; blanks around the number are allowed.  Otherwise raises
// EConvertError "'%s' is not a valid floating point value".
double StrToFloat(const String& S);
double StrToFloatDef(const String& S, double ADefault);
bool TryStrToFloat(const String& S, double& AValue);
// The shortest text of the value with 15 significant digits ("0.1", "1E20", "1.5E-7").
String FloatToStr(double AValue);
// Fixed notation with ADigits decimals (as Format("%.*f")).
String FloatToStrFixed(double AValue, int ADigits);

// ---------------------------------------------------------------------------------
// Strings (ASCII case rules; the bytes of other characters compare as they are)

String Trim(const String& S);       // removes characters <= ' ' at both ends
String TrimLeft(const String& S);
String TrimRight(const String& S);
String UpperCase(const String& S);
String LowerCase(const String& S);
bool SameText(std::string_view S1, std::string_view S2);
int CompareText(std::string_view S1, std::string_view S2);  // <0, 0, >0 ignoring ASCII case
int CompareStr(std::string_view S1, std::string_view S2);
bool StartsText(std::string_view ASubText, std::string_view AText);
bool EndsText(std::string_view ASubText, std::string_view AText);

// Comparisons in the user's locale (its collation order, every character's case
// folded for the Text forms); code point order where the locale gives none.
int AnsiCompareText(const String& S1, const String& S2);
int AnsiCompareStr(const String& S1, const String& S2);
bool AnsiSameText(const String& S1, const String& S2);
// A byte string whose order (plain byte comparison) is AnsiCompareText's order of the texts:
// equal keys for texts AnsiCompareText finds equal.  Made once per text, it spares a sort the
// conversion of both texts at every comparison.
String AnsiTextSortKey(const String& S);
// The character between hours and minutes in the user's locale's time format (read
// once), ':' when the locale gives none.
char TimeSeparator();

enum TReplaceFlag { rfReplaceAll, rfIgnoreCase };
using TReplaceFlags = TSet<TReplaceFlag>;
String StringReplace(const String& S, const String& AOldPattern, const String& ANewPattern,
                     TReplaceFlags AFlags);

// ---------------------------------------------------------------------------------
// UTF-8.  Invalid bytes count as one character each and convert to U+FFFD.

// Number of characters (code points) in S.
int Utf8Length(std::string_view S);
// Byte offset of the character with 0-based index ACharIndex (S.size() past the end).
size_t Utf8ByteOffset(std::string_view S, int ACharIndex);
// ACount characters from the 1-based character index AIndex (as Copy counts).
String Utf8Copy(std::string_view S, int AIndex, int ACount);
std::u16string Utf8ToUtf16(std::string_view S);
String Utf16ToUtf8(std::u16string_view S);
std::u32string Utf8ToUtf32(std::string_view S);
String Utf32ToUtf8(std::u32string_view S);
bool IsValidUtf8(std::string_view S);

// ---------------------------------------------------------------------------------
// Dates and times.  TDateTime counts days since 1899-12-30; the fraction is the time.

using TDateTime = double;

TDateTime Now();
TDateTime Date();
TDateTime EncodeDate(int AYear, int AMonth, int ADay);
TDateTime EncodeTime(int AHour, int AMin, int ASec, int AMSec);
void DecodeDate(TDateTime ADate, int& AYear, int& AMonth, int& ADay);
void DecodeTime(TDateTime ATime, int& AHour, int& AMin, int& ASec, int& AMSec);
// Format letters: yyyy yy m mm d dd h hh n nn s ss z zzz (an "m" right after an "h"
// means minutes), am/pm; text in '...' or "..." is copied as it stands.
String FormatDateTime(std::string_view AFormat, TDateTime ADateTime);
// The local time zone's bias in minutes (UTC = local time + bias; 480 west of UTC
// becomes +480, Beijing -480), standard time only: daylight saving is not applied.
int TimeZoneBias();

// ---------------------------------------------------------------------------------
// Files and folders (paths use "/")

constexpr char PathDelim = '/';

bool FileExists(const String& AFileName);       // an existing file that is not a folder
bool DirectoryExists(const String& ADirectory);
// Creates the folder and its missing parents; true when the folder exists afterwards.
// Raises EInOutError for an empty name.
bool ForceDirectories(const String& ADirectory);
String ExtractFilePath(const String& AFileName);   // up to and including the last "/"
String ExtractFileDir(const String& AFileName);    // without the last "/"
String ExtractFileName(const String& AFileName);
String ExtractFileExt(const String& AFileName);    // with the "."; empty when none
String ChangeFileExt(const String& AFileName, const String& AExtension);
String IncludeTrailingPathDelimiter(const String& S);
String ExcludeTrailingPathDelimiter(const String& S);

// ---------------------------------------------------------------------------------
// Ticks, sleeping, random numbers

// Milliseconds of the monotonic clock (wraps after 49.7 days, as callers expect).
uint32_t GetTickCount();
uint64_t GetTickCount64();
void Sleep(uint32_t AMilliseconds);

// A seedable generator shared by the process (thread-safe).  Random(N) gives 0..N-1
// (0 when N <= 0); Random() gives [0, 1).  Randomize seeds from the clock.
void Randomize();
void SetRandSeed(uint32_t ASeed);
uint32_t RandSeed();
int Random(int ARange);
double Random();
