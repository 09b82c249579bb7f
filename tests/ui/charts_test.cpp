#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "ui/charts.h"

namespace {

std::vector<ChartPoint> Points(std::initializer_list<float> values) {
    std::vector<ChartPoint> out;
    for (float v : values) out.push_back({v, "", ""});
    return out;
}

TEST(BarChartScale, TopFollowsTheLargerOfValuesAndGoal) {
    EXPECT_FLOAT_EQ(BarChartTop(Points({0, 0, 0}), 0.0f), 1.12f);   // empty chart, no goal
    EXPECT_FLOAT_EQ(BarChartTop({}, 0.0f), 1.12f);
    EXPECT_FLOAT_EQ(BarChartTop(Points({3, 10, 7}), 0.0f), 11.2f);
    EXPECT_FLOAT_EQ(BarChartTop(Points({3, 10, 7}), 25.0f), 28.0f);  // goal above every bar
    EXPECT_FLOAT_EQ(BarChartTop(Points({3, 10, 7}), NAN), 11.2f);
    EXPECT_FLOAT_EQ(BarChartTop(Points({-4, -1}), 0.0f), 1.12f);
}

TEST(BarChartScale, LabelsThinOutWhenSlotsAreNarrow) {
    EXPECT_TRUE(BarLabelShown(3, 40.0f, 30.0f));
    EXPECT_TRUE(BarLabelShown(2, 20.0f, 30.0f));
    EXPECT_FALSE(BarLabelShown(3, 20.0f, 30.0f));
    EXPECT_FALSE(BarLabelShown(1, 27.0f, 30.0f));  // exactly 0.9 × is not wider
}

TEST(LineChartScale, RangeFromDataIsPadded) {
    ValueRange r = LineChartRange(Points({300, 340, 320}), NAN, NAN);
    EXPECT_FLOAT_EQ(r.min, 294.0f);  // span 40, 15 % = 6
    EXPECT_FLOAT_EQ(r.max, 346.0f);
    r = LineChartRange(Points({70.0f, 70.4f}), NAN, 100.0f);  // either bound NaN: from data
    EXPECT_FLOAT_EQ(r.min, 69.5f);                             // padding at least 0.5
    EXPECT_FLOAT_EQ(r.max, 70.9f);
    r = LineChartRange(Points({5, 5}), 0.0f, 10.0f);
    EXPECT_FLOAT_EQ(r.min, 0.0f);
    EXPECT_FLOAT_EQ(r.max, 10.0f);
}

TEST(LineChartScale, LevelClampsInvertsAndSurvivesAZeroSpan) {
    const ValueRange r{0.0f, 10.0f};
    EXPECT_FLOAT_EQ(LineChartLevel(2.5f, r, false), 0.25f);
    EXPECT_FLOAT_EQ(LineChartLevel(2.5f, r, true), 0.75f);  // faster paces higher
    EXPECT_FLOAT_EQ(LineChartLevel(-3.0f, r, false), 0.0f);
    EXPECT_FLOAT_EQ(LineChartLevel(30.0f, r, false), 1.0f);
    const float flat = LineChartLevel(5.0f, ValueRange{5.0f, 5.0f}, false);
    EXPECT_TRUE(std::isfinite(flat));
}

TEST(LineChartScale, HoverLabelsAndReveal) {
    EXPECT_EQ(LineChartHoverIndex(100.0f, 100.0f, 300.0f, 4), 0);
    EXPECT_EQ(LineChartHoverIndex(249.0f, 100.0f, 300.0f, 4), 1);
    EXPECT_EQ(LineChartHoverIndex(251.0f, 100.0f, 300.0f, 4), 2);
    EXPECT_EQ(LineChartHoverIndex(900.0f, 100.0f, 300.0f, 4), 3);
    EXPECT_EQ(LineChartHoverIndex(-50.0f, 100.0f, 300.0f, 4), 0);

    EXPECT_EQ(LineChartLabelStep(5), 1);
    EXPECT_EQ(LineChartLabelStep(12), 2);
    EXPECT_EQ(LineChartLabelStep(20), 3);

    EXPECT_EQ(LineChartVisibleSegments(20, 0.0f), 1);  // the first segment shows at once
    EXPECT_EQ(LineChartVisibleSegments(20, 0.5f), 9);
    EXPECT_EQ(LineChartVisibleSegments(20, 1.0f), 19);
    EXPECT_EQ(LineChartVisibleSegments(2, 1.0f), 1);
}

TEST(Rings, SegmentCountsAndDonutSpans) {
    EXPECT_EQ(ProgressRingSegments(0.05f), 8);
    EXPECT_EQ(ProgressRingSegments(0.5f), 36);
    EXPECT_EQ(ProgressRingSegments(3.0f), 72);  // fraction clamped

    const DonutSegment segs[] = {{3.0f, 0}, {1.0f, 0}, {-2.0f, 0}, {0.0f, 0}};
    std::vector<float> spans = DonutSpans(segs, 1.0f);
    ASSERT_EQ(spans.size(), 4u);
    EXPECT_NEAR(spans[0], 1.5f * 3.14159265f, 1e-5f);
    EXPECT_NEAR(spans[1], 0.5f * 3.14159265f, 1e-5f);
    EXPECT_EQ(spans[2], 0.0f);
    EXPECT_EQ(spans[3], 0.0f);
    spans = DonutSpans(segs, 0.5f);
    EXPECT_NEAR(spans[0] + spans[1], 3.14159265f, 1e-5f);
    const DonutSegment empty[] = {{0.0f, 0}, {0.0f, 0}};
    for (float s : DonutSpans(empty, 1.0f)) EXPECT_EQ(s, 0.0f);
}

}  // namespace
