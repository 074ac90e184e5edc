// The careful pilot: every tick it flies a handful of moves ahead on copies of the game and keeps
// the one that loses no hit point and leaves the craft best placed.
#include "game/game_rules.h"
#include "game/game_types.h"
#include "pilot/pilot.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace kavorind {

namespace {

// Long enough to see a dart cross half the screen, short enough to run many times a tick.
constexpr int horizon = 36;
// Where the craft waits: far enough left to see what comes, not so far that knock-backs pin it.
constexpr int32_t homeX = 110;
// Enemy shots and bodies closer than this at the end of a look-ahead are a threat past its end.
constexpr int32_t comfortDistance = 80;

struct Plan {
    uint8_t arrows = 0;
    int hold = 0; // ticks the arrows are held before the craft stops
};

constexpr std::array<uint8_t, 9> directions = {0,
                                               KeyUp,
                                               KeyDown,
                                               KeyLeft,
                                               KeyRight,
                                               KeyUp | KeyLeft,
                                               KeyUp | KeyRight,
                                               KeyDown | KeyLeft,
                                               KeyDown | KeyRight};
constexpr std::array<int, 3> holds = {horizon, 6, 2};
constexpr int planCount = 1 + (static_cast<int>(directions.size()) - 1) * 3;

Plan planAt(int index) {
    if (index == 0)
        return Plan{0, horizon};
    const int d = 1 + (index - 1) / static_cast<int>(holds.size());
    return Plan{directions[static_cast<size_t>(d)],
                holds[static_cast<size_t>((index - 1) % static_cast<int>(holds.size()))]};
}

// What a look-ahead found.
struct Rollout {
    int died = 0;
    int hpLost = 0;
    int firstHit = horizon; // ticks until the first hit
    int hpGain = 0;
    int specialGain = 0;
    int speedBefore = 0;
    int speedAfter = 0;
    int scoreGain = 0;
    int32_t x = 0;
    int32_t y = 0;
    int32_t clearance = 1000;
};

// Where the craft would like to end a look-ahead: on a wanted item, or where a shot fired from
// there meets the target.
struct Target {
    int32_t x = homeX;
    int32_t y = 240;
    int item = 0;
    TargetForecast forecast;
};

GameKeys arrowKeys(uint8_t arrows) {
    GameKeys keys;
    keys.leftHeld = (arrows & KeyLeft) != 0;
    keys.rightHeld = (arrows & KeyRight) != 0;
    keys.upHeld = (arrows & KeyUp) != 0;
    keys.downHeld = (arrows & KeyDown) != 0;
    return keys;
}

// The special is fired only where it does real harm, a crowd or a boss (which takes it on every
// tick it passes through), so that some are left when the boss comes.
constexpr int specialWorth = 8;

// What a look-ahead's outcomes are worth against each other: a hit point outweighs everything
// else, the sooner the worse; then what the items give, the points, and last where the craft
// ends up.
constexpr int64_t lossOfTheCraft = -1000000000;
constexpr int64_t hitCost = 2000000;
constexpr int64_t earlyHitCost = 10000; // per tick of warning it did not leave
constexpr int64_t hitPointWorth = 400000;
constexpr int64_t specialShotWorth = 150000;
constexpr int64_t speedWorth = 100000;
constexpr int64_t pointWorth = 20;
constexpr int64_t offAimCost = 100;   // per pixel up or down from where the shots meet the target
constexpr int64_t offHomeCost = 60;   // per pixel across from the waiting place
constexpr int64_t crowdingCost = 500; // per pixel inside the comfort distance
constexpr int64_t edgeCost = 150;     // per pixel closer than 40 to the top or bottom

int specialPays(const GameWorld& world, GameRequests* scratch) {
    if (world.state.specialCount <= 0 || world.state.specialCooldown > 0)
        return 0;
    GameKeys keys;
    keys.specialHeld = 1;
    return extraDamage(world, keys, scratch) >= specialWorth;
}

int itemWanted(const GameState& s, int32_t kind) {
    if (kind == 0)
        return s.hp < s.maxHp;
    if (kind == 1)
        return s.specialCount < 9;
    return s.speed < 8; // a third speed item wraps back to the slowest
}

Target chooseTarget(const GameWorld& world, GameRequests* scratch) {
    const GameState& s = world.state;
    Target target;
    int32_t bestDistance = 1 << 30;
    for (const Item& item : world.items) {
        int32_t d = std::abs(item.x - s.playerX) + std::abs(item.y - s.playerY);
        if (item.active && itemWanted(s, item.kind) && d < bestDistance) {
            bestDistance = d;
            target.x = std::clamp(item.x, 40, 400);
            target.y = item.y;
            target.item = 1;
        }
    }
    if (!target.item)
        target.forecast = forecastTarget(world, scratch);
    return target;
}

int32_t clearanceOf(const GameWorld& world) {
    const GameState& s = world.state;
    int32_t nearest = 1000;
    auto consider = [&](int32_t x, int32_t y) {
        nearest = std::min(nearest, std::max(std::abs(x - s.playerX), std::abs(y - s.playerY)));
    };
    for (const Shot& shot : world.enemyShots)
        if (shot.active && shot.flying)
            consider(shot.x, shot.y);
    for (const Enemy& e : world.enemies)
        if (e.active && e.alive)
            consider(e.x, e.y);
    return nearest;
}

void noteTick(const GameState& was, const GameState& now, int t, Rollout* out) {
    if (now.hp < was.hp) {
        out->hpLost += was.hp - now.hp;
        out->firstHit = std::min(out->firstHit, t);
    }
    out->hpGain += std::max(0, now.hp - was.hp);
    out->specialGain += std::max(0, now.specialCount - was.specialCount);
}

// Flies the plan on a copy; the main shot goes on whenever an enemy is in the lane, as it will in
// the real game, so the look-ahead sees the kills it will make.
Rollout fly(const GameWorld& start, const Plan& plan, const FlightIntent& first, int zFree,
            FlightPlanner* planner) {
    GameWorld world = start;
    Rollout out;
    out.speedBefore = world.state.speed;
    int zDown = !zFree;
    for (int t = 0; t < horizon && world.state.alive == 1; ++t) {
        GameKeys keys = arrowKeys(t < plan.hold ? plan.arrows : 0);
        const int fire = t == 0 ? first.fire : enemyRoughlyAhead(world);
        keys.shotPressed = fire && !zDown && world.state.shotCooldown <= 0;
        keys.specialHeld = t == 0 ? first.special : 0;
        zDown = keys.shotPressed;
        const GameState was = world.state;
        planner->scratch.count = 0;
        const int goesOn = gameUpdate(&world, gameTypes, &keys, &planner->scratch);
        noteTick(was, world.state, t, &out);
        if (!goesOn)
            break;
    }
    out.died = world.state.alive != 1;
    out.speedAfter = world.state.speed;
    out.scoreGain = world.state.score - start.state.score;
    out.x = world.state.playerX;
    out.y = world.state.playerY;
    out.clearance = clearanceOf(world);
    return out;
}

// Past the middle speed the craft is hard to place, and a third speed item drops it to the slowest.
int64_t itemWorth(const Rollout& r) {
    int64_t worth = r.hpGain * hitPointWorth + r.specialGain * specialShotWorth;
    if (r.speedAfter > r.speedBefore)
        worth += r.speedBefore < 8 ? speedWorth : -speedWorth / 5;
    if (r.speedAfter < r.speedBefore)
        worth -= speedWorth * 3;
    return worth;
}

int32_t wantedY(const Rollout& r, const Target& target) {
    int32_t y = target.y;
    if (!target.item)
        aimedY(target.forecast, horizon, r.x, &y);
    return std::clamp(y, 40, 440);
}

int64_t placement(const Rollout& r, const Target& target) {
    int64_t worth =
        -std::abs(r.y - wantedY(r, target)) * offAimCost - std::abs(r.x - target.x) * offHomeCost;
    if (r.clearance < comfortDistance)
        worth -= (comfortDistance - r.clearance) * crowdingCost;
    // Near the top or bottom edge there is only one way out.
    const int32_t edge = std::min(r.y - 20, 460 - r.y);
    if (edge < 40)
        worth -= (40 - edge) * edgeCost;
    return worth;
}

int64_t worthOf(const Rollout& r, const Target& target) {
    if (r.died)
        return lossOfTheCraft;
    const int64_t hits = r.hpLost * hitCost + (r.hpLost ? horizon - r.firstHit : 0) * earlyHitCost;
    return -hits + itemWorth(r) + r.scoreGain * pointWorth + placement(r, target);
}

struct Choice {
    int plan = 0;
    int64_t worth = 0;
};

Choice bestPlan(const GameWorld& world, const FlightIntent& first, const Target& target, int zFree,
                int offset, FlightPlanner* planner) {
    Choice best{-1, 0};
    for (int k = 0; k < planCount; ++k) {
        const int index = (k + offset) % planCount;
        const Plan plan = planAt(index);
        int64_t worth = worthOf(fly(world, plan, first, zFree, planner), target);
        // Going on as before wins a tie over turning, so the craft does not dither.
        if (plan.arrows == planner->lastArrows)
            worth += 1;
        if (best.plan < 0 || worth > best.worth)
            best = Choice{index, worth};
    }
    return best;
}

// Cornered: the special clears shots from its path, so see whether it saves a hit point.
void tryRescue(const GameWorld& world, const Target& target, int zFree, int offset,
               FlightPlanner* planner, FlightIntent* intent, Choice* best) {
    const GameState& s = world.state;
    if (intent->special || best->worth > -hitCost / 2 || s.specialCount <= 0 ||
        s.specialCooldown > 0)
        return;
    FlightIntent withSpecial = *intent;
    withSpecial.special = 1;
    const Choice rescue = bestPlan(world, withSpecial, target, zFree, offset, planner);
    if (rescue.worth > best->worth) {
        *best = rescue;
        *intent = withSpecial;
    }
}

} // namespace

