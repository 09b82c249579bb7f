// Address search, foot routing and terrain heights from public web services.
// Each client is a URL builder, a pure answer parser and a blocking call for a
// background job; none retries, caches or throttles.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/records.h"
#include "net/http.h"

struct GeoResult {
    bool ok = false;
    double lat = 0.0;
    double lon = 0.0;
    std::string displayName;
    std::string error;
};

// Query values for URLs: letters, digits and "-._~" stay, a space becomes "%20",
// every other byte (each byte of a UTF-8 sequence too) becomes "%XX".
std::string PercentEncode(std::string_view text);

// The search text for a profile's home: street, postcode, city and country joined
// by spaces, without surrounding blanks. Shorter than kMinAddressLength means no
// address was entered.
std::string ProfileAddressQuery(const Profile& profile);
inline constexpr std::size_t kMinAddressLength = 3;

std::string GeocodeUrl(std::string_view query);
GeoResult ParseGeocodeAnswer(const HttpResponse& response);
GeoResult GeocodeAddress(std::string_view query);

std::string FootRouteUrl(LatLon from, LatLon to);
// The path from "from" to "to"; its ends are exactly those two points, because the
// service snaps them onto the path network. Empty with ok false on any problem.
std::vector<LatLon> ParseFootRouteAnswer(const HttpResponse& response, LatLon from, LatLon to, bool& ok);
std::vector<LatLon> FootRoute(LatLon from, LatLon to, bool& ok);

// At most this many points are looked up; the rest are ignored.
inline constexpr std::size_t kMaxElevationPoints = 100;
std::string ElevationUrl(const std::vector<LatLon>& points);
// Heights in metres, a null height as 0; empty on any problem.
std::vector<double> ParseElevationAnswer(const HttpResponse& response);
std::vector<double> ElevationLookup(const std::vector<LatLon>& points);
