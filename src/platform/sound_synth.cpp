#include "platform/sound_synth.h"

#include <algorithm>
#include <cmath>

namespace platform {

namespace {

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void PutU16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
void PutTag(std::vector<uint8_t>& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }

constexpr Note kFanfare[] = {
    {392.00, 0.00, 0.16, 0.8},  {523.25, 0.11, 0.16, 0.8}, {659.25, 0.22, 0.16, 0.8},
    {783.99, 0.33, 0.70, 0.9},  {1046.5, 0.33, 0.70, 0.5}, {659.25, 0.33, 0.70, 0.35},
    {1318.5, 0.52, 0.45, 0.25},
};
constexpr Note kChime[] = {{880.0, 0.00, 0.08, 0.6}, {1320.0, 0.04, 0.10, 0.5}};
constexpr Note kTick[] = {{1568.0, 0.00, 0.05, 0.5}};

}  // namespace

std::span<const Note> FanfareNotes() { return kFanfare; }
std::span<const Note> ChimeNotes() { return kChime; }
std::span<const Note> TickNotes() { return kTick; }

std::vector<uint8_t> SynthesizeWav(std::span<const Note> notes, double totalSeconds) {
    constexpr double kRate = kSoundSampleRate;
    constexpr double kTwoPi = 6.28318530717958;
    const double want = totalSeconds * kRate;
    // A negative, absurd or non-finite length gives an empty (but valid) image.
    const size_t n = want > 0 && want < 1e9 ? static_cast<size_t>(want) : 0;
    std::vector<float> buffer(n, 0.0f);
    for (const Note& note : notes) {
        const double s0d = note.start * kRate, md = note.duration * kRate;
        if (!(s0d >= 0 && s0d < 1e9) || !(md >= 1 && md < 1e9)) continue;
        const size_t s0 = static_cast<size_t>(s0d);
        const size_t m = static_cast<size_t>(md);
        for (size_t i = 0; i < m && s0 + i < n; ++i) {
            const double t = static_cast<double>(i) / kRate;
            const double attack = std::min(t / 0.006, 1.0);
            const double envelope = std::exp(-3.2 * t / note.duration) * attack;
            const double w = kTwoPi * note.freq * t;
            buffer[s0 + i] +=
                static_cast<float>((std::sin(w) + 0.35 * std::sin(2 * w) + 0.12 * std::sin(3 * w)) * envelope * note.gain);
        }
    }

    std::vector<uint8_t> out;
    out.reserve(kWavHeaderBytes + 2 * n);
    const uint32_t dataBytes = static_cast<uint32_t>(2 * n);
    PutTag(out, "RIFF");
    PutU32(out, 36 + dataBytes);
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    PutU32(out, 16);
    PutU16(out, 1);  // PCM
    PutU16(out, 1);  // mono
    PutU32(out, kSoundSampleRate);
    PutU32(out, kSoundSampleRate * 2);  // bytes per second
    PutU16(out, 2);                     // block align
    PutU16(out, 16);                    // bits per sample
    PutTag(out, "data");
    PutU32(out, dataBytes);
    for (float x : buffer) {
        float v = std::clamp(x * 0.33f, -1.0f, 1.0f);
        if (std::isnan(v)) v = 0.0f;  // a note with a non-finite frequency
        PutU16(out, static_cast<uint16_t>(static_cast<int16_t>(v * 32000.0f)));
    }
    return out;
}

}  // namespace platform