uint8_t keysForIntent(const FlightIntent& intent, const GameState& state) {
    uint8_t keys = intent.arrows;
    // A press while the gun reloads would be lost, so the pilot presses only when it fires.
    if (intent.fire && freshZPossible() && state.shotCooldown <= 0)
        keys |= KeyZ;
    if (intent.special)
        keys |= KeyX;
    return keys;
}

FlightIntent chooseFlight(const GameWorld& world, FlightPlanner* planner, int allowSpecial,
                          PilotRandom* tieBreak) {
    GameRequests* scratch = &planner->scratch;
    FlightIntent intent;
    const int zFree = freshZPossible();
    intent.fire = zFree && mainShotLands(world, scratch);
    intent.special = allowSpecial && specialPays(world, scratch);
    const Target target = chooseTarget(world, scratch);
    const int offset = tieBreak ? pilotRandomRange(tieBreak, 0, planCount - 1) : 0;
    Choice best = bestPlan(world, intent, target, zFree, offset, planner);
    if (allowSpecial)
        tryRescue(world, target, zFree, offset, planner, &intent, &best);
    const Plan plan = planAt(best.plan);
    intent.arrows = plan.arrows;
    intent.hold = plan.hold;
    planner->lastArrows = intent.arrows;
    return intent;
}

} // namespace kavorind
