#include "game/animation.h"
#include "game/game_rules.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace kavorind {

namespace {

template <size_t count> Shot* freeSlot(std::array<Shot, count>& table) {
    for (Shot& shot : table)
        if (shot.active == 0)
            return &shot;
    return nullptr;
}

// The distance to the craft split into n equal whole steps, each moving axis at least 1 pixel per
// tick; from within `speed` pixels the shot flies straight right instead of homing in.
void aimAtCraft(const GameState& state, int32_t speed, Shot* shot) {
    const int32_t ex = state.playerX - shot->x;
    const int32_t ey = state.playerY - shot->y;
    const int64_t ax = std::llabs(ex);
    const int64_t ay = std::llabs(ey);
    double d = std::sqrt(static_cast<double>(ax * ax + ay * ay));
    if (ax == 0 && ay == 0)
        d = 1;
    if (speed <= 0 || d <= speed) {
        shot->dx = speed;
        shot->dy = 0;
        return;
    }
    const int64_t n = std::max<int64_t>(static_cast<int64_t>(d / speed), 1);
    const int64_t vx = ax == 0 ? 0 : std::max<int64_t>(1, ax / n);
    const int64_t vy = ay == 0 ? 0 : std::max<int64_t>(1, ay / n);
    shot->dx = static_cast<int32_t>(ex < 0 ? -vx : vx);
    shot->dy = static_cast<int32_t>(ey < 0 ? -vy : vy);
}

// A shot is let go only once it is already past an edge, and it still moves on that tick: a fast
// shot may show once just off the screen, where nothing draws it.
void fly(const WeaponType& kind, Shot& shot) {
    if (shot.x < 0 || shot.y < 0 || shot.x > 640 || shot.y > 480)
        shot.active = 0;
    loopAnimation(&shot.frame, &shot.frameCounter, kind.frameDelay, kind.sprite);
    shot.x += shot.dx;
    shot.y += shot.dy;
}

// The burst stays where the shot hit and frees the slot as it steps past its last frame.
void burst(const WeaponType& kind, Shot& shot) {
    if (stepAnimation(&shot.blastFrame, &shot.blastCounter, kind.blastFrameDelay) &&
        shot.blastFrame >= framesIn(kind.blastSprite))
        shot.active = 0;
}

template <size_t count> void updateTable(const GameTypes& types, std::array<Shot, count>& table) {
    for (Shot& shot : table) {
        if (shot.active == 0)
            continue;
        // A shot of no known weapon can be neither drawn nor hit anything: drop it.
        if (shot.weapon < 0 || shot.weapon >= weaponKindCount) {
            shot.active = 0;
            continue;
        }
        const WeaponType& kind = types.weapons[static_cast<size_t>(shot.weapon)];
        if (shot.flying == 1)
            fly(kind, shot);
        else if (shot.flying == 0)
            burst(kind, shot);
    }
}

} // namespace

void updateShots(GameWorld* world, const GameTypes& types) {
    updateTable(types, world->playerShots);
    updateTable(types, world->enemyShots);
}

void fireShot(GameWorld* world, const GameTypes& types, int32_t weapon, int32_t fromPlayer,
              int32_t x, int32_t y, GameRequests* out) {
    if (weapon < 0 || weapon >= weaponKindCount)
        return;
    Shot* shot = fromPlayer ? freeSlot(world->playerShots) : freeSlot(world->enemyShots);
    if (!shot)
        return;
    const WeaponType& kind = types.weapons[static_cast<size_t>(weapon)];
    *shot = Shot{1, weapon, x, y, 0, 0, 1, 0, 0, 0, 0};
    if (fromPlayer) {
        shot->dx = kind.speed;
        shot->dy = 0;
    } else {
        aimAtCraft(world->state, kind.speed, shot);
    }
    requestSound(out, kind.fireSound);
}

} // namespace kavorind
