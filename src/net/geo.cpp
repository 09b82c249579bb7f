#include "net/geo.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

#include <nlohmann/json.hpp>

#include "net/endpoints.h"
#include "net/service_answer.h"

using nlohmann::json;

namespace {

bool Unreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_' || c == '~';
}

std::string_view TrimBlanks(std::string_view text) {
    const char* blanks = " \t\r\n";
    std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    std::size_t last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

// A decimal number in a string, as Nominatim sends coordinates: the whole string
// must be the number, and it must lie within the given bound.
std::optional<double> Coordinate(const json& value, double bound) {
    if (!value.is_string()) return std::nullopt;
    const std::string& text = value.get_ref<const std::string&>();
    double number = 0.0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    if (!std::isfinite(number) || std::fabs(number) > bound) return std::nullopt;
    return number;
}

}  // namespace

std::string PercentEncode(std::string_view text) {
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size() * 3);
    for (char ch : text) {
        auto c = static_cast<unsigned char>(ch);
        if (Unreserved(c)) {
            out += ch;
        } else if (c == ' ') {
            out += "%20";
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 0x0F];
        }
    }
    return out;
}

std::string ProfileAddressQuery(const Profile& profile) {
    std::string joined = profile.street + " " + profile.zip + " " + profile.city + " " + profile.country;
    return std::string(TrimBlanks(joined));
}

std::string GeocodeUrl(std::string_view query) {
    return NominatimBaseUrl() + "/search?format=jsonv2&limit=1&accept-language=de&q=" + PercentEncode(query);
}

GeoResult ParseGeocodeAnswer(const HttpResponse& response) {
    GeoResult result;
    std::string failure = ServiceFailure(response);
    if (!failure.empty()) {
        result.error = failure;
        return result;
    }
    json j = json::parse(response.body, nullptr, false);
    if (j.is_discarded() || !j.is_array() || j.empty()) {
        result.error = "Adresse nicht gefunden";
        return result;
    }
    const json& hit = j[0];
    std::optional<double> lat, lon;
    std::string name;
    bool readable = hit.is_object();
    if (readable) {
        auto latIt = hit.find("lat");
        auto lonIt = hit.find("lon");
        if (latIt != hit.end()) lat = Coordinate(*latIt, 90.0);
        if (lonIt != hit.end()) lon = Coordinate(*lonIt, 180.0);
        readable = lat && lon;
        auto nameIt = hit.find("display_name");
        if (nameIt != hit.end() && !nameIt->is_null()) {
            if (nameIt->is_string()) name = nameIt->get<std::string>();
            else readable = false;
        }
    }
    if (!readable) {
        result.error = "Antwort konnte nicht gelesen werden";
        return result;
    }
    result.ok = true;
    result.lat = *lat;
    result.lon = *lon;
    result.displayName = std::move(name);
    return result;
}

GeoResult GeocodeAddress(std::string_view query) { return ParseGeocodeAnswer(HttpGet(GeocodeUrl(query))); }

std::string FootRouteUrl(LatLon from, LatLon to) {
    return OsrmBaseUrl() + "/routed-foot/route/v1/driving/" + FormatFixed(from.lon, 6) + "," +
           FormatFixed(from.lat, 6) + ";" + FormatFixed(to.lon, 6) + "," + FormatFixed(to.lat, 6) +
           "?overview=full&geometries=geojson";
}

std::vector<LatLon> ParseFootRouteAnswer(const HttpResponse& response, LatLon from, LatLon to, bool& ok) {
    ok = false;
    if (!ServiceFailure(response).empty()) return {};
    json j = json::parse(response.body, nullptr, false);
    if (j.is_discarded() || !j.is_object()) return {};
    auto routes = j.find("routes");
    if (routes == j.end() || !routes->is_array() || routes->empty()) return {};
    const json& route = (*routes)[0];
    if (!route.is_object()) return {};
    auto geometry = route.find("geometry");
    if (geometry == route.end() || !geometry->is_object()) return {};
    auto coordinates = geometry->find("coordinates");
    if (coordinates == geometry->end() || !coordinates->is_array()) return {};

    std::vector<LatLon> points;
    points.reserve(coordinates->size());
    for (const json& pair : *coordinates) {
        if (!pair.is_array() || pair.size() < 2 || !pair[0].is_number() || !pair[1].is_number()) return {};
        points.push_back(LatLon{pair[1].get<double>(), pair[0].get<double>()});
    }
    if (points.size() < 2) return {};
    points.front() = from;
    points.back() = to;
    ok = true;
    return points;
}

std::vector<LatLon> FootRoute(LatLon from, LatLon to, bool& ok) {
    return ParseFootRouteAnswer(HttpGet(FootRouteUrl(from, to)), from, to, ok);
}

std::string ElevationUrl(const std::vector<LatLon>& points) {
    std::string lats, lons;
    const std::size_t count = std::min(points.size(), kMaxElevationPoints);
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0) {
            lats += ',';
            lons += ',';
        }
        lats += FormatFixed(points[i].lat, 5);
        lons += FormatFixed(points[i].lon, 5);
    }
    return OpenMeteoElevationBaseUrl() + "/v1/elevation?latitude=" + lats + "&longitude=" + lons;
}

std::vector<double> ParseElevationAnswer(const HttpResponse& response) {
    if (!ServiceFailure(response).empty()) return {};
    json j = json::parse(response.body, nullptr, false);
    if (j.is_discarded() || !j.is_object()) return {};
    auto elevation = j.find("elevation");
    if (elevation == j.end() || !elevation->is_array()) return {};
    std::vector<double> heights;
    heights.reserve(elevation->size());
    for (const json& value : *elevation) {
        if (value.is_null()) heights.push_back(0.0);
        else if (value.is_number()) heights.push_back(value.get<double>());
        else return {};
    }
    return heights;
}

std::vector<double> ElevationLookup(const std::vector<LatLon>& points) {
    if (points.empty()) return {};
    return ParseElevationAnswer(HttpGet(ElevationUrl(points)));
}
