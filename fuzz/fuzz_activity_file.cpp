// ParseActivityFile on arbitrary bytes: no crash, no read past the input, no
// hang, and results that are safe to store (finite numbers, valid UTF-8 name).
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "files/activity_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ParsedActivity r = ParseActivityFile(std::string(reinterpret_cast<const char*>(data), size));
    if (!std::isfinite(r.distanceKm) || !std::isfinite(r.durationSec) || !std::isfinite(r.elevationGain)) std::abort();
    if (r.distanceKm < 0.0 || r.elevationGain < 0.0 || r.avgHr < 0 || r.avgHr > 300) std::abort();
    for (const LatLon& p : r.track)
        if (!(p.lat >= -90.0 && p.lat <= 90.0 && p.lon >= -180.0 && p.lon <= 180.0)) std::abort();
    if (r.ok && r.track.size() < 2 && r.distanceKm <= 0.0) std::abort();
    if (ToValidUtf8(r.name) != r.name) std::abort();
    return 0;
}
