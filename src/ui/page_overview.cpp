// The start page: greeting, this week at a glance, weekly goal, twelve weeks of
// distance, running weather, latest activities, newest badges, records and the
// six-month training calendar with the year goal.
#include "ui/page_overview.h"

#include <imgui.h>
#include <imgui_internal.h>

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "app/app.h"
#include "model/format.h"
#include "model/icons.h"
#include "science/awards.h"
#include "science/calendar.h"
#include "science/calories.h"
#include "science/motivation.h"
#include "ui/activity_row.h"
#include "ui/charts.h"
#include "ui/controls.h"
#include "ui/draw_util.h"
#include "ui/medallion.h"
#include "ui/theme.h"

// ---- The figures behind the page ----

std::string OverviewGreeting(const std::string& name, int hour) {
    return FormatString("%s, %s", DayGreeting(hour), FirstName(name).c_str());
}

std::string WeekGoalText(const WeekGoal& goal) {
    if (goal.remainingKm <= 0) return "";
    return FormatString("Noch %s km in %d %s – also ca. %s km pro Tag.", FormatDistance(goal.remainingKm).c_str(),
                        goal.daysLeft, goal.daysLeft == 1 ? "Tag" : "Tagen", FormatDistance(goal.perDayKm).c_str());
}

RecentCard RecentActivities(const ActivityList& list) {
    RecentCard card;
    for (auto it = list.rbegin(); it != list.rend() && card.rows.size() < 5; ++it) card.rows.push_back(*it);
    card.showAll = list.size() >= 6;
    return card;
}

TrainingCalendar BuildTrainingCalendar(const DailyKm& daily, int64_t today) {
    TrainingCalendar cal;
    cal.firstDay = WeekStart(today) - 7 * (kCalendarWeeks - 1);
    cal.cells.reserve(kCalendarWeeks * 7);
    int lastMonth = 0;
    for (int col = 0; col < kCalendarWeeks; ++col) {
        const int64_t monday = cal.firstDay + 7 * col;
        const int month = CivilFromDays(monday).month;
        if (month != lastMonth) {
            cal.months.push_back({col, month});
            lastMonth = month;
        }
        for (int row = 0; row < 7; ++row) {
            CalendarCell c;
            c.day = monday + row;
            c.future = c.day > today;
            c.today = c.day == today;
            c.km = c.future ? 0.0 : KmOnDay(daily, c.day);
            c.intensity = c.km > 0 ? DayIntensity(daily, c.km) : 0.0;
            cal.cells.push_back(c);
        }
    }
    return cal;
}

std::string CalendarTooltip(const CalendarCell& cell) {
    const CivilDate d = CivilFromDays(cell.day);
    const std::string what = cell.km > 0 ? FormatDistance(cell.km) + " km" : std::string("Kein Training");
    return FormatString("%s, %02d.%02d.%04d\n%s", WeekdayName(WeekdayOfDay(cell.day)), d.day, d.month, d.year,
                        what.c_str());
}

int TrophyColumns(float cardWidth, float cellWidth) {
    const int k = cellWidth > 0 ? static_cast<int>(std::floor(cardWidth / cellWidth)) : 0;
    return k < 3 ? 2 : k;
}

// ---- Drawing ----

namespace {

std::string Label(const char* icon, const char* text) { return std::string(icon) + "  " + text; }

// Text at an absolute position in a font (null = current) and colour.
void TextAt(ImDrawList* dl, ImFont* font, ImVec2 pos, ImU32 colour, const char* text) {
    font = FontOr(font);
    dl->AddText(font, font->FontSize, ImVec2(IM_ROUND(pos.x), IM_ROUND(pos.y)), UiColor(colour), text);
}

ImVec2 TextSize(ImFont* font, const char* text) {
    font = FontOr(font);
    return font->CalcTextSizeA(font->FontSize, FLT_MAX, 0.0f, text);
}

void WrappedText(ImU32 colour, const std::string& text) {
    ImGui::PushStyleColor(ImGuiCol_Text, colour);
    ImGui::PushTextWrapPos(0.0f);
    ImGui::TextUnformatted(text.c_str());
    ImGui::PopTextWrapPos();
    ImGui::PopStyleColor();
}

}  // namespace

