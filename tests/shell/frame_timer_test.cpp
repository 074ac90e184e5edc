#include "shell/frame_timer.h"

#include "shell_fixture.h"

namespace kavorind {

namespace {

struct FrameTimerTest : ShellTest {
    void TearDown() override {
        for (TimerSlot& slot : frameTimer.timerTable)
            if (slot.inUse)
                stopTimer(slot.timerId);
        ShellTest::TearDown();
    }
    int ticksQueued() { return countOf(drainMessages(), TickMessage); }
};

} // namespace

TEST(TimerPeriod, ThirtyTicksASecondAre33MillisecondsApart) {
    EXPECT_EQ(timerPeriod(30), 33u);
    EXPECT_EQ(timerPeriod(1), 1000u);
    EXPECT_EQ(timerPeriod(5000), 1u);
}

TEST_F(FrameTimerTest, RefusesARateOfZeroAndAMissingOutAddress) {
    int id = -5;
    EXPECT_EQ(startTimer(0, &id, displaySettings.window, TickMessage), 0);
    EXPECT_EQ(startTimer(30, nullptr, displaySettings.window, TickMessage), 0);
    EXPECT_EQ(id, -5);
    EXPECT_EQ(frameTimer.timerTable[0].inUse, 0);
}

TEST_F(FrameTimerTest, AThirtyFirstTimerIsRefusedAndChangesNothing) {
    int ids[timerSlotCount];
    for (int& id : ids)
        ASSERT_EQ(startTimer(30, &id, displaySettings.window, TickMessage), 1);
    int extra = 0;
    EXPECT_EQ(startTimer(30, &extra, displaySettings.window, TickMessage), 0);
    EXPECT_EQ(extra, 0);
    for (int i = 0; i < timerSlotCount; ++i)
        EXPECT_EQ(frameTimer.timerTable[static_cast<size_t>(i)].timerId, ids[i]);
}

TEST_F(FrameTimerTest, StoppedSlotIsFreedAndReusedFirst) {
    int first = 0;
    int second = 0;
    ASSERT_EQ(startTimer(30, &first, displaySettings.window, TickMessage), 1);
    ASSERT_EQ(startTimer(30, &second, displaySettings.window, TickMessage), 1);
    EXPECT_EQ(stopTimer(first), 1);
    EXPECT_EQ(stopTimer(first), 0);
    EXPECT_EQ(frameTimer.timerTable[0].inUse, 0);
    EXPECT_EQ(frameTimer.timerTable[0].timerId, 0);
    int third = 0;
    ASSERT_EQ(startTimer(30, &third, displaySettings.window, TickMessage), 1);
    EXPECT_EQ(frameTimer.timerTable[0].timerId, third);
    EXPECT_EQ(stopTimer(12345), 0);
}

TEST_F(FrameTimerTest, NoSecondTickWhileTheFirstIsPending) {
    int id = 0;
    ASSERT_EQ(startTimer(30, &id, displaySettings.window, TickMessage), 1);
    onTimer(id);
    onTimer(id);
    onTimer(id);
    std::vector<Message> queued = drainMessages();
    ASSERT_EQ(countOf(queued, TickMessage), 1);
    EXPECT_EQ(queued[0].wParam, static_cast<uintptr_t>(id));
    auto* pending = reinterpret_cast<PendingFlag*>(queued[0].lParam);
    EXPECT_EQ(pending, &frameTimer.timerTable[0].pending);
    EXPECT_EQ(*pending, 1);
    onTimer(id);
    EXPECT_EQ(ticksQueued(), 0);
    pending->store(0);
    onTimer(id);
    EXPECT_EQ(ticksQueued(), 1);
}

TEST_F(FrameTimerTest, CallbacksForUnknownOrStoppedTimersPostNothing) {
    int id = 0;
    ASSERT_EQ(startTimer(30, &id, displaySettings.window, TickMessage), 1);
    stopTimer(id);
    onTimer(id);
    onTimer(999);
    EXPECT_EQ(ticksQueued(), 0);
}

TEST_F(FrameTimerTest, RealTimerThreadStopsCleanlyWhileTicksArePending) {
    platformSetManualTimers(0);
    int id = 0;
    ASSERT_EQ(startTimer(1000, &id, displaySettings.window, TickMessage), 1);
    // However long the handler takes, at most one tick waits in the queue.
    int seen = 0;
    for (int round = 0; round < 5; ++round) {
        platformWaitMessage();
        std::vector<Message> queued = drainMessages();
        int ticks = countOf(queued, TickMessage);
        EXPECT_LE(ticks, 1);
        seen += ticks;
        for (const Message& message : queued)
            if (message.message == TickMessage)
                reinterpret_cast<PendingFlag*>(message.lParam)->store(0);
    }
    EXPECT_EQ(stopTimer(id), 1);
    platformSetManualTimers(1);
    EXPECT_GE(seen, 1);
}

} // namespace kavorind
