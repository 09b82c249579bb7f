// Profiles page and onboarding: birth date clamping, saving the editor draft,
// weight entries, shoe wear, the profile delete cascade and the first-run
// onboarding after deleting the last profile.
#include <gtest/gtest.h>

#include "app/overlay_fixture.h"
#include "support/sample_data.h"
#include "ui/profiles.h"

using overlay_test::Fixture;

TEST(ProfileForm, BirthDayIsClampedToTheMonth) {
    struct Case {
        int year, month, day;
        int wantMonth, wantDay;
    } cases[] = {{2023, 2, 31, 2, 28}, {2024, 2, 31, 2, 29}, {1990, 4, 31, 4, 30},
                 {1990, 12, 31, 12, 31}, {1990, 13, 5, 12, 5}, {1990, 6, 0, 6, 1}};
    for (const Case& c : cases) {
        Profile p;
        p.birthYear = c.year;
        p.birthMonth = c.month;
        p.birthDay = c.day;
        ClampBirthDate(p);
        EXPECT_EQ(p.birthMonth, c.wantMonth) << c.year << "-" << c.month << "-" << c.day;
        EXPECT_EQ(p.birthDay, c.wantDay) << c.year << "-" << c.month << "-" << c.day;
    }
}

TEST(ProfileEditor, SavingAddsAWeightEntryOnlyForChangesAboveTenGrams) {
    Profile stored;
    stored.id = "p1";
    stored.name = "Mara";
    stored.weightKg = 70;
    struct Case {
        double weight;
        size_t entries;
    } cases[] = {{70.005, 0}, {69.995, 0}, {70.02, 1}, {68.5, 1}};
    for (const Case& c : cases) {
        Profile s = stored, draft = stored;
        draft.weightKg = c.weight;
        draft.name = "  Mara Schulz ";
        ApplyProfileDraft(draft, s, 1700000000);
        EXPECT_EQ(s.weightLog.size(), c.entries) << c.weight;
        EXPECT_EQ(s.name, "Mara Schulz");
        EXPECT_EQ(s.weightKg, c.weight);
        EXPECT_EQ(ProfileFileForm(s), ProfileFileForm(draft));  // nothing left to save
        if (c.entries) {
            EXPECT_EQ(s.weightLog.back().kg, c.weight);
            EXPECT_EQ(s.weightLog.back().date, 1700000000);
        }
    }
}

TEST(ProfileEditor, SavableOnlyWithAChangeAndANonBlankName) {
    Profile stored;
    stored.name = "Mara";
    Profile draft = stored;
    EXPECT_FALSE(ProfileDraftSavable(draft, stored));
    draft.city = "Köln";
    EXPECT_TRUE(ProfileDraftSavable(draft, stored));
    draft.name = "   ";
    EXPECT_FALSE(ProfileDraftSavable(draft, stored));
}

TEST(WeightLog, EntryIsClampedAndBecomesTheWeight) {
    Profile p;
    EXPECT_EQ(AddWeightEntry(p, 12, 5), 25);
    EXPECT_EQ(AddWeightEntry(p, 71.3, 6), 71.3);
    EXPECT_EQ(AddWeightEntry(p, 999, 7), 300);
    ASSERT_EQ(p.weightLog.size(), 3u);
    EXPECT_EQ(p.weightLog[1].kg, 71.3);
    EXPECT_EQ(p.weightKg, 300);
}

TEST(Shoes, WearThresholds) {
    struct Case {
        double used, limit;
        ShoeWear wear;
    } cases[] = {{559, 700, ShoeWear::Fine}, {560, 700, ShoeWear::Soon}, {699, 700, ShoeWear::Soon},
                 {700, 700, ShoeWear::Replace}, {0.9, 0, ShoeWear::Soon}, {0, 700, ShoeWear::Fine}};
    for (const Case& c : cases)
        EXPECT_EQ(ShoeWearOf(ShoeRatio(c.used, c.limit)), c.wear) << c.used << " / " << c.limit;
}

TEST(Profiles, DeletingRemovesEverythingOfThatProfileOnly) {
    const int64_t now = MakeLocalTime(2025, 6, 12, 19, 0, 0);
    Fixture f(now, false);
    f.h.app.db = sample::SampleDatabase(60, now);
    f.h.app.onboardingRequested = false;
    ASSERT_GE(f.h.app.db.profiles.size(), 2u);
    const std::string gone = f.h.app.db.profiles[0].id;
    const std::string kept = f.h.app.db.profiles[1].id;
    f.h.app.db.settings.activeProfile = gone;
    size_t keptActivities = 0, keptAwards = 0;
    for (const Activity& a : f.h.app.db.activities) keptActivities += a.profileId == kept;
    for (const Award& a : f.h.app.db.awards) keptAwards += a.profileId == kept;
    ASSERT_TRUE(f.Frames(2));

    const int saves = f.h.app.saveCount;
    f.h.app.RemoveProfile(gone);
    EXPECT_EQ(f.h.app.saveCount, saves + 1);
    EXPECT_EQ(f.h.app.db.settings.activeProfile, kept);
    for (const Activity& a : f.h.app.db.activities) EXPECT_EQ(a.profileId, kept);
    for (const Award& a : f.h.app.db.awards) EXPECT_EQ(a.profileId, kept);
    for (const Route& r : f.h.app.db.routes) EXPECT_EQ(r.profileId, kept);
    EXPECT_EQ(f.h.app.db.activities.size(), keptActivities);
    EXPECT_EQ(f.h.app.db.awards.size(), keptAwards);
    EXPECT_FALSE(f.h.app.onboardingRequested);
    EXPECT_EQ(StatusMessages().back().text, "Profil gelöscht");
}

