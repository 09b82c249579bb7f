// The motivation dialog and the ways into it and into the editor: sidebar,
// notification-area menu and clicked notifications.
#include <gtest/gtest.h>

#include "app/harness.h"
#include "model/format.h"
#include "platform/activation.h"

namespace {

const bool kBerlin = [] {
    setenv("TZ", "Europe/Berlin", 1);
    tzset();
    return true;
}();

struct Motivation : ::testing::Test {
    void SetUp() override {
        h.Init();
        h.app.wallClock = [this] { return now; };
        Profile p;
        p.id = NewId();
        p.name = "Anna Beispiel";
        h.app.db.profiles.push_back(p);
        h.app.db.settings.activeProfile = p.id;
        h.app.onboardingRequested = false;
        h.app.hooks.showWindow = [this] { ++shown; };
    }
    bool DialogOpen() {
        ImGuiWindow* w = ImGui::FindWindowByName("##motivation");
        return w && w->Active;
    }
    Harness h;
    int64_t now = MakeLocalTime(2025, 3, 12, 18, 0, 0);
    int shown = 0;
};

}  // namespace

TEST_F(Motivation, OpeningComposesForTheActiveProfileAndShowsTheDialog) {
    h.app.OpenMotivation(false);
    EXPECT_TRUE(h.app.motivationRequested);
    EXPECT_EQ(h.app.motivationTitle, "Heute ist Tag eins, Anna!");
    EXPECT_EQ(h.app.motivationBody,
              "Dein erster Lauf wartet. Jede Reise beginnt mit einem Schritt – mach ihn heute.");
    EXPECT_EQ(h.app.motivationSpeech.rfind("Guten Abend, Anna. Heute ist ein besonderer Tag", 0), 0u);
    EXPECT_TRUE(h.Frame());
    EXPECT_FALSE(h.app.motivationRequested);
    EXPECT_TRUE(DialogOpen());
    EXPECT_TRUE(h.Frame());
    EXPECT_TRUE(DialogOpen());  // stays until one of its buttons closes it

    const MotivationInput in = h.app.GatherMotivationInput();
    EXPECT_EQ(in.name, "Anna Beispiel");
    EXPECT_EQ(in.daysSinceLast, -1);
    EXPECT_EQ(in.hour, 18);
}

TEST_F(Motivation, TrayEntriesAndNotificationClicks) {
    h.app.OnTrayCommand(1002);
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(h.app.editorRequested);
    EXPECT_TRUE(h.app.editorIsNew);
    h.app.editorRequested = false;

    h.app.OnTrayCommand(1003);
    EXPECT_EQ(shown, 2);
    EXPECT_TRUE(h.app.motivationRequested);
    h.app.motivationRequested = false;

    struct Case {
        const char* argument;
        bool editor;
    } cases[] = {{"new", true}, {"speech", false}, {"motivation", false}, {"", false}, {"etwas", false}};
    for (const Case& c : cases) {
        h.app.motivationTitle.clear();
        platform::StoreActivation(c.argument);
        h.app.OnToastActivated();
        EXPECT_EQ(h.app.editorRequested, c.editor) << c.argument;
        EXPECT_EQ(h.app.motivationRequested, !c.editor) << c.argument;
        EXPECT_EQ(h.app.motivationTitle.empty(), c.editor) << c.argument;
        h.app.editorRequested = h.app.motivationRequested = false;
    }
    EXPECT_EQ(shown, 2 + 5);
    EXPECT_EQ(platform::TakeActivation(), "");  // taken
}

TEST_F(Motivation, WithoutProfileTheDialogStillOpensForAChampion) {
    h.app.db = Database{};
    h.app.OpenMotivation(true);
    EXPECT_EQ(h.app.motivationTitle, "Heute ist Tag eins, Champion!");
    EXPECT_TRUE(h.Frame());
    EXPECT_TRUE(DialogOpen());
}
