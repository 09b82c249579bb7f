#include "ui/overlays.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <utility>

#include "imgui_internal.h"
#include "model/icons.h"
#include "ui/controls.h"
#include "ui/draw_util.h"
#include "ui/theme.h"

namespace {
constexpr ImU32 kWhite = IM_COL32(255, 255, 255, 255);
constexpr float kPi = 3.14159265358979f;
}  // namespace

// ---------------------------------------------------------------------------
// Overlay frame

bool BeginOverlay(const char* id, float width, float maxHeight) {
    const float s = UiScale();
    const ImVec2 display = ImGui::GetIO().DisplaySize;
    const float maxW = std::max(display.x - 40 * s, 1.0f);
    const float maxH = std::max(display.y - 40 * s, 1.0f);
    const float w = std::min(width, maxW);
    ImGui::SetNextWindowPos(ImVec2(display.x * 0.5f, display.y * 0.5f), ImGuiCond_Always, ImVec2(0.5f, 0.5f));
    if (maxHeight > 0) {
        ImGui::SetNextWindowSize(ImVec2(w, std::min(maxH, maxHeight)), ImGuiCond_Always);
    } else {
        ImGui::SetNextWindowSize(ImVec2(w, 0.0f), ImGuiCond_Always);  // 0 = fit the contents
        ImGui::SetNextWindowSizeConstraints(ImVec2(0, 0), ImVec2(maxW, maxH));
    }
    ImGui::PushStyleVar(ImGuiStyleVar_WindowPadding, ImVec2(28 * s, 24 * s));
    ImGui::PushStyleVar(ImGuiStyleVar_WindowRounding, 18 * s);
    ImGui::PushStyleColor(ImGuiCol_PopupBg, Hex(0x171A24));
    const bool open = ImGui::BeginPopupModal(
        id, nullptr, ImGuiWindowFlags_NoTitleBar | ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoMove |
                         ImGuiWindowFlags_NoSavedSettings | ImGuiWindowFlags_NoCollapse);
    if (!open) {
        ImGui::PopStyleColor();
        ImGui::PopStyleVar(2);
    }
    return open;
}

void EndOverlay() {
    ImGui::EndPopup();
    ImGui::PopStyleColor();
    ImGui::PopStyleVar(2);
}

void OverlayHeader(const char* icon, const char* title, const char* subtitle) {
    const float s = UiScale();
    ImFont* titleFont = FontOr(FontTitle);
    ImFont* body = FontOr(FontBody);
    const float sq = 44 * s;
    const ImVec2 p = ImGui::GetCursorScreenPos();
    ImDrawList* dl = ImGui::GetWindowDrawList();
    GradientRect(p, ImVec2(p.x + sq, p.y + sq), Theme::Accent, Theme::Accent2, 12 * s, false, dl);
    if (icon && *icon) DrawCentredText(dl, titleFont, 0, ImVec2(p.x + sq * 0.5f, p.y + sq * 0.5f), icon, UiColor(kWhite));
    const bool hasSub = subtitle && *subtitle;
    const float blockH = titleFont->FontSize + (hasSub ? 2 * s + body->FontSize : 0.0f);
    const float x = p.x + sq + 14 * s;
    const float availW = std::max(ImGui::GetContentRegionAvail().x - sq - 14 * s, 1.0f);
    float y = p.y + std::max(0.0f, (sq - blockH) * 0.5f);
    dl->AddText(titleFont, titleFont->FontSize, ImVec2(x, IM_ROUND(y)), UiColor(Theme::Text), title);
    float h = sq;
    if (hasSub) {
        // The subtitle may be a sentence: wrap it in the space right of the square.
        const float subY = y + titleFont->FontSize + 2 * s;
        const ImVec2 ss = body->CalcTextSizeA(body->FontSize, FLT_MAX, availW, subtitle);
        dl->AddText(body, body->FontSize, ImVec2(x, IM_ROUND(subY)), UiColor(Theme::TextMuted), subtitle, nullptr,
                    availW);
        h = std::max(h, subY + ss.y - p.y);
    }
    ImGui::Dummy(ImVec2(sq + 14 * s + availW, h));
    ImGui::Dummy(ImVec2(0, 8 * s));
}

