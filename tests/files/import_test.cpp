#include "files/import.h"

#include <gtest/gtest.h>

#include <cmath>

#include "files/fixture.h"
#include "science/calories.h"

namespace {

constexpr int64_t kNow = 1717000000;  // 29 May 2024
const CivilDate kToday{2024, 5, 29};

struct ImportTest : testing::Test {
    Database db;

    void SetUp() override {
        Profile p;
        p.id = "p1";
        p.name = "Anna";
        p.gender = "w";
        p.weightKg = 62.5;
        p.birthYear = 1990;
        db.profiles.push_back(p);
        Profile q;
        q.id = "p2";
        db.profiles.push_back(q);
        db.settings.activeProfile = "p1";
    }
    const Profile& Anna() const { return db.profiles[0]; }
    ImportResult Import(std::vector<ImportFile> files) { return ImportFiles(db, Anna(), std::move(files), kNow, kToday); }
};

std::vector<ImportMessage> Messages(std::initializer_list<ImportMessage> m) { return m; }

}  // namespace

std::ostream& operator<<(std::ostream& o, const ImportMessage& m) { return o << m.kind << ": " << m.text; }

TEST_F(ImportTest, ThreeFilesGiveThreeMessages) {
    const std::string watch = ReadFilesFixture("watch.gpx");
    ImportResult r = Import({{"/home/anna/Lauf.gpx", watch}, {"/home/anna/weg.gpx", std::nullopt},
                             {"/media/uhr/Kopie.GPX", watch}});
    EXPECT_EQ(r.imported, 1);
    EXPECT_EQ(r.duplicates, 1);
    EXPECT_EQ(r.failed, 1);
    EXPECT_EQ(r.messages, Messages({{"1 Aktivität(en) importiert", 1},
                                    {"1 Duplikat(e) übersprungen", 0},
                                    {"1 Datei(en) konnten nicht gelesen werden", 2}}));

    ASSERT_EQ(db.activities.size(), 1u);
    const Activity& a = db.activities[0];
    EXPECT_EQ(a.id.size(), 16u);
    EXPECT_EQ(r.activityIds, std::vector<std::string>{a.id});
    EXPECT_EQ(a.profileId, "p1");
    EXPECT_EQ(a.title, "Morgenlauf am See");
    EXPECT_EQ(a.source, "gpx");
    EXPECT_EQ(a.start, 1714545000);
    EXPECT_EQ(a.durationSec, 120);
    EXPECT_EQ(a.externalId, "file:1714545000:0.44");
    EXPECT_EQ(a.avgHr, 151);
    EXPECT_EQ(a.elevationGain, 10);
    EXPECT_EQ(a.track.size(), 5u);
    EXPECT_EQ(a.notes, "");
    EXPECT_EQ(a.weightKg, 62.5);
    EXPECT_FALSE(a.caloriesManual);
    double kcal = EstimateCalories(a.sport, a.distanceKm, a.durationSec, a.elevationGain, a.avgHr, 62.5,
                                   ProfileAgeOn(Anna(), 2024, 5, 29), "w")
                      .kcal;
    EXPECT_GT(kcal, 0.0);
    EXPECT_EQ(a.calories, std::round(kcal));

    // Awards of the new activity are stored, returned and all celebrated
    // under a cheer: the medal first.
    ASSERT_FALSE(r.awards.empty());
    EXPECT_EQ(r.awards.front().key, "medal");
    for (const Award& award : r.awards) EXPECT_EQ(award.activityId, a.id);
    EXPECT_EQ(db.awards, r.awards);
    EXPECT_EQ(r.celebrate, r.awards);
    EXPECT_TRUE(r.celebrateWithCheer);
    EXPECT_EQ(r.celebrationHeadline, "");
}

TEST_F(ImportTest, FilesWithoutTimeStampsGetAnEstimatedDuration) {
    ImportResult r = Import({{"/tmp/no_time.gpx", ReadFilesFixture("no_time.gpx")},
                             {"/tmp/phone_route.gpx", ReadFilesFixture("phone_route.gpx")}});
    EXPECT_EQ(r.imported, 2);
    ASSERT_EQ(db.activities.size(), 2u);
    for (const Activity& a : db.activities) {
        EXPECT_EQ(a.start, kNow);
        EXPECT_EQ(a.durationSec, std::round(a.distanceKm * 360.0));
        EXPECT_GT(a.durationSec, 0.0);
        EXPECT_EQ(a.notes, "Dauer geschätzt (Datei ohne Zeitstempel).");
    }
    EXPECT_EQ(db.activities[0].title, "no_time");
    EXPECT_EQ(db.activities[1].title, "phone_route");
    EXPECT_EQ(db.activities[1].sport, SportWalk);
    // Both start "now" but lie 2 km apart: not duplicates of each other.
    EXPECT_EQ(r.duplicates, 0);
}

