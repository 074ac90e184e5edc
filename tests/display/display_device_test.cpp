#include "display/display_device.h"
#include "platform/video.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>

namespace kavorind {

namespace {

PlatformWindow* testWindow() {
    static PlatformWindow* window = [] {
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        return platformCreateWindow("Kavorind", 640, 480, 0);
    }();
    return window;
}

DisplaySettings settings(int fullScreen) {
    DisplaySettings s;
    s.window = testWindow();
    s.fullScreen = fullScreen;
    s.width = 640;
    s.height = 480;
    s.bitsPerPixel = 8;
    return s;
}

// What the present observer was handed last: the frame and the colours it is shown in.
struct ShownFrame {
    int presents = 0;
    Surface frame;
    std::array<uint32_t, 256> argb{};

    uint32_t argbAt(int x, int y) const {
        return argb[frame.pixels[static_cast<size_t>(y * frame.width + x)]];
    }
};

ShownFrame shownFrame;

void keepShownFrame(const Surface& frame, const DevicePalette* palette) {
    ++shownFrame.presents;
    shownFrame.frame = frame;
    if (palette)
        shownFrame.argb = palette->argb;
}

} // namespace

TEST(DisplayDevice, EmptyDeviceAnswersNullAndTouchesNothing) {
    DisplayDevice device;
    EXPECT_EQ(device.primarySurface(), nullptr);
    EXPECT_EQ(device.backSurface(), nullptr);
    EXPECT_EQ(device.present(), 0);
    EXPECT_EQ(device.presentToWindow(), 0);
    EXPECT_EQ(device.setUp(), 0);
    device.releaseSurfaces();
    device.destroy();
    EXPECT_EQ(device.directDraw, nullptr);
}

PlatformRect windowFrame(const DisplayDevice& device) {
    PlatformRect frame;
    EXPECT_EQ(platformWindowFrame(device.directDraw, &frame), 1);
    return frame;
}

// Only a setting of 1 asks for full-screen, where the window covers the whole work area; any other
// gives a window of the requested size. Either way the surfaces are the requested size.
TEST(DisplayDevice, StartGivesTheWindowTheModeTheSettingsAskFor) {
    ASSERT_NE(testWindow(), nullptr);
    DisplayDevice device;
    ASSERT_EQ(device.start(settings(1)), 1);
    PlatformRect screen;
    ASSERT_EQ(platformWorkArea(device.directDraw, &screen), 1);
    ASSERT_NE(screen.right - screen.left, 640) << "the desktop must differ from the frame size";
    PlatformRect frame = windowFrame(device);
    EXPECT_EQ(frame.right - frame.left, screen.right - screen.left);
    EXPECT_EQ(frame.bottom - frame.top, screen.bottom - screen.top);
    for (int fullScreen : {0, 2}) {
        ASSERT_EQ(device.start(settings(fullScreen)), 1);
        frame = windowFrame(device);
        EXPECT_EQ(frame.right - frame.left, 640) << fullScreen;
        EXPECT_EQ(frame.bottom - frame.top, 480) << fullScreen;
        ASSERT_NE(device.backSurface(), nullptr);
        EXPECT_EQ(device.backSurface()->width, 640);
        EXPECT_EQ(device.backSurface()->height, 480);
        EXPECT_NE(device.primarySurface()->palette, nullptr);
    }
}

TEST(DisplayDevice, ReleaseAndSetUpKeepTheSamePalette) {
    DisplayDevice device;
    ASSERT_EQ(device.start(settings(0)), 1);
    DevicePalette* palette = device.palette.directDrawPalette();
    device.releaseSurfaces();
    device.releaseSurfaces();
    EXPECT_EQ(device.surfacesReady, 0);
    EXPECT_NE(device.directDraw, nullptr);
    EXPECT_EQ(device.primarySurface(), nullptr);
    EXPECT_EQ(device.backSurface(), nullptr);
    EXPECT_EQ(device.present(), 0);
    ASSERT_EQ(device.setUp(), 1);
    EXPECT_EQ(device.palette.directDrawPalette(), palette);
    EXPECT_EQ(device.primarySurface()->palette, palette);
}

TEST(DisplayDevice, DestroyEmptiesTheDeviceButKeepsTheStoredColours) {
    DisplayDevice device;
    ASSERT_EQ(device.start(settings(0)), 1);
    device.palette.reference[7] = PaletteEntry{9, 8, 7, 4};
    device.destroy();
    EXPECT_EQ(device.directDraw, nullptr);
    EXPECT_EQ(device.surfacesReady, 0);
    EXPECT_EQ(device.width, 0);
    EXPECT_EQ(device.palette.directDrawPalette(), nullptr);
    EXPECT_EQ(device.palette.reference[7], (PaletteEntry{9, 8, 7, 4}));
    device.destroy();
    ASSERT_EQ(device.start(settings(0)), 1);
}

TEST(DisplayDevice, PresentShowsTheBackSurfaceThroughTheAttachedPalette) {
    DisplayDevice device;
    ASSERT_EQ(device.start(settings(0)), 1);
    PaletteEntries colours{};
    colours[0] = PaletteEntry{0, 0, 0, 0};
    colours[7] = PaletteEntry{0x12, 0x34, 0x56, 0};
    colours[200] = PaletteEntry{0xFE, 0x01, 0x80, 0};
    ASSERT_EQ(setPaletteEntries(device.palette.directDrawPalette(), colours), 1);
    Surface* back = device.backSurface();
    back->pixels[0] = 7;
    back->pixels[static_cast<size_t>(479 * 640 + 639)] = 200;
    back->pixels[static_cast<size_t>(100 * 640 + 3)] = 7;

    shownFrame = ShownFrame{};
    setPresentObserver(keepShownFrame);
    EXPECT_EQ(device.present(), 1);
    setPresentObserver(nullptr);
    ASSERT_EQ(shownFrame.presents, 1);
    EXPECT_EQ(shownFrame.argbAt(0, 0), 0xff123456u);
    EXPECT_EQ(shownFrame.argbAt(639, 479), 0xfffe0180u);
    EXPECT_EQ(shownFrame.argbAt(3, 100), 0xff123456u);
    EXPECT_EQ(shownFrame.argbAt(4, 100), 0xff000000u);

    // A later change of palette shows at the next present, with the same pixels.
    colours[7] = PaletteEntry{0xAA, 0xBB, 0xCC, 0};
    ASSERT_EQ(setPaletteEntries(device.palette.directDrawPalette(), colours), 1);
    setPresentObserver(keepShownFrame);
    EXPECT_EQ(device.present(), 1);
    setPresentObserver(nullptr);
    EXPECT_EQ(shownFrame.argbAt(0, 0), 0xffaabbccu);
}

TEST(DisplayDevice, LostPrimaryRefusesThePaletteUntilRestored) {
    DisplayDevice device;
    ASSERT_EQ(device.start(settings(0)), 1);
    DevicePalette* palette = device.palette.directDrawPalette();
    platformMarkFrameTexturesLost();
    EXPECT_EQ(setPrimaryPalette(device.primarySurface(), palette), DDERR_SURFACELOST);
    EXPECT_EQ(device.present(), 0);
    ASSERT_EQ(restorePrimary(device.primarySurface()), 1);
    EXPECT_EQ(device.primarySurface()->palette, palette);
    EXPECT_EQ(setPrimaryPalette(device.primarySurface(), palette), 0u);
    EXPECT_EQ(device.present(), 1);
}

PlatformRect clientSize(const DisplayDevice& device) {
    PlatformRect size;
    platformClientSize(device.directDraw, &size.right, &size.bottom);
    return size;
}

// The window keeps the size the player gave it through a switch to full-screen and back, and
// through a restore; a new start gives it the size that fits the screen again.
TEST(DisplayDevice, TheWindowKeepsThePlayersSizeAcrossModeSwitches) {
    DisplayDevice device;
    ASSERT_EQ(device.start(settings(0)), 1);
    ASSERT_EQ(platformSizeWindow(device.directDraw, 700, 500), 1);
    ASSERT_EQ(device.toggleFullScreen(), 1);
    PlatformRect screen;
    ASSERT_EQ(platformWorkArea(device.directDraw, &screen), 1);
    PlatformRect frame = windowFrame(device);
    EXPECT_EQ(frame.right - frame.left, screen.right - screen.left);
    EXPECT_EQ(frame.bottom - frame.top, screen.bottom - screen.top);

    ASSERT_EQ(device.toggleFullScreen(), 1);
    EXPECT_EQ(platformWindowFullScreen(device.directDraw), 0);
    EXPECT_EQ(clientSize(device).right, 700);
    EXPECT_EQ(clientSize(device).bottom, 500);
    device.releaseSurfaces();
    ASSERT_EQ(device.setUp(), 1);
    EXPECT_EQ(clientSize(device).right, 700);
    EXPECT_EQ(clientSize(device).bottom, 500);

    ASSERT_EQ(device.start(settings(0)), 1);
    EXPECT_EQ(clientSize(device).right, 640);
    EXPECT_EQ(clientSize(device).bottom, 480);
    EXPECT_EQ(DisplayDevice{}.toggleFullScreen(), 0);
}

TEST(WorkArea, OnlyTheLeftAndTopEdgesAreBroughtOntoTheWorkArea) {
    WindowCorner moved = cornerWithinWorkArea(-8, -30, 0, 24);
    EXPECT_EQ(moved.left, 0);
    EXPECT_EQ(moved.top, 24);
    WindowCorner kept = cornerWithinWorkArea(900, 700, 0, 24);
    EXPECT_EQ(kept.left, 900);
    EXPECT_EQ(kept.top, 700);
}

TEST(LockedSurfaceContract, LocksOnceAndUnlocksWithTheSamePointer) {
    Surface surface = makeSurface(4, 3);
    LockedSurface view;
    ASSERT_EQ(lockSurface(&surface, &view), 1);
    EXPECT_EQ(view.pitch, 4);
    EXPECT_EQ(view.width, 4);
    EXPECT_EQ(view.height, 3);
    LockedSurface second;
    EXPECT_EQ(lockSurface(&surface, &second), 0);
    EXPECT_EQ(colourFill(&surface, 5), 0);
    EXPECT_EQ(unlockSurface(&surface, view.pixels + 1), 0);
    EXPECT_EQ(unlockSurface(&surface, view.pixels), 1);
    EXPECT_EQ(unlockSurface(&surface, view.pixels), 0);
}

TEST(LockedSurfaceContract, LostOrMissingSurfacesRefuseDrawing) {
    Surface surface = makeSurface(2, 2);
    surface.lost = 1;
    LockedSurface view;
    EXPECT_EQ(lockSurface(&surface, &view), 0);
    EXPECT_EQ(colourFill(&surface, 1), 0);
    EXPECT_EQ(lockSurface(nullptr, &view), 0);
    EXPECT_EQ(colourFill(nullptr, 1), 0);
    ASSERT_EQ(restoreSurface(&surface), 1);
    EXPECT_EQ(colourFill(&surface, 3), 1);
    EXPECT_EQ(surface.pixels, (std::vector<uint8_t>{3, 3, 3, 3}));
    EXPECT_TRUE(makeSurface(0, 5).pixels.empty());
}

} // namespace kavorind