// ---------------------------------------------------------------------------
// Confirmation dialog

namespace {
struct ConfirmRequest {
    std::string title, message, confirmLabel;
    std::function<void()> action;
    bool armed = false;    // waiting to be opened
    bool showing = false;  // the popup is open
};
ConfirmRequest gConfirm;
}  // namespace

void AskConfirm(std::string title, std::string message, std::string confirmLabel, std::function<void()> action) {
    gConfirm.title = std::move(title);
    gConfirm.message = std::move(message);
    gConfirm.confirmLabel = std::move(confirmLabel);
    gConfirm.action = std::move(action);
    gConfirm.armed = true;
}

bool ConfirmPending() { return gConfirm.armed || gConfirm.showing; }

void DrawConfirm() {
    const float s = UiScale();
    if (gConfirm.armed) {
        ImGui::OpenPopup("##confirm");
        gConfirm.armed = false;
        gConfirm.showing = true;
    }
    if (!gConfirm.showing) return;
    const ImVec2 display = ImGui::GetIO().DisplaySize;
    const float width = std::min(420 * s, std::max(display.x - 40 * s, 1.0f));
    ImGui::SetNextWindowPos(ImVec2(display.x * 0.5f, display.y * 0.5f), ImGuiCond_Always, ImVec2(0.5f, 0.5f));
    ImGui::SetNextWindowSize(ImVec2(width, 0.0f), ImGuiCond_Always);
    ImGui::PushStyleVar(ImGuiStyleVar_WindowPadding, ImVec2(24 * s, 22 * s));
    const bool open = ImGui::BeginPopupModal("##confirm", nullptr,
                                             ImGuiWindowFlags_NoTitleBar | ImGuiWindowFlags_NoResize |
                                                 ImGuiWindowFlags_NoMove | ImGuiWindowFlags_NoSavedSettings);
    ImGui::PopStyleVar();
    if (!open) {
        gConfirm.showing = false;
        return;
    }
    ImGui::PushFont(FontOr(FontTitle));
    ImGui::TextUnformatted(gConfirm.title.c_str());
    ImGui::PopFont();
    ImGui::PushStyleColor(ImGuiCol_Text, Theme::TextMuted);
    ImGui::PushTextWrapPos(0.0f);
    ImGui::TextUnformatted(gConfirm.message.c_str());
    ImGui::PopTextWrapPos();
    ImGui::PopStyleColor();
    ImGui::Dummy(ImVec2(0, 10 * s));
    const float bw = std::max((ImGui::GetContentRegionAvail().x - 10 * s) * 0.5f, 1.0f);
    if (SecondaryButton("Abbrechen", ImVec2(bw, 0))) {
        ImGui::CloseCurrentPopup();
        gConfirm.showing = false;
        gConfirm.action = nullptr;
    }
    ImGui::SameLine(0, 10 * s);
    const std::string label = gConfirm.confirmLabel + "##confirmbtn";
    if (DangerButton(label.c_str(), ImVec2(bw, 0))) {
        ImGui::CloseCurrentPopup();
        gConfirm.showing = false;
        // Taken out of the slot first: the action may arm a new confirmation.
        std::function<void()> action = std::move(gConfirm.action);
        gConfirm.action = nullptr;
        ImGui::EndPopup();
        if (action) action();
        return;
    }
    ImGui::EndPopup();
}

// ---------------------------------------------------------------------------
// Status messages

