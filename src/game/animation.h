#pragma once
#include "assets/sprite_set.h"

#include <cstdint>

namespace kavorind {

// Every animation of the game follows one counter rule: a counter of 0 advances the frame at once
// and is reloaded with the delay, and every tick ends with the counter one lower. So a freshly
// reset animation shows its first frame for no tick at all, and each later frame for `delay` ticks.
// Returns 1 on the ticks the frame advanced, for the animations that end instead of looping.
inline int stepAnimation(int32_t* frame, int32_t* counter, int32_t delay) {
    int advanced = 0;
    if (*counter == 0) {
        *frame += 1;
        *counter = delay;
        advanced = 1;
    }
    *counter -= 1;
    return advanced;
}

// The frames of a set; 0 for no set.
inline int32_t framesIn(const SpriteSet* set) {
    return set ? static_cast<int32_t>(set->frameCount()) : 0;
}

// A looping animation: back to frame 0 after the set's last frame.
inline void loopAnimation(int32_t* frame, int32_t* counter, int32_t delay, const SpriteSet* set) {
    if (stepAnimation(frame, counter, delay) && *frame >= framesIn(set))
        *frame = 0;
}

} // namespace kavorind
