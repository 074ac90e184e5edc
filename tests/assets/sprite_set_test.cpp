#include "asset_fixtures.h"
#include "assets/sprite_set.h"

#include <gtest/gtest.h>

#include <climits>

namespace kavorind {

namespace {

SpriteSet loadedSet(const SpriteSetImage& description) {
    SpriteSet set;
    std::string error;
    std::vector<uint8_t> file = encodeSpriteSet(description, &error);
    EXPECT_FALSE(file.empty()) << error;
    EXPECT_EQ(set.loadFromMemory(file), 1);
    return set;
}

SpriteSetImage oneFrameSet(const SpriteFrameImage& frame, uint32_t key = 0) {
    SpriteSetImage description;
    description.key = key;
    description.rate = 10;
    description.frames.push_back(frame);
    return description;
}

// Every frame pixel that lands on the surface and is not the key's low byte.
Surface expectedSprite(const SpriteFrameImage& frame, uint32_t key, int sw, int sh, int x, int y) {
    Surface expected = backgroundSurface(sw, sh);
    for (int r = 0; r < frame.height; ++r)
        for (int c = 0; c < frame.width; ++c) {
            int X = x - frame.hotX + c, Y = y - frame.hotY + r;
            uint8_t v = frame.at(c, r);
            if (X >= 0 && Y >= 0 && X < sw && Y < sh && v != static_cast<uint8_t>(key))
                pixelAt(expected, X, Y) = v;
        }
    return expected;
}

// A frame of one colour with a transparent (key 0) hole in given columns and rows.
SpriteFrameImage solid(int width, int height, int hotX, int hotY, uint8_t value) {
    return makeSpriteFrameImage(width, height, hotX, hotY, value);
}

} // namespace

TEST(SpriteSet, HotSpotPlacesTheFrame) {
    SpriteFrameImage frame = patternFrame(32, 32, 0, 0, 1);
    SpriteSet set = loadedSet(oneFrameSet(frame));
    Surface surface = backgroundSurface(64, 64);
    ASSERT_EQ(set.drawFrame(&surface, 0, 0, 0), 1);
    EXPECT_EQ(surface.pixels, expectedSprite(frame, 0, 64, 64, 0, 0).pixels);

    frame.hotX = frame.hotY = 16;
    SpriteSet centred = loadedSet(oneFrameSet(frame));
    Surface other = backgroundSurface(64, 64);
    ASSERT_EQ(centred.drawFrame(&other, 0, 32, 32), 1);
    // The frame covers 16 to 47 both ways: centred on (32, 32).
    EXPECT_EQ(other.pixels, expectedSprite(frame, 0, 64, 64, 32, 32).pixels);
    ASSERT_NE(frame.at(2, 1), 0);
    ASSERT_NE(frame.at(30, 30), 0);
    EXPECT_EQ(pixelAt(other, 18, 17), frame.at(2, 1));
    EXPECT_EQ(pixelAt(other, 46, 46), frame.at(30, 30));
}

TEST(SpriteSet, RowsAreStoredBottomUpAndFillerIsNeverDrawn) {
    SpriteFrameImage frame = solid(5, 3, 0, 0, 7);
    frame.at(0, 0) = 9; // top-left
    std::vector<uint8_t> file = encodeSpriteSet(oneFrameSet(frame));
    const size_t pixels = 1047 + 16;
    ASSERT_EQ(file.size(), pixels + 3 * 8);
    EXPECT_EQ(file[pixels + 2 * 8], 9); // the top row is stored last
    for (int k = 0; k < 3; ++k)
        for (int c = 5; c < 8; ++c)
            file[pixels + static_cast<size_t>(k * 8 + c)] = 200;
    SpriteSet set;
    ASSERT_EQ(set.loadFromMemory(file), 1);
    EXPECT_EQ(set.frameAt(0)->rowStride(), 8);
    EXPECT_EQ(set.frameAt(0)->pixels.size(), 24u);
    Surface surface = backgroundSurface(10, 4);
    ASSERT_EQ(set.drawFrame(&surface, 0, 0, 0), 1);
    EXPECT_EQ(surface.pixels, expectedSprite(frame, 0, 10, 4, 0, 0).pixels);
}

TEST(SpriteSet, ClippingMatchesThePixelModelOnAllFourSides) {
    const int sw = 24, sh = 17;
    for (auto [w, h, hx, hy] : {std::array{13, 9, 0, 0}, std::array{13, 9, 6, 4},
                                std::array{4, 20, -3, 25}, std::array{30, 2, 31, -1}}) {
        SpriteFrameImage frame = patternFrame(w, h, hx, hy, w);
        for (uint32_t key : {0u, 7u}) {
            SpriteSet set = loadedSet(oneFrameSet(frame, key));
            for (int y = -30; y <= sh + 30; ++y)
                for (int x = -40; x <= sw + 40; ++x) {
                    Surface surface = backgroundSurface(sw, sh);
                    int result = set.drawFrame(&surface, 0, x, y);
                    ASSERT_EQ(surface.locked, 0);
                    int left = x - hx, top = y - hy;
                    bool onSurface = left + w > 0 && top + h > 0 && left < sw && top < sh;
                    ASSERT_EQ(result, onSurface ? 1 : 0) << x << "," << y;
                    ASSERT_EQ(surface.pixels, expectedSprite(frame, key, sw, sh, x, y).pixels)
                        << x << "," << y << " hot " << hx << "," << hy;
                }
        }
    }
}

TEST(SpriteSet, FramesWhollyOffTheSurfaceReturnZero) {
    SpriteSet set = loadedSet(oneFrameSet(solid(10, 10, 0, 0, 5)));
    Surface surface = backgroundSurface(20, 20);
    EXPECT_EQ(set.drawFrame(&surface, 0, -10, 0), 0); // width + left == 0
    EXPECT_EQ(set.drawFrame(&surface, 0, 0, -10), 0);
    EXPECT_EQ(set.drawFrame(&surface, 0, 20, 0), 0); // at the pitch
    EXPECT_EQ(set.drawFrame(&surface, 0, 0, 20), 0);
    EXPECT_EQ(set.drawFrame(&surface, 0, INT_MIN, INT_MIN), 0);
    EXPECT_EQ(set.drawFrame(&surface, 0, INT_MAX, 0), 0);
    EXPECT_TRUE(untouched(surface));
    EXPECT_EQ(set.drawFrame(&surface, 0, -9, -9), 1);
    EXPECT_EQ(pixelAt(surface, 0, 0), 5);
    EXPECT_EQ(pixelAt(surface, 1, 0), backgroundAt(1, 0));
}

TEST(SpriteSet, KeyComparesOnlyTheLowByteSo256MakesIndexZeroTransparent) {
    SpriteFrameImage frame = patternFrame(8, 8, 0, 0, 0);
    for (uint32_t key : {256u, 0xffffff00u}) {
        SpriteSet set = loadedSet(oneFrameSet(frame, key));
        EXPECT_EQ(set.colourKey(), key);
        Surface surface = backgroundSurface(8, 8);
        ASSERT_EQ(set.drawFrame(&surface, 0, 0, 0), 1);
        EXPECT_EQ(surface.pixels, expectedSprite(frame, 0, 8, 8, 0, 0).pixels);
        EXPECT_NE(pixelAt(surface, 0, 0), 0); // pictureValue(0, 0) is 0: left alone
    }
}

TEST(SpriteSet, ZeroSizedFramesDrawNothingButSucceedOnTheSurface) {
    SpriteSetImage description;
    description.frames = {makeSpriteFrameImage(0, 5), makeSpriteFrameImage(5, 0),
                          makeSpriteFrameImage(0, 0)};
    SpriteSet set = loadedSet(description);
    Surface surface = backgroundSurface(8, 8);
    for (uint32_t i = 0; i < 3; ++i)
        EXPECT_EQ(set.drawFrame(&surface, i, 2, 2), 1);
    // Off the surface only where the empty side sticks out: a width of 0 left of it, or a
    // height of 0 above it.
    EXPECT_EQ(set.drawFrame(&surface, 0, -1, 2), 0);
    EXPECT_EQ(set.drawFrame(&surface, 0, 2, -1), 1);
    EXPECT_EQ(set.drawFrame(&surface, 1, -1, 2), 1);
    EXPECT_EQ(set.drawFrame(&surface, 1, 2, -1), 0);
    EXPECT_EQ(set.drawFrame(&surface, 2, 8, 2), 0);
    EXPECT_TRUE(untouched(surface));
}

TEST(SpriteSet, DrawAndAdvanceCyclesOnSuccessAndStandsStillOffTheSurface) {
    SpriteSetImage description;
    for (int i = 0; i < 3; ++i)
        description.frames.push_back(solid(4, 4, 0, 0, static_cast<uint8_t>(10 + i)));
    SpriteSet set = loadedSet(description);
    Surface surface = backgroundSurface(8, 8);
    std::vector<int> shown;
    for (int i = 0; i < 7; ++i) {
        ASSERT_EQ(set.drawAndAdvance(&surface, 0, 0), 1);
        shown.push_back(pixelAt(surface, 0, 0) - 10);
    }
    EXPECT_EQ(shown, (std::vector<int>{0, 1, 2, 0, 1, 2, 0}));
    EXPECT_EQ(set.currentIndex(), 1);
    EXPECT_EQ(set.drawAndAdvance(&surface, -4, 0), 0);
    EXPECT_EQ(set.drawAndAdvance(&surface, 100, 100), 0);
    surface.locked = 1;
    EXPECT_EQ(set.drawAndAdvance(&surface, 0, 0), 0);
    EXPECT_EQ(set.currentIndex(), 1);
}

TEST(SpriteSet, IndicesAtOrPastTheCountAreNothingThere) {
    SpriteSetImage description;
    description.frames = {solid(4, 4, 0, 0, 3), solid(4, 4, 0, 0, 4)};
    SpriteSet set = loadedSet(description);
    Surface surface = backgroundSurface(8, 8);
    EXPECT_EQ(set.drawFrame(&surface, 2, 0, 0), 0);
    EXPECT_EQ(set.drawFrame(&surface, UINT32_MAX, 0, 0), 0);
    EXPECT_EQ(set.frameAt(2), nullptr);
    set.setCurrentIndex(2);
    EXPECT_EQ(set.currentIndex(), 2);
    EXPECT_EQ(set.currentFrame(), nullptr);
    EXPECT_EQ(set.drawCurrent(&surface, 0, 0), 0);
    EXPECT_EQ(set.drawAndAdvance(&surface, 0, 0), 0);
    set.setCurrentIndex(-1);
    EXPECT_EQ(set.drawCurrent(&surface, 0, 0), 0);
    EXPECT_EQ(pixelOverlap(set, 0, 0, set, 0, 0), 0);
    EXPECT_TRUE(untouched(surface));
    set.setCurrentIndex(1);
    EXPECT_EQ(set.drawCurrent(&surface, 0, 0), 1);
    EXPECT_EQ(pixelAt(surface, 3, 3), 4);
}

TEST(SpriteSet, UnloadedSetAnswersZeroAndIgnoresTheCursor) {
    SpriteSet set;
    EXPECT_FALSE(set.isLoaded());
    EXPECT_EQ(set.frameCount(), 0u);
    EXPECT_EQ(set.frameRate(), 0u);
    EXPECT_EQ(set.colourKey(), 0u);
    EXPECT_EQ(set.colourTable(), nullptr);
    set.setCurrentIndex(3);
    EXPECT_EQ(set.currentIndex(), 0);
    EXPECT_EQ(set.currentFrame(), nullptr);
    Surface surface = backgroundSurface(8, 8);
    EXPECT_EQ(set.drawFrame(&surface, 0, 0, 0), 0);
    EXPECT_EQ(set.release(), 0);
}

TEST(SpriteSet, LoadTwiceIsRefusedAndReleaseAllowsALoadAgain) {
    SpriteSetImage description = oneFrameSet(solid(4, 4, 1, 2, 3), 0x1ff);
    description.rate = 15;
    description.colours[2] = PaletteEntry{1, 2, 3, 0};
    description.frames.push_back(solid(6, 2, 0, 0, 8));
    std::vector<uint8_t> file = encodeSpriteSet(description);
    SpriteSet set;
    ASSERT_EQ(set.loadFromMemory(file), 1);
    EXPECT_EQ(set.frameCount(), 2u);
    EXPECT_EQ(set.frameRate(), 15u);
    EXPECT_EQ(set.colourKey(), 0x1ffu);
    EXPECT_EQ(set.bitsPerPixel(), 8u);
    ASSERT_NE(set.colourTable(), nullptr);
    EXPECT_EQ(set.colourTable()[8], 3); // blue, green, red
    EXPECT_EQ(set.colourTable()[10], 1);
    EXPECT_EQ(set.frameAt(0)->hotX, 1);
    EXPECT_EQ(set.frameAt(0)->hotY, 2);
    set.setCurrentIndex(1);
    EXPECT_EQ(set.loadFromMemory(file), 0);
    EXPECT_EQ(set.currentIndex(), 1);
    EXPECT_EQ(set.release(), 1);
    EXPECT_FALSE(set.isLoaded());
    EXPECT_EQ(set.colourKey(), 0u);
    EXPECT_EQ(set.release(), 0);
    ASSERT_EQ(set.loadFromMemory(file), 1);
    EXPECT_EQ(set.currentIndex(), 0);
}

TEST(SpriteSet, LoadsFromAFileAndConstructsFromAPath) {
    std::string path = tempPath("set.spr");
    ASSERT_EQ(writeSpriteSet(path, oneFrameSet(solid(3, 3, 0, 0, 6))), 1);
    SpriteSet set(path);
    EXPECT_TRUE(set.isLoaded());
    SpriteSet missing(tempPath("no-such-set.spr"));
    EXPECT_FALSE(missing.isLoaded());
    EXPECT_EQ(missing.load(tempPath("no-such-set.spr")), 0);
    std::remove(path.c_str());
}

// The overlap test against a pixel-by-pixel model: both frames placed by their own hot spots.
TEST(PixelOverlap, MatchesThePixelModel) {
    SpriteFrameImage a = patternFrame(9, 7, 4, 3, 1);
    SpriteFrameImage b = makeSpriteFrameImage(6, 5, -2, 1, 0);
    // b: a sparse shape on key 0; a: the pattern with key 9.
    b.at(0, 0) = b.at(5, 4) = b.at(2, 2) = b.at(3, 2) = 50;
    SpriteSet setA = loadedSet(oneFrameSet(a, 9));
    SpriteSet setB = loadedSet(oneFrameSet(b, 0));
    int hits = 0;
    for (int by = -10; by <= 12; ++by)
        for (int bx = -12; bx <= 14; ++bx) {
            bool expected = false;
            for (int y = 0; y < a.height && !expected; ++y)
                for (int x = 0; x < a.width && !expected; ++x) {
                    int bxIn = x - a.hotX - (bx - b.hotX), byIn = y - a.hotY - (by - b.hotY);
                    expected = a.at(x, y) != 9 && bxIn >= 0 && byIn >= 0 && bxIn < b.width &&
                               byIn < b.height && b.at(bxIn, byIn) != 0;
                }
            ASSERT_EQ(pixelOverlap(setA, 0, 0, setB, bx, by), expected ? 1 : 0) << bx << "," << by;
            ASSERT_EQ(pixelOverlap(setB, bx, by, setA, 0, 0), expected ? 1 : 0) << bx << "," << by;
            hits += expected;
        }
    EXPECT_GT(hits, 20);
}

TEST(PixelOverlap, TransparentOverlapTouchingEdgesAndUnloadedSetsGiveZero) {
    SpriteFrameImage ring = solid(10, 10, 0, 0, 5);
    for (int y = 2; y < 8; ++y)
        for (int x = 2; x < 8; ++x)
            ring.at(x, y) = 0; // a transparent middle
    SpriteSet a = loadedSet(oneFrameSet(ring, 0));
    SpriteSet dot = loadedSet(oneFrameSet(solid(2, 2, 0, 0, 6), 0));
    EXPECT_EQ(pixelOverlap(a, 0, 0, dot, 4, 4), 0);   // inside the hole
    EXPECT_EQ(pixelOverlap(a, 0, 0, dot, 1, 4), 1);   // across the ring
    EXPECT_EQ(pixelOverlap(a, 0, 0, dot, 10, 0), 0);  // touching the right edge
    EXPECT_EQ(pixelOverlap(a, 0, 0, dot, 0, 10), 0);  // touching the bottom edge
    EXPECT_EQ(pixelOverlap(a, 0, 0, dot, -2, -2), 0); // touching the top-left corner
    EXPECT_EQ(pixelOverlap(a, 0, 0, dot, 9, 9), 1);
    SpriteSet unloaded;
    EXPECT_EQ(pixelOverlap(a, 0, 0, unloaded, 0, 0), 0);
    EXPECT_EQ(pixelOverlap(unloaded, 0, 0, a, 0, 0), 0);
}

TEST(PixelOverlap, EachSetIsPlacedByItsOwnHotSpotAndKey) {
    SpriteSet a = loadedSet(oneFrameSet(solid(4, 4, 2, 2, 5), 5)); // wholly transparent
    SpriteSet b = loadedSet(oneFrameSet(solid(4, 4, 2, 2, 5), 0));
    EXPECT_EQ(pixelOverlap(a, 0, 0, b, 0, 0), 0);
    SpriteSet c = loadedSet(oneFrameSet(solid(4, 4, 0, 0, 5), 0));
    SpriteSet d = loadedSet(oneFrameSet(solid(4, 4, 10, 10, 5), 0));
    // c covers 100..103; d drawn at (113, 113) also covers 103..106.
    EXPECT_EQ(pixelOverlap(c, 100, 100, d, 113, 113), 1);
    EXPECT_EQ(pixelOverlap(c, 100, 100, d, 114, 113), 0);
    EXPECT_EQ(pixelOverlap(c, INT_MAX, INT_MAX, d, INT_MIN, INT_MIN), 0);
}

} // namespace kavorind
