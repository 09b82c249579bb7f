// The navigation column: brand, pages, the two main actions, the stopwatch
// card and the active profile with the profile switcher.
#include <imgui.h>

#include <cmath>
#include <string>

#include "app/app.h"
#include "model/format.h"
#include "model/icons.h"
#include "ui/controls.h"
#include "ui/theme.h"

namespace {

std::string IconLabel(const char* icon, const char* text) { return std::string(icon) + text; }

}  // namespace

void App::Sidebar(float w, float h) {
    const float s = UiScale();
    ImGui::PushStyleColor(ImGuiCol_ChildBg, Theme::Sidebar);
    ImGui::PushStyleVar(ImGuiStyleVar_WindowPadding, ImVec2(14 * s, 18 * s));
    ImGui::PushStyleVar(ImGuiStyleVar_ChildBorderSize, 0.0f);
    ImGui::PushStyleVar(ImGuiStyleVar_ChildRounding, 0.0f);
    ImGui::BeginChild("##sidebar", ImVec2(w, h), false,
                      ImGuiWindowFlags_AlwaysUseWindowPadding | ImGuiWindowFlags_NoScrollbar |
                          ImGuiWindowFlags_NoScrollWithMouse);
    ImGui::PopStyleVar(3);
    ImGui::PopStyleColor();
    ImDrawList* dl = ImGui::GetWindowDrawList();
    ImVec2 wp = ImGui::GetWindowPos();
    dl->AddLine(ImVec2(wp.x + w - 1, wp.y), ImVec2(wp.x + w - 1, wp.y + h), Theme::Border, 1.0f);

    // Brand: gradient square with a pulse line, then the name.
    ImVec2 c = ImGui::GetCursorScreenPos();
    ImVec2 sq0(c.x + 4 * s, c.y), sq1(c.x + 42 * s, c.y + 38 * s);
    GradientRect(sq0, sq1, Theme::Accent, Theme::Accent2, 10 * s, false, dl);
    static const float pulse[6][2] = {{92, 282}, {186, 282}, {226, 176}, {286, 360}, {330, 246}, {420, 246}};
    ImVec2 pts[6];
    for (int i = 0; i < 6; ++i)
        pts[i] = ImVec2(c.x + 4 * s + pulse[i][0] / 512.0f * 38 * s, c.y + pulse[i][1] / 512.0f * 38 * s);
    dl->AddPolyline(pts, 6, IM_COL32_WHITE, 0, 3.2f * s);
    GradientText(FontTitle, FontTitle ? FontTitle->FontSize : 0, ImVec2(sq1.x + 16 * s, c.y + 1 * s), "Stridely",
                 IM_COL32_WHITE, Lerp(IM_COL32_WHITE, Theme::Accent, 0.5f));
    if (FontSmall) ImGui::PushFont(FontSmall);
    dl->AddText(ImVec2(sq1.x + 16 * s, c.y + 24 * s), Theme::TextDim, "Lauf-Tracker");
    if (FontSmall) ImGui::PopFont();
    ImGui::SetCursorScreenPos(ImVec2(c.x, c.y + 38 * s + 18 * s));

    // Navigation.
    for (int i = 0; i < kPageCount; ++i) {
        const PageInfo& pi = PageInfoOf(i);
        ImGui::PushID(i);
        if (NavItem(pi.label, pi.icon, page == i && !showGallery, w - 28 * s)) {
            page = i;
            showGallery = false;
        }
        ImGui::PopID();
    }

    // Main actions.
    VSpace(10);
    if (PrimaryButton(IconLabel(Icon::Add, "  Aktivität eintragen").c_str(), ImVec2(w - 28 * s, 44 * s)))
        NewActivity();
    if (SecondaryButton(IconLabel(Icon::Health, "  Motivation").c_str(), ImVec2(w - 28 * s, 38 * s)))
        OpenMotivation(true);

    // Stopwatch card while the stopwatch has time on it.
    if (stopwatchRunning || stopwatchAccum > 0.0) {
        VSpace(6);
        ImVec2 p = ImGui::GetCursorScreenPos();
        ImVec2 size(w - 28 * s, 50 * s);
        dl->AddRectFilled(p, ImVec2(p.x + size.x, p.y + size.y), WithAlpha(Theme::Accent, 0.12f), 10 * s);
        float pulseA = stopwatchRunning ? 0.5f + 0.5f * std::sin(5.0f * static_cast<float>(ImGui::GetTime())) : 0.3f;
        dl->AddCircleFilled(ImVec2(p.x + 18 * s, p.y + size.y / 2), 5 * s, WithAlpha(Theme::Bad, 0.4f + 0.6f * pulseA));
        if (FontSmall) ImGui::PushFont(FontSmall);
        dl->AddText(ImVec2(p.x + 32 * s, p.y + 6 * s), Theme::TextMuted,
                    stopwatchRunning ? "Stoppuhr läuft" : "Stoppuhr pausiert");
        if (FontSmall) ImGui::PopFont();
        std::string elapsed = FormatDuration(StopwatchElapsed());
        if (FontSemibold) ImGui::PushFont(FontSemibold);
        dl->AddText(ImVec2(p.x + 32 * s, p.y + 24 * s), Theme::Text, elapsed.c_str());
        if (FontSemibold) ImGui::PopFont();
        if (ImGui::InvisibleButton("##swjump", size)) page = Page::PageTools;
        if (ImGui::IsItemHovered()) ImGui::SetMouseCursor(ImGuiMouseCursor_Hand);
    }

    // Profile card at the bottom.
    ImVec2 cardSize(w - 28 * s, 62 * s);
    ImVec2 cardPos(wp.x + 14 * s, wp.y + h - 18 * s - cardSize.y);
    ImGui::SetCursorScreenPos(cardPos);
    bool clicked = ImGui::InvisibleButton("##profswitch", cardSize);
    bool hovered = ImGui::IsItemHovered();
    if (hovered) ImGui::SetMouseCursor(ImGuiMouseCursor_Hand);
    ImVec2 cardMax(cardPos.x + cardSize.x, cardPos.y + cardSize.y);
    dl->AddRectFilled(cardPos, cardMax, hovered ? Theme::CardHover : Theme::Card, 12 * s);
    dl->AddRect(cardPos, cardMax, Theme::Border, 12 * s);
    if (const Profile* p = ActiveProfile(db)) {
        Avatar(dl, ImVec2(cardPos.x + 30 * s, cardPos.y + cardSize.y / 2), 18 * s, ProfileInitials(*p).c_str(),
               p->color);
        if (FontSemibold) ImGui::PushFont(FontSemibold);
        dl->AddText(ImVec2(cardPos.x + 56 * s, cardPos.y + 12 * s), Theme::Text,
                    p->name.empty() ? "Ohne Namen" : p->name.c_str());
        if (FontSemibold) ImGui::PopFont();
        std::string body = FormatString("%.0f kg · %.0f cm", p->weightKg, p->heightCm);
        if (FontSmall) ImGui::PushFont(FontSmall);
        dl->AddText(ImVec2(cardPos.x + 56 * s, cardPos.y + 33 * s), Theme::TextMuted, body.c_str());
        if (FontSmall) ImGui::PopFont();
    } else {
        dl->AddText(ImVec2(cardPos.x + 16 * s, cardPos.y + 20 * s), Theme::TextMuted, "Kein Profil");
    }
    ImVec2 chev = ImGui::CalcTextSize(Icon::ChevronUp);
    dl->AddText(ImVec2(cardMax.x - 24 * s - chev.x / 2, cardPos.y + (cardSize.y - chev.y) / 2), Theme::TextMuted,
                Icon::ChevronUp);
    if (clicked) ImGui::OpenPopup("##profiles");

    // Profile switcher, its bottom-left corner 8 px above the card.
    ImGui::SetNextWindowPos(ImVec2(cardPos.x, cardPos.y - 8 * s), ImGuiCond_Always, ImVec2(0, 1));
    ImGui::SetNextWindowSize(ImVec2(260 * s, 0));
    ImGui::PushStyleVar(ImGuiStyleVar_WindowPadding, ImVec2(8 * s, 8 * s));
    if (ImGui::BeginPopup("##profiles")) {
        Caption("PROFIL WECHSELN");
        VSpace(4);
        const std::string activeId = ActiveProfile(db) ? db.settings.activeProfile : std::string();
        const Profile* chosen = nullptr;
        for (size_t i = 0; i < db.profiles.size(); ++i) {
            const Profile& p = db.profiles[i];
            ImGui::PushID(static_cast<int>(i));
            ImVec2 rp = ImGui::GetCursorScreenPos();
            bool active = p.id == activeId;
            if (ImGui::Selectable("##p", active, 0, ImVec2(0, 40 * s))) chosen = &p;
            ImDrawList* pdl = ImGui::GetWindowDrawList();
            Avatar(pdl, ImVec2(rp.x + 20 * s, rp.y + 20 * s), 14 * s, ProfileInitials(p).c_str(), p.color);
            pdl->AddText(ImVec2(rp.x + 44 * s, rp.y + 10 * s), Theme::Text,
                         p.name.empty() ? "Ohne Namen" : p.name.c_str());
            if (active) pdl->AddText(ImVec2(rp.x + 220 * s, rp.y + 10 * s), Theme::Accent, Icon::Check);
            ImGui::PopID();
        }
        ImGui::Separator();
        if (ImGui::Selectable(IconLabel(Icon::Add, "   Neues Profil anlegen").c_str())) {
            onboardingDraft = Profile{};
            onboardingDraft.color = static_cast<int>(db.profiles.size());
            onboardingRequested = true;
        }
        if (ImGui::Selectable(IconLabel(Icon::Edit, "   Profile verwalten").c_str())) page = PageProfilesList;
        ImGui::EndPopup();
        if (chosen) SwitchProfile(*chosen);
    }
    ImGui::PopStyleVar();
    ImGui::EndChild();
}
