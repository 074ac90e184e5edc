#pragma once
#include "assets/stage_map_writer.h"
#include "canvas.h"

#include <cstdint>
#include <vector>

namespace kavorind {

// Cuts a painted layer into 32 x 32 tiles, merging identical tiles into one, and makes the map
// layer and its tileset. Cells wholly of `key` become empty cells when emptyKeyed is set; cells for
// which keep() says no become empty cells too. The tileset is 32 tiles wide.
struct TileCut {
    std::vector<uint16_t> cells;
    Canvas tileset;
    int tileCount = 0;
};

constexpr int tileSize = 32;

TileCut cutTiles(const Canvas& layer, uint8_t key, bool emptyKeyed,
                 const std::vector<uint8_t>* keepCell = nullptr);

// A map of one layer from a cut, with the given spawn codes (or none) and the game colours.
StageMapImage mapFromCut(const TileCut& cut, int widthInTiles, int heightInTiles,
                         const std::vector<uint8_t>& spawns);

} // namespace kavorind
