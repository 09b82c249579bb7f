#include "ui/medallion.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "imgui_internal.h"
#include "ui/controls.h"
#include "ui/draw_util.h"
#include "ui/theme.h"

namespace {

constexpr float kPi = 3.14159265358979f;
constexpr ImU32 kWhite = IM_COL32(255, 255, 255, 255);
// Stands for the product on the back of a spinning coin.
constexpr const char* kMonogram = "ST";

// A filled polygon that is star-shaped around `centre` (the milled rim, the tier
// stars): a triangle fan from the centre, plus a one-pixel outline in the same
// colour for a soft edge.
void FillStarShaped(ImDrawList* dl, ImVec2 centre, const std::vector<ImVec2>& pts, ImU32 colour) {
    const int n = static_cast<int>(pts.size());
    if (n < 3) return;
    dl->PrimReserve(3 * n, n + 1);
    const ImVec2 uv = dl->_Data->TexUvWhitePixel;
    const ImDrawIdx base = static_cast<ImDrawIdx>(dl->_VtxCurrentIdx);
    dl->PrimWriteVtx(centre, uv, colour);
    for (const ImVec2& p : pts) dl->PrimWriteVtx(p, uv, colour);
    for (int i = 0; i < n; ++i) {
        dl->PrimWriteIdx(base);
        dl->PrimWriteIdx(static_cast<ImDrawIdx>(base + 1 + i));
        dl->PrimWriteIdx(static_cast<ImDrawIdx>(base + 1 + (i + 1) % n));
    }
    dl->AddPolyline(pts.data(), n, colour, ImDrawFlags_Closed, 1.0f);
}

// Clips a convex polygon to the half-plane dot(p, n) <= limit.
std::vector<ImVec2> ClipHalfPlane(const std::vector<ImVec2>& poly, ImVec2 n, float limit) {
    std::vector<ImVec2> out;
    const size_t count = poly.size();
    for (size_t i = 0; i < count; ++i) {
        const ImVec2 a = poly[i], b = poly[(i + 1) % count];
        const float da = a.x * n.x + a.y * n.y - limit, db = b.x * n.x + b.y * n.y - limit;
        if (da <= 0) out.push_back(a);
        if ((da < 0) != (db < 0) && da != db) {
            const float t = da / (da - db);
            out.push_back(ImVec2(a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t));
        }
    }
    return out;
}

bool IsIconGlyph(const char* text) {
    const unsigned char b = static_cast<unsigned char>(text[0]);
    return b == 0xEE || b == 0xEF;  // private-use area of the icon font
}

}  // namespace

TierPalette TierColors(int tier, bool locked) {
    if (locked) return {Hex(0x4A5064), Hex(0x353A4A), Hex(0x23262F)};
    static const uint32_t table[5][3] = {
        {0xF6C9A0, 0xCD7F32, 0x6E3A12}, {0xFFFFFF, 0xC3CAD4, 0x646E7C}, {0xFFF2AE, 0xF5C542, 0x9C620E},
        {0xEAFDFF, 0x9FE3F0, 0x3F8296}, {0xF5EBFF, 0xB388FF, 0x4C22B5},
    };
    const auto& t = table[std::clamp(tier, 0, 4)];
    return {Hex(t[0]), Hex(t[1]), Hex(t[2])};
}

