#pragma once
#include "display/palette.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kavorind {

// One frame as the content generator and the tests describe it: width x height palette indices,
// row-major, the top row first, no padding; and its hot spot, the point of the frame (from its
// top-left corner, possibly outside it) that lands on the position the game draws it at.
struct SpriteFrameImage {
    int width = 0;
    int height = 0;
    int hotX = 0;
    int hotY = 0;
    std::vector<uint8_t> pixels;

    uint8_t& at(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
    uint8_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// A blank frame (every pixel `fill`) with its hot spot.
SpriteFrameImage makeSpriteFrameImage(int width, int height, int hotX = 0, int hotY = 0,
                                      uint8_t fill = 0);

// A whole sprite set: the frames in order, the animation rate (the game waits 30 / rate ticks per
// frame, so 1 to 30), the colour key (its low byte is the transparent palette index of every frame)
// and the colour table stored with the set (the screen's colours come from the game palette).
struct SpriteSetImage {
    uint32_t rate = 1;
    uint32_t key = 0;
    PaletteEntries colours{};
    std::vector<SpriteFrameImage> frames;
};

// The bytes of an "SPR" file holding the set, 8 bits per pixel, each frame's rows stored bottom-up
// and padded to a multiple of 4 bytes. Empty when the description is inconsistent (error, if given,
// then says why): no frames, a rate of 0, a frame size below 0 or above 16384, a pixel count other
// than width x height.
std::vector<uint8_t> encodeSpriteSet(const SpriteSetImage& set, std::string* error = nullptr);
// encodeSpriteSet written to a file; 1 on success.
int writeSpriteSet(const std::string& path, const SpriteSetImage& set,
                   std::string* error = nullptr);

} // namespace kavorind
