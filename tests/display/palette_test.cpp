#include "display/palette.h"

#include <gtest/gtest.h>

namespace kavorind {

namespace {

PlatformRenderer* fakeDevice() {
    return reinterpret_cast<PlatformRenderer*>(0x1);
}

struct PaletteTest : ::testing::Test {
    Palette palette;
    void SetUp() override { ASSERT_NE(palette.createPalette(fakeDevice()), nullptr); }
    void install(const PaletteEntries& colours) {
        ASSERT_TRUE(setPaletteEntries(palette.directDrawPalette(), colours));
        ASSERT_EQ(palette.saveReference(), 1);
    }
    PaletteEntry shown(int index) const {
        return palette.directDrawPalette()->entries[static_cast<size_t>(index)];
    }
};

PaletteEntries withFirst(PaletteEntry first, PaletteEntry second = {}) {
    PaletteEntries colours{};
    colours[0] = first;
    colours[1] = second;
    return colours;
}

// The darkening that the fade is defined by: c minus truncate(level * (c * k)) with k the
// single-precision 0.01, exactly 5368709 / 2^29, and the products formed exactly.
uint8_t fadedByFloatRule(unsigned c, unsigned level) {
    uint64_t removed = (uint64_t{level} * c * 5368709u) >> 29;
    return static_cast<uint8_t>(c - removed);
}

} // namespace

TEST(PaletteCreation, NewPaletteIsAllBlackAndRefusesASecond) {
    Palette palette;
    EXPECT_EQ(palette.createPalette(nullptr), nullptr);
    DevicePalette* created = palette.createPalette(fakeDevice());
    ASSERT_NE(created, nullptr);
    for (const PaletteEntry& entry : created->entries)
        EXPECT_EQ(entry, PaletteEntry{});
    EXPECT_EQ(palette.reference, PaletteEntries{});
    EXPECT_EQ(palette.createPalette(fakeDevice()), nullptr);
    EXPECT_EQ(palette.directDrawPalette(), created);
}

TEST(PaletteCreation, OperationsWithoutADevicePaletteFail) {
    Palette palette;
    EXPECT_EQ(palette.fade(50), 0);
    EXPECT_EQ(palette.fillAll(255), 0);
    EXPECT_EQ(palette.applyReference(), 0);
    EXPECT_EQ(palette.saveReference(), 0);
    // Released (twice, harmlessly), a palette refuses again until a new one is made.
    ASSERT_NE(palette.createPalette(fakeDevice()), nullptr);
    palette.releasePalette();
    palette.releasePalette();
    EXPECT_EQ(palette.directDrawPalette(), nullptr);
    EXPECT_EQ(palette.fade(50), 0);
    EXPECT_NE(palette.createPalette(fakeDevice()), nullptr);
    EXPECT_EQ(palette.fade(50), 1);
}

TEST_F(PaletteTest, FadeMatchesTheWorkedExamples) {
    install(withFirst({255, 128, 0, 4}, {255, 3, 2, 4}));
    ASSERT_EQ(palette.fade(100), 1);
    EXPECT_EQ(shown(0), (PaletteEntry{1, 1, 0, 4}));
    ASSERT_EQ(palette.fade(50), 1);
    EXPECT_EQ(shown(1), (PaletteEntry{128, 2, 2, 4}));
    install(withFirst({100, 50, 1, 0}));
    ASSERT_EQ(palette.fade(10), 1);
    EXPECT_EQ(shown(0), (PaletteEntry{91, 46, 1, 0}));
}

TEST_F(PaletteTest, FadeOutOfRangeChangesNothing) {
    install(withFirst({200, 100, 50, 4}));
    ASSERT_EQ(palette.fade(30), 1);
    PaletteEntry before = shown(0);
    EXPECT_EQ(palette.fade(0), 0);
    EXPECT_EQ(palette.fade(101), 0);
    EXPECT_EQ(palette.fade(0xFFFFFFFFu), 0);
    EXPECT_EQ(shown(0), before);
}

TEST_F(PaletteTest, FadesDoNotAccumulate) {
    install(withFirst({200, 100, 50, 4}));
    palette.fade(30);
    palette.fade(40);
    EXPECT_EQ(shown(0), (PaletteEntry{fadeComponent(200, 40), fadeComponent(100, 40),
                                      fadeComponent(50, 40), 4}));
    EXPECT_EQ(palette.reference[0], (PaletteEntry{200, 100, 50, 4}));
}

TEST(FadeArithmetic, IntegerRuleEqualsTheFloatRuleForEveryComponentAndLevel) {
    for (unsigned level = 1; level <= 100; ++level)
        for (unsigned c = 0; c <= 255; ++c)
            ASSERT_EQ(fadeComponent(static_cast<uint8_t>(c), level), fadedByFloatRule(c, level))
                << "c=" << c << " level=" << level;
}

TEST_F(PaletteTest, FillAllShowsOneColourAndKeepsTheReference) {
    install(withFirst({10, 20, 30, 4}));
    ASSERT_EQ(palette.fillAll(255), 1);
    for (const PaletteEntry& entry : palette.directDrawPalette()->entries)
        EXPECT_EQ(entry, (PaletteEntry{255, 0, 0, PC_NOCOLLAPSE}));
    ASSERT_EQ(palette.fillAll(0xAAFF8040u), 1);
    EXPECT_EQ(shown(200), (PaletteEntry{64, 128, 255, PC_NOCOLLAPSE}));
    ASSERT_EQ(palette.applyReference(), 1);
    EXPECT_EQ(shown(0), (PaletteEntry{10, 20, 30, 4}));
}

TEST_F(PaletteTest, ReleaseKeepsTheStoredColoursForTheNextPalette) {
    install(withFirst({1, 2, 3, 4}));
    palette.releasePalette();
    EXPECT_EQ(palette.directDrawPalette(), nullptr);
    EXPECT_EQ(palette.reference[0], (PaletteEntry{1, 2, 3, 4}));
}

TEST_F(PaletteTest, PresentationTableFollowsEveryChange) {
    install(withFirst({0x12, 0x34, 0x56, 4}));
    EXPECT_EQ(palette.directDrawPalette()->argb[0], 0xff123456u);
    palette.fillAll(255);
    EXPECT_EQ(palette.directDrawPalette()->argb[0], 0xffff0000u);
    EXPECT_EQ(palette.directDrawPalette()->argb[255], 0xffff0000u);
}

} // namespace kavorind
