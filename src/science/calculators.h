// Training calculators of the tools page and the body values of the profile:
// pace conversion, race prediction, VO2max, heart-rate zones, BMI and BMR.
// Pure; impossible input returns 0 instead of failing.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "model/records.h"

struct HeartRateZone {
    std::string name;
    std::string description;
    int low = 0;   // bpm
    int high = 0;  // bpm
    unsigned color = 0;  // 0xRRGGBB
};

// 0 when the divisor is not positive; the tools page then keeps its previous value.
double PaceFrom(double timeSec, double distanceKm);
double TimeFrom(double paceSecPerKm, double distanceKm);
double DistanceFrom(double timeSec, double paceSecPerKm);
double SpeedKmh(double paceSecPerKm);

// Riegel: T2 = T1 * (D2 / D1)^1.06.
double RiegelPrediction(double refDistanceKm, double refTimeSec, double targetDistanceKm);
// Daniels' VDOT from one race; 0 below 1.5 km.
double Vo2maxDaniels(double distanceKm, double timeSec);
double MaxHeartRate(int age);  // 208 - 0.7 * age
std::vector<HeartRateZone> KarvonenZones(int age, int restingHr);

double BodyMassIndex(double heightCm, double weightKg);
const char* BmiClass(double bmi);
// Mifflin-St Jeor, kcal per day.
double BasalMetabolicRate(const Profile& profile, int age);
double BasalMetabolicRate(const Profile& profile);  // age on today's date
double DailyEnergyNeed(double basalRate);           // lightly active: 1.375 x
// Weights for BMI 20 to 25 (kg); (0, 0) for heights of 50 cm or less.
std::pair<double, double> IdealWeightRange(double heightCm);
