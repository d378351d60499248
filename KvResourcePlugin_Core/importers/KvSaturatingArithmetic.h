#pragma once

#include <cstdint>
#include <limits>

// Size arithmetic on values read from files: a result beyond 64 bits stays at the largest
// value, which every limit refuses, instead of wrapping round to a small one.
inline uint64_t KvSaturatingAdd(uint64_t a, uint64_t b)
{
    uint64_t sum = 0;
    return __builtin_add_overflow(a, b, &sum) ? std::numeric_limits<uint64_t>::max() : sum;
}

inline uint64_t KvSaturatingMultiply(uint64_t a, uint64_t b)
{
    uint64_t product = 0;
    return __builtin_mul_overflow(a, b, &product) ? std::numeric_limits<uint64_t>::max() : product;
}
