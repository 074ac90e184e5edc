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
#include <string>

namespace kavorind {

Timedemo timedemo;

namespace {

using Clock = std::chrono::steady_clock;

// Where a demo run in passes has got to.
struct TimedemoRun {
    int started = 0;
    long nextTick = 1;
    Clock::time_point began;
    std::clock_t cpuBegan = 0;
};

TimedemoRun timedemoRun;

// A page's pass runs ticks for this long at most, then lets the page paint and follow the demo.
constexpr double pageShareMs = 50;

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
    long declared = 0;
    // Line by line in place: a script may be hundreds of megabytes.
    for (size_t at = 0; at < scriptText.size();) {
        size_t end = scriptText.find('\n', at);
        if (end == std::string::npos)
            end = scriptText.size();
        if (scriptText[at] == '#') {
            const std::string line = scriptText.substr(at, std::min<size_t>(end - at, 64));
            long count = 0;
            if (std::sscanf(line.c_str(), "# ticks: %ld", &count) == 1 ||
                std::sscanf(line.c_str(), "# recorded to tick %ld", &count) == 1)
                declared = std::max(declared, count);
        }
        at = end + 1;
    }
    return std::max(declared, static_cast<long>(lastHeldTick));
}

void prepareTimedemo(long length) {
    timedemo = Timedemo{};
    timedemoRun = TimedemoRun{};
    timedemo.active = 1;
    timedemo.length = length;
    platformSetManualTimers(1);
    platformSetVerticalBlankWait(0);
}

// The figures cover the ticks and frames alone, not the shut-down after them; a demo that ran to
// its last tick ends as a close would; then the report. Returns the exit code.
int endTimedemo(int stillRunning, int exitCode) {
    timedemo.figures.wallSeconds = millisecondsSince(timedemoRun.began) / 1000.0;
    timedemo.figures.cpuSeconds =
        static_cast<double>(std::clock() - timedemoRun.cpuBegan) / CLOCKS_PER_SEC;
    if (stillRunning)
        exitCode = closeTimedemo();
    std::printf("%s\n", timedemoReport(timedemo.figures).c_str());
    std::fflush(stdout);
    return exitCode;
}

// Runs the demo's ticks until it ends or, with a budget above 0, until budgetMs have passed. 0
// once it has ended, with its exit code in *exitCode.
int runTimedemoTicks(int* exitCode, double budgetMs) {
    if (!timedemoRun.started) {
        timedemoRun.started = 1;
        timedemoRun.began = Clock::now();
        timedemoRun.cpuBegan = std::clock();
    }
    const Clock::time_point passBegan = Clock::now();
    while (timedemoRun.nextTick <= timedemo.length) {
        ++timedemoRun.nextTick;
        if (!runTimedemoTick(exitCode)) {
            *exitCode = endTimedemo(0, *exitCode);
            return 0;
        }
        if (budgetMs > 0 && millisecondsSince(passBegan) >= budgetMs)
            return 1;
    }
    *exitCode = endTimedemo(1, *exitCode);
    return 0;
}

int runTimedemo() {
    int exitCode = exitSuccess;
    while (runTimedemoTicks(&exitCode, 0)) {
    }
    return exitCode;
}

int timedemoPass(int* exitCode) {
    return runTimedemoTicks(exitCode, pageShareMs);
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
