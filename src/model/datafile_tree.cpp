// The data file on nlohmann/json's document tree: the definition of the format
// that the fast writer and reader in datafile.cpp must match.
#include <cmath>
#include <nlohmann/json.hpp>

#include "model/datafile.h"
#include "model/datafile_values.h"

using json = nlohmann::json;

namespace {

// ---- writing ----

json Pairs(const std::vector<LatLon>& pts) {
    json a = json::array();
    for (const LatLon& p : pts) {
        if (!datafile::PairWritable(p)) continue;
        a.push_back(json::array({datafile::Round6(p.lat), datafile::Round6(p.lon)}));
    }
    return a;
}

json ProfileJson(const Profile& p) {
    json j = json::object();
    j["address"] = {{"city", p.city}, {"country", p.country}, {"street", p.street}, {"zip", p.zip}};
    j["birthDay"] = p.birthDay;
    j["birthMonth"] = p.birthMonth;
    j["birthYear"] = p.birthYear;
    j["color"] = p.color;
    j["createdAt"] = p.createdAt;
    j["gender"] = p.gender;
    j["hasHome"] = p.hasHome;
    j["heightCm"] = p.heightCm;
    const LatLon home = datafile::WritableHome(p.home);
    j["home"] = json::array({home.lat, home.lon});
    j["id"] = p.id;
    j["name"] = p.name;
    j["restingHr"] = p.restingHr;
    json shoes = json::array();
    for (const Shoe& s : p.shoes) {
        shoes.push_back({{"id", s.id}, {"limitKm", s.limitKm}, {"name", s.name}, {"retired", s.retired}});
    }
    j["shoes"] = std::move(shoes);
    j["strava"] = {{"accessToken", p.strava.accessToken},
                   {"athlete", p.strava.athlete},
                   {"expiresAt", p.strava.expiresAt},
                   {"lastSync", p.strava.lastSync},
                   {"refreshToken", p.strava.refreshToken}};
    j["weeklyGoalKm"] = p.weeklyGoalKm;
    j["weightKg"] = p.weightKg;
    json log = json::array();
    for (const WeightEntry& w : p.weightLog) log.push_back({{"date", w.date}, {"kg", w.kg}});
    j["weightLog"] = std::move(log);
    j["yearlyGoalKm"] = p.yearlyGoalKm;
    return j;
}

json ActivityJson(const Activity& a) {
    json j = json::object();
    j["avgHr"] = a.avgHr;
    j["calories"] = a.calories;
    j["caloriesManual"] = a.caloriesManual;
    j["distanceKm"] = a.distanceKm;
    j["durationSec"] = a.durationSec;
    j["elevationGain"] = a.elevationGain;
    j["externalId"] = a.externalId;
    j["feel"] = a.feel;
    j["id"] = a.id;
    j["notes"] = a.notes;
    j["profileId"] = a.profileId;
    j["routeId"] = a.routeId;
    j["shoeId"] = a.shoeId;
    j["source"] = a.source;
    j["sport"] = a.sport;
    j["start"] = a.start;
    j["title"] = a.title;
    j["track"] = Pairs(a.track);
    j["weightKg"] = a.weightKg;
    return j;
}

json RouteJson(const Route& r) {
    json j = json::object();
    j["createdAt"] = r.createdAt;
    j["distanceKm"] = r.distanceKm;
    j["elevationGain"] = r.elevationGain;
    json el = json::array();
    for (double e : r.elevations) el.push_back(datafile::WritableElevation(e));
    j["elevations"] = std::move(el);
    j["favorite"] = r.favorite;
    j["id"] = r.id;
    j["name"] = r.name;
    j["points"] = Pairs(r.points);
    j["profileId"] = r.profileId;
    j["snapped"] = r.snapped;
    j["waypoints"] = Pairs(r.waypoints);
    return j;
}

json AwardJson(const Award& w) {
    return {{"activityId", w.activityId}, {"at", w.at},     {"id", w.id},    {"key", w.key},
            {"name", w.name},             {"profileId", w.profileId}, {"tier", w.tier}};
}

json SettingsJson(const Settings& s) {
    json j = json::object();
    j["accent"] = s.accent;
    j["activeProfile"] = s.activeProfile;
    j["animations"] = s.animations;
    j["autostart"] = s.autostart;
    j["closeToTray"] = s.closeToTray;
    j["lastReminderDate"] = s.lastReminderDate;
    j["mapStyle"] = s.mapStyle;
    j["onboardingDone"] = s.onboardingDone;
    json days = json::array();
    for (bool d : s.reminderDays) days.push_back(d);
    j["reminderDays"] = std::move(days);
    j["reminderEnabled"] = s.reminderEnabled;
    j["reminderHour"] = s.reminderHour;
    j["reminderMinute"] = s.reminderMinute;
    j["reminderSkipIfDone"] = s.reminderSkipIfDone;
    j["speakMotivation"] = s.speakMotivation;
    j["speechRate"] = s.speechRate;
    j["sounds"] = s.sounds;
    j["stravaClientId"] = s.stravaClientId;
    j["stravaClientSecret"] = s.stravaClientSecret;
    j["trayHintShown"] = s.trayHintShown;
    j["voiceId"] = s.voiceId;
    return j;
}

// ---- reading ----

// The member of an object, or nullptr when o is no object, the key is missing
// or its value is null: all of which leave the field's default.
const json* Member(const json& o, const char* key) {
    if (!o.is_object()) return nullptr;
    auto it = o.find(key);
    if (it == o.end() || it->is_null()) return nullptr;
    return &*it;
}

void GetInt(const json& o, const char* key, int& out) {
    const json* v = Member(o, key);
    if (!v) return;
    if (v->is_number_unsigned()) {
        out = datafile::IntFromUnsigned(v->get<uint64_t>());
    } else if (v->is_number_integer()) {
        out = datafile::IntFromInt64(v->get<int64_t>());
    } else if (v->is_number_float()) {
        out = datafile::IntFromDouble(v->get<double>());
    } else if (v->is_boolean()) {
        out = v->get<bool>() ? 1 : 0;
    }
}

void GetInt64(const json& o, const char* key, int64_t& out) {
    const json* v = Member(o, key);
    if (!v) return;
    if (v->is_number_unsigned()) {
        out = datafile::Int64FromUnsigned(v->get<uint64_t>());
    } else if (v->is_number_integer()) {
        out = v->get<int64_t>();
    } else if (v->is_number_float()) {
        out = datafile::Int64FromDouble(v->get<double>());
    }
}

void GetDouble(const json& o, const char* key, double& out) {
    const json* v = Member(o, key);
    if (v && v->is_number()) out = v->get<double>();
}

void GetBool(const json& o, const char* key, bool& out) {
    const json* v = Member(o, key);
    if (v && v->is_boolean()) out = v->get<bool>();
}

void GetString(const json& o, const char* key, std::string& out) {
    const json* v = Member(o, key);
    if (v && v->is_string()) out = v->get<std::string>();
}

// Coordinate pairs: arrays of two or more entries give a point and must start
// with two numbers; anything else is skipped. False on a strict failure.
bool GetPairs(const json& o, const char* key, std::vector<LatLon>& out) {
    const json* v = Member(o, key);
    if (!v) return true;
    for (const json& el : *v) {
        if (!el.is_array() || el.size() < 2) continue;
        if (!el[0].is_number() || !el[1].is_number()) return false;
        out.push_back(LatLon{el[0].get<double>(), el[1].get<double>()});
    }
    return true;
}

// Iterates a record-array key the way nlohmann iterates any value: an
// array's elements, an object's member values, a scalar once, null never.
template <class F>
bool ForEachRecord(const json& o, const char* key, F&& f) {
    auto it = o.find(key);
    if (it == o.end()) return true;
    for (const json& el : *it) {
        if (!f(el)) return false;
    }
    return true;
}

bool ReadProfile(const json& j, Profile& p) {
    GetString(j, "id", p.id);
    GetString(j, "name", p.name);
    GetString(j, "gender", p.gender);
    GetInt(j, "birthYear", p.birthYear);
    GetInt(j, "birthMonth", p.birthMonth);
    GetInt(j, "birthDay", p.birthDay);
    GetDouble(j, "heightCm", p.heightCm);
    GetDouble(j, "weightKg", p.weightKg);
    GetInt(j, "restingHr", p.restingHr);
    GetDouble(j, "weeklyGoalKm", p.weeklyGoalKm);
    GetDouble(j, "yearlyGoalKm", p.yearlyGoalKm);
    if (j.is_object() && j.contains("address")) {
        const json& a = j["address"];
        GetString(a, "street", p.street);
        GetString(a, "zip", p.zip);
        GetString(a, "city", p.city);
        GetString(a, "country", p.country);
    }
    GetBool(j, "hasHome", p.hasHome);
    if (const json* h = Member(j, "home"); h && h->is_array() && h->size() == 2) {
        if (!(*h)[0].is_number() || !(*h)[1].is_number()) return false;
        p.home = LatLon{(*h)[0].get<double>(), (*h)[1].get<double>()};
    }
    GetInt(j, "color", p.color);
    if (j.is_object()) {
        ForEachRecord(j, "weightLog", [&](const json& e) {
            WeightEntry w;
            w.date = 0;
            w.kg = 0.0;
            GetInt64(e, "date", w.date);
            GetDouble(e, "kg", w.kg);
            p.weightLog.push_back(w);
            return true;
        });
        ForEachRecord(j, "shoes", [&](const json& e) {
            Shoe s;
            GetString(e, "id", s.id);
            GetString(e, "name", s.name);
            GetDouble(e, "limitKm", s.limitKm);
            GetBool(e, "retired", s.retired);
            p.shoes.push_back(std::move(s));
            return true;
        });
    }
    if (const json* s = Member(j, "strava")) {
        GetString(*s, "accessToken", p.strava.accessToken);
        GetString(*s, "refreshToken", p.strava.refreshToken);
        GetString(*s, "athlete", p.strava.athlete);
        GetInt64(*s, "expiresAt", p.strava.expiresAt);
        GetInt64(*s, "lastSync", p.strava.lastSync);
    }
    GetInt64(j, "createdAt", p.createdAt);
    return true;
}

bool ReadActivity(const json& j, Activity& a) {
    GetString(j, "id", a.id);
    GetString(j, "profileId", a.profileId);
    GetInt(j, "sport", a.sport);
    a.sport = ClampSport(a.sport);
    GetInt64(j, "start", a.start);
    GetDouble(j, "distanceKm", a.distanceKm);
    GetDouble(j, "durationSec", a.durationSec);
    GetDouble(j, "elevationGain", a.elevationGain);
    GetDouble(j, "calories", a.calories);
    GetBool(j, "caloriesManual", a.caloriesManual);
    GetInt(j, "avgHr", a.avgHr);
    GetInt(j, "feel", a.feel);
    GetDouble(j, "weightKg", a.weightKg);
    GetString(j, "title", a.title);
    GetString(j, "notes", a.notes);
    GetString(j, "routeId", a.routeId);
    GetString(j, "shoeId", a.shoeId);
    GetString(j, "source", a.source);
    GetString(j, "externalId", a.externalId);
    return GetPairs(j, "track", a.track);
}

bool ReadRoute(const json& j, Route& r) {
    GetString(j, "id", r.id);
    GetString(j, "profileId", r.profileId);
    GetString(j, "name", r.name);
    if (!GetPairs(j, "waypoints", r.waypoints)) return false;
    if (!GetPairs(j, "points", r.points)) return false;
    if (const json* e = Member(j, "elevations"); e && e->is_array()) {
        bool allNumbers = true;
        for (const json& x : *e) allNumbers = allNumbers && x.is_number();
        if (allNumbers) {
            for (const json& x : *e) r.elevations.push_back(x.get<double>());
        }
    }
    GetDouble(j, "distanceKm", r.distanceKm);
    GetDouble(j, "elevationGain", r.elevationGain);
    GetBool(j, "favorite", r.favorite);
    GetBool(j, "snapped", r.snapped);
    GetInt64(j, "createdAt", r.createdAt);
    return true;
}

void ReadAward(const json& j, Award& w) {
    GetString(j, "id", w.id);
    GetString(j, "profileId", w.profileId);
    GetString(j, "key", w.key);
    GetString(j, "activityId", w.activityId);
    GetString(j, "name", w.name);
    GetInt(j, "tier", w.tier);
    GetInt64(j, "at", w.at);
}

void ReadSettings(const json& j, Settings& s) {
    GetString(j, "activeProfile", s.activeProfile);
    GetBool(j, "reminderEnabled", s.reminderEnabled);
    GetInt(j, "reminderHour", s.reminderHour);
    GetInt(j, "reminderMinute", s.reminderMinute);
    if (const json* d = Member(j, "reminderDays"); d && d->is_array()) {
        bool allBools = true;
        for (const json& x : *d) allBools = allBools && x.is_boolean();
        if (allBools) {
            for (size_t i = 0; i < d->size() && i < s.reminderDays.size(); ++i) {
                s.reminderDays[i] = (*d)[i].get<bool>();
            }
        }
    }
    GetBool(j, "reminderSkipIfDone", s.reminderSkipIfDone);
    GetBool(j, "speakMotivation", s.speakMotivation);
    GetString(j, "voiceId", s.voiceId);
    GetDouble(j, "speechRate", s.speechRate);
    GetBool(j, "autostart", s.autostart);
    GetBool(j, "closeToTray", s.closeToTray);
    GetBool(j, "sounds", s.sounds);
    GetBool(j, "animations", s.animations);
    GetInt(j, "accent", s.accent);
    GetInt(j, "mapStyle", s.mapStyle);
    GetString(j, "stravaClientId", s.stravaClientId);
    GetString(j, "stravaClientSecret", s.stravaClientSecret);
    GetString(j, "lastReminderDate", s.lastReminderDate);
    GetBool(j, "onboardingDone", s.onboardingDone);
    GetBool(j, "trayHintShown", s.trayHintShown);
}

}  // namespace

