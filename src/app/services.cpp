// The App's use of the online services: running weather and address lookup.
#include <memory>

#include "app/app.h"
#include "app/jobs.h"
#include "net/geo.h"
#include "net/weather.h"
#include "ui/overlays.h"

void App::RefreshWeather(bool force) {
    const Profile* p = ActiveProfile(db);
    if (!p || weatherBusy) return;
    double now = monotonic();
    if (!WeatherFetchDue(force, now, lastWeatherFetch)) return;
    weatherBusy = true;
    lastWeatherFetch = now;
    auto result = std::make_shared<Weather>();
    LatLon home = p->home;
    RunInBackground([result, home] { *result = FetchWeather(home); },
                    [this, result] {
                        weatherBusy = false;
                        weather = *result;  // also a failure, so the card shows its error
                    });
}

void App::GeocodeProfile(Profile& draft) {
    if (geocodeBusy) return;
    std::string query = ProfileAddressQuery(draft);
    if (query.size() < kMinAddressLength) {
        PushStatus("Bitte zuerst eine Adresse eingeben", StatusKind::Warning);
        return;
    }
    geocodeBusy = true;
    auto result = std::make_shared<GeoResult>();
    Profile* target = &draft;  // an App member (editor or onboarding draft), alive as long as the App
    RunInBackground([result, query] { *result = GeocodeAddress(query); },
                    [this, result, target] {
                        geocodeBusy = false;
                        if (!result->ok) {
                            PushStatus("Adresse nicht gefunden: " + result->error, StatusKind::Warning);
                            return;
                        }
                        target->home = LatLon{result->lat, result->lon};
                        target->hasHome = true;
                        if (Profile* stored = FindProfile(db, target->id); stored && stored != target) {
                            stored->home = target->home;
                            stored->hasHome = true;
                        }
                        mapInitialViewDone = false;
                        lastWeatherFetch = -1e9;
                        MarkChanged();
                        PushStatus("Standort gefunden", StatusKind::Success);
                    });
}
