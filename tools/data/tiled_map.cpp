#include "data/tiled_map.h"

#include <pugixml.hpp>

#include <charconv>
#include <sstream>

namespace kavorind {

namespace {

// The Tiled release whose TMX layout these maps follow.
const char* const tmxVersion = "1.10";
const char* const tiledVersion = "1.10.2";

void writeProperties(pugi::xml_node parent, const std::vector<TiledProperty>& properties) {
    if (properties.empty())
        return;
    pugi::xml_node list = parent.append_child("properties");
    for (const TiledProperty& property : properties) {
        pugi::xml_node node = list.append_child("property");
        node.append_attribute("name") = property.name.c_str();
        if (property.type != "string")
            node.append_attribute("type") = property.type.c_str();
        node.append_attribute("value") = property.value.c_str();
    }
}

void writeTileset(pugi::xml_node map, const TiledTileset& tileset) {
    pugi::xml_node node = map.append_child("tileset");
    node.append_attribute("firstgid") = tileset.firstGid;
    node.append_attribute("name") = tileset.name.c_str();
    node.append_attribute("tilewidth") = tileset.tileWidth;
    node.append_attribute("tileheight") = tileset.tileHeight;
    node.append_attribute("tilecount") = tileset.tileCount;
    node.append_attribute("columns") = tileset.columns;
    pugi::xml_node image = node.append_child("image");
    image.append_attribute("source") = tileset.image.c_str();
    image.append_attribute("width") = tileset.imageWidth;
    image.append_attribute("height") = tileset.imageHeight;
    for (size_t k = 0; k < tileset.tileProperties.size(); ++k) {
        if (tileset.tileProperties[k].empty())
            continue;
        pugi::xml_node tile = node.append_child("tile");
        tile.append_attribute("id") = static_cast<unsigned>(k);
        writeProperties(tile, tileset.tileProperties[k]);
    }
}

// Tiled's CSV: a line per row of cells, every value followed by a comma but the very last.
std::string csvOf(const std::vector<uint32_t>& gids, int width) {
    std::string text = "\n";
    for (size_t i = 0; i < gids.size(); ++i) {
        text += std::to_string(gids[i]);
        if (i + 1 < gids.size())
            text += ',';
        if ((i + 1) % static_cast<size_t>(width) == 0)
            text += '\n';
    }
    return text;
}

int fail(std::string* why, const std::string& text) {
    *why = text;
    return 0;
}

// A whole number attribute from low to high; absent only when a fallback is allowed.
int readNumber(pugi::xml_node node, const char* name, long low, long high, int* out,
               std::string* why, const int* fallback = nullptr) {
    pugi::xml_attribute attribute = node.attribute(name);
    std::string where = "<" + std::string(node.name()) + "> attribute " + name;
    if (!attribute) {
        if (fallback) {
            *out = *fallback;
            return 1;
        }
        return fail(why, where + " is missing; save the map again from Tiled");
    }
    std::string text = attribute.value();
    long value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high)
        return fail(why, where + " is \"" + text + "\"; it must be a whole number from " +
                             std::to_string(low) + " to " + std::to_string(high));
    *out = static_cast<int>(value);
    return 1;
}

void readProperties(pugi::xml_node parent, std::vector<TiledProperty>* properties) {
    for (pugi::xml_node node : parent.child("properties").children("property")) {
        TiledProperty property{node.attribute("name").value(),
                               node.attribute("type").as_string("string"),
                               node.attribute("value").as_string(node.text().get())};
        properties->push_back(std::move(property));
    }
}

int readTileset(pugi::xml_node node, TiledTileset* tileset, std::string* why) {
    tileset->name = node.attribute("name").value();
    std::string where = "<tileset> \"" + tileset->name + "\"";
    if (node.attribute("source"))
        return fail(why, where + " is kept in " + node.attribute("source").value() +
                             "; embed it in the map (Tiled: Map > Embed Tilesets) and save again");
    const int none = 0;
    if (!readNumber(node, "firstgid", 1, 0x0fffffff, &tileset->firstGid, why) ||
        !readNumber(node, "tilewidth", 1, tiledMaxSide, &tileset->tileWidth, why) ||
        !readNumber(node, "tileheight", 1, tiledMaxSide, &tileset->tileHeight, why) ||
        !readNumber(node, "tilecount", 0, 0x0fffffff, &tileset->tileCount, why, &none) ||
        !readNumber(node, "columns", 0, tiledMaxSide, &tileset->columns, why, &none))
        return 0;
    if (node.attribute("spacing").as_int() != 0 || node.attribute("margin").as_int() != 0)
        return fail(why, where + " has a margin or spacing; the game's tiles touch, so set both "
                                 "to 0");
    pugi::xml_node image = node.child("image");
    if (!image || !image.attribute("source"))
        return fail(why, where + " has no <image source=...>; the map's tileset must be one "
                                 "picture");
    tileset->image = image.attribute("source").value();
    tileset->imageWidth = image.attribute("width").as_int();
    tileset->imageHeight = image.attribute("height").as_int();
    return 1;
}

int readCsv(const char* text, size_t cells, const std::string& where, std::vector<uint32_t>* gids,
            std::string* why) {
    const char* at = text;
    auto skipSpace = [&at] {
        while (*at == ' ' || *at == '\n' || *at == '\r' || *at == '\t')
            ++at;
    };
    skipSpace();
    while (*at) {
        uint32_t gid = 0;
        const char* start = at;
        while (*at >= '0' && *at <= '9')
            ++at;
        auto [end, error] = std::from_chars(start, at, gid);
        if (start == at || error != std::errc())
            return fail(why, where + ": CSV value " + std::to_string(gids->size() + 1) +
                                 " is not a tile id (a whole number below 4294967296)");
        if (gids->size() == cells)
            return fail(why, where + " holds more than the " + std::to_string(cells) +
                                 " cells of the map");
        gids->push_back(gid);
        skipSpace();
        if (*at == ',')
            ++at;
        else if (*at)
            return fail(why, where + ": CSV value " + std::to_string(gids->size()) +
                                 " is followed by \"" + std::string(1, *at) +
                                 "\" where a comma belongs");
        skipSpace();
    }
    return 1;
}

int base64Value(char c) {
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    return c == '+' ? 62 : c == '/' ? 63 : -1;
}

// Uncompressed base64 data: four little-endian bytes per cell.
int readBase64(const char* text, size_t cells, const std::string& where,
               std::vector<uint32_t>* gids, std::string* why) {
    std::vector<uint8_t> bytes;
    uint32_t bits = 0;
    int held = 0;
    for (const char* at = text; *at && *at != '='; ++at) {
        if (*at == ' ' || *at == '\n' || *at == '\r' || *at == '\t')
            continue;
        int value = base64Value(*at);
        if (value < 0)
            return fail(why, where + ": the base64 data holds \"" + std::string(1, *at) + "\"");
        bits = (bits << 6) | static_cast<uint32_t>(value);
        if ((held += 6) >= 8) {
            held -= 8;
            bytes.push_back(static_cast<uint8_t>(bits >> held));
        }
        if (bytes.size() > cells * 4)
            return fail(why, where + " holds more than the " + std::to_string(cells) +
                                 " cells of the map");
    }
    if (bytes.size() % 4 != 0)
        return fail(why, where + ": the base64 data is not a whole number of 4-byte tile ids");
    for (size_t i = 0; i < bytes.size(); i += 4)
        gids->push_back(uint32_t{bytes[i]} | uint32_t{bytes[i + 1]} << 8 |
                        uint32_t{bytes[i + 2]} << 16 | uint32_t{bytes[i + 3]} << 24);
    return 1;
}

int readLayerData(pugi::xml_node data, size_t cells, const std::string& where,
                  std::vector<uint32_t>* gids, std::string* why) {
    std::string encoding = data.attribute("encoding").value();
    std::string compression = data.attribute("compression").value();
    if (data.child("chunk"))
        return fail(why, where + " is in chunks (an infinite map); untick Infinite in the Map "
                                 "Properties and save again");
    if (!compression.empty())
        return fail(why, where + " is compressed with " + compression +
                             "; choose CSV as the Tile Layer Format in the Map Properties");
    if (encoding == "csv")
        return readCsv(data.text().get(), cells, where, gids, why);
    if (encoding == "base64")
        return readBase64(data.text().get(), cells, where, gids, why);
    if (!encoding.empty())
        return fail(why, where + " has encoding \"" + encoding +
                             "\"; choose CSV as the Tile "
                             "Layer Format");
    for (pugi::xml_node tile : data.children("tile")) {
        if (gids->size() == cells)
            return fail(why, where + " holds more than the " + std::to_string(cells) +
                                 " cells of the map");
        gids->push_back(tile.attribute("gid").as_uint());
    }
    return 1;
}

int readLayer(pugi::xml_node node, const TiledMap& map, TiledLayer* layer, std::string* why) {
    layer->name = node.attribute("name").value();
    std::string where = "<layer> \"" + layer->name + "\"";
    int width = 0, height = 0;
    if (!readNumber(node, "width", 1, tiledMaxSide, &width, why, &map.width) ||
        !readNumber(node, "height", 1, tiledMaxSide, &height, why, &map.height))
        return 0;
    if (width != map.width || height != map.height)
        return fail(why, where + " is " + std::to_string(width) + " x " + std::to_string(height) +
                             " cells in a map of " + std::to_string(map.width) + " x " +
                             std::to_string(map.height) + "; every layer must be the map's size");
    readProperties(node, &layer->properties);
    pugi::xml_node data = node.child("data");
    if (!data)
        return fail(why, where + " has no <data>");
    size_t cells = static_cast<size_t>(width) * static_cast<size_t>(height);
    if (!readLayerData(data, cells, where, &layer->gids, why))
        return 0;
    if (layer->gids.size() != cells)
        return fail(why, where + " holds " + std::to_string(layer->gids.size()) + " cells where " +
                             std::to_string(width) + " x " + std::to_string(height) + " needs " +
                             std::to_string(cells));
    return 1;
}

int readMapHeader(pugi::xml_node root, TiledMap* map, std::string* why) {
    std::string orientation = root.attribute("orientation").as_string("orthogonal");
    if (orientation != "orthogonal")
        return fail(why, "<map> orientation is \"" + orientation + "\"; stage maps are orthogonal");
    if (root.attribute("infinite").as_int() != 0)
        return fail(why, "<map> is infinite; untick Infinite in the Map Properties and save again");
    if (!readNumber(root, "width", 1, tiledMaxSide, &map->width, why) ||
        !readNumber(root, "height", 1, tiledMaxSide, &map->height, why) ||
        !readNumber(root, "tilewidth", 1, tiledMaxSide, &map->tileWidth, why) ||
        !readNumber(root, "tileheight", 1, tiledMaxSide, &map->tileHeight, why))
        return 0;
    readProperties(root, &map->properties);
    return 1;
}

} // namespace

