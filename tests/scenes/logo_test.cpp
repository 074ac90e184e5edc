#include "scene_test_support.h"

namespace kavorind {

namespace {

// The logo's picture uses the colours of testcontent::picture(.., 40).
std::vector<std::vector<int>> logoAt(unsigned level) {
    return fadedTable(testcontent::rampColours(40), level);
}

} // namespace

TEST_F(FrontEndTest, LogoFadesInHoldsFadesOutAndLastsEightyOneTicks) {
    SimRun run = this->run("", 90);
    ASSERT_EQ(run.lines.size(), 90u);
    for (int tick = 1; tick <= 81; ++tick) {
        ASSERT_EQ(run.at(tick)["scene"], tick < 81 ? 1 : 2) << tick;
        ASSERT_EQ(run.at(tick)["rendered"], 1) << tick;
    }
    // The render of tick 81 ends the logo; the menu's first tick is tick 82.
    EXPECT_EQ(run.at(82)["scene"], 2);
    EXPECT_NE(run.at(82).sound.find("\"channel\":0,\"loop\":1"), std::string::npos);
    // Fade-in: levels 96, 92, ..., 4 over 24 frames; the 25th keeps level 4.
    for (int tick = 1; tick <= 24; ++tick)
        ASSERT_EQ(run.at(tick).palette, logoAt(static_cast<unsigned>(100 - 4 * tick))) << tick;
    EXPECT_EQ(run.at(25).palette, logoAt(4));
    EXPECT_EQ(run.at(25)["logoPhase"], 1);
    // The 31-tick hold at 96 per cent brightness.
    for (int tick = 26; tick <= 56; ++tick) {
        ASSERT_EQ(run.at(tick)["logoPhase"], tick == 56 ? 2 : 1) << tick;
        ASSERT_EQ(run.at(tick).palette, logoAt(4)) << tick;
    }
    // Fade-out: levels 4, 8, ..., 100, the last frame black.
    for (int tick = 57; tick <= 81; ++tick)
        ASSERT_EQ(run.at(tick).palette, logoAt(static_cast<unsigned>(4 * (tick - 56)))) << tick;
    EXPECT_EQ(run.at(81)["logoPhase"], 0);
    EXPECT_EQ(run.at(81)["logoCounter"], 100);
}

TEST_F(FrontEndTest, ZOnTheFirstTickSkipsTheLogoBeforeItsColoursAreInstalled) {
    SimRun run = this->run("1 Z\n", 3);
    EXPECT_EQ(run.at(1)["scene"], 2);
    EXPECT_EQ(run.at(1)["rendered"], 0);
    EXPECT_EQ(run.at(1).palette, fadedTable(PaletteEntries{}, 0));
    EXPECT_EQ(run.at(1)["logoCounter"], 100);
}

TEST_F(FrontEndTest, EscapeDuringTheHoldSkipsAndAHeldKeyDoesNotCountAgain) {
    SimRun run = this->run("40-70 Escape\n", 75);
    EXPECT_EQ(run.at(39)["scene"], 1);
    EXPECT_EQ(run.at(40)["scene"], 2);
    EXPECT_EQ(run.at(40)["rendered"], 0);
    // Escape still held in the menu is not a new press: no confirmation.
    for (int tick = 41; tick <= 75; ++tick)
        ASSERT_EQ(run.at(tick)["confirming"], 0) << tick;
}

TEST_F(FrontEndTest, MissingLogoRunsItsCourseOverBlack) {
    writeContent();
    std::filesystem::remove(data + "/LOGO.BMP");
    SimRun run = this->run("", 83);
    EXPECT_EQ(run.at(80)["scene"], 1);
    EXPECT_EQ(run.at(81)["scene"], 2);
}

} // namespace kavorind
