#include "scenes/opening_scene.h"

#include "display/display_device.h"
#include "input/key_state.h"
#include "scenes/scene_palette.h"
#include "shell/content_catalogue.h"
#include "sound/sound_device.h"

int riseHeight = 0;
int animationWait = 0;
int openingFade = 0;
int openingStarted = 0;

const Scene openingScene{openingStart, openingStop, openingTick, openingUpdate, openingRender};

namespace {

// The text rises one row per tick out of the line y = 350 until its top reaches y = 99.
constexpr int fullRise = 251;
constexpr int riseLine = 350;
constexpr int textWidth = 540;

void resetOpening() {
    riseHeight = 0;
    openingFade = 0;
    animationWait = 0;
    openingAnimation.setCurrentIndex(0);
}

} // namespace

int openingStart() {
    resetOpening();
    soundDevice.releaseAll();
    if (soundDevice.open(displaySettings.window)) {
        soundDevice.setChannelCount(1);
        soundDevice.assignClip(openingMusic, 0);
    }
    soundDevice.play(0, 1);
    if (!installPalette(gamePalette)) {
        openingStop();
        return 0;
    }
    return 1;
}

void openingStop() {
    resetOpening();
    soundDevice.releaseAll();
}

void openingTick(PendingFlag* pending) {
    if (!runSceneTick(openingScene, &openingStarted, pending))
        currentScene = SceneGame;
}

// Z or Escape lifts the whole text at once; the animation then plays through once at one frame
// every second tick, and the screen fades to black.
int openingUpdate() {
    sampleKeys();
    int rows = keyPressed(VK_Z) || keyPressed(VK_ESCAPE) ? fullRise : riseHeight;
    riseHeight = rows + 1;
    if (riseHeight < 250)
        return 1;
    riseHeight = fullRise;
    uint32_t next = static_cast<uint32_t>(openingAnimation.currentIndex()) + 1;
    if (next < openingAnimation.frameCount()) {
        if (++animationWait >= 2) {
            openingAnimation.setCurrentIndex(static_cast<int>(next));
            animationWait = 0;
        }
        return 1;
    }
    openingFade += 10;
    if (openingFade >= 100)
        return 0;
    displayDevice.palette.fade(static_cast<unsigned>(openingFade));
    return 1;
}

int openingRender() {
    Surface* back = displayDevice.backSurface();
    if (!back)
        return 0;
    colourFill(back, 0);
    openingBackground.blitWhole(back, 20, 40);
    openingAnimation.drawCurrent(back, 335, 230);
    openingText.blitKeyed(back, 0, 50, riseLine - riseHeight, textWidth, riseHeight, 0, 0);
    displayDevice.present();
    return 1;
}
