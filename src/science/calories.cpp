#include "science/calories.h"

#include <algorithm>
#include <cmath>

namespace {

double KeytelKjPerMin(int hr, double weightKg, int age, const std::string& sex) {
    const double female = -20.4022 + 0.4472 * hr - 0.1263 * weightKg + 0.074 * age;
    const double male = -55.0969 + 0.6309 * hr + 0.1988 * weightKg + 0.2017 * age;
    if (sex == "w") return female;
    if (sex == "m") return male;
    return (female + male) * 0.5;
}

double CyclingMet(double kmh) {
    if (kmh < 16.0) return 4.0;
    if (kmh < 19.0) return 6.8;
    if (kmh < 22.5) return 8.0;
    if (kmh < 25.5) return 10.0;
    if (kmh < 30.0) return 12.0;
    return 15.8;
}

}  // namespace

CalorieEstimate EstimateCalories(int sport, double distanceKm, double durationSec,
                                 double elevationGain, int avgHr, double weightKg, int ageYears,
                                 const std::string& sex) {
    CalorieEstimate out;
    // Values typed into the editor can be anything; a NaN would otherwise run
    // through every formula and end up as the stored calories.
    if (!std::isfinite(durationSec) || !std::isfinite(weightKg) || durationSec <= 0.0 ||
        weightKg <= 0.0)
        return out;
    if (!std::isfinite(distanceKm)) distanceKm = 0.0;
    if (!std::isfinite(elevationGain)) elevationGain = 0.0;

    const double hours = durationSec / 3600.0;
    const double minutes = durationSec / 60.0;

    if (avgHr >= 80 && avgHr <= 220) {
        const double kcalPerMin = KeytelKjPerMin(avgHr, weightKg, ageYears, sex) / 4.184;
        if (kcalPerMin > 0.0) {
            out.kcal = kcalPerMin * minutes;
            out.met = out.kcal / (hours * weightKg);
            out.method = "Herzfrequenz (Keytel)";
            return out;
        }
        // A result of zero or less falls through to the sport's MET method.
    }

    const double v = distanceKm > 0.0 ? distanceKm * 1000.0 / minutes : 0.0;  // m/min
    double grade = 0.0;
    if (distanceKm > 0.1) grade = std::clamp(elevationGain / (distanceKm * 1000.0), 0.0, 0.25);

    double met = 0.0;
    const char* label = nullptr;
    switch (sport) {
        case SportRun:
            if (v <= 0.0) {
                met = 8.0;
            } else {
                met = (0.2 * v + 0.9 * v * grade + 3.5) / 3.5;
                label = "ACSM-Laufgleichung";
            }
            break;
        case SportWalk:
        case SportHike:
            if (v <= 0.0) {
                met = sport == SportHike ? 6.0 : 3.5;
            } else {
                met = (0.1 * v + 1.8 * v * grade + 3.5) / 3.5 * (sport == SportHike ? 1.15 : 1.0);
                label = "ACSM-Gehgleichung";
            }
            break;
        case SportBike:
            met = CyclingMet(distanceKm / std::max(hours, 0.000001));
            label = "MET nach Geschwindigkeit";
            break;
        case SportSwim:
            if (distanceKm <= 0.0) {
                met = 7.0;
            } else {
                const double per100m = durationSec / (distanceKm * 10.0);
                met = per100m > 180.0 ? 5.8 : per100m > 130.0 ? 8.3 : 10.0;
            }
            label = "MET nach Tempo";
            break;
        default:
            met = 6.0;
            label = "MET (moderat)";
            break;
    }
    out.met = met;
    out.method = label ? label : "MET-Schätzung";
    out.kcal = met * weightKg * hours;
    return out;
}

double PizzaSlices(double kcal) { return kcal / 285.0; }
double Bananas(double kcal) { return kcal / 105.0; }

std::string FoodEquivalentText(double kcal) {
    return "≈ " + FormatNumber(PizzaSlices(kcal), 1) + " Stück Pizza · " +
           FormatNumber(Bananas(kcal), 1) + " Bananen";
}

bool RecalculateCalories(Database& db, Activity& activity, const CivilDate& today) {
    const Profile* p = FindProfile(db, activity.profileId);
    if (!p) p = ActiveProfile(db);
    if (!p) return false;
    const double weight = activity.weightKg > 0.0 ? activity.weightKg : p->weightKg;
    const CalorieEstimate e =
        EstimateCalories(activity.sport, activity.distanceKm, activity.durationSec,
                         activity.elevationGain, activity.avgHr, weight,
                         ProfileAgeOn(*p, today.year, today.month, today.day), p->gender);
    activity.calories = std::round(e.kcal);  // halves away from zero
    return true;
}

bool RecalculateCalories(Database& db, Activity& activity) {
    return RecalculateCalories(db, activity, Today());
}
