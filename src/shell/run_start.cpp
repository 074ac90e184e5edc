#include "shell/run_start.h"

#include "game/game_state.h"
#include "game/game_types.h"
#include "input/key_script.h"
#include "input/key_state.h"
#include "scenes/scene_protocol.h"

#include <algorithm>
#include <sstream>

namespace kavorind {

namespace {

// A whole number from low to high.
int parseNumber(const std::string& text, long low, long high, long* out) {
    if (text.empty() || text.size() > 9 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return 0;
    long value = std::stol(text);
    if (value < low || value > high)
        return 0;
    *out = value;
    return 1;
}

// The largest spawn column taken: far past any stage map's width.
constexpr long spawnColumnLimit = 1000000;

int takeOption(const std::string& name, const std::string& value, RunStart* out,
               std::string* error) {
    long number = 0;
    if (name == "--scene") {
        if (!parseNumber(value, 1, sceneCount, &number)) {
            *error = "--scene is a scene from 1 to " + std::to_string(sceneCount);
            return 0;
        }
        out->scene = static_cast<int>(number);
        return 1;
    }
    if (name == "--stage") {
        if (!parseNumber(value, 0, 2, &number)) {
            *error = "--stage is a stage index from 0 to 2";
            return 0;
        }
        out->stage = static_cast<int>(number);
        return 1;
    }
    if (name == "--spawn-column") {
        if (!parseNumber(value, 0, spawnColumnLimit, &number)) {
            *error = "--spawn-column is a column from 0 to " + std::to_string(spawnColumnLimit);
            return 0;
        }
        out->spawnColumn = static_cast<int>(number);
        return 1;
    }
    if (name == "--held")
        return parseHeldKeys(value, &out->heldKeys, error);
    *error = "unknown option \"" + name + "\"";
    return 0;
}

} // namespace

void startRun(const RunStart& start) {
    if (start.scene > 0)
        sceneLoop.currentScene = start.scene;
    if (start.stage >= 0) {
        game.state.stageIndex = start.stage;
        if (start.stage > 0 || start.scene == SceneStageClear)
            newGame(&game.state, gameTypes.flightDelay, gameTypes.attackDelay,
                    gameTypes.deathDelay);
        if (start.scene == SceneStageClear)
            game.scene.lastStageCleared = start.stage == 2 ? 1 : 0;
    }
    // The spawner's memory lives for the whole program: a run started after another in the same
    // program finds it primed, a fresh program does not.
    game.scene.spawnerPrimed = start.spawnColumn >= 0;
    game.scene.lastSpawnColumn = start.spawnColumn >= 0 ? start.spawnColumn : 0;
    clearKeys();
    for (int key : start.heldKeys)
        if (gameKeyRow(key) >= 0)
            keyState.counters[static_cast<size_t>(key)] = 1;
}

std::string runStartOptions(const RunStart& start) {
    if (start.scene <= 0)
        return "";
    std::string text = "--scene " + std::to_string(start.scene);
    if (start.stage >= 0)
        text += " --stage " + std::to_string(start.stage);
    std::string held;
    for (int row = 0; row < gameKeyCount; ++row)
        if (std::count(start.heldKeys.begin(), start.heldKeys.end(), gameKeyCode(row)))
            held += (held.empty() ? "" : ",") + std::string(gameKeyName(row));
    if (!held.empty())
        text += " --held " + held;
    if (start.spawnColumn >= 0)
        text += " --spawn-column " + std::to_string(start.spawnColumn);
    return text;
}

int parseHeldKeys(const std::string& text, std::vector<int>* out, std::string* error) {
    out->clear();
    std::stringstream names(text);
    std::string name;
    while (std::getline(names, name, ',')) {
        int key = virtualKeyNamed(name);
        if (gameKeyRow(key) < 0) {
            *error = "--held names game keys (Left, Right, Up, Down, Z, X, Escape) separated by "
                     "commas, not \"" +
                     name + "\"";
            return 0;
        }
        if (std::find(out->begin(), out->end(), key) == out->end())
            out->push_back(key);
    }
    if (out->empty() || text.back() == ',') {
        *error = "--held names at least one game key";
        return 0;
    }
    return 1;
}

int parseRunStartOptions(const std::string& text, RunStart* out, std::string* error) {
    RunStart start;
    std::istringstream words(text);
    std::string name;
    int startsElsewhere = 0;
    while (words >> name) {
        std::string value;
        if (!(words >> value)) {
            *error = name + " needs a value";
            return 0;
        }
        if (!takeOption(name, value, &start, error))
            return 0;
        startsElsewhere |= name != "--scene";
    }
    if (startsElsewhere && start.scene == 0) {
        *error = "--stage, --held and --spawn-column need --scene";
        return 0;
    }
    *out = start;
    return 1;
}

int scriptRunStart(const std::string& scriptText, RunStart* out, int* found, std::string* error) {
    *found = 0;
    const std::string mark = "# options:";
    for (size_t start = 0; start < scriptText.size();) {
        size_t end = std::min(scriptText.find('\n', start), scriptText.size());
        std::string line = scriptText.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() && line[0] != '#')
            break; // the key lines begin: the comments at the top are over
        if (line.compare(0, mark.size(), mark) != 0)
            continue;
        *found = 1;
        if (!parseRunStartOptions(line.substr(mark.size()), out, error)) {
            *error = "the script's \"# options:\" line: " + *error;
            return 0;
        }
        return 1;
    }
    return 1;
}

} // namespace kavorind
