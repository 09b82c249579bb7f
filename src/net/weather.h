// Running weather at the home: current conditions, the next 24 hours scored for a
// run, and the best hour in one sentence.
#pragma once

#include <string>
#include <vector>

#include "model/records.h"
#include "net/http.h"

struct HourForecast {
    int hour = 0;  // 0-23, local time of the home
    bool tomorrow = false;
    double temperature = 0.0;               // °C
    double precipitationProbability = 0.0;  // %
    double windSpeed = 0.0;                 // km/h
    int weatherCode = 0;                    // WMO code
    double score = 0.0;
};

struct Weather {
    bool ok = false;
    std::string error;
    double temperature = 0.0;          // °C
    double apparentTemperature = 0.0;  // °C
    double windSpeed = 0.0;            // km/h
    double humidity = 0.0;             // %
    int weatherCode = 0;
    std::vector<HourForecast> hours;   // at most 24, from the current hour on
    int bestIndex = -1;
    std::string bestText;
};

// A fetch is due at most every 30 minutes (monotonic seconds); a forced one always.
inline constexpr double kWeatherRefreshSeconds = 1800.0;
// Value of the last-fetch time that makes the next check fetch at once.
inline constexpr double kWeatherFetchNow = -1e9;
bool WeatherFetchDue(bool force, double now, double lastFetch);

// The forecast request for a position, against the configured Open-Meteo server.
std::string WeatherUrl(LatLon position);
// Turns a forecast answer into a Weather; never throws. "Now" is the answer's own
// current time, which is local time at the home.
Weather ParseWeatherAnswer(const HttpResponse& response);
// Blocking: request plus parsing. For a background job.
Weather FetchWeather(LatLon position);

// How good an hour is for a run: 100 minus penalties for temperature away from 12 °C,
// rain risk, wind above 15 km/h, thunderstorms, snow and showers, and the night.
double RunningScore(int hour, double temperature, double precipitationProbability, double windSpeed,
                    int weatherCode);

const char* WeatherText(int code);
const char* WeatherIcon(int code, int hour);
