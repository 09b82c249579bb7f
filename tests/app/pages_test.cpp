// Overview, activities, tools and settings pages: the logic behind what they
// show, the stopwatch and calculators through the App, and every page drawn over
// empty, tiny and large profiles.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "app/harness.h"
#include "model/format.h"
#include "platform/sound.h"
#include "science/calendar.h"
#include "science/calculators.h"
#include "support/sample_data.h"
#include "ui/page_activities.h"
#include "ui/page_overview.h"
#include "ui/page_settings.h"
#include "ui/page_tools.h"

namespace {

const bool kBerlin = [] {
    setenv("TZ", "Europe/Berlin", 1);
    tzset();
    return true;
}();

Activity Act(int64_t start, double km, double sec, int sport = SportRun, std::string title = "") {
    Activity a;
    a.id = NewId();
    a.start = start;
    a.distanceKm = km;
    a.durationSec = sec;
    a.sport = sport;
    a.title = std::move(title);
    return a;
}

ActivityList Pointers(const std::vector<Activity>& v) {
    ActivityList list;
    for (const Activity& a : v) list.push_back(&a);
    return list;
}

// A harness with one profile (Anna Beispiel) and the wall clock at `now`.
struct PageFixture {
    explicit PageFixture(int64_t now) : now(now) {
        h.Init();
        h.app.wallClock = [this] { return this->now; };
        Profile p;
        p.id = NewId();
        p.name = "Anna Beispiel";
        h.app.db.profiles.push_back(p);
        h.app.db.settings.activeProfile = p.id;
    }
    Profile& profile() { return h.app.db.profiles.front(); }
    void Add(Activity a) {
        a.profileId = profile().id;
        h.app.db.activities.push_back(std::move(a));
    }
    Harness h;
    int64_t now;
};

}  // namespace

// ---- Overview ----

TEST(Overview, GreetingByHourWithFirstName) {
    struct Case {
        const char* name;
        int hour;
        const char* text;
    } cases[] = {{"Anna", 0, "Gute Nacht, Anna"},
                 {"Anna", 4, "Gute Nacht, Anna"},
                 {"Anna Maria Beispiel", 5, "Guten Morgen, Anna"},
                 {"Lea Sommer", 10, "Guten Morgen, Lea"},
                 {"Lea Sommer", 11, "Hallo, Lea"},
                 {"Lea", 16, "Hallo, Lea"},
                 {"Jörg", 17, "Guten Abend, Jörg"},
                 {"Jörg", 23, "Guten Abend, Jörg"}};
    for (const Case& c : cases) EXPECT_EQ(OverviewGreeting(c.name, c.hour), c.text) << c.name << " " << c.hour;
}

TEST(Overview, WeeklyGoalSentenceCountsTheDaysLeft) {
    Profile p;
    p.weeklyGoalKm = 20;
    const int64_t sunday = MakeLocalTime(2025, 3, 16, 12, 0, 0);
    const int64_t monday = MakeLocalTime(2025, 3, 10, 8, 0, 0);
    // Sunday: one day left, the whole remainder is today's figure.
    EXPECT_EQ(WeekGoalText(WeeklyGoal(p, 15, sunday)), "Noch 5,00 km in 1 Tag – also ca. 5,00 km pro Tag.");
    EXPECT_EQ(WeekGoalText(WeeklyGoal(p, 6, monday)), "Noch 14,00 km in 7 Tagen – also ca. 2,00 km pro Tag.");
    // Reached (also beyond the goal): no sentence, the page shows the goal-reached line.
    EXPECT_EQ(WeekGoalText(WeeklyGoal(p, 20, sunday)), "");
    const WeekGoal over = WeeklyGoal(p, 30, monday);
    EXPECT_DOUBLE_EQ(over.fraction, 1.5);
    EXPECT_EQ(WeekGoalText(over), "");
}

TEST(Overview, RecentCardShowsFiveNewestAndTheListButtonFromSix) {
    const int64_t t0 = MakeLocalTime(2025, 3, 1, 9, 0, 0);
    std::vector<Activity> acts;
    for (int i = 0; i < 6; ++i) acts.push_back(Act(t0 + i * 86400, 5, 1500));
    std::vector<Activity> five(acts.begin(), acts.begin() + 5);

    const RecentCard a = RecentActivities(Pointers(five));
    ASSERT_EQ(a.rows.size(), 5u);
    EXPECT_FALSE(a.showAll);
    EXPECT_EQ(a.rows.front()->id, five[4].id);
    EXPECT_EQ(a.rows.back()->id, five[0].id);

    const RecentCard b = RecentActivities(Pointers(acts));
    ASSERT_EQ(b.rows.size(), 5u);
    EXPECT_TRUE(b.showAll);
    EXPECT_EQ(b.rows.front()->id, acts[5].id);  // the oldest of six drops out
    EXPECT_EQ(b.rows.back()->id, acts[1].id);

    EXPECT_TRUE(RecentActivities({}).rows.empty());
}

