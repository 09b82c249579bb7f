// The themed basic controls every page is built from: buttons, cards, tiles, headings,
// chips, toggles, segmented controls, navigation items, avatar and gradients.
// Sizes are in final pixels (see theme.h); a size of 0 on an axis means "fit the text".
#pragma once

#include <initializer_list>
#include <span>

#include "imgui.h"
#include "ui/theme.h"

// Buttons: true on click. Disabled (inside ImGui::BeginDisabled) they draw faded.
bool PrimaryButton(const char* label, ImVec2 size = ImVec2(0, 0));
bool SecondaryButton(const char* label, ImVec2 size = ImVec2(0, 0));
bool DangerButton(const char* label, ImVec2 size = ImVec2(0, 0));

// A rounded, bordered child window with inner padding. autoHeight fits the height to
// the contents (it follows one frame behind a change); hoverable lightens it on hover.
void BeginCard(const char* id, ImVec2 size, bool autoHeight = false, bool hoverable = false);
void EndCard();

// A fixed-size, hoverable figure tile: icon square, label, value in FontHeading, unit
// and footnote (both optional: null or empty).
void KpiTile(const char* id, const char* icon, const char* label, const char* value,
             const char* unit, const char* footnote, ImU32 colour, ImVec2 size);

void PageTitle(const char* title, const char* subtitle = nullptr);
void SectionHeader(const char* icon, const char* title, const char* subtitle = nullptr);
void Caption(const char* text);
void ColorText(ImU32 colour, const char* fmt, ...) IM_FMTARGS(2);
void MutedText(const char* fmt, ...) IM_FMTARGS(1);
// Text at an absolute screen position, shaded left to right (font null = current).
void GradientText(ImFont* font, float size, ImVec2 pos, const char* text, ImU32 colourLeft,
                  ImU32 colourRight);
// Vertical space in design pixels.
void VSpace(float px);

// Pill toggle; true on click.
bool Chip(const char* label, bool selected);
// Square icon button (size 0 = 34 px); tooltip may be null.
bool IconButton(const char* id, const char* glyph, const char* tooltip = nullptr,
                bool highlighted = false, float size = 0.0f);
// Switch with a label; flips *value on click and returns true then.
bool Toggle(const char* label, bool* value);
// Row of mutually exclusive items; width 0 = natural width. True when *index changed.
bool Segmented(const char* id, int* index, std::span<const char* const> items, float width = 0.0f);
bool Segmented(const char* id, int* index, std::initializer_list<const char*> items,
               float width = 0.0f);
// Sidebar navigation row; true on click.
bool NavItem(const char* label, const char* icon, bool active, float width);

// Filled rectangle shaded from colourA to colourB, left to right or top to bottom.
void GradientRect(ImVec2 min, ImVec2 max, ImU32 colourA, ImU32 colourB, float rounding = 0.0f,
                  bool vertical = false, ImDrawList* drawList = nullptr);
// Profile avatar: shaded circle in the profile colour with white initials.
void Avatar(ImDrawList* drawList, ImVec2 centre, float radius, const char* initials,
            int colourIndex);

// Re-colours the vertices drawList added since vtxStart with a linear gradient from
// colourA at p0 to colourB at p1, keeping each vertex's own coverage (anti-aliased
// edges stay soft).
void ShadeGradient(ImDrawList* drawList, int vtxStart, ImVec2 p0, ImVec2 p1, ImU32 colourA,
                   ImU32 colourB);
