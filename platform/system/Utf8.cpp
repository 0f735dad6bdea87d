// UTF-8 counting, indexing and conversion to and from UTF-16 and UTF-32.
#include "platform/system/SysUtils.h"

// Decodes one character at S[i]; returns its code point and advances i.  An invalid or
// truncated sequence yields U+FFFD and advances by one byte.
static char32_t Decode(std::string_view S, size_t& i)
{
    unsigned char c = (unsigned char)S[i];
    if (c < 0x80) {
        ++i;
        return c;
    }
    int len;
    char32_t cp;
    if ((c & 0xE0) == 0xC0) { len = 2; cp = c & 0x1F; }
    else if ((c & 0xF0) == 0xE0) { len = 3; cp = c & 0x0F; }
    else if ((c & 0xF8) == 0xF0) { len = 4; cp = c & 0x07; }
    else { ++i; return 0xFFFD; }
    if (i + len > S.size()) { ++i; return 0xFFFD; }
    for (int k = 1; k < len; ++k) {
        unsigned char cc = (unsigned char)S[i + k];
        if ((cc & 0xC0) != 0x80) { ++i; return 0xFFFD; }
        cp = (cp << 6) | (cc & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are invalid.
    static const char32_t minimum[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < minimum[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) { ++i; return 0xFFFD; }
    i += len;
    return cp;
}

static void Encode(char32_t cp, String& AOut)
{
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
    if (cp < 0x80) AOut += char(cp);
    else if (cp < 0x800) {
        AOut += char(0xC0 | (cp >> 6));
        AOut += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        AOut += char(0xE0 | (cp >> 12));
        AOut += char(0x80 | ((cp >> 6) & 0x3F));
        AOut += char(0x80 | (cp & 0x3F));
    } else {
        AOut += char(0xF0 | (cp >> 18));
        AOut += char(0x80 | ((cp >> 12) & 0x3F));
        AOut += char(0x80 | ((cp >> 6) & 0x3F));
        AOut += char(0x80 | (cp & 0x3F));
    }
}

int Utf8Length(std::string_view S)
{
    int n = 0;
    for (size_t i = 0; i < S.size(); ++n) Decode(S, i);
    return n;
}

size_t Utf8ByteOffset(std::string_view S, int ACharIndex)
{
    size_t i = 0;
    for (int k = 0; k < ACharIndex && i < S.size(); ++k) Decode(S, i);
    return i;
}

String Utf8Copy(std::string_view S, int AIndex, int ACount)
{
    if (AIndex < 1) AIndex = 1;
    if (ACount <= 0) return String();
    size_t b = Utf8ByteOffset(S, AIndex - 1);
    size_t e = b;
    for (int k = 0; k < ACount && e < S.size(); ++k) Decode(S, e);
    return String(S.substr(b, e - b));
}

bool IsValidUtf8(std::string_view S)
{
    for (size_t i = 0; i < S.size();) {
        size_t before = i;
        char32_t cp = Decode(S, i);
        if (cp == 0xFFFD && !(i - before == 3 && S.substr(before, 3) == "\xEF\xBF\xBD")) return false;
    }
    return true;
}

std::u32string Utf8ToUtf32(std::string_view S)
{
    std::u32string r;
    r.reserve(S.size());
    for (size_t i = 0; i < S.size();) r += Decode(S, i);
    return r;
}

String Utf32ToUtf8(std::u32string_view S)
{
    String r;
    r.reserve(S.size());
    for (char32_t c : S) Encode(c, r);
    return r;
}

std::u16string Utf8ToUtf16(std::string_view S)
{
    std::u16string r;
    r.reserve(S.size());
    for (size_t i = 0; i < S.size();) {
        char32_t cp = Decode(S, i);
        if (cp >= 0x10000) {
            cp -= 0x10000;
            r += char16_t(0xD800 + (cp >> 10));
            r += char16_t(0xDC00 + (cp & 0x3FF));
        } else {
            r += char16_t(cp);
        }
    }
    return r;
}

String Utf16ToUtf8(std::u16string_view S)
{
    String r;
    r.reserve(S.size());
    for (size_t i = 0; i < S.size(); ++i) {
        char32_t c = S[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < S.size() && S[i + 1] >= 0xDC00 && S[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (S[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;  // unpaired surrogate
        }
        Encode(c, r);
    }
    return r;
}