TEST(Overview, TrainingCalendarCellsAndMonthLabels) {
    // Wednesday 12 March 2025; the grid starts on Monday 16 September 2024.
    const int64_t now = MakeLocalTime(2025, 3, 12, 18, 0, 0);
    const int64_t today = LocalDayNumber(now);
    std::vector<Activity> acts = {
        Act(MakeLocalTime(2025, 3, 10, 7, 0, 0), 10, 3000),   // Monday: the largest day
        Act(MakeLocalTime(2025, 3, 11, 7, 0, 0), 2.5, 800),   // two on Tuesday add up
        Act(MakeLocalTime(2025, 3, 11, 19, 0, 0), 1.5, 500),
        Act(MakeLocalTime(2025, 3, 13, 7, 0, 0), 8, 2400),    // tomorrow: future cell
        Act(MakeLocalTime(2024, 9, 15, 7, 0, 0), 9, 2400),    // the day before the grid
    };
    const TrainingCalendar cal = BuildTrainingCalendar(DailyDistance(Pointers(acts)), today);

    EXPECT_EQ(cal.firstDay, DaysFromCivil(2024, 9, 16));
    ASSERT_EQ(cal.cells.size(), static_cast<size_t>(kCalendarWeeks * 7));
    const CalendarCell* week = &cal.cells[25 * 7];  // the current week, Monday first
    EXPECT_DOUBLE_EQ(week[0].intensity, 1.0);
    EXPECT_DOUBLE_EQ(week[1].km, 4.0);
    EXPECT_DOUBLE_EQ(week[1].intensity, 0.4);
    EXPECT_TRUE(week[2].today);
    EXPECT_FALSE(week[2].future);
    EXPECT_TRUE(week[3].future);
    EXPECT_DOUBLE_EQ(week[3].km, 0.0);  // a future day is outlined, never shaded
    EXPECT_DOUBLE_EQ(cal.cells[0].km, 0.0);

    // A label above every column whose Monday starts another month.
    const std::vector<std::pair<int, int>> expected = {{0, 9}, {3, 10}, {7, 11}, {11, 12},
                                                       {16, 1}, {20, 2}, {24, 3}};
    ASSERT_EQ(cal.months.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(cal.months[i].column, expected[i].first) << i;
        EXPECT_EQ(cal.months[i].month, expected[i].second) << i;
    }

    EXPECT_EQ(CalendarTooltip(week[1]), "Dienstag, 11.03.2025\n4,00 km");
    EXPECT_EQ(CalendarTooltip(week[6]), "Sonntag, 16.03.2025\nKein Training");
}

TEST(Overview, SmallDailyMaximumStillShadesAgainstOneKilometre) {
    std::vector<Activity> acts = {Act(MakeLocalTime(2025, 3, 10, 7, 0, 0), 0.5, 600)};
    const TrainingCalendar cal =
        BuildTrainingCalendar(DailyDistance(Pointers(acts)), DaysFromCivil(2025, 3, 12));
    EXPECT_DOUBLE_EQ(cal.cells[25 * 7].intensity, 0.5);
}

TEST(Overview, TrophyGridColumns) {
    EXPECT_EQ(TrophyColumns(300, 74), 4);
    EXPECT_EQ(TrophyColumns(222, 74), 3);
    EXPECT_EQ(TrophyColumns(200, 74), 2);  // two fit, and fewer than three become two
    EXPECT_EQ(TrophyColumns(60, 74), 2);
}

// ---- Activities page ----

TEST(ActivitiesPage, SourceLabels) {
    const std::pair<const char*, const char*> cases[] = {{"strava", "Strava"},   {"gpx", "GPX"},
                                                         {"tcx", "TCX"},         {"stopwatch", "Stoppuhr"},
                                                         {"manual", "Manuell"},  {"", "Manuell"},
                                                         {"GPX", "Manuell"}};
    for (const auto& [source, label] : cases) EXPECT_STREQ(SourceLabel(source), label) << source;
}

