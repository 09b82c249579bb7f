// Page "Aktivitäten": every activity of the active profile with filters, summary
// tiles, pace trend, sport mix and a sortable table with edit and delete.
#include "ui/page_activities.h"

#include <imgui.h>
#include <imgui_stdlib.h>

#include <algorithm>
#include <cmath>

#include "app/app.h"
#include "model/format.h"
#include "model/icons.h"
#include "ui/charts.h"
#include "ui/controls.h"
#include "ui/draw_util.h"
#include "ui/overlays.h"
#include "ui/theme.h"

const char* SourceLabel(const std::string& source) {
    if (source == "strava") return "Strava";
    if (source == "gpx") return "GPX";
    if (source == "tcx") return "TCX";
    if (source == "stopwatch") return "Stoppuhr";
    return "Manuell";
}

namespace {

double PaceKey(const Activity& a) { return a.distanceKm > 0.01 ? a.durationSec / a.distanceKm : 0.0; }

template <typename Key>
void SortBy(ActivityList& list, bool descending, Key key) {
    std::stable_sort(list.begin(), list.end(), [&](const Activity* x, const Activity* y) {
        return descending ? key(*y) < key(*x) : key(*x) < key(*y);
    });
}

std::string Label(const char* icon, const char* text) { return std::string(icon) + "  " + text; }

}  // namespace

void SortActivities(ActivityList& list, int column, bool descending) {
    switch (column) {
    case ColumnDate: SortBy(list, descending, [](const Activity& a) { return a.start; }); break;
    case ColumnTitle: SortBy(list, descending, [](const Activity& a) -> const std::string& { return a.title; }); break;
    case ColumnDistance: SortBy(list, descending, [](const Activity& a) { return a.distanceKm; }); break;
    case ColumnDuration: SortBy(list, descending, [](const Activity& a) { return a.durationSec; }); break;
    case ColumnPace: SortBy(list, descending, PaceKey); break;
    case ColumnCalories: SortBy(list, descending, [](const Activity& a) { return a.calories; }); break;
    case ColumnHeartRate: SortBy(list, descending, [](const Activity& a) { return a.avgHr; }); break;
    default: break;
    }
}

