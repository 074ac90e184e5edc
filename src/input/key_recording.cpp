#include "input/key_recording.h"

#include "input/key_state.h"

#include "input/key_script.h"

#include <map>
#include <utility>

namespace kavorind {

namespace {

using TickRange = std::pair<int, int>; // first and last tick, both included

// Each key's stretches of ticks held down; keys held over the same stretch share one entry, named
// in the order of the game's keys.
std::map<TickRange, std::string> heldStretches(const KeyRecording& recording) {
    std::map<TickRange, std::string> stretches;
    const int ticks = static_cast<int>(recording.keysByTick.size());
    for (int index = 0; index < gameKeyCount; ++index) {
        int from = 0;
        for (int tick = 1; tick <= ticks + 1; ++tick) {
            const int down = tick <= ticks && recordedKeyDown(recording, tick, index);
            if (down && !from)
                from = tick;
            if (!down && from) {
                std::string& names = stretches[{from, tick - 1}];
                names += (names.empty() ? "" : ",") + std::string(gameKeyName(index));
                from = 0;
            }
        }
    }
    return stretches;
}

} // namespace

void recordTick(KeyRecording* recording, PlatformKeySource keyDown) {
    uint8_t keys = 0;
    for (int index = 0; index < gameKeyCount; ++index)
        if (keyDown(gameKeyCode(index)))
            keys |= static_cast<uint8_t>(1 << index);
    recording->keysByTick.push_back(keys);
}

int recordedKeyDown(const KeyRecording& recording, int tick, int index) {
    if (tick < 1 || tick > static_cast<int>(recording.keysByTick.size()))
        return 0;
    return recording.keysByTick[static_cast<size_t>(tick - 1)] >> index & 1;
}

std::string keyRecordingText(const KeyRecording& recording) {
    std::string text = "# Kavorind keys, recorded tick by tick from the first tick: FROM-TO KEYS\n"
                       "# ticks: " +
                       std::to_string(recording.keysByTick.size()) + "\n";
    for (const auto& [range, names] : heldStretches(recording)) {
        text += std::to_string(range.first);
        if (range.second != range.first)
            text += "-" + std::to_string(range.second);
        text += " " + names + "\n";
    }
    return text;
}

} // namespace kavorind
