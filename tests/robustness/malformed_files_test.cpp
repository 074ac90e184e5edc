// Broken files that the per-format suites in assets/ and sound/ do not already build: frames of
// zero size, width x height products past 32 bits, and RIFF layouts with odd sizes and missing pad
// bytes. Each is either refused cleanly (0 and an empty object) or loaded and then safe to use.
#include "assets/asset_fixtures.h"
#include "assets/bitmap_image.h"
#include "assets/sprite_set.h"
#include "sound/riff_builder.h"
#include "sound/wave_clip.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>

namespace kavorind {

namespace {

// A file holding one frame record with the given fields and `pixelBytes` bytes after it.
std::vector<uint8_t> oneFrameFile(int32_t width, int32_t height, size_t pixelBytes) {
    std::vector<uint8_t> file = {'S', 'P', 'R'};
    for (uint32_t field : {1u, 10u, 0u, 0u, 8u})
        putLe(file, field, 4);
    file.resize(file.size() + 1024, 0);
    for (int32_t field : {width, height, 0, 0})
        putLe(file, static_cast<uint32_t>(field), 4);
    file.resize(file.size() + pixelBytes, 7);
    return file;
}

TEST(RobustSpriteSet, FramesWithoutPixelsLoadButDrawAndOverlapNothing) {
    for (auto [width, height] : {std::pair{0, 0}, {0, 9}, {9, 0}}) {
        SpriteSet empty;
        ASSERT_EQ(empty.loadFromMemory(oneFrameFile(width, height, 0)), 1)
            << width << "x" << height;
        SpriteSet solid;
        ASSERT_EQ(solid.loadFromMemory(oneFrameFile(8, 8, 64)), 1);
        Surface surface = backgroundSurface(12, 12);
        for (int x : {-1, 0, 3, 11})
            empty.drawFrame(&surface, 0, x, x);
        EXPECT_TRUE(untouched(surface)) << width << "x" << height;
        for (int offset : {0, 1, 4, 7})
            EXPECT_EQ(pixelOverlap(empty, offset, offset, solid, 0, 0), 0);
    }
}

TEST(RobustSpriteSet, FrameSizesWhoseProductPassesThirtyTwoBitsAreRefused) {
    // Each side within or just past the cap, or the product wrapping 32 bits to something small.
    for (auto [width, height] : std::initializer_list<std::pair<int32_t, int32_t>>{
             {16384, 16384}, {65536, 65536}, {0x40000000, 4}, {4, 0x40000000}, {INT_MAX, 2}}) {
        SpriteSet set;
        EXPECT_EQ(set.loadFromMemory(oneFrameFile(width, height, 64)), 0) << width << "x" << height;
        EXPECT_FALSE(set.isLoaded());
    }
}

TEST(RobustBitmap, SizesWhoseProductPassesThirtyTwoBitsAreRefused) {
    std::vector<uint8_t> bitmap = encodeBitmap(patternImage(5, 3));
    std::vector<uint8_t> block;
    ASSERT_EQ(appendRawImageBlock(patternImage(5, 3), &block), 1);
    for (auto [width, height] :
         std::initializer_list<std::pair<uint32_t, uint32_t>>{{16384, 16384},
                                                              {65536, 65536},
                                                              {0x40000000, 4},
                                                              {4, 0x40000000},
                                                              {0x7fffffff, 0x7fffffff},
                                                              {0x80000001u, 2}}) {
        BitmapImage image;
        std::vector<uint8_t> wide =
            mutated(mutated(bitmap, {"", 18, width, 4, 0}), {"", 22, height, 4, 0});
        EXPECT_EQ(image.loadFromMemory(wide), 0) << width << "x" << height;
        EXPECT_TRUE(image.isEmpty());
        std::vector<uint8_t> wideBlock =
            mutated(mutated(block, {"", 0, width, 4, 0}), {"", 4, height, 4, 0});
        ByteReader file(wideBlock);
        EXPECT_EQ(image.readRawBlock(file), 0) << width << "x" << height;
        EXPECT_TRUE(image.isEmpty());
        EXPECT_EQ(file.position(), 0u);
    }
}

// RIFF files put together by hand, for layouts the builder cannot make: pads left out, sizes
// that end the form early or late.
struct RawRiff {
    std::vector<uint8_t> bytes;
    RawRiff() {
        const std::string head("RIFF\0\0\0\0WAVE", 12);
        bytes.assign(head.begin(), head.end());
    }
    RawRiff& chunk(const char* tag, const std::vector<uint8_t>& payload, bool pad) {
        bytes.insert(bytes.end(), tag, tag + 4);
        putLe(bytes, static_cast<uint32_t>(payload.size()), 4);
        bytes.insert(bytes.end(), payload.begin(), payload.end());
        if (pad && payload.size() % 2)
            bytes.push_back(0);
        return *this;
    }
    // The file with the form size given, or the true one when formSize is negative.
    std::vector<uint8_t> file(int64_t formSize = -1) const {
        std::vector<uint8_t> out = bytes;
        uint32_t size =
            formSize < 0 ? static_cast<uint32_t>(out.size() - 8) : static_cast<uint32_t>(formSize);
        for (int i = 0; i < 4; ++i)
            out[4 + static_cast<size_t>(i)] = static_cast<uint8_t>(size >> (8 * i));
        return out;
    }
};

// 8-bit mono, so that every byte is a whole frame and an odd data size is kept whole.
const std::vector<uint8_t> mono8 = fmtPayload(1, 8000, 8);

int load(WaveClip& clip, const std::vector<uint8_t>& file) {
    return clip.loadFromMemory(file);
}

TEST(RobustWaveClip, OddSizesAndMissingPadBytes) {
    const std::vector<uint8_t> odd = countingBytes(13);
    struct Case {
        const char* what;
        std::vector<uint8_t> file;
        uint32_t samples; // 0: refused
    };
    const std::vector<Case> cases{
        {"odd data last, its pad byte missing",
         RawRiff().chunk("fmt ", mono8, true).chunk("data", odd, false).file(), 13},
        {"form size counting a pad byte that is missing",
         RawRiff().chunk("fmt ", mono8, true).chunk("data", odd, false).file(4 + 24 + 8 + 14), 13},
        {"form size past the end of the file",
         RawRiff().chunk("fmt ", mono8, true).chunk("data", odd, true).file(0x7ffffff0), 13},
        {"odd chunk before data, pad present",
         RawRiff()
             .chunk("fmt ", mono8, true)
             .chunk("note", {1, 2, 3}, true)
             .chunk("data", odd, true)
             .file(),
         13},
        // Without its pad the next header is read one byte early: "data" is never found.
        {"odd chunk before data, pad missing",
         RawRiff()
             .chunk("fmt ", mono8, true)
             .chunk("note", {1, 2, 3}, false)
             .chunk("data", odd, true)
             .file(),
         0},
        {"odd fmt, pad missing",
         RawRiff()
             .chunk("fmt ", fmtPayload(1, 8000, 8, {0}), false)
             .chunk("data", odd, true)
             .file(),
         0},
        // The samples are all in the file: the form's size is simply wrong.
        {"form ending inside data",
         RawRiff().chunk("fmt ", mono8, true).chunk("data", odd, true).file(4 + 24 + 8 + 5), 13},
        {"form ending inside a data header",
         RawRiff().chunk("fmt ", mono8, true).chunk("data", odd, true).file(4 + 24 + 4), 0},
        {"data size one past the file",
         [&] {
             std::vector<uint8_t> f =
                 RawRiff().chunk("fmt ", mono8, true).chunk("data", odd, false).file();
             f.pop_back();
             return f;
         }(),
         12},
    };
    for (const Case& c : cases) {
        WaveClip clip;
        EXPECT_EQ(load(clip, c.file), c.samples ? 1 : 0) << c.what;
        EXPECT_EQ(clip.sampleSize(), c.samples) << c.what;
        if (c.samples)
            EXPECT_EQ(std::vector<uint8_t>(clip.samples(), clip.samples() + c.samples),
                      std::vector<uint8_t>(odd.begin(), odd.begin() + c.samples))
                << c.what;
        else
            EXPECT_EQ(clip.samples(), nullptr) << c.what;
    }
}

} // namespace

} // namespace kavorind
