#include "scenes/ending_scene.h"

#include "display/display_device.h"
#include "input/key_state.h"
#include "scenes/scene_palette.h"
#include "shell/content_catalogue.h"
#include "sound/sound_device.h"
#include "sound/wave_clip.h"

int endingLeaving = 0;
int endingFade = 0;
int endingStarted = 0;

const Scene endingScene{endingStart, endingStop, endingTick, endingUpdate, endingRender};

int endingStart() {
    endingLeaving = 0;
    endingFade = 0;
    soundDevice.releaseAll();
    WaveClip music;
    if (soundDevice.open(displaySettings.window)) {
        soundDevice.setChannelCount(1);
        music.load("Ending-B.WAV");
        soundDevice.assignClip(music, 0);
    }
    soundDevice.play(0, 1);
    music.release();
    if (!installPalette(gamePalette)) {
        endingStop();
        return 0;
    }
    return 1;
}

void endingStop() {
    endingLeaving = 0;
    endingFade = 0;
    soundDevice.releaseAll();
}

void endingTick(PendingFlag* pending) {
    if (!runSceneTick(endingScene, &endingStarted, pending))
        currentScene = SceneMenu;
}

// The animation loops at one frame per tick, also while the screen fades.
int endingUpdate() {
    sampleKeys();
    if (keyPressed(VK_Z) || keyPressed(VK_ESCAPE))
        endingLeaving = 1;
    uint32_t next = static_cast<uint32_t>(endingAnimation.currentIndex()) + 1;
    endingAnimation.setCurrentIndex(next < endingAnimation.frameCount() ? static_cast<int>(next)
                                                                        : 0);
    if (endingLeaving == 1) {
        endingFade += 10;
        if (endingFade >= 100)
            return 0;
        displayDevice.palette.fade(static_cast<unsigned>(endingFade));
    }
    return 1;
}

int endingRender() {
    Surface* back = displayDevice.backSurface();
    if (!back)
        return 0;
    colourFill(back, 0);
    endingAnimation.drawCurrent(back, 320, 240);
    displayDevice.present();
    return 1;
}
