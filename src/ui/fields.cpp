#include "ui/fields.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <unordered_map>
#include <cmath>
#include <string>

#include "imgui.h"
#include "imgui_internal.h"
#include "model/format.h"
#include "model/icons.h"
#include "ui/controls.h"
#include "ui/draw_util.h"
#include "ui/theme.h"

// ---- Arithmetic ----

int64_t WithTimeOfDay(int64_t time, int hour, int minute) {
    const std::tm tm = LocalTime(time);
    return MakeLocalTime(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, std::clamp(hour, 0, 23),
                         std::clamp(minute, 0, 59), 0);
}

int64_t WithDate(int64_t time, int year, int month, int day) {
    const std::tm tm = LocalTime(time);
    month = std::clamp(month, 1, 12);
    day = std::clamp(day, 1, DaysInMonth(year, month));
    return MakeLocalTime(year, month, day, tm.tm_hour, tm.tm_min, tm.tm_sec);
}

double ComposeDuration(int hours, int minutes, int seconds) {
    return std::clamp(hours, 0, 99) * 3600.0 + std::clamp(minutes, 0, 59) * 60.0 + std::clamp(seconds, 0, 59);
}

void SplitDuration(double seconds, int* hours, int* minutes, int* secs) {
    // Durations beyond what an int holds are not real input; cap them rather than overflow.
    const double total = std::isfinite(seconds) && seconds > 0 ? std::min(std::round(seconds), 2.0e9) : 0.0;
    const auto t = static_cast<long long>(total);
    *hours = static_cast<int>(t / 3600);
    *minutes = static_cast<int>(t / 60 % 60);
    *secs = static_cast<int>(t % 60);
}

bool ParseDecimal(const char* text, double* out) {
    if (!text) return false;
    std::string s;
    for (const char* c = text; *c; ++c)
        if (*c != ' ' && *c != '\t') s += *c;
    if (s.find(',') != std::string::npos) {
        // German notation: full stops group thousands, the comma is the decimal mark.
        std::erase(s, '.');
        std::replace(s.begin(), s.end(), ',', '.');
    }
    if (s.empty()) return false;
    const char* first = s.data();
    if (*first == '+') ++first;
    double v = 0;
    const auto [end, ec] = std::from_chars(first, s.data() + s.size(), v);
    if (ec != std::errc() || end != s.data() + s.size() || !std::isfinite(v)) return false;
    *out = v;
    return true;
}

std::string FormatDecimal(double value, const char* format) {
    char buf[64];
    snprintf(buf, sizeof buf, format && *format ? format : "%.2f", value);
    std::string s = buf;
    std::replace(s.begin(), s.end(), '.', ',');
    return s;
}

double ClampFieldValue(double value, double min, double max, double fallback) {
    if (std::isnan(value)) value = fallback;
    return std::clamp(value, min, max);
}

void StepMonth(int* year, int* month, int delta) {
    int index = *year * 12 + (*month - 1) + delta;
    // Floor division keeps years before 0 consistent (never reached in practice).
    int y = index >= 0 ? index / 12 : -((-index + 11) / 12);
    *year = y;
    *month = index - y * 12 + 1;
}

int FirstWeekdayOfMonth(int year, int month) {
    // Day 0 of the day count (1 January 1970) was a Thursday, index 3 from Monday.
    const int64_t days = DaysFromCivil(year, month, 1);
    return static_cast<int>(((days + 3) % 7 + 7) % 7);
}

// ---- Editors ----

namespace {
// The month shown by the open calendar popup (one popup is open at a time).
int gCalYear = 1970;
int gCalMonth = 1;
}  // namespace

