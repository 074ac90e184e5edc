#pragma once
#include "display/palette.h"
#include "display/surface.h"
#include "platform/frame_geometry.h"

#include <cstdint>
#include <memory>

namespace kavorind {

struct PlatformWindow;
struct PlatformRenderer;
struct PlatformTexture;

// What the entry hands to the display: the main window and the mode it asks for.
struct DisplaySettings {
    void* instance = nullptr;
    PlatformWindow* window = nullptr;
    int fullScreen = 0;
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    int scale = FrameSharp; // how the frame fills the window or screen: a FrameScaling
};

// Cooperative levels: full-screen exclusive, or a normal window.
constexpr int DDSCL_FULLSCREEN = 1;
constexpr int DDSCL_NORMAL = 8;
constexpr int DDSCL_EXCLUSIVE = 16;
constexpr int fullScreenFlags = DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE;

// The result of attaching a palette to a primary surface whose texture the device dropped.
constexpr uint32_t DDERR_SURFACELOST = 0x887601C2u;

// The visible surface: the texture the frame is shown through, and the palette attached to it.
struct PrimarySurface {
    PlatformRenderer* owner = nullptr;
    PlatformTexture* texture = nullptr;
    DevicePalette* palette = nullptr;
    int width = 0;
    int height = 0;
};

// Attaches a palette; 0, or DDERR_SURFACELOST (attaching nothing) when the surface is lost.
uint32_t setPrimaryPalette(PrimarySurface* primary, DevicePalette* palette);
// Makes a lost primary surface's texture again, keeping its palette; 1 on success.
int restorePrimary(PrimarySurface* primary);

struct DisplayDevice {
    void* instance = nullptr;
    PlatformWindow* window = nullptr;
    PlatformRenderer* directDraw = nullptr; // the rendering device; null means there is none
    std::unique_ptr<PrimarySurface> primary;
    std::unique_ptr<Surface> back;
    int surfacesReady = 0;
    int cooperativeFlags = 0;
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    int scale = FrameSharp;
    // The window's client area the player last had, given back when full-screen is left; 0 until
    // the window first leaves for full-screen (it then gets the size that fits the screen).
    int windowedWidth = 0;
    int windowedHeight = 0;
    // The window got its mode's shape since start: a restore after minimising keeps the size the
    // player gave it.
    int windowShaped = 0;
    Palette palette;

    DisplayDevice() = default;
    DisplayDevice(const DisplayDevice&) = delete;
    DisplayDevice& operator=(const DisplayDevice&) = delete;
    ~DisplayDevice();

    int start(const DisplaySettings& settings);
    int setUp();
    void releaseSurfaces();
    void destroy();
    PrimarySurface* primarySurface() const;
    Surface* backSurface() const;
    int present();
    int presentToWindow();
    // Switches between the window and desktop full-screen, keeping the surfaces, the palette and
    // the frame shown, which appears at once in the new mode; 1 on success, 0 with the mode kept.
    int toggleFullScreen();
    // Shows the last presented frame again as the window is now (resized or uncovered).
    void showFrameAgain();
    // How the frame fills the window from now on (a FrameScaling), shown at once.
    void setScaling(int scaling);
};

// The one display device of the program.
extern DisplayDevice displayDevice;
// The main window and the mode the entry asks for.
extern DisplaySettings displaySettings;

// Where a window's top-left corner goes so that it does not start left of or above the work area;
// a window sticking out on the right or at the bottom is left so.
struct WindowCorner {
    int left = 0;
    int top = 0;
};
WindowCorner cornerWithinWorkArea(int windowLeft, int windowTop, int workLeft, int workTop);

// Sees every presented frame (the headless runner saves them as pictures); null for none.
using PresentObserver = void (*)(const Surface& frame, const DevicePalette* palette);
void setPresentObserver(PresentObserver observer);
// Chooses the colours the window shows a frame in, given the palette's (the shell's reduced hit
// flash); the palette itself and the observer are untouched. Null shows the palette's.
using PresentColours = const uint32_t* (*)(const uint32_t* paletteColours);
void setPresentColours(PresentColours colours);

} // namespace kavorind
