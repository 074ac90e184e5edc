#include "scenes/menu_scene.h"

#include "display/display_device.h"
#include "game/game_state.h"
#include "input/key_state.h"
#include "scenes/scene_palette.h"
#include "sound/sound_device.h"
#include "sound/wave_clip.h"

BitmapImage menuBackground;
BitmapImage menuEntries;
int selection = 0;
int confirming = 0;
int fadeLevel = 0;
int menuStarted = 0;

const Scene menuScene{menuStart, menuStop, menuTick, menuUpdate, menuRender};

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

int loadIfEmpty(BitmapImage& image, const char* name) {
    return image.pixelBits() ? 1 : image.load(name);
}

// The clips live only until the device has copied them into its own buffers.
void openMenuSound() {
    soundDevice.releaseAll();
    if (!soundDevice.open(displaySettings.window))
        return;
    soundDevice.setChannelCount(2);
    WaveClip music;
    WaveClip blip;
    music.load("MENU-B.WAV");
    blip.load("MENU-S.WAV");
    soundDevice.assignClip(music, musicChannel);
    soundDevice.assignClip(blip, blipChannel);
    music.release();
    blip.release();
}

void playBlip() {
    soundDevice.stop(blipChannel);
    soundDevice.play(blipChannel, 0);
}

} // namespace

int menuStart() {
    if (!loadIfEmpty(menuBackground, "Menu-b.BMP") || !loadIfEmpty(menuEntries, "Menu-s.BMP")) {
        menuStop();
        return 0;
    }
    openMenuSound();
    selection = 0;
    confirming = 0;
    fadeLevel = 0;
    soundDevice.play(musicChannel, 1);
    if (!installPalette(menuBackground)) {
        menuStop();
        return 0;
    }
    return 1;
}

void menuStop() {
    soundDevice.releaseAll();
    menuBackground.release();
    menuEntries.release();
}

// While the confirm fade runs the keys are not sampled, so their counters stand still.
int menuUpdate() {
    if (confirming == 1) {
        fadeLevel += 10;
        return fadeLevel < 100 ? 1 : 0;
    }
    sampleKeys();
    if (keyPressed(VK_UP) || keyPressed(VK_DOWN)) {
        selection = selection == 0 ? 1 : 0;
        playBlip();
    }
    if (keyPressed(VK_ESCAPE)) {
        selection = 1;
        confirming = 1;
        playBlip();
    }
    if (keyPressed(VK_Z)) {
        confirming = 1;
        playBlip();
    }
    return 1;
}

void menuTick(PendingFlag* pending) {
    if (menuStarted == 0) {
        menuStarted = 1;
        if (!menuStart())
            postDestroy();
    }
    if (menuUpdate()) {
        frameReady = 1;
        clearPending(pending);
        return;
    }
    clearAndPresent();
    if (selection == 0) {
        currentScene = SceneOpening;
        menuStarted = 0;
        menuStop();
        gameState.stageIndex = 0;
    } else {
        postDestroy();
        menuStarted = 0;
        menuStop();
    }
    clearPending(pending);
}

int menuRender() {
    Surface* back = displayDevice.backSurface();
    if (!back)
        return 0;
    colourFill(back, 0);
    menuBackground.blitWhole(back, 0, 0);
    for (int entry = 0; entry < 2; ++entry) {
        const EntryPiece& piece = entryPieces[entry];
        int sourceRow = selection == entry ? piece.selectedRow : piece.plainRow;
        menuEntries.blit(back, piece.screenX, piece.screenY, pieceWidth, pieceHeight, 0, sourceRow);
    }
    if (confirming == 1)
        displayDevice.palette.fade(static_cast<unsigned>(fadeLevel));
    displayDevice.present();
    return 1;
}
