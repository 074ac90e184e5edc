#include "platform/icon.h"

#include <SDL.h>

namespace kavorind {

namespace {

// One character per pixel, each a digit or letter naming one of the 16 colours below.
constexpr const char* iconRows[32] = {
    "00000000000000000000000000000000", "00000000000000000000000000000000",
    "00000000000000000000000000000000", "00001000000000000000000000000000",
    "00000000000000000000000100000000", "00000000000000000000000000000000",
    "00000000000000000000000000000000", "000000000000cc000000000000000000",
    "00000000000cddc00000000000000000", "0000000000cdddc00000000000000010",
    "000000000cdddc000000000000000000", "00000000cdddcc000000000000000000",
    "0000000cddddc0000000000000000000", "000000cdddddc0000000000000000000",
    "00022334444444555555555000000000", "00233445555666666677777880000000",
    "02333445556699aa9666677788880000", "e2334455566699aab966667777ff8880",
    "e2334455566699aab966667777ff8880", "02333445556699aa9666677788880000",
    "00233445555666666677777880000000", "00022334444444555555555000000000",
    "000000cdddddc0000000000000000000", "0000000cddddc0000000000000000000",
    "00000000cdddcc000000000000000000", "000000000cdddc000000000000000010",
    "0000000000cdddc00000000000000000", "00000000000cddc00000000000000000",
    "000000000000cc000000000000000000", "00000000000000000000000000000000",
    "00010000000000000000000000100000", "00000000000000000000000000000000",
};

// Deep space, a star, steel greys to white, a blue cockpit, the wing edge, flame and its core.
constexpr Uint32 iconColours[16] = {
    0xff0a0a1e, 0xffc8d2ff, 0xff3c4150, 0xff50576a, 0xff666e82, 0xff7e879b, 0xff9aa3b5, 0xffb9c0cf,
    0xffd8dde8, 0xff2a6ad8, 0xff5fa0ff, 0xffa8d0ff, 0xff4a2c2c, 0xff8a4a36, 0xffff8a1e, 0xffffe070,
};

int colourIndex(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return 10 + (c - 'a');
    return 0;
}

} // namespace

SDL_Surface* createWindowIcon() {
    SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormat(0, 32, 32, 32, SDL_PIXELFORMAT_ARGB8888);
    if (!icon)
        return nullptr;
    auto* pixels = static_cast<Uint8*>(icon->pixels);
    for (int y = 0; y < 32; ++y) {
        auto* row = reinterpret_cast<Uint32*>(pixels + y * icon->pitch);
        const char* text = iconRows[y];
        for (int x = 0; x < 32; ++x)
            row[x] = iconColours[colourIndex(text[x])];
    }
    return icon;
}

} // namespace kavorind
