// The frame timer: ticks never report a zero frame time, a disabled timer
// reports 0 and changes nothing.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/FrameTimer.h"

TEST(FrameTimer, EveryTickReportsTimeThatPassed)
{
    FrameTimer timer;
    ASSERT_FALSE(timer.disabled);
    float previous = timer.lastTime;
    for (int i = 0; i < 20000; ++i)
    {
        const float frame = timer.Tick();
        ASSERT_GT(frame, 0.0f) << "tick " << i;
        EXPECT_EQ(frame, timer.frameTime);
        EXPECT_EQ(timer.lastTime - previous, frame);
        previous = timer.lastTime;
    }
}

TEST(FrameTimer, ElapsedGrowsWithRealTime)
{
    FrameTimer timer;
    const double before = timer.Elapsed();
    Sleep(50);
    const double after = timer.Elapsed();
    EXPECT_GE(after - before, 0.040);
    EXPECT_LT(after - before, 5.0);
}

TEST(FrameTimer, FirstTickCoversEverythingSinceConstruction)
{
    FrameTimer timer;
    Sleep(30);
    EXPECT_GE(timer.Tick(), 0.025f);
}

TEST(FrameTimer, DisabledTimerReadsZeroAndNeverMoves)
{
    FrameTimer timer;
    timer.disabled = true;
    timer.frameTime = 0.0f;
    const float last = timer.lastTime;
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(timer.Tick(), 0.0f);
    EXPECT_EQ(timer.frameTime, 0.0f);
    EXPECT_EQ(timer.lastTime, last);
    EXPECT_EQ(timer.Elapsed(), 0.0);
}
