// The real binary under a private Xvfb display.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "gui/xvfb.h"
#include "model/datafile.h"
#include "model/records.h"

namespace fs = std::filesystem;
using namespace testgui;

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

// Width and height from a PNG's IHDR chunk; {0,0} when it is not a PNG.
std::pair<unsigned, unsigned> PngSize(const std::string& png) {
    if (png.size() < 24 || png.compare(1, 3, "PNG") != 0) return {0, 0};
    auto be = [&](size_t o) {
        return (unsigned(uint8_t(png[o])) << 24) | (unsigned(uint8_t(png[o + 1])) << 16) |
               (unsigned(uint8_t(png[o + 2])) << 8) | unsigned(uint8_t(png[o + 3]));
    };
    return {be(16), be(20)};
}

struct Env {
    Xvfb x;
    std::string data = MakeTempDir("data");
    std::string run = MakeTempDir("run");
    std::map<std::string, std::string> vars() const {
        return {{"DISPLAY", x.Display()}, {"STRIDELY_DATA_DIR", data}, {"XDG_RUNTIME_DIR", run},
                {"STRIDELY_SCALE", "1"}, {"SDL_AUDIODRIVER", "dummy"}};
    }
    ~Env() {
        fs::remove_all(data);
        fs::remove_all(run);
    }
};

bool WindowVisible(const Env& env) {
    std::string out = Capture("DISPLAY=" + env.x.Display() + " xdotool search --onlyvisible --name Stridely 2>/dev/null");
    return !out.empty();
}

bool WaitFor(const std::function<bool()>& pred, double seconds) {
    auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end) {
        if (pred()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

}  // namespace

TEST(Smoke, ScreenshotOfFreshStartAndDataDirectoryPermissions) {
    Env env;
    ASSERT_TRUE(env.x.Ok());
    fs::remove_all(env.data);  // the program must create it
    std::string png = env.run + "/shot.png";
    pid_t pid = Spawn({STRIDELY_BINARY, "--screenshot", png}, env.vars());
    ASSERT_GT(pid, 0);
    ASSERT_EQ(WaitExit(pid, 60), 0);
    auto [w, h] = PngSize(ReadFile(png));
    // 1480 x 940 design pixels fit into the 1600 x 1000 screen minus 40.
    EXPECT_EQ(w, 1480u);
    EXPECT_EQ(h, 940u);
    struct stat st{};
    ASSERT_EQ(stat(env.data.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    ASSERT_EQ(stat((env.data + "/data.json").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST(Smoke, SecondInstanceShowsHiddenFirstAndSigtermSaves) {
    Env env;
    ASSERT_TRUE(env.x.Ok());
    pid_t first = Spawn({STRIDELY_BINARY, "--minimized"}, env.vars());
    ASSERT_GT(first, 0);
    // The first instance is up once its socket exists.
    ASSERT_TRUE(WaitFor([&] { return fs::exists(env.run + "/stridely.sock"); }, 30));
    EXPECT_FALSE(WindowVisible(env));

    pid_t second = Spawn({STRIDELY_BINARY}, env.vars());
    EXPECT_EQ(WaitExit(second, 15), 0);
    EXPECT_TRUE(WaitFor([&] { return WindowVisible(env); }, 15));

    kill(first, SIGTERM);
    EXPECT_EQ(WaitExit(first, 20), 0);
    Database db;
    EXPECT_TRUE(ParseDatabase(ReadFile(env.data + "/data.json"), db));
}
