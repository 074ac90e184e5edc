#pragma once
// Shared by the asset tests: surfaces with a recognisable background, pictures whose every pixel
// is distinct enough to tell where it came from, and a check that a draw touched nothing.
#include "assets/bitmap_writer.h"
#include "assets/sprite_set_writer.h"
#include "display/surface.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kavorind {

// Background values 240 to 242, never used by the pictures below.
inline uint8_t backgroundAt(int x, int y) {
    return static_cast<uint8_t>(240 + (x + 2 * y) % 3);
}

inline Surface backgroundSurface(int width, int height) {
    Surface surface = makeSurface(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            surface.pixels[static_cast<size_t>(y) * width + x] = backgroundAt(x, y);
    return surface;
}

inline uint8_t& pixelAt(Surface& surface, int x, int y) {
    return surface.pixels[static_cast<size_t>(y) * surface.width + x];
}

// A picture value for (x, y): 1 to 200, with (x + y) % 5 == 0 giving the value 0 (a good key).
inline uint8_t pictureValue(int x, int y) {
    return (x + y) % 5 == 0 ? 0 : static_cast<uint8_t>(1 + (x * 7 + y * 13) % 200);
}

inline IndexedImage patternImage(int width, int height) {
    IndexedImage image = makeIndexedImage(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.at(x, y) = pictureValue(x, y);
    for (int i = 0; i < 256; ++i)
        image.colours[static_cast<size_t>(i)] = PaletteEntry{
            static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), static_cast<uint8_t>(i * 3), 0};
    return image;
}

inline SpriteFrameImage patternFrame(int width, int height, int hotX, int hotY, int seed) {
    SpriteFrameImage frame = makeSpriteFrameImage(width, height, hotX, hotY);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            frame.at(x, y) = pictureValue(x + seed, y + 3 * seed);
    return frame;
}

// True when no pixel of the surface differs from the background.
inline bool untouched(const Surface& surface) {
    for (int y = 0; y < surface.height; ++y)
        for (int x = 0; x < surface.width; ++x)
            if (surface.pixels[static_cast<size_t>(y) * surface.width + x] != backgroundAt(x, y))
                return false;
    return true;
}

// Every strict prefix of a well-formed file must be refused by load and leave the object empty.
template <typename Asset, typename IsEmpty>
void expectEveryTruncationRefused(std::span<const uint8_t> file, IsEmpty isEmpty) {
    for (size_t length = 0; length < file.size(); ++length) {
        Asset asset;
        ASSERT_EQ(asset.loadFromMemory(file.first(length)), 0) << "truncated at " << length;
        ASSERT_TRUE(isEmpty(asset)) << "truncated at " << length;
    }
}

// One header mutation: a little-endian value written at an offset, and whether the file must
// still load.
struct Mutation {
    const char* what;
    size_t offset;
    uint32_t value;
    int size; // bytes written: 1, 2 or 4
    int loads;
};

inline std::vector<uint8_t> mutated(std::vector<uint8_t> file, const Mutation& m) {
    for (int i = 0; i < m.size; ++i)
        file.at(m.offset + static_cast<size_t>(i)) = static_cast<uint8_t>(m.value >> (8 * i));
    return file;
}

inline std::string tempPath(const std::string& name) {
    return std::string(KAVORIND_BUILD_DIR) + "/test-assets-" + name;
}

} // namespace kavorind
