// Trophies page: how many milestones are unlocked, every milestone with its
// progress, and the chronicle of all awards; clicking an earned one replays it.
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "app/app.h"
#include "imgui_internal.h"
#include "imgui.h"
#include "model/format.h"
#include "model/icons.h"
#include "science/awards.h"
#include "science/stats.h"
#include "ui/activity_editor.h"
#include "ui/celebration.h"
#include "ui/charts.h"
#include "ui/controls.h"
#include "ui/draw_util.h"
#include "ui/medallion.h"
#include "ui/theme.h"

namespace {

// Text centred in [left, left + width] at y.
void CentredText(ImDrawList* dl, ImFont* font, float left, float width, float y, const char* text, ImU32 colour) {
    const ImVec2 ts = font->CalcTextSizeA(font->FontSize, FLT_MAX, 0.0f, text);
    dl->AddText(font, font->FontSize, ImVec2(IM_ROUND(left + (width - ts.x) * 0.5f), IM_ROUND(y)), colour, text);
}

// The text, shortened with "…" until it fits the width.
std::string FitWithEllipsis(ImFont* font, const std::string& text, float width) {
    auto w = [font](const std::string& t) { return font->CalcTextSizeA(font->FontSize, FLT_MAX, 0.0f, t.c_str()).x; };
    if (w(text) <= width) return text;
    std::string cut = text;
    while (!cut.empty()) {
        // Drop one UTF-8 character from the end.
        size_t n = cut.size() - 1;
        while (n > 0 && (static_cast<unsigned char>(cut[n]) & 0xC0) == 0x80) --n;
        cut.erase(n);
        while (!cut.empty() && cut.back() == ' ') cut.pop_back();
        if (w(cut + "…") <= width) break;
    }
    return cut + "…";
}

void SummaryCard(const std::vector<const Award*>& awards, int activities, int earned, int milestones) {
    const float s = UiScale();
    const float height = (2 * 46 + 22) * s;
    BeginCard("##tsum", ImVec2(0, height));
    ImDrawList* dl = ImGui::GetWindowDrawList();
    const ImVec2 wp = ImGui::GetWindowPos();
    const float ww = ImGui::GetWindowSize().x;
    // The ring and the medallions reach into the card's padding.
    PushCardClip();

    const float target = milestones > 0 ? static_cast<float>(earned) / milestones : 0.0f;
    const float frac = Animate(ImGui::GetID("tring"), target, 4);
    const ImVec2 rc(wp.x + 54 * s, wp.y + 54 * s);
    ProgressRing(rc, 46 * s, 10 * s, frac, Theme::Accent, Theme::Accent2, Hex(0x262B3C));
    const std::string count = FormatString("%d/%d", earned, milestones);
    DrawCentredText(dl, FontOr(FontTitle), 0, rc, count.c_str(), Theme::Text);

    ImFont* title = FontOr(FontTitle);
    dl->AddText(title, title->FontSize, ImVec2(wp.x + 132 * s, wp.y + 14 * s), Theme::Text,
                "Meilensteine freigeschaltet");
    const std::string sub = FormatString("%d Abzeichen insgesamt · %d Aktivitäten", static_cast<int>(awards.size()),
                                         activities);
    ImFont* body = FontOr(FontBody);
    dl->AddText(body, body->FontSize, ImVec2(wp.x + 132 * s, wp.y + 46 * s), Theme::TextMuted, sub.c_str());

    ImFont* small = FontOr(FontSmall);
    for (int j = 0; j < 5; ++j) {
        const int n = static_cast<int>(
            std::count_if(awards.begin(), awards.end(), [j](const Award* a) { return std::clamp(a->tier, 0, 4) == j; }));
        const ImVec2 c(wp.x + ww - 42 * s - (4 - j) * 84 * s, wp.y + 40 * s);
        const std::string num = std::to_string(n);
        DrawMedallion(dl, c, 26 * s, j, num.c_str(), 0x3A3F52, n == 0, -1.0f, 1.0f);
        CentredText(dl, small, c.x - 40 * s, 80 * s, c.y + 46 * s, TierName(j), Theme::TextMuted);
    }
    dl->PopClipRect();
    EndCard();
}

}  // namespace