void DrawMedallion(ImDrawList* dl, ImVec2 o, float r, int tier, const char* icon, unsigned colour, bool locked,
                   float shine, float flip) {
    if (!dl || !(r > 0)) return;
    const int vtxStart = dl->VtxBuffer.Size;
    const TierPalette pal = TierColors(tier, locked);
    const ImU32 h = locked ? Hex(0x2C303C) : Hex(colour);
    const ImU32 m = Lerp(h, IM_COL32(0, 0, 0, 255), 0.35f);
    const bool back = flip < 0;

    // Ribbons hanging below the coin, each with a notch at its end.
    for (int side = -1; side <= 1; side += 2) {
        const float u = side * r;
        const ImVec2 a(o.x + 0.18f * u, o.y + 0.35f * r), b(o.x + 0.62f * u, o.y + 0.2f * r);
        const ImVec2 c(o.x + 0.86f * u, o.y + 1.55f * r), d(o.x + 0.6f * u, o.y + 1.7f * r);
        const ImVec2 notch(o.x + 0.38f * u, o.y + 1.42f * r);
        dl->AddQuadFilled(a, b, c, d, side < 0 ? h : m);
        dl->AddTriangleFilled(a, d, notch, side < 0 ? m : h);
    }

    dl->AddCircleFilled(ImVec2(o.x, o.y + 0.06f * r), 1.02f * r, IM_COL32(0, 0, 0, 70), 48);

    // Milled rim.
    int start = dl->VtxBuffer.Size;
    std::vector<ImVec2> rim(40);
    for (int i = 0; i < 40; ++i) {
        const float a = 2 * kPi * i / 40.0f;
        const float rr = i % 2 == 0 ? r : 0.93f * r;
        rim[i] = ImVec2(o.x + std::cos(a) * rr, o.y + std::sin(a) * rr);
    }
    FillStarShaped(dl, o, rim, kWhite);
    ShadeGradient(dl, start, ImVec2(o.x, o.y - r), ImVec2(o.x, o.y + r), pal.light, pal.dark);

    // Bevel, then the face.
    start = dl->VtxBuffer.Size;
    dl->AddCircleFilled(o, 0.8f * r, kWhite, 48);
    ShadeGradient(dl, start, ImVec2(o.x, o.y - r), ImVec2(o.x, o.y + r), pal.dark, pal.light);
    start = dl->VtxBuffer.Size;
    dl->AddCircleFilled(o, 0.72f * r, kWhite, 48);
    ShadeGradient(dl, start, ImVec2(o.x, o.y - 0.7f * r), ImVec2(o.x, o.y + 0.7f * r), back ? pal.dark : pal.light,
                  pal.middle);
    dl->AddCircle(o, 0.72f * r, WithAlpha(pal.light, 0.7f), 48, std::max(1.0f, 0.025f * r));

    // Tier stars above the face for Platin and Diamant.
    const int t = std::clamp(tier, 0, 4);
    if (!locked && t > 2 && !back) {
        const int count = t == 3 ? 2 : 3;
        const float nOff = t == 3 ? 0.5f : 1.0f;
        for (int k = 0; k < count; ++k) {
            const float a = -kPi / 2 + (static_cast<float>(k) - nOff) * 0.38f;
            const ImVec2 c(o.x + std::cos(a) * 0.86f * r, o.y + std::sin(a) * 0.86f * r);
            std::vector<ImVec2> star(10);
            for (int j = 0; j < 10; ++j) {
                const float sa = -kPi / 2 + kPi * j / 5.0f;
                const float sr = j % 2 == 0 ? 0.07f * r : 0.0315f * r;
                star[j] = ImVec2(c.x + std::cos(sa) * sr, c.y + std::sin(sa) * sr);
            }
            FillStarShaped(dl, c, star, kWhite);
        }
    }

    ImFont* huge = FontOr(FontHuge);
    if (icon && *icon && !back) {
        const bool glyph = IsIconGlyph(icon);
        const size_t len = std::strlen(icon);
        const float f = glyph ? 0.78f : len <= 2 ? 0.72f : len == 3 ? 0.58f : 0.46f;
        const ImVec2 c(o.x, o.y - (glyph ? 0.04f * r : 0.0f));
        DrawCentredText(dl, huge, r * f, ImVec2(c.x, c.y + 0.03f * r), icon,
                        locked ? IM_COL32(255, 255, 255, 25) : WithAlpha(kWhite, 0.55f));
        DrawCentredText(dl, huge, r * f, c, icon, locked ? Hex(0x6B7186) : pal.dark);
    } else if (back && !locked) {
        DrawCentredText(dl, huge, 0.5f * r, o, kMonogram, WithAlpha(pal.middle, 0.6f));
    }

    // Shine: a 45° band sweeping across the face, clipped to it.
    if (!locked && shine >= 0.0f && shine <= 1.0f) {
        const float R = 0.93f * r;
        const float alpha = 0.45f * std::sin(kPi * shine);
        if (alpha > 0.001f) {
            std::vector<ImVec2> poly(72);
            for (int i = 0; i < 72; ++i) {
                const float a = 2 * kPi * i / 72.0f;
                poly[i] = ImVec2(std::cos(a) * R, std::sin(a) * R);  // relative to o
            }
            const ImVec2 n(0.70710678f, -0.70710678f);  // across the 45° band
            const float centreLine = (-1.4f + 2.8f * shine) * R;
            const float half = 0.5f * 0.32f * R;
            poly = ClipHalfPlane(poly, n, centreLine + half);
            poly = ClipHalfPlane(poly, ImVec2(-n.x, -n.y), -(centreLine - half));
            if (poly.size() >= 3) {
                for (ImVec2& p : poly) p = ImVec2(o.x + p.x, o.y + p.y);
                dl->AddConvexPolyFilled(poly.data(), static_cast<int>(poly.size()), WithAlpha(kWhite, alpha));
            }
        }
    }

    // A spinning coin is squeezed horizontally; a locked one is faded.
    ImDrawVert* v = dl->VtxBuffer.Data + vtxStart;
    ImDrawVert* end = dl->VtxBuffer.Data + dl->VtxBuffer.Size;
    const float squeeze = std::max(0.02f, std::fabs(flip));
    const bool spin = std::fabs(flip) < 0.999f;
    for (; v < end; ++v) {
        if (spin) v->pos.x = o.x + (v->pos.x - o.x) * squeeze;
        if (locked) {
            const unsigned a = (v->col >> IM_COL32_A_SHIFT) & 0xFF;
            v->col = (v->col & ~IM_COL32_A_MASK) | (static_cast<ImU32>(a * 0.75f) << IM_COL32_A_SHIFT);
        }
    }
}
