// Small drawing helpers shared by the themed widgets.
#pragma once

#include "imgui.h"

// The colour with the current style alpha applied (faded inside BeginDisabled).
ImU32 UiColor(ImU32 c);
// The font, or the current font when it is null (fonts not loaded yet).
ImFont* FontOr(ImFont* font);
// Draws text centred on a point. A single glyph (icon or symbol) is centred by its
// visible shape rather than by the line box. size 0 = the font's own size.
void DrawCentredText(ImDrawList* drawList, ImFont* font, float size, ImVec2 centre, const char* text,
                     ImU32 colour);
