#pragma once

#include <cstdint>

// Float random numbers with 15 random bits from a linear congruential sequence. Every
// instance in a module continues the one module-wide sequence, which starts at seed 123456.
class KvRandomGeneratorCRT
{
public:
    // A value in [min, max); warns (and still answers) when min > max.
    float GetRandom(float min, float max);

    // Advances the module-wide sequence one step and returns the new seed.
    static uint32_t StepSeed();

    // The module-wide seed; exposed so that the sequence can be replayed.
    static uint32_t GetSeed();
    static void SetSeed(uint32_t seed);
};
