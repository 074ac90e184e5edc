// The three stages: painted layers cut into tile maps, and the middle maps' spawn codes.
#include "content.h"
#include "palette.h"
#include "stage_layers.h"
#include "tiles.h"

#include <algorithm>

namespace kavorind {

namespace {

// Spawn codes: 1 to 3 items (hit point, special shot, speed), 10 to 19 enemy types.
enum Code : uint8_t {
    HitPointItem = 1,
    SpecialItem = 2,
    SpeedItem = 3,
    BossGunship = 10,
    Dart = 11,
    SaucerSinking = 12,
    SaucerRising = 13,
    Gunship = 14,
    OrbDrone = 15,
    MineRising = 16,
    MineSinking = 17,
    BossCrab = 18,
    BossCore = 19,
};

struct Waves {
    std::vector<uint8_t> codes = std::vector<uint8_t>(middleColumns * stageRows, 0);
    int firstRow = 1;
    int lastRow = 9;
    void put(int column, int row, uint8_t code) {
        row = std::clamp(row, firstRow, lastRow);
        if (column >= 0 && column < middleColumns)
            codes[static_cast<size_t>(row) * middleColumns + column] = code;
    }
    int rows() const { return lastRow - firstRow + 1; }
    int mirror(int row) const { return firstRow + lastRow - row; }
};

// The formations, from the gentlest to the hardest; a stage draws from the first few of them and
// from more as it goes on. A column of the middle map enters the screen 16 ticks after the one
// before, so a formation spread over columns arrives as a stream.
enum Formation {
    MineField,    // slow mines drifting apart: they crowd the lanes rather than shoot
    SaucerPincer, // saucers from above and below, shooting slowly as they turn back
    DartLine,     // darts in a slanting line: fast, harmless once out of their row
    DroneEscort,  // orb drones that hang back and shoot, with darts in front
    GunshipRaid,  // gunships crossing the screen, each shooting every second
    DartWall,     // a column of darts with one gap to fly through
    Crossfire,    // gunships in the middle while saucers close from both sides
    FormationCount,
};

// A column of darts with rows left free: the gap has to be found, not squeezed through.
void dartWall(Waves* w, int column, int gap, int freeRows) {
    for (int r = w->firstRow; r <= w->lastRow; ++r)
        if (r < gap || r >= gap + freeRows)
            w->put(column, r, Dart);
}

// Places a formation at a column; level 0 to 3 makes it bigger. Returns the columns it spans.
int placeFormation(Waves* w, int formation, int column, int level, Rng* rng) {
    const int row = rng->range(w->firstRow, w->lastRow);
    switch (formation) {
    case DartLine:
        for (int k = 0; k < 2 + level; ++k)
            w->put(column + k * 2, w->firstRow + (row + k * 3) % w->rows(), Dart);
        return 2 + level * 2;
    case SaucerPincer:
        for (int k = 0; k <= level / 2; ++k) {
            w->put(column + k * 6, w->firstRow + k, SaucerSinking);
            w->put(column + k * 6, w->lastRow - k, SaucerRising);
        }
        if (level % 2)
            w->put(column + 3, (w->firstRow + w->lastRow) / 2, SaucerSinking);
        return 2 + level / 2 * 6;
    case MineField:
        for (int k = 0; k < 3 + level * 2; ++k)
            w->put(column + k * 2, rng->range(w->firstRow, w->lastRow),
                   k % 2 ? MineRising : MineSinking);
        return 6 + level * 4;
    case GunshipRaid:
        for (int k = 0; k <= level; ++k)
            w->put(column + k * 4, k % 2 ? w->mirror(row) : row, Gunship);
        return 1 + level * 4;
    case DroneEscort:
        w->put(column + 2, row, OrbDrone);
        if (level > 0)
            w->put(column + 4, w->mirror(row), OrbDrone);
        for (int k = 0; k < 1 + level; ++k)
            w->put(column + k, w->firstRow + (row + 3 * k + 2) % w->rows(), Dart);
        return 5;
    case DartWall: {
        // A second wall has its gap two rows over, towards the middle: a dodge, then another.
        // The smaller walls leave three rows, so that a late dodge still finds the gap.
        const int freeRows = level < 3 ? 3 : 2;
        const int gap = rng->range(w->firstRow, w->lastRow + 1 - freeRows);
        const int shift = gap > w->firstRow + 2 ? -2 : 2;
        for (int k = 0; k < 1 + level / 2; ++k)
            dartWall(w, column + k * 5,
                     std::clamp(gap + k * shift, w->firstRow, w->lastRow + 1 - freeRows), freeRows);
        return 1 + level / 2 * 5;
    }
    default: // Crossfire
        w->put(column, w->firstRow, SaucerSinking);
        w->put(column, w->lastRow, SaucerRising);
        w->put(column + 2, row, Gunship);
        if (level > 2)
            w->put(column + 6, w->mirror(row), Gunship);
        return level > 2 ? 7 : 3;
    }
}

// How a stage's waves build up: the formations it knows at its start and at its end, how big they
// are, how closely they follow each other, and where the boss and the supplies come in.
struct StagePlan {
    uint8_t boss = BossGunship;
    int bossColumn = 0;
    int firstRow = 1;
    int lastRow = 9;
    int openingFormations = 3; // formations in use at the start (the first ones of the list)
    int closingFormations = 3; // and by the boss
    int openingLevel = 0;
    int closingLevel = 2;
    int openingGap = 14; // empty columns after a formation
    int closingGap = 7;
    int restEvery = 0; // a longer breath after every so many formations
    int restGap = 0;
    int fightSupplyEvery = 0; // columns between hit points from the boss to the map's end
    uint32_t seed = 1;
};

// Every stage's first formation comes at this column: a moment to settle in first.
constexpr int firstWaveColumn = 22;

struct Supply {
    double at; // where, as a share of the way to the boss; past 1 it comes during the boss fight
    uint8_t code;
};

int levelAt(const StagePlan& plan, double progress) {
    const double level =
        plan.openingLevel + (plan.closingLevel - plan.openingLevel + 0.99) * progress;
    return std::clamp(static_cast<int>(level), 0, 3);
}

// The formations are dealt from a shuffled deck of the ones the stage knows by then, so each
// turns up about as often as the others instead of one kind crowding a stretch.
struct FormationDeck {
    std::vector<int> cards;
    int known = 0;
};

int dealFormation(FormationDeck* deck, const StagePlan& plan, double progress, Rng* rng) {
    const int known = std::clamp(
        plan.openingFormations +
            static_cast<int>((plan.closingFormations - plan.openingFormations) * progress + 0.5),
        1, static_cast<int>(FormationCount));
    if (deck->cards.empty() || known != deck->known) {
        deck->known = known;
        deck->cards.clear();
        for (int f = 0; f < known; ++f)
            deck->cards.push_back(f);
        for (int i = known - 1; i > 0; --i)
            std::swap(deck->cards[static_cast<size_t>(i)],
                      deck->cards[static_cast<size_t>(rng->range(0, i))]);
    }
    const int card = deck->cards.back();
    deck->cards.pop_back();
    return card;
}

void placeSupplies(Waves* w, const StagePlan& plan, const std::vector<Supply>& supplies) {
    const int middleRow = (plan.firstRow + plan.lastRow) / 2;
    for (const Supply& supply : supplies) {
        const int column = static_cast<int>(plan.bossColumn * supply.at);
        // In the middle row, at the first cell from there that no formation holds.
        for (int c = column; c < std::min(column + 8, middleColumns); ++c)
            if (w->codes[static_cast<size_t>(middleRow) * middleColumns + c] == 0) {
                w->put(c, middleRow, supply.code);
                break;
            }
    }
}

// Hit points keep coming while the boss fights, until the scroll stops at the map's end: a player
// who was hit on the way in can win back what the fight takes.
void placeFightSupplies(Waves* w, const StagePlan& plan) {
    if (plan.fightSupplyEvery <= 0)
        return;
    const int middleRow = (plan.firstRow + plan.lastRow) / 2;
    for (int c = plan.bossColumn + plan.fightSupplyEvery; c < middleColumns;
         c += plan.fightSupplyEvery)
        w->put(c, middleRow, HitPointItem);
}

// Waves from the first wave's column to just before the boss, coming closer together and growing
// bigger, with supplies along the way and before the boss.
std::vector<uint8_t> stageWaves(const StagePlan& plan, const std::vector<Supply>& supplies) {
    Waves w;
    w.firstRow = plan.firstRow;
    w.lastRow = plan.lastRow;
    Rng rng(plan.seed);
    const int lastWave = plan.bossColumn - 12;
    FormationDeck deck;
    int column = firstWaveColumn;
    for (int placed = 1; column < lastWave; ++placed) {
        const double progress = static_cast<double>(column) / lastWave;
        const int formation = dealFormation(&deck, plan, progress, &rng);
        const int used = placeFormation(&w, formation, column, levelAt(plan, progress), &rng);
        const double gap = plan.openingGap + (plan.closingGap - plan.openingGap) * progress;
        column += used + static_cast<int>(gap);
        if (plan.restEvery > 0 && placed % plan.restEvery == 0)
            column += plan.restGap;
    }
    placeSupplies(&w, plan, supplies);
    placeFightSupplies(&w, plan);
    w.put(plan.bossColumn, (plan.firstRow + plan.lastRow) / 2, plan.boss);
    return w.codes;
}

// Front cells are kept only where the front layer adds something over ground that the middle
// layer covers completely, since front tiles are drawn opaque.
std::vector<uint8_t> frontCells(const StageLayers& s) {
    const int cols = s.middle.width / tileSize, rows = s.middle.height / tileSize;
    std::vector<uint8_t> keep(static_cast<size_t>(cols) * rows, 0);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            bool solid = true, changed = false;
            for (int y = r * tileSize; y < (r + 1) * tileSize; ++y)
                for (int x = c * tileSize; x < (c + 1) * tileSize; ++x) {
                    solid = solid && s.middle.get(x, y) != s.middleKey;
                    changed = changed || s.middle.get(x, y) != s.front.get(x, y);
                }
            keep[static_cast<size_t>(r) * cols + c] = solid && changed;
        }
    return keep;
}

void addStage(ContentSet* out, int number, const StageLayers& s,
              const std::vector<uint8_t>& spawns) {
    const std::string n = std::to_string(number);
    TileCut back = cutTiles(s.back, 0, false);
    out->maps.push_back(
        {"Stage-B" + n + ".map", mapFromCut(back, s.back.width / tileSize, stageRows, {})});
    TileCut middle = cutTiles(s.middle, s.middleKey, true);
    out->maps.push_back(
        {"Stage-M" + n + ".map", mapFromCut(middle, middleColumns, stageRows, spawns)});
    std::vector<uint8_t> keep = frontCells(s);
    TileCut front = cutTiles(s.front, s.middleKey, true, &keep);
    out->maps.push_back({"Stage-F" + n + ".map", mapFromCut(front, middleColumns, stageRows, {})});
}

} // namespace

