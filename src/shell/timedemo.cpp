#include "shell/timedemo.h"

#include "platform/platform.h"
#include "platform/timer.h"
#include "scenes/scene_protocol.h"
#include "shell/entry.h"
#include "shell/frame_timer.h"
#include "shell/window_procedure.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <sstream>

namespace kavorind {

Timedemo timedemo;

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// One tick as the frame timer would deliver it, then its frame. 0 once the game has quit.
int runTimedemoTick(int* exitCode) {
    TimedemoFigures& figures = timedemo.figures;
    Clock::time_point start = Clock::now();
    onTimer(frameTimer.frameTimerId);
    // The tick that quits counts too; its messages end with the quit.
    const int running = dispatchWaitingMessages(exitCode);
    ++figures.ticks;
    figures.slowestTickMs = std::max(figures.slowestTickMs, millisecondsSince(start));
    if (!running)
        return 0;
    if (!sceneLoop.frameReady || sceneLoop.renderBusy)
        return 1;
    start = Clock::now();
    idleStep();
    ++figures.frames;
    figures.slowestFrameMs = std::max(figures.slowestFrameMs, millisecondsSince(start));
    return 1;
}

// The end a window's close button brings: shut-down, then the quit and its exit code.
int closeTimedemo() {
    postDestroy();
    int exitCode = exitSuccess;
    while (dispatchWaitingMessages(&exitCode)) {
    }
    return exitCode;
}

} // namespace

long timedemoLength(const std::string& scriptText, int lastHeldTick) {
    std::istringstream lines(scriptText);
    std::string line;
    long declared = 0;
    while (std::getline(lines, line)) {
        long count = 0;
        if (std::sscanf(line.c_str(), "# ticks: %ld", &count) == 1)
            declared = std::max(declared, count);
    }
    return std::max(declared, static_cast<long>(lastHeldTick));
}

void prepareTimedemo(const std::string& scriptPath, int lastHeldTick) {
    std::ifstream file(scriptPath);
    std::stringstream text;
    text << file.rdbuf();
    timedemo = Timedemo{};
    timedemo.active = 1;
    timedemo.length = timedemoLength(text.str(), lastHeldTick);
    platformSetManualTimers(1);
    platformSetVerticalBlankWait(0);
}

int runTimedemo() {
    const Clock::time_point began = Clock::now();
    const std::clock_t cpuBegan = std::clock();
    int exitCode = exitSuccess;
    int running = 1;
    for (long tick = 1; running && tick <= timedemo.length; ++tick)
        running = runTimedemoTick(&exitCode);
    // The figures cover the ticks and frames alone, not the shut-down after them.
    timedemo.figures.wallSeconds = millisecondsSince(began) / 1000.0;
    timedemo.figures.cpuSeconds = static_cast<double>(std::clock() - cpuBegan) / CLOCKS_PER_SEC;
    if (running)
        exitCode = closeTimedemo();
    std::printf("%s\n", timedemoReport(timedemo.figures).c_str());
    std::fflush(stdout);
    return exitCode;
}

std::string timedemoReport(const TimedemoFigures& figures) {
    const double fps = figures.wallSeconds > 0 ? figures.frames / figures.wallSeconds : 0.0;
    char line[256];
    std::snprintf(line, sizeof line,
                  "timedemo ticks=%ld frames=%ld wall_s=%.3f cpu_s=%.3f fps=%.1f "
                  "slowest_tick_ms=%.2f slowest_frame_ms=%.2f",
                  figures.ticks, figures.frames, figures.wallSeconds, figures.cpuSeconds, fps,
                  figures.slowestTickMs, figures.slowestFrameMs);
    return line;
}

} // namespace kavorind
