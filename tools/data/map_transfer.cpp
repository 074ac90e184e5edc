#include "data/map_transfer.h"

#include "assets/asset_limits.h"
#include "assets/stage_map.h"
#include "assets/stage_map_writer.h"
#include "common/png_image.h"
#include "data/bitmap_transfer.h"
#include "data/spawn_tiles.h"
#include "data/stage_tmx.h"
#include "data/tiled_map.h"

#include <algorithm>
#include <map>

namespace kavorind {

namespace {

std::string hexColours(const PaletteEntries& colours) {
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (const PaletteEntry& entry : colours)
        for (uint8_t c : {entry.red, entry.green, entry.blue}) {
            text += digits[c >> 4];
            text += digits[c & 15];
        }
    return text;
}

// The empty-cell value most cells store; 40000 when the map has no empty cell.
uint16_t commonEmptyValue(const StageMap& map) {
    std::map<uint16_t, size_t> counts;
    for (uint32_t l = 0; l < map.layerCount(); ++l)
        for (uint16_t t : map.layer(l)->tiles)
            if (t >= firstEmptyCell)
                ++counts[t];
    uint16_t common = firstEmptyCell;
    size_t most = 0;
    for (const auto& [value, count] : counts)
        if (count > most)
            common = value, most = count;
    return common;
}

std::vector<TiledProperty> spawnTileProperties(int code) {
    SpawnMeaning meaning = spawnMeaningOf(code);
    std::vector<TiledProperty> properties{{"code", "int", std::to_string(code)},
                                          {"meaning", "string", meaning.meaning}};
    if (meaning.meaning == "enemy") {
        properties.push_back({"enemy", "int", std::to_string(meaning.enemyType)});
        properties.push_back({"boss", "bool", meaning.boss ? "true" : "false"});
    }
    if (meaning.meaning == "item")
        properties.push_back({"item", "string", meaning.item});
    if (!meaning.sprite.empty())
        properties.push_back({"sprite", "string", meaning.sprite});
    return properties;
}

// The spawn tiles take the map's tile size, within what keeps their numbers readable and the
// picture small.
TiledTileset spawnTileset(const std::string& stem, int firstGid, int tileWidth, int tileHeight) {
    TiledTileset tileset;
    tileset.firstGid = firstGid;
    tileset.name = spawnTilesetName;
    tileset.tileWidth = std::clamp(tileWidth, 8, 128);
    tileset.tileHeight = std::clamp(tileHeight, 8, 128);
    tileset.tileCount = spawnCodeCount;
    tileset.columns = spawnTilesPerRow;
    tileset.image = stem + "-spawns.png";
    tileset.imageWidth = spawnTilesPerRow * tileset.tileWidth;
    tileset.imageHeight =
        (spawnCodeCount + spawnTilesPerRow - 1) / spawnTilesPerRow * tileset.tileHeight;
    for (int code = 1; code <= spawnCodeCount; ++code)
        tileset.tileProperties.push_back(spawnTileProperties(code));
    return tileset;
}

TiledLayer tileLayer(const MapLayer& layer, size_t index, uint16_t emptyValue) {
    TiledLayer tiled;
    tiled.name = tileLayerName(index);
    std::string others;
    for (size_t cell = 0; cell < layer.tiles.size(); ++cell) {
        uint16_t t = layer.tiles[cell];
        tiled.gids.push_back(t < firstEmptyCell ? t + 1u : 0u);
        if (t >= firstEmptyCell && t != emptyValue)
            others += (others.empty() ? "" : " ") + std::to_string(cell) + ":" + std::to_string(t);
    }
    if (!others.empty())
        tiled.properties.push_back({otherEmptyProperty, "string", others});
    return tiled;
}

TiledLayer spawnLayer(const MapLayer& layer, size_t index, int firstGid) {
    TiledLayer tiled;
    tiled.name = spawnLayerName(index);
    for (uint8_t code : layer.spawns)
        tiled.gids.push_back(code == 0 ? 0u : static_cast<uint32_t>(firstGid + code - 1));
    return tiled;
}

TiledMap tiledMapOf(const StageMap& map, const std::string& stem, const PngPicture& tiles) {
    TiledMap tiled;
    std::tie(tiled.width, tiled.height) = map.mapSize();
    std::tie(tiled.tileWidth, tiled.tileHeight) = map.tileSize();
    uint16_t emptyValue = commonEmptyValue(map);
    tiled.properties = {{emptyCellProperty, "int", std::to_string(emptyValue)},
                        {coloursProperty, "string", hexColours(tiles.palette)}};
    TiledTileset tileset;
    tileset.name = stem;
    tileset.tileWidth = tiled.tileWidth;
    tileset.tileHeight = tiled.tileHeight;
    // Cells address tiles below 40000 only; a larger tileset's other tiles are never drawn.
    tileset.tileCount = std::min<int>(map.tileCount(), firstEmptyCell);
    tileset.columns = tiles.width / tiled.tileWidth;
    tileset.image = stem + "-tiles.png";
    tileset.imageWidth = tiles.width;
    tileset.imageHeight = tiles.height;
    tiled.tilesets = {tileset,
                      spawnTileset(stem, 1 + tileset.tileCount, tiled.tileWidth, tiled.tileHeight)};
    for (uint32_t l = 0; l < map.layerCount(); ++l)
        tiled.layers.push_back(tileLayer(*map.layer(l), l, emptyValue));
    for (uint32_t l = 0; l < map.layerCount(); ++l)
        tiled.layers.push_back(spawnLayer(*map.layer(l), l, tiled.tilesets[1].firstGid));
    return tiled;
}

int addPng(const std::string& name, const PngPicture& picture, std::vector<ExportedFile>* files,
           std::string* why) {
    std::string problem;
    std::vector<uint8_t> bytes = encodePng(picture, &problem);
    if (bytes.empty()) {
        *why = name + ": " + problem;
        return 0;
    }
    files->push_back({name, std::move(bytes)});
    return 1;
}

} // namespace

int exportStageMap(const std::string& stem, std::span<const uint8_t> bytes,
                   std::vector<ExportedFile>* files, std::string* why) {
    StageMap map;
    LoadProblem problem;
    if (!map.loadFromMemory(bytes, &problem)) {
        *why = stem + ": the game would refuse this stage map: " + problem.reason + " (at byte " +
               std::to_string(problem.offset) + ")";
        return 0;
    }
    PngPicture tiles = indexedPngOf(map.tileset());
    TiledMap tiled = tiledMapOf(map, stem, tiles);
    const TiledTileset& spawns = tiled.tilesets[1];
    std::string text = writeTiledMap(tiled);
    std::vector<ExportedFile> made{{stem + ".tmx", {text.begin(), text.end()}}};
    if (!addPng(stem + "-tiles.png", tiles, &made, why) ||
        !addPng(spawns.image, drawSpawnTiles(spawns.tileWidth, spawns.tileHeight), &made, why))
        return 0;
    files->insert(files->end(), made.begin(), made.end());
    return 1;
}

} // namespace kavorind
