#include "input/key_recording.h"

#include "input/key_script.h"
#include "input/key_state.h"

#include <map>
#include <utility>

namespace kavorind {

namespace {

using TickRange = std::pair<int, int>; // first and last tick, both included

// Each key's stretches of ticks held down from tick `first` to `last`, those still down at `last`
// closed there; keys held over the same stretch share one entry, named in the order of the game's
// keys.
std::map<TickRange, std::string> heldStretches(const KeyRecording& recording, int first, int last) {
    std::map<TickRange, std::string> stretches;
    for (int index = 0; index < gameKeyCount; ++index) {
        int from = 0;
        for (int tick = first; tick <= last + 1; ++tick) {
            const int down = tick <= last && recordedKeyDown(recording, tick, index);
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

std::string stretchLines(const KeyRecording& recording, int first, int last) {
    std::string text;
    for (const auto& [range, names] : heldStretches(recording, first, last)) {
        text += std::to_string(range.first);
        if (range.second != range.first)
            text += "-" + std::to_string(range.second);
        text += " " + names + "\n";
    }
    return text;
}

int recordedTicks(const KeyRecording& recording) {
    return static_cast<int>(recording.keysByTick.size());
}

// The lines of the ticks not yet written; afterwards they count as written.
std::string takeNewLines(KeyRecording* recording) {
    const int last = recordedTicks(*recording);
    std::string text = stretchLines(*recording, recording->writtenTicks + 1, last);
    recording->writtenTicks = last;
    return text;
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
    if (tick < 1 || tick > recordedTicks(recording))
        return 0;
    return recording.keysByTick[static_cast<size_t>(tick - 1)] >> index & 1;
}

std::string keyRecordingHeader() {
    return "# Kavorind keys, recorded tick by tick from the first tick: FROM-TO KEYS\n";
}

std::string takeKeyRecordingPiece(KeyRecording* recording) {
    const int last = recordedTicks(*recording);
    if (last == recording->writtenTicks)
        return "";
    std::string text = takeNewLines(recording);
    // A key down at the last tick already carries the script there; without one, a session cut
    // short after this piece would otherwise seem to end at its last key.
    if (recording->keysByTick.back() == 0)
        text += "# recorded to tick " + std::to_string(last) + "\n";
    return text;
}

std::string finishKeyRecording(KeyRecording* recording) {
    std::string text = takeNewLines(recording);
    return text + "# ticks: " + std::to_string(recordedTicks(*recording)) + "\n";
}

std::string keyRecordingText(const KeyRecording& recording) {
    KeyRecording whole = recording;
    whole.writtenTicks = 0;
    return keyRecordingHeader() + finishKeyRecording(&whole);
}

} // namespace kavorind
