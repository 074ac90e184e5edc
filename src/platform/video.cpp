#include "platform/video.h"

#include "platform/frame_conversion.h"
#include "platform/frame_geometry.h"
#include "platform/icon.h"
#include "platform/page_bridge.h"
#include "platform/page_canvas.h"
#include "platform/window_internal.h"

#include <SDL.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <vector>

namespace kavorind {

struct PlatformWindow {
    SDL_Window* window = nullptr;
    Uint32 number = 0; // SDL's id of the window
};

struct PlatformRenderer {
    PlatformWindow* window = nullptr;
    SDL_Renderer* renderer = nullptr; // null: frames go straight into the window's own surface
    int scaling = FrameSharp;
};

// The palette as pixels of the format the frame is converted into, made again only when the
// palette or that format changes.
struct MappedPalette {
    std::array<uint32_t, 256> argb{};
    std::array<uint32_t, 256> pixels{};
    Uint32 format = SDL_PIXELFORMAT_UNKNOWN;
};

struct PlatformTexture {
    PlatformRenderer* owner = nullptr;
    SDL_Texture* frame = nullptr;    // width x height in the window's format, from the indices
    SDL_Texture* enlarged = nullptr; // the frame enlarged by whole multiples, sharp edges
    int width = 0;
    int height = 0;
    int enlargedWidth = 0;
    int enlargedHeight = 0;
    int lost = 0;
    int filled = 0; // a frame was presented and can be shown again
    MappedPalette palette;
    // Without a renderer: the last frame's indices, to show it again at another size, and the
    // enlarged picture where a smooth step or another format still lies between it and the window.
    std::vector<uint8_t> kept;
    SDL_Surface* staging = nullptr;
};

namespace {

// Each SDL window knows its handle under this name, so a posted message's window number leads back
// to it.
constexpr const char* handleName = "kavorind-window";

struct PlatformVideo {
    PlatformWindow* mainWindow = nullptr;
    std::vector<PlatformTexture*> liveTextures;
    int messageBoxesEnabled = 1;
    int screenOutput = 1;
    int gpuLikely = 1;      // decided as the window is made: it is made OpenGL-ready only then
    int rendererForced = 0; // tests: SDL's renderer even where there is no GPU
    PlatformOverlayPainter overlayPainter = nullptr;
    std::vector<PlatformOverlayBox> overlayBoxes; // kept between presents: no allocation each time
};

PlatformVideo platformVideo;

// 4-byte pixels the conversion can write directly.
bool directPixels(Uint32 format) {
    return SDL_BYTESPERPIXEL(format) == 4 && !SDL_ISPIXELFORMAT_INDEXED(format) &&
           format != SDL_PIXELFORMAT_ARGB2101010;
}

const uint32_t* mappedPalette(MappedPalette& palette, const uint32_t* argbTable, Uint32 format) {
    if (palette.format == format && std::memcmp(palette.argb.data(), argbTable, 1024) == 0)
        return palette.pixels.data();
    SDL_PixelFormat* layout = SDL_AllocFormat(format);
    if (!layout)
        return argbTable;
    for (size_t i = 0; i < 256; ++i) {
        uint32_t argb = argbTable[i];
        palette.pixels[i] =
            SDL_MapRGB(layout, (argb >> 16) & 0xff, (argb >> 8) & 0xff, argb & 0xff);
    }
    SDL_FreeFormat(layout);
    std::memcpy(palette.argb.data(), argbTable, 1024);
    palette.format = format;
    return palette.pixels.data();
}

void dropEnlargedTexture(PlatformTexture* texture) {
    if (texture->enlarged)
        SDL_DestroyTexture(texture->enlarged);
    texture->enlarged = nullptr;
    texture->enlargedWidth = 0;
    texture->enlargedHeight = 0;
}

// The render target the frame is enlarged into, made again only when the size it needs changes.
SDL_Texture* enlargedTarget(PlatformTexture* texture, int width, int height) {
    if (texture->enlarged && texture->enlargedWidth == width && texture->enlargedHeight == height)
        return texture->enlarged;
    dropEnlargedTexture(texture);
    SDL_Renderer* renderer = texture->owner->renderer;
    // In the window's own format where the renderer can draw into one: the smooth step to the
    // window then needs no conversion.
    Uint32 format = SDL_GetWindowPixelFormat(texture->owner->window->window);
    if (directPixels(format))
        texture->enlarged =
            SDL_CreateTexture(renderer, format, SDL_TEXTUREACCESS_TARGET, width, height);
    if (!texture->enlarged)
        texture->enlarged = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888,
                                              SDL_TEXTUREACCESS_TARGET, width, height);
    if (!texture->enlarged)
        return nullptr;
    SDL_SetTextureBlendMode(texture->enlarged, SDL_BLENDMODE_NONE);
    // Only ever drawn onward smoothly: the whole multiples are already in it.
    SDL_SetTextureScaleMode(texture->enlarged, SDL_ScaleModeLinear);
    texture->enlargedWidth = width;
    texture->enlargedHeight = height;
    return texture->enlarged;
}

// The frame enlarged with nearest neighbour, or the frame itself when no enlargement is needed or
// the renderer cannot draw into a texture.
SDL_Texture* enlargedFrame(PlatformTexture* texture, const FrameLayout& layout) {
    SDL_Renderer* renderer = texture->owner->renderer;
    SDL_SetTextureScaleMode(texture->frame, SDL_ScaleModeNearest);
    if (layout.enlargedWidth == texture->width && layout.enlargedHeight == texture->height)
        return texture->frame;
    SDL_Texture* target = enlargedTarget(texture, layout.enlargedWidth, layout.enlargedHeight);
    if (!target || SDL_SetRenderTarget(renderer, target) != 0)
        return texture->frame;
    SDL_RenderCopy(renderer, texture->frame, nullptr, nullptr);
    SDL_SetRenderTarget(renderer, nullptr);
    return target;
}

// The painter's boxes for an output of this size with the frame at picture; empty without one.
const std::vector<PlatformOverlayBox>& overlayBoxesFor(int width, int height,
                                                       const FrameRect& picture) {
    std::vector<PlatformOverlayBox>& boxes = platformVideo.overlayBoxes;
    boxes.clear();
    if (platformVideo.overlayPainter) {
        PlatformOverlayArea area{width,     height,        picture.x,
                                 picture.y, picture.width, picture.height};
        platformVideo.overlayPainter(area, &boxes);
    }
    return boxes;
}

Uint8 alphaOf(uint32_t argb) {
    return static_cast<Uint8>(argb >> 24);
}

void drawOverlayWithRenderer(SDL_Renderer* renderer, int width, int height,
                             const FrameRect& picture) {
    const std::vector<PlatformOverlayBox>& boxes = overlayBoxesFor(width, height, picture);
    if (boxes.empty())
        return;
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_BLEND);
    for (const PlatformOverlayBox& box : boxes) {
        SDL_SetRenderDrawColor(renderer, static_cast<Uint8>(box.argb >> 16),
                               static_cast<Uint8>(box.argb >> 8), static_cast<Uint8>(box.argb),
                               alphaOf(box.argb));
        SDL_Rect rect{box.x, box.y, box.width, box.height};
        SDL_RenderFillRect(renderer, &rect);
    }
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);
}

