#include "science/awards.h"

#include <algorithm>
#include <ctime>
#include <unordered_map>

#include "model/format.h"
#include "model/icons.h"
#include "science/calendar.h"

namespace {

struct CatalogIndex {
    std::vector<AwardDef> defs;
    std::unordered_map<std::string_view, int> byKey;
};

const CatalogIndex& Catalog() {
    // Built once on first use (thread-safe static initialisation).
    static const CatalogIndex index = [] {
        CatalogIndex c;
        c.defs = {
            {"medal", "Aktivitätsmedaille",
             "Für jede eingetragene Aktivität – Stufe je nach verbrannten Kalorien.",
             Icon::Run, 0, true, 0xFF7A18, 0, 0},
            {"first", "Erster Schritt",
             "Deine allererste Aktivität eingetragen.",
             "1", 0, false, 0x3A86FF, 0, 0},
            {"run5k", "5K-Finisher",
             "Einen Lauf über mindestens 5 km absolviert.",
             "5K", 1, false, 0xFF7A18, 0, 0},
            {"run10k", "10K-Held",
             "Einen Lauf über mindestens 10 km absolviert.",
             "10K", 2, false, 0xEC2678, 0, 0},
            {"half", "Halbmarathon",
             "21,1 km am Stück gelaufen.",
             "HM", 3, false, 0x7C3AED, 0, 0},
            {"marathon", "Marathon-Legende",
             "42,195 km – die Königsdisziplin!",
             "42", 4, false, 0xFFD166, 0, 0},
            {"km50", "50-km-Club",
             "Insgesamt 50 km zurückgelegt.",
             "50", 0, false, 0x2EC4B6, 50, 1},
            {"km100", "100-km-Club",
             "Insgesamt 100 km zurückgelegt.",
             "100", 1, false, 0x2EC4B6, 100, 1},
            {"km250", "250-km-Club",
             "Insgesamt 250 km zurückgelegt.",
             "250", 2, false, 0x2EC4B6, 250, 1},
            {"km500", "500-km-Club",
             "Insgesamt 500 km zurückgelegt.",
             "500", 3, false, 0x2EC4B6, 500, 1},
            {"km1000", "Tausender",
             "Insgesamt 1.000 km zurückgelegt – unglaublich!",
             "1K", 4, false, 0x2EC4B6, 1000, 1},
            {"streak3", "Serienstarter",
             "3 Tage in Folge aktiv.",
             Icon::Calories, 0, false, 0xEF476F, 3, 3},
            {"streak7", "Wochenserie",
             "7 Tage in Folge aktiv.",
             Icon::Calories, 1, false, 0xEF476F, 7, 3},
            {"streak14", "Unaufhaltsam",
             "14 Tage in Folge aktiv.",
             Icon::Calories, 2, false, 0xEF476F, 14, 3},
            {"streak30", "Eiserner Wille",
             "30 Tage in Folge aktiv.",
             Icon::Calories, 4, false, 0xEF476F, 30, 3},
            {"count10", "Dranbleiber",
             "10 Aktivitäten eingetragen.",
             "10", 0, false, 0x8AC926, 10, 2},
            {"count25", "Gewohnheitstier",
             "25 Aktivitäten eingetragen.",
             "25", 1, false, 0x8AC926, 25, 2},
            {"count50", "Routinier",
             "50 Aktivitäten eingetragen.",
             "50", 2, false, 0x8AC926, 50, 2},
            {"count100", "Hundert!",
             "100 Aktivitäten eingetragen.",
             "100", 3, false, 0x8AC926, 100, 2},
            {"early", "Frühaufsteher",
             "Vor 7 Uhr morgens gestartet.",
             Icon::Sun, 1, false, 0xFFB703, 0, 0},
            {"night", "Nachteule",
             "Nach 21 Uhr noch unterwegs gewesen.",
             Icon::Moon, 1, false, 0x3A5BFF, 0, 0},
            {"weekend", "Wochenend-Krieger",
             "Am Wochenende aktiv gewesen.",
             Icon::Calendar, 0, false, 0x00B4D8, 0, 0},
            {"pace5", "Tempomacher",
             "Mind. 3 km mit einer Pace unter 5:00 min/km gelaufen.",
             Icon::Lightning, 2, false, 0xFFB703, 0, 0},
            {"pace4", "Blitz",
             "Mind. 3 km mit einer Pace unter 4:00 min/km gelaufen.",
             Icon::Lightning, 4, false, 0xFFD166, 0, 0},
            {"hour", "Stundenläufer",
             "60 Minuten oder länger am Stück aktiv.",
             Icon::Recent, 1, false, 0xB388FF, 0, 0},
            {"twohours", "Ausdauer-Ass",
             "120 Minuten oder länger am Stück aktiv.",
             Icon::Stopwatch, 2, false, 0xB388FF, 0, 0},
            {"kcal500", "Kalorienkiller",
             "500 kcal in einer Einheit verbrannt.",
             Icon::Calories, 1, false, 0xFF7A18, 0, 0},
            {"kcal1000", "Verbrennungsofen",
             "1.000 kcal in einer Einheit verbrannt.",
             Icon::Calories, 3, false, 0xFF7A18, 0, 0},
            {"climb", "Bergziege",
             "200 Höhenmeter in einer Einheit bezwungen.",
             "▲", 2, false, 0x8AC926, 0, 0},
            {"explorer", "Entdecker",
             "Eine Aktivität mit Route oder GPS-Track.",
             Icon::MapPin, 0, false, 0x14B8A6, 0, 0},
            {"allrounder", "Allrounder",
             "Drei verschiedene Sportarten ausgeübt.",
             Icon::Puzzle, 1, false, 0xC084FC, 0, 0},
            {"comeback", "Comeback",
             "Nach mindestens 14 Tagen Pause wieder aktiv.",
             Icon::Refresh, 1, false, 0x3A86FF, 0, 0},
            {"birthday", "Geburtstagslauf",
             "An deinem Geburtstag aktiv gewesen.",
             Icon::StarFill, 2, false, 0xEC2678, 0, 0},
            {"newyear", "Neujahrsläufer",
             "Am 1. Januar aktiv gewesen.",
             "01", 2, false, 0xFFD166, 0, 0},
            {"synced", "Synchronisiert",
             "Erste Aktivität importiert (GPX/TCX/Strava).",
             Icon::Sync, 0, false, 0x3A86FF, 0, 0},
            {"stopwatch", "Auf die Sekunde",
             "Eine Aktivität mit der Stoppuhr aufgezeichnet.",
             Icon::Stopwatch, 0, false, 0x00B4D8, 0, 0},
            {"goal_week", "Wochenziel erreicht",
             "Dein Wochenziel in Kilometern geschafft.",
             Icon::Flag, 2, true, 0x2EC4B6, 0, 0},
            {"pb_distance", "Neuer Distanzrekord",
             "Dein bisher längster Lauf!",
             Icon::Street, 3, true, 0xEC2678, 0, 0},
            {"pb_pace", "Neuer Temporekord",
             "Deine schnellste Pace über mind. 3 km!",
             Icon::Lightning, 3, true, 0xFF7A18, 0, 0},
        };
        for (int i = 0; i < static_cast<int>(c.defs.size()); ++i) c.byKey[c.defs[i].key] = i;
        return c;
    }();
    return index;
}

constexpr int kMedalIndex = 0;  // "medal" leads the catalog

int CatalogIndexOf(std::string_view key) {
    const auto& byKey = Catalog().byKey;
    auto it = byKey.find(key);
    return it == byKey.end() ? -1 : it->second;
}

const char* const kMedalNames[kSportCount] = {"Laufmedaille",    "Walking-Medaille",
                                              "Wandermedaille",  "Radmedaille",
                                              "Schwimmmedaille", "Sportmedaille"};
const char* const kMedalPrefixes[kSportCount] = {"Lauf", "Walking", "Wander",
                                                 "Rad",  "Schwimm", "Sport"};

int MedalTier(double calories) {
    if (calories < 200.0) return 0;
    if (calories < 400.0) return 1;
    if (calories < 700.0) return 2;
    if (calories < 1000.0) return 3;
    return 4;
}

void LoadHeld(AwardContext& ctx) {
    ctx.held.fill(false);
    for (const Award& a : ctx.db.awards) {
        // Medals are most of the list: once one of the profile's is seen, the rest
        // need neither the profile comparison nor the hash look-up.
        const bool medal = a.key == "medal";
        if (medal && ctx.held[kMedalIndex]) continue;
        if (a.profileId != ctx.profile.id) continue;
        const int i = medal ? kMedalIndex : CatalogIndexOf(a.key);
        if (i >= 0) ctx.held[i] = true;
    }
    ctx.heldKnown = true;
}

}  // namespace

