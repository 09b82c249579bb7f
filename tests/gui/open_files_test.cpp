// Opening GPX/TCX files with the real binary: at start, and handed to a
// running instance by a second start.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "gui/xvfb.h"
#include "model/datafile.h"
#include "model/records.h"

namespace fs = std::filesystem;
using namespace testgui;

namespace {

std::string Slurp(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

struct FileEnv {
    Xvfb x;
    std::string data = MakeTempDir("open-data");
    std::string run = MakeTempDir("open-run");
    std::string files = MakeTempDir("open-files");
    std::string profileId = NewId();
    FileEnv() {
        Database db;
        Profile p;
        p.id = profileId;
        p.name = "Lea";
        p.weightKg = 62;
        db.profiles.push_back(p);
        db.settings.activeProfile = p.id;
        db.settings.onboardingDone = true;
        std::ofstream(data + "/data.json") << SerializeDatabase(db);
        fs::copy_file(std::string(STRIDELY_FIXTURES) + "/files/watch.gpx", files + "/a.gpx");
        fs::copy_file(std::string(STRIDELY_FIXTURES) + "/files/bike.tcx", files + "/b.tcx");
    }
    ~FileEnv() {
        fs::remove_all(data);
        fs::remove_all(run);
        fs::remove_all(files);
    }
    std::map<std::string, std::string> vars() const {
        return {{"DISPLAY", x.Display()}, {"STRIDELY_DATA_DIR", data}, {"XDG_RUNTIME_DIR", run},
                {"STRIDELY_SCALE", "1"}, {"SDL_AUDIODRIVER", "dummy"}};
    }
    Database Saved() const {
        Database db;
        EXPECT_TRUE(ParseDatabase(Slurp(data + "/data.json"), db));
        return db;
    }
};

void ExpectTwoImported(const Database& db, const std::string& profileId) {
    ASSERT_EQ(db.activities.size(), 2u);
    EXPECT_EQ(db.activities[0].source, "gpx");
    EXPECT_EQ(db.activities[1].source, "tcx");
    for (const auto& a : db.activities) {
        EXPECT_EQ(a.profileId, profileId);
        EXPECT_GT(a.calories, 0.0);
        // Every imported activity earns its medal.
        bool medal = false;
        for (const auto& w : db.awards)
            if (w.activityId == a.id && w.key == "medal") medal = true;
        EXPECT_TRUE(medal) << a.title;
    }
}

}  // namespace

TEST(OpenFiles, FilesOnTheCommandLineAreImportedAndDuplicatesSkipped) {
    FileEnv s;
    ASSERT_TRUE(s.x.Ok());
    pid_t pid = Spawn({STRIDELY_BINARY, "--minimized", s.files + "/a.gpx", s.files + "/b.tcx", s.files + "/a.gpx"},
                      s.vars());
    ASSERT_GT(pid, 0);
    // The import saves at once; then the program keeps running until told to stop.
    for (int i = 0; i < 300 && s.Saved().activities.size() < 2; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    kill(pid, SIGTERM);
    EXPECT_EQ(WaitExit(pid, 20), 0);
    ExpectTwoImported(s.Saved(), s.profileId);
}

TEST(OpenFiles, SecondStartHandsFilesToTheRunningInstance) {
    FileEnv s;
    ASSERT_TRUE(s.x.Ok());
    pid_t first = Spawn({STRIDELY_BINARY, "--minimized"}, s.vars());
    ASSERT_GT(first, 0);
    for (int i = 0; i < 600 && !fs::exists(s.run + "/stridely.sock"); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    // Relative paths are resolved by the second process before handing them over.
    std::string cwd = fs::current_path();
    fs::current_path(s.files);
    pid_t second = Spawn({STRIDELY_BINARY, "a.gpx", "b.tcx"}, s.vars());
    fs::current_path(cwd);
    EXPECT_EQ(WaitExit(second, 15), 0);
    for (int i = 0; i < 300 && s.Saved().activities.size() < 2; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    std::string visible = Capture("DISPLAY=" + s.x.Display() + " xdotool search --onlyvisible --name Stridely");
    EXPECT_FALSE(visible.empty());
    kill(first, SIGTERM);
    EXPECT_EQ(WaitExit(first, 20), 0);
    ExpectTwoImported(s.Saved(), s.profileId);
}
