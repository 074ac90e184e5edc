#pragma once
#include "display/palette.h"

#include <cstdint>

namespace kavorind {

// The game palette is laid out in ramps of 16 shades, darkest first. Sprites, tiles and the game's
// pictures all draw with these indices, so one colour table serves every one of them.
enum Ramp : uint8_t {
    Metal = 16,   // cool steel
    Sky = 32,     // day sky, navy to pale
    Earth = 48,   // dark soil to sand
    Foliage = 64, // deep green to spring green
    Fire = 80,    // ember red through orange and yellow to white
    Energy = 96,  // deep blue through cyan to white
    Dusk = 112,   // indigo through purple and rose to peach
    Sea = 128,    // deep teal to foam
    Plasma = 144, // dark violet to hot pink
    Hull = 160,   // enemy red
    Gold = 176,   // dark bronze to pale gold
    Space = 192,  // near-black blue to nebula violet
    Stone = 208,  // warm grey rock
    Toxic = 224,  // acid green glow
};

// Single colours outside the ramps.
constexpr uint8_t Black = 0;
constexpr uint8_t Outline = 1; // very dark navy, the outline of every sprite
constexpr uint8_t White = 2;
constexpr uint8_t ShadowInk = 3; // dark blue-grey for drop shadows of text
// The two colour keys: never a visible colour anywhere in the content.
constexpr uint8_t KeyMiddle = 249;
constexpr uint8_t KeyFirst = 255;
// Sprites use the last index as their transparent colour.
constexpr uint8_t SpriteKey = 255;

// Shade s (0 darkest .. 15 lightest) of a ramp, clamped.
inline uint8_t shade(uint8_t ramp, int s) {
    return static_cast<uint8_t>(ramp + (s < 0 ? 0 : s > 15 ? 15 : s));
}

// The 256 colours of the game ("Pal.Pal" and every file drawn with it).
PaletteEntries gameColours();
// The logo's own colours: a gold ramp, a steel ramp and a blue glow over black.
PaletteEntries logoPalette();

} // namespace kavorind
