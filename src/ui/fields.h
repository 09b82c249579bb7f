// Compact editors for dates, times of day, durations and numbers. Each returns true
// when the user changed the value. Times are epoch seconds shown in local time.
#pragma once

#include <cstdint>
#include <string>

// Button with the date; opens a month calendar ("##cal"). Keeps the time of day.
bool DateField(const char* id, int64_t* time);
// Hour and minute drag fields; keeps the date, seconds become 0.
bool TimeOfDayField(const char* id, int64_t* time);
// Hours (0..99), minutes and seconds drag fields.
bool DurationField(const char* id, double* seconds);
// Number input with step buttons (fast step 10 × step), clamped to [min, max]; the unit
// (may be null) follows in the muted colour. format is a printf format for the value.
bool NumberField(const char* label, double* value, double step, double min, double max, const char* format,
                 const char* unit);
bool IntField(const char* label, int* value, int min, int max, const char* unit);

// ---- The arithmetic behind the fields (no drawing) ----

// The same local date with hour and minute (each clamped to its range) and second 0.
int64_t WithTimeOfDay(int64_t time, int hour, int minute);
// Another local date (day clamped to the month) at the same local time of day.
int64_t WithDate(int64_t time, int year, int month, int day);
// Seconds from hours 0..99, minutes 0..59 and seconds 0..59, each clamped first.
double ComposeDuration(int hours, int minutes, int seconds);
// Whole hours, minutes and seconds of a duration (negative or not finite counts as 0).
void SplitDuration(double seconds, int* hours, int* minutes, int* secs);
// Reads a number as a German user types it: decimal comma or point, full stops between
// thousands when a comma is present ("1.234,5"), surrounding spaces ignored. False for
// anything else (the field then keeps its value).
bool ParseDecimal(const char* text, double* out);
// printf-formats a value for a number field and turns the decimal point into a comma.
std::string FormatDecimal(double value, const char* format);
// value clamped to [min, max]; a value that is not a number gives fallback.
double ClampFieldValue(double value, double min, double max, double fallback);
// Month arithmetic for the calendar popup: moves by delta months, wrapping the year.
void StepMonth(int* year, int* month, int delta);
// Weekday of the first day of a month, Monday = 0 (empty cells before day 1).
int FirstWeekdayOfMonth(int year, int month);
