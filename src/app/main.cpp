// Process entry: single instance, window, OpenGL context, Dear ImGui and the
// frame loop. Everything here runs on the main thread.
#include <SDL.h>
#include <SDL_image.h>
#include <SDL_opengl.h>
#include <imgui.h>
#include <imgui_impl_opengl3.h>
#include <imgui_impl_sdl.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/jobs.h"
#include "platform/window.h"
#include "model/storage.h"
#include "platform/activation.h"
#include "platform/single_instance.h"
#include "ui/theme.h"

namespace {

enum UserCode : Sint32 { CodeWake = 0, CodeTick = 1, CodeInstance = 2, CodeToast = 3 };

Uint32 gUserEvent = static_cast<Uint32>(-1);

void PushUser(UserCode code) {
    if (gUserEvent == static_cast<Uint32>(-1)) return;
    SDL_Event e{};
    e.type = gUserEvent;
    e.user.code = code;
    SDL_PushEvent(&e);  // thread-safe
}

Uint32 TickCallback(Uint32 interval, void*) {
    PushUser(CodeTick);
    return interval;
}

// UI scale of a display: its DPI over 96, or STRIDELY_SCALE when set.
float DisplayScale(int display) {
    if (const char* forced = std::getenv("STRIDELY_SCALE")) {
        float f = static_cast<float>(std::atof(forced));
        if (f >= 0.5f && f <= 4.0f) return f;
    }
    float ddpi = 0.0f;
    if (SDL_GetDisplayDPI(display, &ddpi, nullptr, nullptr) != 0 || !(ddpi > 0.0f)) return 1.0f;
    // Display servers report slightly odd DPIs (e.g. 95.9); snap to quarter steps.
    float s = std::round(ddpi / 96.0f * 4.0f) / 4.0f;
    return std::clamp(s, 1.0f, 4.0f);
}

bool WritePng(const std::string& path, int w, int h) {
    std::vector<unsigned char> pixels(static_cast<size_t>(w) * h * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    // OpenGL rows go bottom-up.
    std::vector<unsigned char> flipped(pixels.size());
    for (int y = 0; y < h; ++y)
        std::memcpy(&flipped[static_cast<size_t>(y) * w * 4], &pixels[static_cast<size_t>(h - 1 - y) * w * 4],
                    static_cast<size_t>(w) * 4);
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(flipped.data(), w, h, 32, w * 4, SDL_PIXELFORMAT_ABGR8888);
    if (!s) return false;
    bool ok = IMG_SavePNG(s, path.c_str()) == 0;
    SDL_FreeSurface(s);
    return ok;
}

struct Options {
    bool minimised = false;
    bool gallery = false;
    std::string screenshot;
    std::vector<std::string> files;
};

Options ParseOptions(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        // Plain substring match: "--minimized" anywhere starts hidden.
        if (a.find("--minimized") != std::string::npos) {
            o.minimised = true;
        } else if (a == "--gallery") {
            o.gallery = true;
        } else if (a == "--screenshot" && i + 1 < argc) {
            o.screenshot = argv[++i];
        } else if (a.rfind("--", 0) != 0) {
            // Files to import; absolute, because a running instance may have
            // another working directory.
            std::error_code ec;
            auto abs = std::filesystem::absolute(a, ec);
            o.files.push_back(ec ? a : abs.string());
        }
    }
    return o;
}

}  // namespace

