// Profiles page, the shared profile form and the onboarding dialog: the page's
// state kept by the App, and the rules behind the buttons.
#pragma once

#include <cstdint>
#include <string>

#include "model/records.h"

struct ProfilesPageState {
    std::string editedId;  // the profile shown in the editor card
    Profile draft;         // its working copy; "Speichern" copies it back
    bool onboardingAutostart = true;
    double newWeight = 0.0;  // 0 until first shown, then the profile's weight
    std::string newShoe;
};

// The shared form of the profile editor and the onboarding dialog. Returns true
// when "Adresse auf der Karte finden" was clicked.
bool ProfileForm(Profile& draft, bool showGoals);

// The defaults of a new profile with the given avatar colour.
Profile NewProfileDraft(int colour);
// Leading and trailing spaces removed.
std::string TrimSpaces(const std::string& text);
// Month into 1..12 and the day into the days of that month.
void ClampBirthDate(Profile& p);
// The profile as the data file writes it; drafts are compared by this form.
std::string ProfileFileForm(const Profile& p);
// "Speichern" is possible: something changed and the trimmed name is not empty.
bool ProfileDraftSavable(const Profile& draft, const Profile& stored);
// Saving the editor: a weight change of more than 0.01 kg adds a weight entry,
// the name is trimmed, and the draft replaces the stored profile.
void ApplyProfileDraft(Profile& draft, Profile& stored, int64_t now);
// "Gewicht eintragen": the value clamped to 25..300 kg becomes the weight and a
// new entry of the log. Returns the stored value.
double AddWeightEntry(Profile& p, double kg, int64_t now);

// Wear of a shoe: used / max(limit, 1); from 0.8 "bald austauschen", from 1
// "austauschen!".
enum class ShoeWear { Fine, Soon, Replace };
double ShoeRatio(double usedKm, double limitKm);
ShoeWear ShoeWearOf(double ratio);