// A see-through box on a window surface: SDL's blitter blends any format, from one pixel of the
// box's colour stretched over it.
void blendIntoSurface(SDL_Surface* screen, const PlatformOverlayBox& box) {
    SDL_Surface* pixel = SDL_CreateRGBSurfaceWithFormat(0, 1, 1, 32, SDL_PIXELFORMAT_ARGB8888);
    if (!pixel)
        return;
    *static_cast<uint32_t*>(pixel->pixels) = box.argb;
    SDL_SetSurfaceBlendMode(pixel, SDL_BLENDMODE_BLEND);
    SDL_Rect rect{box.x, box.y, box.width, box.height};
    SDL_BlitScaled(pixel, nullptr, screen, &rect);
    SDL_FreeSurface(pixel);
}

void drawOverlayIntoSurface(SDL_Surface* screen, const FrameRect& picture) {
    for (const PlatformOverlayBox& box : overlayBoxesFor(screen->w, screen->h, picture)) {
        if (alphaOf(box.argb) == 255) {
            SDL_Rect rect{box.x, box.y, box.width, box.height};
            SDL_FillRect(screen, &rect,
                         SDL_MapRGB(screen->format, static_cast<Uint8>(box.argb >> 16),
                                    static_cast<Uint8>(box.argb >> 8),
                                    static_cast<Uint8>(box.argb)));
        } else if (alphaOf(box.argb) > 0) {
            blendIntoSurface(screen, box);
        }
    }
}

