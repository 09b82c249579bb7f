// Streaming writer of the data file. A ten-year history holds millions of
// track points, far more than nlohmann's document tree writes within the time
// a save may take, so the records go straight into the text, in pieces. The
// output is byte for byte what the tree writer in datafile_tree.cpp produces:
// the same layout, nlohmann's own number formatter (or a fast path proven to
// agree with it), nlohmann's replacement of invalid UTF-8.
#include "model/datafile.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <functional>
#include <nlohmann/json.hpp>
#include <string_view>

#include "model/datafile_values.h"

namespace {

// Valid UTF-8 as nlohmann's decoder accepts it: no overlong forms, no
// surrogates, nothing above U+10FFFF.
bool ValidUtf8(std::string_view s) {
    const auto* p = reinterpret_cast<const unsigned char*>(s.data());
    const auto* end = p + s.size();
    while (p < end) {
        const unsigned char c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        auto cont = [&](ptrdiff_t i, unsigned char lo = 0x80, unsigned char hi = 0xBF) {
            return p + i < end && p[i] >= lo && p[i] <= hi;
        };
        if (c >= 0xC2 && c <= 0xDF) {
            if (!cont(1)) return false;
            p += 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            const unsigned char lo = c == 0xE0 ? 0xA0 : 0x80;
            const unsigned char hi = c == 0xED ? 0x9F : 0xBF;
            if (!cont(1, lo, hi) || !cont(2)) return false;
            p += 3;
        } else if (c >= 0xF0 && c <= 0xF4) {
            const unsigned char lo = c == 0xF0 ? 0x90 : 0x80;
            const unsigned char hi = c == 0xF4 ? 0x8F : 0xBF;
            if (!cont(1, lo, hi) || !cont(2) || !cont(3)) return false;
            p += 4;
        } else {
            return false;
        }
    }
    return true;
}

// Writes k / 10^6 (a coordinate after rounding to six decimals) exactly as
// nlohmann's formatter (Grisu2) prints the double d nearest to it, roughly ten
// times faster. Grisu2 prints the shortest decimal inside the rounding interval
// of d (half a unit in the last place each side), narrowed by a few 2^-64
// units of its 64-bit arithmetic, under 1 % of the half width. When k / 10^6
// lies within 0.48 units in the last place of d (measured exactly with fma),
// it is inside that interval, and since every other decimal of at most as many
// digits is at least 10^-6 away while the interval is far narrower, Grisu2's
// answer is the digits of k without trailing zeros. Anything else (near zero,
// large, powers of two, close to the edge: a few percent) returns false and
// takes nlohmann's own formatter.
bool FastCoordinate(int64_t k, char*& out) {
    const uint64_t mag = k < 0 ? static_cast<uint64_t>(-k) : static_cast<uint64_t>(k);
    if (mag < 1000 || mag >= 1000000000000ULL) return false;  // |d| in [1e-3, 1e6)
    const double a = static_cast<double>(mag) / 1e6;
    const auto bits = std::bit_cast<uint64_t>(a);
    if ((bits & ((uint64_t{1} << 52) - 1)) == 0) return false;  // a power of two: the gap below is half as wide
    const double ulp = std::bit_cast<double>(((bits >> 52) - 52) << 52);
    const double err = std::fabs(std::fma(a, 1e6, -static_cast<double>(mag)));  // exact: a * 10^6 - |k|
    if (!(err <= 0.48 * ulp * 1e6)) return false;

    char tmp[24];
    const int n = static_cast<int>(std::to_chars(tmp, tmp + sizeof tmp, mag).ptr - tmp);
    char* p = out;
    if (k < 0) *p++ = '-';
    const int intLen = n - 6;
    if (intLen > 0) {
        std::memcpy(p, tmp, static_cast<size_t>(intLen));
        p += intLen;
    } else {
        *p++ = '0';
    }
    *p++ = '.';
    for (int i = intLen; i < 0; ++i) *p++ = '0';
    const int fracStart = intLen > 0 ? intLen : 0;
    int fracEnd = n;
    while (fracEnd > fracStart && tmp[fracEnd - 1] == '0') --fracEnd;
    if (fracEnd == fracStart) {
        *p++ = '0';  // a whole number keeps ".0"
    } else {
        std::memcpy(p, tmp + fracStart, static_cast<size_t>(fracEnd - fracStart));
        p += fracEnd - fracStart;
    }
    out = p;
    return true;
}

// Destination of the writer: it hands over the text in pieces of about a
// megabyte, so a save streams into the file without first building the whole
// text in memory.
class Sink {
public:
    virtual ~Sink() = default;
    virtual void Write(const char* data, size_t size) = 0;
};

class CallbackSink : public Sink {
public:
    explicit CallbackSink(const std::function<bool(const char*, size_t)>& write) : write_(write) {}
    void Write(const char* data, size_t size) override {
        if (ok_ && size > 0) ok_ = write_(data, size);
    }
    bool ok() const { return ok_; }

private:
    const std::function<bool(const char*, size_t)>& write_;
    bool ok_ = true;
};

class StringSink : public Sink {
public:
    explicit StringSink(std::string& out) : out_(out) {}
    void Write(const char* data, size_t size) override { out_.append(data, size); }

private:
    std::string& out_;
};

// Pretty printer with nlohmann's layout: one space per level, a newline before
// every member or element, "[]" and "{}" for empty containers.
class Writer {
public:
    explicit Writer(Sink& sink) : sink_(sink), buf_(kChunk) {
        pos_ = buf_.data();
        end_ = buf_.data() + buf_.size();
    }
    void Finish() {
        sink_.Write(buf_.data(), static_cast<size_t>(pos_ - buf_.data()));
        pos_ = buf_.data();
    }

