#include "ui/controls.h"

#include <algorithm>
#include <cfloat>
#include <cstdarg>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "imgui_internal.h"
#include "ui/draw_util.h"

namespace {

constexpr ImU32 kWhite = IM_COL32(255, 255, 255, 255);

enum class ButtonKind { Primary, Secondary, Danger };

bool ButtonImpl(const char* label, ImVec2 size, ButtonKind kind) {
    if (ImGui::GetCurrentWindow()->SkipItems) return false;
    const float s = UiScale();
    const char* labelEnd = ImGui::FindRenderedTextEnd(label);
    const ImVec2 ts = ImGui::CalcTextSize(label, labelEnd);
    if (size.x <= 0) size.x = ts.x + 32 * s;
    if (size.y <= 0) size.y = ts.y + 18 * s;

    const ImVec2 p = ImGui::GetCursorScreenPos();
    const bool clicked = ImGui::InvisibleButton(label, size);
    const ImGuiID id = ImGui::GetItemID();
    const bool hovered = ImGui::IsItemHovered();
    const bool held = ImGui::IsItemActive();
    const float h = Animate(id, held ? 1.0f : hovered ? 0.6f : 0.0f, 14);

    ImDrawList* dl = ImGui::GetWindowDrawList();
    const ImVec2 q(p.x + size.x, p.y + size.y);
    const float r = 9 * s;
    ImU32 text = kWhite;
    switch (kind) {
    case ButtonKind::Primary:
        if (h > 0.01f) {
            dl->AddRectFilled(ImVec2(p.x, p.y + 3 * s), ImVec2(q.x, q.y + 3 * s),
                              UiColor(WithAlpha(Theme::Accent2, 0.25f * h)), r);
        }
        GradientRect(p, q, Lerp(Theme::Accent, kWhite, 0.12f * h),
                     Lerp(Theme::Accent2, kWhite, 0.12f * h), r, false, dl);
        dl->AddRect(p, q, UiColor(IM_COL32(255, 255, 255, 0x1E)), r);
        break;
    case ButtonKind::Secondary:
        dl->AddRectFilled(p, q, UiColor(Lerp(Hex(0x232838), Hex(0x31384D), h)), r);
        dl->AddRect(p, q, UiColor(WithAlpha(Theme::Border, 0.9f)), r);
        break;
    case ButtonKind::Danger:
        dl->AddRectFilled(p, q, UiColor(Lerp(WithAlpha(Theme::Bad, 0.16f), WithAlpha(Theme::Bad, 0.32f), h)),
                          r);
        text = Theme::Bad;
        break;
    }
    const ImVec2 tp(IM_FLOOR(p.x + (size.x - ts.x) * 0.5f), IM_FLOOR(p.y + (size.y - ts.y) * 0.5f));
    dl->PushClipRect(p, q, true);
    dl->AddText(tp, UiColor(text), label, labelEnd);
    dl->PopClipRect();
    if (hovered) ImGui::SetMouseCursor(ImGuiMouseCursor_Hand);
    return clicked;
}

// Cards: the measured content height of auto-height cards and the hover state of
// hoverable ones, both keyed by the card's id.
struct OpenCard {
    ImGuiID id;
    bool autoHeight;
};
std::vector<OpenCard> gCardStack;
std::unordered_map<ImGuiID, float> gCardHeights;
std::unordered_map<ImGuiID, bool> gCardHovered;

}  // namespace

ImU32 UiColor(ImU32 c) { return ImGui::GetColorU32(c); }

ImFont* FontOr(ImFont* font) { return font ? font : ImGui::GetFont(); }

