#include "display/display_device.h"

#include "platform/video.h"

#include <algorithm>

namespace kavorind {

DisplayDevice displayDevice;
DisplaySettings displaySettings;

namespace {

// Whoever watches the presented frames (the headless runner, tests).
struct DisplayPresents {
    PresentObserver observer = nullptr;
    PresentColours colours = nullptr;
};

DisplayPresents displayPresents;

// Shown when no palette is attached (a display of more than 8 bits): the indices as greys.
const std::array<uint32_t, 256>& greyRamp() {
    static const std::array<uint32_t, 256> ramp = [] {
        std::array<uint32_t, 256> table{};
        for (uint32_t i = 0; i < 256; ++i)
            table[i] = 0xff000000u | (i << 16) | (i << 8) | i;
        return table;
    }();
    return ramp;
}

int createSurfaces(DisplayDevice& device) {
    PlatformTexture* texture =
        platformCreateFrameTexture(device.directDraw, device.width, device.height);
    if (!texture)
        return 0;
    auto back = std::make_unique<Surface>(makeSurface(device.width, device.height));
    if (back->pixels.empty()) {
        platformDestroyFrameTexture(texture);
        return 0;
    }
    device.primary = std::make_unique<PrimarySurface>(
        PrimarySurface{device.directDraw, texture, nullptr, device.width, device.height});
    device.back = std::move(back);
    return 1;
}

// The client area for a window of the frame: the size the player last had, or the largest whole
// multiple of the frame that fits the work area with the window's decorations.
void windowedSize(DisplayDevice& device, const PlatformRect& work, int* width, int* height) {
    if (device.windowedWidth > 0 && device.windowedHeight > 0) {
        *width = device.windowedWidth;
        *height = device.windowedHeight;
        return;
    }
    PlatformRect borders = platformWindowBorders(device.directDraw);
    int multiple = windowedMultiple(device.width, device.height, work.right - work.left,
                                    work.bottom - work.top, borders.left + borders.right,
                                    borders.top + borders.bottom);
    *width = device.width * multiple;
    *height = device.height * multiple;
}

// Sized and centred on the work area, never starting left of or above it.
int sizeWindow(DisplayDevice& device) {
    PlatformRect work{0, 0, device.width, device.height};
    int haveWork = platformWorkArea(device.directDraw, &work);
    int width = device.width;
    int height = device.height;
    windowedSize(device, work, &width, &height);
    if (!platformSizeWindow(device.directDraw, width, height))
        return 0;
    PlatformRect frame;
    if (haveWork && platformWindowFrame(device.directDraw, &frame)) {
        int left = work.left + (work.right - work.left - (frame.right - frame.left)) / 2;
        int top = work.top + (work.bottom - work.top - (frame.bottom - frame.top)) / 2;
        WindowCorner corner = cornerWithinWorkArea(left, top, work.left, work.top);
        platformMoveWindow(device.directDraw, corner.left, corner.top);
    }
    return 1;
}

// Gives the window the shape of the mode the device is in, unless it has it already: a window
// the player resized keeps its size.
int shapeWindow(DisplayDevice& device) {
    int ok = 1;
    if (device.cooperativeFlags & DDSCL_EXCLUSIVE)
        ok = platformEnterFullScreen(device.directDraw);
    else if (!device.windowShaped || platformWindowFullScreen(device.directDraw))
        ok = sizeWindow(device);
    device.windowShaped = ok;
    return ok;
}

} // namespace

WindowCorner cornerWithinWorkArea(int windowLeft, int windowTop, int workLeft, int workTop) {
    return WindowCorner{std::max(windowLeft, workLeft), std::max(windowTop, workTop)};
}

void setPresentObserver(PresentObserver observer) {
    displayPresents.observer = observer;
}

void setPresentColours(PresentColours colours) {
    displayPresents.colours = colours;
}

uint32_t setPrimaryPalette(PrimarySurface* primary, DevicePalette* palette) {
    if (!primary)
        return DDERR_SURFACELOST;
    if (platformFrameTextureLost(primary->texture))
        return DDERR_SURFACELOST;
    primary->palette = palette;
    return 0;
}

int restorePrimary(PrimarySurface* primary) {
    if (!primary)
        return 0;
    PlatformTexture* texture =
        platformCreateFrameTexture(primary->owner, primary->width, primary->height);
    if (!texture)
        return 0;
    platformDestroyFrameTexture(primary->texture);
    primary->texture = texture;
    return 1;
}

DisplayDevice::~DisplayDevice() {
    if (directDraw) {
        releaseSurfaces();
        destroy();
    }
    palette.releasePalette();
}

int DisplayDevice::start(const DisplaySettings& settings) {
    if (directDraw)
        destroy();
    directDraw = platformCreateRenderer(settings.window);
    if (!directDraw)
        return 0;
    instance = settings.instance;
    window = settings.window;
    surfacesReady = 0;
    cooperativeFlags = settings.fullScreen == 1 ? fullScreenFlags : DDSCL_NORMAL;
    width = settings.width;
    height = settings.height;
    bitsPerPixel = settings.bitsPerPixel;
    scale = settings.scale;
    windowedWidth = 0;
    windowedHeight = 0;
    windowShaped = 0;
    platformSetFrameScaling(directDraw, scale);
    return setUp();
}

int DisplayDevice::setUp() {
    if (!directDraw || !shapeWindow(*this))
        return 0;
    if (!surfacesReady && !createSurfaces(*this))
        return 0;
    surfacesReady = 1;
    if (bitsPerPixel != 8)
        return 1;
    if (!palette.directDrawPalette() && !palette.createPalette(directDraw)) {
        releaseSurfaces();
        return 0;
    }
    if (setPrimaryPalette(primary.get(), palette.directDrawPalette()) != 0) {
        releaseSurfaces();
        return 0;
    }
    return 1;
}

// Desktop full-screen never changed the display mode, so there is no mode to give back here; the
// window leaves full-screen when the device is destroyed with it.
void DisplayDevice::releaseSurfaces() {
    if (!directDraw || !surfacesReady)
        return;
    if (primary)
        platformDestroyFrameTexture(primary->texture);
    primary.reset();
    back.reset();
    surfacesReady = 0;
}

void DisplayDevice::destroy() {
    if (!directDraw)
        return;
    if (bitsPerPixel == 8)
        palette.releasePalette();
    if (primary)
        platformDestroyFrameTexture(primary->texture);
    primary.reset();
    back.reset();
    platformDestroyRenderer(directDraw);
    directDraw = nullptr;
    instance = nullptr;
    window = nullptr;
    surfacesReady = 0;
    cooperativeFlags = 0;
    width = 0;
    height = 0;
    bitsPerPixel = 0;
    scale = FrameSharp;
    windowedWidth = 0;
    windowedHeight = 0;
    windowShaped = 0;
}

PrimarySurface* DisplayDevice::primarySurface() const {
    return directDraw ? primary.get() : nullptr;
}

Surface* DisplayDevice::backSurface() const {
    return directDraw ? back.get() : nullptr;
}

// One copy of the finished frame to the screen in either mode: full-screen and windowed differ
// only in how the window was set up, so the windowed path does not present twice.
int DisplayDevice::present() {
    if (!directDraw)
        return 0;
    return presentToWindow();
}

int DisplayDevice::presentToWindow() {
    if (!directDraw || !surfacesReady || !primary || !back)
        return 0;
    const DevicePalette* shown = primary->palette;
    if (displayPresents.observer)
        displayPresents.observer(*back, shown);
    const uint32_t* table = shown ? shown->argb.data() : greyRamp().data();
    if (displayPresents.colours)
        table = displayPresents.colours(table);
    return platformPresentFrame(primary->texture, back->pixels.data(), back->width, table);
}

void DisplayDevice::setScaling(int scaling) {
    scale = scaling;
    if (directDraw)
        platformSetFrameScaling(directDraw, scale);
    showFrameAgain();
}

int DisplayDevice::toggleFullScreen() {
    if (!directDraw)
        return 0;
    int wasFlags = cooperativeFlags;
    if (cooperativeFlags & DDSCL_EXCLUSIVE) {
        cooperativeFlags = DDSCL_NORMAL;
    } else {
        platformClientSize(directDraw, &windowedWidth, &windowedHeight);
        cooperativeFlags = fullScreenFlags;
    }
    if (!shapeWindow(*this)) {
        cooperativeFlags = wasFlags;
        shapeWindow(*this);
        showFrameAgain();
        return 0;
    }
    showFrameAgain();
    return 1;
}

void DisplayDevice::showFrameAgain() {
    if (directDraw && surfacesReady && primary)
        platformShowFrameAgain(primary->texture);
}

} // namespace kavorind
