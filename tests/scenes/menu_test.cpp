#include "scene_test_support.h"

#include <string>

namespace kavorind {

namespace {

// Keys for the menu, counted from its first tick: the logo is skipped with Z on tick 1, so the
// menu's first tick is tick 2.
std::string menuKeys(const std::string& lines) {
    return "1 Z\n" + lines;
}

int blips(const TraceLine& line) {
    int count = 0;
    for (size_t at = line.sound.find("\"channel\":1,\"loop\":0"); at != std::string::npos;
         at = line.sound.find("\"channel\":1,\"loop\":0", at + 1))
        ++count;
    return count;
}

} // namespace

TEST_F(FrontEndTest, UpAndDownToggleOnceEvenTogether) {
    SimRun run = this->run(menuKeys("5 Up\n8 Down\n11 Up,Down\n"), 14);
    EXPECT_EQ(run.at(4)["selection"], 0);
    EXPECT_EQ(run.at(5)["selection"], 1);
    EXPECT_EQ(blips(run.at(5)), 1);
    EXPECT_EQ(run.at(8)["selection"], 0);
    EXPECT_EQ(run.at(11)["selection"], 1);
    EXPECT_EQ(blips(run.at(11)), 1);
    EXPECT_EQ(run.at(14)["confirming"], 0);
}

TEST_F(FrontEndTest, SwitchAndConfirmInOneTickConfirmsTheNewEntry) {
    SimRun run = this->run(menuKeys("5 Down,Z\n"), 30);
    EXPECT_EQ(run.at(5)["selection"], 1);
    EXPECT_EQ(run.at(5)["confirming"], 1);
    // The quit entry fades for ten ticks and ends the program with exit code 0.
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.lines.size(), 15u);
}

TEST_F(FrontEndTest, EscapeConfirmsQuitWhateverIsSelected) {
    SimRun run = this->run(menuKeys("5 Up\n8 Escape,Z\n"), 30);
    EXPECT_EQ(run.at(7)["selection"], 1);
    EXPECT_EQ(run.at(8)["selection"], 1);
    EXPECT_EQ(run.at(8)["confirming"], 1);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.lines.size(), 18u);
}

TEST_F(FrontEndTest, ConfirmFadesOverTenTicksThenStartsTheOpeningAtStageZero) {
    SimRun run = this->run(menuKeys("5 Z\n7 Down\n"), 20);
    const PaletteEntries menuColours = testcontent::rampColours(80);
    // The confirming tick renders the unfaded picture; then levels 10 to 90.
    EXPECT_EQ(run.at(5).palette, fadedTable(menuColours, 0));
    for (int step = 1; step <= 9; ++step) {
        ASSERT_EQ(run.at(5 + step)["fadeLevel"], 10 * step);
        ASSERT_EQ(run.at(5 + step).palette, fadedTable(menuColours, 10u * step)) << step;
    }
    // Keys during the fade are ignored.
    EXPECT_EQ(run.at(7)["selection"], 0);
    EXPECT_EQ(run.at(15)["scene"], 6);
    EXPECT_EQ(run.at(15)["rendered"], 0);
    EXPECT_EQ(run.at(15)["stageIndex"], 0);
    EXPECT_EQ(run.at(16)["scene"], 6);
}

TEST_F(FrontEndTest, MenuPlaysItsMusicLoopingAndReleasesTheDeviceOnLeaving) {
    SimRun run = this->run(menuKeys("5 Z\n"), 16);
    const std::string& first = run.at(2).sound;
    EXPECT_NE(first.find("{\"op\":\"releaseAll\""), std::string::npos) << first;
    EXPECT_NE(first.find("\"channel\":0,\"loop\":1"), std::string::npos) << first;
    EXPECT_NE(run.at(15).sound.find("releaseAll"), std::string::npos);
}

// The menu's start fails: the program ends within a few ticks as a failure, naming the picture.
TEST_F(FrontEndTest, MissingMenuPictureEndsTheProgramNamingIt) {
    writeContent();
    std::filesystem::remove(data + "/Menu-s.BMP");
    SimRun run = this->run("1 Z\n", 20);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_LE(run.lines.size(), 3u);
    EXPECT_NE(run.stderrText.find("Kavorind: \"Menu-s.BMP\" is missing from "), std::string::npos)
        << run.stderrText;
}

} // namespace kavorind
