// Whole frames through Dear ImGui without a renderer: the gallery (every primitive),
// the confirmation dialog, status messages and confetti must draw without unbalanced
// Begin/End or Push/Pop, and the dialog must behave.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "ui/charts.h"
#include "model/format.h"
#include "ui/controls.h"
#include "ui/fields.h"
#include "ui/gallery.h"
#include "ui/headless.h"
#include "model/icons.h"
#include "ui/overlays.h"

namespace {

void Overlays() {
    DrawConfirm();
    DrawStatus();
}

// Presses and releases the left button at pos over three frames of body.
template <typename Body>
void Click(HeadlessUi& ui, ImVec2 pos, Body body) {
    ImGuiIO& io = ui.Io();
    io.MousePos = pos;
    EXPECT_TRUE(ui.Frame(body, Overlays).empty());
    io.MouseDown[0] = true;
    EXPECT_TRUE(ui.Frame(body, Overlays).empty());
    io.MouseDown[0] = false;
    EXPECT_TRUE(ui.Frame(body, Overlays).empty());
}

// Centre of the left ("Abbrechen") or right (confirm) button of the open dialog.
ImVec2 ConfirmButton(bool confirm) {
    ImGuiWindow* w = ImGui::FindWindowByName("##confirm");
    EXPECT_NE(w, nullptr);
    if (!w) return ImVec2(-1, -1);
    const float s = UiScale();
    const float inner = w->Size.x - 2 * 24 * s;
    const float bw = (inner - 10 * s) * 0.5f;
    const float x = w->Pos.x + 24 * s + (confirm ? bw + 10 * s : 0.0f) + bw * 0.5f;
    const float y = w->Pos.y + w->Size.y - 22 * s - 10 * s;
    return ImVec2(x, y);
}

TEST(HeadlessFrames, GalleryDrawsCleanlyAtBothScalesWhileTheMouseMoves) {
    for (float scale : {1.0f, 2.0f}) {
        SCOPED_TRACE(scale);
        HeadlessUi ui(scale);
        const ImVec2 d = ui.Io().DisplaySize;
        for (int frame = 0; frame < 80; ++frame) {
            SetGalleryPage(frame < 60 ? 0 : 1);  // the controls, then the icon grid
            // Sweep the mouse over the page so hover states and tooltips are drawn too.
            ui.Io().MousePos = ImVec2(d.x * ((frame * 37) % 100) / 100.0f, d.y * ((frame * 53) % 100) / 100.0f);
            const std::vector<std::string> errors = ui.Frame(DrawGallery, Overlays);
            ASSERT_TRUE(errors.empty()) << errors.front();
        }
        ImDrawData* data = ImGui::GetDrawData();
        ASSERT_NE(data, nullptr);
        EXPECT_GT(data->TotalVtxCount, 5000);  // the gallery really drew something
    }
}

TEST(HeadlessFrames, ConfirmRunsItsActionOnceAndCancelRunsNothing) {
    HeadlessUi ui;
    int deleted = 0;
    int other = 0;
    auto page = [] {};

    // Re-arming before the dialog shows replaces the request.
    AskConfirm("Erst", "nicht diese", "Los", [&] { ++other; });
    AskConfirm("Aktivität löschen?", "Die Aktivität wird entfernt.", "Löschen", [&] { ++deleted; });
    EXPECT_TRUE(ConfirmPending());
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(ui.Frame(page, Overlays).empty());
    Click(ui, ConfirmButton(true), page);
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(ui.Frame(page, Overlays).empty());
    EXPECT_EQ(deleted, 1);
    EXPECT_EQ(other, 0);
    EXPECT_FALSE(ConfirmPending());

    AskConfirm("Profil löschen?", "Alles weg.", "Löschen", [&] { ++deleted; });
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(ui.Frame(page, Overlays).empty());
    Click(ui, ConfirmButton(false), page);
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(ui.Frame(page, Overlays).empty());
    EXPECT_EQ(deleted, 1);
    EXPECT_FALSE(ConfirmPending());
}

TEST(HeadlessFrames, CalendarPopupPicksADayAndKeepsTheTime) {
    setenv("TZ", "Europe/Berlin", 1);
    tzset();
    HeadlessUi ui;
    int64_t date = MakeLocalTime(2025, 3, 14, 7, 30, 0);
    int changes = 0;
    auto body = [&] {
        ImGui::SetNextItemWidth(240);
        if (DateField("when", &date)) ++changes;
    };
    ASSERT_TRUE(ui.Frame(body).empty());
    Click(ui, ImVec2(20, 15), body);  // the date button at the window's corner
    const ImGuiContext& g = *GImGui;
    ASSERT_EQ(g.OpenPopupStack.Size, 1);
    ImGuiWindow* popup = g.OpenPopupStack.back().Window;
    ASSERT_NE(popup, nullptr);
    EXPECT_GT(popup->Pos.y, 30.0f);  // under the button, not over it

    // March 2025 starts on a Saturday: the 20th is in the fourth row, fourth column.
    const ImVec2 top(popup->Pos.x + 12, popup->Pos.y + 12);
    const float gridY = top.y + 30 + 8 + ImGui::GetTextLineHeight() + 8;
    Click(ui, ImVec2(top.x + 3 * 36 + 18, gridY + 3 * 32 + 16), body);
    EXPECT_EQ(changes, 1);
    const std::tm tm = LocalTime(date);
    EXPECT_EQ(tm.tm_mday, 20);
    EXPECT_EQ(tm.tm_mon, 2);
    EXPECT_EQ(tm.tm_hour, 7);
    EXPECT_EQ(tm.tm_min, 30);
    ASSERT_TRUE(ui.Frame(body).empty());
    EXPECT_EQ(GImGui->OpenPopupStack.Size, 0);  // closed by the choice
}

TEST(HeadlessFrames, OverlayFrameFitsASmallDisplay) {
    HeadlessUi ui(1.0f, ImVec2(500, 400));
    bool open = false;
    float width = 0;
    auto body = [&] {
        ImGui::OpenPopup("##ovl");
        if (BeginOverlay("##ovl", 560, 900)) {
            open = true;
            OverlayHeader(Icon::Add, "Neue Aktivität eintragen", "Trage deine Werte ein – Pace und Kalorien werden automatisch berechnet.");
            PrimaryButton("Speichern");
            width = ImGui::GetWindowWidth();
            ImGuiWindow* w = ImGui::GetCurrentWindow();
            EXPECT_LE(w->Size.y, 360.0f);
            EndOverlay();
        }
    };
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(ui.Frame(body).empty());
    EXPECT_TRUE(open);
    EXPECT_FLOAT_EQ(width, 460.0f);
}

TEST(HeadlessFrames, StatusPillsOfEveryKindAndConfettiRunTheirCourse) {
    HeadlessUi ui;
    PushStatus("Info", StatusKind::Info);
    PushStatus("Gespeichert", StatusKind::Success);
    PushStatus("Achtung", StatusKind::Warning);
    PushStatus("Fehler", StatusKind::Error);
    PushStatus("Unbekannte Art", static_cast<StatusKind>(7));  // drawn as information
    EXPECT_EQ(StatusMessages().size(), 4u);
    SpawnConfetti(ImVec2(800, 400));
    ASSERT_TRUE(ConfettiActive());
    auto body = [] { DrawConfetti(); };
    for (int frame = 0; frame < 60; ++frame) ASSERT_TRUE(ui.Frame(body, Overlays).empty());
    EXPECT_EQ(StatusMessages().size(), 4u);
    EXPECT_GT(ImGui::GetForegroundDrawList()->VtxBuffer.Size, 1000);
    for (int frame = 0; frame < 240; ++frame) ASSERT_TRUE(ui.Frame(body, Overlays).empty());
    EXPECT_TRUE(StatusMessages().empty());  // 5 s later
    EXPECT_FALSE(ConfettiActive());          // every particle outlived its 3.6 s at most
}

}  // namespace
