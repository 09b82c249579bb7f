#include "ui/charts.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "imgui_internal.h"
#include "ui/controls.h"
#include "ui/draw_util.h"
#include "ui/theme.h"

namespace {

constexpr float kPi = 3.14159265358979f;
constexpr ImU32 kWhite = IM_COL32(255, 255, 255, 255);
constexpr ImU32 kTrack = IM_COL32(0x26, 0x2B, 0x3C, 0xFF);

float Clamp01(float v) { return std::isnan(v) ? 0.0f : std::clamp(v, 0.0f, 1.0f); }

const char* TooltipOf(const ChartPoint& p) { return p.tooltip.empty() ? p.label.c_str() : p.tooltip.c_str(); }

// Three faint horizontal lines at a third, two thirds and the top of the plot.
void GridLines(ImDrawList* dl, ImVec2 p, float width, float plotH) {
    for (int k = 1; k <= 3; ++k) {
        const float y = IM_ROUND(p.y + plotH - plotH * static_cast<float>(k) / 3.0f) + 0.5f;
        dl->AddLine(ImVec2(p.x, y), ImVec2(p.x + width, y), UiColor(IM_COL32(255, 255, 255, 0x0C)), 1.0f);
    }
}

ImVec2 ResolveSize(ImVec2 size) {
    const ImVec2 avail = ImGui::GetContentRegionAvail();
    if (size.x <= 0) size.x = avail.x;
    if (size.y <= 0) size.y = avail.y;
    return ImVec2(std::max(size.x, 1.0f), std::max(size.y, 1.0f));
}

bool MouseIn(ImVec2 a, ImVec2 b) {
    return ImGui::IsWindowHovered(ImGuiHoveredFlags_AllowWhenBlockedByActiveItem) &&
           ImGui::IsMouseHoveringRect(a, b, false);
}

}  // namespace

// ---- Arithmetic ----

float BarChartTop(std::span<const ChartPoint> points, float goal) {
    float m = std::isnan(goal) ? 0.0f : goal;
    for (const ChartPoint& p : points)
        if (p.value > m) m = p.value;
    return m > 0.0f ? 1.12f * m : 1.12f;
}

bool BarLabelShown(int index, float slotWidth, float labelWidth) {
    return slotWidth > 0.9f * labelWidth || index % 2 == 0;
}

ValueRange LineChartRange(std::span<const ChartPoint> points, float min, float max) {
    if (!std::isnan(min) && !std::isnan(max)) return {min, max};
    float lo = FLT_MAX, hi = -FLT_MAX;
    for (const ChartPoint& p : points) {
        if (std::isnan(p.value)) continue;
        lo = std::min(lo, p.value);
        hi = std::max(hi, p.value);
    }
    if (lo > hi) return {0.0f, 1.0f};
    const float pad = std::max(0.5f, 0.15f * (hi - lo));
    return {lo - pad, hi + pad};
}

float LineChartLevel(float value, ValueRange range, bool invert) {
    const float span = std::max(range.max - range.min, 1e-6f);
    const float t = Clamp01((value - range.min) / span);
    return invert ? 1.0f - t : t;
}

int LineChartHoverIndex(float mouseX, float left, float width, int count) {
    if (count <= 1 || width <= 0) return 0;
    const float f = (mouseX - left) / width * static_cast<float>(count - 1);
    return std::clamp(static_cast<int>(std::lround(f)), 0, count - 1);
}

int LineChartLabelStep(int count) { return std::max(1, count / 6); }

int LineChartVisibleSegments(int count, float reveal) {
    const int shown = std::max(2, static_cast<int>(std::ceil(static_cast<float>(count) * Clamp01(reveal))));
    return std::clamp(shown - 1, 0, std::max(count - 1, 0));
}

int ProgressRingSegments(float fraction) { return std::max(8, static_cast<int>(72.0f * Clamp01(fraction))); }

std::vector<float> DonutSpans(std::span<const DonutSegment> segments, float reveal) {
    double sum = 0;
    for (const DonutSegment& s : segments)
        if (s.value > 0) sum += s.value;
    std::vector<float> spans(segments.size(), 0.0f);
    if (!(sum > 0)) return spans;
    for (size_t i = 0; i < segments.size(); ++i) {
        const float v = segments[i].value > 0 ? segments[i].value : 0.0f;
        spans[i] = static_cast<float>(v / sum) * 2.0f * kPi * Clamp01(reveal);
    }
    return spans;
}

// ---- Drawing ----

