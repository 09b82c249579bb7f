// One running program per user: the first start holds a lock and listens on a
// Unix socket; a later start hands its request over and exits.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace platform {

// Directory for the lock and the socket: $XDG_RUNTIME_DIR, else the fallback.
std::string InstanceDirectory(const std::string& fallback);

class SingleInstance {
public:
    SingleInstance() = default;
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when this process is the first instance (the lock is ours).
    bool Acquire(const std::string& dir);

    // Second instance: sends the lines to the first one. Retries for a short
    // while because the first may still be starting its listener.
    static bool Send(const std::string& dir, const std::vector<std::string>& lines);

    // First instance: starts the listener thread. Every received line is
    // stored; onMessage (any thread) is called after each connection.
    bool Listen(std::function<void()> onMessage);

    // Lines received so far, oldest first; clears them.
    std::vector<std::string> TakeMessages();

    void Stop();

private:
    struct Impl;
    Impl* impl_ = nullptr;
};

}  // namespace platform
