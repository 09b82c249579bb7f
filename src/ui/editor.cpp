// The activity editor overlay and what saving and deleting an activity do.
#include <imgui.h>
#include <imgui_stdlib.h>

#include <algorithm>
#include <array>
#include <cfloat>
#include <cmath>
#include <string>

#include "app/app.h"
#include "imgui_internal.h"
#include "model/format.h"
#include "model/icons.h"
#include "science/awards.h"
#include "science/calories.h"
#include "science/motivation.h"
#include "ui/activity_editor.h"
#include "ui/celebration.h"
#include "ui/controls.h"
#include "ui/draw_util.h"
#include "ui/fields.h"
#include "ui/overlays.h"
#include "ui/theme.h"

namespace {

std::string WithIcon(const char* icon, const char* text) { return std::string(icon) + "  " + text; }

CivilDate LocalDate(int64_t t) {
    const std::tm lt = LocalTime(t);
    return CivilDate{lt.tm_year + 1900, lt.tm_mon + 1, lt.tm_mday};
}

// A figure with its unit after it on the same baseline.
void Figure(ImFont* font, ImU32 colour, const std::string& value, const char* unit) {
    const float s = UiScale();
    const float y = ImGui::GetCursorPosY();
    ImGui::PushFont(font);
    ImGui::PushStyleColor(ImGuiCol_Text, colour);
    ImGui::TextUnformatted(value.c_str());
    ImGui::PopStyleColor();
    ImGui::PopFont();
    if (unit && *unit) {
        ImGui::SameLine(0, 6 * s);
        ImGui::SetCursorPosY(y + font->Ascent - ImGui::GetFont()->Ascent);
        ImGui::PushStyleColor(ImGuiCol_Text, Theme::TextMuted);
        ImGui::TextUnformatted(unit);
        ImGui::PopStyleColor();
    }
}

}  // namespace

void App::NewActivity(const std::string& routeId) {
    const Profile* p = ActiveProfile(db);
    if (!p) {
        onboardingRequested = true;
        return;
    }
    editorDraft = NewActivityDraft(db, *p, routeId, WallNow());
    editorIsNew = true;
    editorAutoCalories = true;
    editorRequested = true;
}

void App::EditActivity(const std::string& activityId) {
    const Activity* a = FindActivity(db, activityId);
    if (!a) return;
    editorDraft = *a;
    editorIsNew = false;
    editorAutoCalories = !a->caloriesManual;
    editorRequested = true;
}

void App::ShowActivity(const std::string& activityId) {
    detailActivityId = activityId;
    detailRequested = true;
    detailFitPending = true;
}

void App::SaveActivity(Activity activity, bool isNew, bool celebrate) {
    Profile* profile = FindProfile(db, activity.profileId);
    if (!profile) {
        // The profile was deleted while the editor was open: there is nowhere to store it.
        PushStatus("Das Profil dieser Aktivität gibt es nicht mehr – nichts gespeichert", StatusKind::Warning);
        return;
    }
    if (activity.weightKg <= 0) activity.weightKg = profile->weightKg;
    if (!activity.caloriesManual) RecalculateCalories(db, activity, LocalDate(WallNow()));
    if (isNew) {
        if (activity.id.empty()) activity.id = NewId();
        db.activities.push_back(std::move(activity));
        std::vector<Award> granted = EvaluateAwards(db, *profile, db.activities.back(), WallNow());
        if (celebrate) QueueCelebration(granted, RandomCheer());
    } else {
        Activity* stored = FindActivity(db, activity.id);
        if (!stored) return;
        *stored = std::move(activity);
        PushStatus("Aktivität aktualisiert", StatusKind::Success);
    }
    SaveNow();
}

void App::DeleteActivity(const std::string& activityId) {
    const std::string id = activityId;  // the argument may live in the activity being removed
    std::erase_if(db.activities, [&](const Activity& a) { return a.id == id; });
    // The medal and the badges granted with it go too; nothing is re-evaluated.
    std::erase_if(db.awards, [&](const Award& a) { return a.activityId == id; });
    SaveNow();
    PushStatus("Aktivität gelöscht", StatusKind::Info);
}

