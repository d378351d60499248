#include "src/foundation/KvPlatformClock.h"

#include <ctime>

namespace KvPlatform
{
uint64_t GetCounter()
{
    timespec now = {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint64_t>(now.tv_sec) * 1000000000ull + static_cast<uint64_t>(now.tv_nsec);
}

uint64_t GetCounterFrequency()
{
    return 1000000000ull;
}
} // namespace KvPlatform
