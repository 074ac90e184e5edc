#include "game/game_state.h"

namespace kavorind {

GameWorld game;

void newGame(GameState* state, int32_t flightDelay, int32_t attackDelay, int32_t deathDelay) {
    int32_t stageIndex = state->stageIndex;
    *state = GameState{};
    state->stageIndex = stageIndex;
    state->hp = 3;
    state->maxHp = 5;
    state->speed = 5;
    state->specialCount = 3;
    state->specialReload = 30;
    state->shotReload = 6;
    state->playerX = 100;
    state->playerY = 240;
    state->alive = 1;
    state->flightDelay = flightDelay;
    state->attackDelay = attackDelay;
    state->deathDelay = deathDelay;
    state->playerHitSound = 3;
    state->playerDeathSound = 3;
}

void clearEnemies(GameWorld* world) {
    for (Enemy& enemy : world->enemies)
        enemy.active = 0;
}

void clearShots(GameWorld* world) {
    for (Shot& shot : world->playerShots)
        shot.active = 0;
    for (Shot& shot : world->enemyShots)
        shot.active = 0;
}

void clearItems(GameWorld* world) {
    for (Item& item : world->items)
        item.active = 0;
}

} // namespace kavorind
