// The onboarding dialog: the first profile on a fresh installation, and every
// further profile ("Neues Profil").
#include <imgui.h>

#include <algorithm>
#include <cfloat>
#include <string>

#include "app/app.h"
#include "model/format.h"
#include "model/icons.h"
#include "ui/controls.h"
#include "ui/draw_util.h"
#include "ui/overlays.h"
#include "ui/profiles.h"
#include "ui/theme.h"

void App::FinishOnboarding(bool firstRun) {
    const int64_t now = WallNow();
    Profile p = onboardingDraft;
    p.id = NewId();
    p.name = TrimSpaces(p.name);
    if (p.name.empty()) return;
    p.createdAt = now;
    p.weightLog.push_back(WeightEntry{now, p.weightKg});
    db.profiles.push_back(p);
    db.settings.activeProfile = p.id;
    if (firstRun) {
        db.settings.onboardingDone = true;
        // Stored here; the desktop integration registers the login start from it.
        db.settings.autostart = profilesPage.onboardingAutostart;
    }
    mapInitialViewDone = false;
    lastWeatherFetch = -1e9;
    SaveNow();
    PushStatus("Profil „" + p.name + "“ angelegt", StatusKind::Success);
    if (firstRun) OpenMotivation(false);
}

void App::DrawOnboarding() {
    const float s = UiScale();
    if (!BeginOverlay("##onboarding", 760 * s, 0)) return;
    const bool firstRun = db.profiles.empty();
    {
        // The glow reaches into the padding: clip to the whole dialog.
        const ImVec2 wp = ImGui::GetWindowPos();
        const ImVec2 ws = ImGui::GetWindowSize();
        ImDrawList* dl = ImGui::GetWindowDrawList();
        dl->PushClipRect(wp, ImVec2(wp.x + ws.x, wp.y + ws.y), false);
        dl->AddCircleFilled(wp, 220 * s, WithAlpha(Theme::Accent, 0.06f), 64);
        dl->PopClipRect();
    }
    if (firstRun) {
        ImFont* heading = FontOr(FontHeading);
        const ImVec2 p = ImGui::GetCursorScreenPos();
        GradientText(heading, heading->FontSize, p, "Willkommen bei Stridely!", Theme::Accent, Theme::Accent2);
        ImGui::Dummy(ImVec2(0, heading->FontSize));
        ImGui::PushStyleColor(ImGuiCol_Text, Theme::TextMuted);
        ImGui::PushTextWrapPos(0.0f);
        ImGui::TextUnformatted(
            "Lege dein Profil an. Größe, Gewicht, Alter und Geschlecht brauchen wir für eine genaue "
            "Kalorienberechnung. Mit deiner Adresse zeigen wir Karte und Laufwetter für deine Umgebung.");
        ImGui::PopTextWrapPos();
        ImGui::PopStyleColor();
    } else {
        OverlayHeader(Icon::Add, "Neues Profil", "Jedes Profil hat eigene Aktivitäten, Routen und Trophäen.");
    }
    VSpace(6);
    ImGui::PushStyleColor(ImGuiCol_ChildBg, IM_COL32(0, 0, 0, 0));
    ImGui::PushStyleVar(ImGuiStyleVar_WindowPadding, ImVec2(0, 0));
    // At least 420 px; taller when the form needs it and the screen has room, so
    // the whole form shows without scrolling where possible.
    static float formHeight = 420 * s;
    const float room = ImGui::GetIO().DisplaySize.y - 40 * s - 2 * 24 * s - ImGui::GetCursorPosY() - 140 * s;
    const float childH = std::max(420 * s, std::min(formHeight, room));
    ImGui::BeginChild("##obform", ImVec2(0, childH), false);
    ImGui::PopStyleVar();
    ImGui::PopStyleColor();
    if (ProfileForm(onboardingDraft, true)) GeocodeProfile(onboardingDraft);
    formHeight = ImGui::GetCursorPosY();
    ImGui::EndChild();
    VSpace(4);
    if (firstRun) {
        Toggle("Bei der Anmeldung starten (damit die tägliche Erinnerung zuverlässig kommt)",
               &profilesPage.onboardingAutostart);
        VSpace(4);
    }
    const float rowY = ImGui::GetCursorPosY();
    if (!firstRun) {
        if (SecondaryButton("Abbrechen", ImVec2(130 * s, 44 * s))) ImGui::CloseCurrentPopup();
        ImGui::SameLine();
    }
    ImGui::SetCursorPos(ImVec2(ImGui::GetWindowWidth() - 28 * s - 190 * s, rowY));
    const bool named = !TrimSpaces(onboardingDraft.name).empty();
    const std::string label = firstRun ? std::string("Los geht's ") + Icon::ChevronRight
                                       : std::string(Icon::Add) + "  Profil anlegen";
    ImGui::BeginDisabled(!named);
    if (PrimaryButton(label.c_str(), ImVec2(190 * s, 44 * s)) && named) {
        ImGui::CloseCurrentPopup();
        FinishOnboarding(firstRun);
    }
    ImGui::EndDisabled();
    EndOverlay();
}
