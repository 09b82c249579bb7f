#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdint>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/sound.h"
#include "platform/sound_synth.h"

using platform::Note;
using platform::SynthesizeWav;

namespace {

uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}
uint16_t U16(const std::vector<uint8_t>& b, size_t at) { return static_cast<uint16_t>(b[at] | b[at + 1] << 8); }
int16_t Sample(const std::vector<uint8_t>& b, size_t i) {
    return static_cast<int16_t>(U16(b, platform::kWavHeaderBytes + 2 * i));
}
std::string Tag(const std::vector<uint8_t>& b, size_t at) { return std::string(b.begin() + at, b.begin() + at + 4); }

}  // namespace

TEST(SynthesizeWav, ImageSizesAndHeaderOfTheThreeEffects) {
    struct Case {
        std::span<const Note> notes;
        double seconds;
        size_t samples;
    } cases[] = {{platform::FanfareNotes(), platform::kFanfareSeconds, 52920},
                 {platform::ChimeNotes(), platform::kChimeSeconds, 8820},
                 {platform::TickNotes(), platform::kTickSeconds, 3528}};
    for (const Case& c : cases) {
        std::vector<uint8_t> wav = SynthesizeWav(c.notes, c.seconds);
        ASSERT_EQ(wav.size(), 44 + 2 * c.samples);
        EXPECT_EQ(Tag(wav, 0), "RIFF");
        EXPECT_EQ(U32(wav, 4), 36 + 2 * c.samples);
        EXPECT_EQ(Tag(wav, 8), "WAVE");
        EXPECT_EQ(Tag(wav, 12), "fmt ");
        EXPECT_EQ(U32(wav, 16), 16u);
        EXPECT_EQ(U16(wav, 20), 1);  // PCM
        EXPECT_EQ(U16(wav, 22), 1);  // mono
        EXPECT_EQ(U32(wav, 24), 44100u);
        EXPECT_EQ(U32(wav, 28), 88200u);
        EXPECT_EQ(U16(wav, 32), 2);
        EXPECT_EQ(U16(wav, 34), 16);
        EXPECT_EQ(Tag(wav, 36), "data");
        EXPECT_EQ(U32(wav, 40), 2 * c.samples);
        int peak = 0;
        for (size_t i = 0; i < c.samples; ++i) peak = std::max(peak, std::abs(static_cast<int>(Sample(wav, i))));
        EXPECT_LE(peak, 32000);
        EXPECT_GT(peak, 1000);  // audible, not silence
    }
}

TEST(SynthesizeWav, NotesStartSilentDecayAndEndWhereTheyEnd) {
    // Each note of the fanfare alone: its first sample is 0 (the attack starts at 0).
    for (const Note& n : platform::FanfareNotes()) {
        const Note one[] = {n};
        std::vector<uint8_t> wav = SynthesizeWav(one, platform::kFanfareSeconds);
        const size_t s0 = static_cast<size_t>(n.start * 44100);
        EXPECT_EQ(Sample(wav, s0), 0) << n.freq;
        if (s0 > 0) {
            EXPECT_EQ(Sample(wav, s0 - 1), 0) << n.freq;
        }
    }
    // The tick lasts 0.05 s of its 0.08 s: the rest is silence.
    std::vector<uint8_t> tick = SynthesizeWav(platform::TickNotes(), platform::kTickSeconds);
    for (size_t i = 2205; i < 3528; ++i) ASSERT_EQ(Sample(tick, i), 0) << i;
    EXPECT_NE(Sample(tick, 100), 0);

    // One sample value by hand: 440 Hz, gain 1, sample 300 (t = 300/44100 s).
    const Note a[] = {{440.0, 0.0, 1.0, 1.0}};
    std::vector<uint8_t> wav = SynthesizeWav(a, 0.5);
    const double t = 300.0 / 44100.0, w = 6.28318530717958 * 440.0 * t;
    const double x = (std::sin(w) + 0.35 * std::sin(2 * w) + 0.12 * std::sin(3 * w)) * std::exp(-3.2 * t) *
                     std::min(t / 0.006, 1.0);
    EXPECT_NEAR(Sample(wav, 300), static_cast<int>(static_cast<float>(x) * 0.33f * 32000.0f), 1);
}

TEST(SynthesizeWav, OverlongShortAndLoudNotesStayInBounds) {
    // Past the end is cut off, a note shorter than one sample is skipped, and a
    // loud chord is clamped to ±32000.
    const Note notes[] = {{500.0, 0.09, 1.0, 1.0}, {700.0, 0.0, 0.00001, 5.0}};
    std::vector<uint8_t> wav = SynthesizeWav(notes, 0.1);
    ASSERT_EQ(wav.size(), 44u + 2 * 4410);
    for (size_t i = 0; i < 3969; ++i) ASSERT_EQ(Sample(wav, i), 0) << i;

    const Note loud[] = {{300.0, 0.0, 0.5, 9.0}, {301.0, 0.0, 0.5, 9.0}};
    std::vector<uint8_t> clipped = SynthesizeWav(loud, 0.5);
    int peak = 0;
    for (size_t i = 0; i < 22050; ++i) peak = std::max(peak, std::abs(static_cast<int>(Sample(clipped, i))));
    EXPECT_EQ(peak, 32000);

    EXPECT_EQ(SynthesizeWav(loud, -1.0).size(), 44u);
}

TEST(Sound, PlayingWithoutRealAudioIsSilentAndCounted) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    const int before = platform::SoundRequestCount();
    platform::PlayFanfare();
    platform::PlayChime();  // cuts the fanfare off
    platform::PlayTick();
    EXPECT_EQ(platform::SoundRequestCount(), before + 3);
}
