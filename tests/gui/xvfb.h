// Test support: a private Xvfb display and child processes of the real binary.
#pragma once

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace testgui {

inline std::string MakeTempDir(const char* tag) {
    std::string t = std::string("/tmp/stridely-") + tag + "-XXXXXX";
    std::vector<char> buf(t.begin(), t.end());
    buf.push_back('\0');
    return mkdtemp(buf.data());
}

// Spawns argv with the current environment plus `env`; returns the pid.
inline pid_t Spawn(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env) {
    std::map<std::string, std::string> all;
    for (char** e = environ; *e; ++e) {
        std::string kv = *e;
        auto eq = kv.find('=');
        if (eq != std::string::npos) all[kv.substr(0, eq)] = kv.substr(eq + 1);
    }
    for (const auto& [k, v] : env) all[k] = v;
    // In sanitizer builds the real binary would report the one-off allocations
    // that X11, D-Bus and the GL driver never free; our own code's leaks are
    // found by the in-process tests.
    std::string& asan = all["ASAN_OPTIONS"];
    asan += asan.empty() ? "detect_leaks=0" : ":detect_leaks=0";
    std::vector<std::string> envs;
    for (const auto& [k, v] : all) envs.push_back(k + "=" + v);
    std::vector<char*> a, e;
    for (const auto& s : argv) a.push_back(const_cast<char*>(s.c_str()));
    a.push_back(nullptr);
    for (const auto& s : envs) e.push_back(const_cast<char*>(s.c_str()));
    e.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawnp(&pid, a[0], nullptr, nullptr, a.data(), e.data()) != 0) return -1;
    return pid;
}

// Waits for the child; returns its exit code, or -1 on timeout / signal.
inline int WaitExit(pid_t pid, double seconds) {
    auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end) {
        int status = 0;
        pid_t r = waitpid(pid, &status, WNOHANG);
        if (r == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return -1;
}

// Captures a command's standard output (no shell quoting needed for our uses).
inline std::string Capture(const std::string& cmd) {
    std::string out;
    if (FILE* p = popen(cmd.c_str(), "r")) {
        char buf[512];
        size_t n;
        while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
        pclose(p);
    }
    return out;
}

// A private X display for the lifetime of the object.
class Xvfb {
public:
    explicit Xvfb(const char* screen = "1600x1000x24") {
        int fds[2];
        if (pipe(fds) != 0) return;
        std::string fd = std::to_string(fds[1]);
        std::vector<std::string> argv{"Xvfb", "-displayfd", fd, "-screen", "0", screen, "-nolisten", "tcp"};
        pid_ = Spawn(argv, {});
        close(fds[1]);
        std::string num;
        char c;
        // Xvfb writes the display number once it accepts clients.
        while (read(fds[0], &c, 1) == 1 && c != '\n') num += c;
        close(fds[0]);
        if (!num.empty()) display_ = ":" + num;
    }
    ~Xvfb() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }
    const std::string& Display() const { return display_; }
    bool Ok() const { return !display_.empty(); }

private:
    pid_t pid_ = -1;
    std::string display_;
};

}  // namespace testgui
