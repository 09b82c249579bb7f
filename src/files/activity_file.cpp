#include "files/activity_file.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

#include "model/format.h"
#include "model/geometry.h"

namespace {

constexpr size_t npos = std::string_view::npos;

bool IsNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '-';
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Drops namespace prefixes from tag names ("<gpxtpx:hr>" -> "<hr>",
// "</ns3:TPX>" -> "</TPX>"), compacting the text in place. Attributes and
// text stay as they are.
void StripNamespacePrefixes(std::string& text) {
    char* data = text.data();
    const size_t size = text.size();
    size_t read = 0;
    size_t write = 0;
    while (read < size) {
        const void* hit = std::memchr(data + read, '<', size - read);
        size_t lt = hit ? static_cast<size_t>(static_cast<const char*>(hit) - data) : size;
        if (write != read) std::memmove(data + write, data + read, lt - read);
        write += lt - read;
        read = lt;
        if (read >= size) break;
        data[write++] = data[read++];  // the "<"
        if (read < size && data[read] == '/') data[write++] = data[read++];
        size_t runEnd = read;
        while (runEnd < size && IsNameChar(data[runEnd])) ++runEnd;
        if (runEnd > read && runEnd < size && data[runEnd] == ':') read = runEnd + 1;
    }
    text.resize(write);
}

// First occurrence of `needle` that begins in [from, before). Never looks at
// more text than such a match can cover, so bounded searches stay linear.
size_t FindBefore(std::string_view doc, std::string_view needle, size_t from, size_t before) {
    before = std::min(before, doc.size());
    if (from >= before) return npos;
    size_t span = std::min(doc.size() - from, before - from + needle.size() - 1);
    size_t p = doc.substr(from, span).find(needle);
    return p == npos ? npos : from + p;
}

// First start tag "<" + name in [from, before) whose name ends right after
// (white space, ">" or "/" follows), so "<trk" never matches "<trkpt".
size_t FindStartTag(std::string_view doc, std::string_view open, size_t from, size_t before) {
    while (true) {
        size_t p = FindBefore(doc, open, from, before);
        if (p == npos) return npos;
        size_t after = p + open.size();
        if (after < doc.size() && (IsSpace(doc[after]) || doc[after] == '>' || doc[after] == '/'))
            return p;
        from = p + 1;
    }
}

// Repeated forward searches for one needle from growing positions. Remembers
// the last answer so that a file without the needle (or with it only far
// ahead) costs one scan in total instead of one per element.
struct ForwardFinder {
    std::string_view doc;
    std::string_view needle;
    size_t lastFrom = npos;
    size_t lastHit = npos;

    size_t Find(size_t from) {
        if (lastFrom != npos && from >= lastFrom && (lastHit == npos || from <= lastHit)) return lastHit;
        lastFrom = from;
        lastHit = doc.find(needle, from);
        return lastHit;
    }
};

std::string_view ElementText(std::string_view doc, size_t from, size_t to, std::string_view tag) {
    to = std::min(to, doc.size());
    // The tag is short; building "<tag" on the stack avoids an allocation per point.
    char open[64];
    if (tag.size() + 1 > sizeof open) return {};
    open[0] = '<';
    std::memcpy(open + 1, tag.data(), tag.size());
    std::string_view needle(open, tag.size() + 1);

    while (true) {
        size_t p = FindBefore(doc, needle, from, to);
        if (p == npos) return {};
        size_t after = p + needle.size();
        if (after < doc.size() && (doc[after] == '>' || IsSpace(doc[after]))) {
            size_t gt = FindBefore(doc, ">", after, to);
            if (gt == npos) return {};
            size_t lt = FindBefore(doc, "<", gt + 1, to == doc.size() ? to : to + 1);
            if (lt == npos) return {};
            return doc.substr(gt + 1, lt - gt - 1);
        }
        from = p + 1;
    }
}

bool ElementNumber(std::string_view doc, size_t from, size_t to, std::string_view tag, double& out) {
    std::string_view text = ElementText(doc, from, to, tag);
    return !text.empty() && ParseXmlNumber(text, out);
}

// The strict form devices write ("2024-05-01T06:30:00Z", with optional
// fraction and "+02:00" style zone) computed directly; anything else goes to
// ParseIsoTime, with which this agrees on every text it accepts. Saves the
// formatted scanning on files with hundreds of thousands of points.
bool FastIsoTime(std::string_view t, int64_t& out) {
    auto digits = [&](size_t at, size_t n, int& v) {
        if (at + n > t.size()) return false;
        v = 0;
        for (size_t i = at; i < at + n; ++i) {
            if (t[i] < '0' || t[i] > '9') return false;
            v = v * 10 + (t[i] - '0');
        }
        return true;
    };
    int year, month, day, hour, minute, second;
    if (t.size() < 19 || t[4] != '-' || t[7] != '-' || t[10] != 'T' || t[13] != ':' || t[16] != ':') return false;
    if (!digits(0, 4, year) || !digits(5, 2, month) || !digits(8, 2, day) || !digits(11, 2, hour) ||
        !digits(14, 2, minute) || !digits(17, 2, second))
        return false;
    if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 59) return false;
    size_t i = 19;
    if (i < t.size() && t[i] == '.') {
        ++i;
        size_t fractionStart = i;
        while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i;
        if (i == fractionStart) return false;
    }
    int64_t offset = 0;
    if (i < t.size() && t[i] == 'Z') {
        ++i;
    } else if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
        int zh, zm;
        if (i + 6 != t.size() || !digits(i + 1, 2, zh) || t[i + 3] != ':' || !digits(i + 4, 2, zm)) return false;
        offset = (t[i] == '+' ? 1 : -1) * 60LL * (zh * 60 + zm);
        i += 6;
    }
    if (i != t.size()) return false;
    out = DaysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second - offset;
    return true;
}