TEST(ActivitiesPage, SortingIsStableAndUsesStoredKeys) {
    const int64_t t = MakeLocalTime(2025, 3, 1, 9, 0, 0);
    std::vector<Activity> v = {
        Act(t, 10, 3000, SportRun, "Zebra"), Act(t + 1, 5, 1500, SportRun, ""),
        Act(t + 2, 0, 1800, SportOther, "Yoga"), Act(t + 3, 5, 1400, SportRun, ""),
        Act(t + 4, 21.1, 7000, SportRun, "Alpha"),
    };
    auto ids = [](const ActivityList& l) {
        std::vector<int64_t> out;
        for (const Activity* a : l) out.push_back(a->start - 1740816000);
        return out;
    };
    const int64_t base = t - 1740816000;
    ActivityList list = Pointers(v);
    // Untitled activities (shown with the sport name) sort first; ties keep start order.
    SortActivities(list, ColumnTitle, false);
    EXPECT_EQ(ids(list), (std::vector<int64_t>{base + 1, base + 3, base + 4, base + 2, base}));
    list = Pointers(v);
    SortActivities(list, ColumnDistance, true);
    EXPECT_EQ(ids(list), (std::vector<int64_t>{base + 4, base, base + 1, base + 3, base + 2}));
    // Pace: no distance counts as 0 and comes first ascending.
    list = Pointers(v);
    SortActivities(list, ColumnPace, false);
    EXPECT_EQ(ids(list), (std::vector<int64_t>{base + 2, base + 3, base, base + 1, base + 4}));
    list = Pointers(v);
    SortActivities(list, ColumnDate, true);
    EXPECT_EQ(ids(list), (std::vector<int64_t>{base + 4, base + 3, base + 2, base + 1, base}));
    list = Pointers(v);
    SortActivities(list, ColumnSource, true);  // not sortable: unchanged
    EXPECT_EQ(ids(list), (std::vector<int64_t>{base, base + 1, base + 2, base + 3, base + 4}));
}

// ---- Tools page ----

TEST(Stopwatch, PauseResumeLapsAndRing) {
    PageFixture f(MakeLocalTime(2025, 3, 12, 18, 0, 0));
    App& app = f.h.app;
    app.db.settings.sounds = false;
    EXPECT_STREQ(StopwatchStateText(app.stopwatchRunning, app.StopwatchElapsed()), "bereit");
    StopwatchStartPause(app);
    f.h.Advance(65);
    StopwatchStartPause(app);  // pause
    EXPECT_NEAR(app.StopwatchElapsed(), 65, 1e-9);
    f.h.Advance(30);  // paused time does not count
    StopwatchStartPause(app);  // "Weiter"
    f.h.Advance(0.5);
    StopwatchStartPause(app);
    EXPECT_NEAR(app.StopwatchElapsed(), 65.5, 1e-9);
    EXPECT_NEAR(StopwatchRingFraction(app.StopwatchElapsed()), 5.5 / 60, 1e-6);
    EXPECT_EQ(StopwatchTenths(app.StopwatchElapsed()), 5);
    EXPECT_STREQ(StopwatchStateText(app.stopwatchRunning, app.StopwatchElapsed()), "pausiert");
    StopwatchLap(app);  // only while running
    EXPECT_TRUE(app.stopwatchLaps.empty());

    StopwatchReset(app);
    StopwatchStartPause(app);
    EXPECT_STREQ(StopwatchStateText(app.stopwatchRunning, app.StopwatchElapsed()), "läuft");
    for (double at : {60.0, 125.0, 190.0}) {
        f.h.Advance(at - app.StopwatchElapsed());
        StopwatchLap(app);
    }
    EXPECT_EQ(LapNotes(app.stopwatchLaps), "Runden: 1:00, 1:05, 1:05");
    EXPECT_TRUE(f.h.Frame());  // the page keeps the stopwatch running while drawing elsewhere
    EXPECT_TRUE(app.stopwatchRunning);
}

TEST(Stopwatch, StartAndLapClickOnlyWithSoundsOn) {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    PageFixture f(MakeLocalTime(2025, 3, 12, 18, 0, 0));
    App& app = f.h.app;
    for (bool sounds : {false, true}) {
        app.db.settings.sounds = sounds;
        const int before = platform::SoundRequestCount();
        StopwatchStartPause(app);  // start
        StopwatchLap(app);
        StopwatchStartPause(app);  // pause: silent
        StopwatchLap(app);         // not running: nothing
        EXPECT_EQ(platform::SoundRequestCount() - before, sounds ? 2 : 0);
    }
}

