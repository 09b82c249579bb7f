// Full-screen award celebration: a process-wide queue of awards shown one after
// the other with a spinning medallion, rays, confetti and a fanfare.
#pragma once

#include <string>
#include <vector>

#include "model/records.h"

// Queues awards for celebration: medals before milestones, lower tiers first,
// at most six per call. While a celebration runs the new awards go behind the
// current ones. An empty list does nothing. The headline shows under the first entry.
void QueueCelebration(const std::vector<Award>& awards, const std::string& headline);
// True while an entry of the queue is still to be shown.
bool IsCelebrating();
// Draws the celebration on top of everything; once per frame, after every page
// and overlay.
void DrawCelebration(bool sounds, bool animations);

// Moves the clock of the entry being shown forward (documentation screenshots
// start mid-animation).
void AdvanceCelebration(float seconds);

// Read-only view of the queue for tests.
struct CelebrationView {
    const std::vector<Award>& entries;
    size_t position;
    float t;
    bool burstDone;
    const std::string& headline;
};
CelebrationView CelebrationState();
// Drops the queue and its confetti (tests start from a clean state).
void ResetCelebration();
