// Posted messages: what goes in comes out, and posting (the frame timer does it from its own
// thread 30 times a second) takes no memory from the heap.

#include "platform/timer.h"
#include "platform_test_support.h"
#include "shell/frame_timer.h"
#include "shell/window_procedure.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace kavorind {
namespace {

// Counts the allocations made through operator new while armed.
struct HeapWatch {
    std::atomic<int> armed{0};
    std::atomic<int> allocations{0};
};

HeapWatch heapWatch;

} // namespace
} // namespace kavorind

namespace {

void* countedAllocation(std::size_t size) {
    if (kavorind::heapWatch.armed)
        ++kavorind::heapWatch.allocations;
    if (void* block = std::malloc(size ? size : 1))
        return block;
    throw std::bad_alloc();
}

} // namespace

void* operator new(std::size_t size) {
    return countedAllocation(size);
}
void* operator new[](std::size_t size) {
    return countedAllocation(size);
}
// The nothrow forms too, so that every block these deletes free came from malloc.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    if (kavorind::heapWatch.armed)
        ++kavorind::heapWatch.allocations;
    return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
    return operator new(size, tag);
}
void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete[](void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}
void operator delete[](void* block, std::size_t) noexcept {
    std::free(block);
}

namespace kavorind {

namespace {

// The next message that was posted (the dummy driver's own window events are passed over); 0 when
// it is WM_QUIT, as platformGetMessage answers.
int nextPosted(Message* out) {
    for (;;) {
        int more = platformGetMessage(out);
        if (!more || out->message >= WM_USER)
            return more;
    }
}

TimerSlot* slotOf(int timerId) {
    for (TimerSlot& slot : frameTimer.timerTable)
        if (slot.timerId == timerId)
            return &slot;
    return nullptr;
}

TEST(PostedMessages, TicksAndPostsTakeNoHeapMemory) {
    PlatformWindow* window = testWindow();
    ASSERT_NE(window, nullptr);
    platformSetManualTimers(1);
    int id = 0;
    ASSERT_EQ(startTimer(30, &id, window, TickMessage), 1);
    TimerSlot* slot = slotOf(id);
    ASSERT_NE(slot, nullptr);
    int target = 0;
    constexpr int rounds = 200;
    heapWatch.allocations = 0;
    heapWatch.armed = 1;
    for (int i = 0; i < rounds; ++i) {
        slot->pending.store(0);
        onTimer(id);
        platformPostMessage(window, WM_USER + 9, static_cast<uintptr_t>(i),
                            reinterpret_cast<intptr_t>(&target));
    }
    heapWatch.armed = 0;
    EXPECT_EQ(heapWatch.allocations, 0);
    int ticks = 0;
    int others = 0;
    while (platformPeekMessage()) {
        Message message;
        platformGetMessage(&message);
        ticks += message.message == TickMessage;
        others += message.message == WM_USER + 9;
    }
    EXPECT_EQ(ticks, rounds);
    EXPECT_EQ(others, rounds);
    EXPECT_EQ(stopTimer(id), 1);
    platformSetManualTimers(0);
}

TEST(PostedMessages, WindowAndParametersArriveUnchanged) {
    PlatformWindow* window = testWindow();
    ASSERT_NE(window, nullptr);
    int target = 0;
    // Both parameters are pointer-sized: the high half of each must survive.
    const uintptr_t wide = static_cast<uintptr_t>(0xFEDCBA9876543210u);
    ASSERT_EQ(platformPostMessage(window, WM_USER + 3, wide, reinterpret_cast<intptr_t>(&target)),
              1);
    ASSERT_EQ(platformPostMessage(nullptr, WM_USER + 4, 7, -5), 1);
    platformPostQuitMessage(42);

    Message message;
    ASSERT_EQ(nextPosted(&message), 1);
    EXPECT_EQ(message.window, window);
    EXPECT_EQ(message.message, WM_USER + 3);
    EXPECT_EQ(message.wParam, wide);
    ASSERT_EQ(message.lParam, reinterpret_cast<intptr_t>(&target));
    *reinterpret_cast<int*>(message.lParam) = 1;
    EXPECT_EQ(target, 1);

    ASSERT_EQ(nextPosted(&message), 1);
    EXPECT_EQ(message.window, nullptr);
    EXPECT_EQ(message.message, WM_USER + 4);
    EXPECT_EQ(message.wParam, 7u);
    EXPECT_EQ(message.lParam, -5);

    EXPECT_EQ(nextPosted(&message), 0);
    EXPECT_EQ(message.message, WM_QUIT);
    EXPECT_EQ(message.window, nullptr);
    EXPECT_EQ(message.wParam, 42u);
}

} // namespace

} // namespace kavorind
