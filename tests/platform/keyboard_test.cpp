// The key table: letters and digits through the keyboard layout, the other keys where they sit,
// and the table made again when SDL reports a new layout.

#include "platform/keyboard.h"
#include "platform_test_support.h"

#include <SDL.h>
#include <gtest/gtest.h>

namespace kavorind {

namespace {

// An AZERTY-like layout: A and Q, Z and W change places, there is no key for X, and the digits sit
// on the keypad (so that they are seen to go through the layout too).
int frenchish(int character) {
    switch (character) {
    case 'a':
        return SDL_SCANCODE_Q;
    case 'q':
        return SDL_SCANCODE_A;
    case 'z':
        return SDL_SCANCODE_W;
    case 'w':
        return SDL_SCANCODE_Z;
    case 'x':
        return 0;
    case '1':
        return SDL_SCANCODE_KP_1;
    default:
        return SDL_GetScancodeFromKey(character);
    }
}

// What SDL reports when the player switches layouts, taken from the queue the way the game does.
void switchLayout(PlatformKeymap keymap) {
    platformSetKeymap(keymap);
    SDL_Event event{};
    event.type = SDL_KEYMAPCHANGED;
    ASSERT_EQ(SDL_PushEvent(&event), 1);
    while (platformPeekMessage()) {
        Message message;
        platformGetMessage(&message);
    }
}

struct KeyTableTest : ::testing::Test {
    void SetUp() override { ASSERT_NE(testWindow(), nullptr); }
    void TearDown() override { switchLayout(nullptr); }
};

TEST_F(KeyTableTest, LettersAndDigitsAreFoundThroughTheKeymap) {
    EXPECT_EQ(platformKeyScancode('Z'), SDL_GetScancodeFromKey(SDLK_z));
    EXPECT_EQ(platformKeyScancode('A'), SDL_GetScancodeFromKey(SDLK_a));
    EXPECT_EQ(platformKeyScancode('0'), SDL_GetScancodeFromKey(SDLK_0));
    EXPECT_EQ(platformKeyScancode('9'), SDL_GetScancodeFromKey(SDLK_9));
    EXPECT_EQ(platformKeyScancode(0x26), SDL_SCANCODE_UP);
    EXPECT_EQ(platformKeyScancode(0x1B), SDL_SCANCODE_ESCAPE);
    EXPECT_EQ(platformKeyScancode(0x0D), SDL_SCANCODE_RETURN);
    EXPECT_EQ(platformKeyScancode(0x20), SDL_SCANCODE_SPACE);
    EXPECT_EQ(platformKeyScancode(0x7B), SDL_SCANCODE_F12);
    EXPECT_EQ(platformKeyScancode(0xA3), SDL_SCANCODE_RCTRL);
    EXPECT_EQ(platformKeyScancode(0xA5), SDL_SCANCODE_RALT);
    EXPECT_EQ(platformKeyScancode(0x60), SDL_SCANCODE_KP_0);
    EXPECT_EQ(platformKeyScancode(0x61), SDL_SCANCODE_KP_1);
    EXPECT_EQ(platformKeyScancode(0x69), SDL_SCANCODE_KP_9);
    EXPECT_EQ(platformKeyScancode(0x22), SDL_SCANCODE_PAGEDOWN);
    // Codes with no key, and anything past 255.
    EXPECT_EQ(platformKeyScancode(0x07), SDL_SCANCODE_UNKNOWN);
    EXPECT_EQ(platformKeyScancode(256), SDL_SCANCODE_UNKNOWN);
    EXPECT_EQ(platformKeyScancode(-1), SDL_SCANCODE_UNKNOWN);
}

TEST_F(KeyTableTest, ANewLayoutIsReadOnlyWhenSdlReportsIt) {
    ASSERT_EQ(platformKeyScancode('Z'), SDL_SCANCODE_Z);
    platformSetKeymap(frenchish);
    EXPECT_EQ(platformKeyScancode('Z'), SDL_SCANCODE_Z) << "the table is not made at every read";
    switchLayout(frenchish);
    EXPECT_EQ(platformKeyScancode('Z'), SDL_SCANCODE_W);
    EXPECT_EQ(platformKeyScancode('W'), SDL_SCANCODE_Z);
    EXPECT_EQ(platformKeyScancode('A'), SDL_SCANCODE_Q);
    EXPECT_EQ(platformKeyScancode('B'), SDL_SCANCODE_B);
    EXPECT_EQ(platformKeyScancode('1'), SDL_SCANCODE_KP_1);
    // No key types X: it stays where it is on a US keyboard.
    EXPECT_EQ(platformKeyScancode('X'), SDL_SCANCODE_X);
    // Keys that type no character never follow the layout.
    EXPECT_EQ(platformKeyScancode(0x25), SDL_SCANCODE_LEFT);
}

TEST_F(KeyTableTest, ALayoutChangeAmongFlushedMessagesStillCounts) {
    switchLayout(frenchish);
    ASSERT_EQ(platformKeyScancode('Q'), SDL_SCANCODE_A);
    platformSetKeymap(nullptr);
    SDL_Event event{};
    event.type = SDL_KEYMAPCHANGED;
    ASSERT_EQ(SDL_PushEvent(&event), 1);
    platformFlushMessages();
    EXPECT_EQ(platformKeyScancode('Q'), SDL_GetScancodeFromKey(SDLK_q));
}

} // namespace

} // namespace kavorind
