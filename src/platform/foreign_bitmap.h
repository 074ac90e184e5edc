#pragma once
#include "platform/decoded_pixels.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kavorind {

// One colour of a decoded picture's table.
struct ForeignColour {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
};

// A Windows bitmap of any kind an image editor writes (1, 4 or 8 bits with a colour table,
// RLE-compressed or not, 16, 24 or 32 bits of colour), decoded: a palette index per pixel with
// the table, or red, green, blue, alpha per pixel. Rows run top to bottom without padding.
struct ForeignPicture {
    int width = 0;
    int height = 0;
    bool indexed = false;
    std::vector<uint8_t> pixels;
    std::vector<ForeignColour> colours; // indexed only: 1 to 256 entries
};

// Decodes a whole bitmap file held in memory; 1 on success, else 0 with the reason in *why.
// A picture wider or taller than 16384, larger than its file could describe, or whose decoded
// pixels (a byte per pixel indexed, else four) would take more than maxPixelBytes, is refused
// before anything is allocated for it.
int decodeForeignBitmap(std::span<const uint8_t> file, ForeignPicture* picture, std::string* why,
                        uint64_t maxPixelBytes = maxDecodedPixelBytes);

} // namespace kavorind
