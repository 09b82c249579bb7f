#include "science/awards.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "model/icons.h"
#include "science_fixture.h"

namespace {

std::vector<std::string> Keys(const std::vector<Award>& awards) {
    std::vector<std::string> out;
    for (const Award& a : awards) out.push_back(a.key);
    return out;
}

bool Has(const std::vector<Award>& awards, const std::string& key) {
    return std::any_of(awards.begin(), awards.end(), [&](const Award& a) { return a.key == key; });
}

// Stores an activity and evaluates it, as saving from the editor does.
struct AwardFixture : ProfileFixture {
    AwardFixture() { profile().weeklyGoalKm = 0; }  // goal awards only where a test wants them

    std::vector<Award> Save(int sport, int64_t start, double km, double sec = 1800.0,
                            double kcal = 100.0) {
        const Activity& a = Add(sport, start, km, sec, kcal);
        return EvaluateAwards(db, profile(), a, start + 60);
    }
    // Deleting an activity takes every award it granted with it.
    void Delete(const std::string& activityId) {
        std::erase_if(db.awards, [&](const Award& a) { return a.activityId == activityId; });
        std::erase_if(db.activities, [&](const Activity& a) { return a.id == activityId; });
    }
};

}  // namespace

TEST(AwardCatalog, OrderFlagsAndTargets) {
    const std::vector<AwardDef>& c = AwardCatalog();
    ASSERT_EQ(c.size(), 39u);
    const std::vector<std::string> order = {
        "medal",   "first",    "run5k",      "run10k",      "half",     "marathon", "km50",
        "km100",   "km250",    "km500",      "km1000",      "streak3",  "streak7",  "streak14",
        "streak30", "count10", "count25",    "count50",     "count100", "early",    "night",
        "weekend", "pace5",    "pace4",      "hour",        "twohours", "kcal500",  "kcal1000",
        "climb",   "explorer", "allrounder", "comeback",    "birthday", "newyear",  "synced",
        "stopwatch", "goal_week", "pb_distance", "pb_pace"};
    for (size_t i = 0; i < c.size(); ++i) {
        EXPECT_EQ(c[i].key, order[i]);
        EXPECT_EQ(FindAwardDef(order[i]), &c[i]);
        const bool repeatable = c[i].key == "medal" || c[i].key == "goal_week" ||
                                c[i].key == "pb_distance" || c[i].key == "pb_pace";
        EXPECT_EQ(c[i].repeatable, repeatable) << c[i].key;
        EXPECT_FALSE(c[i].name.empty());
        EXPECT_FALSE(c[i].description.empty());
        EXPECT_GE(c[i].tier, 0);
        EXPECT_LE(c[i].tier, 4);
    }
    EXPECT_EQ(FindAwardDef("Medal"), nullptr);
    // Spot checks of the texts, colours and progress goals.
    const AwardDef& km1000 = *FindAwardDef("km1000");
    EXPECT_EQ(km1000.name, "Tausender");
    EXPECT_EQ(km1000.description, "Insgesamt 1.000 km zurückgelegt – unglaublich!");
    EXPECT_STREQ(km1000.icon, "1K");
    EXPECT_EQ(km1000.target, 1000.0);
    EXPECT_EQ(km1000.progress, ProgressDistance);
    EXPECT_EQ(FindAwardDef("streak30")->tier, 4);
    EXPECT_EQ(FindAwardDef("streak30")->progress, ProgressStreak);
    EXPECT_EQ(FindAwardDef("count25")->progress, ProgressCount);
    EXPECT_EQ(FindAwardDef("count25")->target, 25.0);
    EXPECT_EQ(FindAwardDef("allrounder")->color, 0xC084FCu);
    EXPECT_STREQ(FindAwardDef("climb")->icon, "▲");
    EXPECT_EQ(FindAwardDef("pb_pace")->description, "Deine schnellste Pace über mind. 3 km!");
}

