#include "platform/single_instance.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

namespace {

std::string TempDir() {
    char tmpl[] = "/tmp/stridely-si-XXXXXX";
    return mkdtemp(tmpl);
}

// Runs fn in a child process and returns its exit code: a flock is per open
// file, so a second instance must be a second process to be realistic.
int InChild(const std::function<int()>& fn) {
    pid_t pid = fork();
    if (pid == 0) _exit(fn());
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

TEST(SingleInstance, SecondProcessHandsOverAndFirstReceives) {
    std::string dir = TempDir();
    platform::SingleInstance first;
    ASSERT_TRUE(first.Acquire(dir));
    std::atomic<int> calls{0};
    ASSERT_TRUE(first.Listen([&] { ++calls; }));

    int code = InChild([&] {
        platform::SingleInstance second;
        if (second.Acquire(dir)) return 10;  // must not get the lock
        return platform::SingleInstance::Send(dir, {"show", "open /tmp/a.gpx"}) ? 0 : 11;
    });
    EXPECT_EQ(code, 0);
    for (int i = 0; i < 200 && calls == 0; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(calls.load(), 1);
    auto msgs = first.TakeMessages();
    ASSERT_EQ(msgs.size(), 2u);
    EXPECT_EQ(msgs[0], "show");
    EXPECT_EQ(msgs[1], "open /tmp/a.gpx");
    EXPECT_TRUE(first.TakeMessages().empty());
    first.Stop();
    std::filesystem::remove_all(dir);
}

TEST(SingleInstance, LockIsFreedWhenHolderEnds) {
    std::string dir = TempDir();
    // A child takes the lock and dies without cleaning up (stale socket file).
    EXPECT_EQ(InChild([&] {
                  platform::SingleInstance a;
                  if (!a.Acquire(dir) || !a.Listen(nullptr)) return 1;
                  _exit(0);
              }),
              0);
    platform::SingleInstance b;
    EXPECT_TRUE(b.Acquire(dir));
    EXPECT_TRUE(b.Listen(nullptr));  // replaces the stale socket
    b.Stop();
    std::filesystem::remove_all(dir);
}

TEST(SingleInstance, SendWithoutListenerGivesUp) {
    std::string dir = TempDir();
    auto t0 = std::chrono::steady_clock::now();
    EXPECT_FALSE(platform::SingleInstance::Send(dir, {"show"}));
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(8));
    std::filesystem::remove_all(dir);
}
