#include "asset_fixtures.h"
#include "assets/bitmap_image.h"
#include "platform/byte_io.h"

#include <gtest/gtest.h>

#include <climits>

namespace kavorind {

namespace {

BitmapImage loaded(const IndexedImage& picture, const BitmapLayout& layout = {}) {
    BitmapImage image;
    std::vector<uint8_t> file = encodeBitmap(picture, layout);
    EXPECT_EQ(image.loadFromMemory(file), 1);
    return image;
}

// What a clipped copy must produce, pixel by pixel: every rectangle pixel that lands on the
// surface and comes from inside the picture, except key pixels when keyed.
Surface expectedCopy(const IndexedImage& picture, int sw, int sh, int dx, int dy, int w, int h,
                     int sx, int sy, int key) {
    Surface expected = backgroundSurface(sw, sh);
    for (int r = 0; r < h; ++r)
        for (int c = 0; c < w; ++c) {
            int X = dx + c, Y = dy + r, SX = sx + c, SY = sy + r;
            if (X < 0 || Y < 0 || X >= sw || Y >= sh || SX < 0 || SY < 0 || SX >= picture.width ||
                SY >= picture.height)
                continue;
            uint8_t v = picture.at(SX, SY);
            if (key < 0 || v != static_cast<uint8_t>(key))
                pixelAt(expected, X, Y) = v;
        }
    return expected;
}

void expectClippingMatchesModel(bool topDown, bool keyed) {
    const IndexedImage picture = patternImage(13, 9);
    BitmapLayout layout;
    layout.topDown = topDown;
    const BitmapImage image = loaded(picture, layout);
    const int sw = 24, sh = 17;
    const int sizes[] = {1, 5, 13, 40};
    const int sources[] = {0, 3, 12};
    int drawnCount = 0;
    for (int dy = -12; dy <= sh + 1; dy += 1)
        for (int dx = -15; dx <= sw + 1; dx += 2)
            for (int w : sizes)
                for (int h : {1, 9, 30})
                    for (int sx : sources)
                        for (int sy : {0, 4}) {
                            Surface surface = backgroundSurface(sw, sh);
                            int result = keyed ? image.blitKeyed(&surface, 0, dx, dy, w, h, sx, sy)
                                               : image.blit(&surface, dx, dy, w, h, sx, sy);
                            Surface expected =
                                expectedCopy(picture, sw, sh, dx, dy, w, h, sx, sy, keyed ? 0 : -1);
                            ASSERT_EQ(surface.locked, 0);
                            if (result == 0) {
                                ASSERT_TRUE(untouched(surface))
                                    << dx << "," << dy << " " << w << "x" << h << " from " << sx
                                    << "," << sy;
                                ASSERT_TRUE(untouched(expected))
                                    << "refused a visible rectangle " << dx << "," << dy << " " << w
                                    << "x" << h << " from " << sx << "," << sy;
                            } else {
                                ++drawnCount;
                                ASSERT_EQ(surface.pixels, expected.pixels)
                                    << dx << "," << dy << " " << w << "x" << h << " from " << sx
                                    << "," << sy;
                            }
                        }
    EXPECT_GT(drawnCount, 1000);
}

} // namespace

TEST(BitmapImage, BottomUpRowsShowTheLastStoredRowAtTheTop) {
    IndexedImage picture = patternImage(6, 4);
    BitmapImage image = loaded(picture);
    EXPECT_TRUE(image.bottomUp());
    // The file's first stored row is the picture's bottom row.
    EXPECT_EQ(image.pixelBits()[0], picture.at(0, 3));
    Surface surface = backgroundSurface(6, 4);
    ASSERT_EQ(image.blitWhole(&surface, 0, 0), 1);
    const uint8_t* lastStored = image.pixelBits() + 3 * image.rowStride();
    EXPECT_TRUE(std::equal(lastStored, lastStored + 6, surface.pixels.begin()));
    EXPECT_EQ(surface.pixels, std::vector<uint8_t>(picture.pixels));
}

TEST(BitmapImage, TopDownRowsShowTheFirstStoredRowAtTheTop) {
    IndexedImage picture = patternImage(6, 4);
    BitmapImage image = loaded(picture, BitmapLayout{.topDown = true});
    EXPECT_FALSE(image.bottomUp());
    EXPECT_EQ(image.height(), 4);
    Surface surface = backgroundSurface(6, 4);
    ASSERT_EQ(image.blitWhole(&surface, 0, 0), 1);
    EXPECT_TRUE(std::equal(image.pixelBits(), image.pixelBits() + 6, surface.pixels.begin()));
    EXPECT_EQ(surface.pixels, picture.pixels);
}

TEST(BitmapImage, RowStrideRoundsTheWidthUpToFourAndPaddingIsNeverDrawn) {
    for (int width = 1; width <= 9; ++width) {
        IndexedImage picture = patternImage(width, 3);
        std::vector<uint8_t> file = encodeBitmap(picture);
        // Fill every padding byte with a value the picture never uses.
        int stride = (width + 3) & ~3;
        size_t pixelStart = 14 + 40 + 1024;
        ASSERT_EQ(file.size(), pixelStart + 3 * static_cast<size_t>(stride));
        for (int k = 0; k < 3; ++k)
            for (int c = width; c < stride; ++c)
                file[pixelStart + static_cast<size_t>(k * stride + c)] = 239;
        BitmapImage image;
        ASSERT_EQ(image.loadFromMemory(file), 1) << width;
        EXPECT_EQ(image.rowStride(), stride);
        Surface surface = backgroundSurface(12, 3);
        ASSERT_EQ(image.blit(&surface, 0, 0, 12, 3, 0, 0), 1);
        EXPECT_EQ(surface.pixels, expectedCopy(picture, 12, 3, 0, 0, 12, 3, 0, 0, -1).pixels);
    }
    EXPECT_EQ(loaded(patternImage(5, 1)).rowStride(), 8);
}

TEST(BitmapImage, OpaqueClippingMatchesThePixelModelBottomUp) {
    expectClippingMatchesModel(false, false);
}
TEST(BitmapImage, OpaqueClippingMatchesThePixelModelTopDown) {
    expectClippingMatchesModel(true, false);
}
TEST(BitmapImage, KeyedClippingMatchesThePixelModelBottomUp) {
    expectClippingMatchesModel(false, true);
}
TEST(BitmapImage, KeyedClippingMatchesThePixelModelTopDown) {
    expectClippingMatchesModel(true, true);
}

TEST(BitmapImage, LeftEdgeMovesTheSourceRightByTheClippedAmount) {
    IndexedImage picture = patternImage(64, 4);
    BitmapImage image = loaded(picture);
    Surface surface = backgroundSurface(40, 4);
    ASSERT_EQ(image.blit(&surface, -10, 0, 30, 1, 5, 0), 1);
    for (int x = 0; x < 40; ++x)
        EXPECT_EQ(pixelAt(surface, x, 0), x < 20 ? picture.at(15 + x, 0) : backgroundAt(x, 0));
    Surface other = backgroundSurface(40, 4);
    EXPECT_EQ(image.blit(&other, -30, 0, 30, 1, 0, 0), 0);
    EXPECT_TRUE(untouched(other));
}

TEST(BitmapImage, TopEdgeMovesTheSourceDownByTheClippedAmount) {
    IndexedImage picture = patternImage(4, 30);
    BitmapImage image = loaded(picture);
    Surface surface = backgroundSurface(4, 20);
    ASSERT_EQ(image.blit(&surface, 0, -7, 1, 12, 0, 2), 1);
    for (int y = 0; y < 20; ++y)
        EXPECT_EQ(pixelAt(surface, 0, y), y < 5 ? picture.at(0, 9 + y) : backgroundAt(0, y));
    EXPECT_EQ(image.blit(&surface, 0, -12, 1, 12, 0, 0), 0);
}

TEST(BitmapImage, RightAndBottomEdgesClipAtThePitchAndHeight) {
    IndexedImage picture = patternImage(16, 16);
    BitmapImage image = loaded(picture);
    Surface surface = backgroundSurface(20, 10);
    ASSERT_EQ(image.blit(&surface, 15, 8, 16, 16, 0, 0), 1);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x) {
            bool inside = x >= 15 && y >= 8;
            EXPECT_EQ(pixelAt(surface, x, y),
                      inside ? picture.at(x - 15, y - 8) : backgroundAt(x, y));
        }
    Surface other = backgroundSurface(20, 10);
    EXPECT_EQ(image.blit(&other, 20, 0, 16, 16, 0, 0), 0);
    EXPECT_EQ(image.blit(&other, 0, 10, 16, 16, 0, 0), 0);
    EXPECT_TRUE(untouched(other));
}

