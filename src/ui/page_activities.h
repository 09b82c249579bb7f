// The activities page's list logic: source labels and the table's sort order.
#pragma once

#include <string>

#include "science/stats.h"

// "Strava", "GPX", "TCX", "Stoppuhr", or "Manuell" for anything else.
const char* SourceLabel(const std::string& source);

// Columns of the table "##acts" (the sortable ones carry a key).
enum ActivityColumn : int {
    ColumnDate = 0,
    ColumnTitle = 1,
    ColumnDistance = 2,
    ColumnDuration = 3,
    ColumnPace = 4,
    ColumnCalories = 5,
    ColumnHeartRate = 6,
    ColumnSource = 7,
    ColumnActions = 8,
};

// Orders the list by a column's key, stable (ties keep their order). Columns
// without a key leave the list as it is.
void SortActivities(ActivityList& list, int column, bool descending);
