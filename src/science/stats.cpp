#include "science/stats.h"

#include <algorithm>
#include <cmath>

#include "model/format.h"
#include "model/icons.h"
#include "science/calendar.h"

namespace {

// First activity that can lie on `day` or later (the list is sorted by start).
ActivityList::const_iterator FirstFromDay(const ActivityList& list, int64_t day) {
    const int64_t t = EarliestStartOfDay(day);
    return std::lower_bound(list.begin(), list.end(), t,
                            [](const Activity* a, int64_t v) { return a->start < v; });
}

int64_t YearStartDay(int year) { return DaysFromCivil(year, 1, 1); }

bool IsQualifiedRun(const Activity& a, double minKm) {
    return a.sport == SportRun && a.distanceKm >= minKm && a.distanceKm > 0.01 &&
           a.durationSec / a.distanceKm > 0.0;
}

}  // namespace

WeekFigures WeekSummary(const ActivityList& list, int64_t now) {
    WeekFigures w;
    const int64_t today = LocalDayNumber(now);
    const int64_t week = WeekStart(today);
    const int year = CivilFromDays(today).year;
    const int64_t yearFirst = YearStartDay(year);
    const int64_t yearEnd = YearStartDay(year + 1);
    // Only the last two weeks, this year and anything later matter.
    for (auto it = FirstFromDay(list, std::min(week - 7, yearFirst)); it != list.end(); ++it) {
        const Activity& a = **it;
        const int64_t d = LocalDayNumber(a.start);
        if (d >= week) {
            // No upper bound: a later date this week or in a future week counts now.
            ++w.count;
            w.distanceKm += a.distanceKm;
            w.calories += a.calories;
            w.durationSec += a.durationSec;
        } else if (d >= week - 7) {
            w.lastWeekKm += a.distanceKm;
        }
        if (d >= yearFirst && d < yearEnd) w.yearKm += a.distanceKm;
    }
    if (w.lastWeekKm > 0.0) {
        w.hasChange = true;
        w.changePercent = (w.distanceKm - w.lastWeekKm) / w.lastWeekKm * 100.0;
    }
    return w;
}

std::string WeekChangeText(const WeekFigures& w) {
    if (!w.hasChange) return "Vorwoche: –";
    // Round first so that a change of -0.4 % reads "+0 %" and never "-0 %".
    double shown = std::round(w.changePercent);
    if (shown == 0.0) shown = 0.0;  // drops the sign of -0
    return FormatString("%s%.0f %% ggü. Vorwoche", shown >= 0.0 ? "+" : "", shown);
}

int CurrentStreak(const ActivityList& list, int64_t now) {
    const int64_t today = LocalDayNumber(now);
    int64_t expect = 0;
    int count = 0;
    bool started = false;
    for (auto it = list.rbegin(); it != list.rend(); ++it) {
        const int64_t d = LocalDayNumber((*it)->start);
        if (!started) {
            if (d > today) continue;  // future dates are no part of the streak
            if (d < today - 1) break;
            // Today counts; without an activity today the streak from yesterday holds.
            started = true;
            expect = d;
        }
        if (d > expect) continue;  // a further activity on a day already counted
        if (d < expect) break;
        ++count;
        --expect;
    }
    return count;
}

int LongestStreak(const DailyKm& daily) {
    int best = 0;
    int run = 0;
    int64_t previous = 0;
    for (const auto& [day, km] : daily.days) {
        run = (run > 0 && day == previous + 1) ? run + 1 : 1;
        previous = day;
        best = std::max(best, run);
    }
    return best;
}

int LongestStreak(const ActivityList& list) { return LongestStreak(DailyDistance(list)); }

PersonalBests PersonalRecords(const ActivityList& list) {
    PersonalBests r;
    for (const Activity* p : list) {
        const Activity& a = *p;
        if (a.sport == SportRun) r.longestRunKm = std::max(r.longestRunKm, a.distanceKm);
        if (IsQualifiedRun(a, 3.0)) {
            const double pace = a.durationSec / a.distanceKm;
            if (r.fastestPace == 0.0 || pace < r.fastestPace) r.fastestPace = pace;
            if (a.distanceKm >= 5.0 && (r.best5kSec == 0.0 || pace * 5.0 < r.best5kSec))
                r.best5kSec = pace * 5.0;
        }
        r.longestSec = std::max(r.longestSec, a.durationSec);
        r.mostCalories = std::max(r.mostCalories, a.calories);
    }
    return r;
}

YearPlan YearProgress(const Profile& profile, double yearKm, int64_t now) {
    YearPlan y;
    const double goal = profile.yearlyGoalKm;
    const int64_t today = LocalDayNumber(now);
    const int64_t elapsed = today - YearStartDay(CivilFromDays(today).year) + 1;
    y.fraction = goal > 0.0 ? yearKm / goal : 0.0;
    y.expectedKm = static_cast<double>(elapsed) * goal / 365.0;
    y.ahead = yearKm >= y.expectedKm;
    y.differenceKm = y.ahead ? yearKm - y.expectedKm : y.expectedKm - yearKm;
    y.text = y.ahead ? std::string(Icon::Check) + " " + FormatNumber(y.differenceKm, 0) +
                           " km vor dem Plan"
                     : FormatNumber(y.differenceKm, 0) + " km hinter dem Plan";
    return y;
}

WeekGoal WeeklyGoal(const Profile& profile, double weekKm, int64_t now) {
    WeekGoal g;
    const double goal = profile.weeklyGoalKm;
    g.fraction = goal > 0.0 ? weekKm / goal : 0.0;
    g.remainingKm = goal - weekKm;
    g.daysLeft = 7 - WeekdayOfDay(LocalDayNumber(now));
    g.perDayKm = g.remainingKm / std::max(1, g.daysLeft);
    return g;
}

