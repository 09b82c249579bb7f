// Streaming reader of the data file. It reads the text straight into records
// (a ten-year history holds millions of track points; nlohmann's document tree
// needs seconds and a gigabyte for them) and gives exactly the result of the
// tree reader in datafile_tree.cpp:
// - the same JSON is accepted: nlohmann's grammar, strict UTF-8 in strings,
//   a leading byte-order mark, the text ending at a NUL byte, and a number that
//   overflows a double rejected;
// - a key given twice counts with its last value, as in nlohmann's objects
//   (so every key first resets its field to the default);
// - record lists holding an object are read from its member values in key
//   order, a scalar as one element, null as none;
// - the tolerant getters and the strict coordinate pairs as in the tree reader.
#include <charconv>
#include <exception>
#include <cmath>
#include <cstring>
#include <map>
#include <optional>
#include <string_view>
#include <vector>

#include "model/datafile.h"
#include "model/datafile_values.h"

namespace {

struct Number {
    enum Kind { Integer, Unsigned, Float } kind = Integer;
    int64_t i = 0;
    uint64_t u = 0;
    double f = 0.0;
    double AsDouble() const {
        switch (kind) {
            case Integer: return static_cast<double>(i);
            case Unsigned: return static_cast<double>(u);
            default: return f;
        }
    }
};

// Any value; strings are only checked, containers only skipped.
struct Scalar {
    enum Type { Null, Bool, Num, Str, Container } type = Null;
    bool b = false;
    Number n;
};

constexpr double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                             1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

class Parser {
public:
    Parser(const char* begin, const char* end) : p_(begin), end_(end) {}

    std::vector<LatLon> pairScratch;  // see ReadPairs

    char Peek() {
        while (p_ < end_ && (*p_ == ' ' || *p_ == '\n' || *p_ == '\r' || *p_ == '\t')) ++p_;
        return p_ < end_ ? *p_ : '\0';
    }
    bool AtEnd() { return Peek() == '\0' && p_ == end_; }
    bool Expect(char c) {
        if (Peek() != c) return false;
        ++p_;
        return true;
    }
    void Advance() { ++p_; }

    // Calls member(key) for every member of the object at the cursor; member
    // must consume the value.
    template <class F>
    bool Members(F&& member) {
        if (!Expect('{')) return false;
        if (Peek() == '}') {
            ++p_;
            return true;
        }
        std::string key;
        for (;;) {
            if (Peek() != '"' || !String(&key) || !Expect(':')) return false;
            if (!member(std::string_view(key))) return false;
            const char c = Peek();
            ++p_;
            if (c == '}') return true;
            if (c != ',') return false;
        }
    }

    // Calls element() for every element of the array at the cursor.
    template <class F>
    bool Elements(F&& element) {
        if (!Expect('[')) return false;
        if (Peek() == ']') {
            ++p_;
            return true;
        }
        for (;;) {
            if (!element()) return false;
            const char c = Peek();
            ++p_;
            if (c == ']') return true;
            if (c != ',') return false;
        }
    }

    // A string at the cursor, decoded into *out when out is not null.
    bool String(std::string* out) {
        if (out) out->clear();
        ++p_;  // the opening quote
        for (;;) {
            const char* run = p_;
            while (p_ < end_) {
                const auto c = static_cast<unsigned char>(*p_);
                if (c == '"' || c == '\\' || c < 0x20 || c >= 0x80) break;
                ++p_;
            }
            if (out) out->append(run, p_);
            if (p_ >= end_) return false;
            const auto c = static_cast<unsigned char>(*p_);
            if (c == '"') {
                ++p_;
                return true;
            }
            if (c < 0x20) return false;  // control characters must be escaped
            if (c == '\\') {
                if (!Escape(out)) return false;
                continue;
            }
            const char* start = p_;
            if (!Utf8Sequence()) return false;
            if (out) out->append(start, p_);
        }
    }

