// The frame timer: ticks report the seconds that passed and never a zero
// frame time; a disabled timer reports 0 and changes nothing.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/FrameTimer.h"

TEST(FrameTimer, EveryTickReportsTheSecondsThatPassedAndNeverZero)
{
    FrameTimer timer;
    ASSERT_FALSE(timer.disabled);
    Sleep(30);
    const float first = timer.Tick(); // everything since construction
    EXPECT_GE(first, 0.025f);
    EXPECT_LT(first, 5.0f);
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
