#include "ui/gallery.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "imgui.h"
#include "model/format.h"
#include "model/icons.h"
#include "ui/charts.h"
#include "ui/controls.h"
#include "ui/draw_util.h"
#include "ui/fields.h"
#include "ui/overlays.h"
#include "ui/theme.h"

namespace {

// Sample state the gallery's controls edit.
struct GalleryState {
    bool initialised = false;
    bool toggleA = true;
    bool toggleB = false;
    int chip = 0;
    int segment = 1;
    int nav = 0;
    int page = 0;  // 0 the controls, 1 the icons
    int64_t date = 0;
    double duration = 3 * 3600 + 25 * 60 + 7;
    double weight = 72.5;
    int pulse = 58;
    bool overlayRequested = false;
    std::vector<ChartPoint> weeks;
    std::vector<ChartPoint> paces;
    std::vector<ChartPoint> single;
    std::vector<ChartPoint> zeros;
};

GalleryState& State() {
    static GalleryState g;
    if (!g.initialised) {
        g.initialised = true;
        g.date = MakeLocalTime(2025, 3, 14, 7, 30, 0);
        const float km[12] = {18.5f, 22.0f, 9.4f, 27.3f, 31.0f, 12.8f, 0.0f, 24.6f, 28.9f, 19.2f, 33.4f, 21.7f};
        for (int i = 0; i < 12; ++i) {
            char label[16], tip[48];
            snprintf(label, sizeof label, "%d.%d.", 1 + (6 + 7 * i) % 28, 1 + (6 + 7 * i) / 28);
            snprintf(tip, sizeof tip, "KW %d: %s km", 2 + i, FormatNumber(km[i], 1).c_str());
            g.weeks.push_back({km[i], label, tip});
        }
        const float pace[14] = {372, 365, 368, 351, 349, 356, 341, 338, 344, 333, 329, 335, 322, 318};
        for (int i = 0; i < 14; ++i) {
            char label[16];
            snprintf(label, sizeof label, "%d.%d.", 3 + 2 * i, 2);
            g.paces.push_back({pace[i], label, std::string(label) + " " + FormatPace(pace[i]) + " /km"});
        }
        g.single.push_back({5.0f, "Mo", "Nur ein Wert"});
        for (const char* d : {"Mo", "Di", "Mi", "Do", "Fr", "Sa", "So"}) g.zeros.push_back({0.0f, d, ""});
        // Show one pill of every kind straight away, so a screenshot catches them.
        PushStatus("Aktivität gespeichert – weiter so!", StatusKind::Success);
        PushStatus("Wetterdaten werden geladen …", StatusKind::Info);
        PushStatus("Schuh „Pegasus“ bald austauschen", StatusKind::Warning);
        PushStatus("Datei konnte nicht gelesen werden.", StatusKind::Error);
    }
    return g;
}

void FontSamples() {
    struct Sample {
        ImFont* font;
        const char* name;
        const char* text;
    };
    const Sample samples[] = {
        {FontSmall, "Small 13,5", "Letzte Änderung: 14.03.2025 · 18:45 Uhr – Ø 5:12 /km"},
        {FontBody, "Body 16", "Fünf Läufe diese Woche – großartig! „Übung“ …"},
        {FontSemibold, "Semibold 16", "Aktivität eintragen · Schöne Grüße"},
        {FontTitle, "Title 20", "Wöchentlicher Überblick"},
        {FontHeading, "Heading 30", "Übersicht 12,4 km"},
        {FontDisplay, "Display 42", "42,195 km"},
        {FontHuge, "Huge 84", "1:23:45"},
    };
    for (const Sample& s : samples) {
        ImGui::PushFont(FontOr(s.font));
        ImGui::TextUnformatted(s.text);
        ImGui::PopFont();
        if (ImGui::IsItemHovered()) ImGui::SetTooltip("%s", s.name);
    }
    ImGui::PushFont(FontOr(FontTitle));
    ColorText(Theme::Warn, "☀ ☁ ☂ ❄ ⚡ ☾ ▲");
    ImGui::SameLine();
    ColorText(Theme::TextMuted, "▼ ● ■ ← → ↑ ↓ ✓ ★ € −");
    ImGui::PopFont();
}

void ButtonSamples() {
    const float s = UiScale();
    PrimaryButton((std::string(Icon::Add) + "  Aktivität eintragen").c_str());
    ImGui::SameLine();
    SecondaryButton((std::string(Icon::Health) + "  Motivation").c_str());
    DangerButton((std::string(Icon::Delete) + "  Löschen").c_str());
    ImGui::SameLine();
    ImGui::BeginDisabled();
    PrimaryButton((std::string(Icon::Save) + "  Speichern (gesperrt)").c_str());
    ImGui::EndDisabled();
    VSpace(2);
    Caption("BILDUNTERSCHRIFT IN KLEINER SCHRIFT");
    ColorText(Theme::Good, "%s  Ziel erreicht! Alles Weitere ist Bonus.", Icon::Check);
    MutedText("Gedämpfter Hinweistext für Beschriftungen");
    ImFont* title = FontOr(FontTitle);
    const ImVec2 p = ImGui::GetCursorScreenPos();
    GradientText(title, title->FontSize, p, "Stridely – Verlauf in Akzentfarben", IM_COL32(255, 255, 255, 255),
                 Theme::Accent);
    ImGui::Dummy(ImVec2(10 * s, title->FontSize));
}

void ControlSamples(GalleryState& g, float width) {
    const float s = UiScale();
    const char* chips[] = {"Alle", "Laufen", "Radfahren", "Schwimmen"};
    for (int i = 0; i < 4; ++i) {
        if (i) ImGui::SameLine(0, 6 * s);
        if (Chip(chips[i], g.chip == i)) g.chip = i;
    }
    IconButton("g_fav", Icon::StarFill, "Favorit entfernen", true);
    ImGui::SameLine(0, 6 * s);
    IconButton("g_more", Icon::More, "Aktionen");
    ImGui::SameLine(0, 6 * s);
    IconButton("g_zin", Icon::ZoomIn, "Hineinzoomen");
    ImGui::SameLine(0, 6 * s);
    IconButton("g_prev", Icon::ChevronLeft, nullptr, false, 28 * s);
    ImGui::SameLine(0, 16 * s);
    // Avatars in three profile colours, the last one wrapping from index -1.
    const ImVec2 p = ImGui::GetCursorScreenPos();
    const char* initials[] = {"AM", "JK", "Ö"};
    const int colours[] = {0, 3, -1};
    for (int i = 0; i < 3; ++i) {
        Avatar(ImGui::GetWindowDrawList(), ImVec2(p.x + 17 * s + i * 40 * s, p.y + 17 * s), 17 * s, initials[i],
               colours[i]);
    }
    ImGui::Dummy(ImVec2(3 * 40 * s, 34 * s));
    Toggle("Töne", &g.toggleA);
    ImGui::SameLine(0, 20 * s);
    Toggle("Animationen", &g.toggleB);
    Segmented("g_range", &g.segment, {"Alle", "7 Tage", "30 Tage", "Dieses Jahr"}, width);
    const char* labels[] = {"Übersicht", "Aktivitäten"};
    const char* icons[] = {Icon::Home, Icon::List};
    ImGui::PushStyleVar(ImGuiStyleVar_ItemSpacing, ImVec2(10 * s, 2 * s));
    for (int i = 0; i < 2; ++i) {
        ImGui::PushID(i);
        if (NavItem(labels[i], icons[i], g.nav == i, std::min(width, 208 * s))) g.nav = i;
        ImGui::PopID();
    }
    ImGui::PopStyleVar();
}

void KpiSamples(float width) {
    const float s = UiScale();
    const float w = (width - 10 * s) * 0.5f;
    const ImVec2 size(w, 124 * s);
    KpiTile("##k1", Icon::Street, "Diese Woche", "23,4", "km", "von 30 km Ziel", Theme::Accent, size);
    ImGui::SameLine(0, 10 * s);
    KpiTile("##k2", Icon::Diagnostic, "Aktivitäten", "128", nullptr, "12 in diesem Monat", Theme::Info, size);
    KpiTile("##k3", Icon::Calories, "Kalorien", "4.812", "kcal", "Ø 612 pro Einheit", Theme::Warn, size);
    ImGui::SameLine(0, 10 * s);
    KpiTile("##k4", Icon::Calories, "Serie", "6", "Tage", nullptr, Theme::Bad, size);
}

void ChartSamples(GalleryState& g, float width) {
    const float s = UiScale();
    SectionHeader(Icon::AreaChart, "Kilometer pro Woche", "Die letzten 12 Wochen");
    BarChart("g_weeks", g.weeks, ImVec2(width, 110 * s), Theme::Accent, Theme::Accent2, 11, 25.0f);
    SectionHeader(Icon::Lightning, "Pace-Entwicklung", "Laufen – höher ist schneller");
    LineChart("g_pace", g.paces, ImVec2(width, 92 * s), Theme::Accent, true, NAN, NAN, true);

    const DonutSegment mix[] = {{62.0f, Hex(0xFF7A18)}, {21.0f, Hex(0x3A86FF)}, {9.0f, Hex(0x2EC4B6)},
                                {0.01f, Hex(0xB388FF)}};
    Donut("g_mix", mix, 40 * s, 12 * s, "92", "km");
    ImGui::SameLine(0, 16 * s);
    const float rr = 40 * s;
    const ImVec2 box = ImGui::GetCursorScreenPos();
    const ImVec2 centre(box.x + rr + 6 * s, box.y + rr + 6 * s);
    ProgressRing(centre, rr, 10 * s, 0.78f, Theme::Accent, Theme::Accent2, Hex(0x262B3C));
    DrawCentredText(ImGui::GetWindowDrawList(), FontOr(FontTitle), 0, centre, "78%", UiColor(Theme::Text));
    ImGui::Dummy(ImVec2(2 * rr + 12 * s, 2 * rr + 12 * s));
    ImGui::SameLine(0, 16 * s);
    ImGui::BeginGroup();
    ImGui::Dummy(ImVec2(0, 14 * s));
    MutedText("Schuh: 612 / 700 km");
    ProgressBar(612.0f / 700.0f, 6 * s, Theme::Good, Theme::Warn);
    ProgressBar(0.35f, 10 * s, Theme::Accent, Theme::Accent2);
    ProgressBar(1.0f, 6 * s, Theme::Bad, Theme::Bad);
    ImGui::EndGroup();
    const float half = (width - 10 * s) * 0.5f;
    LineChart("g_single", g.single, ImVec2(half, 54 * s), Theme::Accent, true, NAN, NAN);
    ImGui::SameLine(0, 10 * s);
    BarChart("g_zero", g.zeros, ImVec2(half, 54 * s), Theme::Accent, Theme::Accent2, -1, 0.0f);
}

void FieldSamples(GalleryState& g, float width) {
    const float s = UiScale();
    const float labelW = 92 * s;
    auto label = [&](const char* text) {
        ImGui::AlignTextToFramePadding();
        MutedText("%s", text);
        ImGui::SameLine(labelW);
    };
    ImGui::PushItemWidth(width - labelW);
    label("Datum");
    DateField("g_date", &g.date);
    label("Uhrzeit");
    TimeOfDayField("g_time", &g.date);
    label("Dauer");
    DurationField("g_dur", &g.duration);
    label("Gewicht");
    NumberField("g_kg", &g.weight, 0.1, 30, 250, "%.1f", "kg");
    label("Ruhepuls");
    IntField("g_hr", &g.pulse, 30, 120, "Schläge/min");
    ImGui::PopItemWidth();
}

void OverlaySamples(GalleryState& g) {
    const float s = UiScale();
    if (SecondaryButton((std::string(Icon::Edit) + "  Dialog").c_str())) g.overlayRequested = true;
    ImGui::SameLine(0, 8 * s);
    if (SecondaryButton((std::string(Icon::Delete) + "  Bestätigung").c_str())) {
        AskConfirm("Aktivität löschen?", "Die Aktivität und ihre Abzeichen werden endgültig entfernt.", "Löschen",
                   [] { PushStatus("Aktivität gelöscht.", StatusKind::Success); });
    }
    ImGui::SameLine(0, 8 * s);
    if (PrimaryButton("Konfetti!")) {
        const ImVec2 d = ImGui::GetIO().DisplaySize;
        SpawnConfetti(ImVec2(d.x * 0.5f, d.y * 0.4f));
    }
    const struct {
        const char* label;
        const char* text;
        StatusKind kind;
    } kinds[] = {
        {"Info", "Synchronisation läuft …", StatusKind::Info},
        {"Erfolg", "Profil gespeichert.", StatusKind::Success},
        {"Warnung", "Kein Standort hinterlegt.", StatusKind::Warning},
        {"Fehler", "Netzwerkfehler (7)", StatusKind::Error},
    };
    for (int i = 0; i < 4; ++i) {
        if (i) ImGui::SameLine(0, 6 * s);
        if (Chip(kinds[i].label, false)) PushStatus(kinds[i].text, kinds[i].kind);
    }
}

void SampleOverlay(GalleryState& g) {
    const float s = UiScale();
    if (g.overlayRequested) {
        ImGui::OpenPopup("##g_overlay");
        g.overlayRequested = false;
    }
    if (!BeginOverlay("##g_overlay", 560 * s)) return;
    OverlayHeader(Icon::Add, "Neue Aktivität eintragen",
                  "Trage deine Werte ein – Pace und Kalorien werden automatisch berechnet.");
    Caption("DAUER");
    DurationField("g_odur", &g.duration);
    VSpace(8);
    const float bw = 170 * s;
    ImGui::SetCursorPosX(std::max(ImGui::GetCursorPosX(), ImGui::GetWindowContentRegionMax().x - 2 * bw - 10 * s));
    if (SecondaryButton("Abbrechen", ImVec2(bw, 44 * s))) ImGui::CloseCurrentPopup();
    ImGui::SameLine(0, 10 * s);
    if (PrimaryButton((std::string(Icon::Save) + "  Speichern").c_str(), ImVec2(bw, 44 * s))) ImGui::CloseCurrentPopup();
    EndOverlay();
}

void IconGrid(float width) {
    const float s = UiScale();
    const float cellW = 112 * s, cellH = 50 * s;
    const int perRow = std::max(1, static_cast<int>(width / cellW));
    const ImVec2 origin = ImGui::GetCursorScreenPos();
    ImDrawList* dl = ImGui::GetWindowDrawList();
    ImFont* title = FontOr(FontTitle);
    ImFont* small = FontOr(FontSmall);
    const int n = static_cast<int>(Icon::kCount);
    for (int i = 0; i < n; ++i) {
        const ImVec2 a(origin.x + cellW * (i % perRow), origin.y + cellH * (i / perRow));
        DrawCentredText(dl, title, 0, ImVec2(a.x + cellW * 0.5f, a.y + 14 * s), Icon::kAll[i].glyph, UiColor(Theme::Text));
        const char* name = Icon::kAll[i].name;
        const ImVec2 ts = small->CalcTextSizeA(small->FontSize, 1e9f, 0, name);
        dl->AddText(small, small->FontSize, ImVec2(std::round(a.x + (cellW - ts.x) * 0.5f), std::round(a.y + 30 * s)),
                    UiColor(Theme::TextMuted), name);
        if (ImGui::IsMouseHoveringRect(a, ImVec2(a.x + cellW, a.y + cellH)) && ImGui::IsWindowHovered()) {
            ImGui::SetTooltip("Icon::%s  (U+%04X)", name, static_cast<unsigned>(Icon::kCodepoints[i]));
        }
    }
    const int rows = (n + perRow - 1) / perRow;
    ImGui::Dummy(ImVec2(width, rows * cellH));
}

}  // namespace

