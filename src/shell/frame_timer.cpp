#include "shell/frame_timer.h"

#include "platform/messages.h"
#include "platform/timer.h"

namespace kavorind {

FrameTimer frameTimer;

namespace {

TimerSlot* runningSlot(int timerId) {
    for (TimerSlot& slot : frameTimer.timerTable)
        if (slot.timerId == timerId && slot.inUse == 1)
            return &slot;
    return nullptr;
}

} // namespace

unsigned timerPeriod(unsigned rate) {
    unsigned minimum = platformTimerMinPeriod();
    unsigned delay = 1000 / rate;
    return delay < minimum ? minimum : delay;
}

int startTimer(unsigned rate, int* outId, PlatformWindow* window, uint16_t message) {
    if (rate == 0 || !outId)
        return 0;
    TimerSlot* slot = nullptr;
    for (TimerSlot& candidate : frameTimer.timerTable) {
        if (candidate.inUse == 0) {
            slot = &candidate;
            break;
        }
    }
    if (!slot)
        return 0;
    int id = platformTimeSetEvent(timerPeriod(rate), onTimer);
    slot->timerId = id;
    if (id == 0)
        return 0;
    *outId = id;
    slot->pending.store(0);
    slot->window = window;
    slot->message = message;
    // Marked in use last: a callback that fires before this finds no slot and posts nothing.
    slot->inUse = 1;
    return 1;
}

void onTimer(int timerId) {
    TimerSlot* slot = runningSlot(timerId);
    if (!slot)
        return;
    int idle = 0;
    if (!slot->pending.compare_exchange_strong(idle, 1))
        return;
    platformPostMessage(slot->window, slot->message, static_cast<uintptr_t>(timerId),
                        reinterpret_cast<intptr_t>(&slot->pending));
}

int stopTimer(int timerId) {
    if (platformTimeKillEvent(timerId) == platformTimerInvalidParameter)
        return 0;
    TimerSlot* slot = runningSlot(timerId);
    if (!slot)
        return 0;
    slot->inUse = 0;
    slot->timerId = 0;
    slot->pending.store(0);
    slot->window = nullptr;
    return 1;
}

} // namespace kavorind
