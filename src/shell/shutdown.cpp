#include "shell/shutdown.h"

#include "display/display_device.h"
#include "platform/video.h"
#include "shell/content_catalogue.h"
#include "shell/frame_timer.h"
#include "shell/scene_loop.h"
#include "sound/sound_device.h"

int shutDownBegun = 0;

namespace {

void stopScene(int number) {
    const Scene* scene = sceneFor(number);
    if (scene && scene->stop)
        scene->stop();
}

} // namespace

void shutDown() {
    shutDownBegun = 1;
    // The logo and the opening hold nothing that outlives them.
    stopScene(SceneStageClear);
    stopScene(SceneEnding);
    stopScene(SceneMenu);
    stopScene(SceneGame);
    releaseContent();
    stopTimer(frameTimerId);
    displayDevice.destroy();
    soundDevice.releaseAll();
    platformShowCursor(1);
}
