#include "model/storage.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <fcntl.h>
#include <pwd.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "model/datafile.h"

namespace {

constexpr const char* kDataFile = "data.json";
constexpr const char* kDamagedFile = "data.defekt.json";
constexpr off_t kMapAbove = 1 << 20;

// Creates dir and its missing parents with mode 0700. Existing folders are
// left as they are.
void MakeDirectories(const std::string& dir) {
    if (dir.empty()) return;
    for (size_t pos = 1; pos <= dir.size(); ++pos) {
        if (pos < dir.size() && dir[pos] != '/') continue;
        const std::string part = dir.substr(0, pos);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return;
    }
}

std::string HomeDirectory() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) return pw->pw_dir;
    return {};
}

bool WriteAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t n = write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

std::string DirectoryOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// Makes the rename itself durable. File systems that cannot flush a directory
// (EINVAL) are taken as done: the data are already on disk.
bool SyncDirectory(const std::string& dir) {
    const int fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = fsync(fd) == 0 || errno == EINVAL;
    close(fd);
    return ok;
}

}  // namespace

std::string DataDirectory() {
    std::string dir;
    if (const char* env = std::getenv("STRIDELY_DATA_DIR")) {
        const size_t len = std::strlen(env);
        if (len >= 1 && len <= 4095) dir = env;
    }
    if (dir.empty()) {
        // The XDG rule: only an absolute XDG_DATA_HOME counts.
        const char* xdg = std::getenv("XDG_DATA_HOME");
        if (xdg && xdg[0] == '/') {
            dir = JoinPath(xdg, "Stridely");
        } else {
            dir = JoinPath(HomeDirectory(), ".local/share/Stridely");
        }
    }
    MakeDirectories(dir);
    return dir;
}

std::string JoinPath(const std::string& dir, const std::string& name) {
    if (dir.empty()) return name;
    if (dir.back() == '/') return dir + name;
    return dir + "/" + name;
}

namespace {

bool ReadAll(const std::string& path, std::string& out) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    size_t size = 1 << 16;
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) size = static_cast<size_t>(st.st_size) + 1;
    std::string data(size, '\0');
    size_t len = 0;
    bool ok = true;
    // Read until the end rather than trusting the size: the file may grow meanwhile.
    for (;;) {
        if (len == data.size()) data.resize(data.size() * 2);
        const ssize_t n = read(fd, data.data() + len, data.size() - len);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        len += static_cast<size_t>(n);
    }
    close(fd);
    if (!ok) return false;
    data.resize(len);
    out = std::move(data);
    return true;
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::string& out) {
    try {
        return ReadAll(path, out);
    } catch (const std::exception&) {
        return false;  // a file too big for memory
    }
}

bool WriteWholeFile(const std::string& path, const std::string& data) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    // What is written here (backups, the damaged-file copy) holds tokens; an
    // older file of the same name may have been readable by others.
    if (fchmod(fd, 0600) != 0) {
        // Not our file to change (another owner): the write itself may still work.
    }
    const bool written = WriteAll(fd, data.data(), data.size());
    const bool closed = close(fd) == 0;
    return written && closed;
}

bool LoadDatabase(const std::string& path, Database& db) {
    // A large file is mapped rather than read: copying it into fresh memory
    // costs more than parsing it. Saves replace the file by rename and never
    // shrink it in place, so the mapping stays whole while it is read.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size >= kMapAbove) {
        const auto size = static_cast<size_t>(st.st_size);
        void* map = mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
        close(fd);
        if (map != MAP_FAILED) {
            const bool ok = ParseDatabase(static_cast<const char*>(map), size, db);
            munmap(map, size);
            return ok;
        }
    } else {
        close(fd);
    }
    std::string text;
    if (!ReadWholeFile(path, text)) return false;
    return ParseDatabase(text, db);
}

bool SaveDatabase(const Database& db, const std::string& path) {
    const std::string tmp = path + ".tmp";
    // A temporary file left by a crashed run is replaced, never written
    // through: it might be a link pointing elsewhere.
    unlink(tmp.c_str());
    const int fd = open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    bool ok = fchmod(fd, 0600) == 0;  // exactly 0600 whatever the umask: it holds tokens
    if (ok) {
        try {
            ok = StreamDatabase(db, [fd](const char* data, size_t size) { return WriteAll(fd, data, size); });
        } catch (const std::exception&) {
            ok = false;  // out of memory for the write buffer
        }
    }
    ok = ok && fsync(fd) == 0;
    ok = (close(fd) == 0) && ok;
    ok = ok && rename(tmp.c_str(), path.c_str()) == 0;
    if (!ok) {
        unlink(tmp.c_str());
        return false;
    }
    return SyncDirectory(DirectoryOf(path));
}

bool WriteDatabaseFile(const Database& db, const std::string& path) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    if (fchmod(fd, 0600) != 0) {
        // Not our file to change: the write itself may still work.
    }
    bool ok = false;
    try {
        ok = StreamDatabase(db, [fd](const char* data, size_t size) { return WriteAll(fd, data, size); });
    } catch (const std::exception&) {
        ok = false;
    }
    return (close(fd) == 0) && ok;
}

StartupLoadResult StartupLoad(const std::string& dir, Database& db) {
    const std::string path = JoinPath(dir, kDataFile);
    Database loaded;
    if (LoadDatabase(path, loaded)) {
        db = std::move(loaded);
        return StartupLoadResult::Loaded;
    }
    db = Database{};
    struct stat st {};
    if (stat(path.c_str(), &st) != 0 && (errno == ENOENT || errno == ENOTDIR)) {
        return StartupLoadResult::FirstStart;
    }
    // Set the unreadable file aside byte for byte. When even that fails
    // (permissions, a folder of that name, an I/O error, a full disk) the
    // caller must not save over it: it would be the only copy.
    std::string text;
    if (ReadWholeFile(path, text) && WriteWholeFile(JoinPath(dir, kDamagedFile), text)) {
        return StartupLoadResult::Damaged;
    }
    return StartupLoadResult::DamagedNotKept;
}