// Every pixel of the output is drawn: a renderer's back buffer is undefined after a present, so
// the whole output is cleared to black before the picture goes on it.
void copyFrameToScreen(PlatformTexture* texture) {
    SDL_Renderer* renderer = texture->owner->renderer;
    int outputWidth = 0;
    int outputHeight = 0;
    SDL_GetRendererOutputSize(renderer, &outputWidth, &outputHeight);
    FrameLayout layout = frameLayout(texture->owner->scaling, texture->width, texture->height,
                                     outputWidth, outputHeight);
    SDL_Texture* source = enlargedFrame(texture, layout);
    // Filtered only where the last step changes the size; a whole multiple stays exact.
    int sourceWidth = source == texture->frame ? texture->width : layout.enlargedWidth;
    int sourceHeight = source == texture->frame ? texture->height : layout.enlargedHeight;
    bool resized =
        sourceWidth != layout.destination.width || sourceHeight != layout.destination.height;
    SDL_SetTextureScaleMode(source, resized ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    const FrameRect& to = layout.destination;
    SDL_Rect destination{to.x, to.y, to.width, to.height};
    if (to.width > 0 && to.height > 0)
        SDL_RenderCopy(renderer, source, nullptr, &destination);
    drawOverlayWithRenderer(renderer, outputWidth, outputHeight, to);
}

int presentThroughRenderer(PlatformTexture* texture, const uint8_t* indices, int pitch,
                           const uint32_t* argbTable) {
    Uint32 format = SDL_PIXELFORMAT_ARGB8888;
    SDL_QueryTexture(texture->frame, &format, nullptr, nullptr, nullptr);
    const uint32_t* table = mappedPalette(texture->palette, argbTable, format);
    void* target = nullptr;
    int targetPitch = 0;
    if (SDL_LockTexture(texture->frame, nullptr, &target, &targetPitch) != 0)
        return 0;
    convertFrame(indices, pitch, texture->width, texture->height, table,
                 static_cast<uint8_t*>(target), targetPitch, 1, 1);
    SDL_UnlockTexture(texture->frame);
    texture->filled = 1;
    copyFrameToScreen(texture);
    SDL_RenderPresent(texture->owner->renderer);
    return 1;
}

// A streaming texture in the window's own format where the renderer takes it, so that the copy
// to the window converts nothing; ARGB otherwise.
SDL_Texture* createStreamingFrame(PlatformRenderer* renderer, int width, int height) {
    Uint32 format = SDL_GetWindowPixelFormat(renderer->window->window);
    SDL_RendererInfo info{};
    bool taken = false;
    if (directPixels(format) && SDL_GetRendererInfo(renderer->renderer, &info) == 0)
        for (Uint32 i = 0; i < info.num_texture_formats; ++i)
            taken = taken || info.texture_formats[i] == format;
    SDL_Texture* frame = nullptr;
    if (taken)
        frame = SDL_CreateTexture(renderer->renderer, format, SDL_TEXTUREACCESS_STREAMING, width,
                                  height);
    if (!frame)
        frame = SDL_CreateTexture(renderer->renderer, SDL_PIXELFORMAT_ARGB8888,
                                  SDL_TEXTUREACCESS_STREAMING, width, height);
    // Every pixel is opaque: copying without blending is much cheaper on software renderers.
    if (frame)
        SDL_SetTextureBlendMode(frame, SDL_BLENDMODE_NONE);
    return frame;
}

// Black around the picture only: the window's surface keeps what was written into it, so the
// picture's own area needs no clearing first.
void fillBorders(SDL_Surface* screen, const FrameRect& picture) {
    int below = picture.y + picture.height;
    int right = picture.x + picture.width;
    SDL_Rect borders[4] = {
        {0, 0, screen->w, picture.y},
        {0, below, screen->w, screen->h - below},
        {0, picture.y, picture.x, picture.height},
        {right, picture.y, screen->w - right, picture.height},
    };
    if (picture.width <= 0 || picture.height <= 0)
        borders[0].h = screen->h;
    SDL_FillRects(screen, borders, 4, SDL_MapRGB(screen->format, 0, 0, 0));
}

// The surface the enlarged picture is converted into when it cannot go straight to the window.
SDL_Surface* stagingSurface(PlatformTexture* texture, int width, int height, Uint32 format) {
    SDL_Surface* staging = texture->staging;
    if (staging && staging->w == width && staging->h == height && staging->format->format == format)
        return staging;
    SDL_FreeSurface(staging);
    texture->staging = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, format);
    return texture->staging;
}

