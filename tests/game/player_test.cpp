#include "game_fixture.h"

#include <algorithm>

namespace kavorind {
namespace {

struct PlayerTest : GameRulesTest {
    GameState& s() { return world.state; }

    int steer(GameKeys keys) { return readControls(&world, types, keys, &out); }

    // One tick of the craft's part: keys, then animation; returns the weapons fired as a bit set
    // (1 special, 2 main shot) and empties the shot table so it never fills.
    int tick(GameKeys keys) {
        readControls(&world, types, keys, &out);
        animatePlayer(&world, types);
        int fired = 0;
        for (const Shot& shot : world.playerShots)
            if (shot.active)
                fired |= shot.weapon == 0 ? 1 : 2;
        clearShots(&world);
        return fired;
    }
};

TEST_F(PlayerTest, ArrowsMoveBySpeedAndClampOnlyTheHeldSide) {
    s().speed = 8;
    steer({.rightHeld = 1, .downHeld = 1});
    EXPECT_EQ(s().playerX, 108);
    EXPECT_EQ(s().playerY, 248);

    s().playerX = 24;
    s().playerY = 455;
    steer({.leftHeld = 1, .downHeld = 1});
    EXPECT_EQ(s().playerX, 20);
    EXPECT_EQ(s().playerY, 460);
    s().playerX = 615;
    s().playerY = 27;
    steer({.rightHeld = 1, .upHeld = 1});
    EXPECT_EQ(s().playerX, 620);
    EXPECT_EQ(s().playerY, 20);

    // Knocked back past the left edge: left there by every key but Left.
    s().playerX = -7;
    steer({.upHeld = 1});
    steer({});
    EXPECT_EQ(s().playerX, -7);
    steer({.rightHeld = 1});
    EXPECT_EQ(s().playerX, 1);
    steer({.leftHeld = 1});
    EXPECT_EQ(s().playerX, 20);
}

TEST_F(PlayerTest, EscapeEndsTheStageBeforeAnythingElse) {
    EXPECT_EQ(steer({.escapeHeld = 1, .leftHeld = 1, .specialHeld = 1, .shotPressed = 1}), 0);
    EXPECT_EQ(world.scene.result, 1);
    EXPECT_EQ(s().playerX, 100);
    EXPECT_EQ(s().specialCount, 3);
    EXPECT_EQ(out.count, 0);
    EXPECT_EQ(steer({.leftHeld = 1}), 1);
}

TEST_F(PlayerTest, BothWeaponsFireFromTheNoseAfterMoving) {
    steer({.upHeld = 1, .specialHeld = 1, .shotPressed = 1});
    const Shot& special = world.playerShots[0];
    const Shot& main = world.playerShots[1];
    EXPECT_EQ(special.weapon, 0);
    EXPECT_EQ(main.weapon, 1);
    EXPECT_EQ(special.x, 120);
    EXPECT_EQ(special.y, 235);
    EXPECT_EQ(main.dx, 20);
    EXPECT_EQ(main.dy, 0);
    EXPECT_EQ(s().specialCount, 2);
    EXPECT_EQ(s().animMode, 1);
    EXPECT_EQ(sounds(), (std::vector<int>{2, 2}));
}

TEST_F(PlayerTest, HeldSpecialFiresEveryThirtyTicksUntilSpent) {
    std::vector<int> firedAt;
    for (int t = 0; t < 200; ++t) {
        if (tick({.specialHeld = 1}) & 1)
            firedAt.push_back(t);
        ASSERT_GE(s().specialCount, 0);
        ASSERT_GE(s().specialCooldown, 0);
    }
    EXPECT_EQ(firedAt, (std::vector<int>{0, 30, 60}));
    EXPECT_EQ(s().specialCount, 0);
}

TEST_F(PlayerTest, MainShotNeedsAFreshPressSixTicksAfterTheLast) {
    const std::vector<int> presses = {0, 3, 5, 6, 8, 11, 13, 19, 20};
    std::vector<int> firedAt;
    for (int t = 0; t < 25; ++t) {
        const int pressed = std::find(presses.begin(), presses.end(), t) != presses.end();
        if (tick({.shotPressed = pressed}) & 2)
            firedAt.push_back(t);
    }
    EXPECT_EQ(firedAt, (std::vector<int>{0, 6, 13, 19}));
}

TEST_F(PlayerTest, AttackPoseRunsItsFramesThenFlightRestarts) {
    // Sets of 2 frames, 3 ticks each; the counters start at 0, so the first frame steps at once.
    tick({.shotPressed = 1});
    EXPECT_EQ(s().animMode, 1);
    EXPECT_EQ(s().attackFrame, 1);
    tick({});
    tick({});
    EXPECT_EQ(s().animMode, 1);
    tick({});
    EXPECT_EQ(s().animMode, 0);
    EXPECT_EQ(s().flightFrame, 0);
    const std::vector<int> flight = {1, 1, 1, 0, 0, 0, 1};
    for (int expected : flight) {
        tick({});
        EXPECT_EQ(s().flightFrame, expected);
    }
}

TEST_F(PlayerTest, RefiringRestartsThePoseButNotItsCounter) {
    tick({.shotPressed = 1}); // attackFrame 1, counter 2
    s().shotCooldown = 0;
    tick({.shotPressed = 1}); // back to frame 0, counter 1
    EXPECT_EQ(s().attackFrame, 0);
    tick({}); // counter 0
    tick({}); // steps to frame 1
    EXPECT_EQ(s().attackFrame, 1);
    EXPECT_EQ(s().animMode, 1);
}

TEST_F(PlayerTest, DestructionStopsPastItsLastFrameAndFreezesCooldowns) {
    s().alive = 0;
    s().shotCooldown = 4;
    std::vector<int> frames;
    for (int t = 0; t < 16; ++t) {
        animatePlayer(&world, types);
        frames.push_back(s().deathFrame);
    }
    // Four frames of 3 ticks, then held on 4, which draws nothing.
    EXPECT_EQ(frames, (std::vector<int>{1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 4, 4, 4, 4}));
    EXPECT_EQ(s().shotCooldown, 4);
    EXPECT_EQ(s().flightFrame, 0);
}

} // namespace
} // namespace kavorind
