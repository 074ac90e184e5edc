#pragma once
#include "game/game_requests.h"
#include "game/game_state.h"
#include "game/game_types.h"

namespace kavorind {

// The per-tick rules of a stage, as plain functions over the game's records. They call no device:
// sounds to play and palette restores go into the outbox in order, for the scene to carry out.

// The craft (player.cpp).
// Moves the craft and fires by the keys; 0 when Escape ends the stage (result is then 1).
int readControls(GameWorld* world, const GameTypes& types, const GameKeys& keys, GameRequests* out);
// Advances the craft's animations and counts the weapon cooldowns down.
void animatePlayer(GameWorld* world, const GameTypes& types);

// Enemies and the spawner (enemies.cpp).
void spawnFromMap(GameWorld* world, const GameTypes& types, GameRequests* out);
void spawnEnemy(GameWorld* world, const GameTypes& types, int32_t type, int32_t x, int32_t y);
void updateEnemies(GameWorld* world, const GameTypes& types, GameRequests* out);

// Shots (shots.cpp).
void fireShot(GameWorld* world, const GameTypes& types, int32_t weapon, int32_t fromPlayer,
              int32_t x, int32_t y, GameRequests* out);
void updateShots(GameWorld* world, const GameTypes& types);

// Items (items.cpp).
void spawnItem(GameWorld* world, int32_t kind, int32_t x, int32_t y);
void updateItems(GameWorld* world, const GameTypes& types);
void pickUpItems(GameWorld* world, const GameTypes& types, GameRequests* out);

// Collisions and damage (collisions.cpp).
void shotsHitPlayer(GameWorld* world, const GameTypes& types, GameRequests* out);
void enemiesHitPlayer(GameWorld* world, const GameTypes& types, GameRequests* out);
void shotsHitEnemies(GameWorld* world, const GameTypes& types, GameRequests* out);

// A stage as a whole (game_update.cpp).
// The rules' part of the stage start: a new game on stage 0, tables cleared, scroll limits and the
// spawner's rows from the stage's maps.
void startStage(GameWorld* world, const GameTypes& types);
// The rules' part of the stage stop: tables cleared, flags down, stage 0 after a quit or game over.
void stopStage(GameWorld* world);
// One tick of play; keys is read only while the craft is alive (null reads as no key). 1 to go on,
// 0 when the stage has ended (result then says why).
int gameUpdate(GameWorld* world, const GameTypes& types, const GameKeys* keys, GameRequests* out);

} // namespace kavorind
