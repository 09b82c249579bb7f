// A plausible forecast service answer for tests: current conditions at the
// given local time and 48 hourly entries, dry and calm at 18:00.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

inline std::string WeatherAnswer(int year = 2026, int month = 6, int day = 1, int hour = 14, int minute = 15) {
    char now[32];
    std::snprintf(now, sizeof now, "%04d-%02d-%02dT%02d:%02d", year, month, day, hour, minute);
    nlohmann::json j;
    j["current"] = {{"time", now},
                    {"temperature_2m", 18.5},
                    {"apparent_temperature", 17.0},
                    {"relative_humidity_2m", 55},
                    {"weather_code", 1},
                    {"wind_speed_10m", 9.0}};
    std::vector<std::string> times;
    std::vector<double> temp, rain, wind;
    std::vector<int> code;
    for (int d = 0; d < 2; ++d)
        for (int h = 0; h < 24; ++h) {
            char buf[32];
            std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:00", year, month, day + d, h);
            times.push_back(buf);
            temp.push_back(10 + h * 0.5);
            rain.push_back(h == 18 ? 0 : 30);
            wind.push_back(8);
            code.push_back(h == 18 ? 0 : (h % 5 == 0 ? 61 : 3));
        }
    j["hourly"] = {{"time", times},
                   {"temperature_2m", temp},
                   {"precipitation_probability", rain},
                   {"weather_code", code},
                   {"wind_speed_10m", wind}};
    return j.dump();
}