    // A number at the cursor, with nlohmann's grammar and conversions.
    bool ParseNumber(Number& n) {
        const char* start = p_;
        const bool negative = *p_ == '-';
        if (negative) ++p_;
        uint64_t mantissa = 0;
        int digits = 0;       // significant digits gathered into mantissa
        int dropped = 0;      // integer digits that no longer fit
        bool exact = true;    // mantissa holds every digit
        auto digit = [&](char ch) {
            if (mantissa == 0 && ch == '0') return;  // leading zeros
            if (digits < 19) {
                mantissa = mantissa * 10 + static_cast<uint64_t>(ch - '0');
                ++digits;
            } else {
                exact = false;
                ++dropped;
            }
        };
        if (p_ >= end_ || !IsDigit(*p_)) return false;
        if (*p_ == '0') {
            ++p_;
        } else {
            while (p_ < end_ && IsDigit(*p_)) digit(*p_++);
        }
        int exp10 = dropped;
        bool isFloat = false;
        if (p_ < end_ && *p_ == '.') {
            isFloat = true;
            ++p_;
            if (p_ >= end_ || !IsDigit(*p_)) return false;
            while (p_ < end_ && IsDigit(*p_)) {
                if (mantissa == 0 && *p_ == '0') {
                    --exp10;  // zeros right after the point only shift the exponent
                } else if (digits < 19) {
                    mantissa = mantissa * 10 + static_cast<uint64_t>(*p_ - '0');
                    ++digits;
                    --exp10;
                } else if (*p_ != '0') {
                    exact = false;  // digits beyond what the mantissa holds
                }
                ++p_;
            }
        }
        if (p_ < end_ && (*p_ == 'e' || *p_ == 'E')) {
            isFloat = true;
            ++p_;
            bool expNegative = false;
            if (p_ < end_ && (*p_ == '+' || *p_ == '-')) expNegative = *p_++ == '-';
            if (p_ >= end_ || !IsDigit(*p_)) return false;
            int64_t e = 0;
            while (p_ < end_ && IsDigit(*p_)) {
                if (e < 100000000) e = e * 10 + (*p_ - '0');
                ++p_;
            }
            exp10 += static_cast<int>(expNegative ? -e : e);
        }
        const char* stop = p_;

        if (!isFloat) {
            if (negative) {
                int64_t v = 0;
                auto r = std::from_chars(start, stop, v);
                if (r.ec == std::errc() && r.ptr == stop) {
                    n.kind = Number::Integer;
                    n.i = v;
                    return true;
                }
            } else {
                uint64_t v = 0;
                auto r = std::from_chars(start, stop, v);
                if (r.ec == std::errc() && r.ptr == stop) {
                    n.kind = Number::Unsigned;
                    n.u = v;
                    return true;
                }
            }
        }
        n.kind = Number::Float;
        // Exact fast path: both operands are exact doubles, so one IEEE
        // operation rounds correctly, as strtod does.
        if (exact && mantissa <= (uint64_t{1} << 53) && exp10 >= -22 && exp10 <= 22) {
            double v = static_cast<double>(mantissa);
            v = exp10 < 0 ? v / kPow10[-exp10] : v * kPow10[exp10];
            n.f = negative ? -v : v;
            return true;
        }
        double v = 0.0;
        auto r = std::from_chars(start, stop, v);
        if (r.ec == std::errc::result_out_of_range) {
            // Too small rounds to zero like strtod; too large is an error, as
            // nlohmann refuses numbers that overflow.
            const int magnitude = exp10 + digits;
            if (mantissa == 0 || magnitude < 0) {
                n.f = negative ? -0.0 : 0.0;
                return true;
            }
            return false;
        }
        if (r.ec != std::errc() || r.ptr != stop || !std::isfinite(v)) return false;
        n.f = v;
        return true;
    }