void App::PageTrophies() {
    Profile* profile = ActiveProfile(db);
    if (!profile) return;
    const float s = UiScale();
    const Profile& P = *profile;
    const std::vector<const Award*> A = ProfileAwards(db, P);
    const std::vector<const Activity*> acts = ProfileActivities(db, P);
    std::map<std::string, std::vector<const Award*>> byKey;  // newest first, like A
    for (const Award* a : A) byKey[a->key].push_back(a);
    const std::vector<AwardDef>& catalog = AwardCatalog();
    int milestones = 0, earned = 0;
    for (const AwardDef& d : catalog) {
        if (d.key == "medal") continue;
        ++milestones;
        if (byKey.count(d.key)) ++earned;
    }
    std::vector<Award> replay;

    PageTitle("Trophäen", "Jede Aktivität bringt eine Medaille – Meilensteine schalten besondere Abzeichen frei.");
    SummaryCard(A, static_cast<int>(acts.size()), earned, milestones);

    VSpace(6);
    ImGui::PushFont(FontOr(FontTitle));
    ImGui::TextUnformatted("Meilensteine");
    ImGui::PopFont();

    // Progress values of the milestones that count something.
    double totalKm = 0;
    for (const Activity* a : acts) totalKm += a->distanceKm;
    const int longest = LongestStreak(acts);

    const float avail = ImGui::GetContentRegionAvail().x;
    const float gap = 16 * s;
    const int k = std::max(2, static_cast<int>((avail + gap) / (250 * s + gap)));
    const float cardW = std::max(1.0f, (avail - (k - 1) * gap) / k);
    const float cardH = 272 * s;
    ImFont* semibold = FontOr(FontSemibold);
    ImFont* small = FontOr(FontSmall);
    int column = 0;
    for (const AwardDef& d : catalog) {
        if (d.key == "medal") continue;
        if (column > 0) ImGui::SameLine(0, gap);
        column = (column + 1) % k;
        ImGui::PushID(d.key.c_str());
        auto it = byKey.find(d.key);
        const bool got = it != byKey.end();
        BeginCard("##t", ImVec2(cardW, cardH), false, true);
        ImDrawList* dl = ImGui::GetWindowDrawList();
        const ImVec2 wp = ImGui::GetWindowPos();
        const bool hovered = ImGui::IsWindowHovered(ImGuiHoveredFlags_ChildWindows);
        const float lift = Animate(ImGui::GetID("lift"), hovered && got ? 1.0f : 0.0f, 12);
        const ImVec2 M(wp.x + cardW * 0.5f, wp.y + 70 * s - 4 * s * lift);
        if (got) dl->AddCircleFilled(M, 58 * s, Hex(d.color, 0.08f + 0.06f * lift), 48);
        const int tier = got ? it->second.front()->tier : d.tier;
        const float shine = hovered && got ? std::fmod(static_cast<float>(ImGui::GetTime()) * 0.8f, 1.6f) : -1.0f;
        DrawMedallion(dl, M, 42 * s * (1 + 0.06f * lift), tier, d.icon, d.color, !got, shine, 1.0f);

        CentredText(dl, semibold, wp.x, cardW, wp.y + 156 * s, d.name.c_str(), got ? Theme::Text : Theme::TextMuted);
        const float wrap = cardW - 36 * s;
        const ImVec2 ds = small->CalcTextSizeA(small->FontSize, FLT_MAX, wrap, d.description.c_str());
        const float left = std::max(18 * s, (cardW - ds.x) * 0.5f);
        dl->AddText(small, small->FontSize, ImVec2(IM_ROUND(wp.x + left), IM_ROUND(wp.y + 156 * s + semibold->FontSize + 4 * s)),
                    Theme::TextMuted, d.description.c_str(), nullptr, wrap);

        const float statusY = wp.y + cardH - 40 * s;
        if (got) {
            std::string line = std::string(Icon::Check) + " ";
            if (d.repeatable)
                line += FormatString("%dx erreicht · zuletzt %s", static_cast<int>(it->second.size()),
                                     FormatDate(it->second.front()->at).c_str());
            else
                line += "Erreicht am " + FormatDate(it->second.back()->at);
            CentredText(dl, small, wp.x, cardW, statusY, line.c_str(), Theme::Good);
        } else if (d.progress != ProgressNone && d.target > 0) {
            const double v = d.progress == ProgressDistance ? totalKm
                             : d.progress == ProgressCount  ? static_cast<double>(acts.size())
                                                            : static_cast<double>(longest);
            ImGui::SetCursorScreenPos(ImVec2(wp.x + 18 * s, statusY));
            ImGui::PushStyleColor(ImGuiCol_ChildBg, IM_COL32(0, 0, 0, 0));
            ImGui::PushStyleVar(ImGuiStyleVar_WindowPadding, ImVec2(0, 0));
            ImGui::PushStyleVar(ImGuiStyleVar_ItemSpacing, ImVec2(0, 6 * s));
            ImGui::BeginChild("##pb", ImVec2(cardW - 36 * s, 32 * s), false,
                              ImGuiWindowFlags_NoScrollbar | ImGuiWindowFlags_NoScrollWithMouse);
            ProgressBar(static_cast<float>(std::min(1.0, v / d.target)), 6 * s, Theme::Accent, Theme::Accent2);
            const std::string figures =
                FormatNumber(std::min(v, d.target), 0) + " / " + FormatNumber(d.target, 0);
            ImGui::PushFont(small);
            const float tw = ImGui::CalcTextSize(figures.c_str()).x;
            ImGui::SetCursorPosX(std::max(0.0f, (ImGui::GetContentRegionAvail().x - tw) * 0.5f));
            MutedText("%s", figures.c_str());
            ImGui::PopFont();
            ImGui::EndChild();
            ImGui::PopStyleVar(2);
            ImGui::PopStyleColor();
        } else {
            const std::string line = std::string(Icon::View) + " Noch nicht freigeschaltet";
            CentredText(dl, small, wp.x, cardW, statusY, line.c_str(), Theme::TextMuted);
        }
        if (hovered && got) {
            ImGui::SetMouseCursor(ImGuiMouseCursor_Hand);
            if (ImGui::IsMouseClicked(ImGuiMouseButton_Left)) replay.push_back(*it->second.front());
        }
        EndCard();
        ImGui::PopID();
    }

    VSpace(10);
    ImGui::PushFont(FontOr(FontTitle));
    ImGui::TextUnformatted("Medaillen-Chronik");
    ImGui::PopFont();
    BeginCard("##chronik", ImVec2(0, 0), true);
    if (A.empty()) {
        MutedText("Noch keine Medaillen. Trag deine erste Aktivität ein!");
    } else {
        const float width = ImGui::GetContentRegionAvail().x;
        const int cols = std::max(4, static_cast<int>(width / (96 * s)));
        const float cellW = width / cols;
        const size_t shown = std::min(A.size(), static_cast<size_t>(4 * cols));
        ImDrawList* dl = ImGui::GetWindowDrawList();
        for (size_t i = 0; i < shown; ++i) {
            const Award& a = *A[i];
            if (i % cols != 0) ImGui::SameLine(0, 0);
            ImGui::PushID(a.id.c_str());
            const ImVec2 p = ImGui::GetCursorScreenPos();
            const bool clicked = ImGui::InvisibleButton("##m", ImVec2(cellW, 110 * s));
            const bool hovered = ImGui::IsItemHovered();
            DrawMedallion(dl, ImVec2(p.x + cellW * 0.5f, p.y + 36 * s), 28 * s * (hovered ? 1.08f : 1.0f), a.tier,
                          AwardIcon(a), AwardColor(a), false, -1.0f, 1.0f);
            dl->PushClipRect(ImVec2(p.x + 4 * s, p.y), ImVec2(p.x + cellW - 4 * s, p.y + 110 * s), true);
            CentredText(dl, small, p.x + 4 * s, cellW - 8 * s, p.y + 86 * s,
                        FitWithEllipsis(small, a.name, cellW - 8 * s).c_str(), Theme::Text);
            dl->PopClipRect();
            if (hovered) {
                ImGui::SetMouseCursor(ImGuiMouseCursor_Hand);
                ImGui::SetTooltip("%s\n%s-Stufe · %s\nKlicken zum erneuten Abspielen", a.name.c_str(), TierName(a.tier),
                                  FormatDate(a.at).c_str());
            }
            if (clicked) replay.push_back(a);
            ImGui::PopID();
        }
    }
    EndCard();

    if (!replay.empty()) QueueCelebration(replay, "");
}
