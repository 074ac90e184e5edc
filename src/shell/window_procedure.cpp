#include "shell/window_procedure.h"

#include "display/display_device.h"
#include "extras/around_game.h"
#include "extras/frame_times.h"
#include "extras/remembered_settings.h"
#include "platform/page_bridge.h"
#include "scenes/scene_table.h"
#include "shell/entry.h"
#include "shell/failure_report.h"
#include "shell/session.h"
#include "shell/shutdown.h"

#include <chrono>

namespace kavorind {

namespace {

void restorePaletteAfterFocus() {
    DevicePalette* palette = displayDevice.palette.directDrawPalette();
    if (!palette)
        return;
    if (setPrimaryPalette(displayDevice.primarySurface(), palette) == DDERR_SURFACELOST) {
        restorePrimary(displayDevice.primarySurface());
        restoreSurface(displayDevice.backSurface());
    }
}

void dispatchTick(intptr_t lParam) {
    auto* pending = reinterpret_cast<PendingFlag*>(lParam);
    // A tick still queued when shut-down ran finds no display and no content: it does nothing.
    if (shell.shutDownBegun)
        return;
    // While paused the timer's ticks are dropped, not saved up for later.
    if (aroundGameHoldsTick()) {
        clearPending(pending);
        return;
    }
    const auto began = std::chrono::steady_clock::now();
    platformNoteTick(++shell.ticksHandled);
    beginSessionTick();
    aroundGameTickBegins();
    const Scene* scene = sceneFor(sceneLoop.currentScene);
    if (scene)
        tickScene(*scene, pending);
    else
        clearPending(pending);
    aroundGameTickEnds();
    endSessionTick();
    const auto ended = std::chrono::steady_clock::now();
    noteTickTime(std::chrono::duration<double>(ended - began).count(),
                 std::chrono::duration<double>(ended.time_since_epoch()).count());
}

} // namespace

long MainWindowProc(PlatformWindow* window, unsigned message, uintptr_t wParam, intptr_t lParam) {
    switch (message) {
    case WM_DESTROY:
        // wParam is the exit code: 0 for a close or a quit, 1 for a failure, which is told here
        // while the content folder is still the working directory.
        shutDown();
        if (wParam)
            reportGoingOnFailure();
        platformPostQuitMessage(wParam ? exitFailure : exitSuccess);
        break;
    case WM_SYSCOMMAND:
        if (wParam == SC_RESTORE) {
            displayDevice.releaseSurfaces();
            displayDevice.setUp();
        }
        break;
    case WM_PALETTECHANGED:
        if (reinterpret_cast<PlatformWindow*>(wParam) != window)
            restorePaletteAfterFocus();
        break;
    case WM_QUERYNEWPALETTE:
        restorePaletteAfterFocus();
        break;
    case WM_ACTIVATEAPP:
        if (wParam == 0)
            aroundGameFocusLost();
        break;
    case TickMessage:
        dispatchTick(lParam);
        break;
    case ToggleFullScreenMessage:
        if (displayDevice.toggleFullScreen())
            rememberWindowMode(displayDevice.cooperativeFlags & DDSCL_EXCLUSIVE ? 1 : 0);
        break;
    case WM_SIZE:
    case WM_PAINT:
        // The last frame at once in the new size, rather than black or stale until the next tick;
        // not when a new frame waits to be drawn anyway, which would only delay it.
        if (!sceneLoop.frameReady)
            displayDevice.showFrameAgain();
        break;
    default:
        break;
    }
    return 0;
}

void idleStep() {
    if (sceneLoop.frameReady == 0 || sceneLoop.renderBusy == 1)
        return;
    sceneLoop.renderBusy = 1;
    const auto began = std::chrono::steady_clock::now();
    const Scene* scene = sceneFor(sceneLoop.currentScene);
    if (scene && scene->render && !scene->render()) {
        if (scene->renderEndSuccessor)
            sceneLoop.currentScene = scene->renderEndSuccessor;
        else
            postFailure();
    }
    noteFrameTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count());
    sceneLoop.frameReady = 0;
    sceneLoop.renderBusy = 0;
    sessionFrameDrawn();
}

} // namespace kavorind