    // Any value at the cursor.
    bool ReadScalar(Scalar& s) {
        switch (Peek()) {
            case '"':
                s.type = Scalar::Str;
                return String(nullptr);
            case 't':
                s.type = Scalar::Bool;
                s.b = true;
                return Literal("true");
            case 'f':
                s.type = Scalar::Bool;
                s.b = false;
                return Literal("false");
            case 'n':
                s.type = Scalar::Null;
                return Literal("null");
            case '[':
            case '{':
                s.type = Scalar::Container;
                return Skip();
            default:
                s.type = Scalar::Num;
                return ParseNumber(s.n);
        }
    }

    // Checks and passes over any value, without recursion (nesting depth is
    // only limited by memory, as in nlohmann's parser).
    bool Skip() {
        std::vector<char> stack;
        for (;;) {
            // a value is expected here
            const char c = Peek();
            bool closed = false;
            if (c == '{' || c == '[') {
                ++p_;
                const char close = c == '{' ? '}' : ']';
                if (Peek() == close) {
                    ++p_;
                    closed = true;
                } else {
                    stack.push_back(close);
                    if (close == '}' && !Key()) return false;
                    continue;
                }
            }
            if (!closed) {
                Scalar s;
                if (c == '{' || c == '[' || c == '\0' || !ReadScalar(s)) return false;
            }
            // after a value
            for (;;) {
                if (stack.empty()) return true;
                const char d = Peek();
                if (d == ',') {
                    ++p_;
                    if (stack.back() == '}' && !Key()) return false;
                    break;
                }
                if (d != stack.back()) return false;
                ++p_;
                stack.pop_back();
            }
        }
    }

private:
    static bool IsDigit(char c) { return c >= '0' && c <= '9'; }

    bool Key() { return Peek() == '"' && String(nullptr) && Expect(':'); }

    bool Literal(const char* word) {
        const size_t len = std::strlen(word);
        if (static_cast<size_t>(end_ - p_) < len || std::memcmp(p_, word, len) != 0) return false;
        p_ += len;
        return true;
    }

    int Hex4() {
        if (end_ - p_ < 4) return -1;
        int v = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = *p_++;
            v <<= 4;
            if (c >= '0' && c <= '9') {
                v |= c - '0';
            } else if (c >= 'a' && c <= 'f') {
                v |= c - 'a' + 10;
            } else if (c >= 'A' && c <= 'F') {
                v |= c - 'A' + 10;
            } else {
                return -1;
            }
        }
        return v;
    }

    bool Escape(std::string* out) {
        ++p_;  // the backslash
        if (p_ >= end_) return false;
        const char c = *p_++;
        char plain = 0;
        switch (c) {
            case '"': plain = '"'; break;
            case '\\': plain = '\\'; break;
            case '/': plain = '/'; break;
            case 'b': plain = '\b'; break;
            case 'f': plain = '\f'; break;
            case 'n': plain = '\n'; break;
            case 'r': plain = '\r'; break;
            case 't': plain = '\t'; break;
            case 'u': break;
            default: return false;
        }
        if (c != 'u') {
            if (out) *out += plain;
            return true;
        }
        int cp = Hex4();
        if (cp < 0) return false;
        if (cp >= 0xD800 && cp <= 0xDBFF) {
            // A high surrogate must be followed by an escaped low one.
            if (end_ - p_ < 2 || p_[0] != '\\' || p_[1] != 'u') return false;
            p_ += 2;
            const int low = Hex4();
            if (low < 0xDC00 || low > 0xDFFF) return false;
            cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
        } else if (cp >= 0xDC00 && cp <= 0xDFFF) {
            return false;
        }
        if (out) AppendUtf8(*out, static_cast<uint32_t>(cp));
        return true;
    }

    static void AppendUtf8(std::string& out, uint32_t cp) {
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }

