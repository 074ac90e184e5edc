// Where a run starts: its options read back as written, bad ones refused with a reason, a
// replay's "# options:" line found, and keys held before the first tick not seen as new presses.
#include "shell/run_start.h"

#include "game/game_state.h"
#include "input/key_state.h"
#include "platform/keyboard.h"
#include "scenes/scene_protocol.h"

#include <gtest/gtest.h>

namespace kavorind {
namespace {

TEST(RunStart, OptionsReadBackAsWritten) {
    RunStart start{3, 0, {VK_LEFT, VK_Z}, 21};
    EXPECT_EQ(runStartOptions(start), "--scene 3 --stage 0 --held Left,Z --spawn-column 21");
    RunStart read;
    std::string error;
    ASSERT_EQ(parseRunStartOptions(runStartOptions(start), &read, &error), 1) << error;
    EXPECT_EQ(runStartOptions(read), runStartOptions(start));
    EXPECT_EQ(read.spawnColumn, 21);
    ASSERT_EQ(parseRunStartOptions(" --scene 4  ", &read, &error), 1) << error;
    EXPECT_EQ(read.stage, -1);
    EXPECT_EQ(read.spawnColumn, -1);
    EXPECT_EQ(runStartOptions(RunStart{}), "");
}

TEST(RunStart, BadOptionsAreRefusedWithAReason) {
    const char* bad[][2] = {
        {"--scene 7", "--scene is a scene from 1 to 6"},
        {"--scene 3 --stage 3", "--stage is a stage index from 0 to 2"},
        {"--scene 3 --stage", "--stage needs a value"},
        {"--scene 3 --held Space", "not \"Space\""},
        {"--scene 3 --held Z,", "--held names at least one game key"},
        {"--scene 3 --spawn-column -1", "--spawn-column is a column"},
        {"--stage 1", "need --scene"},
        {"--scene 3 --seed 4", "unknown option \"--seed\""},
    };
    for (const auto& [text, reason] : bad) {
        RunStart read;
        std::string error;
        EXPECT_EQ(parseRunStartOptions(text, &read, &error), 0) << text;
        EXPECT_NE(error.find(reason), std::string::npos) << text << ": " << error;
    }
}

TEST(RunStart, TheOptionsLineIsFoundAmongTheCommentsAtTheTop) {
    RunStart read;
    int found = 0;
    std::string error;
    ASSERT_EQ(scriptRunStart("# Kavorind replay\n\n# options: --scene 3 --stage 1\n1 Z\n", &read,
                             &found, &error),
              1);
    EXPECT_EQ(found, 1);
    EXPECT_EQ(read.stage, 1);
    ASSERT_EQ(scriptRunStart("1 Z\n# options: --scene 3 --stage 1\n", &read, &found, &error), 1);
    EXPECT_EQ(found, 0);
    EXPECT_EQ(scriptRunStart("# options: --scene 9\n", &read, &found, &error), 0);
    EXPECT_NE(error.find("--scene is a scene"), std::string::npos);
}

int zDown(int virtualKey) {
    return virtualKey == VK_Z;
}

TEST(RunStart, KeysHeldBeforeTheRunAreNoNewPressAndTheSpawnerIsAsTheStartSays) {
    PlatformKeySource before = platformKeySource();
    platformSetKeySource(zDown);
    startRun(RunStart{SceneGame, 0, {VK_Z}, 21});
    sampleKeys();
    EXPECT_EQ(keyHeld(VK_Z), 2);
    EXPECT_EQ(keyPressed(VK_Z), 0);
    EXPECT_EQ(sceneLoop.currentScene, SceneGame);
    EXPECT_EQ(game.scene.spawnerPrimed, 1);
    EXPECT_EQ(game.scene.lastSpawnColumn, 21);

    // Without the held key, the same sample is a press; a fresh start has a fresh spawner.
    startRun(RunStart{SceneGame, 0, {}, -1});
    sampleKeys();
    EXPECT_EQ(keyPressed(VK_Z), 1);
    EXPECT_EQ(game.scene.spawnerPrimed, 0);
    platformSetKeySource(before);
    clearKeys();
}

} // namespace
} // namespace kavorind
