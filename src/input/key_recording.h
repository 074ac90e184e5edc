#pragma once
#include "platform/keyboard.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kavorind {

// The game's keys at every tick of a session, written out as a key script that replays it.
struct KeyRecording {
    std::vector<uint8_t> keysByTick; // tick 1 first; bit k set while gameKeyCode(k) is down
};

// Adds the next tick: the game keys that keyDown reports down.
void recordTick(KeyRecording* recording, PlatformKeySource keyDown);
// 1 when the key with this index (as gameKeyCode numbers them) was down at the tick (from 1).
int recordedKeyDown(const KeyRecording& recording, int tick, int index);
// The recording as a key script: a comment header with the number of ticks ("# ticks: N"), then
// one line for every stretch of ticks that keys stay down together, such as "120-131 Right,Z", in
// the order the stretches start. A key still down at the last tick is closed there.
std::string keyRecordingText(const KeyRecording& recording);

} // namespace kavorind
