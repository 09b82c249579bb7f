#include "model/records.h"

#include <set>
#include <string>

#include <gtest/gtest.h>

namespace {

Profile MakeProfile(const std::string& id, const std::string& name = "") {
    Profile p;
    p.id = id;
    p.name = name;
    return p;
}

Activity MakeActivity(const std::string& id, const std::string& profileId, int64_t start = 0) {
    Activity a;
    a.id = id;
    a.profileId = profileId;
    a.start = start;
    return a;
}

TEST(ActiveProfile, RepairsMissingOrStaleId) {
    Database db;
    EXPECT_EQ(ActiveProfile(db), nullptr);
    EXPECT_EQ(db.settings.activeProfile, "");

    db.profiles = {MakeProfile("p1"), MakeProfile("p2")};
    for (const char* stored : {"", "gone"}) {
        db.settings.activeProfile = stored;
        Profile* p = ActiveProfile(db);
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p, &db.profiles[0]) << stored;
        EXPECT_EQ(db.settings.activeProfile, "p1") << stored;
    }
    db.settings.activeProfile = "p2";
    EXPECT_EQ(ActiveProfile(db), &db.profiles[1]);
    EXPECT_EQ(db.settings.activeProfile, "p2");
}

TEST(ProfileInitials, WordStartsAndMultiByteLetters) {
    struct Case { const char* name; const char* want; };
    const Case cases[] = {
        {"anna maria schmidt", "AM"},
        {"Özil mesut", "Ö"},            // a two-byte initial already fills the result
        {"   ", "?"},
        {"", "?"},
        {"3 berge", "B"},               // a digit starts no initial
        {"  jan   ole", "JO"},
        {"x-ray", "X"},
        {"a", "A"},
        {"\xE6\x9D\x8E \xE6\x98\x8E", "\xE6\x9D\x8E"},  // one three-byte character
        {"eva \xF0\x9F\x98\x80", "E\xF0\x9F\x98\x80"},     // ASCII, then a four-byte character
        {"-- !!", "?"},
    };
    for (const Case& c : cases) EXPECT_EQ(ProfileInitials(MakeProfile("p", c.name)), c.want) << c.name;
}

TEST(Sport, TableAndClamping) {
    EXPECT_STREQ(SportName(0), "Laufen / Joggen");
    EXPECT_STREQ(SportName(4), "Schwimmen");
    EXPECT_STREQ(SportName(9), "Sonstiges");
    EXPECT_STREQ(SportName(-1), "Sonstiges");
    EXPECT_EQ(SportColor(3), 0x3A86FFu);
    EXPECT_EQ(SportColor(9), 0xB388FFu);
    EXPECT_STREQ(SportIcon(42), SportIcon(SportOther));
    EXPECT_EQ(ClampSport(9), 5);
    EXPECT_EQ(ClampSport(-1), 0);
    EXPECT_EQ(ClampSport(2), 2);
}