struct Collected {
    std::vector<LatLon> track;
    std::vector<double> elevations;
    std::vector<int64_t> times;
    double hrSum = 0.0;
    long long hrCount = 0;

    void AddTime(std::string_view text) {
        if (text.empty()) return;
        times.push_back(ParseTrackTime(text));
    }
    void AddHeartRate(double hr) {
        // A plausible range keeps a corrupt value from dominating the average
        // (or overflowing it); 0 is what some devices write without contact.
        if (hr >= 0.0 && hr <= 300.0) {
            hrSum += hr;
            ++hrCount;
        }
    }
    void AddPoint(double lat, double lon) {
        if (lat >= -90.0 && lat <= 90.0 && lon >= -180.0 && lon <= 180.0) track.push_back({lat, lon});
    }
};

// The tag whose "<" is at lt: its name (after an optional "/") and where the
// name ends.
struct TagAt {
    std::string_view name;
    bool closing = false;
    size_t nameEnd = 0;
};

TagAt TagNameAt(std::string_view doc, size_t lt) {
    TagAt t;
    size_t i = lt + 1;
    if (i < doc.size() && doc[i] == '/') {
        t.closing = true;
        ++i;
    }
    size_t from = i;
    while (i < doc.size() && IsNameChar(doc[i])) ++i;
    t.name = doc.substr(from, i - from);
    t.nameEnd = i;
    return t;
}

bool NameEndsAt(std::string_view doc, size_t i) {
    return i < doc.size() && (IsSpace(doc[i]) || doc[i] == '>' || doc[i] == '/');
}

size_t FindChar(std::string_view doc, char c, size_t from) {
    if (from >= doc.size()) return npos;
    const void* hit = std::memchr(doc.data() + from, c, doc.size() - from);
    return hit ? static_cast<size_t>(static_cast<const char*>(hit) - doc.data()) : npos;
}

