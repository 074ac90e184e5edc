#include "shell/startup.h"

#include "display/display_device.h"
#include "game/game_state.h"
#include "input/key_state.h"
#include "platform/video.h"
#include "shell/content_catalogue.h"
#include "shell/frame_timer.h"
#include "shell/scene_loop.h"
#include "shell/shutdown.h"
#include "sound/sound_device.h"

int startUp() {
    shutDownBegun = 0;
    if (!displayDevice.start(displaySettings))
        return 0;
    // Without a sound device the game runs silent.
    soundDevice.open(displaySettings.window);
    if (!startTimer(30, &frameTimerId, displaySettings.window, TickMessage))
        return 0;
    platformShowCursor(0);
    clearKeys();
    gameState.stageIndex = 0;
    frameReady = 0;
    renderBusy = 0;
    currentScene = SceneLogo;
    if (loadContent())
        return 1;
    shutDown();
    return 0;
}
