// Training statistics over one profile's activities, recomputed on every frame.
// Every function takes the list as ProfileActivities returns it (sorted by start
// ascending, stable), so a page sorts once per frame and hands the same list to
// each statistic. Days are local calendar days, weeks run Monday to Sunday, and
// `now` is the moment the figures are taken for (epoch seconds).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "model/records.h"

using ActivityList = std::vector<const Activity*>;

// This week, last week and this year at a glance.
struct WeekFigures {
    int count = 0;             // activities this week (and any later date)
    double distanceKm = 0.0;
    double calories = 0.0;
    double durationSec = 0.0;
    double lastWeekKm = 0.0;
    bool hasChange = false;    // last week had distance
    double changePercent = 0.0;
    double yearKm = 0.0;       // activities of the current calendar year
};
WeekFigures WeekSummary(const ActivityList& list, int64_t now);
// "+25 % ggü. Vorwoche", "-50 % ggü. Vorwoche" or "Vorwoche: –".
std::string WeekChangeText(const WeekFigures& w);

// Consecutive active days up to today; survives until the end of the day after
// the last active day.
int CurrentStreak(const ActivityList& list, int64_t now);
int LongestStreak(const ActivityList& list);

struct PersonalBests {
    double longestRunKm = 0.0;
    double fastestPace = 0.0;   // s/km over runs of 3 km or more
    double best5kSec = 0.0;     // fastest pace of runs of 5 km or more, times 5
    double longestSec = 0.0;    // any sport
    double mostCalories = 0.0;  // any sport
};  // 0 = not set
PersonalBests PersonalRecords(const ActivityList& list);

struct YearPlan {
    double fraction = 0.0;     // year distance / goal, not clamped
    double expectedKm = 0.0;   // where the plan stands today
    bool ahead = false;        // year distance >= expected
    double differenceKm = 0.0; // always >= 0
    std::string text;          // "<check>  %s km vor dem Plan" / "%s km hinter dem Plan"
};
YearPlan YearProgress(const Profile& profile, double yearKm, int64_t now);

// The weekly goal ring.
struct WeekGoal {
    double fraction = 0.0;   // 0 without a goal
    double remainingKm = 0.0;
    int daysLeft = 7;        // 7 on Monday ... 1 on Sunday
    double perDayKm = 0.0;
};
WeekGoal WeeklyGoal(const Profile& profile, double weekKm, int64_t now);

struct WeekPoint {
    int64_t weekStart = 0;  // day number of the Monday
    double km = 0.0;
    int count = 0;
    std::string label;      // "3.3."
    std::string tooltip;    // "Woche ab 3.3.\n12,40 km · 3 Aktivität(en)"
};
// Twelve weeks, oldest first; the last one is the current week.
std::vector<WeekPoint> WeeklySeries(const ActivityList& list, int64_t now);

// Kilometres per local day, sorted by day number, and the largest daily sum.
struct DailyKm {
    std::vector<std::pair<int64_t, double>> days;
    double maxKm = 0.0;
};
DailyKm DailyDistance(const ActivityList& list);
// The longest streak from the active days a page already has.
int LongestStreak(const DailyKm& daily);
double KmOnDay(const DailyKm& daily, int64_t day);
// Calendar shading of a day: min(1, km / max(1, largest daily sum)).
double DayIntensity(const DailyKm& daily, double km);

struct PacePoint {
    int64_t start = 0;
    double value = 0.0;   // minutes per km
    std::string label;    // "%d.%d." day, month
    std::string tooltip;  // "03.03.2025\n5:12 /km · 10,00 km"
};
// The 20 most recent runs of at least 1 km, oldest first.
std::vector<PacePoint> PaceTrend(const ActivityList& list);

struct SportShares {
    std::array<double, kSportCount> km{};     // at least 0.1 per activity
    std::array<double, kSportCount> share{};  // percent of the total
    double totalKm = 0.0;                     // sum of the six sums
};
SportShares SportMix(const ActivityList& list);

enum ActivityRange : int {
    RangeAll = 0,        // "Alle"
    RangeSevenDays = 1,  // "7 Tage"
    RangeThirtyDays = 2, // "30 Tage"
    RangeThisYear = 3,   // "Dieses Jahr"
};
// sport -1 = all sports; search matches title, notes and sport name with ASCII
// case folding only.
ActivityList ActivityFilter(const ActivityList& list, int range, int sport,
                            const std::string& search, int64_t now);

struct ListSummary {
    int count = 0;
    double distanceKm = 0.0;
    double durationSec = 0.0;
    double calories = 0.0;
    double elevationGain = 0.0;
    double avgPace = 0.0;         // 0 when there is no distance
    double avgCalories = 0.0;     // 0 for an empty list
};
ListSummary SummarizeActivities(const ActivityList& list);