void DrawCentredText(ImDrawList* dl, ImFont* font, float size, ImVec2 centre, const char* text,
                     ImU32 colour) {
    font = FontOr(font);
    if (size <= 0) size = font->FontSize;
    const char* end = text + strlen(text);
    // One glyph (an icon or symbol): centre its ink box, which is what the eye sees.
    unsigned int c = 0;
    const int len = ImTextCharFromUtf8(&c, text, end);
    if (len > 0 && text + len == end) {
        if (const ImFontGlyph* g = font->FindGlyphNoFallback(static_cast<ImWchar>(c))) {
            const float k = size / font->FontSize;
            const ImVec2 pos(centre.x - (g->X0 + g->X1) * 0.5f * k, centre.y - (g->Y0 + g->Y1) * 0.5f * k);
            dl->AddText(font, size, ImVec2(IM_ROUND(pos.x), IM_ROUND(pos.y)), colour, text, end);
            return;
        }
    }
    const ImVec2 ts = font->CalcTextSizeA(size, FLT_MAX, 0.0f, text, end);
    dl->AddText(font, size, ImVec2(IM_ROUND(centre.x - ts.x * 0.5f), IM_ROUND(centre.y - ts.y * 0.5f)),
                colour, text, end);
}

void ShadeGradient(ImDrawList* drawList, int vtxStart, ImVec2 p0, ImVec2 p1, ImU32 colourA,
                   ImU32 colourB) {
    const ImVec2 d(p1.x - p0.x, p1.y - p0.y);
    const float len2 = d.x * d.x + d.y * d.y;
    const float inv = len2 > 0.0f ? 1.0f / len2 : 0.0f;
    ImDrawVert* v = drawList->VtxBuffer.Data + vtxStart;
    ImDrawVert* end = drawList->VtxBuffer.Data + drawList->VtxBuffer.Size;
    for (; v < end; ++v) {
        const float t = ((v->pos.x - p0.x) * d.x + (v->pos.y - p0.y) * d.y) * inv;
        const ImU32 c = Lerp(colourA, colourB, t);
        const float coverage = static_cast<float>((v->col >> IM_COL32_A_SHIFT) & 0xFF) / 255.0f;
        const float alpha = static_cast<float>((c >> IM_COL32_A_SHIFT) & 0xFF) / 255.0f * coverage;
        v->col = WithAlpha(c, alpha);
    }
}

void GradientRect(ImVec2 min, ImVec2 max, ImU32 colourA, ImU32 colourB, float rounding, bool vertical,
                  ImDrawList* drawList) {
    ImDrawList* dl = drawList ? drawList : ImGui::GetWindowDrawList();
    const int start = dl->VtxBuffer.Size;
    dl->AddRectFilled(min, max, UiColor(kWhite), rounding);
    ShadeGradient(dl, start, min, vertical ? ImVec2(min.x, max.y) : ImVec2(max.x, min.y), colourA, colourB);
}

bool PrimaryButton(const char* label, ImVec2 size) { return ButtonImpl(label, size, ButtonKind::Primary); }
bool SecondaryButton(const char* label, ImVec2 size) { return ButtonImpl(label, size, ButtonKind::Secondary); }
bool DangerButton(const char* label, ImVec2 size) { return ButtonImpl(label, size, ButtonKind::Danger); }

void BeginCard(const char* id, ImVec2 size, bool autoHeight, bool hoverable) {
    const float s = UiScale();
    ImGui::PushStyleVar(ImGuiStyleVar_WindowPadding, ImVec2(18 * s, 16 * s));
    ImGui::PushStyleVar(ImGuiStyleVar_ItemSpacing, ImVec2(10 * s, 8 * s));
    const ImGuiID gid = ImGui::GetID(id);
    ImU32 bg = Theme::Card;
    if (hoverable) bg = Lerp(Theme::Card, Theme::CardHover, Animate(gid + 7, gCardHovered[gid] ? 1.0f : 0.0f, 10));
    ImGui::PushStyleColor(ImGuiCol_ChildBg, bg);
    if (autoHeight) {
        // The height measured at the end of the previous frame; a small start value on
        // the first frame avoids a card that briefly fills the whole page.
        auto it = gCardHeights.find(gid);
        size.y = it != gCardHeights.end() ? it->second : 1.0f;
    }
    ImGui::BeginChild(id, size, true,
                      ImGuiWindowFlags_AlwaysUseWindowPadding | ImGuiWindowFlags_NoScrollbar |
                          ImGuiWindowFlags_NoScrollWithMouse);
    if (hoverable) gCardHovered[gid] = ImGui::IsWindowHovered(ImGuiHoveredFlags_ChildWindows);
    gCardStack.push_back({gid, autoHeight});
}

