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

struct PlatformTimers {
    std::mutex mutex; // guards events and nextId
    std::map<int, std::unique_ptr<TimerEvent>> events;
    int nextId = 1;
    int manual = 0;

    PlatformTimers() = default;
    PlatformTimers(const PlatformTimers&) = delete;
    PlatformTimers& operator=(const PlatformTimers&) = delete;
    // A program that ends without stopping its timers (Xlib exits the process when the display
    // goes away) still stops their threads before the table goes, instead of aborting on a running
    // thread.
    ~PlatformTimers();
};

PlatformTimers platformTimers;

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
    platformTimers.manual = manual;
}

int platformTimeSetEvent(unsigned delayMs, PlatformTimerCallback callback) {
    if (!callback || delayMs == 0)
        return 0;
    std::lock_guard guard(platformTimers.mutex);
    int id = platformTimers.nextId++;
    auto event = std::make_unique<TimerEvent>();
    if (!platformTimers.manual)
        event->thread =
            std::thread(runEvent, event.get(), id, std::chrono::milliseconds(delayMs), callback);
    platformTimers.events.emplace(id, std::move(event));
    return id;
}

PlatformTimers::~PlatformTimers() {
    std::vector<int> running;
    {
        std::lock_guard guard(mutex);
        for (const auto& [id, event] : events)
            running.push_back(id);
    }
    for (int id : running)
        platformTimeKillEvent(id);
}

int platformTimeKillEvent(int timerId) {
    std::unique_ptr<TimerEvent> event;
    {
        std::lock_guard guard(platformTimers.mutex);
        auto found = platformTimers.events.find(timerId);
        if (found == platformTimers.events.end())
            return platformTimerInvalidParameter;
        event = std::move(found->second);
        platformTimers.events.erase(found);
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
