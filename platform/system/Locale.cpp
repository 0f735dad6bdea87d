// Comparisons and the time separator of the user's locale, independent of the
// process's own locale (which stays "C" for number formatting).
#include <langinfo.h>
#include <locale.h>

#include <cctype>
#include <cwchar>
#include <cwctype>

#include "platform/system/SysUtils.h"

namespace {

// The user's collation and character classes, from the environment, made once.
locale_t UserLocale()
{
    static locale_t L = [] {
        locale_t U = newlocale(LC_COLLATE_MASK | LC_CTYPE_MASK | LC_TIME_MASK, "", nullptr);
        return U ? U : newlocale(LC_ALL_MASK, "C", nullptr);
    }();
    return L;
}

std::wstring Wide(const String& S, bool Fold)
{
    std::wstring W;
    for (char32_t C : Utf8ToUtf32(S)) W += wchar_t(Fold ? towlower_l(wint_t(C), UserLocale()) : wint_t(C));
    return W;
}

int Sign(int V) { return V < 0 ? -1 : V > 0 ? 1 : 0; }

}  // namespace

int AnsiCompareText(const String& S1, const String& S2)
{
    std::wstring A = Wide(S1, true), B = Wide(S2, true);
    int R = Sign(wcscoll_l(A.c_str(), B.c_str(), UserLocale()));
    return R ? R : Sign(A.compare(B));
}

namespace {
// Each wide character as four bytes, most significant first, then four zero bytes: keys
// compare as the wide strings do, and a shorter string that begins a longer one goes first.
void AppendWide(String& Key, const wchar_t* W, size_t N)
{
    for (size_t I = 0; I < N; ++I) {
        const auto C = uint32_t(W[I]);
        Key += char(C >> 24);
        Key += char(C >> 16);
        Key += char(C >> 8);
        Key += char(C);
    }
    Key.append(4, '\0');
}
}  // namespace

String AnsiTextSortKey(const String& S)
{
    // the collation's transform of the folded text (its plain order is the collation's
    // order), then the folded text itself, as AnsiCompareText decides a tie
    const std::wstring A = Wide(S, true);
    std::wstring X(A.size() * 4 + 16, L'\0');
    size_t N = wcsxfrm_l(X.data(), A.c_str(), X.size(), UserLocale());
    if (N >= X.size()) {
        X.assign(N + 1, L'\0');
        N = wcsxfrm_l(X.data(), A.c_str(), X.size(), UserLocale());
    }
    String Key;
    Key.reserve((N + A.size() + 2) * 4);
    AppendWide(Key, X.data(), N);
    AppendWide(Key, A.data(), A.size());
    return Key;
}

int AnsiCompareStr(const String& S1, const String& S2)
{
    std::wstring A = Wide(S1, false), B = Wide(S2, false);
    int R = Sign(wcscoll_l(A.c_str(), B.c_str(), UserLocale()));
    return R ? R : Sign(A.compare(B));
}

bool AnsiSameText(const String& S1, const String& S2) { return Wide(S1, true) == Wide(S2, true); }

char TimeSeparator()
{
    static const char Sep = [] {
        const char* F = nl_langinfo_l(T_FMT, UserLocale());
        // the first character after the first conversion that is not a digit, letter,
        // blank or another conversion
        for (const char* P = F ? F : ""; *P; ++P) {
            if (*P != '%') continue;
            ++P;
            while (*P == 'E' || *P == 'O' || *P == '-' || *P == '_' || *P == '0' || *P == '^' || *P == '#') ++P;
            if (!*P) break;
            if (*P == 'T' || *P == 'R' || *P == 'r') return ':';
            char N = P[1];
            if (N && N != '%' && static_cast<unsigned char>(N) < 0x80 && !std::isalnum(static_cast<unsigned char>(N)) &&
                N != ' ')
                return N;
        }
        return ':';
    }();
    return Sep;
}
