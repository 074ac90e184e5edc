#pragma once
#include "common/png_image.h"

#include <string>

namespace kavorind {

// What a spawn code brings into the stage, in the words a map editor's tile properties show:
// meaning "enemy" (type, sprite file, boss), "item" (what it gives) or "none" for a code the
// spawner passes over.
struct SpawnMeaning {
    std::string meaning; // "enemy", "item" or "none"
    int enemyType = -1;
    std::string sprite; // the enemy's or the item's sprite file
    bool boss = false;
    std::string item; // "hit point", "special shot" or "speed"
};

// Spawn codes 1 to 255 are the tiles of the spawn tileset; 0 is an empty cell.
constexpr int spawnCodeCount = 255;
constexpr int spawnTilesPerRow = 16;

SpawnMeaning spawnMeaningOf(int code);

// The spawn tileset picture: tile code - 1 is a square coloured by what the code brings (items
// green, enemies red, bosses purple, meaningless codes grey) with the code's number on it, cut
// into tiles of tileWidth x tileHeight, spawnTilesPerRow to a row.
PngPicture drawSpawnTiles(int tileWidth, int tileHeight);

} // namespace kavorind
