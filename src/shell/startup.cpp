#include "shell/startup.h"

#include "assets/content_catalogue.h"
#include "display/display_device.h"
#include "game/game_state.h"
#include "input/key_state.h"
#include "platform/video.h"
#include "scenes/scene_protocol.h"
#include "shell/frame_timer.h"
#include "shell/shutdown.h"
#include "shell/window_procedure.h"
#include "sound/sound_device.h"

namespace kavorind {

int startUp() {
    shell.shutDownBegun = 0;
    if (!displayDevice.start(displaySettings))
        return 0;
    // Without a sound device the game runs silent.
    soundDevice.open(displaySettings.window);
    if (!startTimer(30, &frameTimer.frameTimerId, displaySettings.window, TickMessage))
        return 0;
    platformShowCursor(0);
    clearKeys();
    gameState.stageIndex = 0;
    sceneLoop.frameReady = 0;
    sceneLoop.renderBusy = 0;
    sceneLoop.currentScene = SceneLogo;
    if (loadContent())
        return 1;
    shutDown();
    return 0;
}

} // namespace kavorind