TEST(BitmapImage, SourceCornerAtThePictureEdgeDrawsNothingButSucceeds) {
    BitmapImage image = loaded(patternImage(8, 6));
    Surface surface = backgroundSurface(20, 20);
    EXPECT_EQ(image.blit(&surface, 0, 0, 5, 5, 8, 0), 1);
    EXPECT_EQ(image.blit(&surface, 0, 0, 5, 5, 0, 6), 1);
    EXPECT_EQ(image.blit(&surface, 0, 0, 5, 5, 9, 0), 0);
    EXPECT_EQ(image.blit(&surface, 0, 0, 5, 5, 0, 7), 0);
    EXPECT_EQ(image.blit(&surface, 0, 0, 5, 5, -1, 0), 0);
    EXPECT_EQ(image.blit(&surface, 0, 0, 0, 5, 0, 0), 0);
    EXPECT_EQ(image.blit(&surface, 0, 0, 5, -1, 0, 0), 0);
    EXPECT_TRUE(untouched(surface));
}

TEST(BitmapImage, ExtremeArgumentsNeitherOverflowNorDraw) {
    BitmapImage image = loaded(patternImage(8, 6));
    Surface surface = backgroundSurface(20, 20);
    EXPECT_EQ(image.blit(&surface, INT_MIN, INT_MIN, INT_MAX, INT_MAX, INT_MAX, INT_MAX), 0);
    EXPECT_EQ(image.blit(&surface, INT_MIN, 0, INT_MAX, 5, INT_MAX, 0), 0);
    EXPECT_EQ(image.blit(&surface, 19, 19, INT_MAX, INT_MAX, 0, 0), 1);
    EXPECT_EQ(pixelAt(surface, 19, 19), pictureValue(0, 0) ? pictureValue(0, 0) : 0);
    EXPECT_EQ(image.blitKeyed(&surface, 1, INT_MIN, INT_MIN, -1, -1, 0, 0), 0);
}

