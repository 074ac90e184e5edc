#pragma once
#include "platform/video.h"

#include <array>
#include <vector>

namespace kavorind {
// F3: how long the last two seconds of ticks and frames took, as a small graph in a corner, with
// the ticks per second, the way frames reach the window and the scaling.

constexpr int frameTimesKept = 60;

struct FrameTimes {
    int shown = 0;
    int keyDown = 0;
    std::array<float, frameTimesKept> tickMs{};
    std::array<float, frameTimesKept> frameMs{};
    std::array<double, frameTimesKept> tickAt{}; // seconds, for the ticks per second
    int nextTick = 0;
    int nextFrame = 0;
    int ticksSeen = 0;
};

extern FrameTimes frameTimes;

// A tick that took seconds, ending at now (seconds on a steady clock); a frame drawn in seconds.
void noteTickTime(double seconds, double now);
void noteFrameTime(double seconds);
// At every timer tick: F3 shows or hides the graph.
void followFrameTimesKey();
// The ticks per second over the ticks kept; 0 before two ticks.
double ticksPerSecondNow();
void paintFrameTimes(const PlatformOverlayArea& area, std::vector<PlatformOverlayBox>* boxes);

} // namespace kavorind