    void BeginObject() { Open('{'); }
    void BeginArray() { Open('['); }
    void EndObject() { Close('}'); }
    void EndArray() { Close(']'); }
    // Members must be written in ascending key order, as nlohmann sorts them.
    Writer& Key(std::string_view key) {
        Separate();
        Put('"');
        Put(key.data(), key.size());
        Put("\": ", 3);
        return *this;
    }
    Writer& Element() {
        Separate();
        return *this;
    }

    void Int(int64_t v) {
        Need(24);
        pos_ = std::to_chars(pos_, end_, v).ptr;
    }
    void Double(double v) {
        Need(64);
        if (!std::isfinite(v)) {
            Put("null", 4);
        } else {
            pos_ = nlohmann::detail::to_chars(pos_, end_, v);
        }
    }
    // A coordinate rounded to six decimals, halves away from zero (Round6).
    void Coordinate(double v) {
        Need(64);
        const double s = v * 1e6;
        if (std::fabs(s) < 1e15) {
            // std::round without the library call; s - k is exact here.
            auto k = static_cast<int64_t>(s);
            const double frac = s - static_cast<double>(k);
            if (frac >= 0.5) {
                ++k;
            } else if (frac <= -0.5) {
                --k;
            }
            if (FastCoordinate(k, pos_)) return;
        }
        Double(datafile::Round6(v));
    }
    void Bool(bool v) {
        if (v) {
            Put("true", 4);
        } else {
            Put("false", 5);
        }
    }
    void String(const std::string& s) {
        if (!ValidUtf8(s)) {
            // Rare: nlohmann puts in its replacement characters.
            const std::string t =
                nlohmann::json(s).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
            Put(t.data(), t.size());
            return;
        }
        Put('"');
        size_t run = 0;
        for (size_t i = 0; i < s.size(); ++i) {
            const unsigned char c = static_cast<unsigned char>(s[i]);
            if (c >= 0x20 && c != '"' && c != '\\') continue;
            Put(s.data() + run, i - run);
            run = i + 1;
            switch (c) {
                case '"': Put("\\\"", 2); break;
                case '\\': Put("\\\\", 2); break;
                case '\b': Put("\\b", 2); break;
                case '\t': Put("\\t", 2); break;
                case '\n': Put("\\n", 2); break;
                case '\f': Put("\\f", 2); break;
                case '\r': Put("\\r", 2); break;
                default: {
                    static const char hex[] = "0123456789abcdef";
                    const char esc[6] = {'\\', 'u', '0', '0', hex[c >> 4], hex[c & 15]};
                    Put(esc, 6);
                }
            }
        }
        Put(s.data() + run, s.size() - run);
        Put('"');
    }

    // A list of [latitude, longitude] pairs. This is most of the file, so
    // each pair is written in one go with the same layout as Element(),
    // BeginArray() and EndArray() would give.
    void Pairs(const std::vector<LatLon>& pts) {
        BeginArray();
        const auto d = static_cast<size_t>(depth_);
        std::string head = "\n" + std::string(d, ' ') + "[\n" + std::string(d + 1, ' ');
        std::string mid = ",\n" + std::string(d + 1, ' ');
        std::string tail = "\n" + std::string(d, ' ') + "]";
        bool first = true;
        for (const LatLon& p : pts) {
            if (!datafile::PairWritable(p)) continue;
            Need(256);
            if (!first) *pos_++ = ',';
            first = false;
            pos_ = std::copy(head.begin(), head.end(), pos_);
            Coordinate(p.lat);
            pos_ = std::copy(mid.begin(), mid.end(), pos_);
            Coordinate(p.lon);
            pos_ = std::copy(tail.begin(), tail.end(), pos_);
        }
        empty_[depth_ - 1] = first;
        EndArray();
    }

private:
    static constexpr size_t kChunk = size_t{1} << 20;
    static constexpr int kMaxDepth = 8;

