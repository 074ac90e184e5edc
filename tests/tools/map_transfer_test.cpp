// Stage maps to Tiled maps and back: the same bytes for what the game's writer makes, exactly an
// author's edits after a change in the editor, and a message naming the element for a broken map.
#include "assets/stage_map_writer.h"
#include "content/generated_content.h"
#include "data/spawn_tiles.h"
#include "data/tiled_map.h"
#include "data/transfer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <unistd.h>

namespace kavorind {

namespace {

namespace fs = std::filesystem;

// An export's files in memory, and the import reading its companions from them.
struct Exported {
    std::map<std::string, std::vector<uint8_t>> files;

    std::string text(const std::string& name) const {
        const std::vector<uint8_t>& bytes = files.at(name);
        return std::string(bytes.begin(), bytes.end());
    }
    int import(const std::string& tmx, ImportResult* result, std::string* why) const {
        std::vector<uint8_t> bytes(tmx.begin(), tmx.end());
        ImportSource source{
            "map.tmx", bytes,
            [this](const std::string& name, std::vector<uint8_t>* out, std::string* problem) {
                auto found = files.find(name);
                if (found == files.end()) {
                    *problem = "no such file";
                    return 0;
                }
                *out = found->second;
                return 1;
            }};
        return importContent(source, result, why);
    }
};

Exported exportMap(const std::string& name, const std::vector<uint8_t>& map) {
    std::vector<ExportedFile> files;
    std::string why;
    EXPECT_EQ(exportContent(name, map, &files, &why), 1) << why;
    Exported exported;
    for (ExportedFile& file : files)
        exported.files[file.name] = std::move(file.bytes);
    return exported;
}

// Two layers of 4 x 3 cells of 2 x 2 pixel tiles, with every tile used, spawn codes of each
// kind, and empty cells storing three different values.
StageMapImage smallMap() {
    StageMapImage map = makeStageMapImage(4, 3, 2, 2, 2, 6, 4);
    for (size_t i = 0; i < map.tileset.pixels.size(); ++i)
        map.tileset.pixels[i] = static_cast<uint8_t>(i * 7);
    for (int c = 0; c < 256; ++c)
        map.tileset.colours[static_cast<size_t>(c)] =
            PaletteEntry{uint8_t(c), uint8_t(255 - c), uint8_t(c * 3), 0};
    map.layers[0].tiles = {0, 1, 2, 3, 4, 5, 40000, 40000, 65535, 0, 1, 2};
    map.layers[0].spawns = {0, 1, 0, 10, 0, 0, 25, 0, 0, 19, 0, 255};
    map.layers[1].tiles[5] = 3;
    map.layers[1].tiles[6] = 40001;
    map.layers[1].spawns[2] = 12;
    return map;
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

} // namespace

TEST(MapTransfer, EveryDefaultStageMapComesBackByteForByte) {
    const std::string& dir = generated::folder();
    ASSERT_FALSE(dir.empty());
    int maps = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir)) {
        if (entry.path().extension() != ".map")
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
        std::string stem = entry.path().stem().string();
        Exported exported = exportMap(entry.path().string(), bytes);
        ImportResult result;
        std::string why;
        ASSERT_EQ(exported.import(exported.text(stem + ".tmx"), &result, &why), 1) << why;
        EXPECT_TRUE(result.bytes == bytes) << stem;
        ++maps;
    }
    EXPECT_EQ(maps, 9);
}

TEST(MapTransfer, KeepsLayersEmptyCellValuesAndColoursThroughTruecolourTiles) {
    std::vector<uint8_t> bytes = encodeStageMap(smallMap());
    Exported exported = exportMap("Odd.map", bytes);
    std::string tmx = exported.text("Odd.tmx");
    ImportResult result;
    std::string why;
    ASSERT_EQ(exported.import(tmx, &result, &why), 1) << why;
    EXPECT_TRUE(result.bytes == bytes);

    // The tileset saved again in truecolour is brought back to the map's own colours.
    PngPicture indexed, rgba;
    ASSERT_EQ(decodePng(exported.files["Odd-tiles.png"], &indexed, &why), 1) << why;
    rgba.width = indexed.width;
    rgba.height = indexed.height;
    for (uint8_t index : indexed.pixels) {
        const PaletteEntry& c = indexed.palette[index];
        rgba.pixels.insert(rgba.pixels.end(), {c.red, c.green, c.blue, 255});
    }
    exported.files["Odd-tiles.png"] = encodePng(rgba);
    ASSERT_EQ(exported.import(tmx, &result, &why), 1) << why;
    EXPECT_TRUE(result.bytes == bytes);
    EXPECT_NE(result.report.find("0 colours moved"), std::string::npos) << result.report;
}

