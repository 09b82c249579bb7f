// The activity editor and detail overlays: the pure rules behind them (the
// draft of a new activity, validity, the export file name) and a small helper
// for two form fields side by side.
#pragma once

#include <cstdint>
#include <string>

#include "model/records.h"

// Short sport labels of the editor ("Laufen", "Walking", "Wandern", "Rad",
// "Schwimmen", "Sonstiges"); codes outside 0..5 give "Sonstiges".
const char* EditorSportLabel(int sport);
// 1 "Zäh" … 5 "Überragend"; anything else "–".
const char* FeelName(int feel);

// A fresh activity for the profile at `now`: started half an hour ago on the
// full minute, 30 min, 5 km, feel "Gut", the first shoe still in use. When
// routeId names a saved route, distance, climb, title and a 6:00 min/km
// duration come from it.
Activity NewActivityDraft(const Database& db, const Profile& profile, const std::string& routeId, int64_t now);
// Picking a route in the editor: distance and climb from it, the title only
// when none is typed yet.
void ApplyRouteToDraft(Activity& draft, const Route& route);
// Savable: a duration, and a distance unless swimming or "other".
bool ActivityDraftValid(const Activity& draft);
// "<title or Aktivitaet>-YYYY-MM-DD.gpx" with \ / : * ? " < > | replaced by "_".
std::string GpxExportFileName(const Activity& activity);

// Two form fields side by side with `gap` between them; inside each half the
// fields take that half's width. Call FieldPairNext between the halves.
void BeginFieldPair(const char* id, float gap);
void FieldPairNext();
void EndFieldPair();
// Clips drawing to the current card's whole rectangle (its padding included),
// but never beyond what its parent shows. Pop with ImDrawList::PopClipRect.
void PushCardClip();

// One field column of the given width at the cursor (a value field with its unit).
void BeginFieldColumn(float width);
void EndFieldColumn();
