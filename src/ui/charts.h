// Graphics that show numbers: progress bar and ring, donut, bar chart, line chart.
// Sizes are in final pixels (see theme.h).
#pragma once

#include <span>
#include <string>
#include <vector>

#include "imgui.h"

// One entry of a bar or line chart; an empty tooltip shows the label instead.
struct ChartPoint {
    float value = 0.0f;
    std::string label;
    std::string tooltip;
};

struct DonutSegment {
    float value = 0.0f;
    ImU32 colour = 0;
};

// Full-width bar of the given height at the cursor; fraction is clamped to 0..1.
void ProgressBar(float fraction, float height, ImU32 colourFrom, ImU32 colourTo);
// Ring around an absolute centre (radius = middle of the stroke), drawn clockwise from
// the top; no layout item. fraction is clamped to 0..1.
void ProgressRing(ImVec2 centre, float radius, float thickness, float fraction, ImU32 colourFrom,
                  ImU32 colourTo, ImU32 trackColour);
// Ring of segments that reveals itself on first show; takes a square item of
// 2 × (radius + thickness / 2) at the cursor. centreSub may be null.
void Donut(const char* id, std::span<const DonutSegment> segments, float radius, float thickness,
           const char* centreText, const char* centreSub = nullptr);
// Bars with labels below, optional highlighted bar (−1 = none) and goal line (0 = none).
// size.x 0 = available width, size.y 0 = available height.
void BarChart(const char* id, std::span<const ChartPoint> points, ImVec2 size, ImU32 colourTop,
              ImU32 colourBottom, int highlightIndex = -1, float goal = 0.0f);
// Line over the points; min/max NaN = from the data. invert draws smaller values higher.
void LineChart(const char* id, std::span<const ChartPoint> points, ImVec2 size, ImU32 colour, bool fill,
               float min, float max, bool invert = false);

// ---- The arithmetic behind the charts (no drawing) ----

// Top of the bar chart's scale: 1.12 × the larger of the biggest value and the goal,
// or 1.12 when that is not above 0.
float BarChartTop(std::span<const ChartPoint> points, float goal);
// Whether the label of bar i is drawn: all labels when the slot is wider than 0.9 × the
// label, otherwise only those of even index.
bool BarLabelShown(int index, float slotWidth, float labelWidth);

struct ValueRange {
    float min = 0.0f;
    float max = 1.0f;
};
// The line chart's value range: the given one, or, when either bound is NaN, the data's
// minimum and maximum padded by max(0.5, 15 % of the span) on both sides.
ValueRange LineChartRange(std::span<const ChartPoint> points, float min, float max);
// Height of a value in the plot as 0 (bottom) .. 1 (top); the span used for division is
// at least 1e-6; invert flips it.
float LineChartLevel(float value, ValueRange range, bool invert);
// Index of the point nearest to a mouse x position (clamped to the points).
int LineChartHoverIndex(float mouseX, float left, float width, int count);
// Every k-th point gets an x label: k = max(1, count / 6).
int LineChartLabelStep(int count);
// Number of line segments revealed: those j with j + 2 ≤ max(2, ⌈count × reveal⌉).
int LineChartVisibleSegments(int count, float reveal);
// Number of arc pieces of a progress ring: max(8, 72 × fraction).
int ProgressRingSegments(float fraction);
// Angle spans (radians) of the donut segments: value / sum × 2π × reveal; negative values
// count as 0; all 0 when the sum is not above 0.
std::vector<float> DonutSpans(std::span<const DonutSegment> segments, float reveal);