TEST(NewId, ShapeAndUniqueness) {
    std::set<std::string> seen;
    std::set<char> digitsAt[16];
    std::string prev;
    for (int i = 0; i < 4000; ++i) {
        const std::string id = NewId();
        ASSERT_EQ(id.size(), 16u);
        for (size_t k = 0; k < id.size(); ++k) {
            const char c = id[k];
            ASSERT_TRUE((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')) << id;
            digitsAt[k].insert(c);
        }
        EXPECT_NE(id, prev);
        prev = id;
        seen.insert(id);
    }
    EXPECT_EQ(seen.size(), 4000u);
    // Every position carries a full random nibble.
    for (const auto& digits : digitsAt) EXPECT_EQ(digits.size(), 16u);
}

TEST(DeleteProfile, CascadesAndRepairsActiveProfile) {
    Database db;
    db.profiles = {MakeProfile("a"), MakeProfile("b"), MakeProfile("c")};
    db.activities = {MakeActivity("a1", "a"), MakeActivity("b1", "b"), MakeActivity("c1", "c"),
                     MakeActivity("b2", "b")};
    for (const char* owner : {"a", "b", "c"}) {
        Route r;
        r.id = std::string("r") + owner;
        r.profileId = owner;
        db.routes.push_back(r);
        Award w;
        w.id = std::string("w") + owner;
        w.profileId = owner;
        db.awards.push_back(w);
    }
    db.settings.activeProfile = "b";

    Database expected = db;
    expected.profiles.erase(expected.profiles.begin() + 1);
    expected.activities = {MakeActivity("a1", "a"), MakeActivity("c1", "c")};
    expected.routes.erase(expected.routes.begin() + 1);
    expected.awards.erase(expected.awards.begin() + 1);
    expected.settings.activeProfile = "a";

    DeleteProfile(db, "b");
    EXPECT_EQ(db, expected);

    DeleteProfile(db, "c");  // not the active one: the choice stays
    EXPECT_EQ(db.settings.activeProfile, "a");
    EXPECT_EQ(db.activities.size(), 1u);

    DeleteProfile(db, "a");
    EXPECT_EQ(db.settings.activeProfile, "");
    EXPECT_TRUE(db.profiles.empty() && db.activities.empty() && db.routes.empty() && db.awards.empty());
}

TEST(Queries, SortedViewsAreStable) {
    Database db;
    db.profiles = {MakeProfile("p"), MakeProfile("q")};
    db.activities = {MakeActivity("x", "p", 30), MakeActivity("y", "p", 10), MakeActivity("z", "p", 30),
                     MakeActivity("o", "q", 5)};
    std::string order;
    for (const Activity* a : ProfileActivities(db, db.profiles[0])) order += a->id;
    EXPECT_EQ(order, "yxz");

    auto route = [](const char* id, bool fav, int64_t created) {
        Route r;
        r.id = id;
        r.profileId = "p";
        r.favorite = fav;
        r.createdAt = created;
        return r;
    };
    db.routes = {route("1", false, 5), route("2", true, 1), route("3", false, 9), route("4", true, 1)};
    order.clear();
    for (const Route* r : ProfileRoutes(db, db.profiles[0])) order += r->id;
    EXPECT_EQ(order, "2431");

    auto award = [](const char* id, int64_t at) {
        Award w;
        w.id = id;
        w.profileId = "p";
        w.at = at;
        return w;
    };
    db.awards = {award("a", 1), award("b", 3), award("c", 1)};
    order.clear();
    for (const Award* w : ProfileAwards(db, db.profiles[0])) order += w->id;
    EXPECT_EQ(order, "bac");
}

TEST(Queries, LookupsShoesAndAge) {
    Database db;
    db.activities = {MakeActivity("x", "p"), MakeActivity("y", "p"), MakeActivity("z", "p")};
    db.activities[0].shoeId = "s";
    db.activities[0].distanceKm = 10.5;
    db.activities[2].shoeId = "s";
    db.activities[2].distanceKm = 4.25;
    EXPECT_DOUBLE_EQ(ShoeDistance(db, "s"), 14.75);
    EXPECT_DOUBLE_EQ(ShoeDistance(db, "t"), 0.0);
    EXPECT_EQ(FindActivity(db, "y"), &db.activities[1]);
    EXPECT_EQ(FindActivity(db, "nope"), nullptr);

    Route unnamed;  // id ""
    db.routes = {unnamed};
    EXPECT_EQ(FindRoute(db, ""), nullptr);

    Profile p;
    p.birthYear = 1990;
    p.birthMonth = 6;
    p.birthDay = 15;
    EXPECT_EQ(ProfileAgeOn(p, 2025, 6, 14), 34);
    EXPECT_EQ(ProfileAgeOn(p, 2025, 6, 15), 35);
    EXPECT_EQ(ProfileAgeOn(p, 1992, 1, 1), 5);     // clamped up
    EXPECT_EQ(ProfileAgeOn(p, 2200, 1, 1), 110);   // clamped down
}

}  // namespace
