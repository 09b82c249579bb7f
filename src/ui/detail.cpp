// The activity detail overlay: figures, earned badges, notes, and the buttons
// to edit, export and delete the activity.
#include <imgui.h>

#include <algorithm>
#include <cfloat>
#include <string>
#include <vector>

#include "app/app.h"
#include "files/writers.h"
#include "model/format.h"
#include "model/icons.h"
#include "model/storage.h"
#include "platform/dialogs.h"
#include "science/awards.h"
#include "ui/activity_editor.h"
#include "ui/controls.h"
#include "ui/draw_util.h"
#include "ui/medallion.h"
#include "ui/overlays.h"
#include "ui/theme.h"

namespace {

std::string WithIcon(const char* icon, const char* text) { return std::string(icon) + "  " + text; }

// One cell of the figures table: caption, value in the title font, unit after it.
void StatCell(const char* caption, const std::string& value, const char* unit) {
    ImGui::TableNextColumn();
    Caption(caption);
    const float y = ImGui::GetCursorPosY();
    ImFont* title = FontOr(FontTitle);
    ImGui::PushFont(title);
    ImGui::TextUnformatted(value.c_str());
    ImGui::PopFont();
    if (unit && *unit) {
        ImGui::SameLine(0, 5 * UiScale());
        ImGui::SetCursorPosY(y + title->Ascent - ImGui::GetFont()->Ascent);
        MutedText("%s", unit);
    }
}

// The recorded track, or the followed route's line when nothing was recorded.
std::vector<LatLon> DetailTrack(Database& db, const Activity& a) {
    if (a.track.size() >= 2) return a.track;
    if (const Route* r = FindRoute(db, a.routeId); r && r->points.size() >= 2) return r->points;
    return a.track;
}

}  // namespace

void App::DrawActivityDetail() {
    const float s = UiScale();
    if (!BeginOverlay("##detail", 920 * s, 0)) return;
    const Activity* found = FindActivity(db, detailActivityId);
    if (!found) {
        // Deleted meanwhile: the overlay has nothing left to show.
        ImGui::CloseCurrentPopup();
        EndOverlay();
        return;
    }
    const Activity a = *found;  // a copy: the buttons below may change the list
    const std::vector<LatLon> track = DetailTrack(db, a);

    const std::string subtitle = FormatDateLong(a.start) + " · " + FormatTimeOfDay(a.start) + " Uhr · " + SportName(a.sport);
    OverlayHeader(SportIcon(a.sport), a.title.empty() ? SportName(a.sport) : a.title.c_str(), subtitle.c_str());

    ImGui::PushStyleVar(ImGuiStyleVar_CellPadding, ImVec2(10 * s, 8 * s));
    if (ImGui::BeginTable("##stats", 4, ImGuiTableFlags_SizingStretchSame | ImGuiTableFlags_NoPadOuterX)) {
        const double pace = a.distanceKm > 0.01 ? a.durationSec / a.distanceKm : 0.0;
        const double speed = a.durationSec > 0 ? a.distanceKm / (a.durationSec / 3600.0) : 0.0;
        ImGui::TableNextRow();
        StatCell("Distanz", FormatDistance(a.distanceKm), "km");
        StatCell("Dauer", FormatDuration(a.durationSec), nullptr);
        StatCell("Pace", FormatPace(pace), "min/km");
        StatCell("Tempo", FormatNumber(speed, 1), "km/h");
        ImGui::TableNextRow();
        StatCell("Kalorien", FormatNumber(a.calories, 0), "kcal");
        StatCell("Höhenmeter", FormatNumber(a.elevationGain, 0), "m");
        StatCell("Ø Puls", a.avgHr > 0 ? std::to_string(a.avgHr) : std::string("–"), a.avgHr > 0 ? "bpm" : nullptr);
        StatCell("Gefühl", FeelName(a.feel), nullptr);
        ImGui::EndTable();
    }
    ImGui::PopStyleVar();

    std::vector<const Award*> earned;
    for (const Award& w : db.awards)
        if (w.activityId == a.id) earned.push_back(&w);
    if (!earned.empty()) {
        VSpace(6);
        Caption("VERDIENTE ABZEICHEN");
        VSpace(4);
        ImDrawList* dl = ImGui::GetWindowDrawList();
        for (size_t i = 0; i < earned.size(); ++i) {
            const Award& w = *earned[i];
            if (i > 0) ImGui::SameLine(0, 8 * s);
            ImGui::PushID(static_cast<int>(i));
            const ImVec2 p = ImGui::GetCursorScreenPos();
            ImGui::InvisibleButton("##badge", ImVec2(52 * s, 62 * s));
            DrawMedallion(dl, ImVec2(p.x + 26 * s, p.y + 24 * s), 20 * s, w.tier, AwardIcon(w), AwardColor(w), false,
                          -1.0f, 1.0f);
            if (ImGui::IsItemHovered()) ImGui::SetTooltip("%s (%s)", w.name.c_str(), TierName(w.tier));
            ImGui::PopID();
        }
    }

    if (!a.notes.empty()) {
        VSpace(6);
        Caption("NOTIZEN");
        ImGui::PushTextWrapPos(0.0f);
        ImGui::TextUnformatted(a.notes.c_str());
        ImGui::PopTextWrapPos();
    }

    VSpace(8);
    const float rowX = ImGui::GetCursorPosX();
    const float right = rowX + ImGui::GetContentRegionAvail().x;
    const float rowY = ImGui::GetCursorPosY();
    const ImVec2 buttonH(0, 42 * s);
    if (SecondaryButton(WithIcon(Icon::Edit, "Bearbeiten").c_str(), buttonH)) {
        ImGui::CloseCurrentPopup();
        EditActivity(a.id);
    }
    if (track.size() >= 2) {
        ImGui::SameLine(0, 10 * s);
        if (SecondaryButton(WithIcon(Icon::Export, "Als GPX exportieren").c_str(), buttonH)) {
            const std::string path =
                platform::ShowSaveDialog("GPX exportieren", GpxExportFileName(a), {{"GPX", "*.gpx"}});
            if (!path.empty()) {
                if (WriteWholeFile(path, GpxDocument(a, track)))
                    PushStatus("GPX exportiert", StatusKind::Success);
                else
                    PushStatus("GPX-Datei konnte nicht geschrieben werden", StatusKind::Error);
            }
        }
    }
    ImGui::SameLine(0, 10 * s);
    if (DangerButton(WithIcon(Icon::Delete, "Löschen").c_str(), buttonH)) {
        ImGui::CloseCurrentPopup();
        const std::string id = a.id;
        AskConfirm("Aktivität löschen?", "Die Aktivität und die dafür verliehenen Abzeichen werden entfernt.", "Löschen",
                   [this, id] { DeleteActivity(id); });
    }
    ImGui::SameLine();
    ImGui::SetCursorPos(ImVec2(right - 140 * s, rowY));
    if (PrimaryButton("Schließen", ImVec2(140 * s, 42 * s))) ImGui::CloseCurrentPopup();
    EndOverlay();
}
