// The motivation texts: a title and a body for the reminder notification and a
// longer speech for the motivation dialog, composed from the profile's figures.
#pragma once

#include <cstdint>
#include <string>

#include "model/records.h"

struct MotivationInput {
    std::string name;
    double weekGoalKm = 0.0;   // 0 = no goal
    double weekKm = 0.0;       // from this week's Monday on
    double totalKm = 0.0;
    int activityCount = 0;
    int streakDays = 0;
    int daysSinceLast = -1;    // -1: nothing done yet
    int hour = 18;             // local hour now
};

struct MotivationTexts {
    std::string title;
    std::string body;
    std::string speech;
};

// The fixed texts in one table: long paragraphs, closing lines, sayings of the
// day and cheers.
constexpr int kParagraphFirst = 0;
constexpr int kParagraphCount = 12;
constexpr int kClosingFirst = 12;
constexpr int kClosingCount = 6;
constexpr int kSayingFirst = 18;
constexpr int kSayingCount = 24;
constexpr int kCheerFirst = 42;
constexpr int kCheerCount = 8;
constexpr int kMotivationTextCount = 50;
// Entry of the table; indices outside it give "".
const char* MotivationText(int index);

// Figures of the profile at `now`; a null profile gives the defaults.
MotivationInput GatherMotivationInput(const Database& db, const Profile* profile, int64_t now);

// paragraph 0..11 and closing 0..5 pick the long paragraph and the closing line.
MotivationTexts ComposeMotivation(const MotivationInput& in, int64_t now, int paragraph,
                                  int closing);
// Picks paragraph and closing line at random and reads the clock.
MotivationTexts ComposeMotivation(const MotivationInput& in);

// The same saying all day; the sequence repeats every 24 days.
const char* SayingOfTheDay(int64_t now);
const char* SayingOfTheDay();
const char* RandomCheer();

// Uniform choice below n from the process-wide generator (0 for n <= 1).
int RandomBelow(int n);

// Name up to its first space (the whole name when it has none).
std::string FirstName(const std::string& name);
// Greeting of the overview page by local hour: "Gute Nacht" before 5,
// "Guten Morgen" before 11, "Hallo" before 17, else "Guten Abend".
const char* DayGreeting(int hour);
