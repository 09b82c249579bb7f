#include "app/jobs.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

namespace {
// Drains until pred holds or two seconds pass.
template <class Pred>
bool DrainUntil(Pred pred) {
    for (int i = 0; i < 400; ++i) {
        DrainUiQueue();
        if (pred()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}
}  // namespace

TEST(Jobs, CompletionRunsOnDrainingThreadWithResult) {
    std::atomic<int> wakes{0};
    SetWakeHandler([&] { ++wakes; });
    auto result = std::make_shared<int>(0);
    std::thread::id doneThread;
    bool done = false;
    ASSERT_TRUE(RunInBackground([result] { *result = 42; },
                                [result, &done, &doneThread] {
                                    EXPECT_EQ(*result, 42);
                                    doneThread = std::this_thread::get_id();
                                    done = true;
                                }));
    ASSERT_TRUE(DrainUntil([&] { return done; }));
    EXPECT_EQ(doneThread, std::this_thread::get_id());
    // The worker wakes the loop right after queueing, which may be just after
    // the drain already ran the completion.
    for (int i = 0; i < 400 && wakes.load() == 0; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_GE(wakes.load(), 1);
    SetWakeHandler(nullptr);
}

TEST(Jobs, ManyJobsEachCompleteOnceAndCompletionsMayStartJobs) {
    const int n = 32;
    int completed = 0, chained = 0;
    for (int i = 0; i < n; ++i) {
        RunInBackground([] {}, [&] {
            ++completed;
            // A completion may start another job without deadlock.
            RunInBackground([] {}, [&] { ++chained; });
        });
    }
    ASSERT_TRUE(DrainUntil([&] { return completed == n && chained == n; }));
    DrainUiQueue();
    EXPECT_EQ(completed, n);
    EXPECT_EQ(chained, n);
}

TEST(Jobs, JobWithoutCompletionStillRuns) {
    std::atomic<bool> ran{false};
    RunInBackground([&] { ran = true; }, nullptr);
    for (int i = 0; i < 400 && !ran; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_TRUE(ran.load());
}

TEST(Jobs, GenerationNumberDropsStaleResults) {
    // The convention every overlapping job follows: only the newest applies.
    int generation = 0;
    std::vector<int> applied;
    auto start = [&](int value, int delayMs) {
        int gen = ++generation;
        auto res = std::make_shared<int>(0);
        RunInBackground(
            [res, value, delayMs] {
                std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
                *res = value;
            },
            [&, res, gen] {
                if (gen == generation) applied.push_back(*res);
            });
    };
    start(1, 150);  // slow first request
    start(2, 0);    // newer request finishes first
    ASSERT_TRUE(DrainUntil([&] { return !applied.empty(); }));
    std::this_thread::sleep_for(std::chrono::milliseconds(250));
    DrainUiQueue();
    EXPECT_EQ(applied, std::vector<int>{2});
}
