// Page "Werkzeuge": stopwatch with laps, pace calculator, race prediction with a
// VO2max estimate, and the heart-rate zones of the active profile.
#include "ui/page_tools.h"

#include <imgui.h>
#include <imgui_internal.h>

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "app/app.h"
#include "model/format.h"
#include "model/icons.h"
#include "platform/sound.h"
#include "science/calculators.h"
#include "ui/charts.h"
#include "ui/controls.h"
#include "ui/draw_util.h"
#include "ui/fields.h"
#include "ui/theme.h"

// ---- Logic ----

void StopwatchStartPause(App& app) {
    if (app.stopwatchRunning) {
        app.stopwatchAccum = app.StopwatchElapsed();
        app.stopwatchRunning = false;
    } else {
        app.stopwatchRunning = true;
        app.stopwatchStart = app.monotonic();
        if (app.db.settings.sounds) platform::PlayTick();
    }
}

void StopwatchLap(App& app) {
    if (!app.stopwatchRunning) return;
    app.stopwatchLaps.push_back(app.StopwatchElapsed());
    if (app.db.settings.sounds) platform::PlayTick();
}

void StopwatchReset(App& app) {
    app.stopwatchRunning = false;
    app.stopwatchAccum = 0.0;
    app.stopwatchStart = 0.0;
    app.stopwatchLaps.clear();
    app.tools.stopwatchDistanceKm = 0.0;
}

std::string LapNotes(const std::vector<double>& laps) {
    std::string notes = "Runden: ";
    double previous = 0.0;
    for (size_t i = 0; i < laps.size(); ++i) {
        if (i > 0) notes += ", ";
        notes += FormatDuration(laps[i] - previous);
        previous = laps[i];
    }
    return notes;
}

void StopwatchSaveAsActivity(App& app) {
    const double elapsed = app.StopwatchElapsed();
    if (elapsed < kStopwatchMinSaveSeconds) return;
    app.stopwatchAccum = elapsed;
    app.stopwatchRunning = false;
    app.NewActivity();
    Activity& d = app.editorDraft;
    d.durationSec = std::round(elapsed);
    d.start = app.WallNow() - static_cast<int64_t>(elapsed);
    d.distanceKm = std::max(0.0, app.tools.stopwatchDistanceKm);
    d.source = "stopwatch";
    if (!app.stopwatchLaps.empty()) d.notes = LapNotes(app.stopwatchLaps);
    StopwatchReset(app);
}

float StopwatchRingFraction(double elapsed) {
    if (!(elapsed > 0)) return 0.0f;
    return static_cast<float>(std::fmod(elapsed, 60.0) / 60.0);
}

int StopwatchTenths(double elapsed) {
    if (!(elapsed > 0)) return 0;
    return std::clamp(static_cast<int>((elapsed - std::floor(elapsed)) * 10.0), 0, 9);
}

const char* StopwatchStateText(bool running, double elapsed) {
    if (running) return "läuft";
    return elapsed > 0 ? "pausiert" : "bereit";
}

void UpdatePaceCalculator(PaceCalculator& c) {
    switch (c.mode) {
    case 0:
        if (c.distanceKm > 0) c.paceSec = c.timeSec / c.distanceKm;
        break;
    case 1:
        c.timeSec = c.paceSec * c.distanceKm;
        break;
    case 2:
        if (c.paceSec > 0) c.distanceKm = c.timeSec / c.paceSec;
        break;
    default:
        break;
    }
}

bool DistanceChipSelected(double distanceKm, double chipKm) { return std::fabs(distanceKm - chipKm) < 0.001; }

bool FastestRunReference(const ActivityList& list, double* distanceKm, double* durationSec) {
    const Activity* best = nullptr;
    double bestPace = 0.0;
    for (const Activity* a : list) {
        if (a->sport != SportRun || !(a->distanceKm >= 3.0) || !(a->durationSec > 0)) continue;
        const double pace = a->durationSec / a->distanceKm;
        if (!best || pace < bestPace) {
            best = a;
            bestPace = pace;
        }
    }
    if (!best) return false;
    *distanceKm = best->distanceKm;
    *durationSec = best->durationSec;
    return true;
}

