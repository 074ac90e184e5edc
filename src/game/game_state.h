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

extern GameState gameState;

} // namespace kavorind
