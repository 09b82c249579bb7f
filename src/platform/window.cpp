#include "platform/window.h"

#include <algorithm>
#include <cmath>
#include <vector>

void ShowAndRaise(SDL_Window* window) {
    Uint32 flags = SDL_GetWindowFlags(window);
    if (!(flags & SDL_WINDOW_SHOWN) || (flags & SDL_WINDOW_HIDDEN)) SDL_ShowWindow(window);
    if (flags & SDL_WINDOW_MINIMIZED) SDL_RestoreWindow(window);
    SDL_RaiseWindow(window);
}

void SetMinimumSize(SDL_Window* window, float scale, const SDL_Rect& usable) {
    int w = std::min(static_cast<int>(1180 * scale), usable.w - 40);
    int h = std::min(static_cast<int>(760 * scale), usable.h - 40);
    SDL_SetWindowMinimumSize(window, std::max(w, 320), std::max(h, 240));
}

namespace {
// Distance from p to segment ab.
float SegDist(float px, float py, float ax, float ay, float bx, float by) {
    float dx = bx - ax, dy = by - ay;
    float t = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy);
    t = std::clamp(t, 0.0f, 1.0f);
    float qx = ax + t * dx - px, qy = ay + t * dy - py;
    return std::sqrt(qx * qx + qy * qy);
}
}  // namespace

void SetWindowIcon(SDL_Window* window) {
    const int n = 64;
    // The pulse line of the brand mark, in a 512-unit box.
    const float pts[6][2] = {{92, 282}, {186, 282}, {226, 176}, {286, 360}, {330, 246}, {420, 246}};
    std::vector<Uint32> px(n * n);
    const float radius = 10.0f / 38.0f * n;
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            float fx = x + 0.5f, fy = y + 0.5f;
            // Rounded-square coverage.
            float cx = std::clamp(fx, radius, n - radius), cy = std::clamp(fy, radius, n - radius);
            float d = std::hypot(fx - cx, fy - cy);
            float cover = std::clamp(radius - d + 0.5f, 0.0f, 1.0f);
            // Diagonal gradient from the first accent (orange) to the second (pink).
            float t = (fx + fy) / (2.0f * n);
            float r = 255 * (1 - t) + 255 * t, g = 122 * (1 - t) + 61 * t, b = 24 * (1 - t) + 127 * t;
            float line = 1e9f;
            for (int i = 0; i < 5; ++i)
                line = std::min(line, SegDist(fx * 512 / n, fy * 512 / n, pts[i][0], pts[i][1], pts[i + 1][0],
                                              pts[i + 1][1]));
            float w = std::clamp(22.0f - line, 0.0f, 8.0f) / 8.0f;  // ~3 px at 64 px
            r = r + (255 - r) * w;
            g = g + (255 - g) * w;
            b = b + (255 - b) * w;
            Uint32 a = static_cast<Uint32>(cover * 255);
            px[y * n + x] = (a << 24) | (static_cast<Uint32>(b) << 16) | (static_cast<Uint32>(g) << 8) |
                            static_cast<Uint32>(r);
        }
    }
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(px.data(), n, n, 32, n * 4, SDL_PIXELFORMAT_ABGR8888);
    if (!s) return;
    SDL_SetWindowIcon(window, s);
    SDL_FreeSurface(s);
}