TEST(AwardCatalog, TierNamesIconsAndColours) {
    const char* tiers[] = {"Bronze", "Bronze", "Silber", "Gold", "Platin", "Diamant", "Diamant"};
    for (int t = -1; t <= 5; ++t) EXPECT_STREQ(TierName(t), tiers[t + 1]);

    Award a;
    a.key = "medal";
    a.name = "Radmedaille #3";
    EXPECT_STREQ(AwardIcon(a), SportIcon(SportBike));
    a.name = "Walking-Medaille #1";
    EXPECT_STREQ(AwardIcon(a), SportIcon(SportWalk));
    a.name = "Wandermedaille #2";
    EXPECT_STREQ(AwardIcon(a), SportIcon(SportHike));
    a.name = "Sportmedaille #9";
    EXPECT_STREQ(AwardIcon(a), SportIcon(SportOther));
    a.name = "Umbenannt";
    EXPECT_STREQ(AwardIcon(a), Icon::Run);  // the catalog icon of "medal"
    EXPECT_EQ(AwardColor(a), 0xFF7A18u);
    a.key = "night";
    EXPECT_STREQ(AwardIcon(a), Icon::Moon);
    EXPECT_EQ(AwardColor(a), 0x3A5BFFu);
    a.key = "retired_badge";
    EXPECT_STREQ(AwardIcon(a), Icon::StarFill);
    EXPECT_EQ(AwardColor(a), 0xFF7A18u);
}

TEST(EvaluateAwards, FirstActivityEverInGrantingOrder) {
    AwardFixture f;
    // Saturday 1 March 2025, 06:30: 5.2 km in 30 min, 410 kcal.
    const std::vector<Award> got = f.Save(SportRun, At(2025, 3, 1, 6, 30), 5.2, 1800, 410);
    EXPECT_EQ(Keys(got), (std::vector<std::string>{"medal", "first", "run5k", "early", "weekend"}));
    EXPECT_EQ(got[0].name, "Laufmedaille #1");
    EXPECT_EQ(got[0].tier, 2);
    EXPECT_EQ(got[1].name, "Erster Schritt");
    EXPECT_EQ(got[2].tier, 1);  // catalog tier
    for (const Award& a : got) {
        EXPECT_EQ(a.profileId, f.pid);
        EXPECT_EQ(a.activityId, f.db.activities.back().id);
        EXPECT_EQ(a.at, At(2025, 3, 1, 6, 31));
        EXPECT_EQ(a.id.size(), 16u);
    }
    EXPECT_EQ(f.db.awards.size(), got.size());
}

TEST(EvaluateAwards, MedalTierByCaloriesAndNumberPerSport) {
    const std::pair<double, int> tiers[] = {{199.9, 0}, {200, 1}, {399.9, 1}, {400, 2},
                                            {699, 2},   {700, 3}, {999, 3},   {1000, 4}};
    AwardFixture f;
    int day = 1;
    for (const auto& [kcal, tier] : tiers) {
        const std::vector<Award> got = f.Save(SportSwim, At(2025, 1, day, 12), 1, 1800, kcal);
        EXPECT_EQ(got[0].tier, tier) << kcal;
        EXPECT_EQ(got[0].name, "Schwimmmedaille #" + std::to_string(day));
        ++day;
    }
    // Another sport counts from one again; codes outside 0..5 are "Sportmedaille".
    EXPECT_EQ(f.Save(SportBike, At(2025, 2, 1), 10)[0].name, "Radmedaille #1");
    EXPECT_EQ(f.Save(7, At(2025, 2, 2), 10)[0].name, "Sportmedaille #1");
}