std::vector<WeekPoint> WeeklySeries(const ActivityList& list, int64_t now) {
    const int64_t current = WeekStart(LocalDayNumber(now));
    std::vector<WeekPoint> points(12);
    for (int i = 0; i < 12; ++i) points[i].weekStart = current - (77 - 7 * i);
    for (auto it = FirstFromDay(list, current - 77); it != list.end(); ++it) {
        const Activity& a = **it;
        const int64_t weeksBack = (current - WeekStart(LocalDayNumber(a.start))) / 7;
        if (weeksBack < 0 || weeksBack > 11) continue;  // outside the twelve weeks
        WeekPoint& p = points[11 - weeksBack];
        p.km += a.distanceKm;
        ++p.count;
    }
    for (WeekPoint& p : points) {
        const CivilDate monday = CivilFromDays(p.weekStart);
        p.label = FormatString("%d.%d.", monday.day, monday.month);
        p.tooltip = FormatString("Woche ab %s\n%s km · %d Aktivität(en)", p.label.c_str(),
                                 FormatDistance(p.km).c_str(), p.count);
    }
    return points;
}

DailyKm DailyDistance(const ActivityList& list) {
    DailyKm out;
    out.days.reserve(list.size());
    bool sorted = true;
    for (const Activity* a : list) {
        const int64_t d = LocalDayNumber(a->start);
        if (!out.days.empty() && out.days.back().first == d) {
            out.days.back().second += a->distanceKm;
            continue;
        }
        if (!out.days.empty() && d < out.days.back().first) sorted = false;
        out.days.emplace_back(d, a->distanceKm);
    }
    if (!sorted) {
        // Clocks that jump back across midnight: merge the scattered entries.
        std::stable_sort(out.days.begin(), out.days.end(),
                         [](const auto& x, const auto& y) { return x.first < y.first; });
        std::vector<std::pair<int64_t, double>> merged;
        for (const auto& e : out.days) {
            if (!merged.empty() && merged.back().first == e.first)
                merged.back().second += e.second;
            else
                merged.push_back(e);
        }
        out.days.swap(merged);
    }
    for (const auto& e : out.days) out.maxKm = std::max(out.maxKm, e.second);
    return out;
}

double KmOnDay(const DailyKm& daily, int64_t day) {
    auto it = std::lower_bound(daily.days.begin(), daily.days.end(), day,
                               [](const auto& e, int64_t v) { return e.first < v; });
    return (it != daily.days.end() && it->first == day) ? it->second : 0.0;
}

double DayIntensity(const DailyKm& daily, double km) {
    return std::min(1.0, km / std::max(1.0, daily.maxKm));
}

std::vector<PacePoint> PaceTrend(const ActivityList& list) {
    std::vector<PacePoint> points;
    for (auto it = list.rbegin(); it != list.rend() && points.size() < 20; ++it) {
        const Activity& a = **it;
        if (!IsQualifiedRun(a, 1.0)) continue;
        const double pace = a.durationSec / a.distanceKm;
        const std::tm tm = LocalTime(a.start);
        PacePoint p;
        p.start = a.start;
        p.value = pace / 60.0;
        p.label = FormatString("%d.%d.", tm.tm_mday, tm.tm_mon + 1);
        p.tooltip = FormatString("%s\n%s /km · %s km", FormatDate(a.start).c_str(),
                                 FormatPace(pace).c_str(), FormatDistance(a.distanceKm).c_str());
        points.push_back(std::move(p));
    }
    std::reverse(points.begin(), points.end());
    return points;
}

SportShares SportMix(const ActivityList& list) {
    SportShares m;
    for (const Activity* a : list) m.km[ClampSport(a->sport)] += std::max(a->distanceKm, 0.1);
    for (double km : m.km) m.totalKm += km;
    if (m.totalKm > 0.0)
        for (int s = 0; s < kSportCount; ++s) m.share[s] = m.km[s] / m.totalKm * 100.0;
    return m;
}

ActivityList ActivityFilter(const ActivityList& list, int range, int sport,
                            const std::string& search, int64_t now) {
    const int64_t today = LocalDayNumber(now);
    const int year = CivilFromDays(today).year;
    const std::string needle = AsciiLower(search);
    ActivityList out;
    for (const Activity* a : list) {
        if (sport != -1 && a->sport != sport) continue;
        if (range != RangeAll) {
            const int64_t d = LocalDayNumber(a->start);
            // Future dates pass the day ranges (today - day is negative).
            if (range == RangeSevenDays && today - d > 6) continue;
            if (range == RangeThirtyDays && today - d > 29) continue;
            if (range == RangeThisYear && CivilFromDays(d).year != year) continue;
        }
        if (!needle.empty()) {
            const std::string hay =
                AsciiLower(a->title + " " + a->notes + " " + SportName(a->sport));
            if (hay.find(needle) == std::string::npos) continue;
        }
        out.push_back(a);
    }
    return out;
}

ListSummary SummarizeActivities(const ActivityList& list) {
    ListSummary s;
    s.count = static_cast<int>(list.size());
    for (const Activity* a : list) {
        s.distanceKm += a->distanceKm;
        s.durationSec += a->durationSec;
        s.calories += a->calories;
        s.elevationGain += a->elevationGain;
    }
    if (s.distanceKm > 0.0) s.avgPace = s.durationSec / s.distanceKm;
    if (s.count > 0) s.avgCalories = s.calories / s.count;
    return s;
}
