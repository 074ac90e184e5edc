#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kavorind {

// A key held down from tick `from` to tick `to`, both included, ticks counted from 1.
struct ScriptedKey {
    int from = 0;
    int to = 0;
    int virtualKey = 0;
};

struct KeyScript {
    std::vector<ScriptedKey> keys;
};

// Parses a key script: one entry a line, "FROM-TO KEY[,KEY...]" or "TICK KEY[,KEY...]", key names
// Left, Right, Up, Down, Z, X and Escape in any case, '#' starting a comment. Returns 1 on success;
// on failure 0 and a message naming the line in *error.
int parseKeyScript(const std::string& text, KeyScript* out, std::string* error);
// Reads and parses a key script file. On failure 0 and, in *error, "cannot read key script PATH:
// REASON" or "PATH: " followed by the parser's message.
int loadKeyScript(const std::string& path, KeyScript* out, std::string* error);
constexpr uint64_t maxKeyScriptBytes = uint64_t{1} << 28; // hours of ticks, every key on every one
// Plays a script forward tick by tick: each entry is taken up once when its first tick comes and
// dropped after its last, so a tick costs only the entries that start or end on it, and asking for
// a key costs one look at a count, however long the script.
constexpr int playedVirtualKeys = 256; // virtual-key codes run below this
struct KeyScriptPlayer {
    std::vector<ScriptedKey> pending;               // by first tick, latest first
    std::vector<ScriptedKey> held;                  // a heap by last tick, the earliest on top
    std::array<int, playedVirtualKeys> heldCount{}; // held entries per virtual key
};
KeyScriptPlayer startKeyScript(const KeyScript& script);
// Moves to a tick; ticks only go forward.
void advanceKeyScript(KeyScriptPlayer* player, int tick);
// 1 when the key is down at the player's tick.
int playerKeyDown(const KeyScriptPlayer& player, int virtualKey);
// The virtual-key code of a key name, or 0 for an unknown name.
int virtualKeyNamed(const std::string& name);
// The names of the seven keys the game reads, as a script writes them, in the order of
// gameKeyCode: Left, Right, Up, Down, Z, X, Escape ("" past the end).
const char* gameKeyName(int index);

} // namespace kavorind
