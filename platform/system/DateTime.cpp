// Dates and times as days since 1899-12-30, and their formatting.
#include "platform/system/SysUtils.h"

#include <cmath>
#include <ctime>

// Days from 1970-01-01 of a proleptic Gregorian date.
static int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = unsigned(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + int64_t(doe) - 719468;
}

static void CivilFromDays(int64_t z, int& y, int& m, int& d)
{
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = unsigned(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t yy = int64_t(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = int(doy - (153 * mp + 2) / 5 + 1);
    m = int(mp < 10 ? mp + 3 : mp - 9);
    y = int(yy + (m <= 2));
}

constexpr int64_t UnixDateDelta = 25569;  // days from 1899-12-30 to 1970-01-01

TDateTime EncodeDate(int AYear, int AMonth, int ADay)
{
    static const int mdays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (AYear % 4 == 0 && AYear % 100 != 0) || AYear % 400 == 0;
    if (AYear < 1 || AYear > 9999 || AMonth < 1 || AMonth > 12 || ADay < 1 ||
        ADay > mdays[AMonth - 1] + (AMonth == 2 && leap ? 1 : 0))
        throw EConvertError("Invalid argument to date encode");
    return double(DaysFromCivil(AYear, unsigned(AMonth), unsigned(ADay)) + UnixDateDelta);
}

TDateTime EncodeTime(int AHour, int AMin, int ASec, int AMSec)
{
    if (AHour < 0 || AHour > 23 || AMin < 0 || AMin > 59 || ASec < 0 || ASec > 59 || AMSec < 0 || AMSec > 999)
        throw EConvertError("Invalid argument to time encode");
    return (((AHour * 60.0 + AMin) * 60.0 + ASec) * 1000.0 + AMSec) / 86400000.0;
}

// Splits into whole days and milliseconds of the day (the time part counts from
// midnight whatever the sign of the date).
static void Split(TDateTime ADateTime, int64_t& ADays, int64_t& AMs)
{
    double days = std::floor(ADateTime);
    if (ADateTime < 0 && ADateTime != days) days = std::ceil(ADateTime);
    double frac = std::fabs(ADateTime - days);
    ADays = int64_t(days);
    AMs = int64_t(std::llround(frac * 86400000.0));
    if (AMs >= 86400000) {
        AMs -= 86400000;
        ADays += ADateTime < 0 ? -1 : 1;
    }
}

void DecodeDate(TDateTime ADate, int& AYear, int& AMonth, int& ADay)
{
    int64_t days, ms;
    Split(ADate, days, ms);
    CivilFromDays(days - UnixDateDelta, AYear, AMonth, ADay);
}

void DecodeTime(TDateTime ATime, int& AHour, int& AMin, int& ASec, int& AMSec)
{
    int64_t days, ms;
    Split(ATime, days, ms);
    AHour = int(ms / 3600000);
    AMin = int(ms / 60000 % 60);
    ASec = int(ms / 1000 % 60);
    AMSec = int(ms % 1000);
}

TDateTime Now()
{
    timespec ts;
    clock_gettime(CLOCK_REALTIME, &ts);
    tm lt;
    localtime_r(&ts.tv_sec, &lt);
    return EncodeDate(lt.tm_year + 1900, lt.tm_mon + 1, lt.tm_mday) +
           EncodeTime(lt.tm_hour, lt.tm_min, lt.tm_sec, int(ts.tv_nsec / 1000000));
}

TDateTime Date() { return std::floor(Now()); }

int TimeZoneBias()
{
    tzset();
    return int(timezone / 60);
}

static String Pad(int AValue, int AWidth)
{
    String s = std::to_string(AValue);
    while (int(s.size()) < AWidth) s = "0" + s;
    return s;
}

String FormatDateTime(std::string_view AFormat, TDateTime ADateTime)
{
    static const char* shortMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    static const char* longMonths[] = {"January", "February", "March", "April", "May", "June", "July",
                                       "August", "September", "October", "November", "December"};
    static const char* shortDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char* longDays[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

    int y, mo, d, h, mi, s, ms;
    DecodeDate(ADateTime, y, mo, d);
    DecodeTime(ADateTime, h, mi, s, ms);
    int64_t days, dummy;
    Split(ADateTime, days, dummy);
    int dow = int(((days - 1) % 7 + 7) % 7);  // 1899-12-30 was a Saturday

    // A 12-hour clock when the format holds am/pm or a/p.
    String lower;
    for (char c : AFormat) lower += char(std::tolower((unsigned char)c));
    bool twelve = lower.find("am/pm") != String::npos || lower.find("a/p") != String::npos;

    String out;
    bool lastWasHour = false;
    size_t i = 0, n = AFormat.size();
    while (i < n) {
        char c = AFormat[i];
        char lc = char(std::tolower((unsigned char)c));
        if (c == '\'' || c == '"') {
            size_t e = AFormat.find(c, i + 1);
            if (e == std::string_view::npos) e = n;
            out.append(AFormat.substr(i + 1, e - i - 1));
            i = e < n ? e + 1 : n;
            continue;
        }
        if (lower.compare(i, 5, "am/pm") == 0) {
            out += h < 12 ? "AM" : "PM";
            i += 5;
            continue;
        }
        if (lower.compare(i, 3, "a/p") == 0) {
            out += h < 12 ? "A" : "P";
            i += 3;
            continue;
        }
        size_t run = 1;
        while (i + run < n && std::tolower((unsigned char)AFormat[i + run]) == lc) ++run;
        switch (lc) {
        case 'y':
            out += run <= 2 ? Pad(y % 100, 2) : Pad(y, 4);
            break;
        case 'm':
            if (lastWasHour && run <= 2) out += Pad(mi, int(run));
            else if (run <= 2) out += Pad(mo, int(run));
            else out += run == 3 ? shortMonths[mo - 1] : longMonths[mo - 1];
            break;
        case 'd':
            if (run <= 2) out += Pad(d, int(run));
            else if (run == 3) out += shortDays[dow];
            else out += longDays[dow];
            break;
        case 'h': {
            int hh = twelve ? (h % 12 == 0 ? 12 : h % 12) : h;
            out += Pad(hh, run >= 2 ? 2 : 1);
            break;
        }
        case 'n':
            out += Pad(mi, run >= 2 ? 2 : 1);
            break;
        case 's':
            out += Pad(s, run >= 2 ? 2 : 1);
            break;
        case 'z':
            out += Pad(ms, run >= 3 ? 3 : 1);
            break;
        default:
            out.append(AFormat.substr(i, run));
            break;
        }
        if (lc == 'h') lastWasHour = true;
        else if (lc != ' ' && lc != ':' && std::isalpha((unsigned char)lc)) lastWasHour = false;
        i += run;
    }
    return out;
}
