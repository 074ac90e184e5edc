// Broken and hostile files: every truncation of a valid file and a table of header mutations per
// format. Each must load correctly where it is still valid, or be refused cleanly (the load
// returns 0 and the object stays empty); anything that loads is then drawn, clipped, to show
// that what the loader let through is safe to use.
#include "asset_fixtures.h"
#include "assets/bitmap_image.h"
#include "assets/sprite_set.h"
#include "assets/stage_map.h"
#include "assets/stage_map_writer.h"

#include <gtest/gtest.h>

namespace kavorind {

namespace {

std::vector<uint8_t> validBitmap() {
    return encodeBitmap(patternImage(5, 3));
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
    map.layers[0].spawns = {0, 1, 2, 10, 11, 0};
    return encodeStageMap(map);
}

void drawEverywhere(const BitmapImage& image) {
    Surface surface = backgroundSurface(16, 12);
    for (int p : {-20, -3, 0, 7, 15})
        for (int q : {-20, -3, 0, 7, 11}) {
            image.blitWhole(&surface, p, q);
            image.blitKeyed(&surface, 0, p, q, 40, 40, 1, 1);
        }
    EXPECT_EQ(surface.locked, 0);
}

void drawEverywhere(SpriteSet& set) {
    Surface surface = backgroundSurface(16, 12);
    for (uint32_t f = 0; f < set.frameCount(); ++f) {
        set.setCurrentIndex(static_cast<int>(f));
        for (int p : {-20, -3, 0, 7, 15})
            for (int q : {-20, -3, 0, 7, 11}) {
                set.drawFrame(&surface, f, p, q);
                pixelOverlap(set, p, q, set, q, p);
            }
    }
    EXPECT_EQ(surface.locked, 0);
}

void drawEverywhere(const StageMap& map) {
    Surface surface = backgroundSurface(16, 12);
    auto [columns, rows] = map.mapSize();
    for (int p : {-20, -3, 0, 7, 15})
        for (int q : {-20, -3, 0, 7, 11}) {
            map.drawLayer(&surface, 0, p, q, columns, rows, 0, 0);
            map.drawLayerKeyed(&surface, 0, 0, p, q, columns, rows, 1, 1);
        }
    EXPECT_EQ(surface.locked, 0);
}

bool isEmpty(const BitmapImage& image) {
    return image.isEmpty() && image.width() == 0 && image.pixelBits() == nullptr;
}
bool isEmpty(const SpriteSet& set) {
    return !set.isLoaded() && set.frameCount() == 0;
}
bool isEmpty(const StageMap& map) {
    return map.isEmpty() && map.mapSize() == std::make_pair(0, 0) && map.layerCount() == 0 &&
           map.tileset().isEmpty();
}

template <typename Asset>
void expectMutations(const std::vector<uint8_t>& valid, std::initializer_list<Mutation> table) {
    for (const Mutation& m : table) {
        Asset asset;
        ASSERT_EQ(asset.loadFromMemory(mutated(valid, m)), m.loads) << m.what;
        if (m.loads)
            drawEverywhere(asset);
        else
            EXPECT_TRUE(isEmpty(asset)) << m.what;
    }
}

constexpr uint32_t intMin = 0x80000000u;

} // namespace

TEST(MalformedBitmap, EveryTruncationIsRefused) {
    std::vector<uint8_t> file = validBitmap();
    ASSERT_EQ(BitmapImage().loadFromMemory(file), 1);
    expectEveryTruncationRefused<BitmapImage>(file,
                                              [](const BitmapImage& b) { return isEmpty(b); });
}

TEST(MalformedBitmap, HeaderMutations) {
    const std::vector<uint8_t> file = validBitmap(); // 5 x 3, 256 colours, 1102 bytes
    expectMutations<BitmapImage>(
        file, {
                  {"magic not BM", 1, 'X', 1, 0},
                  {"info header below 40", 14, 39, 4, 0},
                  {"core header size 12", 14, 12, 4, 0},
                  {"info header size 0", 14, 0, 4, 0},
                  {"info header past the end", 14, 1089, 4, 0},
                  {"info header size 0xFFFFFFFF", 14, 0xffffffffu, 4, 0},
                  {"larger info header pushing the rows past the end", 14, 44, 4, 0},
                  {"width 0", 18, 0, 4, 0},
                  {"width -1", 18, 0xffffffffu, 4, 0},
                  {"width INT_MIN", 18, intMin, 4, 0},
                  {"width above the cap", 18, 16385, 4, 0},
                  {"width INT_MAX (stride overflows)", 18, 0x7fffffffu, 4, 0},
                  {"width 9: rows past the end", 18, 9, 4, 0},
                  {"width 6: same stride", 18, 6, 4, 1},
                  {"height 0", 22, 0, 4, 0},
                  {"height INT_MIN", 22, intMin, 4, 0},
                  {"height above the cap", 22, 16385, 4, 0},
                  {"height -16385", 22, static_cast<uint32_t>(-16385), 4, 0},
                  {"height 4: rows past the end", 22, 4, 4, 0},
                  {"height -3: top-down", 22, static_cast<uint32_t>(-3), 4, 1},
                  {"height 2: fewer rows", 22, 2, 4, 1},
                  {"bit count 4", 28, 4, 2, 0},
                  {"bit count 24", 28, 24, 2, 0},
                  {"bit count 0", 28, 0, 2, 0},
                  {"run-length compressed", 30, 1, 4, 0},
                  {"bit fields", 30, 3, 4, 0},
                  {"colour count 257", 46, 257, 4, 0},
                  {"colour count 0x40000000 (times 4 wraps)", 46, 0x40000000u, 4, 0},
                  {"colour count 0xFFFFFFFF", 46, 0xffffffffu, 4, 0},
                  {"colour count 0 meaning 256", 46, 0, 4, 1},
                  {"colour count 16", 46, 16, 4, 1},
                  {"planes ignored", 26, 7, 2, 1},
                  {"image size ignored", 34, 0xffffffffu, 4, 1},
                  {"pixel offset ignored", 10, 0xffffffffu, 4, 1},
              });
}

TEST(MalformedBitmap, ColourTablePastTheEndIsRefused) {
    IndexedImage picture = patternImage(4, 1);
    std::vector<uint8_t> file = encodeBitmap(picture, BitmapLayout{.colourCount = 2});
    ASSERT_EQ(BitmapImage().loadFromMemory(file), 1);
    // 256 entries claimed, but only 2 entries and 4 pixels follow.
    BitmapImage image;
    EXPECT_EQ(image.loadFromMemory(mutated(file, {"", 46, 256, 4, 0})), 0);
    EXPECT_TRUE(isEmpty(image));
}

TEST(MalformedBitmap, EveryPaddingFromZeroToThreeBytesLoads) {
    for (int width = 4; width <= 7; ++width) {
        IndexedImage picture = patternImage(width, 2);
        BitmapImage image;
        ASSERT_EQ(image.loadFromMemory(encodeBitmap(picture)), 1);
        Surface surface = backgroundSurface(width, 2);
        ASSERT_EQ(image.blitWhole(&surface, 0, 0), 1);
        EXPECT_EQ(surface.pixels, picture.pixels);
    }
}

TEST(MalformedBitmap, RawBlockTruncationsAndSizesAreRefused) {
    std::vector<uint8_t> block;
    ASSERT_EQ(appendRawImageBlock(patternImage(5, 2), &block), 1);
    for (size_t length = 0; length < block.size(); ++length) {
        ByteReader file(std::span<const uint8_t>(block).first(length));
        BitmapImage image;
        ASSERT_EQ(image.readRawBlock(file), 0) << length;
        ASSERT_TRUE(isEmpty(image));
    }
    for (auto [offset, value] : {std::pair<size_t, uint32_t>{0, 0},
                                 {0, 0xfffffffbu},
                                 {0, 16385},
                                 {0, 0x7fffffffu},
                                 {4, 0},
                                 {4, intMin},
                                 {4, 16385},
                                 {4, 3}}) {
        std::vector<uint8_t> bad = mutated(block, {"", offset, value, 4, 0});
        ByteReader file(bad);
        BitmapImage image;
        EXPECT_EQ(image.readRawBlock(file), 0) << offset << " = " << value;
        EXPECT_TRUE(isEmpty(image));
    }
}

TEST(MalformedSpriteSet, EveryTruncationIsRefused) {
    std::vector<uint8_t> file = validSpriteSet();
    ASSERT_EQ(SpriteSet().loadFromMemory(file), 1);
    expectEveryTruncationRefused<SpriteSet>(file, [](const SpriteSet& s) { return isEmpty(s); });
}

TEST(MalformedSpriteSet, HeaderMutations) {
    const std::vector<uint8_t> file = validSpriteSet(); // frames 5 x 3 and 3 x 2
    const size_t frame = 1047;
    expectMutations<SpriteSet>(
        file, {
                  {"magic in lower case", 2, 'r', 1, 0},
                  {"frame count 0: an empty set", 3, 0, 4, 1},
                  {"frame count 0xFFFFFFFF", 3, 0xffffffffu, 4, 0},
                  {"frame count 3: a frame past the end", 3, 3, 4, 0},
                  {"frame count 0x10000000 (times 16 wraps)", 3, 0x10000000u, 4, 0},
                  {"frame count 1: the rest is ignored", 3, 1, 4, 1},
                  {"rate 0", 7, 0, 4, 1},
                  {"rate 1", 7, 1, 4, 1},
                  {"rate 0xFFFFFFFF", 7, 0xffffffffu, 4, 1},
                  {"reserved ignored", 11, 0xffffffffu, 4, 1},
                  {"key 256", 15, 256, 4, 1},
                  {"key 0xFFFFFFFF", 15, 0xffffffffu, 4, 1},
                  {"bits per pixel 0", 19, 0, 4, 0},
                  {"bits per pixel 4", 19, 4, 4, 0},
                  {"bits per pixel 24", 19, 24, 4, 0},
                  {"bits per pixel 0xFFFFFFFF", 19, 0xffffffffu, 4, 0},
                  {"width -1", frame, 0xffffffffu, 4, 0},
                  {"width INT_MIN", frame, intMin, 4, 0},
                  {"width above the cap", frame, 16385, 4, 0},
                  {"width INT_MAX (stride overflows)", frame, 0x7fffffffu, 4, 0},
                  {"width 9: pixels run into the next record", frame, 9, 4, 0},
                  {"width 6: same stride", frame, 6, 4, 1},
                  {"height -1", frame + 4, 0xffffffffu, 4, 0},
                  {"height above the cap", frame + 4, 16385, 4, 0},
                  {"height 0x40000000 (size overflows)", frame + 4, 0x40000000u, 4, 0},
                  {"second frame taller than the file", frame + 16 + 24 + 4, 3, 4, 0},
                  {"hot spot INT_MIN", frame + 8, intMin, 4, 1},
                  {"hot spot INT_MAX", frame + 12, 0x7fffffffu, 4, 1},
              });
}

TEST(MalformedStageMap, EveryTruncationIsRefused) {
    std::vector<uint8_t> file = validStageMap();
    ASSERT_EQ(StageMap().loadFromMemory(file), 1);
    expectEveryTruncationRefused<StageMap>(file, [](const StageMap& m) { return isEmpty(m); });
}

TEST(MalformedStageMap, HeaderMutations) {
    const std::vector<uint8_t> file = validStageMap();
    const size_t cells = 23, tileset = 23 + 3 * 6;
    expectMutations<StageMap>(
        file, {
                  {"magic in lower case", 0, 'm', 1, 0},
                  {"layer count 0", 3, 0, 4, 0},
                  {"layer count 2: grids past the end", 3, 2, 4, 0},
                  {"layer count 0xFFFFFFFF", 3, 0xffffffffu, 4, 0},
                  {"width 0", 7, 0, 4, 0},
                  {"width -1", 7, 0xffffffffu, 4, 0},
                  {"width INT_MIN", 7, intMin, 4, 0},
                  {"width INT_MAX", 7, 0x7fffffffu, 4, 0},
                  {"height 0", 11, 0, 4, 0},
                  {"height -3", 11, static_cast<uint32_t>(-3), 4, 0},
                  {"height 0x55555556 (times 3 wraps)", 11, 0x55555556u, 4, 0},
                  {"tile width 0", 15, 0, 4, 0},
                  {"tile width -4", 15, static_cast<uint32_t>(-4), 4, 0},
                  {"tile width above the cap", 15, 16385, 4, 0},
                  {"tile width wider than the tileset", 15, 11, 4, 0},
                  {"tile width 3: more tiles", 15, 3, 4, 1},
                  {"tile height 0", 19, 0, 4, 0},
                  {"tile height taller than the tileset", 19, 9, 4, 0},
                  {"tile height 8: two tiles, index 2 and 3 past them", 19, 8, 4, 0},
                  {"tileset width 0", tileset, 0, 4, 0},
                  {"tileset width -10", tileset, static_cast<uint32_t>(-10), 4, 0},
                  {"tileset width above the cap", tileset, 16385, 4, 0},
                  {"tileset width 13: rows past the end", tileset, 13, 4, 0},
                  {"tileset width 9: same stride", tileset, 9, 4, 1},
                  {"tileset height 0", tileset + 4, 0, 4, 0},
                  {"tileset height -8", tileset + 4, static_cast<uint32_t>(-8), 4, 0},
                  {"tileset height 9: rows past the end", tileset + 4, 9, 4, 0},
                  {"tileset height 3: smaller than one tile", tileset + 4, 3, 4, 0},
                  {"tile index at the tile count", cells, 4, 2, 0},
                  {"tile index 39999", cells, 39999, 2, 0},
                  {"tile index 40000: empty", cells, 40000, 2, 1},
                  {"tile index 65535: empty", cells, 65535, 2, 1},
                  {"tile index 3", cells, 3, 2, 1},
                  {"spawn code 255", cells + 12, 255, 1, 1},
              });
}

TEST(MalformedStageMap, SizesWhoseProductOverflowsAreRefused) {
    std::vector<uint8_t> file = validStageMap();
    for (auto [width, height, layers] : {std::array<uint32_t, 3>{0x10000, 0x10000, 1},
                                         {0x8000, 0x8000, 4},
                                         {0x7fffffff, 0x7fffffff, 1},
                                         {3, 2, 0x40000000},
                                         {0x10000, 1, 0x10000}}) {
        std::vector<uint8_t> bad = mutated(file, {"", 7, width, 4, 0});
        bad = mutated(bad, {"", 11, height, 4, 0});
        bad = mutated(bad, {"", 3, layers, 4, 0});
        StageMap map;
        EXPECT_EQ(map.loadFromMemory(bad), 0) << width << " x " << height << " x " << layers;
        EXPECT_TRUE(isEmpty(map));
    }
}

TEST(MalformedStageMap, AFailedLoadAfterAReleaseLeavesTheMapEmpty) {
    StageMap map;
    ASSERT_EQ(map.loadFromMemory(validStageMap()), 1);
    map.release();
    std::vector<uint8_t> bad = mutated(validStageMap(), {"", 23, 39999, 2, 0});
    EXPECT_EQ(map.loadFromMemory(bad), 0);
    EXPECT_TRUE(isEmpty(map));
    EXPECT_EQ(map.loadFromMemory(validStageMap()), 1);
}

TEST(MalformedSpriteSet, AbsurdFrameCountsAreRefusedEvenWhenTheFileHoldsThem) {
    SpriteSetImage set;
    set.frames.assign(maxSpriteFrames, makeSpriteFrameImage(0, 0));
    std::vector<uint8_t> file = encodeSpriteSet(set);
    SpriteSet loaded;
    EXPECT_EQ(loaded.loadFromMemory(file), 1);
    EXPECT_EQ(loaded.frameCount(), maxSpriteFrames);
    set.frames.push_back(makeSpriteFrameImage(0, 0));
    SpriteSet refused;
    EXPECT_EQ(refused.loadFromMemory(encodeSpriteSet(set)), 0);
    EXPECT_TRUE(isEmpty(refused));
}

TEST(MalformedStageMap, AbsurdLayerCountsAreRefusedEvenWhenTheFileHoldsThem) {
    StageMapImage map = makeStageMapImage(1, 1, 4, 4, static_cast<int>(maxMapLayers), 4, 4);
    StageMap loaded;
    EXPECT_EQ(loaded.loadFromMemory(encodeStageMap(map)), 1);
    EXPECT_EQ(loaded.layerCount(), maxMapLayers);
    map.layers.push_back(map.layers.back());
    StageMap refused;
    EXPECT_EQ(refused.loadFromMemory(encodeStageMap(map)), 0);
    EXPECT_TRUE(isEmpty(refused));
}

} // namespace kavorind