void ProgressBar(float fraction, float height, ImU32 colourFrom, ImU32 colourTo) {
    const float width = std::max(ImGui::GetContentRegionAvail().x, 1.0f);
    height = std::max(height, 1.0f);
    const ImVec2 p = ImGui::GetCursorScreenPos();
    ImDrawList* dl = ImGui::GetWindowDrawList();
    const float r = height * 0.5f;
    dl->AddRectFilled(p, ImVec2(p.x + width, p.y + height), UiColor(kTrack), r);
    const float f = Clamp01(fraction);
    if (f > 0.005f) {
        const float w = std::min(width, std::max(f * width, height));
        GradientRect(p, ImVec2(p.x + w, p.y + height), colourFrom, colourTo, r, false, dl);
    }
    ImGui::Dummy(ImVec2(width, height));
}

void ProgressRing(ImVec2 centre, float radius, float thickness, float fraction, ImU32 colourFrom, ImU32 colourTo,
                  ImU32 trackColour) {
    ImDrawList* dl = ImGui::GetWindowDrawList();
    dl->AddCircle(centre, radius, UiColor(trackColour), 64, thickness);
    const float f = Clamp01(fraction);
    if (f <= 0.001f) return;
    const int n = ProgressRingSegments(f);
    const float start = -0.5f * kPi;
    const float sweep = 2.0f * kPi * f;
    for (int i = 0; i < n; ++i) {
        const float a0 = start + sweep * static_cast<float>(i) / static_cast<float>(n);
        // Each piece overlaps the next slightly so no hairline shows between them.
        const float a1 = start + sweep * static_cast<float>(i + 1) / static_cast<float>(n) + (i + 1 < n ? 0.01f : 0.0f);
        dl->PathArcTo(centre, radius, a0, a1, 3);
        dl->PathStroke(UiColor(Lerp(colourFrom, colourTo, static_cast<float>(i) / static_cast<float>(n))), 0, thickness);
    }
    const float end = start + sweep;
    dl->AddCircleFilled(ImVec2(centre.x + std::cos(start) * radius, centre.y + std::sin(start) * radius),
                        thickness * 0.5f, UiColor(colourFrom), 16);
    dl->AddCircleFilled(ImVec2(centre.x + std::cos(end) * radius, centre.y + std::sin(end) * radius),
                        thickness * 0.5f, UiColor(colourTo), 16);
}

void Donut(const char* id, std::span<const DonutSegment> segments, float radius, float thickness,
           const char* centreText, const char* centreSub) {
    const float s = UiScale();
    ImGui::PushID(id);
    const float box = 2.0f * (radius + thickness * 0.5f);
    const ImVec2 p = ImGui::GetCursorScreenPos();
    const ImVec2 c(p.x + box * 0.5f, p.y + box * 0.5f);
    ImDrawList* dl = ImGui::GetWindowDrawList();
    dl->AddCircle(c, radius, UiColor(kTrack), 64, thickness);
    const float reveal = AnimateFrom(ImGui::GetID("rev"), 0.0f, 1.0f, 5);
    const std::vector<float> spans = DonutSpans(segments, reveal);
    float a = -0.5f * kPi;
    for (size_t i = 0; i < spans.size(); ++i) {
        const float span = spans[i];
        if (span >= 0.02f) {
            const float a0 = a + 0.02f;
            const float a1 = a + span - 0.02f;
            if (a1 > a0) {
                dl->PathArcTo(c, radius, a0, a1, std::max(4, static_cast<int>(20.0f * (a1 - a0))));
                dl->PathStroke(UiColor(segments[i].colour), 0, thickness);
            }
        }
        a += span;
    }
    const bool hasSub = centreSub && *centreSub;
    if (centreText && *centreText) {
        ImFont* title = FontOr(FontTitle);
        const ImVec2 ts = title->CalcTextSizeA(title->FontSize, FLT_MAX, 0, centreText);
        const float cy = c.y - (hasSub ? 8 * s : 0.0f);
        dl->AddText(title, title->FontSize, ImVec2(IM_ROUND(c.x - ts.x * 0.5f), IM_ROUND(cy - ts.y * 0.5f)),
                    UiColor(kWhite), centreText);
    }
    if (hasSub) {
        ImFont* small = FontOr(FontSmall);
        const ImVec2 ts = small->CalcTextSizeA(small->FontSize, FLT_MAX, 0, centreSub);
        dl->AddText(small, small->FontSize, ImVec2(IM_ROUND(c.x - ts.x * 0.5f), IM_ROUND(c.y + 4 * s)),
                    UiColor(Theme::TextMuted), centreSub);
    }
    ImGui::Dummy(ImVec2(box, box));
    ImGui::PopID();
}

