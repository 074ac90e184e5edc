#include "scenes/logo_scene.h"

#include "display/display_device.h"
#include "input/key_state.h"
#include "scenes/scene_palette.h"
#include "shell/content_catalogue.h"

int logoPhase = 0;
int logoCounter = 100;
int logoStarted = 0;

const Scene logoScene{logoStart, nullptr, logoTick, nullptr, logoRender};

namespace {

constexpr int fadeStep = 4;
constexpr int holdTicks = 30;

} // namespace

int logoStart() {
    if (!installPalette(logoPicture))
        return 0;
    displayDevice.palette.fade(100);
    return 1;
}

// The logo reads the keys before anything else, so Z or Escape skips it even on its first tick,
// before its colours are ever installed.
void logoTick(PendingFlag* pending) {
    sampleKeys();
    if (keyPressed(VK_Z) || keyPressed(VK_ESCAPE)) {
        currentScene = SceneMenu;
        logoStarted = 0;
        clearPending(pending);
        clearAndPresent();
        return;
    }
    if (logoStarted == 0) {
        logoStarted = 1;
        if (!logoStart())
            postDestroy();
    }
    if (logoPhase == 0)
        logoCounter -= fadeStep;
    else if (logoPhase == 1)
        logoCounter += 1;
    else
        logoCounter += fadeStep;
    frameReady = 1;
    clearPending(pending);
}

// The render keeps the fade phases: fade-in to level 4 (a level of 0 is refused, so the picture
// holds at 96 per cent), a 31-tick hold, then the fade-out, whose last frame is replaced by black.
int logoRender() {
    Surface* back = displayDevice.backSurface();
    if (!back)
        return 0;
    colourFill(back, 0);
    int x = displayDevice.width / 2 - logoPicture.width() / 2;
    int y = displayDevice.height / 2 - logoPicture.height() / 2;
    logoPicture.blitKeyedWhole(back, 0, x, y);
    if (logoPhase == 0) {
        displayDevice.palette.fade(static_cast<unsigned>(logoCounter));
        if (logoCounter <= 2) {
            logoCounter = 0;
            logoPhase = 1;
        }
    } else if (logoPhase == 1) {
        if (logoCounter > holdTicks) {
            logoCounter = 0;
            logoPhase = 2;
        }
    } else {
        displayDevice.palette.fade(static_cast<unsigned>(logoCounter));
        if (logoCounter >= 100) {
            logoCounter = 100;
            logoPhase = 0;
            colourFill(back, 0);
            displayDevice.present();
            return 0;
        }
    }
    displayDevice.present();
    return 1;
}
