#include "shell/shutdown.h"

#include "assets/content_catalogue.h"
#include "display/display_device.h"
#include "platform/video.h"
#include "scenes/scene_table.h"
#include "shell/frame_timer.h"
#include "sound/sound_device.h"

namespace kavorind {

Shell shell;

void shutDown() {
    shell.shutDownBegun = 1;
    for (int number : scenesStoppedAtShutDown) {
        const Scene* scene = sceneFor(number);
        if (scene && scene->stop)
            scene->stop();
    }
    releaseContent();
    stopTimer(frameTimer.frameTimerId);
    displayDevice.destroy();
    soundDevice.releaseAll();
    platformShowCursor(1);
}

} // namespace kavorind
