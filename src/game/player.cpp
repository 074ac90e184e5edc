#include "game/animation.h"
#include "game/game_rules.h"

#include <algorithm>

namespace kavorind {

namespace {

// The craft keeps this far from the screen edges while it is steered.
constexpr int32_t edgeLeft = 20;
constexpr int32_t edgeRight = 620;
constexpr int32_t edgeTop = 20;
constexpr int32_t edgeBottom = 460;
// Shots leave from the craft's nose rather than its middle.
constexpr int32_t muzzleOffset = 20;
constexpr int32_t specialWeapon = 0;
constexpr int32_t mainWeapon = 1;

// Only the side of a held key is clamped: a knock-back may push the craft past an edge, and it
// drifts back in play only once the player steers that way.
void steer(GameState& state, const GameKeys& keys) {
    if (keys.leftHeld) {
        state.playerX -= state.speed;
        if (state.playerX <= edgeLeft)
            state.playerX = edgeLeft;
    }
    if (keys.rightHeld) {
        state.playerX += state.speed;
        if (state.playerX >= edgeRight)
            state.playerX = edgeRight;
    }
    if (keys.upHeld) {
        state.playerY -= state.speed;
        if (state.playerY <= edgeTop)
            state.playerY = edgeTop;
    }
    if (keys.downHeld) {
        state.playerY += state.speed;
        if (state.playerY >= edgeBottom)
            state.playerY = edgeBottom;
    }
}

// Firing shows the attack pose from its first frame; its counter is left running, so that first
// frame may last less than a full delay.
void startAttackPose(GameState& state) {
    state.animMode = 1;
    state.attackFrame = 0;
}

void animateFlight(GameState& state, const GameTypes& types) {
    loopAnimation(&state.flightFrame, &state.flightCounter, state.flightDelay, types.flight);
}

void animateAttack(GameState& state, const GameTypes& types) {
    if (stepAnimation(&state.attackFrame, &state.attackCounter, state.attackDelay) &&
        state.attackFrame >= framesIn(types.attack)) {
        state.animMode = 0;
        state.flightFrame = 0;
        state.flightCounter = 0;
    }
}

// The wreck's animation holds on one past its last frame, which draws nothing.
void animateDeath(GameState& state, const GameTypes& types) {
    if (stepAnimation(&state.deathFrame, &state.deathCounter, state.deathDelay) &&
        state.deathFrame >= framesIn(types.death))
        state.deathFrame = framesIn(types.death);
}

} // namespace

int readControls(GameWorld* world, const GameTypes& types, const GameKeys& keys,
                 GameRequests* out) {
    GameState& state = world->state;
    if (keys.escapeHeld) {
        world->scene.result = 1;
        return 0;
    }
    steer(state, keys);
    if (keys.specialHeld && state.specialCooldown <= 0 && state.specialCount > 0) {
        startAttackPose(state);
        state.specialCooldown = state.specialReload;
        fireShot(world, types, specialWeapon, 1, state.playerX + muzzleOffset, state.playerY, out);
        state.specialCount -= 1;
    }
    if (keys.shotPressed && state.shotCooldown <= 0) {
        startAttackPose(state);
        state.shotCooldown = state.shotReload;
        fireShot(world, types, mainWeapon, 1, state.playerX + muzzleOffset, state.playerY, out);
    }
    return 1;
}

void animatePlayer(GameWorld* world, const GameTypes& types) {
    GameState& state = world->state;
    if (state.alive == 0) {
        animateDeath(state, types);
        return;
    }
    if (state.alive != 1)
        return;
    if (state.animMode == 0)
        animateFlight(state, types);
    else if (state.animMode == 1)
        animateAttack(state, types);
    state.specialCooldown = std::max(0, state.specialCooldown - 1);
    state.shotCooldown = std::max(0, state.shotCooldown - 1);
}

} // namespace kavorind
