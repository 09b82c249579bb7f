// The one application object: owns the database and every piece of interface
// state. Every member runs on the main thread.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "model/records.h"
#include "science/motivation.h"
#include "ui/pages_state.h"
#include "ui/profiles.h"
#include "net/weather.h"

enum Page : int {
    PageOverview = 0,
    PageActivitiesList = 1,
    PageMapRoutes = 2,
    PageTrophies = 3,
    PageProfilesList = 4,
    PageTools = 5,
    PageSettingsView = 6,
};
constexpr int kPageCount = 7;

struct PageInfo {
    const char* label;
    const char* icon;
};
const PageInfo& PageInfoOf(int page);

// Reads STRIDELY_PAGE's value: leading decimal digits, anything else gives 0,
// clamped to 0..6.
int ParseStartPage(const char* value);

// What the shell offers the App; main wires these to the window. Tests leave
// them empty.
struct ShellHooks {
    std::function<void()> showWindow;      // show (also from hidden), restore, raise
    std::function<bool()> trayAvailable;   // a tray icon exists to bring the window back
};

// Monotonic seconds for frame-to-frame timing.
double MonotonicSeconds();

struct App {
    // Persistent state.
    Database db;

    // Shell state.
    std::string dataDir;
    std::string dataPath;
    int page = PageOverview;
    bool savePending = false;
    bool keepDamagedFile = false;  // data.json is unreadable and not yet set aside
    double changedAt = 0.0;
    bool startedMinimised = false;
    int appliedAccent = -1;
    int lastTickMinute = -1;
    float fontScale = 1.0f;
    ShellHooks hooks;
    bool showGallery = false;  // --gallery: draws every primitive instead of a page

    // Clocks; tests replace them to step time deterministically.
    std::function<double()> monotonic = MonotonicSeconds;
    std::function<int64_t()> wallClock;  // epoch seconds; empty = time(nullptr)

    // Overlay requests: set by anyone, consumed by Frame which opens the popup.
    bool editorRequested = false;
    Activity editorDraft;
    bool editorIsNew = false;
    bool editorAutoCalories = true;
    bool detailRequested = false;
    std::string detailActivityId;
    bool detailFitPending = false;
    bool motivationRequested = false;
    std::string motivationTitle, motivationBody, motivationSpeech;
    bool onboardingRequested = false;
    Profile onboardingDraft;

    // Per-feature state kept here so that profile switches can reset it.
    std::string mapSelectedRouteId;
    bool mapInitialViewDone = false;
    int mapTileStyle = 0;
    double lastWeatherFetch = -1e9;
    Weather weather;          // the running-weather card's data
    bool weatherBusy = false;
    bool geocodeBusy = false;
    bool toolsPrefilled = false;

    // Stopwatch (tools page; the sidebar shows it while it has time on it).
    bool stopwatchRunning = false;
    double stopwatchAccum = 0.0;
    double stopwatchStart = 0.0;
    std::vector<double> stopwatchLaps;

    // Start-up: load data, request onboarding when there is no profile, pick
    // the start page. dataDirectory empty = the usual data directory.
    void Init(bool minimised, const std::string& dataDirectory = "");
    void Frame();
    void Sidebar(float w, float h);
    void OnTimer();
    bool IsAnimating() const;
    void ShowMainWindow();
    void ShowTrayHint();
    void OnTrayCommand(int id);
    void OnToastActivated();  // takes the argument stored by the notification handler
    void SwitchProfile(const Profile& p);
    void MarkChanged();
    void SaveNow();
    void Shutdown();

    // Activity editor and detail overlays (src/ui/editor.cpp, src/ui/detail.cpp).
    // NewActivity opens the editor on a fresh activity, pre-filled from the saved
    // route when routeId names one; without an active profile it asks for onboarding.
    void NewActivity(const std::string& routeId = "");
    void EditActivity(const std::string& activityId);
    void ShowActivity(const std::string& activityId);
    // Stores the activity (new: append, evaluate awards, celebrate when asked;
    // edited: overwrite the stored one) and writes the data file at once.
    void SaveActivity(Activity activity, bool isNew, bool celebrate);
    // Removes the activity and the awards granted with it; saves at once.
    void DeleteActivity(const std::string& activityId);
    void DrawActivityEditor();
    void DrawActivityDetail();
    // Trophies page (src/ui/page_trophies.cpp); the celebration queue itself is
    // QueueCelebration in ui/celebration.h.
    void PageTrophies();
    // Profiles page and onboarding dialog (src/ui/page_profiles.cpp, src/ui/onboarding.cpp).
    void PageProfiles();
    void DrawOnboarding();
    ProfilesPageState profilesPage;
    // The confirmed "Profil löschen": removes the profile with everything it owns,
    // saves, and opens the first-run onboarding when none is left.
    void RemoveProfile(const std::string& profileId);
    // "Los geht's" / "Profil anlegen": the onboarding draft becomes a new, active profile.
    void FinishOnboarding(bool firstRun);
    // STRIDELY_SCREENSHOT_STATE ("editor", "detail", "celebration", "stopwatch",
    // "motivation"): an overlay or state opened at start for documentation screenshots.
    void ShowScreenshotState(const std::string& state);

    // Online services: a weather fetch at most every 30 minutes (force skips
    // the wait), and locating a profile draft's home address.
    void RefreshWeather(bool force);
    void GeocodeProfile(Profile& draft);

    // Overview, activities, tools and settings pages (src/ui/page_overview.cpp,
    // page_activities.cpp, page_tools.cpp, page_settings.cpp) and their state.
    void DrawOverview();
    void DrawWeatherCard(const Profile& p);
    void PageActivities();
    void PageTools();
    void PageSettings();
    ActivitiesPageState activitiesPage;
    ToolsState tools;
    // Motivation dialog (src/ui/motivation_dialog.cpp): composes the texts for the
    // active profile and opens "##motivation"; speak reads them aloud when allowed.
    MotivationInput GatherMotivationInput();
    void OpenMotivation(bool speak);
    void DrawMotivation();
    // Backup and restore (src/app/backup.cpp). The *To/*File/*Text steps do the
    // work without a dialog; restoring asks for confirmation first.
    void ExportBackup();
    bool ExportBackupTo(const std::string& path);
    void ImportBackup();
    void ImportBackupFile(const std::string& path);
    void RestoreBackupText(const std::string& text);
    void OpenDataFolder();

    // GPX/TCX import through the open dialog, or of given paths (command line,
    // a second start); CSV export of the active profile's activities.
    void ImportActivityFiles();
    void ImportPaths(const std::vector<std::string>& paths);
    void ExportCsv();
    bool ExportCsvTo(const std::string& path);

    // Whole seconds on the stopwatch: accumulated plus the running stretch.
    double StopwatchElapsed() const;
    int64_t WallNow() const;

    // How many times the data file was written; tests and benchmarks read it.
    int saveCount = 0;

private:
    void DrawDecoration();
    void DrawPage();
    void OpenRequestedPopups();
};

App& TheApp();
