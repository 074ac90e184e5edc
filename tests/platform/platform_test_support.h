#pragma once
#include "platform/messages.h"
#include "platform/video.h"

#include <cstdlib>

namespace kavorind {

// The one window of the test program, on SDL's dummy video driver; its queue starts empty.
inline PlatformWindow* testWindow() {
    static PlatformWindow* window = [] {
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        return platformCreateWindow("Kavorind", 640, 480, 0);
    }();
    platformFlushMessages();
    return window;
}

} // namespace kavorind
