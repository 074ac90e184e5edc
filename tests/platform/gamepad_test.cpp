// Pads through SDL's game-controller API, on SDL's virtual joysticks: opened when plugged in and
// closed when unplugged (also when the news is among flushed messages), read by button and stick
// direction, any open pad counting.

#include "platform/gamepad.h"
#include "platform/keyboard.h"
#include "platform_test_support.h"

#include <SDL.h>
#include <gtest/gtest.h>

namespace kavorind {

namespace {

void readMessages() {
    while (platformPeekMessage()) {
        Message message;
        platformGetMessage(&message);
    }
}

struct GamepadTest : ::testing::Test {
    void SetUp() override {
        ASSERT_NE(testWindow(), nullptr);
        // The dummy window never has the focus, without which SDL drops pad presses.
        SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
        ASSERT_EQ(platformOpenGamepads(), 1);
        ASSERT_EQ(platformGamepadCount(), 0);
    }
    void TearDown() override {
        for (int index = SDL_NumJoysticks() - 1; index >= 0; --index)
            SDL_JoystickDetachVirtual(index);
        platformCloseGamepads();
    }

    // Plugs in a virtual pad; its joystick, for setting buttons and axes, once it is open.
    SDL_JoystickID plugIn() {
        int index =
            SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                      SDL_CONTROLLER_BUTTON_MAX, 0);
        EXPECT_GE(index, 0) << SDL_GetError();
        return SDL_JoystickGetDeviceInstanceID(index);
    }
    SDL_Joystick* joystick(SDL_JoystickID id) { return SDL_JoystickFromInstanceID(id); }
    void unplug(SDL_JoystickID id) {
        for (int index = 0; index < SDL_NumJoysticks(); ++index)
            if (SDL_JoystickGetDeviceInstanceID(index) == id)
                SDL_JoystickDetachVirtual(index);
    }
};

} // namespace

TEST_F(GamepadTest, APadIsOpenedWhenPluggedInAndClosedWhenUnplugged) {
    SDL_JoystickID pad = plugIn();
    EXPECT_EQ(platformGamepadCount(), 0) << "news of the pad comes through the queue";
    readMessages();
    ASSERT_EQ(platformGamepadCount(), 1);
    SDL_JoystickSetVirtualButton(joystick(pad), SDL_CONTROLLER_BUTTON_START, 1);
    readMessages();
    EXPECT_EQ(platformPadButtonDown(PAD_START), 1);
    EXPECT_EQ(platformPadButtonDown(PAD_A), 0);
    unplug(pad);
    readMessages();
    EXPECT_EQ(platformGamepadCount(), 0);
    EXPECT_EQ(platformPadButtonDown(PAD_START), 0);
    // The news among flushed messages still counts.
    pad = plugIn();
    platformFlushMessages();
    EXPECT_EQ(platformGamepadCount(), 1);
    unplug(pad);
    platformFlushMessages();
    EXPECT_EQ(platformGamepadCount(), 0);
}

TEST_F(GamepadTest, SticksReadByDirectionAndAnyPadCounts) {
    SDL_JoystickID first = plugIn();
    SDL_JoystickID second = plugIn();
    readMessages();
    ASSERT_EQ(platformGamepadCount(), 2);
    SDL_JoystickSetVirtualAxis(joystick(first), SDL_CONTROLLER_AXIS_LEFTX, -32768);
    SDL_JoystickSetVirtualAxis(joystick(first), SDL_CONTROLLER_AXIS_LEFTY, 10000);
    SDL_JoystickSetVirtualAxis(joystick(second), SDL_CONTROLLER_AXIS_LEFTY, -20000);
    SDL_JoystickSetVirtualAxis(joystick(second), SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767);
    SDL_JoystickSetVirtualButton(joystick(second), SDL_CONTROLLER_BUTTON_B, 1);
    readMessages();
    EXPECT_EQ(platformPadTravel(PAD_LEFT_STICK_LEFT), padFullTravel);
    EXPECT_EQ(platformPadTravel(PAD_LEFT_STICK_RIGHT), 0);
    EXPECT_EQ(platformPadTravel(PAD_LEFT_STICK_DOWN), 10000);
    EXPECT_EQ(platformPadTravel(PAD_LEFT_STICK_UP), 20000);
    EXPECT_EQ(platformPadTravel(PAD_RIGHT_TRIGGER), padFullTravel);
    EXPECT_EQ(platformPadTravel(PAD_LEFT_TRIGGER), 0);
    EXPECT_EQ(platformPadButtonDown(PAD_B), 1);
    EXPECT_EQ(platformPadButtonDown(PAD_BUTTON_COUNT), 0);
    EXPECT_EQ(platformPadTravel(-1), 0);
}

// SDL keeps pad presses from a window without the focus but lets releases through, so a button let
// go while another window had the focus reads as up; the game adds no reset of its own.
TEST_F(GamepadTest, AButtonLetGoWithoutTheFocusReadsAsUp) {
    SDL_JoystickID pad = plugIn();
    readMessages();
    SDL_JoystickSetVirtualButton(joystick(pad), SDL_CONTROLLER_BUTTON_A, 1);
    readMessages();
    ASSERT_EQ(platformPadButtonDown(PAD_A), 1);
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "0");
    SDL_JoystickSetVirtualButton(joystick(pad), SDL_CONTROLLER_BUTTON_A, 0);
    SDL_JoystickSetVirtualButton(joystick(pad), SDL_CONTROLLER_BUTTON_B, 1);
    readMessages();
    EXPECT_EQ(platformPadButtonDown(PAD_A), 0);
    EXPECT_EQ(platformPadButtonDown(PAD_B), 0) << "the dummy window has no focus";
}

TEST(PhysicalKeyboard, IsReadWhateverKeySourceIsSet) {
    ASSERT_NE(testWindow(), nullptr);
    platformSetKeySource([](int) { return 1; });
    EXPECT_EQ(platformKeyDown('Z'), 1);
    EXPECT_EQ(platformPhysicalKeyDown('Z'), 0);
    platformSetKeySource(nullptr);
}

} // namespace kavorind
