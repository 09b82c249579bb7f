// The activity editor and detail: the new-activity draft, validity, the route
// pre-fill, automatic and typed calories through the real editor, saving,
// editing, deleting and the GPX file name.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/overlay_fixture.h"
#include "science/awards.h"
#include "ui/activity_editor.h"

using overlay_test::Fixture;

namespace {

Route SavedRoute(const std::string& profileId, double km, double climb, const std::string& name) {
    Route r;
    r.id = NewId();
    r.profileId = profileId;
    r.name = name;
    r.distanceKm = km;
    r.elevationGain = climb;
    return r;
}

std::vector<std::string> Keys(const std::vector<Award>& awards, const std::string& activityId) {
    std::vector<std::string> keys;
    for (const Award& a : awards)
        if (a.activityId == activityId) keys.push_back(a.key);
    return keys;
}

}  // namespace

TEST(NewActivity, StartsHalfAnHourAgoOnTheFullMinuteWithTheFirstShoeInUse) {
    Fixture f(MakeLocalTime(2025, 6, 12, 18, 47, 33));
    f.profile().shoes = {Shoe{"s-retired", "Alt", 700, true}, Shoe{"s-new", "Neu", 700, false}};
    f.h.app.NewActivity();
    const Activity& d = f.h.app.editorDraft;
    EXPECT_EQ(d.start, MakeLocalTime(2025, 6, 12, 18, 17, 0));
    EXPECT_EQ(d.durationSec, 1800);
    EXPECT_EQ(d.distanceKm, 5.0);
    EXPECT_EQ(d.sport, SportRun);
    EXPECT_EQ(d.feel, 3);
    EXPECT_EQ(d.source, "manual");
    EXPECT_EQ(d.shoeId, "s-new");
    EXPECT_EQ(d.profileId, f.profile().id);
    EXPECT_TRUE(d.id.empty());
    EXPECT_TRUE(f.h.app.editorIsNew);
    EXPECT_TRUE(f.h.app.editorAutoCalories);
    EXPECT_TRUE(f.h.app.editorRequested);
    EXPECT_TRUE(f.Frames(2));
    EXPECT_TRUE(Fixture::PopupOpen("##editor"));
}

TEST(NewActivity, WithoutProfileAsksForOnboardingInstead) {
    Fixture f(MakeLocalTime(2025, 6, 12, 18, 0, 0), false);
    f.Frames(1);
    f.h.app.onboardingRequested = false;
    f.h.app.NewActivity();
    EXPECT_FALSE(f.h.app.editorRequested);
    EXPECT_TRUE(f.h.app.onboardingRequested);
}

TEST(NewActivity, FromARouteTakesDistanceClimbTitleAndASixMinutePace) {
    Fixture f(MakeLocalTime(2025, 6, 12, 9, 0, 0));
    Route r = SavedRoute(f.profile().id, 7.3, 123.6, "Runde am See");
    f.h.app.db.routes.push_back(r);
    f.h.app.NewActivity(r.id);
    const Activity& d = f.h.app.editorDraft;
    EXPECT_DOUBLE_EQ(d.distanceKm, 7.3);
    EXPECT_EQ(d.durationSec, 2628);  // 43:48
    EXPECT_EQ(d.elevationGain, 124);
    EXPECT_EQ(d.title, "Runde am See");
    EXPECT_EQ(d.routeId, r.id);

    // An unknown route id leaves the plain defaults.
    f.h.app.NewActivity("nosuchroute");
    EXPECT_EQ(f.h.app.editorDraft.distanceKm, 5.0);
    EXPECT_TRUE(f.h.app.editorDraft.routeId.empty());

    // Picking a route in the editor keeps a typed title, fills an empty one.
    Activity typed = f.h.app.editorDraft;
    typed.title = "Mein Lauf";
    ApplyRouteToDraft(typed, SavedRoute("p", 12.345, 80.4, "Waldweg"));
    EXPECT_EQ(typed.title, "Mein Lauf");
    EXPECT_DOUBLE_EQ(typed.distanceKm, 12.35);
    EXPECT_EQ(typed.elevationGain, 80);
    Activity untitled;
    ApplyRouteToDraft(untitled, SavedRoute("p", 3, 0, "Waldweg"));
    EXPECT_EQ(untitled.title, "Waldweg");
}

