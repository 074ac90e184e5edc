#include "assets/asset_limits.h"
#include "assets/stage_map_writer.h"
#include "common/png_image.h"
#include "data/map_transfer.h"
#include "data/palette_match.h"
#include "data/spawn_tiles.h"
#include "data/stage_tmx.h"
#include "data/tiled_map.h"
#include "platform/content_file.h"

#include <charconv>
#include <optional>

namespace kavorind {

namespace {

int fail(std::string* why, const std::string& text) {
    *why = text;
    return 0;
}

// Tiled keeps a tile's flips and rotation in the top four bits of its id.
constexpr uint32_t gidFlagBits = 0xf0000000u;

// Where each kind of tile sits among the map's tile ids.
struct GidRanges {
    const TiledTileset* tiles = nullptr;
    const TiledTileset* spawns = nullptr;
    int tileCount = 0;
};

int findTilesets(const TiledMap& map, GidRanges* ranges, std::string* why) {
    for (const TiledTileset& tileset : map.tilesets) {
        const TiledTileset** slot =
            tileset.name == spawnTilesetName ? &ranges->spawns : &ranges->tiles;
        if (*slot)
            return fail(why, "<tileset> \"" + tileset.name +
                                 "\" is one tileset too many: a stage "
                                 "map has its tileset and the \"spawns\" one; remove the other");
        *slot = &tileset;
    }
    if (!ranges->tiles)
        return fail(why, "no <tileset> for the map's tiles (one besides \"spawns\"); add the "
                         "tileset picture as an embedded tileset");
    if (ranges->tiles->tileWidth != map.tileWidth || ranges->tiles->tileHeight != map.tileHeight)
        return fail(why, "<tileset> \"" + ranges->tiles->name + "\" cuts tiles of " +
                             std::to_string(ranges->tiles->tileWidth) + " x " +
                             std::to_string(ranges->tiles->tileHeight) + " in a map of " +
                             std::to_string(map.tileWidth) + " x " +
                             std::to_string(map.tileHeight) + " tiles; make them equal");
    return 1;
}

// Only names inside the map's folder: the import reads nothing an author did not put beside it.
bool besideTheMap(const std::string& name) {
    if (name.empty() || name[0] == '/' || name.find('\\') != std::string::npos)
        return false;
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = name.find('/', start);
        if (name.substr(start, end - start) == "..")
            return false;
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return true;
}

std::optional<PaletteEntries> recordedColours(const TiledMap& map, std::string* why) {
    const TiledProperty* property = findProperty(map.properties, coloursProperty);
    if (!property)
        return PaletteEntries{};
    const std::string& hex = property->value;
    PaletteEntries colours{};
    uint8_t parts[768];
    bool valid = hex.size() == 2 * sizeof parts;
    for (size_t i = 0; valid && i < sizeof parts; ++i)
        valid = std::from_chars(hex.data() + 2 * i, hex.data() + 2 * i + 2, parts[i], 16).ptr ==
                hex.data() + 2 * i + 2;
    if (!valid) {
        *why = std::string("map property ") + coloursProperty +
               " is not 256 colours of six hex digits; delete it to use the tileset picture's";
        return std::nullopt;
    }
    for (size_t i = 0; i < 256; ++i)
        colours[i] = PaletteEntry{parts[3 * i], parts[3 * i + 1], parts[3 * i + 2], 0};
    return colours;
}

// The tileset picture as the map's: an indexed picture as it is, its colours filled up from the
// recorded ones; any other brought down to the recorded colours, or to the import's palette.
int readTilesetPicture(const ImportSource& source, const TiledMap& map, const TiledTileset& tileset,
                       IndexedImage* image, std::string* report, std::string* why) {
    std::string where = "<tileset> \"" + tileset.name + "\" image \"" + tileset.image + "\"";
    if (!besideTheMap(tileset.image))
        return fail(why, where + " is outside the map's folder; put the picture beside the map");
    std::vector<uint8_t> bytes;
    std::string problem;
    if (!source.readCompanion(tileset.image, &bytes, &problem))
        return fail(why, where + ": " + problem);
    PngPicture picture;
    if (!decodePng(bytes, &picture, &problem, source.pixels->left) ||
        !takePixelBytes(source.pixels, picture.pixels.size(), &problem))
        return fail(why, where + ": " + problem);
    const TiledProperty* recorded = findProperty(map.properties, coloursProperty);
    std::optional<PaletteEntries> colours = recordedColours(map, why);
    if (!colours)
        return 0;
    *image = makeIndexedImage(picture.width, picture.height);
    image->colours = *colours;
    if (picture.indexed) {
        image->pixels = picture.pixels;
        std::copy(picture.palette.begin(), picture.palette.begin() + picture.paletteSize,
                  image->colours.begin());
        return 1;
    }
    if (!recorded && !source.reducePalette)
        return fail(why, where + " is not indexed and the map records no colours; save it as "
                                 "an indexed PNG or name a palette with --palette");
    if (!recorded)
        image->colours = *source.reducePalette;
    PaletteReduction reduced = reduceToPalette(picture, image->colours);
    image->pixels = std::move(reduced.indices);
    *report += tileset.image + ": " + std::to_string(reduced.movedColours) +
               " colours moved to the nearest of the palette\n";
    return 1;
}

struct LayerPair {
    const TiledLayer* tiles = nullptr;
    const TiledLayer* spawns = nullptr;
};

// "tiles N" or "spawns N" with N from 0 to 255, each once; every N below the highest has both.
int pairLayers(const TiledMap& map, std::vector<LayerPair>* pairs, std::string* why) {
    pairs->assign(maxMapLayers, {});
    size_t count = 0;
    for (const TiledLayer& layer : map.layers) {
        size_t space = layer.name.find(' ');
        std::string kind = layer.name.substr(0, space);
        int number = -1;
        const char* digits = layer.name.c_str() + (space == std::string::npos ? 0 : space + 1);
        auto [end, error] = std::from_chars(digits, layer.name.c_str() + layer.name.size(), number);
        bool named = space != std::string::npos && error == std::errc() &&
                     end == layer.name.c_str() + layer.name.size() && number >= 0 &&
                     number < static_cast<int>(maxMapLayers) &&
                     (kind == "tiles" || kind == "spawns");
        if (!named)
            return fail(why, "<layer> \"" + layer.name +
                                 "\" is neither \"tiles N\" nor \"spawns "
                                 "N\" (N from 0 to 255); rename it after the map layer it holds");
        LayerPair& pair = (*pairs)[static_cast<size_t>(number)];
        const TiledLayer*& slot = kind == "tiles" ? pair.tiles : pair.spawns;
        if (slot)
            return fail(why, "two layers are named \"" + layer.name + "\"; rename one");
        slot = &layer;
        count = std::max(count, static_cast<size_t>(number) + 1);
    }
    pairs->resize(count);
    for (size_t l = 0; l < count; ++l) {
        if (!(*pairs)[l].tiles)
            return fail(why, "no <layer> \"" + tileLayerName(l) +
                                 "\"; every map layer up to the "
                                 "last needs its tile layer");
        if (!(*pairs)[l].spawns)
            return fail(why, "no <layer> \"" + spawnLayerName(l) +
                                 "\"; every map layer needs "
                                 "its spawn layer (leave it empty for no spawns)");
    }
    if (count == 0)
        return fail(why, "no <layer> \"tiles 0\"; a stage map needs at least one layer");
    return 1;
}

std::string cellName(const TiledMap& map, size_t cell) {
    return "column " + std::to_string(cell % static_cast<size_t>(map.width)) + ", row " +
           std::to_string(cell / static_cast<size_t>(map.width));
}

int readEmptyValue(const std::string& text, const std::string& where, uint16_t* value,
                   std::string* why) {
    unsigned number = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size() || number < firstEmptyCell ||
        number > 65535)
        return fail(why, where + " is \"" + text + "\"; an empty cell stores 40000 to 65535");
    *value = static_cast<uint16_t>(number);
    return 1;
}

// "cell:value" pairs, each for a cell that stays empty.
int applyOtherEmpties(const TiledLayer& layer, std::vector<uint16_t>* tiles, std::string* why) {
    const TiledProperty* property = findProperty(layer.properties, otherEmptyProperty);
    if (!property)
        return 1;
    std::string where = "<layer> \"" + layer.name + "\" property " + otherEmptyProperty;
    const std::string& text = property->value;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find(' ', at);
        std::string pair = text.substr(at, end - at);
        at = end == std::string::npos ? text.size() : end + 1;
        size_t colon = pair.find(':');
        size_t cell = 0;
        uint16_t value = 0;
        bool valid =
            colon != std::string::npos &&
            std::from_chars(pair.data(), pair.data() + colon, cell).ptr == pair.data() + colon &&
            cell < tiles->size() && readEmptyValue(pair.substr(colon + 1), where, &value, why);
        if (!valid)
            return fail(why, where + " holds \"" + pair +
                                 "\"; delete the property to store "
                                 "every empty cell alike");
        // A cell an author has since filled keeps its tile.
        if ((*tiles)[cell] >= firstEmptyCell)
            (*tiles)[cell] = value;
    }
    return 1;
}

