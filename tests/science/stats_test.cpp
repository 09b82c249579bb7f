#include "science/stats.h"

#include <gtest/gtest.h>

#include "model/icons.h"
#include "science/calendar.h"
#include "science_fixture.h"

TEST(WeekSummary, WeekBoundariesOnLocalDaysAcrossDaylightSaving) {
    struct Case {
        const char* what;
        int64_t now;
        int64_t lastOfOldWeek;
        int64_t firstOfNewWeek;
    };
    const Case cases[] = {
        {"plain week", At(2025, 3, 5, 12), At(2025, 3, 2, 23, 59), At(2025, 3, 3, 0, 30)},
        // Clocks go forward on Sunday 30 March 2025.
        {"spring", At(2025, 3, 31, 10), At(2025, 3, 30, 23, 59), At(2025, 3, 31, 0, 0)},
        // Clocks go back on Sunday 26 October 2025: 02:30 happens twice.
        {"autumn", At(2025, 10, 27, 9), At(2025, 10, 26, 23, 59), At(2025, 10, 27, 0, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ProfileFixture f;
        f.Add(SportRun, c.lastOfOldWeek, 4.0);
        f.Add(SportRun, c.firstOfNewWeek, 6.0, 1200, 250);
        const WeekFigures w = WeekSummary(f.List(), c.now);
        EXPECT_EQ(w.count, 1);
        EXPECT_DOUBLE_EQ(w.distanceKm, 6.0);
        EXPECT_DOUBLE_EQ(w.durationSec, 1200.0);
        EXPECT_DOUBLE_EQ(w.calories, 250.0);
        EXPECT_DOUBLE_EQ(w.lastWeekKm, 4.0);
        EXPECT_DOUBLE_EQ(w.yearKm, 10.0);
    }
}

TEST(WeekSummary, FutureDatesCountForThisWeekAndYearIsCalendarYear) {
    ProfileFixture f;
    const int64_t now = At(2025, 1, 2, 12);  // Thursday
    f.Add(SportRun, At(2024, 12, 31, 8), 5.0);   // this week, last year
    f.Add(SportRun, At(2024, 12, 23, 8), 7.0);   // the week before: last week
    f.Add(SportRun, At(2024, 12, 22, 8), 100.0); // two weeks back: nowhere
    f.Add(SportRun, At(2025, 2, 10, 8), 3.0);    // future week of this year
    f.Add(SportRun, At(2026, 1, 5, 8), 2.0);     // next year
    const WeekFigures w = WeekSummary(f.List(), now);
    EXPECT_EQ(w.count, 3);
    EXPECT_DOUBLE_EQ(w.distanceKm, 10.0);
    EXPECT_DOUBLE_EQ(w.lastWeekKm, 7.0);
    EXPECT_DOUBLE_EQ(w.yearKm, 3.0);
}

TEST(WeekSummary, ChangeText) {
    struct Case {
        double thisWeek, lastWeek;
        const char* text;
    };
    const Case cases[] = {
        {12.5, 10, "+25 % ggü. Vorwoche"},
        {5, 10, "-50 % ggü. Vorwoche"},
        {10, 10, "+0 % ggü. Vorwoche"},
        {9.96, 10, "+0 % ggü. Vorwoche"},  // -0.4 % rounds to zero: no "-0"
        {3, 0, "Vorwoche: –"},
    };
    for (const Case& c : cases) {
        WeekFigures w;
        w.distanceKm = c.thisWeek;
        w.lastWeekKm = c.lastWeek;
        w.hasChange = c.lastWeek > 0;
        if (w.hasChange) w.changePercent = (c.thisWeek - c.lastWeek) / c.lastWeek * 100;
        EXPECT_EQ(WeekChangeText(w), c.text);
    }
    // And from real figures.
    ProfileFixture f;
    const int64_t now = At(2025, 3, 12, 12);
    f.Add(SportRun, At(2025, 3, 4), 10);
    f.Add(SportRun, At(2025, 3, 10), 12.5);
    EXPECT_EQ(WeekChangeText(WeekSummary(f.List(), now)), "+25 % ggü. Vorwoche");
}

TEST(Streaks, CurrentStreakSurvivesUntilEndOfNextDay) {
    struct Case {
        const char* what;
        std::vector<int> daysAgo;  // activities this many days before today
        int current;
        int longest;
    };
    const Case cases[] = {
        {"none", {}, 0, 0},
        {"yesterday and the day before", {1, 2}, 2, 2},
        {"last two days ago", {2, 3, 4}, 0, 3},
        {"two on one day count once", {0, 0, 1}, 2, 2},
        {"today, yesterday, gap", {0, 1, 3, 4, 5, 6}, 2, 4},
        {"single day", {5}, 0, 1},
        {"future day is no part", {-1, 0}, 1, 2},
    };
    const int64_t today = DaysFromCivil(2025, 3, 31);  // Monday after the spring change
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ProfileFixture f;
        for (int ago : c.daysAgo) {
            const CivilDate d = CivilFromDays(today - ago);
            f.Add(SportWalk, At(d.year, d.month, d.day, 23, 30), 1);
        }
        const int64_t now = At(2025, 3, 31, 20);
        EXPECT_EQ(CurrentStreak(f.List(), now), c.current);
        EXPECT_EQ(LongestStreak(f.List()), c.longest);
    }
}

TEST(Streaks, ConsecutiveDaysAcrossAutumnChange) {
    ProfileFixture f;
    f.Add(SportRun, At(2025, 10, 25, 23, 50), 5);
    f.Add(SportRun, At(2025, 10, 26, 0, 10), 5);
    f.Add(SportRun, At(2025, 10, 26, 23, 50), 5);  // 25 hours after midnight
    f.Add(SportRun, At(2025, 10, 27, 0, 5), 5);
    EXPECT_EQ(CurrentStreak(f.List(), At(2025, 10, 27, 8)), 3);
    EXPECT_EQ(CurrentStreak(f.List(), At(2025, 10, 28, 23, 59)), 3);
    EXPECT_EQ(CurrentStreak(f.List(), At(2025, 10, 29, 0, 1)), 0);
    EXPECT_EQ(LongestStreak(f.List()), 3);
}

TEST(PersonalRecords, Thresholds) {
    ProfileFixture f;
    f.Add(SportRun, At(2025, 1, 1), 4.9, 4.9 * 200);     // fast, but too short for 5 km
    f.Add(SportRun, At(2025, 1, 2), 2.9, 2.9 * 150);     // faster still, too short for pace
    f.Add(SportRun, At(2025, 1, 3), 5.0, 5.0 * 300);
    f.Add(SportRun, At(2025, 1, 4), 10.0, 10.0 * 320, 900);
    f.Add(SportBike, At(2025, 1, 5), 80.0, 3 * 3600, 1500);
    f.Add(SportRun, At(2025, 1, 6), 6.0, 0);             // no time: no pace
    const PersonalBests r = PersonalRecords(f.List());
    EXPECT_DOUBLE_EQ(r.longestRunKm, 10.0);
    EXPECT_DOUBLE_EQ(r.fastestPace, 200.0);
    EXPECT_DOUBLE_EQ(r.best5kSec, 1500.0);
    EXPECT_DOUBLE_EQ(r.longestSec, 3 * 3600.0);
    EXPECT_DOUBLE_EQ(r.mostCalories, 1500.0);

    ProfileFixture rides;
    rides.Add(SportBike, At(2025, 1, 5), 80.0);
    const PersonalBests none = PersonalRecords(rides.List());
    EXPECT_EQ(none.longestRunKm, 0.0);
    EXPECT_EQ(none.fastestPace, 0.0);
    EXPECT_EQ(none.best5kSec, 0.0);
}

TEST(YearProgress, PlanAheadAndBehind) {
    Profile p;
    p.yearlyGoalKm = 1000;
    const YearPlan jan1 = YearProgress(p, 3.0, At(2025, 1, 1, 0, 30));
    EXPECT_NEAR(jan1.expectedKm, 1000.0 / 365, 1e-9);
    EXPECT_TRUE(jan1.ahead);
    EXPECT_EQ(jan1.text, std::string(Icon::Check) + " 0 km vor dem Plan");
    EXPECT_DOUBLE_EQ(jan1.fraction, 0.003);

    p.yearlyGoalKm = 365;
    // 1 July 2025 is day 182 of the year.
    const YearPlan july = YearProgress(p, 100.0, At(2025, 7, 1, 23, 59));
    EXPECT_FALSE(july.ahead);
    EXPECT_DOUBLE_EQ(july.differenceKm, 82.0);
    EXPECT_EQ(july.text, "82 km hinter dem Plan");

    p.yearlyGoalKm = 0;
    EXPECT_EQ(YearProgress(p, 50.0, At(2025, 7, 1)).fraction, 0.0);
}

TEST(WeeklyGoal, RingAndDaysLeft) {
    Profile p;
    p.weeklyGoalKm = 20;
    const WeekGoal sunday = WeeklyGoal(p, 15, At(2025, 3, 30, 22));
    EXPECT_EQ(sunday.daysLeft, 1);
    EXPECT_DOUBLE_EQ(sunday.perDayKm, 5.0);
    EXPECT_DOUBLE_EQ(sunday.fraction, 0.75);
    const WeekGoal monday = WeeklyGoal(p, 30, At(2025, 3, 31, 0, 10));
    EXPECT_EQ(monday.daysLeft, 7);
    EXPECT_DOUBLE_EQ(monday.fraction, 1.5);
    EXPECT_DOUBLE_EQ(monday.remainingKm, -10.0);
    p.weeklyGoalKm = 0;
    EXPECT_EQ(WeeklyGoal(p, 12, At(2025, 3, 31)).fraction, 0.0);
}

TEST(WeeklySeries, TwelveWeeksOldestFirst) {
    ProfileFixture f;
    const int64_t now = At(2025, 3, 5, 12);  // week of Monday 3 March
    f.Add(SportRun, At(2025, 3, 3, 0, 30), 5);    // current week
    f.Add(SportRun, At(2025, 3, 2, 23, 59), 4);   // previous week
    f.Add(SportRun, At(2024, 12, 16, 8), 3);      // 11 weeks back: oldest point
    f.Add(SportRun, At(2024, 12, 15, 8), 99);     // 12 weeks back: not shown
    f.Add(SportRun, At(2025, 3, 10, 8), 99);      // next week: not shown
    const std::vector<WeekPoint> s = WeeklySeries(f.List(), now);
    ASSERT_EQ(s.size(), 12u);
    EXPECT_DOUBLE_EQ(s[11].km, 5.0);
    EXPECT_EQ(s[11].count, 1);
    EXPECT_DOUBLE_EQ(s[10].km, 4.0);
    EXPECT_DOUBLE_EQ(s[0].km, 3.0);
    double total = 0;
    for (const WeekPoint& p : s) total += p.km;
    EXPECT_DOUBLE_EQ(total, 12.0);
    EXPECT_EQ(s[11].label, "3.3.");
    EXPECT_EQ(s[0].label, "16.12.");
    EXPECT_EQ(s[11].tooltip, "Woche ab 3.3.\n5,00 km · 1 Aktivität(en)");
}

TEST(DailyDistance, SumsPerLocalDay) {
    ProfileFixture f;
    f.Add(SportRun, At(2025, 10, 26, 0, 30), 3);
    f.Add(SportRun, At(2025, 10, 26, 2, 30), 4);  // first 02:30 of the autumn night
    f.Add(SportRun, At(2025, 10, 26, 23, 30), 5);
    f.Add(SportRun, At(2025, 10, 27, 0, 0), 2);
    const DailyKm d = DailyDistance(f.List());
    EXPECT_DOUBLE_EQ(KmOnDay(d, DaysFromCivil(2025, 10, 26)), 12.0);
    EXPECT_DOUBLE_EQ(KmOnDay(d, DaysFromCivil(2025, 10, 27)), 2.0);
    EXPECT_DOUBLE_EQ(KmOnDay(d, DaysFromCivil(2025, 10, 25)), 0.0);
    EXPECT_DOUBLE_EQ(d.maxKm, 12.0);
    EXPECT_DOUBLE_EQ(DayIntensity(d, 6.0), 0.5);
    // A largest day below 1 km still shades against 1 km.
    ProfileFixture small;
    small.Add(SportWalk, At(2025, 1, 1), 0.5);
    EXPECT_DOUBLE_EQ(DayIntensity(DailyDistance(small.List()), 0.5), 0.5);
    EXPECT_EQ(DailyDistance({}).maxKm, 0.0);
}

TEST(PaceTrend, TwentyMostRecentRunsOldestFirst) {
    ProfileFixture f;
    for (int i = 0; i < 25; ++i) f.Add(SportRun, At(2025, 1, 1 + i, 7), 5, 5 * (300 + i));
    f.Add(SportRun, At(2025, 1, 28, 7), 0.9, 300);  // under 1 km
    f.Add(SportBike, At(2025, 1, 29, 7), 20, 3600);
    const std::vector<PacePoint> t = PaceTrend(f.List());
    ASSERT_EQ(t.size(), 20u);
    EXPECT_EQ(t.front().label, "6.1.");
    EXPECT_DOUBLE_EQ(t.front().value, 305.0 / 60);
    EXPECT_EQ(t.back().label, "25.1.");
    EXPECT_EQ(t.back().tooltip, "25.01.2025\n5:24 /km · 5,00 km");
}

TEST(SportMix, ActivitiesWithoutDistanceCountALittle) {
    ProfileFixture f;
    f.Add(SportRun, At(2025, 1, 1), 9.9);
    f.Add(SportSwim, At(2025, 1, 2), 0.0);
    f.Add(9, At(2025, 1, 3), 0.0);  // unknown sport counts as other
    const SportShares m = SportMix(f.List());
    EXPECT_DOUBLE_EQ(m.totalKm, 10.1);
    EXPECT_DOUBLE_EQ(m.km[SportSwim], 0.1);
    EXPECT_DOUBLE_EQ(m.km[SportOther], 0.1);
    EXPECT_NEAR(m.share[SportRun], 9.9 / 10.1 * 100, 1e-9);
    EXPECT_EQ(SportMix({}).share[SportRun], 0.0);
}

TEST(ActivityFilter, RangeSportAndSearch) {
    ProfileFixture f;
    const int64_t now = At(2025, 3, 20, 12);
    Activity& lake = f.Add(SportRun, At(2025, 3, 14, 7), 5);  // 6 days ago
    lake.title = "Morgenrunde am See";
    Activity& old = f.Add(SportRun, At(2025, 3, 13, 7), 5);  // 7 days ago
    old.title = "Über den Berg";
    Activity& ride = f.Add(SportBike, At(2025, 2, 19, 7), 30);  // 29 days ago
    ride.notes = "mit Gegenwind";
    Activity& lastYear = f.Add(SportWalk, At(2024, 12, 31, 7), 3);
    lastYear.title = "Silvester";
    Activity& planned = f.Add(SportRun, At(2025, 4, 1, 7), 10);  // future
    planned.title = "Geplant";
    const ActivityList all = f.List();
    auto titles = [](const ActivityList& l) {
        std::vector<std::string> out;
        for (const Activity* a : l) out.push_back(a->title.empty() ? a->notes : a->title);
        return out;
    };
    using V = std::vector<std::string>;
    EXPECT_EQ(titles(ActivityFilter(all, RangeAll, -1, "", now)).size(), 5u);
    EXPECT_EQ(titles(ActivityFilter(all, RangeSevenDays, -1, "", now)),
              (V{"Morgenrunde am See", "Geplant"}));
    EXPECT_EQ(titles(ActivityFilter(all, RangeThirtyDays, -1, "", now)),
              (V{"mit Gegenwind", "Über den Berg", "Morgenrunde am See", "Geplant"}));
    EXPECT_EQ(titles(ActivityFilter(all, RangeThisYear, -1, "", now)).size(), 4u);
    EXPECT_EQ(titles(ActivityFilter(all, RangeAll, SportBike, "", now)), (V{"mit Gegenwind"}));
    EXPECT_EQ(titles(ActivityFilter(all, RangeAll, -1, "see", now)), (V{"Morgenrunde am See"}));
    EXPECT_EQ(titles(ActivityFilter(all, RangeAll, -1, "GEGENWIND", now)), (V{"mit Gegenwind"}));
    EXPECT_EQ(titles(ActivityFilter(all, RangeAll, -1, "radfahren", now)), (V{"mit Gegenwind"}));
    // Umlauts are not folded: the lower-case word does not find the capital Ü.
    EXPECT_TRUE(ActivityFilter(all, RangeAll, -1, "über", now).empty());
    EXPECT_EQ(titles(ActivityFilter(all, RangeAll, -1, "Über", now)), (V{"Über den Berg"}));
}

TEST(SummarizeActivities, TotalsAndAverages) {
    ProfileFixture f;
    f.Add(SportRun, At(2025, 1, 1), 10, 3000, 700).elevationGain = 120;
    f.Add(SportWalk, At(2025, 1, 2), 5, 3000, 300).elevationGain = 30;
    const ListSummary s = SummarizeActivities(f.List());
    EXPECT_EQ(s.count, 2);
    EXPECT_DOUBLE_EQ(s.distanceKm, 15.0);
    EXPECT_DOUBLE_EQ(s.elevationGain, 150.0);
    EXPECT_DOUBLE_EQ(s.avgPace, 400.0);
    EXPECT_DOUBLE_EQ(s.avgCalories, 500.0);
    const ListSummary none = SummarizeActivities({});
    EXPECT_EQ(none.avgPace, 0.0);
    EXPECT_EQ(none.avgCalories, 0.0);
}
