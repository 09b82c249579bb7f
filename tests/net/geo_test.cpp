#include "net/geo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "net/endpoints.h"
#include "net/fake_http_server.h"
#include "net/weather.h"

namespace {

HttpResponse Ok(const std::string& body) { return HttpResponse{200, body, ""}; }

TEST(PercentEncode, KeepsUnreservedAndEncodesEveryOtherByte) {
    struct Case {
        const char* text;
        const char* encoded;
    };
    const Case cases[] = {
        {"Hauptstraße 1 Köln", "Hauptstra%C3%9Fe%201%20K%C3%B6ln"},
        {"AZaz09-._~", "AZaz09-._~"},
        {"a+b&c=d/e?f#g%", "a%2Bb%26c%3Dd%2Fe%3Ff%23g%25"},
        {"\t\r\n", "%09%0D%0A"},
        {"\xff", "%FF"},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(PercentEncode(c.text), c.encoded) << c.text;
}

TEST(ProfileAddressQuery, JoinsPartsAndTrimsBlanks) {
    Profile p;
    p.street = " \tHauptstraße 1";
    p.zip = "50667";
    p.city = "Köln";
    p.country = "Deutschland\r\n";
    EXPECT_EQ(ProfileAddressQuery(p), "Hauptstraße 1 50667 Köln Deutschland");
    p.zip.clear();
    p.country.clear();
    EXPECT_EQ(ProfileAddressQuery(p), "Hauptstraße 1  Köln");
    Profile empty;
    empty.country = "";
    EXPECT_EQ(ProfileAddressQuery(empty), "");
    empty.city = "Ko";
    EXPECT_LT(ProfileAddressQuery(empty).size(), kMinAddressLength);
}

TEST(Geocode, FirstHitOfAnArray) {
    GeoResult r = ParseGeocodeAnswer(Ok(R"([{"lat":"50.9375","lon":"-6.9603","display_name":"Köln, Deutschland"},
                                            {"lat":"1","lon":"2"}])"));
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_DOUBLE_EQ(r.lat, 50.9375);
    EXPECT_DOUBLE_EQ(r.lon, -6.9603);
    EXPECT_EQ(r.displayName, "Köln, Deutschland");
    EXPECT_EQ(r.error, "");

    GeoResult noName = ParseGeocodeAnswer(Ok(R"([{"lat":"1.5","lon":"2"}])"));
    ASSERT_TRUE(noName.ok);
    EXPECT_EQ(noName.displayName, "");
}

TEST(Geocode, FailuresGiveTheirTexts) {
    const std::string notFound = "Adresse nicht gefunden";
    const std::string unreadable = "Antwort konnte nicht gelesen werden";
    struct Case {
        HttpResponse response;
        std::string error;
    };
    const Case cases[] = {
        {Ok("[]"), notFound},
        {Ok(R"({"lat":"1","lon":"2"})"), notFound},
        {Ok(R"([{"lat":"1","lon":"2")"), notFound},  // truncated
        {Ok(""), notFound},
        {Ok("[1e400]"), notFound},
        {{503, "[]", ""}, "HTTP 503"},
        {{0, "", "Netzwerkfehler (6)"}, "Netzwerkfehler (6)"},
        {{200, R"([{"lat":"1","lon":"2"}])", "Lesefehler (23)"}, "Lesefehler (23)"},
        {Ok(R"([{"lat":50.9,"lon":"6.9"}])"), unreadable},
        {Ok(R"([{"lat":"50.9"}])"), unreadable},
        {Ok(R"([{"lat":"nord","lon":"6.9"}])"), unreadable},
        {Ok(R"([{"lat":"50.9x","lon":"6.9"}])"), unreadable},
        {Ok(R"([{"lat":"","lon":"6.9"}])"), unreadable},
        {Ok(R"([{"lat":"inf","lon":"6.9"}])"), unreadable},
        {Ok(R"([{"lat":"1e308","lon":"6.9"}])"), unreadable},
        {Ok(R"([{"lat":"50.9","lon":"6.9","display_name":7}])"), unreadable},
        {Ok(R"(["Köln"])"), unreadable},
    };
    for (const Case& c : cases) {
        GeoResult r = ParseGeocodeAnswer(c.response);
        EXPECT_FALSE(r.ok) << c.response.body;
        EXPECT_EQ(r.error, c.error) << c.response.body;
    }
}

TEST(Geocode, SendsTheEncodedQueryToTheSearchServer) {
    FakeHttpServer server([](const FakeRequest&, FakeConnection& c) {
        c.Send(FakeReply(200, R"([{"lat":"50.94","lon":"6.96","display_name":"Köln"}])"));
    });
    ScopedEnv env("STRIDELY_NOMINATIM_URL", server.Url());
    GeoResult r = GeocodeAddress("Hauptstraße 1 Köln");
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_DOUBLE_EQ(r.lat, 50.94);
    auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].target, "/search?format=jsonv2&limit=1&accept-language=de&q=Hauptstra%C3%9Fe%201%20K%C3%B6ln");
}