// The frame converted into the window's surface: at a whole multiple straight into its place, the
// enlargement done in the same pass; otherwise enlarged into a surface beside it and then
// stretched smoothly (or converted, for a window of another depth) onto the window.
int drawIntoSurface(PlatformTexture* texture, SDL_Surface* screen, const uint8_t* indices,
                    int pitch, const uint32_t* argbTable) {
    FrameLayout layout =
        frameLayout(texture->owner->scaling, texture->width, texture->height, screen->w, screen->h);
    const FrameRect& to = layout.destination;
    fillBorders(screen, to);
    if (to.width <= 0 || to.height <= 0)
        return 1;
    Uint32 screenFormat = screen->format->format;
    Uint32 format = directPixels(screenFormat) ? screenFormat : Uint32{SDL_PIXELFORMAT_ARGB8888};
    const uint32_t* table = mappedPalette(texture->palette, argbTable, format);
    int across = layout.enlargedWidth / texture->width;
    int down = layout.enlargedHeight / texture->height;
    bool straight = format == screenFormat && to.width == layout.enlargedWidth &&
                    to.height == layout.enlargedHeight;
    SDL_Surface* target =
        straight ? screen
                 : stagingSurface(texture, layout.enlargedWidth, layout.enlargedHeight, format);
    if (!target || SDL_LockSurface(target) != 0)
        return 0;
    auto* pixels = static_cast<uint8_t*>(target->pixels);
    if (straight)
        pixels += static_cast<ptrdiff_t>(to.y) * target->pitch + to.x * 4;
    convertFrame(indices, pitch, texture->width, texture->height, table, pixels, target->pitch,
                 across, down);
    SDL_UnlockSurface(target);
    if (straight)
        return 1;
    SDL_Rect destination{to.x, to.y, to.width, to.height};
    if (format == screenFormat)
        return SDL_SoftStretchLinear(target, nullptr, screen, &destination) == 0 ? 1 : 0;
    return SDL_BlitScaled(target, nullptr, screen, &destination) == 0 ? 1 : 0;
}

// The window's own surface; in the browser, the page's canvas.
SDL_Surface* screenSurface(SDL_Window* window) {
    if (platformPageHasCanvas())
        return platformPageCanvasSurface();
    return SDL_GetWindowSurface(window);
}

