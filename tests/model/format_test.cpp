#include "model/format.h"

#include <cmath>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "model/tz_guard.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(FormatString, GrowsPastTheStackBuffer) {
    for (size_t len : {0u, 1u, 1023u, 1024u, 1025u, 5000u}) {
        const std::string s(len, 'x');
        EXPECT_EQ(FormatString("%s", s.c_str()), s) << len;
    }
    EXPECT_EQ(FormatString("%d-%s", 7, "a"), "7-a");
}

TEST(FormatNumber, GermanSeparatorsAndSign) {
    struct Case { double x; int decimals; const char* want; };
    const Case cases[] = {
        {1234567.891, 2, "1.234.567,89"},
        {999.96, 1, "1.000,0"},
        {42, 0, "42"},
        {0, 2, "0,00"},
        {123, 0, "123"},
        {1234, 0, "1.234"},
        {-1234.5, 1, "-1.234,5"},
        {-0.0001, 1, "0,0"},
        {-0.004, 2, "0,00"},
        {-2.5, 1, "-2,5"},
        {-0.0, 1, "0,0"},
        {-0.006, 2, "-0,01"},
        // printf rounds an exact half to even; a zero never gets a sign.
        {-0.5, 0, "0"},
        {-1.5, 0, "-2"},
        {1e18, 0, "1.000.000.000.000.000.000"},
        {kNaN, 2, "0,00"},
        {kInf, 1, "0,0"},
        {-kInf, 0, "0"},
    };
    for (const Case& c : cases) EXPECT_EQ(FormatNumber(c.x, c.decimals), c.want) << c.x << " / " << c.decimals;
}

TEST(FormatDistance, DecimalsChosenBeforeRounding) {
    EXPECT_EQ(FormatDistance(99.999), "100,00");
    EXPECT_EQ(FormatDistance(100), "100,0");
    EXPECT_EQ(FormatDistance(5), "5,00");
    EXPECT_EQ(FormatDistance(1234.56), "1.234,6");
    EXPECT_EQ(FormatDistance(kNaN), "0,00");
}

TEST(FormatDuration, RoundsHalvesAwayFromZero) {
    struct Case { double s; const char* longForm; const char* shortForm; };
    const Case cases[] = {
        {3599.4, "59:59", "59 min"},
        {3599.5, "1:00:00", "1 h 00 min"},
        {-5, "0:00", "0 min"},
        {0.5, "0:01", "0 min"},
        {59, "0:59", "0 min"},
        {59.5, "1:00", "1 min"},
        {3660, "1:01:00", "1 h 01 min"},
        {36000 + 61, "10:01:01", "10 h 01 min"},
        {kNaN, "0:00", "0 min"},
        {-kInf, "0:00", "0 min"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatDuration(c.s), c.longForm) << c.s;
        EXPECT_EQ(FormatDurationShort(c.s), c.shortForm) << c.s;
    }
}

TEST(FormatPace, DashFormOutsideRange) {
    const std::string dash = "\u2013:\u2013\u2013";
    for (double v : {0.0, -1.0, 3600.01, 3601.0, kNaN, kInf}) EXPECT_EQ(FormatPace(v), dash) << v;
    EXPECT_EQ(FormatPace(305.4), "5:05");
    EXPECT_EQ(FormatPace(305.5), "5:06");
    EXPECT_EQ(FormatPace(3599.6), "60:00");
    EXPECT_EQ(FormatPace(3600), "60:00");
    EXPECT_EQ(FormatPace(0.4), "0:00");
}

