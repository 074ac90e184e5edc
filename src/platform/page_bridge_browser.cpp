#include "platform/page_bridge.h"

#include <SDL.h>
#include <emscripten/emscripten.h>

namespace kavorind {

namespace {

struct PlatformPageBridge {
    int tick = 0;
    double lastYieldMs = 0;
};

PlatformPageBridge platformPageBridge;

// A game that does not wait for the timer (a replay played back to back) still hands the page
// a moment now and then, so that the page shows its progress and its tests can follow it.
constexpr double longestWithoutPageMs = 100;

} // namespace

void platformNoteTick(int tick) {
    platformPageBridge.tick = tick;
}

int platformNotedTick() {
    return platformPageBridge.tick;
}

void platformOfferFrame(const uint8_t* indices, int pitch, int width, int height,
                        const uint32_t* argbTable) {
    // clang-format off
    EM_ASM({
        if (Module.kavorindFrame)
            Module.kavorindFrame($0, $1, $2, $3, $4, $5);
    }, platformPageBridge.tick, indices, pitch, width, height, argbTable);
    // clang-format on
    const double now = emscripten_get_now();
    if (now - platformPageBridge.lastYieldMs > longestWithoutPageMs) {
        platformPageBridge.lastYieldMs = now;
        emscripten_sleep(0);
    }
}

int platformProgramEnds(int exitCode) {
    emscripten_force_exit(exitCode);
    return exitCode;
}

// The page keeps the folder in the browser's storage and shows the table; the strings are
// copied out before the call returns.
void platformPlayerFilesChanged(const char* folder, const char* contentFingerprint) {
    // clang-format off
    EM_ASM({
        if (Module.kavorindPlayerFiles)
            Module.kavorindPlayerFiles(UTF8ToString($0), UTF8ToString($1));
    }, folder, contentFingerprint);
    // clang-format on
}

} // namespace kavorind

// The page asks for the tick by name.
extern "C" EMSCRIPTEN_KEEPALIVE int kavorind_probe_tick() {
    return kavorind::platformNotedTick();
}

// The page ends the game as a window's close button would (before it starts another one).
extern "C" EMSCRIPTEN_KEEPALIVE void kavorind_page_close() {
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
}
