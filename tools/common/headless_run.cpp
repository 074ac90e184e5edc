#include "common/headless_run.h"

#include "game/game_state.h"
#include "game/game_types.h"
#include "platform/timer.h"
#include "platform/video.h"
#include "scenes/scene_protocol.h"
#include "shell/entry.h"
#include "shell/frame_timer.h"
#include "shell/window_procedure.h"

#include <cstdlib>

namespace kavorind {

void prepareHeadlessRun(PlatformKeySource keys) {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    platformSetManualTimers(1);
    platformSetMessageBoxesEnabled(0);
    platformSetScreenOutput(0);
    platformSetKeySource(keys);
}

int runHeadlessTick(int* exitCode, int* rendered) {
    *rendered = 0;
    onTimer(frameTimer.frameTimerId);
    if (!dispatchWaitingMessages(exitCode))
        return 0;
    if (sceneLoop.frameReady && !sceneLoop.renderBusy) {
        idleStep();
        *rendered = 1;
    }
    return 1;
}

int closeHeadlessRun() {
    postDestroy();
    int exitCode = 0;
    while (dispatchWaitingMessages(&exitCode)) {
    }
    return exitCode;
}

void startInScene(int scene, int stage) {
    sceneLoop.currentScene = scene;
    if (stage < 0)
        return;
    game.state.stageIndex = stage;
    if (stage > 0 || scene == SceneStageClear)
        newGame(&game.state, gameTypes.flightDelay, gameTypes.attackDelay, gameTypes.deathDelay);
    if (scene == SceneStageClear)
        game.scene.lastStageCleared = stage == 2 ? 1 : 0;
}

} // namespace kavorind
