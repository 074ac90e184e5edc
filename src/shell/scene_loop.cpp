#include "shell/scene_loop.h"

#include "platform/messages.h"
#include "shell/shutdown.h"

DisplaySettings displaySettings;
int currentScene = 0;
int frameReady = 0;
int renderBusy = 0;

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
    // A tick still queued when shut-down ran finds no display and no content: it does nothing.
    if (shutDownBegun)
        return;
    const Scene* scene = sceneFor(currentScene);
    if (scene && scene->tick)
        scene->tick(reinterpret_cast<PendingFlag*>(lParam));
}

} // namespace

const Scene* sceneFor(int number) {
    if (number < 1 || number > sceneCount)
        return nullptr;
    return sceneTable[number];
}

void postDestroy() {
    platformPostMessage(displaySettings.window, WM_DESTROY, 0, 0);
}

long MainWindowProc(PlatformWindow* window, unsigned message, uintptr_t wParam, intptr_t lParam) {
    switch (message) {
    case WM_DESTROY:
        shutDown();
        platformPostQuitMessage(0);
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
    case TickMessage:
        dispatchTick(lParam);
        break;
    default:
        break;
    }
    return 0;
}

void idleStep() {
    if (frameReady == 0 || renderBusy == 1)
        return;
    renderBusy = 1;
    const Scene* scene = sceneFor(currentScene);
    if (scene && scene->render) {
        int drawn = scene->render();
        // The logo's render returning 0 is its normal end, not a failure.
        if (drawn == 0 && currentScene == SceneLogo)
            currentScene = SceneMenu;
        else if (drawn == 0)
            postDestroy();
    }
    frameReady = 0;
    renderBusy = 0;
}

void clearAndPresent() {
    colourFill(displayDevice.backSurface(), 0);
    displayDevice.present();
}

void clearPending(PendingFlag* pending) {
    if (pending)
        pending->store(0);
}

int runSceneTick(const Scene& scene, int* started, PendingFlag* pending) {
    if (*started == 0) {
        *started = 1;
        if (!scene.start || !scene.start())
            postDestroy();
    }
    if (scene.update && scene.update()) {
        frameReady = 1;
        clearPending(pending);
        return 1;
    }
    if (scene.stop)
        scene.stop();
    *started = 0;
    clearPending(pending);
    clearAndPresent();
    return 0;
}
