#include "model/format.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <limits>

namespace {

const char* const kMonthLong[12] = {"Januar", "Februar", "März",      "April",   "Mai",      "Juni",
                                    "Juli",   "August",  "September", "Oktober", "November", "Dezember"};
const char* const kMonthShort[12] = {"Jan", "Feb", "Mär", "Apr", "Mai", "Jun",
                                     "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"};
const char* const kWeekdayLong[7] = {"Montag",  "Dienstag", "Mittwoch", "Donnerstag",
                                     "Freitag", "Samstag",  "Sonntag"};
const char* const kWeekdayShort[7] = {"Mo", "Di", "Mi", "Do", "Fr", "Sa", "So"};

// Seconds rounded half away from zero; negative and non-finite input count as 0.
// Clamped so that the hour figure always fits the printed integer.
int64_t WholeSeconds(double seconds) {
    if (!std::isfinite(seconds) || seconds <= 0.0) return 0;
    constexpr double kMax = 1e15;  // about 31 million years
    return static_cast<int64_t>(std::round(std::min(seconds, kMax)));
}

std::tm LocalTm(int64_t t) {
    std::tm tm{};
    time_t tt = static_cast<time_t>(t);
    if (!localtime_r(&tt, &tm)) {
        // Outside the range the C library can represent: show the epoch rather than garbage.
        tt = 0;
        localtime_r(&tt, &tm);
    }
    return tm;
}

}  // namespace

std::string FormatString(const char* fmt, ...) {
    char buf[1024];
    va_list args;
    va_start(args, fmt);
    va_list again;
    va_copy(again, args);
    int n = std::vsnprintf(buf, sizeof buf, fmt, args);
    va_end(args);
    std::string out;
    if (n >= 0 && n < static_cast<int>(sizeof buf)) {
        out.assign(buf, static_cast<size_t>(n));
    } else if (n >= 0) {
        out.resize(static_cast<size_t>(n) + 1);
        int m = std::vsnprintf(out.data(), out.size(), fmt, again);
        if (m == n) {
            out.resize(static_cast<size_t>(n));
        } else {
            out.clear();
        }
    }
    va_end(again);
    return out;
}

std::string FormatNumber(double x, int decimals) {
    if (!std::isfinite(x)) x = 0.0;
    decimals = std::clamp(decimals, 0, 20);
    const double a = std::fabs(x);
    const std::string t = FormatString("%.*f", decimals, a);
    const size_t dot = t.find('.');
    const std::string intDigits = t.substr(0, dot);
    const std::string frac = dot == std::string::npos ? std::string() : t.substr(dot + 1);

    std::string out;
    // Sign only when the printed digits are not all zero. Judged on the digits
    // themselves, because printf rounds an exact half to even: -0.5 with no
    // decimals prints "0", and must not become "-0".
    if (x < 0.0 && t.find_first_of("123456789") != std::string::npos) out += '-';
    const size_t n = intDigits.size();
    for (size_t i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) out += '.';
        out += intDigits[i];
    }
    if (!frac.empty()) {
        out += ',';
        out += frac;
    }
    return out;
}

std::string FormatDistance(double km) {
    if (!std::isfinite(km)) km = 0.0;
    // The number of decimals is chosen on the unrounded value: 99.999 shows as "100,00".
    return FormatNumber(km, km < 100.0 ? 2 : 1);
}

std::string FormatDuration(double seconds) {
    const int64_t s = WholeSeconds(seconds);
    const int64_t h = s / 3600;
    const int64_t m = s / 60 - 60 * h;
    const int64_t sec = s % 60;
    if (h > 0) return FormatString("%lld:%02lld:%02lld", (long long)h, (long long)m, (long long)sec);
    return FormatString("%lld:%02lld", (long long)m, (long long)sec);
}

std::string FormatDurationShort(double seconds) {
    const int64_t s = WholeSeconds(seconds);
    const int64_t h = s / 3600;
    const int64_t m = s / 60 - 60 * h;
    if (h > 0) return FormatString("%lld h %02lld min", (long long)h, (long long)m);
    return FormatString("%lld min", (long long)m);
}

std::string FormatPace(double secPerKm) {
    if (!std::isfinite(secPerKm) || secPerKm <= 0.0 || secPerKm > 3600.0) {
        return "\u2013:\u2013\u2013";
    }
    const int64_t s = WholeSeconds(secPerKm);
    return FormatString("%d:%02d", static_cast<int>(s / 60), static_cast<int>(s % 60));
}

std::string FormatDate(int64_t t) {
    const std::tm tm = LocalTm(t);
    return FormatString("%02d.%02d.%04d", tm.tm_mday, tm.tm_mon + 1, tm.tm_year + 1900);
}

std::string FormatDateLong(int64_t t) {
    const std::tm tm = LocalTm(t);
    return FormatString("%s, %d. %s %d", WeekdayNameShort(WeekdayIndex(tm)), tm.tm_mday,
                        MonthNameShort(tm.tm_mon + 1), tm.tm_year + 1900);
}