    // One multi-byte UTF-8 character at the cursor, with the ranges nlohmann
    // accepts (no overlong forms, no surrogates, nothing above U+10FFFF).
    bool Utf8Sequence() {
        const auto c = static_cast<unsigned char>(*p_);
        auto cont = [&](ptrdiff_t i, unsigned char lo = 0x80, unsigned char hi = 0xBF) {
            if (end_ - p_ <= i) return false;
            const auto b = static_cast<unsigned char>(p_[i]);
            return b >= lo && b <= hi;
        };
        if (c >= 0xC2 && c <= 0xDF) {
            if (!cont(1)) return false;
            p_ += 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            if (!cont(1, c == 0xE0 ? 0xA0 : 0x80, c == 0xED ? 0x9F : 0xBF) || !cont(2)) return false;
            p_ += 3;
        } else if (c >= 0xF0 && c <= 0xF4) {
            if (!cont(1, c == 0xF0 ? 0x90 : 0x80, c == 0xF4 ? 0x8F : 0xBF) || !cont(2) || !cont(3)) return false;
            p_ += 4;
        } else {
            return false;
        }
        return true;
    }

    const char* p_;
    const char* end_;
};

// ---- tolerant fields: every occurrence of a key starts from the default ----

bool ReadInt(Parser& ps, int& f, int def) {
    f = def;
    Scalar s;
    if (!ps.ReadScalar(s)) return false;
    if (s.type == Scalar::Bool) {
        f = s.b ? 1 : 0;
    } else if (s.type == Scalar::Num) {
        switch (s.n.kind) {
            case Number::Integer: f = datafile::IntFromInt64(s.n.i); break;
            case Number::Unsigned: f = datafile::IntFromUnsigned(s.n.u); break;
            case Number::Float: f = datafile::IntFromDouble(s.n.f); break;
        }
    }
    return true;
}

bool ReadInt64(Parser& ps, int64_t& f, int64_t def) {
    f = def;
    Scalar s;
    if (!ps.ReadScalar(s)) return false;
    if (s.type == Scalar::Num) {
        switch (s.n.kind) {
            case Number::Integer: f = s.n.i; break;
            case Number::Unsigned: f = datafile::Int64FromUnsigned(s.n.u); break;
            case Number::Float: f = datafile::Int64FromDouble(s.n.f); break;
        }
    }
    return true;
}

bool ReadDouble(Parser& ps, double& f, double def) {
    f = def;
    Scalar s;
    if (!ps.ReadScalar(s)) return false;
    if (s.type == Scalar::Num) f = s.n.AsDouble();
    return true;
}

bool ReadBool(Parser& ps, bool& f, bool def) {
    f = def;
    Scalar s;
    if (!ps.ReadScalar(s)) return false;
    if (s.type == Scalar::Bool) f = s.b;
    return true;
}

bool ReadString(Parser& ps, std::string& f, const std::string& def) {
    if (ps.Peek() == '"') return ps.String(&f);
    f = def;
    return ps.Skip();
}

// Reads a list the way nlohmann iterates a value: an array's elements, an
// object's member values (in key order, the last of equal keys winning), a
// scalar once, null never. one(item, keep, failed) consumes one value.
template <class T, class One>
bool ReadList(Parser& ps, std::vector<T>& out, bool& failed, One one) {
    out.clear();
    failed = false;
    const char c = ps.Peek();
    if (c == '[') {
        return ps.Elements([&] {
            T item{};
            bool keep = true, bad = false;
            if (!one(item, keep, bad)) return false;
            failed = failed || bad;
            if (keep) out.push_back(std::move(item));
            return true;
        });
    }
    if (c == '{') {
        struct Entry {
            T item{};
            bool keep = true;
            bool bad = false;
        };
        std::map<std::string, Entry> members;
        const bool ok = ps.Members([&](std::string_view key) {
            Entry e;
            if (!one(e.item, e.keep, e.bad)) return false;
            members[std::string(key)] = std::move(e);
            return true;
        });
        if (!ok) return false;
        for (auto& [key, e] : members) {
            failed = failed || e.bad;
            if (e.keep) out.push_back(std::move(e.item));
        }
        return true;
    }
    if (c == 'n') {
        Scalar s;
        return ps.ReadScalar(s);
    }
    T item{};
    bool keep = true, bad = false;
    if (!one(item, keep, bad)) return false;
    failed = bad;
    if (keep) out.push_back(std::move(item));
    return true;
}