void EndCard() {
    IM_ASSERT(!gCardStack.empty() && "EndCard without BeginCard");
    if (!gCardStack.empty()) {
        const OpenCard card = gCardStack.back();
        gCardStack.pop_back();
        if (card.autoHeight) {
            ImGuiWindow* w = ImGui::GetCurrentWindow();
            const float h = w->DC.CursorMaxPos.y - w->Pos.y + w->WindowPadding.y;
            gCardHeights[card.id] = std::max(1.0f, IM_ROUND(h));
        }
    }
    ImGui::EndChild();
    ImGui::PopStyleColor();
    ImGui::PopStyleVar(2);
}

void KpiTile(const char* id, const char* icon, const char* label, const char* value, const char* unit,
             const char* footnote, ImU32 colour, ImVec2 size) {
    const float s = UiScale();
    BeginCard(id, size, false, true);
    ImDrawList* dl = ImGui::GetWindowDrawList();
    const ImVec2 wp = ImGui::GetWindowPos();
    const ImVec2 ws = ImGui::GetWindowSize();
    // The glow reaches into the card's padding, so clip to the card itself.
    dl->PushClipRect(ImVec2(wp.x + 1, wp.y + 1), ImVec2(wp.x + ws.x - 1, wp.y + ws.y - 1), false);
    dl->AddCircleFilled(ImVec2(wp.x + ws.x - 20 * s, wp.y + 10 * s), 60 * s, UiColor(WithAlpha(colour, 0.07f)), 48);
    dl->PopClipRect();

    const ImVec2 o = ImGui::GetCursorScreenPos();
    const float box = 34 * s;
    dl->AddRectFilled(o, ImVec2(o.x + box, o.y + box), UiColor(WithAlpha(colour, 0.16f)), 10 * s);
    if (icon && *icon) DrawCentredText(dl, nullptr, 0, ImVec2(o.x + box * 0.5f, o.y + box * 0.5f), icon, UiColor(colour));
    ImGui::Dummy(ImVec2(box, box));
    ImGui::SameLine(0, 10 * s);
    ImGui::SetCursorPosY(ImGui::GetCursorPosY() + 7 * s);
    ImGui::PushStyleColor(ImGuiCol_Text, Theme::TextMuted);
    ImGui::TextUnformatted(label ? label : "");
    ImGui::PopStyleColor();

    ImGui::PushFont(FontOr(FontHeading));
    ImGui::TextUnformatted(value ? value : "");
    ImGui::PopFont();
    if (unit && *unit) {
        ImGui::SameLine(0, 6 * s);
        ImGui::SetCursorPosY(ImGui::GetCursorPosY() + 11 * s);
        ImGui::PushStyleColor(ImGuiCol_Text, Theme::TextMuted);
        ImGui::TextUnformatted(unit);
        ImGui::PopStyleColor();
    }
    if (footnote && *footnote) {
        ImGui::SetCursorPosY(ImGui::GetCursorPosY() - 4 * s);
        ImGui::PushFont(FontOr(FontSmall));
        ImGui::PushStyleColor(ImGuiCol_Text, Theme::TextMuted);
        ImGui::TextUnformatted(footnote);
        ImGui::PopStyleColor();
        ImGui::PopFont();
    }
    EndCard();
}

void PageTitle(const char* title, const char* subtitle) {
    const float s = UiScale();
    ImGui::PushFont(FontOr(FontHeading));
    ImGui::TextUnformatted(title);
    ImGui::PopFont();
    if (subtitle && *subtitle) {
        ImGui::SetCursorPosY(ImGui::GetCursorPosY() - 6 * s);
        ImGui::PushStyleColor(ImGuiCol_Text, Theme::TextMuted);
        ImGui::TextUnformatted(subtitle);
        ImGui::PopStyleColor();
    }
    ImGui::Dummy(ImVec2(0, 6 * s));
}

