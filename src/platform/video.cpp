#include "platform/video.h"

#include "platform/frame_geometry.h"
#include "platform/icon.h"
#include "platform/window_internal.h"

#include <SDL.h>

#include <algorithm>
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
    SDL_Renderer* renderer = nullptr;
    int scaling = FrameSharp;
};

struct PlatformTexture {
    PlatformRenderer* owner = nullptr;
    SDL_Texture* frame = nullptr;    // width x height ARGB, filled from the palette indices
    SDL_Texture* enlarged = nullptr; // the frame enlarged by whole multiples, sharp edges
    int width = 0;
    int height = 0;
    int enlargedWidth = 0;
    int enlargedHeight = 0;
    int lost = 0;
    int filled = 0; // a frame was converted into it and can be shown again
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
};

PlatformVideo platformVideo;

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
    // window then needs no conversion (a software renderer would convert every pixel twice).
    Uint32 format = SDL_GetWindowPixelFormat(texture->owner->window->window);
    if (SDL_BYTESPERPIXEL(format) == 4 && !SDL_ISPIXELFORMAT_INDEXED(format) &&
        format != SDL_PIXELFORMAT_ARGB2101010)
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

// Every pixel of the output is drawn: black around the picture, so nothing stale shows there.
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
}

// An OpenGL renderer whose rasteriser is Mesa's software one (as under Xvfb or in a virtual
// machine without a graphics driver).
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

} // namespace

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
    Uint32 flags = SDL_WINDOW_SHOWN | SDL_WINDOW_ALLOW_HIGHDPI | SDL_WINDOW_RESIZABLE;
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
    // Made ready for OpenGL from the start: otherwise an OpenGL renderer replaces the window with a
    // new one, and whoever found the first (a window manager, a test) holds a dead handle.
    SDL_Window* window = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                          width, height, flags | SDL_WINDOW_OPENGL);
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
    SDL_Renderer* renderer = SDL_CreateRenderer(window->window, -1, SDL_RENDERER_PRESENTVSYNC);
    if (renderer && rasterisesOnTheCpu(renderer)) {
        // OpenGL drawn by the CPU costs several times what SDL's own software path does for a
        // frame this small, so machines without a graphics driver get the software path.
        SDL_DestroyRenderer(renderer);
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        renderer = SDL_CreateRenderer(window->window, -1, SDL_RENDERER_SOFTWARE);
    }
    if (!renderer)
        renderer = SDL_CreateRenderer(window->window, -1, SDL_RENDERER_SOFTWARE);
    if (!renderer)
        return nullptr;
    return new PlatformRenderer{window, renderer};
}

void platformDestroyRenderer(PlatformRenderer* renderer) {
    if (!renderer)
        return;
    SDL_DestroyRenderer(renderer->renderer);
    delete renderer;
}

int platformEnterFullScreen(PlatformRenderer* renderer) {
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
    if (!renderer)
        return nullptr;
    SDL_Texture* frame = SDL_CreateTexture(renderer->renderer, SDL_PIXELFORMAT_ARGB8888,
                                           SDL_TEXTUREACCESS_STREAMING, width, height);
    if (!frame)
        return nullptr;
    // Every pixel is opaque: copying without blending is much cheaper on software renderers.
    SDL_SetTextureBlendMode(frame, SDL_BLENDMODE_NONE);
    auto* texture = new PlatformTexture{renderer, frame, nullptr, width, height, 0, 0, 0, 0};
    platformVideo.liveTextures.push_back(texture);
    return texture;
}

void platformDestroyFrameTexture(PlatformTexture* texture) {
    if (!texture)
        return;
    std::erase(platformVideo.liveTextures, texture);
    dropEnlargedTexture(texture);
    SDL_DestroyTexture(texture->frame);
    delete texture;
}

int platformFrameTextureLost(const PlatformTexture* texture) {
    return texture ? texture->lost : 1;
}

int platformPresentFrame(PlatformTexture* texture, const uint8_t* indices, int pitch,
                         const uint32_t* argbTable) {
    if (!texture || texture->lost)
        return 0;
    if (!platformVideo.screenOutput)
        return 1;
    void* target = nullptr;
    int targetPitch = 0;
    if (SDL_LockTexture(texture->frame, nullptr, &target, &targetPitch) != 0)
        return 0;
    for (int y = 0; y < texture->height; ++y) {
        const uint8_t* source = indices + static_cast<ptrdiff_t>(y) * pitch;
        auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(target) + y * targetPitch);
        for (int x = 0; x < texture->width; ++x)
            row[x] = argbTable[source[x]];
    }
    SDL_UnlockTexture(texture->frame);
    texture->filled = 1;
    copyFrameToScreen(texture);
    SDL_RenderPresent(texture->owner->renderer);
    return 1;
}

int platformShowFrameAgain(PlatformTexture* texture) {
    if (!texture || texture->lost)
        return 0;
    if (!platformVideo.screenOutput)
        return 1;
    SDL_Renderer* renderer = texture->owner->renderer;
    if (texture->filled) {
        copyFrameToScreen(texture);
    } else {
        SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
        SDL_RenderClear(renderer);
    }
    SDL_RenderPresent(renderer);
    return 1;
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
    if (!platformVideo.messageBoxesEnabled)
        return 0;
    return SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption, text, nullptr) == 0 ? 1 : 0;
}

} // namespace kavorind