TEST(FormatIso, UtcTextAndParsing) {
    EXPECT_EQ(FormatIsoUtc(1714545000), "2024-05-01T06:30:00Z");
    EXPECT_EQ(FormatIsoUtc(-1), "1969-12-31T23:59:59Z");

    struct Case { const char* text; int64_t want; };
    const Case cases[] = {
        {"2024-05-01T06:30:00Z", 1714545000},
        {"2024-05-01T08:30:00+02:00", 1714545000},
        {"2024-05-01T01:30:00-05:00", 1714545000},
        {"2024-05-01T06:30:00.750Z", 1714545000},
        {"2024-05-01T06:30Z", 1714545000},            // no seconds: five fields still match
        {"2024-05-01T06:30:00", 1714545000},          // no zone: read as UTC
        {"2024-05-01T08:30:00+0200", 1714545000},     // offset without colon
        {"2024-05-01T08:30:00+02", 1714545000},       // offset with hours only
        {"2024-05-01T10:00:00+03:30", 1714545000},
        {"2024-05-01", 1714521600},
        {"2024-05-01T06", 1714521600},                // too few time fields: the date alone
        {"2024-05-01 06:30:00", 1714521600},          // no T: only the date is read
        {"1969-12-31T23:59:59Z", -1},
        {"Lauf", 0},
        {"", 0},
        {"2024-05", 0},
        {"99999999999-01-01", 0},
        {"2147483647-01-01", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseIsoTime(c.text), c.want) << c.text;

    for (int64_t t : {int64_t{0}, int64_t{1714545000}, int64_t{-86400 * 365}, int64_t{4102444800}}) {
        EXPECT_EQ(ParseIsoTime(FormatIsoUtc(t)), t);
    }
}

TEST(Calendar, DaysFromCivilKnownValues) {
    struct Case { int y, m, d; int64_t days; };
    const Case cases[] = {
        {1970, 1, 1, 0}, {1969, 12, 31, -1}, {2000, 2, 29, 11016}, {2025, 3, 30, 20177}, {1, 1, 1, -719162},
        {2000, 3, 1, 11017}, {1600, 1, 1, -135140},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DaysFromCivil(c.y, c.m, c.d), c.days) << c.y << "-" << c.m << "-" << c.d;
        EXPECT_EQ(CivilFromDays(c.days), (CivilDate{c.y, c.m, c.d})) << c.days;
    }
}

TEST(Calendar, EveryDayFollowsTheLast) {
    // Walk four centuries day by day: each date is the successor of the one before.
    CivilDate prev = CivilFromDays(DaysFromCivil(1799, 12, 31));
    for (int64_t n = DaysFromCivil(1800, 1, 1); n <= DaysFromCivil(2200, 12, 31); ++n) {
        const CivilDate c = CivilFromDays(n);
        CivilDate expected = prev;
        if (++expected.day > DaysInMonth(prev.year, prev.month)) {
            expected.day = 1;
            if (++expected.month > 12) {
                expected.month = 1;
                ++expected.year;
            }
        }
        ASSERT_EQ(c, expected) << n;
        ASSERT_EQ(DaysFromCivil(c.year, c.month, c.day), n);
        prev = c;
    }
}

TEST(Calendar, DaysInMonth) {
    struct Case { int y, m, want; };
    const Case cases[] = {{1900, 2, 28}, {2000, 2, 29}, {2024, 2, 29}, {2023, 2, 28}, {2023, 13, 31},
                          {2023, 0, 31}, {2023, 4, 30}, {2023, 12, 31}};
    for (const Case& c : cases) EXPECT_EQ(DaysInMonth(c.y, c.m), c.want) << c.y << "-" << c.m;
}

TEST(Names, TablesAndClamping) {
    EXPECT_STREQ(MonthName(3), "März");
    EXPECT_STREQ(MonthName(0), "Januar");
    EXPECT_STREQ(MonthName(13), "Dezember");
    EXPECT_STREQ(MonthNameShort(3), "Mär");
    EXPECT_STREQ(MonthNameShort(10), "Okt");
    EXPECT_STREQ(WeekdayName(0), "Montag");
    EXPECT_STREQ(WeekdayName(6), "Sonntag");
    EXPECT_STREQ(WeekdayName(9), "Sonntag");
    EXPECT_STREQ(WeekdayNameShort(3), "Do");
    std::tm tm{};
    tm.tm_wday = 0;
    EXPECT_EQ(WeekdayIndex(tm), 6);
    tm.tm_wday = 1;
    EXPECT_EQ(WeekdayIndex(tm), 0);
    EXPECT_EQ(AsciiLower("ÄBC xY-Ö"), "Äbc xy-Ö");
    EXPECT_EQ(FormatDateKey(2025, 3, 7), "2025-03-07");
}

