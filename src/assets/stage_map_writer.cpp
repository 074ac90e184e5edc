#include "assets/stage_map_writer.h"

#include "assets/asset_limits.h"
#include "platform/byte_io.h"
#include "platform/content_file.h"

namespace kavorind {

namespace {

int fail(std::string* error, const std::string& why) {
    if (error)
        *error = why;
    return 0;
}

int checkMap(const StageMapImage& map, std::string* error) {
    if (map.layers.empty())
        return fail(error, "a stage map needs at least one layer");
    if (map.width < 1 || map.height < 1)
        return fail(error, "map size must be at least 1 x 1 tiles");
    if (map.tileWidth < 1 || map.tileHeight < 1)
        return fail(error, "tile size must be at least 1 x 1 pixels");
    if (!checkIndexedImage(map.tileset, error))
        return 0;
    int tileCount = tileCountOf(map);
    if (tileCount < 1)
        return fail(error, "the tileset is smaller than one tile");
    size_t cells = static_cast<size_t>(map.width) * map.height;
    for (size_t l = 0; l < map.layers.size(); ++l) {
        const MapLayerImage& layer = map.layers[l];
        std::string name = "layer " + std::to_string(l);
        if (layer.tiles.size() != cells || layer.spawns.size() != cells)
            return fail(error, name + " grids must hold width x height cells");
        for (size_t c = 0; c < cells; ++c)
            if (layer.tiles[c] >= tileCount && layer.tiles[c] < firstEmptyCell)
                return fail(error, name + " cell " + std::to_string(c) + " names tile " +
                                       std::to_string(layer.tiles[c]) + " of " +
                                       std::to_string(tileCount));
    }
    return 1;
}

} // namespace

StageMapImage makeStageMapImage(int width, int height, int tileWidth, int tileHeight,
                                int layerCount, int tilesetWidth, int tilesetHeight) {
    StageMapImage map;
    map.width = width;
    map.height = height;
    map.tileWidth = tileWidth;
    map.tileHeight = tileHeight;
    size_t cells = width > 0 && height > 0 ? static_cast<size_t>(width) * height : 0;
    for (int l = 0; l < layerCount; ++l)
        map.layers.push_back(MapLayerImage{std::vector<uint16_t>(cells, firstEmptyCell),
                                           std::vector<uint8_t>(cells, 0)});
    map.tileset = makeIndexedImage(tilesetWidth, tilesetHeight);
    return map;
}

int tileCountOf(const StageMapImage& map) {
    if (map.tileWidth < 1 || map.tileHeight < 1)
        return 0;
    return (map.tileset.width / map.tileWidth) * (map.tileset.height / map.tileHeight);
}

std::vector<uint8_t> encodeStageMap(const StageMapImage& map, std::string* error) {
    std::vector<uint8_t> bytes;
    if (!checkMap(map, error))
        return bytes;
    ByteWriter write(&bytes);
    write.bytes("MAP", 3);
    write.u32(static_cast<uint32_t>(map.layers.size()));
    write.i32(map.width);
    write.i32(map.height);
    write.i32(map.tileWidth);
    write.i32(map.tileHeight);
    for (const MapLayerImage& layer : map.layers)
        for (uint16_t tile : layer.tiles)
            write.u16(tile);
    for (const MapLayerImage& layer : map.layers)
        write.bytes(layer.spawns.data(), layer.spawns.size());
    appendRawImageBlock(map.tileset, &bytes);
    return bytes;
}

int writeStageMap(const std::string& path, const StageMapImage& map, std::string* error) {
    std::vector<uint8_t> bytes = encodeStageMap(map, error);
    if (bytes.empty())
        return 0;
    std::string why;
    if (!writeFileSafely(path, bytes, FileDurable, &why))
        return fail(error, "cannot write " + path + ": " + why);
    return 1;
}

} // namespace kavorind
