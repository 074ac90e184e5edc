#include "asset_fixtures.h"
#include "assets/stage_map.h"
#include "assets/stage_map_writer.h"

#include <gtest/gtest.h>

#include <climits>

namespace kavorind {

namespace {

StageMap loadedMap(const StageMapImage& description) {
    StageMap map;
    std::string error;
    std::vector<uint8_t> file = encodeStageMap(description, &error);
    EXPECT_FALSE(file.empty()) << error;
    EXPECT_EQ(map.loadFromMemory(file), 1);
    return map;
}

// A map of width x height cells of tw x th pixels over a tileset of the pattern picture, with
// every cell naming a tile (cycling through them) except every seventh, which is empty.
StageMapImage patternMap(int width, int height, int tw, int th, int tilesetWidth, int tilesetHeight,
                         int layers = 1) {
    StageMapImage map =
        makeStageMapImage(width, height, tw, th, layers, tilesetWidth, tilesetHeight);
    map.tileset = patternImage(tilesetWidth, tilesetHeight);
    int count = tileCountOf(map);
    for (int l = 0; l < layers; ++l)
        for (int c = 0; c < width * height; ++c) {
            map.layers[static_cast<size_t>(l)].tiles[static_cast<size_t>(c)] =
                (c + l) % 7 == 3 ? (c % 2 ? firstEmptyCell : 65535)
                                 : static_cast<uint16_t>((c * 5 + l) % count);
            map.layers[static_cast<size_t>(l)].spawns[static_cast<size_t>(c)] =
                static_cast<uint8_t>(c + 10 * l);
        }
    return map;
}

// The tile picture's pixel (x, y) of tile t.
uint8_t tilePixel(const StageMapImage& map, int t, int x, int y) {
    int perRow = map.tileset.width / map.tileWidth;
    return map.tileset.at((t % perRow) * map.tileWidth + x, (t / perRow) * map.tileHeight + y);
}

// What a layer draw must produce, pixel by pixel (with the cells clamped to the map).
Surface expectedLayer(const StageMapImage& map, int layer, int sw, int sh, int x, int y,
                      int columns, int rows, int firstColumn, int firstRow, int key) {
    Surface expected = backgroundSurface(sw, sh);
    for (int i = 0; i < rows && firstRow + i < map.height; ++i)
        for (int j = 0; j < columns && firstColumn + j < map.width; ++j) {
            int t = map.layers[static_cast<size_t>(layer)]
                        .tiles[static_cast<size_t>((firstRow + i) * map.width + firstColumn + j)];
            if (t >= firstEmptyCell)
                continue;
            for (int r = 0; r < map.tileHeight; ++r)
                for (int c = 0; c < map.tileWidth; ++c) {
                    int X = x + j * map.tileWidth + c, Y = y + i * map.tileHeight + r;
                    uint8_t v = tilePixel(map, t, c, r);
                    if (X >= 0 && Y >= 0 && X < sw && Y < sh && (key < 0 || v != key))
                        pixelAt(expected, X, Y) = v;
                }
        }
    return expected;
}

} // namespace

TEST(StageMap, TilesAreCutFromTheTopLeftWithPartialTilesLeftOut) {
    for (int tilesetWidth : {100, 98, 96}) {
        StageMapImage description = patternMap(2, 2, 32, 16, tilesetWidth, 50);
        StageMap map = loadedMap(description);
        EXPECT_EQ(map.tileCount(), 3 * 3) << tilesetWidth;
        EXPECT_EQ(map.tileset().rowStride(), 100 - (tilesetWidth == 96 ? 4 : 0));
        for (int t = 0; t < map.tileCount(); ++t)
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 32; ++x)
                    ASSERT_EQ(map.tile(t)[y * 32 + x], tilePixel(description, t, x, y))
                        << "tile " << t << " at " << x << "," << y;
    }
}

TEST(StageMap, CellZeroDrawsTheTopLeftTileAndEmptyCellsNothing) {
    StageMapImage description = patternMap(3, 1, 4, 4, 8, 8);
    description.layers[0].tiles = {0, firstEmptyCell, 65535};
    StageMap map = loadedMap(description);
    for (bool keyed : {false, true}) {
        Surface surface = backgroundSurface(12, 4);
        ASSERT_EQ(keyed ? map.drawLayerKeyed(&surface, 300, 0, 0, 0, 3, 1, 0, 0)
                        : map.drawLayer(&surface, 0, 0, 0, 3, 1, 0, 0),
                  1);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 12; ++x) {
                uint8_t tileValue = description.tileset.at(x, y);
                bool drawn = x < 4 && (!keyed || tileValue != 44); // key 300: low byte 44
                EXPECT_EQ(pixelAt(surface, x, y), drawn ? tileValue : backgroundAt(x, y));
            }
    }
}

