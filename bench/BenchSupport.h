#pragma once

#include <sys/resource.h>

// Peak resident memory of this process so far, in megabytes.
inline double peakMemoryMb()
{
    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}
