// Plain records of everything the program stores, and the small queries every
// page shares. Field names are the data-file keys.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct LatLon {
    double lat = 0.0;
    double lon = 0.0;
    bool operator==(const LatLon&) const = default;
};

struct WeightEntry {
    int64_t date = 0;  // epoch seconds of the moment the value was entered
    double kg = 0.0;
    bool operator==(const WeightEntry&) const = default;
};

struct Shoe {
    std::string id;
    std::string name;
    double limitKm = 700.0;
    bool retired = false;
    bool operator==(const Shoe&) const = default;
};

struct StravaAccount {
    std::string accessToken;
    std::string refreshToken;
    std::string athlete;
    int64_t expiresAt = 0;
    int64_t lastSync = 0;
    bool operator==(const StravaAccount&) const = default;
};

struct Profile {
    std::string id;
    std::string name;
    std::string gender = "m";
    int birthYear = 1995;
    int birthMonth = 1;
    int birthDay = 1;
    double heightCm = 178.0;
    double weightKg = 75.0;
    int restingHr = 60;
    double weeklyGoalKm = 15.0;
    double yearlyGoalKm = 600.0;
    std::string street;
    std::string zip;
    std::string city;
    std::string country = "Deutschland";
    bool hasHome = false;
    LatLon home{51.1657, 10.4515};  // centre of Germany
    int color = 0;
    std::vector<WeightEntry> weightLog;
    std::vector<Shoe> shoes;
    StravaAccount strava;
    int64_t createdAt = 0;
    bool operator==(const Profile&) const = default;
};

enum Sport : int {
    SportRun = 0,
    SportWalk = 1,
    SportHike = 2,
    SportBike = 3,
    SportSwim = 4,
    SportOther = 5,
};
constexpr int kSportCount = 6;

struct Activity {
    std::string id;
    std::string profileId;
    int sport = SportRun;
    int64_t start = 0;
    double distanceKm = 0.0;
    double durationSec = 0.0;
    double elevationGain = 0.0;
    double calories = 0.0;
    bool caloriesManual = false;
    int avgHr = 0;
    int feel = 3;
    double weightKg = 0.0;
    std::string title;
    std::string notes;
    std::string routeId;
    std::string shoeId;
    std::string source = "manual";
    std::string externalId;
    std::vector<LatLon> track;
    bool operator==(const Activity&) const = default;
};

struct Route {
    std::string id;
    std::string profileId;
    std::string name;
    std::vector<LatLon> waypoints;
    std::vector<LatLon> points;
    std::vector<double> elevations;
    double distanceKm = 0.0;
    double elevationGain = 0.0;
    bool favorite = false;
    bool snapped = false;
    int64_t createdAt = 0;
    bool operator==(const Route&) const = default;
};

struct Award {
    std::string id;
    std::string profileId;
    std::string key;
    std::string activityId;
    std::string name;
    int tier = 0;
    int64_t at = 0;
    bool operator==(const Award&) const = default;
};

struct Settings {
    std::string activeProfile;
    bool reminderEnabled = true;
    int reminderHour = 18;
    int reminderMinute = 0;
    std::array<bool, 7> reminderDays{true, true, true, true, true, true, true};  // Monday first
    bool reminderSkipIfDone = true;
    bool speakMotivation = true;
    std::string voiceId;
    double speechRate = 1.0;
    bool autostart = false;
    bool closeToTray = true;
    bool sounds = true;
    bool animations = true;
    int accent = 0;
    int mapStyle = 0;
    std::string stravaClientId;
    std::string stravaClientSecret;
    std::string lastReminderDate;
    bool onboardingDone = false;
    bool trayHintShown = false;
    bool operator==(const Settings&) const = default;
};

struct Database {
    std::vector<Profile> profiles;
    std::vector<Activity> activities;
    std::vector<Route> routes;
    std::vector<Award> awards;
    Settings settings;
    bool operator==(const Database&) const = default;
};

// Sport table; values outside 0..5 map to "Sonstiges".
const char* SportName(int sport);
const char* SportIcon(int sport);      // UTF-8 icon glyph of the merged icon font
unsigned SportColor(int sport);        // 0xRRGGBB
int ClampSport(int sport);             // the data-file rule: >5 -> 5, <0 -> 0

// 16 lowercase hex characters, least significant nibble first.
std::string NewId();

Profile* ActiveProfile(Database& db);
Profile* FindProfile(Database& db, const std::string& id);
const Profile* FindProfile(const Database& db, const std::string& id);
Activity* FindActivity(Database& db, const std::string& id);
const Activity* FindActivity(const Database& db, const std::string& id);
Route* FindRoute(Database& db, const std::string& id);

// Sorted views; pointers stay valid until the vectors change.
std::vector<const Activity*> ProfileActivities(const Database& db, const Profile& p);
std::vector<const Route*> ProfileRoutes(const Database& db, const Profile& p);
std::vector<const Award*> ProfileAwards(const Database& db, const Profile& p);

double ShoeDistance(const Database& db, const std::string& shoeId);
// Whole years on the given local date, clamped to 5..110.
int ProfileAgeOn(const Profile& p, int year, int month, int day);
int ProfileAge(const Profile& p);  // on today's local date
std::string ProfileInitials(const Profile& p);
void DeleteProfile(Database& db, const std::string& id);
