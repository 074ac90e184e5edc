#pragma once
#include "game/game_requests.h"
#include "game/game_state.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kavorind {

// The keys of one tick as bits, the way the key script names them.
enum PilotKey : uint8_t {
    KeyLeft = 1,
    KeyRight = 2,
    KeyUp = 4,
    KeyDown = 8,
    KeyZ = 16,
    KeyX = 32,
    KeyEscape = 64,
};
constexpr int pilotKeyCount = 7;

// The key names of the script, bit k naming PilotKey 1 << k.
const char* pilotKeyName(int bit);
// The virtual-key code of bit k.
int pilotVirtualKey(int bit);

// What the craft means to do: a direction (the arrow bits) held for some ticks before it stops,
// whether to shoot the main weapon when a fresh press is possible, and whether to hold the special
// weapon's key.
struct FlightIntent {
    uint8_t arrows = 0;
    int hold = 0;
    int fire = 0;
    int special = 0;
};

// A small deterministic generator for the clumsy pilot's delays and tie-breaks.
struct PilotRandom {
    uint64_t state = 0;
};
PilotRandom seedPilotRandom(uint64_t seed);
// A number in lo..hi, both included.
int pilotRandomRange(PilotRandom* random, int lo, int hi);

// The clumsy pilot's last reaction: what it chose, from which tick it flies it, when the next
// reaction comes, and how old the picture was that this one acted on.
struct Reaction {
    FlightIntent intent;
    int fromTick = 0;
    int nextTick = 0;
    int delay = 0;
};

// The worlds of the last ticks, so the clumsy pilot can act on what it saw a while ago.
constexpr int rememberedTicks = 16;
struct WorldMemory {
    std::array<GameWorld, rememberedTicks> worlds{};
    int stored = 0; // how many of them are from the running stage
    int newest = -1;
};

// The look-ahead's workspace; the rules' outbox is large, so one is kept and reused.
struct FlightPlanner {
    GameRequests scratch;
    uint8_t lastArrows = 0; // to prefer going on over turning back when two moves score the same
};

struct PilotOptions {
    std::string dataDir;
    std::string outFile;
    long ticks = 40000;
    long stage = -1; // with a value: start in the game at that stage index, as the runner's --stage
    int clumsy = 0;
    uint64_t seed = 1;
};

// The figures of one stage as the pilot flew it.
struct StageFigures {
    int stage = 0; // index 0 to 2
    int ticks = 0;
    int score = 0;
    int hp = 0;
    int hits = 0;
    int specialUsed = 0;
    int cleared = 0;
};

// The whole pilot's state: options, the keys chosen so far and what it has seen of the course.
struct KavorindPilot {
    PilotOptions options;
    std::vector<uint8_t> keysByTick; // index tick - 1
    uint8_t keys = 0;                // the keys of the current tick, which the key source answers
    int tick = 0;
    int sawGame = 0;
    int finished = 0;
    int sceneTicks = 0;      // ticks since the current scene began
    std::vector<int> scenes; // the scenes in the order they ran
    FlightPlanner planner;
    Reaction reaction; // the clumsy pilot's
    WorldMemory memory;
    PilotRandom random;
    std::vector<StageFigures> stages;
    GameState before; // the game state at the start of the tick, to count hits and specials
};

// Front end (front_end.cpp): the keys for a tick outside a running stage; sets finished once the
// course is over.
uint8_t frontEndKeys(KavorindPilot* pilot);
// 1 when Z may go down this tick to make a fresh press (it was up at the last sample).
int freshZPossible();

// The clumsy pilot (clumsy.cpp): the intent for the coming tick, from what it saw one reaction
// time ago.
FlightIntent clumsyIntent(KavorindPilot* pilot);
// Forgets the worlds it saw, at the start of a stage or while the craft is down.
void forgetWorlds(WorldMemory* memory);

// Flight (flight.cpp): the choice for the coming tick from a world (the real one, or for the
// clumsy pilot what it saw of it), with or without the special weapon; tieBreak, when given,
// decides between moves that are worth the same.
FlightIntent chooseFlight(const GameWorld& world, FlightPlanner* planner, int allowSpecial,
                          PilotRandom* tieBreak);
// The keys that carry an intent out this tick.
uint8_t keysForIntent(const FlightIntent& intent, const GameState& state);

// Aiming (aim.cpp).
constexpr int forecastTicks = 64;
// Where the enemy to line up with will be, tick by tick from now, as far as it stays in flight.
struct TargetForecast {
    int slot = -1; // -1: nothing to aim at
    int length = 0;
    std::array<int32_t, forecastTicks> x{};
    std::array<int32_t, forecastTicks> y{};
};
TargetForecast forecastTarget(const GameWorld& world, GameRequests* scratch);
// The y to be at, at tick atTick from x fromX, for a main shot fired then to meet the target; 0
// when the forecast ends first.
int aimedY(const TargetForecast& forecast, int atTick, int32_t fromX, int32_t* out);
// 1 when a main shot fired in the coming tick would hit something.
int mainShotLands(const GameWorld& world, GameRequests* scratch);
// 1 when an enemy is ahead of the craft and roughly in the main shot's lane.
int enemyRoughlyAhead(const GameWorld& world);
// The damage that these keys in the coming tick add to what the shots in flight would do.
int extraDamage(const GameWorld& world, const GameKeys& keys, GameRequests* scratch);

// Key script (key_writer.cpp): the keys of every tick as the lines of a key script.
std::string keyScriptText(const std::vector<uint8_t>& keysByTick, const std::string& header);

} // namespace kavorind
