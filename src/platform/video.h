#pragma once
#include "platform/platform.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kavorind {

struct PlatformRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// The main window, titled and iconed. Full-screen covers the desktop; windowed has a client area of
// width x height. Null on failure.
PlatformWindow* platformCreateWindow(const char* title, int width, int height, int fullScreen);

// 1 when SDL, left to choose by itself (SDL_VIDEODRIVER not set), found no display and fell back to
// a driver that shows nothing ("offscreen" or "dummy"). Call after platformInit.
int platformDisplayMissing();
// Why the last window or renderer could not be made, as SDL says it ("" when it said nothing).
const char* platformVideoError();

// The rendering device of a window (null on failure) and its release.
PlatformRenderer* platformCreateRenderer(PlatformWindow* window);
void platformDestroyRenderer(PlatformRenderer* renderer);

// Desktop full-screen; nothing happens when the window is full-screen already. 1 on success.
int platformEnterFullScreen(PlatformRenderer* renderer);
// Windowed (leaving full-screen if need be): the client area becomes width x height; 1 on success.
int platformSizeWindow(PlatformRenderer* renderer, int width, int height);
// 1 while the window covers the screen.
int platformWindowFullScreen(PlatformRenderer* renderer);
// The client area's size in screen pixels.
void platformClientSize(PlatformRenderer* renderer, int* width, int* height);
// The thickness of the window's decorations on each side (all 0 while there are none or the
// system does not tell).
PlatformRect platformWindowBorders(PlatformRenderer* renderer);
// How frames fill the window from the next present on: a FrameScaling of platform/frame_geometry.h.
void platformSetFrameScaling(PlatformRenderer* renderer, int scaling);
// The window's outer rectangle (with its frame) and the desktop's work area, in screen pixels.
int platformWindowFrame(PlatformRenderer* renderer, PlatformRect* out);
int platformWorkArea(PlatformRenderer* renderer, PlatformRect* out);
// Moves the window's outer top-left corner to (left, top).
void platformMoveWindow(PlatformRenderer* renderer, int left, int top);

// A streaming texture that shows width x height palette-index frames; null on failure.
PlatformTexture* platformCreateFrameTexture(PlatformRenderer* renderer, int width, int height);
void platformDestroyFrameTexture(PlatformTexture* texture);
// 1 once the device has dropped the texture's contents (it must then be made again).
int platformFrameTextureLost(const PlatformTexture* texture);
// Marks every frame texture lost, as a reset of the rendering device does (tests call it too).
void platformMarkFrameTexturesLost();
// Converts the frame through the 256-entry ARGB table, shows it and waits for the vertical blank.
int platformPresentFrame(PlatformTexture* texture, const uint8_t* indices, int pitch,
                         const uint32_t* argbTable);
// Shows the last presented frame again, laid out for the window's size now (after a resize, a
// switch of mode or an uncovering), without converting anything; black before the first frame.
int platformShowFrameAgain(PlatformTexture* texture);

// What the shell shows over the picture, in the output's own pixels and colours (a palette fade
// never touches it): filled boxes drawn in order, each blended by its alpha.
struct PlatformOverlayBox {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    uint32_t argb = 0;
};
// Where the boxes go: the output's size and the frame's place in it.
struct PlatformOverlayArea {
    int width = 0;
    int height = 0;
    int frameX = 0;
    int frameY = 0;
    int frameWidth = 0;
    int frameHeight = 0;
};
// Asked at every present and show-again, after the frame is converted, for the boxes to draw over
// it; null (the default) draws nothing. Never asked while screen output is off.
using PlatformOverlayPainter = void (*)(const PlatformOverlayArea& area,
                                        std::vector<PlatformOverlayBox>* boxes);
void platformSetOverlayPainter(PlatformOverlayPainter painter);
// How frames reach the window, for the player's curiosity: "GPU TEXTURE (OPENGL)" through a
// renderer, "WINDOW SURFACE" straight into the window's pixels.
std::string platformPresentPathName(PlatformRenderer* renderer);

// The headless runner's window is never seen: with screen output off, frames are not converted or
// copied anywhere (presentation still succeeds, and the display's observers still see each frame).
void platformSetScreenOutput(int enabled);

void platformShowCursor(int show);
// A modal box with an OK button and no parent window; 1 when it was shown.
int platformShowMessageBox(const char* caption, const char* text);
// Tools that run without anyone to click OK turn the boxes off (the text still goes to stderr).
void platformSetMessageBoxesEnabled(int enabled);

} // namespace kavorind