int readTileCells(const TiledMap& map, const GidRanges& ranges, const TiledLayer& layer,
                  uint16_t emptyValue, MapLayerImage* out, std::string* why) {
    const uint32_t first = static_cast<uint32_t>(ranges.tiles->firstGid);
    out->tiles.resize(layer.gids.size());
    for (size_t cell = 0; cell < layer.gids.size(); ++cell) {
        uint32_t gid = layer.gids[cell];
        std::string where = "<layer> \"" + layer.name + "\" at " + cellName(map, cell);
        if (gid & gidFlagBits)
            return fail(why, where + " holds a flipped or turned tile; the game draws tiles as "
                                     "they are, so flip the picture in the tileset instead");
        if (gid != 0 && (gid < first || gid - first >= static_cast<uint32_t>(ranges.tileCount)))
            return fail(why, where + " holds tile id " + std::to_string(gid) +
                                 ", not a tile of \"" + ranges.tiles->name + "\" (ids " +
                                 std::to_string(first) + " to " +
                                 std::to_string(first + ranges.tileCount - 1) +
                                 "); use the map's tileset here, spawn codes go in \"spawns N\"");
        if (gid != 0 && gid - first >= firstEmptyCell)
            return fail(why, where + " holds tile " + std::to_string(gid - first) +
                                 " of the tileset; the game reaches only its first 40000 tiles");
        out->tiles[cell] = gid == 0 ? emptyValue : static_cast<uint16_t>(gid - first);
    }
    return applyOtherEmpties(layer, &out->tiles, why);
}

