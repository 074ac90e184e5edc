// Where the 640 x 480 frame goes: the windowed size for a screen, and the layout of each scaling
// on outputs with and without a remainder, and on windows smaller than the frame.

#include "platform/frame_geometry.h"

#include <gtest/gtest.h>

namespace kavorind {

namespace {

FrameLayout layout(int scaling, int width, int height) {
    return frameLayout(scaling, 640, 480, width, height);
}

} // namespace

TEST(WindowedMultiple, LargestWholeMultipleWhoseWindowFitsTheUsableArea) {
    EXPECT_EQ(windowedMultiple(640, 480, 1400, 1050, 0, 0), 2);
    // 1920 x 1440 fits a 1921 x 1440 area, but not with borders or a title bar.
    EXPECT_EQ(windowedMultiple(640, 480, 1921, 1440, 0, 0), 3);
    EXPECT_EQ(windowedMultiple(640, 480, 1921, 1440, 2, 0), 2);
    EXPECT_EQ(windowedMultiple(640, 480, 2560, 1440, 0, 30), 2);
    EXPECT_EQ(windowedMultiple(640, 480, 1920, 1040, 4, 30), 2);
    // Too small for even one, and nonsense areas: still one.
    EXPECT_EQ(windowedMultiple(640, 480, 800, 480, 0, 24), 1);
    EXPECT_EQ(windowedMultiple(640, 480, 0, 0, 0, 0), 1);
    EXPECT_EQ(windowedMultiple(640, 480, 100, 100, 300, 300), 1);
}

TEST(FrameLayout, SharpEnlargesByTheWholeMultipleThenFillsWithTheAspectKept) {
    // A remainder on both sides: 2x, then a smooth step up to the whole screen.
    EXPECT_EQ(layout(FrameSharp, 1400, 1050), (FrameLayout{1280, 960, {0, 0, 1400, 1050}}));
    // A wide screen: bars left and right, the height filled.
    EXPECT_EQ(layout(FrameSharp, 1920, 1080), (FrameLayout{1280, 960, {240, 0, 1440, 1080}}));
    // A tall window: bars above and below.
    EXPECT_EQ(layout(FrameSharp, 1000, 1500), (FrameLayout{640, 480, {0, 375, 1000, 750}}));
    // An exact multiple needs no smooth step: the destination is the enlargement.
    EXPECT_EQ(layout(FrameSharp, 1920, 1440), (FrameLayout{1920, 1440, {0, 0, 1920, 1440}}));
}

TEST(FrameLayout, IntegerCentresTheWholeMultipleOnBlack) {
    EXPECT_EQ(layout(FrameInteger, 1400, 1050), (FrameLayout{1280, 960, {60, 45, 1280, 960}}));
    EXPECT_EQ(layout(FrameInteger, 1920, 1080), (FrameLayout{1280, 960, {320, 60, 1280, 960}}));
    EXPECT_EQ(layout(FrameInteger, 640, 480), (FrameLayout{640, 480, {0, 0, 640, 480}}));
    EXPECT_EQ(layout(FrameInteger, 641, 1000), (FrameLayout{640, 480, {0, 260, 640, 480}}));
}

TEST(FrameLayout, StretchFillsTheOutputFromEachSidesOwnMultiple) {
    EXPECT_EQ(layout(FrameStretch, 1920, 1080), (FrameLayout{1920, 960, {0, 0, 1920, 1080}}));
    EXPECT_EQ(layout(FrameStretch, 700, 1500), (FrameLayout{640, 1440, {0, 0, 700, 1500}}));
    EXPECT_EQ(layout(FrameStretch, 300, 200), (FrameLayout{640, 480, {0, 0, 300, 200}}));
}

TEST(FrameLayout, WindowsSmallerThanTheFrameShrinkItWhole) {
    for (int scaling : {FrameSharp, FrameInteger}) {
        EXPECT_EQ(layout(scaling, 320, 100), (FrameLayout{640, 480, {93, 0, 133, 100}})) << scaling;
        EXPECT_EQ(layout(scaling, 639, 480), (FrameLayout{640, 480, {0, 0, 639, 479}})) << scaling;
        EXPECT_EQ(layout(scaling, 1, 1), (FrameLayout{640, 480, {0, 0, 1, 1}})) << scaling;
    }
}

TEST(FrameLayout, EmptyOutputsOrFramesGiveAnEmptyDestination) {
    for (int scaling : {FrameSharp, FrameInteger, FrameStretch}) {
        EXPECT_EQ(layout(scaling, 0, 480).destination, FrameRect{}) << scaling;
        EXPECT_EQ(layout(scaling, 640, -1).destination, FrameRect{}) << scaling;
        EXPECT_EQ(frameLayout(scaling, 0, 0, 640, 480).destination, FrameRect{}) << scaling;
    }
}

} // namespace kavorind
