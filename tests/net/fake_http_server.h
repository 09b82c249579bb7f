// A tiny HTTP/1.1 server on 127.0.0.1 for tests: an ephemeral port, one thread per
// connection, keep-alive, and every wait bounded so that a broken test cannot hang.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

struct FakeRequest {
    std::string method;
    std::string target;  // path and query as sent
    std::vector<std::pair<std::string, std::string>> headers;  // in arrival order
    std::string body;

    // Value of the first header with this name (case-insensitive), empty when absent.
    std::string Header(std::string_view name) const;
    bool HasHeader(std::string_view name) const;
    // Position of the header in arrival order, -1 when absent.
    int HeaderIndex(std::string_view name) const;
};

class FakeConnection {
public:
    FakeConnection(int fd, const std::atomic<bool>& stopping, std::mutex& mutex, std::condition_variable& wake)
        : fd_(fd), stopping_(stopping), mutex_(mutex), wake_(wake) {}
    // Writes everything; false when the peer has gone.
    bool Send(std::string_view bytes);
    // Sleeps, but wakes early when the server shuts down.
    void Pause(std::chrono::milliseconds duration);
    // Ends the connection after this request instead of keeping it alive.
    void Close() { close_ = true; }
    bool Closing() const { return close_; }

private:
    int fd_;
    const std::atomic<bool>& stopping_;
    std::mutex& mutex_;
    std::condition_variable& wake_;
    bool close_ = false;
};

using FakeHandler = std::function<void(const FakeRequest&, FakeConnection&)>;

class FakeHttpServer {
public:
    explicit FakeHttpServer(FakeHandler handler);
    ~FakeHttpServer();
    FakeHttpServer(const FakeHttpServer&) = delete;
    FakeHttpServer& operator=(const FakeHttpServer&) = delete;

    int Port() const { return port_; }
    // "http://127.0.0.1:<port>" followed by the path.
    std::string Url(std::string_view path = "") const;
    std::vector<FakeRequest> Requests() const;
    int Connections() const { return connections_.load(); }

private:
    void AcceptLoop();
    void Serve(int fd);

    FakeHandler handler_;
    int listenFd_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::atomic<int> connections_{0};
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::vector<FakeRequest> requests_;
    std::vector<int> openFds_;
    std::vector<std::thread> workers_;
    std::thread acceptor_;
};

// A complete response with Content-Length.
std::string FakeReply(int status, std::string_view body, std::string_view extraHeaders = "",
                      std::string_view contentType = "application/json");

// A port on 127.0.0.1 that is bound but not listening: connecting is refused.
class RefusedPort {
public:
    RefusedPort();
    ~RefusedPort();
    int Port() const { return port_; }

private:
    int fd_ = -1;
    int port_ = 0;
};

// Sets an environment variable for the life of the object, restoring the old value.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value);
    ~ScopedEnv();

private:
    std::string name_;
    bool had_ = false;
    std::string old_;
};
