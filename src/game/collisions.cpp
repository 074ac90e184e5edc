#include "game/game_rules.h"

namespace kavorind {

namespace {

// How far a blow knocks things: the craft back left on any hit, a struck enemy back right, and the
// craft a little further after ramming an enemy.
constexpr int32_t craftKnockback = 20;
constexpr int32_t ramRecoil = 5;
constexpr int32_t enemyKnockback = 20;

// A shot this strong goes through enemies and clears enemy shots from its path.
constexpr int32_t piercingPower = 3;

// Frames are kept signed in the records; a negative one would wrap to a huge index, which the
// overlap test treats as nothing there.
int overlaps(const SpriteSet* a, int32_t frameA, int32_t ax, int32_t ay, const SpriteSet* b,
             int32_t frameB, int32_t bx, int32_t by) {
    if (!a || !b)
        return 0;
    return framesOverlap(*a, static_cast<uint32_t>(frameA), ax, ay, *b,
                         static_cast<uint32_t>(frameB), bx, by);
}

const WeaponType* weaponOf(const GameTypes& types, const Shot& shot) {
    if (shot.weapon < 0 || shot.weapon >= weaponKindCount)
        return nullptr;
    return &types.weapons[static_cast<size_t>(shot.weapon)];
}

const EnemyType* typeOf(const GameTypes& types, const Enemy& enemy) {
    if (enemy.type < 0 || enemy.type >= enemyTypeCount)
        return nullptr;
    return &types.enemyTypes[static_cast<size_t>(enemy.type)];
}

int shotHitsCraft(const GameWorld& world, const GameTypes& types, const Shot& shot,
                  const WeaponType& weapon) {
    return overlaps(weapon.sprite, shot.frame, shot.x, shot.y, types.hitMask, 0,
                    world.state.playerX, world.state.playerY);
}

int enemyHitsCraft(const GameWorld& world, const GameTypes& types, const Enemy& enemy,
                   const EnemyType& type) {
    return overlaps(type.sprite, enemy.frame, enemy.x, enemy.y, types.hitMask, 0,
                    world.state.playerX, world.state.playerY);
}

int shotsMeet(const Shot& a, const WeaponType& weaponA, const Shot& b, const WeaponType& weaponB) {
    return overlaps(weaponA.sprite, a.frame, a.x, a.y, weaponB.sprite, b.frame, b.x, b.y);
}

// A flash still on screen from an earlier hit has to be undone before the new one starts, or the
// palette would be darkened twice.
void flashForHit(GameWorld* world, GameRequests* out) {
    if (world->scene.hitFlash != 0)
        requestPaletteRestore(out);
    world->scene.hitFlash = 1;
}

void damageCraft(GameState* state, int32_t damage, GameRequests* out) {
    state->hp -= damage;
    requestSound(out, state->playerHitSound);
    if (state->hp <= 0) {
        state->alive = 0;
        state->deathFrame = 0;
        state->deathCounter = state->deathDelay;
        requestSound(out, state->playerDeathSound);
    }
}

void damageEnemy(GameWorld* world, Enemy* enemy, const EnemyType& type, int32_t damage,
                 GameRequests* out) {
    enemy->hp -= damage;
    enemy->x += enemyKnockback;
    requestSound(out, type.hitSound);
    if (enemy->hp <= 0) {
        // Only a living enemy is ever hit, so the points are paid once.
        enemy->alive = 0;
        enemy->deathCounter = type.deathFrameDelay;
        enemy->deathFrame = 0;
        requestSound(out, type.deathSound);
        world->state.score += type.points;
    }
}

void burst(Shot* shot, const WeaponType& weapon, GameRequests* out) {
    shot->flying = 0;
    shot->blastFrame = 0;
    shot->blastCounter = weapon.blastFrameDelay;
    requestSound(out, weapon.hitSound);
}

void strikeEnemies(GameWorld* world, const GameTypes& types, Shot* shot, const WeaponType& weapon,
                   GameRequests* out) {
    // The loop goes on after a burst: a shot hurts everything it touches in the tick it lands.
    for (Enemy& enemy : world->enemies) {
        if (enemy.active == 0 || enemy.alive == 0)
            continue;
        const EnemyType* type = typeOf(types, enemy);
        if (!type || !overlaps(type->sprite, enemy.frame, enemy.x, enemy.y, weapon.sprite,
                               shot->frame, shot->x, shot->y))
            continue;
        if (weapon.power < piercingPower)
            burst(shot, weapon, out);
        damageEnemy(world, &enemy, *type, weapon.power, out);
    }
}

void clearEnemyShots(GameWorld* world, const GameTypes& types, const Shot& shot,
                     const WeaponType& weapon, GameRequests* out) {
    for (Shot& other : world->enemyShots) {
        if (other.active == 0 || other.flying == 0)
            continue;
        const WeaponType* otherWeapon = weaponOf(types, other);
        if (otherWeapon && shotsMeet(shot, weapon, other, *otherWeapon))
            burst(&other, *otherWeapon, out);
    }
}

} // namespace

void shotsHitPlayer(GameWorld* world, const GameTypes& types, GameRequests* out) {
    if (world->state.alive == 0)
        return;
    // Checked once: a second shot landing in the tick the craft dies still pushes it and starts
    // its destruction over.
    for (Shot& shot : world->enemyShots) {
        if (shot.active == 0 || shot.flying == 0)
            continue;
        const WeaponType* weapon = weaponOf(types, shot);
        if (!weapon || !shotHitsCraft(*world, types, shot, *weapon))
            continue;
        flashForHit(world, out);
        burst(&shot, *weapon, out);
        damageCraft(&world->state, weapon->power, out);
        world->state.playerX -= craftKnockback;
    }
}

void enemiesHitPlayer(GameWorld* world, const GameTypes& types, GameRequests* out) {
    if (world->state.alive == 0)
        return;
    for (Enemy& enemy : world->enemies) {
        if (enemy.active == 0 || enemy.alive == 0)
            continue;
        const EnemyType* type = typeOf(types, enemy);
        if (!type || !enemyHitsCraft(*world, types, enemy, *type))
            continue;
        flashForHit(world, out);
        damageEnemy(world, &enemy, *type, 1, out);
        world->state.playerX -= craftKnockback;
        damageCraft(&world->state, 1, out);
        world->state.playerX -= ramRecoil;
    }
}

void shotsHitEnemies(GameWorld* world, const GameTypes& types, GameRequests* out) {
    for (Shot& shot : world->playerShots) {
        if (shot.active == 0 || shot.flying == 0)
            continue;
        const WeaponType* weapon = weaponOf(types, shot);
        if (!weapon)
            continue;
        strikeEnemies(world, types, &shot, *weapon, out);
        if (weapon->power >= piercingPower)
            clearEnemyShots(world, types, shot, *weapon, out);
    }
}

} // namespace kavorind
