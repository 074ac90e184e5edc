#include "game_fixture.h"

namespace kavorind {
namespace {

// The craft starts at (100, 240); every set is an 8 x 8 box around its position, so things closer
// than 8 pixels on both axes touch.
struct CollisionsTest : GameRulesTest {
    static constexpr int restore = -1; // a palette restore in requests()

    void SetUp() override {
        GameRulesTest::SetUp();
        // Sounds of their own, so the outbox shows whose sound came when.
        for (int t = 0; t < enemyTypeCount; ++t) {
            types.enemyTypes[static_cast<size_t>(t)].hitSound = 40 + t;
            types.enemyTypes[static_cast<size_t>(t)].deathSound = 50 + t;
        }
        for (int k = 0; k < weaponKindCount; ++k)
            types.weapons[static_cast<size_t>(k)].hitSound = 60 + k;
        types.weapons[2].power = 2;
        world.state.playerHitSound = 70;
        world.state.playerDeathSound = 71;
    }

    // The outbox in order: sound indices, and `restore` for a palette restore.
    std::vector<int> requests() const {
        std::vector<int> asked;
        for (int i = 0; i < out.count; ++i) {
            const DeviceRequest& r = out.requests[static_cast<size_t>(i)];
            asked.push_back(r.kind == DeviceRequestKind::RestorePalette ? restore : r.sound);
        }
        return asked;
    }

