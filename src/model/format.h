// German number, date and duration texts, calendar arithmetic on local days,
// and ISO 8601 timestamps. Pure apart from reading the clock and the time zone.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

struct CivilDate {
    int year = 1970;
    int month = 1;  // 1..12
    int day = 1;
    bool operator==(const CivilDate&) const = default;
};

std::string FormatString(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

std::string FormatNumber(double x, int decimals);
std::string FormatDistance(double km);
std::string FormatDuration(double seconds);
std::string FormatDurationShort(double seconds);
std::string FormatPace(double secPerKm);
std::string FormatDate(int64_t t);
std::string FormatDateLong(int64_t t);
std::string FormatTimeOfDay(int64_t t);
std::string FormatRelativeDay(int64_t t);
std::string FormatDateKey(int year, int month, int day);
std::string FormatIsoUtc(int64_t t);
int64_t ParseIsoTime(const std::string& text);

std::tm LocalTime(int64_t t);
int64_t MakeLocalTime(int year, int month, int day, int hour, int minute, int second);
CivilDate Today();
int64_t DayNumber(int64_t t);
int64_t TodayDayNumber();
int64_t DaysFromCivil(int year, int month, int day);
CivilDate CivilFromDays(int64_t days);
int DaysInMonth(int year, int month);
const char* MonthName(int month);       // "Januar" ...
const char* MonthNameShort(int month);  // "Jan" ...
const char* WeekdayName(int index);     // 0 = Monday: "Montag" ...
const char* WeekdayNameShort(int index);  // 0 = Monday: "Mo" ...
int WeekdayIndex(const std::tm& tm);    // (tm_wday + 6) % 7, Monday = 0
std::string AsciiLower(const std::string& text);
