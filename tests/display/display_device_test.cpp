#include "display/display_device.h"
#include "platform/video.h"

#include <gtest/gtest.h>

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

int presents = 0;
void countPresent(const Surface&, const DevicePalette*) {
    ++presents;
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

TEST(DisplayDevice, StartChoosesTheCooperativeLevelFromTheSettings) {
    ASSERT_NE(testWindow(), nullptr);
    DisplayDevice device;
    ASSERT_EQ(device.start(settings(1)), 1);
    EXPECT_EQ(device.cooperativeFlags, 17);
    EXPECT_EQ(device.surfacesReady, 1);
    ASSERT_EQ(device.start(settings(0)), 1);
    EXPECT_EQ(device.cooperativeFlags, 8);
    ASSERT_EQ(device.start(settings(2)), 1);
    EXPECT_EQ(device.cooperativeFlags, 8);
    ASSERT_NE(device.backSurface(), nullptr);
    EXPECT_EQ(device.backSurface()->width, 640);
    EXPECT_EQ(device.backSurface()->height, 480);
    EXPECT_NE(device.primarySurface()->palette, nullptr);
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
    ASSERT_EQ(device.start(settings(1)), 1);
    presents = 0;
    setPresentObserver(countPresent);
    EXPECT_EQ(device.present(), 1);
    setPresentObserver(nullptr);
    EXPECT_EQ(presents, 1);
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