bool DateField(const char* id, int64_t* time) {
    const float s = UiScale();
    bool changed = false;
    ImGui::PushID(id);
    float width = ImGui::CalcItemWidth();
    if (width <= 60 * s) width = 220 * s;
    const std::string label = std::string(Icon::Calendar) + " " + FormatDateLong(*time) + "##date";
    if (SecondaryButton(label.c_str(), ImVec2(width, 0))) ImGui::OpenPopup("##cal");
    const std::tm current = LocalTime(*time);
    if (!ImGui::IsPopupOpen("##cal")) {
        gCalYear = current.tm_year + 1900;
        gCalMonth = current.tm_mon + 1;
    }
    // The calendar opens under the button, or above it when it would leave the window.
    const ImVec2 buttonMin = ImGui::GetItemRectMin();
    const ImVec2 buttonMax = ImGui::GetItemRectMax();
    const float popupH = (12 + 30 + 8 + 8 + 6 * 32 + 8 + 8 + 12) * s + ImGui::GetTextLineHeight() + ImGui::GetFrameHeight();
    float popupY = buttonMax.y + 4 * s;
    if (popupY + popupH > ImGui::GetIO().DisplaySize.y) popupY = std::max(0.0f, buttonMin.y - 4 * s - popupH);
    ImGui::SetNextWindowPos(ImVec2(buttonMin.x, popupY), ImGuiCond_Appearing);
    ImGui::PushStyleVar(ImGuiStyleVar_WindowPadding, ImVec2(12 * s, 12 * s));
    ImGui::PushStyleVar(ImGuiStyleVar_ItemSpacing, ImVec2(8 * s, 8 * s));
    if (ImGui::BeginPopup("##cal")) {
        const float cellW = 36 * s, cellH = 32 * s;
        const float gridW = 7 * cellW;
        const float nav = 30 * s;
        const ImVec2 top = ImGui::GetCursorScreenPos();
        if (IconButton("prev", Icon::ChevronLeft, nullptr, false, nav)) StepMonth(&gCalYear, &gCalMonth, -1);
        const std::string title = FormatString("%s %d", MonthName(gCalMonth), gCalYear);
        ImGui::PushFont(FontOr(FontSemibold));
        const ImVec2 ts = ImGui::CalcTextSize(title.c_str());
        ImGui::GetWindowDrawList()->AddText(ImVec2(IM_ROUND(top.x + (gridW - ts.x) * 0.5f), IM_ROUND(top.y + (nav - ts.y) * 0.5f)),
                                            UiColor(Theme::Text), title.c_str());
        ImGui::PopFont();
        ImGui::SetCursorScreenPos(ImVec2(top.x + gridW - nav, top.y));
        if (IconButton("next", Icon::ChevronRight, nullptr, false, nav)) StepMonth(&gCalYear, &gCalMonth, 1);

        ImDrawList* dl = ImGui::GetWindowDrawList();
        const ImVec2 head = ImGui::GetCursorScreenPos();
        for (int wd = 0; wd < 7; ++wd) {
            const char* name = WeekdayNameShort(wd);
            const ImVec2 ns = ImGui::CalcTextSize(name);
            dl->AddText(ImVec2(IM_ROUND(head.x + cellW * wd + (cellW - ns.x) * 0.5f), head.y), UiColor(Theme::TextDim), name);
        }
        ImGui::Dummy(ImVec2(gridW, ImGui::GetTextLineHeight()));

        const ImVec2 grid = ImGui::GetCursorScreenPos();
        const int lead = FirstWeekdayOfMonth(gCalYear, gCalMonth);
        const int days = DaysInMonth(gCalYear, gCalMonth);
        const CivilDate today = Today();
        const int64_t todayNum = DaysFromCivil(today.year, today.month, today.day);
        for (int cell = 0; cell < 42; ++cell) {
            const int day = cell - lead + 1;
            if (day < 1 || day > days) continue;
            const ImVec2 a(grid.x + cellW * (cell % 7), grid.y + cellH * (cell / 7));
            const ImVec2 b(a.x + cellW, a.y + cellH);
            ImGui::SetCursorScreenPos(a);
            ImGui::PushID(cell);
            const bool clicked = ImGui::InvisibleButton("##day", ImVec2(cellW, cellH));
            const bool hovered = ImGui::IsItemHovered();
            ImGui::PopID();
            const bool selected = gCalYear == current.tm_year + 1900 && gCalMonth == current.tm_mon + 1 &&
                                  day == current.tm_mday;
            const int64_t dayNum = DaysFromCivil(gCalYear, gCalMonth, day);
            if (selected) {
                GradientRect(a, b, Theme::Accent, Theme::Accent2, 8 * s, false, dl);
            } else if (hovered) {
                dl->AddRectFilled(a, b, UiColor(Hex(0x2A3044)), 8 * s);
            }
            if (dayNum == todayNum && !selected) dl->AddRect(a, b, UiColor(Theme::Accent), 8 * s, 0, 1.5f * s);
            if (hovered) ImGui::SetMouseCursor(ImGuiMouseCursor_Hand);
            char text[4];
            snprintf(text, sizeof text, "%d", day);
            const ImVec2 ds = ImGui::CalcTextSize(text);
            dl->AddText(ImVec2(IM_ROUND(a.x + (cellW - ds.x) * 0.5f), IM_ROUND(a.y + (cellH - ds.y) * 0.5f)),
                        UiColor(dayNum > todayNum ? Theme::TextDim : Theme::Text), text);
            if (clicked) {
                *time = WithDate(*time, gCalYear, gCalMonth, day);
                changed = true;
                ImGui::CloseCurrentPopup();
            }
        }
        ImGui::SetCursorScreenPos(ImVec2(grid.x, grid.y + 6 * cellH));
        ImGui::Dummy(ImVec2(gridW, 0));
        if (SecondaryButton("Heute", ImVec2(gridW, 0))) {
            *time = WithDate(*time, today.year, today.month, today.day);
            changed = true;
            ImGui::CloseCurrentPopup();
        }
        ImGui::EndPopup();
    }
    ImGui::PopStyleVar(2);
    ImGui::PopID();
    return changed;
}

