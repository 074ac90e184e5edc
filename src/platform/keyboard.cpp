#include "platform/keyboard.h"

#include "platform/window_internal.h"

#include <SDL.h>

#include <array>

namespace kavorind {

namespace {

// Every key is read 30 times a second, so the layout is looked up once per layout: the table from
// virtual-key code to scancode is made again only when SDL reports a new keymap.
struct PlatformKeyboard {
    PlatformKeySource keySource = nullptr;
    PlatformKeymap keymap = nullptr;
    std::array<SDL_Scancode, 256> scancodes{};
    int stale = 1;
};

PlatformKeyboard platformKeyboard;

// Where the key sits on a US keyboard, by scancode (a physical position).
SDL_Scancode byPosition(int virtualKey) {
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

// Letter and digit codes name what the key types, so they are found through the layout. A layout
// with no key for the character (Cyrillic, Greek) keeps the US position, as Windows does.
SDL_Scancode byLayout(int virtualKey) {
    int character = virtualKey >= 'A' && virtualKey <= 'Z' ? virtualKey - 'A' + 'a' : virtualKey;
    int code = platformKeyboard.keymap
                   ? platformKeyboard.keymap(character)
                   : SDL_GetScancodeFromKey(static_cast<SDL_Keycode>(character));
    if (code <= SDL_SCANCODE_UNKNOWN || code >= SDL_NUM_SCANCODES)
        return byPosition(virtualKey);
    return static_cast<SDL_Scancode>(code);
}

SDL_Scancode scancodeFor(int virtualKey) {
    int typed =
        (virtualKey >= 'A' && virtualKey <= 'Z') || (virtualKey >= '0' && virtualKey <= '9');
    return typed ? byLayout(virtualKey) : byPosition(virtualKey);
}

// SDL's video driver loads the layout as it starts: a table made before that is made again.
void refreshTable() {
    if (!platformKeyboard.stale)
        return;
    for (int virtualKey = 0; virtualKey < 256; ++virtualKey)
        platformKeyboard.scancodes[static_cast<size_t>(virtualKey)] = scancodeFor(virtualKey);
    platformKeyboard.stale = SDL_WasInit(SDL_INIT_VIDEO) ? 0 : 1;
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

void platformKeymapChanged() {
    platformKeyboard.stale = 1;
}

void platformSetKeySource(PlatformKeySource source) {
    platformKeyboard.keySource = source;
}

PlatformKeySource platformKeySource() {
    return platformKeyboard.keySource;
}

void platformSetKeymap(PlatformKeymap keymap) {
    platformKeyboard.keymap = keymap;
}

int platformKeyScancode(int virtualKey) {
    if (virtualKey < 0 || virtualKey > 255)
        return SDL_SCANCODE_UNKNOWN;
    refreshTable();
    return platformKeyboard.scancodes[static_cast<size_t>(virtualKey)];
}

int platformKeyDown(int virtualKey) {
    if (platformKeyboard.keySource)
        return platformKeyboard.keySource(virtualKey) ? 1 : 0;
    if (virtualKey < 0 || virtualKey > 255)
        return 0;
    int count = 0;
    const Uint8* state = SDL_GetKeyboardState(&count);
    if (!state)
        return 0;
    if (genericModifierDown(virtualKey, state))
        return 1;
    int code = platformKeyScancode(virtualKey);
    return code != SDL_SCANCODE_UNKNOWN && code < count && state[code] ? 1 : 0;
}

} // namespace kavorind
