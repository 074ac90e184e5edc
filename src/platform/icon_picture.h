#pragma once
// The program's icon as plain data: 32 rows of 32 pixels, each a digit or letter naming one of 16
// colours. The window icon is made from it, and so are the installed icons of every size, so that
// nothing but this header has to change when the picture does.
#include <cstdint>

namespace kavorind {

constexpr int iconSize = 32;

// A small craft over a dark sky, flying right, its flame to the left.
constexpr const char* iconRows[iconSize] = {
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

// The colour that fills the sky and the one that marks a star, as indices into iconColours.
constexpr int iconSkyColour = 0;
constexpr int iconStarColour = 1;

// Deep space, a star, steel greys to white, a blue cockpit, the wing edge, flame and its core;
// 0xAARRGGBB.
constexpr uint32_t iconColours[16] = {
    0xff0a0a1e, 0xffc8d2ff, 0xff3c4150, 0xff50576a, 0xff666e82, 0xff7e879b, 0xff9aa3b5, 0xffb9c0cf,
    0xffd8dde8, 0xff2a6ad8, 0xff5fa0ff, 0xffa8d0ff, 0xff4a2c2c, 0xff8a4a36, 0xffff8a1e, 0xffffe070,
};

// The colour index that a pixel's character names; anything else is the sky.
constexpr int iconColourIndex(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return 10 + (c - 'a');
    return iconSkyColour;
}

} // namespace kavorind
