#include "net/weather.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <exception>
#include <limits>

#include <nlohmann/json.hpp>

#include "model/icons.h"
#include "net/endpoints.h"
#include "net/service_answer.h"

using nlohmann::json;

namespace {

// Thrown only inside ParseWeatherAnswer for a value it cannot use.
struct Unreadable : std::exception {};

double NumberOrZero(const json& v) {
    if (v.is_null()) return 0.0;
    if (!v.is_number()) throw Unreadable();
    return v.get<double>();
}

int IntOrZero(const json& v) {
    if (v.is_null()) return 0;
    if (v.is_number_unsigned()) {
        auto n = v.get<std::uint64_t>();
        if (n > static_cast<std::uint64_t>(std::numeric_limits<int>::max())) throw Unreadable();
        return static_cast<int>(n);
    }
    if (v.is_number_integer()) {
        auto n = v.get<std::int64_t>();
        if (n < std::numeric_limits<int>::min() || n > std::numeric_limits<int>::max()) throw Unreadable();
        return static_cast<int>(n);
    }
    if (v.is_number_float()) {
        double d = v.get<double>();
        // Converting an out-of-range double to int is undefined; refuse it.
        if (!std::isfinite(d) || d < std::numeric_limits<int>::min() || d > std::numeric_limits<int>::max())
            throw Unreadable();
        return static_cast<int>(d);
    }
    throw Unreadable();
}

// A missing key reads as zero, like a null value.
double CurrentNumber(const json& current, const char* key) {
    auto it = current.find(key);
    return it == current.end() ? 0.0 : NumberOrZero(*it);
}

// The hour at offset 11 of "2025-01-15T14:15".
int HourOf(const std::string& time) {
    if (time.size() < 13) throw Unreadable();
    char a = time[11], b = time[12];
    if (a < '0' || a > '9' || b < '0' || b > '9') throw Unreadable();
    int hour = (a - '0') * 10 + (b - '0');
    if (hour > 23) throw Unreadable();
    return hour;
}

// "%.0f" without the "-0" that a value just below zero would give.
std::string Rounded(double value) {
    std::string text = FormatFixed(value, 0);
    return text == "-0" ? "0" : text;
}

std::string TwoDigits(int value) {
    return std::string(1, static_cast<char>('0' + value / 10)) + static_cast<char>('0' + value % 10);
}

}  // namespace

bool WeatherFetchDue(bool force, double now, double lastFetch) {
    return force || now - lastFetch >= kWeatherRefreshSeconds;
}

std::string WeatherUrl(LatLon position) {
    return OpenMeteoBaseUrl() + "/v1/forecast?latitude=" + FormatFixed(position.lat, 4) +
           "&longitude=" + FormatFixed(position.lon, 4) +
           "&current=temperature_2m,apparent_temperature,relative_humidity_2m,weather_code,wind_speed_10m"
           "&hourly=temperature_2m,precipitation_probability,weather_code,wind_speed_10m"
           "&forecast_days=2&timezone=auto";
}

double RunningScore(int hour, double temperature, double precipitationProbability, double windSpeed,
                    int weatherCode) {
    double score = 100.0 - std::fabs(temperature - 12.0) * 2.6 - precipitationProbability * 0.6 -
                   std::max(windSpeed - 15.0, 0.0) * 1.4;
    if (weatherCode >= 95) score -= 40.0;  // thunderstorm
    if (weatherCode >= 71 && weatherCode <= 86) score -= 15.0;  // snow and showers
    if (hour < 6 || hour > 21) score -= 35.0;  // dark
    return score;
}

