// The binding table read over a fake keyboard and pads: Return, Space and the pads press the game's
// keys, Return held with Alt presses nothing, sticks count past the dead zone only, and codes the
// table does not answer for read the keyboard as it is.

#include "input/bindings.h"
#include "input/key_state.h"
#include "platform/gamepad.h"
#include "platform/keyboard.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace kavorind {

namespace {

struct FakeDevices {
    std::set<int> keys;
    std::set<int> buttons;
    std::map<int, int> travel;
};

FakeDevices devices;

PhysicalReader fakeReader() {
    return {[](int code) { return devices.keys.count(code) ? 1 : 0; },
            [](int button) { return devices.buttons.count(button) ? 1 : 0; },
            [](int direction) {
                return devices.travel.count(direction) ? devices.travel[direction] : 0;
            }};
}

struct BindingsTest : ::testing::Test {
    void SetUp() override {
        devices = FakeDevices{};
        installBindingsReading(defaultBindings(), fakeReader());
        clearKeys();
    }
    void TearDown() override { platformSetKeySource(nullptr); }

    // The game keys down in one sample, as the scenes see them.
    std::set<int> gameKeysHeld() {
        sampleKeys();
        std::set<int> held;
        for (int row = 0; row < gameKeyCount; ++row)
            if (keyHeld(gameKeyCode(row)))
                held.insert(gameKeyCode(row));
        return held;
    }
};

} // namespace

TEST_F(BindingsTest, ReturnSpaceAndThePadPressTheGameKeys) {
    struct Press {
        const char* name;
        FakeDevices devices;
        int gameKey;
    };
    const Press presses[] = {
        {"Return", {{VK_RETURN}, {}, {}}, VK_Z},
        {"Space", {{VK_SPACE}, {}, {}}, VK_Z},
        {"Alt+Space", {{VK_MENU, VK_SPACE}, {}, {}}, VK_Z},
        {"pad A", {{}, {PAD_A}, {}}, VK_Z},
        {"pad Start", {{}, {PAD_START}, {}}, VK_Z},
        {"pad B", {{}, {PAD_B}, {}}, VK_X},
        {"pad Back", {{}, {PAD_BACK}, {}}, VK_ESCAPE},
        {"d-pad up", {{}, {PAD_DPAD_UP}, {}}, VK_UP},
    };
    for (const Press& press : presses) {
        devices = press.devices;
        EXPECT_EQ(gameKeysHeld(), std::set<int>{press.gameKey}) << press.name;
        EXPECT_EQ(keyPressed(press.gameKey), 1) << press.name;
        devices = FakeDevices{};
        EXPECT_TRUE(gameKeysHeld().empty()) << press.name;
    }
}

TEST_F(BindingsTest, ReturnPressedWithAltIsNotZUntilLetGo) {
    devices.keys = {VK_MENU, VK_RETURN};
    EXPECT_EQ(keyHeld(VK_Z), 0);
    EXPECT_TRUE(gameKeysHeld().empty());
    // Alt let go first: the same press still switches the window mode only.
    devices.keys = {VK_RETURN};
    EXPECT_TRUE(gameKeysHeld().empty());
    devices.keys.clear();
    gameKeysHeld();
    devices.keys = {VK_RETURN};
    EXPECT_EQ(gameKeysHeld(), std::set<int>{VK_Z});
    EXPECT_EQ(keyPressed(VK_Z), 1);
    // Alt pressed while Return already fires does not take the shot back.
    devices.keys = {VK_RETURN, VK_MENU};
    EXPECT_EQ(gameKeysHeld(), std::set<int>{VK_Z});
    // The physical Return key itself still reads as it is.
    EXPECT_EQ(boundKeyDown(VK_RETURN), 1);
}

TEST_F(BindingsTest, SticksCountOnlyPastTheDeadZone) {
    devices.travel[PAD_LEFT_STICK_LEFT] = padDeadZone;
    devices.travel[PAD_LEFT_STICK_UP] = padDeadZone / 2;
    EXPECT_TRUE(gameKeysHeld().empty());
    devices.travel[PAD_LEFT_STICK_LEFT] = padDeadZone + 1;
    EXPECT_EQ(gameKeysHeld(), std::set<int>{VK_LEFT});
    // A full diagonal reads both ways.
    devices.travel = {{PAD_LEFT_STICK_RIGHT, 23170}, {PAD_LEFT_STICK_DOWN, 23170}};
    EXPECT_EQ(gameKeysHeld(), (std::set<int>{VK_RIGHT, VK_DOWN}));
    // The right stick and the triggers are bound to nothing by default.
    devices.travel = {{PAD_RIGHT_STICK_LEFT, padFullTravel}, {PAD_LEFT_TRIGGER, padFullTravel}};
    EXPECT_TRUE(gameKeysHeld().empty());
}

TEST_F(BindingsTest, OtherCodesReadTheKeyboardAndRebindingMovesAGameKey) {
    devices.keys = {'A', VK_LEFT, 0x70};
    EXPECT_EQ(boundKeyDown('A'), 1);
    EXPECT_EQ(boundKeyDown(0x70), 1);
    EXPECT_EQ(boundKeyDown('B'), 0);
    EXPECT_EQ(boundKeyDown(VK_LEFT), 1);

    Bindings bindings = defaultBindings();
    bindings.inputs[GAME_LEFT] = {{INPUT_KEY, 'A'}};
    installBindingsReading(bindings, fakeReader());
    devices.keys = {VK_LEFT};
    EXPECT_EQ(boundKeyDown(VK_LEFT), 0) << "the arrow no longer flies left";
    devices.keys = {'A'};
    EXPECT_EQ(boundKeyDown(VK_LEFT), 1);
    EXPECT_EQ(boundKeyDown('A'), 1) << "A still reads as itself";
}

} // namespace kavorind

namespace kavorind {

// Held in a stage, fire reads as a fresh press every reload ticks (what a fast tapper gives the
// game), through the pad as through the keyboard; outside a stage, and with it off, a held key is
// one press.
TEST_F(BindingsTest, HoldToFirePressesAgainEveryReloadOnlyInAStage) {
    auto pressesOver = [&](int ticks, int inStage) {
        std::vector<int> presses;
        for (int tick = 1; tick <= ticks; ++tick) {
            stepHoldToFire(inStage, 6);
            sampleKeys();
            if (keyPressed(VK_Z))
                presses.push_back(tick);
        }
        return presses;
    };
    setHoldToFire(6);
    devices.keys.insert(VK_Z);
    EXPECT_EQ(pressesOver(20, 1), (std::vector<int>{1, 7, 13, 19}));
    devices.keys.clear();
    pressesOver(2, 1);
    devices.buttons.insert(PAD_A);
    EXPECT_EQ(pressesOver(8, 1), (std::vector<int>{1, 7}));
    devices.buttons.clear();
    pressesOver(2, 1);

    devices.keys.insert(VK_Z);
    EXPECT_EQ(pressesOver(20, 0), (std::vector<int>{1})) << "the menu confirms once per press";
    devices.keys.clear();
    pressesOver(2, 1);

    setHoldToFire(0);
    devices.keys.insert(VK_Z);
    EXPECT_EQ(pressesOver(20, 1), (std::vector<int>{1})) << "off: the classic feel";
}

} // namespace kavorind