void SetGalleryPage(int page) { State().page = page; }

void DrawGallery() {
    GalleryState& g = State();
    const float s = UiScale();
    const float gap = 16 * s;
    ImGui::PushStyleVar(ImGuiStyleVar_ItemSpacing, ImVec2(10 * s, 10 * s));
    const ImVec2 top = ImGui::GetCursorScreenPos();
    const float total = ImGui::GetContentRegionAvail().x;
    PageTitle("Galerie", "Alle Bausteine der Oberfläche mit Beispieldaten – Schriften, Farben, Symbole");
    const ImVec2 below = ImGui::GetCursorScreenPos();
    const float tabsW = 260 * s;
    ImGui::SetCursorScreenPos(ImVec2(top.x + total - tabsW, top.y + 4 * s));
    Segmented("g_page", &g.page, {"Bausteine", "Symbole"}, tabsW);
    ImGui::SetCursorScreenPos(below);

    if (g.page == 1) {
        BeginCard("##g_icons", ImVec2(total, 0), true);
        SectionHeader(Icon::Grid, "Symbole", "Jede Konstante aus Icon:: – Mauszeiger darauf zeigt den Code");
        IconGrid(total - 36 * s);
        EndCard();
    } else {
        const float col = std::max((total - 2 * gap) / 3.0f, 200 * s);
        const float inner = col - 36 * s;  // card width minus its padding

        ImGui::BeginGroup();
        BeginCard("##g_fonts", ImVec2(col, 0), true);
        SectionHeader(Icon::Edit, "Schriften", "Sieben Größen, Symbole und Umlaute");
        FontSamples();
        EndCard();
        BeginCard("##g_buttons", ImVec2(col, 0), true);
        SectionHeader(Icon::Add, "Schaltflächen und Texte");
        ButtonSamples();
        EndCard();
        BeginCard("##g_overlays", ImVec2(col, 0), true);
        SectionHeader(Icon::Info, "Dialoge und Meldungen", "Bestätigung, Statusmeldungen, Konfetti");
        OverlaySamples(g);
        EndCard();
        ImGui::EndGroup();

        ImGui::SameLine(0, gap);
        ImGui::BeginGroup();
        BeginCard("##g_controls", ImVec2(col, 0), true, true);
        SectionHeader(Icon::Settings, "Bedienelemente", "Chips, Symbolknöpfe, Schalter, Navigation");
        ControlSamples(g, inner);
        EndCard();
        KpiSamples(col);
        ImGui::EndGroup();

        ImGui::SameLine(0, gap);
        ImGui::BeginGroup();
        BeginCard("##g_charts", ImVec2(col, 0), true);
        ChartSamples(g, inner);
        EndCard();
        BeginCard("##g_fields", ImVec2(col, 0), true);
        SectionHeader(Icon::Calendar, "Eingabefelder", "Datum, Uhrzeit, Dauer, Zahlen");
        FieldSamples(g, inner);
        EndCard();
        ImGui::EndGroup();
    }
    ImGui::PopStyleVar();

    SampleOverlay(g);
    if (ConfettiActive()) DrawConfetti();
}
