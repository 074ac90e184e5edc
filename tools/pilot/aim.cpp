// Aiming: the pilot fires only shots that a copy of the game says will land, and lines up with
// where its target will be when a shot gets there, not where it is now.
#include "game/game_rules.h"
#include "game/game_types.h"
#include "pilot/pilot.h"

#include <algorithm>
#include <cstdlib>

namespace kavorind {

namespace {

// An enemy this much above or below the craft, past its own half height, is still roughly ahead.
constexpr int32_t laneMargin = 12;
// A main shot crosses the screen in about this many ticks.
constexpr int shotFlight = 34;
constexpr int32_t mainShotSpeed = 20;
constexpr int32_t muzzleOffset = 20;

// Hit points taken by enemies that were flying before the tick and still hold their slot.
int damageIn(const GameWorld& was, const GameWorld& now) {
    int damage = 0;
    for (size_t i = 0; i < was.enemies.size(); ++i) {
        const Enemy& a = was.enemies[i];
        const Enemy& b = now.enemies[i];
        if (a.active && a.alive && b.active && b.type == a.type)
            damage += std::max(0, a.hp - b.hp);
    }
    return damage;
}

// The damage dealt over a shot's flight with these keys in the first tick and none after.
int damageWith(const GameWorld& start, const GameKeys& first, GameRequests* scratch) {
    GameWorld world = start;
    int damage = 0;
    for (int t = 0; t < shotFlight && world.state.alive == 1; ++t) {
        const GameWorld was = world;
        const GameKeys none;
        scratch->count = 0;
        const int goesOn = gameUpdate(&world, gameTypes, t == 0 ? &first : &none, scratch);
        damage += damageIn(was, world);
        if (!goesOn)
            break;
    }
    return damage;
}

int32_t enemyHalfHeight(const Enemy& e) {
    const SpriteSet* sprite = gameTypes.enemyTypes[static_cast<size_t>(e.type)].sprite;
    const SpriteFrame* frame = sprite ? sprite->frameAt(0) : nullptr;
    return frame ? frame->height / 2 : 12;
}

// The enemy to line up with: the nearest one ahead that a shot can still catch.
int targetSlot(const GameWorld& world) {
    const GameState& s = world.state;
    int slot = -1;
    int32_t nearestX = 1 << 30;
    for (size_t i = 0; i < world.enemies.size(); ++i) {
        const Enemy& e = world.enemies[i];
        if (e.active && e.alive && e.x > s.playerX + 60 && e.x < 640 && e.x < nearestX) {
            nearestX = e.x;
            slot = static_cast<int>(i);
        }
    }
    return slot;
}

} // namespace

int mainShotLands(const GameWorld& world, GameRequests* scratch) {
    GameKeys keys;
    keys.shotPressed = 1;
    return world.state.shotCooldown <= 0 && extraDamage(world, keys, scratch) > 0;
}

int enemyRoughlyAhead(const GameWorld& world) {
    const GameState& s = world.state;
    for (const Enemy& e : world.enemies)
        if (e.active && e.alive && e.x > s.playerX && e.x < 660 &&
            std::abs(e.y - s.playerY) < enemyHalfHeight(e) + laneMargin)
            return 1;
    return 0;
}

int extraDamage(const GameWorld& world, const GameKeys& keys, GameRequests* scratch) {
    return damageWith(world, keys, scratch) - damageWith(world, GameKeys{}, scratch);
}

TargetForecast forecastTarget(const GameWorld& start, GameRequests* scratch) {
    TargetForecast forecast;
    forecast.slot = targetSlot(start);
    if (forecast.slot < 0)
        return forecast;
    GameWorld world = start;
    const auto slot = static_cast<size_t>(forecast.slot);
    for (int t = 0; t < forecastTicks; ++t) {
        const Enemy& e = world.enemies[slot];
        if (!e.active || !e.alive)
            break;
        forecast.x[static_cast<size_t>(t)] = e.x;
        forecast.y[static_cast<size_t>(t)] = e.y;
        forecast.length = t + 1;
        scratch->count = 0;
        if (!gameUpdate(&world, gameTypes, nullptr, scratch))
            break;
    }
    return forecast;
}

int aimedY(const TargetForecast& forecast, int atTick, int32_t fromX, int32_t* out) {
    // A shot fired at atTick from fromX is at shotX after k ticks; it meets the target once it has
    // caught up with the target's x at that same moment.
    for (int k = 0; atTick + k < forecast.length; ++k) {
        const auto t = static_cast<size_t>(atTick + k);
        const int32_t shotX = fromX + muzzleOffset + mainShotSpeed * (k + 1);
        if (shotX >= forecast.x[t]) {
            *out = forecast.y[t];
            return 1;
        }
    }
    return 0;
}

} // namespace kavorind
