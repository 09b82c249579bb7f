#include "ui/theme.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <string>
#include <unordered_map>
#include <vector>

#include <ft2build.h>
#include FT_FREETYPE_H

#include "imgui_freetype.h"
#include "model/icons.h"

namespace {

float gScale = 1.0f;

float Clamp01(float v) {
    if (!(v > 0.0f)) return 0.0f;  // also NaN
    return v > 1.0f ? 1.0f : v;
}

struct Palette {
    const char* name;
    uint32_t first;
    uint32_t second;
};
constexpr Palette kPalettes[AccentCount] = {
    {"Sonnenuntergang", 0xFF7A18, 0xEC2678},
    {"Ozean", 0x00C6FF, 0x3A5BFF},
    {"Frische", 0x8AE234, 0x14B8A6},
    {"Violett", 0xC084FC, 0x7C3AED},
    {"Gold", 0xFFD166, 0xF77F00},
};

constexpr uint32_t kProfileColors[ProfileColorCount] = {
    0xFF7A18, 0x3A86FF, 0x2EC4B6, 0xEC2678, 0x8AC926, 0xB388FF, 0xFFB703, 0x00B4D8,
};

std::unordered_map<ImGuiID, float>& AnimStore() {
    static std::unordered_map<ImGuiID, float> store;
    return store;
}

}  // namespace

ImU32 Hex(uint32_t rgb, float a) {
    const auto alpha = static_cast<ImU32>(std::lround(Clamp01(a) * 255.0f));
    return IM_COL32((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF, alpha);
}

ImU32 Lerp(ImU32 a, ImU32 b, float t) {
    t = Clamp01(t);
    ImU32 out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const float ca = static_cast<float>((a >> shift) & 0xFF);
        const float cb = static_cast<float>((b >> shift) & 0xFF);
        const auto c = static_cast<ImU32>(std::lround(ca + (cb - ca) * t));
        out |= (c & 0xFF) << shift;
    }
    return out;
}

ImU32 WithAlpha(ImU32 c, float a) {
    const auto alpha = static_cast<ImU32>(std::lround(Clamp01(a) * 255.0f));
    return (c & ~IM_COL32_A_MASK) | (alpha << IM_COL32_A_SHIFT);
}

float EaseOutBack(float t) {
    const float u = Clamp01(t) - 1.0f;
    return 1.0f + 2.70158f * u * u * u + 1.70158f * u * u;
}

float EaseOutCubic(float t) {
    const float v = 1.0f - Clamp01(t);
    return 1.0f - v * v * v;
}

int ClampAccent(int index) { return std::clamp(index, 0, AccentCount - 1); }
const char* AccentName(int index) { return kPalettes[ClampAccent(index)].name; }
ImU32 AccentColor(int index) { return Hex(kPalettes[ClampAccent(index)].first); }
ImU32 Accent2Color(int index) { return Hex(kPalettes[ClampAccent(index)].second); }

ImU32 ProfileColor(int index) {
    const int i = ((index % ProfileColorCount) + ProfileColorCount) % ProfileColorCount;
    return Hex(kProfileColors[i]);
}

float UiScale() { return gScale; }

float AnimateStep(float value, float target, float rate, float dt) {
    if (!std::isfinite(value)) return target;
    const float k = 1.0f - std::exp(-rate * std::max(dt, 0.0f));
    value += (target - value) * k;
    if (std::fabs(value - target) < 0.0005f) value = target;
    return value;
}

float AnimateWithDelta(ImGuiID id, float target, float rate, float dt) {
    auto& store = AnimStore();
    auto [it, inserted] = store.try_emplace(id, target);
    if (!inserted) it->second = AnimateStep(it->second, target, rate, dt);
    return it->second;
}

float Animate(ImGuiID id, float target, float rate) {
    return AnimateWithDelta(id, target, rate, ImGui::GetIO().DeltaTime);
}

float AnimateFrom(ImGuiID id, float from, float target, float rate) {
    AnimStore().try_emplace(id, from);
    return Animate(id, target, rate);
}

// ---------------------------------------------------------------------------
// Theme

