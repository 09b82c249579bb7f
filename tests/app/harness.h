// Headless frame harness: a Dear ImGui context with a built font atlas and no
// renderer runs App::Frame, so tests can draw every page and press buttons
// through the App API.
#pragma once

#include <imgui.h>
#include <imgui_internal.h>

#include <filesystem>
#include <string>

#include "app/app.h"
#include "ui/theme.h"

class Harness {
public:
    explicit Harness(float scale = 1.0f) {
        ctx_ = ImGui::CreateContext();
        ImGuiIO& io = ImGui::GetIO();
        io.IniFilename = nullptr;
        io.DisplaySize = ImVec2(1480 * scale, 940 * scale);
        io.DeltaTime = 1.0f / 60.0f;
        LoadFonts(scale);
        unsigned char* px;
        int w, h;
        io.Fonts->GetTexDataAsRGBA32(&px, &w, &h);  // builds the atlas
        io.Fonts->SetTexID(reinterpret_cast<ImTextureID>(intptr_t(1)));
        ApplyTheme(scale, 0);
        char tmpl[] = "/tmp/stridely-harness-XXXXXX";
        dir_ = mkdtemp(tmpl);
        app.fontScale = scale;
        app.monotonic = [this] { return clock_; };
    }
    ~Harness() {
        ImGui::DestroyContext(ctx_);
        std::filesystem::remove_all(dir_);
    }

    void Init() { app.Init(false, dir_); }

    // One frame; returns false when Dear ImGui's window or id stacks are unbalanced.
    bool Frame() {
        ImGui::NewFrame();
        app.Frame();
        ImGuiContext& g = *GImGui;
        bool balanced = g.CurrentWindowStack.Size == 1 && g.ColorStack.Size == 0 && g.StyleVarStack.Size == 0 &&
                        g.FontStack.Size == 0 && g.BeginPopupStack.Size == 0 && g.GroupStack.Size == 0;
        ImGui::Render();
        clock_ += 1.0 / 60.0;
        return balanced;
    }
    void Advance(double seconds) { clock_ += seconds; }
    double Now() const { return clock_; }
    const std::string& Dir() const { return dir_; }

    App app;

private:
    ImGuiContext* ctx_ = nullptr;
    std::string dir_;
    double clock_ = 1000.0;
};
