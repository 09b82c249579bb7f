// Feeds arbitrary bodies to the answer parsers of the weather, geocoding, routing and
// elevation clients. The first byte picks the status and a transport error, so the
// failure paths are exercised too.
#include <cstddef>
#include <cstdint>
#include <string>

#include "net/geo.h"
#include "net/weather.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    HttpResponse response;
    response.status = 200;
    if (size > 0) {
        const uint8_t mode = data[0];
        if (mode == 0xFF) response.status = 503;
        else if (mode == 0xFE) response.error = "Lesefehler (23)";
        ++data;
        --size;
    }
    response.body.assign(reinterpret_cast<const char*>(data), size);

    Weather weather = ParseWeatherAnswer(response);
    if (weather.ok && weather.hours.size() > 24) __builtin_trap();
    if (weather.bestIndex >= static_cast<int>(weather.hours.size())) __builtin_trap();

    GeoResult geo = ParseGeocodeAnswer(response);
    if (geo.ok == !geo.error.empty()) __builtin_trap();

    bool ok = false;
    auto path = ParseFootRouteAnswer(response, LatLon{50.0, 7.0}, LatLon{50.1, 7.1}, ok);
    if (ok != (path.size() >= 2)) __builtin_trap();

    auto heights = ParseElevationAnswer(response);
    (void)heights;
    return 0;
}