int showScreenSurface(SDL_Window* window, SDL_Surface* screen) {
    if (platformPageHasCanvas())
        return platformShowPageCanvas(screen);
    return SDL_UpdateWindowSurface(window) == 0 ? 1 : 0;
}

int showInSurface(PlatformTexture* texture, const uint8_t* indices, int pitch,
                  const uint32_t* argbTable) {
    SDL_Window* window = texture->owner->window->window;
    SDL_Surface* screen = screenSurface(window);
    if (!screen || !drawIntoSurface(texture, screen, indices, pitch, argbTable))
        return 0;
    drawOverlayIntoSurface(screen, frameLayout(texture->owner->scaling, texture->width,
                                               texture->height, screen->w, screen->h)
                                       .destination);
    return showScreenSurface(window, screen);
}

int presentIntoSurface(PlatformTexture* texture, const uint8_t* indices, int pitch,
                       const uint32_t* argbTable) {
    if (!showInSurface(texture, indices, pitch, argbTable))
        return 0;
    size_t rowBytes = static_cast<size_t>(texture->width);
    texture->kept.resize(rowBytes * texture->height);
    for (int y = 0; y < texture->height; ++y)
        std::memcpy(&texture->kept[y * rowBytes], indices + static_cast<ptrdiff_t>(y) * pitch,
                    rowBytes);
    texture->filled = 1;
    return 1;
}

// An OpenGL renderer whose rasteriser is Mesa's software one (as in a virtual machine without a
// graphics driver).
bool rasterisesOnTheCpu(SDL_Renderer* renderer) {
    SDL_RendererInfo info{};
    if (SDL_GetRendererInfo(renderer, &info) != 0 || std::strncmp(info.name, "opengl", 6) != 0)
        return false;
    using GetString = const unsigned char* (*)(unsigned);
    auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    if (!getString)
        return false;
    constexpr unsigned glRenderer = 0x1F01;
    const char* name = reinterpret_cast<const char*>(getString(glRenderer));
    if (!name)
        return false;
    for (const char* software : {"llvmpipe", "softpipe", "Software Rasterizer", "swrast"})
        if (std::strstr(name, software))
            return true;
    return false;
}

// Whether the X server can hand OpenGL to a graphics driver (DRI, or NVIDIA's own GLX). Xvfb, VNC
// servers and remote displays cannot: their OpenGL is drawn by the CPU. Asked over a connection
// of our own through the X library SDL itself loads, which takes about a millisecond, against
// the hundreds that making the window OpenGL-ready costs there.
bool xServerHasDirectRendering() {
    void* library = SDL_LoadObject("libX11.so.6");
    if (!library)
        return true; // cannot tell: as if there were a GPU, which loses nothing but time
    using OpenDisplay = void* (*)(const char*);
    using QueryExtension = int (*)(void*, const char*, int*, int*, int*);
    using CloseDisplay = int (*)(void*);
    auto open = reinterpret_cast<OpenDisplay>(SDL_LoadFunction(library, "XOpenDisplay"));
    auto query = reinterpret_cast<QueryExtension>(SDL_LoadFunction(library, "XQueryExtension"));
    auto close = reinterpret_cast<CloseDisplay>(SDL_LoadFunction(library, "XCloseDisplay"));
    void* display = open && query && close ? open(nullptr) : nullptr;
    bool direct = true;
    if (display) {
        int opcode = 0, event = 0, error = 0;
        direct = false;
        for (const char* extension : {"DRI3", "DRI2", "NV-GLX"})
            direct = direct || query(display, extension, &opcode, &event, &error);
        close(display);
    }
    SDL_UnloadObject(library);
    return direct;
}

