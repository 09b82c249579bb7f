#include "platform/sound.h"

#include <SDL.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

#include "platform/sound_synth.h"

namespace platform {

namespace {

std::atomic<int> gRequests{0};

// The device is opened once; a failure is remembered so that a machine without
// audio does not retry on every celebration.
struct Device {
    bool tried = false;
    SDL_AudioDeviceID id = 0;
};

Device& TheDevice() {
    static Device device;
    return device;
}

SDL_AudioDeviceID OpenDevice() {
    Device& d = TheDevice();
    if (d.tried) return d.id;
    d.tried = true;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return 0;
    SDL_AudioSpec want{};
    want.freq = kSoundSampleRate;
    want.format = AUDIO_S16LSB;
    want.channels = 1;
    want.samples = 1024;
    want.callback = nullptr;  // fed with SDL_QueueAudio
    // No allowed changes: SDL converts to whatever the hardware wants.
    d.id = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
    if (d.id == 0) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return d.id;
}

// Each image is built once and lives for the rest of the run.
const std::vector<uint8_t>& Image(int which) {
    static std::once_flag once[3];
    static std::vector<uint8_t> images[3];
    std::call_once(once[which], [which] {
        switch (which) {
            case 0: images[0] = SynthesizeWav(FanfareNotes(), kFanfareSeconds); break;
            case 1: images[1] = SynthesizeWav(ChimeNotes(), kChimeSeconds); break;
            default: images[2] = SynthesizeWav(TickNotes(), kTickSeconds); break;
        }
    });
    return images[which];
}

void Play(int which) {
    ++gRequests;
    SDL_AudioDeviceID dev = OpenDevice();
    if (dev == 0) return;
    const std::vector<uint8_t>& wav = Image(which);
    if (wav.size() <= kWavHeaderBytes) return;
    // The device plays one sound at a time: drop what is still queued.
    SDL_ClearQueuedAudio(dev);
    if (SDL_QueueAudio(dev, wav.data() + kWavHeaderBytes, static_cast<Uint32>(wav.size() - kWavHeaderBytes)) != 0)
        return;
    SDL_PauseAudioDevice(dev, 0);
}

}  // namespace

void PlayFanfare() { Play(0); }
void PlayChime() { Play(1); }
void PlayTick() { Play(2); }
int SoundRequestCount() { return gRequests.load(); }

}  // namespace platform