std::string SerializeDatabaseTree(const Database& db) {
    json root = json::object();
    root["app"] = "Stridely";
    root["version"] = 1;
    json profiles = json::array();
    for (const Profile& p : db.profiles) profiles.push_back(ProfileJson(p));
    root["profiles"] = std::move(profiles);
    json activities = json::array();
    for (const Activity& a : db.activities) activities.push_back(ActivityJson(a));
    root["activities"] = std::move(activities);
    json routes = json::array();
    for (const Route& r : db.routes) routes.push_back(RouteJson(r));
    root["routes"] = std::move(routes);
    json awards = json::array();
    for (const Award& w : db.awards) awards.push_back(AwardJson(w));
    root["awards"] = std::move(awards);
    root["settings"] = SettingsJson(db.settings);
    return root.dump(1, ' ', false, json::error_handler_t::replace);
}

bool ParseDatabaseTree(const std::string& text, Database& db) {
    const json root = json::parse(text, nullptr, false);
    if (root.is_discarded() || !root.is_object() || !root.contains("profiles")) return false;

    Database fresh;
    bool ok = ForEachRecord(root, "profiles", [&](const json& e) {
        fresh.profiles.emplace_back();
        return ReadProfile(e, fresh.profiles.back());
    });
    ok = ok && ForEachRecord(root, "activities", [&](const json& e) {
        fresh.activities.emplace_back();
        return ReadActivity(e, fresh.activities.back());
    });
    ok = ok && ForEachRecord(root, "routes", [&](const json& e) {
        fresh.routes.emplace_back();
        return ReadRoute(e, fresh.routes.back());
    });
    ok = ok && ForEachRecord(root, "awards", [&](const json& e) {
        fresh.awards.emplace_back();
        ReadAward(e, fresh.awards.back());
        return true;
    });
    if (!ok) return false;
    if (root.contains("settings")) ReadSettings(root["settings"], fresh.settings);
    db = std::move(fresh);
    return true;
}
