#include "app/jobs.h"

#include <deque>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

namespace {

// Leaked on purpose: a worker may still finish while the process exits, and
// must then find a valid queue and handler.
struct Shared {
    std::mutex mutex;
    std::deque<std::function<void()>> queue;
    std::mutex wakeMutex;
    std::function<void()> wake;
};

Shared& S() {
    static Shared* s = new Shared;
    return *s;
}

void Enqueue(std::function<void()> done) {
    {
        std::lock_guard lock(S().mutex);
        S().queue.push_back(std::move(done));
    }
    WakeUiThread();
}

}  // namespace

bool RunInBackground(std::function<void()> work, std::function<void()> done) {
    auto job = std::make_unique<BackgroundJob>(BackgroundJob{std::move(work), std::move(done)});
    BackgroundJob* raw = job.get();
    try {
        std::thread([raw] {
            std::unique_ptr<BackgroundJob> owned(raw);
            if (owned->work) owned->work();
            if (owned->done) Enqueue(std::move(owned->done));
        }).detach();
        job.release();  // the thread owns it now
        return true;
    } catch (const std::system_error&) {
        // No thread: the completion still runs so busy flags come back.
        if (job->done) Enqueue(std::move(job->done));
        return false;
    }
}

void DrainUiQueue() {
    std::deque<std::function<void()>> local;
    {
        std::lock_guard lock(S().mutex);
        local.swap(S().queue);
    }
    for (auto& fn : local)
        if (fn) fn();
}

void WakeUiThread() {
    std::function<void()> wake;
    {
        std::lock_guard lock(S().wakeMutex);
        wake = S().wake;
    }
    if (wake) wake();
}

void SetWakeHandler(std::function<void()> handler) {
    std::lock_guard lock(S().wakeMutex);
    S().wake = std::move(handler);
}
