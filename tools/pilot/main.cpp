// kavorind-pilot: plays the real program headless the way kavorind-sim replays it, choosing the
// keys of every tick itself, and writes them as a key script that kavorind-sim replays to the same
// course. It prints the figures of every stage it flies.

#include "common/headless_run.h"
#include "common/output_place.h"
#include "common/tool_main.h"
#include "game/game_state.h"
#include "pilot/pilot.h"
#include "platform/file_io.h"
#include "platform/keyboard.h"
#include "scenes/scene_protocol.h"
#include "shell/entry.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

using namespace kavorind;

namespace {

const char* usageLine = "usage: kavorind-pilot --data DIR --out FILE [--clumsy --seed N] "
                        "[--ticks N] [--stage N]";

KavorindPilot kavorindPilot;

int parseNumber(const char* text, long lo, long hi, long* out) {
    char* end = nullptr;
    long value = std::strtol(text, &end, 10);
    if (!*text || *end || value < lo || value > hi)
        return 0;
    *out = value;
    return 1;
}

int parseValue(const std::string& name, const char* value, PilotOptions* out) {
    long number = 0;
    if (name == "--data")
        out->dataDir = value;
    else if (name == "--out")
        out->outFile = value;
    else if (name == "--ticks" && parseNumber(value, 1, 10000000, &number))
        out->ticks = number;
    else if (name == "--stage" && parseNumber(value, 0, 2, &number))
        out->stage = number;
    else if (name == "--seed" && parseNumber(value, 0, 2000000000, &number))
        out->seed = static_cast<uint64_t>(number);
    else
        return 0;
    return 1;
}

int parseOptions(int argc, char** argv, PilotOptions* out) {
    for (int i = 1; i < argc; ++i) {
        std::string name = argv[i];
        if (name == "--clumsy")
            out->clumsy = 1;
        else if (i + 1 >= argc || !parseValue(name, argv[++i], out))
            return 0;
    }
    return !out->dataDir.empty() && !out->outFile.empty();
}

int pilotKey(int virtualKey) {
    for (int bit = 0; bit < pilotKeyCount; ++bit)
        if (pilotVirtualKey(bit) == virtualKey)
            return kavorindPilot.keys >> bit & 1;
    return 0;
}

// The rules read keys only while the craft flies, and the stage's first tick starts it afresh.
uint8_t chooseKeys(KavorindPilot* pilot) {
    if (sceneLoop.currentScene != SceneGame)
        return frontEndKeys(pilot);
    pilot->sawGame = 1;
    if (!game.scene.gameStarted || game.state.alive != 1) {
        forgetWorlds(&pilot->memory);
        return 0;
    }
    if (pilot->options.clumsy)
        return keysForIntent(clumsyIntent(pilot), game.state);
    return keysForIntent(chooseFlight(game, &pilot->planner, 1, nullptr), game.state);
}

void printStage(const StageFigures& f) {
    std::printf("stage %d: ticks %d score %d hp %d hits %d special %d %s\n", f.stage + 1, f.ticks,
                f.score, f.hp, f.hits, f.specialUsed, f.cleared ? "cleared" : "lost");
}

// Counts what a game tick did to the craft; a stage's figures close when the scene moves on.
void observeGameTick(KavorindPilot* pilot) {
    StageFigures& f = pilot->stages.back();
    const GameState& now = game.state;
    // The stage's first tick starts the craft afresh, which is no hit.
    if (++f.ticks > 1) {
        f.hits += pilot->before.alive == 1 && now.hp < pilot->before.hp;
        f.specialUsed += now.specialCount < pilot->before.specialCount;
    }
    if (sceneLoop.currentScene == SceneGame)
        return;
    f.score = now.score;
    f.hp = now.hp;
    f.cleared = sceneLoop.currentScene == SceneStageClear;
    printStage(f);
}

void observeTick(KavorindPilot* pilot, int sceneBefore) {
    const int scene = sceneLoop.currentScene;
    if (sceneBefore == SceneGame && !pilot->stages.empty())
        observeGameTick(pilot);
    if (scene == SceneGame && sceneBefore != SceneGame) {
        StageFigures f;
        f.stage = game.state.stageIndex;
        pilot->stages.push_back(f);
    }
    if (pilot->scenes.empty() || pilot->scenes.back() != scene) {
        pilot->scenes.push_back(scene);
        pilot->sceneTicks = 0;
    }
    ++pilot->sceneTicks;
}

// As the runner's --scene 3 --stage N: a later stage starts with the state of a new game.
void startInGame(KavorindPilot* pilot) {
    startInScene(SceneGame, pilot->options.stage);
    StageFigures f;
    f.stage = game.state.stageIndex;
    pilot->stages.push_back(f);
}

// The same tick as the runner's: keys first, then the timer's message, the queue, the idle step.
int flyOneTick(KavorindPilot* pilot, int* exitCode) {
    ++pilot->tick;
    pilot->keys = chooseKeys(pilot);
    if (pilot->finished) {
        --pilot->tick;
        return 0;
    }
    pilot->keysByTick.push_back(pilot->keys);
    pilot->before = game.state;
    const int sceneBefore = sceneLoop.currentScene;
    int rendered = 0;
    int running = runHeadlessTick(exitCode, &rendered);
    observeTick(pilot, sceneBefore);
    return running;
}

void printCourse(const KavorindPilot& pilot) {
    std::printf("course: ticks %d score %d scenes", pilot.tick, game.state.score);
    for (int scene : pilot.scenes)
        std::printf(" %d", scene);
    std::printf("\n");
}

std::string scriptHeader(const KavorindPilot& pilot) {
    const PilotOptions& o = pilot.options;
    std::string header = "# Flown by kavorind-pilot";
    header += o.clumsy ? " --clumsy --seed " + std::to_string(o.seed) : std::string(" (careful)");
    header += "; replay with kavorind-sim --keys and --ticks as below.\n";
    if (o.stage >= 0)
        header += "# options: --scene 3 --stage " + std::to_string(o.stage) + "\n";
    return header + "# ticks: " + std::to_string(pilot.tick) + "\n";
}

// The key script is the author's to keep: written whole, to stay, or an older one left as it was.
int writeScript(const KavorindPilot& pilot) {
    std::string why;
    if (!writeFileSafely(pilot.options.outFile,
                         keyScriptText(pilot.keysByTick, scriptHeader(pilot)), FileDurable, &why)) {
        std::fprintf(stderr, "kavorind-pilot: cannot write %s: %s\n", pilot.options.outFile.c_str(),
                     why.c_str());
        return 0;
    }
    return 1;
}

// Refuses at once a key script that could never be written, or that would replace a content file
// the game reads. 0 after saying why.
int scriptHasAPlace(const PilotOptions& options) {
    std::string why;
    if (isContentFile(options.dataDir, options.outFile))
        why = "is a content file: the key script would replace the content";
    else if (outputTakesFile(options.outFile, &why))
        return 1;
    std::fprintf(stderr, "kavorind-pilot: cannot write %s: %s\n", options.outFile.c_str(),
                 why.c_str());
    return 0;
}

// The figures go to the standard output; a failure to write them there counts as well.
int figuresWritten() {
    if (std::fflush(stdout) == 0 && !std::ferror(stdout))
        return 1;
    std::fprintf(stderr, "kavorind-pilot: cannot write the figures to the standard output\n");
    return 0;
}

int fly(KavorindPilot* pilot) {
    int exitCode = 0;
    // The program says why it did not start.
    if (!enterProgram()) {
        std::fprintf(stderr, "kavorind-pilot: the program did not start\n");
        return 0;
    }
    if (pilot->options.stage >= 0)
        startInGame(pilot);
    pilot->scenes.push_back(sceneLoop.currentScene);
    int running = 1;
    while (running && pilot->tick < pilot->options.ticks)
        running = flyOneTick(pilot, &exitCode);
    if (running)
        closeHeadlessRun();
    return 1;
}

int pilotMain(int argc, char** argv) {
    KavorindPilot& pilot = kavorindPilot;
    if (!parseOptions(argc, argv, &pilot.options)) {
        std::fprintf(stderr, "%s\n", usageLine);
        return 2;
    }
    pilot.options.outFile = absoluteOutput(pilot.options.outFile);
    if (!scriptHasAPlace(pilot.options))
        return 2;
    std::error_code problem;
    std::filesystem::current_path(pilot.options.dataDir, problem);
    if (problem) {
        std::fprintf(stderr, "kavorind-pilot: no data directory %s\n",
                     pilot.options.dataDir.c_str());
        return 2;
    }
    pilot.random = seedPilotRandom(pilot.options.seed);
    prepareHeadlessRun(pilotKey);
    if (!fly(&pilot))
        return 1;
    printCourse(pilot);
    int written = writeScript(pilot);
    return written && figuresWritten() ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    return runTool("kavorind-pilot", pilotMain, argc, argv);
}
