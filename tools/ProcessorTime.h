#pragma once

#include <ctime>

/** The process's processor time in ms: on a shared, loaded machine it varies far less than the wall clock. */
inline double processorMs()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}