void ApplyTheme(float scale, int accentIndex) {
    if (!(scale > 0.0f)) scale = 1.0f;
    gScale = scale;
    Theme::Accent = AccentColor(accentIndex);
    Theme::Accent2 = Accent2Color(accentIndex);
    Theme::AccentF = ImGui::ColorConvertU32ToFloat4(Theme::Accent);
    Theme::Accent2F = ImGui::ColorConvertU32ToFloat4(Theme::Accent2);

    ImGuiStyle& style = ImGui::GetStyle();
    style = ImGuiStyle();
    ImGui::StyleColorsDark(&style);
    style.WindowPadding = ImVec2(0, 0);
    style.WindowRounding = 12;
    style.WindowBorderSize = 0;
    style.WindowTitleAlign = ImVec2(0.5f, 0.5f);
    style.ChildRounding = 14;
    style.ChildBorderSize = 1;
    style.PopupRounding = 10;
    style.PopupBorderSize = 1;
    style.FramePadding = ImVec2(12, 8);
    style.FrameRounding = 8;
    style.FrameBorderSize = 0;
    style.ItemSpacing = ImVec2(10, 10);
    style.ItemInnerSpacing = ImVec2(8, 6);
    style.CellPadding = ImVec2(10, 8);
    style.ScrollbarSize = 10;
    style.ScrollbarRounding = 8;
    style.GrabMinSize = 12;
    style.GrabRounding = 8;
    style.TabRounding = 8;
    style.SelectableTextAlign = ImVec2(0, 0.5f);
    style.AntiAliasedLines = true;
    style.AntiAliasedFill = true;
    style.ScaleAllSizes(scale);

    auto set = [&](ImGuiCol slot, ImU32 c) { style.Colors[slot] = ImGui::ColorConvertU32ToFloat4(c); };
    const ImU32 accent = Theme::Accent;
    set(ImGuiCol_Text, Theme::Text);
    set(ImGuiCol_TextDisabled, Theme::TextDim);
    set(ImGuiCol_WindowBg, Theme::Bg);
    set(ImGuiCol_ChildBg, Theme::Card);
    set(ImGuiCol_PopupBg, Hex(0x1C2030));
    set(ImGuiCol_Border, Theme::Border);
    set(ImGuiCol_BorderShadow, IM_COL32(0, 0, 0, 0));
    set(ImGuiCol_FrameBg, Hex(0x232838));
    set(ImGuiCol_FrameBgHovered, Hex(0x2A3044));
    set(ImGuiCol_FrameBgActive, Hex(0x30374D));
    set(ImGuiCol_TitleBg, Theme::Title);
    set(ImGuiCol_TitleBgActive, Theme::Title);
    set(ImGuiCol_TitleBgCollapsed, Theme::Title);
    set(ImGuiCol_MenuBarBg, Theme::Title);
    set(ImGuiCol_ScrollbarBg, IM_COL32(0, 0, 0, 0));
    set(ImGuiCol_ScrollbarGrab, Hex(0x343A4E));
    set(ImGuiCol_ScrollbarGrabHovered, Hex(0x444B63));
    set(ImGuiCol_ScrollbarGrabActive, accent);
    set(ImGuiCol_CheckMark, accent);
    set(ImGuiCol_SliderGrab, accent);
    set(ImGuiCol_SliderGrabActive, Theme::Accent2);
    set(ImGuiCol_Button, Hex(0x262B3C));
    set(ImGuiCol_ButtonHovered, Hex(0x30364A));
    set(ImGuiCol_ButtonActive, Hex(0x3A4158));
    set(ImGuiCol_Header, WithAlpha(accent, 0.18f));
    set(ImGuiCol_HeaderHovered, WithAlpha(accent, 0.12f));
    set(ImGuiCol_HeaderActive, WithAlpha(accent, 0.25f));
    set(ImGuiCol_Separator, Theme::Border);
    set(ImGuiCol_SeparatorHovered, accent);
    set(ImGuiCol_SeparatorActive, accent);
    set(ImGuiCol_ResizeGrip, IM_COL32(0, 0, 0, 0));
    set(ImGuiCol_TabHovered, Hex(0x2A3044));
    set(ImGuiCol_Tab, Hex(0x1E2230));
    set(ImGuiCol_TabActive, Hex(0x2A3044));  // the selected tab
    set(ImGuiCol_PlotHistogram, accent);
    set(ImGuiCol_TableHeaderBg, Hex(0x1E2230));
    set(ImGuiCol_TableBorderStrong, Theme::Border);
    set(ImGuiCol_TableBorderLight, Hex(0x232838));
    set(ImGuiCol_TableRowBg, IM_COL32(0, 0, 0, 0));
    set(ImGuiCol_TableRowBgAlt, Hex(0xFFFFFF, 0.018f));
    set(ImGuiCol_TextSelectedBg, WithAlpha(accent, 0.35f));
    set(ImGuiCol_NavHighlight, WithAlpha(accent, 0.6f));  // the keyboard-navigation cursor
    style.Colors[ImGuiCol_ModalWindowDimBg] = ImVec4(0.02f, 0.03f, 0.06f, 0.72f);
}

// ---------------------------------------------------------------------------
// Fonts

