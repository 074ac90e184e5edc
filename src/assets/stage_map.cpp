#include "assets/stage_map.h"

#include "assets/asset_limits.h"
#include "assets/row_copy.h"
#include "platform/byte_io.h"
#include "platform/content_file.h"

#include <algorithm>
#include <cstring>

namespace kavorind {

namespace {

// Offsets of the header fields, after the three-byte magic; the tile grids follow the header.
constexpr size_t layerCountField = 3;
constexpr size_t widthField = 7;
constexpr size_t heightField = 11;
constexpr size_t tileWidthField = 15;
constexpr size_t tileHeightField = 19;
constexpr size_t gridsStart = 23;

} // namespace

int StageMap::load(const std::string& path, LoadProblem* problem) {
    if (loaded_)
        return refuseLoad(problem, 0, "the map is already loaded");
    FileBytes file;
    if (!readWholeFile(path, maxContentFileBytes, &file))
        return refuseLoad(problem, 0, "the file is missing, unreadable or too large");
    return loadFromMemory(file.view(), problem);
}

int StageMap::loadFromMemory(std::span<const uint8_t> bytes, LoadProblem* problem) {
    if (loaded_)
        return refuseLoad(problem, 0, "the map is already loaded");
    ByteReader file(bytes);
    if (!readHeader(file, problem) || !readGrids(file, problem) ||
        !tileset_.readRawBlock(file, problem)) {
        release();
        return 0;
    }
    tileCount_ = (tileset_.width() / tileWidth_) * (tileset_.height() / tileHeight_);
    if (tileCount_ <= 0) {
        release();
        return refuseLoad(problem, tileWidthField, "the tileset is smaller than one tile");
    }
    if (!checkTileIndices(problem)) {
        release();
        return 0;
    }
    cutTiles();
    loaded_ = true;
    return 1;
}

int StageMap::readHeader(ByteReader& file, LoadProblem* problem) {
    if (!file.readMagic("MAP"))
        return refuseLoad(problem, 0, "not a stage map: the file does not start with \"MAP\"");
    if (!file.readU32(&layerCount_) || !file.readI32(&width_) || !file.readI32(&height_) ||
        !file.readI32(&tileWidth_) || !file.readI32(&tileHeight_))
        return refuseLoad(problem, file.size(), "the file ends inside the stage-map header");
    if (layerCount_ == 0 || layerCount_ > maxMapLayers)
        return refuseLoad(problem, layerCountField, "layer count outside 1 to 256");
    if (width_ < 1)
        return refuseLoad(problem, widthField, "map width below 1");
    if (height_ < 1)
        return refuseLoad(problem, heightField, "map height below 1");
    if (tileWidth_ < 1 || tileWidth_ > maxPictureSide)
        return refuseLoad(problem, tileWidthField, "tile width outside 1 to 16384");
    if (tileHeight_ < 1 || tileHeight_ > maxPictureSide)
        return refuseLoad(problem, tileHeightField, "tile height outside 1 to 16384");
    return 1;
}

// Reads every layer's tile grid, then every layer's spawn grid, once their sizes are known to fit
// in what remains of the file.
int StageMap::readGrids(ByteReader& file, LoadProblem* problem) {
    // Each cell takes 3 bytes (tile index and spawn code) in each layer.
    uint64_t cells = uint64_t(width_) * uint64_t(height_);
    if (cells > file.remaining() / 3 || layerCount_ > file.remaining() / (3 * cells))
        return refuseLoad(problem, file.size(), "the file ends inside the tile and spawn grids");
    layers_.resize(layerCount_);
    for (MapLayer& layer : layers_) {
        layer.tiles.resize(cells);
        for (uint16_t& t : layer.tiles)
            file.readU16(&t);
    }
    for (MapLayer& layer : layers_) {
        const uint8_t* spawns = file.take(cells);
        layer.spawns.assign(spawns, spawns + cells);
    }
    return 1;
}

// Every cell holds a tile of the tileset or an empty-cell mark (40000 and above).
int StageMap::checkTileIndices(LoadProblem* problem) const {
    size_t cell = 0;
    for (const MapLayer& layer : layers_)
        for (uint16_t t : layer.tiles) {
            if (t >= tileCount_ && t < firstEmptyCell)
                return refuseLoad(problem, gridsStart + 2 * cell,
                                  "a tile index past the tileset's tile count (and below 40000)");
            ++cell;
        }
    return 1;
}

// Tile k is the tileWidth x tileHeight rectangle at column (k % tilesPerRow) * tileWidth and row
// (k / tilesPerRow) * tileHeight of the picture as displayed; it is held with its top row first.
void StageMap::cutTiles() {
    const int tilesPerRow = tileset_.width() / tileWidth_;
    const size_t tileBytes = static_cast<size_t>(tileWidth_) * tileHeight_;
    tiles_.resize(static_cast<size_t>(tileCount_) * tileBytes);
    for (int k = 0; k < tileCount_; ++k) {
        uint8_t* out = tiles_.data() + k * tileBytes;
        int left = (k % tilesPerRow) * tileWidth_, top = (k / tilesPerRow) * tileHeight_;
        for (int r = 0; r < tileHeight_; ++r, out += tileWidth_)
            std::memcpy(out, tileset_.row(top + r) + left, static_cast<size_t>(tileWidth_));
    }
}

int StageMap::release() {
    bool was = loaded_;
    *this = StageMap();
    return was ? 1 : 0;
}

int StageMap::spawnCodeAt(uint32_t layer, int column, int row) const {
    if (!loaded_ || layer >= layerCount_ || column < 0 || row < 0 || column >= width_ ||
        row >= height_)
        return 0;
    return layers_[layer].spawns[static_cast<size_t>(row) * width_ + column];
}

int StageMap::drawLayer(Surface* surface, uint32_t layer, int x, int y, int columns, int rows,
                        int firstColumn, int firstRow) const {
    return draw(surface, false, 0, layer, x, y, columns, rows, firstColumn, firstRow);
}

int StageMap::drawLayerKeyed(Surface* surface, int key, uint32_t layer, int x, int y, int columns,
                             int rows, int firstColumn, int firstRow) const {
    return draw(surface, true, static_cast<uint8_t>(key), layer, x, y, columns, rows, firstColumn,
                firstRow);
}

int StageMap::draw(Surface* surface, bool keyed, uint8_t key, uint32_t layerIndex, int x0, int y0,
                   int columns0, int rows0, int firstColumn, int firstRow) const {
    if (!loaded_ || layerIndex >= layerCount_)
        return 0;
    LockedSurface view;
    if (!lockSurface(surface, &view))
        return 0;
    // Everything in 64 bits: x + columns x tileWidth can pass 2^31.
    const int64_t pitch = view.pitch, surfaceRows = view.height;
    const int64_t tw = tileWidth_, th = tileHeight_, x = x0, y = y0;
    int64_t columns = columns0, rows = rows0;
    bool accepted = x < pitch && y < surfaceRows && firstColumn >= 0 && firstRow >= 0 &&
                    firstColumn <= width_ && firstRow <= height_ && columns >= 0 && rows >= 0;
    if (accepted) {
        columns = std::min<int64_t>(columns, width_ - firstColumn);
        rows = std::min<int64_t>(rows, height_ - firstRow);
        accepted = x + columns * tw > 0 && y + rows * th > 0;
    }
    if (accepted) {
        // Only the cells that reach the surface: those wholly left of or above it, and those
        // starting at or past its right or bottom edge, are never visited.
        const int64_t firstI = y < 0 ? -y / th : 0,
                      endI = std::min(rows, (surfaceRows - y + th - 1) / th);
        const int64_t firstJ = x < 0 ? -x / tw : 0,
                      endJ = std::min(columns, (pitch - x + tw - 1) / tw);
        const std::vector<uint16_t>& grid = layers_[layerIndex].tiles;
        for (int64_t i = firstI; i < endI; ++i) {
            const int64_t top = y + i * th;
            const int64_t sy = top < 0 ? -top : 0;
            const int64_t h = std::min(th - sy, surfaceRows - top - sy);
            const uint16_t* cells = grid.data() + (firstRow + i) * width_ + firstColumn;
            uint8_t* rowStart = view.pixels + (top + sy) * pitch;
            for (int64_t j = firstJ; j < endJ; ++j) {
                const uint16_t t = cells[j];
                if (t >= firstEmptyCell)
                    continue;
                const int64_t left = x + j * tw;
                const int64_t sx = left < 0 ? -left : 0;
                const size_t w = static_cast<size_t>(std::min(tw - sx, pitch - left - sx));
                const uint8_t* s = tile(t) + sy * tw + sx;
                uint8_t* d = rowStart + left + sx;
                if (keyed)
                    copyRows<true>(d, pitch, s, tw, w, static_cast<size_t>(h), key);
                else
                    copyRows<false>(d, pitch, s, tw, w, static_cast<size_t>(h), key);
            }
        }
    }
    int unlocked = unlockSurface(surface, view.pixels);
    return accepted && unlocked ? 1 : 0;
}

void drawStageBackdrop(Surface* surface, const StageMap& back, const StageMap& middle,
                       const StageMap& front, int backScroll, int midScroll, int middleKey) {
    auto [backColumns, backRows] = back.mapSize();
    auto [midColumns, midRows] = middle.mapSize();
    back.drawLayer(surface, 0, -backScroll, 0, backColumns, backRows, 0, 0);
    middle.drawLayerKeyed(surface, middleKey, 0, -midScroll, 0, midColumns, midRows, 0, 0);
    // The front map takes the middle map's size: the two scroll together.
    front.drawLayer(surface, 0, -midScroll, 0, midColumns, midRows, 0, 0);
}

} // namespace kavorind
