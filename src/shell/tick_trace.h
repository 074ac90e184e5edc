#pragma once
#include "display/palette.h"
#include "display/surface.h"

#include <cstdint>
#include <string>

namespace kavorind {

// What one trace line says about its tick besides the program's own state.
struct TraceTick {
    int tick = 0;
    int rendered = 0;
    int withPalette = 0;   // add the 256 colours on screen
    int withFrameHash = 0; // add "frame": the hash of the last frame presented, or null
    int presented = 0;     // a frame was presented during the tick
    uint64_t frameHash = 0;
};

// One JSON object per tick, as the headless runner and the game's --trace write them, after the
// tick's idle step: the tick number, the scene, whether
// a frame was rendered, and the state of the program under its own names.
std::string traceLine(const TraceTick& tick);
// From now on the sound device's calls are collected for the "sound" field of the next line.
void startSoundTrace();
// Stops collecting them and forgets those not yet written.
void stopSoundTrace();
// FNV-1a (64 bits) of a frame's palette indices followed by the red, green and blue of the colours
// it was shown with: a fade changes it as much as a drawing does.
uint64_t frameHash(const Surface& frame, const PaletteEntries& colours);

} // namespace kavorind
