#include "scenes/ending_scene.h"

#include "assets/content_catalogue.h"
#include "display/display_device.h"
#include "input/key_state.h"
#include "scenes/scene_palette.h"
#include "scenes/scene_trace.h"
#include "sound/sound_device.h"
#include "sound/wave_clip.h"

namespace kavorind {

EndingScene endingScene;

namespace {

int endingLeave() {
    return SceneMenu;
}

void endingTrace(TraceFields& fields) {
    traceField(fields, "endingLeaving", endingScene.endingLeaving);
    traceField(fields, "endingFade", endingScene.endingFade);
    traceNestedField(fields, "endingAnimation", "currentIndex",
                     catalogue.endingAnimation.currentIndex());
}

} // namespace

const Scene endingSceneProtocol{.started = &endingScene.started,
                                .start = endingStart,
                                .stop = endingStop,
                                .update = endingUpdate,
                                .render = endingRender,
                                .leave = endingLeave,
                                .trace = endingTrace};

int endingStart() {
    endingScene.endingLeaving = 0;
    endingScene.endingFade = 0;
    soundDevice.releaseAll();
    if (soundDevice.open(displaySettings.window)) {
        soundDevice.setChannelCount(1);
        if (endingScene.music.isEmpty())
            endingScene.music.load("Ending-B.WAV");
        soundDevice.assignClip(endingScene.music, 0);
    }
    soundDevice.play(0, 1);
    if (!installPalette(catalogue.gamePalette)) {
        endingStop();
        return 0;
    }
    return 1;
}

void endingStop() {
    endingScene.endingLeaving = 0;
    endingScene.endingFade = 0;
    soundDevice.releaseAll();
}

// The animation loops at one frame per tick, also while the screen fades.
int endingUpdate() {
    sampleKeys();
    if (keyPressed(VK_Z) || keyPressed(VK_ESCAPE))
        endingScene.endingLeaving = 1;
    uint32_t next = static_cast<uint32_t>(catalogue.endingAnimation.currentIndex()) + 1;
    catalogue.endingAnimation.setCurrentIndex(
        next < catalogue.endingAnimation.frameCount() ? static_cast<int>(next) : 0);
    if (endingScene.endingLeaving == 1) {
        endingScene.endingFade += 10;
        if (endingScene.endingFade >= 100)
            return 0;
        displayDevice.palette.fade(static_cast<unsigned>(endingScene.endingFade));
    }
    return 1;
}

int endingRender() {
    Surface* back = displayDevice.backSurface();
    if (!back)
        return 0;
    colourFill(back, 0);
    catalogue.endingAnimation.drawCurrent(back, 320, 240);
    displayDevice.present();
    return 1;
}

} // namespace kavorind
