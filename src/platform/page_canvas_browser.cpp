#include "platform/page_canvas.h"

#include <SDL.h>
#include <emscripten/emscripten.h>

namespace kavorind {

namespace {

struct PageCanvas {
    SDL_Surface* surface = nullptr;
};

PageCanvas pageCanvas;

} // namespace

int platformPageHasCanvas() {
    return 1;
}

SDL_Surface* platformPageCanvasSurface() {
    // clang-format off
    const int width = EM_ASM_INT({ return Module['canvas'].width; });
    const int height = EM_ASM_INT({ return Module['canvas'].height; });
    // clang-format on
    SDL_Surface* surface = pageCanvas.surface;
    if (surface && surface->w == width && surface->h == height)
        return surface;
    SDL_FreeSurface(surface);
    // Red, green, blue and alpha bytes in that order: the canvas's own image data.
    pageCanvas.surface =
        width > 0 && height > 0
            ? SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ABGR8888)
            : nullptr;
    return pageCanvas.surface;
}

// The canvas's image data is a view of the surface's pixels in the program's memory: nothing is
// copied before putImageData. The palette is mapped with opaque alpha, so no pass fixes it.
int platformShowPageCanvas(SDL_Surface* surface) {
    // clang-format off
    EM_ASM({
        var canvas = Module['canvas'];
        if (!Module.kavorindContext || Module.kavorindContext.canvas !== canvas)
            Module.kavorindContext = canvas.getContext('2d', { alpha: false });
        var pixels = new Uint8ClampedArray(HEAPU8.buffer, $0, $1 * $2 * 4);
        Module.kavorindContext.putImageData(new ImageData(pixels, $1, $2), 0, 0);
    }, surface->pixels, surface->w, surface->h);
    // clang-format on
    return 1;
}

} // namespace kavorind
