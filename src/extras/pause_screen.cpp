#include "extras/pause_screen.h"

#include "extras/around_game.h"
#include "extras/options_screen.h"
#include "input/bindings.h"
#include "platform/audio.h"
#include "platform/keyboard.h"
#include "scenes/scene_protocol.h"

namespace kavorind {

namespace {

// 1 when down now and not at the last look.
int newlyDown(int down, int* before) {
    const int pressed = down && !*before;
    *before = down ? 1 : 0;
    return pressed;
}

} // namespace

void beginPause() {
    PauseScreen& pause = aroundGame.pause;
    if (pause.paused)
        return;
    pause.paused = 1;
    // Escape is held to leave the stage: one already down when the pause began leaves nothing.
    pause.escapeDown = platformKeyDown(VK_ESCAPE) ? 1 : 0;
    pause.confirmDown = platformPhysicalKeyDown(VK_RETURN) || platformKeyDown(VK_Z);
    platformAudioPause(1);
    showOverlayChange();
}

void endPause() {
    PauseScreen& pause = aroundGame.pause;
    if (!pause.paused)
        return;
    pause.paused = 0;
    platformAudioPause(0);
    showOverlayChange();
}

int pauseHoldsTick() {
    PauseScreen& pause = aroundGame.pause;
    const int pausePressed = newlyDown(shellActionDown(ACTION_PAUSE), &pause.pauseKeyDown);
    if (!pause.paused) {
        if (pausePressed)
            beginPause();
        return pause.paused;
    }
    const int escapePressed = newlyDown(platformKeyDown(VK_ESCAPE), &pause.escapeDown);
    // Return (and the pad's fire) opens the options from the pause, whatever F1 is bound to.
    const int optionsPressed =
        newlyDown(platformPhysicalKeyDown(VK_RETURN) || platformKeyDown(VK_Z), &pause.confirmDown);
    if (pausePressed || escapePressed)
        endPause();
    else if (optionsPressed)
        openOptionsScreen();
    return pause.paused;
}

} // namespace kavorind