// One element of "track", "points" or "waypoints": an array of two or more
// entries whose first two are numbers gives a point; any other array of two
// or more is a strict failure; everything else is skipped.
bool ReadPair(Parser& ps, LatLon& point, bool& keep, bool& failed) {
    keep = false;
    if (ps.Peek() != '[') return ps.Skip();
    int count = 0;
    bool numbers = true;
    double v[2] = {0.0, 0.0};
    const bool ok = ps.Elements([&] {
        if (count >= 2) {
            ++count;
            return ps.Skip();
        }
        const char c = ps.Peek();
        if (c == '-' || (c >= '0' && c <= '9')) {
            Number n;
            if (!ps.ParseNumber(n)) return false;
            v[count++] = n.AsDouble();
            return true;
        }
        numbers = false;
        ++count;
        return ps.Skip();
    });
    if (!ok) return false;
    if (count < 2) return true;
    if (!numbers) {
        failed = true;
        return true;
    }
    point = LatLon{v[0], v[1]};
    keep = true;
    return true;
}

bool ReadPairs(Parser& ps, std::vector<LatLon>& out, bool& failed) {
    // Gathered in a buffer kept for the whole parse, then copied once at the
    // exact size: no growing of every track in steps.
    std::vector<LatLon>& scratch = ps.pairScratch;
    const bool ok =
        ReadList(ps, scratch, failed, [&](LatLon& p, bool& keep, bool& bad) { return ReadPair(ps, p, keep, bad); });
    out.assign(scratch.begin(), scratch.end());
    return ok;
}

// Reads an object's members with member(key), or skips a value of any other
// type (which leaves every field at its default).
template <class F>
bool ReadObject(Parser& ps, F&& member) {
    if (ps.Peek() != '{') return ps.Skip();
    return ps.Members(member);
}

// ---- records ----

