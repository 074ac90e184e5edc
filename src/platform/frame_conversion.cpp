#include "platform/frame_conversion.h"

#include <cstddef>
#include <cstring>

namespace kavorind {

namespace {

void convertRow(const uint8_t* source, int width, const uint32_t* table, uint32_t* row,
                int across) {
    if (across == 1) {
        for (int x = 0; x < width; ++x)
            row[x] = table[source[x]];
        return;
    }
    if (across == 2) {
        // The commonest enlargement (a 640 x 480 frame on a 1280 x 960 or larger screen).
        for (int x = 0; x < width; ++x)
            row[2 * x] = row[2 * x + 1] = table[source[x]];
        return;
    }
    for (int x = 0; x < width; ++x) {
        uint32_t pixel = table[source[x]];
        for (int i = 0; i < across; ++i)
            row[x * across + i] = pixel;
    }
}

} // namespace

void convertFrame(const uint8_t* indices, int pitch, int width, int height, const uint32_t* table,
                  uint8_t* target, int targetPitch, int across, int down) {
    size_t rowBytes = static_cast<size_t>(width) * across * sizeof(uint32_t);
    for (int y = 0; y < height; ++y) {
        uint8_t* first = target + static_cast<ptrdiff_t>(y) * down * targetPitch;
        convertRow(indices + static_cast<ptrdiff_t>(y) * pitch, width, table,
                   reinterpret_cast<uint32_t*>(first), across);
        // The repeated rows are copies of the first, which is still in the cache.
        for (int d = 1; d < down; ++d)
            std::memcpy(first + static_cast<ptrdiff_t>(d) * targetPitch, first, rowBytes);
    }
}

} // namespace kavorind
