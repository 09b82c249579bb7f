// Page "Einstellungen": daily reminder, system behaviour, accent colour, data
// tools and the about box. Every change is saved 0.8 s later.
#include "ui/page_settings.h"

#include <imgui.h>
#include <imgui_internal.h>

#include <algorithm>
#include <cfloat>

#include "app/app.h"
#include "model/format.h"
#include "model/icons.h"
#include "ui/controls.h"
#include "ui/draw_util.h"
#include "ui/theme.h"

bool SetReminderTime(Settings& st, int hour, int minute) {
    hour = std::clamp(hour, 0, 23);
    minute = std::clamp(minute, 0, 59);
    if (hour == st.reminderHour && minute == st.reminderMinute) return false;
    st.reminderHour = hour;
    st.reminderMinute = minute;
    st.lastReminderDate.clear();
    return true;
}

std::string NextReminderText(const Settings& st, int64_t now) {
    const std::tm tm = LocalTime(now);
    const std::string today = FormatDateKey(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
    const bool todayActive = st.reminderDays[WeekdayIndex(tm)] && today != st.lastReminderDate;
    return FormatString("Nächste Erinnerung: %s um %02d:%02d Uhr. Stridely muss dafür laufen (auch minimiert im "
                        "Infobereich).",
                        todayActive ? "heute" : "an einem der nächsten aktiven Tage", st.reminderHour,
                        st.reminderMinute);
}

namespace {

std::string Label(const char* icon, const char* text) { return std::string(icon) + "  " + text; }

// Why a control is greyed out, shown when the pointer rests on it.
void DisabledReason(const char* text) {
    if (ImGui::IsItemHovered(ImGuiHoveredFlags_AllowWhenDisabled)) ImGui::SetTooltip("%s", text);
}

constexpr const char* kNoDesktopIntegration =
    "Folgt mit der Desktop-Integration (Benachrichtigungen, Sprachausgabe, Autostart).";

void SmallWrapped(ImU32 colour, const std::string& text) {
    ImGui::PushFont(FontOr(FontSmall));
    ImGui::PushStyleColor(ImGuiCol_Text, colour);
    ImGui::PushTextWrapPos(0.0f);
    ImGui::TextUnformatted(text.c_str());
    ImGui::PopTextWrapPos();
    ImGui::PopStyleColor();
    ImGui::PopFont();
}

}  // namespace

void App::PageSettings() {
    const float s = UiScale();
    Settings& st = db.settings;
    PageTitle("Einstellungen", "Erinnerungen, Darstellung, Synchronisation und Daten.");
    const float colW = (ImGui::GetContentRegionAvail().x - 16 * s) / 2;
    const float gap = 2 * s;

    ImGui::BeginGroup();
    // ---- Daily reminder ----
    BeginCard("##rem", ImVec2(colW, 0), true);
    {
        SectionHeader(Icon::Ringer, "Tägliche Erinnerung", "Desktop-Benachrichtigung mit Motivationsrede");
        if (Toggle("Erinnerungen aktivieren", &st.reminderEnabled)) MarkChanged();
        ImGui::BeginDisabled(!st.reminderEnabled);
        Caption("UHRZEIT");
        int hour = st.reminderHour, minute = st.reminderMinute;
        ImGui::SetNextItemWidth(80 * s);
        bool timeChanged = ImGui::DragInt("##rh", &hour, 0.1f, 0, 23, "%02d Uhr");
        ImGui::SameLine(0, 6 * s);
        ImGui::SetNextItemWidth(80 * s);
        timeChanged |= ImGui::DragInt("##rm", &minute, 0.2f, 0, 59, "%02d min");
        static const int kPresets[4][2] = {{7, 0}, {12, 0}, {18, 0}, {19, 30}};
        for (int i = 0; i < 4; ++i) {
            ImGui::SameLine(0, i == 0 ? 12 * s : 6 * s);
            const std::string chip = FormatString("%02d:%02d", kPresets[i][0], kPresets[i][1]);
            if (Chip(chip.c_str(), st.reminderHour == kPresets[i][0] && st.reminderMinute == kPresets[i][1])) {
                hour = kPresets[i][0];
                minute = kPresets[i][1];
                timeChanged = true;
            }
        }
        if (timeChanged && SetReminderTime(st, hour, minute)) MarkChanged();

        Caption("WOCHENTAGE");
        for (int d = 0; d < 7; ++d) {
            if (d > 0) ImGui::SameLine(0, 6 * s);
            ImGui::PushID(d);
            if (Chip(WeekdayNameShort(d), st.reminderDays[d])) {
                st.reminderDays[d] = !st.reminderDays[d];
                MarkChanged();
            }
            ImGui::PopID();
        }
        VSpace(4);
        if (Toggle("Nicht erinnern, wenn ich heute schon trainiert habe", &st.reminderSkipIfDone)) MarkChanged();
        if (Toggle("Motivationsrede vorlesen (Sprachausgabe)", &st.speakMotivation)) MarkChanged();

        VSpace(2);
        Caption("STIMME");
        ImGui::BeginDisabled();
        ImGui::SetNextItemWidth(-FLT_MIN);
        if (ImGui::BeginCombo("##voice", "Automatisch (Deutsch bevorzugt)")) ImGui::EndCombo();
        ImGui::EndDisabled();
        DisabledReason(kNoDesktopIntegration);
        Caption("SPRECHTEMPO");
        ImGui::SetNextItemWidth(-FLT_MIN);
        float rate = static_cast<float>(st.speechRate);
        if (ImGui::SliderFloat("##rate", &rate, 0.6f, 1.6f, "%.1fx")) {
            st.speechRate = std::clamp(static_cast<double>(rate), 0.6, 1.6);
            MarkChanged();
        }
        ImGui::EndDisabled();

        VSpace(6);
        ImGui::BeginDisabled();
        PrimaryButton(Label(Icon::Ringer, "Test-Benachrichtigung").c_str());
        ImGui::EndDisabled();
        DisabledReason(kNoDesktopIntegration);
        ImGui::SameLine();
        if (SecondaryButton(Label(Icon::Volume, "Rede anhören").c_str())) OpenMotivation(true);
        if (st.reminderEnabled) SmallWrapped(Theme::TextMuted, NextReminderText(st, WallNow()));
    }
    EndCard();
    ImGui::Dummy(ImVec2(0, gap));

    // ---- System ----
    BeginCard("##sys", ImVec2(colW, 0), true);
    {
        SectionHeader(Icon::Power, "System", "Start- und Fensterverhalten");
        ImGui::BeginDisabled();
        bool autostart = st.autostart;
        Toggle("Bei der Anmeldung starten (minimiert im Infobereich)", &autostart);
        ImGui::EndDisabled();
        DisabledReason(kNoDesktopIntegration);
        if (Toggle("Beim Schließen im Infobereich weiterlaufen", &st.closeToTray)) MarkChanged();
        if (Toggle("Soundeffekte (Fanfare bei Abzeichen)", &st.sounds)) MarkChanged();
        if (Toggle("Animationen & Konfetti", &st.animations)) MarkChanged();
    }
    EndCard();
    ImGui::Dummy(ImVec2(0, gap));

    // ---- Accent colour ----
    BeginCard("##look", ImVec2(colW, 0), true);
    {
        SectionHeader(Icon::Equalizer, "Darstellung", "Akzentfarbe der Oberfläche");
        ImDrawList* dl = ImGui::GetWindowDrawList();
        ImFont* small = FontOr(FontSmall);
        for (int i = 0; i < AccentCount; ++i) {
            if (i > 0) ImGui::SameLine(0, 10 * s);
            ImGui::PushID(i);
            const ImVec2 p = ImGui::GetCursorScreenPos();
            if (ImGui::InvisibleButton("##acc", ImVec2(84 * s, 62 * s)) && st.accent != i) {
                st.accent = i;
                MarkChanged();
            }
            const bool hovered = ImGui::IsItemHovered();
            ImGui::PopID();
            if (hovered) ImGui::SetMouseCursor(ImGuiMouseCursor_Hand);
            GradientRect(ImVec2(p.x + 22 * s, p.y), ImVec2(p.x + 62 * s, p.y + 40 * s), AccentColor(i),
                         Accent2Color(i), 20 * s, false, dl);
            if (ClampAccent(st.accent) == i || hovered) {
                dl->AddRect(ImVec2(p.x + 18 * s, p.y - 4 * s), ImVec2(p.x + 66 * s, p.y + 44 * s),
                            UiColor(ClampAccent(st.accent) == i ? IM_COL32_WHITE : Theme::Border), 24 * s, 0, 2 * s);
            }
            const char* name = AccentName(i);
            const float w = small->CalcTextSizeA(small->FontSize, FLT_MAX, 0, name).x;
            dl->AddText(small, small->FontSize, ImVec2(IM_ROUND(p.x + 42 * s - w * 0.5f), p.y + 46 * s),
                        UiColor(Theme::TextMuted), name);
        }
    }
    EndCard();
    ImGui::EndGroup();

    ImGui::SameLine(0, 16 * s);
    ImGui::BeginGroup();
    // ---- Data and backup ----
    BeginCard("##data", ImVec2(colW, 0), true);
    {
        SectionHeader(Icon::Folder, "Daten & Sicherung", "Alles bleibt lokal auf deinem PC");
        const ImVec2 bs((ImGui::GetContentRegionAvail().x - 10 * s) / 2, 0);
        if (SecondaryButton(Label(Icon::Download, "Sicherung exportieren").c_str(), bs)) ExportBackup();
        ImGui::SameLine(0, 10 * s);
        if (SecondaryButton(Label(Icon::Upload, "Sicherung laden").c_str(), bs)) ImportBackup();
        if (SecondaryButton(Label(Icon::Export, "Aktivitäten als CSV").c_str(), bs)) ExportCsv();
        ImGui::SameLine(0, 10 * s);
        if (SecondaryButton(Label(Icon::Folder, "Datenordner öffnen").c_str(), bs)) OpenDataFolder();
        VSpace(4);
        SmallWrapped(Theme::TextMuted, "Datenbank: " + dataPath);
    }
    EndCard();
    ImGui::Dummy(ImVec2(0, gap));

    // ---- About ----
    BeginCard("##about", ImVec2(colW, 0), true);
    {
        SectionHeader(Icon::Info, "Über Stridely", "Version 1.0.0");
        SmallWrapped(Theme::TextMuted,
                     "Native Linux-Anwendung · OpenGL · Dear ImGui · Desktop-Benachrichtigungen · Sprachausgabe mit "
                     "espeak-ng");
        SmallWrapped(Theme::TextMuted,
                     "Kartendaten © OpenStreetMap-Mitwirkende (ODbL) · Kacheln © CARTO, OpenTopoMap, Esri · Wetter & "
                     "Höhen: Open-Meteo · Routing: OSRM / FOSSGIS · Geocoding: Nominatim.");
    }
    EndCard();
    ImGui::EndGroup();
}
