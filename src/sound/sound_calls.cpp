#include "sound/sound_calls.h"

namespace kavorind {

namespace {
SoundCallObserver observer = nullptr;
}

void setSoundCallObserver(SoundCallObserver newObserver) {
    observer = newObserver;
}

int reportSoundCall(const SoundCall& call) {
    if (observer)
        observer(call);
    return call.ok;
}

} // namespace kavorind
