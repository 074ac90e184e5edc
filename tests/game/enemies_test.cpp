#include "game_fixture.h"

#include <algorithm>

namespace kavorind {
namespace {

struct EnemiesTest : GameRulesTest {
    // The fixture's maps have 32-pixel tiles: at a scroll of s the right edge sees column
    // (s + 639) / 32, so column 19 at the start of a stage.
    static constexpr int edgeAtStart = 19;

    void primeSpawner() {
        world.scene.spawnRows = 15;
        spawnFromMap(&world, types, &out);
    }

    template <class Record, size_t count>
    static int active(const std::array<Record, count>& table) {
        int n = 0;
        for (const Record& record : table)
            n += record.active;
        return n;
    }
    void update(int times = 1) {
        for (int i = 0; i < times; ++i)
            updateEnemies(&world, types, &out);
    }
};

TEST_F(EnemiesTest, ColumnWithSeveralMarksSpawnsItsItemsAndEnemiesInRowOrder) {
    primeSpawner();
    // Codes 4..9 and 20 upwards name nothing; row 14 lies past the rows the spawner scans.
    loadMap(content->middleMaps[0], 40, 15, 32,
            {{20, 2, 11},
             {20, 3, 4},
             {20, 4, 2},
             {20, 5, 9},
             {20, 7, 13},
             {20, 8, 20},
             {20, 9, 1},
             {20, 10, 255},
             {20, 11, 3},
             {20, 12, 19},
             {20, 14, 10}});
    world.scene.spawnRows = 14;
    world.scene.midScroll = 32;
    spawnFromMap(&world, types, &out);

    EXPECT_EQ(world.scene.lastSpawnColumn, 20);
    ASSERT_EQ(active(world.enemies), 3);
    ASSERT_EQ(active(world.items), 3);
    const int32_t enemyTypeAndRow[][2] = {{1, 2}, {3, 7}, {9, 12}};
    const int32_t itemKindAndRow[][2] = {{1, 4}, {0, 9}, {2, 11}};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(world.enemies[i].type, enemyTypeAndRow[i][0]);
        EXPECT_EQ(world.enemies[i].y, enemyTypeAndRow[i][1] * 32 + 5);
        EXPECT_EQ(world.items[i].kind, itemKindAndRow[i][0]);
        EXPECT_EQ(world.items[i].y, itemKindAndRow[i][1] * 32 + 5);
    }
    EXPECT_EQ(world.enemies[0].x, 639);
    EXPECT_EQ(world.items[0].x, 639);

