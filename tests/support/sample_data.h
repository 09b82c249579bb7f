// A realistic installation for page tests, benchmarks and screenshots: a runner
// with a weight log, shoes, a home address and a history of varied activities
// (with tracks, calories and the awards they earned), plus a second profile.
// Deterministic for a given seed; only the ids are random.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "model/format.h"
#include "model/records.h"
#include "science/awards.h"
#include "science/calories.h"

namespace sample {

namespace detail {

inline const char* Pick(std::mt19937& rng, std::initializer_list<const char*> items) {
    std::uniform_int_distribution<size_t> d(0, items.size() - 1);
    return *(items.begin() + d(rng));
}

// A closed loop of about `km` around a centre, wobbly like a real street route.
inline std::vector<LatLon> LoopTrack(std::mt19937& rng, LatLon centre, double km, int points) {
    std::uniform_real_distribution<double> u(0.0, 1.0);
    const double radiusKm = std::max(0.2, km / (2 * M_PI));
    const double phase = u(rng) * 2 * M_PI;
    const double offsetLat = (u(rng) - 0.5) * 0.02, offsetLon = (u(rng) - 0.5) * 0.03;
    std::vector<LatLon> track;
    track.reserve(points);
    for (int i = 0; i < points; ++i) {
        const double a = phase + 2 * M_PI * i / (points - 1);
        const double wobble = 1.0 + 0.12 * std::sin(3 * a) + 0.05 * (u(rng) - 0.5);
        const double dLat = radiusKm * wobble * std::sin(a) / 111.2;
        const double dLon = radiusKm * wobble * std::cos(a) / (111.2 * std::cos(centre.lat * M_PI / 180));
        track.push_back({centre.lat + offsetLat + dLat, centre.lon + offsetLon + dLon});
    }
    return track;
}

struct SportPlan {
    int sport;
    double share;  // of all activities
};

}  // namespace detail

// `activities` activities of the main profile, the newest ending shortly before
// `now`, spread over at least a year (about four a week for longer histories),
// with a three-day streak up to today.
inline Database SampleDatabase(int activities, int64_t now, unsigned seed = 42) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    Database db;

    Profile p;
    p.id = NewId();
    p.name = "Julia Becker";
    p.gender = "w";
    p.birthYear = 1991;
    p.birthMonth = 4;
    p.birthDay = 17;
    p.heightCm = 168;
    p.weightKg = 61.5;
    p.restingHr = 54;
    p.weeklyGoalKm = 35;
    p.yearlyGoalKm = 2000;
    p.street = "Karl-Heine-Straße 42";
    p.zip = "04229";
    p.city = "Leipzig";
    p.hasHome = true;
    p.home = LatLon{51.3297, 12.3370};
    p.color = 0;
    const int days = std::max(365, activities * 7 / 4);
    p.createdAt = now - int64_t{days + 14} * 86400;
    for (int i = 0; i < 8; ++i)
        p.weightLog.push_back({p.createdAt + int64_t{i} * (days / 8) * 86400, 64.0 - i * 0.35});
    p.shoes = {Shoe{NewId(), "Brooks Ghost 14", 700, true}, Shoe{NewId(), "ASICS Novablast 4", 700, false},
               Shoe{NewId(), "Nike Pegasus Trail", 600, false}};
    db.profiles.push_back(p);

    Profile q;
    q.id = NewId();
    q.name = "Max Becker";
    q.birthYear = 1989;
    q.weightKg = 82;
    q.heightCm = 184;
    q.color = 1;
    q.createdAt = now - 90 * 86400LL;
    db.profiles.push_back(q);
    db.settings.activeProfile = p.id;
    db.settings.onboardingDone = true;
    db.settings.trayHintShown = true;

