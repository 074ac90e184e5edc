#include "platform/page_canvas.h"

namespace kavorind {

// The desktop has no page: frames go to the window.

int platformPageHasCanvas() {
    return 0;
}

SDL_Surface* platformPageCanvasSurface() {
    return nullptr;
}

int platformShowPageCanvas(SDL_Surface*) {
    return 0;
}

} // namespace kavorind
