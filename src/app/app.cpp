#include "app/app.h"

#include <imgui.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "app/jobs.h"
#include "model/format.h"
#include "model/icons.h"
#include "model/storage.h"
#include "platform/activation.h"
#include "ui/celebration.h"
#include "ui/gallery.h"
#include "ui/overlays.h"
#include "ui/theme.h"
#include "ui/controls.h"

double MonotonicSeconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

App& TheApp() {
    static App app;
    return app;
}

const PageInfo& PageInfoOf(int page) {
    static const PageInfo pages[kPageCount] = {
        {"Übersicht", Icon::Home},
        {"Aktivitäten", Icon::List},
        {"Karte & Routen", Icon::MapPin},
        {"Trophäen", Icon::StarFill},
        {"Profile", Icon::People},
        {"Werkzeuge", Icon::Calculator},
        {"Einstellungen", Icon::Settings},
    };
    return pages[std::clamp(page, 0, kPageCount - 1)];
}

int ParseStartPage(const char* value) {
    if (!value) return 0;
    long n = 0;
    for (const char* p = value; *p >= '0' && *p <= '9'; ++p) {
        n = n * 10 + (*p - '0');
        if (n > kPageCount) break;  // already past the last page: clamps to it
    }
    return static_cast<int>(std::clamp(n, 0L, static_cast<long>(kPageCount - 1)));
}

int64_t App::WallNow() const {
    return wallClock ? wallClock() : static_cast<int64_t>(std::time(nullptr));
}

double App::StopwatchElapsed() const {
    return stopwatchAccum + (stopwatchRunning ? monotonic() - stopwatchStart : 0.0);
}

void App::Init(bool minimised, const std::string& dataDirectory) {
    startedMinimised = minimised;
    dataDir = dataDirectory.empty() ? DataDirectory() : dataDirectory;
    dataPath = JoinPath(dataDir, "data.json");
    // A damaged file is set aside as data.defekt.json and we start empty.
    keepDamagedFile = StartupLoad(dataDir, db) == StartupLoadResult::DamagedNotKept;
    mapTileStyle = db.settings.mapStyle;
    if (db.profiles.empty()) {
        onboardingDraft = Profile{};
        onboardingRequested = true;
    }
    appliedAccent = db.settings.accent;
    if (const char* p = std::getenv("STRIDELY_PAGE"); p && *p) page = ParseStartPage(p);
    if (const char* st = std::getenv("STRIDELY_SCREENSHOT_STATE"); st && *st) ShowScreenshotState(st);
}

void App::MarkChanged() {
    savePending = true;
    changedAt = monotonic();
}

void App::SaveNow() {
    if (keepDamagedFile) {
        // The unreadable data.json could not be copied aside at start; moving it
        // needs no space. Until that works, saving would destroy the only copy.
        if (std::rename(dataPath.c_str(), JoinPath(dataDir, "data.defekt.json").c_str()) != 0) {
            PushStatus("Die beschädigte Datei data.json konnte nicht gesichert werden – Änderungen werden nicht gespeichert.",
                       StatusKind::Error);
            savePending = false;
            return;
        }
        keepDamagedFile = false;
    }
    SaveDatabase(db, dataPath);
    ++saveCount;
    savePending = false;
}

void App::SwitchProfile(const Profile& p) {
    std::string name = p.name;  // p may live inside db
    db.settings.activeProfile = p.id;
    lastWeatherFetch = -1e9;
    weather = Weather{};
    mapSelectedRouteId.clear();
    mapInitialViewDone = false;
    toolsPrefilled = false;
    SaveNow();
    PushStatus("Profil gewechselt: " + name, StatusKind::Info);
}

bool App::IsAnimating() const { return stopwatchRunning || IsCelebrating(); }

void App::ShowMainWindow() {
    if (hooks.showWindow) hooks.showWindow();
}

void App::ShowTrayHint() {
    if (db.settings.trayHintShown) return;
    // The balloon itself comes with the tray icon; the flag is kept so it shows once.
    db.settings.trayHintShown = true;
    SaveNow();
}

void App::OnTrayCommand(int id) {
    switch (id) {
        case 1001:
            ShowMainWindow();
            break;
        case 1002:
            ShowMainWindow();
            NewActivity();
            break;
        case 1003:
            ShowMainWindow();
            OpenMotivation(true);
            break;
        case 1004:
            ShowMainWindow();
            page = Page::PageTools;
            if (!stopwatchRunning) {
                stopwatchRunning = true;
                stopwatchStart = monotonic();
            }
            break;
        default:
            break;
    }
}

void App::OnToastActivated() {
    std::string arg = platform::TakeActivation();
    ShowMainWindow();
    if (arg == "new")
        NewActivity();
    else
        OpenMotivation(arg == "speech" || arg == "motivation");
}

void App::OnTimer() {
    std::tm lt = LocalTime(WallNow());
    int key = (lt.tm_yday * 24 + lt.tm_hour) * 60 + lt.tm_min;
    if (key == lastTickMinute) return;
    lastTickMinute = key;
}

