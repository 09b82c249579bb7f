// The App's weather refresh and address lookup against fake servers on 127.0.0.1.
#include <gtest/gtest.h>
#include <stdlib.h>

#include "app/harness.h"
#include "net/fake_http_server.h"
#include "support/weather_answer.h"
#include "ui/overlays.h"

namespace {

void Respond(FakeConnection& c, int status, const std::string& body) {
    c.Send("HTTP/1.1 " + std::to_string(status) + " X\r\nContent-Type: application/json\r\nContent-Length: " +
           std::to_string(body.size()) + "\r\n\r\n" + body);
}

template <class Pred>
bool FramesUntil(Harness& h, Pred pred) {
    for (int i = 0; i < 300; ++i) {
        h.Frame();
        if (pred()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

Profile HomeProfile() {
    Profile p;
    p.id = NewId();
    p.name = "Lea";
    p.hasHome = true;
    p.home = {50.9375, 6.9603};
    return p;
}

}  // namespace

TEST(Services, WeatherFetchedOnceOnFirstFrameThenEvery30Minutes) {
    FakeHttpServer server([](const FakeRequest&, FakeConnection& c) { Respond(c, 200, WeatherAnswer()); });
    setenv("STRIDELY_OPEN_METEO_URL", server.Url().c_str(), 1);
    Harness h;
    h.Init();
    Profile p = HomeProfile();
    h.app.db.profiles.push_back(p);
    h.app.RefreshWeather(false);  // several requests in one frame start one job
    h.app.RefreshWeather(false);
    ASSERT_TRUE(FramesUntil(h, [&] { return h.app.weather.ok; }));
    EXPECT_FALSE(h.app.weatherBusy);
    EXPECT_NEAR(h.app.weather.temperature, 18.5, 1e-9);
    EXPECT_EQ(server.Requests().size(), 1u);
    EXPECT_NE(server.Requests()[0].target.find("/v1/forecast?latitude=50.9375&longitude=6.9603"), std::string::npos);

    h.Advance(1700);
    for (int i = 0; i < 5; ++i) h.Frame();
    EXPECT_EQ(server.Requests().size(), 1u);
    h.Advance(200);
    ASSERT_TRUE(FramesUntil(h, [&] { return server.Requests().size() == 2; }));
    unsetenv("STRIDELY_OPEN_METEO_URL");
}

TEST(Services, WeatherFailureReachesTheCardState) {
    FakeHttpServer server([](const FakeRequest&, FakeConnection& c) { Respond(c, 503, "{}"); });
    setenv("STRIDELY_OPEN_METEO_URL", server.Url().c_str(), 1);
    Harness h;
    h.Init();
    h.app.db.profiles.push_back(HomeProfile());
    ASSERT_TRUE(FramesUntil(h, [&] { return !h.app.weatherBusy && !h.app.weather.error.empty(); }));
    EXPECT_EQ(h.app.weather.error, "HTTP 503");
    unsetenv("STRIDELY_OPEN_METEO_URL");
}

TEST(Services, GeocodeSetsDraftAndStoredProfileOrWarns) {
    FakeHttpServer server([](const FakeRequest& r, FakeConnection& c) {
        if (r.target.find("Nirgendwo") != std::string::npos)
            Respond(c, 200, "[]");
        else
            Respond(c, 200, R"([{"lat":"50.9413","lon":"6.9583","display_name":"Köln"}])");
    });
    setenv("STRIDELY_NOMINATIM_URL", server.Url().c_str(), 1);
    Harness h;
    h.Init();
    Profile stored;
    stored.id = NewId();
    h.app.db.profiles.push_back(stored);
    Profile draft = stored;
    draft.street = "Hauptstraße 1";
    draft.city = "Köln";
    h.app.onboardingDraft = draft;
    h.app.GeocodeProfile(h.app.onboardingDraft);
    h.app.GeocodeProfile(h.app.onboardingDraft);  // already running: ignored
    ASSERT_TRUE(FramesUntil(h, [&] { return !h.app.geocodeBusy; }));
    EXPECT_EQ(server.Requests().size(), 1u);
    EXPECT_TRUE(h.app.onboardingDraft.hasHome);
    EXPECT_NEAR(h.app.onboardingDraft.home.lat, 50.9413, 1e-9);
    EXPECT_TRUE(h.app.db.profiles[0].hasHome);
    EXPECT_NEAR(h.app.db.profiles[0].home.lon, 6.9583, 1e-9);
    EXPECT_TRUE(h.app.savePending);
    EXPECT_EQ(StatusMessages().back().text, "Standort gefunden");

    h.app.onboardingDraft.street = "Nirgendwo";
    h.app.GeocodeProfile(h.app.onboardingDraft);
    ASSERT_TRUE(FramesUntil(h, [&] { return !h.app.geocodeBusy; }));
    EXPECT_EQ(StatusMessages().back().kind, StatusKind::Warning);
    EXPECT_EQ(StatusMessages().back().text.rfind("Adresse nicht gefunden: ", 0), 0u);

    Profile empty;
    empty.country = " ";
    h.app.GeocodeProfile(empty);
    EXPECT_EQ(StatusMessages().back().text, "Bitte zuerst eine Adresse eingeben");
    unsetenv("STRIDELY_NOMINATIM_URL");
}