// Whether a renderer made for the window might be drawn by a GPU. The answer only saves time: a
// wrong yes costs the OpenGL-ready window and a renderer made and dropped, as it always did.
bool gpuLikely() {
    if (platformPageHasCanvas())
        return false;
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver || std::strcmp(driver, "dummy") == 0 || std::strcmp(driver, "offscreen") == 0)
        return false;
    if (std::strcmp(driver, "x11") == 0)
        return xServerHasDirectRendering();
    return true;
}

} // namespace

int platformDisplayMissing() {
    // A driver asked for (tests and the headless tools ask for the dummy one) is what is wanted.
    // The hint is named as a string, which every SDL 2 also reads from the environment.
    const char* asked = SDL_GetHint("SDL_VIDEODRIVER");
    if (asked && *asked)
        return 0;
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
}

const char* platformVideoError() {
    return SDL_GetError();
}

PlatformWindow* platformMainWindow() {
    return platformVideo.mainWindow;
}

uint32_t platformWindowNumber(const PlatformWindow* window) {
    return window ? window->number : 0;
}

PlatformWindow* platformWindowFromNumber(uint32_t number) {
    SDL_Window* window = number ? SDL_GetWindowFromID(number) : nullptr;
    return window ? static_cast<PlatformWindow*>(SDL_GetWindowData(window, handleName)) : nullptr;
}

void platformMarkFrameTexturesLost() {
    for (PlatformTexture* texture : platformVideo.liveTextures)
        texture->lost = 1;
}

PlatformWindow* platformCreateWindow(const char* title, int width, int height, int fullScreen) {
    if (!platformInit())
        return nullptr;
#ifdef __EMSCRIPTEN__
    // The page's canvas holds the frame at its own size; the page scales it and owns the whole
    // screen, which a browser grants only to a click anyway.
    fullScreen = 0;
    Uint32 flags = SDL_WINDOW_SHOWN;
#else
    Uint32 flags = SDL_WINDOW_SHOWN | SDL_WINDOW_ALLOW_HIGHDPI | SDL_WINDOW_RESIZABLE;
#endif
    SDL_DisplayMode desktop{};
    if (fullScreen) {
        flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
        // Made at the desktop's size too, so that it covers the screen even where no window
        // manager is there to carry out the full-screen request.
        if (SDL_GetDesktopDisplayMode(0, &desktop) == 0 && desktop.w > 0 && desktop.h > 0) {
            width = desktop.w;
            height = desktop.h;
        }
    }
    // Made ready for OpenGL from the start where a GPU may draw it: otherwise an OpenGL renderer
    // replaces the window with a new one, and whoever found the first (a window manager, a test)
    // holds a dead handle. Where none can, that readiness only costs time.
    platformVideo.gpuLikely = gpuLikely() ? 1 : 0;
    SDL_Window* window = nullptr;
    if (platformVideo.gpuLikely)
        window = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width,
                                  height, flags | SDL_WINDOW_OPENGL);
    if (!window)
        window = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width,
                                  height, flags);
    if (!window)
        return nullptr;
    if (SDL_Surface* icon = createWindowIcon()) {
        SDL_SetWindowIcon(window, icon);
        SDL_FreeSurface(icon);
    }
    auto* handle = new PlatformWindow{window, SDL_GetWindowID(window)};
    SDL_SetWindowData(window, handleName, handle);
    platformVideo.mainWindow = handle;
    return handle;
}

PlatformRenderer* platformCreateRenderer(PlatformWindow* window) {
    if (!window)
        return nullptr;
    SDL_Renderer* renderer = nullptr;
    if (platformVideo.gpuLikely || platformVideo.rendererForced)
        renderer = SDL_CreateRenderer(window->window, -1, SDL_RENDERER_PRESENTVSYNC);
    if (renderer && !platformVideo.rendererForced && rasterisesOnTheCpu(renderer)) {
        // OpenGL drawn by the CPU costs several times what writing into the window's surface
        // does for a frame this small.
        SDL_DestroyRenderer(renderer);
        renderer = nullptr;
    }
    if (!renderer) {
        // The window's surface must be the window system's own, never one more renderer.
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    }
    return new PlatformRenderer{window, renderer};
}

