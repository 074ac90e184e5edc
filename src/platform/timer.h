#pragma once

namespace kavorind {
// Periodic timer events, each run on a thread of its own, like the multimedia timer they stand in
// for.

using PlatformTimerCallback = void (*)(int timerId);

constexpr int platformTimerInvalidParameter = 11;

// The shortest period the timer keeps, in milliseconds.
unsigned platformTimerMinPeriod();
// Starts calling callback(id) every delayMs milliseconds; returns the id, or 0 on failure.
int platformTimeSetEvent(unsigned delayMs, PlatformTimerCallback callback);
// Stops an event and waits until its callback can no longer run. 0 on success, or
// platformTimerInvalidParameter when no such event runs.
int platformTimeKillEvent(int timerId);
// With manual timers on, events get ids but no thread: the caller fires them itself (the headless
// runner delivers its ticks this way, and tests drive the timer table deterministically).
void platformSetManualTimers(int manual);

} // namespace kavorind
