#include "Foundation/KvRandom.h"

#include "Foundation/KvReport.h"

#include <bit>

namespace
{
// Shared by every generator of this module.
uint32_t s_uiSeed = 123456;
} // namespace

float KvRandomGeneratorCRT::GetRandom(float min, float max)
{
    if (min > max)
        KvLogReport(kKvLogLevelWarning,
                    {"KvFoundation/api/public/Foundation/KvRandom", "KvRandomGeneratorCRT::GetRandom", 254},
                    "Max < min");
    StepSeed();
    // 15 random bits in the mantissa of a float in [1, 2).
    const float unit = std::bit_cast<float>(0x3F800000u | ((s_uiSeed >> 8) & 0x7FFF00u));
    return (max - min) * (unit - 1.0f) + min;
}

uint32_t KvRandomGeneratorCRT::StepSeed()
{
    s_uiSeed = s_uiSeed * 214013u + 2531011u;
    return s_uiSeed;
}

uint32_t KvRandomGeneratorCRT::GetSeed()
{
    return s_uiSeed;
}

void KvRandomGeneratorCRT::SetSeed(uint32_t seed)
{
    s_uiSeed = seed;
}
