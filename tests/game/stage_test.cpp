// A stage as a whole: what its start sets up, how it scrolls, how it ends, and the type tables that
// start-up fills and checks.
#include "game_fixture.h"

#include <cstring>

namespace kavorind {

namespace {

using StageTest = GameRulesTest;

TEST_F(StageTest, StartSetsUpTheStageAndOnlyStageZeroStartsANewGame) {
    world.state.stageIndex = 1;
    world.state.score = 1234;
    world.state.hp = 1;
    world.scene.hitFlash = 2;
    spawnEnemy(&world, types, 1, 300, 100);
    startStage(&world, types);
    EXPECT_EQ(world.state.score, 1234) << "a later stage keeps the game";
    EXPECT_EQ(world.state.hp, 1);
    EXPECT_EQ(world.enemies[0].active, 0);
    EXPECT_EQ(world.scene.hitFlash, 0);
    // 40 cells of 32 pixels: 1280 - 640. The spawner scans 640 / 32 rows.
    EXPECT_EQ(world.scene.backScrollLimit, 640);
    EXPECT_EQ(world.scene.midScrollLimit, 640);
    EXPECT_EQ(world.scene.spawnRows, 20);

    world.state.stageIndex = 0;
    world.scene.result = 1;
    startStage(&world, types);
    EXPECT_EQ(world.state.score, 0);
    EXPECT_EQ(world.state.hp, 3);
    EXPECT_EQ(world.state.playerX, 100);
    EXPECT_EQ(world.scene.result, 0);
}

TEST_F(StageTest, LayersScrollToTheirLimitsAndTheLastStagesBackStandsStill) {
    loadMap(content->middleMaps[2], 21, 15, 32); // 672 pixels: 32 to scroll
    loadMap(content->backMaps[0], 10, 15, 32);   // narrower than the screen: a limit of -320
    world.state.stageIndex = 2;
    startStage(&world, types);
    for (int tick = 0; tick < 30; ++tick)
        gameUpdate(&world, types, nullptr, &out);
    EXPECT_EQ(world.scene.backScroll, 0);
    EXPECT_EQ(world.scene.midScroll, 32);

    world.state.stageIndex = 0;
    world.scene.result = 0;
    startStage(&world, types);
    EXPECT_EQ(world.scene.backScrollLimit, -320);
    gameUpdate(&world, types, nullptr, &out);
    EXPECT_EQ(world.scene.backScroll, -320) << "the first update takes the negative limit";
    EXPECT_EQ(world.scene.midScroll, 2);
}

TEST_F(StageTest, AStageEndsInAClearAGameOverOrAQuit) {
    startStage(&world, types);
    world.scene.stageCleared = 1;
    EXPECT_EQ(gameUpdate(&world, types, nullptr, &out), 0);
    EXPECT_EQ(world.scene.result, 2);

    // A clear with the craft destroyed is a game over.
    startStage(&world, types);
    world.scene.stageCleared = 1;
    world.state.hp = 0;
    world.state.alive = 0;
    EXPECT_EQ(gameUpdate(&world, types, nullptr, &out), 0);
    EXPECT_EQ(world.scene.result, 1);

    // The wreck shows each of its 4 frames for 3 ticks and the stage ends as the last comes up;
    // Escape does nothing meanwhile.
    world.scene.result = 0;
    world.state.stageIndex = 0;
    startStage(&world, types);
    world.state.hp = 0;
    world.state.alive = 0;
    world.state.deathCounter = world.state.deathDelay;
    GameKeys escape;
    escape.escapeHeld = 1;
    int ticks = 1;
    while (gameUpdate(&world, types, &escape, &out))
        ++ticks;
    EXPECT_EQ(world.state.deathFrame, 3);
    EXPECT_EQ(ticks, 10);
    EXPECT_EQ(world.scene.result, 1);
    stopStage(&world);
    EXPECT_EQ(world.state.stageIndex, 0);

    world.state.stageIndex = 1;
    startStage(&world, types);
    EXPECT_EQ(gameUpdate(&world, types, &escape, &out), 0);
    EXPECT_EQ(world.scene.result, 1);
    stopStage(&world);
    EXPECT_EQ(world.state.stageIndex, 0) << "a quit starts the next game at stage 0";
}

TEST_F(StageTest, TheWorldIsAPlainValueThatRunsAheadWithoutTouchingTheOriginal) {
    loadMap(content->middleMaps[0], 40, 15, 32, {{21, 7, 11}, {22, 3, 1}});
    startStage(&world, types);
    GameWorld ahead = world;
    GameRequests scratch;
    for (int tick = 0; tick < 60; ++tick)
        gameUpdate(&ahead, types, nullptr, &scratch);
    EXPECT_EQ(world.scene.midScroll, 0);
    EXPECT_GT(ahead.scene.midScroll, 100);
    // The same ticks on the original give the same world: nothing else holds state.
    for (int tick = 0; tick < 60; ++tick)
        gameUpdate(&world, types, nullptr, &out);
    EXPECT_EQ(std::memcmp(&ahead, &world, sizeof world), 0);
}

TEST_F(StageTest, TypeTablesRefuseRatesOfZeroAndSetsTooShortToIndex) {
    const char* failed = nullptr;
    // Faster than 30 frames a second would freeze an animation: one tick a frame instead.
    loadBox(content->enemySprites[0], 2, 8, 60);
    ASSERT_EQ(fillGameTypes(*content, &types, &failed), 1);
    EXPECT_EQ(types.enemyTypes[1].frameDelay, 1);

    struct Case {
        SpriteSet* set;
        uint32_t frames;
        uint32_t rate;
        const char* name;
    };
    for (const Case& c : {Case{&content->deathSprites[12], 2, 0, "Dead12.spr"},
                          Case{&content->playerSprites[2], 0, 10, "Hit.spr"},
                          Case{&content->numberFont, 9, 10, "Number.spr"},
                          Case{&content->infobarEnergy, 5, 10, "infobare.spr"}}) {
        SetUp();
        SpriteSetImage image;
        image.rate = 1;
        image.frames.assign(c.frames ? c.frames : 1, makeSpriteFrameImage(8, 8, 4, 4, 1));
        std::vector<uint8_t> bytes = encodeSpriteSet(image);
        bytes[7] = static_cast<uint8_t>(c.rate); // the writer will not write a rate of 0
        if (c.frames == 0)
            bytes = std::vector<uint8_t>(bytes.begin(), bytes.begin() + 3 + 20 + 1024),
            bytes[3] = 0;
        c.set->release();
        ASSERT_EQ(c.set->loadFromMemory(bytes), 1) << c.name;
        failed = nullptr;
        EXPECT_EQ(fillGameTypes(*content, &types, &failed), 0) << c.name;
        EXPECT_STREQ(failed, c.name);
    }
}

} // namespace

} // namespace kavorind
