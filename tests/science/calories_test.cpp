#include "science/calories.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "science_fixture.h"

namespace {

struct CalorieCase {
    const char* what;
    int sport;
    double km, sec, climb;
    int hr;
    double kg;
    int age;
    const char* sex;
    double met;       // expected MET
    double kcal;      // expected kcal; < 0: not checked
    const char* method;
};

const CalorieCase kCases[] = {
    {"10 km run in 50 min", SportRun, 10, 3000, 0, 0, 70, 30, "m", 43.5 / 3.5, 725.0,
     "ACSM-Laufgleichung"},
    {"same run with 300 m climb", SportRun, 10, 3000, 300, 0, 70, 30, "m", 48.9 / 3.5, -1,
     "ACSM-Laufgleichung"},
    {"climb above 25 % counts as 25 %", SportRun, 1, 300, 1000, 0, 70, 30, "m",
     (0.2 * 200 + 0.9 * 200 * 0.25 + 3.5) / 3.5, -1, "ACSM-Laufgleichung"},
    {"negative climb counts as 0", SportRun, 10, 3000, -300, 0, 70, 30, "m", 43.5 / 3.5, -1,
     "ACSM-Laufgleichung"},
    {"0.1 km ignores the climb", SportWalk, 0.1, 60, 50, 0, 70, 30, "m", (10 + 3.5) / 3.5, -1,
     "ACSM-Gehgleichung"},
    {"hiking walks times 1.15", SportHike, 5, 3600, 0, 0, 70, 30, "m",
     (0.1 * 5000 / 60 + 3.5) / 3.5 * 1.15, -1, "ACSM-Gehgleichung"},
    {"hr 79 is ignored", SportRun, 10, 3000, 0, 79, 70, 30, "m", 43.5 / 3.5, -1,
     "ACSM-Laufgleichung"},
    {"hr 221 is ignored", SportRun, 10, 3000, 0, 221, 70, 30, "m", 43.5 / 3.5, -1,
     "ACSM-Laufgleichung"},
    {"female Keytel", SportRun, 10, 3600, 0, 150, 70, 30, "w", 574.428 / 70, 574.428,
     "Herzfrequenz (Keytel)"},
    {"male Keytel", SportBike, 10, 3600, 0, 150, 70, 30, "m", 853.324 / 70, 853.324,
     "Herzfrequenz (Keytel)"},
    {"diverse: mean of both", SportSwim, 1, 3600, 0, 150, 70, 30, "d", 713.876 / 70, 713.876,
     "Herzfrequenz (Keytel)"},
    {"unknown sex like diverse", SportOther, 0, 3600, 0, 150, 70, 30, "x", 713.876 / 70, 713.876,
     "Herzfrequenz (Keytel)"},
    {"Keytel at or below zero falls back", SportWalk, 0, 3600, 0, 80, 150, 5, "w", 3.5, 525,
     "MET-Schätzung"},
    {"cycling just below 16 km/h", SportBike, 15.99, 3600, 0, 0, 70, 30, "m", 4.0, 280,
     "MET nach Geschwindigkeit"},
    {"cycling at 16.0 km/h", SportBike, 16, 3600, 0, 0, 70, 30, "m", 6.8, -1,
     "MET nach Geschwindigkeit"},
    {"cycling at 22.5 km/h", SportBike, 22.5, 3600, 0, 0, 70, 30, "m", 10.0, -1,
     "MET nach Geschwindigkeit"},
    {"cycling at 30.0 km/h", SportBike, 30, 3600, 0, 0, 70, 30, "m", 15.8, -1,
     "MET nach Geschwindigkeit"},
    {"cycling without distance", SportBike, 0, 3600, 0, 0, 70, 30, "m", 4.0, -1,
     "MET nach Geschwindigkeit"},
    {"swimming 180 s per 100 m", SportSwim, 1, 1800, 0, 0, 70, 30, "m", 8.3, -1,
     "MET nach Tempo"},
    {"swimming 130 s per 100 m", SportSwim, 1, 1300, 0, 0, 70, 30, "m", 10.0, -1,
     "MET nach Tempo"},
    {"swimming slower than 180 s", SportSwim, 1, 1801, 0, 0, 70, 30, "m", 5.8, -1,
     "MET nach Tempo"},
    {"swimming without distance", SportSwim, 0, 1800, 0, 0, 70, 30, "m", 7.0, -1,
     "MET nach Tempo"},
    {"run without distance", SportRun, 0, 3600, 0, 0, 70, 30, "m", 8.0, 560, "MET-Schätzung"},
    {"walk without distance", SportWalk, 0, 3600, 0, 0, 70, 30, "m", 3.5, -1, "MET-Schätzung"},
    {"hike without distance", SportHike, 0, 3600, 0, 0, 70, 30, "m", 6.0, -1, "MET-Schätzung"},
    {"other", SportOther, 5, 3600, 0, 0, 70, 30, "m", 6.0, 420, "MET (moderat)"},
    {"unknown sport like other", 9, 5, 3600, 0, 0, 70, 30, "m", 6.0, 420, "MET (moderat)"},
    {"negative sport like other", -1, 5, 3600, 0, 0, 70, 30, "m", 6.0, 420, "MET (moderat)"},
};

}  // namespace

