#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kavorind {

// A custom property as Tiled shows it: name, type ("string", "int" or "bool") and value.
struct TiledProperty {
    std::string name;
    std::string type = "string";
    std::string value;
};

// A tileset embedded in the map, cut from one picture with no margin or spacing.
struct TiledTileset {
    int firstGid = 1;
    std::string name;
    int tileWidth = 0;
    int tileHeight = 0;
    int tileCount = 0;
    int columns = 0;
    std::string image; // the picture's file name, relative to the map
    int imageWidth = 0;
    int imageHeight = 0;
    // Properties of tile k (written only; reading leaves it empty).
    std::vector<std::vector<TiledProperty>> tileProperties;
};

// A tile layer: width x height global tile ids, row-major from the top row, 0 an empty cell.
struct TiledLayer {
    std::string name;
    std::vector<TiledProperty> properties;
    std::vector<uint32_t> gids;
};

// The parts of an orthogonal Tiled map the content tools use.
struct TiledMap {
    int width = 0; // in tiles
    int height = 0;
    int tileWidth = 0;
    int tileHeight = 0;
    std::vector<TiledProperty> properties;
    std::vector<TiledTileset> tilesets;
    std::vector<TiledLayer> layers; // every layer width x height
};

// The most tile layers an import reads and the largest map side; with the cell count they keep a
// small file from asking for gigabytes.
constexpr int tiledMaxLayers = 512;
constexpr int tiledMaxSide = 16384;

// The TMX text of the map as Tiled writes it: embedded tilesets, CSV layer data, one row of cells
// per line.
std::string writeTiledMap(const TiledMap& map);
// Reads a TMX document: its size, properties, embedded tilesets and tile layers (CSV or
// uncompressed base64 data). 1 when read, else 0 with the element at fault and what to do in
// *why. Sizes and counts are checked before anything is allocated for them.
int readTiledMap(std::span<const uint8_t> text, TiledMap* map, std::string* why);

// The value of the named property, or null.
const TiledProperty* findProperty(const std::vector<TiledProperty>& properties,
                                  const std::string& name);

} // namespace kavorind