void App::DrawActivityEditor() {
    const float s = UiScale();
    if (!BeginOverlay("##editor", 900 * s, 0)) return;
    Activity& d = editorDraft;
    const Profile* profile = FindProfile(db, d.profileId);

    if (editorIsNew)
        OverlayHeader(Icon::Add, "Neue Aktivität eintragen",
                      "Trage deine Werte ein – Pace und Kalorien werden automatisch berechnet.");
    else
        OverlayHeader(Icon::Edit, "Aktivität bearbeiten",
                      "Trage deine Werte ein – Pace und Kalorien werden automatisch berechnet.");

    static const std::array<std::string, kSportCount> sportItems = [] {
        std::array<std::string, kSportCount> items;
        for (int i = 0; i < kSportCount; ++i) items[i] = WithIcon(SportIcon(i), EditorSportLabel(i));
        return items;
    }();
    static const std::array<const char*, kSportCount> sportLabels = [] {
        std::array<const char*, kSportCount> labels{};
        for (int i = 0; i < kSportCount; ++i) labels[i] = sportItems[i].c_str();
        return labels;
    }();
    int sport = ClampSport(d.sport);
    if (Segmented("sport", &sport, std::span<const char* const>(sportLabels), ImGui::GetContentRegionAvail().x))
        d.sport = sport;
    VSpace(6);

    // Left: the form.
    const float rowW = ImGui::GetContentRegionAvail().x;
    const float formH = 486 * s;
    ImGui::PushStyleColor(ImGuiCol_ChildBg, IM_COL32(0, 0, 0, 0));
    ImGui::PushStyleVar(ImGuiStyleVar_WindowPadding, ImVec2(0, 0));
    ImGui::BeginChild("##form", ImVec2(IM_ROUND(0.6f * rowW), formH), false, ImGuiWindowFlags_NoScrollbar);
    ImGui::PopStyleVar();
    ImGui::PopStyleColor();
    ImGui::PushStyleVar(ImGuiStyleVar_ItemSpacing, ImVec2(10 * s, 6 * s));
    const float gap = 14 * s;

    Caption("TITEL (OPTIONAL)");
    ImGui::SetNextItemWidth(-FLT_MIN);
    ImGui::InputTextWithHint("##title", "z. B. Morgenrunde am See", &d.title);

    BeginFieldPair("##when", gap);
    Caption("DATUM");
    ImGui::SetNextItemWidth(-FLT_MIN);
    DateField("date", &d.start);
    FieldPairNext();
    Caption("STARTZEIT");
    TimeOfDayField("time", &d.start);
    EndFieldPair();

    BeginFieldPair("##howfar", gap);
    Caption("DISTANZ");
    NumberField("dist", &d.distanceKm, 0.1, 0, 1000, "%.2f", "km");
    FieldPairNext();
    Caption("DAUER");
    DurationField("dur", &d.durationSec);
    EndFieldPair();

    Caption("ROUTE");
    {
        std::string preview = "Keine Route";
        if (Route* r = FindRoute(db, d.routeId))
            preview = r->name + "  (" + FormatDistance(r->distanceKm) + " km)";
        ImGui::SetNextItemWidth(-FLT_MIN);
        if (ImGui::BeginCombo("##route", preview.c_str())) {
            if (ImGui::Selectable("Keine Route", d.routeId.empty())) d.routeId.clear();
            if (profile) {
                for (const Route* r : ProfileRoutes(db, *profile)) {
                    std::string label = (r->favorite ? std::string(Icon::StarFill) + "  " : std::string()) + r->name +
                                        "  ·  " + FormatDistance(r->distanceKm) + " km##" + r->id;
                    if (ImGui::Selectable(label.c_str(), r->id == d.routeId)) ApplyRouteToDraft(d, *r);
                }
            }
            ImGui::EndCombo();
        }
    }

    BeginFieldPair("##body", gap);
    Caption("HÖHENMETER");
    NumberField("elev", &d.elevationGain, 10, 0, 20000, "%.0f", "m");
    FieldPairNext();
    Caption("Ø PULS (OPTIONAL)");
    IntField("hr", &d.avgHr, 0, 230, "bpm");
    EndFieldPair();

    Caption("WIE HAT ES SICH ANGEFÜHLT?");
    for (int f = 1; f <= 5; ++f) {
        if (f > 1) ImGui::SameLine(0, 6 * s);
        ImGui::PushID(f);
        if (Chip(FeelName(f), d.feel == f)) d.feel = f;
        ImGui::PopID();
    }

    if (profile && !profile->shoes.empty()) {
        Caption("SCHUHE");
        std::string preview = "Keine Angabe";
        for (const Shoe& shoe : profile->shoes)
            if (!d.shoeId.empty() && shoe.id == d.shoeId) preview = shoe.name;
        ImGui::SetNextItemWidth(-FLT_MIN);
        if (ImGui::BeginCombo("##shoe", preview.c_str())) {
            if (ImGui::Selectable("Keine Angabe", d.shoeId.empty())) d.shoeId.clear();
            for (const Shoe& shoe : profile->shoes) {
                // A retired shoe stays selectable only on the activity that already wears it.
                if (shoe.retired && shoe.id != d.shoeId) continue;
                const std::string label = shoe.name + "  ·  " + FormatNumber(ShoeDistance(db, shoe.id), 0) + " km##" +
                                          shoe.id;
                if (ImGui::Selectable(label.c_str(), shoe.id == d.shoeId)) d.shoeId = shoe.id;
            }
            ImGui::EndCombo();
        }
    }

    Caption("NOTIZEN");
    ImGui::InputTextMultiline("##notes", &d.notes, ImVec2(-FLT_MIN, 64 * s));
    ImGui::PopStyleVar();
    ImGui::EndChild();

    // Calorie estimate: followed every frame while automatic, kept while typed.
    CalorieEstimate estimate;
    if (profile) {
        const CivilDate today = LocalDate(WallNow());
        estimate = EstimateCalories(d.sport, d.distanceKm, d.durationSec, d.elevationGain, d.avgHr,
                                    d.weightKg > 0 ? d.weightKg : profile->weightKg,
                                    ProfileAgeOn(*profile, today.year, today.month, today.day), profile->gender);
    }
    if (editorAutoCalories) {
        d.caloriesManual = false;
        if (profile) d.calories = std::round(estimate.kcal);
    } else {
        d.caloriesManual = true;
    }

    // Right: the live preview.
    ImGui::SameLine(0, 16 * s);
    BeginCard("##preview", ImVec2(0, formH));
    {
        ImDrawList* dl = ImGui::GetWindowDrawList();
        const ImVec2 wp = ImGui::GetWindowPos();
        const ImVec2 ws = ImGui::GetWindowSize();
        PushCardClip();
        dl->AddCircleFilled(ImVec2(wp.x + ws.x, wp.y), 160 * s, WithAlpha(Theme::Accent2, 0.08f), 64);
        dl->PopClipRect();
    }
    Caption("PACE");
    Figure(FontOr(FontDisplay), Theme::Text, FormatPace(d.distanceKm > 0.01 ? d.durationSec / d.distanceKm : 0.0),
           "min/km");
    VSpace(4);
    {
        const float half = ImGui::GetContentRegionAvail().x * 0.5f;
        const double speed = d.durationSec > 0 ? d.distanceKm / (d.durationSec / 3600.0) : 0.0;
        ImGui::BeginGroup();
        Caption("TEMPO");
        Figure(FontOr(FontTitle), Theme::Text, FormatNumber(speed, 1), "km/h");
        ImGui::EndGroup();
        ImGui::SameLine(half);
        ImGui::BeginGroup();
        Caption("DAUER");
        Figure(FontOr(FontTitle), Theme::Text, FormatDuration(d.durationSec), "h:min:s");
        ImGui::EndGroup();
    }
    VSpace(10);
    Caption("VERBRANNTE KALORIEN");
    Figure(FontOr(FontDisplay), Theme::Warn, FormatNumber(d.calories, 0), "kcal");
    ImGui::PushFont(FontOr(FontSmall));
    ImGui::PushStyleColor(ImGuiCol_Text, Theme::TextMuted);
    ImGui::PushTextWrapPos(0.0f);
    if (editorAutoCalories) {
        if (profile) ImGui::Text("Methode: %s · MET %.1f", estimate.method, estimate.met);
    } else {
        ImGui::TextUnformatted("Manuell eingetragen");
    }
    if (d.calories > 0) ImGui::TextUnformatted(FoodEquivalentText(d.calories).c_str());
    ImGui::PopTextWrapPos();
    ImGui::PopStyleColor();
    ImGui::PopFont();
    VSpace(8);
    Toggle("Automatisch berechnen", &editorAutoCalories);
    if (!editorAutoCalories) {
        ImGui::SetNextItemWidth(-FLT_MIN);
        ImGui::InputDouble("##kcal", &d.calories, 10.0, 100.0, "%.0f kcal");
    }
    EndCard();

    // Footer.
    VSpace(10);
    const bool valid = ActivityDraftValid(d);
    const ImVec2 buttonSize(170 * s, 44 * s);
    const float right = ImGui::GetCursorPosX() + ImGui::GetContentRegionAvail().x;
    const float rowY = ImGui::GetCursorPosY();
    if (!valid) {
        const char* hint = "Dauer und Distanz angeben";
        const float hw = ImGui::CalcTextSize(hint).x;
        ImGui::SetCursorPos(ImVec2(right - 2 * buttonSize.x - 10 * s - 16 * s - hw,
                                   rowY + (buttonSize.y - ImGui::GetTextLineHeight()) * 0.5f));
        MutedText("%s", hint);
    }
    ImGui::SetCursorPos(ImVec2(right - 2 * buttonSize.x - 10 * s, rowY));
    if (SecondaryButton("Abbrechen", buttonSize)) ImGui::CloseCurrentPopup();
    ImGui::SameLine(0, 10 * s);
    ImGui::BeginDisabled(!valid);
    const std::string saveLabel = WithIcon(Icon::Save, editorIsNew ? "Speichern" : "Übernehmen");
    if (PrimaryButton(saveLabel.c_str(), buttonSize) && valid) {
        d.caloriesManual = !editorAutoCalories;
        SaveActivity(d, editorIsNew, true);
        ImGui::CloseCurrentPopup();
    }
    ImGui::EndDisabled();
    EndOverlay();
}
