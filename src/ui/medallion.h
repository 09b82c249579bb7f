// The award medallion: ribbons, milled rim, bevel, face, tier stars, icon,
// shine band, spin and the grey locked look.
#pragma once

#include <imgui.h>

struct TierPalette {
    ImU32 light;
    ImU32 middle;
    ImU32 dark;
};

// Colours of a tier (clamped to 0..4); locked medallions use the grey set.
TierPalette TierColors(int tier, bool locked);

// icon may be null or empty (no text); colour is 0xRRGGBB of the ribbon.
// shine: phase 0..1 draws the band, anything else none. flip: cos of the spin
// angle; negative shows the back, |flip| < 0.999 squeezes the coin horizontally.
void DrawMedallion(ImDrawList* dl, ImVec2 centre, float r, int tier, const char* icon, unsigned colour,
                   bool locked, float shine, float flip);
