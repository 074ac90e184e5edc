// The timedemo's length and its report line. The run itself, in a real window and against the
// runner's trace, is tests/e2e/timedemo.sh.
#include "shell/timedemo.h"

#include <gtest/gtest.h>

namespace kavorind {
namespace {

// The script's own tick count, as recordings and the pilot write it, runs on past the last key;
// without it, or when a key is held beyond it, the demo lasts to the last held key.
TEST(Timedemo, LastsForTheScriptsTickCountOrToItsLastHeldKey) {
    EXPECT_EQ(timedemoLength("# recorded\n# ticks: 900\n1-20 Z\n", 20), 900);
    EXPECT_EQ(timedemoLength("# ticks: 10\n1-20 Z\n", 20), 20);
    EXPECT_EQ(timedemoLength("1-20 Z\n30 Escape\n", 30), 30);
    // Only a whole "ticks:" comment counts, not a line that merely mentions ticks.
    EXPECT_EQ(timedemoLength("# 5000 ticks of flying\n# ticks:\n12 Z\n", 12), 12);
    EXPECT_EQ(timedemoLength("", 0), 0);
    // A recording cut short says how far each of its pieces goes.
    EXPECT_EQ(timedemoLength("# K\n1-20 Z\n# recorded to tick 30\n# recorded to tick 60\n", 20),
              60);
}

TEST(Timedemo, ReportsFramesPerSecondOfWallTimeWithEveryFigure) {
    TimedemoFigures figures;
    figures.ticks = 300;
    figures.frames = 250;
    figures.wallSeconds = 0.5;
    figures.cpuSeconds = 0.75; // more than the wall: threads beside the main one
    figures.slowestTickMs = 12.5;
    figures.slowestFrameMs = 3.25;
    EXPECT_EQ(timedemoReport(figures),
              "timedemo ticks=300 frames=250 wall_s=0.500 cpu_s=0.750 fps=500.0 "
              "slowest_tick_ms=12.50 slowest_frame_ms=3.25");
    // A demo that ended before its first tick has no rate rather than a division by zero.
    EXPECT_NE(timedemoReport(TimedemoFigures{}).find(" fps=0.0 "), std::string::npos);
}

} // namespace
} // namespace kavorind
