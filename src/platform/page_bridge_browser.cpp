#include "platform/page_bridge.h"

#include <SDL.h>
#include <emscripten/emscripten.h>

namespace kavorind {

namespace {

struct PlatformPageBridge {
    int tick = 0;
    PlatformLoopPass pass = nullptr;
    PlatformLoopEnd end = nullptr;
};

PlatformPageBridge platformPageBridge;

// Called by the page once a display frame (or, back to back, whenever it has a moment): the
// loop's pass, and the program's end after its last. The loop is not cancelled first: a cancelled
// loop's next call ends the program a second time, and an ended program's loop calls nothing.
void runLoopPass() {
    int exitCode = 0;
    if (platformPageBridge.pass(&exitCode))
        return;
    platformProgramEnds(platformPageBridge.end(exitCode));
}

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
}

int platformProgramEnds(int exitCode) {
    emscripten_force_exit(exitCode);
    return exitCode;
}

// The page's own frame callback (requestAnimationFrame) paces the loop, so the game draws when the
// browser paints and sleeps in between; the ticks come from the timer's timeouts as before. Back
// to back, the page's zero-delay callback runs a pass whenever it has painted and handled input.
int platformHandLoopToPage(PlatformLoopPass pass, PlatformLoopEnd end, int backToBack) {
    platformPageBridge.pass = pass;
    platformPageBridge.end = end;
    emscripten_set_main_loop(runLoopPass, 0, 0);
    if (backToBack)
        emscripten_set_main_loop_timing(EM_TIMING_SETIMMEDIATE, 0);
    // The program's stack is left behind here: what runs next runs from the page's callbacks.
    emscripten_exit_with_live_runtime();
    return 1;
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
