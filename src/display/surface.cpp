#include "display/surface.h"

#include <cstring>

namespace kavorind {

Surface makeSurface(int width, int height) {
    Surface surface;
    if (width < 1 || height < 1)
        return surface;
    surface.pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    surface.width = width;
    surface.height = height;
    return surface;
}

int lockSurface(Surface* surface, LockedSurface* out) {
    if (!surface || !out || surface->pixels.empty() || surface->lost || surface->locked)
        return 0;
    surface->locked = 1;
    *out = LockedSurface{surface->pixels.data(), surface->width, surface->width, surface->height};
    return 1;
}

int unlockSurface(Surface* surface, const uint8_t* pixels) {
    if (!surface || !surface->locked || pixels != surface->pixels.data())
        return 0;
    surface->locked = 0;
    return 1;
}

int colourFill(Surface* surface, uint8_t index) {
    if (!surface || surface->pixels.empty() || surface->lost || surface->locked)
        return 0;
    std::memset(surface->pixels.data(), index, surface->pixels.size());
    return 1;
}

int restoreSurface(Surface* surface) {
    if (!surface || surface->pixels.empty())
        return 0;
    surface->lost = 0;
    return 1;
}

} // namespace kavorind