TEST(EvaluateAwards, RideCountsTowardsTotalsButNotRunBadges) {
    AwardFixture f;
    f.Save(SportBike, At(2025, 1, 1), 35);
    const std::vector<Award> got = f.Save(SportBike, At(2025, 1, 3), 20);
    EXPECT_FALSE(Has(got, "run5k"));
    EXPECT_FALSE(Has(got, "run10k"));
    EXPECT_TRUE(Has(got, "km50"));
    EXPECT_FALSE(Has(got, "km100"));
}

TEST(EvaluateAwards, StartHours) {
    struct Case {
        int hour, minute;
        bool early, night;
    };
    const Case cases[] = {{21, 0, false, true}, {7, 0, false, false}, {2, 59, false, true},
                          {3, 0, true, false},  {6, 59, true, false}, {20, 59, false, false},
                          {0, 0, false, true}};
    for (const Case& c : cases) {
        AwardFixture f;
        const std::vector<Award> got = f.Save(SportWalk, At(2025, 3, 5, c.hour, c.minute), 3);
        EXPECT_EQ(Has(got, "early"), c.early) << c.hour << ":" << c.minute;
        EXPECT_EQ(Has(got, "night"), c.night) << c.hour << ":" << c.minute;
        EXPECT_FALSE(Has(got, "weekend"));  // a Wednesday
    }
}

TEST(EvaluateAwards, OnceOnlyUntilItsActivityIsDeleted) {
    AwardFixture f;
    EXPECT_TRUE(Has(f.Save(SportRun, At(2025, 3, 3), 5.0), "run5k"));
    const std::string firstId = f.db.activities.back().id;
    EXPECT_FALSE(Has(f.Save(SportRun, At(2025, 3, 4), 5.5), "run5k"));
    f.Delete(firstId);
    const std::vector<Award> again = f.Save(SportRun, At(2025, 3, 6), 5.0);
    EXPECT_TRUE(Has(again, "run5k"));
    EXPECT_TRUE(Has(again, "first"));
    // Another profile's badge does not count for this one.
    Award foreign;
    foreign.profileId = "someone-else";
    foreign.key = "run10k";
    f.db.awards.push_back(foreign);
    EXPECT_TRUE(Has(f.Save(SportRun, At(2025, 3, 8), 10.0), "run10k"));
}

TEST(EvaluateAwards, WeeklyGoalGrantedByTheCrossingActivity) {
    AwardFixture f;
    f.profile().weeklyGoalKm = 20;
    f.Save(SportRun, At(2025, 3, 3), 15);                        // Monday
    f.Save(SportRun, At(2025, 2, 28), 10);                       // the week before
    EXPECT_TRUE(Has(f.Save(SportRun, At(2025, 3, 5), 6), "goal_week"));
    EXPECT_FALSE(Has(f.Save(SportRun, At(2025, 3, 6), 3), "goal_week"));
    // Repeatable: the next week is crossed again.
    EXPECT_TRUE(Has(f.Save(SportRun, At(2025, 3, 10), 25), "goal_week"));
    // Sunday 23:30 of the spring change still belongs to its week (24 - 30 March).
    f.Save(SportRun, At(2025, 3, 24), 15);
    EXPECT_TRUE(Has(f.Save(SportRun, At(2025, 3, 30, 23, 30), 5), "goal_week"));
    EXPECT_TRUE(Has(f.Save(SportRun, At(2025, 3, 31, 0, 10), 20), "goal_week"));
}

