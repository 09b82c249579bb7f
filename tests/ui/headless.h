// A Dear ImGui context with a built font atlas and no renderer, for drawing frames in
// tests and benchmarks. Each frame draws into one full-display window, then checks
// that every Begin/Push was matched before rendering.
#pragma once

#include <cstdarg>
#include <cstdio>
#include <string>
#include <vector>

#include "imgui.h"
#include "imgui_internal.h"
#include "ui/theme.h"

class HeadlessUi {
public:
    explicit HeadlessUi(float scale = 1.0f, ImVec2 display = ImVec2(1600, 1000)) {
        IMGUI_CHECKVERSION();
        ctx_ = ImGui::CreateContext();
        ImGuiIO& io = ImGui::GetIO();
        io.IniFilename = nullptr;
        io.DisplaySize = ImVec2(display.x * scale, display.y * scale);
        io.DeltaTime = 1.0f / 60.0f;
        io.ConfigFlags |= ImGuiConfigFlags_NavEnableKeyboard;  // as the program runs
        for (int k = 0; k < ImGuiKey_COUNT; ++k) io.KeyMap[k] = k;
        LoadFonts(scale);
        ApplyTheme(scale, 0);
        unsigned char* pixels = nullptr;
        int w = 0, h = 0;
        io.Fonts->GetTexDataAsRGBA32(&pixels, &w, &h);
    }
    ~HeadlessUi() { ImGui::DestroyContext(ctx_); }
    HeadlessUi(const HeadlessUi&) = delete;
    HeadlessUi& operator=(const HeadlessUi&) = delete;

    // Runs one frame: body draws inside the root window, after() after it (overlays
    // drawn at root level). Returns the problems Dear ImGui's end-of-frame check found
    // (unbalanced Begin/End, Push/Pop); empty = clean.
    template <typename Body, typename After>
    std::vector<std::string> Frame(Body body, After after) {
        ImGui::NewFrame();
        const ImGuiIO& io = ImGui::GetIO();
        ImGui::SetNextWindowPos(ImVec2(0, 0));
        ImGui::SetNextWindowSize(io.DisplaySize);
        ImGui::Begin("##root", nullptr,
                     ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_NoMove | ImGuiWindowFlags_NoSavedSettings);
        body();
        ImGui::End();
        after();
        errors_.clear();
        // Pushes left over at root level (outside any window's own check).
        const ImGuiContext& g = *GImGui;
        if (g.ColorStack.Size) errors_.push_back("colour stack not empty");
        if (g.StyleVarStack.Size) errors_.push_back("style variable stack not empty");
        if (g.FontStack.Size) errors_.push_back("font stack not empty");
        if (g.GroupStack.Size) errors_.push_back("group stack not empty");
        if (g.BeginPopupStack.Size) errors_.push_back("popup stack not empty");
        ImGui::ErrorCheckEndFrameRecover(&HeadlessUi::Log, this);
        ImGui::Render();
        return errors_;
    }
    template <typename Body>
    std::vector<std::string> Frame(Body body) {
        return Frame(body, [] {});
    }

    ImGuiIO& Io() { return ImGui::GetIO(); }

private:
    static void Log(void* self, const char* fmt, ...) {
        char buf[512];
        va_list args;
        va_start(args, fmt);
        vsnprintf(buf, sizeof buf, fmt, args);
        va_end(args);
        static_cast<HeadlessUi*>(self)->errors_.push_back(buf);
    }

    ImGuiContext* ctx_ = nullptr;
    std::vector<std::string> errors_;
};