namespace {
std::vector<StatusMessage> gStatus;

ImU32 KindColour(StatusKind kind) {
    switch (kind) {
    case StatusKind::Success: return Theme::Good;
    case StatusKind::Warning: return Theme::Warn;
    case StatusKind::Error: return Theme::Bad;
    default: return Theme::Info;
    }
}
const char* KindIcon(StatusKind kind) {
    switch (kind) {
    case StatusKind::Success: return Icon::Check;
    case StatusKind::Warning: return Icon::Warning;
    case StatusKind::Error: return Icon::Close;
    default: return Icon::Info;
    }
}
}  // namespace

void PushStatusTo(std::vector<StatusMessage>& list, std::string text, StatusKind kind) {
    list.push_back({std::move(text), kind, 0.0f});
    if (list.size() > static_cast<size_t>(kMaxStatus)) list.erase(list.begin(), list.end() - kMaxStatus);
}

void AgeStatus(std::vector<StatusMessage>& list, float dt) {
    for (StatusMessage& m : list) m.age += std::max(dt, 0.0f);
    std::erase_if(list, [](const StatusMessage& m) { return m.age > kStatusLifetime; });
}

float StatusAlpha(float age) { return age > 3.2f ? std::clamp((3.6f - age) / 0.4f, 0.0f, 1.0f) : 1.0f; }
float StatusEnter(float age) { return EaseOutBack(age / 0.35f); }

void PushStatus(std::string text, StatusKind kind) { PushStatusTo(gStatus, std::move(text), kind); }
const std::vector<StatusMessage>& StatusMessages() { return gStatus; }

void DrawStatus() {
    AgeStatus(gStatus, ImGui::GetIO().DeltaTime);
    if (gStatus.empty()) return;
    const float s = UiScale();
    const ImVec2 display = ImGui::GetIO().DisplaySize;
    ImDrawList* dl = ImGui::GetForegroundDrawList();
    ImFont* font = FontOr(FontBody);
    const float h = 48 * s;
    float bottom = display.y - 28 * s;
    for (auto it = gStatus.rbegin(); it != gStatus.rend(); ++it) {
        const StatusMessage& m = *it;
        const float alpha = StatusAlpha(m.age);
        const float enter = StatusEnter(m.age);
        const ImVec2 ts = font->CalcTextSizeA(font->FontSize, FLT_MAX, 0, m.text.c_str());
        const float w = ts.x + 64 * s;
        const float cx = display.x * 0.5f + 110 * s;
        const float drop = 40 * s * (1.0f - enter);
        const ImVec2 a(IM_ROUND(cx - w * 0.5f), IM_ROUND(bottom - h + drop));
        const ImVec2 b(a.x + w, a.y + h);
        for (int j = 0; j < 6; ++j) {
            const float g = static_cast<float>(j) / 6.0f * 14 * s;
            const float sa = alpha * 127.5f * (1.0f - static_cast<float>(j) / 6.0f) / 6.0f;
            dl->AddRectFilled(ImVec2(a.x - g, a.y - g + 4.2f * s), ImVec2(b.x + g, b.y + g + 4.2f * s),
                              IM_COL32(0, 0, 0, static_cast<int>(sa)), 12 * s + g);
        }
        const ImU32 kc = KindColour(m.kind);
        dl->AddRectFilled(a, b, Hex(0x232838, 0.97f * alpha), 12 * s);
        dl->AddRect(a, b, WithAlpha(kc, 0.55f * alpha), 12 * s);
        const ImVec2 ic(a.x + 24 * s, a.y + h * 0.5f);
        dl->AddCircleFilled(ic, 12 * s, WithAlpha(kc, 0.2f * alpha), 24);
        DrawCentredText(dl, font, 0, ic, KindIcon(m.kind), WithAlpha(kc, alpha));
        dl->AddText(font, font->FontSize, ImVec2(a.x + 46 * s, IM_ROUND(a.y + (h - ts.y) * 0.5f)),
                    WithAlpha(Theme::Text, alpha), m.text.c_str());
        // The next older pill stacks above this one's resting place.
        bottom -= h + 10 * s;
    }
}