const std::vector<AwardDef>& AwardCatalog() { return Catalog().defs; }

const AwardDef* FindAwardDef(std::string_view key) {
    const int i = CatalogIndexOf(key);
    return i < 0 ? nullptr : &Catalog().defs[i];
}

const char* TierName(int tier) {
    static const char* const names[] = {"Bronze", "Silber", "Gold", "Platin", "Diamant"};
    return names[std::clamp(tier, 0, 4)];
}

const char* MedalName(int sport) { return kMedalNames[ClampSport(sport)]; }

const char* AwardIcon(const Award& award) {
    if (award.key == "medal") {
        for (int s = 0; s < kSportCount; ++s)
            if (award.name.starts_with(kMedalPrefixes[s])) return SportIcon(s);
    }
    const AwardDef* def = FindAwardDef(award.key);
    return def ? def->icon : Icon::StarFill;
}

unsigned AwardColor(const Award& award) {
    const AwardDef* def = FindAwardDef(award.key);
    return def ? def->color : 0xFF7A18;
}

void GrantAward(AwardContext& ctx, const std::string& key, const std::string& name, int tier) {
    const int index = CatalogIndexOf(key);
    if (index < 0) return;
    const AwardDef& def = Catalog().defs[index];
    Award a;
    a.id = NewId();
    a.profileId = ctx.profile.id;
    a.key = key;
    a.activityId = ctx.activity.id;
    a.name = name.empty() ? def.name : name;
    a.tier = tier < 0 ? def.tier : tier;
    a.at = ctx.now;
    ctx.db.awards.push_back(a);
    ctx.granted.push_back(std::move(a));
    if (ctx.heldKnown) ctx.held[index] = true;
}

