#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>

#include "model/icons.h"
#include "ui/headless.h"
#include "ui/theme.h"

namespace {

ImU32 Rgba(int r, int g, int b, int a) { return IM_COL32(r, g, b, a); }

TEST(ColourMaths, HexPacksAndClampsAlpha) {
    EXPECT_EQ(Hex(0x0E1016), Rgba(0x0E, 0x10, 0x16, 255));
    EXPECT_EQ(Hex(0xFF7A18, 0.5f), Rgba(0xFF, 0x7A, 0x18, 128));
    EXPECT_EQ(Hex(0x123456, -1.0f), Rgba(0x12, 0x34, 0x56, 0));
    EXPECT_EQ(Hex(0x123456, 7.0f), Rgba(0x12, 0x34, 0x56, 255));
    EXPECT_EQ(Hex(0x123456, NAN), Rgba(0x12, 0x34, 0x56, 0));
}

TEST(ColourMaths, LerpMixesEveryChannelIncludingAlpha) {
    const ImU32 a = Rgba(0, 100, 200, 0);
    const ImU32 b = Rgba(200, 100, 0, 255);
    EXPECT_EQ(Lerp(a, b, 0.0f), a);
    EXPECT_EQ(Lerp(a, b, 1.0f), b);
    EXPECT_EQ(Lerp(a, b, 0.5f), Rgba(100, 100, 100, 128));
    // Out-of-range t (an overshooting ease) must not wrap channels around.
    EXPECT_EQ(Lerp(a, b, 1.7f), b);
    EXPECT_EQ(Lerp(a, b, -0.3f), a);
}

TEST(ColourMaths, WithAlphaReplacesOnlyAlpha) {
    EXPECT_EQ(WithAlpha(Rgba(1, 2, 3, 255), 0.0f), Rgba(1, 2, 3, 0));
    EXPECT_EQ(WithAlpha(Rgba(1, 2, 3, 0), 0.18f), Rgba(1, 2, 3, 46));
    EXPECT_EQ(WithAlpha(Rgba(1, 2, 3, 9), 3.0f), Rgba(1, 2, 3, 255));
}

TEST(Easing, EndpointsOvershootAndClamping) {
    EXPECT_FLOAT_EQ(EaseOutBack(0.0f), 0.0f);
    EXPECT_FLOAT_EQ(EaseOutBack(1.0f), 1.0f);
    EXPECT_GT(EaseOutBack(0.7f), 1.0f);  // the "back" overshoot
    EXPECT_FLOAT_EQ(EaseOutBack(-2.0f), 0.0f);
    EXPECT_FLOAT_EQ(EaseOutBack(5.0f), 1.0f);
    EXPECT_FLOAT_EQ(EaseOutCubic(0.5f), 0.875f);
    EXPECT_FLOAT_EQ(EaseOutCubic(-1.0f), 0.0f);
    EXPECT_FLOAT_EQ(EaseOutCubic(2.0f), 1.0f);
}

TEST(Palettes, AccentIndexIsClampedAndProfileIndexWraps) {
    struct Case {
        int index;
        const char* name;
        uint32_t first, second;
    } cases[] = {
        {-5, "Sonnenuntergang", 0xFF7A18, 0xEC2678}, {0, "Sonnenuntergang", 0xFF7A18, 0xEC2678},
        {1, "Ozean", 0x00C6FF, 0x3A5BFF},            {2, "Frische", 0x8AE234, 0x14B8A6},
        {3, "Violett", 0xC084FC, 0x7C3AED},          {4, "Gold", 0xFFD166, 0xF77F00},
        {7, "Gold", 0xFFD166, 0xF77F00},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        EXPECT_STREQ(AccentName(c.index), c.name);
        EXPECT_EQ(AccentColor(c.index), Hex(c.first));
        EXPECT_EQ(Accent2Color(c.index), Hex(c.second));
    }
    EXPECT_EQ(ProfileColor(-1), Hex(0x00B4D8));
    EXPECT_EQ(ProfileColor(0), Hex(0xFF7A18));
    EXPECT_EQ(ProfileColor(8), Hex(0xFF7A18));
    EXPECT_EQ(ProfileColor(-9), Hex(0x00B4D8));
    EXPECT_EQ(ProfileColor(13), Hex(0xB388FF));
}

TEST(Animate, StepFollowsTheExponentialAndSnaps) {
    const float dt = 1.0f / 60.0f;
    EXPECT_NEAR(AnimateStep(0.0f, 1.0f, 14.0f, dt), 1.0f - std::exp(-14.0f * dt), 1e-6f);
    EXPECT_EQ(AnimateStep(0.9996f, 1.0f, 14.0f, 0.0f), 1.0f);   // closer than 0.0005: snap
    EXPECT_EQ(AnimateStep(0.5f, 1.0f, 14.0f, 0.0f), 0.5f);      // no time, no movement
    EXPECT_EQ(AnimateStep(NAN, 0.3f, 14.0f, dt), 0.3f);         // never stuck on NaN
    float v = 0.0f;
    int frames = 0;
    while (v != 1.0f && frames < 1000) {
        v = AnimateStep(v, 1.0f, 7.0f, dt);
        ++frames;
    }
    EXPECT_EQ(v, 1.0f);                     // reaches the target exactly
    EXPECT_GT(frames, 30);                  // ... but not at once (rate 7 ≈ 1 s)
    EXPECT_LT(frames, 120);
}

TEST(Animate, FirstRequestIsTheTargetAndIdsAreIndependent) {
    EXPECT_EQ(AnimateWithDelta(0xA11CE, 0.6f, 14, 0.016f), 0.6f);
    const float next = AnimateWithDelta(0xA11CE, 0.0f, 14, 0.016f);
    EXPECT_LT(next, 0.6f);
    EXPECT_GT(next, 0.0f);
    EXPECT_EQ(AnimateWithDelta(0xA11CE + 1, 1.0f, 14, 0.016f), 1.0f);
}

TEST(Theme, AccentAndScaleReachTheStyle) {
    HeadlessUi ui;
    ApplyTheme(2.0f, 7);
    const ImGuiStyle& style = ImGui::GetStyle();
    EXPECT_EQ(Theme::Accent, Hex(0xFFD166));
    EXPECT_EQ(Theme::Accent2, Hex(0xF77F00));
    EXPECT_EQ(ImGui::ColorConvertFloat4ToU32(style.Colors[ImGuiCol_CheckMark]), Hex(0xFFD166));
    EXPECT_EQ(ImGui::ColorConvertFloat4ToU32(style.Colors[ImGuiCol_HeaderHovered]), WithAlpha(Hex(0xFFD166), 0.12f));
    EXPECT_EQ(ImGui::ColorConvertFloat4ToU32(style.Colors[ImGuiCol_WindowBg]), Theme::Bg);
    EXPECT_FLOAT_EQ(style.FramePadding.x, 24.0f);
    EXPECT_FLOAT_EQ(style.ChildRounding, 28.0f);
    EXPECT_FLOAT_EQ(UiScale(), 2.0f);

    // Switching the accent rebuilds from the defaults: nothing is scaled twice.
    ApplyTheme(2.0f, 1);
    EXPECT_EQ(ImGui::ColorConvertFloat4ToU32(ImGui::GetStyle().Colors[ImGuiCol_SliderGrabActive]), Hex(0x3A5BFF));
    EXPECT_FLOAT_EQ(ImGui::GetStyle().FramePadding.x, 24.0f);
}

TEST(Fonts, SevenSizesWithUmlautsSymbolsAndEveryIcon) {
    for (float scale : {1.0f, 1.5f}) {
        SCOPED_TRACE(scale);
        HeadlessUi ui(scale);
        ImFont* fonts[] = {FontBody, FontSmall, FontSemibold, FontTitle, FontHeading, FontDisplay, FontHuge};
        const float sizes[] = {16, 13.5f, 16, 20, 30, 42, 84};
        for (int i = 0; i < 7; ++i) {
            ASSERT_NE(fonts[i], nullptr);
            EXPECT_FLOAT_EQ(fonts[i]->FontSize, sizes[i] * scale);
            for (ImWchar c : {0x00E4, 0x00D6, 0x00DF, 0x201E, 0x2013, 0x20AC, 0x2212}) {
                EXPECT_NE(fonts[i]->FindGlyphNoFallback(c), nullptr) << "font " << i << " U+" << std::hex << c;
            }
            for (ImWchar c : {0x2600, 0x2601, 0x2602, 0x2744, 0x26A1, 0x263E, 0x25B2, 0x2191}) {
                EXPECT_NE(fonts[i]->FindGlyphNoFallback(c), nullptr) << "font " << i << " U+" << std::hex << c;
            }
            for (char16_t cp : Icon::kCodepoints) {
                const ImFontGlyph* g = fonts[i]->FindGlyphNoFallback(cp);
                ASSERT_NE(g, nullptr) << "font " << i << " icon U+" << std::hex << int(cp);
                EXPECT_GE(g->AdvanceX, std::floor(1.05f * sizes[i] * scale));
            }
        }
        EXPECT_EQ(ImGui::GetIO().FontDefault, FontBody);
    }
}

TEST(Fonts, IconsSitOnTheMiddleOfTheCapitals) {
    HeadlessUi ui;
    for (ImFont* f : {FontSmall, FontBody, FontTitle, FontHeading, FontHuge}) {
        const ImFontGlyph* cap = f->FindGlyphNoFallback('H');
        ASSERT_NE(cap, nullptr);
        const float capMid = (cap->Y0 + cap->Y1) * 0.5f;
        for (const char* icon : {Icon::Home, Icon::Add, Icon::Check, Icon::Calendar}) {
            const ImFontGlyph* g = f->FindGlyphNoFallback(Icon::Codepoint(icon));
            ASSERT_NE(g, nullptr);
            EXPECT_NEAR((g->Y0 + g->Y1) * 0.5f, capMid, 0.12f * f->FontSize) << "size " << f->FontSize;
        }
    }
}

TEST(Fonts, MissingOrBrokenFilesFallBackWithoutFailing) {
    const std::string broken = testing::TempDir() + "stridely-not-a-font.otf";
    std::ofstream(broken) << "this is not a font file, just text that is long enough to look like one";
    HeadlessUi ui;

    // Icons and symbols missing: text stays, those glyphs are absent.
    FontFiles noExtras;
    noExtras.symbols = "/nonexistent/DejaVuSans.ttf";
    noExtras.icons = broken.c_str();
    LoadFonts(1.0f, noExtras);
    ASSERT_TRUE(ImGui::GetIO().Fonts->IsBuilt() || ImGui::GetIO().Fonts->Build());
    EXPECT_NE(FontBody->FindGlyphNoFallback(0x00FC), nullptr);  // ü from Inter
    EXPECT_EQ(FontBody->FindGlyphNoFallback(Icon::Codepoint(Icon::Run)), nullptr);
    EXPECT_EQ(FontBody->FindGlyphNoFallback(0x2600), nullptr);

    // Main fonts missing or broken: every handle still exists (built-in font).
    FontFiles noMain;
    noMain.regular = "/nonexistent/Inter-Regular.otf";
    noMain.semibold = broken.c_str();
    noMain.bold = nullptr;
    LoadFonts(1.0f, noMain);
    ASSERT_TRUE(ImGui::GetIO().Fonts->Build());
    for (ImFont* f : {FontBody, FontSmall, FontSemibold, FontTitle, FontHeading, FontDisplay, FontHuge}) {
        ASSERT_NE(f, nullptr);
        EXPECT_NE(f->FindGlyphNoFallback('A'), nullptr);
    }
    EXPECT_FLOAT_EQ(FontHuge->FontSize, 84.0f);
    std::remove(broken.c_str());
}

}  // namespace
