#include "platform/platform.h"

#include "platform/window_internal.h"

#include <SDL.h>

namespace kavorind {

int platformInit() {
    if (SDL_WasInit(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER) ==
        (SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER))
        return 1;
    // Sharp pixels when the 640 x 480 frame is scaled; no screensaver during play.
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    // The program's main is its own, not SDL's (Windows would otherwise refuse to start SDL).
    SDL_SetMainReady();
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER) != 0)
        return 0;
    platformFilterKeyPresses();
    return 1;
}

void platformPreferHeadlessDrivers() {
    // At the normal priority, a driver named in the environment still wins.
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "dummy");
    SDL_SetHint(SDL_HINT_AUDIODRIVER, "dummy");
}

void platformSetVerticalBlankWait(int wait) {
    // The hint overrides the renderer's own vsync flag when the renderer is made.
    SDL_SetHint(SDL_HINT_RENDER_VSYNC, wait ? "1" : "0");
}

} // namespace kavorind
