#include "extras/run_record.h"

#include "extras/around_game.h"
#include "extras/replay_file.h"
#include "game/game_state.h"
#include "game/game_types.h"
#include "input/key_state.h"
#include "platform/page_bridge.h"
#include "scenes/scene_protocol.h"
#include "shell/session.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace kavorind {

namespace {

// About 4 seconds of ticks.
constexpr int resultTicks = 120;

std::string utcNow() {
    std::time_t now = std::time(nullptr);
    std::tm parts{};
    if (const std::tm* utc = std::gmtime(&now))
        parts = *utc;
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &parts);
    return text;
}

// Where the run starts, as the runner and --watch need it to start there again: the stage, the
// keys already held (a key held from the opening is no new press on the first tick) and the
// spawner as earlier runs of this program left it.
RunStart startHere() {
    RunStart start;
    start.scene = SceneGame;
    start.stage = game.state.stageIndex;
    for (int index = 0; index < gameKeyCount; ++index)
        if (keyHeld(gameKeyCode(index)))
            start.heldKeys.push_back(gameKeyCode(index));
    start.spawnColumn = game.scene.spawnerPrimed ? game.scene.lastSpawnColumn : -1;
    return start;
}

void beginRun() {
    RunRecord& run = aroundGame.run;
    const int practiceStage = aroundGame.setup.practiceStage;
    run = RunRecord{};
    run.scripted = sessionScriptPlays();
    // START from the menu begins at stage 1; practice moves it to its own stage with a new craft.
    if (practiceStage > 1 && !run.scripted && game.state.stageIndex == 0) {
        RunStart practice;
        practice.scene = SceneGame;
        practice.stage = practiceStage - 1;
        startRun(practice);
    }
    run.active = 1;
    run.practice = practiceStage > 0;
    run.start = startHere();
    run.stageReached = game.state.stageIndex + 1;
}

void followRun() {
    RunRecord& run = aroundGame.run;
    if (sceneLoop.currentScene == SceneGame) {
        run.stageReached = std::max(run.stageReached, game.state.stageIndex + 1);
        if (run.lastHp >= 0 && game.state.hp < run.lastHp)
            ++run.hits;
        run.lastHp = game.state.hp;
    }
    run.score = game.state.score;
    // A replay the player took over, or that ran out before the run ended, becomes the player's
    // practice run from that tick.
    if (run.scripted && !sessionScriptPlays()) {
        run.scripted = 0;
        run.practice = 1;
    }
}

std::string replayText(const RunRecord& run, const std::string& date) {
    ReplayHeader header;
    header.version = KAVORIND_VERSION;
    header.content = aroundGame.setup.fingerprint;
    header.date = date;
    header.score = run.score;
    header.options = runStartOptions(run.start);
    KeyRecording keys = run.keys;
    return replayFileText(header, finishKeyRecording(&keys));
}

// Writes the replay and, for a ranked run, the table; 0 when there was nowhere to keep it.
int keepFinishedRun(const RunRecord& run, int cleared) {
    const AroundGameSetup& setup = aroundGame.setup;
    if (run.scripted || setup.playerFolder.empty())
        return 0;
    RunOutcome outcome;
    outcome.entry.content = aroundGame.setup.fingerprint;
    outcome.entry.score = run.score;
    outcome.entry.stage = run.stageReached;
    outcome.entry.cleared = cleared;
    outcome.entry.date = utcNow();
    outcome.entry.name = setup.playerName;
    outcome.entry.ticks = run.ticks;
    outcome.replayText = replayText(run, outcome.entry.date);
    outcome.practice = run.practice;
    KeptRun kept;
    keepRun(setup.playerFolder, outcome, &kept);
    for (const std::string& problem : kept.problems)
        std::fprintf(stderr, "Kavorind: %s\n", problem.c_str());
    platformPlayerFilesChanged(setup.playerFolder.c_str(), aroundGame.setup.fingerprint.c_str());
    aroundGame.board.entries.clear();
    return kept.rank;
}

uint8_t gameKeysHeld() {
    uint8_t held = 0;
    for (int index = 0; index < gameKeyCount; ++index)
        if (sessionKeyDown(gameKeyCode(index)))
            held |= static_cast<uint8_t>(1 << index);
    return held;
}

void endRun(int cleared) {
    RunRecord& run = aroundGame.run;
    run.active = 0;
    const int rank = keepFinishedRun(run, cleared);
    ResultPanel& result = aroundGame.result;
    result = ResultPanel{};
    result.ticksLeft = resultTicks;
    result.cleared = cleared;
    result.score = run.score;
    result.stage = run.stageReached;
    result.ticks = run.ticks;
    result.hits = run.hits;
    result.rank = rank;
    result.practice = run.practice;
    result.replayed = run.scripted;
    result.keysDown = gameKeysHeld();
}

// The result goes after about 4 seconds, or at a game key pressed after it appeared.
void countDownResult() {
    ResultPanel& result = aroundGame.result;
    if (result.ticksLeft <= 0)
        return;
    const uint8_t held = gameKeysHeld();
    const int pressed = (held & ~result.keysDown) != 0;
    result.keysDown = held;
    result.ticksLeft = pressed ? 0 : result.ticksLeft - 1;
}

} // namespace

void noteRunTickBegins() {
    RunRecord& run = aroundGame.run;
    if (!run.active && sceneLoop.currentScene == SceneGame && game.scene.gameStarted == 0)
        beginRun();
    if (!run.active)
        return;
    recordTick(&run.keys, sessionKeyDown);
    ++run.ticks;
}

void noteRunTickEnds() {
    countDownResult();
    RunRecord& run = aroundGame.run;
    if (!run.active)
        return;
    followRun();
    if (sceneLoop.currentScene == SceneMenu)
        endRun(0);
    else if (sceneLoop.currentScene == SceneEnding)
        endRun(1);
}

void closeRunAtExit() {
    RunRecord& run = aroundGame.run;
    if (!run.active)
        return;
    run.active = 0;
    keepFinishedRun(run, 0);
}

} // namespace kavorind
