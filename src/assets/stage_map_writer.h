#pragma once
#include "assets/asset_limits.h"
#include "assets/bitmap_writer.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kavorind {

// One layer of a stage map: width x height tile indices and as many spawn codes, row-major from
// the top row, each row from its leftmost column. Tile k of the tileset is cut at column
// (k % tilesPerRow) * tileWidth, row (k / tilesPerRow) * tileHeight, tile 0 at the top left.
// Spawn codes (only layer 0 of a middle map is read): 0 nothing, 1 to 9 item kind code - 1,
// 10 and above enemy kind code - 10.
struct MapLayerImage {
    std::vector<uint16_t> tiles;
    std::vector<uint8_t> spawns;
};

// A whole stage map as the content generator and the tests describe it. The tileset picture is
// cut into tileWidth x tileHeight tiles; pixels right of the last whole tile column or below the
// last whole tile row belong to no tile.
struct StageMapImage {
    int width = 0;  // in tiles
    int height = 0; // in tiles
    int tileWidth = 0;
    int tileHeight = 0;
    std::vector<MapLayerImage> layers;
    IndexedImage tileset;
};

// A map of the given size whose layers are all empty cells with spawn code 0, and a blank tileset.
StageMapImage makeStageMapImage(int width, int height, int tileWidth, int tileHeight,
                                int layerCount, int tilesetWidth, int tilesetHeight);
// The number of whole tiles in the map's tileset.
int tileCountOf(const StageMapImage& map);

// The bytes of a "MAP" file holding the map: header, every layer's tile grid, every layer's spawn
// grid, then the tileset as a raw 8-bit image block. Empty when the description is inconsistent
// (error, if given, then says why): sizes below 1, grids of the wrong length, a tileset smaller
// than one tile, a tile index from the tile count up to 39999.
std::vector<uint8_t> encodeStageMap(const StageMapImage& map, std::string* error = nullptr);
// encodeStageMap written to a file; 1 on success.
int writeStageMap(const std::string& path, const StageMapImage& map, std::string* error = nullptr);

} // namespace kavorind