void SectionHeader(const char* icon, const char* title, const char* subtitle) {
    const float s = UiScale();
    ImFont* semibold = FontOr(FontSemibold);
    ImFont* small = FontOr(FontSmall);
    const bool hasSub = subtitle && *subtitle;
    const float textH = semibold->FontSize + (hasSub ? small->FontSize + 2 * s : 0.0f);
    const ImVec2 p = ImGui::GetCursorScreenPos();
    float x = 0;
    float h = textH;
    if (icon && *icon) {
        const float r = 15 * s;
        const ImVec2 c(p.x + r, p.y + std::max(r, textH * 0.5f));
        ImDrawList* dl = ImGui::GetWindowDrawList();
        dl->AddCircleFilled(c, r, UiColor(WithAlpha(Theme::Accent, 0.16f)), 32);
        DrawCentredText(dl, nullptr, 0, c, icon, UiColor(Theme::Accent));
        x = 2 * r + 10 * s;
        h = std::max(h, 2 * r);
    }
    const float ty = p.y + (h - textH) * 0.5f;
    ImDrawList* dl = ImGui::GetWindowDrawList();
    dl->AddText(semibold, semibold->FontSize, ImVec2(p.x + x, IM_ROUND(ty)), UiColor(Theme::Text), title);
    if (hasSub) {
        dl->AddText(small, small->FontSize, ImVec2(p.x + x, IM_ROUND(ty + semibold->FontSize + 2 * s)),
                    UiColor(Theme::TextMuted), subtitle);
    }
    const float w = x + std::max(semibold->CalcTextSizeA(semibold->FontSize, FLT_MAX, 0, title).x,
                                 hasSub ? small->CalcTextSizeA(small->FontSize, FLT_MAX, 0, subtitle).x : 0.0f);
    ImGui::Dummy(ImVec2(w, h));
}

void Caption(const char* text) {
    ImGui::PushFont(FontOr(FontSmall));
    ImGui::PushStyleColor(ImGuiCol_Text, Theme::TextMuted);
    ImGui::TextUnformatted(text);
    ImGui::PopStyleColor();
    ImGui::PopFont();
    ImGui::SetCursorPosY(ImGui::GetCursorPosY() - 4 * UiScale());
}

void ColorText(ImU32 colour, const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    ImGui::PushStyleColor(ImGuiCol_Text, colour);
    ImGui::TextV(fmt, args);
    ImGui::PopStyleColor();
    va_end(args);
}

void MutedText(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    ImGui::PushStyleColor(ImGuiCol_Text, Theme::TextMuted);
    ImGui::TextV(fmt, args);
    ImGui::PopStyleColor();
    va_end(args);
}

void GradientText(ImFont* font, float size, ImVec2 pos, const char* text, ImU32 colourLeft, ImU32 colourRight) {
    font = FontOr(font);
    if (size <= 0) size = font->FontSize;
    ImDrawList* dl = ImGui::GetWindowDrawList();
    const int start = dl->VtxBuffer.Size;
    dl->AddText(font, size, pos, UiColor(kWhite), text);
    const float w = font->CalcTextSizeA(size, FLT_MAX, 0, text).x;
    ShadeGradient(dl, start, pos, ImVec2(pos.x + std::max(w, 1.0f), pos.y), colourLeft, colourRight);
}

void VSpace(float px) { ImGui::Dummy(ImVec2(0, px * UiScale())); }