TEST_F(ImportTest, SourceAndTitleFromThePath) {
    const std::string tcx = ReadFilesFixture("bike.tcx");
    const std::string gpx = ReadFilesFixture("no_time.gpx");
    struct Case {
        std::string path;
        const std::string* content;
        std::string source;
        std::string title;
    };
    const Case cases[] = {
        {"/daten/Feierabendrunde.TCX", &tcx, "tcx", "Feierabendrunde"},
        {"/daten/export.xml", &tcx, "gpx", "export"},  // a TCX document in another file is stored as gpx
        {"/daten/v1.2/ohne_endung", &gpx, "gpx", "ohne_endung"},
        {"/daten/M\xE4rz.gpx", &gpx, "gpx", "M\xC3\xA4rz"},  // a Latin-1 file name still gives valid UTF-8
    };
    for (const Case& c : cases) {
        Activity a = ActivityFromParsed(ParseActivityFile(*c.content), c.path, "p1", kNow);
        EXPECT_EQ(a.source, c.source) << c.path;
        EXPECT_EQ(a.title, c.title) << c.path;
    }
    Activity bike = ActivityFromParsed(ParseActivityFile(tcx), "/x/y.tcx", "p1", kNow);
    EXPECT_EQ(bike.externalId, "file:1718467200:2.00");
    EXPECT_EQ(bike.sport, SportBike);
}

TEST_F(ImportTest, DuplicateRules) {
    Activity stored;
    stored.id = "a1";
    stored.profileId = "p1";
    stored.start = 1714545000;
    stored.distanceKm = 10.0;
    stored.externalId = "file:1714545000:10.00";
    Activity other = stored;
    other.id = "a2";
    other.profileId = "p2";
    other.start = 1600000000;
    other.externalId = "file:1600000000:10.00";
    db.activities = {stored, other};

    struct Case {
        const char* what;
        int64_t start;
        double distanceKm;
        std::string externalId;
        bool duplicate;
    };
    const Case cases[] = {
        {"same file again", 1714545000, 10.0, "file:1714545000:10.00", true},
        {"same id, other figures", 1714000000, 3.0, "file:1714545000:10.00", true},
        {"second device, 119 s later, 190 m more", 1714545119, 10.19, "x", true},
        {"second device, 119 s earlier", 1714544881, 9.9, "x", true},
        {"two minutes apart", 1714545120, 10.0, "x", false},
        {"250 m more", 1714545000, 10.25, "x", false},
        {"another profile's activity", 1600000000, 10.0, "file:1600000000:10.00", false},
    };
    for (const Case& c : cases) {
        Activity a;
        a.profileId = "p1";
        a.start = c.start;
        a.distanceKm = c.distanceKm;
        a.externalId = c.externalId;
        EXPECT_EQ(IsDuplicateActivity(db, a), c.duplicate) << c.what;
    }
}

TEST_F(ImportTest, SeveralActivitiesCelebrateOneMedal) {
    ImportResult r = Import({{"a.gpx", ReadFilesFixture("watch.gpx")},
                             {"b.tcx", ReadFilesFixture("bike.tcx")},
                             {"c.tcx", ReadFilesFixture("treadmill.tcx")}});
    EXPECT_EQ(r.imported, 3);
    EXPECT_EQ(r.messages, Messages({{"3 Aktivität(en) importiert", 1}}));
    EXPECT_FALSE(r.celebrateWithCheer);
    EXPECT_EQ(r.celebrationHeadline, "3 Aktivitäten importiert!");

    int medals = 0;
    for (const Award& a : r.awards) medals += a.key == "medal";
    EXPECT_EQ(medals, 3);
    std::vector<Award> expected;
    bool first = true;
    for (const Award& a : r.awards) {
        if (a.key == "medal" && !first) continue;
        if (a.key == "medal") first = false;
        expected.push_back(a);
    }
    EXPECT_EQ(r.celebrate, expected);
    EXPECT_EQ(r.celebrate.front().key, "medal");
    EXPECT_GT(r.celebrate.size(), 1u);  // "first", "synced" and more stay
}

TEST_F(ImportTest, NothingImported) {
    ImportResult r = Import({{"leer.gpx", ""}, {"kaputt.tcx", "<TrainingCenterDatabase><Lap "}});
    EXPECT_EQ(r.failed, 2);
    EXPECT_EQ(r.messages, Messages({{"2 Datei(en) konnten nicht gelesen werden", 2}}));
    EXPECT_TRUE(r.celebrate.empty());
    EXPECT_FALSE(r.celebrateWithCheer);
    EXPECT_TRUE(db.activities.empty());
    EXPECT_TRUE(db.awards.empty());

    EXPECT_TRUE(Import({}).messages.empty());
}

TEST_F(ImportTest, ReaderIsAskedOneFileAtATime) {
    std::vector<std::string> asked;
    size_t storedWhenAsked = 0;
    ImportReader read = [&](const std::string& path) -> std::optional<std::string> {
        asked.push_back(path);
        storedWhenAsked = db.activities.size();
        if (path == "fehlt.gpx") return std::nullopt;
        return ReadFilesFixture(path);
    };
    ImportResult r = ImportFiles(db, Anna(), {"watch.gpx", "fehlt.gpx", "treadmill.tcx"}, read, kNow, kToday);
    EXPECT_EQ(asked, (std::vector<std::string>{"watch.gpx", "fehlt.gpx", "treadmill.tcx"}));
    EXPECT_EQ(storedWhenAsked, 1u);  // the first file was imported before the last was read
    EXPECT_EQ(r.imported, 2);
    EXPECT_EQ(r.failed, 1);
}
