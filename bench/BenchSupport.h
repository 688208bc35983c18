#pragma once

#include <sys/resource.h>

// Peak resident memory of this process so far, in megabytes.
inline double peakMemoryMb()
{
    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

// Processor time this process has used so far (user and system), in
// seconds: less disturbed than the clock when other work shares the
// machine.
inline double cpuSeconds()
{
    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec
        + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}
