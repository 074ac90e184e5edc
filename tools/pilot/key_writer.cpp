// The chosen keys as a key script: one line per stretch of ticks that a key stays down, in the
// order the stretches start, so the runner replays exactly the keys the pilot pressed.
#include "input/key_script.h"
#include "input/key_state.h"
#include "pilot/pilot.h"

#include <algorithm>
#include <string>
#include <vector>

namespace kavorind {

namespace {

struct KeyRun {
    int from = 0;
    int to = 0;
    int bit = 0;
};

std::vector<KeyRun> keyRuns(const std::vector<uint8_t>& keysByTick) {
    std::vector<KeyRun> runs;
    for (int bit = 0; bit < pilotKeyCount; ++bit) {
        int from = 0;
        for (size_t i = 0; i <= keysByTick.size(); ++i) {
            const int down = i < keysByTick.size() && (keysByTick[i] >> bit & 1);
            const int tick = static_cast<int>(i) + 1;
            if (down && !from)
                from = tick;
            if (!down && from) {
                runs.push_back(KeyRun{from, tick - 1, bit});
                from = 0;
            }
        }
    }
    std::stable_sort(runs.begin(), runs.end(),
                     [](const KeyRun& a, const KeyRun& b) { return a.from < b.from; });
    return runs;
}

std::string runLine(const KeyRun& run) {
    std::string line = std::to_string(run.from);
    if (run.to != run.from)
        line += "-" + std::to_string(run.to);
    return line + " " + pilotKeyName(run.bit) + "\n";
}

} // namespace

// The pilot's key bits are the game's keys in the order a key script lists them.
const char* pilotKeyName(int bit) {
    return gameKeyName(bit);
}

int pilotVirtualKey(int bit) {
    return gameKeyCode(bit);
}

std::string keyScriptText(const std::vector<uint8_t>& keysByTick, const std::string& header) {
    std::string text = header;
    for (const KeyRun& run : keyRuns(keysByTick))
        text += runLine(run);
    return text;
}

} // namespace kavorind
