#pragma once
#include "common/png_image.h"

#include <cstdint>
#include <vector>

namespace kavorind {

// A truecolour picture brought down to a palette: an index per pixel, how many of the picture's
// distinct colours are not in the palette and were moved to the nearest one, and how many pixels
// were transparent.
struct PaletteReduction {
    std::vector<uint8_t> indices;
    int movedColours = 0;
    int transparentPixels = 0;
};

// Each RGBA pixel of the picture to the palette entry nearest in colour (the lowest index among
// equals, so an exact colour always finds itself). A pixel less than half opaque becomes
// transparentIndex when that is 0 to 255, otherwise it is matched by its colour like any other.
PaletteReduction reduceToPalette(const PngPicture& rgba, const PaletteEntries& palette,
                                 int transparentIndex = -1);

} // namespace kavorind
