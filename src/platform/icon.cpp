#include "platform/icon.h"

#include "platform/icon_picture.h"

#include <SDL.h>

namespace kavorind {

SDL_Surface* createWindowIcon() {
    SDL_Surface* icon =
        SDL_CreateRGBSurfaceWithFormat(0, iconSize, iconSize, 32, SDL_PIXELFORMAT_ARGB8888);
    if (!icon)
        return nullptr;
    auto* pixels = static_cast<Uint8*>(icon->pixels);
    for (int y = 0; y < iconSize; ++y) {
        auto* row = reinterpret_cast<Uint32*>(pixels + y * icon->pitch);
        for (int x = 0; x < iconSize; ++x)
            row[x] = iconColours[iconColourIndex(iconRows[y][x])];
    }
    return icon;
}

} // namespace kavorind
