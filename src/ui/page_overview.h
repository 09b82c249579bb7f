// What the overview page shows, worked out without drawing: the greeting, the
// weekly-goal sentence, the recent-activities card and the training calendar.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "science/stats.h"

// "Guten Abend, Anna": the greeting of the local hour and the first name.
std::string OverviewGreeting(const std::string& name, int hour);

// Under the goal ring: "Noch 5,00 km in 1 Tag – also ca. 5,00 km pro Tag.", or
// empty when the goal is reached (the page then shows the goal-reached line).
std::string WeekGoalText(const WeekGoal& goal);

// The newest five activities, newest first, and whether the card offers the
// button to the whole list (from six activities on).
struct RecentCard {
    std::vector<const Activity*> rows;
    bool showAll = false;
};
RecentCard RecentActivities(const ActivityList& list);

// The training calendar: 26 week columns of 7 days (Monday on top), the first
// column starting 25 weeks before the current week's Monday.
constexpr int kCalendarWeeks = 26;
struct CalendarCell {
    int64_t day = 0;        // day number
    double km = 0.0;
    double intensity = 0.0; // 0..1, shading of the cell
    bool future = false;    // after today: outline only
    bool today = false;
};
struct CalendarMonthLabel {
    int column = 0;
    int month = 1;  // 1..12, of the column's Monday
};
struct TrainingCalendar {
    int64_t firstDay = 0;              // Monday of column 0
    std::vector<CalendarCell> cells;   // column-major: cells[column * 7 + weekday]
    std::vector<CalendarMonthLabel> months;
};
TrainingCalendar BuildTrainingCalendar(const DailyKm& daily, int64_t today);
// "Montag, 03.03.2025\n12,40 km" or "...\nKein Training".
std::string CalendarTooltip(const CalendarCell& cell);

// Columns of the newest-badges grid: the card width over 74 px, at least 2 (a
// width for fewer than 3 columns gives 2).
int TrophyColumns(float cardWidth, float cellWidth);
