// A first session through the real dialogs: onboarding creates the profile, the
// editor saves a run, and the awards are stored and celebrated.
#include <gtest/gtest.h>

#include "app/overlay_fixture.h"
#include "model/storage.h"

using overlay_test::Fixture;

TEST(Session, OnboardingThenAFirstRunEarnsItsMedalAndBadges) {
    // Saturday, 15 March 2025, 8:05 in Berlin.
    Fixture f(MakeLocalTime(2025, 3, 15, 8, 5, 0), false);
    ASSERT_TRUE(f.Frames(3));
    ASSERT_TRUE(Fixture::PopupOpen("##onboarding"));
    f.h.app.onboardingDraft.name = "Mara Schulz";
    f.h.app.onboardingDraft.weightKg = 64;
    f.h.app.profilesPage.onboardingAutostart = false;
    ASSERT_TRUE(f.Frames(2));
    ASSERT_TRUE(f.Click(Fixture::FooterButton("##onboarding", 190)));
    ASSERT_EQ(f.h.app.db.profiles.size(), 1u);
    const Profile p = f.h.app.db.profiles[0];
    EXPECT_EQ(p.name, "Mara Schulz");
    EXPECT_EQ(f.h.app.db.settings.activeProfile, p.id);
    EXPECT_TRUE(f.h.app.db.settings.onboardingDone);
    EXPECT_FALSE(f.h.app.db.settings.autostart);
    // The first run ends with the motivation dialog.
    ASSERT_TRUE(f.Frames(2));
    EXPECT_TRUE(Fixture::PopupOpen("##motivation"));

    // The editor: a 5.2 km run started on Saturday at 06:30, 410 kcal typed by hand.
    f.h.app.NewActivity();
    ASSERT_TRUE(f.Frames(3));
    ASSERT_TRUE(Fixture::PopupOpen("##editor"));
    Activity& d = f.h.app.editorDraft;
    d.start = MakeLocalTime(2025, 3, 15, 6, 30, 0);
    d.distanceKm = 5.2;
    d.durationSec = 1800;
    f.h.app.editorAutoCalories = false;
    ASSERT_TRUE(f.Frames(1));
    f.h.app.editorDraft.calories = 410;
    ASSERT_TRUE(f.Frames(2));
    const int saves = f.h.app.saveCount;
    ASSERT_TRUE(f.Click(Fixture::FooterButton("##editor", 170)));
    EXPECT_EQ(f.h.app.saveCount, saves + 1);
    ASSERT_EQ(f.h.app.db.activities.size(), 1u);
    const Activity& a = f.h.app.db.activities[0];
    EXPECT_EQ(a.calories, 410);
    EXPECT_TRUE(a.caloriesManual);

    const std::vector<Award>& awards = f.h.app.db.awards;
    ASSERT_EQ(awards.size(), 5u);
    EXPECT_EQ(awards[0].key, "medal");
    EXPECT_EQ(awards[0].name, "Laufmedaille #1");
    EXPECT_EQ(awards[0].tier, 2);  // Gold: 400 to 699 kcal
    const char* keys[] = {"medal", "first", "run5k", "early", "weekend"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(awards[i].key, keys[i]);
        EXPECT_EQ(awards[i].activityId, a.id);
        EXPECT_EQ(awards[i].profileId, p.id);
    }

    // The celebration shows all five: the medal, then the badges by rising tier.
    ASSERT_TRUE(IsCelebrating());
    std::vector<std::string> queued;
    for (const Award& w : CelebrationState().entries) queued.push_back(w.key);
    EXPECT_EQ(queued, (std::vector<std::string>{"medal", "first", "weekend", "run5k", "early"}));
    EXPECT_FALSE(CelebrationState().headline.empty());
    EXPECT_TRUE(f.h.app.IsAnimating());

    // Stored on disk before the celebration ends.
    Database onDisk;
    ASSERT_TRUE(LoadDatabase(f.h.Dir() + "/data.json", onDisk));
    EXPECT_EQ(onDisk.awards, f.h.app.db.awards);
}
