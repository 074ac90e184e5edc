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
};

// One wave of a kind starting at a column; `level` (0..2) makes it bigger.
int placeWave(Waves* w, int kind, int column, int level, Rng* rng) {
    int row = rng->range(w->firstRow, w->lastRow);
    switch (kind) {
    case 0: // darts in a diagonal line
        for (int k = 0; k < 3 + level; ++k)
            w->put(column + k, w->firstRow + (row + k * 2) % (w->lastRow - w->firstRow + 1), Dart);
        return 3 + level;
    case 1: // saucers closing from above and below
        w->put(column, w->firstRow + 1, SaucerSinking);
        w->put(column, w->lastRow - 1, SaucerRising);
        if (level > 0)
            w->put(column + 3, (w->firstRow + w->lastRow) / 2, SaucerSinking);
        return 4;
    case 2: // a drifting field of mines
        for (int k = 0; k < 4 + level * 2; ++k)
            w->put(column + k, rng->range(w->firstRow, w->lastRow),
                   k % 2 ? MineRising : MineSinking);
        return 4 + level * 2;
    case 3: // gunships
        w->put(column, row, Gunship);
        if (level > 1)
            w->put(column + 4, w->firstRow + w->lastRow - row, Gunship);
        return level > 1 ? 5 : 2;
    default: // drones with an escort of darts
        w->put(column, row, OrbDrone);
        if (level > 0)
            w->put(column + 2, w->firstRow + w->lastRow - row, OrbDrone);
        w->put(column + 1, row, Dart);
        return 3;
    }
}

// Waves from column 22 to the boss, coming faster and getting bigger, with items as rewards
// after the harder stretches and a supply just before the boss.
std::vector<uint8_t> stageWaves(int stage, uint8_t boss, int firstRow, int lastRow, uint32_t seed) {
    Waves w;
    w.firstRow = firstRow;
    w.lastRow = lastRow;
    Rng rng(seed);
    const int kindsByStage[3] = {3, 5, 5};
    int column = 22;
    int waveCount = 0;
    while (column < middleColumns - 24) {
        double progress = static_cast<double>(column) / middleColumns;
        int level = std::min(2, static_cast<int>(progress * 2.2) + (stage > 0 ? 1 : 0) -
                                    (stage == 0 && progress < 0.3));
        level = std::max(level, 0);
        int kind = rng.range(0, kindsByStage[stage] - 1);
        int used = placeWave(&w, kind, column, level, &rng);
        ++waveCount;
        if (waveCount % 7 == 0)
            w.put(column + used + 2, rng.range(firstRow + 1, lastRow - 1),
                  waveCount % 14 == 0 ? HitPointItem : SpecialItem);
        int gap = static_cast<int>(13 - progress * 6) - stage;
        column += used + std::max(gap, 5);
    }
    if (stage < 2)
        w.put(middleColumns * 2 / 5, (firstRow + lastRow) / 2, SpeedItem);
    w.put(middleColumns - 14, firstRow + 2, HitPointItem);
    w.put(middleColumns - 11, lastRow - 2, SpecialItem);
    w.put(middleColumns - 4, (firstRow + lastRow) / 2, boss);
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

void addStages(ContentSet* out) {
    addStage(out, 1, paintMountainStage(), stageWaves(0, BossGunship, 1, 8, 201));
    addStage(out, 2, paintCoastStage(), stageWaves(1, BossCrab, 1, 8, 202));
    addStage(out, 3, paintFortressStage(), stageWaves(2, BossCore, 3, 9, 203));
}

} // namespace kavorind
