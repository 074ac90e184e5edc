#pragma once
#include <string>

namespace kavorind {

// How a stage map is laid out in its Tiled map, shared by export and import.
// Map properties: what an empty cell stores (any value from 40000 up is empty, and the file keeps
// which), and the tileset's 256 colours as hex, for a tileset picture an editor saved in
// truecolour. A tile layer's "otherEmptyCells" lists empty cells storing another value, as
// "cell:value" pairs.
inline const char* const emptyCellProperty = "emptyCell";
inline const char* const coloursProperty = "tilesetColours";
inline const char* const otherEmptyProperty = "otherEmptyCells";
// The tileset whose tiles stand for spawn codes 1 to 255; the map's own tileset is the other one.
inline const char* const spawnTilesetName = "spawns";

// Map layer N is the tile layer "tiles N" and the spawn-code layer "spawns N".
inline std::string tileLayerName(size_t layer) {
    return "tiles " + std::to_string(layer);
}
inline std::string spawnLayerName(size_t layer) {
    return "spawns " + std::to_string(layer);
}

} // namespace kavorind