std::string FormatTimeOfDay(int64_t t) {
    const std::tm tm = LocalTm(t);
    return FormatString("%02d:%02d", tm.tm_hour, tm.tm_min);
}

std::string FormatRelativeDay(int64_t t) {
    // Unsigned: a later day wraps to a huge number and falls through to the plain date.
    const uint64_t d = static_cast<uint64_t>(TodayDayNumber()) - static_cast<uint64_t>(DayNumber(t));
    if (d == 0) return "Heute";
    if (d == 1) return "Gestern";
    if (d <= 6) return FormatString("vor %d Tagen", static_cast<int>(d));
    return FormatDate(t);
}

std::string FormatDateKey(int year, int month, int day) {
    return FormatString("%04d-%02d-%02d", year, month, day);
}

std::string FormatIsoUtc(int64_t t) {
    std::tm tm{};
    time_t tt = static_cast<time_t>(t);
    if (!gmtime_r(&tt, &tm)) {
        tt = 0;
        gmtime_r(&tt, &tm);
    }
    return FormatString("%04d-%02d-%02dT%02d:%02d:%02dZ", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,
                        tm.tm_hour, tm.tm_min, tm.tm_sec);
}

int64_t ParseIsoTime(const std::string& text) {
    const char* s = text.c_str();
    int year = 0, month = 0, day = 0, hour = 0, minute = 0;
    double sec = 0.0;
    int n = std::sscanf(s, "%d-%d-%dT%d:%d:%lf", &year, &month, &day, &hour, &minute, &sec);
    if (n < 5) {
        year = month = day = hour = minute = 0;
        sec = 0.0;
        if (std::sscanf(s, "%d-%d-%d", &year, &month, &day) != 3) return 0;
    }
    // Absurd years would overflow tm_year; such a text is not a date.
    if (year < -1000000 || year > 1000000) return 0;
    if (!std::isfinite(sec) || std::fabs(sec) > 1e9) sec = 0.0;

    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = static_cast<int>(sec);
    tm.tm_isdst = 0;
    int64_t t = static_cast<int64_t>(timegm(&tm));

    const char* tpos = std::strchr(s, 'T');
    if (tpos) {
        const char* z = std::strpbrk(tpos + 1, "+-");
        if (z) {
            int zh = 0, zm = 0;
            const char* digits = z + 1;
            int got = std::sscanf(digits, "%d:%d", &zh, &zm);
            if (got >= 1) {
                // "+0200" (no colon) is read as hours and minutes, "+02" as hours.
                size_t len = std::strspn(digits, "0123456789");
                if (got == 1 && len == 4) {
                    zm = zh % 100;
                    zh = zh / 100;
                }
                if (zh >= 0 && zh <= 99 && zm >= 0 && zm <= 99) {
                    const int64_t offset = 60LL * (zh * 60LL + zm);
                    t += *z == '+' ? -offset : offset;
                }
            }
        }
    }
    return t;
}

std::tm LocalTime(int64_t t) { return LocalTm(t); }

int64_t MakeLocalTime(int year, int month, int day, int hour, int minute, int second) {
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    tm.tm_isdst = -1;  // the library decides whether daylight saving applies
    return static_cast<int64_t>(std::mktime(&tm));
}

CivilDate Today() {
    const std::tm tm = LocalTm(static_cast<int64_t>(std::time(nullptr)));
    return CivilDate{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday};
}

int64_t DayNumber(int64_t t) {
    const std::tm tm = LocalTm(t);
    return DaysFromCivil(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
}

int64_t TodayDayNumber() { return DayNumber(static_cast<int64_t>(std::time(nullptr))); }

int64_t DaysFromCivil(int year, int month, int day) {
    const int64_t y = static_cast<int64_t>(year) - (month <= 2 ? 1 : 0);
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

CivilDate CivilFromDays(int64_t days) {
    const int64_t z = days + 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    const int64_t d = doy - (153 * mp + 2) / 5 + 1;
    const int64_t m = mp < 10 ? mp + 3 : mp - 9;
    const int64_t y = yoe + era * 400 + (m <= 2 ? 1 : 0);
    return CivilDate{static_cast<int>(y), static_cast<int>(m), static_cast<int>(d)};
}

int DaysInMonth(int year, int month) {
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    month = std::clamp(month, 1, 12);
    if (month == 2) {
        const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
        return leap ? 29 : 28;
    }
    return kDays[month - 1];
}

const char* MonthName(int month) { return kMonthLong[std::clamp(month, 1, 12) - 1]; }
const char* MonthNameShort(int month) { return kMonthShort[std::clamp(month, 1, 12) - 1]; }
const char* WeekdayName(int index) { return kWeekdayLong[std::clamp(index, 0, 6)]; }
const char* WeekdayNameShort(int index) { return kWeekdayShort[std::clamp(index, 0, 6)]; }

int WeekdayIndex(const std::tm& tm) { return ((tm.tm_wday % 7) + 7 + 6) % 7; }

std::string AsciiLower(const std::string& text) {
    std::string out = text;
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}