void GrantAwardOnce(AwardContext& ctx, const std::string& key, bool condition) {
    if (!condition) return;
    const int index = CatalogIndexOf(key);
    if (index < 0) return;
    // One pass over the stored awards per evaluation instead of one per candidate.
    if (!ctx.heldKnown) LoadHeld(ctx);
    if (ctx.held[index]) return;
    GrantAward(ctx, key, "", -1);
}

namespace {

// Everything the rules read from the profile's activities, gathered in one pass
// over the stored list. None of it depends on the order of ProfileActivities, so
// the evaluation needs no sort (it runs inside every save and import step).
struct ProfileFigures {
    int count = 0;          // activities of the profile, the new one included
    int sameSport = 0;      // of them with the new one's sport
    double totalKm = 0.0;
    int streak = 0;         // consecutive active days ending on the new one's day, up to 30
    int sportKinds = 0;     // distinct sport codes, counted up to 3
    const Activity* previous = nullptr;  // latest activity that started earlier
    double weekKm = 0.0;    // the Monday-to-Sunday week of the new one
    int earlierRuns = 0;    // runs other than the new one
    double longestRunKm = 0.0;
    int pacedRuns = 0;      // of them with 3 km or more and a positive pace
    double bestPace = 1e9;
};

constexpr int kStreakWindow = 30;  // the longest streak badge

ProfileFigures GatherFigures(const Database& db, const Profile& profile, const Activity& A,
                             int64_t dayA) {
    ProfileFigures f;
    const int64_t monday = WeekStart(dayA);
    std::array<bool, kStreakWindow> active{};  // index = days before dayA
    std::array<int, 3> kinds{};
    // Only activities that start in this range can lie on the days that matter.
    const int64_t dayFrom = std::min(dayA - (kStreakWindow - 1), monday);
    const int64_t dayTo = std::max(dayA, monday + 6);
    const int64_t lo = EarliestStartOfDay(dayFrom);
    const int64_t hi = LatestStartOfDay(dayTo);
    for (const Activity& a : db.activities) {
        if (a.profileId != profile.id) continue;
        ++f.count;
        f.totalKm += a.distanceKm;
        if (a.sport == A.sport) ++f.sameSport;
        if (f.sportKinds < 3 &&
            std::find(kinds.begin(), kinds.begin() + f.sportKinds, a.sport) ==
                kinds.begin() + f.sportKinds)
            kinds[f.sportKinds++] = a.sport;
        if (a.start >= lo && a.start < hi) {
            const int64_t d = LocalDayNumber(a.start);
            if (d <= dayA && d > dayA - kStreakWindow) active[dayA - d] = true;
            if (d >= monday && d < monday + 7) f.weekKm += a.distanceKm;
        }
        // Equal starts: the later stored one is the later one in start order.
        if (a.start < A.start && a.id != A.id && (!f.previous || a.start >= f.previous->start))
            f.previous = &a;
        if (a.sport == SportRun && a.id != A.id) {
            if (f.earlierRuns == 0 || a.distanceKm > f.longestRunKm) f.longestRunKm = a.distanceKm;
            ++f.earlierRuns;
            if (a.distanceKm >= 3.0 && a.distanceKm > 0.01) {
                const double pace = a.durationSec / a.distanceKm;
                if (pace > 0.0) {
                    ++f.pacedRuns;
                    f.bestPace = std::min(f.bestPace, pace);
                }
            }
        }
    }
    while (f.streak < kStreakWindow && active[f.streak]) ++f.streak;
    return f;
}

}  // namespace

