#include "common/headless_run.h"

#include "game/game_state.h"
#include "game/game_types.h"
#include "platform/timer.h"
#include "platform/video.h"
#include "scenes/scene_protocol.h"
#include "shell/entry.h"
#include "shell/frame_timer.h"
#include "shell/window_procedure.h"

#include <chrono>
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

namespace {

using HeadlessClock = std::chrono::steady_clock;

double secondsSince(HeadlessClock::time_point began) {
    return std::chrono::duration<double>(HeadlessClock::now() - began).count();
}

} // namespace

int runHeadlessTick(int* exitCode, int* rendered, HeadlessTickCost* cost) {
    HeadlessTickCost spent;
    *rendered = 0;
    auto began = HeadlessClock::now();
    onTimer(frameTimer.frameTimerId);
    int running = dispatchWaitingMessages(exitCode);
    spent.tickSeconds = secondsSince(began);
    if (running && sceneLoop.frameReady && !sceneLoop.renderBusy) {
        began = HeadlessClock::now();
        idleStep();
        spent.renderSeconds = secondsSince(began);
        *rendered = 1;
    }
    if (cost)
        *cost = spent;
    return running;
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
