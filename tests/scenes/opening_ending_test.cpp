#include "scene_test_support.h"

namespace kavorind {

namespace {

// Skips the logo on tick 1 and confirms the first menu entry on tick 3: the menu leaves on tick 13
// and the opening's first tick is tick 14.
constexpr int openingFirstTick = 14;
const std::string toOpening = "1 Z\n3 Z\n";

} // namespace

TEST_F(FrontEndTest, OpeningLastsItsFullCourseWithoutKeys) {
    content.openingFrames = 4;
    int length = 259 + 2 * (content.openingFrames - 1);
    SimRun run = this->run(toOpening, openingFirstTick + length + 2);
    int first = openingFirstTick;
    EXPECT_EQ(run.at(first - 1)["scene"], 6);
    EXPECT_EQ(run.at(first)["riseHeight"], 1);
    EXPECT_EQ(run.at(first + 248)["riseHeight"], 249);
    EXPECT_EQ(run.at(first + 249)["riseHeight"], 251);
    EXPECT_EQ(run.at(first + 249)["openingAnimation.currentIndex"], 0);
    EXPECT_EQ(run.at(first + 250)["openingAnimation.currentIndex"], 1);
    EXPECT_EQ(run.at(first + 249 + 2 * 3)["openingAnimation.currentIndex"], 3);
    EXPECT_EQ(run.at(first + length - 2)["openingFade"], 90);
    EXPECT_EQ(run.at(first + length - 2)["scene"], 6);
    EXPECT_EQ(run.at(first + length - 1)["scene"], 3);
    EXPECT_EQ(run.at(first + length - 1)["rendered"], 0);
    // Stop put everything back for the next visit.
    EXPECT_EQ(run.at(first + length - 1)["riseHeight"], 0);
    EXPECT_EQ(run.at(first + length - 1)["openingAnimation.currentIndex"], 0);
}

TEST_F(FrontEndTest, OpeningInstallsTheGamePaletteAndFadesToNinety) {
    content.openingFrames = 1;
    SimRun run = this->run(toOpening, openingFirstTick + 260);
    const PaletteEntries game = testcontent::rampColours(0);
    EXPECT_EQ(run.at(openingFirstTick).palette, fadedTable(game, 0));
    // One frame: the fade starts right after the text has risen.
    for (int step = 1; step <= 9; ++step)
        ASSERT_EQ(run.at(openingFirstTick + 248 + step).palette, fadedTable(game, 10u * step));
    EXPECT_EQ(run.at(openingFirstTick + 257)["scene"], 6);
    EXPECT_EQ(run.at(openingFirstTick + 258)["scene"], 3);
}

TEST_F(FrontEndTest, AFreshPressSkipsTheRiseButAKeyHeldFromTheMenuDoesNot) {
    SimRun held = this->run("1 Z\n3-40 Z\n", 40);
    EXPECT_EQ(held.at(40)["riseHeight"], 40 - openingFirstTick + 1);
    SimRun pressed = this->run(toOpening + "20 Escape\n", 24);
    EXPECT_EQ(pressed.at(19)["riseHeight"], 6);
    EXPECT_EQ(pressed.at(20)["riseHeight"], 251);
    EXPECT_EQ(pressed.at(20)["animationWait"], 1);
}

TEST_F(FrontEndTest, EndingLoopsItsAnimationAndFadesBackToTheMenu) {
    content.endingFrames = 3;
    SimRun run = this->run("10 Z\n12 Z\n", 24, "--palette --scene 5");
    for (int tick = 1; tick <= 9; ++tick)
        ASSERT_EQ(run.at(tick)["endingAnimation.currentIndex"], tick % 3) << tick;
    const PaletteEntries game = testcontent::rampColours(0);
    EXPECT_EQ(run.at(9).palette, fadedTable(game, 0));
    // The press tick already shows level 10; a second press changes nothing.
    for (int step = 1; step <= 9; ++step) {
        ASSERT_EQ(run.at(9 + step)["endingFade"], 10 * step);
        ASSERT_EQ(run.at(9 + step).palette, fadedTable(game, 10u * step)) << step;
    }
    EXPECT_EQ(run.at(19)["scene"], 2);
    EXPECT_EQ(run.at(19)["endingLeaving"], 0);
    EXPECT_EQ(run.at(20)["scene"], 2);
    EXPECT_EQ(run.at(20)["rendered"], 1);
}

TEST_F(FrontEndTest, EndingWithOneFrameStandsStillAndWithoutAnimationStillLeaves) {
    content.endingFrames = 1;
    SimRun one = this->run("", 5, "--scene 5");
    for (int tick = 1; tick <= 5; ++tick)
        ASSERT_EQ(one.at(tick)["endingAnimation.currentIndex"], 0);
    std::filesystem::remove(data + "/Ending-s.spr");
    SimRun none = this->run("3 Escape\n", 14, "--scene 5");
    EXPECT_EQ(none.at(12)["scene"], 2);
}

} // namespace kavorind
