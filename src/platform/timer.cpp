#include "platform/timer.h"

#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace kavorind {

namespace {

struct TimerEvent {
    std::thread thread;
    std::mutex mutex;
    std::condition_variable wake;
    bool stopping = false;
};

std::mutex eventsMutex;
std::map<int, std::unique_ptr<TimerEvent>> events;

// A program that ends without stopping its timers (Xlib exits the process when the display goes
// away) still stops their threads before the table goes, instead of aborting on a running thread.
struct StopTimersAtExit {
    ~StopTimersAtExit();
} stopTimersAtExit;
int nextId = 1;
int manualTimers = 0;

// Fires at fixed deadlines from the start, so the period does not drift with the callback's time.
// A late wake-up fires once and goes on from the next deadline still ahead: periods are skipped,
// never bunched up.
void runEvent(TimerEvent* event, int id, std::chrono::milliseconds period,
              PlatformTimerCallback callback) {
    using Clock = std::chrono::steady_clock;
    auto deadline = Clock::now() + period;
    std::unique_lock lock(event->mutex);
    while (!event->wake.wait_until(lock, deadline, [event] { return event->stopping; })) {
        lock.unlock();
        callback(id);
        lock.lock();
        deadline += period;
        auto now = Clock::now();
        while (deadline <= now)
            deadline += period;
    }
}

} // namespace

unsigned platformTimerMinPeriod() {
    return 1;
}

void platformSetManualTimers(int manual) {
    manualTimers = manual;
}

int platformTimeSetEvent(unsigned delayMs, PlatformTimerCallback callback) {
    if (!callback || delayMs == 0)
        return 0;
    std::lock_guard guard(eventsMutex);
    int id = nextId++;
    auto event = std::make_unique<TimerEvent>();
    if (!manualTimers)
        event->thread =
            std::thread(runEvent, event.get(), id, std::chrono::milliseconds(delayMs), callback);
    events.emplace(id, std::move(event));
    return id;
}

StopTimersAtExit::~StopTimersAtExit() {
    std::vector<int> running;
    {
        std::lock_guard guard(eventsMutex);
        for (const auto& [id, event] : events)
            running.push_back(id);
    }
    for (int id : running)
        platformTimeKillEvent(id);
}

int platformTimeKillEvent(int timerId) {
    std::unique_ptr<TimerEvent> event;
    {
        std::lock_guard guard(eventsMutex);
        auto found = events.find(timerId);
        if (found == events.end())
            return platformTimerInvalidParameter;
        event = std::move(found->second);
        events.erase(found);
    }
    {
        std::lock_guard lock(event->mutex);
        event->stopping = true;
    }
    event->wake.notify_all();
    if (event->thread.joinable())
        event->thread.join();
    return 0;
}

} // namespace kavorind