TEST(EstimateCalories, MethodsAndThresholds) {
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.what);
        const CalorieEstimate e =
            EstimateCalories(c.sport, c.km, c.sec, c.climb, c.hr, c.kg, c.age, c.sex);
        EXPECT_NEAR(e.met, c.met, 1e-3);
        if (c.kcal >= 0) {
            EXPECT_NEAR(e.kcal, c.kcal, 0.01);
        }
        EXPECT_NEAR(e.kcal, e.met * c.kg * c.sec / 3600.0, 1e-9);
        EXPECT_STREQ(e.method, c.method);
    }
}

TEST(EstimateCalories, HeartRateBoundsAreInclusive) {
    for (int hr : {80, 220}) {
        const CalorieEstimate e = EstimateCalories(SportRun, 10, 3000, 0, hr, 70, 30, "m");
        EXPECT_STREQ(e.method, "Herzfrequenz (Keytel)") << hr;
    }
}

TEST(EstimateCalories, ImpossibleInputGivesNothing) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const double inputs[][2] = {{0, 70}, {-60, 70}, {3600, 0}, {3600, -5}, {nan, 70}, {3600, nan},
                                {inf, 70}};
    for (const auto& in : inputs) {
        const CalorieEstimate e = EstimateCalories(SportRun, 10, in[0], 0, 150, in[1], 30, "m");
        EXPECT_EQ(e.kcal, 0.0);
        EXPECT_EQ(e.met, 0.0);
        EXPECT_STREQ(e.method, "");
    }
    // A distance or climb that is not a number is treated as none.
    const CalorieEstimate e = EstimateCalories(SportRun, nan, 3600, nan, 0, 70, 30, "m");
    EXPECT_EQ(e.kcal, 560.0);
}

TEST(FoodEquivalents, PizzaThenBananas) {
    EXPECT_EQ(FoodEquivalentText(570), "≈ 2,0 Stück Pizza · 5,4 Bananen");
    EXPECT_EQ(FoodEquivalentText(2850), "≈ 10,0 Stück Pizza · 27,1 Bananen");
}

TEST(RecalculateCalories, UsesOwnerWeightAgeAndRoundsHalfAway) {
    ProfileFixture f;
    f.profile().birthYear = 1995;
    f.profile().birthMonth = 6;
    f.profile().birthDay = 2;
    f.profile().weightKg = 70;
    Activity& a = f.Add(SportRun, At(2025, 6, 1), 10, 3600, 0);
    a.avgHr = 150;
    // Age 29 on 1 June 2025: male Keytel with age 29.
    ASSERT_TRUE(RecalculateCalories(f.db, a, CivilDate{2025, 6, 1}));
    const double expected = (-55.0969 + 0.6309 * 150 + 0.1988 * 70 + 0.2017 * 29) / 4.184 * 60;
    EXPECT_EQ(a.calories, std::round(expected));
    // The activity's own weight wins over the profile's.
    a.avgHr = 0;
    a.sport = SportOther;
    a.weightKg = 120.75;  // 6 MET x 120.75 kg x 1 h = 724.5 kcal
    RecalculateCalories(f.db, a, CivilDate{2025, 6, 1});
    EXPECT_EQ(a.calories, 725.0);
    a.weightKg = 120.748;  // 724.488 kcal
    RecalculateCalories(f.db, a, CivilDate{2025, 6, 1});
    EXPECT_EQ(a.calories, 724.0);
    // No duration: stored as 0.
    a.durationSec = 0;
    RecalculateCalories(f.db, a, CivilDate{2025, 6, 1});
    EXPECT_EQ(a.calories, 0.0);
}

TEST(RecalculateCalories, FallsBackToActiveProfileAndLeavesAloneWithoutProfiles) {
    ProfileFixture f;
    f.profile().weightKg = 80;
    Activity orphan;
    orphan.profileId = "gone";
    orphan.sport = SportOther;
    orphan.durationSec = 3600;
    ASSERT_TRUE(RecalculateCalories(f.db, orphan, CivilDate{2025, 1, 1}));
    EXPECT_EQ(orphan.calories, 480.0);  // 6 MET x 80 kg

    Database empty;
    orphan.calories = 123;
    EXPECT_FALSE(RecalculateCalories(empty, orphan, CivilDate{2025, 1, 1}));
    EXPECT_EQ(orphan.calories, 123.0);
}
