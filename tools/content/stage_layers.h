#pragma once
#include "canvas.h"

#include <cstdint>
#include <vector>

namespace kavorind {

// The painted layers of one stage, before they are cut into tiles.
struct StageLayers {
    Canvas back;   // opaque
    Canvas middle; // transparent at the stage's middle key
    Canvas front;  // the middle layer with near scenery painted over its solid ground
    uint8_t middleKey = 0;
};

// Middle layers are 300 columns of 32 pixels: at 2 pixels a tick, about two and a half minutes.
constexpr int middleColumns = 300;
constexpr int stageRows = 15;

StageLayers paintMountainStage();
StageLayers paintCoastStage();
StageLayers paintFortressStage();

// The y of the ground's top at each x of a middle layer (the first row that is not key), or the
// layer's height where a column is empty.
std::vector<int> groundLine(const Canvas& middle, uint8_t key);

} // namespace kavorind
