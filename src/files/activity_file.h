// Reading GPX 1.1 and TCX files into activity figures with a small tolerant
// text scanner. Pure: no file access, no clock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/records.h"

struct ParsedActivity {
    std::string name;          // GPX track name (valid UTF-8), empty for TCX
    int sport = SportRun;
    int64_t start = 0;         // epoch seconds, 0 when the file has none
    double durationSec = 0.0;  // 0 when the file has none
    double distanceKm = 0.0;   // 0 when the file has none
    double elevationGain = 0.0;
    int avgHr = 0;             // 0 when the file has none
    std::vector<LatLon> track;
    bool ok = false;           // false: neither 2 track points nor a lap distance
};

// Tracks longer than this are simplified before they are stored.
constexpr size_t kMaxStoredTrackPoints = 1500;
constexpr double kTrackSimplifyToleranceM = 3.0;

// The text is the file's bytes as they are. Taken by value so that a caller
// that owns the bytes can move them in: the scanner then works in place
// instead of holding a second copy of a large file.
ParsedActivity ParseActivityFile(std::string text);

int GuessSport(std::string_view text);

// Text of the first element `tag` whose start tag begins in [from, to), up to
// the next "<"; empty when that "<" lies beyond `to`. Returned unchanged (no
// trimming, no entity decoding).
std::string XmlElementText(std::string_view doc, size_t from, size_t to, std::string_view tag);

// Number in the first attribute `attribute` (preceded by white space) that
// begins in [from, to). False when it is missing, not quoted, or not a finite
// number.
bool XmlAttributeNumber(std::string_view doc, size_t from, size_t to, std::string_view attribute,
                        double& out);

// Reads a decimal number with a full stop, after optional leading white space,
// independent of the process locale. False for text that is not a finite number.
bool ParseXmlNumber(std::string_view text, double& out);

// A point's time stamp: exactly what ParseIsoTime gives, computed without
// formatted scanning for the strict form devices write.
int64_t ParseTrackTime(std::string_view text);

// The text when it is valid UTF-8; otherwise every byte read as Latin-1
// (the usual encoding of older exports), so that stored texts are always
// valid UTF-8.
std::string ToValidUtf8(std::string_view text);
