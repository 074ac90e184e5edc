#pragma once
#include <cstdint>
#include <vector>

namespace kavorind {

// The view of a surface that every drawing operation works on while the surface is locked: one
// byte (a palette index) per pixel, rows top to bottom, row r at pixels + r * pitch. Drawing clips
// on the right at the pitch and at the bottom at the height.
struct LockedSurface {
    uint8_t* pixels = nullptr;
    int pitch = 0;
    int width = 0;
    int height = 0;
};

// An 8-bit off-screen surface in memory. Its pitch equals its width, so nothing is ever drawn into
// padding. A lost surface refuses locks until it is restored.
struct Surface {
    std::vector<uint8_t> pixels;
    int width = 0;
    int height = 0;
    int lost = 0;
    int locked = 0;
};

// 1 and the view on success; 0 (nothing to unlock) when the surface is null, empty, lost or locked.
int lockSurface(Surface* surface, LockedSurface* out);
// Ends a lock; 1 when pixels is the pointer that the lock handed out.
int unlockSurface(Surface* surface, const uint8_t* pixels);
// Fills the whole surface with one palette index; 1 on success.
int colourFill(Surface* surface, uint8_t index);
// Gives a lost surface back its memory (its contents are undefined until redrawn); 1 on success.
int restoreSurface(Surface* surface);
// Makes a cleared width x height surface; an empty one for sizes below 1.
Surface makeSurface(int width, int height);

} // namespace kavorind
