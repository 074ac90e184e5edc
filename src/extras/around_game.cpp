#include "extras/around_game.h"

#include "display/display_device.h"
#include "extras/frame_times.h"
#include "extras/options_screen.h"
#include "extras/overlay_panels.h"
#include "extras/pause_screen.h"
#include "extras/player_files.h"
#include "extras/run_record.h"
#include "extras/screenshot.h"
#include "game/game_state.h"
#include "input/bindings.h"
#include "platform/page_bridge.h"
#include "platform/video.h"
#include "scenes/scene_protocol.h"
#include "shell/session.h"

namespace kavorind {

AroundGame aroundGame;

namespace {

// About 2 seconds of "you have the controls" after a take-over, 3 of the stage's title.
constexpr int takeOverNoticeTicks = 60;
constexpr int stageTitleTicks = 90;

void showStageTitle(int firstOfRun) {
    StageTitle& title = aroundGame.title;
    title.ticksLeft = stageTitleTicks;
    title.stage = game.state.stageIndex + 1;
    title.withKeys = firstOfRun;
}

// The table is read when the scores key goes down in the menu, not at every frame it is held.
void followScoreBoard() {
    ScoreBoard& board = aroundGame.board;
    const int wanted = sceneLoop.currentScene == SceneMenu && shellActionDown(ACTION_SCORES);
    if (wanted && !board.showing && !aroundGame.setup.playerFolder.empty()) {
        ScoreTable table = loadScoreTable(scoresFilePath(aroundGame.setup.playerFolder));
        board.entries = tableFor(table, aroundGame.setup.fingerprint);
    }
    board.showing = wanted;
}

void followTakeOver() {
    if (session.takenOverAt && !aroundGame.takeOverNoted) {
        aroundGame.takeOverNoted = 1;
        aroundGame.takeOverTicksLeft = takeOverNoticeTicks;
    } else if (aroundGame.takeOverTicksLeft > 0) {
        --aroundGame.takeOverTicksLeft;
    }
}

} // namespace

void startAroundGame(const AroundGameSetup& setup) {
    aroundGame = AroundGame{};
    aroundGame.enabled = 1;
    aroundGame.setup = setup;
    session.snapshotting = 1;
    session.takeOver = 1;
    platformSetOverlayPainter(paintAroundGame);
    startScreenshots();
    // The craft's reload until a game sets its own; each tick passes the game's down again.
    setHoldToFire(setup.holdToFire ? craftReloadTicks : 0);
    setPresentColours(setup.reduceFlashing ? coloursShownFor : nullptr);
    if (!setup.playerFolder.empty())
        platformPlayerFilesChanged(setup.playerFolder.c_str(),
                                   aroundGame.setup.fingerprint.c_str());
}

int aroundGameHoldsTick() {
    if (!aroundGame.enabled)
        return 0;
    followScreenshotKey();
    followFrameTimesKey();
    if (optionsScreenHoldsTick())
        return 1;
    if (pauseHoldsTick())
        return 1;
    stepHoldToFire(sceneLoop.currentScene == SceneGame, game.state.shotReload);
    return 0;
}

void aroundGameTickBegins() {
    if (!aroundGame.enabled)
        return;
    const int stageStarts = sceneLoop.currentScene == SceneGame && game.scene.gameStarted == 0;
    const int runStarts = stageStarts && !aroundGame.run.active;
    noteRunTickBegins();
    if (stageStarts)
        showStageTitle(runStarts);
}

void aroundGameTickEnds() {
    if (!aroundGame.enabled)
        return;
    noteRunTickEnds();
    if (aroundGame.title.ticksLeft > 0)
        --aroundGame.title.ticksLeft;
    followTakeOver();
    followScoreBoard();
}

void aroundGameFocusLost() {
    if (aroundGame.enabled && aroundGame.setup.pauseOnFocusLoss)
        beginPause();
}

// The hit flash turns the whole palette red for one frame; reduced, the window shows that frame
// through the colours the flash will put back.
const uint32_t* coloursShownFor(const uint32_t* paletteColours) {
    if (!hitFlashReduced())
        return paletteColours;
    DevicePalette calm;
    setPaletteEntries(&calm, displayDevice.palette.reference);
    aroundGame.calmColours = calm.argb;
    return aroundGame.calmColours.data();
}

void showOverlayChange() {
    if (!sceneLoop.frameReady)
        displayDevice.showFrameAgain();
}

int hitFlashReduced() {
    return aroundGame.enabled && aroundGame.setup.reduceFlashing &&
           sceneLoop.currentScene == SceneGame && game.scene.hitFlash == 2;
}

void finishAroundGame() {
    if (!aroundGame.enabled)
        return;
    closeRunAtExit();
    platformSetOverlayPainter(nullptr);
    stopScreenshots();
    setPresentColours(nullptr);
    setHoldToFire(0);
    aroundGame.enabled = 0;
}

} // namespace kavorind