const TiledProperty* findProperty(const std::vector<TiledProperty>& properties,
                                  const std::string& name) {
    for (const TiledProperty& property : properties)
        if (property.name == name)
            return &property;
    return nullptr;
}

std::string writeTiledMap(const TiledMap& map) {
    pugi::xml_document document;
    pugi::xml_node declaration = document.append_child(pugi::node_declaration);
    declaration.append_attribute("version") = "1.0";
    declaration.append_attribute("encoding") = "UTF-8";
    pugi::xml_node root = document.append_child("map");
    root.append_attribute("version") = tmxVersion;
    root.append_attribute("tiledversion") = tiledVersion;
    root.append_attribute("orientation") = "orthogonal";
    root.append_attribute("renderorder") = "right-down";
    root.append_attribute("width") = map.width;
    root.append_attribute("height") = map.height;
    root.append_attribute("tilewidth") = map.tileWidth;
    root.append_attribute("tileheight") = map.tileHeight;
    root.append_attribute("infinite") = 0;
    root.append_attribute("nextlayerid") = static_cast<unsigned>(map.layers.size() + 1);
    root.append_attribute("nextobjectid") = 1;
    writeProperties(root, map.properties);
    for (const TiledTileset& tileset : map.tilesets)
        writeTileset(root, tileset);
    for (size_t l = 0; l < map.layers.size(); ++l) {
        const TiledLayer& layer = map.layers[l];
        pugi::xml_node node = root.append_child("layer");
        node.append_attribute("id") = static_cast<unsigned>(l + 1);
        node.append_attribute("name") = layer.name.c_str();
        node.append_attribute("width") = map.width;
        node.append_attribute("height") = map.height;
        writeProperties(node, layer.properties);
        pugi::xml_node data = node.append_child("data");
        data.append_attribute("encoding") = "csv";
        data.text() = csvOf(layer.gids, map.width).c_str();
    }
    std::ostringstream text;
    document.save(text, " ", pugi::format_indent, pugi::encoding_utf8);
    return text.str();
}

