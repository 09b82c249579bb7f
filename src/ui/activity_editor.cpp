#include "ui/activity_editor.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <vector>

#include "imgui.h"
#include "imgui_internal.h"
#include "model/format.h"
#include "ui/theme.h"

const char* EditorSportLabel(int sport) {
    static const char* const labels[kSportCount] = {"Laufen", "Walking", "Wandern", "Rad", "Schwimmen", "Sonstiges"};
    return labels[ClampSport(sport)];
}

const char* FeelName(int feel) {
    static const char* const names[5] = {"Zäh", "Okay", "Gut", "Stark", "Überragend"};
    return feel >= 1 && feel <= 5 ? names[feel - 1] : "–";
}

namespace {
double Round2(double x) { return std::round(x * 100.0) / 100.0; }
}  // namespace

Activity NewActivityDraft(const Database& db, const Profile& profile, const std::string& routeId, int64_t now) {
    Activity a;
    a.profileId = profile.id;
    a.sport = SportRun;
    a.feel = 3;
    a.avgHr = 0;
    a.source = "manual";
    const std::tm lt = LocalTime(now);
    a.start = MakeLocalTime(lt.tm_year + 1900, lt.tm_mon + 1, lt.tm_mday, lt.tm_hour, lt.tm_min, 0) - 1800;
    a.distanceKm = 5.0;
    a.durationSec = 1800.0;
    if (!routeId.empty()) {
        for (const Route& r : db.routes) {
            if (r.id != routeId) continue;
            a.routeId = r.id;
            a.distanceKm = Round2(r.distanceKm);
            a.elevationGain = std::round(r.elevationGain);
            a.durationSec = std::round(r.distanceKm * 360.0);  // 6:00 min/km
            a.title = r.name;
            break;
        }
    }
    for (const Shoe& shoe : profile.shoes) {
        if (!shoe.retired) {
            a.shoeId = shoe.id;
            break;
        }
    }
    return a;
}

void ApplyRouteToDraft(Activity& draft, const Route& route) {
    draft.routeId = route.id;
    draft.distanceKm = Round2(route.distanceKm);
    draft.elevationGain = std::round(route.elevationGain);
    if (draft.title.empty()) draft.title = route.name;
}

bool ActivityDraftValid(const Activity& draft) {
    return draft.durationSec > 0 && (draft.distanceKm > 0 || draft.sport == SportSwim || draft.sport == SportOther);
}

std::string GpxExportFileName(const Activity& activity) {
    const std::tm lt = LocalTime(activity.start);
    std::string name = (activity.title.empty() ? std::string("Aktivitaet") : activity.title) + "-" +
                       FormatDateKey(lt.tm_year + 1900, lt.tm_mon + 1, lt.tm_mday) + ".gpx";
    for (char& c : name) {
        switch (c) {
            case '\\': case '/': case ':': case '*': case '?': case '"': case '<': case '>': case '|':
                c = '_';
                break;
            default:
                break;
        }
    }
    return name;
}

namespace {
// The open pairs: the window's right edge to restore and where the second half starts.
struct OpenPair {
    float contentMaxX;
    float workMaxX;
    float secondX;
};
std::vector<OpenPair> gPairs;

// Narrows the window's content region, so that fields filling the available
// width stop at the half's edge.
void LimitRight(float x) {
    ImGuiWindow* w = ImGui::GetCurrentWindow();
    w->ContentRegionRect.Max.x = x;
    w->WorkRect.Max.x = x;
}
}  // namespace

void BeginFieldPair(const char* id, float gap) {
    ImGui::PushID(id);
    ImGuiWindow* w = ImGui::GetCurrentWindow();
    const float left = w->DC.CursorPos.x;
    const float half = std::max(1.0f, (w->ContentRegionRect.Max.x - left - gap) * 0.5f);
    gPairs.push_back({w->ContentRegionRect.Max.x, w->WorkRect.Max.x, left + half + gap});
    LimitRight(left + half);
    ImGui::BeginGroup();
}

void FieldPairNext() {
    if (gPairs.empty()) return;
    ImGui::EndGroup();
    const OpenPair& pair = gPairs.back();
    ImGui::SameLine();
    ImGui::SetCursorScreenPos(ImVec2(pair.secondX, ImGui::GetItemRectMin().y));
    // The second half starts a fresh line of its own: no baseline taken over
    // from the frames of the first half.
    ImGui::GetCurrentWindow()->DC.CurrLineTextBaseOffset = 0.0f;
    LimitRight(pair.contentMaxX);
    ImGui::BeginGroup();
}

void EndFieldPair() {
    EndFieldColumn();
    ImGui::PopID();
}

void BeginFieldColumn(float width) {
    ImGuiWindow* w = ImGui::GetCurrentWindow();
    gPairs.push_back({w->ContentRegionRect.Max.x, w->WorkRect.Max.x, 0.0f});
    LimitRight(std::min(w->ContentRegionRect.Max.x, w->DC.CursorPos.x + width));
    ImGui::BeginGroup();
}

void EndFieldColumn() {
    ImGui::EndGroup();
    // Give the window its right edge back.
    if (!gPairs.empty()) {
        ImGuiWindow* w = ImGui::GetCurrentWindow();
        w->ContentRegionRect.Max.x = gPairs.back().contentMaxX;
        w->WorkRect.Max.x = gPairs.back().workMaxX;
        gPairs.pop_back();
    }
}

void PushCardClip() {
    ImGuiWindow* w = ImGui::GetCurrentWindow();
    ImRect r(w->Pos, ImVec2(w->Pos.x + w->Size.x, w->Pos.y + w->Size.y));
    if (w->ParentWindow) r.ClipWith(w->ParentWindow->ClipRect);
    w->DrawList->PushClipRect(r.Min, r.Max, false);
}