int main(int argc, char** argv) {
    Options opt = ParseOptions(argc, argv);
    std::string dataDir = DataDirectory();

    platform::SingleInstance instance;
    std::string instanceDir = platform::InstanceDirectory(dataDir);
    if (!instance.Acquire(instanceDir)) {
        std::vector<std::string> lines;
        for (const auto& f : opt.files) lines.push_back("open " + f);
        lines.push_back("show");
        if (platform::SingleInstance::Send(instanceDir, lines)) return 0;
        // The holder vanished between our lock attempt and the hand-over.
        if (!instance.Acquire(instanceDir)) return 0;
    }

    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER | SDL_INIT_EVENTS) != 0) {
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Stridely", "OpenGL konnte nicht initialisiert werden.", nullptr);
        return 1;
    }
    gUserEvent = SDL_RegisterEvents(1);

    SDL_GL_SetAttribute(SDL_GL_CONTEXT_FLAGS, 0);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 0);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);

    float scale = DisplayScale(0);
    SDL_Rect area{0, 0, 1600, 1000};
    SDL_GetDisplayUsableBounds(0, &area);
    int winW = std::min(static_cast<int>(1480 * scale), area.w - 40);
    int winH = std::min(static_cast<int>(940 * scale), area.h - 40);
    int winX = area.x + (area.w - winW) / 2;
    int winY = area.y + (area.h - winH) / 2;

    SDL_Window* window = SDL_CreateWindow("Stridely \u2013 Lauf- & Sport-Tracker", winX, winY, winW, winH,
                                          SDL_WINDOW_OPENGL | SDL_WINDOW_RESIZABLE | SDL_WINDOW_HIDDEN |
                                              SDL_WINDOW_ALLOW_HIGHDPI);
    SDL_GLContext gl = window ? SDL_GL_CreateContext(window) : nullptr;
    if (!gl) {
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Stridely", "OpenGL konnte nicht initialisiert werden.", nullptr);
        if (window) SDL_DestroyWindow(window);
        SDL_Quit();
        return 1;
    }
    SDL_GL_MakeCurrent(window, gl);
    SDL_GL_SetSwapInterval(1);
    SetWindowIcon(window);
    scale = DisplayScale(std::max(0, SDL_GetWindowDisplayIndex(window)));
    SetMinimumSize(window, scale, area);

    IMGUI_CHECKVERSION();
    ImGui::CreateContext();
    ImGuiIO& io = ImGui::GetIO();
    io.ConfigFlags |= ImGuiConfigFlags_NavEnableKeyboard;
    io.IniFilename = nullptr;
    io.ConfigWindowsMoveFromTitleBarOnly = true;
    ImGui_ImplSDL2_InitForOpenGL(window, gl);
    ImGui_ImplOpenGL3_Init("#version 130");

    App& app = TheApp();
    app.showGallery = opt.gallery;
    app.hooks.showWindow = [window] { ShowAndRaise(window); };
    app.hooks.trayAvailable = [] { return false; };  // no tray icon yet
    SetWakeHandler([] { PushUser(CodeWake); });
    app.Init(opt.minimised, dataDir);
    app.ImportPaths(opt.files);
    instance.Listen([] { PushUser(CodeInstance); });

    app.fontScale = scale;
    LoadFonts(scale);
    ApplyTheme(scale, app.db.settings.accent);
    app.appliedAccent = app.db.settings.accent;

    SDL_TimerID timer = SDL_AddTimer(15000, TickCallback, nullptr);
    if (!opt.minimised) SDL_ShowWindow(window);
    app.OnTimer();

    int exitCode = 0;
    int framesDrawn = 0;
    double firstFrameAt = -1.0;
    bool done = false;
    while (!done) {
        Uint32 flags = SDL_GetWindowFlags(window);
        bool hidden = !(flags & SDL_WINDOW_SHOWN) || (flags & SDL_WINDOW_MINIMIZED) || (flags & SDL_WINDOW_HIDDEN);
        bool foreground = (flags & SDL_WINDOW_INPUT_FOCUS) != 0;
        SDL_Event ev;
        bool have = false;
        if (hidden) {
            have = SDL_WaitEventTimeout(&ev, 1000);
        } else if (!foreground && !app.IsAnimating() && opt.screenshot.empty()) {
            have = SDL_WaitEventTimeout(&ev, 100);
        } else {
            have = SDL_PollEvent(&ev);
        }
        while (have) {
            ImGui_ImplSDL2_ProcessEvent(&ev);
            if (ev.type == SDL_QUIT) {
                done = true;
            } else if (ev.type == SDL_WINDOWEVENT && ev.window.windowID == SDL_GetWindowID(window)) {
                if (ev.window.event == SDL_WINDOWEVENT_CLOSE) {
                    if (app.db.settings.closeToTray && app.hooks.trayAvailable && app.hooks.trayAvailable()) {
                        SDL_HideWindow(window);
                        app.ShowTrayHint();
                    } else {
                        done = true;
                    }
                } else if (ev.window.event == SDL_WINDOWEVENT_MOVED ||
                           ev.window.event == SDL_WINDOWEVENT_DISPLAY_CHANGED) {
                    float s = DisplayScale(std::max(0, SDL_GetWindowDisplayIndex(window)));
                    if (s != scale) {
                        scale = s;
                        SetMinimumSize(window, scale, area);
                        app.fontScale = scale;
                        LoadFonts(scale);
                        ApplyTheme(scale, app.db.settings.accent);
                        ImGui_ImplOpenGL3_DestroyFontsTexture();
                        ImGui_ImplOpenGL3_CreateFontsTexture();
                    }
                }
            } else if (ev.type == gUserEvent) {
                if (ev.user.code == CodeTick) {
                    app.OnTimer();
                } else if (ev.user.code == CodeInstance) {
                    // Files handed over by a later start are imported as one batch.
                    std::vector<std::string> files;
                    bool show = false;
                    for (const auto& line : instance.TakeMessages()) {
                        if (line.rfind("open ", 0) == 0)
                            files.push_back(line.substr(5));
                        else if (line == "show")
                            show = true;
                    }
                    app.ImportPaths(files);
                    if (show) app.ShowMainWindow();
                } else if (ev.user.code == CodeToast) {
                    app.OnToastActivated();
                }
            }
            have = SDL_PollEvent(&ev);
        }
        if (done) break;

        flags = SDL_GetWindowFlags(window);
        if ((flags & SDL_WINDOW_HIDDEN) || (flags & SDL_WINDOW_MINIMIZED)) continue;

        ImGui_ImplOpenGL3_NewFrame();
        ImGui_ImplSDL2_NewFrame();
        // Screenshots show the page at rest, whatever the pointer of the display does.
        if (!opt.screenshot.empty()) io.MousePos = ImVec2(-FLT_MAX, -FLT_MAX);
        ImGui::NewFrame();
        app.Frame();
        ImGui::Render();
        int fbW = 0, fbH = 0;
        SDL_GL_GetDrawableSize(window, &fbW, &fbH);
        glViewport(0, 0, fbW, fbH);
        glClearColor(0.055f, 0.063f, 0.086f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        ImGui_ImplOpenGL3_RenderDrawData(ImGui::GetDrawData());

        ++framesDrawn;
        double now = MonotonicSeconds();
        if (firstFrameAt < 0) firstFrameAt = now;
        // Screenshots wait until fades and the first layout pass have settled.
        if (!opt.screenshot.empty() && framesDrawn >= 10 && now - firstFrameAt > 1.5) {
            if (!WritePng(opt.screenshot, fbW, fbH)) {
                std::fprintf(stderr, "Bildschirmfoto konnte nicht gespeichert werden: %s\n", opt.screenshot.c_str());
                exitCode = 1;
            }
            done = true;
        }
        SDL_GL_SwapWindow(window);
    }

    SDL_RemoveTimer(timer);
    app.Shutdown();
    SetWakeHandler(nullptr);
    instance.Stop();
    ImGui_ImplOpenGL3_Shutdown();
    ImGui_ImplSDL2_Shutdown();
    ImGui::DestroyContext();
    SDL_GL_DeleteContext(gl);
    SDL_DestroyWindow(window);
    SDL_Quit();
    return exitCode;
}