void App::PageActivities() {
    Profile* profile = ActiveProfile(db);
    if (!profile) return;
    const float s = UiScale();
    const int64_t now = WallNow();
    ActivitiesPageState& st = activitiesPage;

    PageTitle("Aktivitäten", "Alle Einheiten, Importe und Synchronisation");

    // Actions.
    if (PrimaryButton(Label(Icon::Add, "Neue Aktivität").c_str())) NewActivity();
    ImGui::SameLine(0, 8 * s);
    if (SecondaryButton(Label(Icon::Import, "GPX/TCX importieren").c_str())) ImportActivityFiles();
    ImGui::SameLine(0, 8 * s);
    if (SecondaryButton(Label(Icon::Export, "CSV-Export").c_str())) ExportCsv();

    // Filters: range, sport, search.
    VSpace(4);
    Segmented("range", &st.activityRange, {"Alle", "7 Tage", "30 Tage", "Dieses Jahr"});
    ImGui::SameLine(0, 12 * s);
    {
        // Same height as the segmented control beside them.
        const float padY = std::max(0.0f, (38 * s - ImGui::GetFontSize()) * 0.5f);
        ImGui::PushStyleVar(ImGuiStyleVar_FramePadding, ImVec2(12 * s, padY));
        ImGui::PushStyleVar(ImGuiStyleVar_FrameRounding, 10 * s);
        ImGui::PushStyleVar(ImGuiStyleVar_FrameBorderSize, 1.0f);
        ImGui::PushStyleColor(ImGuiCol_FrameBg, Hex(0x1E2230));
        ImGui::PushStyleColor(ImGuiCol_FrameBgHovered, Hex(0x232838));
        ImGui::PushStyleColor(ImGuiCol_Border, Theme::Border);
        ImGui::PushStyleColor(ImGuiCol_Button, Hex(0x1E2230));
        ImGui::PushStyleColor(ImGuiCol_ButtonHovered, Hex(0x2A3044));
        ImGui::SetNextItemWidth(190 * s);
        const char* preview = st.activitySport < 0 ? "Alle Sportarten" : SportName(st.activitySport);
        if (ImGui::BeginCombo("##sport", preview)) {
            if (ImGui::Selectable("Alle Sportarten", st.activitySport < 0)) st.activitySport = -1;
            for (int sp = 0; sp < kSportCount; ++sp) {
                const std::string item = std::string(SportIcon(sp)) + "  " + SportName(sp);
                if (ImGui::Selectable(item.c_str(), st.activitySport == sp)) st.activitySport = sp;
            }
            ImGui::EndCombo();
        }
        ImGui::SameLine(0, 12 * s);
        ImGui::SetNextItemWidth(std::max(160 * s, ImGui::GetContentRegionAvail().x));
        const std::string hint = Label(Icon::Search, "Suchen (Titel, Notizen) …");
        ImGui::InputTextWithHint("##search", hint.c_str(), &st.activitySearch);
        ImGui::PopStyleColor(5);
        ImGui::PopStyleVar(3);
    }
    VSpace(4);

    const ActivityList all = ProfileActivities(db, *profile);
    ActivityList list = ActivityFilter(all, st.activityRange, st.activitySport, st.activitySearch, now);
    const ListSummary sum = SummarizeActivities(list);
    const float avail = ImGui::GetContentRegionAvail().x;

    // Summary tiles of the filtered list.
    {
        // 10 px taller than a bare tile needs: the footnote must not be cut off.
        const ImVec2 size((avail - 48 * s) / 4, 128 * s);
        const std::string dist = FormatDistance(sum.distanceKm);
        const std::string count = FormatString("%d Aktivitäten", sum.count);
        KpiTile("##s1", Icon::Street, "Distanz", dist.c_str(), "km", count.c_str(), Theme::Accent, size);
        ImGui::SameLine(0, 16 * s);
        const std::string time = FormatDurationShort(sum.durationSec);
        const std::string pace = sum.distanceKm > 0 ? "Ø Pace " + FormatPace(sum.avgPace) + " /km" : std::string();
        KpiTile("##s2", Icon::Recent, "Zeit", time.c_str(), nullptr, pace.c_str(), Theme::Info, size);
        ImGui::SameLine(0, 16 * s);
        const std::string kcal = FormatNumber(sum.calories, 0);
        const std::string avgKcal = FormatString("Ø %s pro Einheit", FormatNumber(sum.avgCalories, 0).c_str());
        KpiTile("##s3", Icon::Calories, "Kalorien", kcal.c_str(), "kcal", avgKcal.c_str(), Theme::Warn, size);
        ImGui::SameLine(0, 16 * s);
        const std::string climb = FormatNumber(sum.elevationGain, 0);
        KpiTile("##s4", Icon::AreaChart, "Höhenmeter", climb.c_str(), "m", "bergauf gesamt", Theme::Good, size);
    }

    // Pace trend (always the whole running history) and sport mix (filtered).
    VSpace(6);
    {
        const float h = 250 * s;
        const float paceW = std::floor(0.66f * avail);
        BeginCard("##pacechart", ImVec2(paceW, h));
        SectionHeader(Icon::Lightning, "Pace-Entwicklung", "Laufen – letzte 20 Einheiten (höher ist schneller)");
        {
            std::vector<ChartPoint> points;
            for (const PacePoint& pp : PaceTrend(all))
                points.push_back({static_cast<float>(pp.value), pp.label, pp.tooltip});
            const ImVec2 room = ImGui::GetContentRegionAvail();
            LineChart("pace", points, ImVec2(room.x, room.y - 4 * s), Theme::Accent, true, NAN, NAN, true);
        }
        EndCard();
        ImGui::SameLine(0, 16 * s);

        BeginCard("##sportmix", ImVec2(avail - paceW - 16 * s, h));
        SectionHeader(Icon::Puzzle, "Sportarten", "Verteilung nach Distanz");
        {
            const SportShares mix = SportMix(list);
            std::vector<DonutSegment> segs;
            for (int sp = 0; sp < kSportCount; ++sp)
                if (mix.km[sp] > 0) segs.push_back({static_cast<float>(mix.km[sp]), Hex(SportColor(sp))});
            const std::string centre = FormatNumber(sum.distanceKm, 0);
            const float donutSize = 2 * (62 * s + 7 * s);
            const float top = ImGui::GetCursorPosY();
            const float room = ImGui::GetContentRegionAvail().y;
            ImGui::SetCursorPosY(top + std::max(0.0f, (room - donutSize) * 0.5f));
            Donut("mix", segs, 62 * s, 14 * s, centre.c_str(), "km");
            ImGui::SameLine(0, 16 * s);
            const float lineH = ImGui::GetTextLineHeightWithSpacing();
            int rows = 0;
            for (int sp = 0; sp < kSportCount; ++sp) rows += mix.km[sp] > 0;
            const float legendH = rows > 0 ? rows * lineH : lineH;
            ImGui::SetCursorPosY(top + std::max(0.0f, (room - legendH) * 0.5f));
            ImGui::BeginGroup();
            if (rows == 0) MutedText("Keine Daten");
            ImDrawList* dl = ImGui::GetWindowDrawList();
            for (int sp = 0; sp < kSportCount; ++sp) {
                if (mix.km[sp] <= 0) continue;
                const ImVec2 p = ImGui::GetCursorScreenPos();
                dl->AddCircleFilled(ImVec2(p.x + 5 * s, p.y + ImGui::GetFontSize() * 0.5f + 1 * s), 5 * s,
                                    UiColor(Hex(SportColor(sp))), 16);
                ImGui::SetCursorScreenPos(ImVec2(p.x + 16 * s, p.y));
                ImGui::Text("%s  %.0f%%", SportName(sp), mix.share[sp]);
            }
            ImGui::EndGroup();
        }
        EndCard();
    }

    // The table.
    VSpace(6);
    BeginCard("##table", ImVec2(avail, 0), true);
    {
        const std::string sub = FormatString("%d gefiltert", sum.count);
        SectionHeader(Icon::List, "Alle Einträge", sub.c_str());
        if (list.empty()) {
            MutedText("Keine Aktivitäten für diesen Filter.");
        } else {
            VSpace(2);
            const ImGuiTableFlags flags = ImGuiTableFlags_Sortable | ImGuiTableFlags_RowBg |
                                          ImGuiTableFlags_BordersInnerH | ImGuiTableFlags_SizingStretchProp |
                                          ImGuiTableFlags_PadOuterX;
            ImGui::PushStyleColor(ImGuiCol_TableRowBgAlt, IM_COL32(255, 255, 255, 6));
            ImGui::PushStyleColor(ImGuiCol_TableBorderLight, Theme::Border);
            ImGui::PushStyleColor(ImGuiCol_Header, WithAlpha(Theme::Accent, 0.10f));
            ImGui::PushStyleColor(ImGuiCol_HeaderHovered, IM_COL32(255, 255, 255, 10));
            ImGui::PushStyleColor(ImGuiCol_HeaderActive, WithAlpha(Theme::Accent, 0.18f));
            std::string edit, remove, open;
            // Rows of 40 px: the 32 px row content plus 4 px above and below.
            ImGui::PushStyleVar(ImGuiStyleVar_CellPadding, ImVec2(10 * s, 4 * s));
            if (ImGui::BeginTable("##acts", 9, flags)) {
                using CF = int;
                const CF desc = ImGuiTableColumnFlags_PreferSortDescending;
                ImGui::TableSetupColumn("Datum", ImGuiTableColumnFlags_DefaultSort | desc, 1.3f, ColumnDate);
                ImGui::TableSetupColumn("Aktivität", 0, 2.2f, ColumnTitle);
                ImGui::TableSetupColumn("Distanz", desc, 1.0f, ColumnDistance);
                ImGui::TableSetupColumn("Dauer", desc, 1.0f, ColumnDuration);
                ImGui::TableSetupColumn("Pace", 0, 0.9f, ColumnPace);
                ImGui::TableSetupColumn("kcal", desc, 0.8f, ColumnCalories);
                ImGui::TableSetupColumn("Puls", desc, 0.7f, ColumnHeartRate);
                ImGui::TableSetupColumn("Quelle", ImGuiTableColumnFlags_NoSort, 0.8f, ColumnSource);
                ImGui::TableSetupColumn("", ImGuiTableColumnFlags_NoSort | ImGuiTableColumnFlags_WidthFixed, 80 * s,
                                        ColumnActions);
                ImGui::PushStyleColor(ImGuiCol_Text, Theme::TextMuted);
                ImGui::TableHeadersRow();
                ImGui::PopStyleColor();

                if (const ImGuiTableSortSpecs* specs = ImGui::TableGetSortSpecs(); specs && specs->SpecsCount > 0) {
                    const ImGuiTableColumnSortSpecs& spec = specs->Specs[0];
                    SortActivities(list, static_cast<int>(spec.ColumnUserID),
                                   spec.SortDirection == ImGuiSortDirection_Descending);
                }

                // Rows of 40 px: 32 px of content and 4 px of cell padding above and below.
                const float rowMin = 40 * s;
                const float lineH = ImGui::GetFontSize();
                ImGuiListClipper clipper;
                clipper.Begin(static_cast<int>(list.size()));
                while (clipper.Step()) {
                    for (int i = clipper.DisplayStart; i < clipper.DisplayEnd; ++i) {
                        const Activity& a = *list[i];
                        ImGui::TableNextRow(0, rowMin);
                        ImGui::PushID(a.id.c_str());
                        ImGui::TableSetColumnIndex(0);
                        const float x0 = ImGui::GetCursorPosX();
                        const float y0 = ImGui::GetCursorPosY();
                        const float textY = y0 + (32 * s - lineH) * 0.5f;
                        if (ImGui::Selectable("##sel", false,
                                              ImGuiSelectableFlags_SpanAllColumns |
                                                  ImGuiSelectableFlags_AllowItemOverlap,
                                              ImVec2(0, 32 * s)))
                            open = a.id;
                        // Back up onto the selectable on a fresh line (a SameLine would
                        // give the text the selectable's line height and grow the row).
                        ImGui::SetCursorPos(ImVec2(x0, textY));
                        ImGui::TextUnformatted(FormatDate(a.start).c_str());

                        ImGui::TableSetColumnIndex(1);
                        ImGui::SetCursorPosY(textY);
                        ColorText(Hex(SportColor(a.sport)), "%s", SportIcon(a.sport));
                        ImGui::SameLine(0, 8 * s);
                        ImGui::TextUnformatted(a.title.empty() ? SportName(a.sport) : a.title.c_str());

                        ImGui::TableSetColumnIndex(2);
                        ImGui::SetCursorPosY(textY);
                        ImGui::Text("%s km", FormatDistance(a.distanceKm).c_str());
                        ImGui::TableSetColumnIndex(3);
                        ImGui::SetCursorPosY(textY);
                        ImGui::TextUnformatted(FormatDuration(a.durationSec).c_str());
                        ImGui::TableSetColumnIndex(4);
                        ImGui::SetCursorPosY(textY);
                        ImGui::TextUnformatted(FormatPace(PaceKey(a)).c_str());
                        ImGui::TableSetColumnIndex(5);
                        ImGui::SetCursorPosY(textY);
                        ColorText(Theme::Warn, "%s", FormatNumber(a.calories, 0).c_str());
                        ImGui::TableSetColumnIndex(6);
                        ImGui::SetCursorPosY(textY);
                        if (a.avgHr > 0)
                            ImGui::Text("%d", a.avgHr);
                        else
                            MutedText("–");
                        ImGui::TableSetColumnIndex(7);
                        ImGui::SetCursorPosY(textY);
                        MutedText("%s", SourceLabel(a.source));
                        ImGui::TableSetColumnIndex(8);
                        ImGui::SetCursorPosY(y0 + 1 * s);
                        if (IconButton("edit", Icon::Edit, "Bearbeiten", false, 30 * s)) edit = a.id;
                        ImGui::SameLine(0, 4 * s);
                        if (IconButton("del", Icon::Delete, "Löschen", false, 30 * s)) remove = a.id;
                        ImGui::PopID();
                    }
                }
                ImGui::EndTable();
            }
            ImGui::PopStyleVar();
            ImGui::PopStyleColor(5);
            // One action per frame; the icons win over the row they sit on.
            if (!edit.empty()) {
                EditActivity(edit);
            } else if (!remove.empty()) {
                AskConfirm("Aktivität löschen?", "Die Aktivität und die dafür verliehenen Abzeichen werden entfernt.",
                           "Löschen", [this, remove] { DeleteActivity(remove); });
            } else if (!open.empty()) {
                ShowActivity(open);
            }
        }
    }
    EndCard();
}
