#include "asset_fixtures.h"
#include "assets/text.h"

#include <gtest/gtest.h>

namespace kavorind {

namespace {

// A font whose glyph n is a solid block of value base + n, n % 4 + 3 pixels wide and 4 rows high,
// hot spot at its top-left: each glyph's place and identity can be read back off the surface.
SpriteSet blockFont(int count, uint8_t base) {
    SpriteSetImage description;
    for (int n = 0; n < count; ++n)
        description.frames.push_back(
            makeSpriteFrameImage(n % 4 + 3, 4, 0, 0, static_cast<uint8_t>(base + n)));
    SpriteSet set;
    EXPECT_EQ(set.loadFromMemory(encodeSpriteSet(description)), 1);
    return set;
}

int glyphWidth(int n) {
    return n % 4 + 3;
}

// The glyphs on row 0 of the surface, left to right: (x of the first column, value).
std::vector<std::pair<int, int>> glyphsOn(const Surface& surface) {
    std::vector<std::pair<int, int>> glyphs;
    for (int x = 0; x < surface.width; ++x) {
        int v = surface.pixels[static_cast<size_t>(x)];
        if (v < 240 && (x == 0 || surface.pixels[static_cast<size_t>(x - 1)] != v))
            glyphs.emplace_back(x, v);
    }
    return glyphs;
}

constexpr uint8_t letterBase = 100, digitBase = 10;

struct Fonts : ::testing::Test {
    SpriteSet letters = blockFont(26, letterBase);
    SpriteSet digits = blockFont(10, digitBase);
    Surface surface = backgroundSurface(400, 8);
};

} // namespace

TEST_F(Fonts, NumbersAreWrittenMostSignificantFirstWithoutLeadingZeros) {
    drawNumber(&surface, digits, 100, 5, 0);
    EXPECT_EQ(glyphsOn(surface), (std::vector<std::pair<int, int>>{
                                     {5, digitBase + 1},
                                     {5 + glyphWidth(1) + 2, digitBase + 0},
                                     {5 + glyphWidth(1) + 2 + glyphWidth(0) + 2, digitBase + 0}}));
}

TEST_F(Fonts, ZeroIsOneDigitAndTheLargestValueTen) {
    drawNumber(&surface, digits, 0, 0, 0);
    EXPECT_EQ(glyphsOn(surface), (std::vector<std::pair<int, int>>{{0, digitBase}}));
    Surface wide = backgroundSurface(400, 8);
    drawNumber(&wide, digits, 4294967295u, 0, 0);
    std::string shown;
    int x = 0;
    for (auto [at, value] : glyphsOn(wide)) {
        EXPECT_EQ(at, x);
        shown += static_cast<char>('0' + value - digitBase);
        x += glyphWidth(value - digitBase) + 2;
    }
    EXPECT_EQ(shown, "4294967295");
}

TEST_F(Fonts, SpacesAdvanceSixteenAndGlyphsTheirWidthPlusTwo) {
    EXPECT_EQ(drawText(&surface, letters, digits, "H   P", 10, 0), 5);
    int h = 'H' - 'A', p = 'P' - 'A';
    EXPECT_EQ(glyphsOn(surface),
              (std::vector<std::pair<int, int>>{{10, letterBase + h},
                                                {10 + glyphWidth(h) + 2 + 48, letterBase + p}}));

    Surface stage = backgroundSurface(400, 8);
    drawText(&stage, letters, digits, "S T A G E", 0, 0);
    std::vector<std::pair<int, int>> expected;
    int x = 0;
    for (char c : std::string("STAGE")) {
        expected.emplace_back(x, letterBase + (c - 'A'));
        x += glyphWidth(c - 'A') + 2 + 16;
    }
    EXPECT_EQ(glyphsOn(stage), expected);
}

TEST_F(Fonts, LowerCaseDrawsTheUpperCaseGlyphs) {
    drawText(&surface, letters, digits, "Score 42", 3, 0);
    Surface upper = backgroundSurface(400, 8);
    drawText(&upper, letters, digits, "SCORE 42", 3, 0);
    EXPECT_EQ(surface.pixels, upper.pixels);
    EXPECT_EQ(glyphsOn(surface).size(), 7u);
}

TEST_F(Fonts, OtherBytesNeitherDrawNorMove) {
    drawText(&surface, letters, digits, "A-B", 0, 0);
    Surface plain = backgroundSurface(400, 8);
    drawText(&plain, letters, digits, "AB", 0, 0);
    EXPECT_EQ(surface.pixels, plain.pixels);
    Surface odd = backgroundSurface(400, 8);
    EXPECT_EQ(drawText(&odd, letters, digits, "A\x01\xe9!\tB", 0, 0), 6);
    EXPECT_EQ(odd.pixels, plain.pixels);
}

TEST_F(Fonts, TextReturnsItsLengthAndAnEmptyStringDrawsNothing) {
    EXPECT_EQ(drawText(&surface, letters, digits, "", 0, 0), 0);
    EXPECT_TRUE(untouched(surface));
    EXPECT_EQ(drawText(&surface, letters, digits, "AB 1", 0, 0), 4);
    EXPECT_EQ(drawText(&surface, letters, digits, nullptr, 0, 0), 0);
}

TEST_F(Fonts, GlyphsFollowTheirHotSpotsAndTheSurfaceClips) {
    SpriteSetImage description;
    for (int n = 0; n < 10; ++n)
        description.frames.push_back(makeSpriteFrameImage(4, 4, 0, 2, static_cast<uint8_t>(n + 1)));
    SpriteSet raised;
    ASSERT_EQ(raised.loadFromMemory(encodeSpriteSet(description)), 1);
    Surface small = backgroundSurface(10, 8);
    drawNumber(&small, raised, 12, -3, 3); // "1" partly off the left, "2" at x = 3
    EXPECT_EQ(pixelAt(small, 0, 1), 2);    // the hot spot lifts the glyph by 2 rows
    EXPECT_EQ(pixelAt(small, 0, 5), backgroundAt(0, 5));
    EXPECT_EQ(pixelAt(small, 3, 1), 3);
    EXPECT_EQ(pixelAt(small, 6, 4), 3);
    EXPECT_EQ(pixelAt(small, 7, 1), backgroundAt(7, 1));
}

TEST(Text, MissingGlyphsAreSkippedWithoutMovingThePen) {
    SpriteSet fewLetters = blockFont(5, letterBase); // A to E only
    SpriteSet noDigits;
    Surface surface = backgroundSurface(200, 8);
    EXPECT_EQ(drawText(&surface, fewLetters, noDigits, "AZ9B", 0, 0), 4);
    EXPECT_EQ(glyphsOn(surface), (std::vector<std::pair<int, int>>{
                                     {0, letterBase + 0}, {glyphWidth(0) + 2, letterBase + 1}}));
    drawNumber(&surface, noDigits, 123, 0, 4);
    EXPECT_EQ(glyphsOn(surface).size(), 2u);
}

} // namespace kavorind