TEST(EvaluateAwards, StreakOfLocalDaysEndingOnTheActivity) {
    struct Case {
        const char* what;
        std::vector<int64_t> earlier;
        int64_t start;
        bool streak3;
    };
    const Case cases[] = {
        {"three days", {At(2025, 3, 3, 23, 50), At(2025, 3, 4, 0, 10)}, At(2025, 3, 5, 7), true},
        {"gap of a day", {At(2025, 3, 2), At(2025, 3, 4)}, At(2025, 3, 5), false},
        {"two on one day", {At(2025, 3, 4, 8), At(2025, 3, 4, 18)}, At(2025, 3, 5), false},
        {"over the spring change",
         {At(2025, 3, 29, 23, 30), At(2025, 3, 30, 23, 30)}, At(2025, 3, 31, 0, 30), true},
        {"later days do not count", {At(2025, 3, 6), At(2025, 3, 7)}, At(2025, 3, 5), false},
        {"backfilled into a streak", {At(2025, 3, 3), At(2025, 3, 5)}, At(2025, 3, 4), false},
    };
    for (const Case& c : cases) {
        AwardFixture f;
        for (int64_t t : c.earlier) f.Add(SportRun, t, 3);
        const Activity& a = f.Add(SportWalk, c.start, 3);
        EXPECT_EQ(Has(EvaluateAwards(f.db, f.profile(), a, 0), "streak3"), c.streak3) << c.what;
    }
}

TEST(EvaluateAwards, Comeback) {
    struct Case {
        const char* what;
        int64_t previous;
        int64_t next;
        bool comeback;
    };
    const Case cases[] = {
        {"14 days", At(2025, 3, 1, 20), At(2025, 3, 15, 8), true},
        {"13 days", At(2025, 3, 1, 8), At(2025, 3, 14, 23), false},
        // Across the spring change 14 calendar days are 13 days and 23 hours.
        {"14 days over DST", At(2025, 3, 20, 0, 30), At(2025, 4, 3, 0, 10), true},
        {"backfilled before all", At(2025, 3, 15, 8), At(2025, 1, 1, 8), false},
    };
    for (const Case& c : cases) {
        AwardFixture f;
        f.Save(SportWalk, c.previous, 2);
        EXPECT_EQ(Has(f.Save(SportWalk, c.next, 2), "comeback"), c.comeback) << c.what;
    }
}

TEST(EvaluateAwards, PersonalBestMargins) {
    AwardFixture f;
    const std::vector<Award> first = f.Save(SportRun, At(2025, 3, 1), 10.0, 3000);
    EXPECT_FALSE(Has(first, "pb_distance"));
    EXPECT_FALSE(Has(first, "pb_pace"));
    EXPECT_FALSE(Has(f.Save(SportRun, At(2025, 3, 2), 10.005, 4000), "pb_distance"));
    EXPECT_TRUE(Has(f.Save(SportRun, At(2025, 3, 3), 10.025, 4000), "pb_distance"));
    // Best pace so far 300 s/km: 0.4 s faster is not enough, then 0.6 s faster is.
    EXPECT_FALSE(Has(f.Save(SportRun, At(2025, 3, 4), 5.0, 5 * 299.6), "pb_pace"));
    EXPECT_TRUE(Has(f.Save(SportRun, At(2025, 3, 5), 5.0, 5 * 299.0), "pb_pace"));
    // Under 3 km never counts; a long ride is no run.
    EXPECT_FALSE(Has(f.Save(SportRun, At(2025, 3, 6), 2.9, 2.9 * 200), "pb_pace"));
    EXPECT_FALSE(Has(f.Save(SportBike, At(2025, 3, 7), 80, 3 * 3600), "pb_distance"));
}

