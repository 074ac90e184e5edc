// The clumsy pilot: the careful pilot's choices, made on the picture of the game it saw one
// reaction time ago, and flown blindly until the next reaction; it never fires the special weapon.
#include "game/game_state.h"
#include "pilot/pilot.h"

#include <algorithm>

namespace kavorind {

namespace {

// Each reaction comes this many ticks after the one before, drawn anew every time.
constexpr int quickestReaction = 5;
constexpr int slowestReaction = 15;

// The world as it was `age` ticks ago (or as long ago as the stage allows), with the craft where
// it is now: the pilot knows where it flies, but sees everything else late.
GameWorld seenWorld(const WorldMemory& memory, int age) {
    age = std::min(age, memory.stored - 1);
    if (age < 0)
        return game;
    const int index = (memory.newest - age + rememberedTicks) % rememberedTicks;
    GameWorld seen = memory.worlds[static_cast<size_t>(index)];
    seen.state = game.state;
    return seen;
}

void remember(WorldMemory* memory) {
    memory->newest = (memory->newest + 1) % rememberedTicks;
    memory->worlds[static_cast<size_t>(memory->newest)] = game;
    memory->stored = std::min(memory->stored + 1, rememberedTicks);
}

} // namespace

void forgetWorlds(WorldMemory* memory) {
    memory->stored = 0;
}

// Its trigger finger is just as late as its hands: it fires when a shot would have landed in the
// picture it acts on.
FlightIntent clumsyIntent(KavorindPilot* pilot) {
    Reaction& reaction = pilot->reaction;
    remember(&pilot->memory);
    if (pilot->tick >= reaction.nextTick) {
        reaction.delay = pilot->tick - reaction.fromTick;
        reaction.intent = chooseFlight(seenWorld(pilot->memory, reaction.delay), &pilot->planner, 0,
                                       &pilot->random);
        reaction.fromTick = pilot->tick;
        reaction.nextTick =
            pilot->tick + pilotRandomRange(&pilot->random, quickestReaction, slowestReaction);
    }
    FlightIntent now = reaction.intent;
    if (pilot->tick - reaction.fromTick >= now.hold)
        now.arrows = 0;
    now.fire = mainShotLands(seenWorld(pilot->memory, reaction.delay), &pilot->planner.scratch);
    return now;
}

} // namespace kavorind
