#pragma once
#include <cstdint>

namespace kavorind {

// The state of a game that lives for the whole program and carries over from stage to stage.
struct GameState {
    int32_t stageIndex = 0; // 0 to 2, shown to the player as stage 1 to 3
    int32_t score = 0;
    int32_t hp = 0;
    int32_t maxHp = 0;
    int32_t speed = 0;
    int32_t specialCount = 0;
    int32_t specialReload = 0;
    int32_t specialCooldown = 0;
    int32_t shotReload = 0;
    int32_t shotCooldown = 0;
    int32_t playerX = 0;
    int32_t playerY = 0;
    int32_t alive = 0;
    int32_t animMode = 0;
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
    int32_t spawnRows = 0;       // cell rows the spawner scans
    int32_t lastSpawnColumn = 0; // middle-layer column last seen at the right screen edge
    int32_t hitFlash = 0;        // 0 idle, 1 flash requested, 2 flash shown
};

extern GameState gameState;
extern GameScene gameScene;

} // namespace kavorind
