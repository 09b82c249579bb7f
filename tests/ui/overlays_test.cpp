#include <gtest/gtest.h>

#include <random>
#include <set>
#include <vector>

#include "ui/overlays.h"
#include "ui/theme.h"

namespace {

TEST(StatusList, AFifthMessageDropsTheOldestAtOnce) {
    std::vector<StatusMessage> list;
    for (int i = 1; i <= 5; ++i) PushStatusTo(list, "m" + std::to_string(i), StatusKind::Info);
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list.front().text, "m2");
    EXPECT_EQ(list.back().text, "m5");
    EXPECT_EQ(list.back().age, 0.0f);
}

TEST(StatusList, MessagesFadeAndExpireAfterTheirLifetime) {
    std::vector<StatusMessage> list;
    PushStatusTo(list, "alt", StatusKind::Error);
    AgeStatus(list, 2.0f);
    PushStatusTo(list, "neu", StatusKind::Success);
    AgeStatus(list, 1.5f);  // 3.5 s and 1.5 s
    ASSERT_EQ(list.size(), 2u);
    AgeStatus(list, 0.2f);  // the older passes 3.6 s
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].text, "neu");
    EXPECT_FLOAT_EQ(list[0].age, 1.7f);
    AgeStatus(list, -1.0f);  // a clock going backwards does not rejuvenate
    EXPECT_FLOAT_EQ(list[0].age, 1.7f);

    EXPECT_FLOAT_EQ(StatusAlpha(0.0f), 1.0f);
    EXPECT_FLOAT_EQ(StatusAlpha(3.2f), 1.0f);
    EXPECT_NEAR(StatusAlpha(3.4f), 0.5f, 1e-5f);
    EXPECT_FLOAT_EQ(StatusAlpha(3.6f), 0.0f);
    EXPECT_FLOAT_EQ(StatusAlpha(9.0f), 0.0f);
    EXPECT_FLOAT_EQ(StatusEnter(0.0f), 0.0f);
    EXPECT_FLOAT_EQ(StatusEnter(0.35f), 1.0f);
    EXPECT_GT(StatusEnter(0.25f), 1.0f);  // springs past its resting place
}

TEST(Confetti, BurstIsDeterministicAndWithinItsRanges) {
    std::mt19937 a(1234), b(1234);
    std::vector<ConfettiParticle> first, second;
    SpawnConfettiInto(first, ImVec2(800, 400), 1.0f, a);
    SpawnConfettiInto(second, ImVec2(800, 400), 1.0f, b);
    ASSERT_EQ(first.size(), 180u);
    std::set<int> shapes;
    for (size_t i = 0; i < first.size(); ++i) {
        const ConfettiParticle& p = first[i];
        EXPECT_EQ(p.vx, second[i].vx);
        EXPECT_EQ(p.lifetime, second[i].lifetime);
        EXPECT_EQ(p.shape, static_cast<int>(i % 3));
        shapes.insert(p.shape);
        EXPECT_GE(p.size, 5.0f);
        EXPECT_LT(p.size, 11.0f);
        EXPECT_GE(p.lifetime, 2.2f);
        EXPECT_LT(p.lifetime, 3.6f);
        EXPECT_GE(p.rotationSpeed, -10.0f);
        EXPECT_LT(p.rotationSpeed, 10.0f);
        EXPECT_EQ(p.age, 0.0f);
    }
    EXPECT_EQ(first[0].colour, Hex(0xFF7A18));
    EXPECT_EQ(first[7].colour, Hex(0xFFFFFF));
    EXPECT_EQ(first[8].colour, Hex(0xFF7A18));
    // A second burst continues the sequence instead of repeating it.
    SpawnConfettiInto(first, ImVec2(800, 400), 1.0f, a);
    EXPECT_NE(first[180].vx, first[0].vx);
}

TEST(Confetti, StepAppliesDragGravityAndExpiry) {
    ConfettiParticle p;
    p.vx = 100;
    p.vy = -200;
    p.lifetime = 0.12f;
    std::vector<ConfettiParticle> list{p};
    StepConfetti(list, 0.05f, 1.0f);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_FLOAT_EQ(list[0].vx, 100 * (1 - 1.2f * 0.05f));
    EXPECT_FLOAT_EQ(list[0].vy, (-200 + 900 * 0.05f) * (1 - 0.6f * 0.05f));
    EXPECT_FLOAT_EQ(list[0].x, list[0].vx * 0.05f);
    // A long frame (the window was hidden) advances at most 0.05 s.
    std::vector<ConfettiParticle> slow{p};
    StepConfetti(slow, 2.0f, 1.0f);
    ASSERT_EQ(slow.size(), 1u);
    EXPECT_FLOAT_EQ(slow[0].age, 0.05f);
    StepConfetti(list, 0.05f, 1.0f);
    StepConfetti(list, 0.05f, 1.0f);  // age 0.15 > lifetime 0.12
    EXPECT_TRUE(list.empty());

    ConfettiParticle q;
    q.lifetime = 3.0f;
    q.age = 2.7f;
    EXPECT_NEAR(ConfettiAlpha(q), 0.5f, 1e-5f);
    q.age = 1.0f;
    EXPECT_FLOAT_EQ(ConfettiAlpha(q), 1.0f);
}

}  // namespace
