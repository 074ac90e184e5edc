// What reaches the window on the dummy driver, both ways: written straight into the window's
// surface (the way wherever there is no graphics driver) and through SDL's renderer (the way of a
// GPU, here SDL's software one): whole multiples stay exact, the smooth step really is smooth,
// integer scaling leaves black borders, and the kept frame is shown again after a resize without a
// new present.

#include "platform/frame_geometry.h"
#include "platform/window_internal.h"
#include "platform_test_support.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace kavorind {

namespace {

constexpr uint32_t white = 0xffffffffu;
constexpr uint32_t black = 0xff000000u;

// The palette of the test frames: index 0 black, index 1 white.
const std::array<uint32_t, 256>& blackAndWhite() {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> colours{};
        colours.fill(black);
        colours[1] = white;
        return colours;
    }();
    return table;
}

// The parameter: 1 through SDL's renderer, 0 into the window's surface.
struct FrameScalingTest : ::testing::TestWithParam<int> {
    static PlatformRenderer*& made() {
        static PlatformRenderer* renderer = nullptr;
        return renderer;
    }
    static PlatformRenderer* renderer() { return made(); }

    void SetUp() override {
        // One renderer per window at a time: the other way's is dropped first.
        platformDestroyRenderer(made());
        platformForceRenderer(GetParam());
        made() = platformCreateRenderer(testWindow());
        platformForceRenderer(0);
        ASSERT_NE(renderer(), nullptr);
        texture = platformCreateFrameTexture(renderer(), 640, 480);
        ASSERT_NE(texture, nullptr);
    }
    void TearDown() override {
        platformDestroyFrameTexture(texture);
        platformSetFrameScaling(renderer(), FrameSharp);
    }

    // Sizes the window, as the player or the display would, and lets the renderer see it.
    void sizeWindow(int width, int height) {
        ASSERT_EQ(platformSizeWindow(renderer(), width, height), 1);
        platformFlushMessages();
        int shownWidth = 0;
        int shownHeight = 0;
        platformClientSize(renderer(), &shownWidth, &shownHeight);
        ASSERT_EQ(shownWidth, width);
        ASSERT_EQ(shownHeight, height);
    }

    void present(int scaling, const std::vector<uint8_t>& frame) {
        platformSetFrameScaling(renderer(), scaling);
        ASSERT_EQ(platformPresentFrame(texture, frame.data(), 640, blackAndWhite().data()), 1);
        readScreen();
    }

    void readScreen() {
        SDL_Window* window = SDL_GetWindowFromID(platformWindowNumber(testWindow()));
        SDL_Renderer* sdlRenderer = SDL_GetRenderer(window);
        ASSERT_EQ(sdlRenderer != nullptr, GetParam() == 1);
        if (!sdlRenderer) {
            SDL_Surface* surface = SDL_GetWindowSurface(window);
            ASSERT_NE(surface, nullptr);
            width = surface->w;
            height = surface->h;
            screen.assign(static_cast<size_t>(width) * height, 0);
            ASSERT_EQ(SDL_ConvertPixels(width, height, surface->format->format, surface->pixels,
                                        surface->pitch, SDL_PIXELFORMAT_ARGB8888, screen.data(),
                                        width * 4),
                      0);
            return;
        }
        ASSERT_EQ(SDL_GetRendererOutputSize(sdlRenderer, &width, &height), 0);
        screen.assign(static_cast<size_t>(width) * height, 0);
        ASSERT_EQ(SDL_RenderReadPixels(sdlRenderer, nullptr, SDL_PIXELFORMAT_ARGB8888,
                                       screen.data(), width * 4),
                  0);
    }

    uint32_t at(int x, int y) const { return screen[static_cast<size_t>(y) * width + x]; }

    // The bounding box of every pixel that is not black.
    FrameRect lit() const {
        int left = width, top = height, right = -1, bottom = -1;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if ((at(x, y) & 0xffffff) != 0) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
        return right < 0 ? FrameRect{} : FrameRect{left, top, right - left + 1, bottom - top + 1};
    }

    std::set<uint32_t> coloursIn(const FrameRect& area) const {
        std::set<uint32_t> found;
        for (int y = area.y; y < area.y + area.height; ++y)
            for (int x = area.x; x < area.x + area.width; ++x)
                found.insert(at(x, y));
        return found;
    }

    PlatformTexture* texture = nullptr;
    std::vector<uint32_t> screen;
    int width = 0;
    int height = 0;
};

std::vector<uint8_t> onePixelAt(int x, int y) {
    std::vector<uint8_t> frame(640 * 480, 0);
    frame[static_cast<size_t>(y) * 640 + x] = 1;
    return frame;
}

// Columns alternately white and black, every row the same; the last column white too, so that
// the picture's edges are lit on both sides.
std::vector<uint8_t> stripes() {
    std::vector<uint8_t> frame(640 * 480, 0);
    for (size_t i = 0; i < frame.size(); ++i)
        frame[i] = i % 2 == 0 || i % 640 == 639;
    return frame;
}

} // namespace

TEST_P(FrameScalingTest, AWholeMultipleKeepsEveryPixelASquareBlock) {
    sizeWindow(1280, 960);
    for (int scaling : {FrameSharp, FrameInteger, FrameStretch}) {
        present(scaling, onePixelAt(100, 37));
        EXPECT_EQ(lit(), (FrameRect{200, 74, 2, 2})) << scaling;
        EXPECT_EQ(coloursIn(FrameRect{200, 74, 2, 2}), std::set<uint32_t>{white}) << scaling;
    }
}

