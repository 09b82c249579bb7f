// Local calendar days for the statistics: the same day numbers as DayNumber,
// but cheap enough to be taken for every activity on every frame.
#pragma once

#include <cstdint>

// Day number (days since 1970-01-01) of the local calendar date of t. Equal to
// DayNumber(t); the local UTC offset is cached per thread between daylight-saving
// changes, so a call costs a table look-up instead of a time-zone conversion.
int64_t LocalDayNumber(int64_t t);

// Weekday of a day number, Monday = 0 ... Sunday = 6.
int WeekdayOfDay(int64_t day);

// Monday of the week that holds the day; weeks run Monday to Sunday.
int64_t WeekStart(int64_t day);

// A start time no local date from `day` on can lie before (UTC offsets stay well
// within a day). Lets sorted lists skip ahead with a binary search on start.
int64_t EarliestStartOfDay(int64_t day);
// A start time every activity on `day` or before lies before.
int64_t LatestStartOfDay(int64_t day);
