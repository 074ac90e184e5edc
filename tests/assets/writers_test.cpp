// The writers that the tests and the content generator share: what they write loads back exactly,
// and a description they cannot write is refused with a reason instead of a broken file.
#include "asset_fixtures.h"
#include "assets/bitmap_image.h"
#include "assets/row_copy.h"
#include "assets/sprite_set.h"
#include "assets/stage_map.h"
#include "assets/stage_map_writer.h"

#include <gtest/gtest.h>

namespace kavorind {

TEST(Writers, SpriteSetsRoundTripFrameByFrame) {
    SpriteSetImage description;
    description.rate = 30;
    description.key = 249;
    for (int n = 0; n < 4; ++n)
        description.frames.push_back(patternFrame(3 + n * 5, 2 + n, n - 1, 7 - n, n));
    SpriteSet set;
    ASSERT_EQ(set.loadFromMemory(encodeSpriteSet(description)), 1);
    ASSERT_EQ(set.frameCount(), 4u);
    for (uint32_t n = 0; n < 4; ++n) {
        const SpriteFrameImage& want = description.frames[n];
        const SpriteFrame* got = set.frameAt(n);
        EXPECT_EQ(got->width, want.width);
        EXPECT_EQ(got->height, want.height);
        EXPECT_EQ(got->hotX, want.hotX);
        EXPECT_EQ(got->hotY, want.hotY);
        for (int y = 0; y < want.height; ++y)
            for (int x = 0; x < want.width; ++x)
                ASSERT_EQ(got->row(y)[x], want.at(x, y));
    }
}

TEST(Writers, StageMapsRoundTripGridsAndTiles) {
    StageMapImage description = makeStageMapImage(4, 3, 8, 8, 2, 24, 16);
    description.tileset = patternImage(24, 16);
    for (int c = 0; c < 12; ++c) {
        description.layers[0].tiles[static_cast<size_t>(c)] = static_cast<uint16_t>(c % 6);
        description.layers[1].spawns[static_cast<size_t>(c)] = static_cast<uint8_t>(c + 1);
    }
    StageMap map;
    ASSERT_EQ(map.loadFromMemory(encodeStageMap(description)), 1);
    EXPECT_EQ(map.tileCount(), 6);
    EXPECT_EQ(map.layer(0)->tiles, description.layers[0].tiles);
    EXPECT_EQ(map.layer(1)->tiles, description.layers[1].tiles);
    EXPECT_EQ(map.layer(1)->spawns, description.layers[1].spawns);
    EXPECT_EQ(map.layer(2), nullptr);
}

TEST(Writers, InconsistentDescriptionsAreRefusedWithAReason) {
    std::string error;
    SpriteSetImage noFrames;
    EXPECT_TRUE(encodeSpriteSet(noFrames, &error).empty());
    EXPECT_NE(error.find("frame"), std::string::npos);
    SpriteSetImage rateZero;
    rateZero.rate = 0;
    rateZero.frames.push_back(makeSpriteFrameImage(2, 2));
    EXPECT_TRUE(encodeSpriteSet(rateZero, &error).empty());
    EXPECT_NE(error.find("rate"), std::string::npos);
    SpriteSetImage shortPixels;
    shortPixels.frames.push_back(makeSpriteFrameImage(2, 2));
    shortPixels.frames[0].pixels.pop_back();
    EXPECT_TRUE(encodeSpriteSet(shortPixels, &error).empty());
    EXPECT_NE(error.find("frame 0"), std::string::npos);

    IndexedImage tooWide = makeIndexedImage(16385, 1);
    EXPECT_TRUE(encodeBitmap(tooWide, {}, &error).empty());
    EXPECT_TRUE(
        encodeBitmap(makeIndexedImage(2, 2), BitmapLayout{.colourCount = 0}, &error).empty());
    EXPECT_TRUE(encodeBitmap(makeIndexedImage(2, 2),
                             BitmapLayout{.colourCount = 16, .colourCountZero = true}, &error)
                    .empty());
    EXPECT_EQ(writeBitmap(tempPath("never.bmp"), makeIndexedImage(0, 0), {}, &error), 0);

    StageMapImage badTile = makeStageMapImage(2, 1, 8, 8, 1, 16, 8); // 2 tiles
    badTile.layers[0].tiles = {1, 2};
    EXPECT_TRUE(encodeStageMap(badTile, &error).empty());
    EXPECT_NE(error.find("names tile 2 of 2"), std::string::npos);
    badTile.layers[0].tiles = {1, firstEmptyCell};
    EXPECT_FALSE(encodeStageMap(badTile, &error).empty());
    StageMapImage tinyTileset = makeStageMapImage(2, 1, 8, 8, 1, 7, 8);
    EXPECT_TRUE(encodeStageMap(tinyTileset, &error).empty());
    EXPECT_NE(error.find("smaller than one tile"), std::string::npos);
    StageMapImage shortGrid = makeStageMapImage(2, 1, 8, 8, 1, 8, 8);
    shortGrid.layers[0].spawns.pop_back();
    EXPECT_TRUE(encodeStageMap(shortGrid, &error).empty());
}

TEST(RowCopy, EveryLengthAndOffsetMatchesAByteLoop) {
    std::vector<uint8_t> source(300), start(300);
    for (size_t i = 0; i < source.size(); ++i) {
        source[i] = static_cast<uint8_t>(i % 7 == 0 ? 5 : i * 37);
        start[i] = static_cast<uint8_t>(200 + i % 13);
    }
    for (size_t n = 0; n <= 260; ++n)
        for (size_t offset : {0, 1, 3}) {
            std::vector<uint8_t> opaque = start, keyed = start, want = start, wantKeyed = start;
            copyRow(opaque.data() + offset, source.data() + 2, n);
            copyRowKeyed(keyed.data() + offset, source.data() + 2, n, 5);
            for (size_t i = 0; i < n; ++i) {
                want[offset + i] = source[2 + i];
                if (source[2 + i] != 5)
                    wantKeyed[offset + i] = source[2 + i];
            }
            ASSERT_EQ(opaque, want) << n;
            ASSERT_EQ(keyed, wantKeyed) << n;
        }
}

TEST(RowCopy, SharedOpaquePixelsAreFoundAtEveryPosition) {
    for (size_t n = 1; n <= 40; ++n)
        for (size_t at = 0; at < n; ++at) {
            std::vector<uint8_t> a(n, 9), b(n, 0);
            a[at] = 1; // the only opaque pixel of a (key 9)
            EXPECT_EQ(rowsShareOpaque(a.data(), 9, b.data(), 0, n), 0) << n;
            b[at] = 3;
            EXPECT_EQ(rowsShareOpaque(a.data(), 9, b.data(), 0, n), 1) << n << " at " << at;
            b[at] = 0;
            if (at + 1 < n)
                b[at + 1] = 3; // opaque beside it, not on it
            EXPECT_EQ(rowsShareOpaque(a.data(), 9, b.data(), 0, n), 0) << n << " at " << at;
        }
}

} // namespace kavorind