    void Need(size_t n) {
        if (static_cast<size_t>(end_ - pos_) < n) Finish();
    }
    void Put(char c) {
        Need(1);
        *pos_++ = c;
    }
    void Put(const char* data, size_t size) {
        while (size > 0) {
            if (pos_ == end_) Finish();
            const size_t n = std::min(size, static_cast<size_t>(end_ - pos_));
            std::memcpy(pos_, data, n);
            pos_ += n;
            data += n;
            size -= n;
        }
    }
    void NewLine(int indent) {
        Need(kMaxDepth + 1);
        *pos_++ = '\n';
        std::memset(pos_, ' ', static_cast<size_t>(indent));
        pos_ += indent;
    }
    void Open(char c) {
        Put(c);
        empty_[depth_++] = true;
    }
    void Separate() {
        if (!empty_[depth_ - 1]) Put(',');
        empty_[depth_ - 1] = false;
        NewLine(depth_);
    }
    void Close(char c) {
        --depth_;
        if (!empty_[depth_]) NewLine(depth_);
        Put(c);
    }

    Sink& sink_;
    std::vector<char> buf_;
    char* pos_ = nullptr;
    char* end_ = nullptr;
    bool empty_[kMaxDepth] = {};
    int depth_ = 0;
};

void WriteProfile(Writer& w, const Profile& p) {
    w.BeginObject();
    w.Key("address").BeginObject();
    w.Key("city").String(p.city);
    w.Key("country").String(p.country);
    w.Key("street").String(p.street);
    w.Key("zip").String(p.zip);
    w.EndObject();
    w.Key("birthDay").Int(p.birthDay);
    w.Key("birthMonth").Int(p.birthMonth);
    w.Key("birthYear").Int(p.birthYear);
    w.Key("color").Int(p.color);
    w.Key("createdAt").Int(p.createdAt);
    w.Key("gender").String(p.gender);
    w.Key("hasHome").Bool(p.hasHome);
    w.Key("heightCm").Double(p.heightCm);
    const LatLon home = datafile::WritableHome(p.home);
    w.Key("home").BeginArray();
    w.Element().Double(home.lat);
    w.Element().Double(home.lon);
    w.EndArray();
    w.Key("id").String(p.id);
    w.Key("name").String(p.name);
    w.Key("restingHr").Int(p.restingHr);
    w.Key("shoes").BeginArray();
    for (const Shoe& s : p.shoes) {
        w.Element().BeginObject();
        w.Key("id").String(s.id);
        w.Key("limitKm").Double(s.limitKm);
        w.Key("name").String(s.name);
        w.Key("retired").Bool(s.retired);
        w.EndObject();
    }
    w.EndArray();
    w.Key("strava").BeginObject();
    w.Key("accessToken").String(p.strava.accessToken);
    w.Key("athlete").String(p.strava.athlete);
    w.Key("expiresAt").Int(p.strava.expiresAt);
    w.Key("lastSync").Int(p.strava.lastSync);
    w.Key("refreshToken").String(p.strava.refreshToken);
    w.EndObject();
    w.Key("weeklyGoalKm").Double(p.weeklyGoalKm);
    w.Key("weightKg").Double(p.weightKg);
    w.Key("weightLog").BeginArray();
    for (const WeightEntry& e : p.weightLog) {
        w.Element().BeginObject();
        w.Key("date").Int(e.date);
        w.Key("kg").Double(e.kg);
        w.EndObject();
    }
    w.EndArray();
    w.Key("yearlyGoalKm").Double(p.yearlyGoalKm);
    w.EndObject();
}

void WriteActivity(Writer& w, const Activity& a) {
    w.BeginObject();
    w.Key("avgHr").Int(a.avgHr);
    w.Key("calories").Double(a.calories);
    w.Key("caloriesManual").Bool(a.caloriesManual);
    w.Key("distanceKm").Double(a.distanceKm);
    w.Key("durationSec").Double(a.durationSec);
    w.Key("elevationGain").Double(a.elevationGain);
    w.Key("externalId").String(a.externalId);
    w.Key("feel").Int(a.feel);
    w.Key("id").String(a.id);
    w.Key("notes").String(a.notes);
    w.Key("profileId").String(a.profileId);
    w.Key("routeId").String(a.routeId);
    w.Key("shoeId").String(a.shoeId);
    w.Key("source").String(a.source);
    w.Key("sport").Int(a.sport);
    w.Key("start").Int(a.start);
    w.Key("title").String(a.title);
    w.Key("track").Pairs(a.track);
    w.Key("weightKg").Double(a.weightKg);
    w.EndObject();
}

void WriteRoute(Writer& w, const Route& r) {
    w.BeginObject();
    w.Key("createdAt").Int(r.createdAt);
    w.Key("distanceKm").Double(r.distanceKm);
    w.Key("elevationGain").Double(r.elevationGain);
    w.Key("elevations").BeginArray();
    for (double e : r.elevations) w.Element().Double(datafile::WritableElevation(e));
    w.EndArray();
    w.Key("favorite").Bool(r.favorite);
    w.Key("id").String(r.id);
    w.Key("name").String(r.name);
    w.Key("points").Pairs(r.points);
    w.Key("profileId").String(r.profileId);
    w.Key("snapped").Bool(r.snapped);
    w.Key("waypoints").Pairs(r.waypoints);
    w.EndObject();
}

void WriteAward(Writer& w, const Award& a) {
    w.BeginObject();
    w.Key("activityId").String(a.activityId);
    w.Key("at").Int(a.at);
    w.Key("id").String(a.id);
    w.Key("key").String(a.key);
    w.Key("name").String(a.name);
    w.Key("profileId").String(a.profileId);
    w.Key("tier").Int(a.tier);
    w.EndObject();
}

void WriteSettings(Writer& w, const Settings& s) {
    w.BeginObject();
    w.Key("accent").Int(s.accent);
    w.Key("activeProfile").String(s.activeProfile);
    w.Key("animations").Bool(s.animations);
    w.Key("autostart").Bool(s.autostart);
    w.Key("closeToTray").Bool(s.closeToTray);
    w.Key("lastReminderDate").String(s.lastReminderDate);
    w.Key("mapStyle").Int(s.mapStyle);
    w.Key("onboardingDone").Bool(s.onboardingDone);
    w.Key("reminderDays").BeginArray();
    for (bool d : s.reminderDays) w.Element().Bool(d);
    w.EndArray();
    w.Key("reminderEnabled").Bool(s.reminderEnabled);
    w.Key("reminderHour").Int(s.reminderHour);
    w.Key("reminderMinute").Int(s.reminderMinute);
    w.Key("reminderSkipIfDone").Bool(s.reminderSkipIfDone);
    w.Key("sounds").Bool(s.sounds);
    w.Key("speakMotivation").Bool(s.speakMotivation);
    w.Key("speechRate").Double(s.speechRate);
    w.Key("stravaClientId").String(s.stravaClientId);
    w.Key("stravaClientSecret").String(s.stravaClientSecret);
    w.Key("trayHintShown").Bool(s.trayHintShown);
    w.Key("voiceId").String(s.voiceId);
    w.EndObject();
}

// Room for the whole text, so that the result string does not grow in steps.
size_t EstimatedSize(const Database& db) {
    size_t n = 4096 + db.profiles.size() * 1024 + db.awards.size() * 256;
    for (const Profile& p : db.profiles) n += (p.weightLog.size() + p.shoes.size()) * 120;
    for (const Activity& a : db.activities) n += 800 + a.notes.size() + a.title.size() + a.track.size() * 44;
    for (const Route& r : db.routes) {
        n += 600 + (r.points.size() + r.waypoints.size()) * 44 + r.elevations.size() * 28;
    }
    return n;
}

void WriteDatabase(Writer& w, const Database& db) {
    w.BeginObject();
    w.Key("activities").BeginArray();
    for (const Activity& a : db.activities) WriteActivity(w.Element(), a);
    w.EndArray();
    w.Key("app").String("Stridely");
    w.Key("awards").BeginArray();
    for (const Award& a : db.awards) WriteAward(w.Element(), a);
    w.EndArray();
    w.Key("profiles").BeginArray();
    for (const Profile& p : db.profiles) WriteProfile(w.Element(), p);
    w.EndArray();
    w.Key("routes").BeginArray();
    for (const Route& r : db.routes) WriteRoute(w.Element(), r);
    w.EndArray();
    w.Key("settings");
    WriteSettings(w, db.settings);
    w.Key("version").Int(1);
    w.EndObject();
    w.Finish();
}

}  // namespace

std::string SerializeDatabase(const Database& db) {
    std::string out;
    out.reserve(EstimatedSize(db));
    StringSink sink(out);
    Writer w(sink);
    WriteDatabase(w, db);
    return out;
}

bool StreamDatabase(const Database& db, const std::function<bool(const char*, size_t)>& write) {
    CallbackSink sink(write);
    Writer w(sink);
    WriteDatabase(w, db);
    return sink.ok();
}

