// Energy estimate of an activity: Keytel heart-rate equations when a plausible
// average heart rate is known, otherwise a MET value from sport and speed.
#pragma once

#include <string>

#include "model/format.h"
#include "model/records.h"

struct CalorieEstimate {
    double kcal = 0.0;   // whole activity, not rounded
    double met = 0.0;    // MET used; for the heart-rate method kcal / (hours * kg)
    const char* method = "";  // label of the method, empty when nothing was estimated
};

// sex: "m", "w", anything else is treated like "d" (mean of both equations).
// Impossible input (no duration, no weight, values that are not numbers) gives 0 kcal.
CalorieEstimate EstimateCalories(int sport, double distanceKm, double durationSec,
                                 double elevationGain, int avgHr, double weightKg, int ageYears,
                                 const std::string& sex);

// Food comparison shown under a kcal figure: "≈ %s Stück Pizza · %s Bananen".
double PizzaSlices(double kcal);
double Bananas(double kcal);
std::string FoodEquivalentText(double kcal);

// Stores the rounded estimate in the activity's calories, using its owning
// profile (else the active one); does nothing when no profile exists. Does not
// look at caloriesManual: the caller decides. Returns whether it calculated.
// `today` is the local date the age is taken on.
bool RecalculateCalories(Database& db, Activity& activity, const CivilDate& today);
bool RecalculateCalories(Database& db, Activity& activity);
