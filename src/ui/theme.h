// Colours, fonts, style, animation store and colour maths of the interface.
//
// Lengths: every length parameter of the ui functions is in final pixels (design
// pixels already multiplied by UiScale()), except VSpace, which takes design pixels.
#pragma once

#include <cstdint>

#include "imgui.h"

// Packs #RRGGBB with alpha a (clamped to 0..1) into a Dear ImGui colour.
ImU32 Hex(uint32_t rgb, float a = 1.0f);
// Mixes two packed colours channel by channel including alpha; t is clamped to 0..1.
ImU32 Lerp(ImU32 a, ImU32 b, float t);
// Replaces the alpha of a packed colour; a is clamped to 0..1.
ImU32 WithAlpha(ImU32 c, float a);

// 1 + 2.70158·u³ + 1.70158·u² with u = clamp(t, 0, 1) − 1 (overshoots before settling).
float EaseOutBack(float t);
// 1 − (1 − clamp(t, 0, 1))³.
float EaseOutCubic(float t);

namespace Theme {
inline constexpr ImU32 Bg = IM_COL32(0x0E, 0x10, 0x16, 0xFF);
inline constexpr ImU32 Title = IM_COL32(0x14, 0x17, 0x22, 0xFF);
inline constexpr ImU32 Sidebar = IM_COL32(0x12, 0x14, 0x1C, 0xFF);
inline constexpr ImU32 Card = IM_COL32(0x19, 0x1C, 0x27, 0xFF);
inline constexpr ImU32 CardHover = IM_COL32(0x1F, 0x23, 0x30, 0xFF);
inline constexpr ImU32 Border = IM_COL32(0x2A, 0x2F, 0x3E, 0xFF);
inline constexpr ImU32 Text = IM_COL32(0xEC, 0xEE, 0xF4, 0xFF);
inline constexpr ImU32 TextMuted = IM_COL32(0x90, 0x98, 0xAC, 0xFF);
inline constexpr ImU32 TextDim = IM_COL32(0x5D, 0x64, 0x78, 0xFF);
inline constexpr ImU32 Good = IM_COL32(0x2E, 0xC4, 0xB6, 0xFF);
inline constexpr ImU32 Warn = IM_COL32(0xFF, 0xB7, 0x03, 0xFF);
inline constexpr ImU32 Bad = IM_COL32(0xEF, 0x47, 0x6F, 0xFF);
inline constexpr ImU32 Info = IM_COL32(0x3A, 0x86, 0xFF, 0xFF);
// The accent pair comes from the chosen palette (ApplyTheme).
inline ImU32 Accent = IM_COL32(0xFF, 0x7A, 0x18, 0xFF);
inline ImU32 Accent2 = IM_COL32(0xEC, 0x26, 0x78, 0xFF);
inline ImVec4 AccentF = ImVec4(1.0f, 0x7A / 255.0f, 0x18 / 255.0f, 1.0f);
inline ImVec4 Accent2F = ImVec4(0xEC / 255.0f, 0x26 / 255.0f, 0x78 / 255.0f, 1.0f);
}  // namespace Theme

// Accent palettes (settings key "accent").
inline constexpr int AccentCount = 5;
int ClampAccent(int index);          // below 0 gives 0, above 4 gives 4
const char* AccentName(int index);   // German name, same clamping
ImU32 AccentColor(int index);        // the palette's first colour
ImU32 Accent2Color(int index);       // the palette's second colour

// Profile avatar colours; the index is reduced modulo 8 (negative indices wrap).
inline constexpr int ProfileColorCount = 8;
ImU32 ProfileColor(int index);

// The seven interface fonts (null until LoadFonts ran).
inline ImFont* FontBody = nullptr;      // 16 px regular: default font
inline ImFont* FontSmall = nullptr;     // 13.5 px regular: captions, axis labels
inline ImFont* FontSemibold = nullptr;  // 16 px semibold
inline ImFont* FontTitle = nullptr;     // 20 px semibold
inline ImFont* FontHeading = nullptr;   // 30 px bold
inline ImFont* FontDisplay = nullptr;   // 42 px bold
inline ImFont* FontHuge = nullptr;      // 84 px bold

// The font files the interface is built from.
struct FontFiles {
    const char* regular = "/usr/share/fonts/opentype/inter/Inter-Regular.otf";
    const char* semibold = "/usr/share/fonts/opentype/inter/Inter-SemiBold.otf";
    const char* bold = "/usr/share/fonts/opentype/inter/Inter-Bold.otf";
    const char* symbols = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
    const char* icons = "/usr/share/fonts/truetype/materialdesignicons-webfont/materialdesignicons-webfont.ttf";
};

// Clears the font atlas and builds the seven fonts for the UI scale; FontBody becomes
// the default font. A missing or unreadable main font falls back to Dear ImGui's
// built-in font; a missing symbol or icon font only leaves those glyphs out. The
// renderer must recreate its font texture afterwards.
void LoadFonts(float scale, const FontFiles& files = FontFiles());

// Sets the colours (accent from the clamped palette index) and rebuilds the Dear ImGui
// style for the scale.
void ApplyTheme(float scale, int accentIndex);

// The UI scale last given to ApplyTheme or LoadFonts (1 before either ran).
float UiScale();
// Design pixels to final pixels.
inline float Px(float designPx) { return designPx * UiScale(); }

// One step of an animated value: moves towards target by 1 − e^(−rate·dt) of the
// distance and snaps when closer than 0.0005.
float AnimateStep(float value, float target, float rate, float dt);

// The animated value of a widget id: the first request returns target; later requests
// move the stored value with AnimateStep and the frame's delta time.
float Animate(ImGuiID id, float target, float rate);
// As Animate, but a new id starts at `from` instead of at the target (reveals).
float AnimateFrom(ImGuiID id, float from, float target, float rate);
// Same as Animate with an explicit delta time (no ImGui context needed).
float AnimateWithDelta(ImGuiID id, float target, float rate, float dt);
