#pragma once

#include <ctime>

// CPU time of this thread in seconds, so that other processes on the machine
// do not count against either side of a ratio measured in the same run.
inline double threadSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}
