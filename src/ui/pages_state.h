// State of the activities and tools pages that lives in the App for the whole
// run (never saved): the list filters, the calculators' inputs and the distance
// typed for the stopwatch.
#pragma once

#include <string>

struct ActivitiesPageState {
    int activityRange = 0;   // ActivityRange: "Alle", "7 Tage", "30 Tage", "Dieses Jahr"
    int activitySport = -1;  // -1 all sports, else a Sport code
    std::string activitySearch;
};

// The pace calculator: two of distance, time and pace give the third.
struct PaceCalculator {
    int mode = 0;  // 0 "Pace berechnen", 1 "Zeit berechnen", 2 "Distanz berechnen"
    double distanceKm = 10.0;
    double timeSec = 3000.0;
    double paceSec = 300.0;  // s/km
};

struct ToolsState {
    double stopwatchDistanceKm = 0.0;
    PaceCalculator pace;
    // Race prediction reference; replaced once by the profile's fastest run
    // (App::toolsPrefilled says whether that happened).
    double predictDistanceKm = 5.0;
    double predictTimeSec = 1800.0;
};
