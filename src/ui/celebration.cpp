#include "ui/celebration.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <string>

#include "imgui.h"
#include "imgui_internal.h"
#include "platform/sound.h"
#include "science/awards.h"
#include "ui/controls.h"
#include "ui/draw_util.h"
#include "ui/medallion.h"
#include "ui/overlays.h"
#include "ui/theme.h"

namespace {

constexpr float kPi = 3.14159265358979f;
constexpr size_t kMaxPerCall = 6;

struct Queue {
    std::vector<Award> entries;
    size_t position = 0;
    float t = 0.0f;  // seconds since the current entry appeared
    bool burstDone = false;
    std::string headline;
};

Queue& TheQueue() {
    static Queue q;
    return q;
}

bool KeyPressed(ImGuiKey key) {
    const int index = ImGui::GetKeyIndex(key);
    return index >= 0 && ImGui::IsKeyPressed(index, false);
}

// Centred text line at y; returns the y below it.
float CentredLine(ImDrawList* dl, ImFont* font, float size, float cx, float y, const char* text, ImU32 colour) {
    const ImVec2 ts = font->CalcTextSizeA(size, FLT_MAX, 0.0f, text);
    dl->AddText(font, size, ImVec2(IM_ROUND(cx - ts.x * 0.5f), IM_ROUND(y)), colour, text);
    return y + ts.y;
}

}  // namespace

void QueueCelebration(const std::vector<Award>& awards, const std::string& headline) {
    if (awards.empty()) return;
    std::vector<Award> sorted = awards;
    // Medals first, then milestones, each building up to the highest tier.
    std::stable_sort(sorted.begin(), sorted.end(), [](const Award& a, const Award& b) {
        const bool am = a.key == "medal", bm = b.key == "medal";
        if (am != bm) return am;
        return a.tier < b.tier;
    });
    if (sorted.size() > kMaxPerCall) sorted.resize(kMaxPerCall);
    Queue& q = TheQueue();
    if (q.position >= q.entries.size()) {
        q.entries.clear();
        q.position = 0;
    }
    q.entries.insert(q.entries.end(), sorted.begin(), sorted.end());
    q.t = 0.0f;
    q.burstDone = false;
    q.headline = headline;
}

bool IsCelebrating() {
    const Queue& q = TheQueue();
    return q.position < q.entries.size();
}

CelebrationView CelebrationState() {
    const Queue& q = TheQueue();
    return {q.entries, q.position, q.t, q.burstDone, q.headline};
}

void AdvanceCelebration(float seconds) {
    if (IsCelebrating() && seconds > 0) TheQueue().t += seconds;
}

void ResetCelebration() {
    TheQueue() = Queue{};
    ClearConfetti();
}