void platformDestroyRenderer(PlatformRenderer* renderer) {
    if (!renderer)
        return;
    if (renderer->renderer)
        SDL_DestroyRenderer(renderer->renderer);
    delete renderer;
}

int platformEnterFullScreen(PlatformRenderer* renderer) {
#ifdef __EMSCRIPTEN__
    (void)renderer;
    return 1;
#endif
    SDL_Window* window = renderer->window->window;
    if (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN)
        return 1;
    // Laid over the whole display first, so that it covers the screen even where no window
    // manager is there to carry out the full-screen request.
    SDL_Rect display{};
    int index = SDL_GetWindowDisplayIndex(window);
    if (SDL_GetDisplayBounds(index < 0 ? 0 : index, &display) == 0) {
        SDL_SetWindowPosition(window, display.x, display.y);
        SDL_SetWindowSize(window, display.w, display.h);
    }
    return SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP) == 0 ? 1 : 0;
}

int platformSizeWindow(PlatformRenderer* renderer, int width, int height) {
#ifdef __EMSCRIPTEN__
    (void)renderer, (void)width, (void)height;
    return 1;
#endif
    SDL_Window* window = renderer->window->window;
    if ((SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN) &&
        SDL_SetWindowFullscreen(window, 0) != 0)
        return 0;
    SDL_SetWindowSize(window, width, height);
    return 1;
}

int platformWindowFullScreen(PlatformRenderer* renderer) {
    return (SDL_GetWindowFlags(renderer->window->window) & SDL_WINDOW_FULLSCREEN) ? 1 : 0;
}

void platformClientSize(PlatformRenderer* renderer, int* width, int* height) {
    SDL_GetWindowSize(renderer->window->window, width, height);
}

PlatformRect platformWindowBorders(PlatformRenderer* renderer) {
    int top = 0, left = 0, bottom = 0, right = 0;
    if (SDL_GetWindowBordersSize(renderer->window->window, &top, &left, &bottom, &right) != 0)
        return PlatformRect{};
    return PlatformRect{left, top, right, bottom};
}

void platformSetFrameScaling(PlatformRenderer* renderer, int scaling) {
    renderer->scaling = scaling;
}

int platformWindowFrame(PlatformRenderer* renderer, PlatformRect* out) {
    SDL_Window* window = renderer->window->window;
    int x = 0, y = 0, w = 0, h = 0, top = 0, left = 0, bottom = 0, right = 0;
    SDL_GetWindowPosition(window, &x, &y);
    SDL_GetWindowSize(window, &w, &h);
    SDL_GetWindowBordersSize(window, &top, &left, &bottom, &right);
    *out = PlatformRect{x - left, y - top, x + w + right, y + h + bottom};
    return 1;
}

int platformWorkArea(PlatformRenderer* renderer, PlatformRect* out) {
    int display = SDL_GetWindowDisplayIndex(renderer->window->window);
    SDL_Rect area{};
    if (SDL_GetDisplayUsableBounds(display < 0 ? 0 : display, &area) != 0)
        return 0;
    *out = PlatformRect{area.x, area.y, area.x + area.w, area.y + area.h};
    return 1;
}

void platformMoveWindow(PlatformRenderer* renderer, int left, int top) {
    SDL_Window* window = renderer->window->window;
    int borderTop = 0, borderLeft = 0;
    SDL_GetWindowBordersSize(window, &borderTop, &borderLeft, nullptr, nullptr);
    SDL_SetWindowPosition(window, left + borderLeft, top + borderTop);
}

