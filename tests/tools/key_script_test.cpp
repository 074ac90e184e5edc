#include "common/key_script.h"
#include "input/key_state.h"

#include <gtest/gtest.h>

namespace kavorind {

TEST(KeyScript, RangesSingleTicksListsCommentsAndAnyCase) {
    KeyScript script;
    std::string error;
    ASSERT_EQ(parseKeyScript("# warm-up\n10-12 Right,z\n\n15 ESCAPE  # leave\n", &script, &error),
              1)
        << error;
    EXPECT_EQ(scriptKeyDown(script, 9, VK_RIGHT), 0);
    EXPECT_EQ(scriptKeyDown(script, 10, VK_RIGHT), 1);
    EXPECT_EQ(scriptKeyDown(script, 12, VK_Z), 1);
    EXPECT_EQ(scriptKeyDown(script, 13, VK_Z), 0);
    EXPECT_EQ(scriptKeyDown(script, 15, VK_ESCAPE), 1);
    EXPECT_EQ(scriptKeyDown(script, 16, VK_ESCAPE), 0);
}

TEST(KeyScript, BadLinesAreRefusedWithTheirNumber) {
    const char* bad[] = {"0 Z",   "5-3 Z", "3 Space", "3",      "3 Z,",
                         "a-b Z", "3 Z X", "-3 Z",    "3-4-5 Z"};
    for (const char* text : bad) {
        KeyScript script;
        std::string error;
        EXPECT_EQ(parseKeyScript(std::string("1 Z\n") + text, &script, &error), 0) << text;
        EXPECT_NE(error.find("line 2"), std::string::npos) << text;
    }
}

TEST(KeyScript, PlayerAgreesWithTheScriptOnEveryTickOfOverlappingEntries) {
    KeyScript script;
    ASSERT_EQ(parseKeyScript("5-9 Z\n3 Left\n7-12 Z,Up\n20-20 X\n2-30 Down\n", &script, nullptr),
              1);
    KeyScriptPlayer player = startKeyScript(script);
    for (int tick = 1; tick <= 35; ++tick) {
        advanceKeyScript(&player, tick);
        for (int key : {VK_Z, VK_LEFT, VK_UP, VK_X, VK_DOWN, VK_ESCAPE})
            ASSERT_EQ(playerKeyDown(player, key), scriptKeyDown(script, tick, key))
                << "tick " << tick << " key " << key;
    }
}

} // namespace kavorind