void BarChart(const char* id, std::span<const ChartPoint> points, ImVec2 size, ImU32 colourTop, ImU32 colourBottom,
              int highlightIndex, float goal) {
    const float s = UiScale();
    ImGui::PushID(id);
    size = ResolveSize(size);
    const ImVec2 p = ImGui::GetCursorScreenPos();
    const float plotH = std::max(size.y - 20 * s, 1.0f);
    const int n = static_cast<int>(points.size());
    ImDrawList* dl = ImGui::GetWindowDrawList();
    GridLines(dl, p, size.x, plotH);

    const float top = BarChartTop(points, goal);
    int hovered = -1;
    if (n > 0) {
        const float slot = size.x / static_cast<float>(n);
        if (MouseIn(p, ImVec2(p.x + size.x, p.y + plotH))) {
            hovered = std::clamp(static_cast<int>((ImGui::GetIO().MousePos.x - p.x) / slot), 0, n - 1);
            dl->AddRectFilled(ImVec2(p.x + slot * static_cast<float>(hovered), p.y),
                              ImVec2(p.x + slot * static_cast<float>(hovered + 1), p.y + plotH),
                              UiColor(IM_COL32(255, 255, 255, 0x08)), 6 * s);
        }
        const float barW = std::min(34 * s, 0.62f * slot);
        const ImGuiID barsId = ImGui::GetID("bars");
        ImFont* small = FontOr(FontSmall);
        for (int i = 0; i < n; ++i) {
            const float value = std::isnan(points[i].value) ? 0.0f : points[i].value;
            const float frac = Animate(barsId + static_cast<ImGuiID>(i), std::clamp(value / top, 0.0f, 1.0f), 7);
            const float barH = frac * plotH;
            const bool strong = i == highlightIndex || i == hovered;
            const float x0 = p.x + slot * static_cast<float>(i) + (slot - barW) * 0.5f;
            if (barH > 1.0f) {
                const ImU32 a = strong ? Lerp(colourTop, kWhite, 0.15f) : WithAlpha(colourTop, 0.55f);
                const ImU32 b = strong ? colourBottom : WithAlpha(colourBottom, 0.35f);
                GradientRect(ImVec2(x0, p.y + plotH - barH), ImVec2(x0 + barW, p.y + plotH), a, b,
                             std::min(barH * 0.5f, 6 * s), true, dl);
            }
            const char* label = points[i].label.c_str();
            if (*label) {
                const ImVec2 ts = small->CalcTextSizeA(small->FontSize, FLT_MAX, 0, label);
                if (BarLabelShown(i, slot, ts.x)) {
                    const float cx = p.x + slot * (static_cast<float>(i) + 0.5f);
                    dl->AddText(small, small->FontSize, ImVec2(IM_ROUND(cx - ts.x * 0.5f), IM_ROUND(p.y + plotH + 4 * s)),
                                UiColor(strong ? Theme::Text : Theme::TextDim), label);
                }
            }
        }
    }
    if (goal > 0) {
        const float y = p.y + plotH - plotH * std::clamp(goal / top, 0.0f, 1.0f);
        const ImU32 c = UiColor(WithAlpha(Theme::Good, 0.8f));
        for (float x = p.x; x < p.x + size.x; x += 10 * s)
            dl->AddLine(ImVec2(x, y), ImVec2(std::min(x + 5 * s, p.x + size.x), y), c, 1.5f * s);
        ImFont* small = FontOr(FontSmall);
        const ImVec2 ts = small->CalcTextSizeA(small->FontSize, FLT_MAX, 0, "Ziel");
        dl->AddText(small, small->FontSize, ImVec2(IM_ROUND(p.x + size.x - ts.x), IM_ROUND(y - 18 * s)),
                    UiColor(Theme::Good), "Ziel");
    }
    ImGui::Dummy(size);
    if (hovered >= 0) ImGui::SetTooltip("%s", TooltipOf(points[hovered]));
    ImGui::PopID();
}

