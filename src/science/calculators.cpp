#include "science/calculators.h"

#include <cmath>

namespace {

bool Positive(double x) { return std::isfinite(x) && x > 0.0; }

int RoundHalfAway(double x) { return static_cast<int>(std::lround(x)); }

}  // namespace

double PaceFrom(double timeSec, double distanceKm) {
    return Positive(distanceKm) && std::isfinite(timeSec) ? timeSec / distanceKm : 0.0;
}

double TimeFrom(double paceSecPerKm, double distanceKm) {
    const double t = paceSecPerKm * distanceKm;
    return std::isfinite(t) ? t : 0.0;
}

double DistanceFrom(double timeSec, double paceSecPerKm) {
    return Positive(paceSecPerKm) && std::isfinite(timeSec) ? timeSec / paceSecPerKm : 0.0;
}

double SpeedKmh(double paceSecPerKm) {
    return Positive(paceSecPerKm) ? 3600.0 / paceSecPerKm : 0.0;
}

double RiegelPrediction(double refDistanceKm, double refTimeSec, double targetDistanceKm) {
    // A negative target would make the power a NaN.
    if (!Positive(refDistanceKm) || !Positive(refTimeSec) || !Positive(targetDistanceKm))
        return 0.0;
    return refTimeSec * std::pow(targetDistanceKm / refDistanceKm, 1.06);
}

double Vo2maxDaniels(double distanceKm, double timeSec) {
    if (!(distanceKm >= 1.5) || !Positive(timeSec) || !std::isfinite(distanceKm)) return 0.0;
    const double t = timeSec / 60.0;
    const double v = distanceKm * 1000.0 / t;
    const double fraction =
        0.8 + 0.1894393 * std::exp(-0.012778 * t) + 0.2989558 * std::exp(-0.1932605 * t);
    if (!(fraction > 0.0)) return 0.0;
    const double vo2 = -4.6 + 0.182258 * v + 0.000104 * v * v;
    return vo2 / fraction;
}

double MaxHeartRate(int age) { return 208.0 - 0.7 * age; }

std::vector<HeartRateZone> KarvonenZones(int age, int restingHr) {
    const double max = MaxHeartRate(age);
    const double rest = restingHr;
    const double r = max - rest;
    auto at = [&](double f) { return RoundHalfAway(rest + f * r); };
    return {
        {"Zone 1", "Regeneration", at(0.5), at(0.6), 0x8E9AAF},
        {"Zone 2", "Grundlagenausdauer", at(0.6), at(0.7), 0x2EC4B6},
        {"Zone 3", "Aerob / Tempo", at(0.7), at(0.8), 0x8AC926},
        {"Zone 4", "Schwelle", at(0.8), at(0.9), 0xFFB703},
        {"Zone 5", "Maximal / VO2max", at(0.9), RoundHalfAway(max), 0xEF476F},
    };
}

double BodyMassIndex(double heightCm, double weightKg) {
    const double h = heightCm / 100.0;
    if (!(h > 0.5) || !std::isfinite(h) || !std::isfinite(weightKg)) return 0.0;
    return weightKg / (h * h);
}

const char* BmiClass(double bmi) {
    if (!(bmi > 0.0)) return "–";
    if (bmi < 18.5) return "Untergewicht";
    if (bmi < 25.0) return "Normalgewicht";
    if (bmi < 30.0) return "Übergewicht";
    return "Adipositas";
}

double BasalMetabolicRate(const Profile& profile, int age) {
    const double base = 10.0 * profile.weightKg + 6.25 * profile.heightCm - 5.0 * age;
    if (profile.gender == "w") return base - 161.0;
    if (profile.gender == "m") return base + 5.0;
    return base - 78.0;
}

double BasalMetabolicRate(const Profile& profile) {
    return BasalMetabolicRate(profile, ProfileAge(profile));
}

double DailyEnergyNeed(double basalRate) { return 1.375 * basalRate; }

std::pair<double, double> IdealWeightRange(double heightCm) {
    const double h = heightCm / 100.0;
    if (!(h > 0.5) || !std::isfinite(h)) return {0.0, 0.0};
    return {20.0 * h * h, 25.0 * h * h};
}