namespace {

const ImWchar kMainRanges[] = {
    0x0020, 0x017F,  // Latin, Latin-1 supplement, Latin extended-A
    0x2000, 0x206F,  // general punctuation (dashes, quotes, ellipsis)
    0x20AC, 0x20AC,  // euro sign
    0x2200, 0x22FF,  // mathematical operators (minus sign)
    0,
};
const ImWchar kSymbolRanges[] = {
    0x2190, 0x21FF,  // arrows
    0x25A0, 0x25FF,  // geometric shapes
    0x2600, 0x27BF,  // miscellaneous symbols and dingbats
    0,
};

// Single-glyph ranges of every icon constant, built once (the atlas keeps the pointer).
const ImWchar* IconRanges() {
    static const std::vector<ImWchar> ranges = [] {
        std::vector<ImWchar> cps(Icon::kCodepoints.begin(), Icon::kCodepoints.end());
        std::sort(cps.begin(), cps.end());
        cps.erase(std::unique(cps.begin(), cps.end()), cps.end());
        std::vector<ImWchar> out;
        for (ImWchar c : cps) {
            out.push_back(c);
            out.push_back(c);
        }
        out.push_back(0);
        return out;
    }();
    return ranges.data();
}

bool IsLoadableFont(const std::vector<char>& bytes) {
    if (bytes.empty()) return false;
    FT_Library lib = nullptr;
    if (FT_Init_FreeType(&lib) != 0) return false;
    FT_Face face = nullptr;
    const bool ok = FT_New_Memory_Face(lib, reinterpret_cast<const FT_Byte*>(bytes.data()),
                                       static_cast<FT_Long>(bytes.size()), 0, &face) == 0;
    if (face) FT_Done_Face(face);
    FT_Done_FreeType(lib);
    return ok;
}

// Font files are read once and kept for the whole run; the atlas borrows the bytes,
// so rebuilding on a scale change reads nothing again. Empty = unreadable.
const std::vector<char>& FontFile(const char* path) {
    static std::unordered_map<std::string, std::vector<char>> cache;
    auto it = cache.find(path);
    if (it == cache.end()) {
        std::vector<char> bytes;
        std::ifstream in(path, std::ios::binary);
        if (in) bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        // A file FreeType cannot open counts as missing: handing it to the atlas would
        // fail the whole build instead of only its own glyphs.
        if (!IsLoadableFont(bytes)) bytes.clear();
        it = cache.emplace(path, std::move(bytes)).first;
    }
    return it->second;
}

ImFont* AddFromFile(const char* path, float size, ImFontConfig cfg, const ImWchar* ranges) {
    if (!path) return nullptr;
    const std::vector<char>& bytes = FontFile(path);
    if (bytes.empty()) return nullptr;
    cfg.FontDataOwnedByAtlas = false;
    return ImGui::GetIO().Fonts->AddFontFromMemoryTTF(const_cast<char*>(bytes.data()),
                                                       static_cast<int>(bytes.size()), size,
                                                       &cfg, ranges);
}

struct FontSpec {
    ImFont** handle;
    const char* file;
    float size;
};

void AddFonts(float scale, const FontFiles& files, bool withFiles) {
    ImFontAtlas* atlas = ImGui::GetIO().Fonts;
    const FontSpec specs[] = {
        {&FontBody, files.regular, 16.0f},      {&FontSmall, files.regular, 13.5f},
        {&FontSemibold, files.semibold, 16.0f}, {&FontTitle, files.semibold, 20.0f},
        {&FontHeading, files.bold, 30.0f},      {&FontDisplay, files.bold, 42.0f},
        {&FontHuge, files.bold, 84.0f},
    };
    for (const FontSpec& spec : specs) {
        const float px = spec.size * scale;
        ImFontConfig main;
        main.OversampleH = 2;
        main.OversampleV = 2;
        ImFont* font = withFiles ? AddFromFile(spec.file, px, main, kMainRanges) : nullptr;
        if (!font) {
            ImFontConfig builtin;
            builtin.SizePixels = px;
            font = atlas->AddFontDefault(&builtin);
        }
        *spec.handle = font;
        if (!withFiles) continue;

        ImFontConfig symbols;
        symbols.MergeMode = true;
        symbols.OversampleH = 2;
        symbols.OversampleV = 1;
        AddFromFile(files.symbols, px, symbols, kSymbolRanges);

        ImFontConfig icons;
        icons.MergeMode = true;
        // Material Design glyphs leave a sixth of their em box empty where the original
        // icon font filled it (0.92 × size, offset 0.18 × size): 1.1 × size gives them
        // the same visible size, and 0.1 × size down centres them on the capitals.
        icons.PixelSnapH = true;
        icons.GlyphOffset = ImVec2(0.0f, 0.1f * px);
        icons.GlyphMinAdvanceX = 1.05f * px;
        AddFromFile(files.icons, 1.1f * px, icons, IconRanges());
    }
}

}  // namespace

void LoadFonts(float scale, const FontFiles& files) {
    if (!(scale > 0.0f)) scale = 1.0f;
    gScale = scale;
    ImGuiIO& io = ImGui::GetIO();
    ImFontAtlas* atlas = io.Fonts;
    atlas->Clear();
    // FreeType with light hinting keeps small text crisp; the atlas would otherwise use
    // whichever builder the library was compiled for.
    atlas->FontBuilderIO = ImGuiFreeType::GetBuilderForFreeType();
    atlas->FontBuilderFlags = ImGuiFreeTypeBuilderFlags_LightHinting;
    AddFonts(scale, files, true);
    if (!atlas->Build()) {
        // A font file that exists but cannot be parsed: fall back to the built-in font
        // for everything rather than leave the interface without text.
        atlas->Clear();
        AddFonts(scale, files, false);
        atlas->Build();
    }
    io.FontDefault = FontBody;
}