Weather ParseWeatherAnswer(const HttpResponse& response) {
    Weather w;
    std::string failure = ServiceFailure(response);
    if (!failure.empty()) {
        w.error = failure;
        return w;
    }
    json j = json::parse(response.body, nullptr, false);
    if (j.is_discarded() || !j.is_object() || !j.contains("current")) {
        w.error = "Ungültige Wetterdaten";
        return w;
    }
    try {
        const json& current = j.at("current");
        if (!current.is_object()) throw Unreadable();
        w.temperature = CurrentNumber(current, "temperature_2m");
        w.apparentTemperature = CurrentNumber(current, "apparent_temperature");
        w.humidity = CurrentNumber(current, "relative_humidity_2m");
        w.windSpeed = CurrentNumber(current, "wind_speed_10m");
        auto code = current.find("weather_code");
        w.weatherCode = code == current.end() ? 0 : IntOrZero(*code);
        std::string now;
        auto time = current.find("time");
        if (time != current.end() && !time->is_null()) {
            if (!time->is_string()) throw Unreadable();
            now = time->get<std::string>();
        }
        const std::string today = now.substr(0, 10);
        const int nowHour = now.size() >= 13 ? HourOf(now) : 0;

        const json& hourly = j.at("hourly");
        const json& times = hourly.at("time");
        if (!times.is_array()) throw Unreadable();
        for (std::size_t i = 0; i < times.size() && w.hours.size() < 24; ++i) {
            if (!times[i].is_string()) throw Unreadable();
            const std::string t = times[i].get<std::string>();
            HourForecast h;
            h.hour = HourOf(t);
            h.tomorrow = t.substr(0, 10) != today;
            if (!h.tomorrow && h.hour < nowHour) continue;
            if (h.tomorrow && h.hour > nowHour) break;
            h.temperature = NumberOrZero(hourly.at("temperature_2m").at(i));
            h.precipitationProbability = NumberOrZero(hourly.at("precipitation_probability").at(i));
            h.windSpeed = NumberOrZero(hourly.at("wind_speed_10m").at(i));
            h.weatherCode = IntOrZero(hourly.at("weather_code").at(i));
            h.score = RunningScore(h.hour, h.temperature, h.precipitationProbability, h.windSpeed, h.weatherCode);
            w.hours.push_back(h);
        }
    } catch (const std::exception&) {
        Weather failed;
        failed.error = "Wetterdaten konnten nicht gelesen werden";
        return failed;
    }

    for (std::size_t i = 0; i < w.hours.size(); ++i) {
        if (w.bestIndex < 0 || w.hours[i].score > w.hours[static_cast<std::size_t>(w.bestIndex)].score)
            w.bestIndex = static_cast<int>(i);
    }
    if (w.bestIndex >= 0) {
        const HourForecast& best = w.hours[static_cast<std::size_t>(w.bestIndex)];
        w.bestText = std::string("Beste Laufzeit: ") + (best.tomorrow ? "morgen" : "heute") + " " +
                     TwoDigits(best.hour) + ":00 Uhr – " + Rounded(best.temperature) + " °C, " +
                     Rounded(best.precipitationProbability) + " % Regenrisiko";
    }
    w.ok = true;
    return w;
}

Weather FetchWeather(LatLon position) { return ParseWeatherAnswer(HttpGet(WeatherUrl(position))); }

const char* WeatherText(int code) {
    if (code == 0) return "Klar";
    if (code == 1 || code == 2) return "Leicht bewölkt";
    if (code == 3) return "Bedeckt";
    if (code == 45 || code == 48) return "Nebel";
    if (code >= 51 && code <= 57) return "Nieselregen";
    if (code >= 61 && code <= 67) return "Regen";
    if (code >= 71 && code <= 77) return "Schnee";
    if (code >= 80 && code <= 82) return "Regenschauer";
    if (code == 85 || code == 86) return "Schneeschauer";
    if (code >= 95) return "Gewitter";
    return "Wechselhaft";
}

const char* WeatherIcon(int code, int hour) {
    if (code <= 1) return (hour < 6 || hour >= 20) ? Icon::WeatherMoon : Icon::WeatherSun;
    if (code <= 3 || code == 45 || code == 48) return Icon::WeatherCloud;
    if (code >= 71 && code <= 77) return Icon::WeatherSnow;
    if (code >= 95) return Icon::WeatherThunder;
    return Icon::WeatherUmbrella;
}
