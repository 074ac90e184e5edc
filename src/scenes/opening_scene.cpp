#include "scenes/opening_scene.h"

#include "assets/content_catalogue.h"
#include "display/display_device.h"
#include "input/key_state.h"
#include "scenes/scene_palette.h"
#include "scenes/scene_trace.h"
#include "sound/sound_device.h"

namespace kavorind {

OpeningScene openingScene;

namespace {

// The text rises one row per tick out of the line y = 350 until its top reaches y = 99.
constexpr int fullRise = 251;
constexpr int riseLine = 350;
constexpr int textWidth = 540;

void resetOpening() {
    openingScene.riseHeight = 0;
    openingScene.openingFade = 0;
    openingScene.animationWait = 0;
    catalogue.openingAnimation.setCurrentIndex(0);
}

int openingLeave() {
    return SceneGame;
}

void openingTrace(TraceFields& fields) {
    traceField(fields, "riseHeight", openingScene.riseHeight);
    traceField(fields, "animationWait", openingScene.animationWait);
    traceField(fields, "openingFade", openingScene.openingFade);
    traceNestedField(fields, "openingAnimation", "currentIndex",
                     catalogue.openingAnimation.currentIndex());
}

} // namespace

const Scene openingSceneProtocol{.started = &openingScene.started,
                                 .start = openingStart,
                                 .stop = openingStop,
                                 .update = openingUpdate,
                                 .render = openingRender,
                                 .leave = openingLeave,
                                 .trace = openingTrace};

int openingStart() {
    resetOpening();
    soundDevice.releaseAll();
    if (soundDevice.open(displaySettings.window)) {
        soundDevice.setChannelCount(1);
        soundDevice.assignClip(catalogue.openingMusic, 0);
    }
    soundDevice.play(0, 1);
    if (!installPalette(catalogue.gamePalette)) {
        openingStop();
        return 0;
    }
    return 1;
}

void openingStop() {
    resetOpening();
    soundDevice.releaseAll();
}

// Z or Escape lifts the whole text at once; the animation then plays through once at one frame
// every second tick, and the screen fades to black.
int openingUpdate() {
    sampleKeys();
    int rows = keyPressed(VK_Z) || keyPressed(VK_ESCAPE) ? fullRise : openingScene.riseHeight;
    openingScene.riseHeight = rows + 1;
    if (openingScene.riseHeight < 250)
        return 1;
    openingScene.riseHeight = fullRise;
    uint32_t next = static_cast<uint32_t>(catalogue.openingAnimation.currentIndex()) + 1;
    if (next < catalogue.openingAnimation.frameCount()) {
        if (++openingScene.animationWait >= 2) {
            catalogue.openingAnimation.setCurrentIndex(static_cast<int>(next));
            openingScene.animationWait = 0;
        }
        return 1;
    }
    openingScene.openingFade += 10;
    if (openingScene.openingFade >= 100)
        return 0;
    displayDevice.palette.fade(static_cast<unsigned>(openingScene.openingFade));
    return 1;
}

int openingRender() {
    Surface* back = displayDevice.backSurface();
    if (!back)
        return 0;
    colourFill(back, 0);
    catalogue.openingBackground.blitWhole(back, 20, 40);
    catalogue.openingAnimation.drawCurrent(back, 335, 230);
    catalogue.openingText.blitKeyed(back, 0, 50, riseLine - openingScene.riseHeight, textWidth,
                                    openingScene.riseHeight, 0, 0);
    displayDevice.present();
    return 1;
}

} // namespace kavorind