TEST(BitmapImage, KeyedBlitLeavesKeyPixelsAndUsesOnlyTheLowByte) {
    IndexedImage picture = patternImage(10, 10);
    BitmapImage image = loaded(picture);
    for (int key : {0, 256, -256}) {
        Surface surface = backgroundSurface(10, 10);
        ASSERT_EQ(image.blitKeyedWhole(&surface, key, 0, 0), 1);
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x)
                EXPECT_EQ(pixelAt(surface, x, y),
                          picture.at(x, y) == 0 ? backgroundAt(x, y) : picture.at(x, y));
    }
}

TEST(BitmapImage, ColourCountZeroMeansAFullTableAndSixteenMeansSixtyFourBytes) {
    IndexedImage picture = patternImage(4, 2);
    BitmapImage full = loaded(picture, BitmapLayout{.colourCountZero = true});
    EXPECT_EQ(full.colourCount(), 256);
    EXPECT_EQ(full.pixelBits() - full.colourTable(), 1024);
    EXPECT_EQ(peekU32(full.infoHeader() + 32), 256u); // filled in
    EXPECT_EQ(peekU32(full.infoHeader() + 20), 8u);   // stride 4 x 2 rows

    BitmapImage sixteen = loaded(picture, BitmapLayout{.colourCount = 16});
    EXPECT_EQ(sixteen.colourCount(), 16);
    EXPECT_EQ(sixteen.pixelBits() - sixteen.colourTable(), 64);
    Surface surface = backgroundSurface(4, 2);
    ASSERT_EQ(sixteen.blitWhole(&surface, 0, 0), 1);
    EXPECT_EQ(surface.pixels, picture.pixels);
}

