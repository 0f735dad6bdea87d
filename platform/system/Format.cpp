// Format and the floating-point texts (FloatToStr, %f, %g, %e, %n).
//
// Numbers are first taken to 17 significant decimal digits (exact rounding of the
// binary value) and then rounded half away from zero at the wanted place, which is how
// the stored values and captions of the system expect "0.125" to become "0.13".
#include "platform/system/SysUtils.h"

#include <charconv>
#include <cmath>
#include <cstring>

double TFormatArg::AsFloat() const
{
    switch (FKind) {
    case akFloat: return FFloat;
    case akInt: return double(FInt);
    case akUInt: return double(FUInt);
    default: return 0;
    }
}

namespace vc_format {

// A finite value as significant digits: 0.d1d2d3... x 10^Exponent.
struct TDecimal {
    String Digits;
    int Exponent = 0;
    bool Negative = false;
    bool Zero = false;
};

static TDecimal ToDecimal(double AValue)
{
    TDecimal d;
    d.Negative = std::signbit(AValue);
    double a = std::fabs(AValue);
    if (a == 0) {
        d.Digits = "0";
        d.Exponent = 0;
        d.Zero = true;
        return d;
    }
    char buf[64];
    // d.ddddddddddddddddde[+-]xx
    auto r = std::to_chars(buf, buf + sizeof buf, a, std::chars_format::scientific, 16);
    *r.ptr = 0;
    const char* e = std::strchr(buf, 'e');
    for (const char* p = buf; p < e; ++p)
        if (*p != '.') d.Digits += *p;
    d.Exponent = std::atoi(e + 1) + 1;
    return d;
}

// Keeps ACount significant digits (ACount may be 0 or negative: everything rounds
// away or to one unit), rounding half away from zero.
static void RoundDigits(TDecimal& D, int ACount)
{
    if (D.Zero) return;
    if (ACount >= int(D.Digits.size())) return;
    if (ACount < 0) {
        D.Digits = "0";
        D.Zero = true;
        D.Exponent = 0;
        return;
    }
    bool up = D.Digits[ACount] >= '5';
    D.Digits.resize(ACount);
    if (up) {
        int i = ACount - 1;
        while (i >= 0 && D.Digits[i] == '9') D.Digits[i--] = '0';
        if (i < 0) {
            D.Digits.insert(D.Digits.begin(), '1');
            D.Exponent++;
            D.Digits.pop_back();
            if (D.Digits.empty()) D.Digits = "1";
        } else {
            D.Digits[i]++;
        }
    }
    if (D.Digits.empty() || D.Digits.find_first_not_of('0') == String::npos) {
        if (!up) {
            D.Digits = "0";
            D.Zero = true;
            D.Exponent = 0;
        }
    }
}

static void StripZeros(String& ADigits)
{
    while (ADigits.size() > 1 && ADigits.back() == '0') ADigits.pop_back();
}

static String Special(double AValue)
{
    if (std::isnan(AValue)) return "NAN";
    return AValue < 0 ? "-INF" : "INF";
}

static String FormatFixed(double AValue, int ADecimals, bool AThousands)
{
    if (!std::isfinite(AValue)) return Special(AValue);
    if (ADecimals < 0) ADecimals = 0;
    if (ADecimals > 18) ADecimals = 18;
    TDecimal d = ToDecimal(AValue);
    RoundDigits(d, d.Exponent + ADecimals);
    String intPart, frac;
    if (d.Zero) {
        intPart = "0";
        frac.assign(ADecimals, '0');
    } else {
        // digit k (0-based) has weight 10^(Exponent-1-k)
        for (int pos = d.Exponent - 1; pos >= -ADecimals; --pos) {
            int k = d.Exponent - 1 - pos;
            char c = (k >= 0 && k < int(d.Digits.size())) ? d.Digits[k] : '0';
            if (pos >= 0) intPart += c;
            else frac += c;
        }
        if (intPart.empty()) intPart = "0";
    }
    if (AThousands && intPart.size() > 3) {
        String g;
        int n = int(intPart.size());
        for (int i = 0; i < n; ++i) {
            if (i > 0 && (n - i) % 3 == 0) g += ',';
            g += intPart[i];
        }
        intPart = g;
    }
    bool allZero = intPart.find_first_not_of("0,") == String::npos && frac.find_first_not_of('0') == String::npos;
    String s = (d.Negative && !allZero) ? "-" : "";
    s += intPart;
    if (ADecimals > 0) s += "." + frac;
    return s;
}

static String FormatGeneral(double AValue, int APrecision)
{
    if (!std::isfinite(AValue)) return Special(AValue);
    if (APrecision <= 0 || APrecision > 15) APrecision = 15;
    TDecimal d = ToDecimal(AValue);
    RoundDigits(d, APrecision);
    if (d.Zero) return "0";
    StripZeros(d.Digits);
    String s = d.Negative ? "-" : "";
    int n = int(d.Digits.size());
    if (d.Exponent > APrecision || d.Exponent < -3) {
        s += d.Digits[0];
        if (n > 1) s += "." + d.Digits.substr(1);
        s += "E" + std::to_string(d.Exponent - 1);
        return s;
    }
    if (d.Exponent <= 0) {
        s += "0." + String(-d.Exponent, '0') + d.Digits;
    } else if (d.Exponent >= n) {
        s += d.Digits + String(d.Exponent - n, '0');
    } else {
        s += d.Digits.substr(0, d.Exponent) + "." + d.Digits.substr(d.Exponent);
    }
    return s;
}

static String FormatExponent(double AValue, int APrecision)
{
    if (!std::isfinite(AValue)) return Special(AValue);
    if (APrecision <= 0 || APrecision > 18) APrecision = 15;
    TDecimal d = ToDecimal(AValue);
    RoundDigits(d, APrecision);
    String digits = d.Zero ? String() : d.Digits;
    digits.resize(APrecision, '0');
    int exp = d.Zero ? 0 : d.Exponent - 1;
    String s = d.Negative && !d.Zero ? "-" : "";
    s += digits[0];
    if (APrecision > 1) s += "." + digits.substr(1);
    String e = std::to_string(exp < 0 ? -exp : exp);
    while (e.size() < 3) e = "0" + e;
    s += String("E") + (exp < 0 ? "-" : "+") + e;
    return s;
}

}  // namespace vc_format

