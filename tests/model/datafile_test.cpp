#include "model/datafile.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <cmath>
#include <fstream>
#include <functional>
#include <limits>
#include <random>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "model/datafile_values.h"
#include "model/sample_database.h"

void PrintTo(const LatLon& p, std::ostream* os) { *os << "(" << p.lat << ", " << p.lon << ")"; }

namespace {

using std::string_literals::operator""s;

// Compares long texts by their first difference (gtest's diff of whole
// megabyte strings takes minutes).
::testing::AssertionResult SameText(const std::string& a, const std::string& b) {
    const auto diff = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
    if (diff.first == a.end() && diff.second == b.end()) return ::testing::AssertionSuccess();
    const size_t at = static_cast<size_t>(diff.first - a.begin());
    const size_t from = at > 60 ? at - 60 : 0;
    return ::testing::AssertionFailure() << "texts differ at byte " << at << ":\n"
                                         << a.substr(from, 120) << "\n---- versus ----\n" << b.substr(from, 120);
}

// Parses with the streaming reader and the tree reader; both must agree on
// success and on every record.
bool ParseBoth(const std::string& text, Database& out) {
    Database fast = out;
    Database tree = out;
    const bool okFast = ParseDatabase(text, fast);
    const bool okTree = ParseDatabaseTree(text, tree);
    EXPECT_EQ(okFast, okTree) << text;
    EXPECT_TRUE(fast == tree) << text;
    out = fast;
    return okFast;
}

std::vector<LatLon> Rounded(std::vector<LatLon> pts) {
    for (LatLon& p : pts) p = LatLon{datafile::Round6(p.lat), datafile::Round6(p.lon)};
    return pts;
}

Database WithRoundedCoordinates(Database db) {
    for (Activity& a : db.activities) a.track = Rounded(a.track);
    for (Route& r : db.routes) {
        r.points = Rounded(r.points);
        r.waypoints = Rounded(r.waypoints);
    }
    return db;
}

std::string ReadFixture(const std::string& name) {
    std::ifstream in(std::string(STRIDELY_FIXTURES) + "/model/" + name, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

TEST(DataFile, LayoutMatchesTheFormat) {
    // Keys sorted, one space per level, "[]" for empty lists, ".0" on whole
    // doubles, no newline at the end.
    Database db;
    Profile p;
    p.id = "p1";
    p.weightLog = {WeightEntry{5, 70.5}};
    db.profiles.push_back(p);
    Activity a;
    a.id = "a1";
    a.profileId = "p1";
    a.track = {LatLon{1.5, -2.25}};
    db.activities.push_back(a);
    const std::string expected = ReadFixture("layout.json");
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(SerializeDatabase(db), expected);
    EXPECT_EQ(SerializeDatabaseTree(db), expected);
}

TEST(DataFile, PopulatedDatabaseRoundTrips) {
    const Database db = sample::Populated();
    const std::string text = SerializeDatabase(db);
    EXPECT_TRUE(SameText(text, SerializeDatabaseTree(db)));
    Database back;
    ASSERT_TRUE(ParseBoth(text, back));
    EXPECT_TRUE(back == WithRoundedCoordinates(db));
    // Coordinates: six decimals, halves away from zero.
    ASSERT_EQ(back.activities[0].track.size(), 4u);
    EXPECT_EQ(back.activities[0].track[0], (LatLon{48.137154, 11.576125}));
    EXPECT_EQ(back.activities[0].track[2], (LatLon{0.000001, -0.000001}));
    EXPECT_EQ(back.activities[0].track[3], (LatLon{90.0, -179.999999}));
    // "home" is written unrounded.
    EXPECT_EQ(back.profiles[0].home.lat, 48.137154123456789);
    // Saving what was read gives the same text again.
    EXPECT_TRUE(SameText(SerializeDatabase(back), text));
}

TEST(DataFile, FastWriterMatchesNlohmannOnAnyCoordinate) {
    // The writer prints coordinates with its own fast path; nlohmann's output
    // is the reference. Cover every magnitude, signs, whole numbers, values
    // near zero and powers of two.
    std::mt19937_64 rng(7);
    Database db;
    Activity a;
    auto add = [&](double lat, double lon) { a.track.push_back(LatLon{lat, lon}); };
    for (double scale : {1e-7, 1e-4, 1e-3, 0.01, 1.0, 90.0, 180.0, 1e4, 999999.0, 1e6, 1e9, 1e16}) {
        std::uniform_real_distribution<double> u(-scale, scale);
        for (int i = 0; i < 8000; ++i) add(u(rng), u(rng));
    }
    std::uniform_int_distribution<int64_t> k(-180000000, 180000000);
    for (int i = 0; i < 100000; ++i) {
        add(static_cast<double>(k(rng)) / 1e6, static_cast<double>(k(rng)) / 1e6);
    }
    for (int e = -30; e < 30; ++e) add(std::ldexp(1.0, e), -std::ldexp(1.0, e));
    add(0.0, -0.0);
    add(0.0000005, -0.0000005);
    add(48.0, -7.0);
    add(1e300, -1e300);
    add(std::numeric_limits<double>::max(), std::numeric_limits<double>::denorm_min());
    db.activities.push_back(a);
    const std::string text = SerializeDatabase(db);
    ASSERT_TRUE(SameText(text, SerializeDatabaseTree(db)));
    Database back;
    ASSERT_TRUE(ParseBoth(text, back));
    EXPECT_EQ(back.activities[0].track, Rounded(a.track));
}

TEST(DataFile, HeavyUserWritesLikeNlohmann) {
    const Database db = sample::HeavyUser(40, 300, 3);
    const std::string text = SerializeDatabase(db);
    EXPECT_TRUE(SameText(text, SerializeDatabaseTree(db)));
    std::string streamed;
    EXPECT_TRUE(StreamDatabase(db, [&](const char* d, size_t n) {
        streamed.append(d, n);
        return true;
    }));
    EXPECT_TRUE(SameText(streamed, text));
    Database back;
    ASSERT_TRUE(ParseDatabase(text, back));
    EXPECT_TRUE(back == db);
}

TEST(DataFile, StreamStopsWhenTheWriterFails) {
    const Database db = sample::HeavyUser(30, 2000, 4);  // several pieces
    int calls = 0;
    EXPECT_FALSE(StreamDatabase(db, [&](const char*, size_t) {
        ++calls;
        return false;
    }));
    EXPECT_EQ(calls, 1);
}

TEST(DataFile, InvalidUtf8IsReplacedNotLost) {
    Database db;
    Profile p;
    p.id = "p";
    p.name = "A\xFF" "B";                   // stray byte
    p.city = "K\xC3";                        // cut-off sequence at the end
    p.street = "\xED\xA0\x80x";              // encoded surrogate
    p.zip = "\xC0\xAF";                      // overlong slash
    db.profiles.push_back(p);
    Activity a;
    a.notes = "ok \xE2\x82 end";             // cut-off sequence inside
    db.activities.push_back(a);
    const std::string text = SerializeDatabase(db);
    EXPECT_TRUE(SameText(text, SerializeDatabaseTree(db)));
    Database back;
    ASSERT_TRUE(ParseBoth(text, back));
    const std::string fffd = "\xEF\xBF\xBD";
    EXPECT_EQ(back.profiles[0].name, "A" + fffd + "B");
    EXPECT_EQ(back.profiles[0].city, "K" + fffd);
    EXPECT_NE(back.profiles[0].street.find(fffd), std::string::npos);
    EXPECT_NE(back.profiles[0].zip.find(fffd), std::string::npos);
    EXPECT_EQ(back.activities[0].notes.substr(0, 3), "ok ");
    EXPECT_NE(back.activities[0].notes.find(fffd), std::string::npos);
}

TEST(DataFile, NonFiniteValuesNeverMakeTheFileUnreadable) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    Database db;
    Profile p;
    p.home = LatLon{nan, 12.5};
    p.weightKg = inf;
    db.profiles.push_back(p);
    Activity a;
    a.distanceKm = nan;
    a.track = {LatLon{1.0, 2.0}, LatLon{nan, 3.0}, LatLon{4.0, inf}, LatLon{5.0, 6.0}};
    db.activities.push_back(a);
    Route r;
    r.elevations = {100.0, nan, 102.0};
    db.routes.push_back(r);
    const std::string text = SerializeDatabase(db);
    EXPECT_TRUE(SameText(text, SerializeDatabaseTree(db)));
    Database back;
    ASSERT_TRUE(ParseBoth(text, back));
    EXPECT_EQ(back.profiles[0].home, (LatLon{Profile{}.home.lat, 12.5}));
    EXPECT_EQ(back.profiles[0].weightKg, Profile{}.weightKg);  // written as null: the default
    EXPECT_EQ(back.activities[0].distanceKm, 0.0);
    EXPECT_EQ(back.activities[0].track, (std::vector<LatLon>{{1.0, 2.0}, {5.0, 6.0}}));
    EXPECT_EQ(back.routes[0].elevations, (std::vector<double>{100.0, 0.0, 102.0}));
}

// ---- reading: tolerance ----

struct ReadCase {
    const char* name;
    std::string text;
    std::function<void(const Database&)> check;
};

std::string WithProfile(const std::string& members) { return R"({"profiles": [{)" + members + "}]}"; }
std::string WithActivity(const std::string& members) {
    return R"({"profiles": [], "activities": [{)" + members + "}]}";
}
std::string WithRoute(const std::string& members) { return R"({"profiles": [], "routes": [{)" + members + "}]}"; }
std::string WithSettings(const std::string& value) { return R"({"profiles": [], "settings": )" + value + "}"; }

TEST(DataFileRead, TolerantGetters) {
    const Profile dp;
    const Activity da;
    const ReadCase cases[] = {
        {"only profiles", R"({"profiles": []})", [](const Database& db) { EXPECT_TRUE(db == Database{}); }},
        {"sport above", WithActivity(R"("sport": 9)"), [](const Database& db) { EXPECT_EQ(db.activities[0].sport, 5); }},
        {"sport below", WithActivity(R"("sport": -1)"), [](const Database& db) { EXPECT_EQ(db.activities[0].sport, 0); }},
        {"sport text", WithActivity(R"("sport": "x")"), [](const Database& db) { EXPECT_EQ(db.activities[0].sport, 0); }},
        {"sport float", WithActivity(R"("sport": 3.9)"), [](const Database& db) { EXPECT_EQ(db.activities[0].sport, 3); }},
        {"createdAt float", WithProfile(R"("createdAt": 1.7e9)"),
         [](const Database& db) { EXPECT_EQ(db.profiles[0].createdAt, 1700000000); }},
        {"createdAt bool", WithProfile(R"("createdAt": true)"),
         [](const Database& db) { EXPECT_EQ(db.profiles[0].createdAt, 0); }},
        {"createdAt huge", WithProfile(R"("createdAt": 18446744073709551615)"),
         [](const Database& db) { EXPECT_EQ(db.profiles[0].createdAt, INT64_MAX); }},
        {"createdAt float huge", WithProfile(R"("createdAt": -1e30)"),
         [](const Database& db) { EXPECT_EQ(db.profiles[0].createdAt, INT64_MIN); }},
        {"restingHr bool", WithProfile(R"("restingHr": true)"),
         [](const Database& db) { EXPECT_EQ(db.profiles[0].restingHr, 1); }},
        {"restingHr truncates", WithProfile(R"("restingHr": -1.9)"),
         [](const Database& db) { EXPECT_EQ(db.profiles[0].restingHr, -1); }},
        {"restingHr saturates", WithProfile(R"("restingHr": 1e20)"),
         [](const Database& db) { EXPECT_EQ(db.profiles[0].restingHr, INT_MAX); }},
        {"restingHr beyond int", WithProfile(R"("restingHr": 4294967297)"),
         [](const Database& db) { EXPECT_EQ(db.profiles[0].restingHr, INT_MAX); }},
        {"heightCm integer", WithProfile(R"("heightCm": 180)"),
         [](const Database& db) { EXPECT_EQ(db.profiles[0].heightCm, 180.0); }},
        {"heightCm bool", WithProfile(R"("heightCm": true)"),
         [dp](const Database& db) { EXPECT_EQ(db.profiles[0].heightCm, dp.heightCm); }},
        {"hasHome number", WithProfile(R"("hasHome": 1)"),
         [](const Database& db) { EXPECT_FALSE(db.profiles[0].hasHome); }},
        {"name number", WithProfile(R"("name": 5, "gender": null)"),
         [dp](const Database& db) {
             EXPECT_EQ(db.profiles[0].name, "");
             EXPECT_EQ(db.profiles[0].gender, dp.gender);
         }},
        {"escapes", WithProfile(R"("name": "\u00c4\u00df\ud83d\ude00 \"\\\/\b\f\n\r\t\u0000")"),
         [](const Database& db) { EXPECT_EQ(db.profiles[0].name, "Äß😀 \"\\/\b\f\n\r\t\0"s); }},
        {"reminderDays short", WithSettings(R"({"reminderDays": [false, false]})"),
         [](const Database& db) {
             EXPECT_EQ(db.settings.reminderDays, (std::array<bool, 7>{false, false, true, true, true, true, true}));
         }},
        {"reminderDays long", WithSettings(R"({"reminderDays": [false,false,false,false,false,false,false,true]})"),
         [](const Database& db) { EXPECT_EQ(db.settings.reminderDays, (std::array<bool, 7>{})); }},
        {"reminderDays mixed", WithSettings(R"({"reminderDays": [false, 0]})"),
         [](const Database& db) { EXPECT_EQ(db.settings.reminderDays, Settings{}.reminderDays); }},
        {"settings not an object", WithSettings("[1, 2]"),
         [](const Database& db) { EXPECT_TRUE(db.settings == Settings{}); }},
        {"settings fields", WithSettings(R"({"reminderHour": 6.5, "speechRate": 2, "voiceId": "de"})"),
         [](const Database& db) {
             EXPECT_EQ(db.settings.reminderHour, 6);
             EXPECT_EQ(db.settings.speechRate, 2.0);
             EXPECT_EQ(db.settings.voiceId, "de");
         }},
        {"home three", WithProfile(R"("home": [1, 2, 3])"),
         [dp](const Database& db) { EXPECT_EQ(db.profiles[0].home, dp.home); }},
        {"home pair", WithProfile(R"("home": [1, -2.5])"),
         [](const Database& db) { EXPECT_EQ(db.profiles[0].home, (LatLon{1.0, -2.5})); }},
        {"home object", WithProfile(R"("home": {"a": "x", "b": "y"})"),
         [dp](const Database& db) { EXPECT_EQ(db.profiles[0].home, dp.home); }},
        {"address", WithProfile(R"("address": {"city": "Köln", "zip": 50667})"),
         [dp](const Database& db) {
             EXPECT_EQ(db.profiles[0].city, "Köln");
             EXPECT_EQ(db.profiles[0].zip, "");
             EXPECT_EQ(db.profiles[0].country, dp.country);
         }},
        {"address not an object", WithProfile(R"("address": "Hauptstraße")"),
         [dp](const Database& db) { EXPECT_EQ(db.profiles[0].country, dp.country); }},
        {"strava", WithProfile(R"("strava": {"expiresAt": 1.5e9, "refreshToken": "r"})"),
         [](const Database& db) {
             EXPECT_EQ(db.profiles[0].strava.expiresAt, 1500000000);
             EXPECT_EQ(db.profiles[0].strava.refreshToken, "r");
         }},
        {"weightLog and shoes", WithProfile(R"("weightLog": [{"kg": 70}, 5], "shoes": [{"name": "S"}])"),
         [](const Database& db) {
             EXPECT_EQ(db.profiles[0].weightLog, (std::vector<WeightEntry>{{0, 70.0}, {0, 0.0}}));
             ASSERT_EQ(db.profiles[0].shoes.size(), 1u);
             EXPECT_EQ(db.profiles[0].shoes[0].limitKm, 700.0);
             EXPECT_EQ(db.profiles[0].shoes[0].name, "S");
         }},
        {"track shapes", WithActivity(R"("track": [[7.1], "x", null, [1, 2, "z"], {"a": 1}, [], [3, 4]])"),
         [](const Database& db) {
             EXPECT_EQ(db.activities[0].track, (std::vector<LatLon>{{1.0, 2.0}, {3.0, 4.0}}));
         }},
        {"track object", WithActivity(R"("track": {"b": [3, 4], "a": [1, 2], "c": 5})"),
         [](const Database& db) {
             EXPECT_EQ(db.activities[0].track, (std::vector<LatLon>{{1.0, 2.0}, {3.0, 4.0}}));
         }},
        {"track scalar", WithActivity(R"("track": 5)"),
         [](const Database& db) { EXPECT_TRUE(db.activities[0].track.empty()); }},
        {"elevations mixed", WithRoute(R"("elevations": [1, "x", 3])"),
         [](const Database& db) { EXPECT_TRUE(db.routes[0].elevations.empty()); }},
        {"elevations", WithRoute(R"("elevations": [1, 2.5], "points": [[1, 2]], "waypoints": [])"),
         [](const Database& db) {
             EXPECT_EQ(db.routes[0].elevations, (std::vector<double>{1.0, 2.5}));
             EXPECT_EQ(db.routes[0].points, (std::vector<LatLon>{{1.0, 2.0}}));
         }},
        {"duplicate key: the last wins", WithActivity(R"("title": "A", "title": 5, "feel": 1, "feel": 2)"),
         [da](const Database& db) {
             EXPECT_EQ(db.activities[0].title, da.title);
             EXPECT_EQ(db.activities[0].feel, 2);
         }},
        {"duplicate failing pair replaced", WithActivity(R"("track": [[1, "y"]], "track": [[5, 6]])"),
         [](const Database& db) { EXPECT_EQ(db.activities[0].track, (std::vector<LatLon>{{5.0, 6.0}})); }},
        {"failing list replaced", R"({"profiles": [{"home": ["a", "b"]}], "profiles": []})",
         [](const Database& db) { EXPECT_TRUE(db.profiles.empty()); }},
        {"unknown keys and app/version", R"({"app": 7, "version": "x", "extra": [{}], "profiles": [{"nope": {}}]})",
         [](const Database& db) { EXPECT_EQ(db.profiles.size(), 1u); }},
        {"byte-order mark", "\xEF\xBB\xBF{\"profiles\": []}", [](const Database&) {}},
        {"NUL ends the text", "{\"profiles\": []}\0 garbage"s, [](const Database&) {}},
        {"tiny number", WithActivity(R"("distanceKm": 1e-400, "calories": -0.0)"),
         [](const Database& db) {
             EXPECT_EQ(db.activities[0].distanceKm, 0.0);
             EXPECT_TRUE(std::signbit(db.activities[0].calories));
         }},
        {"negative zero integer", WithActivity(R"("calories": -0)"),
         [](const Database& db) { EXPECT_FALSE(std::signbit(db.activities[0].calories)); }},
        {"long numbers", WithActivity(R"("distanceKm": 12345678901234567890123, "durationSec": 0.1000000000000000055511151231257827)"),
         [](const Database& db) {
             EXPECT_EQ(db.activities[0].distanceKm, 12345678901234567890123.0);
             EXPECT_EQ(db.activities[0].durationSec, 0.1);
         }},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.name);
        Database db;
        ASSERT_TRUE(ParseBoth(c.text, db));
        c.check(db);
    }
}

TEST(DataFileRead, RecordListsIterateLikeNlohmann) {
    // An object gives its member values in key order (the last of equal keys
    // winning), a scalar one default record, null none.
    Database db;
    ASSERT_TRUE(ParseBoth(R"({"profiles": {"b": {"name": "B"}, "a": {"name": "A"}, "b": {"name": "C"}}})", db));
    ASSERT_EQ(db.profiles.size(), 2u);
    EXPECT_EQ(db.profiles[0].name, "A");
    EXPECT_EQ(db.profiles[1].name, "C");

    ASSERT_TRUE(ParseBoth(R"({"profiles": 5, "activities": "x", "routes": null, "awards": true})", db));
    EXPECT_EQ(db.profiles, std::vector<Profile>(1));
    EXPECT_EQ(db.activities, std::vector<Activity>(1));
    EXPECT_TRUE(db.routes.empty());
    EXPECT_EQ(db.awards, std::vector<Award>(1));

    ASSERT_TRUE(ParseBoth(R"({"profiles": null})", db));
    EXPECT_TRUE(db.profiles.empty());

    ASSERT_TRUE(ParseBoth(R"({"profiles": [1, null, {"name": "X", "weightLog": {"k": {"kg": 70}}}]})", db));
    ASSERT_EQ(db.profiles.size(), 3u);
    EXPECT_EQ(db.profiles[0], Profile{});
    EXPECT_EQ(db.profiles[1], Profile{});
    EXPECT_EQ(db.profiles[2].weightLog, (std::vector<WeightEntry>{{0, 70.0}}));

    // A failing element hidden under a replaced key does not count.
    ASSERT_TRUE(ParseBoth(R"({"profiles": {"a": {"home": ["x", "y"]}, "a": {}}})", db));
    EXPECT_FALSE(ParseBoth(R"({"profiles": {"a": {}, "b": {"home": ["x", "y"]}}})", db));
}

TEST(DataFileRead, FailuresLeaveTheDatabaseUntouched) {
    const std::string failures[] = {
        "",
        "   ",
        "{",
        "[]",
        "null",
        "\"profiles\"",
        R"({"activities": []})",                          // no "profiles"
        R"({"profiles": []} x)",                          // text after the document
        R"({"profiles": [],})",                           // trailing comma
        R"({"profiles": [] /* note */})",                 // comments are not allowed
        R"({'profiles': []})",
        R"({"profiles": [01]})",
        R"({"profiles": [1.]})",
        R"({"profiles": [-]})",
        R"({"profiles": [1e400]})",                       // overflows a double
        R"({"profiles": [], "x": -1e309})",
        R"({"profiles": [], "x": 1)" + std::string(400, '0') + "}",
        R"({"profiles": ["\ud800"]})",                   // lone surrogate
        R"({"profiles": ["\udc00"]})",
        R"({"profiles": ["\x"]})",
        "{\"profiles\": [\"\x01\"]}",                     // raw control character
        "{\"profiles\": [\"\xFF\"]}",                     // invalid UTF-8
        "{\"profiles\": [\"\xC0\xAF\"]}",                 // overlong
        "{\"profiles\": [\"\xED\xA0\x80\"]}",             // encoded surrogate
        "{\"profiles\": [\"\xF4\x90\x80\x80\"]}",         // above U+10FFFF
        "\xEF\xBB{\"profiles\": []}",                     // broken byte-order mark
        "\0{\"profiles\": []}"s,
        "{\"profiles\": [\0]}"s,
        R"({"profiles": [{"home": ["a", "b"]}]})",        // strict: home pair
        R"({"profiles": [{"home": [1, true]}]})",
        R"({"profiles": [], "activities": [{"track": [[7.1, "y"]]}]})",
        R"({"profiles": [], "activities": [{"track": [[null, null]]}]})",
        R"({"profiles": [], "activities": [{"track": {"a": [1, "x"]}}]})",
        R"({"profiles": [], "routes": [{"points": [[1, 2], [false, 2]]}]})",
        R"({"profiles": [], "routes": [{"waypoints": [["1", "2"]]}]})",
        std::string(100000, '[') + std::string(100000, ']'),
        R"({"profiles": [], "x": )" + std::string(100000, '[') + std::string(99999, ']') + "}",
    };
    for (const std::string& text : failures) {
        Database db = sample::Populated();
        EXPECT_FALSE(ParseBoth(text, db)) << text;
        EXPECT_TRUE(db == sample::Populated()) << text;
    }
    // Deep nesting that is well formed is read (and ignored) without recursion.
    Database db;
    EXPECT_TRUE(ParseBoth(R"({"profiles": [], "x": )" + std::string(100000, '[') + std::string(100000, ']') + "}", db));
}

// Random edits of a valid document: both readers must agree on every one.
TEST(DataFileRead, StreamingAndTreeReadersAgreeOnMutations) {
    const std::string base = SerializeDatabase(sample::Populated());
    const char* const snippets[] = {"[", "]", "{", "}", ",", ":", "\"", "null", "true", "1e400", "-0", "1.5",
                                    "\\u00e4", "\\ud800", "\xFF", "[1,2]", "[\"a\",1]", "{}", "[]", " ", "\0"};
    std::mt19937 rng(11);
    for (int i = 0; i < 3000; ++i) {
        std::string text = base;
        const int edits = 1 + static_cast<int>(rng() % 3);
        for (int e = 0; e < edits; ++e) {
            const size_t pos = rng() % (text.size() + 1);
            switch (rng() % 3) {
                case 0: text.erase(pos, 1 + rng() % 8); break;
                case 1: {
                    const char* s = snippets[rng() % std::size(snippets)];
                    text.insert(pos, s, std::max<size_t>(1, std::strlen(s)));
                    break;
                }
                default:
                    if (pos < text.size()) text[pos] = static_cast<char>(rng());
            }
        }
        Database db;
        ParseBoth(text, db);
        if (::testing::Test::HasFailure()) break;
    }
}

}  // namespace