TEST(BitmapImage, ColourTableStartsAtTheInfoHeaderSize) {
    IndexedImage picture = patternImage(4, 2);
    BitmapImage image = loaded(picture, BitmapLayout{.infoHeaderSize = 124});
    EXPECT_EQ(image.colourTable() - image.infoHeader(), 124);
    DevicePalette palette;
    ASSERT_EQ(image.toPalette(&palette), 1);
    EXPECT_EQ(palette.entries[7], (PaletteEntry{7, 248, 21, PC_NOCOLLAPSE}));
    Surface surface = backgroundSurface(4, 2);
    ASSERT_EQ(image.blitWhole(&surface, 0, 0), 1);
    EXPECT_EQ(surface.pixels, picture.pixels);
}

TEST(BitmapImage, ToPaletteSwapsBlueAndRedAndSetsNoCollapse) {
    IndexedImage picture = patternImage(2, 2);
    picture.colours[3] = PaletteEntry{30, 20, 10, 0};
    BitmapImage image = loaded(picture);
    DevicePalette palette;
    ASSERT_EQ(image.toPalette(&palette), 1);
    EXPECT_EQ(palette.entries[3], (PaletteEntry{30, 20, 10, PC_NOCOLLAPSE}));
    // Stored on disk as blue, green, red.
    EXPECT_EQ(image.colourTable()[12], 10);
    EXPECT_EQ(image.colourTable()[14], 30);
    for (const PaletteEntry& entry : palette.entries)
        EXPECT_EQ(entry.flags, PC_NOCOLLAPSE);
    EXPECT_EQ(palette.argb[3], 0xff1e140au);
}

TEST(BitmapImage, ToPaletteOfAShortTableLeavesTheRestBlack) {
    IndexedImage picture = patternImage(2, 2);
    BitmapImage image = loaded(picture, BitmapLayout{.colourCount = 16});
    DevicePalette palette;
    palette.entries.fill(PaletteEntry{9, 9, 9, 0});
    ASSERT_EQ(image.toPalette(&palette), 1);
    EXPECT_EQ(palette.entries[15], (PaletteEntry{15, 240, 45, PC_NOCOLLAPSE}));
    EXPECT_EQ(palette.entries[16], (PaletteEntry{0, 0, 0, PC_NOCOLLAPSE}));
}

TEST(BitmapImage, ToPaletteOfAnEmptyImageOrNoPaletteChangesNothing) {
    BitmapImage empty;
    DevicePalette palette;
    palette.entries.fill(PaletteEntry{9, 9, 9, 0});
    EXPECT_EQ(empty.toPalette(&palette), 0);
    EXPECT_EQ(palette.entries[0], (PaletteEntry{9, 9, 9, 0}));
    EXPECT_EQ(loaded(patternImage(2, 2)).toPalette(nullptr), 0);
}

TEST(BitmapImage, EmptyImageAnswersZeroAndDrawsNothing) {
    BitmapImage image;
    EXPECT_TRUE(image.isEmpty());
    EXPECT_EQ(image.width(), 0);
    EXPECT_EQ(image.height(), 0);
    EXPECT_EQ(image.rowStride(), 0);
    EXPECT_EQ(image.pixelBits(), nullptr);
    EXPECT_EQ(image.colourTable(), nullptr);
    Surface surface = backgroundSurface(8, 8);
    EXPECT_EQ(image.blitWhole(&surface, 0, 0), 0);
    EXPECT_EQ(image.blitKeyedWhole(&surface, 0, 0, 0), 0);
    EXPECT_TRUE(untouched(surface));
}

