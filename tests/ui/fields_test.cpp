#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>

#include "model/format.h"
#include "ui/fields.h"

namespace {

// The value fields work in local time; the test program runs with TZ=Europe/Berlin.
class FieldsTest : public testing::Test {
protected:
    void SetUp() override {
        setenv("TZ", "Europe/Berlin", 1);
        tzset();
    }
};

TEST_F(FieldsTest, TimeOfDayKeepsTheDateAndClampsParts) {
    const int64_t t = MakeLocalTime(2025, 3, 14, 7, 30, 45);
    struct Case {
        int hour, minute, wantHour, wantMinute;
    } cases[] = {{18, 5, 18, 5}, {25, 70, 23, 59}, {-3, -1, 0, 0}};
    for (const Case& c : cases) {
        const std::tm tm = LocalTime(WithTimeOfDay(t, c.hour, c.minute));
        EXPECT_EQ(tm.tm_mday, 14);
        EXPECT_EQ(tm.tm_mon, 2);
        EXPECT_EQ(tm.tm_hour, c.wantHour);
        EXPECT_EQ(tm.tm_min, c.wantMinute);
        EXPECT_EQ(tm.tm_sec, 0);
    }
    // Across the spring clock change the wall time is what the user picked.
    const std::tm dst = LocalTime(WithTimeOfDay(MakeLocalTime(2025, 3, 30, 1, 0, 0), 12, 0));
    EXPECT_EQ(dst.tm_hour, 12);
    EXPECT_EQ(dst.tm_mday, 30);
}

TEST_F(FieldsTest, DateKeepsTheTimeOfDayAndClampsTheDay) {
    const int64_t t = MakeLocalTime(2025, 1, 31, 18, 45, 12);
    std::tm tm = LocalTime(WithDate(t, 2025, 2, 31));
    EXPECT_EQ(tm.tm_mon, 1);
    EXPECT_EQ(tm.tm_mday, 28);
    EXPECT_EQ(tm.tm_hour, 18);
    EXPECT_EQ(tm.tm_min, 45);
    EXPECT_EQ(tm.tm_sec, 12);
    tm = LocalTime(WithDate(t, 2025, 7, 1));  // summer time: still 18:45 on the clock
    EXPECT_EQ(tm.tm_hour, 18);
    EXPECT_EQ(tm.tm_mday, 1);
}

TEST_F(FieldsTest, DurationPartsRoundTripAndClamp) {
    EXPECT_EQ(ComposeDuration(1, 2, 3), 3723.0);
    EXPECT_EQ(ComposeDuration(150, 75, -4), 99 * 3600.0 + 59 * 60.0);
    int h, m, s;
    SplitDuration(3723.4, &h, &m, &s);
    EXPECT_EQ(h * 10000 + m * 100 + s, 10203);
    SplitDuration(59.6, &h, &m, &s);
    EXPECT_EQ(h * 10000 + m * 100 + s, 100);  // rounds to the nearest second
    for (double bad : {-5.0, static_cast<double>(NAN), static_cast<double>(INFINITY)}) {
        SplitDuration(bad, &h, &m, &s);
        EXPECT_EQ(h + m + s, 0) << bad;
    }
}

TEST_F(FieldsTest, NumberClampingKeepsTheOldValueOnNaN) {
    EXPECT_EQ(ClampFieldValue(72.5, 30, 250, 0), 72.5);
    EXPECT_EQ(ClampFieldValue(1000, 30, 250, 0), 250.0);
    EXPECT_EQ(ClampFieldValue(-1, 30, 250, 0), 30.0);
    EXPECT_EQ(ClampFieldValue(NAN, 30, 250, 80), 80.0);
}

TEST_F(FieldsTest, DecimalsAreReadAndShownTheGermanWay) {
    struct Case {
        const char* text;
        bool ok;
        double value;
    } cases[] = {
        {"72,5", true, 72.5},   {"72.5", true, 72.5},  {" 80 ", true, 80.0},   {"1.234,5", true, 1234.5},
        {"-3,25", true, -3.25}, {"+7", true, 7.0},     {"", false, 0},         {"abc", false, 0},
        {"1,2,3", false, 0},    {"72,5 kg", false, 0}, {"1e400", false, 0},    {",", false, 0},
    };
    for (const Case& c : cases) {
        double v = -99;
        EXPECT_EQ(ParseDecimal(c.text, &v), c.ok) << c.text;
        EXPECT_EQ(v, c.ok ? c.value : -99) << c.text;  // untouched on failure
    }
    EXPECT_EQ(FormatDecimal(72.5, "%.1f"), "72,5");
    EXPECT_EQ(FormatDecimal(3.14159, "%.2f km"), "3,14 km");
    EXPECT_EQ(FormatDecimal(60, "%.0f"), "60");
}

TEST_F(FieldsTest, CalendarMonthsWrapAndStartOnTheRightWeekday) {
    int y = 2025, m = 12;
    StepMonth(&y, &m, 1);
    EXPECT_EQ(y * 100 + m, 202601);
    StepMonth(&y, &m, -1);
    EXPECT_EQ(y * 100 + m, 202512);
    y = 2025, m = 1;
    StepMonth(&y, &m, -1);
    EXPECT_EQ(y * 100 + m, 202412);
    StepMonth(&y, &m, -25);
    EXPECT_EQ(y * 100 + m, 202211);

    EXPECT_EQ(FirstWeekdayOfMonth(2025, 3), 5);  // Saturday
    EXPECT_EQ(FirstWeekdayOfMonth(2024, 9), 6);  // Sunday
    EXPECT_EQ(FirstWeekdayOfMonth(2025, 9), 0);  // Monday
    EXPECT_EQ(FirstWeekdayOfMonth(1969, 12), 0); // before the epoch: Monday 1 Dec 1969
}

}  // namespace
