#include "scenes/logo_scene.h"

#include "assets/content_catalogue.h"
#include "display/display_device.h"
#include "input/key_state.h"
#include "scenes/scene_palette.h"
#include "scenes/scene_trace.h"

namespace kavorind {

LogoScene logoScene;

namespace {

constexpr int fadeStep = 4;
constexpr int holdTicks = 30;

void logoTrace(TraceFields& fields) {
    traceField(fields, "logoPhase", logoScene.logoPhase);
    traceField(fields, "logoCounter", logoScene.logoCounter);
}

} // namespace

// The logo keeps its own tick (it reads the keys before its start) and ends through its render.
const Scene logoSceneProtocol{.started = &logoScene.started,
                              .start = logoStart,
                              .render = logoRender,
                              .tick = logoTick,
                              .renderEndSuccessor = SceneMenu,
                              .trace = logoTrace};

int logoStart() {
    if (!installPalette(catalogue.logoPicture))
        return 0;
    displayDevice.palette.fade(100);
    return 1;
}

// The logo reads the keys before anything else, so Z or Escape skips it even on its first tick,
// before its colours are ever installed.
void logoTick(PendingFlag* pending) {
    sampleKeys();
    if (keyPressed(VK_Z) || keyPressed(VK_ESCAPE)) {
        sceneLoop.currentScene = SceneMenu;
        logoScene.started = 0;
        clearPending(pending);
        clearAndPresent();
        return;
    }
    if (logoScene.started == 0) {
        logoScene.started = 1;
        if (!logoStart())
            postFailure();
    }
    if (logoScene.logoPhase == 0)
        logoScene.logoCounter -= fadeStep;
    else if (logoScene.logoPhase == 1)
        logoScene.logoCounter += 1;
    else
        logoScene.logoCounter += fadeStep;
    sceneLoop.frameReady = 1;
    clearPending(pending);
}

// The render keeps the fade phases: fade-in to level 4 (a level of 0 is refused, so the picture
// holds at 96 per cent), a 31-tick hold, then the fade-out, whose last frame is replaced by black.
int logoRender() {
    Surface* back = displayDevice.backSurface();
    if (!back)
        return 0;
    colourFill(back, 0);
    int x = displayDevice.width / 2 - catalogue.logoPicture.width() / 2;
    int y = displayDevice.height / 2 - catalogue.logoPicture.height() / 2;
    catalogue.logoPicture.blitKeyedWhole(back, 0, x, y);
    if (logoScene.logoPhase == 0) {
        displayDevice.palette.fade(static_cast<unsigned>(logoScene.logoCounter));
        if (logoScene.logoCounter <= 2) {
            logoScene.logoCounter = 0;
            logoScene.logoPhase = 1;
        }
    } else if (logoScene.logoPhase == 1) {
        if (logoScene.logoCounter > holdTicks) {
            logoScene.logoCounter = 0;
            logoScene.logoPhase = 2;
        }
    } else {
        displayDevice.palette.fade(static_cast<unsigned>(logoScene.logoCounter));
        if (logoScene.logoCounter >= 100) {
            logoScene.logoCounter = 100;
            logoScene.logoPhase = 0;
            colourFill(back, 0);
            displayDevice.present();
            return 0;
        }
    }
    displayDevice.present();
    return 1;
}

} // namespace kavorind