bool ReadProfile(Parser& ps, Profile& p, bool& failed) {
    static const Profile d;
    bool homeFailed = false;
    const bool ok = ReadObject(ps, [&](std::string_view k) {
        if (k == "id") return ReadString(ps, p.id, d.id);
        if (k == "name") return ReadString(ps, p.name, d.name);
        if (k == "gender") return ReadString(ps, p.gender, d.gender);
        if (k == "birthYear") return ReadInt(ps, p.birthYear, d.birthYear);
        if (k == "birthMonth") return ReadInt(ps, p.birthMonth, d.birthMonth);
        if (k == "birthDay") return ReadInt(ps, p.birthDay, d.birthDay);
        if (k == "heightCm") return ReadDouble(ps, p.heightCm, d.heightCm);
        if (k == "weightKg") return ReadDouble(ps, p.weightKg, d.weightKg);
        if (k == "restingHr") return ReadInt(ps, p.restingHr, d.restingHr);
        if (k == "weeklyGoalKm") return ReadDouble(ps, p.weeklyGoalKm, d.weeklyGoalKm);
        if (k == "yearlyGoalKm") return ReadDouble(ps, p.yearlyGoalKm, d.yearlyGoalKm);
        if (k == "hasHome") return ReadBool(ps, p.hasHome, d.hasHome);
        if (k == "color") return ReadInt(ps, p.color, d.color);
        if (k == "createdAt") return ReadInt64(ps, p.createdAt, d.createdAt);
        if (k == "address") {
            p.street = d.street;
            p.zip = d.zip;
            p.city = d.city;
            p.country = d.country;
            return ReadObject(ps, [&](std::string_view a) {
                if (a == "street") return ReadString(ps, p.street, d.street);
                if (a == "zip") return ReadString(ps, p.zip, d.zip);
                if (a == "city") return ReadString(ps, p.city, d.city);
                if (a == "country") return ReadString(ps, p.country, d.country);
                return ps.Skip();
            });
        }
        if (k == "strava") {
            p.strava = d.strava;
            return ReadObject(ps, [&](std::string_view a) {
                if (a == "accessToken") return ReadString(ps, p.strava.accessToken, d.strava.accessToken);
                if (a == "refreshToken") return ReadString(ps, p.strava.refreshToken, d.strava.refreshToken);
                if (a == "athlete") return ReadString(ps, p.strava.athlete, d.strava.athlete);
                if (a == "expiresAt") return ReadInt64(ps, p.strava.expiresAt, d.strava.expiresAt);
                if (a == "lastSync") return ReadInt64(ps, p.strava.lastSync, d.strava.lastSync);
                return ps.Skip();
            });
        }
        if (k == "home") {
            p.home = d.home;
            homeFailed = false;
            if (ps.Peek() != '[') return ps.Skip();
            int count = 0;
            bool numbers = true;
            double v[2] = {0.0, 0.0};
            const bool ok = ps.Elements([&] {
                Scalar s;
                if (!ps.ReadScalar(s)) return false;
                if (count < 2) {
                    if (s.type == Scalar::Num) {
                        v[count] = s.n.AsDouble();
                    } else {
                        numbers = false;
                    }
                }
                ++count;
                return true;
            });
            if (!ok) return false;
            if (count == 2) {
                if (numbers) {
                    p.home = LatLon{v[0], v[1]};
                } else {
                    homeFailed = true;
                }
            }
            return true;
        }
        if (k == "weightLog") {
            bool unused = false;
            return ReadList(ps, p.weightLog, unused, [&](WeightEntry& w, bool&, bool&) {
                return ReadObject(ps, [&](std::string_view a) {
                    if (a == "date") return ReadInt64(ps, w.date, 0);
                    if (a == "kg") return ReadDouble(ps, w.kg, 0.0);
                    return ps.Skip();
                });
            });
        }
        if (k == "shoes") {
            bool unused = false;
            static const Shoe ds;
            return ReadList(ps, p.shoes, unused, [&](Shoe& s, bool&, bool&) {
                return ReadObject(ps, [&](std::string_view a) {
                    if (a == "id") return ReadString(ps, s.id, ds.id);
                    if (a == "name") return ReadString(ps, s.name, ds.name);
                    if (a == "limitKm") return ReadDouble(ps, s.limitKm, ds.limitKm);
                    if (a == "retired") return ReadBool(ps, s.retired, ds.retired);
                    return ps.Skip();
                });
            });
        }
        return ps.Skip();
    });
    failed = homeFailed;
    return ok;
}

bool ReadActivity(Parser& ps, Activity& a, bool& failed) {
    static const Activity d;
    bool trackFailed = false;
    const bool ok = ReadObject(ps, [&](std::string_view k) {
        if (k == "track") return ReadPairs(ps, a.track, trackFailed);
        if (k == "id") return ReadString(ps, a.id, d.id);
        if (k == "profileId") return ReadString(ps, a.profileId, d.profileId);
        if (k == "sport") return ReadInt(ps, a.sport, d.sport);
        if (k == "start") return ReadInt64(ps, a.start, d.start);
        if (k == "distanceKm") return ReadDouble(ps, a.distanceKm, d.distanceKm);
        if (k == "durationSec") return ReadDouble(ps, a.durationSec, d.durationSec);
        if (k == "elevationGain") return ReadDouble(ps, a.elevationGain, d.elevationGain);
        if (k == "calories") return ReadDouble(ps, a.calories, d.calories);
        if (k == "caloriesManual") return ReadBool(ps, a.caloriesManual, d.caloriesManual);
        if (k == "avgHr") return ReadInt(ps, a.avgHr, d.avgHr);
        if (k == "feel") return ReadInt(ps, a.feel, d.feel);
        if (k == "weightKg") return ReadDouble(ps, a.weightKg, d.weightKg);
        if (k == "title") return ReadString(ps, a.title, d.title);
        if (k == "notes") return ReadString(ps, a.notes, d.notes);
        if (k == "routeId") return ReadString(ps, a.routeId, d.routeId);
        if (k == "shoeId") return ReadString(ps, a.shoeId, d.shoeId);
        if (k == "source") return ReadString(ps, a.source, d.source);
        if (k == "externalId") return ReadString(ps, a.externalId, d.externalId);
        return ps.Skip();
    });
    a.sport = ClampSport(a.sport);
    failed = trackFailed;
    return ok;
}

