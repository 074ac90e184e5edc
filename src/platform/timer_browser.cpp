#include "platform/timer.h"

#include <emscripten/emscripten.h>
#include <emscripten/eventloop.h>

#include <map>

namespace kavorind {

// In the browser there is one thread: a periodic event is a chain of the page's timeouts, each
// set for the next deadline from the start, and its callback runs whenever the game yields to the
// page (while it waits for a message), never beside the game's own code.

namespace {

struct TimerEvent {
    int id = 0;
    double periodMs = 0;
    double deadlineMs = 0;
    long timeout = 0; // the page's handle of the timeout that fires next
    PlatformTimerCallback callback = nullptr;
};

struct PlatformTimers {
    std::map<int, TimerEvent> events;
    int nextId = 1;
    int manual = 0;
};

PlatformTimers platformTimers;

void fireEvent(void* data);

// A late wake-up fires once and goes on from the next deadline still ahead: periods are skipped,
// never bunched up.
void scheduleNext(TimerEvent& event) {
    const double now = emscripten_get_now();
    event.deadlineMs += event.periodMs;
    while (event.deadlineMs <= now)
        event.deadlineMs += event.periodMs;
    event.timeout =
        emscripten_set_timeout(fireEvent, event.deadlineMs - now,
                               reinterpret_cast<void*>(static_cast<intptr_t>(event.id)));
}

void fireEvent(void* data) {
    const int id = static_cast<int>(reinterpret_cast<intptr_t>(data));
    auto found = platformTimers.events.find(id);
    if (found == platformTimers.events.end())
        return;
    found->second.callback(id);
    // The callback may have stopped its own event.
    found = platformTimers.events.find(id);
    if (found != platformTimers.events.end())
        scheduleNext(found->second);
}

} // namespace

unsigned platformTimerMinPeriod() {
    return 1;
}

void platformSetManualTimers(int manual) {
    platformTimers.manual = manual;
}

int platformTimeSetEvent(unsigned delayMs, PlatformTimerCallback callback) {
    if (!callback || delayMs == 0)
        return 0;
    const int id = platformTimers.nextId++;
    TimerEvent& event = platformTimers.events[id];
    event.id = id;
    event.periodMs = delayMs;
    event.callback = callback;
    event.deadlineMs = emscripten_get_now();
    if (!platformTimers.manual)
        scheduleNext(event);
    return id;
}

int platformTimeKillEvent(int timerId) {
    auto found = platformTimers.events.find(timerId);
    if (found == platformTimers.events.end())
        return platformTimerInvalidParameter;
    if (found->second.timeout)
        emscripten_clear_timeout(found->second.timeout);
    platformTimers.events.erase(found);
    return 0;
}

} // namespace kavorind