TEST(ActivityDraft, ValidNeedsADurationAndADistanceUnlessSwimmingOrOther) {
    struct Case {
        int sport;
        double km, sec;
        bool valid;
    } cases[] = {
        {SportRun, 5, 1800, true},   {SportRun, 0, 1800, false},  {SportBike, 0, 2700, false},
        {SportSwim, 0, 2700, true},  {SportOther, 0, 2700, true}, {SportOther, 0, 0, false},
        {SportRun, 5, 0, false},     {SportSwim, 1, -5, false},
    };
    for (const Case& c : cases) {
        Activity a;
        a.sport = c.sport;
        a.distanceKm = c.km;
        a.durationSec = c.sec;
        EXPECT_EQ(ActivityDraftValid(a), c.valid) << c.sport << " " << c.km << " " << c.sec;
    }
}

TEST(ActivityDetail, GpxFileNameReplacesForbiddenCharacters) {
    Activity a;
    a.start = MakeLocalTime(2025, 3, 3, 7, 15, 0);
    EXPECT_EQ(GpxExportFileName(a), "Aktivitaet-2025-03-03.gpx");
    a.title = "Lauf: Berg/Tal/See?";
    EXPECT_EQ(GpxExportFileName(a), "Lauf_ Berg_Tal_See_-2025-03-03.gpx");
    a.title = "a\\b*c\"d<e>f|g";
    EXPECT_EQ(GpxExportFileName(a), "a_b_c_d_e_f_g-2025-03-03.gpx");
    // Late in the evening the local date counts, not the UTC one.
    a.title = "Nacht";
    a.start = MakeLocalTime(2025, 3, 3, 23, 30, 0);
    EXPECT_EQ(GpxExportFileName(a), "Nacht-2025-03-03.gpx");
}

TEST(Editor, TypedCaloriesSurviveSavingAndEditingAndAutomaticTakesOverAgain) {
    Fixture f(MakeLocalTime(2025, 6, 12, 19, 0, 0));
    f.h.app.NewActivity();
    ASSERT_TRUE(f.Frames(3));
    // Automatic: the preview writes the rounded estimate into the draft.
    const double estimate = f.h.app.editorDraft.calories;
    EXPECT_GT(estimate, 100);
    EXPECT_EQ(estimate, std::round(estimate));
    EXPECT_FALSE(f.h.app.editorDraft.caloriesManual);

    // Off: the last estimate stays as the starting value, then the user types.
    f.h.app.editorAutoCalories = false;
    f.h.app.editorDraft.distanceKm = 10;  // would change the estimate
    ASSERT_TRUE(f.Frames(2));
    EXPECT_EQ(f.h.app.editorDraft.calories, estimate);
    EXPECT_TRUE(f.h.app.editorDraft.caloriesManual);
    f.h.app.editorDraft.calories = 777;
    ASSERT_TRUE(f.Frames(2));
    ASSERT_TRUE(f.Click(Fixture::FooterButton("##editor", 170)));
    ASSERT_EQ(f.h.app.db.activities.size(), 1u);
    const Activity stored = f.h.app.db.activities.front();
    EXPECT_EQ(stored.calories, 777);
    EXPECT_TRUE(stored.caloriesManual);
    EXPECT_EQ(stored.weightKg, 64);  // the profile's weight at the time
    EXPECT_EQ(stored.id.size(), 16u);
    EXPECT_FALSE(Fixture::PopupOpen("##editor"));

    // Editing opens with the toggle off; switching it on recalculates.
    f.h.app.EditActivity(stored.id);
    EXPECT_FALSE(f.h.app.editorAutoCalories);
    EXPECT_FALSE(f.h.app.editorIsNew);
    ASSERT_TRUE(f.Frames(2));
    EXPECT_EQ(f.h.app.editorDraft.calories, 777);
    f.h.app.editorAutoCalories = true;
    ASSERT_TRUE(f.Frames(2));
    const double recalculated = f.h.app.editorDraft.calories;
    EXPECT_NE(recalculated, 777);
    ASSERT_TRUE(f.Click(Fixture::FooterButton("##editor", 170)));
    ASSERT_EQ(f.h.app.db.activities.size(), 1u);
    EXPECT_EQ(f.h.app.db.activities.front().calories, recalculated);
    EXPECT_FALSE(f.h.app.db.activities.front().caloriesManual);
    EXPECT_EQ(StatusMessages().back().text, "Aktivität aktualisiert");
}

TEST(Editor, InvalidDraftCannotBeSaved) {
    Fixture f(MakeLocalTime(2025, 6, 12, 19, 0, 0));
    f.h.app.NewActivity();
    f.h.app.editorDraft.distanceKm = 0;
    ASSERT_TRUE(f.Frames(3));
    ASSERT_TRUE(f.Click(Fixture::FooterButton("##editor", 170)));
    EXPECT_TRUE(f.h.app.db.activities.empty());
    EXPECT_TRUE(Fixture::PopupOpen("##editor"));
    // Swimming without a distance is fine.
    f.h.app.editorDraft.sport = SportSwim;
    ASSERT_TRUE(f.Click(Fixture::FooterButton("##editor", 170)));
    EXPECT_EQ(f.h.app.db.activities.size(), 1u);
}

