// The mode switch through the window procedure: the window goes full-screen and back, a restore
// in between keeps the mode the player chose, and nothing the game holds or has queued is lost.

#include "shell_fixture.h"

namespace kavorind {

namespace {

int fullScreenNow() {
    return platformWindowFullScreen(displayDevice.directDraw);
}

void switchMode() {
    MainWindowProc(displaySettings.window, ToggleFullScreenMessage, 0, 0);
}

} // namespace

TEST_F(ShellTest, ARestoreKeepsTheModeTheSwitchChose) {
    constexpr unsigned laterMessage = WM_USER + 7;
    ASSERT_EQ(platformPostMessage(displaySettings.window, laterMessage, 0, 0), 1);
    switchMode();
    EXPECT_EQ(fullScreenNow(), 1);
    EXPECT_EQ(displayDevice.cooperativeFlags, fullScreenFlags);
    // A restore (after a minimise, say) sets the device up again in the mode it is in now.
    MainWindowProc(displaySettings.window, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_EQ(fullScreenNow(), 1);
    switchMode();
    EXPECT_EQ(fullScreenNow(), 0);
    EXPECT_EQ(displayDevice.cooperativeFlags, DDSCL_NORMAL);
    MainWindowProc(displaySettings.window, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_EQ(fullScreenNow(), 0);
    // What was queued before the switches (the next tick, say) is still there.
    EXPECT_EQ(countOf(drainMessages(), laterMessage), 1);
}

TEST_F(ShellTest, TheModeSwitchKeepsTheSurfacesAndThePalette) {
    PaletteEntries colours{};
    colours[9] = PaletteEntry{0x10, 0x20, 0x30, 0};
    DevicePalette* palette = displayDevice.palette.directDrawPalette();
    ASSERT_EQ(setPaletteEntries(palette, colours), 1);
    ASSERT_EQ(colourFill(displayDevice.backSurface(), 9), 1);
    ASSERT_EQ(displayDevice.present(), 1);
    Surface* back = displayDevice.backSurface();
    PlatformTexture* shown = displayDevice.primarySurface()->texture;

    switchMode();
    MainWindowProc(displaySettings.window, WM_SIZE, 0, 0);
    MainWindowProc(displaySettings.window, WM_PAINT, 0, 0);
    switchMode();
    EXPECT_EQ(displayDevice.backSurface(), back);
    EXPECT_EQ(displayDevice.primarySurface()->texture, shown);
    EXPECT_EQ(displayDevice.primarySurface()->palette, palette);
    EXPECT_EQ(palette->argb[9], 0xff102030u);
    EXPECT_EQ(back->pixels[12345], 9);
}

} // namespace kavorind
