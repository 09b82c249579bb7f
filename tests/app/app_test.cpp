#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include "app/harness.h"
#include "model/datafile.h"
#include "model/format.h"
#include "model/storage.h"
#include "ui/overlays.h"

namespace fs = std::filesystem;

TEST(StartPage, LeadingDigitsClamped) {
    struct Case {
        const char* value;
        int page;
    } cases[] = {{"2", 2}, {"9", 6}, {"-3", 0}, {"word", 0}, {"", 0}, {"5abc", 5}, {"007", 6}, {"99999999999999", 6}};
    for (const auto& c : cases) EXPECT_EQ(ParseStartPage(c.value), c.page) << c.value;
}

TEST(App, EmptyDirectoryStartsWithOnboardingDraftOfDefaults) {
    Harness h;
    h.Init();
    EXPECT_TRUE(h.app.db.profiles.empty());
    EXPECT_TRUE(h.app.onboardingRequested);
    const Profile& d = h.app.onboardingDraft;
    EXPECT_EQ(d.gender, "m");
    EXPECT_EQ(d.birthYear, 1995);
    EXPECT_EQ(d.heightCm, 178.0);
    EXPECT_EQ(d.weightKg, 75.0);
    EXPECT_EQ(d.restingHr, 60);
    EXPECT_EQ(d.weeklyGoalKm, 15.0);
    EXPECT_EQ(d.yearlyGoalKm, 600.0);
    EXPECT_EQ(d.country, "Deutschland");
    EXPECT_TRUE(h.Frame());
    EXPECT_FALSE(h.app.onboardingRequested);  // consumed by the frame
}

TEST(App, DamagedFileIsSetAsideAndAppStartsEmpty) {
    Harness h;
    { std::ofstream(h.Dir() + "/data.json") << "{}"; }
    h.Init();
    EXPECT_TRUE(h.app.db.profiles.empty());
    EXPECT_TRUE(h.app.onboardingRequested);
    std::ifstream f(h.Dir() + "/data.defekt.json");
    std::string text((std::istreambuf_iterator<char>(f)), {});
    EXPECT_EQ(text, "{}");
}

TEST(App, TwoChangesHalfASecondApartGiveOneDeferredWrite) {
    Harness h;
    h.Init();
    int before = h.app.saveCount;
    h.app.MarkChanged();
    h.Frame();
    h.Advance(0.5);
    h.app.MarkChanged();
    for (int i = 0; i < 40; ++i) h.Frame();  // ~0.67 s after the second change
    EXPECT_EQ(h.app.saveCount, before);
    h.Advance(0.2);
    h.Frame();
    EXPECT_EQ(h.app.saveCount, before + 1);
    EXPECT_FALSE(h.app.savePending);
    for (int i = 0; i < 100; ++i) h.Frame();
    EXPECT_EQ(h.app.saveCount, before + 1);
    EXPECT_TRUE(fs::exists(h.Dir() + "/data.json"));
}

TEST(App, TickWorksOncePerWallClockMinute) {
    Harness h;
    h.Init();
    int64_t t = MakeLocalTime(2026, 3, 29, 10, 0, 5);
    h.app.wallClock = [&] { return t; };
    h.app.OnTimer();
    int first = h.app.lastTickMinute;
    t += 15;
    h.app.OnTimer();
    EXPECT_EQ(h.app.lastTickMinute, first);
    t += 45;
    h.app.OnTimer();
    EXPECT_EQ(h.app.lastTickMinute, first + 1);
}

TEST(App, SwitchProfileSavesAndResetsPerProfileState) {
    Harness h;
    h.Init();
    Profile a, b;
    a.id = NewId();
    a.name = "Anna";
    b.id = NewId();
    b.name = "Ben";
    h.app.db.profiles = {a, b};
    h.app.db.settings.activeProfile = a.id;
    h.app.lastWeatherFetch = 5;
    h.app.mapSelectedRouteId = "r";
    h.app.mapInitialViewDone = true;
    h.app.toolsPrefilled = true;
    h.app.SwitchProfile(h.app.db.profiles[1]);
    EXPECT_EQ(h.app.db.settings.activeProfile, b.id);
    EXPECT_EQ(h.app.lastWeatherFetch, -1e9);
    EXPECT_TRUE(h.app.mapSelectedRouteId.empty());
    EXPECT_FALSE(h.app.mapInitialViewDone);
    EXPECT_FALSE(h.app.toolsPrefilled);
    Database onDisk;
    std::ifstream f(h.Dir() + "/data.json");
    std::string text((std::istreambuf_iterator<char>(f)), {});
    ASSERT_TRUE(ParseDatabase(text, onDisk));
    EXPECT_EQ(onDisk.settings.activeProfile, b.id);
}

TEST(App, TrayStopwatchCommandStartsWithoutLosingTime) {
    Harness h;
    h.Init();
    h.app.stopwatchAccum = 30;
    h.app.OnTrayCommand(1004);
    EXPECT_EQ(h.app.page, PageTools);
    EXPECT_TRUE(h.app.stopwatchRunning);
    h.Advance(10);
    EXPECT_NEAR(h.app.StopwatchElapsed(), 40, 1e-9);
    EXPECT_TRUE(h.app.IsAnimating());
}

TEST(Harness, EveryPageDrawsBalancedOverEmptyAndPopulatedDatabases) {
    for (bool populated : {false, true}) {
        Harness h;
        h.Init();
        if (populated) {
            Profile p;
            p.id = NewId();
            p.name = "Lea Sommer";
            h.app.db.profiles.push_back(p);
            h.app.db.settings.activeProfile = p.id;
            for (int i = 0; i < 200; ++i) {
                Activity a;
                a.id = NewId();
                a.profileId = p.id;
                a.sport = i % kSportCount;
                a.start = 1767225600 + i * 86400LL;
                a.distanceKm = 3 + i % 10;
                a.durationSec = a.distanceKm * 330;
                h.app.db.activities.push_back(a);
            }
        }
        for (int page = 0; page < kPageCount; ++page) {
            h.app.page = page;
            for (int f = 0; f < 3; ++f) EXPECT_TRUE(h.Frame()) << "page " << page;
        }
        // Every overlay request, one after the other.
        h.app.editorRequested = true;
        EXPECT_TRUE(h.Frame());
        h.app.detailRequested = true;
        EXPECT_TRUE(h.Frame());
        h.app.motivationRequested = true;
        EXPECT_TRUE(h.Frame());
        h.app.onboardingRequested = true;
        EXPECT_TRUE(h.Frame());
        h.app.showGallery = true;
        EXPECT_TRUE(h.Frame());
    }
}

TEST(App, DamagedFileThatCannotBeCopiedIsNeverOverwritten) {
    Harness h;
    { std::ofstream(h.Dir() + "/data.json") << "kaputt"; }
    fs::create_directory(h.Dir() + "/data.defekt.json");  // blocks both the copy and a rename
    h.Init();
    h.app.SaveNow();
    std::ifstream f(h.Dir() + "/data.json");
    std::string text((std::istreambuf_iterator<char>(f)), {});
    EXPECT_EQ(text, "kaputt");
    EXPECT_EQ(StatusMessages().back().kind, StatusKind::Error);

    fs::remove(h.Dir() + "/data.defekt.json");
    h.app.SaveNow();  // now the damaged file is moved aside first
    std::ifstream moved(h.Dir() + "/data.defekt.json");
    std::string kept((std::istreambuf_iterator<char>(moved)), {});
    EXPECT_EQ(kept, "kaputt");
    Database db;
    EXPECT_TRUE(LoadDatabase(h.Dir() + "/data.json", db));
}
