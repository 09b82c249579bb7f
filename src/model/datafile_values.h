// Value rules shared by the data-file writers and readers.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

#include "model/records.h"

namespace datafile {

// Coordinates are stored to six decimals (about 0.1 m), halves away from zero.
inline double Round6(double v) {
    const double r = std::round(v * 1e6) / 1e6;
    return std::isfinite(r) ? r : v;  // beyond 1e302 the scaling overflows; such values need no rounding
}

// JSON has no NaN or infinity: such a value would be written as null, and a
// pair holding null makes the whole file unreadable. Such pairs are left out.
inline bool PairWritable(const LatLon& p) { return std::isfinite(p.lat) && std::isfinite(p.lon); }

// "home" is always written and must read back as two numbers.
inline LatLon WritableHome(const LatLon& h) {
    const LatLon d = Profile{}.home;
    return LatLon{std::isfinite(h.lat) ? h.lat : d.lat, std::isfinite(h.lon) ? h.lon : d.lon};
}

// One null sample would make the reader drop the whole elevation profile.
inline double WritableElevation(double e) { return std::isfinite(e) ? e : 0.0; }

// Out-of-range values saturate instead of wrapping or invoking undefined
// behaviour; fractions are truncated toward zero.
inline int IntFromInt64(int64_t v) {
    if (v > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    if (v < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    return static_cast<int>(v);
}
inline int IntFromUnsigned(uint64_t v) {
    return v > static_cast<uint64_t>(std::numeric_limits<int>::max()) ? std::numeric_limits<int>::max()
                                                                      : static_cast<int>(v);
}
inline int IntFromDouble(double v) {
    if (!(v < 2147483648.0)) return std::isnan(v) ? 0 : std::numeric_limits<int>::max();
    if (!(v > -2147483649.0)) return std::numeric_limits<int>::min();
    return static_cast<int>(v);
}
inline int64_t Int64FromUnsigned(uint64_t v) {
    return v > static_cast<uint64_t>(std::numeric_limits<int64_t>::max()) ? std::numeric_limits<int64_t>::max()
                                                                          : static_cast<int64_t>(v);
}
inline int64_t Int64FromDouble(double v) {
    if (std::isnan(v)) return 0;
    if (v >= 9223372036854775808.0) return std::numeric_limits<int64_t>::max();
    if (v < -9223372036854775808.0) return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(v);
}

}  // namespace datafile
