// kavorind-key-probe: a window titled "Kavorind keys" that reads the keyboard and pads through the
// default bindings, as the game does, and prints the game keys held (for example "Z Left", or an
// empty line) each time they change, for the real-window key tests. Ends when its window closes.
#include "input/bindings.h"
#include "input/key_state.h"
#include "platform/keyboard.h"
#include "platform/messages.h"
#include "platform/video.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

using namespace kavorind;

namespace {

std::string heldKeys() {
    static const char* const names[gameKeyCount] = {"Left", "Right", "Up",    "Down",
                                                    "Z",    "X",     "Escape"};
    std::string held;
    for (int row = 0; row < gameKeyCount; ++row)
        if (platformKeyDown(gameKeyCode(row)))
            held += (held.empty() ? "" : " ") + std::string(names[row]);
    return held;
}

// 0 once the window was closed.
int readMessages() {
    while (platformPeekMessage()) {
        Message message;
        if (!platformGetMessage(&message) || message.message == WM_DESTROY)
            return 0;
    }
    return 1;
}

} // namespace

int main() {
    installBindings(defaultBindings());
    if (!platformCreateWindow("Kavorind keys", 640, 480, 0))
        return 1;
    std::string shown = "(none yet)";
    while (readMessages()) {
        std::string held = heldKeys();
        if (held != shown) {
            std::printf("%s\n", held.c_str());
            std::fflush(stdout);
            shown = held;
        }
        // About as often as the game samples its keys.
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return 0;
}
