// The reasons and byte offsets the loaders give for a refused file: each planted fault is named
// at the field that holds it, and every refusal of a cut-short file says where the file ended.
#include "asset_fixtures.h"
#include "assets/bitmap_image.h"
#include "assets/sprite_set.h"
#include "assets/stage_map.h"
#include "assets/stage_map_writer.h"
#include "sound/wave_clip.h"
#include "sound/wave_writer.h"

#include <gtest/gtest.h>

namespace kavorind {

namespace {

struct PlantedFault {
    const char* what;
    size_t offset; // where the fault is planted and where the loader must point
    uint32_t value;
    int size;
    const char* reasonMentions;
};

template <typename Asset>
void expectNamedAtOffset(const std::vector<uint8_t>& valid, const PlantedFault& fault) {
    Mutation m{fault.what, fault.offset, fault.value, fault.size, 0};
    std::vector<uint8_t> file = mutated(valid, m);
    Asset asset;
    LoadProblem problem;
    ASSERT_EQ(asset.loadFromMemory(file, &problem), 0) << fault.what;
    EXPECT_EQ(problem.offset, fault.offset) << fault.what << ": " << problem.reason;
    EXPECT_NE(problem.reason.find(fault.reasonMentions), std::string::npos)
        << fault.what << ": " << problem.reason;
}

// Every cut-short file is refused with a reason and an offset inside what was given.
template <typename Asset> void expectTruncationsExplained(const std::vector<uint8_t>& valid) {
    for (size_t length = 0; length < valid.size(); ++length) {
        Asset asset;
        LoadProblem problem;
        std::span<const uint8_t> cut(valid.data(), length);
        ASSERT_EQ(asset.loadFromMemory(cut, &problem), 0) << length;
        EXPECT_FALSE(problem.reason.empty()) << length;
        EXPECT_LE(problem.offset, length) << length << ": " << problem.reason;
    }
}

std::vector<uint8_t> validSpriteSet() {
    SpriteSetImage set;
    set.rate = 6;
    set.frames = {patternFrame(5, 3, 1, 1, 0), patternFrame(3, 2, 0, 0, 1)};
    return encodeSpriteSet(set);
}

// One layer of 3 x 2 cells of 4 x 4 pixels over a 10 x 8 tileset: 2 x 2 = 4 tiles.
std::vector<uint8_t> validStageMap() {
    StageMapImage map = makeStageMapImage(3, 2, 4, 4, 1, 10, 8);
    map.tileset = patternImage(10, 8);
    map.layers[0].tiles = {0, 1, 2, 3, firstEmptyCell, 0};
    return encodeStageMap(map);
}

std::vector<uint8_t> validWave() {
    return waveFileBytes(describeWave({0, 100, -100, 50}, 1, 22050));
}

} // namespace

TEST(LoadProblem, BitmapFaultsAreNamedAtTheirField) {
    const std::vector<uint8_t> valid = encodeBitmap(patternImage(5, 3));
    const PlantedFault faults[] = {
        {"not BM", 0, 'X', 1, "BM"},
        {"info header size 12", 14, 12, 4, "info header"},
        {"width 0", 18, 0, 4, "width"},
        {"height 0", 22, 0, 4, "height"},
        {"24 bits per pixel", 28, 24, 2, "8 bits"},
        {"RLE8 compression", 30, 1, 4, "compressed"},
        {"300 colours", 46, 300, 4, "256 colours"},
    };
    for (const PlantedFault& fault : faults)
        expectNamedAtOffset<BitmapImage>(valid, fault);
    expectTruncationsExplained<BitmapImage>(valid);
}

TEST(LoadProblem, SpriteSetFaultsAreNamedAtTheirField) {
    const std::vector<uint8_t> valid = validSpriteSet();
    // The first frame's record follows the 23-byte header and the 1024-byte colour table.
    const PlantedFault faults[] = {
        {"not SPR", 0, 'X', 1, "SPR"},
        {"70000 frames", 3, 70000, 4, "65536"},
        {"1000 frames in a file of 1111 bytes", 3, 1000, 4, "more frames than"},
        {"16 bits per pixel", 19, 16, 4, "8 bits"},
        {"frame width -1", 1047, 0xffffffff, 4, "width"},
        {"frame height 20000", 1051, 20000, 4, "height"},
    };
    for (const PlantedFault& fault : faults)
        expectNamedAtOffset<SpriteSet>(valid, fault);
    expectTruncationsExplained<SpriteSet>(valid);
}

TEST(LoadProblem, StageMapFaultsAreNamedAtTheirField) {
    const std::vector<uint8_t> valid = validStageMap();
    // The grids start at byte 23 (two bytes a cell, then a byte a cell), the tileset at 41.
    const PlantedFault faults[] = {
        {"not MAP", 0, 'X', 1, "MAP"},
        {"no layers", 3, 0, 4, "layer"},
        {"width 0", 7, 0, 4, "width"},
        {"tile height 0", 19, 0, 4, "tile height"},
        {"tile index 4 of 4 tiles in the second cell", 25, 4, 2, "tile index"},
        {"tileset width 0", 41, 0, 4, "tileset width"},
        {"tile width 11 over a 10-pixel tileset", 15, 11, 4, "smaller than one tile"},
    };
    for (const PlantedFault& fault : faults)
        expectNamedAtOffset<StageMap>(valid, fault);
    expectTruncationsExplained<StageMap>(valid);
}

TEST(LoadProblem, WaveFaultsAreNamedAtTheirChunk) {
    const std::vector<uint8_t> valid = validWave();
    // "RIFF" size "WAVE", then "fmt " at 12 (its size at 16), then "data" at 36.
    const PlantedFault faults[] = {
        {"not RIFF", 0, 'X', 1, "RIFF"},
        {"not WAVE", 8, 'X', 1, "WAVE"},
        {"fmt of 8 bytes", 16, 8, 4, "shorter than 16"},
    };
    for (const PlantedFault& fault : faults)
        expectNamedAtOffset<WaveClip>(valid, fault);
    WaveClip clip;
    LoadProblem problem;
    ASSERT_EQ(clip.loadFromMemory(mutated(valid, {"no data", 36, 'X', 1, 0}), &problem), 0);
    EXPECT_NE(problem.reason.find("data"), std::string::npos) << problem.reason;
}

TEST(LoadProblem, AGoodFileLoadsAndAMissingOneIsNamed) {
    SpriteSet set;
    LoadProblem problem{"untouched", 7};
    ASSERT_EQ(set.loadFromMemory(validSpriteSet(), &problem), 1);
    EXPECT_EQ(problem.reason, "untouched");
    StageMap map;
    EXPECT_EQ(map.load(tempPath("no-such-file.map"), &problem), 0);
    EXPECT_NE(problem.reason.find("missing"), std::string::npos) << problem.reason;
}

} // namespace kavorind
