// The three short sound effects, synthesised in memory as 16-bit mono PCM WAVE
// images from a few sine notes with a soft attack and an exponential decay.
// Pure: no audio device is touched here.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace platform {

struct Note {
    double freq = 0.0;      // Hz
    double start = 0.0;     // seconds from the beginning of the sound
    double duration = 0.0;  // seconds
    double gain = 0.0;
};

inline constexpr int kSoundSampleRate = 44100;
inline constexpr size_t kWavHeaderBytes = 44;

// The WAVE image (44-byte header, then the samples) of the notes mixed over
// totalSeconds. Notes overlap by adding; samples past the end are cut off.
std::vector<uint8_t> SynthesizeWav(std::span<const Note> notes, double totalSeconds);

// The fixed note tables and lengths of the effects.
std::span<const Note> FanfareNotes();  // rising major arpeggio ending in a chord, 1.2 s
std::span<const Note> ChimeNotes();    // two quick notes, 0.2 s
std::span<const Note> TickNotes();     // one short high note, 0.08 s
inline constexpr double kFanfareSeconds = 1.2;
inline constexpr double kChimeSeconds = 0.2;
inline constexpr double kTickSeconds = 0.08;

}  // namespace platform