TEST(EvaluateAwards, EveryMilestoneInOrder) {
    AwardFixture f;
    f.profile().birthMonth = 1;
    f.profile().birthDay = 1;
    f.profile().weeklyGoalKm = 40;
    // 29 days in a row of other sports, 100 activities and 999 km before.
    for (int i = 0; i < 70; ++i) f.Add(SportBike, At(2024, 6, 1) + i * 3600, 10.0);
    for (int i = 29; i >= 1; --i) {
        const CivilDate d = CivilFromDays(DaysFromCivil(2026, 1, 1) - i);
        f.Add(i % 2 ? SportWalk : SportSwim, At(d.year, d.month, d.day, 10), 10.0);
    }
    f.Add(SportRun, At(2024, 5, 1), 9.0, 2700);  // earlier runs for the bests
    // The new activity: New Year's Day and birthday 2026 (a Thursday) at 22:00,
    // a marathon at 3:50 /km, with a track, from Strava.
    Activity& a = f.Add(SportRun, At(2026, 1, 1, 22), 42.2, 42.2 * 230, 3200);
    a.elevationGain = 250;
    a.track = {{50, 8}, {50.1, 8.1}};
    a.source = "strava";
    const std::vector<Award> got = EvaluateAwards(f.db, f.profile(), a, At(2026, 1, 2));
    EXPECT_EQ(Keys(got),
              (std::vector<std::string>{
                  "medal", "first", "run5k", "run10k", "half", "marathon", "km50", "km100",
                  "km250", "km500", "km1000", "streak3", "streak7", "streak14", "streak30",
                  "count10", "count25", "count50", "count100", "night", "pace5", "pace4", "hour",
                  "twohours", "kcal500", "kcal1000", "climb", "explorer", "allrounder",
                  "birthday", "newyear", "synced", "goal_week", "pb_distance", "pb_pace"}));
    EXPECT_EQ(got[0].tier, 4);
    EXPECT_EQ(got[0].name, "Laufmedaille #2");
}

TEST(EvaluateAwards, SmallerMilestones) {
    AwardFixture f;
    // Saturday, from the stopwatch, with a planned route, less than 3 sports.
    Activity& a = f.Add(SportWalk, At(2025, 3, 1, 12), 3, 1800, 100);
    a.source = "stopwatch";
    a.routeId = "r1";
    std::vector<Award> got = EvaluateAwards(f.db, f.profile(), a, 0);
    EXPECT_EQ(Keys(got), (std::vector<std::string>{"medal", "first", "weekend", "explorer",
                                                   "stopwatch"}));
    // A track of one point is no track; two sports are no allrounder; imported files sync.
    Activity& b = f.Add(SportRun, At(2025, 3, 5, 12), 3, 1800, 100);
    b.track = {{50, 8}};
    b.source = "gpx";
    got = EvaluateAwards(f.db, f.profile(), b, 0);
    EXPECT_EQ(Keys(got), (std::vector<std::string>{"medal", "synced"}));
    Activity& c = f.Add(SportSwim, At(2025, 3, 5, 13), 1, 1800, 100);
    c.source = "tcx";
    got = EvaluateAwards(f.db, f.profile(), c, 0);
    EXPECT_EQ(Keys(got), (std::vector<std::string>{"medal", "allrounder"}));
}

TEST(GrantAward, UnknownKeyGrantsNothingAndNameOrTierOverride) {
    ProfileFixture f;
    const Activity& a = f.Add(SportRun, At(2025, 3, 1), 5);
    std::vector<Award> granted;
    AwardContext ctx{f.db, f.profile(), a, granted, 1234};
    GrantAward(ctx, "no_such_badge", "", -1);
    GrantAwardOnce(ctx, "no_such_badge", true);
    EXPECT_TRUE(granted.empty());
    EXPECT_TRUE(f.db.awards.empty());
    GrantAward(ctx, "climb", "Gipfelstürmer", 0);
    GrantAwardOnce(ctx, "climb", true);  // already held now
    GrantAwardOnce(ctx, "hour", false);
    ASSERT_EQ(granted.size(), 1u);
    EXPECT_EQ(granted[0].name, "Gipfelstürmer");
    EXPECT_EQ(granted[0].tier, 0);
    EXPECT_EQ(granted[0].at, 1234);
    EXPECT_EQ(f.db.awards.size(), 1u);

    // A stored medal counts as held for a once-only test as well.
    GrantAward(ctx, "medal", "Laufmedaille #1", 0);
    std::vector<Award> more;
    AwardContext fresh{f.db, f.profile(), a, more, 0};
    GrantAwardOnce(fresh, "medal", true);
    EXPECT_TRUE(more.empty());
}
