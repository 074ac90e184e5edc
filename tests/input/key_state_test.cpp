#include "input/key_state.h"
#include "platform/keyboard.h"

#include <gtest/gtest.h>

#include <set>

namespace kavorind {

namespace {

std::set<int> keysDown;
int fakeKeyboard(int code) {
    return keysDown.count(code) ? 1 : 0;
}

struct KeyStateTest : ::testing::Test {
    void SetUp() override {
        keysDown.clear();
        platformSetKeySource(fakeKeyboard);
        clearKeys();
    }
    void TearDown() override { platformSetKeySource(nullptr); }
};

} // namespace

TEST_F(KeyStateTest, HeldKeyCountsSamplesAndIsNewOnlyOnTheFirst) {
    keysDown = {VK_Z};
    for (int sample = 1; sample <= 4; ++sample) {
        sampleKeys();
        EXPECT_EQ(keyHeld(VK_Z), sample);
        EXPECT_EQ(keyPressed(VK_Z), sample == 1 ? 1 : 0);
    }
    EXPECT_EQ(keyHeld(VK_X), 0);
}

TEST_F(KeyStateTest, ReleaseResetsAndAFreshPressIsNewAgain) {
    keysDown = {VK_LEFT};
    sampleKeys();
    sampleKeys();
    keysDown.clear();
    sampleKeys();
    EXPECT_EQ(keyHeld(VK_LEFT), 0);
    keysDown = {VK_LEFT};
    sampleKeys();
    EXPECT_EQ(keyPressed(VK_LEFT), 1);
}

TEST_F(KeyStateTest, CountersKeepTheirValuesWhileNothingSamples) {
    keysDown = {VK_ESCAPE};
    sampleKeys();
    // Released and pressed again between two samples: never seen, still held.
    sampleKeys();
    EXPECT_EQ(keyHeld(VK_ESCAPE), 2);
    EXPECT_EQ(keyPressed(VK_ESCAPE), 0);
}

TEST_F(KeyStateTest, EveryCodeIsSampledAndOutOfRangeCodesAreNeverHeld) {
    keysDown = {0, 255};
    sampleKeys();
    EXPECT_EQ(keyHeld(0), 1);
    EXPECT_EQ(keyHeld(255), 1);
    EXPECT_EQ(keyHeld(-1), 0);
    EXPECT_EQ(keyHeld(256), 0);
    EXPECT_EQ(keyPressed(1000), 0);
    clearKeys();
    EXPECT_EQ(keyHeld(255), 0);
}

TEST_F(KeyStateTest, ALongHoldStopsCountingInsteadOfWrapping) {
    keysDown = {VK_RIGHT};
    keyState.counters[VK_RIGHT] = INT32_MAX - 1;
    sampleKeys();
    sampleKeys();
    EXPECT_EQ(keyHeld(VK_RIGHT), INT32_MAX);
    EXPECT_EQ(keyPressed(VK_RIGHT), 0);
}

} // namespace kavorind