// GPX points in one pass over the tags: a point's body runs from its start
// tag to its closing tag (or to the next point), and its first "ele", "time"
// and "hr" elements are read on the way. A body whose closing tag is missing
// from the rest of the file does not count. Each byte is looked at a bounded
// number of times, so even a 200 MB file reads at memory speed.
void ReadGpxPoints(std::string_view doc, std::string_view name, std::string_view open, std::string_view close,
                   Collected& c) {
    ForwardFinder closing{doc, close};
    size_t p = FindStartTag(doc, open, 0, npos);
    while (p != npos) {
        // The start tag ends at its ">"; one cut off by a "<" or the end of
        // the text (a truncated file) still gives its attributes.
        size_t i = p + open.size();
        while (i < doc.size() && doc[i] != '>' && doc[i] != '<') ++i;
        double lat = 0.0;
        double lon = 0.0;
        bool hasLat = XmlAttributeNumber(doc, p, i, "lat", lat);
        bool hasLon = XmlAttributeNumber(doc, p, i, "lon", lon);

        size_t next = npos;
        size_t resume = i;
        if (i < doc.size() && doc[i] == '>' && doc[i - 1] != '/') {
            std::string_view ele;
            std::string_view time;
            std::string_view hr;
            bool hasEle = false, hasTime = false, hasHr = false;
            bool valid = false;
            size_t cur = i + 1;
            while (true) {
                size_t lt = FindChar(doc, '<', cur);
                if (lt == npos) {
                    resume = doc.size();
                    break;
                }
                TagAt t = TagNameAt(doc, lt);
                if (t.closing && t.name.starts_with(name)) {
                    valid = true;
                    resume = t.nameEnd;
                    break;
                }
                if (!t.closing && t.name == name && NameEndsAt(doc, t.nameEnd)) {
                    next = lt;
                    valid = closing.Find(lt) != npos;
                    break;
                }
                cur = lt + 1;
                if (t.closing || t.nameEnd >= doc.size() || (doc[t.nameEnd] != '>' && !IsSpace(doc[t.nameEnd])))
                    continue;
                std::string_view* slot = nullptr;
                bool* seen = nullptr;
                if (t.name == "ele") slot = &ele, seen = &hasEle;
                else if (t.name == "time") slot = &time, seen = &hasTime;
                else if (t.name == "hr") slot = &hr, seen = &hasHr;
                if (!slot || *seen) continue;
                size_t gt = t.nameEnd;
                while (gt < doc.size() && doc[gt] != '>' && doc[gt] != '<') ++gt;
                if (gt >= doc.size() || doc[gt] != '>') continue;
                size_t textEnd = FindChar(doc, '<', gt + 1);
                if (textEnd == npos) continue;  // text running into the end of the file
                *slot = doc.substr(gt + 1, textEnd - gt - 1);
                *seen = true;
                cur = textEnd;
            }
            if (valid) {
                double v = 0.0;
                if (hasEle && ParseXmlNumber(ele, v)) c.elevations.push_back(v);
                if (hasTime) c.AddTime(time);
                if (hasHr && ParseXmlNumber(hr, v)) c.AddHeartRate(v);
            }
        }
        if (hasLat && hasLon) c.AddPoint(lat, lon);
        p = next != npos ? next : FindStartTag(doc, open, std::max(resume, p + open.size()), npos);
    }
}

void ReadGpx(std::string_view doc, ParsedActivity& r, Collected& c) {
    std::string_view type = ElementText(doc, 0, npos, "type");
    if (!type.empty()) r.sport = GuessSport(type);

    size_t trk = doc.find("<trk");
    if (trk != npos) r.name = ToValidUtf8(ElementText(doc, trk, npos, "name"));

    // A route (planned, or exported by a phone app) when there is no track.
    if (FindStartTag(doc, "<trkpt", 0, npos) != npos)
        ReadGpxPoints(doc, "trkpt", "<trkpt", "</trkpt", c);
    else
        ReadGpxPoints(doc, "rtept", "<rtept", "</rtept", c);
}

void ReadTcx(std::string_view doc, ParsedActivity& r, Collected& c) {
    size_t activity = doc.find("<Activity ");
    if (activity != npos) {
        size_t sport = doc.find("Sport=", activity);
        if (sport != npos) {
            size_t q = sport + 6;
            if (q < doc.size() && (doc[q] == '"' || doc[q] == '\'')) ++q;
            r.sport = GuessSport(doc.substr(std::min(q, doc.size()), 12));
        }
    }

    ForwardFinder closing{doc, "</Trackpoint>"};
    size_t p = FindStartTag(doc, "<Trackpoint", 0, npos);
    while (p != npos) {
        size_t next = FindStartTag(doc, "<Trackpoint", p + 11, npos);
        size_t end = closing.Find(p);
        if (end == npos) end = doc.size();  // a truncated file: read what is there
        if (next != npos && next < end) end = next;

        double lat = 0.0;
        double lon = 0.0;
        bool hasLat = ElementNumber(doc, p, end, "LatitudeDegrees", lat);
        bool hasLon = ElementNumber(doc, p, end, "LongitudeDegrees", lon);
        if (hasLat && hasLon) c.AddPoint(lat, lon);
        double v = 0.0;
        if (ElementNumber(doc, p, end, "AltitudeMeters", v)) c.elevations.push_back(v);
        c.AddTime(ElementText(doc, p, end, "Time"));
        size_t hr = FindBefore(doc, "<HeartRateBpm", p, end);
        if (hr != npos && ElementNumber(doc, hr, end, "Value", v)) c.AddHeartRate(v);
        p = next;
    }

    ForwardFinder track{doc, "<Track"};
    double meters = 0.0;
    size_t lap = doc.find("<Lap ");
    while (lap != npos) {
        size_t nextLap = doc.find("<Lap ", lap + 5);
        size_t to = track.Find(lap);
        if (to == npos) to = doc.size();
        if (nextLap != npos && nextLap < to) to = nextLap;
        double v = 0.0;
        if (ElementNumber(doc, lap, to, "DistanceMeters", v) && v > 0.0) meters += v;
        lap = nextLap;
    }
    if (meters > 0.0) r.distanceKm = meters / 1000.0;
}

}  // namespace

