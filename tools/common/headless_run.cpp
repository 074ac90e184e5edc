#include "common/headless_run.h"

#include "platform/platform.h"
#include "platform/timer.h"
#include "platform/video.h"
#include "scenes/scene_protocol.h"
#include "shell/entry.h"
#include "shell/frame_timer.h"
#include "shell/run_start.h"
#include "shell/window_procedure.h"

#include <chrono>
#include <cstdlib>

namespace kavorind {

void prepareHeadlessRun(PlatformKeySource keys) {
    platformPreferHeadlessDrivers();
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
    RunStart start;
    start.scene = scene;
    start.stage = stage;
    startRun(start);
}

} // namespace kavorind