bool ReadRoute(Parser& ps, Route& r, bool& failed) {
    static const Route d;
    bool waypointsFailed = false, pointsFailed = false;
    const bool ok = ReadObject(ps, [&](std::string_view k) {
        if (k == "points") return ReadPairs(ps, r.points, pointsFailed);
        if (k == "waypoints") return ReadPairs(ps, r.waypoints, waypointsFailed);
        if (k == "elevations") {
            r.elevations.clear();
            if (ps.Peek() != '[') return ps.Skip();
            bool numbers = true;
            const bool ok = ps.Elements([&] {
                Scalar s;
                if (!ps.ReadScalar(s)) return false;
                if (s.type == Scalar::Num) {
                    r.elevations.push_back(s.n.AsDouble());
                } else {
                    numbers = false;
                }
                return true;
            });
            if (!numbers) r.elevations.clear();
            return ok;
        }
        if (k == "id") return ReadString(ps, r.id, d.id);
        if (k == "profileId") return ReadString(ps, r.profileId, d.profileId);
        if (k == "name") return ReadString(ps, r.name, d.name);
        if (k == "distanceKm") return ReadDouble(ps, r.distanceKm, d.distanceKm);
        if (k == "elevationGain") return ReadDouble(ps, r.elevationGain, d.elevationGain);
        if (k == "favorite") return ReadBool(ps, r.favorite, d.favorite);
        if (k == "snapped") return ReadBool(ps, r.snapped, d.snapped);
        if (k == "createdAt") return ReadInt64(ps, r.createdAt, d.createdAt);
        return ps.Skip();
    });
    failed = waypointsFailed || pointsFailed;
    return ok;
}

bool ReadAward(Parser& ps, Award& w) {
    static const Award d;
    return ReadObject(ps, [&](std::string_view k) {
        if (k == "id") return ReadString(ps, w.id, d.id);
        if (k == "profileId") return ReadString(ps, w.profileId, d.profileId);
        if (k == "key") return ReadString(ps, w.key, d.key);
        if (k == "activityId") return ReadString(ps, w.activityId, d.activityId);
        if (k == "name") return ReadString(ps, w.name, d.name);
        if (k == "tier") return ReadInt(ps, w.tier, d.tier);
        if (k == "at") return ReadInt64(ps, w.at, d.at);
        return ps.Skip();
    });
}

