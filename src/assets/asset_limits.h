#pragma once
#include <cstdint>

namespace kavorind {

// The largest width or height of any picture, frame or tileset that a loader accepts.
constexpr int maxPictureSide = 16384;

// The most frames a sprite set and the most layers a stage map may hold: far above any real
// content, low enough that a tiny file cannot make the loader build millions of empty records.
constexpr uint32_t maxSpriteFrames = 65536;
constexpr uint32_t maxMapLayers = 256;

// A stage-map cell whose tile index is this or above is empty: nothing is drawn there.
constexpr uint16_t firstEmptyCell = 40000;

} // namespace kavorind
