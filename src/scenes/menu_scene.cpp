#include "scenes/menu_scene.h"

#include "assets/content_catalogue.h"
#include "display/display_device.h"
#include "game/game_state.h"
#include "input/key_state.h"
#include "scenes/scene_palette.h"
#include "scenes/scene_trace.h"
#include "sound/sound_device.h"
#include "sound/wave_clip.h"

namespace kavorind {

MenuScene menuScene;

namespace {

constexpr uint32_t musicChannel = 0;
constexpr uint32_t blipChannel = 1;

// Each entry piece is 160 x 40, taken from column 0 of the entries sheet. The source rows are 0,
// 39, 77 and 117, so neighbouring pieces share a row or two.
struct EntryPiece {
    int screenX;
    int screenY;
    int selectedRow;
    int plainRow;
};
constexpr EntryPiece entryPieces[2] = {{237, 250, 39, 0}, {237, 300, 117, 77}};
constexpr int pieceWidth = 160;
constexpr int pieceHeight = 40;

// A picture that will not load is noted, so that the program's end names it.
int loadIfEmpty(BitmapImage& image, const char* name) {
    if (!image.isEmpty() || image.load(name))
        return 1;
    noteContentLoadFailure(name);
    return 0;
}

// A clip that did not load is tried again at the next visit.
void openMenuSound() {
    soundDevice.releaseAll();
    if (!soundDevice.open(displaySettings.window))
        return;
    soundDevice.setChannelCount(2);
    if (menuScene.music.isEmpty())
        menuScene.music.load("MENU-B.WAV");
    if (menuScene.blip.isEmpty())
        menuScene.blip.load("MENU-S.WAV");
    soundDevice.assignClip(menuScene.music, musicChannel);
    soundDevice.assignClip(menuScene.blip, blipChannel);
}

void playBlip() {
    soundDevice.stop(blipChannel);
    soundDevice.play(blipChannel, 0);
}

void menuTrace(TraceFields& fields) {
    traceField(fields, "selection", menuScene.selection);
    traceField(fields, "confirming", menuScene.confirming);
    traceField(fields, "fadeLevel", menuScene.fadeLevel);
}

} // namespace

// The menu keeps its own tick: it shows its black frame before it lets go of its resources, and
// its quit entry ends the program instead of naming a successor.
const Scene menuSceneProtocol{.started = &menuScene.started,
                              .start = menuStart,
                              .stop = menuStop,
                              .update = menuUpdate,
                              .render = menuRender,
                              .tick = menuTick,
                              .trace = menuTrace};

int menuStart() {
    if (!loadIfEmpty(menuScene.background, "Menu-b.BMP") ||
        !loadIfEmpty(menuScene.entries, "Menu-s.BMP")) {
        menuStop();
        return 0;
    }
    openMenuSound();
    menuScene.selection = 0;
    menuScene.confirming = 0;
    menuScene.fadeLevel = 0;
    soundDevice.play(musicChannel, 1);
    if (!installPalette(menuScene.background)) {
        menuStop();
        return 0;
    }
    return 1;
}

void menuStop() {
    soundDevice.releaseAll();
    menuScene.background.release();
    menuScene.entries.release();
}

// While the confirm fade runs the keys are not sampled, so their counters stand still.
int menuUpdate() {
    if (menuScene.confirming == 1) {
        menuScene.fadeLevel += 10;
        return menuScene.fadeLevel < 100 ? 1 : 0;
    }
    sampleKeys();
    if (keyPressed(VK_UP) || keyPressed(VK_DOWN)) {
        menuScene.selection = menuScene.selection == 0 ? 1 : 0;
        playBlip();
    }
    if (keyPressed(VK_ESCAPE)) {
        menuScene.selection = 1;
        menuScene.confirming = 1;
        playBlip();
    }
    if (keyPressed(VK_Z)) {
        menuScene.confirming = 1;
        playBlip();
    }
    return 1;
}

void menuTick(PendingFlag* pending) {
    if (menuScene.started == 0) {
        menuScene.started = 1;
        if (!menuStart())
            postFailure();
    }
    if (menuUpdate()) {
        sceneLoop.frameReady = 1;
        clearPending(pending);
        return;
    }
    clearAndPresent();
    if (menuScene.selection == 0) {
        sceneLoop.currentScene = SceneOpening;
        menuScene.started = 0;
        menuStop();
        game.state.stageIndex = 0;
    } else {
        postDestroy();
        menuScene.started = 0;
        menuStop();
    }
    clearPending(pending);
}

int menuRender() {
    Surface* back = displayDevice.backSurface();
    if (!back)
        return 0;
    colourFill(back, 0);
    menuScene.background.blitWhole(back, 0, 0);
    for (int entry = 0; entry < 2; ++entry) {
        const EntryPiece& piece = entryPieces[entry];
        int sourceRow = menuScene.selection == entry ? piece.selectedRow : piece.plainRow;
        menuScene.entries.blit(back, piece.screenX, piece.screenY, pieceWidth, pieceHeight, 0,
                               sourceRow);
    }
    if (menuScene.confirming == 1)
        displayDevice.palette.fade(static_cast<unsigned>(menuScene.fadeLevel));
    displayDevice.present();
    return 1;
}

} // namespace kavorind
