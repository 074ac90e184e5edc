#include "data/spawn_tiles.h"

#include "game/game_types.h"

#include <algorithm>
#include <array>

namespace kavorind {

namespace {

// The game's own tables, filled from an empty catalogue: only which sprite slot each type and
// item points at is read from them, and the slot gives the file name.
struct SpawnTables {
    ContentCatalogue content;
    GameTypes types;

    SpawnTables() {
        std::vector<UnusableSet> unusable;
        fillGameTypesNoting(content, &types, &unusable);
    }
    std::string enemySprite(int type) const {
        auto slot =
            types.enemyTypes[static_cast<size_t>(type)].sprite - content.enemySprites.data();
        return "Enemy" + std::to_string(slot) + ".spr";
    }
    std::string itemSprite(int kind) const {
        auto slot = types.itemKinds[static_cast<size_t>(kind)].sprite - content.itemSprites.data();
        return "Item" + std::to_string(slot) + ".spr";
    }
};

const SpawnTables& spawnTables() {
    static const SpawnTables tables;
    return tables;
}

// Item kinds by their effect: 0 a hit point, 1 a special shot, 2 more speed.
const char* const itemEffects[] = {"hit point", "special shot", "speed"};

// Digits 0 to 9, three pixels wide and five high, one row per three bits, top row first.
constexpr std::array<uint16_t, 10> digitGlyphs = {
    0b111101101101111, 0b010110010010111, 0b111001111100111, 0b111001111001111, 0b101101111001001,
    0b111100111001111, 0b111100111101111, 0b111001001001001, 0b111101111101111, 0b111101111001111};

struct Rgba {
    uint8_t red, green, blue, alpha;
};

Rgba colourOf(const SpawnMeaning& meaning) {
    if (meaning.meaning == "item")
        return {40, 170, 60, 190};
    if (meaning.meaning == "enemy")
        return meaning.boss ? Rgba{150, 40, 170, 190} : Rgba{200, 40, 40, 190};
    return {110, 110, 110, 150};
}

struct TileCanvas {
    PngPicture* picture;
    int left, top, width, height;

    void put(int x, int y, Rgba colour) {
        if (x < 0 || y < 0 || x >= width || y >= height)
            return;
        size_t at = (static_cast<size_t>(top + y) * picture->width + left + x) * 4;
        picture->pixels[at] = colour.red;
        picture->pixels[at + 1] = colour.green;
        picture->pixels[at + 2] = colour.blue;
        picture->pixels[at + 3] = colour.alpha;
    }
};

// The code's digits, as large as the tile allows, centred; a black shadow keeps them readable
// over any colour.
void drawNumber(TileCanvas& tile, int code) {
    std::string digits = std::to_string(code);
    int glyphs = static_cast<int>(digits.size());
    int scale = std::max(1, std::min((tile.width - 2) / (4 * glyphs), (tile.height - 2) / 6));
    int x0 = (tile.width - (4 * glyphs - 1) * scale) / 2, y0 = (tile.height - 5 * scale) / 2;
    for (int g = 0; g < glyphs; ++g)
        for (int row = 0; row < 5 * scale; ++row)
            for (int column = 0; column < 3 * scale; ++column) {
                int bit = 14 - (row / scale) * 3 - column / scale;
                if (!(digitGlyphs[static_cast<size_t>(digits[g] - '0')] >> bit & 1))
                    continue;
                int x = x0 + g * 4 * scale + column, y = y0 + row;
                tile.put(x + 1, y + 1, {0, 0, 0, 255});
                tile.put(x, y, {255, 255, 255, 255});
            }
}

void drawSpawnTile(TileCanvas& tile, int code) {
    Rgba fill = colourOf(spawnMeaningOf(code));
    Rgba edge{fill.red, fill.green, fill.blue, 255};
    for (int y = 0; y < tile.height; ++y)
        for (int x = 0; x < tile.width; ++x) {
            bool border = x == 0 || y == 0 || x == tile.width - 1 || y == tile.height - 1;
            tile.put(x, y, border ? edge : fill);
        }
    drawNumber(tile, code);
}

} // namespace

SpawnMeaning spawnMeaningOf(int code) {
    SpawnMeaning meaning;
    meaning.meaning = "none";
    const SpawnTables& tables = spawnTables();
    if (code >= 1 && code <= itemKindCount) {
        int kind = code - 1;
        meaning.meaning = "item";
        meaning.item = itemEffects[tables.types.itemKinds[static_cast<size_t>(kind)].effect % 3];
        meaning.sprite = tables.itemSprite(kind);
    } else if (code >= 10 && code < 10 + enemyTypeCount) {
        meaning.meaning = "enemy";
        meaning.enemyType = code - 10;
        meaning.sprite = tables.enemySprite(code - 10);
        meaning.boss = tables.types.enemyTypes[static_cast<size_t>(code - 10)].boss != 0;
    }
    return meaning;
}

PngPicture drawSpawnTiles(int tileWidth, int tileHeight) {
    PngPicture picture;
    int rows = (spawnCodeCount + spawnTilesPerRow - 1) / spawnTilesPerRow;
    picture.width = spawnTilesPerRow * tileWidth;
    picture.height = rows * tileHeight;
    picture.pixels.assign(static_cast<size_t>(picture.width) * picture.height * 4, 0);
    for (int code = 1; code <= spawnCodeCount; ++code) {
        int k = code - 1;
        TileCanvas tile{&picture, (k % spawnTilesPerRow) * tileWidth,
                        (k / spawnTilesPerRow) * tileHeight, tileWidth, tileHeight};
        drawSpawnTile(tile, code);
    }
    return picture;
}

} // namespace kavorind
