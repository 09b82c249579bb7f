#include "model/storage.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <tuple>
#include <unistd.h>

#include <gtest/gtest.h>

#include "model/datafile.h"
#include "model/sample_database.h"

namespace fs = std::filesystem;

namespace {

using std::string_literals::operator""s;

class TempDir {
public:
    TempDir() {
        std::string templ = (fs::temp_directory_path() / "stridely-test-XXXXXX").string();
        path_ = mkdtemp(templ.data());
    }
    ~TempDir() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    std::string operator/(const std::string& name) const { return JoinPath(path_, name); }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// Sets or clears an environment variable for one scope.
class EnvVar {
public:
    EnvVar(const char* name, std::optional<std::string> value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value) {
            setenv(name, value->c_str(), 1);
        } else {
            unsetenv(name);
        }
    }
    ~EnvVar() {
        if (old_) {
            setenv(name_, old_->c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

unsigned Mode(const std::string& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) return 0;
    return st.st_mode & 07777;
}

std::string Read(const std::string& path) {
    std::string s;
    EXPECT_TRUE(ReadWholeFile(path, s)) << path;
    return s;
}

TEST(DataDirectory, ChoosesAndCreatesTheFolder) {
    TempDir tmp;
    const std::string own = tmp / "a/b/Stridely";
    {
        EnvVar dir("STRIDELY_DATA_DIR", own);
        EXPECT_EQ(DataDirectory(), own);
        EXPECT_TRUE(fs::is_directory(own));
        EXPECT_EQ(Mode(own), 0700u);
        EXPECT_EQ(Mode(tmp / "a"), 0700u);
    }
    // Empty or over-long values are ignored; then XDG_DATA_HOME, then HOME.
    EnvVar xdg("XDG_DATA_HOME", tmp / "xdg");
    EnvVar home("HOME", tmp / "home");
    for (const std::optional<std::string>& value : {std::optional<std::string>(), std::optional<std::string>(""),
                                                    std::optional<std::string>(std::string(4096, 'x'))}) {
        EnvVar dir("STRIDELY_DATA_DIR", value);
        EXPECT_EQ(DataDirectory(), tmp / "xdg/Stridely");
    }
    EnvVar dir("STRIDELY_DATA_DIR", std::nullopt);
    {
        EnvVar relative("XDG_DATA_HOME", "relative/path");  // not absolute: ignored
        EXPECT_EQ(DataDirectory(), tmp / "home/.local/share/Stridely");
        EXPECT_EQ(Mode(tmp / "home/.local/share/Stridely"), 0700u);
    }
    {
        EnvVar longest("STRIDELY_DATA_DIR", tmp.path() + "/" + std::string(4095 - tmp.path().size() - 1, 'y'));
        EXPECT_EQ(DataDirectory().size(), 4095u);
    }
}

TEST(DataDirectory, UncreatableFolderFailsQuietly) {
    TempDir tmp;
    ASSERT_TRUE(WriteWholeFile(tmp / "file", "x"));
    const std::string impossible = tmp / "file/Stridely";  // below a plain file
    EnvVar dir("STRIDELY_DATA_DIR", impossible);
    EXPECT_EQ(DataDirectory(), impossible);
    EXPECT_FALSE(fs::exists(impossible));

    Database db = sample::Populated();
    EXPECT_FALSE(SaveDatabase(db, JoinPath(impossible, "data.json")));
    EXPECT_EQ(StartupLoad(impossible, db), StartupLoadResult::FirstStart);
    EXPECT_TRUE(db == Database{});
}

TEST(Storage, SaveAndLoad) {
    TempDir tmp;
    const std::string path = tmp / "data.json";
    const Database a = sample::HeavyUser(20, 100, 1);
    ASSERT_TRUE(SaveDatabase(a, path));
    EXPECT_EQ(Mode(path), 0600u);
    EXPECT_FALSE(fs::exists(path + ".tmp"));
    EXPECT_EQ(Read(path), SerializeDatabase(a));

    Database loaded;
    ASSERT_TRUE(LoadDatabase(path, loaded));
    EXPECT_TRUE(loaded == a);

    // A big file takes the mapped path; the result is the same.
    const Database big = sample::HeavyUser(60, 1000, 2);
    ASSERT_TRUE(SaveDatabase(big, path));
    ASSERT_GT(fs::file_size(path), 1u << 20);
    ASSERT_TRUE(LoadDatabase(path, loaded));
    EXPECT_TRUE(loaded == big);

    // A readable-by-all old file becomes private with the next save.
    ASSERT_EQ(chmod(path.c_str(), 0644), 0);
    const mode_t old = umask(0);
    EXPECT_TRUE(SaveDatabase(a, path));
    umask(old);
    EXPECT_EQ(Mode(path), 0600u);

    Database untouched = sample::Populated();
    EXPECT_FALSE(LoadDatabase(tmp / "missing.json", untouched));
    ASSERT_TRUE(WriteWholeFile(tmp / "bad.json", "{\"profiles\": [}"));
    EXPECT_FALSE(LoadDatabase(tmp / "bad.json", untouched));
    EXPECT_TRUE(untouched == sample::Populated());
}

TEST(Storage, BackupFileIsTheDataFileText) {
    TempDir tmp;
    const Database db = sample::HeavyUser(30, 1000, 3);
    ASSERT_TRUE(WriteWholeFile(tmp / "backup.json", "older and longer content"));
    ASSERT_TRUE(WriteDatabaseFile(db, tmp / "backup.json"));
    EXPECT_EQ(Read(tmp / "backup.json"), SerializeDatabase(db));
    EXPECT_EQ(Mode(tmp / "backup.json"), 0600u);
    EXPECT_FALSE(WriteDatabaseFile(db, tmp / "missing/backup.json"));
}

TEST(Storage, FailedSaveKeepsTheOldFile) {
    TempDir tmp;
    const std::string path = tmp / "data.json";
    const Database a = sample::HeavyUser(5, 10, 1);
    ASSERT_TRUE(SaveDatabase(a, path));
    const std::string before = Read(path);

    // The temporary file cannot be created (a folder of that name).
    ASSERT_TRUE(fs::create_directory(path + ".tmp"));
    EXPECT_FALSE(SaveDatabase(sample::Populated(), path));
    EXPECT_EQ(Read(path), before);
    fs::remove(path + ".tmp");

    // A leftover temporary file, even a link to another file, is replaced and
    // not written through.
    ASSERT_TRUE(WriteWholeFile(tmp / "other", "keep me"));
    ASSERT_EQ(symlink((tmp / "other").c_str(), (path + ".tmp").c_str()), 0);
    EXPECT_TRUE(SaveDatabase(a, path));
    EXPECT_EQ(Read(tmp / "other"), "keep me");
    EXPECT_FALSE(fs::exists(path + ".tmp"));

    // The disk fills up halfway (a file size limit in a child process).
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        const bool saved = SaveDatabase(sample::HeavyUser(20, 100, 9), path);
        _exit(saved ? 1 : (access((path + ".tmp").c_str(), F_OK) == 0 ? 2 : 0));
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: reported success, 2: temporary file left";
    EXPECT_EQ(Read(path), before);
}

TEST(Storage, StartupLoad) {
    TempDir tmp;
    const std::string path = tmp / "data.json";
    const std::string damaged = tmp / "data.defekt.json";
    Database db = sample::Populated();

    EXPECT_EQ(StartupLoad(tmp.path(), db), StartupLoadResult::FirstStart);
    EXPECT_TRUE(db == Database{});

    // Valid JSON without "profiles": set aside byte for byte, start empty.
    for (const std::string& content : {"{}"s, "\xEF\xBB\xBFnot json\0\r\n"s}) {
        ASSERT_TRUE(WriteWholeFile(path, content));
        db = sample::Populated();
        EXPECT_EQ(StartupLoad(tmp.path(), db), StartupLoadResult::Damaged);
        EXPECT_TRUE(db == Database{});
        EXPECT_EQ(Read(damaged), content);  // overwritten each time
        EXPECT_EQ(Mode(damaged), 0600u);
        EXPECT_EQ(Read(path), content);  // left in place for the next save to replace
    }

    // A leftover temporary file is ignored.
    const Database saved = sample::HeavyUser(3, 5, 1);
    ASSERT_TRUE(SaveDatabase(saved, path));
    ASSERT_TRUE(WriteWholeFile(path + ".tmp", "{\"profiles\": [tru"));
    EXPECT_EQ(StartupLoad(tmp.path(), db), StartupLoadResult::Loaded);
    EXPECT_TRUE(db == saved);

    // Present but not readable as a file: nothing could be set aside.
    fs::remove(path);
    ASSERT_TRUE(fs::create_directory(path));
    EXPECT_EQ(StartupLoad(tmp.path(), db), StartupLoadResult::DamagedNotKept);
    EXPECT_TRUE(db == Database{});
}

TEST(Storage, WholeFilesAreBinary) {
    TempDir tmp;
    const std::string bytes = "a\r\nb\0c\xFF"s + std::string(200000, 'z');
    ASSERT_TRUE(WriteWholeFile(tmp / "f", bytes));
    EXPECT_EQ(Read(tmp / "f"), bytes);
    ASSERT_TRUE(WriteWholeFile(tmp / "f", "short"));  // truncates
    EXPECT_EQ(Read(tmp / "f"), "short");
    std::string out = "unchanged";
    EXPECT_FALSE(ReadWholeFile(tmp / "missing", out));
    EXPECT_EQ(out, "unchanged");
    EXPECT_FALSE(WriteWholeFile(tmp.path(), "x"));  // a folder
    EXPECT_FALSE(WriteWholeFile(tmp / "no/such/folder/f", "x"));
}

// Kills a process that saves in a loop at random moments: every data.json
// left behind is one of the two databases it alternates between, whole.
TEST(Storage, KilledDuringSaveLeavesOldOrNewFile) {
    TempDir tmp;
    const std::string path = tmp / "data.json";
    const Database a = sample::HeavyUser(150, 400, 1);
    const Database b = sample::HeavyUser(90, 700, 2);
    // Kill at random points within about three saves.
    const auto t0 = std::chrono::steady_clock::now();
    ASSERT_TRUE(SaveDatabase(a, path));
    const auto saveUs = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - t0);
    const auto spanUs = static_cast<unsigned>(std::clamp<int64_t>(3 * saveUs.count(), 3000, 200000));

    std::mt19937 rng(5);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    // Identity of the file now there: inode and modification time.
    auto version = [&] {
        struct stat st {};
        stat(path.c_str(), &st);
        return std::tuple(st.st_ino, st.st_mtim.tv_sec, st.st_mtim.tv_nsec);
    };
    int rounds = 0, replaced = 0, sawA = 0, sawB = 0;
    for (; rounds < 40 && std::chrono::steady_clock::now() < deadline; ++rounds) {
        const auto before = version();
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = rounds;; ++i) SaveDatabase(i % 2 ? a : b, path);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(rng() % spanUs));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);

        Database loaded;
        ASSERT_TRUE(LoadDatabase(path, loaded)) << "round " << rounds;
        const bool isA = loaded == a;
        const bool isB = loaded == b;
        ASSERT_TRUE(isA || isB) << "round " << rounds;
        sawA += isA;
        sawB += isB;
        replaced += version() != before;
    }
    EXPECT_GE(rounds, 10);
    EXPECT_GT(replaced, 0);  // saves did complete between the kills
    std::printf("%d rounds, a save takes %lld us; %d replaced the file; %d times the first, %d times the second\n",
                rounds, static_cast<long long>(saveUs.count()), replaced, sawA, sawB);
}

}  // namespace
