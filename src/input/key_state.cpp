#include "input/key_state.h"

#include "platform/keyboard.h"

#include <algorithm>
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

namespace {
constexpr int gameKeyCodes[gameKeyCount] = {VK_LEFT, VK_RIGHT, VK_UP,    VK_DOWN,
                                            VK_Z,    VK_X,     VK_ESCAPE};
} // namespace

int gameKeyCode(int gameKey) {
    return gameKey >= 0 && gameKey < gameKeyCount ? gameKeyCodes[gameKey] : 0;
}

int gameKeyRow(int virtualKey) {
    const int* row = std::find(std::begin(gameKeyCodes), std::end(gameKeyCodes), virtualKey);
    return row == std::end(gameKeyCodes) ? -1 : static_cast<int>(row - std::begin(gameKeyCodes));
}

} // namespace kavorind