bool ReadSettings(Parser& ps, Settings& s) {
    static const Settings d;
    s = d;
    return ReadObject(ps, [&](std::string_view k) {
        if (k == "reminderDays") {
            s.reminderDays = d.reminderDays;
            if (ps.Peek() != '[') return ps.Skip();
            std::vector<bool> days;
            bool bools = true;
            const bool ok = ps.Elements([&] {
                Scalar v;
                if (!ps.ReadScalar(v)) return false;
                if (v.type == Scalar::Bool) {
                    days.push_back(v.b);
                } else {
                    bools = false;
                }
                return true;
            });
            if (ok && bools) {
                for (size_t i = 0; i < days.size() && i < s.reminderDays.size(); ++i) s.reminderDays[i] = days[i];
            }
            return ok;
        }
        if (k == "activeProfile") return ReadString(ps, s.activeProfile, d.activeProfile);
        if (k == "reminderEnabled") return ReadBool(ps, s.reminderEnabled, d.reminderEnabled);
        if (k == "reminderHour") return ReadInt(ps, s.reminderHour, d.reminderHour);
        if (k == "reminderMinute") return ReadInt(ps, s.reminderMinute, d.reminderMinute);
        if (k == "reminderSkipIfDone") return ReadBool(ps, s.reminderSkipIfDone, d.reminderSkipIfDone);
        if (k == "speakMotivation") return ReadBool(ps, s.speakMotivation, d.speakMotivation);
        if (k == "voiceId") return ReadString(ps, s.voiceId, d.voiceId);
        if (k == "speechRate") return ReadDouble(ps, s.speechRate, d.speechRate);
        if (k == "autostart") return ReadBool(ps, s.autostart, d.autostart);
        if (k == "closeToTray") return ReadBool(ps, s.closeToTray, d.closeToTray);
        if (k == "sounds") return ReadBool(ps, s.sounds, d.sounds);
        if (k == "animations") return ReadBool(ps, s.animations, d.animations);
        if (k == "accent") return ReadInt(ps, s.accent, d.accent);
        if (k == "mapStyle") return ReadInt(ps, s.mapStyle, d.mapStyle);
        if (k == "stravaClientId") return ReadString(ps, s.stravaClientId, d.stravaClientId);
        if (k == "stravaClientSecret") return ReadString(ps, s.stravaClientSecret, d.stravaClientSecret);
        if (k == "lastReminderDate") return ReadString(ps, s.lastReminderDate, d.lastReminderDate);
        if (k == "onboardingDone") return ReadBool(ps, s.onboardingDone, d.onboardingDone);
        if (k == "trayHintShown") return ReadBool(ps, s.trayHintShown, d.trayHintShown);
        return ps.Skip();
    });
}

}  // namespace

bool ParseDatabase(const std::string& text, Database& db) { return ParseDatabase(text.data(), text.size(), db); }

namespace {

bool Parse(const char* data, size_t size, Database& db) {
    // nlohmann takes a NUL byte for the end of the input.
    std::string_view view(data, size);
    view = view.substr(0, view.find('\0'));
    const char* begin = view.data();
    const char* end = begin + view.size();
    if (!view.empty() && static_cast<unsigned char>(view[0]) == 0xEF) {
        if (view.size() < 3 || static_cast<unsigned char>(view[1]) != 0xBB ||
            static_cast<unsigned char>(view[2]) != 0xBF) {
            return false;
        }
        begin += 3;
    }
    Parser ps(begin, end);
    if (ps.Peek() != '{') return false;

    Database fresh;
    bool hasProfiles = false;
    bool profilesFailed = false, activitiesFailed = false, routesFailed = false, unused = false;
    const bool ok = ps.Members([&](std::string_view k) {
        if (k == "profiles") {
            hasProfiles = true;
            return ReadList(ps, fresh.profiles, profilesFailed,
                            [&](Profile& p, bool&, bool& bad) { return ReadProfile(ps, p, bad); });
        }
        if (k == "activities") {
            return ReadList(ps, fresh.activities, activitiesFailed,
                            [&](Activity& a, bool&, bool& bad) { return ReadActivity(ps, a, bad); });
        }
        if (k == "routes") {
            return ReadList(ps, fresh.routes, routesFailed,
                            [&](Route& r, bool&, bool& bad) { return ReadRoute(ps, r, bad); });
        }
        if (k == "awards") {
            return ReadList(ps, fresh.awards, unused, [&](Award& w, bool&, bool&) { return ReadAward(ps, w); });
        }
        if (k == "settings") return ReadSettings(ps, fresh.settings);
        return ps.Skip();
    });
    if (!ok || !ps.AtEnd()) return false;
    if (!hasProfiles || profilesFailed || activitiesFailed || routesFailed) return false;
    db = std::move(fresh);
    return true;
}

}  // namespace

bool ParseDatabase(const char* data, size_t size, Database& db) {
    try {
        return Parse(data, size, db);
    } catch (const std::exception&) {
        return false;  // out of memory on an absurd file: a failed load, not a crash
    }
}