void App::DrawOverview() {
    const float s = UiScale();
    Profile* profile = ActiveProfile(db);
    if (!profile) {
        PageTitle("Willkommen!", "Lege zuerst ein Profil an.");
        if (PrimaryButton(Label(Icon::Add, "Profil anlegen").c_str())) {
            onboardingDraft = Profile{};
            onboardingRequested = true;
        }
        return;
    }
    const Profile& p = *profile;
    const int64_t now = WallNow();
    const int64_t today = LocalDayNumber(now);
    const ActivityList list = ProfileActivities(db, p);
    const WeekFigures week = WeekSummary(list, now);
    const DailyKm daily = DailyDistance(list);
    const float avail = ImGui::GetContentRegionAvail().x;

    // 1. Greeting row with the main action on the right.
    {
        const ImVec2 start = ImGui::GetCursorScreenPos();
        const std::string greeting = OverviewGreeting(p.name, LocalTime(now).tm_hour);
        ImGui::PushFont(FontOr(FontHeading));
        ImGui::TextUnformatted(greeting.c_str());
        ImGui::PopFont();
        ImGui::SetCursorPosY(ImGui::GetCursorPosY() - 6 * s);
        const std::string sub = FormatDateLong(now) + "  ·  „" + SayingOfTheDay(now) + "“";
        ImGui::PushTextWrapPos(ImGui::GetCursorPosX() + avail - 220 * s);
        ImGui::PushStyleColor(ImGuiCol_Text, Theme::TextMuted);
        ImGui::TextWrapped("%s", sub.c_str());
        ImGui::PopStyleColor();
        ImGui::PopTextWrapPos();
        const ImVec2 after = ImGui::GetCursorScreenPos();
        ImGui::SetCursorScreenPos(ImVec2(start.x + avail - 200 * s, start.y + 6 * s));
        if (PrimaryButton(Label(Icon::Add, "Aktivität eintragen").c_str(), ImVec2(200 * s, 44 * s))) NewActivity();
        ImGui::SetCursorScreenPos(ImVec2(start.x, std::max(after.y, start.y + 56 * s)));
    }

    // 2. This week at a glance.
    VSpace(10);
    {
        const float w = (avail - 3 * 16 * s) / 4;
        const ImVec2 size(w, 128 * s);
        const std::string dist = FormatDistance(week.distanceKm);
        const std::string change = WeekChangeText(week);
        KpiTile("##k1", Icon::Street, "Diese Woche", dist.c_str(), "km", change.c_str(), Theme::Accent, size);
        ImGui::SameLine(0, 16 * s);
        const std::string count = std::to_string(week.count);
        const std::string moving = FormatDurationShort(week.durationSec) + " in Bewegung";
        KpiTile("##k2", Icon::Diagnostic, "Aktivitäten", count.c_str(), "diese Woche", moving.c_str(), Theme::Info,
                size);
        ImGui::SameLine(0, 16 * s);
        const std::string kcal = FormatNumber(week.calories, 0);
        const std::string pizza = FormatString("≈ %s Stück Pizza", FormatNumber(PizzaSlices(week.calories), 1).c_str());
        KpiTile("##k3", Icon::Calories, "Kalorien", kcal.c_str(), "kcal", pizza.c_str(), Theme::Warn, size);
        ImGui::SameLine(0, 16 * s);
        const int streak = CurrentStreak(list, now);
        const std::string streakText = std::to_string(streak);
        KpiTile("##k4", Icon::Calories, "Serie", streakText.c_str(), streak == 1 ? "Tag" : "Tage",
                streak > 0 ? "Weiter so – nicht abreißen lassen!" : "Starte heute eine neue Serie", Theme::Bad, size);
    }

    // 3. Weekly goal, twelve weeks, running weather.
    VSpace(6);
    {
        const float goalW = std::floor(0.26f * avail);
        const float weatherW = std::floor(0.30f * avail);
        const float weeksW = avail - goalW - weatherW - 32 * s;
        const float h = 310 * s;

        BeginCard("##goal", ImVec2(goalW, h));
        {
            const std::string sub = FormatNumber(p.weeklyGoalKm, 0) + " km";
            SectionHeader(Icon::Flag, "Wochenziel", sub.c_str());
            const WeekGoal goal = WeeklyGoal(p, week.distanceKm, now);
            const float cw = ImGui::GetContentRegionAvail().x;
            const float radius = std::min(78 * s, 0.34f * (cw + 36 * s));
            const ImVec2 top = ImGui::GetCursorScreenPos();
            const ImVec2 c(top.x + cw * 0.5f, top.y + 6 * s + radius);
            const float shown = Animate(ImGui::GetID("goalring"), static_cast<float>(goal.fraction), 5);
            ProgressRing(c, radius, 14 * s, std::min(1.0f, shown), Theme::Accent, Theme::Accent2, Hex(0x262B3C));
            if (shown > 1.0f) {
                ProgressRing(c, radius - 18 * s, 6 * s, std::min(1.0f, shown - 1.0f), Theme::Good, Theme::Good,
                             WithAlpha(Theme::Good, 0.12f));
            }
            ImDrawList* dl = ImGui::GetWindowDrawList();
            const std::string pct = FormatString("%.0f%%", goal.fraction * 100);
            DrawCentredText(dl, FontHeading, 0, ImVec2(c.x, c.y - 8 * s), pct.c_str(), UiColor(Theme::Text));
            const std::string of = FormatDistance(week.distanceKm) + " / " + FormatNumber(p.weeklyGoalKm, 0) + " km";
            DrawCentredText(dl, FontSmall, 0, ImVec2(c.x, c.y + 20 * s), of.c_str(), UiColor(Theme::TextMuted));
            ImGui::Dummy(ImVec2(cw, 2 * radius + 14 * s));
            const std::string left = WeekGoalText(goal);
            if (left.empty())
                WrappedText(Theme::Good, Label(Icon::Check, "Ziel erreicht! Alles Weitere ist Bonus."));
            else
                WrappedText(Theme::TextMuted, left);
        }
        EndCard();
        ImGui::SameLine(0, 16 * s);

        BeginCard("##weeks", ImVec2(weeksW, h));
        {
            SectionHeader(Icon::AreaChart, "Kilometer pro Woche", "Die letzten 12 Wochen");
            std::vector<ChartPoint> points;
            for (const WeekPoint& w : WeeklySeries(list, now))
                points.push_back({static_cast<float>(w.km), w.label, w.tooltip});
            BarChart("weekbars", points, ImVec2(0, 0), Theme::Accent, Theme::Accent2, 11,
                     static_cast<float>(std::max(0.0, p.weeklyGoalKm)));
        }
        EndCard();
        ImGui::SameLine(0, 16 * s);

        BeginCard("##weather", ImVec2(weatherW, h));
        DrawWeatherCard(p);
        EndCard();
    }

    // 4. Latest activities, newest badges, records.
    VSpace(6);
    {
        const float recentW = std::floor(0.48f * avail);
        const float trophiesW = std::floor(0.24f * avail);
        const float recordsW = avail - recentW - trophiesW - 32 * s;
        const float h = 380 * s;

        BeginCard("##recent", ImVec2(recentW, h));
        {
            const std::string sub = FormatString("%d insgesamt", static_cast<int>(list.size()));
            SectionHeader(Icon::Recent, "Letzte Aktivitäten", sub.c_str());
            if (list.empty()) {
                VSpace(20);
                WrappedText(Theme::TextMuted,
                            "Noch keine Aktivitäten. Trag deinen ersten Lauf ein und hol dir dein erstes Abzeichen!");
                VSpace(8);
                if (PrimaryButton(Label(Icon::Add, "Erste Aktivität eintragen").c_str())) NewActivity();
                ImGui::SameLine();
                if (SecondaryButton(Label(Icon::Import, "GPX importieren").c_str())) ImportActivityFiles();
            } else {
                const RecentCard card = RecentActivities(list);
                const float rw = ImGui::GetContentRegionAvail().x;
                std::string open;
                ImGui::PushStyleVar(ImGuiStyleVar_ItemSpacing, ImVec2(10 * s, 0));
                for (const Activity* a : card.rows)
                    if (ActivityRow(*a, rw)) open = a->id;
                ImGui::PopStyleVar();
                if (card.showAll) {
                    VSpace(4);
                    const std::string all = std::string("Alle Aktivitäten anzeigen ") + Icon::ChevronRight;
                    if (SecondaryButton(all.c_str(), ImVec2(0, 32 * s))) page = PageActivitiesList;
                }
                if (!open.empty()) ShowActivity(open);
            }
        }
        EndCard();
        ImGui::SameLine(0, 16 * s);

        BeginCard("##trophies", ImVec2(trophiesW, h));
        {
            const std::vector<const Award*> awards = ProfileAwards(db, p);
            const std::string sub = FormatString("%d gesammelt", static_cast<int>(awards.size()));
            SectionHeader(Icon::StarFill, "Neueste Abzeichen", sub.c_str());
            if (awards.empty()) {
                WrappedText(Theme::TextMuted, "Mit jeder Aktivität verdienst du ein Abzeichen.");
            } else {
                const float cw = ImGui::GetContentRegionAvail().x;
                const int k = TrophyColumns(cw, 74 * s);
                const float cellW = cw / k;
                const float cellH = 84 * s;
                const ImVec2 origin = ImGui::GetCursorScreenPos();
                const int n = std::min(static_cast<int>(awards.size()), 3 * k);
                ImDrawList* dl = ImGui::GetWindowDrawList();
                bool toTrophies = false;
                for (int i = 0; i < n; ++i) {
                    const Award& a = *awards[i];
                    const ImVec2 cell(origin.x + (i % k) * cellW, origin.y + (i / k) * cellH);
                    ImGui::SetCursorScreenPos(cell);
                    ImGui::PushID(i);
                    if (ImGui::InvisibleButton("##t", ImVec2(cellW, cellH))) toTrophies = true;
                    const bool hovered = ImGui::IsItemHovered();
                    ImGui::PopID();
                    const float r = 26 * s * (hovered ? 1.08f : 1.0f);
                    DrawMedallion(dl, ImVec2(cell.x + cellW * 0.5f, cell.y + 32 * s), r, a.tier, AwardIcon(a),
                                  AwardColor(a), false, -1.0f, 1.0f);
                    if (hovered) {
                        ImGui::SetMouseCursor(ImGuiMouseCursor_Hand);
                        ImGui::SetTooltip("%s\n%s · %s", a.name.c_str(), TierName(a.tier), FormatDate(a.at).c_str());
                    }
                }
                ImGui::SetCursorScreenPos(origin);
                ImGui::Dummy(ImVec2(cw, ((n + k - 1) / k) * cellH));
                if (toTrophies) page = Page::PageTrophies;
            }
        }
        EndCard();
        ImGui::SameLine(0, 16 * s);

        BeginCard("##records", ImVec2(recordsW, h));
        {
            SectionHeader(Icon::Lightning, "Bestleistungen", "Persönliche Rekorde");
            const PersonalBests pb = PersonalRecords(list);
            const int longest = LongestStreak(daily);
            struct Row {
                const char* icon;
                const char* label;
                std::string value;
                ImU32 colour;
            };
            auto orDash = [](double v, const std::string& text) { return v > 0 ? text : std::string("–"); };
            const Row rows[] = {
                {Icon::Street, "Längster Lauf", orDash(pb.longestRunKm, FormatDistance(pb.longestRunKm) + " km"),
                 Theme::Accent},
                {Icon::Lightning, "Schnellste Pace", orDash(pb.fastestPace, FormatPace(pb.fastestPace) + " /km"),
                 Theme::Warn},
                {Icon::Flag, "Beste 5 km", orDash(pb.best5kSec, FormatDuration(pb.best5kSec)), Theme::Good},
                {Icon::Recent, "Längste Einheit", orDash(pb.longestSec, FormatDurationShort(pb.longestSec)),
                 Theme::Info},
                {Icon::Calories, "Meiste Kalorien", orDash(pb.mostCalories, FormatNumber(pb.mostCalories, 0) + " kcal"),
                 Theme::Bad},
                {Icon::Calories, "Längste Serie", orDash(longest, FormatString("%d Tage", longest)), Hex(0xB388FF)},
            };
            ImDrawList* dl = ImGui::GetWindowDrawList();
            const float cw = ImGui::GetContentRegionAvail().x;
            const ImVec2 origin = ImGui::GetCursorScreenPos();
            const float rowH = 40 * s;
            for (int i = 0; i < 6; ++i) {
                const Row& r = rows[i];
                const float y = origin.y + i * rowH;
                const ImVec2 sq(origin.x, y + (rowH - 30 * s) * 0.5f);
                dl->AddRectFilled(sq, ImVec2(sq.x + 30 * s, sq.y + 30 * s), UiColor(WithAlpha(r.colour, 0.15f)), 8 * s);
                DrawCentredText(dl, nullptr, 0, ImVec2(sq.x + 15 * s, sq.y + 15 * s), r.icon, UiColor(r.colour));
                const float lh = ImGui::GetFontSize();
                TextAt(dl, nullptr, ImVec2(origin.x + 40 * s, y + (rowH - lh) * 0.5f), Theme::TextMuted, r.label);
                const ImVec2 vs = TextSize(FontSemibold, r.value.c_str());
                TextAt(dl, FontSemibold, ImVec2(origin.x + cw - vs.x, y + (rowH - vs.y) * 0.5f), IM_COL32_WHITE,
                       r.value.c_str());
            }
            ImGui::Dummy(ImVec2(cw, 6 * rowH));
        }
        EndCard();
    }

    // 5. Training calendar and year goal.
    VSpace(6);
    BeginCard("##heat", ImVec2(avail, 0), true);
    {
        SectionHeader(Icon::Calendar, "Trainingskalender", "Die letzten 6 Monate – je dunkler, desto mehr Kilometer");
        const TrainingCalendar cal = BuildTrainingCalendar(daily, today);
        const float cw = ImGui::GetContentRegionAvail().x;
        const float cell = std::max(6 * s, std::min(22 * s, (cw - 260 * s - 30 * s - 28 * s) / kCalendarWeeks));
        const ImVec2 origin = ImGui::GetCursorScreenPos();
        const ImVec2 grid(origin.x + 28 * s, origin.y + 18 * s);
        ImDrawList* dl = ImGui::GetWindowDrawList();
        ImFont* small = FontOr(FontSmall);

        static const char* const kRowLabels[7] = {"Mo", nullptr, "Mi", nullptr, "Fr", nullptr, "So"};
        for (int row = 0; row < 7; ++row) {
            if (!kRowLabels[row]) continue;
            const float y = grid.y + row * cell + (cell - 3 * s - small->FontSize) * 0.5f;
            TextAt(dl, small, ImVec2(origin.x, y), Theme::TextDim, kRowLabels[row]);
        }
        for (const CalendarMonthLabel& m : cal.months)
            TextAt(dl, small, ImVec2(grid.x + m.column * cell, origin.y), Theme::TextMuted, MonthNameShort(m.month));

        const ImU32 empty = Hex(0x222634);
        const ImU32 low = WithAlpha(Theme::Accent, 0.35f);
        for (int col = 0; col < kCalendarWeeks; ++col) {
            for (int row = 0; row < 7; ++row) {
                const CalendarCell& c = cal.cells[col * 7 + row];
                const ImVec2 a(grid.x + col * cell, grid.y + row * cell);
                const ImVec2 b(a.x + cell - 3 * s, a.y + cell - 3 * s);
                if (c.future) {
                    dl->AddRect(a, b, UiColor(IM_COL32(255, 255, 255, 10)), 4 * s);
                    continue;
                }
                const ImU32 fill = c.km > 0 ? Lerp(low, Theme::Accent2, static_cast<float>(c.intensity)) : empty;
                dl->AddRectFilled(a, b, UiColor(fill), 4 * s);
                if (c.today) dl->AddRect(a, b, UiColor(IM_COL32_WHITE), 4 * s, 0, 1.5f * s);
            }
        }
        const ImVec2 gridEnd(grid.x + kCalendarWeeks * cell, grid.y + 7 * cell);
        if (ImGui::IsWindowHovered() && ImGui::IsMouseHoveringRect(grid, gridEnd)) {
            const ImVec2 m = ImGui::GetIO().MousePos;
            const int col = std::clamp(static_cast<int>((m.x - grid.x) / cell), 0, kCalendarWeeks - 1);
            const int row = std::clamp(static_cast<int>((m.y - grid.y) / cell), 0, 6);
            ImGui::SetTooltip("%s", CalendarTooltip(cal.cells[col * 7 + row]).c_str());
        }

        // Year goal to the right of the grid.
        const float px = gridEnd.x + 30 * s;
        const float py = origin.y + 10 * s;
        const CivilDate date = CivilFromDays(today);
        const std::string title = FormatString("Jahresziel %d", date.year);
        TextAt(dl, FontSemibold, ImVec2(px, py), Theme::Text, title.c_str());
        const std::string km =
            FormatNumber(week.yearKm, 0) + " / " + FormatNumber(p.yearlyGoalKm, 0) + " km";
        TextAt(dl, nullptr, ImVec2(px, py + 26 * s), Theme::TextMuted, km.c_str());
        const YearPlan plan = YearProgress(p, week.yearKm, now);
        const float barW = 260 * s;
        const ImVec2 bar(px, py + 56 * s);
        dl->AddRectFilled(bar, ImVec2(bar.x + barW, bar.y + 12 * s), UiColor(Hex(0x262B3C)), 6 * s);
        const float frac = Animate(ImGui::GetID("yeargoal"), static_cast<float>(std::min(1.0, plan.fraction)), 4);
        if (frac > 0.01f) {
            GradientRect(bar, ImVec2(bar.x + std::max(12 * s, frac * barW), bar.y + 12 * s), Theme::Accent,
                         Theme::Accent2, 6 * s, false, dl);
        }
        TextAt(dl, small, ImVec2(px, bar.y + 22 * s), plan.ahead ? Theme::Good : Theme::Warn, plan.text.c_str());
        ImGui::Dummy(ImVec2(cw, 18 * s + 7 * cell));
    }
    EndCard();
}