TEST(StageMap, LeftScrollShowsTheTileFromItsClippedColumn) {
    StageMapImage description = patternMap(4, 1, 32, 8, 64, 8);
    description.layers[0].tiles = {1, 0, 1, 0};
    StageMap map = loadedMap(description);
    Surface surface = backgroundSurface(100, 8);
    ASSERT_EQ(map.drawLayer(&surface, 0, -10, 0, 4, 1, 0, 0), 1);
    for (int x = 0; x < 22; ++x)
        ASSERT_EQ(pixelAt(surface, x, 3), tilePixel(description, 1, 10 + x, 3));
    ASSERT_EQ(pixelAt(surface, 22, 3), tilePixel(description, 0, 0, 3));
}

TEST(StageMap, LayerClippingMatchesThePixelModel) {
    const StageMapImage description = patternMap(5, 4, 7, 5, 23, 16, 2);
    const StageMap map = loadedMap(description);
    const int sw = 24, sh = 17;
    int drawn = 0;
    for (int layer : {0, 1})
        for (int key : {-1, 0})
            for (int y = -25; y <= sh; y += 2)
                for (int x = -40; x <= sw; x += 3)
                    for (auto [columns, rows, firstColumn, firstRow] :
                         {std::array{5, 4, 0, 0}, std::array{2, 3, 1, 1}, std::array{9, 9, 3, 2},
                          std::array{5, 4, 5, 0}, std::array{1, 1, 4, 3}}) {
                        Surface surface = backgroundSurface(sw, sh);
                        int result = key < 0
                                         ? map.drawLayer(&surface, layer, x, y, columns, rows,
                                                         firstColumn, firstRow)
                                         : map.drawLayerKeyed(&surface, key, layer, x, y, columns,
                                                              rows, firstColumn, firstRow);
                        ASSERT_EQ(surface.locked, 0);
                        Surface expected = expectedLayer(description, layer, sw, sh, x, y, columns,
                                                         rows, firstColumn, firstRow, key);
                        if (result == 0) {
                            ASSERT_TRUE(untouched(surface)) << x << "," << y;
                            ASSERT_TRUE(untouched(expected))
                                << "refused a visible block at " << x << "," << y;
                        } else {
                            ++drawn;
                            ASSERT_EQ(surface.pixels, expected.pixels)
                                << "layer " << layer << " key " << key << " at " << x << "," << y
                                << " block " << columns << "x" << rows << " from " << firstColumn
                                << "," << firstRow;
                        }
                    }
    EXPECT_GT(drawn, 500);
}

TEST(StageMap, CallsPastTheEdgesAreRefused) {
    StageMap map = loadedMap(patternMap(4, 3, 8, 8, 16, 16));
    Surface surface = backgroundSurface(32, 24);
    EXPECT_EQ(map.drawLayer(&surface, 0, 32, 0, 4, 3, 0, 0), 0);  // x at the pitch
    EXPECT_EQ(map.drawLayer(&surface, 0, 0, 24, 4, 3, 0, 0), 0);  // y at the height
    EXPECT_EQ(map.drawLayer(&surface, 0, -32, 0, 4, 3, 0, 0), 0); // ends at the left edge
    EXPECT_EQ(map.drawLayer(&surface, 0, 0, -24, 4, 3, 0, 0), 0); // ends at the top edge
    EXPECT_EQ(map.drawLayer(&surface, 0, 0, 0, -1, 3, 0, 0), 0);
    EXPECT_EQ(map.drawLayer(&surface, 0, 0, 0, 4, -1, 0, 0), 0);
    EXPECT_EQ(map.drawLayer(&surface, 0, 0, 0, 4, 3, 5, 0), 0); // first column past the map
    EXPECT_EQ(map.drawLayer(&surface, 0, 0, 0, 4, 3, 0, 4), 0);
    EXPECT_EQ(map.drawLayer(&surface, 0, 0, 0, 4, 3, -1, 0), 0); // would read before the grid
    EXPECT_EQ(map.drawLayer(&surface, 0, 0, 0, 4, 3, 0, -1), 0);
    EXPECT_EQ(map.drawLayer(&surface, 1, 0, 0, 4, 3, 0, 0), 0); // no such layer
    EXPECT_EQ(map.drawLayer(&surface, 0, INT_MIN, INT_MIN, INT_MAX, INT_MAX, 0, 0), 0);
    EXPECT_TRUE(untouched(surface));
    // The first column at the map's width clamps the block to nothing: accepted only right of 0.
    EXPECT_EQ(map.drawLayer(&surface, 0, 0, 0, 4, 3, 4, 0), 0);
    EXPECT_EQ(map.drawLayer(&surface, 0, 1, 0, 4, 3, 4, 0), 1);
    EXPECT_TRUE(untouched(surface));
    EXPECT_EQ(map.drawLayer(&surface, 0, INT_MAX - 1, 0, INT_MAX, 3, 0, 0), 0);
    EXPECT_EQ(map.drawLayer(&surface, 0, 31, 23, INT_MAX, INT_MAX, 0, 0), 1);
}

