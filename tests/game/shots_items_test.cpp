#include "game_fixture.h"

#include <algorithm>

namespace kavorind {
namespace {

using ShotsTest = GameRulesTest;
using ItemsTest = GameRulesTest;

TEST_F(ShotsTest, ShotsLeaveOnlyOnceAlreadyPastAnEdge) {
    fireShot(&world, types, 0, 1, 630, 240, &out); // speed 25
    Shot& fast = world.playerShots[0];
    updateShots(&world, types);
    EXPECT_EQ(fast.active, 1);
    EXPECT_EQ(fast.x, 655);
    updateShots(&world, types);
    EXPECT_EQ(fast.active, 0);
    EXPECT_EQ(fast.x, 680); // let go, but it still finished its tick

    // The edges themselves are still on the screen.
    Shot& lowerLeft = world.enemyShots[3];
    Shot& upperRight = world.enemyShots[4];
    lowerLeft = Shot{1, 2, 0, 480, -1, 1, 1, 0, 0, 0, 0};
    upperRight = Shot{1, 2, 640, 0, 1, -1, 1, 0, 0, 0, 0};
    updateShots(&world, types);
    EXPECT_EQ(lowerLeft.active + upperRight.active, 2);
    EXPECT_EQ(lowerLeft.y, 481);
    EXPECT_EQ(upperRight.x, 641);
    updateShots(&world, types);
    EXPECT_EQ(lowerLeft.active + upperRight.active, 0);
}

TEST_F(ShotsTest, FlyingFramesWrapAndBurstsEndInPlace) {
    Shot& flying = world.enemyShots[0];
    flying = Shot{1, 4, 300, 200, 0, 0, 1, 0, 0, 0, 0};
    Shot& bursting = world.playerShots[7];
    bursting = Shot{1, 1, 300, 200, 20, 0, 0, 1, 0, 0, 0};
    std::vector<int> frames;
    int burstEndedAt = -1;
    for (int t = 0; t < 12; ++t) {
        updateShots(&world, types);
        frames.push_back(flying.frame);
        if (bursting.active == 0 && burstEndedAt < 0)
            burstEndedAt = t;
    }
    // 2 frames of 3 ticks; the burst's 4 frames of 3 ticks end as it steps past the last.
    EXPECT_EQ(frames, (std::vector<int>{1, 1, 1, 0, 0, 0, 1, 1, 1, 0, 0, 0}));
    EXPECT_EQ(burstEndedAt, 9);
    EXPECT_EQ(bursting.x, 300);
    EXPECT_EQ(bursting.frame, 1);
}

TEST_F(ShotsTest, EnemyShotsAimAtTheCraftInWholeSteps) {
    struct Case {
        int x, y, dx, dy;
    };
    // The craft is at (100, 240); weapon 2 flies at 5.
    const Case cases[] = {
        {600, 100, -4, 1},                   // the slow axis still gets its pixel
        {600, 239, -5, 1},                   // ... even when the exact share rounds to 0
        {300, 240, -5, 0},                   // straight along one axis
        {100, 40, 0, 5},   {103, 243, 5, 0}, // within reach: straight right instead
        {100, 240, 5, 0},
    };
    for (const Case& c : cases) {
        clearShots(&world);
        fireShot(&world, types, 2, 0, c.x, c.y, &out);
        EXPECT_EQ(world.enemyShots[0].dx, c.dx) << c.x << "," << c.y;
        EXPECT_EQ(world.enemyShots[0].dy, c.dy) << c.x << "," << c.y;
    }
}

TEST_F(ShotsTest, FullTablesDropShotsSilently) {
    for (int i = 0; i < playerShotSlots; ++i)
        fireShot(&world, types, 1, 1, 100, 100 + i, &out);
    for (int i = 0; i < enemyShotSlots; ++i)
        fireShot(&world, types, 3, 0, 500, 100 + i, &out);
    out = GameRequests{};
    fireShot(&world, types, 0, 1, 300, 300, &out);
    fireShot(&world, types, 3, 0, 300, 300, &out);
    EXPECT_EQ(out.count, 0);
    for (const Shot& shot : world.playerShots)
        EXPECT_NE(shot.y, 300);
    for (const Shot& shot : world.enemyShots)
        EXPECT_NE(shot.y, 300);

    world.playerShots[5].active = 0;
    fireShot(&world, types, 0, 1, 300, 300, &out);
    EXPECT_EQ(world.playerShots[5].y, 300);
    EXPECT_EQ(sounds(), std::vector<int>{2});
}

TEST_F(ItemsTest, ItemsEnterDriftingTowardTheMiddleAndStayInTheirBand) {
    spawnItem(&world, 0, 640, 5);
    spawnItem(&world, 1, 640, 245);
    const Item& high = world.items[0];
    const Item& low = world.items[1];
    updateItems(&world, types);
    EXPECT_EQ(high.y, 7);
    EXPECT_EQ(low.y, 243);
    EXPECT_EQ(high.x, 637);
    EXPECT_EQ(high.frame, 1);

    for (int t = 0; t < 100; ++t)
        updateItems(&world, types);
    int minX = 640, maxX = 0, minY = 480, maxY = 0;
    for (int t = 0; t < 2000; ++t) {
        updateItems(&world, types);
        minX = std::min(minX, high.x);
        maxX = std::max(maxX, high.x);
        minY = std::min({minY, high.y, low.y});
        maxY = std::max({maxY, high.y, low.y});
    }
    // Each turns on its first step past a limit: x runs 640 - 3k, y over odd rows.
    EXPECT_EQ(minX, 49);
    EXPECT_EQ(maxX, 592);
    EXPECT_EQ(minY, 49);
    EXPECT_EQ(maxY, 431);

    // On a limit is still inside the band.
    world.items[2] = Item{1, 2, 50, 430, -3, 2, 0, 0};
    world.items[3] = Item{1, 2, 590, 50, 3, -2, 0, 0};
    updateItems(&world, types);
    EXPECT_EQ(world.items[2].x, 47);
    EXPECT_EQ(world.items[2].y, 432);
    EXPECT_EQ(world.items[3].x, 593);
    EXPECT_EQ(world.items[3].y, 48);
    updateItems(&world, types);
    EXPECT_EQ(world.items[2].x, 50);
    EXPECT_EQ(world.items[3].y, 50);
}

TEST_F(ItemsTest, PickupsApplyTheirEffectsWithinTheirCaps) {
    const int32_t x = world.state.playerX, y = world.state.playerY;
    auto collect = [&](int32_t kind) {
        spawnItem(&world, kind, x + 3, y - 3);
        pickUpItems(&world, types, &out);
        EXPECT_EQ(world.items[0].active, 0);
    };
    collect(0);
    collect(0);
    collect(0);
    EXPECT_EQ(world.state.hp, 5);
    for (int i = 0; i < 8; ++i)
        collect(1);
    EXPECT_EQ(world.state.specialCount, 9);
    std::vector<int> speeds;
    for (int i = 0; i < 4; ++i) {
        collect(2);
        speeds.push_back(world.state.speed);
    }
    EXPECT_EQ(speeds, (std::vector<int>{8, 11, 5, 8}));
    EXPECT_EQ(sounds(), std::vector<int>(15, 1));
}

TEST_F(ItemsTest, OverlappingItemsAreCollectedInTableOrder) {
    types.itemKinds[0].pickupSound = 7;
    types.itemKinds[1].pickupSound = 8;
    spawnItem(&world, 1, 104, 244);
    spawnItem(&world, 0, 96, 236);
    spawnItem(&world, 0, 108, 240); // only touches the 8 x 8 craft
    pickUpItems(&world, types, &out);
    EXPECT_EQ(sounds(), (std::vector<int>{8, 7}));
    EXPECT_EQ(world.state.hp, 4);
    EXPECT_EQ(world.state.specialCount, 4);
    EXPECT_EQ(world.items[2].active, 1);
}

TEST_F(ItemsTest, TheCraftCollectsWithTheShapeItShows) {
    loadBox(content->playerSprites[1], 2, 32); // the attack pose reaches further
    spawnItem(&world, 0, 112, 240);
    pickUpItems(&world, types, &out);
    EXPECT_EQ(world.items[0].active, 1);
    world.state.animMode = 1;
    world.state.alive = 0;
    pickUpItems(&world, types, &out);
    EXPECT_EQ(world.items[0].active, 1);
    world.state.alive = 1;
    pickUpItems(&world, types, &out);
    EXPECT_EQ(world.items[0].active, 0);
    EXPECT_EQ(world.state.hp, 4);
}

} // namespace
} // namespace kavorind