bool Chip(const char* label, bool selected) {
    const float s = UiScale();
    const char* labelEnd = ImGui::FindRenderedTextEnd(label);
    const ImVec2 ts = ImGui::CalcTextSize(label, labelEnd);
    const ImVec2 size(ts.x + 24 * s, ts.y + 12 * s);
    const ImVec2 p = ImGui::GetCursorScreenPos();
    const bool clicked = ImGui::InvisibleButton(label, size);
    const bool hovered = ImGui::IsItemHovered();
    ImDrawList* dl = ImGui::GetWindowDrawList();
    const ImVec2 q(p.x + size.x, p.y + size.y);
    const float r = size.y * 0.5f;
    ImU32 text;
    if (selected) {
        GradientRect(p, q, Theme::Accent, Theme::Accent2, r, false, dl);
        text = kWhite;
    } else {
        dl->AddRectFilled(p, q, UiColor(hovered ? Hex(0x2A3044) : Hex(0x1E2230)), r);
        dl->AddRect(p, q, UiColor(Theme::Border), r);
        text = Theme::TextMuted;
    }
    dl->AddText(ImVec2(p.x + 12 * s, p.y + 6 * s), UiColor(text), label, labelEnd);
    if (hovered) ImGui::SetMouseCursor(ImGuiMouseCursor_Hand);
    return clicked;
}

bool IconButton(const char* id, const char* glyph, const char* tooltip, bool highlighted, float size) {
    const float s = UiScale();
    const float sz = size > 0 ? size : 34 * s;
    const ImVec2 p = ImGui::GetCursorScreenPos();
    const bool clicked = ImGui::InvisibleButton(id, ImVec2(sz, sz));
    const bool hovered = ImGui::IsItemHovered();
    const float h = Animate(ImGui::GetItemID(), hovered ? 1.0f : 0.0f, 14);
    ImDrawList* dl = ImGui::GetWindowDrawList();
    const ImVec2 q(p.x + sz, p.y + sz);
    ImU32 glyphColour;
    if (highlighted) {
        GradientRect(p, q, Theme::Accent, Theme::Accent2, 8 * s, false, dl);
        glyphColour = kWhite;
    } else {
        dl->AddRectFilled(p, q, UiColor(Lerp(WithAlpha(Hex(0x262B3C), 0.7f), Hex(0x353C52), h)), 8 * s);
        glyphColour = Lerp(Theme::TextMuted, Theme::Text, h);
    }
    if (glyph && *glyph) DrawCentredText(dl, nullptr, 0, ImVec2(p.x + sz * 0.5f, p.y + sz * 0.5f), glyph, UiColor(glyphColour));
    if (hovered) {
        ImGui::SetMouseCursor(ImGuiMouseCursor_Hand);
        if (tooltip && *tooltip) ImGui::SetTooltip("%s", tooltip);
    }
    return clicked;
}

bool Toggle(const char* label, bool* value) {
    const float s = UiScale();
    const char* labelEnd = ImGui::FindRenderedTextEnd(label);
    const ImVec2 ts = ImGui::CalcTextSize(label, labelEnd);
    const float trackW = 42 * s, trackH = 22 * s;
    const float rowH = std::max(trackH, ts.y);
    const float labelW = ts.x > 0 ? 12 * s + ts.x : 0.0f;
    const ImVec2 p = ImGui::GetCursorScreenPos();
    bool changed = false;
    if (ImGui::InvisibleButton(label, ImVec2(trackW + labelW, rowH))) {
        *value = !*value;
        changed = true;
    }
    const bool hovered = ImGui::IsItemHovered();
    const float t = Animate(ImGui::GetItemID(), *value ? 1.0f : 0.0f, 16);

    ImDrawList* dl = ImGui::GetWindowDrawList();
    const ImVec2 a(p.x, p.y + (rowH - trackH) * 0.5f);
    const ImVec2 b(a.x + trackW, a.y + trackH);
    dl->AddRectFilled(a, b, UiColor(hovered ? Hex(0x3A4158) : Hex(0x30364A)), 11 * s);
    if (t > 0.01f) {
        const float alpha = std::clamp(t, 0.0f, 1.0f);
        GradientRect(a, b, WithAlpha(Theme::Accent, alpha), WithAlpha(Theme::Accent2, alpha), 11 * s, false, dl);
    }
    const ImVec2 knob(a.x + (11 + 20 * t) * s, a.y + trackH * 0.5f);
    dl->AddCircleFilled(ImVec2(knob.x, knob.y + 1 * s), 8 * s, UiColor(IM_COL32(0, 0, 0, 61)), 24);
    dl->AddCircleFilled(knob, 8 * s, UiColor(kWhite), 24);
    if (ts.x > 0) {
        dl->AddText(ImVec2(b.x + 12 * s, IM_ROUND(p.y + (rowH - ts.y) * 0.5f)), UiColor(Theme::Text), label, labelEnd);
    }
    if (hovered) ImGui::SetMouseCursor(ImGuiMouseCursor_Hand);
    return changed;
}

