#include "game/game_rules.h"

#include <algorithm>

namespace kavorind {

namespace {

constexpr int32_t screenWidth = 640;

// How far a layer can scroll: its width in pixels less the screen's. A map narrower than the
// screen gives a negative limit, which the first update takes as the position (the layer is then
// drawn shifted right).
int32_t scrollLimit(const StageMap* map) {
    if (!map)
        return -screenWidth;
    return static_cast<int32_t>(int64_t{map->mapSize().first} * map->tileSize().first -
                                screenWidth);
}

// The stage is over once a boss has finished dying, or the craft's destruction has reached its
// last frame (that frame itself is never shown).
int stageOver(const GameWorld& world, const GameTypes& types) {
    if (world.scene.stageCleared == 1)
        return 1;
    const int64_t lastDeathFrame = int64_t{types.death ? types.death->frameCount() : 0} - 1;
    return world.state.alive == 0 && world.state.deathFrame >= lastDeathFrame;
}

void scroll(GameWorld* world, const StageInfo& stage) {
    GameScene& scene = world->scene;
    scene.backScroll = std::min(scene.backScroll + stage.backSpeed, scene.backScrollLimit);
    scene.midScroll = std::min(scene.midScroll + stage.middleSpeed, scene.midScrollLimit);
}

} // namespace

void startStage(GameWorld* world, const GameTypes& types) {
    GameScene& scene = world->scene;
    if (world->state.stageIndex == 0) {
        newGame(&world->state, types.flightDelay, types.attackDelay, types.deathDelay);
        scene.result = 0;
    }
    clearEnemies(world);
    clearShots(world);
    clearItems(world);
    scene.backScroll = 0;
    scene.midScroll = 0;
    scene.stageCleared = 0;
    scene.lastStageCleared = 0;
    scene.hitFlash = 0;
    const StageInfo& stage = stageInfo(types, world->state.stageIndex);
    scene.backScrollLimit = scrollLimit(stage.backMap);
    scene.midScrollLimit = scrollLimit(stage.middleMap);
    // The spawner scans as many cell rows as fit in 640 pixels (the screen's width, not its
    // height), so a map of 32-pixel tiles is scanned 20 rows deep.
    const int32_t tileHeight = stage.middleMap ? stage.middleMap->tileSize().second : 0;
    scene.spawnRows = tileHeight > 0 ? screenWidth / tileHeight : 0;
}

void stopStage(GameWorld* world) {
    clearEnemies(world);
    clearShots(world);
    clearItems(world);
    world->scene.stageCleared = 0;
    world->scene.hitFlash = 0;
    if (world->scene.result == 1)
        world->state.stageIndex = 0;
}

int gameUpdate(GameWorld* world, const GameTypes& types, const GameKeys* keys, GameRequests* out) {
    if (world->state.alive == 1 && !readControls(world, types, keys ? *keys : GameKeys{}, out))
        return 0;
    spawnFromMap(world, types, out);
    animatePlayer(world, types);
    updateEnemies(world, types, out);
    updateShots(world, types);
    updateItems(world, types);
    scroll(world, stageInfo(types, world->state.stageIndex));
    // Whether the craft is alive is asked once, here; the steps after the first do nothing once a
    // hit in this tick has destroyed it.
    if (world->state.alive == 1) {
        shotsHitPlayer(world, types, out);
        enemiesHitPlayer(world, types, out);
        pickUpItems(world, types, out);
    }
    shotsHitEnemies(world, types, out);
    if (!stageOver(*world, types))
        return 1;
    world->scene.result = world->state.hp > 0 ? 2 : 1;
    return 0;
}

} // namespace kavorind
