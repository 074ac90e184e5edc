#pragma once
#include <array>
#include <cstdint>

namespace kavorind {

// The state of a game that lives for the whole program and carries over from stage to stage.
struct GameState {
    int32_t stageIndex = 0; // 0 to 2, shown to the player as stage 1 to 3
    int32_t score = 0;
    int32_t hp = 0;
    int32_t maxHp = 0;
    int32_t speed = 0; // pixels per tick per held arrow key: 5, 8 or 11
    int32_t specialCount = 0;
    int32_t specialReload = 0;
    int32_t specialCooldown = 0;
    int32_t shotReload = 0;
    int32_t shotCooldown = 0;
    int32_t playerX = 0;
    int32_t playerY = 0;
    int32_t alive = 0;
    int32_t animMode = 0; // 0 flight animation, 1 attack animation
    int32_t flightFrame = 0;
    int32_t flightCounter = 0;
    int32_t flightDelay = 0;
    int32_t attackFrame = 0;
    int32_t attackCounter = 0;
    int32_t attackDelay = 0;
    int32_t deathFrame = 0;
    int32_t deathCounter = 0;
    int32_t deathDelay = 0;
    int32_t playerHitSound = 0;
    int32_t playerDeathSound = 0;
};

// What the game scene keeps between its ticks, for the whole program: why a stage ended, how far
// the layers have scrolled, where the spawner has got to and the hit flash.
struct GameScene {
    int32_t gameStarted = 0;      // the game scene's started flag
    int32_t result = 0;           // 0 not ended, 1 back to the menu, 2 stage clear
    int32_t stageCleared = 0;     // 1 once a boss has finished its death animation
    int32_t lastStageCleared = 0; // 1 when the stage that just ended was the last
    int32_t backScroll = 0;       // pixels scrolled by the back layer
    int32_t midScroll = 0;        // pixels scrolled by the middle and front layers
    int32_t backScrollLimit = 0;
    int32_t midScrollLimit = 0;
    int32_t spawnRows = 0; // cell rows the spawner scans
    // The middle-layer column last seen at the right screen edge; it lives for the whole program,
    // so only the very first look of the program records a column without spawning it.
    int32_t lastSpawnColumn = 0;
    int32_t spawnerPrimed = 0; // 1 once that first look has happened
    int32_t hitFlash = 0;      // 0 idle, 1 flash requested, 2 flash shown
};

// One enemy slot.
struct Enemy {
    int32_t active = 0;
    int32_t type = 0; // row of the enemy type table
    int32_t fireCounter = 0;
    int32_t hp = 0;
    int32_t x = 0;
    int32_t y = 0;
    int32_t dx = 0;
    int32_t dy = 0;
    int32_t accelCounter = 0;
    int32_t alive = 0; // 1 while flying, 0 while its death animation plays
    int32_t frame = 0;
    int32_t frameCounter = 0;
    int32_t deathFrame = 0;
    int32_t deathCounter = 0;
};

// One shot slot, the craft's or an enemy's.
struct Shot {
    int32_t active = 0;
    int32_t weapon = 0; // row of the weapon table
    int32_t x = 0;
    int32_t y = 0;
    int32_t dx = 0;
    int32_t dy = 0;
    int32_t flying = 0; // 1 while flying, 0 while its burst animation plays
    int32_t frame = 0;
    int32_t frameCounter = 0;
    int32_t blastFrame = 0;
    int32_t blastCounter = 0;
};

// One item slot.
struct Item {
    int32_t active = 0;
    int32_t kind = 0; // row of the item kind table
    int32_t x = 0;
    int32_t y = 0;
    int32_t dx = 0;
    int32_t dy = 0;
    int32_t frame = 0;
    int32_t frameCounter = 0;
};

constexpr int enemySlots = 20;
constexpr int playerShotSlots = 20;
constexpr int enemyShotSlots = 50;
constexpr int itemSlots = 10;

// Everything a stage changes as it runs: a plain value, so a tool can copy it and run the rules
// ahead of the real game.
struct GameWorld {
    GameState state;
    GameScene scene;
    std::array<Enemy, enemySlots> enemies{};
    std::array<Shot, playerShotSlots> playerShots{};
    std::array<Shot, enemyShotSlots> enemyShots{};
    std::array<Item, itemSlots> items{};
};

// The one game of the program.
extern GameWorld game;

// Sets the game state to the values a new game starts with (the stage index is left alone). The
// frame delays come from the craft's animations.
void newGame(GameState* state, int32_t flightDelay, int32_t attackDelay, int32_t deathDelay);
// Frees every slot of the four tables (only the active flags change).
void clearEnemies(GameWorld* world);
void clearShots(GameWorld* world);
void clearItems(GameWorld* world);

} // namespace kavorind
