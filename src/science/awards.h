// Award catalog and the evaluation that grants medals and milestone badges when
// an activity enters the database.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/records.h"

enum ProgressKind : int {
    ProgressNone = 0,
    ProgressDistance = 1,  // total distance of the profile in km
    ProgressCount = 2,     // number of the profile's activities
    ProgressStreak = 3,    // the profile's longest streak in days
};

struct AwardDef {
    std::string key;
    std::string name;
    std::string description;
    const char* icon = "";  // icon glyph, symbol or short label drawn in the medallion
    int tier = 0;
    bool repeatable = false;
    unsigned color = 0;     // 0xRRGGBB
    double target = 0.0;    // goal shown as progress; 0 when none
    int progress = ProgressNone;
};

constexpr int kAwardCount = 39;

// The definitions in trophies-page order; built once, lives for the process.
const std::vector<AwardDef>& AwardCatalog();
const AwardDef* FindAwardDef(std::string_view key);
// 0 "Bronze" ... 4 "Diamant"; out-of-range tiers are clamped.
const char* TierName(int tier);
// Medal name by sport ("Laufmedaille" ...); codes outside 0..5 are clamped.
const char* MedalName(int sport);
const char* AwardIcon(const Award& award);
unsigned AwardColor(const Award& award);

// Everything one evaluation needs to grant awards.
struct AwardContext {
    Database& db;
    const Profile& profile;
    const Activity& activity;
    std::vector<Award>& granted;  // in granting order
    int64_t now = 0;              // stored as the award's time
    // Catalog keys the profile already holds; filled on first use from db.awards.
    bool heldKnown = false;
    std::array<bool, kAwardCount> held{};
};

// Appends a new award to the database and to ctx.granted; an unknown key grants
// nothing. An empty name takes the catalog name, a negative tier the catalog tier.
void GrantAward(AwardContext& ctx, const std::string& key, const std::string& name, int tier);
// Grants the award when the condition holds and the profile has none with this key.
void GrantAwardOnce(AwardContext& ctx, const std::string& key, bool condition);

// The medal and every badge the stored activity earns, in granting order; the
// awards are already appended to db.awards. The activity must be in the database
// with its final calories; the caller saves.
std::vector<Award> EvaluateAwards(Database& db, const Profile& profile, const Activity& activity,
                                  int64_t now);
std::vector<Award> EvaluateAwards(Database& db, const Profile& profile, const Activity& activity);
