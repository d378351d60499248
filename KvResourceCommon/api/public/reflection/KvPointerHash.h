#pragma once

#include <cstddef>
#include <cstdint>

// The slot of a pointer in a table of 2^bits slots. Fibonacci hashing: the multiplication
// spreads the aligned low bits of the address over the high ones that pick the slot.
inline size_t KvPointerHash(const void* pPointer, uint32_t bits)
{
    return static_cast<size_t>((reinterpret_cast<uintptr_t>(pPointer) * 0x9E3779B97F4A7C15ull) >>
                               (64 - bits));
}
