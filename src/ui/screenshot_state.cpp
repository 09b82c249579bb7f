// STRIDELY_SCREENSHOT_STATE: opens an overlay right at start, so that the
// documentation screenshots (--screenshot) can show it.
#include <algorithm>
#include <string>

#include "app/app.h"
#include "science/motivation.h"
#include "ui/celebration.h"

void App::ShowScreenshotState(const std::string& state) {
    if (state == "stopwatch") {
        stopwatchRunning = false;
        stopwatchAccum = 1457.6;
        stopwatchLaps = {295.2, 583.9, 878.4, 1169.0};
        tools.stopwatchDistanceKm = 5.0;
        return;
    }
    if (state == "motivation") {
        OpenMotivation(false);
        return;
    }
    const Profile* p = ActiveProfile(db);
    if (!p) return;
    // The newest activity of the active profile, and the tracked one that
    // earned the most awards (the richest detail).
    const Activity* newest = nullptr;
    const Activity* newestTracked = nullptr;
    size_t mostAwards = 0;
    for (const Activity* a : ProfileActivities(db, *p)) {
        newest = a;
        if (a->track.size() < 2) continue;
        const size_t n = static_cast<size_t>(
            std::count_if(db.awards.begin(), db.awards.end(), [a](const Award& w) { return w.activityId == a->id; }));
        if (n >= mostAwards) {
            mostAwards = n;
            newestTracked = a;
        }
    }
    if (state == "editor") {
        NewActivity();
    } else if (state == "detail" && (newestTracked || newest)) {
        ShowActivity((newestTracked ? newestTracked : newest)->id);
    } else if (state == "celebration" && newest) {
        std::vector<Award> earned;
        for (const Award& a : db.awards)
            if (a.activityId == newest->id) earned.push_back(a);
        QueueCelebration(earned, RandomCheer());
        AdvanceCelebration(1.2f);  // texts and button in, the coin about to shine
    }
}
