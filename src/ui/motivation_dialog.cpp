// The motivation dialog: today's personal speech for the active profile, with a
// fresh one on demand and a shortcut into the activity editor.
#include <imgui.h>

#include <cfloat>

#include "app/app.h"
#include "model/icons.h"
#include "science/motivation.h"
#include "ui/controls.h"
#include "ui/draw_util.h"
#include "ui/overlays.h"
#include "ui/theme.h"

namespace {

void Compose(App& app) {
    const MotivationTexts t =
        ComposeMotivation(app.GatherMotivationInput(), app.WallNow(), RandomBelow(kParagraphCount),
                          RandomBelow(kClosingCount));
    app.motivationTitle = t.title;
    app.motivationBody = t.body;
    app.motivationSpeech = t.speech;
}

}  // namespace

MotivationInput App::GatherMotivationInput() { return ::GatherMotivationInput(db, ActiveProfile(db), WallNow()); }

void App::OpenMotivation(bool speak) {
    Compose(*this);
    motivationRequested = true;
    (void)speak;  // reading aloud comes with the speech output
}

void App::DrawMotivation() {
    const float s = UiScale();
    if (!BeginOverlay("##motivation", 720 * s)) return;
    ImDrawList* dl = ImGui::GetWindowDrawList();
    const ImVec2 wp = ImGui::GetWindowPos();
    const float ww = ImGui::GetWindowWidth();
    // The glow reaches into the window padding. Drawn in two disjoint clip rects
    // that leave out the small square of the rounded corner outside the window shape.
    const float wh = ImGui::GetWindowHeight();
    const float corner = 18 * s * (1.0f - 0.7071f);
    const ImVec4 clips[2] = {{wp.x, wp.y + corner, wp.x + ww, wp.y + wh}, {wp.x, wp.y, wp.x + ww - corner, wp.y + corner}};
    for (const ImVec4& clip : clips) {
        dl->PushClipRect(ImVec2(clip.x, clip.y), ImVec2(clip.z, clip.w), false);
        for (int i = 0; i < 6; ++i)
            dl->AddCircleFilled(ImVec2(wp.x + ww, wp.y), (300 - 40 * i) * s, UiColor(WithAlpha(Theme::Accent2, 0.03f)),
                                64);
        dl->PopClipRect();
    }

    Caption("DEINE TÄGLICHE MOTIVATION");
    VSpace(2);
    ImFont* heading = FontOr(FontHeading);
    const ImVec2 tp = ImGui::GetCursorScreenPos();
    const ImVec2 ts = heading->CalcTextSizeA(heading->FontSize, FLT_MAX, 0, motivationTitle.c_str());
    GradientText(heading, heading->FontSize, tp, motivationTitle.c_str(), Theme::Accent, Theme::Accent2);
    ImGui::Dummy(ts);

    VSpace(6);
    ImGui::PushStyleVar(ImGuiStyleVar_ItemSpacing, ImVec2(10 * s, 12 * s));
    ImGui::PushTextWrapPos(0.0f);
    ImGui::TextUnformatted(motivationSpeech.c_str());
    ImGui::PopTextWrapPos();
    ImGui::PopStyleVar();

    VSpace(12);
    if (SecondaryButton((std::string(Icon::Refresh) + "  Neue Rede").c_str())) Compose(*this);
    // "Schließen" and the main action end at the right edge of the content.
    ImGui::SameLine(ww - (28 + 220 + 110 + 10) * s);
    bool newActivity = false;
    if (SecondaryButton("Schließen", ImVec2(110 * s, 0))) ImGui::CloseCurrentPopup();
    ImGui::SameLine(0, 10 * s);
    if (PrimaryButton((std::string(Icon::Run) + "  Los geht's – eintragen").c_str(), ImVec2(220 * s, 0))) {
        ImGui::CloseCurrentPopup();
        newActivity = true;
    }
    EndOverlay();
    if (newActivity) NewActivity();
}