void LineChart(const char* id, std::span<const ChartPoint> points, ImVec2 size, ImU32 colour, bool fill, float min,
               float max, bool invert) {
    const float s = UiScale();
    ImGui::PushID(id);
    size = ResolveSize(size);
    const ImVec2 p = ImGui::GetCursorScreenPos();
    ImDrawList* dl = ImGui::GetWindowDrawList();
    const int n = static_cast<int>(points.size());
    if (n < 2) {
        const char* text = "Noch zu wenig Daten";
        const ImVec2 ts = ImGui::CalcTextSize(text);
        dl->AddText(ImVec2(IM_ROUND(p.x + (size.x - ts.x) * 0.5f), IM_ROUND(p.y + (size.y - ts.y) * 0.5f)),
                    UiColor(Theme::TextDim), text);
        ImGui::Dummy(size);
        ImGui::PopID();
        return;
    }
    const ValueRange range = LineChartRange(points, min, max);
    const float plotH = std::max(size.y - 18 * s, 1.0f);
    GridLines(dl, p, size.x, plotH);
    const float bottom = p.y + plotH;
    auto X = [&](int j) { return p.x + size.x * static_cast<float>(j) / static_cast<float>(n - 1); };
    auto Y = [&](int j) {
        const float v = std::isnan(points[j].value) ? range.min : points[j].value;
        return bottom - plotH * LineChartLevel(v, range, invert);
    };

    const float reveal = AnimateFrom(ImGui::GetID("reveal"), 0.0f, 1.0f, 4);
    const int segments = LineChartVisibleSegments(n, reveal);
    if (fill && segments > 0) {
        // One reservation for the whole area: a quad per segment, opaque-ish at the line
        // and transparent at the bottom.
        const ImVec2 uv = dl->_Data->TexUvWhitePixel;
        const ImU32 lineCol = UiColor(WithAlpha(colour, 0.28f));
        const ImU32 baseCol = WithAlpha(colour, 0.0f);
        dl->PrimReserve(segments * 6, segments * 4);
        for (int j = 0; j < segments; ++j) {
            const auto base = static_cast<ImDrawIdx>(dl->_VtxCurrentIdx);
            dl->PrimWriteVtx(ImVec2(X(j), Y(j)), uv, lineCol);
            dl->PrimWriteVtx(ImVec2(X(j + 1), Y(j + 1)), uv, lineCol);
            dl->PrimWriteVtx(ImVec2(X(j + 1), bottom), uv, baseCol);
            dl->PrimWriteVtx(ImVec2(X(j), bottom), uv, baseCol);
            dl->PrimWriteIdx(base);
            dl->PrimWriteIdx(static_cast<ImDrawIdx>(base + 1));
            dl->PrimWriteIdx(static_cast<ImDrawIdx>(base + 2));
            dl->PrimWriteIdx(base);
            dl->PrimWriteIdx(static_cast<ImDrawIdx>(base + 2));
            dl->PrimWriteIdx(static_cast<ImDrawIdx>(base + 3));
        }
    }
    for (int j = 0; j <= segments; ++j) dl->PathLineTo(ImVec2(X(j), Y(j)));
    dl->PathStroke(UiColor(colour), 0, 2.5f * s);

    int hovered = -1;
    if (MouseIn(p, ImVec2(p.x + size.x, bottom))) {
        hovered = LineChartHoverIndex(ImGui::GetIO().MousePos.x, p.x, size.x, n);
        const float x = X(hovered);
        dl->AddLine(ImVec2(x, p.y), ImVec2(x, bottom), UiColor(WithAlpha(kWhite, 0.12f)), 1.0f);
        dl->AddCircleFilled(ImVec2(x, Y(hovered)), 6 * s, UiColor(colour), 20);
        dl->AddCircleFilled(ImVec2(x, Y(hovered)), 3 * s, UiColor(kWhite), 12);
    } else if (n <= 30) {
        for (int j = 0; j <= segments; ++j) dl->AddCircleFilled(ImVec2(X(j), Y(j)), 3 * s, UiColor(colour), 12);
    }

    ImFont* small = FontOr(FontSmall);
    const int step = LineChartLabelStep(n);
    for (int j = 0; j < n; j += step) {
        const char* label = points[j].label.c_str();
        if (!*label) continue;
        const ImVec2 ts = small->CalcTextSizeA(small->FontSize, FLT_MAX, 0, label);
        const float x = std::clamp(X(j) - ts.x * 0.5f, p.x, std::max(p.x, p.x + size.x - ts.x));
        dl->AddText(small, small->FontSize, ImVec2(IM_ROUND(x), IM_ROUND(bottom + 3 * s)), UiColor(Theme::TextDim),
                    label);
    }
    ImGui::Dummy(size);
    if (hovered >= 0) ImGui::SetTooltip("%s", TooltipOf(points[hovered]));
    ImGui::PopID();
}
