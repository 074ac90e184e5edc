#include "input/key_state.h"

#include "platform/keyboard.h"

#include <cstddef>
#include <cstdint>

namespace kavorind {

KeyState keyState;

void clearKeys() {
    keyState.counters.fill(0);
}

void sampleKeys() {
    for (int code = 0; code < 256; ++code) {
        int32_t& counter = keyState.counters[static_cast<size_t>(code)];
        // A key held for years stops counting instead of wrapping round to a new press.
        if (!platformKeyDown(code))
            counter = 0;
        else if (counter < INT32_MAX)
            ++counter;
    }
}

int keyHeld(int code) {
    if (code < 0 || code > 255)
        return 0;
    return keyState.counters[static_cast<size_t>(code)];
}

int keyPressed(int code) {
    return keyHeld(code) == 1 ? 1 : 0;
}

} // namespace kavorind
