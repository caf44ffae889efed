// Seconds since start and between frames, from the high-resolution
// performance counter.
#ifndef MAPEDITOR_FRAMETIMER_H
#define MAPEDITOR_FRAMETIMER_H

class FrameTimer
{
  public:
    long long startCount = 0;
    float frameTime = 0.0f; // seconds between the last two ticks
    float lastTime = 0.0f;  // seconds since start at the last tick
    double secondsPerCount = 0.0;
    bool disabled = false; // the counter is unusable: every reading is 0

    FrameTimer();

    // Seconds since construction; 0.0 when disabled.
    double Elapsed() const;

    // Advances to now and returns the new frameTime, which is never 0 unless
    // the timer is disabled (then 0 and nothing changes).
    float Tick();
};

#endif