TEST(Stopwatch, SavingOpensTheEditorOnTheMeasuredActivity) {
    PageFixture f(MakeLocalTime(2025, 3, 12, 18, 0, 0));
    App& app = f.h.app;
    StopwatchStartPause(app);
    f.h.Advance(9.9);
    StopwatchSaveAsActivity(app);  // below 10 s nothing happens
    EXPECT_FALSE(app.editorRequested);
    EXPECT_TRUE(app.stopwatchRunning);

    f.h.Advance(60.1);
    StopwatchLap(app);
    f.h.Advance(70.5);  // 140.5 s in all
    app.tools.stopwatchDistanceKm = 0.42;
    StopwatchSaveAsActivity(app);
    ASSERT_TRUE(app.editorRequested);
    EXPECT_TRUE(app.editorIsNew);
    const Activity& d = app.editorDraft;
    EXPECT_EQ(d.durationSec, 141);  // halves away from zero
    EXPECT_EQ(d.start, f.now - 140);
    EXPECT_DOUBLE_EQ(d.distanceKm, 0.42);
    EXPECT_EQ(d.source, "stopwatch");
    EXPECT_EQ(d.notes, "Runden: 1:10");  // the recorded laps only
    EXPECT_EQ(d.profileId, f.profile().id);
    // Back to the start.
    EXPECT_FALSE(app.stopwatchRunning);
    EXPECT_EQ(app.StopwatchElapsed(), 0);
    EXPECT_TRUE(app.stopwatchLaps.empty());
    EXPECT_EQ(app.tools.stopwatchDistanceKm, 0);
}

TEST(PaceCalculator, EachModeComputesTheThirdValue) {
    struct Case {
        int mode;
        double distance, time, pace;
        double wantDistance, wantTime, wantPace;
    } cases[] = {
        {0, 10, 3000, 1, 10, 3000, 300},
        {0, 0, 3000, 333, 0, 3000, 333},  // no distance: pace kept
        {1, 21.0975, 1, 300, 21.0975, 6329.25, 300},
        {2, 1, 3600, 300, 12, 3600, 300},
        {2, 7, 3600, 0, 7, 3600, 0},  // no pace: distance kept
    };
    for (const Case& c : cases) {
        PaceCalculator pc{c.mode, c.distance, c.time, c.pace};
        UpdatePaceCalculator(pc);
        EXPECT_NEAR(pc.distanceKm, c.wantDistance, 1e-9) << c.mode;
        EXPECT_NEAR(pc.timeSec, c.wantTime, 1e-9) << c.mode;
        EXPECT_NEAR(pc.paceSec, c.wantPace, 1e-9) << c.mode;
    }
    EXPECT_TRUE(DistanceChipSelected(21.0975, 21.0975));
    EXPECT_FALSE(DistanceChipSelected(21.1, 21.0975));
}

TEST(Prediction, ReferenceIsTheFastestRunOfThreeKilometresOrMore) {
    PageFixture f(MakeLocalTime(2025, 3, 12, 18, 0, 0));
    const int64_t t = MakeLocalTime(2025, 3, 1, 9, 0, 0);
    f.Add(Act(t, 10, 3300));
    f.Add(Act(t + 86400, 5, 1200));             // 4:00 /km: the reference
    f.Add(Act(t + 2 * 86400, 2.9, 600));         // faster, but too short
    f.Add(Act(t + 3 * 86400, 30, 3600, SportBike));
    App& app = f.h.app;
    app.page = PageTools;
    EXPECT_TRUE(f.h.Frame());
    EXPECT_DOUBLE_EQ(app.tools.predictDistanceKm, 5);
    EXPECT_DOUBLE_EQ(app.tools.predictTimeSec, 1200);
    EXPECT_NEAR(RiegelPrediction(5, 1200, 10), 2502, 1);  // about 41:42

    // Later activities do not move it until a profile switch.
    f.Add(Act(t + 4 * 86400, 5, 1100));
    EXPECT_TRUE(f.h.Frame());
    EXPECT_DOUBLE_EQ(app.tools.predictTimeSec, 1200);
    Profile other;
    other.id = NewId();
    other.name = "Ben";
    app.db.profiles.push_back(other);
    app.SwitchProfile(app.db.profiles.back());
    EXPECT_TRUE(f.h.Frame());
    EXPECT_DOUBLE_EQ(app.tools.predictDistanceKm, 5);  // Ben has no run: the initial 5 km / 30:00
    EXPECT_DOUBLE_EQ(app.tools.predictTimeSec, 1800);
}

// ---- Settings page ----

