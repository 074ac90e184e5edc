// Measures the real frame timer: the mean period at 30 ticks a second with a quick handler, and
// with a handler slower than the period, that no second tick is ever queued while one is handled.
// Prints its figures; it asserts nothing, because timings on a shared machine vary.

#include "platform/messages.h"
#include "platform/platform.h"
#include "scenes/scene_protocol.h"
#include "shell/frame_timer.h"
#include "shell/window_procedure.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

using namespace kavorind;

namespace {

using Clock = std::chrono::steady_clock;

struct Phase {
    double meanPeriodMs = 0;
    double worstPeriodMs = 0;
    int mostQueued = 0;
};

// Counts the tick messages waiting in the queue without taking any other message away.
int queuedTicks() {
    int count = 0;
    while (platformPeekMessage()) {
        Message message;
        platformGetMessage(&message);
        if (message.message == TickMessage)
            ++count;
    }
    return count;
}

Phase runPhase(int ticks, std::chrono::milliseconds handlerTime) {
    Phase phase;
    std::vector<Clock::time_point> arrivals;
    while (static_cast<int>(arrivals.size()) < ticks) {
        Message message;
        platformGetMessage(&message);
        if (message.message != TickMessage)
            continue;
        arrivals.push_back(Clock::now());
        std::this_thread::sleep_for(handlerTime);
        int waiting = queuedTicks();
        phase.mostQueued = waiting > phase.mostQueued ? waiting : phase.mostQueued;
        reinterpret_cast<PendingFlag*>(message.lParam)->store(0);
    }
    for (size_t i = 1; i < arrivals.size(); ++i) {
        double ms =
            std::chrono::duration<double, std::milli>(arrivals[i] - arrivals[i - 1]).count();
        phase.meanPeriodMs += ms / static_cast<double>(arrivals.size() - 1);
        phase.worstPeriodMs = ms > phase.worstPeriodMs ? ms : phase.worstPeriodMs;
    }
    return phase;
}

} // namespace

int main() {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    if (!platformInit())
        return 1;
    int id = 0;
    if (!startTimer(30, &id, nullptr, TickMessage))
        return 1;
    Phase quick = runPhase(151, std::chrono::milliseconds(1));
    Phase slow = runPhase(61, std::chrono::milliseconds(50));
    stopTimer(id);
    std::printf(
        "quick handler: mean period %.2f ms, longest %.2f ms, ticks queued behind one: %d\n",
        quick.meanPeriodMs, quick.worstPeriodMs, quick.mostQueued);
    std::printf(
        "50 ms handler: mean period %.2f ms, longest %.2f ms, ticks queued behind one: %d\n",
        slow.meanPeriodMs, slow.worstPeriodMs, slow.mostQueued);
    return 0;
}
