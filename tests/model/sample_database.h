// Databases for tests and benchmarks: one with every field away from its
// default, and a long-time heavy user with thousands of tracked activities.
#pragma once

#include <cmath>
#include <cstdint>
#include <random>
#include <string>

#include "model/records.h"

namespace sample {

// Every field of every record differs from its default; strings hold
// non-ASCII text, quotes, backslashes and control characters.
inline Database Populated() {
    Database db;
    Profile p;
    p.id = "0123456789abcdef";
    p.name = "Jürgen \"Jogger\" Groß";
    p.gender = "w";
    p.birthYear = 1987;
    p.birthMonth = 11;
    p.birthDay = 23;
    p.heightCm = 181.5;
    p.weightKg = 72.25;
    p.restingHr = 52;
    p.weeklyGoalKm = 30.0;
    p.yearlyGoalKm = 1500.0;
    p.street = "Hauptstraße 5\\a";
    p.zip = "80331";
    p.city = "München";
    p.country = "Österreich";
    p.hasHome = true;
    p.home = LatLon{48.137154123456789, 11.576124};
    p.color = 4;
    p.weightLog = {WeightEntry{1700000000, 74.5}, WeightEntry{1710000000, 72.25}};
    Shoe shoe;
    shoe.id = "aaaaaaaaaaaaaaaa";
    shoe.name = "Pegasus 40";
    shoe.limitKm = 800.0;
    shoe.retired = true;
    p.shoes = {shoe, Shoe{"bbbbbbbbbbbbbbbb", "Trail\tSchuh", 650.5, false}};
    p.strava = StravaAccount{"access-token", "refresh-token", "Jürgen G.", 1712345678, 1712300000};
    p.createdAt = 1690000000;
    db.profiles.push_back(p);

    Profile q;
    q.id = "fedcba9876543210";
    q.name = "Zweite Person";
    q.createdAt = -5;
    db.profiles.push_back(q);

    Activity a;
    a.id = "1111111111111111";
    a.profileId = p.id;
    a.sport = SportBike;
    a.start = 1711000000;
    a.distanceKm = 42.195;
    a.durationSec = 12345.6;
    a.elevationGain = 321.0;
    a.calories = 2890.5;
    a.caloriesManual = true;
    a.avgHr = 151;
    a.feel = 5;
    a.weightKg = 73.0;
    a.title = "Marathon 🏃 am Sonntag";
    a.notes = "Zeile 1\nZeile 2\r\n\x01 Ende";
    a.routeId = "2222222222222222";
    a.shoeId = shoe.id;
    a.source = "gpx";
    a.externalId = "gpx:2024-03-21T06:30:00Z";
    a.track = {LatLon{48.1371544, 11.5761249}, LatLon{-33.8688, 151.2093}, LatLon{0.0000005, -0.0000005},
               LatLon{89.9999999, -179.9999994}};
    db.activities.push_back(a);

    Route r;
    r.id = "2222222222222222";
    r.profileId = p.id;
    r.name = "Isar-Runde";
    r.waypoints = {LatLon{48.1, 11.5}, LatLon{48.2, 11.6}};
    r.points = {LatLon{48.1, 11.5}, LatLon{48.15, 11.55}, LatLon{48.2, 11.6}};
    r.elevations = {519.5, 520.25, 1e-7, -3.0};
    r.distanceKm = 12.75;
    r.elevationGain = 45.5;
    r.favorite = true;
    r.snapped = true;
    r.createdAt = 1705000000;
    db.routes.push_back(r);

    Award w;
    w.id = "3333333333333333";
    w.profileId = p.id;
    w.key = "dist_marathon";
    w.activityId = a.id;
    w.name = "Marathon-Held";
    w.tier = 3;
    w.at = 1711012345;
    db.awards.push_back(w);

    Settings& s = db.settings;
    s.activeProfile = p.id;
    s.reminderEnabled = false;
    s.reminderHour = 7;
    s.reminderMinute = 45;
    s.reminderDays = {true, false, true, false, true, false, false};
    s.reminderSkipIfDone = false;
    s.speakMotivation = false;
    s.voiceId = "de+f3";
    s.speechRate = 1.25;
    s.autostart = true;
    s.closeToTray = false;
    s.sounds = false;
    s.animations = false;
    s.accent = 2;
    s.mapStyle = 3;
    s.stravaClientId = "12345";
    s.stravaClientSecret = "geheim";
    s.lastReminderDate = "2025-03-05";
    s.onboardingDone = true;
    s.trayHintShown = true;
    return db;
}

// Coordinates as the writer stores them (six decimals), so that a database
// built from them reads back equal.
inline double Snap6(double v) { return std::round(v * 1e6) / 1e6; }

// Ten years of daily activities, each with a track of `points` points.
inline Database HeavyUser(int activities = 3650, int points = 1500, uint64_t seed = 42) {
    std::mt19937_64 rng(seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    Database db = Populated();
    db.profiles.resize(1);
    db.activities.clear();
    db.awards.clear();
    const std::string pid = db.profiles[0].id;
    const int64_t t0 = 1420070400;  // 2015-01-01
    for (int i = 0; i < activities; ++i) {
        Activity a;
        a.id = NewId();
        a.profileId = pid;
        a.sport = static_cast<int>(rng() % 6);
        a.start = t0 + int64_t{i} * 86400 + static_cast<int64_t>(rng() % 50000);
        a.distanceKm = 3.0 + 15.0 * unit(rng);
        a.durationSec = a.distanceKm * (280.0 + 120.0 * unit(rng));
        a.elevationGain = std::round(200.0 * unit(rng) * 10.0) / 10.0;
        a.calories = std::round(a.distanceKm * 70.0);
        a.avgHr = 120 + static_cast<int>(rng() % 60);
        a.feel = 1 + static_cast<int>(rng() % 5);
        a.weightKg = 72.0 + unit(rng);
        a.title = "Lauf am Morgen Nr. " + std::to_string(i);
        a.notes = i % 5 == 0 ? "Gute Beine, leichter Gegenwind an der Isar." : "";
        a.source = i % 3 == 0 ? "strava" : "manual";
        a.externalId = i % 3 == 0 ? "strava:" + std::to_string(9000000000LL + i) : "";
        a.track.reserve(static_cast<size_t>(points));
        double lat = 48.1 + 0.1 * unit(rng);
        double lon = 11.5 + 0.1 * unit(rng);
        for (int k = 0; k < points; ++k) {
            lat += (unit(rng) - 0.5) * 0.0002;
            lon += (unit(rng) - 0.5) * 0.0003;
            a.track.push_back(LatLon{Snap6(lat), Snap6(lon)});
        }
        db.activities.push_back(std::move(a));
        if (i % 10 == 0) {
            Award w;
            w.id = NewId();
            w.profileId = pid;
            w.key = "medal";
            w.activityId = db.activities.back().id;
            w.name = "Medaille";
            w.tier = static_cast<int>(rng() % 5);
            w.at = db.activities.back().start + 3600;
            db.awards.push_back(w);
        }
    }
    return db;
}

}  // namespace sample
