#include "sound/sound_calls.h"

namespace kavorind {

namespace {

// Whoever watches the channel calls (the trace tool, tests).
struct SoundCalls {
    SoundCallObserver observer = nullptr;
};

SoundCalls soundCalls;

} // namespace

void setSoundCallObserver(SoundCallObserver observer) {
    soundCalls.observer = observer;
}

int reportSoundCall(const SoundCall& call) {
    if (soundCalls.observer)
        soundCalls.observer(call);
    return call.ok;
}

} // namespace kavorind
