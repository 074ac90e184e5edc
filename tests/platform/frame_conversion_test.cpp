// The conversion on its own: every index through the table, each one a whole block of pixels,
// rows taken and written at their own pitches, and nothing written past a block's row.

#include "platform/frame_conversion.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

namespace kavorind {

namespace {

// A 3 x 2 frame in rows 5 bytes apart (the padding holds an index that must never be read).
const std::vector<uint8_t> frame = {1, 2, 3, 9, 9, 4, 5, 6, 9, 9};

std::array<uint32_t, 256> colourPerIndex() {
    std::array<uint32_t, 256> table{};
    for (uint32_t i = 0; i < 256; ++i)
        table[i] = 0xff000000u | i * 0x010101u;
    return table;
}

} // namespace

TEST(FrameConversion, EveryIndexBecomesABlockOfItsColour) {
    std::array<uint32_t, 256> table = colourPerIndex();
    for (int across : {1, 2, 3}) {
        for (int down : {1, 2, 3}) {
            // Two spare pixels on each target row, which must stay as they were.
            int rowPixels = 3 * across + 2;
            std::vector<uint32_t> target(static_cast<size_t>(rowPixels) * 2 * down, 0xdeadbeefu);
            convertFrame(frame.data(), 5, 3, 2, table.data(),
                         reinterpret_cast<uint8_t*>(target.data()), rowPixels * 4, across, down);
            for (int y = 0; y < 2 * down; ++y) {
                for (int x = 0; x < rowPixels; ++x) {
                    uint32_t expected =
                        x < 3 * across ? table[frame[(y / down) * 5 + x / across]] : 0xdeadbeefu;
                    ASSERT_EQ(target[static_cast<size_t>(y) * rowPixels + x], expected)
                        << across << " x " << down << " at " << x << ", " << y;
                }
            }
        }
    }
}

} // namespace kavorind
