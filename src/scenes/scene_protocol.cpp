#include "scenes/scene_protocol.h"

#include "display/display_device.h"
#include "platform/messages.h"

namespace kavorind {

SceneLoop sceneLoop;

void clearPending(PendingFlag* pending) {
    if (pending)
        pending->store(0);
}

void clearAndPresent() {
    colourFill(displayDevice.backSurface(), 0);
    displayDevice.present();
}

void postDestroy() {
    platformPostMessage(displaySettings.window, WM_DESTROY, 0, 0);
}

void postFailure() {
    platformPostMessage(displaySettings.window, WM_DESTROY, 1, 0);
}

void runSceneTick(const Scene& scene, PendingFlag* pending) {
    if (*scene.started == 0) {
        *scene.started = 1;
        if (!scene.start || !scene.start())
            postFailure();
    }
    if (scene.update && scene.update()) {
        sceneLoop.frameReady = 1;
        clearPending(pending);
        return;
    }
    if (scene.stop)
        scene.stop();
    *scene.started = 0;
    clearPending(pending);
    clearAndPresent();
    if (scene.leave)
        sceneLoop.currentScene = scene.leave();
}

void tickScene(const Scene& scene, PendingFlag* pending) {
    if (scene.tick)
        scene.tick(pending);
    else
        runSceneTick(scene, pending);
    // Whatever the scene did, the timer is let through again: no scene can leave it silent.
    clearPending(pending);
}

} // namespace kavorind