using namespace vc_format;

String FloatToStr(double AValue) { return FormatGeneral(AValue, 15); }
String FloatToStrFixed(double AValue, int ADigits) { return FormatFixed(AValue, ADigits, false); }

// ---------------------------------------------------------------------------------

[[noreturn]] static void FormatError(std::string_view AFormat)
{
    throw EConvertError("Format '" + String(AFormat) + "' invalid or incompatible with argument");
}

static String PadLeft(String S, int AWidth, bool ALeftJustify)
{
    int len = Utf8Length(S);
    if (len >= AWidth) return S;
    if (ALeftJustify) return S + String(AWidth - len, ' ');
    return String(AWidth - len, ' ') + S;
}

static String UIntToHex(uint64_t V)
{
    char buf[32];
    auto r = std::to_chars(buf, buf + sizeof buf, V, 16);
    String s(buf, r.ptr);
    for (char& c : s) c = char(std::toupper((unsigned char)c));
    return s;
}

String FormatArgs(std::string_view AFormat, std::initializer_list<TFormatArg> AArgs)
{
    const TFormatArg* args = AArgs.begin();
    int argCount = int(AArgs.size());
    int argIndex = 0;
    String out;
    size_t i = 0, n = AFormat.size();

    auto nextArg = [&]() -> const TFormatArg& {
        if (argIndex >= argCount) FormatError(AFormat);
        return args[argIndex++];
    };
    auto readNumber = [&](int& AValue) -> bool {  // digits or "*"
        if (i < n && AFormat[i] == '*') {
            ++i;
            const TFormatArg& a = nextArg();
            if (a.Kind() != TFormatArg::akInt && a.Kind() != TFormatArg::akUInt) FormatError(AFormat);
            AValue = int(a.AsInt());
            return true;
        }
        if (i < n && AFormat[i] >= '0' && AFormat[i] <= '9') {
            int64_t v = 0;
            while (i < n && AFormat[i] >= '0' && AFormat[i] <= '9') {
                v = v * 10 + (AFormat[i++] - '0');
                if (v > 100000) FormatError(AFormat);
            }
            AValue = int(v);
            return true;
        }
        return false;
    };

    while (i < n) {
        char c = AFormat[i];
        if (c != '%') {
            out += c;
            ++i;
            continue;
        }
        ++i;
        if (i >= n) FormatError(AFormat);
        if (AFormat[i] == '%') {
            out += '%';
            ++i;
            continue;
        }
        int width = -1, prec = -1;
        bool left = false;
        // optional "index:"
        {
            size_t save = i;
            int saveArg = argIndex;
            int idx;
            if (readNumber(idx) && i < n && AFormat[i] == ':') {
                ++i;
                if (idx < 0 || idx >= argCount) FormatError(AFormat);
                argIndex = idx;
            } else {
                i = save;
                argIndex = saveArg;
            }
        }
        if (i < n && AFormat[i] == '-') {
            left = true;
            ++i;
        }
        readNumber(width);
        if (i < n && AFormat[i] == '.') {
            ++i;
            if (!readNumber(prec)) prec = 0;
        }
        if (i >= n) FormatError(AFormat);
        char type = char(std::tolower((unsigned char)AFormat[i++]));
        if (width < 0) width = 0;
        const TFormatArg& a = nextArg();
        bool isInt = a.Kind() == TFormatArg::akInt || a.Kind() == TFormatArg::akUInt;
        String s;
        switch (type) {
        case 'd':
        case 'u': {
            if (!isInt) FormatError(AFormat);
            bool neg = false;
            uint64_t mag;
            if (type == 'u' && a.Kind() == TFormatArg::akInt && a.AsInt() < 0) {
                mag = a.Size() < 8 ? uint64_t(uint32_t(a.AsInt())) : uint64_t(a.AsInt());
            } else if (a.Kind() == TFormatArg::akInt && a.AsInt() < 0) {
                neg = true;
                mag = uint64_t(0) - uint64_t(a.AsInt());
            } else {
                mag = a.AsUInt();
            }
            s = std::to_string(mag);
            if (prec > 0 && int(s.size()) < prec) s = String(prec - s.size(), '0') + s;
            if (neg) s = "-" + s;
            break;
        }
        case 'x': {
            if (!isInt) FormatError(AFormat);
            uint64_t v = a.AsUInt();
            if (a.Kind() == TFormatArg::akInt && a.AsInt() < 0 && a.Size() < 8) v = uint32_t(a.AsInt());
            s = UIntToHex(v);
            if (prec > 0 && int(s.size()) < prec) s = String(prec - s.size(), '0') + s;
            break;
        }
        case 'e':
        case 'f':
        case 'g':
        case 'n': {
            if (a.Kind() == TFormatArg::akString || a.Kind() == TFormatArg::akPointer) FormatError(AFormat);
            double v = a.AsFloat();
            if (type == 'e') s = FormatExponent(v, prec < 0 ? 15 : prec);
            else if (type == 'f') s = FormatFixed(v, prec < 0 ? 2 : prec, false);
            else if (type == 'n') s = FormatFixed(v, prec < 0 ? 2 : prec, true);
            else s = FormatGeneral(v, prec < 0 ? 15 : prec);
            break;
        }
        case 'p': {
            uint64_t v;
            if (a.Kind() == TFormatArg::akPointer) v = uint64_t(uintptr_t(a.AsPointer()));
            else if (isInt) v = a.AsUInt();
            else FormatError(AFormat);
            s = UIntToHex(v);
            if (s.size() < sizeof(void*) * 2) s = String(sizeof(void*) * 2 - s.size(), '0') + s;
            break;
        }
        case 's': {
            if (a.Kind() != TFormatArg::akString) FormatError(AFormat);
            s = String(a.AsString());
            if (prec >= 0 && Utf8Length(s) > prec) s = Utf8Copy(s, 1, prec);
            break;
        }
        default:
            FormatError(AFormat);
        }
        out += PadLeft(std::move(s), width, left);
    }
    return out;
}