void App::Shutdown() { SaveNow(); }

void App::DrawDecoration() {
    ImDrawList* dl = ImGui::GetWindowDrawList();
    ImVec2 d = ImGui::GetIO().DisplaySize;
    float s = UiScale();
    for (int i = 0; i < 10; ++i) {
        dl->AddCircleFilled(ImVec2(0.92f * d.x, -80 * s), 520 * s - 40 * s * i, WithAlpha(Theme::Accent2, 0.006f), 64);
        dl->AddCircleFilled(ImVec2(0.35f * d.x, d.y + 120 * s), 460 * s - 36 * s * i, WithAlpha(Theme::Accent, 0.005f),
                            64);
    }
}

void App::DrawPage() {
    if (showGallery) {
        DrawGallery();
        return;
    }
    switch (page) {
        case PageOverview:
            DrawOverview();
            return;
        case PageActivitiesList:
            PageActivities();
            return;
        case Page::PageTrophies:
            PageTrophies();
            return;
        case PageProfilesList:
            PageProfiles();
            return;
        case Page::PageTools:
            PageTools();
            return;
        case PageSettingsView:
            PageSettings();
            return;
        default:
            break;
    }
    // Pages arrive one by one; until a page is built it shows its title.
    const PageInfo& info = PageInfoOf(page);
    PageTitle(info.label, nullptr);
}

void App::OpenRequestedPopups() {
    if (editorRequested) {
        ImGui::OpenPopup("##editor");
        editorRequested = false;
    }
    if (detailRequested) {
        ImGui::OpenPopup("##detail");
        detailRequested = false;
    }
    if (motivationRequested) {
        ImGui::OpenPopup("##motivation");
        motivationRequested = false;
    }
    if (onboardingRequested && !ImGui::IsPopupOpen("##onboarding")) {
        ImGui::OpenPopup("##onboarding");
        onboardingRequested = false;
    }
}

void App::Frame() {
    DrainUiQueue();
    if (db.settings.accent != appliedAccent) {
        appliedAccent = db.settings.accent;
        ApplyTheme(fontScale, appliedAccent);
    }
    if (savePending && monotonic() - changedAt > 0.8) SaveNow();
    if (const Profile* p = ActiveProfile(db); p && p->hasHome) RefreshWeather(false);

    ImGuiIO& io = ImGui::GetIO();
    float s = UiScale();
    ImGui::SetNextWindowPos(ImVec2(0, 0));
    ImGui::SetNextWindowSize(io.DisplaySize);
    ImGui::PushStyleVar(ImGuiStyleVar_WindowPadding, ImVec2(0, 0));
    ImGui::PushStyleVar(ImGuiStyleVar_WindowBorderSize, 0.0f);
    ImGui::PushStyleVar(ImGuiStyleVar_WindowRounding, 0.0f);
    ImGui::Begin("##root", nullptr,
                 ImGuiWindowFlags_NoTitleBar | ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoMove |
                     ImGuiWindowFlags_NoScrollbar | ImGuiWindowFlags_NoScrollWithMouse |
                     ImGuiWindowFlags_NoCollapse | ImGuiWindowFlags_NoSavedSettings |
                     ImGuiWindowFlags_NoBringToFrontOnFocus);
    ImGui::PopStyleVar(3);
    ImGui::GetWindowDrawList()->AddRectFilled(ImVec2(0, 0), io.DisplaySize, Theme::Bg);
    DrawDecoration();

    Sidebar(236 * s, io.DisplaySize.y);
    ImGui::SameLine(0, 0);

    bool map = page == PageMapRoutes && !showGallery;
    ImGui::PushStyleVar(ImGuiStyleVar_WindowPadding, map ? ImVec2(0, 0) : ImVec2(30 * s, 24 * s));
    ImGui::PushStyleColor(ImGuiCol_ChildBg, IM_COL32(0, 0, 0, 0));
    ImGuiWindowFlags contentFlags = ImGuiWindowFlags_AlwaysUseWindowPadding;
    if (map) contentFlags |= ImGuiWindowFlags_NoScrollbar | ImGuiWindowFlags_NoScrollWithMouse;
    ImGui::BeginChild("##content", ImVec2(0, 0), false, contentFlags);
    ImGui::PushStyleVar(ImGuiStyleVar_WindowPadding, ImVec2(8 * s, 8 * s));
    DrawPage();
    if (!map) VSpace(20);
    ImGui::PopStyleVar();
    ImGui::EndChild();
    ImGui::PopStyleColor();
    ImGui::PopStyleVar();

    OpenRequestedPopups();
    DrawActivityEditor();
    DrawActivityDetail();
    DrawMotivation();
    DrawOnboarding();
    DrawConfirm();
    ImGui::End();
    DrawCelebration(db.settings.sounds, db.settings.animations);
    DrawStatus();
}