TEST(BitmapImage, DrawsFollowTheLockContract) {
    BitmapImage image = loaded(patternImage(4, 4));
    EXPECT_EQ(image.blitWhole(nullptr, 0, 0), 0);
    Surface surface = backgroundSurface(8, 8);
    surface.locked = 1; // somebody else holds it
    EXPECT_EQ(image.blitWhole(&surface, 0, 0), 0);
    EXPECT_EQ(surface.locked, 1);
    surface.locked = 0;
    surface.lost = 1;
    EXPECT_EQ(image.blitKeyedWhole(&surface, 0, 0, 0), 0);
    EXPECT_TRUE(untouched(surface));
    surface.lost = 0;
    EXPECT_EQ(image.blit(&surface, 100, 0, 4, 4, 0, 0), 0); // refused after locking
    EXPECT_EQ(surface.locked, 0);
    EXPECT_EQ(image.blitWhole(&surface, 0, 0), 1);
    EXPECT_EQ(surface.locked, 0);
}

TEST(BitmapImage, LoadReplacesAndAFailedLoadEmpties) {
    BitmapImage image = loaded(patternImage(4, 4));
    ASSERT_EQ(image.loadFromMemory(encodeBitmap(patternImage(7, 3))), 1);
    EXPECT_EQ(image.width(), 7);
    EXPECT_EQ(image.height(), 3);
    std::vector<uint8_t> bad = encodeBitmap(patternImage(7, 3));
    bad[1] = 'X';
    EXPECT_EQ(image.loadFromMemory(bad), 0);
    EXPECT_TRUE(image.isEmpty());
    EXPECT_EQ(image.width(), 0);
}

TEST(BitmapImage, LoadsFromAFileAndConstructsFromAPath) {
    IndexedImage picture = patternImage(9, 5);
    std::string path = tempPath("picture.bmp");
    ASSERT_EQ(writeBitmap(path, picture), 1);
    BitmapImage image(path);
    ASSERT_FALSE(image.isEmpty());
    Surface surface = backgroundSurface(9, 5);
    ASSERT_EQ(image.blitWhole(&surface, 0, 0), 1);
    EXPECT_EQ(surface.pixels, picture.pixels);
    EXPECT_EQ(image.load(tempPath("no-such-file.bmp")), 0);
    EXPECT_TRUE(image.isEmpty());
    BitmapImage missing(tempPath("no-such-file.bmp"));
    EXPECT_TRUE(missing.isEmpty());
    std::remove(path.c_str());
}

TEST(BitmapImage, RawBlockReadsTheTableAndRowsAndStopsAfterThem) {
    IndexedImage picture = patternImage(5, 2);
    picture.colours[1] = PaletteEntry{30, 20, 10, 0};
    std::vector<uint8_t> bytes;
    ASSERT_EQ(appendRawImageBlock(picture, &bytes), 1);
    ASSERT_EQ(bytes.size(), 8u + 1024 + 16);
    bytes.push_back(0x5a); // whatever follows the block
    ByteReader file(bytes);
    BitmapImage image;
    ASSERT_EQ(image.readRawBlock(file), 1);
    EXPECT_EQ(file.position(), 8u + 1024 + 16);
    EXPECT_EQ(image.width(), 5);
    EXPECT_EQ(image.height(), 2);
    EXPECT_EQ(image.rowStride(), 8);
    EXPECT_TRUE(image.bottomUp());
    EXPECT_EQ(peekU32(image.infoHeader()), 40u);
    EXPECT_EQ(peekU32(image.infoHeader() + 20), 16u);
    EXPECT_EQ(peekU32(image.infoHeader() + 32), 256u);
    EXPECT_EQ(image.colourTable() - image.infoHeader(), 40);
    EXPECT_EQ(image.pixelBits() - image.infoHeader(), 1064);
    Surface surface = backgroundSurface(5, 2);
    ASSERT_EQ(image.blitWhole(&surface, 0, 0), 1);
    EXPECT_EQ(surface.pixels, picture.pixels);
    DevicePalette palette;
    ASSERT_EQ(image.toPalette(&palette), 1);
    EXPECT_EQ(palette.entries[1], (PaletteEntry{30, 20, 10, PC_NOCOLLAPSE}));

    // A loaded image refuses a second block and reads nothing.
    ByteReader again(bytes);
    EXPECT_EQ(image.readRawBlock(again), 0);
    EXPECT_EQ(again.position(), 0u);
    EXPECT_EQ(image.width(), 5);
}

} // namespace kavorind