PlatformTexture* platformCreateFrameTexture(PlatformRenderer* renderer, int width, int height) {
    if (!renderer || width <= 0 || height <= 0)
        return nullptr;
    SDL_Texture* frame = nullptr;
    if (renderer->renderer) {
        frame = createStreamingFrame(renderer, width, height);
        if (!frame)
            return nullptr;
    }
    auto* texture = new PlatformTexture{};
    texture->owner = renderer;
    texture->frame = frame;
    texture->width = width;
    texture->height = height;
    platformVideo.liveTextures.push_back(texture);
    return texture;
}

void platformDestroyFrameTexture(PlatformTexture* texture) {
    if (!texture)
        return;
    std::erase(platformVideo.liveTextures, texture);
    dropEnlargedTexture(texture);
    if (texture->frame)
        SDL_DestroyTexture(texture->frame);
    SDL_FreeSurface(texture->staging);
    delete texture;
}

int platformFrameTextureLost(const PlatformTexture* texture) {
    return texture ? texture->lost : 1;
}

int platformPresentFrame(PlatformTexture* texture, const uint8_t* indices, int pitch,
                         const uint32_t* argbTable) {
    if (!texture || texture->lost)
        return 0;
    platformOfferFrame(indices, pitch, texture->width, texture->height, argbTable);
    if (!platformVideo.screenOutput)
        return 1;
    if (texture->owner->renderer)
        return presentThroughRenderer(texture, indices, pitch, argbTable);
    return presentIntoSurface(texture, indices, pitch, argbTable);
}

int platformShowFrameAgain(PlatformTexture* texture) {
    if (!texture || texture->lost)
        return 0;
    if (!platformVideo.screenOutput)
        return 1;
    SDL_Renderer* renderer = texture->owner->renderer;
    if (!renderer) {
        if (texture->filled)
            return showInSurface(texture, texture->kept.data(), texture->width,
                                 texture->palette.argb.data());
        SDL_Window* window = texture->owner->window->window;
        SDL_Surface* screen = screenSurface(window);
        if (!screen)
            return 0;
        fillBorders(screen, FrameRect{});
        return showScreenSurface(window, screen);
    }
    if (texture->filled) {
        copyFrameToScreen(texture);
    } else {
        SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
        SDL_RenderClear(renderer);
    }
    SDL_RenderPresent(renderer);
    return 1;
}

void platformForceRenderer(int forced) {
    platformVideo.rendererForced = forced;
}

std::string platformPresentPathName(PlatformRenderer* renderer) {
    SDL_RendererInfo info{};
    if (!renderer || !renderer->renderer || SDL_GetRendererInfo(renderer->renderer, &info) != 0)
        return "WINDOW SURFACE";
    std::string name = info.name ? info.name : "";
    for (char& c : name)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return "GPU TEXTURE (" + name + ")";
}

void platformSetOverlayPainter(PlatformOverlayPainter painter) {
    platformVideo.overlayPainter = painter;
}

void platformSetScreenOutput(int enabled) {
    platformVideo.screenOutput = enabled;
}

void platformShowCursor(int show) {
    SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
}

void platformSetMessageBoxesEnabled(int enabled) {
    platformVideo.messageBoxesEnabled = enabled;
}

int platformShowMessageBox(const char* caption, const char* text) {
#ifdef __EMSCRIPTEN__
    // The page shows the same text from the program's error output, without a blocking alert.
    platformVideo.messageBoxesEnabled = 0;
#endif
    // What the program has said reaches its console or log before a box waits for a click.
    std::fflush(stdout);
    std::fflush(stderr);
    // KAVORIND_NO_MESSAGE_BOXES=1 keeps every box closed, so that a test that makes the game fail
    // is never left waiting on a click; the text still goes to stderr.
    const char* noBoxes = std::getenv("KAVORIND_NO_MESSAGE_BOXES");
    if (!platformVideo.messageBoxesEnabled || (noBoxes && *noBoxes && *noBoxes != '0'))
        return 0;
    return SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption, text, nullptr) == 0 ? 1 : 0;
}

} // namespace kavorind
