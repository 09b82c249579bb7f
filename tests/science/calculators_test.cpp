#include "science/calculators.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(PaceCalculator, ConversionsAndDivisorsThatAreNotPositive) {
    EXPECT_DOUBLE_EQ(PaceFrom(1500, 5), 300.0);
    EXPECT_DOUBLE_EQ(TimeFrom(300, 42.195), 12658.5);
    EXPECT_DOUBLE_EQ(DistanceFrom(3000, 300), 10.0);
    EXPECT_DOUBLE_EQ(SpeedKmh(300), 12.0);
    EXPECT_EQ(PaceFrom(1500, 0), 0.0);
    EXPECT_EQ(PaceFrom(1500, -2), 0.0);
    EXPECT_EQ(DistanceFrom(3000, 0), 0.0);
    EXPECT_EQ(SpeedKmh(0), 0.0);
    EXPECT_EQ(PaceFrom(std::numeric_limits<double>::quiet_NaN(), 5), 0.0);
}

TEST(RacePrediction, Riegel) {
    EXPECT_NEAR(RiegelPrediction(5, 1500, 10), 3127.4, 0.1);
    EXPECT_NEAR(RiegelPrediction(10, 3000, 42.195), 3000 * std::pow(4.2195, 1.06), 1e-6);
    EXPECT_EQ(RiegelPrediction(0, 1500, 10), 0.0);
    EXPECT_EQ(RiegelPrediction(5, 0, 10), 0.0);
    EXPECT_EQ(RiegelPrediction(5, 1500, -10), 0.0);  // never a NaN
    EXPECT_EQ(RiegelPrediction(5, 1500, 0), 0.0);
}

TEST(Vo2max, Daniels) {
    EXPECT_EQ(Vo2maxDaniels(1.4, 600), 0.0);
    EXPECT_GT(Vo2maxDaniels(1.5, 300), 0.0);
    EXPECT_NEAR(Vo2maxDaniels(5, 1500), 38.31, 0.01);
    EXPECT_NEAR(Vo2maxDaniels(10, 2400), 51.94, 0.01);
    EXPECT_EQ(Vo2maxDaniels(5, 0), 0.0);
}

TEST(HeartRate, KarvonenZones) {
    EXPECT_DOUBLE_EQ(MaxHeartRate(30), 187.0);
    const std::vector<HeartRateZone> z = KarvonenZones(30, 60);
    ASSERT_EQ(z.size(), 5u);
    const int bounds[5][2] = {{124, 136}, {136, 149}, {149, 162}, {162, 174}, {174, 187}};
    const char* descriptions[] = {"Regeneration", "Grundlagenausdauer", "Aerob / Tempo",
                                  "Schwelle", "Maximal / VO2max"};
    const unsigned colors[] = {0x8E9AAF, 0x2EC4B6, 0x8AC926, 0xFFB703, 0xEF476F};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(z[i].name, "Zone " + std::to_string(i + 1));
        EXPECT_EQ(z[i].description, descriptions[i]);
        EXPECT_EQ(z[i].low, bounds[i][0]) << i;
        EXPECT_EQ(z[i].high, bounds[i][1]) << i;
        EXPECT_EQ(z[i].color, colors[i]);
    }
    // Halves round away from zero: age 25, rest 59 gives max 190.5 -> 191.
    EXPECT_EQ(KarvonenZones(25, 59)[4].high, 191);
}

TEST(Body, BmiClassesBmrAndIdealWeight) {
    EXPECT_NEAR(BodyMassIndex(178, 75), 23.67, 0.01);
    EXPECT_STREQ(BmiClass(BodyMassIndex(178, 75)), "Normalgewicht");
    EXPECT_EQ(BodyMassIndex(40, 75), 0.0);
    EXPECT_STREQ(BmiClass(0), "–");
    const std::pair<double, const char*> classes[] = {
        {18.49, "Untergewicht"}, {18.5, "Normalgewicht"}, {24.99, "Normalgewicht"},
        {25, "Übergewicht"},     {30, "Adipositas"},     {-3, "–"}};
    for (const auto& [bmi, name] : classes) EXPECT_STREQ(BmiClass(bmi), name) << bmi;

    Profile p;
    p.weightKg = 75;
    p.heightCm = 178;
    const std::pair<const char*, double> bmr[] = {
        {"m", 1717.5}, {"w", 1551.5}, {"d", 1634.5}, {"?", 1634.5}};
    for (const auto& [gender, kcal] : bmr) {
        p.gender = gender;
        EXPECT_DOUBLE_EQ(BasalMetabolicRate(p, 30), kcal) << gender;
    }
    EXPECT_DOUBLE_EQ(DailyEnergyNeed(1600), 2200.0);

    const auto [low, high] = IdealWeightRange(178);
    EXPECT_NEAR(low, 63.37, 0.01);
    EXPECT_NEAR(high, 79.21, 0.01);
    EXPECT_EQ(IdealWeightRange(40).second, 0.0);
}
