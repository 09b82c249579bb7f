#include "fake_http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <stdexcept>

namespace {

constexpr int kPollMs = 50;
constexpr auto kIdleLimit = std::chrono::seconds(10);

// Requests to the fake servers must never go through a proxy from the environment.
const bool kNoProxy = [] {
    setenv("NO_PROXY", "127.0.0.1,localhost", 1);
    setenv("no_proxy", "127.0.0.1,localhost", 1);
    return true;
}();

bool EqualNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

std::string Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return std::string(s);
}

const char* Reason(int status) {
    switch (status) {
        case 200: return "OK";
        case 301: return "Moved Permanently";
        case 302: return "Found";
        case 404: return "Not Found";
        case 429: return "Too Many Requests";
        case 500: return "Internal Server Error";
        case 503: return "Service Unavailable";
        default: return "Status";
    }
}

}  // namespace

std::string FakeRequest::Header(std::string_view name) const {
    int i = HeaderIndex(name);
    return i < 0 ? std::string() : headers[static_cast<std::size_t>(i)].second;
}

bool FakeRequest::HasHeader(std::string_view name) const { return HeaderIndex(name) >= 0; }

int FakeRequest::HeaderIndex(std::string_view name) const {
    for (std::size_t i = 0; i < headers.size(); ++i)
        if (EqualNoCase(headers[i].first, name)) return static_cast<int>(i);
    return -1;
}

bool FakeConnection::Send(std::string_view bytes) {
    while (!bytes.empty()) {
        if (stopping_.load()) return false;
        ssize_t n = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

void FakeConnection::Pause(std::chrono::milliseconds duration) {
    std::unique_lock<std::mutex> lock(mutex_);
    wake_.wait_for(lock, duration, [&] { return stopping_.load(); });
}

FakeHttpServer::FakeHttpServer(FakeHandler handler) : handler_(std::move(handler)) {
    (void)kNoProxy;
    listenFd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listenFd_ < 0) throw std::runtime_error("socket");
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    if (::bind(listenFd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(listenFd_, 64) != 0) {
        ::close(listenFd_);
        throw std::runtime_error("bind/listen");
    }
    socklen_t len = sizeof addr;
    ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&addr), &len);
    port_ = ntohs(addr.sin_port);
    acceptor_ = std::thread([this] { AcceptLoop(); });
}

FakeHttpServer::~FakeHttpServer() {
    stopping_.store(true);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (int fd : openFds_) ::shutdown(fd, SHUT_RDWR);
    }
    wake_.notify_all();
    acceptor_.join();
    std::vector<std::thread> workers;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        workers.swap(workers_);
    }
    for (auto& t : workers) t.join();
    ::close(listenFd_);
}

std::string FakeHttpServer::Url(std::string_view path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + std::string(path);
}

std::vector<FakeRequest> FakeHttpServer::Requests() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
}

void FakeHttpServer::AcceptLoop() {
    while (!stopping_.load()) {
        pollfd p{listenFd_, POLLIN, 0};
        if (::poll(&p, 1, kPollMs) <= 0) continue;
        int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) continue;
        timeval timeout{10, 0};  // a client that stops reading cannot block a send for long
        ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
        connections_.fetch_add(1);
        std::lock_guard<std::mutex> lock(mutex_);
        openFds_.push_back(fd);
        workers_.emplace_back([this, fd] { Serve(fd); });
    }
}

void FakeHttpServer::Serve(int fd) {
    std::string buffer;
    FakeConnection connection(fd, stopping_, mutex_, wake_);
    auto lastActivity = std::chrono::steady_clock::now();
    // Reads until at least `want` bytes are buffered; false on close, stop or idle limit.
    auto fill = [&](std::size_t want) {
        char chunk[65536];
        while (buffer.size() < want) {
            if (stopping_.load() || std::chrono::steady_clock::now() - lastActivity > kIdleLimit) return false;
            pollfd p{fd, POLLIN, 0};
            if (::poll(&p, 1, kPollMs) <= 0) continue;
            ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
            if (n <= 0) return false;
            buffer.append(chunk, static_cast<std::size_t>(n));
            lastActivity = std::chrono::steady_clock::now();
        }
        return true;
    };
    while (!connection.Closing()) {
        std::size_t end;
        while ((end = buffer.find("\r\n\r\n")) == std::string::npos)
            if (!fill(buffer.size() + 1)) goto done;
        {
            FakeRequest request;
            std::string head = buffer.substr(0, end);
            buffer.erase(0, end + 4);
            std::size_t lineEnd = head.find("\r\n");
            std::string requestLine = head.substr(0, lineEnd);
            std::size_t s1 = requestLine.find(' '), s2 = requestLine.rfind(' ');
            if (s1 == std::string::npos || s2 == s1) break;
            request.method = requestLine.substr(0, s1);
            request.target = requestLine.substr(s1 + 1, s2 - s1 - 1);
            std::size_t pos = lineEnd == std::string::npos ? head.size() : lineEnd + 2;
            while (pos < head.size()) {
                std::size_t next = head.find("\r\n", pos);
                if (next == std::string::npos) next = head.size();
                std::string line = head.substr(pos, next - pos);
                std::size_t colon = line.find(':');
                if (colon != std::string::npos)
                    request.headers.emplace_back(line.substr(0, colon), Trim(std::string_view(line).substr(colon + 1)));
                pos = next + 2;
            }
            std::size_t length = 0;
            if (request.HasHeader("Content-Length")) length = std::stoul(request.Header("Content-Length"));
            if (!fill(length)) break;
            request.body = buffer.substr(0, length);
            buffer.erase(0, length);
            {
                std::lock_guard<std::mutex> lock(mutex_);
                requests_.push_back(request);
            }
            handler_(request, connection);
        }
    }
done:
    {
        std::lock_guard<std::mutex> lock(mutex_);
        openFds_.erase(std::remove(openFds_.begin(), openFds_.end(), fd), openFds_.end());
    }
    ::close(fd);
}

std::string FakeReply(int status, std::string_view body, std::string_view extraHeaders, std::string_view contentType) {
    std::string reply = "HTTP/1.1 " + std::to_string(status) + " " + Reason(status) + "\r\n";
    if (!contentType.empty()) reply += "Content-Type: " + std::string(contentType) + "\r\n";
    reply += "Content-Length: " + std::to_string(body.size()) + "\r\n";
    reply += std::string(extraHeaders);
    reply += "\r\n";
    reply += body;
    return reply;
}

RefusedPort::RefusedPort() {
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (fd_ < 0 || ::bind(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0)
        throw std::runtime_error("bind");
    socklen_t len = sizeof addr;
    ::getsockname(fd_, reinterpret_cast<sockaddr*>(&addr), &len);
    port_ = ntohs(addr.sin_port);
}

RefusedPort::~RefusedPort() { ::close(fd_); }

ScopedEnv::ScopedEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) {
        had_ = true;
        old_ = old;
    }
    setenv(name, value.c_str(), 1);
}

ScopedEnv::~ScopedEnv() {
    if (had_) setenv(name_.c_str(), old_.c_str(), 1);
    else unsetenv(name_.c_str());
}