TEST(SaveActivity, MissingProfileStoresNothingAndUnknownEditChangesNothing) {
    Fixture f(MakeLocalTime(2025, 6, 12, 19, 0, 0));
    const int saves = f.h.app.saveCount;
    Activity orphan;
    orphan.profileId = "gone";
    orphan.distanceKm = 5;
    orphan.durationSec = 1500;
    f.h.app.SaveActivity(orphan, true, true);
    EXPECT_TRUE(f.h.app.db.activities.empty());
    EXPECT_TRUE(f.h.app.db.awards.empty());
    EXPECT_FALSE(IsCelebrating());

    Activity unknown = orphan;
    unknown.profileId = f.profile().id;
    unknown.id = "not-stored";
    f.h.app.SaveActivity(unknown, false, true);
    EXPECT_TRUE(f.h.app.db.activities.empty());
    EXPECT_EQ(f.h.app.saveCount, saves);
}

TEST(DeleteActivity, RemovesExactlyItsAwardsAndFirstCanBeEarnedAgain) {
    Fixture f(MakeLocalTime(2025, 6, 12, 19, 0, 0));
    auto save = [&](double km, int64_t start) {
        f.h.app.NewActivity();
        Activity a = f.h.app.editorDraft;
        a.distanceKm = km;
        a.start = start;
        f.h.app.SaveActivity(a, true, false);
        return f.h.app.db.activities.back().id;
    };
    const std::string first = save(5.5, MakeLocalTime(2025, 6, 10, 18, 0, 0));
    const std::string second = save(6, MakeLocalTime(2025, 6, 11, 18, 0, 0));
    EXPECT_FALSE(IsCelebrating());  // celebrate = false
    ASSERT_EQ(Keys(f.h.app.db.awards, first), (std::vector<std::string>{"medal", "first", "run5k"}));
    const std::vector<std::string> secondKeys = Keys(f.h.app.db.awards, second);
    ASSERT_FALSE(secondKeys.empty());

    const int saves = f.h.app.saveCount;
    f.h.app.DeleteActivity(first);
    EXPECT_EQ(f.h.app.saveCount, saves + 1);
    EXPECT_EQ(f.h.app.db.activities.size(), 1u);
    EXPECT_TRUE(Keys(f.h.app.db.awards, first).empty());
    EXPECT_EQ(Keys(f.h.app.db.awards, second), secondKeys);
    EXPECT_EQ(StatusMessages().back().text, "Aktivität gelöscht");

    const std::string third = save(5, MakeLocalTime(2025, 6, 12, 18, 0, 0));
    const std::vector<std::string> thirdKeys = Keys(f.h.app.db.awards, third);
    EXPECT_NE(std::find(thirdKeys.begin(), thirdKeys.end(), "first"), thirdKeys.end());
    EXPECT_NE(std::find(thirdKeys.begin(), thirdKeys.end(), "run5k"), thirdKeys.end());

    // Called with the id inside the stored record itself (as a list row does).
    ASSERT_EQ(f.h.app.db.activities.size(), 2u);
    f.h.app.DeleteActivity(f.h.app.db.activities.front().id);
    ASSERT_EQ(f.h.app.db.activities.size(), 1u);
    EXPECT_EQ(f.h.app.db.activities.front().id, third);
    EXPECT_EQ(Keys(f.h.app.db.awards, third), thirdKeys);
}

TEST(ActivityDetail, ShowsAndClosesOnceTheActivityIsGone) {
    Fixture f(MakeLocalTime(2025, 6, 12, 19, 0, 0));
    f.h.app.NewActivity();
    Activity a = f.h.app.editorDraft;
    a.notes = "Windig, aber schön.";
    a.track = {{52.5, 13.4}, {52.51, 13.41}, {52.52, 13.40}};
    f.h.app.SaveActivity(a, true, false);
    const std::string id = f.h.app.db.activities.back().id;
    f.h.app.ShowActivity(id);
    EXPECT_TRUE(f.h.app.detailFitPending);
    ASSERT_TRUE(f.Frames(3));
    EXPECT_TRUE(Fixture::PopupOpen("##detail"));
    f.h.app.DeleteActivity(id);
    ASSERT_TRUE(f.Frames(2));
    EXPECT_FALSE(Fixture::PopupOpen("##detail"));
}
