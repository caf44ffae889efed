// The frame timer.
#include "app/FrameTimer.h"

#include <windows.h>

FrameTimer::FrameTimer()
{
    LARGE_INTEGER frequency;
    if (!QueryPerformanceFrequency(&frequency) || frequency.QuadPart == 0)
    {
        disabled = true;
        return;
    }
    secondsPerCount = 1.0 / (double)frequency.QuadPart;
    LARGE_INTEGER count;
    if (!QueryPerformanceCounter(&count))
    {
        disabled = true;
        return;
    }
    startCount = count.QuadPart;
    lastTime = (float)Elapsed();
}

double FrameTimer::Elapsed() const
{
    if (disabled)
        return 0.0;
    LARGE_INTEGER count;
    QueryPerformanceCounter(&count);
    return (double)(count.QuadPart - startCount) * secondsPerCount;
}

float FrameTimer::Tick()
{
    if (disabled)
        return 0.0f;
    // Times are kept as 32-bit floats; wait until the reading moves so that a
    // tick never reports a zero frame time.
    float now;
    do
    {
        now = (float)Elapsed();
    } while (now == lastTime);
    frameTime = now - lastTime;
    lastTime = now;
    return frameTime;
}