TEST(StageMap, ABlockEndingOnTheRightEdgeDrawsNoExtraColumn) {
    StageMapImage description = patternMap(4, 1, 8, 8, 16, 8);
    description.layers[0].tiles = {0, 1, 0, 1};
    StageMap map = loadedMap(description);
    Surface surface = backgroundSurface(40, 8);
    ASSERT_EQ(map.drawLayer(&surface, 0, 8, 0, 4, 1, 0, 0), 1); // ends exactly at column 40
    EXPECT_EQ(surface.pixels, expectedLayer(description, 0, 40, 8, 8, 0, 4, 1, 0, 0, -1).pixels);
    Surface wider = backgroundSurface(41, 8);
    ASSERT_EQ(map.drawLayer(&wider, 0, 8, 0, 4, 1, 0, 0), 1);
    EXPECT_EQ(pixelAt(wider, 40, 0), backgroundAt(40, 0));
}

TEST(StageMap, KeyedLayerLeavesKeyPixels) {
    StageMapImage description = patternMap(3, 3, 8, 8, 16, 16);
    StageMap map = loadedMap(description);
    Surface surface = backgroundSurface(24, 24);
    ASSERT_EQ(map.drawLayerKeyed(&surface, 0, 0, 0, 0, 3, 3, 0, 0), 1);
    EXPECT_EQ(surface.pixels, expectedLayer(description, 0, 24, 24, 0, 0, 3, 3, 0, 0, 0).pixels);
    int kept = 0;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 24; ++x)
            kept += pixelAt(surface, x, y) >= 240;
    EXPECT_GT(kept, 24 * 24 / 10);
}

TEST(StageMap, SpawnCodesAndSizes) {
    StageMapImage description = patternMap(5, 3, 8, 4, 16, 8, 2);
    StageMap map = loadedMap(description);
    EXPECT_EQ(map.mapSize(), std::make_pair(5, 3));
    EXPECT_EQ(map.tileSize(), std::make_pair(8, 4));
    EXPECT_EQ(map.layerCount(), 2u);
    EXPECT_EQ(map.spawnCodeAt(0, 4, 2), 14);
    EXPECT_EQ(map.spawnCodeAt(1, 1, 1), 16);
    EXPECT_EQ(map.spawnCodeAt(0, 0, 3), 0);
    EXPECT_EQ(map.spawnCodeAt(0, 5, 0), 0);
    EXPECT_EQ(map.spawnCodeAt(0, -1, 0), 0);
    EXPECT_EQ(map.spawnCodeAt(2, 0, 0), 0);
    EXPECT_EQ(map.spawnCodeAt(UINT32_MAX, 0, 0), 0);
    StageMap empty;
    EXPECT_EQ(empty.spawnCodeAt(0, 0, 0), 0);
    EXPECT_EQ(empty.mapSize(), std::make_pair(0, 0));
    EXPECT_EQ(empty.tileSize(), std::make_pair(0, 0));
    Surface surface = backgroundSurface(8, 8);
    EXPECT_EQ(empty.drawLayer(&surface, 0, 0, 0, 1, 1, 0, 0), 0);
    EXPECT_EQ(empty.drawLayerKeyed(&surface, 0, 0, 0, 0, 1, 1, 0, 0), 0);
    EXPECT_EQ(empty.release(), 0);
}

