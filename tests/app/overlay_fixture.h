// A harness with one profile and a fixed wall clock, plus mouse and keyboard
// helpers for pressing the real buttons of the overlays.
#pragma once

#include <imgui.h>
#include <imgui_internal.h>
#include <stdlib.h>

#include <ctime>
#include <string>

#include "app/harness.h"
#include "model/format.h"
#include "ui/celebration.h"
#include "ui/overlays.h"

namespace overlay_test {

inline const bool kBerlin = [] {
    setenv("TZ", "Europe/Berlin", 1);
    tzset();
    setenv("SDL_AUDIODRIVER", "dummy", 1);  // the fanfare must not look for real speakers
    return true;
}();

struct Fixture {
    explicit Fixture(int64_t now, bool withProfile = true, float scale = 1.0f) : h(scale), now(now) {
        ResetCelebration();
        h.Init();
        h.app.wallClock = [this] { return this->now; };
        if (withProfile) {
            Profile p;
            p.id = NewId();
            p.name = "Mara Schulz";
            p.weightKg = 64;
            p.gender = "w";
            p.birthYear = 1990;
            h.app.db.profiles.push_back(p);
            h.app.db.settings.activeProfile = p.id;
            h.app.onboardingRequested = false;
        }
    }
    ~Fixture() { ResetCelebration(); }

    Profile& profile() { return h.app.db.profiles.front(); }
    bool Frames(int n) {
        bool ok = true;
        for (int i = 0; i < n; ++i) ok = h.Frame() && ok;
        return ok;
    }
    // A click (press and release) at a screen position.
    bool Click(ImVec2 at) {
        ImGuiIO& io = ImGui::GetIO();
        io.MousePos = at;
        bool ok = h.Frame();  // hover first
        io.MouseDown[0] = true;
        ok = h.Frame() && ok;
        io.MouseDown[0] = false;
        ok = h.Frame() && ok;
        io.MousePos = ImVec2(-FLT_MAX, -FLT_MAX);
        return ok;
    }
    // One press of a named key for one frame.
    bool Press(ImGuiKey key) {
        ImGuiIO& io = ImGui::GetIO();
        io.KeyMap[key] = 100 + key;
        io.KeysDown[100 + key] = true;
        bool ok = h.Frame();
        io.KeysDown[100 + key] = false;
        return ok;
    }
    static ImGuiWindow* Window(const char* name) { return ImGui::FindWindowByName(name); }
    static bool PopupOpen(const char* name) {
        ImGuiContext& g = *GImGui;
        for (const ImGuiPopupData& p : g.OpenPopupStack)
            if (p.Window && std::string(p.Window->Name) == name) return true;
        return false;
    }
    // The bottom-right button of an overlay footer: `width` wide, 44 px high,
    // inside the overlay's 28 × 24 px padding.
    static ImVec2 FooterButton(const char* overlay, float width) {
        const ImGuiWindow* w = Window(overlay);
        const float s = UiScale();
        return ImVec2(w->Pos.x + w->Size.x - 28 * s - width * s * 0.5f, w->Pos.y + w->Size.y - 24 * s - 22 * s);
    }

    Harness h;
    int64_t now;
};

}  // namespace overlay_test
