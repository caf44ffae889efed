// Timing helpers shared by the benchmarks: seconds from the high-resolution
// performance counter, and the median of repeated measurements.
#ifndef MAPEDITOR_BENCH_BENCHCLOCK_H
#define MAPEDITOR_BENCH_BENCHCLOCK_H

#include <windows.h>

#include <algorithm>
#include <vector>

inline double Now()
{
    static LARGE_INTEGER frequency = {};
    if (!frequency.QuadPart)
        QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER count;
    QueryPerformanceCounter(&count);
    return (double)count.QuadPart / (double)frequency.QuadPart;
}

inline double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

#endif
