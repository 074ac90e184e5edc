#include "input/key_script.h"
#include "input/key_state.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace kavorind {

namespace {

KeyScript parsed(const std::string& text) {
    KeyScript script;
    std::string error;
    EXPECT_EQ(parseKeyScript(text, &script, &error), 1) << error;
    return script;
}

// What the player reports for each named key over ticks 1 to ticks, a line a key: the name padded
// to seven characters, then one character a tick, '#' down and '.' up.
std::string played(const KeyScript& script, int ticks, const std::vector<std::string>& names) {
    std::vector<std::string> rows;
    for (const std::string& name : names)
        rows.push_back(name + std::string(7 - name.size(), ' '));
    KeyScriptPlayer player = startKeyScript(script);
    for (int tick = 1; tick <= ticks; ++tick) {
        advanceKeyScript(&player, tick);
        for (size_t i = 0; i < names.size(); ++i)
            rows[i] += playerKeyDown(player, virtualKeyNamed(names[i])) ? '#' : '.';
    }
    std::string text;
    for (const std::string& row : rows)
        text += row + "\n";
    return text;
}

} // namespace

TEST(KeyScript, RangesSingleTicksListsCommentsAndAnyCase) {
    KeyScript script = parsed("# warm-up\n10-12 Right,z\n\n15 ESCAPE  # leave\n");
    const char* expected = "Right  .........###....\n"
                           "Z      .........###....\n"
                           "Escape ..............#.\n"
                           "Left   ................\n";
    EXPECT_EQ(played(script, 16, {"Right", "Z", "Escape", "Left"}), expected);
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

// Z is held by two entries that overlap, Up by two that end on the same tick, Left and X for one
// tick each, Down across most of the run; the entries are out of order on purpose.
TEST(KeyScript, PlayerHoldsOverlappingAndOneTickEntriesForExactlyTheirTicks) {
    KeyScript script = parsed("5-9 Z\n3 Left\n7-12 Z,Up\n20-20 X\n2-30 Down\n12 Up\n1-1 Escape\n");
    //                             1        10        20        30
    const char* expected = "Z      ....########.......................\n"
                           "Left   ..#................................\n"
                           "Up     ......######.......................\n"
                           "X      ...................#...............\n"
                           "Down   .#############################.....\n"
                           "Escape #..................................\n"
                           "Right  ...................................\n";
    EXPECT_EQ(played(script, 35, {"Z", "Left", "Up", "X", "Down", "Escape", "Right"}), expected);
}

TEST(KeyScript, PlayerMovedPastWholeEntriesKeepsOnlyThoseStillRunning) {
    KeyScript script = parsed("5-9 Z\n7-12 Up\n2-30 Down\n");
    KeyScriptPlayer player = startKeyScript(script);
    advanceKeyScript(&player, 4);
    advanceKeyScript(&player, 15);
    EXPECT_EQ(playerKeyDown(player, VK_Z), 0);
    EXPECT_EQ(playerKeyDown(player, VK_UP), 0);
    EXPECT_EQ(playerKeyDown(player, VK_DOWN), 1);
    advanceKeyScript(&player, 31);
    EXPECT_EQ(playerKeyDown(player, VK_DOWN), 0);
}

// Thousands of entries of every length up to a few hundred ticks, many keys overlapping at once,
// checked tick by tick against the ranges marked out one by one.
TEST(KeyScript, PlayerFollowsALongScriptTickByTick) {
    const int keys[] = {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_Z, VK_X, VK_ESCAPE};
    const char* names[] = {"Left", "Right", "Up", "Down", "Z", "X", "Escape"};
    const int entries = 4000;
    const int ticks = entries * 3 + 400;
    std::string text;
    std::map<int, std::vector<char>> expected;
    for (int key : keys)
        expected[key].assign(static_cast<size_t>(ticks + 1), '.');
    unsigned seed = 12345;
    for (int i = 0; i < entries; ++i) {
        seed = seed * 1103515245u + 12345u;
        int from = 1 + (i * 3 + static_cast<int>(seed >> 8) % 50);
        int to = from + static_cast<int>(seed >> 16) % (i % 10 == 0 ? 300 : 6);
        size_t which = (seed >> 4) % 7;
        text += std::to_string(from) + "-" + std::to_string(to) + " " + names[which] + "\n";
        for (int tick = from; tick <= to; ++tick)
            expected[keys[which]][static_cast<size_t>(tick)] = '#';
    }
    KeyScriptPlayer player = startKeyScript(parsed(text));
    for (int tick = 1; tick <= ticks; ++tick) {
        advanceKeyScript(&player, tick);
        for (int key : keys)
            ASSERT_EQ(playerKeyDown(player, key) ? '#' : '.',
                      expected[key][static_cast<size_t>(tick)])
                << "tick " << tick << " key " << key;
    }
}

} // namespace kavorind
