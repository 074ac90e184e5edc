#pragma once
#include <array>
#include <atomic>
#include <cstdint>

namespace kavorind {

struct PlatformWindow;

// One running timer: it posts its message to its window once per period, but never while the
// previous message still waits (pending is 1 until the handler stores 0 through the address that
// the message carries). The timer thread only moves pending from 0 to 1, the main thread only from
// 1 to 0. The flag is atomic because both threads touch it; so are inUse and timerId, which the
// timer thread reads while start-up may still be filling a slot.
struct TimerSlot {
    std::atomic<int> inUse{0};
    std::atomic<int> timerId{0};
    std::atomic<int> pending{0};
    PlatformWindow* window = nullptr;
    uint16_t message = 0;
};

constexpr int timerSlotCount = 30;

// Up to 30 timers at once, each in a slot; the program runs one, its frame timer.
struct FrameTimer {
    std::array<TimerSlot, timerSlotCount> timerTable;
    int frameTimerId = 0; // written by start-up and read by shut-down
};

extern FrameTimer frameTimer;

// Starts a timer of rate ticks per second posting message to window; 1 when it runs.
int startTimer(unsigned rate, int* outId, PlatformWindow* window, uint16_t message);
// Stops a running timer and frees its slot; 1 when one was stopped.
int stopTimer(int timerId);
// The timer thread's callback: posts the slot's message unless one is still pending.
void onTimer(int timerId);
// The period for a rate: 1000 / rate milliseconds, so 30 ticks a second are 33 ms apart, but never
// shorter than the timer's minimum.
unsigned timerPeriod(unsigned rate);

} // namespace kavorind
