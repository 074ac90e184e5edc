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

// Keys that type no letter or digit, by virtual-key code and scancode (a physical position).
struct KeyPosition {
    int virtualKey;
    SDL_Scancode scancode;
};

constexpr KeyPosition keyPositions[] = {
    {0x08, SDL_SCANCODE_BACKSPACE},   {0x09, SDL_SCANCODE_TAB},       {0x13, SDL_SCANCODE_PAUSE},
    {0x0D, SDL_SCANCODE_RETURN},      {0x1B, SDL_SCANCODE_ESCAPE},    {0x20, SDL_SCANCODE_SPACE},
    {0x21, SDL_SCANCODE_PAGEUP},      {0x22, SDL_SCANCODE_PAGEDOWN},  {0x23, SDL_SCANCODE_END},
    {0x24, SDL_SCANCODE_HOME},        {0x25, SDL_SCANCODE_LEFT},      {0x26, SDL_SCANCODE_UP},
    {0x27, SDL_SCANCODE_RIGHT},       {0x28, SDL_SCANCODE_DOWN},      {0x2D, SDL_SCANCODE_INSERT},
    {0x2E, SDL_SCANCODE_DELETE},      {0x30, SDL_SCANCODE_0},         {0x60, SDL_SCANCODE_KP_0},
    {0x6A, SDL_SCANCODE_KP_MULTIPLY}, {0x6B, SDL_SCANCODE_KP_PLUS},   {0x6D, SDL_SCANCODE_KP_MINUS},
    {0x6E, SDL_SCANCODE_KP_PERIOD},   {0x6F, SDL_SCANCODE_KP_DIVIDE}, {0xA0, SDL_SCANCODE_LSHIFT},
    {0xA1, SDL_SCANCODE_RSHIFT},      {0xA2, SDL_SCANCODE_LCTRL},     {0xA3, SDL_SCANCODE_RCTRL},
    {0xA4, SDL_SCANCODE_LALT},        {0xA5, SDL_SCANCODE_RALT},
};

// Where the key sits on a US keyboard.
SDL_Scancode byPosition(int virtualKey) {
    if (virtualKey >= 'A' && virtualKey <= 'Z')
        return static_cast<SDL_Scancode>(SDL_SCANCODE_A + (virtualKey - 'A'));
    if (virtualKey >= '1' && virtualKey <= '9')
        return static_cast<SDL_Scancode>(SDL_SCANCODE_1 + (virtualKey - '1'));
    if (virtualKey >= 0x61 && virtualKey <= 0x69) // keypad 1 to 9
        return static_cast<SDL_Scancode>(SDL_SCANCODE_KP_1 + (virtualKey - 0x61));
    if (virtualKey >= 0x70 && virtualKey <= 0x7B) // F1 to F12
        return static_cast<SDL_Scancode>(SDL_SCANCODE_F1 + (virtualKey - 0x70));
    for (const KeyPosition& position : keyPositions)
        if (position.virtualKey == virtualKey)
            return position.scancode;
    return SDL_SCANCODE_UNKNOWN;
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

// The generic Shift, Control and Alt codes are down when either side is.
int genericModifierDown(int virtualKey, const Uint8* state) {
    if (virtualKey == 0x10)
        return state[SDL_SCANCODE_LSHIFT] || state[SDL_SCANCODE_RSHIFT];
    if (virtualKey == 0x11)
        return state[SDL_SCANCODE_LCTRL] || state[SDL_SCANCODE_RCTRL];
    if (virtualKey == 0x12)
        return state[SDL_SCANCODE_LALT] || state[SDL_SCANCODE_RALT];
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
    return platformPhysicalKeyDown(virtualKey);
}

int platformPhysicalKeyDown(int virtualKey) {
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
