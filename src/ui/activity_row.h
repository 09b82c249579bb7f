// The compact, clickable line of one activity (overview and lists): sport
// badge, title, relative day and time, distance, duration, pace and calories.
#pragma once

#include "model/records.h"

// Draws the row at the cursor, width × 54 px; true when it was clicked.
bool ActivityRow(const Activity& activity, float width);