bool Segmented(const char* id, int* index, std::span<const char* const> items, float width) {
    const int n = static_cast<int>(items.size());
    if (n == 0) return false;
    const float s = UiScale();
    const ImGuiID segId = ImGui::GetID(id);
    ImGui::PushID(id);

    std::vector<float> widths(n);
    float natural = 0;
    for (int i = 0; i < n; ++i) {
        widths[i] = ImGui::CalcTextSize(items[i], nullptr, true).x + 28 * s;
        natural += widths[i];
    }
    const float inset = 4 * s;
    float total = natural + 2 * inset;
    if (width > 0) {
        total = width;
        const float k = std::max(0.0f, width - 2 * inset) / natural;
        for (float& w : widths) w *= k;
    }
    const float height = 38 * s;
    const ImVec2 p = ImGui::GetCursorScreenPos();
    ImDrawList* dl = ImGui::GetWindowDrawList();
    const ImVec2 q(p.x + total, p.y + height);
    dl->AddRectFilled(p, q, UiColor(Hex(0x1E2230)), 10 * s);
    dl->AddRect(p, q, UiColor(Theme::Border), 10 * s);

    const int sel = std::clamp(*index, 0, n - 1);
    std::vector<float> xs(n);
    float x = inset;
    for (int i = 0; i < n; ++i) {
        xs[i] = x;
        x += widths[i];
    }
    // The indicator slides to the selected item (left edge and width animate together).
    const float ix = Animate(segId + 100, xs[sel], 18);
    const float iw = Animate(segId + 101, widths[sel], 18);
    if (*index >= 0 && *index < n) {
        GradientRect(ImVec2(p.x + ix, p.y + inset), ImVec2(p.x + ix + iw, p.y + height - inset), Theme::Accent,
                     Theme::Accent2, 8 * s, false, dl);
    }

    bool changed = false;
    for (int i = 0; i < n; ++i) {
        ImGui::SetCursorScreenPos(ImVec2(p.x + xs[i], p.y));
        ImGui::PushID(i);
        if (ImGui::InvisibleButton("##seg", ImVec2(std::max(widths[i], 1.0f), height)) && *index != i) {
            *index = i;
            changed = true;
        }
        const bool hovered = ImGui::IsItemHovered();
        ImGui::PopID();
        if (hovered) ImGui::SetMouseCursor(ImGuiMouseCursor_Hand);
        const ImU32 c = i == *index ? kWhite : hovered ? Theme::Text : Theme::TextMuted;
        const char* end = ImGui::FindRenderedTextEnd(items[i]);
        const ImVec2 ts = ImGui::CalcTextSize(items[i], end);
        dl->PushClipRect(ImVec2(p.x + xs[i], p.y), ImVec2(p.x + xs[i] + widths[i], q.y), true);
        dl->AddText(ImVec2(IM_ROUND(p.x + xs[i] + (widths[i] - ts.x) * 0.5f), IM_ROUND(p.y + (height - ts.y) * 0.5f)),
                    UiColor(c), items[i], end);
        dl->PopClipRect();
    }
    // One layout item for the whole control, so SameLine continues after its right edge.
    ImGui::SetCursorScreenPos(p);
    ImGui::Dummy(ImVec2(total, height));
    ImGui::PopID();
    return changed;
}

