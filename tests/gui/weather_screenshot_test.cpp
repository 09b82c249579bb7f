// The overview of a populated profile with the running weather served by a
// fake forecast server on 127.0.0.1. With STRIDELY_DOCS_OUT set, the
// screenshot is kept there (that is how docs/overview-weather.png is made).
#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <fstream>

#include "gui/xvfb.h"
#include "model/datafile.h"
#include "model/format.h"
#include "net/fake_http_server.h"
#include "support/sample_data.h"
#include "support/weather_answer.h"

namespace fs = std::filesystem;
using namespace testgui;

TEST(WeatherScreenshot, OverviewShowsForecastFromFakeServer) {
    Xvfb x;
    ASSERT_TRUE(x.Ok());
    int64_t now = std::time(nullptr);
    std::tm lt = LocalTime(now);
    std::string answer = WeatherAnswer(lt.tm_year + 1900, lt.tm_mon + 1, lt.tm_mday, lt.tm_hour, lt.tm_min);
    FakeHttpServer server([&](const FakeRequest&, FakeConnection& c) {
        c.Send("HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: " +
               std::to_string(answer.size()) + "\r\n\r\n" + answer);
    });
    std::string data = MakeTempDir("weather-data"), run = MakeTempDir("weather-run");
    { std::ofstream(data + "/data.json") << SerializeDatabase(sample::SampleDatabase(220, now)); }
    std::string png = run + "/overview.png";
    pid_t pid = Spawn({STRIDELY_BINARY, "--screenshot", png},
                      {{"DISPLAY", x.Display()}, {"STRIDELY_DATA_DIR", data}, {"XDG_RUNTIME_DIR", run},
                       {"STRIDELY_SCALE", "1"}, {"STRIDELY_PAGE", "0"}, {"SDL_AUDIODRIVER", "dummy"},
                       {"STRIDELY_OPEN_METEO_URL", server.Url()}});
    ASSERT_GT(pid, 0);
    EXPECT_EQ(WaitExit(pid, 60), 0);
    ASSERT_TRUE(fs::exists(png));
    // The card asked for the home's forecast exactly once.
    auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].target.rfind("/v1/forecast?latitude=51.3297&longitude=12.3370", 0), 0u);
    if (const char* out = std::getenv("STRIDELY_DOCS_OUT"))
        fs::copy_file(png, std::string(out) + "/overview-weather.png", fs::copy_options::overwrite_existing);
    fs::remove_all(data);
    fs::remove_all(run);
}
