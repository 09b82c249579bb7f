// The award celebration: queue order and cap, appending while showing, the
// timeline (button, keys, confetti, sounds) with and without animations.
#include <gtest/gtest.h>

#include "app/overlay_fixture.h"
#include "platform/sound.h"
#include "ui/medallion.h"

using overlay_test::Fixture;

namespace {

Award A(const std::string& key, int tier, const std::string& name = "") {
    Award a;
    a.id = NewId();
    a.key = key;
    a.tier = tier;
    a.name = name.empty() ? key : name;
    return a;
}

std::vector<std::string> QueuedKeys() {
    std::vector<std::string> keys;
    for (const Award& a : CelebrationState().entries) keys.push_back(a.key);
    return keys;
}

}  // namespace

TEST(QueueCelebration, MedalFirstThenLowTiersInGrantingOrderAtMostSix) {
    ResetCelebration();
    QueueCelebration({}, "nichts");
    EXPECT_FALSE(IsCelebrating());

    // Granting order of one activity: medal, then eight milestones.
    QueueCelebration({A("first", 0), A("run5k", 1), A("run10k", 2), A("km50", 0), A("early", 1), A("medal", 2),
                      A("weekend", 0), A("pace5", 2), A("hour", 1)},
                     "Stark!");
    EXPECT_EQ(QueuedKeys(), (std::vector<std::string>{"medal", "first", "km50", "weekend", "run5k", "early"}));
    EXPECT_EQ(CelebrationState().headline, "Stark!");
    EXPECT_EQ(CelebrationState().position, 0u);
    EXPECT_TRUE(IsCelebrating());
    ResetCelebration();
}

TEST(Celebration, EnterWorksOnlyAfterTheFirstSecondAndAQueuedCallAppendsBehind) {
    Fixture f(MakeLocalTime(2025, 6, 12, 19, 0, 0));
    f.h.app.db.settings.sounds = false;
    const int sounds = platform::SoundRequestCount();
    QueueCelebration({A("medal", 1, "Laufmedaille #3"), A("first", 0)}, "Weiter so!");
    EXPECT_TRUE(f.h.app.IsAnimating());
    ASSERT_TRUE(f.Frames(30));  // 0.5 s
    EXPECT_TRUE(ConfettiActive());  // the burst came at 0.32 s
    EXPECT_TRUE(CelebrationState().burstDone);
    ASSERT_TRUE(f.Press(ImGuiKey_Enter));
    EXPECT_EQ(CelebrationState().position, 0u);  // too early

    // A second call while showing: appended behind, the current entry restarts.
    QueueCelebration({A("km50", 0)}, "");
    EXPECT_EQ(QueuedKeys(), (std::vector<std::string>{"medal", "first", "km50"}));
    EXPECT_FLOAT_EQ(CelebrationState().t, 0.0f);
    EXPECT_FALSE(CelebrationState().burstDone);

    ASSERT_TRUE(f.Frames(60));  // 1 s
    ASSERT_TRUE(f.Press(ImGuiKey_Space));
    EXPECT_EQ(CelebrationState().position, 1u);
    ASSERT_TRUE(f.Frames(60));
    ASSERT_TRUE(f.Press(ImGuiKey_Escape));
    ASSERT_TRUE(f.Frames(60));
    ASSERT_TRUE(f.Press(ImGuiKey_Enter));
    EXPECT_FALSE(IsCelebrating());
    EXPECT_FALSE(f.h.app.IsAnimating());
    EXPECT_FALSE(ConfettiActive());  // removed with the last entry
    EXPECT_EQ(platform::SoundRequestCount(), sounds);  // sounds off: nothing played at all

    // Exhausted: the next call starts a fresh queue.
    QueueCelebration({A("early", 1)}, "");
    EXPECT_EQ(QueuedKeys(), (std::vector<std::string>{"early"}));
    EXPECT_EQ(CelebrationState().position, 0u);
}

TEST(Celebration, WithoutAnimationsTheFinalStateShowsAtOnceWithoutConfetti) {
    Fixture f(MakeLocalTime(2025, 6, 12, 19, 0, 0));
    f.h.app.db.settings.animations = false;
    f.h.app.db.settings.sounds = true;
    const int sounds = platform::SoundRequestCount();
    QueueCelebration({A("medal", 2), A("run5k", 1)}, "");
    ASSERT_TRUE(f.Frames(1));
    EXPECT_TRUE(CelebrationState().burstDone);
    EXPECT_FALSE(ConfettiActive());
    EXPECT_EQ(platform::SoundRequestCount(), sounds + 1);  // the fanfare
    ASSERT_TRUE(f.Press(ImGuiKey_Enter));                   // no waiting
    EXPECT_EQ(CelebrationState().position, 1u);
    EXPECT_EQ(platform::SoundRequestCount(), sounds + 2);  // the chime
    ASSERT_TRUE(f.Frames(1));
    EXPECT_EQ(platform::SoundRequestCount(), sounds + 3);  // the next entry's fanfare
    ASSERT_TRUE(f.Press(ImGuiKey_KeyPadEnter));
    EXPECT_FALSE(IsCelebrating());
    EXPECT_EQ(platform::SoundRequestCount(), sounds + 3);  // no chime after the last one
}

TEST(Celebration, ButtonAppearsAfterPointSixSecondsAndAdvances) {
    Fixture f(MakeLocalTime(2025, 6, 12, 19, 0, 0));
    f.h.app.db.settings.sounds = false;
    ImGuiIO& io = ImGui::GetIO();
    const float frame = io.DeltaTime;
    // Finds the button by hovering down the middle with the clock nearly stopped.
    auto findButton = [&]() -> float {
        io.DeltaTime = 1e-5f;
        float found = -1;
        for (float y = io.DisplaySize.y * 0.45f; y < io.DisplaySize.y && found < 0; y += 4) {
            io.MousePos = ImVec2(io.DisplaySize.x * 0.5f, y);
            f.h.Frame();
            if (GImGui->HoveredId != 0) found = y;
        }
        io.MousePos = ImVec2(-FLT_MAX, -FLT_MAX);
        io.DeltaTime = frame;
        return found;
    };
    QueueCelebration({A("medal", 0, "Laufmedaille #1")}, "");
    ASSERT_TRUE(f.Frames(30));  // 0.5 s
    EXPECT_LT(findButton(), 0);
    ASSERT_TRUE(f.Frames(12));  // 0.7 s
    const float y = findButton();
    ASSERT_GT(y, 0);
    EXPECT_TRUE(IsCelebrating());
    ASSERT_TRUE(f.Click(ImVec2(io.DisplaySize.x * 0.5f, y + 8)));
    EXPECT_FALSE(IsCelebrating());
}

TEST(Medallion, TierColoursClampAndLockedIsGrey) {
    EXPECT_EQ(TierColors(2, false).middle, Hex(0xF5C542));
    EXPECT_EQ(TierColors(9, false).middle, Hex(0xB388FF));
    EXPECT_EQ(TierColors(-1, false).light, Hex(0xF6C9A0));
    EXPECT_EQ(TierColors(4, true).middle, Hex(0x353A4A));
}
