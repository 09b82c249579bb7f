#include "net/endpoints.h"

#include <cstdlib>

std::string ServiceBaseUrl(const char* environmentVariable, const char* defaultUrl) {
    const char* value = environmentVariable ? std::getenv(environmentVariable) : nullptr;
    std::string url = (value && *value) ? value : defaultUrl;
    while (!url.empty() && url.back() == '/') url.pop_back();
    return url;
}

std::string NominatimBaseUrl() {
    return ServiceBaseUrl("STRIDELY_NOMINATIM_URL", "https://nominatim.openstreetmap.org");
}

std::string OsrmBaseUrl() { return ServiceBaseUrl("STRIDELY_OSRM_URL", "https://routing.openstreetmap.de"); }

std::string OpenMeteoBaseUrl() { return ServiceBaseUrl("STRIDELY_OPEN_METEO_URL", "https://api.open-meteo.com"); }

std::string OpenMeteoElevationBaseUrl() {
    return ServiceBaseUrl("STRIDELY_OPEN_METEO_ELEVATION_URL", "https://api.open-meteo.com");
}