// ---------------------------------------------------------------------------
// Confetti

namespace {
std::vector<ConfettiParticle> gConfetti;

std::mt19937& ConfettiRng() {
    static std::mt19937 rng(1234);  // fixed seed: every run shows the same burst
    return rng;
}

constexpr uint32_t kConfettiColours[8] = {0xFF7A18, 0xEC2678, 0xFFD166, 0x2EC4B6,
                                          0x3A86FF, 0x8AC926, 0xB388FF, 0xFFFFFF};
}  // namespace

void SpawnConfettiInto(std::vector<ConfettiParticle>& list, ImVec2 origin, float scale, std::mt19937& rng) {
    // Uniform in [0, 1) from the top 24 bits of the generator.
    auto r = [&rng] { return static_cast<float>(rng() >> 8) * (1.0f / 16777216.0f); };
    list.reserve(list.size() + 180);
    for (int i = 0; i < 180; ++i) {
        ConfettiParticle p;
        p.x = origin.x;
        p.y = origin.y;
        const float angle = 2 * kPi * r();
        const float speed = (250 + 800 * r()) * scale;
        p.vx = std::cos(angle) * speed;
        p.vy = std::sin(angle) * speed - (150 + 300 * r()) * scale;
        p.rotation = 2 * kPi * r();
        p.rotationSpeed = 20 * r() - 10;
        p.size = (5 + 6 * r()) * scale;
        p.lifetime = 2.2f + 1.4f * r();
        p.colour = Hex(kConfettiColours[i % 8]);
        p.shape = i % 3;
        list.push_back(p);
    }
}

void StepConfetti(std::vector<ConfettiParticle>& list, float dt, float scale) {
    dt = std::clamp(dt, 0.0f, 0.05f);
    for (ConfettiParticle& p : list) {
        p.age += dt;
        p.vx *= 1 - 1.2f * dt;
        p.vy = (p.vy + 900 * scale * dt) * (1 - 0.6f * dt);
        p.x += p.vx * dt;
        p.y += p.vy * dt;
        p.rotation += p.rotationSpeed * dt;
    }
    std::erase_if(list, [](const ConfettiParticle& p) { return p.age > p.lifetime; });
}

float ConfettiAlpha(const ConfettiParticle& p) { return std::clamp((p.lifetime - p.age) / 0.6f, 0.0f, 1.0f); }

void SpawnConfetti(ImVec2 origin) { SpawnConfettiInto(gConfetti, origin, UiScale(), ConfettiRng()); }
bool ConfettiActive() { return !gConfetti.empty(); }
void ClearConfetti() { gConfetti.clear(); }
const std::vector<ConfettiParticle>& ConfettiParticles() { return gConfetti; }

void DrawConfetti(ImDrawList* drawList) {
    StepConfetti(gConfetti, ImGui::GetIO().DeltaTime, UiScale());
    ImDrawList* dl = drawList ? drawList : ImGui::GetForegroundDrawList();
    for (const ConfettiParticle& p : gConfetti) {
        const ImU32 c = WithAlpha(p.colour, ConfettiAlpha(p));
        if (p.shape == 2) {
            dl->AddCircleFilled(ImVec2(p.x, p.y), 0.3f * p.size, c, 8);
            continue;
        }
        // The quad's height pulses with the rotation, so the piece seems to flip.
        const float hw = 0.5f * p.size;
        const float hh = p.size * (p.shape == 0 ? 0.28f : 0.5f) * (0.7f * std::fabs(std::cos(1.3f * p.rotation)) + 0.3f);
        const float cs = std::cos(p.rotation), sn = std::sin(p.rotation);
        auto corner = [&](float dx, float dy) { return ImVec2(p.x + dx * cs - dy * sn, p.y + dx * sn + dy * cs); };
        dl->AddQuadFilled(corner(-hw, -hh), corner(hw, -hh), corner(hw, hh), corner(-hw, hh), c);
    }
}