int readTiledMap(std::span<const uint8_t> text, TiledMap* map, std::string* why) {
    pugi::xml_document document;
    pugi::xml_parse_result parsed = document.load_buffer(text.data(), text.size());
    if (!parsed)
        return fail(why, std::string("not a readable TMX document: ") + parsed.description() +
                             " at byte " + std::to_string(parsed.offset));
    pugi::xml_node root = document.child("map");
    if (!root)
        return fail(why, "no <map> element: not a Tiled map");
    if (!readMapHeader(root, map, why))
        return 0;
    int layerCount = 0;
    for (pugi::xml_node node : root.children()) {
        std::string kind = node.name();
        if (kind == "objectgroup" || kind == "imagelayer" || kind == "group")
            return fail(why, "<" + kind + "> \"" + node.attribute("name").value() +
                                 "\": a stage map holds tile layers only; remove it");
        layerCount += kind == "layer";
    }
    if (layerCount > tiledMaxLayers)
        return fail(why, "<map> has " + std::to_string(layerCount) + " layers; at most " +
                             std::to_string(tiledMaxLayers) + " are read");
    for (pugi::xml_node node : root.children("tileset")) {
        map->tilesets.emplace_back();
        if (!readTileset(node, &map->tilesets.back(), why))
            return 0;
    }
    for (pugi::xml_node node : root.children("layer")) {
        map->layers.emplace_back();
        if (!readLayer(node, *map, &map->layers.back(), why))
            return 0;
    }
    return 1;
}

} // namespace kavorind
