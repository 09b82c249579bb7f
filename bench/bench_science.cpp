// Statistics are recomputed on every frame: one overview frame's worth of them,
// and one award evaluation, over a profile with many activities.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <random>

#include "model/format.h"
#include "model/records.h"
#include "science/awards.h"
#include "science/motivation.h"
#include "science/stats.h"

namespace {

struct History {
    Database db;
    int64_t now = 0;
};

// n activities of one profile spread over 27 years before now (a second
// profile's activities are mixed in, as in a shared installation), with the
// medals and a share of badges those activities would have earned. Stored in
// the order they were entered: by date with one in fifty backfilled, or, with
// `shuffled`, in no order at all (the worst case for sorting).
History MakeHistory(int n, bool shuffled) {
    setenv("TZ", "Europe/Berlin", 1);
    tzset();
    History h;
    h.now = MakeLocalTime(2025, 6, 18, 18, 0, 0);
    Profile p;
    p.id = NewId();
    p.name = "Anna Beispiel";
    p.weeklyGoalKm = 25;
    p.yearlyGoalKm = 1200;
    Profile other = p;
    other.id = NewId();
    h.db.profiles = {p, other};
    h.db.settings.activeProfile = p.id;
    std::mt19937_64 rng(7);
    const int64_t span = int64_t{27} * 365 * 86400;
    std::uniform_int_distribution<int64_t> when(h.now - span, h.now);
    std::uniform_int_distribution<int> sport(0, 5);
    std::uniform_real_distribution<double> km(1.0, 25.0);
    const int total = n + n / 10;
    std::vector<int64_t> starts(total);
    for (int64_t& t : starts) t = when(rng);
    if (!shuffled) {
        std::sort(starts.begin(), starts.end());
        for (int i = 0; i + 57 < total; i += 50) std::swap(starts[i], starts[i + 50 + i % 7]);
    }
    std::vector<int> owner(total);
    for (int i = 0; i < total; ++i) owner[i] = i % 11 == 10 ? 1 : 0;
    for (int i = 0; i < total; ++i) {
        Activity a;
        a.id = NewId();
        a.profileId = owner[i] == 0 ? p.id : other.id;
        a.sport = sport(rng) < 3 ? SportRun : sport(rng);
        a.start = starts[i];
        a.distanceKm = km(rng);
        a.durationSec = a.distanceKm * 330;
        a.calories = a.distanceKm * 70;
        a.title = "Runde " + std::to_string(i);
        h.db.activities.push_back(a);
        Award medal;
        medal.id = NewId();
        medal.profileId = a.profileId;
        medal.key = "medal";
        medal.activityId = a.id;
        medal.name = "Laufmedaille #1";
        medal.at = a.start;
        h.db.awards.push_back(medal);
        if (i % 20 == 0) {
            Award badge = medal;
            badge.id = NewId();
            badge.key = i % 40 ? "goal_week" : "pb_distance";
            h.db.awards.push_back(badge);
        }
    }
    return h;
}

// Everything the overview page takes from the statistics in one frame.
void OverviewFigures(const History& h, const Profile& p) {
        const ActivityList list = ProfileActivities(h.db, p);
        const WeekFigures week = WeekSummary(list, h.now);
        benchmark::DoNotOptimize(WeekChangeText(week));
        benchmark::DoNotOptimize(CurrentStreak(list, h.now));
        benchmark::DoNotOptimize(WeeklyGoal(p, week.distanceKm, h.now));
        benchmark::DoNotOptimize(WeeklySeries(list, h.now));
        benchmark::DoNotOptimize(PersonalRecords(list));
        const DailyKm daily = DailyDistance(list);
        benchmark::DoNotOptimize(LongestStreak(daily));
        benchmark::DoNotOptimize(YearProgress(p, week.yearKm, h.now));
}

void BM_OverviewStatistics(benchmark::State& state) {
    History h = MakeHistory(static_cast<int>(state.range(0)), state.range(1) != 0);
    const Profile& p = h.db.profiles.front();
    for (auto _ : state) {
        OverviewFigures(h, p);
        benchmark::DoNotOptimize(SayingOfTheDay(h.now));
    }
}
BENCHMARK(BM_OverviewStatistics)
    ->ArgsProduct({{10000, 50000}, {0, 1}})
    ->ArgNames({"n", "shuffled"})
    ->Unit(benchmark::kMicrosecond);

// The same frame plus the newest-badges card, which sorts the profile's awards.
void BM_OverviewFrameWithAwards(benchmark::State& state) {
    History h = MakeHistory(static_cast<int>(state.range(0)), state.range(1) != 0);
    const Profile& p = h.db.profiles.front();
    for (auto _ : state) {
        OverviewFigures(h, p);
        benchmark::DoNotOptimize(ProfileAwards(h.db, p));
    }
}
BENCHMARK(BM_OverviewFrameWithAwards)
    ->ArgsProduct({{10000, 50000}, {0, 1}})
    ->ArgNames({"n", "shuffled"})
    ->Unit(benchmark::kMicrosecond);

// The activities page: filter, summary tiles, pace trend and sport mix.
void BM_ActivitiesPageStatistics(benchmark::State& state) {
    History h = MakeHistory(static_cast<int>(state.range(0)), state.range(1) != 0);
    const Profile& p = h.db.profiles.front();
    for (auto _ : state) {
        const ActivityList list = ProfileActivities(h.db, p);
        const ActivityList filtered = ActivityFilter(list, RangeThisYear, -1, "runde 1", h.now);
        benchmark::DoNotOptimize(SummarizeActivities(filtered));
        benchmark::DoNotOptimize(PaceTrend(list));
        benchmark::DoNotOptimize(SportMix(filtered));
    }
}
BENCHMARK(BM_ActivitiesPageStatistics)
    ->ArgsProduct({{10000, 50000}, {0, 1}})
    ->ArgNames({"n", "shuffled"})
    ->Unit(benchmark::kMicrosecond);

// One award evaluation for a new run appended to the history.
void BM_EvaluateAwards(benchmark::State& state) {
    History h = MakeHistory(static_cast<int>(state.range(0)), state.range(1) != 0);
    const Profile& p = h.db.profiles.front();
    Activity a;
    a.id = NewId();
    a.profileId = p.id;
    a.start = h.now - 3600;
    a.distanceKm = 12;
    a.durationSec = 12 * 290;
    a.calories = 850;
    h.db.activities.push_back(a);
    const size_t awards = h.db.awards.size();
    for (auto _ : state) {
        benchmark::DoNotOptimize(EvaluateAwards(h.db, p, h.db.activities.back(), h.now));
        h.db.awards.resize(awards);  // the next round evaluates the same state again
    }
}
BENCHMARK(BM_EvaluateAwards)
    ->ArgsProduct({{10000, 50000}, {0, 1}})
    ->ArgNames({"n", "shuffled"})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
