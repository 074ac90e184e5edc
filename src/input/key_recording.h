#pragma once
#include "platform/keyboard.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kavorind {

// The game's keys at every tick of a session, written out as a key script that replays it. The
// script is written as the session goes: each piece holds the ticks recorded since the last, so
// that a session cut short keeps everything up to its last piece.
struct KeyRecording {
    std::vector<uint8_t> keysByTick; // tick 1 first; bit k set while gameKeyCode(k) is down
    int writtenTicks = 0;            // the ticks already handed out as text
};

// Adds the next tick: the game keys that keyDown reports down.
void recordTick(KeyRecording* recording, PlatformKeySource keyDown);
// 1 when the key with this index (as gameKeyCode numbers them) was down at the tick (from 1).
int recordedKeyDown(const KeyRecording& recording, int tick, int index);

// The comment line a recording starts with.
std::string keyRecordingHeader();
// The ticks recorded since the last piece, as script lines: one for every stretch of ticks that
// keys stay down together, such as "120-131 Right,Z", in the order the stretches start; a key still
// down at the last tick is closed there and, still down at the next, starts a new stretch, which
// plays exactly as one. When no key is down at the last tick, a comment "# recorded to tick N" says
// how far the script goes. Empty when no tick was recorded since.
std::string takeKeyRecordingPiece(KeyRecording* recording);
// The last piece of a session that ended normally: the ticks since the last piece, then the
// number of ticks of the whole session ("# ticks: N").
std::string finishKeyRecording(KeyRecording* recording);
// A whole recording in one text, as a session with no piece taken before its end writes it.
std::string keyRecordingText(const KeyRecording& recording);

} // namespace kavorind