// A column enters at about tick 16 * column - 320 and the scroll stops when column 299 is in: a
// boss at column 180 arrives after 85 s and fights with hit points coming in for a minute more, so
// a stage lasts two to three minutes and a player who was hit on the way has the fight to recover.
void addStages(ContentSet* out) {
    // The mountains teach: mines and saucers first, then darts and drones, never a gunship, and
    // hit points all the way into the boss fight, which is long without the special weapon.
    StagePlan mountains{.boss = BossGunship,
                        .bossColumn = 238,
                        .firstRow = 2,
                        .lastRow = 9,
                        .openingFormations = 2,
                        .closingFormations = 4,
                        .openingLevel = 0,
                        .closingLevel = 1,
                        .openingGap = 13,
                        .closingGap = 9,
                        .restEvery = 4,
                        .restGap = 10,
                        .fightSupplyEvery = 6,
                        .seed = 201};
    addStage(out, 1, paintMountainStage(),
             stageWaves(mountains, {{0.22, SpecialItem},
                                    {0.30, HitPointItem},
                                    {0.36, SpeedItem},
                                    {0.55, HitPointItem},
                                    {0.62, SpeedItem},
                                    {0.80, HitPointItem},
                                    {0.93, HitPointItem}}));
    // The coast brings every formation by its end, closer together, and no special shot: the crab
    // is fought with the main gun while the hit points come.
    StagePlan coast{.boss = BossCrab,
                    .bossColumn = 180,
                    .firstRow = 2,
                    .lastRow = 9,
                    .openingFormations = 3,
                    .closingFormations = 7,
                    .openingLevel = 0,
                    .closingLevel = 2,
                    .openingGap = 14,
                    .closingGap = 8,
                    .restEvery = 4,
                    .restGap = 8,
                    .fightSupplyEvery = 5,
                    .seed = 202};
    addStage(out, 2, paintCoastStage(),
             stageWaves(coast, {{0.10, HitPointItem},
                                {0.30, SpeedItem},
                                {0.35, HitPointItem},
                                {0.55, HitPointItem},
                                {0.60, SpeedItem},
                                {0.75, HitPointItem},
                                {0.90, HitPointItem},
                                {0.95, HitPointItem}}));
    // The fortress packs the same formations closer between its walls, up to double walls of darts
    // and crossfire with two gunships, with one special shot to save for the core.
    StagePlan fortress{.boss = BossCore,
                       .bossColumn = 180,
                       .firstRow = 3,
                       .lastRow = 9,
                       .openingFormations = 3,
                       .closingFormations = 7,
                       .openingLevel = 0,
                       .closingLevel = 3,
                       .openingGap = 14,
                       .closingGap = 6,
                       .restEvery = 4,
                       .restGap = 8,
                       .fightSupplyEvery = 5,
                       .seed = 203};
    addStage(out, 3, paintFortressStage(),
             stageWaves(fortress, {{0.10, HitPointItem},
                                   {0.25, HitPointItem},
                                   {0.30, SpeedItem},
                                   {0.40, SpecialItem},
                                   {0.50, HitPointItem},
                                   {0.60, SpeedItem},
                                   {0.70, HitPointItem},
                                   {0.85, HitPointItem},
                                   {0.90, HitPointItem},
                                   {0.95, HitPointItem}}));
}

} // namespace kavorind