std::vector<Award> EvaluateAwards(Database& db, const Profile& profile, const Activity& activity,
                                  int64_t now) {
    std::vector<Award> granted;
    AwardContext ctx{db, profile, activity, granted, now};
    const Activity& A = activity;
    const int64_t dayA = LocalDayNumber(A.start);
    const ProfileFigures f = GatherFigures(db, profile, A, dayA);

    // Medal, numbered per sport, tier by calories.
    GrantAward(ctx, "medal", FormatString("%s #%d", MedalName(A.sport), f.sameSport),
               MedalTier(A.calories));

    const bool running = A.sport == SportRun;
    const double d = A.distanceKm;
    const double t = A.durationSec;
    const double v = d > 0.01 ? t / d : 0.0;
    const std::tm local = LocalTime(A.start);
    const int hour = local.tm_hour;
    const int weekday = WeekdayIndex(local);

    GrantAwardOnce(ctx, "first", true);
    GrantAwardOnce(ctx, "run5k", running && d >= 5.0);
    GrantAwardOnce(ctx, "run10k", running && d >= 10.0);
    GrantAwardOnce(ctx, "half", running && d >= 21.0975);
    GrantAwardOnce(ctx, "marathon", running && d >= 42.195);
    GrantAwardOnce(ctx, "km50", f.totalKm >= 50.0);
    GrantAwardOnce(ctx, "km100", f.totalKm >= 100.0);
    GrantAwardOnce(ctx, "km250", f.totalKm >= 250.0);
    GrantAwardOnce(ctx, "km500", f.totalKm >= 500.0);
    GrantAwardOnce(ctx, "km1000", f.totalKm >= 1000.0);
    GrantAwardOnce(ctx, "streak3", f.streak >= 3);
    GrantAwardOnce(ctx, "streak7", f.streak >= 7);
    GrantAwardOnce(ctx, "streak14", f.streak >= 14);
    GrantAwardOnce(ctx, "streak30", f.streak >= 30);
    GrantAwardOnce(ctx, "count10", f.count >= 10);
    GrantAwardOnce(ctx, "count25", f.count >= 25);
    GrantAwardOnce(ctx, "count50", f.count >= 50);
    GrantAwardOnce(ctx, "count100", f.count >= 100);
    GrantAwardOnce(ctx, "early", hour >= 3 && hour <= 6);
    GrantAwardOnce(ctx, "night", hour >= 21 || hour <= 2);
    GrantAwardOnce(ctx, "weekend", weekday >= 5);
    GrantAwardOnce(ctx, "pace5", running && d >= 3.0 && v > 0.0 && v < 300.0);
    GrantAwardOnce(ctx, "pace4", running && d >= 3.0 && v > 0.0 && v < 240.0);
    GrantAwardOnce(ctx, "hour", t >= 3600.0);
    GrantAwardOnce(ctx, "twohours", t >= 7200.0);
    GrantAwardOnce(ctx, "kcal500", A.calories >= 500.0);
    GrantAwardOnce(ctx, "kcal1000", A.calories >= 1000.0);
    GrantAwardOnce(ctx, "climb", A.elevationGain >= 200.0);
    GrantAwardOnce(ctx, "explorer", !A.routeId.empty() || A.track.size() >= 2);
    GrantAwardOnce(ctx, "allrounder", f.sportKinds >= 3);
    GrantAwardOnce(ctx, "birthday",
                   local.tm_mon + 1 == profile.birthMonth && local.tm_mday == profile.birthDay);
    GrantAwardOnce(ctx, "newyear", local.tm_mon == 0 && local.tm_mday == 1);
    GrantAwardOnce(ctx, "synced", A.source == "gpx" || A.source == "tcx" || A.source == "strava");
    GrantAwardOnce(ctx, "stopwatch", A.source == "stopwatch");
    GrantAwardOnce(ctx, "comeback",
                   f.previous && dayA - LocalDayNumber(f.previous->start) >= 14);

    // Weekly goal: granted by the activity that crosses it, once per crossing.
    const double goal = profile.weeklyGoalKm;
    if (goal > 0.0 && f.weekKm >= goal && goal > f.weekKm - d) GrantAward(ctx, "goal_week", "", -1);

    // Personal bests against the profile's other runs.
    if (running) {
        if (f.earlierRuns >= 1 && d >= 3.0 && d > f.longestRunKm + 0.01)
            GrantAward(ctx, "pb_distance", "", -1);
        if (f.pacedRuns >= 1 && d >= 3.0 && v > 0.0 && v < f.bestPace - 0.5)
            GrantAward(ctx, "pb_pace", "", -1);
    }
    return granted;
}

std::vector<Award> EvaluateAwards(Database& db, const Profile& profile, const Activity& activity) {
    return EvaluateAwards(db, profile, activity, static_cast<int64_t>(std::time(nullptr)));
}