bool Segmented(const char* id, int* index, std::initializer_list<const char*> items, float width) {
    return Segmented(id, index, std::span<const char* const>(items.begin(), items.size()), width);
}

bool NavItem(const char* label, const char* icon, bool active, float width) {
    const float s = UiScale();
    const float rowH = 42 * s;
    const ImVec2 p = ImGui::GetCursorScreenPos();
    const bool clicked = ImGui::InvisibleButton(label, ImVec2(std::max(width, 1.0f), rowH));
    const ImGuiID id = ImGui::GetItemID();
    const bool hovered = ImGui::IsItemHovered();
    const float a = Animate(id, active ? 1.0f : 0.0f, 12);
    const float h = Animate(id + 1, hovered ? 1.0f : 0.0f, 14);
    ImDrawList* dl = ImGui::GetWindowDrawList();
    const ImVec2 q(p.x + width, p.y + rowH);
    if (h > 0.001f) dl->AddRectFilled(p, q, UiColor(IM_COL32(255, 255, 255, static_cast<int>(10 * h))), 10 * s);
    if (a > 0.01f) {
        dl->AddRectFilled(p, q, UiColor(WithAlpha(Theme::Accent, 0.13f * a)), 10 * s);
        const float barH = 21 * s * a;
        const float y0 = p.y + (rowH - barH) * 0.5f;
        GradientRect(ImVec2(p.x, y0), ImVec2(p.x + 4 * s, y0 + barH), Theme::Accent, Theme::Accent2, 2 * s, true, dl);
    }
    const ImU32 labelColour = Lerp(Lerp(Theme::TextMuted, Theme::Text, h), kWhite, a);
    const float cy = p.y + rowH * 0.5f;
    if (icon && *icon) {
        ImFont* font = ImGui::GetFont();
        const float iconW = font->CalcTextSizeA(font->FontSize, FLT_MAX, 0, icon).x;
        const int start = dl->VtxBuffer.Size;
        DrawCentredText(dl, font, 0, ImVec2(p.x + 18 * s + iconW * 0.5f, cy), icon, UiColor(kWhite));
        ShadeGradient(dl, start, ImVec2(p.x + 18 * s, cy), ImVec2(p.x + 18 * s + iconW, cy),
                      Lerp(labelColour, Theme::Accent, a), Lerp(labelColour, Theme::Accent2, a));
    }
    ImFont* labelFont = a > 0.5f ? FontOr(FontSemibold) : FontOr(FontBody);
    const char* end = ImGui::FindRenderedTextEnd(label);
    dl->AddText(labelFont, labelFont->FontSize,
                ImVec2(p.x + (18 + 32) * s, IM_ROUND(cy - labelFont->FontSize * 0.5f)), UiColor(labelColour), label,
                end);
    if (hovered) ImGui::SetMouseCursor(ImGuiMouseCursor_Hand);
    return clicked;
}

void Avatar(ImDrawList* drawList, ImVec2 centre, float radius, const char* initials, int colourIndex) {
    ImDrawList* dl = drawList ? drawList : ImGui::GetWindowDrawList();
    const ImU32 c = ProfileColor(colourIndex);
    const int start = dl->VtxBuffer.Size;
    dl->AddCircleFilled(centre, radius, UiColor(kWhite), 48);
    ShadeGradient(dl, start, ImVec2(centre.x - radius, centre.y - radius), ImVec2(centre.x + radius, centre.y + radius),
                  Lerp(c, IM_COL32(0, 0, 0, 255), 0.25f), Lerp(c, kWhite, 0.25f));
    if (initials && *initials) {
        ImFont* font = FontOr(FontSemibold);
        const float size = 0.95f * radius;
        const ImVec2 ts = font->CalcTextSizeA(size, FLT_MAX, 0, initials);
        dl->AddText(font, size, ImVec2(IM_ROUND(centre.x - ts.x * 0.5f), IM_ROUND(centre.y - ts.y * 0.5f)),
                    UiColor(kWhite), initials);
    }
}
