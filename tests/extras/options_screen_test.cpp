// The options screen worked by its keys: a binding moves rather than being lost, and the file it
// writes reads back to the choices made; the name is chosen letter by letter.
#include "extras/options_screen.h"

#include "display/display_device.h"
#include "extras/around_game.h"
#include "game/game_state.h"
#include "input/key_state.h"
#include "platform/keyboard.h"
#include "scenes/scene_protocol.h"
#include "shell/config_file.h"
#include "shell/settings_bindings.h"
#include "shell/shutdown.h"

#include "extras_test_support.h"

#include <algorithm>

namespace kavorind {
namespace {

PhysicalReader nothingHeld() {
    return {[](int) { return 0; }, [](int) { return 0; }, [](int) { return 0; }};
}

class OptionsScreenTest : public ::testing::Test {
  protected:
    void SetUp() override {
        installBindingsReading(defaultBindings(), nothingHeld());
        game = GameWorld{};
        sceneLoop = SceneLoop{};
        aroundGame = AroundGame{};
        aroundGame.enabled = 1;
        aroundGame.setup.settingsFile = folder / "kavorind.cfg";
        aroundGame.setup.playerName = "PILOT";
        shell.settings = GameSettings{};
        optionsScreen = OptionsScreen{};
        openOptionsScreen();
    }
    void TearDown() override {
        setHoldToFire(0);
        setPresentColours(nullptr);
        aroundGame = AroundGame{};
        optionsScreen = OptionsScreen{};
        platformSetKeySource(nullptr);
    }
    void press(OptionsKeys keys) { workOptionsScreen(keys); }
    void down(int times = 1) {
        for (int i = 0; i < times; ++i)
            press({.down = 1});
    }
    GameSettings readBack(Bindings* bindings) {
        std::vector<std::string> problems;
        GameSettings read =
            loadConfigFile(aroundGame.setup.settingsFile, settingsFileDefaults(), &problems);
        *bindings = bindingsFromSettings(read, aroundGame.setup.settingsFile, &problems);
        EXPECT_TRUE(problems.empty()) << problems.front();
        return read;
    }
    ScratchFolder folder;
};

TEST_F(OptionsScreenTest, ChoicesApplyAtOnceAndTheFileReadsBackToThem) {
    putFile(aroundGame.setup.settingsFile, "# mine\nvolume = 80\nmystery = 7\n");
    shell.settings.volume = 80;
    down(ROW_VOLUME);
    press({.left = 1});
    press({.left = 1});
    down(ROW_HOLD_TO_FIRE - ROW_VOLUME);
    press({.confirm = 1});
    press({.down = 1});
    press({.right = 1});
    EXPECT_EQ(shell.settings.volume, 60);
    EXPECT_EQ(shell.settings.holdToFire, 1);
    EXPECT_EQ(hitFlashReduced(), 0);
    EXPECT_EQ(aroundGame.setup.reduceFlashing, 1);

    Bindings bindings;
    GameSettings read = readBack(&bindings);
    EXPECT_EQ(read.volume, 60);
    EXPECT_EQ(read.holdToFire, 1);
    EXPECT_EQ(read.reduceFlashing, 1);
    const std::string text = fileText(aroundGame.setup.settingsFile);
    EXPECT_NE(text.find("# mine\n"), std::string::npos) << text;
    EXPECT_NE(text.find("mystery = 7\n"), std::string::npos) << text;

    press({.back = 1});
    EXPECT_EQ(optionsScreen.open, 0);
}

TEST_F(OptionsScreenTest, AKeyGivenToAnotherActionMovesThereAndDefaultsComeBack) {
    down(ROW_KEYS);
    press({.confirm = 1});
    ASSERT_EQ(optionsScreen.page, OPTIONS_KEYS);
    down(GAME_SPECIAL);
    press({.confirm = 1});
    ASSERT_EQ(optionsScreen.page, OPTIONS_CAPTURE);
    // The capture waits for everything to be let go, then takes the first key pressed: Z.
    press({});
    installBindingsReading(installedBindings(), {[](int key) { return key == VK_Z ? 1 : 0; },
                                                 [](int) { return 0; }, [](int) { return 0; }});
    press({});
    EXPECT_EQ(optionsScreen.page, OPTIONS_KEYS);
    installBindingsReading(installedBindings(), nothingHeld());
    const Bindings& now = installedBindings();
    const PhysicalInput z{INPUT_KEY, VK_Z};
    EXPECT_EQ(now.inputs[GAME_SPECIAL].back(), z);
    EXPECT_EQ(std::count(now.inputs[GAME_FIRE].begin(), now.inputs[GAME_FIRE].end(), z), 0)
        << "Z moved from fire to the special weapon, it does not do both";
    Bindings saved;
    readBack(&saved);
    EXPECT_EQ(saved, now);

    press({.left = 1});
    EXPECT_EQ(installedBindings().inputs[GAME_SPECIAL], (defaultBindings().inputs[GAME_SPECIAL]));
    down(keysRestoreRow - GAME_SPECIAL);
    press({.confirm = 1});
    EXPECT_EQ(installedBindings(), defaultBindings());
    readBack(&saved);
    EXPECT_EQ(saved, defaultBindings());
}

TEST_F(OptionsScreenTest, TheNameIsChosenLetterByLetterAndEscapeKeepsTheOldOne) {
    down(ROW_NAME);
    press({.confirm = 1});
    ASSERT_EQ(optionsScreen.page, OPTIONS_NAME);
    press({.up = 1}); // P -> Q
    press({.right = 1});
    press({.down = 1}); // I -> H
    press({.back = 1});
    EXPECT_EQ(aroundGame.setup.playerName, "PILOT") << "Escape leaves the name as it was";
    press({.confirm = 1});
    press({.up = 1});
    press({.confirm = 1});
    EXPECT_EQ(aroundGame.setup.playerName, "QILOT");
    Bindings bindings;
    EXPECT_EQ(readBack(&bindings).name, "QILOT");

    EXPECT_EQ(nextNameCharacter('Z', 1), '0');
    EXPECT_EQ(nextNameCharacter(' ', -1), '-');
    EXPECT_EQ(nextNameCharacter('-', 1), ' ');
}

} // namespace
} // namespace kavorind
