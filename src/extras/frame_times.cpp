#include "extras/frame_times.h"

#include "display/display_device.h"
#include "extras/overlay_text.h"
#include "input/bindings.h"
#include "shell/options.h"
#include "shell/shutdown.h"

#include <algorithm>
#include <cstdio>

namespace kavorind {

FrameTimes frameTimes;

namespace {

constexpr uint32_t tickColour = 0xFF60C0FF;
constexpr uint32_t frameColour = 0xFFFFB040;
constexpr uint32_t budgetColour = 0xFFFF5040;
constexpr float budgetMs = 1000.0f / 30.0f; // one tick's share of a second

// One bar a tick, oldest on the left, its height the time it took (the budget at the top).
void addBars(const OverlayPen& pen, const std::array<float, frameTimesKept>& times, int next,
             int left, int bottom, int barWidth, int height, uint32_t colour) {
    for (int i = 0; i < frameTimesKept; ++i) {
        const float ms = times[static_cast<size_t>((next + i) % frameTimesKept)];
        const int bar = std::min(height, static_cast<int>(ms / budgetMs * height + 0.5f));
        addOverlayBox(pen, left + i * barWidth, bottom - bar, std::max(1, barWidth - 1), bar,
                      colour);
    }
}

} // namespace

void noteTickTime(double seconds, double now) {
    FrameTimes& times = frameTimes;
    times.tickMs[static_cast<size_t>(times.nextTick)] = static_cast<float>(seconds * 1e3);
    times.tickAt[static_cast<size_t>(times.nextTick)] = now;
    times.nextTick = (times.nextTick + 1) % frameTimesKept;
    times.ticksSeen = std::min(times.ticksSeen + 1, frameTimesKept);
}

void noteFrameTime(double seconds) {
    FrameTimes& times = frameTimes;
    times.frameMs[static_cast<size_t>(times.nextFrame)] = static_cast<float>(seconds * 1e3);
    times.nextFrame = (times.nextFrame + 1) % frameTimesKept;
}

void followFrameTimesKey() {
    const int down = shellActionDown(ACTION_FRAME_TIMES);
    if (down && !frameTimes.keyDown)
        frameTimes.shown = !frameTimes.shown;
    frameTimes.keyDown = down;
}

double ticksPerSecondNow() {
    const FrameTimes& times = frameTimes;
    if (times.ticksSeen < 2)
        return 0;
    const int newest = (times.nextTick + frameTimesKept - 1) % frameTimesKept;
    const int oldest = times.ticksSeen < frameTimesKept ? 0 : times.nextTick;
    const double span =
        times.tickAt[static_cast<size_t>(newest)] - times.tickAt[static_cast<size_t>(oldest)];
    return span > 0 ? (times.ticksSeen - 1) / span : 0;
}

void paintFrameTimes(const PlatformOverlayArea& area, std::vector<PlatformOverlayBox>* boxes) {
    if (!frameTimes.shown)
        return;
    OverlayPen pen{boxes, overlayUnit(area)};
    const int line = overlayLineHeight(pen, 1);
    const int barWidth = 3 * pen.unit;
    const int graphHeight = 24 * pen.unit;
    const int margin = 4 * pen.unit;
    const int width = frameTimesKept * barWidth;
    const int left = area.frameX + margin;
    const int top = area.frameY + area.frameHeight - margin - graphHeight - 4 * line;
    addOverlayBox(pen, left - margin / 2, top - margin / 2, width + margin,
                  graphHeight + 4 * line + margin, overlayPanel);
    char heading[48];
    std::snprintf(heading, sizeof heading, "%.1f TICKS A SECOND", ticksPerSecondNow());
    addOverlayText(pen, heading, left, top, 1, overlayWhite);
    const int bottom = top + line + graphHeight;
    addOverlayBox(pen, left, bottom - graphHeight, width, pen.unit, budgetColour);
    addBars(pen, frameTimes.tickMs, frameTimes.nextTick, left, bottom, barWidth, graphHeight,
            tickColour);
    addBars(pen, frameTimes.frameMs, frameTimes.nextFrame, left + barWidth / 2, bottom, barWidth,
            graphHeight, frameColour);
    const std::string path = platformPresentPathName(displayDevice.directDraw) + "  " +
                             overlayCapitals(scaleChoiceName(shell.settings.scale)) + " X" +
                             std::to_string(std::max(1, area.frameHeight / 480));
    const int legend = bottom + pen.unit * 3;
    addOverlayText(pen, "TICK", left, legend, 1, tickColour);
    addOverlayText(pen, "FRAME", left + overlayTextWidth(pen, "TICK  ", 1), legend, 1, frameColour);
    addRightAlignedText(pen, "TOP 33 MS", left + width, legend, 1, budgetColour);
    addOverlayText(pen, path, left, legend + line, 1, overlayGrey);
}

} // namespace kavorind