TEST(MapTransfer, AnEditedCellAndSpawnCodeComeBackAsExactlyThoseChanges) {
    StageMapImage map = smallMap();
    std::vector<uint8_t> bytes = encodeStageMap(map);
    Exported exported = exportMap("Edit.map", bytes);
    TiledMap tiled;
    std::string why;
    std::string tmx = exported.text("Edit.tmx");
    ASSERT_EQ(
        readTiledMap({reinterpret_cast<const uint8_t*>(tmx.data()), tmx.size()}, &tiled, &why), 1)
        << why;
    ASSERT_EQ(tiled.layers.size(), 4u);
    EXPECT_EQ(tiled.layers[2].name, "spawns 0");
    // Cell 7 (column 3, row 1) of layer 0 gets tile 4; cell 4 gets spawn code 11.
    tiled.layers[0].gids[7] = static_cast<uint32_t>(tiled.tilesets[0].firstGid + 4);
    tiled.layers[2].gids[4] = static_cast<uint32_t>(tiled.tilesets[1].firstGid + 11 - 1);
    ImportResult result;
    ASSERT_EQ(exported.import(writeTiledMap(tiled), &result, &why), 1) << why;
    map.layers[0].tiles[7] = 4;
    map.layers[0].spawns[4] = 11;
    EXPECT_TRUE(result.bytes == encodeStageMap(map));
}

TEST(MapTransfer, SpawnTilesNameWhatEachCodeBrings) {
    SpawnMeaning boss = spawnMeaningOf(10), flyer = spawnMeaningOf(11), item = spawnMeaningOf(1);
    EXPECT_EQ(boss.meaning, "enemy");
    EXPECT_TRUE(boss.boss);
    EXPECT_EQ(boss.sprite, "Enemy2.spr");
    EXPECT_EQ(flyer.enemyType, 1);
    EXPECT_FALSE(flyer.boss);
    EXPECT_EQ(item.meaning, "item");
    EXPECT_EQ(item.item, "hit point");
    EXPECT_EQ(spawnMeaningOf(3).item, "speed");
    for (int ignored : {4, 9, 20, 255})
        EXPECT_EQ(spawnMeaningOf(ignored).meaning, "none") << ignored;
}

TEST(MapTransfer, BrokenMapsAreRefusedNamingTheFault) {
    Exported exported = exportMap("Bad.map", encodeStageMap(smallMap()));
    std::string tmx = exported.text("Bad.tmx");
    // The first row of "tiles 0" is "1,2,3,4,"; spawn tile ids start at 7 (six map tiles).
    struct Case {
        std::string from, to, says;
    };
    const Case cases[] = {
        {"\n1,2,3,4,", "\n1,2,x,4,", "CSV value 3 is not a tile id"},
        {"\n1,2,3,4,", "\n1,2,3,", "holds 11 cells where 4 x 3 needs 12"},
        {"\n1,2,3,4,", "\n1,2,3,4,5,", "holds more than the 12 cells"},
        {"\n1,2,3,4,", "\n1,2,3,99,", "holds tile id 99, not a tile of \"Bad\""},
        {"\n1,2,3,4,", "\n1,2,3,2147483649,", "flipped or turned"},
        {"\n1,2,3,4,", "\n1,2,3,7,", "spawn codes go in \"spawns N\""},
        {"source=\"Bad-tiles.png\"", "source=\"../Bad-tiles.png\"", "outside the map's folder"},
        {"source=\"Bad-tiles.png\"", "source=\"Gone.png\"", "\"Gone.png\": no such file"},
        {"name=\"Bad\"", "name=\"spawns\"", "one tileset too many"},
        {"name=\"tiles 1\"", "name=\"scenery\"", "neither \"tiles N\" nor \"spawns N\""},
        {"name=\"spawns 1\"", "name=\"spawns 7\"", "no <layer> \"spawns 1\""},
        {"width=\"4\"", "width=\"-4\"", "<map> attribute width is \"-4\""},
        {"encoding=\"csv\"", "encoding=\"base64\" compression=\"zlib\"", "choose CSV"},
        {"<map ", "<map", "not a readable TMX document"},
    };
    for (const Case& c : cases) {
        ImportResult result;
        std::string why;
        EXPECT_EQ(exported.import(replaced(tmx, c.from, c.to), &result, &why), 0) << c.says;
        EXPECT_NE(why.find(c.says), std::string::npos) << "wanted \"" << c.says << "\" in: " << why;
    }
    ImportResult result;
    std::string why;
    exported.files.erase("Bad-tiles.png");
    EXPECT_EQ(exported.import(tmx, &result, &why), 0);
    EXPECT_NE(why.find("Bad-tiles.png"), std::string::npos) << why;
}

TEST(MapTransfer, ReadsUncompressedBase64Layers) {
    StageMapImage map = makeStageMapImage(2, 1, 2, 2, 1, 4, 2);
    map.layers[0].tiles = {1, 40000};
    std::vector<uint8_t> bytes = encodeStageMap(map);
    Exported exported = exportMap("B.map", bytes);
    // Tile ids 2 and 0 as four little-endian bytes each: 02 00 00 00 00 00 00 00.
    std::string tmx = replaced(exported.text("B.tmx"), "encoding=\"csv\">\n2,0\n",
                               "encoding=\"base64\">\n   AgAAAAAAAAA=\n  ");
    ImportResult result;
    std::string why;
    ASSERT_EQ(exported.import(tmx, &result, &why), 1) << why;
    EXPECT_TRUE(result.bytes == bytes);
}

} // namespace kavorind
