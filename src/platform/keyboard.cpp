#include "platform/keyboard.h"

#include <SDL.h>

namespace kavorind {

namespace {

PlatformKeySource keySource = nullptr;

// Scancodes are physical positions, so Z and X sit in the same place on every layout.
SDL_Scancode scancodeFor(int virtualKey) {
    if (virtualKey >= 'A' && virtualKey <= 'Z')
        return static_cast<SDL_Scancode>(SDL_SCANCODE_A + (virtualKey - 'A'));
    if (virtualKey >= '1' && virtualKey <= '9')
        return static_cast<SDL_Scancode>(SDL_SCANCODE_1 + (virtualKey - '1'));
    if (virtualKey >= 0x70 && virtualKey <= 0x7B) // F1 to F12
        return static_cast<SDL_Scancode>(SDL_SCANCODE_F1 + (virtualKey - 0x70));
    switch (virtualKey) {
    case 0x08:
        return SDL_SCANCODE_BACKSPACE;
    case 0x09:
        return SDL_SCANCODE_TAB;
    case 0x0D:
        return SDL_SCANCODE_RETURN;
    case 0x1B:
        return SDL_SCANCODE_ESCAPE;
    case 0x20:
        return SDL_SCANCODE_SPACE;
    case 0x25:
        return SDL_SCANCODE_LEFT;
    case 0x26:
        return SDL_SCANCODE_UP;
    case 0x27:
        return SDL_SCANCODE_RIGHT;
    case 0x28:
        return SDL_SCANCODE_DOWN;
    case 0x30:
        return SDL_SCANCODE_0;
    case 0xA0:
        return SDL_SCANCODE_LSHIFT;
    case 0xA1:
        return SDL_SCANCODE_RSHIFT;
    case 0xA2:
        return SDL_SCANCODE_LCTRL;
    case 0xA3:
        return SDL_SCANCODE_RCTRL;
    default:
        return SDL_SCANCODE_UNKNOWN;
    }
}

// The generic Shift and Control codes are down when either side is.
int genericModifierDown(int virtualKey, const Uint8* state) {
    if (virtualKey == 0x10)
        return state[SDL_SCANCODE_LSHIFT] || state[SDL_SCANCODE_RSHIFT];
    if (virtualKey == 0x11)
        return state[SDL_SCANCODE_LCTRL] || state[SDL_SCANCODE_RCTRL];
    return 0;
}

} // namespace

void platformSetKeySource(PlatformKeySource source) {
    keySource = source;
}

int platformKeyDown(int virtualKey) {
    if (keySource)
        return keySource(virtualKey) ? 1 : 0;
    if (virtualKey < 0 || virtualKey > 255)
        return 0;
    int count = 0;
    const Uint8* state = SDL_GetKeyboardState(&count);
    if (!state)
        return 0;
    if (genericModifierDown(virtualKey, state))
        return 1;
    SDL_Scancode code = scancodeFor(virtualKey);
    return code != SDL_SCANCODE_UNKNOWN && code < count && state[code] ? 1 : 0;
}

} // namespace kavorind
