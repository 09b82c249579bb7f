// Shared helpers of the science tests: a database with one profile and
// activities placed on local wall-clock times (the suite runs in Europe/Berlin).
#pragma once

#include <string>
#include <vector>

#include "model/format.h"
#include "model/records.h"

inline int64_t At(int y, int mo, int d, int h = 12, int mi = 0) {
    return MakeLocalTime(y, mo, d, h, mi, 0);
}

struct ProfileFixture {
    Database db;
    std::string pid;

    ProfileFixture() {
        Profile p;
        p.id = NewId();
        p.name = "Anna Beispiel";
        pid = p.id;
        db.profiles.push_back(p);
        db.settings.activeProfile = p.id;
    }

    Profile& profile() { return db.profiles.front(); }

    Activity& Add(int sport, int64_t start, double km, double sec = 1800.0, double kcal = 300.0) {
        Activity a;
        a.id = NewId();
        a.profileId = pid;
        a.sport = sport;
        a.start = start;
        a.distanceKm = km;
        a.durationSec = sec;
        a.calories = kcal;
        db.activities.push_back(a);
        return db.activities.back();
    }

    std::vector<const Activity*> List() const { return ProfileActivities(db, db.profiles.front()); }
};
