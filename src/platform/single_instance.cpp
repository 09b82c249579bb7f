#include "platform/single_instance.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>

namespace platform {

namespace {

std::string LockPath(const std::string& dir) { return dir + "/stridely.lock"; }
std::string SocketPath(const std::string& dir) { return dir + "/stridely.sock"; }

bool FillAddress(const std::string& path, sockaddr_un& addr) {
    std::memset(&addr, 0, sizeof addr);
    addr.sun_family = AF_UNIX;
    if (path.size() >= sizeof addr.sun_path) return false;
    std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
    return true;
}

bool WriteAll(int fd, const std::string& text) {
    size_t off = 0;
    while (off < text.size()) {
        ssize_t n = ::send(fd, text.data() + off, text.size() - off, MSG_NOSIGNAL);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        off += static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

std::string InstanceDirectory(const std::string& fallback) {
    const char* run = std::getenv("XDG_RUNTIME_DIR");
    if (run && *run) return run;
    return fallback;
}

struct SingleInstance::Impl {
    int lockFd = -1;
    int listenFd = -1;
    int stopPipe[2] = {-1, -1};
    std::string dir;
    std::thread thread;
    std::mutex mutex;
    std::vector<std::string> messages;
};

SingleInstance::~SingleInstance() {
    Stop();
    if (impl_ && impl_->lockFd >= 0) ::close(impl_->lockFd);
    delete impl_;
}

bool SingleInstance::Acquire(const std::string& dir) {
    if (!impl_) impl_ = new Impl;
    impl_->dir = dir;
    ::mkdir(dir.c_str(), 0700);
    int fd = ::open(LockPath(dir).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return true;  // cannot lock at all: run rather than refuse to start
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    impl_->lockFd = fd;
    return true;
}

bool SingleInstance::Send(const std::string& dir, const std::vector<std::string>& lines) {
    sockaddr_un addr;
    if (!FillAddress(SocketPath(dir), addr)) return false;
    std::string text;
    for (const auto& l : lines) text += l + "\n";
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (true) {
        int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0) return false;
        if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0) {
            bool ok = WriteAll(fd, text);
            ::shutdown(fd, SHUT_WR);
            // Wait for the first instance to close: it has read everything then.
            char buf[16];
            pollfd p{fd, POLLIN, 0};
            while (::poll(&p, 1, 2000) > 0 && ::recv(fd, buf, sizeof buf, 0) > 0) {
            }
            ::close(fd);
            return ok;
        }
        ::close(fd);
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

bool SingleInstance::Listen(std::function<void()> onMessage) {
    if (!impl_ || impl_->listenFd >= 0) return false;
    sockaddr_un addr;
    std::string path = SocketPath(impl_->dir);
    if (!FillAddress(path, addr)) return false;
    ::unlink(path.c_str());  // a stale socket of a crashed run; we hold the lock
    int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(fd, 8) != 0) {
        ::close(fd);
        return false;
    }
    ::chmod(path.c_str(), 0600);
    if (::pipe2(impl_->stopPipe, O_CLOEXEC) != 0) {
        ::close(fd);
        return false;
    }
    impl_->listenFd = fd;
    Impl* impl = impl_;
    impl_->thread = std::thread([impl, onMessage] {
        while (true) {
            pollfd fds[2] = {{impl->listenFd, POLLIN, 0}, {impl->stopPipe[0], POLLIN, 0}};
            if (::poll(fds, 2, -1) < 0) {
                if (errno == EINTR) continue;
                return;
            }
            if (fds[1].revents) return;
            int c = ::accept4(impl->listenFd, nullptr, nullptr, SOCK_CLOEXEC);
            if (c < 0) continue;
            // Read one client's lines; a silent client is dropped after 2 s.
            std::string data;
            char buf[4096];
            pollfd p{c, POLLIN, 0};
            while (data.size() < (1u << 20) && ::poll(&p, 1, 2000) > 0) {
                ssize_t n = ::recv(c, buf, sizeof buf, 0);
                if (n <= 0) break;
                data.append(buf, static_cast<size_t>(n));
            }
            ::close(c);
            std::vector<std::string> lines;
            size_t start = 0;
            while (start < data.size()) {
                size_t nl = data.find('\n', start);
                if (nl == std::string::npos) nl = data.size();
                if (nl > start) lines.push_back(data.substr(start, nl - start));
                start = nl + 1;
            }
            if (lines.empty()) lines.push_back("show");
            {
                std::lock_guard lock(impl->mutex);
                for (auto& l : lines) impl->messages.push_back(std::move(l));
            }
            if (onMessage) onMessage();
        }
    });
    return true;
}

std::vector<std::string> SingleInstance::TakeMessages() {
    std::vector<std::string> out;
    if (!impl_) return out;
    std::lock_guard lock(impl_->mutex);
    out.swap(impl_->messages);
    return out;
}

void SingleInstance::Stop() {
    if (!impl_ || impl_->listenFd < 0) return;
    char b = 1;
    (void)!::write(impl_->stopPipe[1], &b, 1);
    if (impl_->thread.joinable()) impl_->thread.join();
    ::close(impl_->listenFd);
    ::close(impl_->stopPipe[0]);
    ::close(impl_->stopPipe[1]);
    ::unlink(SocketPath(impl_->dir).c_str());
    impl_->listenFd = -1;
}

}  // namespace platform
