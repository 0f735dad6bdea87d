// Exceptions, integer and floating-point conversions, ASCII string helpers, ticks and
// random numbers.
#include "platform/system/SysUtils.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <ctime>
#include <mutex>
#include <thread>

void Abort() { throw EAbort("Operation aborted"); }

void Assert(bool ACondition, const String& AMessage, std::source_location ALocation)
{
    if (ACondition) return;
    throw EAssertionFailed(Format("%s (%s, line %d)", AMessage, ALocation.file_name(), int(ALocation.line())));
}

String SysErrorMessage(int AErrorCode)
{
    char buf[256];
    // GNU strerror_r returns the text (which may or may not be buf).
    const char* s = strerror_r(AErrorCode, buf, sizeof buf);
    return s ? String(s) : String();
}

// ---------------------------------------------------------------------------------
// Integers

String IntToStr(int64_t AValue) { return std::to_string(AValue); }

String IntToHex(uint64_t AValue, int ADigits)
{
    static const char hex[] = "0123456789ABCDEF";
    String s;
    do {
        s.insert(s.begin(), hex[AValue & 15]);
        AValue >>= 4;
    } while (AValue);
    if (int(s.size()) < ADigits) s.insert(0, ADigits - s.size(), '0');
    return s;
}

// Parses S as an integer of ABits bits (32 or 64).  Hex texts may use the whole
// unsigned range, which wraps into the signed type as the system's hex constants do.
static bool ParseInt(const String& S, int ABits, int64_t& AValue)
{
    size_t i = 0, n = S.size();
    while (i < n && (S[i] == ' ' || S[i] == '\t')) ++i;
    bool neg = false;
    if (i < n && (S[i] == '-' || S[i] == '+')) {
        neg = S[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < n && S[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < n && S[i] == '0' && (S[i + 1] == 'x' || S[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= n) return false;
    uint64_t v = 0;
    const char* first = S.data() + i;
    const char* last = S.data() + n;
    auto r = std::from_chars(first, last, v, base);
    if (r.ec != std::errc() || r.ptr != last) return false;
    if (base == 16) {
        uint64_t limit = ABits == 32 ? 0xFFFFFFFFull : ~0ull;
        if (v > limit) return false;
        int64_t sv = ABits == 32 ? int64_t(int32_t(uint32_t(v))) : int64_t(v);
        AValue = neg ? int64_t(0 - uint64_t(sv)) : sv;
        if (ABits == 32) AValue = int32_t(AValue);
        return true;
    }
    uint64_t maxPos = ABits == 32 ? 0x7FFFFFFFull : 0x7FFFFFFFFFFFFFFFull;
    if (neg) {
        if (v > maxPos + 1) return false;
        AValue = int64_t(0 - v);
    } else {
        if (v > maxPos) return false;
        AValue = int64_t(v);
    }
    return true;
}

[[noreturn]] static void IntError(const String& S)
{
    throw EConvertError("'%s' is not a valid integer value", S);
}

bool TryStrToInt(const String& S, int& AValue)
{
    int64_t v;
    if (!ParseInt(S, 32, v)) return false;
    AValue = int(v);
    return true;
}

int StrToInt(const String& S)
{
    int v;
    if (!TryStrToInt(S, v)) IntError(S);
    return v;
}

int StrToIntDef(const String& S, int ADefault)
{
    int v;
    return TryStrToInt(S, v) ? v : ADefault;
}

bool TryStrToInt64(const String& S, int64_t& AValue) { return ParseInt(S, 64, AValue); }

int64_t StrToInt64(const String& S)
{
    int64_t v;
    if (!ParseInt(S, 64, v)) IntError(S);
    return v;
}

int64_t StrToInt64Def(const String& S, int64_t ADefault)
{
    int64_t v;
    return ParseInt(S, 64, v) ? v : ADefault;
}

// ---------------------------------------------------------------------------------
// Floating-point numbers

bool TryStrToFloat(const String& S, double& AValue)
{
    String t = Trim(S);
    if (t.empty()) return false;
    const char* first = t.data();
    const char* last = t.data() + t.size();
    if (*first == '+') ++first;
    if (first == last) return false;
    // Only digits, one sign, "." and an exponent: no "inf", "nan" or hex floats.
    for (const char* p = first; p < last; ++p) {
        char c = *p;
        if (!((c >= '0' && c <= '9') || c == '.' || c == 'e' || c == 'E' || c == '-' || c == '+')) return false;
    }
    double v = 0;
    auto r = std::from_chars(first, last, v, std::chars_format::general);
    if (r.ec != std::errc() || r.ptr != last) return false;
    AValue = v;
    return true;
}

double StrToFloat(const String& S)
{
    double v;
    if (!TryStrToFloat(S, v)) throw EConvertError("'%s' is not a valid floating point value", S);
    return v;
}

double StrToFloatDef(const String& S, double ADefault)
{
    double v;
    return TryStrToFloat(S, v) ? v : ADefault;
}

// ---------------------------------------------------------------------------------
// Strings

String Trim(const String& S)
{
    size_t b = 0, e = S.size();
    while (b < e && (unsigned char)S[b] <= ' ') ++b;
    while (e > b && (unsigned char)S[e - 1] <= ' ') --e;
    return S.substr(b, e - b);
}

String TrimLeft(const String& S)
{
    size_t b = 0;
    while (b < S.size() && (unsigned char)S[b] <= ' ') ++b;
    return S.substr(b);
}

String TrimRight(const String& S)
{
    size_t e = S.size();
    while (e > 0 && (unsigned char)S[e - 1] <= ' ') --e;
    return S.substr(0, e);
}

static char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 32) : c; }
static char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? char(c + 32) : c; }

String UpperCase(const String& S)
{
    String r = S;
    for (char& c : r) c = AsciiUpper(c);
    return r;
}

String LowerCase(const String& S)
{
    String r = S;
    for (char& c : r) c = AsciiLower(c);
    return r;
}

int CompareText(std::string_view S1, std::string_view S2)
{
    size_t n = std::min(S1.size(), S2.size());
    for (size_t i = 0; i < n; ++i) {
        unsigned char a = (unsigned char)AsciiUpper(S1[i]), b = (unsigned char)AsciiUpper(S2[i]);
        if (a != b) return int(a) - int(b);
    }
    return S1.size() < S2.size() ? -1 : (S1.size() > S2.size() ? 1 : 0);
}

bool SameText(std::string_view S1, std::string_view S2)
{
    return S1.size() == S2.size() && CompareText(S1, S2) == 0;
}

int CompareStr(std::string_view S1, std::string_view S2)
{
    int c = S1.compare(S2);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

bool StartsText(std::string_view ASubText, std::string_view AText)
{
    return AText.size() >= ASubText.size() && SameText(AText.substr(0, ASubText.size()), ASubText);
}

bool EndsText(std::string_view ASubText, std::string_view AText)
{
    return AText.size() >= ASubText.size() && SameText(AText.substr(AText.size() - ASubText.size()), ASubText);
}

String StringReplace(const String& S, const String& AOldPattern, const String& ANewPattern, TReplaceFlags AFlags)
{
    if (AOldPattern.empty()) return S;
    bool ignoreCase = AFlags.Contains(rfIgnoreCase);
    String hay = ignoreCase ? UpperCase(S) : S;
    String pat = ignoreCase ? UpperCase(AOldPattern) : AOldPattern;
    String out;
    size_t pos = 0;
    while (true) {
        size_t f = hay.find(pat, pos);
        if (f == String::npos) break;
        out.append(S, pos, f - pos);
        out += ANewPattern;
        pos = f + pat.size();
        if (!AFlags.Contains(rfReplaceAll)) break;
    }
    out.append(S, pos, String::npos);
    return out;
}

// ---------------------------------------------------------------------------------
// Ticks and sleeping

uint64_t GetTickCount64()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return uint64_t(ts.tv_sec) * 1000u + uint64_t(ts.tv_nsec) / 1000000u;
}

uint32_t GetTickCount() { return uint32_t(GetTickCount64()); }

void Sleep(uint32_t AMilliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(AMilliseconds)); }

// ---------------------------------------------------------------------------------
// Random numbers: a 32-bit linear congruential generator, so that a given seed always
// gives the same sequence.

static std::mutex GRandomLock;
static uint32_t GRandSeed = 0;

static uint32_t NextRandom()
{
    GRandSeed = GRandSeed * 0x08088405u + 1u;
    return GRandSeed;
}

void SetRandSeed(uint32_t ASeed)
{
    std::lock_guard lock(GRandomLock);
    GRandSeed = ASeed;
}

uint32_t RandSeed()
{
    std::lock_guard lock(GRandomLock);
    return GRandSeed;
}

void Randomize()
{
    timespec ts;
    clock_gettime(CLOCK_REALTIME, &ts);
    SetRandSeed(uint32_t(ts.tv_sec * 1000003u) ^ uint32_t(ts.tv_nsec));
}

int Random(int ARange)
{
    if (ARange <= 0) return 0;
    std::lock_guard lock(GRandomLock);
    return int((uint64_t(NextRandom()) * uint64_t(ARange)) >> 32);
}

double Random()
{
    std::lock_guard lock(GRandomLock);
    return double(NextRandom()) / 4294967296.0;
}