int64_t ParseTrackTime(std::string_view text) {
    int64_t t = 0;
    return FastIsoTime(text, t) ? t : ParseIsoTime(std::string(text));
}

bool ParseXmlNumber(std::string_view text, double& out) {
    size_t i = 0;
    while (i < text.size() && IsSpace(text[i])) ++i;
    if (i < text.size() && text[i] == '+') ++i;
    double v = 0.0;
    auto [ptr, ec] = std::from_chars(text.data() + i, text.data() + text.size(), v);
    if (ec != std::errc() || ptr == text.data() + i || !std::isfinite(v)) return false;
    out = v;
    return true;
}

std::string XmlElementText(std::string_view doc, size_t from, size_t to, std::string_view tag) {
    return std::string(ElementText(doc, from, to, tag));
}

bool XmlAttributeNumber(std::string_view doc, size_t from, size_t to, std::string_view attribute,
                        double& out) {
    to = std::min(to, doc.size());
    while (true) {
        size_t p = FindBefore(doc, attribute, from, to);
        if (p == npos) return false;
        size_t eq = p + attribute.size();
        if (p > 0 && IsSpace(doc[p - 1]) && eq < doc.size() && doc[eq] == '=') {
            size_t q = eq + 1;
            if (q >= doc.size() || (doc[q] != '"' && doc[q] != '\'')) return false;
            // Numbers are short; the conversion stops at the closing quote.
            return ParseXmlNumber(doc.substr(q + 1, 64), out);
        }
        from = p + 1;
    }
}

int GuessSport(std::string_view text) {
    std::string t = AsciiLower(std::string(text));
    auto has = [&](const char* word) { return t.find(word) != std::string::npos; };
    if (has("bik") || has("cycl") || has("rad")) return SportBike;
    if (has("walk") || has("geh")) return SportWalk;
    if (has("hik") || has("wander")) return SportHike;
    if (has("swim") || has("schwimm")) return SportSwim;
    return SportRun;
}

std::string ToValidUtf8(std::string_view text) {
    auto valid = [&] {
        size_t i = 0;
        while (i < text.size()) {
            auto c = static_cast<unsigned char>(text[i]);
            size_t len = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
            if (len == 0 || i + len > text.size()) return false;
            uint32_t cp = len == 1 ? c : len == 2 ? (c & 0x1F) : len == 3 ? (c & 0x0F) : (c & 0x07);
            for (size_t k = 1; k < len; ++k) {
                auto cc = static_cast<unsigned char>(text[i + k]);
                if ((cc & 0xC0) != 0x80) return false;
                cp = (cp << 6) | (cc & 0x3F);
            }
            // Overlong forms, surrogates and values beyond Unicode are not valid.
            static constexpr uint32_t minimum[5] = {0, 0, 0x80, 0x800, 0x10000};
            if (cp < minimum[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
            i += len;
        }
        return true;
    };
    if (valid()) return std::string(text);
    std::string out;
    out.reserve(text.size() * 2);
    for (char ch : text) {
        auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            out += ch;
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

ParsedActivity ParseActivityFile(std::string text) {
    StripNamespacePrefixes(text);
    std::string_view doc = text;

    ParsedActivity r;
    Collected c;
    if (doc.find("<TrainingCenterDatabase") != npos)
        ReadTcx(doc, r, c);
    else
        ReadGpx(doc, r, c);

    if (c.track.size() < 2 && r.distanceKm <= 0.0) {
        r.track = std::move(c.track);
        return r;  // ok stays false
    }
    if (c.track.size() >= 2 && r.distanceKm <= 0.0) r.distanceKm = TrackLengthKm(c.track);

    // Start and duration from the first and last readable time in document
    // order, as the device wrote them.
    std::erase_if(c.times, [](int64_t t) { return t <= 0; });
    if (c.times.size() >= 2) {
        r.start = c.times.front();
        r.durationSec = static_cast<double>(c.times.back() - c.times.front());
    }

    r.elevationGain = ElevationGain(c.elevations);
    if (c.hrCount > 0) r.avgHr = static_cast<int>(std::lround(c.hrSum / static_cast<double>(c.hrCount)));

    if (c.track.size() > kMaxStoredTrackPoints)
        r.track = SimplifyPolyline(c.track, kTrackSimplifyToleranceM);
    else
        r.track = std::move(c.track);
    r.ok = true;
    return r;
}
