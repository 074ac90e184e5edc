#pragma once
#include "assets/bitmap_image.h"
#include "display/surface.h"
#include "platform/load_problem.h"

#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace kavorind {

// One layer of a stage map: width x height tile indices and spawn codes, row-major from the top.
struct MapLayer {
    std::vector<uint16_t> tiles;
    std::vector<uint8_t> spawns;
};

// A tiled picture much wider than the screen, from one "MAP" file: layers of 16-bit tile indices
// (40000 and above: an empty cell, never drawn) with parallel 8-bit spawn codes, and the tileset
// picture, cut at load into tiles of tileWidth x tileHeight bytes whose rows follow each other
// with no gap, so every visible tile row is drawn as one contiguous run.
//
// Loads check every size against the bytes that remain before allocating and refuse zero or
// negative sizes, more than 256 layers, a tileset smaller than one tile or larger than 16384 x
// 16384, grids running past the end, and tile indices from the tile count up to 39999. A refused
// load leaves the map empty.
class StageMap {
  public:
    StageMap() = default;

    // 1 when loaded; 0 when refused, unreadable, or the map is already loaded (nothing changes).
    // A refusal is explained in *problem when one is given.
    int load(const std::string& path, LoadProblem* problem = nullptr);
    // load of a whole "MAP" file already in memory.
    int loadFromMemory(std::span<const uint8_t> file, LoadProblem* problem = nullptr);
    // Frees everything; 1 when the map was loaded.
    int release();

    bool isEmpty() const { return !loaded_; }
    uint32_t layerCount() const { return layerCount_; }
    // (width, height) in tiles; zeros when not loaded.
    std::pair<int, int> mapSize() const { return {width_, height_}; }
    // (width, height) of a tile in pixels; zeros when not loaded.
    std::pair<int, int> tileSize() const { return {tileWidth_, tileHeight_}; }
    int tileCount() const { return tileCount_; }
    // Tile k's top row; the rows follow each other tileWidth bytes apart. k < tileCount().
    const uint8_t* tile(int k) const {
        return tiles_.data() + static_cast<size_t>(k) * tileWidth_ * tileHeight_;
    }
    const BitmapImage& tileset() const { return tileset_; }
    const MapLayer* layer(uint32_t index) const {
        return index < layerCount_ ? &layers_[index] : nullptr;
    }
    // The spawn code at (column, row) of a layer; 0 when not loaded or out of range.
    int spawnCodeAt(uint32_t layer, int column, int row) const;

    // Draws the block of columns x rows cells starting at (firstColumn, firstRow) of a layer, the
    // top-left corner of its first cell at surface position (x, y), clipped to the surface (the
    // right edge at its pitch) and to the map; empty cells are skipped. 1 when the call got past
    // its checks (even if nothing was written); 0 for an unloaded map, a layer out of range, a
    // surface that cannot be locked, x or y past the surface, a first cell past the map, negative
    // counts, or a block that ends at or left of (or above) the surface's edge.
    int drawLayer(Surface* surface, uint32_t layer, int x, int y, int columns, int rows,
                  int firstColumn, int firstRow) const;
    // drawLayer, except that tile pixels equal to the low byte of key leave the surface unchanged.
    int drawLayerKeyed(Surface* surface, int key, uint32_t layer, int x, int y, int columns,
                       int rows, int firstColumn, int firstRow) const;

  private:
    int draw(Surface* surface, bool keyed, uint8_t key, uint32_t layer, int x, int y, int columns,
             int rows, int firstColumn, int firstRow) const;
    int readHeader(ByteReader& file, LoadProblem* problem);
    int readGrids(ByteReader& file, LoadProblem* problem);
    int checkTileIndices(LoadProblem* problem) const;
    void cutTiles();

    uint32_t layerCount_ = 0;
    int32_t width_ = 0;
    int32_t height_ = 0;
    int32_t tileWidth_ = 0;
    int32_t tileHeight_ = 0;
    std::vector<MapLayer> layers_;
    BitmapImage tileset_;
    bool loaded_ = false;
    int tileCount_ = 0;
    std::vector<uint8_t> tiles_;
};

// The scrolling backdrop of a stage, drawn first in each frame of the game and the stage-clear
// tally, always layer 0 at y = 0 from the first cell: the back map opaque at x = -backScroll with
// its own size; the middle map keyed with middleKey at x = -midScroll; the front map opaque at
// x = -midScroll, but with the middle map's width and height (not its own), so only its empty
// cells let the layers below show through.
void drawStageBackdrop(Surface* surface, const StageMap& back, const StageMap& middle,
                       const StageMap& front, int backScroll, int midScroll, int middleKey);

} // namespace kavorind