TEST(Geocode, ServerErrorStatusBecomesHttpText) {
    FakeHttpServer server([](const FakeRequest&, FakeConnection& c) { c.Send(FakeReply(503, "busy", "", "text/plain")); });
    ScopedEnv env("STRIDELY_NOMINATIM_URL", server.Url());
    GeoResult r = GeocodeAddress("Köln");
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, "HTTP 503");
}

TEST(FootRoute, PathEndsAreTheRequestedPoints) {
    const LatLon from{50.9375, 6.9603}, to{50.94, 6.97};
    bool ok = false;
    auto path = ParseFootRouteAnswer(
        Ok(R"({"routes":[{"geometry":{"type":"LineString","coordinates":[[6.9601,50.9376],[6.965,50.939],[7,51,55.5],[6.9702,50.9399]]}}]})"),
        from, to, ok);
    ASSERT_TRUE(ok);
    ASSERT_EQ(path.size(), 4u);
    EXPECT_EQ(path.front(), from);
    EXPECT_EQ(path[1], (LatLon{50.939, 6.965}));
    EXPECT_EQ(path[2], (LatLon{51, 7}));  // integer coordinates and a third (height) value are fine
    EXPECT_EQ(path.back(), to);
}

TEST(FootRoute, UnusableAnswersGiveEmptyPathAndNotOk) {
    const char* bodies[] = {
        R"({"routes":[{"geometry":{"coordinates":[[6.96,50.93]]}}]})",  // a single coordinate
        R"({"routes":[{"geometry":{"coordinates":[]}}]})",
        R"({"routes":[]})",
        R"({"code":"NoRoute"})",
        R"({"routes":[{"geometry":{"coordinates":[[6.96,50.93],["6.97",50.94]]}}]})",
        R"({"routes":[{"geometry":{"coordinates":[[6.96,50.93],[6.97]]}}]})",
        R"({"routes":[{"geometry":{"coordinates":[[6.96,50.93],null]}}]})",
        R"({"routes":[{"geometry":"_p~iF~ps|U_ulLnnqC"}]})",
        R"({"routes":[{"geometry":{"coordinates":[[6.96,50.93],[6.97,50.94]]})",  // truncated
        R"([1,2])",
        "",
    };
    for (const char* body : bodies) {
        bool ok = true;
        auto path = ParseFootRouteAnswer(Ok(body), {1, 2}, {3, 4}, ok);
        EXPECT_FALSE(ok) << body;
        EXPECT_TRUE(path.empty()) << body;
    }
    bool ok = true;
    auto path = ParseFootRouteAnswer({404, R"({"routes":[{"geometry":{"coordinates":[[1,2],[3,4]]}}]})", ""},
                                     {1, 2}, {3, 4}, ok);
    EXPECT_FALSE(ok);
    EXPECT_TRUE(path.empty());
}

TEST(FootRoute, AsksTheFootProfileWithLongitudeFirst) {
    FakeHttpServer server([](const FakeRequest&, FakeConnection& c) {
        c.Send(FakeReply(200, R"({"routes":[{"geometry":{"coordinates":[[6.96,50.93],[6.97,50.94]]}}]})"));
    });
    ScopedEnv env("STRIDELY_OSRM_URL", server.Url("/osrm"));
    bool ok = false;
    auto path = FootRoute({50.9375, 6.9603}, {-33.5, -70.25}, ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(path.size(), 2u);
    auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].target,
              "/osrm/routed-foot/route/v1/driving/6.960300,50.937500;-70.250000,-33.500000"
              "?overview=full&geometries=geojson");
}

TEST(Elevation, ReadsHeightsWithNullAsZero) {
    auto heights = ParseElevationAnswer(Ok(R"({"elevation":[52.5,null,3,-4.25]})"));
    EXPECT_EQ(heights, (std::vector<double>{52.5, 0, 3, -4.25}));
}

