#include "tiles.h"

#include "palette.h"

#include <map>

namespace kavorind {

TileCut cutTiles(const Canvas& layer, uint8_t key, bool emptyKeyed,
                 const std::vector<uint8_t>* keepCell) {
    const int cols = layer.width / tileSize, rows = layer.height / tileSize;
    TileCut cut;
    cut.cells.assign(static_cast<size_t>(cols) * rows, firstEmptyCell);
    std::map<std::vector<uint8_t>, int> known; // ordered, so the numbering is the same every run
    std::vector<std::vector<uint8_t>> tiles;
    std::vector<uint8_t> tile(tileSize * tileSize);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            size_t cell = static_cast<size_t>(r) * cols + c;
            if (keepCell && !(*keepCell)[cell])
                continue;
            bool allKey = true;
            for (int y = 0; y < tileSize; ++y)
                for (int x = 0; x < tileSize; ++x) {
                    uint8_t v = layer.get(c * tileSize + x, r * tileSize + y);
                    tile[y * tileSize + x] = v;
                    allKey = allKey && v == key;
                }
            if (allKey && emptyKeyed)
                continue;
            auto found = known.find(tile);
            if (found == known.end()) {
                found = known.emplace(tile, static_cast<int>(tiles.size())).first;
                tiles.push_back(tile);
            }
            cut.cells[cell] = static_cast<uint16_t>(found->second);
        }
    cut.tileCount = static_cast<int>(tiles.size());
    int perRow = 32;
    int tileRows = (cut.tileCount + perRow - 1) / perRow;
    cut.tileset = makeCanvas(perRow * tileSize, (tileRows > 0 ? tileRows : 1) * tileSize, key);
    for (int k = 0; k < cut.tileCount; ++k)
        for (int y = 0; y < tileSize; ++y)
            for (int x = 0; x < tileSize; ++x)
                cut.tileset.put((k % perRow) * tileSize + x, (k / perRow) * tileSize + y,
                                tiles[k][y * tileSize + x]);
    return cut;
}

StageMapImage mapFromCut(const TileCut& cut, int widthInTiles, int heightInTiles,
                         const std::vector<uint8_t>& spawns) {
    StageMapImage map = makeStageMapImage(widthInTiles, heightInTiles, tileSize, tileSize, 1,
                                          cut.tileset.width, cut.tileset.height);
    map.layers[0].tiles = cut.cells;
    if (!spawns.empty())
        map.layers[0].spawns = spawns;
    map.tileset.pixels = cut.tileset.pixels;
    map.tileset.colours = gameColours();
    return map;
}

} // namespace kavorind