void DrawCelebration(bool sounds, bool animations) {
    Queue& q = TheQueue();
    if (q.position >= q.entries.size()) return;
    const float s = UiScale();
    ImGuiIO& io = ImGui::GetIO();
    q.t += std::min(0.05f, std::max(0.0f, io.DeltaTime));
    const float b = animations ? q.t : q.t + 3.0f;  // without animations: the final state at once

    const ImVec2 display = io.DisplaySize;
    ImGui::SetNextWindowPos(ImVec2(0, 0));
    ImGui::SetNextWindowSize(display);
    ImGui::PushStyleVar(ImGuiStyleVar_WindowPadding, ImVec2(0, 0));
    ImGui::PushStyleVar(ImGuiStyleVar_WindowBorderSize, 0.0f);
    ImGui::PushStyleVar(ImGuiStyleVar_WindowRounding, 0.0f);
    ImGui::PushStyleColor(ImGuiCol_WindowBg, IM_COL32(0, 0, 0, 0));
    ImGui::Begin("##trophyfx", nullptr,
                 ImGuiWindowFlags_NoTitleBar | ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoMove |
                     ImGuiWindowFlags_NoScrollbar | ImGuiWindowFlags_NoScrollWithMouse |
                     ImGuiWindowFlags_NoCollapse | ImGuiWindowFlags_NoSavedSettings | ImGuiWindowFlags_NoNav);
    ImGui::PopStyleColor();
    ImGui::PopStyleVar(3);
    ImDrawList* dl = ImGui::GetWindowDrawList();

    const Award e = q.entries[q.position];  // a copy: advancing may clear the queue
    const AwardDef* d = FindAwardDef(e.key);
    const TierPalette pal = TierColors(e.tier, false);
    const ImVec2 P(0.5f * display.x, 0.4f * display.y);
    const float L = 0.13f * std::min(display.x, display.y);
    const float fadeIn = std::min(1.0f, b / 0.3f);

    // Dimming, glow and rays.
    dl->AddRectFilled(ImVec2(0, 0), display, Hex(0x06080E, 215.0f / 255.0f * fadeIn));
    const float grow = EaseOutCubic(b / 0.6f);
    for (int n = 8; n >= 1; --n)
        dl->AddCircleFilled(P, grow * (1 + 0.35f * n) * L, WithAlpha(pal.middle, 0.035f * fadeIn), 64);
    const float q4 = std::clamp((b - 0.2f) / 0.4f, 0.0f, 1.0f);
    if (q4 > 0) {
        for (int i = 0; i < 18; ++i) {
            const float a = 2 * kPi * i / 18.0f + 0.35f * b;
            const float len = (3.4f + 0.4f * std::sin(static_cast<float>(i) + 2 * b)) * L;
            const ImVec2 p1(P.x + std::cos(a) * len, P.y + std::sin(a) * len);
            const ImVec2 p2(P.x + std::cos(a + 0.0959931f) * len, P.y + std::sin(a + 0.0959931f) * len);
            const ImVec2 uv = ImGui::GetDrawListSharedData()->TexUvWhitePixel;
            dl->PrimReserve(3, 3);
            const ImDrawIdx base = static_cast<ImDrawIdx>(dl->_VtxCurrentIdx);
            dl->PrimWriteVtx(P, uv, WithAlpha(pal.light, 0.22f * q4));
            dl->PrimWriteVtx(p1, uv, WithAlpha(pal.light, 0.0f));
            dl->PrimWriteVtx(p2, uv, WithAlpha(pal.light, 0.0f));
            dl->PrimWriteIdx(base);
            dl->PrimWriteIdx(static_cast<ImDrawIdx>(base + 1));
            dl->PrimWriteIdx(static_cast<ImDrawIdx>(base + 2));
        }
    }

    // The medallion pops in, spins two turns while slowing down, then shines and bobs.
    const float pop = EaseOutBack(std::clamp((b - 0.12f) / 0.55f, 0.0f, 1.0f));
    const float spin = std::cos((1 - EaseOutCubic(std::clamp((b - 0.12f) / 1.3f, 0.0f, 1.0f))) * 4 * kPi);
    const float shine = b > 1.35f ? std::fmod((b - 1.35f) / 1.1f, 2.2f) : -1.0f;
    const float bob = 0.03f * L * std::sin(2.2f * b);
    if (pop > 0.01f) {
        const unsigned colour = d ? AwardColor(e) : 0xFF7A18;
        DrawMedallion(dl, ImVec2(P.x, P.y + bob), pop * L, e.tier, AwardIcon(e), colour, false, shine, spin);
    }

    if (!q.burstDone && b > 0.32f) {
        q.burstDone = true;
        if (animations) SpawnConfetti(P);
        if (sounds) platform::PlayFanfare();
    }

    // Sparkles around the coin.
    for (int i = 0; i < 10; ++i) {
        const float a = 2.39996f * i;
        const float dist = (1.35f + 0.045f * static_cast<float>((37 * i) % 10)) * L;
        const float g = std::max(0.0f, std::sin(1.7f * i + 2.5f * b)) * q4;
        if (g <= 0.001f) continue;
        const ImVec2 c(P.x + std::cos(a) * dist, P.y + std::sin(a) * dist);
        const float hl = 0.07f * L * g;
        const ImU32 col = IM_COL32(255, 255, 255, static_cast<int>(220 * g));
        dl->AddLine(ImVec2(c.x - hl, c.y), ImVec2(c.x + hl, c.y), col, 2 * s);
        dl->AddLine(ImVec2(c.x, c.y - hl), ImVec2(c.x, c.y + hl), col, 2 * s);
    }

    // Texts.
    const float f = std::clamp((b - 0.55f) / 0.4f, 0.0f, 1.0f);
    float y = P.y + 1.85f * L + (1 - EaseOutCubic(f)) * 24 * s;
    {
        ImFont* font = FontOr(FontSemibold);
        const char* kicker = e.key == "medal" ? "AKTIVITÄT GESPEICHERT" : "NEUES ABZEICHEN FREIGESCHALTET";
        const ImVec2 ts = font->CalcTextSizeA(font->FontSize, FLT_MAX, 0.0f, kicker);
        GradientText(font, font->FontSize, ImVec2(IM_ROUND(P.x - ts.x * 0.5f), IM_ROUND(y)), kicker,
                     WithAlpha(Theme::Accent, f), WithAlpha(Theme::Accent2, f));
        y += ts.y + 4 * s;
    }
    {
        ImFont* font = FontOr(FontHeading);
        y = CentredLine(dl, font, font->FontSize * 1.1f, P.x, y, e.name.c_str(), WithAlpha(IM_COL32_WHITE, f));
        y += 8 * s;
    }
    {
        ImFont* font = FontOr(FontSmall);
        const std::string pill = std::string(TierName(e.tier)) + "-Stufe";
        const ImVec2 ts = font->CalcTextSizeA(font->FontSize, FLT_MAX, 0.0f, pill.c_str());
        const ImVec2 a(IM_ROUND(P.x - ts.x * 0.5f - 12 * s), IM_ROUND(y));
        const ImVec2 c(a.x + ts.x + 24 * s, a.y + ts.y + 8 * s);
        dl->AddRectFilled(a, c, WithAlpha(pal.middle, 0.25f * f), 20 * s);
        dl->AddRect(a, c, WithAlpha(pal.light, 0.6f * f), 20 * s, 0, 1.0f * s);
        dl->AddText(font, font->FontSize, ImVec2(a.x + 12 * s, a.y + 4 * s), WithAlpha(pal.light, f), pill.c_str());
        y = c.y + 10 * s;
    }
    if (d) {
        ImFont* font = FontOr(FontBody);
        y = CentredLine(dl, font, font->FontSize, P.x, y, d->description.c_str(), WithAlpha(Theme::TextMuted, f));
    }
    if (!q.headline.empty() && q.position == 0) {
        ImFont* font = FontOr(FontSemibold);
        y += 6 * s;
        y = CentredLine(dl, font, font->FontSize, P.x, y, q.headline.c_str(), WithAlpha(Theme::Warn, f));
    }

    DrawConfetti(dl);

    bool advance = false;
    if (b > 0.6f) {
        ImGui::SetCursorScreenPos(ImVec2(P.x - 130 * s, std::min(y + 26 * s, display.y - 80 * s)));
        ImGui::PushStyleVar(ImGuiStyleVar_Alpha, std::max(f, 0.01f));
        const bool more = q.position + 1 < q.entries.size();
        char label[64];
        if (more)
            snprintf(label, sizeof label, "Nächstes Abzeichen (%d/%d)##celebrate", static_cast<int>(q.position + 1),
                     static_cast<int>(q.entries.size()));
        else
            snprintf(label, sizeof label, "Super, weiter!##celebrate");
        advance = PrimaryButton(label, ImVec2(260 * s, 46 * s));
        ImGui::PopStyleVar();
    }
    if (b > 0.9f && (KeyPressed(ImGuiKey_Enter) || KeyPressed(ImGuiKey_KeyPadEnter) || KeyPressed(ImGuiKey_Escape) ||
                     KeyPressed(ImGuiKey_Space)))
        advance = true;
    ImGui::End();

    if (advance) {
        ++q.position;
        q.t = 0.0f;
        q.burstDone = false;
        if (q.position < q.entries.size()) {
            if (sounds) platform::PlayChime();
        } else {
            ClearConfetti();
        }
    }
}