TEST(Elevation, UnusableAnswersGiveNothing) {
    const HttpResponse cases[] = {
        Ok(R"({"elevation":[1,"2",3]})"), Ok(R"({"elevation":[1,[2]]})"), Ok(R"({"elevation":5})"),
        Ok(R"({"height":[1,2]})"),        Ok(R"([1,2,3])"),               Ok(R"({"elevation":[1,2)"),
        Ok(""),                           {503, R"({"elevation":[1]})", ""}, {0, "", "Netzwerkfehler (7)"},
    };
    for (const HttpResponse& r : cases) EXPECT_TRUE(ParseElevationAnswer(r).empty()) << r.body;
}

TEST(Elevation, SendsAtMostOneHundredPoints) {
    FakeHttpServer server([](const FakeRequest&, FakeConnection& c) {
        std::string body = "{\"elevation\":[";
        for (int i = 0; i < 100; ++i) body += (i ? "," : "") + std::to_string(i);
        c.Send(FakeReply(200, body + "]}"));
    });
    ScopedEnv env("STRIDELY_OPEN_METEO_ELEVATION_URL", server.Url());
    std::vector<LatLon> points;
    for (int i = 0; i < 150; ++i) points.push_back({50.0 + i * 0.001, -6.123456});
    auto heights = ElevationLookup(points);
    EXPECT_EQ(heights.size(), 100u);
    auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    const std::string& target = requests[0].target;
    const std::string latPrefix = "/v1/elevation?latitude=50.00000,50.00100,";
    EXPECT_EQ(target.substr(0, latPrefix.size()), latPrefix);
    std::size_t lonStart = target.find("&longitude=");
    ASSERT_NE(lonStart, std::string::npos);
    std::string lats = target.substr(0, lonStart), lons = target.substr(lonStart);
    EXPECT_EQ(std::count(lats.begin(), lats.end(), ','), 99);
    EXPECT_EQ(lats.substr(lats.size() - 9), ",50.09900");
    EXPECT_EQ(std::count(lons.begin(), lons.end(), ','), 99);
    EXPECT_EQ(lons.substr(0, 21), "&longitude=-6.12346,-");
}

TEST(Elevation, NoPointsNoRequest) {
    FakeHttpServer server([](const FakeRequest&, FakeConnection& c) { c.Send(FakeReply(200, "{}")); });
    ScopedEnv env("STRIDELY_OPEN_METEO_ELEVATION_URL", server.Url());
    EXPECT_TRUE(ElevationLookup({}).empty());
    EXPECT_EQ(server.Connections(), 0);
}

TEST(ServiceAnswers, GarbageAndDeepNestingNeverCrash) {
    std::string garbage(kHttpMaxBody, '\0');
    for (std::size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<char>((i * 2654435761u) >> 13);
    std::string nested = std::string(200000, '[') + std::string(200000, ']');
    std::string nestedObject;
    for (int i = 0; i < 100000; ++i) nestedObject += "{\"a\":";
    nestedObject += "1" + std::string(100000, '}');
    struct Case {
        const std::string* body;
        const char* geocodeError;
    };
    for (Case c : {Case{&garbage, "Adresse nicht gefunden"}, Case{&nested, "Antwort konnte nicht gelesen werden"},
                   Case{&nestedObject, "Adresse nicht gefunden"}}) {
        HttpResponse r = Ok(*c.body);
        bool ok = true;
        EXPECT_EQ(ParseWeatherAnswer(r).error, "Ungültige Wetterdaten");
        EXPECT_EQ(ParseGeocodeAnswer(r).error, c.geocodeError);
        EXPECT_TRUE(ParseFootRouteAnswer(r, {}, {}, ok).empty());
        EXPECT_FALSE(ok);
        EXPECT_TRUE(ParseElevationAnswer(r).empty());
    }
}

TEST(Endpoints, EnvironmentOverridesDefaultWithoutTrailingSlash) {
    EXPECT_EQ(ServiceBaseUrl("STRIDELY_TEST_UNSET_URL", "https://example.invalid/"), "https://example.invalid");
    {
        ScopedEnv env("STRIDELY_TEST_URL", "");
        EXPECT_EQ(ServiceBaseUrl("STRIDELY_TEST_URL", "https://a.invalid"), "https://a.invalid");
    }
    {
        ScopedEnv env("STRIDELY_TEST_URL", "http://127.0.0.1:8080/base//");
        EXPECT_EQ(ServiceBaseUrl("STRIDELY_TEST_URL", "https://a.invalid"), "http://127.0.0.1:8080/base");
    }
    ScopedEnv osrm("STRIDELY_OSRM_URL", "http://osrm.local:5000/");
    EXPECT_EQ(OsrmBaseUrl(), "http://osrm.local:5000");
}

}  // namespace