TEST_P(FrameScalingTest, TheStepPastTheWholeMultipleIsSmoothAndKeepsTheAspect) {
    sizeWindow(1000, 1000); // 1x, then 1.5625x; bars above and below
    present(FrameSharp, stripes());
    EXPECT_EQ(lit(), (FrameRect{0, 125, 1000, 750}));
    // Nearest neighbour would give only black and white, in uneven columns.
    EXPECT_GT(coloursIn(FrameRect{0, 125, 1000, 750}).size(), 2u);
}

TEST_P(FrameScalingTest, IntegerLeavesTheRemainderBlackAndTheFrameExact) {
    sizeWindow(1000, 1000);
    present(FrameInteger, stripes());
    EXPECT_EQ(lit(), (FrameRect{180, 260, 640, 480}));
    EXPECT_EQ(at(180, 260), white);
    EXPECT_EQ(at(181, 739), black);
    EXPECT_EQ(at(819, 739), white);
    EXPECT_EQ(coloursIn(FrameRect{180, 260, 640, 480}), (std::set<uint32_t>{black, white}));
}

TEST_P(FrameScalingTest, StretchFillsTheWholeWindow) {
    sizeWindow(900, 300);
    present(FrameStretch, stripes());
    EXPECT_EQ(lit(), (FrameRect{0, 0, 900, 300}));
}

TEST_P(FrameScalingTest, TheKeptFrameIsShownAgainAfterAResize) {
    EXPECT_EQ(platformShowFrameAgain(texture), 1);
    readScreen();
    EXPECT_EQ(lit(), FrameRect{}) << "before any present the window is black";

    sizeWindow(640, 480);
    present(FrameSharp, onePixelAt(320, 240));
    EXPECT_EQ(lit(), (FrameRect{320, 240, 1, 1}));
    sizeWindow(1280, 960);
    ASSERT_EQ(platformShowFrameAgain(texture), 1);
    readScreen();
    EXPECT_EQ(width, 1280);
    EXPECT_EQ(lit(), (FrameRect{640, 480, 2, 2}));

    platformMarkFrameTexturesLost();
    EXPECT_EQ(platformShowFrameAgain(texture), 0);
}

TEST_P(FrameScalingTest, NothingOfAnEarlierPictureStaysAroundASmallerOne) {
    sizeWindow(1000, 1000);
    present(FrameStretch, stripes());
    present(FrameInteger, onePixelAt(0, 0));
    EXPECT_EQ(lit(), (FrameRect{180, 260, 1, 1}));
}

TEST_P(FrameScalingTest, APaletteChangeRecoloursTheSameIndices) {
    sizeWindow(640, 480);
    present(FrameSharp, onePixelAt(10, 10));
    EXPECT_EQ(at(10, 10), white);
    std::array<uint32_t, 256> red = blackAndWhite();
    red[1] = 0xffff0000u;
    ASSERT_EQ(platformPresentFrame(texture, onePixelAt(10, 10).data(), 640, red.data()), 1);
    readScreen();
    EXPECT_EQ(at(10, 10), 0xffff0000u);
    EXPECT_EQ(at(11, 10), black);
}

// The shell's boxes go over the picture in the output's pixels, told where the frame lies: an
// opaque one replaces what is under it, a half-transparent black one halves it; shown again after a
// resize, the painter is asked afresh for the new size; without a painter nothing is added.
TEST_P(FrameScalingTest, TheOverlayIsDrawnOverThePictureInTheOutputsPixels) {
    static PlatformOverlayArea asked;
    platformSetOverlayPainter(
        [](const PlatformOverlayArea& area, std::vector<PlatformOverlayBox>* boxes) {
            asked = area;
            boxes->push_back({area.frameX, area.frameY, 3, 2, 0xff00ff00u});
            boxes->push_back({area.frameX + 10, area.frameY, 4, 4, 0x80000000u});
        });
    sizeWindow(800, 600);
    std::vector<uint8_t> frame(640 * 480, 1);
    present(FrameInteger, frame);
    EXPECT_EQ(asked.width, 800);
    EXPECT_EQ(asked.frameX, 80);
    EXPECT_EQ(asked.frameY, 60);
    EXPECT_EQ(at(80, 60), 0xff00ff00u);
    EXPECT_EQ(at(82, 61), 0xff00ff00u);
    EXPECT_EQ(at(83, 60), white);
    const uint32_t halved = at(91, 61);
    EXPECT_NEAR(static_cast<int>(halved & 0xff), 0x7f, 2) << std::hex << halved;
    EXPECT_EQ(at(94, 61), white);

    sizeWindow(1280, 960);
    ASSERT_EQ(platformShowFrameAgain(texture), 1);
    readScreen();
    EXPECT_EQ(asked.frameWidth, 1280);
    EXPECT_EQ(at(0, 0), 0xff00ff00u);

    platformSetOverlayPainter(nullptr);
    present(FrameInteger, frame);
    EXPECT_EQ(at(0, 0), white);
}

INSTANTIATE_TEST_SUITE_P(BothWays, FrameScalingTest, ::testing::Values(0, 1),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return info.param ? std::string("Renderer") : std::string("Surface");
                         });

} // namespace kavorind