void App::DrawWeatherCard(const Profile& p) {
    const float s = UiScale();
    const char* where = !p.hasHome ? "Kein Standort" : !p.city.empty() ? p.city.c_str() : "Dein Standort";
    SectionHeader(Icon::Sun, "Laufwetter", where);
    if (!p.hasHome) {
        WrappedText(Theme::TextMuted,
                    "Hinterlege deine Adresse im Profil, um Wetter und die beste Laufzeit für heute zu sehen.");
        VSpace(4);
        if (SecondaryButton(Label(Icon::Location, "Adresse hinterlegen").c_str())) page = PageProfilesList;
        return;
    }
    if (!weather.ok) {
        if (weatherBusy) {
            MutedText("Lade Wetterdaten …");
            return;
        }
        WrappedText(Theme::TextMuted, "Wetter nicht verfügbar. " + weather.error);
        VSpace(4);
        if (SecondaryButton(Label(Icon::Refresh, "Erneut versuchen").c_str())) RefreshWeather(true);
        return;
    }

    ImDrawList* dl = ImGui::GetWindowDrawList();
    const ImVec2 o = ImGui::GetCursorScreenPos();
    const float cw = ImGui::GetContentRegionAvail().x;
    const int nowHour = LocalTime(WallNow()).tm_hour;
    ImFont* display = FontOr(FontDisplay);
    const float iconSize = display->FontSize * 1.2f;
    DrawCentredText(dl, display, iconSize, ImVec2(o.x + 26 * s, o.y + iconSize * 0.5f),
                    WeatherIcon(weather.weatherCode, nowHour), UiColor(Theme::Warn));
    const std::string temp = FormatString("%.0f°", weather.temperature);
    TextAt(dl, display, ImVec2(o.x + 64 * s, o.y), Theme::Text, temp.c_str());
    const float textX = std::max(o.x + 150 * s, o.x + 64 * s + TextSize(display, temp.c_str()).x + 12 * s);
    TextAt(dl, FontSemibold, ImVec2(textX, o.y + 6 * s), Theme::Text, WeatherText(weather.weatherCode));
    const std::string feel =
        FormatString("Gefühlt %.0f° · Wind %.0f km/h", weather.apparentTemperature, weather.windSpeed);
    TextAt(dl, FontSmall, ImVec2(textX, o.y + 30 * s), Theme::TextMuted, feel.c_str());
    float y = o.y + 58 * s;
    float bestH = 0;
    if (!weather.bestText.empty()) {
        // A narrow card wraps the sentence; the strip then moves down.
        const std::string best = Label(Icon::Recent, weather.bestText.c_str());
        ImFont* small = FontOr(FontSmall);
        bestH = small->CalcTextSizeA(small->FontSize, FLT_MAX, cw, best.c_str()).y;
        dl->AddText(small, small->FontSize, ImVec2(IM_ROUND(o.x), IM_ROUND(y)), UiColor(Theme::Good), best.c_str(),
                    nullptr, cw);
    }
    y += std::max(26 * s, bestH + 8 * s);

    // Hourly strip; the best hour is underlaid with the accent.
    int n = static_cast<int>(std::floor(cw / (46 * s)));
    if (n < 5) n = 4;
    n = std::min(n, static_cast<int>(weather.hours.size()));
    if (n > 0) {
        const float slotW = cw / n;
        const float slotH = 92 * s;
        for (int i = 0; i < n; ++i) {
            const HourForecast& hf = weather.hours[i];
            const float x = o.x + i * slotW;
            if (i == weather.bestIndex) {
                GradientRect(ImVec2(x + 2 * s, y + 2 * s), ImVec2(x + slotW - 2 * s, y + slotH - 2 * s),
                             WithAlpha(Theme::Accent, 0.35f), WithAlpha(Theme::Accent2, 0.35f), 10 * s, false, dl);
            }
            const float cx = x + slotW * 0.5f;
            const std::string hour = i == 0 ? std::string("Jetzt") : FormatString("%02d", hf.hour);
            DrawCentredText(dl, FontSmall, 0, ImVec2(cx, y + 14 * s), hour.c_str(), UiColor(Theme::TextMuted));
            DrawCentredText(dl, FontTitle, 0, ImVec2(cx, y + 36 * s), WeatherIcon(hf.weatherCode, hf.hour),
                            UiColor(Theme::Warn));
            const std::string t = FormatString("%.0f°", hf.temperature);
            DrawCentredText(dl, FontSemibold, 0, ImVec2(cx, y + 58 * s), t.c_str(), UiColor(Theme::Text));
            const std::string rain = FormatString("%.0f%%", hf.precipitationProbability);
            DrawCentredText(dl, FontSmall, 0, ImVec2(cx, y + 78 * s), rain.c_str(),
                            UiColor(hf.precipitationProbability > 50 ? Theme::Info : Theme::TextDim));
        }
        y += slotH;
    }
    ImGui::Dummy(ImVec2(cw, y - o.y));
}
