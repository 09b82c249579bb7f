#include "science/calendar.h"

#include <gtest/gtest.h>

#include <random>
#include <thread>

#include "model/format.h"
#include "science_fixture.h"

// The cached offsets must give exactly the library's answer, above all in the
// hours around a daylight-saving change and at midnight.
TEST(LocalDayNumber, MatchesLibraryAroundDaylightSavingChanges) {
    const int64_t windows[][2] = {
        {At(2025, 3, 29, 0), At(2025, 4, 1, 0)},    // last Sunday of March
        {At(2025, 10, 25, 0), At(2025, 10, 28, 0)}, // last Sunday of October
        {At(2024, 3, 30, 0), At(2024, 4, 1, 0)},
        {At(2024, 10, 26, 0), At(2024, 10, 28, 0)},
    };
    for (const auto& w : windows)
        for (int64_t t = w[0]; t < w[1]; t += 7 * 60) ASSERT_EQ(LocalDayNumber(t), DayNumber(t)) << t;
}

TEST(LocalDayNumber, MatchesLibraryAtMidnightsAndRandomTimes) {
    for (int64_t day = DaysFromCivil(2024, 1, 1); day < DaysFromCivil(2026, 1, 1); ++day) {
        const CivilDate c = CivilFromDays(day);
        const int64_t midnight = MakeLocalTime(c.year, c.month, c.day, 0, 0, 0);
        ASSERT_EQ(LocalDayNumber(midnight), day);
        ASSERT_EQ(LocalDayNumber(midnight - 1), day - 1);
    }
    std::mt19937_64 rng(42);
    std::uniform_int_distribution<int64_t> when(-1500000000LL, 4100000000LL);
    for (int i = 0; i < 3000; ++i) {
        const int64_t t = when(rng);
        ASSERT_EQ(LocalDayNumber(t), DayNumber(t)) << t;
    }
    // Far outside the cached years it still answers like the library.
    EXPECT_EQ(LocalDayNumber(-4000000000LL), DayNumber(-4000000000LL));
    EXPECT_EQ(LocalDayNumber(9000000000LL), DayNumber(9000000000LL));
}

TEST(LocalDayNumber, WorksOnOtherThreads) {
    int64_t got = 0;
    const int64_t t = At(2025, 10, 26, 2, 30);
    std::thread([&] { got = LocalDayNumber(t); }).join();
    EXPECT_EQ(got, DaysFromCivil(2025, 10, 26));
}

TEST(Weeks, MondayToSunday) {
    const int64_t monday = DaysFromCivil(2025, 3, 3);
    EXPECT_EQ(WeekdayOfDay(monday), 0);
    EXPECT_EQ(WeekdayOfDay(monday + 6), 6);
    EXPECT_EQ(WeekStart(monday + 6), monday);
    EXPECT_EQ(WeekStart(monday + 7), monday + 7);
    // Before 1970 the weekday stays non-negative.
    EXPECT_EQ(WeekdayOfDay(DaysFromCivil(1969, 12, 29)), 0);
    EXPECT_EQ(WeekStart(DaysFromCivil(1969, 12, 31)), DaysFromCivil(1969, 12, 29));
}
