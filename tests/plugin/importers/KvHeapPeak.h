#pragma once

#include <cstdint>

// The heap bytes this program holds through operator new, and the most it held since the last
// reset. Counting replaces the global operator new and delete of the program, including the
// allocations of the modules it loads.
class KvHeapPeak
{
public:
    // Starts a new peak at what is held now.
    static void Reset();
    // The most held since the reset, beyond what was held at the reset.
    static uint64_t GetRise();
};