bool TimeOfDayField(const char* id, int64_t* time) {
    const float s = UiScale();
    ImGui::PushID(id);
    const std::tm tm = LocalTime(*time);
    int hour = tm.tm_hour, minute = tm.tm_min;
    ImGui::SetNextItemWidth(64 * s);
    bool changed = ImGui::DragInt("##h", &hour, 0.1f, 0, 23, "%02d h");
    ImGui::SameLine(0, 6 * s);
    ImGui::SetNextItemWidth(72 * s);
    changed |= ImGui::DragInt("##m", &minute, 0.2f, 0, 59, "%02d min");
    if (changed) *time = WithTimeOfDay(*time, hour, minute);
    ImGui::PopID();
    return changed;
}

bool DurationField(const char* id, double* seconds) {
    const float s = UiScale();
    ImGui::PushID(id);
    int h, m, sec;
    SplitDuration(*seconds, &h, &m, &sec);
    const float w = std::max(1.0f, std::min(92 * s, (ImGui::GetContentRegionAvail().x - 12 * s) / 3));
    ImGui::SetNextItemWidth(w);
    bool changed = ImGui::DragInt("##h", &h, 0.05f, 0, 99, "%d h");
    ImGui::SameLine(0, 6 * s);
    ImGui::SetNextItemWidth(w);
    changed |= ImGui::DragInt("##m", &m, 0.15f, 0, 59, "%d min");
    ImGui::SameLine(0, 6 * s);
    ImGui::SetNextItemWidth(w);
    changed |= ImGui::DragInt("##s", &sec, 0.3f, 0, 59, "%d s");
    if (changed) *seconds = ComposeDuration(h, m, sec);
    ImGui::PopID();
    return changed;
}

namespace {
float UnitWidth(const char* unit) {
    return unit && *unit ? ImGui::CalcTextSize(unit).x + 10 * UiScale() : 0.0f;
}
void UnitText(const char* unit) {
    if (!unit || !*unit) return;
    ImGui::SameLine(0, 8 * UiScale());
    ImGui::PushStyleColor(ImGuiCol_Text, Theme::TextMuted);
    ImGui::TextUnformatted(unit);
    ImGui::PopStyleColor();
}
}  // namespace

bool NumberField(const char* label, double* value, double step, double min, double max, const char* format,
                 const char* unit) {
    // Edit texts of the number fields, kept while a field is being typed in.
    static std::unordered_map<ImGuiID, std::array<char, 64>> texts;
    const float s = UiScale();
    ImGui::PushID(label);
    const double before = *value;
    const ImGuiStyle& style = ImGui::GetStyle();
    const float button = ImGui::GetFrameHeight();
    const float inputW = ImGui::GetContentRegionAvail().x - UnitWidth(unit) - 2 * (button + style.ItemInnerSpacing.x);
    const ImGuiID inputId = ImGui::GetID("##v");
    std::array<char, 64>& text = texts[inputId];
    if (ImGui::GetActiveID() != inputId) {
        const std::string shown = FormatDecimal(*value, format);
        snprintf(text.data(), text.size(), "%s", shown.c_str());
    }
    ImGui::SetNextItemWidth(std::max(inputW, 30 * s));
    const auto filter = [](ImGuiInputTextCallbackData* data) {
        const ImWchar c = data->EventChar;
        return (c >= '0' && c <= '9') || c == ',' || c == '.' || c == '-' || c == '+' ? 0 : 1;
    };
    if (ImGui::InputText("##v", text.data(), text.size(), ImGuiInputTextFlags_CallbackCharFilter |
                         ImGuiInputTextFlags_AutoSelectAll, filter)) {
        double typed = 0;
        if (ParseDecimal(text.data(), &typed)) *value = ClampFieldValue(typed, min, max, before);
    }
    // Step buttons: the fast step with Ctrl held, as Dear ImGui's own inputs do.
    const double delta = ImGui::GetIO().KeyCtrl ? 10 * step : step;
    ImGui::PushButtonRepeat(true);
    ImGui::SameLine(0, style.ItemInnerSpacing.x);
    if (ImGui::Button("-", ImVec2(button, button))) *value = ClampFieldValue(*value - delta, min, max, before);
    ImGui::SameLine(0, style.ItemInnerSpacing.x);
    if (ImGui::Button("+", ImVec2(button, button))) *value = ClampFieldValue(*value + delta, min, max, before);
    ImGui::PopButtonRepeat();
    UnitText(unit);
    ImGui::PopID();
    return *value != before;
}

bool IntField(const char* label, int* value, int min, int max, const char* unit) {
    ImGui::PushID(label);
    const int before = *value;
    ImGui::SetNextItemWidth(std::max(1.0f, ImGui::GetContentRegionAvail().x - UnitWidth(unit)));
    bool changed = ImGui::InputInt("##v", value, 1, 10);
    if (changed) *value = std::clamp(*value, min, max);
    changed = changed && *value != before;
    UnitText(unit);
    ImGui::PopID();
    return changed;
}
