// Background jobs: work runs on its own detached thread, the completion runs
// later on the main thread at the start of a frame.
#pragma once

#include <functional>

struct BackgroundJob {
    std::function<void()> work;
    std::function<void()> done;  // may be empty
};

// Starts the job at once on a new detached thread. Returns false when no
// thread could be started; the job's done then runs on the next drain so
// that busy flags set by the starter are cleared again.
bool RunInBackground(std::function<void()> work, std::function<void()> done);

// Runs every completion queued so far, oldest first. Completions queued while
// draining wait for the next call.
void DrainUiQueue();

// Ends the frame loop's wait; safe from any thread.
void WakeUiThread();

// The shell installs how the loop is woken (an event pushed to the window's
// queue). Until then WakeUiThread does nothing.
void SetWakeHandler(std::function<void()> handler);