TEST(Settings, ReminderTimeChangeClearsTheHandledDate) {
    Settings st;
    st.lastReminderDate = "2025-03-12";
    EXPECT_TRUE(SetReminderTime(st, 19, 30));  // the 19:30 chip
    EXPECT_EQ(st.reminderHour, 19);
    EXPECT_EQ(st.reminderMinute, 30);
    EXPECT_EQ(st.lastReminderDate, "");

    st.lastReminderDate = "2025-03-12";
    EXPECT_FALSE(SetReminderTime(st, 19, 30));  // the same time re-arms nothing
    EXPECT_EQ(st.lastReminderDate, "2025-03-12");
    EXPECT_TRUE(SetReminderTime(st, 25, -4));
    EXPECT_EQ(st.reminderHour, 23);
    EXPECT_EQ(st.reminderMinute, 0);
}

TEST(Settings, NextReminderSentence) {
    const int64_t wednesday = MakeLocalTime(2025, 3, 12, 9, 0, 0);
    Settings st;
    st.reminderHour = 7;
    st.reminderMinute = 5;
    const std::string later = "Nächste Erinnerung: an einem der nächsten aktiven Tage um 07:05 Uhr. Stridely muss "
                              "dafür laufen (auch minimiert im Infobereich).";
    EXPECT_EQ(NextReminderText(st, wednesday),
              "Nächste Erinnerung: heute um 07:05 Uhr. Stridely muss dafür laufen (auch minimiert im Infobereich).");
    st.lastReminderDate = "2025-03-12";
    EXPECT_EQ(NextReminderText(st, wednesday), later);
    st.lastReminderDate = "2025-03-11";
    st.reminderDays[2] = false;  // Wednesday off
    EXPECT_EQ(NextReminderText(st, wednesday), later);
}

// ---- Drawing ----

TEST(Pages, EveryPageDrawsForNoProfileAndProfilesOfZeroOneAndManyActivities) {
    const int64_t now = MakeLocalTime(2025, 6, 18, 18, 30, 0);
    for (int n : {-1, 0, 1, 3000}) {
        Harness h;
        h.Init();
        h.app.wallClock = [now] { return now; };
        // The sample profile has a home; a fetch never becomes due in this test.
        h.app.lastWeatherFetch = 1e12;
        if (n >= 0) {
            h.app.db = sample::SampleDatabase(n, now);
            h.app.onboardingRequested = false;
        }
        // Weather card states: no home, an error with the retry button, a full forecast.
        if (n == 0) h.app.db.profiles.front().hasHome = false;
        if (n == 1) h.app.weather.error = "Netzwerkfehler (6)";
        if (n == 3000) {
            // A weather answer, so that the card draws its full state.
            Weather w;
            w.ok = true;
            w.temperature = 17;
            w.weatherCode = 2;
            for (int i = 0; i < 24; ++i) w.hours.push_back({(18 + i) % 24, i >= 6, 15.0 - i * 0.2, i * 3.0, 10, 1, 0});
            w.bestIndex = 1;
            w.bestText = "Beste Laufzeit: heute 19:00 Uhr – 15 °C, 3 % Regenrisiko";
            h.app.weather = w;
        }
        for (int page = 0; page < kPageCount; ++page) {
            h.app.page = page;
            for (int f = 0; f < 3; ++f) EXPECT_TRUE(h.Frame()) << "n=" << n << " page " << page;
        }
        // Filters that leave nothing, and every sort column.
        h.app.page = PageActivitiesList;
        h.app.activitiesPage.activitySearch = "gibt es nicht";
        EXPECT_TRUE(h.Frame());
        h.app.activitiesPage = {RangeSevenDays, SportRun, ""};
        EXPECT_TRUE(h.Frame());
        h.app.activitiesPage = {};
        for (int mode = 0; mode < 3; ++mode) {
            h.app.page = PageTools;
            h.app.tools.pace.mode = mode;
            EXPECT_TRUE(h.Frame());
        }
        h.app.stopwatchRunning = true;
        h.app.stopwatchLaps = {61, 122};
        EXPECT_TRUE(h.Frame());
    }
}

TEST(Pages, LargeUiScaleDrawsBalanced) {
    const int64_t now = MakeLocalTime(2025, 6, 18, 18, 30, 0);
    Harness h(2.0f);
    h.Init();
    h.app.wallClock = [now] { return now; };
    h.app.db = sample::SampleDatabase(120, now);
    h.app.onboardingRequested = false;
    h.app.weatherBusy = true;  // the loading state; no fetch from a test
    for (int page : {0, 1, 5, 6}) {
        h.app.page = page;
        for (int f = 0; f < 2; ++f) EXPECT_TRUE(h.Frame()) << page;
    }
}
