#include "ui/activity_row.h"

#include <imgui.h>
#include <imgui_internal.h>

#include <algorithm>
#include <cfloat>
#include <string>

#include "model/format.h"
#include "ui/controls.h"
#include "ui/draw_util.h"
#include "ui/theme.h"

namespace {

void Put(ImDrawList* dl, ImFont* font, ImVec2 pos, ImU32 colour, const std::string& text) {
    font = FontOr(font);
    dl->AddText(font, font->FontSize, ImVec2(IM_ROUND(pos.x), IM_ROUND(pos.y)), UiColor(colour), text.c_str());
}

}  // namespace

bool ActivityRow(const Activity& a, float width) {
    const float s = UiScale();
    const float h = 54 * s;
    width = std::max(width, 1.0f);
    ImGui::PushID(a.id.c_str());
    const ImVec2 p = ImGui::GetCursorScreenPos();
    const bool clicked = ImGui::InvisibleButton("##row", ImVec2(width, h));
    const bool hovered = ImGui::IsItemHovered();
    ImGui::PopID();
    if (ImGui::IsRectVisible(p, ImVec2(p.x + width, p.y + h))) {
        ImDrawList* dl = ImGui::GetWindowDrawList();
        if (hovered) {
            dl->AddRectFilled(p, ImVec2(p.x + width, p.y + h), UiColor(IM_COL32(255, 255, 255, 8)), 10 * s);
            ImGui::SetMouseCursor(ImGuiMouseCursor_Hand);
        }
        const ImU32 colour = Hex(SportColor(a.sport));
        const ImVec2 c(p.x + 24 * s, p.y + h * 0.5f);
        dl->AddCircleFilled(c, 18 * s, UiColor(WithAlpha(colour, 0.16f)), 32);
        DrawCentredText(dl, nullptr, 0, c, SportIcon(a.sport), UiColor(colour));

        const float right = p.x + width - 250 * s;
        dl->PushClipRect(p, ImVec2(std::max(p.x, right - 8 * s), p.y + h), true);
        Put(dl, FontSemibold, ImVec2(p.x + 52 * s, p.y + 8 * s), Theme::Text, a.title.empty() ? SportName(a.sport) : a.title);
        Put(dl, FontSmall, ImVec2(p.x + 52 * s, p.y + 30 * s), Theme::TextMuted,
            FormatRelativeDay(a.start) + " · " + FormatTimeOfDay(a.start) + " Uhr");
        dl->PopClipRect();

        const double pace = a.distanceKm > 0.01 ? a.durationSec / a.distanceKm : 0.0;
        Put(dl, FontSemibold, ImVec2(right, p.y + 8 * s), Theme::Text, FormatDistance(a.distanceKm) + " km");
        Put(dl, FontSmall, ImVec2(right, p.y + 30 * s), Theme::TextMuted, FormatDuration(a.durationSec));
        Put(dl, FontSemibold, ImVec2(right + 110 * s, p.y + 8 * s), Theme::Text, FormatPace(pace) + " /km");
        Put(dl, FontSmall, ImVec2(right + 110 * s, p.y + 30 * s), Theme::Warn, FormatNumber(a.calories, 0) + " kcal");
    }
    return clicked;
}
