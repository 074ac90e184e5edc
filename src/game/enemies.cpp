#include "game/animation.h"
#include "game/game_rules.h"

namespace kavorind {

namespace {

// Newcomers enter just inside the right edge, a little below the top of their cell.
constexpr int32_t spawnX = 639;
constexpr int32_t spawnDrop = 5;

// Past these an ordinary enemy is gone for good; a boss never leaves, it patrols.
constexpr int32_t leaveRight = 650;
constexpr int32_t leaveBottom = 480;

// A boss patrols between 600 - accelX and 600 across, 80 and 400 down.
constexpr int32_t patrolRight = 600;
constexpr int32_t patrolTop = 80;
constexpr int32_t patrolBottom = 400;

// An ordinary enemy's first velocity change comes on its 11th update, then every 20.
constexpr int32_t firstAccelDelay = 10;
constexpr int32_t accelPeriod = 20;

// Shots leave from just ahead of the enemy's nose.
constexpr int32_t muzzleOffset = 10;

const EnemyType* typeOf(const GameTypes& types, int32_t type) {
    if (type < 0 || type >= enemyTypeCount)
        return nullptr;
    return &types.enemyTypes[static_cast<size_t>(type)];
}

// Map codes 1..3 are item kinds 0..2 and 10..19 enemy types 0..9; nothing else means anything.
void spawnFromCode(GameWorld* world, const GameTypes& types, int code, int32_t y) {
    if (code >= 1 && code <= itemKindCount)
        spawnItem(world, code - 1, spawnX, y);
    else if (code >= 10 && code < 10 + enemyTypeCount)
        spawnEnemy(world, types, code - 10, spawnX, y);
}

int leftTheScreen(const Enemy& enemy) {
    return enemy.x < 0 || enemy.y < 0 || enemy.x > leaveRight || enemy.y > leaveBottom;
}

void steerBoss(Enemy* enemy, const EnemyType& type) {
    if (enemy->x < patrolRight - type.accelX)
        enemy->dx = type.dx;
    if (enemy->x > patrolRight)
        enemy->dx = -type.dx;
    if (enemy->y < patrolTop)
        enemy->dy = type.dy;
    if (enemy->y > patrolBottom)
        enemy->dy = -type.dy;
}

void steerDrifter(Enemy* enemy, const EnemyType& type) {
    if (enemy->accelCounter <= 0) {
        enemy->dx += type.accelX;
        enemy->dy += type.accelY;
        enemy->accelCounter = accelPeriod;
    }
    enemy->accelCounter -= 1;
}

void fireIfDue(GameWorld* world, const GameTypes& types, Enemy* enemy, const EnemyType& type,
               GameRequests* out) {
    if (type.weapon == 0)
        return;
    if (enemy->fireCounter == 0) {
        fireShot(world, types, type.weapon, 0, enemy->x - muzzleOffset, enemy->y, out);
        enemy->fireCounter = type.fireInterval;
    }
    enemy->fireCounter -= 1;
}

void animate(Enemy* enemy, const EnemyType& type) {
    loopAnimation(&enemy->frame, &enemy->frameCounter, type.frameDelay, type.sprite);
}

void fly(GameWorld* world, const GameTypes& types, Enemy* enemy, const EnemyType& type,
         GameRequests* out) {
    // Leaving only frees the slot; the enemy still takes the rest of this tick's turn.
    if (!type.boss && leftTheScreen(*enemy))
        enemy->active = 0;
    if (type.boss)
        steerBoss(enemy, type);
    else
        steerDrifter(enemy, type);
    enemy->x += enemy->dx;
    enemy->y += enemy->dy;
    fireIfDue(world, types, enemy, type, out);
    animate(enemy, type);
}

void playDeath(GameWorld* world, Enemy* enemy, const EnemyType& type) {
    if (stepAnimation(&enemy->deathFrame, &enemy->deathCounter, type.deathFrameDelay) &&
        enemy->deathFrame >= framesIn(type.deathSprite)) {
        enemy->active = 0;
        // The stage ends only once the boss's wreck has finished burning.
        if (type.boss)
            world->scene.stageCleared = 1;
    }
}

} // namespace

void spawnFromMap(GameWorld* world, const GameTypes& types, GameRequests* /*out*/) {
    const StageMap* map = stageInfo(types, world->state.stageIndex).middleMap;
    if (!map)
        return;
    const auto [tileWidth, tileHeight] = map->tileSize();
    if (tileWidth <= 0)
        return;
    GameScene& scene = world->scene;
    const auto column = static_cast<int32_t>((int64_t{scene.midScroll} + spawnX) / tileWidth);
    // The very first look of the program only notes where the edge is: whatever sits there is
    // already on screen and was never meant to enter.
    if (scene.spawnerPrimed == 0) {
        scene.spawnerPrimed = 1;
        scene.lastSpawnColumn = column;
        return;
    }
    if (column == scene.lastSpawnColumn)
        return;
    scene.lastSpawnColumn = column;
    for (int32_t row = 0; row < scene.spawnRows; ++row)
        spawnFromCode(world, types, map->spawnCodeAt(0, column, row), row * tileHeight + spawnDrop);
}

void spawnEnemy(GameWorld* world, const GameTypes& types, int32_t type, int32_t x, int32_t y) {
    const EnemyType* kind = typeOf(types, type);
    if (!kind)
        return;
    for (Enemy& enemy : world->enemies) {
        if (enemy.active == 0) {
            enemy = Enemy{1,        type,     kind->fireInterval, kind->hp, x, y,
                          kind->dx, kind->dy, firstAccelDelay,    1,        0, 0,
                          0,        0};
            return;
        }
    }
}

void updateEnemies(GameWorld* world, const GameTypes& types, GameRequests* out) {
    for (Enemy& enemy : world->enemies) {
        if (enemy.active == 0)
            continue;
        const EnemyType* type = typeOf(types, enemy.type);
        if (!type) {
            // A slot that names no type cannot be flown or drawn; free it rather than let it sit.
            enemy.active = 0;
            continue;
        }
        if (enemy.alive == 1)
            fly(world, types, &enemy, *type, out);
        else if (enemy.alive == 0)
            playDeath(world, &enemy, *type);
    }
}

} // namespace kavorind