TEST(Profiles, DeletingTheLastProfileOpensTheFirstRunOnboarding) {
    Fixture f(MakeLocalTime(2025, 6, 12, 19, 0, 0));
    f.profile().name = "Einzige";
    f.h.app.page = PageProfilesList;
    ASSERT_TRUE(f.Frames(3));
    f.h.app.RemoveProfile(f.profile().id);
    EXPECT_TRUE(f.h.app.db.profiles.empty());
    EXPECT_EQ(f.h.app.db.settings.activeProfile, "");
    EXPECT_TRUE(f.h.app.onboardingRequested);
    EXPECT_EQ(f.h.app.onboardingDraft.name, "");
    EXPECT_EQ(f.h.app.onboardingDraft.weightKg, 75);
    ASSERT_TRUE(f.Frames(3));
    EXPECT_TRUE(Fixture::PopupOpen("##onboarding"));
    // First-run form: "Los geht's" is disabled until a name is typed.
    ASSERT_TRUE(f.Click(Fixture::FooterButton("##onboarding", 190)));
    EXPECT_TRUE(f.h.app.db.profiles.empty());
    f.h.app.onboardingDraft.name = "  Neu  ";
    ASSERT_TRUE(f.Click(Fixture::FooterButton("##onboarding", 190)));
    ASSERT_EQ(f.h.app.db.profiles.size(), 1u);
    EXPECT_EQ(f.h.app.db.profiles[0].name, "Neu");
    EXPECT_EQ(f.h.app.db.settings.activeProfile, f.h.app.db.profiles[0].id);
}

TEST(Profiles, SecondProfileThroughNeuesProfil) {
    Fixture f(MakeLocalTime(2025, 6, 12, 19, 0, 0));
    f.h.app.onboardingDraft = NewProfileDraft(1);
    f.h.app.onboardingDraft.name = "Zweite";
    f.h.app.onboardingRequested = true;
    ASSERT_TRUE(f.Frames(3));
    ASSERT_TRUE(Fixture::PopupOpen("##onboarding"));
    const bool autostartBefore = f.h.app.db.settings.autostart;
    ASSERT_TRUE(f.Click(Fixture::FooterButton("##onboarding", 190)));
    ASSERT_EQ(f.h.app.db.profiles.size(), 2u);
    const Profile& p = f.h.app.db.profiles[1];
    EXPECT_EQ(p.name, "Zweite");
    EXPECT_EQ(p.color, 1);
    ASSERT_EQ(p.weightLog.size(), 1u);
    EXPECT_EQ(p.weightLog[0].kg, 75);
    EXPECT_EQ(p.createdAt, f.now);
    EXPECT_EQ(f.h.app.db.settings.activeProfile, p.id);
    EXPECT_FALSE(f.h.app.db.settings.onboardingDone);  // only the first run sets it
    EXPECT_EQ(f.h.app.db.settings.autostart, autostartBefore);
    EXPECT_EQ(StatusMessages().back().text, "Profil „Zweite“ angelegt");
}

TEST(Pages, ProfilesAndTrophiesDrawOverARealisticDatabaseAtBothScales) {
    for (float scale : {1.0f, 2.0f}) {
        const int64_t now = MakeLocalTime(2025, 6, 12, 19, 0, 0);
        Fixture f(now, false, scale);
        f.h.app.db = sample::SampleDatabase(300, now);
        f.h.app.onboardingRequested = false;
        for (int page : {PageTrophies, PageProfilesList}) {
            f.h.app.page = page;
            EXPECT_TRUE(f.Frames(3)) << page << " at " << scale;
        }
        // Overlays on top: editor, detail (with badges), a celebration.
        f.h.app.NewActivity();
        EXPECT_TRUE(f.Frames(3));
        f.h.app.ShowActivity(f.h.app.db.awards.back().activityId);
        EXPECT_TRUE(f.Frames(3));
        QueueCelebration({f.h.app.db.awards.back()}, "Weiter so!");
        EXPECT_TRUE(f.Frames(90));
        ResetCelebration();
    }
}
