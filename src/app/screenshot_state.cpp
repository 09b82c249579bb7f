#include "app/screenshot_state.h"

#include <string>

#include "app/app.h"

void ApplyScreenshotState(App& app, const char* state) {
    if (!state) return;
    const std::string s = state;
    if (s == "stopwatch") {
        app.stopwatchRunning = false;
        app.stopwatchAccum = 1457.6;
        app.stopwatchLaps = {295.2, 583.9, 878.4, 1169.0};
        app.tools.stopwatchDistanceKm = 5.0;
    } else if (s == "motivation") {
        app.OpenMotivation(false);
    }
}
