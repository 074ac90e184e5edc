#pragma once
#include <array>
#include <cstdint>

namespace kavorind {

// Windows virtual-key codes of the keys the game reads.
constexpr int VK_ESCAPE = 27;
constexpr int VK_LEFT = 37;
constexpr int VK_UP = 38;
constexpr int VK_RIGHT = 39;
constexpr int VK_DOWN = 40;
constexpr int VK_X = 88;
constexpr int VK_Z = 90;

// The seven keys the game reads, one row each wherever they are listed (bindings, key scripts).
enum GameKey { GAME_LEFT, GAME_RIGHT, GAME_UP, GAME_DOWN, GAME_FIRE, GAME_SPECIAL, GAME_ESCAPE };
constexpr int gameKeyCount = 7;
// The virtual-key code the game reads for a row (VK_LEFT for GAME_LEFT); 0 past the rows.
int gameKeyCode(int gameKey);
// The row of a virtual-key code; -1 for a code the game does not read.
int gameKeyRow(int virtualKey);

// For every virtual-key code, how many samples in a row the key has been seen down (0 while up).
// Scenes sample once per tick; a counter of exactly 1 is a new press.
struct KeyState {
    std::array<int32_t, 256> counters{};
};

extern KeyState keyState;

void clearKeys();
// Reads all 256 keys once and advances the counters.
void sampleKeys();
// The key's counter: non-zero while held. Codes outside 0 to 255 are never held.
int keyHeld(int code);
// 1 when the key went down in the latest sample.
int keyPressed(int code);

} // namespace kavorind
