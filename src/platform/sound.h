// Sound effects of the celebration and the stopwatch, played through one SDL
// audio device opened on first use. A new sound cuts off the one still playing.
// Callers check the `sounds` setting; without an audio device everything stays
// silent and nothing is reported.
#pragma once

namespace platform {

void PlayFanfare();
void PlayChime();
void PlayTick();

// How many effects were asked to play since start (played or not); tests use it
// to see that nothing is played while sounds are off.
int SoundRequestCount();

}  // namespace platform