TEST(StageMap, LoadTwiceKeepsTheFirstAndReleaseAllowsAnother) {
    StageMap map = loadedMap(patternMap(5, 3, 8, 4, 16, 8));
    EXPECT_EQ(map.loadFromMemory(encodeStageMap(patternMap(2, 2, 8, 4, 16, 8))), 0);
    EXPECT_EQ(map.mapSize(), std::make_pair(5, 3));
    EXPECT_EQ(map.release(), 1);
    EXPECT_FALSE(!map.isEmpty());
    EXPECT_EQ(map.mapSize(), std::make_pair(0, 0));
    EXPECT_TRUE(map.tileset().isEmpty());
    EXPECT_EQ(map.loadFromMemory(encodeStageMap(patternMap(2, 2, 8, 4, 16, 8))), 1);
    EXPECT_EQ(map.mapSize(), std::make_pair(2, 2));
}

TEST(StageMap, LowerCaseMagicAndMissingFilesAreRefused) {
    std::vector<uint8_t> file = encodeStageMap(patternMap(2, 2, 8, 4, 16, 8));
    file[0] = 'm';
    file[1] = 'a';
    file[2] = 'p';
    StageMap map;
    EXPECT_EQ(map.loadFromMemory(file), 0);
    EXPECT_EQ(map.load(tempPath("no-such-map.map")), 0);
    std::string path = tempPath("stage.map");
    ASSERT_EQ(writeStageMap(path, patternMap(2, 2, 8, 4, 16, 8)), 1);
    EXPECT_EQ(map.load(path), 1);
    std::remove(path.c_str());
}

TEST(StageMap, DrawsFollowTheLockContract) {
    StageMap map = loadedMap(patternMap(2, 2, 4, 4, 8, 8));
    EXPECT_EQ(map.drawLayer(nullptr, 0, 0, 0, 2, 2, 0, 0), 0);
    Surface surface = backgroundSurface(8, 8);
    surface.lost = 1;
    EXPECT_EQ(map.drawLayer(&surface, 0, 0, 0, 2, 2, 0, 0), 0);
    surface.lost = 0;
    surface.locked = 1;
    EXPECT_EQ(map.drawLayerKeyed(&surface, 0, 0, 0, 0, 2, 2, 0, 0), 0);
    EXPECT_EQ(surface.locked, 1);
    EXPECT_TRUE(untouched(surface));
}

TEST(StageBackdrop, BackOpaqueMiddleKeyedFrontWithTheMiddleMapsSize) {
    StageMapImage back = patternMap(8, 2, 8, 8, 32, 16);
    StageMapImage middle = patternMap(5, 2, 8, 8, 32, 16);
    StageMapImage front = patternMap(9, 3, 8, 8, 32, 16);
    middle.tileset.pixels.assign(middle.tileset.pixels.size(), 249); // keyed out...
    for (int y = 0; y < 16; y += 3)
        for (int x = 0; x < 32; x += 2)
            middle.tileset.at(x, y) = static_cast<uint8_t>(100 + x); // ...but for a few pixels
    for (MapLayerImage& layer : front.layers)
        for (size_t c = 0; c < layer.tiles.size(); ++c)
            layer.tiles[c] = c % 4 ? firstEmptyCell : layer.tiles[c] % 8;
    StageMap backMap = loadedMap(back), middleMap = loadedMap(middle), frontMap = loadedMap(front);

    const int sw = 48, sh = 24, backScroll = 5, midScroll = 11;
    Surface surface = backgroundSurface(sw, sh);
    drawStageBackdrop(&surface, backMap, middleMap, frontMap, backScroll, midScroll, 249);
    Surface expected = expectedLayer(back, 0, sw, sh, -backScroll, 0, 8, 2, 0, 0, -1);
    Surface mid = expectedLayer(middle, 0, sw, sh, -midScroll, 0, 5, 2, 0, 0, 249);
    Surface near = expectedLayer(front, 0, sw, sh, -midScroll, 0, 5, 2, 0, 0, -1);
    for (size_t i = 0; i < expected.pixels.size(); ++i) {
        if (mid.pixels[i] < 240)
            expected.pixels[i] = mid.pixels[i];
        if (near.pixels[i] < 240)
            expected.pixels[i] = near.pixels[i];
    }
    EXPECT_EQ(surface.pixels, expected.pixels);
    EXPECT_EQ(surface.locked, 0);
}

} // namespace kavorind
