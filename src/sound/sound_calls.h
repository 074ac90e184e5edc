#pragma once
#include <cstdint>

namespace kavorind {

// The channel operations a scene makes, as a tool that traces a run sees them.
enum SoundOp { SoundOpReleaseAll, SoundOpAssign, SoundOpPlay, SoundOpStop };

struct SoundCall {
    SoundOp op = SoundOpReleaseAll;
    uint32_t channel = 0;
    uint32_t bytes = 0; // assign: the clip's sample size
    int looping = 0;    // play: the looping argument
    int ok = 0;         // what the call returned
};

// Sees every assignClip, play, stop and releaseAll of the sound device, after it ran; null for
// none.
using SoundCallObserver = void (*)(const SoundCall& call);
void setSoundCallObserver(SoundCallObserver observer);
// Hands a finished call to the observer, if there is one, and returns its result.
int reportSoundCall(const SoundCall& call);

} // namespace kavorind