    // The tables start empty and nothing here frees a slot, so each record lands in the next one.
    int enemiesPlaced = 0, enemyShotsFired = 0, playerShotsFired = 0;
    Enemy& enemy(int32_t type, int32_t x, int32_t y) {
        spawnEnemy(&world, types, type, x, y);
        return world.enemies[static_cast<size_t>(enemiesPlaced++)];
    }
    Shot& enemyShot(int32_t weapon, int32_t x, int32_t y) {
        fireShot(&world, types, weapon, 0, x, y, nullptr);
        return world.enemyShots[static_cast<size_t>(enemyShotsFired++)];
    }
    Shot& playerShot(int32_t weapon, int32_t x, int32_t y) {
        fireShot(&world, types, weapon, 1, x, y, nullptr);
        return world.playerShots[static_cast<size_t>(playerShotsFired++)];
    }
};

TEST_F(CollisionsTest, EnemyShotOnTheCraftCostsItsPowerAndPushesTheCraftBack) {
    Shot& hit = enemyShot(2, 103, 244);
    Shot& miss = enemyShot(3, 108, 240); // only touches the craft's edge
    shotsHitPlayer(&world, types, &out);

    EXPECT_EQ(world.state.hp, 1);
    EXPECT_EQ(world.state.playerX, 80);
    EXPECT_EQ(world.state.alive, 1);
    EXPECT_EQ(world.scene.hitFlash, 1);
    EXPECT_EQ(hit.active, 1);
    EXPECT_EQ(hit.flying, 0);
    EXPECT_EQ(hit.blastFrame, 0);
    EXPECT_EQ(hit.blastCounter, types.weapons[2].blastFrameDelay);
    EXPECT_EQ(miss.flying, 1);
    EXPECT_EQ(world.state.score, 0);
    EXPECT_EQ(requests(), (std::vector<int>{62, 70}));
}

TEST_F(CollisionsTest, ShotsLandingInOneTickAllCountEvenAfterTheCraftDies) {
    world.state.hp = 2;
    world.scene.hitFlash = 2;
    enemyShot(2, 100, 240);
    // Out of reach until the first hit pushes the craft 20 pixels onto it.
    enemyShot(2, 82, 240);
    shotsHitPlayer(&world, types, &out);

    EXPECT_EQ(world.state.hp, -2);
    EXPECT_EQ(world.state.alive, 0);
    EXPECT_EQ(world.state.playerX, 60);
    EXPECT_EQ(world.state.deathFrame, 0);
    EXPECT_EQ(world.state.deathCounter, types.deathDelay);
    EXPECT_EQ(requests(), (std::vector<int>{restore, 62, 70, 71, restore, 62, 70, 71}));

    // A craft already dead takes nothing more.
    Shot& late = enemyShot(2, 60, 240);
    out = GameRequests{};
    shotsHitPlayer(&world, types, &out);
    enemy(4, 60, 240);
    enemiesHitPlayer(&world, types, &out);
    EXPECT_EQ(late.flying, 1);
    EXPECT_EQ(world.state.playerX, 60);
    EXPECT_EQ(out.count, 0);
}

TEST_F(CollisionsTest, RammingHurtsBothAndPaysForTheKill) {
    Enemy& tough = enemy(4, 102, 240);
    enemiesHitPlayer(&world, types, &out);
    EXPECT_EQ(world.state.hp, 2);
    EXPECT_EQ(world.state.playerX, 75);
    EXPECT_EQ(tough.hp, 2);
    EXPECT_EQ(tough.x, 122);
    EXPECT_EQ(tough.alive, 1);
    EXPECT_EQ(world.state.score, 0);
    EXPECT_EQ(world.scene.hitFlash, 1);
    EXPECT_EQ(requests(), (std::vector<int>{44, 70}));

    out = GameRequests{};
    Enemy& frail = enemy(6, 78, 240);
    enemiesHitPlayer(&world, types, &out);
    EXPECT_EQ(frail.alive, 0);
    EXPECT_EQ(frail.deathFrame, 0);
    EXPECT_EQ(frail.deathCounter, types.enemyTypes[6].deathFrameDelay);
    EXPECT_EQ(world.state.score, types.enemyTypes[6].points);
    EXPECT_EQ(world.state.hp, 1);
    EXPECT_EQ(requests(), (std::vector<int>{restore, 46, 56, 70}));

    // Its wreck no longer hurts, and is not paid for twice.
    out = GameRequests{};
    frail.x = world.state.playerX;
    enemiesHitPlayer(&world, types, &out);
    EXPECT_EQ(world.state.hp, 1);
    EXPECT_EQ(world.state.score, types.enemyTypes[6].points);
    EXPECT_EQ(out.count, 0);
}

TEST_F(CollisionsTest, MainShotBurstsOnEveryEnemyItTouchesWithoutFlashing) {
    world.scene.hitFlash = 2;
    Enemy& first = enemy(4, 400, 200);
    Enemy& second = enemy(5, 403, 203);
    Enemy& apart = enemy(4, 420, 200);
    Shot& shot = playerShot(1, 400, 200);
    shotsHitEnemies(&world, types, &out);

    EXPECT_EQ(shot.flying, 0);
    EXPECT_EQ(shot.blastCounter, types.weapons[1].blastFrameDelay);
    EXPECT_EQ(first.hp, 2);
    EXPECT_EQ(first.x, 420);
    EXPECT_EQ(second.hp, 1);
    EXPECT_EQ(second.x, 423);
    EXPECT_EQ(apart.hp, 3);
    EXPECT_EQ(world.state.score, 0);
    EXPECT_EQ(world.scene.hitFlash, 2);
    EXPECT_EQ(requests(), (std::vector<int>{61, 44, 61, 45}));
}

TEST_F(CollisionsTest, TwoShotsInOneTickBothDamageButTheKillPaysOnce) {
    Enemy& target = enemy(5, 400, 200); // 2 hit points
    Shot& one = playerShot(1, 398, 200);
    Shot& two = playerShot(1, 418, 200);   // reaches it once the first hit pushes it right
    Shot& three = playerShot(1, 440, 200); // where the wreck ends up
    shotsHitEnemies(&world, types, &out);

    EXPECT_EQ(target.hp, 0);
    EXPECT_EQ(target.alive, 0);
    EXPECT_EQ(target.x, 440);
    EXPECT_EQ(one.flying, 0);
    EXPECT_EQ(two.flying, 0);
    EXPECT_EQ(three.flying, 1);
    EXPECT_EQ(world.state.score, types.enemyTypes[5].points);
    EXPECT_EQ(requests(), (std::vector<int>{61, 45, 61, 45, 55}));
}

TEST_F(CollisionsTest, SpecialPiercesEnemiesAndClearsOnlyEnemyShotsItMeets) {
    Enemy& boss = enemy(0, 300, 200);
    Enemy& small = enemy(6, 303, 200);
    Shot& special = playerShot(0, 300, 200);
    Shot& met = enemyShot(3, 305, 196);
    Shot& missed = enemyShot(4, 320, 200);
    Shot& main = playerShot(1, 500, 400);
    Shot& besideMain = enemyShot(2, 500, 400);
    shotsHitEnemies(&world, types, &out);

    EXPECT_EQ(special.flying, 1);
    EXPECT_EQ(boss.hp, types.enemyTypes[0].hp - 3);
    EXPECT_EQ(boss.alive, 1);
    EXPECT_EQ(small.alive, 0);
    EXPECT_EQ(world.state.score, types.enemyTypes[6].points);
    EXPECT_EQ(met.flying, 0);
    EXPECT_EQ(met.blastCounter, types.weapons[3].blastFrameDelay);
    EXPECT_EQ(missed.flying, 1);
    EXPECT_EQ(main.flying, 1); // a main shot passes enemy shots by
    EXPECT_EQ(besideMain.flying, 1);
    EXPECT_EQ(requests(), (std::vector<int>{40, 46, 56, 63}));
}

TEST_F(CollisionsTest, OverlapUsesEachInstancesOwnFrame) {
    // A set whose second frame is far larger than its first.
    SpriteSetImage image;
    image.rate = 10;
    image.frames.push_back(makeSpriteFrameImage(8, 8, 4, 4, 1));
    image.frames.push_back(makeSpriteFrameImage(40, 40, 20, 20, 1));
    ASSERT_EQ(content->enemySprites[4].release(), 1);
    ASSERT_EQ(content->enemySprites[4].loadFromMemory(encodeSpriteSet(image)), 1);
    Enemy& small = enemy(5, 120, 240);
    Enemy& large = enemy(5, 130, 300);
    large.frame = 1;
    Shot& shot = playerShot(1, 130, 280);
    enemiesHitPlayer(&world, types, &out);
    shotsHitEnemies(&world, types, &out);
    EXPECT_EQ(small.hp, 2);
    EXPECT_EQ(world.state.hp, 3);
    EXPECT_EQ(large.hp, 1);
    EXPECT_EQ(shot.flying, 0);

    small.frame = 1;
    enemiesHitPlayer(&world, types, &out);
    EXPECT_EQ(small.hp, 1);
    EXPECT_EQ(world.state.hp, 2);
}

} // namespace
} // namespace kavorind
