#include "model/records.h"

#include <algorithm>
#include <chrono>
#include <mutex>
#include <random>

#include "model/format.h"
#include "model/icons.h"

namespace {

struct SportRow {
    const char* name;
    const char* icon;
    unsigned color;
};

const SportRow& SportRowOf(int sport) {
    static const SportRow rows[kSportCount] = {
        {"Laufen / Joggen", Icon::Run, 0xFF7A18},
        {"Walking", Icon::Walk, 0x2EC4B6},
        {"Wandern", Icon::Hike, 0x8AC926},
        {"Radfahren", Icon::Bike, 0x3A86FF},
        {"Schwimmen", Icon::Swim, 0x00B4D8},
        {"Sonstiges", Icon::Other, 0xB388FF},
    };
    return rows[(sport >= 0 && sport < kSportCount) ? sport : SportOther];
}

template <class T>
T* FindById(std::vector<T>& v, const std::string& id) {
    for (auto& r : v)
        if (r.id == id) return &r;
    return nullptr;
}

template <class T>
void ErasePrefixOwned(std::vector<T>& v, const std::string& profileId) {
    std::erase_if(v, [&](const T& r) { return r.profileId == profileId; });
}

}  // namespace

const char* SportName(int sport) { return SportRowOf(sport).name; }
const char* SportIcon(int sport) { return SportRowOf(sport).icon; }
unsigned SportColor(int sport) { return SportRowOf(sport).color; }
int ClampSport(int sport) { return std::clamp(sport, 0, kSportCount - 1); }

std::string NewId() {
    // One generator for the whole process, seeded once from the clock and the
    // system random device. The mutex keeps it usable from worker threads.
    static std::mutex mutex;
    static std::mt19937_64 rng = [] {
        std::random_device rd;
        auto ticks = static_cast<uint64_t>(
            std::chrono::steady_clock::now().time_since_epoch().count());
        return std::mt19937_64(ticks ^ static_cast<uint64_t>(rd()));
    }();
    uint64_t r;
    {
        std::lock_guard lock(mutex);
        r = rng();
    }
    static const char hex[] = "0123456789abcdef";
    std::string id(16, '0');
    for (int i = 0; i < 16; ++i) id[i] = hex[(r >> (4 * i)) & 0xF];
    return id;
}

Profile* ActiveProfile(Database& db) {
    if (Profile* p = FindById(db.profiles, db.settings.activeProfile)) return p;
    if (db.profiles.empty()) return nullptr;
    db.settings.activeProfile = db.profiles.front().id;
    return &db.profiles.front();
}

Profile* FindProfile(Database& db, const std::string& id) { return FindById(db.profiles, id); }
const Profile* FindProfile(const Database& db, const std::string& id) {
    return FindById(const_cast<Database&>(db).profiles, id);
}
Activity* FindActivity(Database& db, const std::string& id) { return FindById(db.activities, id); }
const Activity* FindActivity(const Database& db, const std::string& id) {
    return FindById(const_cast<Database&>(db).activities, id);
}
Route* FindRoute(Database& db, const std::string& id) {
    return id.empty() ? nullptr : FindById(db.routes, id);
}

std::vector<const Activity*> ProfileActivities(const Database& db, const Profile& p) {
    std::vector<const Activity*> out;
    for (const auto& a : db.activities)
        if (a.profileId == p.id) out.push_back(&a);
    std::stable_sort(out.begin(), out.end(),
                     [](const Activity* a, const Activity* b) { return a->start < b->start; });
    return out;
}

std::vector<const Route*> ProfileRoutes(const Database& db, const Profile& p) {
    std::vector<const Route*> out;
    for (const auto& r : db.routes)
        if (r.profileId == p.id) out.push_back(&r);
    std::stable_sort(out.begin(), out.end(), [](const Route* a, const Route* b) {
        if (a->favorite != b->favorite) return a->favorite;
        return a->createdAt > b->createdAt;
    });
    return out;
}

std::vector<const Award*> ProfileAwards(const Database& db, const Profile& p) {
    std::vector<const Award*> out;
    for (const auto& a : db.awards)
        if (a.profileId == p.id) out.push_back(&a);
    std::stable_sort(out.begin(), out.end(),
                     [](const Award* a, const Award* b) { return a->at > b->at; });
    return out;
}

double ShoeDistance(const Database& db, const std::string& shoeId) {
    double sum = 0.0;
    for (const auto& a : db.activities)
        if (a.shoeId == shoeId) sum += a.distanceKm;
    return sum;
}

int ProfileAgeOn(const Profile& p, int year, int month, int day) {
    int age = year - p.birthYear;
    if (month < p.birthMonth || (month == p.birthMonth && day < p.birthDay)) --age;
    return std::clamp(age, 5, 110);
}

int ProfileAge(const Profile& p) {
    CivilDate t = Today();
    return ProfileAgeOn(p, t.year, t.month, t.day);
}

std::string ProfileInitials(const Profile& p) {
    const std::string& n = p.name;
    std::string out;
    bool wordStart = true;
    for (size_t i = 0; i < n.size() && out.size() < 2; ++i) {
        unsigned char c = static_cast<unsigned char>(n[i]);
        if (c == ' ') {
            wordStart = true;
            continue;
        }
        if (wordStart) {
            if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {
                out += static_cast<char>(c >= 'a' ? c - 32 : c);
            } else if (c >= 0xC0) {
                size_t len = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
                out += n.substr(i, len);  // a truncated sequence stays truncated
            }
        }
        wordStart = false;
    }
    return out.empty() ? "?" : out;
}

void DeleteProfile(Database& db, const std::string& id) {
    std::erase_if(db.profiles, [&](const Profile& p) { return p.id == id; });
    ErasePrefixOwned(db.activities, id);
    ErasePrefixOwned(db.routes, id);
    ErasePrefixOwned(db.awards, id);
    if (db.settings.activeProfile == id)
        db.settings.activeProfile = db.profiles.empty() ? "" : db.profiles.front().id;
}