// ---- Drawing ----

namespace {

std::string Label(const char* icon, const char* text) { return std::string(icon) + "  " + text; }

void CentredText(ImDrawList* dl, ImFont* font, ImVec2 centre, ImU32 colour, const char* text) {
    DrawCentredText(dl, font, 0, centre, text, UiColor(colour));
}

}  // namespace

void App::PageTools() {
    Profile* profile = ActiveProfile(db);
    if (!profile) return;
    const float s = UiScale();
    PageTitle("Werkzeuge", "Stoppuhr, Rechner und Trainingshilfen für Läufer.");
    const float colW = (ImGui::GetContentRegionAvail().x - 16 * s) / 2;

    // Prediction reference: the fastest run, once (again after a profile switch).
    if (!toolsPrefilled) {
        double km = 5.0, sec = 1800.0;
        FastestRunReference(ProfileActivities(db, *profile), &km, &sec);
        tools.predictDistanceKm = km;
        tools.predictTimeSec = sec;
        toolsPrefilled = true;
    }

    // ---- Stopwatch ----
    BeginCard("##sw", ImVec2(colW, 440 * s));
    {
        SectionHeader(Icon::Stopwatch, "Stoppuhr", "Zeit messen und direkt als Aktivität speichern");
        const double elapsed = StopwatchElapsed();
        const float cw = ImGui::GetContentRegionAvail().x;
        const ImVec2 top = ImGui::GetCursorScreenPos();
        const float r = 84 * s;
        const ImVec2 c(top.x + cw * 0.5f, top.y + 8 * s + r);
        ProgressRing(c, r, 10 * s, StopwatchRingFraction(elapsed), Theme::Accent, Theme::Accent2, Hex(0x262B3C));
        ImDrawList* dl = ImGui::GetWindowDrawList();
        ImFont* display = FontOr(FontDisplay);
        ImFont* title = FontOr(FontTitle);
        const std::string time = FormatDuration(elapsed);
        const std::string tenths = FormatString(",%d", StopwatchTenths(elapsed));
        const ImVec2 ts = display->CalcTextSizeA(display->FontSize, FLT_MAX, 0, time.c_str());
        const ImVec2 tp(IM_ROUND(c.x - ts.x * 0.5f), IM_ROUND(c.y - 4 * s - ts.y * 0.5f));
        dl->AddText(display, display->FontSize, tp, UiColor(Theme::Text), time.c_str());
        dl->AddText(title, title->FontSize, ImVec2(tp.x + ts.x + 2 * s, tp.y + ts.y - title->FontSize - 5 * s),
                    UiColor(Theme::TextMuted), tenths.c_str());
        CentredText(dl, FontSmall, ImVec2(c.x, c.y + 34 * s), stopwatchRunning ? Theme::Good : Theme::TextMuted,
                    StopwatchStateText(stopwatchRunning, elapsed));
        ImGui::Dummy(ImVec2(cw, 2 * r + 20 * s));

        const ImVec2 bs((cw - 20 * s) / 3, 44 * s);
        const char* go = stopwatchRunning ? "Pause" : elapsed > 0 ? "Weiter" : "Start";
        if (PrimaryButton(Label(stopwatchRunning ? Icon::Pause : Icon::Play, go).c_str(), bs)) StopwatchStartPause(*this);
        ImGui::SameLine(0, 10 * s);
        ImGui::BeginDisabled(!stopwatchRunning);
        if (SecondaryButton(Label(Icon::Flag, "Runde").c_str(), bs)) StopwatchLap(*this);
        ImGui::EndDisabled();
        ImGui::SameLine(0, 10 * s);
        ImGui::BeginDisabled(!(elapsed > 0));
        if (SecondaryButton(Label(Icon::Refresh, "Zurücksetzen").c_str(), bs)) StopwatchReset(*this);
        ImGui::EndDisabled();

        VSpace(2);
        // Distance field on the left half (German decimals), the save button beside it.
        ImGui::PushStyleVar(ImGuiStyleVar_CellPadding, ImVec2(5 * s, 0));
        if (ImGui::BeginTable("##swrow", 2, ImGuiTableFlags_SizingStretchSame)) {
            ImGui::TableNextRow();
            ImGui::TableSetColumnIndex(0);
            NumberField("swdist", &tools.stopwatchDistanceKm, 0.1, 0, 1000, "%.2f", "km (Distanz)");
            ImGui::TableSetColumnIndex(1);
            ImGui::BeginDisabled(elapsed < kStopwatchMinSaveSeconds);
            if (PrimaryButton(Label(Icon::Save, "Als Aktivität").c_str(),
                              ImVec2(ImGui::GetContentRegionAvail().x, ImGui::GetFrameHeight())))
                StopwatchSaveAsActivity(*this);
            ImGui::EndDisabled();
            ImGui::EndTable();
        }
        ImGui::PopStyleVar();

        if (!stopwatchLaps.empty()) {
            ImGui::PushStyleColor(ImGuiCol_ChildBg, IM_COL32(0, 0, 0, 0));
            ImGui::BeginChild("##laps", ImVec2(0, 0), false);
            double previous = 0.0;
            for (size_t i = 0; i < stopwatchLaps.size(); ++i) {
                const float x = ImGui::GetCursorPosX();
                ImGui::Text("Runde %d", static_cast<int>(i + 1));
                ImGui::SameLine(x + 120 * s);
                ImGui::TextUnformatted(FormatDuration(stopwatchLaps[i] - previous).c_str());
                ImGui::SameLine(x + 220 * s);
                MutedText("gesamt %s", FormatDuration(stopwatchLaps[i]).c_str());
                previous = stopwatchLaps[i];
            }
            if (stopwatchRunning) ImGui::SetScrollHereY(1.0f);
            ImGui::EndChild();
            ImGui::PopStyleColor();
        }
    }
    EndCard();
    ImGui::SameLine(0, 16 * s);

    // ---- Pace calculator ----
    BeginCard("##pace", ImVec2(colW, 440 * s));
    {
        PaceCalculator& pc = tools.pace;
        SectionHeader(Icon::Calculator, "Pace-Rechner", "Zwei Werte eingeben – der dritte wird berechnet");
        const float cw = ImGui::GetContentRegionAvail().x;
        Segmented("pmode", &pc.mode, {"Pace berechnen", "Zeit berechnen", "Distanz berechnen"}, cw);
        Caption("SCHNELLWAHL DISTANZ");
        static const struct {
            const char* label;
            double km;
        } kChips[] = {{"1 km", 1}, {"5 km", 5}, {"10 km", 10}, {"Halbmarathon", 21.0975}, {"Marathon", 42.195}};
        for (size_t i = 0; i < std::size(kChips); ++i) {
            if (i > 0) ImGui::SameLine(0, 6 * s);
            if (Chip(kChips[i].label, DistanceChipSelected(pc.distanceKm, kChips[i].km))) pc.distanceKm = kChips[i].km;
        }
        if (pc.mode != 2) {
            Caption("DISTANZ");
            NumberField("cd", &pc.distanceKm, 0.5, 0.01, 1000, "%.3f", "km");
        }
        if (pc.mode != 1) {
            Caption("ZEIT");
            DurationField("ct", &pc.timeSec);
        }
        if (pc.mode != 0) {
            Caption("PACE (MIN/KM)");
            int minutes = static_cast<int>(pc.paceSec) / 60;
            int seconds = static_cast<int>(pc.paceSec) % 60;
            ImGui::SetNextItemWidth(90 * s);
            bool changed = ImGui::DragInt("##pm", &minutes, 0.05f, 2, 20, "%d min");
            ImGui::SameLine(0, 6 * s);
            ImGui::SetNextItemWidth(90 * s);
            changed |= ImGui::DragInt("##ps", &seconds, 0.2f, 0, 59, "%02d s");
            if (changed) pc.paceSec = std::clamp(minutes, 2, 20) * 60 + std::clamp(seconds, 0, 59);
        }
        UpdatePaceCalculator(pc);

        VSpace(8);
        ImGui::Separator();
        static const char* const kResultCaption[] = {"PACE", "ZIELZEIT", "DISTANZ"};
        const std::string result = pc.mode == 0   ? FormatPace(pc.paceSec) + " /km"
                                   : pc.mode == 1 ? FormatDuration(pc.timeSec)
                                                  : FormatNumber(pc.distanceKm, 2) + " km";
        const ImVec2 o = ImGui::GetCursorScreenPos();
        ImDrawList* dl = ImGui::GetWindowDrawList();
        ImFont* small = FontOr(FontSmall);
        dl->AddText(small, small->FontSize, o, UiColor(Theme::TextMuted), kResultCaption[std::clamp(pc.mode, 0, 2)]);
        ImFont* display = FontOr(FontDisplay);
        GradientText(display, display->FontSize, ImVec2(o.x, o.y + 18 * s), result.c_str(), Theme::Accent,
                     Theme::Accent2);
        ImGui::Dummy(ImVec2(cw, display->FontSize + 22 * s));
        const double kmh = pc.paceSec > 0 ? 3600.0 / pc.paceSec : 0.0;
        MutedText("Tempo: %s km/h", FormatNumber(kmh, 2).c_str());
        MutedText("400-m-Runde: %s  ·  1 Meile: %s", FormatDuration(pc.paceSec * 0.4).c_str(),
                  FormatDuration(pc.paceSec * 1.609344).c_str());
    }
    EndCard();

    VSpace(6);
    // ---- Race prediction ----
    BeginCard("##pred", ImVec2(colW, 0), true);
    {
        SectionHeader(Icon::Flag, "Wettkampf-Prognose", "Nach der Riegel-Formel – Basis: deine beste Leistung");
        ImGui::PushStyleVar(ImGuiStyleVar_CellPadding, ImVec2(0, 2 * s));
        const bool inputs = ImGui::BeginTable("##predin", 2, ImGuiTableFlags_SizingStretchProp);
        ImGui::PopStyleVar();
        if (inputs) {
            ImGui::TableSetupColumn("km", 0, 0.45f);
            ImGui::TableSetupColumn("zeit", 0, 0.55f);
            // Captions and fields in rows of their own, so that each row shares one baseline.
            ImGui::TableNextRow();
            ImGui::TableSetColumnIndex(0);
            Caption("REFERENZ-DISTANZ");
            ImGui::TableSetColumnIndex(1);
            ImGui::SetCursorPosX(ImGui::GetCursorPosX() + 14 * s);
            Caption("ZEIT");
            ImGui::TableNextRow();
            ImGui::TableSetColumnIndex(0);
            NumberField("pk", &tools.predictDistanceKm, 0.5, 1, 100, "%.2f", "km");
            ImGui::TableSetColumnIndex(1);
            ImGui::SetCursorPosX(ImGui::GetCursorPosX() + 14 * s);
            DurationField("ps", &tools.predictTimeSec);
            ImGui::EndTable();
        }
        VSpace(4);
        ImGui::PushStyleColor(ImGuiCol_TableBorderLight, Theme::Border);
        if (ImGui::BeginTable("##predt", 3, ImGuiTableFlags_BordersInnerH | ImGuiTableFlags_SizingStretchSame)) {
            ImGui::TableSetupColumn("Distanz");
            ImGui::TableSetupColumn("Prognose");
            ImGui::TableSetupColumn("Pace");
            ImGui::PushStyleColor(ImGuiCol_Text, Theme::TextMuted);
            ImGui::TableHeadersRow();
            ImGui::PopStyleColor();
            static const struct {
                const char* name;
                double km;
            } kRaces[] = {{"5 km", 5}, {"10 km", 10}, {"Halbmarathon", 21.0975}, {"Marathon", 42.195}};
            const float rowH = 34 * s;
            const float lineH = ImGui::GetFontSize();
            for (const auto& race : kRaces) {
                const double t = RiegelPrediction(tools.predictDistanceKm, tools.predictTimeSec, race.km);
                ImGui::TableNextRow(0, rowH);
                ImGui::TableSetColumnIndex(0);
                const float y = ImGui::GetCursorPosY() + (rowH - lineH) * 0.5f - ImGui::GetStyle().CellPadding.y;
                ImGui::SetCursorPosY(y);
                ImGui::TextUnformatted(race.name);
                ImGui::TableSetColumnIndex(1);
                ImGui::SetCursorPosY(y);
                ImGui::PushFont(FontOr(FontSemibold));
                ImGui::TextUnformatted(FormatDuration(t).c_str());
                ImGui::PopFont();
                ImGui::TableSetColumnIndex(2);
                ImGui::SetCursorPosY(y);
                MutedText("%s /km", FormatPace(t / race.km).c_str());
            }
            ImGui::EndTable();
        }
        ImGui::PopStyleColor();
        const double vo2 = Vo2maxDaniels(tools.predictDistanceKm, tools.predictTimeSec);
        if (vo2 > 0) {
            VSpace(4);
            ColorText(Theme::Good, "%s  Geschätzte VO2max: %s ml/kg/min", Icon::Health, FormatNumber(vo2, 1).c_str());
            ImGui::SetCursorPosY(ImGui::GetCursorPosY() - 4 * s);
            ImGui::PushFont(FontOr(FontSmall));
            MutedText("(VDOT nach Daniels – ein Richtwert für deine Ausdauerleistung)");
            ImGui::PopFont();
        }
    }
    EndCard();
    ImGui::SameLine(0, 16 * s);

    // ---- Heart-rate zones ----
    BeginCard("##hr", ImVec2(colW, 0), true);
    {
        const int age = ProfileAge(*profile);
        const std::string sub =
            FormatString("Karvonen · Max. %.0f bpm · Ruhepuls %d bpm", MaxHeartRate(age), profile->restingHr);
        SectionHeader(Icon::HeartFill, "Herzfrequenz-Zonen", sub.c_str());
        const std::vector<HeartRateZone> zones = KarvonenZones(age, profile->restingHr);
        if (!zones.empty()) {
            const float cw = ImGui::GetContentRegionAvail().x;
            const ImVec2 o = ImGui::GetCursorScreenPos();
            ImDrawList* dl = ImGui::GetWindowDrawList();
            ImFont* semibold = FontOr(FontSemibold);
            ImFont* small = FontOr(FontSmall);
            const double first = zones.front().low;
            const double span = std::max(1.0, static_cast<double>(zones.back().high) - first);
            const float trackX0 = o.x + 150 * s, trackX1 = o.x + cw - 90 * s;
            const float trackW = std::max(1.0f, trackX1 - trackX0);
            const float rowH = 40 * s;
            for (size_t i = 0; i < zones.size(); ++i) {
                const HeartRateZone& z = zones[i];
                const float y = o.y + i * rowH;
                const ImU32 colour = Hex(z.color);
                dl->AddText(semibold, semibold->FontSize, ImVec2(o.x, y + 2 * s), UiColor(colour), z.name.c_str());
                dl->AddText(small, small->FontSize, ImVec2(o.x, y + 22 * s), UiColor(Theme::TextMuted),
                            z.description.c_str());
                dl->AddRectFilled(ImVec2(trackX0, y + 12 * s), ImVec2(trackX1, y + 26 * s), UiColor(Hex(0x222634)),
                                  7 * s);
                const double a = (z.low - first) / span;
                const double b = std::max((z.high - first) / span, a + 0.02);
                dl->AddRectFilled(ImVec2(trackX0 + static_cast<float>(a) * trackW, y + 12 * s),
                                  ImVec2(trackX0 + static_cast<float>(std::min(1.0, b)) * trackW, y + 26 * s),
                                  UiColor(colour), 7 * s);
                const std::string range = FormatString("%d–%d", z.low, z.high);
                const float rw = ImGui::CalcTextSize(range.c_str()).x;
                dl->AddText(ImVec2(o.x + cw - rw, y + 9 * s), UiColor(Theme::Text), range.c_str());
            }
            ImGui::Dummy(ImVec2(cw, zones.size() * rowH));
        }
        ImGui::PushFont(FontOr(FontSmall));
        ImGui::PushStyleColor(ImGuiCol_Text, Theme::TextMuted);
        ImGui::TextWrapped("Tipp: 80 %% deiner Läufe sollten locker in Zone 2 stattfinden – das baut die "
                           "Grundlagenausdauer am effektivsten auf. Ruhepuls im Profil anpassen für genauere Zonen.");
        ImGui::PopStyleColor();
        ImGui::PopFont();
    }
    EndCard();
}
