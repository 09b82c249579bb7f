#include "net/weather.h"

#include <gtest/gtest.h>

#include <cmath>
#include <nlohmann/json.hpp>
#include <string>

#include "model/icons.h"
#include "net/fake_http_server.h"

using nlohmann::json;

namespace {

// A forecast answer for 15 and 16 January: hour i (0-47) has temperature i / 2 °C,
// rain risk i %, wind 5 km/h and code 3, unless a test changes it.
json Answer(const std::string& now) {
    json j;
    j["current"] = {{"time", now},          {"temperature_2m", 7.4},       {"apparent_temperature", 5.1},
                    {"wind_speed_10m", 11}, {"relative_humidity_2m", 81}, {"weather_code", 61}};
    json times = json::array(), temps = json::array(), rain = json::array(), wind = json::array(),
         codes = json::array();
    for (int i = 0; i < 48; ++i) {
        char t[32];
        std::snprintf(t, sizeof t, "2025-01-%02dT%02d:00", 15 + i / 24, i % 24);
        times.push_back(t);
        temps.push_back(i / 2.0);
        rain.push_back(i);
        wind.push_back(5);
        codes.push_back(3);
    }
    j["hourly"] = {{"time", times},
                   {"temperature_2m", temps},
                   {"precipitation_probability", rain},
                   {"wind_speed_10m", wind},
                   {"weather_code", codes}};
    return j;
}

Weather Parse(const json& j) { return ParseWeatherAnswer(HttpResponse{200, j.dump(), ""}); }
Weather Parse(const std::string& body) { return ParseWeatherAnswer(HttpResponse{200, body, ""}); }

TEST(Weather, KeepsTwentyFourHoursFromTheCurrentHour) {
    struct Case {
        const char* now;
        int firstSource;  // index of the first kept hour in the answer
    };
    for (Case c : {Case{"2025-01-15T14:15", 14}, Case{"2025-01-15T23:30", 23}, Case{"2025-01-15T00:05", 0}}) {
        Weather w = Parse(Answer(c.now));
        ASSERT_TRUE(w.ok) << c.now << ": " << w.error;
        ASSERT_EQ(w.hours.size(), 24u) << c.now;
        for (std::size_t k = 0; k < w.hours.size(); ++k) {
            const int source = c.firstSource + static_cast<int>(k);
            EXPECT_EQ(w.hours[k].hour, source % 24) << c.now << " entry " << k;
            EXPECT_EQ(w.hours[k].tomorrow, source >= 24) << c.now << " entry " << k;
            EXPECT_DOUBLE_EQ(w.hours[k].temperature, source / 2.0);
            EXPECT_DOUBLE_EQ(w.hours[k].precipitationProbability, source);
        }
    }
}

TEST(Weather, CurrentConditionsAreRead) {
    Weather w = Parse(Answer("2025-01-15T14:15"));
    ASSERT_TRUE(w.ok);
    EXPECT_DOUBLE_EQ(w.temperature, 7.4);
    EXPECT_DOUBLE_EQ(w.apparentTemperature, 5.1);
    EXPECT_DOUBLE_EQ(w.windSpeed, 11);
    EXPECT_DOUBLE_EQ(w.humidity, 81);
    EXPECT_EQ(w.weatherCode, 61);
    EXPECT_EQ(w.error, "");
}

TEST(Weather, ScorePenalties) {
    // 14 °C, 10 % rain, 20 km/h wind, overcast, 18:00: 100 - 5.2 - 6 - 7.
    EXPECT_NEAR(RunningScore(18, 14, 10, 20, 3), 81.8, 1e-9);
    EXPECT_NEAR(RunningScore(12, 12, 0, 15, 0), 100.0, 1e-9);  // wind up to 15 km/h is free
    EXPECT_NEAR(RunningScore(12, 2, 0, 0, 0), 74.0, 1e-9);     // cold counts like heat
    struct Case {
        int hour, code;
        double penalty;
    };
    const Case cases[] = {
        {12, 70, 0},  {12, 71, 15}, {12, 81, 15}, {12, 86, 15}, {12, 87, 0}, {12, 94, 0},
        {12, 95, 40}, {12, 99, 40}, {5, 3, 35},   {6, 3, 0},    {21, 3, 0},  {22, 3, 35},
        {0, 95, 75},
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(RunningScore(c.hour, 12, 0, 0, c.code), 100.0 - c.penalty, 1e-9)
            << "hour " << c.hour << " code " << c.code;
    }
}

TEST(Weather, EarliestOfEqualBestHoursWinsAndIsNamed) {
    json j = Answer("2025-01-15T14:15");
    // Everything poor except two equally good hours: today 18:00 and tomorrow 09:00.
    for (int i = 0; i < 48; ++i) j["hourly"]["weather_code"][i] = 95;
    for (int i : {18, 33}) {
        j["hourly"]["weather_code"][i] = 1;
        j["hourly"]["temperature_2m"][i] = 11.6;
        j["hourly"]["precipitation_probability"][i] = 37.6;
    }
    Weather w = Parse(j);
    ASSERT_TRUE(w.ok);
    ASSERT_EQ(w.bestIndex, 4);  // 14, 15, 16, 17, 18
    EXPECT_EQ(w.bestText, "Beste Laufzeit: heute 18:00 Uhr – 12 °C, 38 % Regenrisiko");

    j["hourly"]["weather_code"][18] = 95;
    w = Parse(j);
    ASSERT_EQ(w.bestIndex, 19);
    EXPECT_EQ(w.bestText, "Beste Laufzeit: morgen 09:00 Uhr – 12 °C, 38 % Regenrisiko");
}

TEST(Weather, BestTextNeverShowsMinusZero) {
    json j = Answer("2025-01-15T14:15");
    for (int i = 0; i < 48; ++i) j["hourly"]["temperature_2m"][i] = -30;
    j["hourly"]["temperature_2m"][15] = -0.3;
    Weather w = Parse(j);
    ASSERT_EQ(w.bestIndex, 1);
    EXPECT_EQ(w.bestText, "Beste Laufzeit: heute 15:00 Uhr – 0 °C, 15 % Regenrisiko");
}

TEST(Weather, NullValuesCountAsZero) {
    json j = Answer("2025-01-15T14:15");
    j["current"]["temperature_2m"] = nullptr;
    j["current"].erase("relative_humidity_2m");
    j["hourly"]["temperature_2m"][14] = nullptr;
    j["hourly"]["precipitation_probability"][14] = nullptr;
    j["hourly"]["wind_speed_10m"][14] = nullptr;
    j["hourly"]["weather_code"][14] = nullptr;
    Weather w = Parse(j);
    ASSERT_TRUE(w.ok) << w.error;
    EXPECT_EQ(w.temperature, 0.0);
    EXPECT_EQ(w.humidity, 0.0);
    EXPECT_EQ(w.hours[0].temperature, 0.0);
    EXPECT_EQ(w.hours[0].precipitationProbability, 0.0);
    EXPECT_EQ(w.hours[0].windSpeed, 0.0);
    EXPECT_EQ(w.hours[0].weatherCode, 0);
    EXPECT_NEAR(w.hours[0].score, 100 - 12 * 2.6, 1e-9);
}

TEST(Weather, FailedRequestsKeepTheTransportText) {
    struct Case {
        HttpResponse response;
        const char* error;
    };
    const Case cases[] = {
        {{503, "{\"current\":{}}", ""}, "HTTP 503"},
        {{404, "", ""}, "HTTP 404"},
        {{0, "", "Netzwerkfehler (7)"}, "Netzwerkfehler (7)"},
        // A body cut short by a read error is not parsed.
        {{200, "{\"current\":{}", "Lesefehler (28)"}, "Lesefehler (28)"},
    };
    for (const Case& c : cases) {
        Weather w = ParseWeatherAnswer(c.response);
        EXPECT_FALSE(w.ok);
        EXPECT_EQ(w.error, c.error);
        EXPECT_TRUE(w.hours.empty());
        EXPECT_EQ(w.bestIndex, -1);
    }
}

TEST(Weather, BadAnswersGiveTheirErrorText) {
    const std::string invalid = "Ungültige Wetterdaten";
    const std::string unreadable = "Wetterdaten konnten nicht gelesen werden";
    auto with = [](auto change) {
        json j = Answer("2025-01-15T14:15");
        change(j);
        return j.dump();
    };
    struct Case {
        std::string body;
        std::string error;
    };
    const Case cases[] = {
        {"", invalid},
        {"{\"current\":{\"time\":\"2025-01-15T14:15\"", invalid},  // truncated
        {"[1,2,3]", invalid},
        {"null", invalid},
        {"{\"hourly\":{}}", invalid},
        {"{\"current\":{\"temperature_2m\":1e400}}", invalid},  // beyond double
        {with([](json& j) { j.erase("hourly"); }), unreadable},
        {with([](json& j) { j["current"] = 5; }), unreadable},
        {with([](json& j) { j["current"]["temperature_2m"] = "warm"; }), unreadable},
        {with([](json& j) { j["current"]["weather_code"] = 1e300; }), unreadable},
        {with([](json& j) { j["current"]["weather_code"] = 18446744073709551615ull; }), unreadable},
        {with([](json& j) { j["current"]["time"] = 1736950500; }), unreadable},
        {with([](json& j) { j["current"]["time"] = "2025-01-15Tab:15"; }), unreadable},
        {with([](json& j) { j["hourly"]["time"] = "2025-01-15T14:00"; }), unreadable},
        {with([](json& j) { j["hourly"]["time"][20] = "2025-01-15"; }), unreadable},
        {with([](json& j) { j["hourly"]["time"][20] = "2025-01-15T99:00"; }), unreadable},
        {with([](json& j) { j["hourly"]["time"][20] = 20; }), unreadable},
        {with([](json& j) { j["hourly"]["temperature_2m"] = json::array({1, 2, 3}); }), unreadable},
        {with([](json& j) { j["hourly"]["weather_code"][16] = -1e12; }), unreadable},
        {with([](json& j) { j["hourly"]["wind_speed_10m"][16] = json::array(); }), unreadable},
        {with([](json& j) { j["hourly"].erase("precipitation_probability"); }), unreadable},
    };
    for (const Case& c : cases) {
        Weather w = Parse(c.body);
        EXPECT_FALSE(w.ok) << c.body.substr(0, 80);
        EXPECT_EQ(w.error, c.error) << c.body.substr(0, 80);
        EXPECT_TRUE(w.hours.empty());
        EXPECT_EQ(w.bestText, "");
    }
}

TEST(Weather, HugeButValidNumbersDoNotBreakTheResult) {
    json j = Answer("2025-01-15T14:15");
    j["hourly"]["temperature_2m"][14] = 1e308;
    j["hourly"]["wind_speed_10m"][15] = -1e308;
    j["current"]["weather_code"] = 3.0;
    Weather w = Parse(j);
    ASSERT_TRUE(w.ok) << w.error;
    EXPECT_EQ(w.weatherCode, 3);
    EXPECT_TRUE(std::isinf(w.hours[0].score));
    EXPECT_GE(w.bestIndex, 0);
}

TEST(Weather, FetchAsksForTheForecastOfTheHome) {
    const std::string body = Answer("2025-01-15T23:30").dump();
    FakeHttpServer server([&](const FakeRequest&, FakeConnection& c) { c.Send(FakeReply(200, body)); });
    ScopedEnv env("STRIDELY_OPEN_METEO_URL", server.Url("/"));
    Weather w = FetchWeather(LatLon{50.93751, -6.96});
    ASSERT_TRUE(w.ok) << w.error;
    EXPECT_EQ(w.hours.size(), 24u);
    auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].target,
              "/v1/forecast?latitude=50.9375&longitude=-6.9600"
              "&current=temperature_2m,apparent_temperature,relative_humidity_2m,weather_code,wind_speed_10m"
              "&hourly=temperature_2m,precipitation_probability,weather_code,wind_speed_10m"
              "&forecast_days=2&timezone=auto");
}

