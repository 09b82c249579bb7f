// The tools page's logic without drawing: the stopwatch operations on the App,
// the pace calculator and the prediction reference.
#pragma once

#include <string>
#include <vector>

#include "science/stats.h"
#include "ui/pages_state.h"

struct App;

// "Start"/"Weiter" and "Pause": a running stopwatch keeps its time in the
// accumulated seconds when paused. Starting clicks (when sounds are on).
void StopwatchStartPause(App& app);
// Appends the elapsed time as a lap and clicks; only while running.
void StopwatchLap(App& app);
// Back to the initial state: stopped, no time, no laps, no distance.
void StopwatchReset(App& app);
// Stops the stopwatch and opens the activity editor on a new activity with its
// time, start, distance and lap splits (source "stopwatch"); then resets it.
// Nothing happens below 10 s.
void StopwatchSaveAsActivity(App& app);
constexpr double kStopwatchMinSaveSeconds = 10.0;

// "Runden: 1:00, 1:05, 1:05": the split of every lap (the first from 0).
std::string LapNotes(const std::vector<double>& laps);
// One turn per minute: (elapsed mod 60) / 60.
float StopwatchRingFraction(double elapsed);
// Whole tenths of the current second, 0..9.
int StopwatchTenths(double elapsed);
// "läuft", "pausiert" (time on it) or "bereit".
const char* StopwatchStateText(bool running, double elapsed);

// The calculator's third value from the other two (every frame); a zero divisor
// keeps the previous value.
void UpdatePaceCalculator(PaceCalculator& calc);
// A quick-pick distance chip shows selected within 1 m of its distance.
bool DistanceChipSelected(double distanceKm, double chipKm);

// The fastest run of at least 3 km (by pace): its distance and duration.
// False when the list has none.
bool FastestRunReference(const ActivityList& list, double* distanceKm, double* durationSec);