    // The same column again spawns nothing more.
    world.scene.midScroll = 40;
    spawnFromMap(&world, types, &out);
    EXPECT_EQ(active(world.enemies), 3);
    EXPECT_EQ(active(world.items), 3);
}

TEST_F(EnemiesTest, FirstLookOfTheProgramOnlyRecordsTheEdgeColumn) {
    loadMap(content->middleMaps[0], 40, 15, 32, {{edgeAtStart, 3, 11}});
    loadMap(content->middleMaps[1], 40, 15, 32, {{edgeAtStart, 5, 12}});
    primeSpawner();
    EXPECT_EQ(world.scene.spawnerPrimed, 1);
    EXPECT_EQ(world.scene.lastSpawnColumn, edgeAtStart);
    EXPECT_EQ(active(world.enemies), 0);

    // Stage 0 scrolls to its end; the next stage starts back at 0 and its edge column is new.
    world.scene.midScroll = 640;
    spawnFromMap(&world, types, &out);
    EXPECT_EQ(world.scene.lastSpawnColumn, 39);
    world.state.stageIndex = 1;
    world.scene.midScroll = 0;
    spawnFromMap(&world, types, &out);
    ASSERT_EQ(active(world.enemies), 1);
    EXPECT_EQ(world.enemies[0].type, 2);
    EXPECT_EQ(world.enemies[0].y, 5 * 32 + 5);
}

TEST_F(EnemiesTest, SpawnEnemyTakesTheFirstFreeSlotAndDropsWhatDoesNotFit) {
    for (int i = 0; i < enemySlots; ++i)
        spawnEnemy(&world, types, 1, 10 * i, 100);
    const auto full = world.enemies;
    spawnEnemy(&world, types, 4, 300, 300);
    spawnEnemy(&world, types, -1, 300, 300);
    for (size_t i = 0; i < full.size(); ++i)
        EXPECT_EQ(world.enemies[i].x, full[i].x) << i;

    world.enemies[5].active = 0;
    world.enemies[9].active = 0;
    spawnEnemy(&world, types, enemyTypeCount, 300, 300);
    EXPECT_EQ(world.enemies[5].active, 0);
    spawnEnemy(&world, types, 4, 300, 300);
    EXPECT_EQ(world.enemies[5].active, 1);
    EXPECT_EQ(world.enemies[5].type, 4);
    EXPECT_EQ(world.enemies[9].active, 0);
}

TEST_F(EnemiesTest, OrdinaryEnemyLeavesPastAnEdgeButStillMovesThatTick) {
    spawnEnemy(&world, types, 1, 639, 100); // straight left at 12
    update();
    EXPECT_EQ(world.enemies[0].x, 627);
    EXPECT_EQ(world.enemies[0].y, 100);
    world.enemies[0].x = 5;
    update();
    EXPECT_EQ(world.enemies[0].active, 1);
    update();
    EXPECT_EQ(world.enemies[0].active, 0);
    EXPECT_EQ(world.enemies[0].x, -19);

    // Right on the far edges is still inside; one past any edge is out.
    const int32_t positions[][2] = {{650, 480}, {651, 100}, {100, 481}, {100, -1}};
    for (const auto& p : positions) {
        spawnEnemy(&world, types, 6, p[0], p[1]);
        world.enemies[0].dy = 0;
        world.enemies[0].dx = 0;
        update();
        EXPECT_EQ(world.enemies[0].active, p[0] == 650 ? 1 : 0) << p[0] << "," << p[1];
        world.enemies[0].active = 0;
    }
}

TEST_F(EnemiesTest, DriftersSlowReverseAndDriftAtGrowingSpeed) {
    spawnEnemy(&world, types, 2, 639, 100); // drifts down
    spawnEnemy(&world, types, 3, 639, 300); // drifts up
    update(10);
    EXPECT_EQ(world.enemies[0].x, 569);
    EXPECT_EQ(world.enemies[0].y, 100);
    update(); // the 11th update brings the first change
    EXPECT_EQ(world.enemies[0].dx, -5);
    EXPECT_EQ(world.enemies[0].dy, 1);
    EXPECT_EQ(world.enemies[0].x, 564);
    EXPECT_EQ(world.enemies[1].dy, -1);
    EXPECT_EQ(world.enemies[1].y, 299);

    update(59); // 70 in all: changes on the 11th, 31st and 51st
    EXPECT_EQ(world.enemies[0].x, 389);
    EXPECT_EQ(world.enemies[0].dx, -1);
    EXPECT_EQ(world.enemies[0].y, 100 + 20 * 1 + 20 * 2 + 20 * 3);
    EXPECT_EQ(world.enemies[1].y, 300 - 20 * 1 - 20 * 2 - 20 * 3);
    update();
    EXPECT_EQ(world.enemies[0].dx, 1);
    EXPECT_EQ(world.enemies[0].dy, 4);
    EXPECT_EQ(world.enemies[0].x, 390);
    EXPECT_EQ(world.enemies[1].dy, -4);
}

TEST_F(EnemiesTest, AnimationAdvancesAtOnceThenEveryDelayAndWraps) {
    spawnEnemy(&world, types, 1, 639, 100);
    const int32_t expected[] = {1, 1, 1, 0, 0, 0, 1};
    for (int32_t frame : expected) {
        update();
        EXPECT_EQ(world.enemies[0].frame, frame);
    }
}

TEST_F(EnemiesTest, FirstShotAfterIntervalPlusOneThenEveryInterval) {
    spawnEnemy(&world, types, 2, 639, 100);
    spawnEnemy(&world, types, 6, 639, 300); // carries no weapon
    std::vector<int> firedOn;
    for (int tick = 1; tick <= 120; ++tick) {
        const int before = active(world.enemyShots);
        update();
        if (active(world.enemyShots) != before)
            firedOn.push_back(tick);
        if (tick == 51) {
            const Shot& shot = world.enemyShots[0];
            EXPECT_EQ(shot.weapon, 2);
            EXPECT_EQ(shot.x, world.enemies[0].x - 10);
            EXPECT_EQ(shot.y, world.enemies[0].y);
        }
    }
    EXPECT_EQ(firedOn, (std::vector<int>{51, 101}));
    EXPECT_EQ(active(world.enemyShots), 2);
}

TEST_F(EnemiesTest, BossPatrolsItsBoxAndNeverLeaves) {
    types.enemyTypes[0].accelX = 100; // the band's width comes from the type
    spawnEnemy(&world, types, 0, 639, 240);
    update();
    EXPECT_EQ(world.enemies[0].dx, -8); // enters moving left
    EXPECT_EQ(world.enemies[0].x, 631);
    update(10); // inside the band from here on
    int32_t minX = 1000, maxX = -1000, minY = 1000, maxY = -1000;
    for (int i = 0; i < 400; ++i) {
        update();
        const Enemy& boss = world.enemies[0];
        ASSERT_EQ(boss.active, 1);
        minX = std::min(minX, boss.x);
        maxX = std::max(maxX, boss.x);
        minY = std::min(minY, boss.y);
        maxY = std::max(maxY, boss.y);
    }
    EXPECT_GE(minX, 492);
    EXPECT_LT(minX, 500);
    EXPECT_LE(maxX, 608);
    EXPECT_GT(maxX, 600);
    EXPECT_GE(minY, 72);
    EXPECT_LT(minY, 80);
    EXPECT_LE(maxY, 408);
    EXPECT_GT(maxY, 400);

    // Knocked far right by hits it stays, and turns back.
    world.enemies[0].x = 700;
    world.enemies[0].dx = 8;
    update();
    EXPECT_EQ(world.enemies[0].active, 1);
    EXPECT_EQ(world.enemies[0].dx, -8);
    EXPECT_EQ(world.enemies[0].x, 692);
}

TEST_F(EnemiesTest, DeathAnimationFreesTheSlotAndOnlyABossClearsTheStage) {
    spawnEnemy(&world, types, 2, 300, 100);
    spawnEnemy(&world, types, 0, 500, 200);
    for (Enemy& enemy : world.enemies) {
        enemy.alive = 0;
        enemy.deathFrame = 0;
        enemy.deathCounter = 3;
        enemy.fireCounter = 0;
    }
    // Four frames, three ticks each: the last frame's time runs out on the 13th update.
    update(12);
    EXPECT_EQ(world.enemies[0].active, 1);
    EXPECT_EQ(world.enemies[0].deathFrame, 3);
    EXPECT_EQ(world.scene.stageCleared, 0);
    EXPECT_EQ(world.enemies[0].x, 300);
    EXPECT_EQ(world.enemies[1].y, 200);
    EXPECT_EQ(active(world.enemyShots), 0);

    world.enemies[1].active = 0; // held back a tick, so the ordinary enemy finishes alone
    update();
    EXPECT_EQ(world.enemies[0].active, 0);
    EXPECT_EQ(world.scene.stageCleared, 0);

    world.enemies[1].active = 1;
    update();
    EXPECT_EQ(world.enemies[1].active, 0);
    EXPECT_EQ(world.scene.stageCleared, 1);
}

} // namespace
} // namespace kavorind
