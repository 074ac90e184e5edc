#include "extras/around_game.h"

#include "extras/overlay_panels.h"
#include "extras/pause_screen.h"
#include "extras/player_files.h"
#include "extras/run_record.h"
#include "input/bindings.h"
#include "platform/page_bridge.h"
#include "platform/video.h"
#include "scenes/scene_protocol.h"
#include "shell/session.h"

namespace kavorind {

AroundGame aroundGame;

namespace {

// About 2 seconds of "you have the controls" after a take-over.
constexpr int takeOverNoticeTicks = 60;

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
    if (!setup.playerFolder.empty())
        platformPlayerFilesChanged(setup.playerFolder.c_str(),
                                   aroundGame.setup.fingerprint.c_str());
}

int aroundGameHoldsTick() {
    return aroundGame.enabled ? pauseHoldsTick() : 0;
}

void aroundGameTickBegins() {
    if (aroundGame.enabled)
        noteRunTickBegins();
}

void aroundGameTickEnds() {
    if (!aroundGame.enabled)
        return;
    noteRunTickEnds();
    followTakeOver();
    followScoreBoard();
}

void aroundGameFocusLost() {
    if (aroundGame.enabled && aroundGame.setup.pauseOnFocusLoss)
        beginPause();
}

void finishAroundGame() {
    if (!aroundGame.enabled)
        return;
    closeRunAtExit();
    platformSetOverlayPainter(nullptr);
    aroundGame.enabled = 0;
}

} // namespace kavorind
