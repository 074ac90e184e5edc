#include "game/animation.h"
#include "game/game_rules.h"

#include <algorithm>

namespace kavorind {

namespace {

constexpr int32_t maxSpecialCount = 9;
constexpr int32_t speedStep = 3;
constexpr int32_t topSpeed = 12;
constexpr int32_t baseSpeed = 5;

const ItemKind* kindOf(const GameTypes& types, const Item& item) {
    if (item.kind < 0 || item.kind >= itemKindCount)
        return nullptr;
    return &types.itemKinds[static_cast<size_t>(item.kind)];
}

// Items zig-zag inside a band well clear of the edges, so one that is missed keeps coming back.
void bounce(Item& item) {
    if (item.x < 50)
        item.dx = 3;
    if (item.x > 590)
        item.dx = -3;
    if (item.y < 50)
        item.dy = 2;
    if (item.y > 430)
        item.dy = -2;
}

void animate(const ItemKind& kind, Item& item) {
    loopAnimation(&item.frame, &item.frameCounter, kind.frameDelay, kind.sprite);
}

// The craft is tested by the picture it shows, so the attack pose catches what it covers.
void craftShape(const GameState& state, const GameTypes& types, const SpriteSet** set,
                int32_t* frame) {
    if (state.animMode == 1) {
        *set = types.attack;
        *frame = state.attackFrame;
    } else {
        *set = types.flight;
        *frame = state.flightFrame;
    }
}

// Speed wraps back to the start past the top, so the third speed item costs what two gave.
void applyEffect(GameState& state, int32_t effect) {
    if (effect == 0) {
        state.hp = std::min(state.hp + 1, state.maxHp);
    } else if (effect == 1) {
        state.specialCount = std::min(state.specialCount + 1, maxSpecialCount);
    } else if (effect == 2) {
        state.speed += speedStep;
        if (state.speed > topSpeed)
            state.speed = baseSpeed;
    }
}

} // namespace

void spawnItem(GameWorld* world, int32_t kind, int32_t x, int32_t y) {
    if (kind < 0 || kind >= itemKindCount)
        return;
    for (Item& item : world->items) {
        if (item.active == 0) {
            // An item entering in the upper half drifts down first, one in the lower half up.
            item = Item{1, kind, x, y, -3, y <= 240 ? 2 : -2, 0, 0};
            return;
        }
    }
}

void updateItems(GameWorld* world, const GameTypes& types) {
    for (Item& item : world->items) {
        if (item.active == 0)
            continue;
        const ItemKind* kind = kindOf(types, item);
        if (!kind) {
            item.active = 0;
            continue;
        }
        bounce(item);
        item.x += item.dx;
        item.y += item.dy;
        animate(*kind, item);
    }
}

void pickUpItems(GameWorld* world, const GameTypes& types, GameRequests* out) {
    GameState& state = world->state;
    if (state.alive == 0)
        return;
    const SpriteSet* craft = nullptr;
    int32_t craftFrame = 0;
    craftShape(state, types, &craft, &craftFrame);
    if (!craft)
        return;
    for (Item& item : world->items) {
        const ItemKind* kind = item.active ? kindOf(types, item) : nullptr;
        if (!kind || !kind->sprite)
            continue;
        if (!framesOverlap(*kind->sprite, static_cast<uint32_t>(item.frame), item.x, item.y, *craft,
                           static_cast<uint32_t>(craftFrame), state.playerX, state.playerY))
            continue;
        requestSound(out, kind->pickupSound);
        applyEffect(state, kind->effect);
        item.active = 0;
    }
}

} // namespace kavorind