int readSpawnCells(const TiledMap& map, const GidRanges& ranges, const TiledLayer& layer,
                   MapLayerImage* out, std::string* why) {
    out->spawns.resize(layer.gids.size());
    for (size_t cell = 0; cell < layer.gids.size(); ++cell) {
        uint32_t gid = layer.gids[cell];
        if (gid == 0)
            continue;
        uint32_t first = ranges.spawns ? static_cast<uint32_t>(ranges.spawns->firstGid) : 0;
        if (!ranges.spawns || gid < first || gid - first >= spawnCodeCount)
            return fail(why, "<layer> \"" + layer.name + "\" at " + cellName(map, cell) +
                                 " holds tile id " + std::to_string(gid) +
                                 ", not a tile of the \"spawns\" tileset; use its tiles (codes 1 "
                                 "to 255) here");
        out->spawns[cell] = static_cast<uint8_t>(gid - first + 1);
    }
    return 1;
}

int buildStageMap(const ImportSource& source, const TiledMap& tiled, StageMapImage* map,
                  std::string* report, std::string* why) {
    GidRanges ranges;
    std::vector<LayerPair> pairs;
    if (!findTilesets(tiled, &ranges, why) || !pairLayers(tiled, &pairs, why))
        return 0;
    uint64_t fileBytes = uint64_t(tiled.width) * uint64_t(tiled.height) * 3 * pairs.size();
    if (fileBytes > maxContentFileBytes)
        return fail(why, "<map> of " + std::to_string(pairs.size()) + " layers of " +
                             std::to_string(tiled.width) + " x " + std::to_string(tiled.height) +
                             " cells makes a file past the game's 1 GiB limit; make it smaller");
    map->width = tiled.width;
    map->height = tiled.height;
    map->tileWidth = tiled.tileWidth;
    map->tileHeight = tiled.tileHeight;
    if (!readTilesetPicture(source, tiled, *ranges.tiles, &map->tileset, report, why))
        return 0;
    ranges.tileCount = tileCountOf(*map);
    if (ranges.tileCount < 1)
        return fail(why, "<tileset> \"" + ranges.tiles->name +
                             "\": its picture is smaller than "
                             "one tile");
    uint16_t emptyValue = firstEmptyCell;
    const TiledProperty* empty = findProperty(tiled.properties, emptyCellProperty);
    if (empty && !readEmptyValue(empty->value, std::string("map property ") + emptyCellProperty,
                                 &emptyValue, why))
        return 0;
    map->layers.resize(pairs.size());
    for (size_t l = 0; l < pairs.size(); ++l)
        if (!readTileCells(tiled, ranges, *pairs[l].tiles, emptyValue, &map->layers[l], why) ||
            !readSpawnCells(tiled, ranges, *pairs[l].spawns, &map->layers[l], why))
            return 0;
    return 1;
}

} // namespace

int importStageMap(const ImportSource& source, ImportResult* result, std::string* why) {
    TiledMap tiled;
    StageMapImage map;
    std::string problem, report;
    if (!readTiledMap(source.bytes, &tiled, &problem) ||
        !buildStageMap(source, tiled, &map, &report, &problem)) {
        *why = source.name + ": " + problem;
        return 0;
    }
    std::vector<uint8_t> bytes = encodeStageMap(map, &problem);
    if (bytes.empty()) {
        *why = source.name + ": " + problem;
        return 0;
    }
    result->bytes = std::move(bytes);
    result->report += report;
    return 1;
}

} // namespace kavorind