TEST(Weather, FetchReportsAnUnreachableServer) {
    RefusedPort port;
    ScopedEnv env("STRIDELY_OPEN_METEO_URL", "http://127.0.0.1:" + std::to_string(port.Port()));
    Weather w = FetchWeather(LatLon{50, 7});
    EXPECT_FALSE(w.ok);
    EXPECT_EQ(w.error, "Netzwerkfehler (7)");
}

TEST(Weather, RefreshRhythm) {
    EXPECT_TRUE(WeatherFetchDue(false, 5.0, kWeatherFetchNow));
    EXPECT_FALSE(WeatherFetchDue(false, 1000.0 + 1799.9, 1000.0));
    EXPECT_TRUE(WeatherFetchDue(false, 1000.0 + 1800.0, 1000.0));
    EXPECT_TRUE(WeatherFetchDue(true, 1000.5, 1000.0));
}

TEST(Weather, TextsAndSymbolsForCodes) {
    struct Case {
        int code;
        const char* text;
    };
    const Case texts[] = {
        {0, "Klar"},         {1, "Leicht bewölkt"}, {2, "Leicht bewölkt"}, {3, "Bedeckt"},
        {45, "Nebel"},       {48, "Nebel"},         {51, "Nieselregen"},   {57, "Nieselregen"},
        {61, "Regen"},       {67, "Regen"},         {71, "Schnee"},        {77, "Schnee"},
        {80, "Regenschauer"}, {82, "Regenschauer"}, {85, "Schneeschauer"}, {86, "Schneeschauer"},
        {95, "Gewitter"},    {99, "Gewitter"},      {4, "Wechselhaft"},    {50, "Wechselhaft"},
        {83, "Wechselhaft"}, {-1, "Wechselhaft"},
    };
    for (const Case& c : texts) EXPECT_STREQ(WeatherText(c.code), c.text) << c.code;

    struct IconCase {
        int code, hour;
        const char* symbol;
    };
    const IconCase icons[] = {
        {0, 12, Icon::WeatherSun},      {1, 19, Icon::WeatherSun},    {0, 20, Icon::WeatherMoon},
        {1, 5, Icon::WeatherMoon},      {0, 6, Icon::WeatherSun},     {2, 12, Icon::WeatherCloud},
        {3, 23, Icon::WeatherCloud},    {45, 12, Icon::WeatherCloud}, {48, 12, Icon::WeatherCloud},
        {71, 12, Icon::WeatherSnow},    {77, 12, Icon::WeatherSnow},  {95, 2, Icon::WeatherThunder},
        {61, 12, Icon::WeatherUmbrella}, {85, 12, Icon::WeatherUmbrella}, {46, 12, Icon::WeatherUmbrella},
    };
    for (const IconCase& c : icons) EXPECT_STREQ(WeatherIcon(c.code, c.hour), c.symbol) << c.code << " " << c.hour;
    EXPECT_STREQ(Icon::WeatherSun, "☀");
    EXPECT_STREQ(Icon::WeatherMoon, "☾");
    EXPECT_STREQ(Icon::WeatherUmbrella, "☂");
}

}  // namespace
