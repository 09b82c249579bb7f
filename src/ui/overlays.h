// The shared modal overlay frame, the confirmation dialog, the status messages and
// the confetti burst.
#pragma once

#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "imgui.h"

// ---- Overlay frame ----

// Begins the modal popup `id` (opened by the caller with ImGui::OpenPopup), centred,
// width min(width, display − 40 px), height automatic or min(display − 40 px, maxHeight)
// when maxHeight > 0. On true the caller draws the contents and calls EndOverlay.
bool BeginOverlay(const char* id, float width, float maxHeight = 0.0f);
void EndOverlay();
// Gradient icon square, title in FontTitle and a muted subtitle (may be null).
void OverlayHeader(const char* icon, const char* title, const char* subtitle = nullptr);

// ---- Confirmation dialog ----

// Arms the one confirmation slot (replacing a pending request); DrawConfirm opens it.
void AskConfirm(std::string title, std::string message, std::string confirmLabel, std::function<void()> action);
// Once per frame after the pages: shows the armed request as the modal "##confirm".
void DrawConfirm();
// Whether a confirmation is armed or showing.
bool ConfirmPending();

// ---- Status messages ----

enum class StatusKind : int { Info = 0, Success = 1, Warning = 2, Error = 3 };

struct StatusMessage {
    std::string text;
    StatusKind kind = StatusKind::Info;
    float age = 0.0f;  // seconds
};

// A short message at the bottom of the window; at most four are held (the oldest
// goes first).
void PushStatus(std::string text, StatusKind kind = StatusKind::Info);
// Last thing in every frame: ages, draws (on the foreground) and drops the messages.
void DrawStatus();
// The messages now held, oldest first.
const std::vector<StatusMessage>& StatusMessages();

inline constexpr int kMaxStatus = 4;
inline constexpr float kStatusLifetime = 3.6f;  // seconds, fading out over the last 0.4
// Pure steps of the status list, used by PushStatus/DrawStatus.
void PushStatusTo(std::vector<StatusMessage>& list, std::string text, StatusKind kind);
void AgeStatus(std::vector<StatusMessage>& list, float dt);  // ages and removes expired
float StatusAlpha(float age);  // 1, fading to 0 between 3.2 s and 3.6 s
float StatusEnter(float age);  // EaseOutBack(age / 0.35)

// ---- Confetti ----

struct ConfettiParticle {
    float x = 0, y = 0;    // position, px
    float vx = 0, vy = 0;  // velocity, px/s
    float rotation = 0;
    float rotationSpeed = 0;  // rad/s
    float size = 0;           // px
    float lifetime = 0;       // s
    float age = 0;            // s
    ImU32 colour = 0;
    int shape = 0;  // 0 strip, 1 square, 2 dot
};

// Appends a burst of 180 particles at origin (screen pixels).
void SpawnConfetti(ImVec2 origin);
// Advances (frame delta, at most 0.05 s) and draws the particles on drawList
// (null = foreground), dropping the expired ones.
void DrawConfetti(ImDrawList* drawList = nullptr);
// Whether any particle is alive (the frame loop keeps drawing while so).
bool ConfettiActive();
// Removes every particle at once (the celebration ends).
void ClearConfetti();
const std::vector<ConfettiParticle>& ConfettiParticles();

// Pure steps of the confetti: appending a burst from a generator, and one update.
// scale multiplies every length and speed.
void SpawnConfettiInto(std::vector<ConfettiParticle>& list, ImVec2 origin, float scale, std::mt19937& rng);
void StepConfetti(std::vector<ConfettiParticle>& list, float dt, float scale);
float ConfettiAlpha(const ConfettiParticle& p);  // clamp((lifetime − age) / 0.6, 0, 1)
