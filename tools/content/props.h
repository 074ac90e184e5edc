#pragma once
#include "canvas.h"

#include <cstdint>

namespace kavorind {

// Lit, outlined scenery pieces that the stage layers stand on their ground. Each returns a canvas
// transparent at `key`; the piece's foot is the middle of its bottom row.
Canvas pineTree(int height, uint32_t seed, uint8_t key);
Canvas roundBush(int width, int bias, uint8_t key);
Canvas boulder(int width, int height, uint8_t ramp, uint8_t key);
Canvas ruinedTower(int width, int height, uint32_t seed, uint8_t key);
Canvas palmTree(int height, int lean, uint8_t key);
Canvas lighthouse(int height, uint8_t key);
Canvas antennaTower(int width, int height, uint32_t seed, uint8_t key);
Canvas pipeRun(int width, uint8_t key);

// Puts a piece with its foot at (x, footY).
void standOn(Canvas* layer, const Canvas& piece, int x, int footY, uint8_t key);

} // namespace kavorind