using LocalFormat = BerlinTime;

TEST_F(LocalFormat, DatesAndTimesOfDay) {
    const int64_t t = MakeLocalTime(2025, 3, 3, 7, 5, 9);
    EXPECT_EQ(t, 1740981909);  // 06:05:09 UTC, winter time
    EXPECT_EQ(FormatDate(t), "03.03.2025");
    EXPECT_EQ(FormatDateLong(t), "Mo, 3. Mär 2025");
    EXPECT_EQ(FormatTimeOfDay(t), "07:05");
    EXPECT_EQ(FormatDateLong(MakeLocalTime(2024, 12, 29, 23, 59, 0)), "So, 29. Dez 2024");
    // 23:30 UTC on New Year's Eve is already the next year in Berlin.
    EXPECT_EQ(FormatDate(ParseIsoTime("2024-12-31T23:30:00Z")), "01.01.2025");
}

TEST_F(LocalFormat, DaylightSavingDays) {
    // Spring forward on 30 March 2025: midnight is still winter time, noon summer time.
    EXPECT_EQ(MakeLocalTime(2025, 3, 30, 0, 0, 0), 1743289200);
    EXPECT_EQ(MakeLocalTime(2025, 3, 30, 12, 0, 0), 1743328800);
    EXPECT_EQ(MakeLocalTime(2025, 10, 26, 12, 0, 0), 1761476400);

    struct Day { int y, m, d; int64_t number; };
    for (const Day& day : {Day{2025, 3, 30, 20177}, Day{2025, 10, 26, 20387}}) {
        const int64_t first = MakeLocalTime(day.y, day.m, day.d, 0, 0, 0);
        const int64_t last = MakeLocalTime(day.y, day.m, day.d, 23, 59, 59);
        EXPECT_EQ(DayNumber(first), day.number);
        EXPECT_EQ(DayNumber(last), day.number);
        EXPECT_EQ(DayNumber(first - 1), day.number - 1);
        EXPECT_EQ(DayNumber(last + 1), day.number + 1);
        EXPECT_EQ(FormatTimeOfDay(last), "23:59");
    }
    // The short day has 23 hours, the long one 25.
    EXPECT_EQ(MakeLocalTime(2025, 3, 31, 0, 0, 0) - MakeLocalTime(2025, 3, 30, 0, 0, 0), 23 * 3600);
    EXPECT_EQ(MakeLocalTime(2025, 10, 27, 0, 0, 0) - MakeLocalTime(2025, 10, 26, 0, 0, 0), 25 * 3600);

    const std::tm tm = LocalTime(1743328800);
    EXPECT_EQ(tm.tm_hour, 12);
    EXPECT_EQ(tm.tm_isdst, 1);
}

TEST_F(LocalFormat, RelativeDay) {
    const CivilDate today = Today();
    EXPECT_EQ(DaysFromCivil(today.year, today.month, today.day), TodayDayNumber());
    auto at = [&](int64_t dayOffset, int hour, int minute) {
        const CivilDate c = CivilFromDays(TodayDayNumber() + dayOffset);
        return MakeLocalTime(c.year, c.month, c.day, hour, minute, 0);
    };
    EXPECT_EQ(FormatRelativeDay(at(0, 23, 59)), "Heute");  // later today
    EXPECT_EQ(FormatRelativeDay(at(0, 0, 1)), "Heute");
    EXPECT_EQ(FormatRelativeDay(at(-1, 12, 0)), "Gestern");
    EXPECT_EQ(FormatRelativeDay(at(-2, 12, 0)), "vor 2 Tagen");
    EXPECT_EQ(FormatRelativeDay(at(-6, 12, 0)), "vor 6 Tagen");
    EXPECT_EQ(FormatRelativeDay(at(-7, 12, 0)), FormatDate(at(-7, 12, 0)));
    EXPECT_EQ(FormatRelativeDay(at(1, 0, 1)), FormatDate(at(1, 0, 1)));  // tomorrow: plain date
}

}  // namespace