    // Start days, oldest first; the last three make a streak up to today.
    // Spread evenly with some jitter, as a habit with off days looks.
    std::vector<int> ago(activities);
    for (int i = 0; i < activities; ++i) {
        const double even = activities > 1 ? (days - 4.0) * (activities - 1 - i) / (activities - 1) : 0.0;
        ago[i] = std::clamp(3 + static_cast<int>(std::lround(even + (u(rng) - 0.5) * 3.0)), 3, days);
    }
    std::sort(ago.begin(), ago.end(), std::greater<int>());
    for (int k = 0; k < 3 && k < activities; ++k) ago[activities - 1 - k] = k;

    const detail::SportPlan plan[] = {{SportRun, 0.62}, {SportWalk, 0.12}, {SportHike, 0.05},
                                      {SportBike, 0.10}, {SportSwim, 0.06}, {SportOther, 0.05}};
    const int age = ProfileAge(p);
    const int64_t today = DayNumber(now);
    for (int i = 0; i < activities; ++i) {
        const bool last = i == activities - 1;
        double r = u(rng);
        int sport = SportOther;
        for (const auto& sp : plan) {
            if (r < sp.share) {
                sport = sp.sport;
                break;
            }
            r -= sp.share;
        }
        if (last) sport = SportRun;
        const CivilDate date = CivilFromDays(today - ago[i]);
        const int64_t noon = MakeLocalTime(date.year, date.month, date.day, 12, 0, 0);
        const int weekday = WeekdayIndex(LocalTime(noon));
        const bool weekend = weekday >= 5;
        int hour = weekend ? 9 + static_cast<int>(u(rng) * 3) : u(rng) < 0.4 ? 6 + static_cast<int>(u(rng) * 2)
                                                                              : 17 + static_cast<int>(u(rng) * 3);
        int minute = static_cast<int>(u(rng) * 12) * 5;
        int64_t start = MakeLocalTime(date.year, date.month, date.day, hour, minute, 0);
        if (ago[i] == 0 && start > now - 2 * 3600) start = now - 3 * 3600 - 25 * 60;

        // Fitness improves over the history: runs get faster and longer.
        const double progress = 1.0 - static_cast<double>(ago[i]) / days;
        Activity a;
        a.id = NewId();
        a.profileId = p.id;
        a.sport = sport;
        a.start = start;
        a.feel = 2 + static_cast<int>(u(rng) * 4);
        switch (sport) {
        case SportRun: {
            const bool longRun = weekday == 6;
            const bool intervals = !longRun && u(rng) < 0.15;
            a.distanceKm = longRun ? 13 + u(rng) * 8 + 3 * progress : intervals ? 7 + u(rng) * 2 : 5 + u(rng) * 6;
            const double pace = 372 - 42 * progress + (longRun ? 18 : intervals ? -25 : 0) + (u(rng) - 0.5) * 24;
            a.durationSec = std::round(a.distanceKm * pace);
            a.elevationGain = std::round(a.distanceKm * (4 + u(rng) * 8));
            a.title = longRun ? detail::Pick(rng, {"Langer Lauf am Sonntag", "Long Run am Auensee", "Langer Kanten"})
                      : intervals
                          ? detail::Pick(rng, {"Intervalle 6 × 800 m", "Tempodauerlauf", "Fahrtspiel im Park"})
                          : detail::Pick(rng, {"Morgenrunde am See", "Feierabendlauf", "Lockerer Dauerlauf",
                                               "Runde durchs Clara-Zetkin-Park", "Kanal-Runde", ""});
            a.avgHr = u(rng) < 0.7 ? 138 + static_cast<int>(u(rng) * 26) + (intervals ? 8 : 0) : 0;
            a.shoeId = p.shoes[progress < 0.35 ? 0 : u(rng) < 0.75 ? 1 : 2].id;
            if (intervals) a.notes = "Warm-up 2 km, 6 × 800 m mit 400 m Trabpause, Cool-down.";
            break;
        }
        case SportWalk:
            a.distanceKm = 3 + u(rng) * 4;
            a.durationSec = std::round(a.distanceKm * (600 + u(rng) * 90));
            a.elevationGain = std::round(a.distanceKm * 3);
            a.title = detail::Pick(rng, {"Spaziergang mit Max", "Mittagsrunde", "Abendspaziergang", ""});
            break;
        case SportHike:
            a.distanceKm = 9 + u(rng) * 10;
            a.durationSec = std::round(a.distanceKm * (720 + u(rng) * 150));
            a.elevationGain = std::round(250 + u(rng) * 550);
            a.title = detail::Pick(rng, {"Wanderung im Harz", "Sächsische Schweiz", "Rundweg Collmberg"});
            a.notes = "Tolles Wetter, Brotzeit am Gipfel.";
            break;
        case SportBike:
            a.distanceKm = 15 + u(rng) * 25;
            a.durationSec = std::round(a.distanceKm * (118 + u(rng) * 30));
            a.elevationGain = std::round(a.distanceKm * (2 + u(rng) * 5));
            a.title = detail::Pick(rng, {"Radtour zum Cospudener See", "Pendeln ins Büro", "Runde über Markkleeberg"});
            a.avgHr = u(rng) < 0.5 ? 118 + static_cast<int>(u(rng) * 20) : 0;
            break;
        case SportSwim:
            a.distanceKm = 1 + std::round(u(rng) * 8) * 0.25;
            a.durationSec = std::round(a.distanceKm * (1150 + u(rng) * 250));
            a.title = detail::Pick(rng, {"Schwimmen in der Grünauer Welle", "Bahnen ziehen", ""});
            break;
        default:
            a.distanceKm = 0;
            a.durationSec = std::round(1800 + u(rng) * 2400);
            a.title = detail::Pick(rng, {"Krafttraining", "Yoga", "Stabi-Zirkel"});
            break;
        }
        if (last) {
            a.distanceKm = 8.4;
            a.durationSec = 2496;
            a.title = "Morgenrunde am See";
            a.notes = "";
        }
        const double s = u(rng);
        a.source = s < 0.4 ? "manual" : s < 0.72 ? "gpx" : s < 0.8 ? "tcx" : s < 0.92 ? "stopwatch" : "strava";
        if (sport == SportOther) a.source = "manual";
        if ((a.source == "gpx" || a.source == "tcx" || a.source == "strava") && a.distanceKm > 0.5) {
            a.track = detail::LoopTrack(rng, p.home, a.distanceKm, 60 + static_cast<int>(a.distanceKm * 4));
            a.externalId = a.source + ":" + FormatIsoUtc(a.start);
        }
        const double weight = p.weightKg + 2.5 * (1.0 - progress);
        a.weightKg = std::round(weight * 10) / 10;
        a.calories = std::round(EstimateCalories(a.sport, a.distanceKm, a.durationSec, a.elevationGain, a.avgHr,
                                                 a.weightKg, age, p.gender)
                                    .kcal);
        db.activities.push_back(a);
        EvaluateAwards(db, db.profiles.front(), db.activities.back(),
                       a.start + static_cast<int64_t>(a.durationSec));
    }

    // The second person has just started.
    for (int i = 0; i < 6; ++i) {
        Activity a;
        a.id = NewId();
        a.profileId = q.id;
        a.sport = i % 2 ? SportBike : SportRun;
        a.start = now - int64_t{(6 - i) * 9} * 86400 - 4 * 3600;
        a.distanceKm = a.sport == SportRun ? 4.5 + i * 0.4 : 28;
        a.durationSec = a.sport == SportRun ? a.distanceKm * 365 : a.distanceKm * 130;
        a.calories = std::round(
            EstimateCalories(a.sport, a.distanceKm, a.durationSec, 0, 0, q.weightKg, ProfileAge(q), q.gender).kcal);
        db.activities.push_back(a);
        EvaluateAwards(db, db.profiles[1], db.activities.back(), a.start + static_cast<int64_t>(a.durationSec));
    }
    return db;
}

}  // namespace sample
