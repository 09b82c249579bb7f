// The settings page's logic without drawing.
#pragma once

#include <cstdint>
#include <string>

#include "model/records.h"

// Sets the reminder time (hour 0..23, minute 0..59, clamped). A different time
// clears lastReminderDate, so the new time can still remind today. True when
// the time changed.
bool SetReminderTime(Settings& settings, int hour, int minute);

// "Nächste Erinnerung: heute um 18:00 Uhr. Stridely muss dafür laufen (auch
// minimiert im Infobereich)." — "heute" while today is a reminder day that has
// not been handled yet, else "an einem der nächsten aktiven Tage".
std::string NextReminderText(const Settings& settings, int64_t now);
