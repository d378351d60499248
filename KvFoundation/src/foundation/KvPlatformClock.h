#pragma once

#include <cstdint>

namespace KvPlatform
{
// A monotonic high-resolution counter and its ticks per second.
uint64_t GetCounter();
uint64_t GetCounterFrequency();
} // namespace KvPlatform
