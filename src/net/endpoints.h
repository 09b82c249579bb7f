// Base URLs (scheme, host, optional port and path prefix, no trailing slash) of the
// online services. Each has a public default and can be pointed elsewhere through an
// environment variable, for self-hosted servers and for tests.
#pragma once

#include <string>

// STRIDELY_NOMINATIM_URL: address search ("/search").
std::string NominatimBaseUrl();
// STRIDELY_OSRM_URL: foot routing ("/routed-foot/route/v1/driving/...").
std::string OsrmBaseUrl();
// STRIDELY_OPEN_METEO_URL: weather forecast ("/v1/forecast").
std::string OpenMeteoBaseUrl();
// STRIDELY_OPEN_METEO_ELEVATION_URL: terrain heights ("/v1/elevation").
std::string OpenMeteoElevationBaseUrl();

// Map tile sources and the Strava endpoints get their base URLs here as well when
// their clients are added, following the same pattern.

// The value of the environment variable when it is set and not empty, else the
// default; trailing slashes are removed so that callers can append "/path".
std::string ServiceBaseUrl(const char* environmentVariable, const char* defaultUrl);
