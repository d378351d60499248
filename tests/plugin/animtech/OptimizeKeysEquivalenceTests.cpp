#include "support/ReferenceKeyReduction.h"
#include "support/TAnimatedSkeletonTestAccess.h"

#include <gtest/gtest.h>

using namespace AnimationTech;

namespace
{
struct Tolerances
{
    float m_fPosition;
    float m_fAngleDegrees;
};
} // namespace

// The fast reduction must keep exactly the keys the plain algorithm keeps. Every third
// animation has runs of keys at one time, where the interpolation factor is 0/0.
TEST(OptimizeKeysEquivalence, MatchesTheReferenceOnRandomAnimations)
{
    const Tolerances tolerances[] = {
        {0.0f, 0.0f}, {0.001f, 0.1f}, {0.01f, 1.0f}, {0.1f, 5.0f}, {1.0f, 30.0f}};
    for (uint32_t seed = 1; seed <= 40; ++seed)
    {
        const uint32_t boneCount = 1 + seed % 7;
        const uint32_t keyCount = 3 + (seed * 7) % 60;
        const float noise = (seed % 4) * 0.01f;
        const float repeatChance = seed % 3 == 0 ? 0.5f : 0.0f;
        const TAnimatedSkeleton animation = MakeWalkAnimation(boneCount, keyCount, seed, noise, repeatChance);
        for (const Tolerances& tolerance : tolerances)
        {
            TAnimatedSkeleton optimized(animation);
            optimized.OptimizeKeys(tolerance.m_fPosition, tolerance.m_fAngleDegrees);
            ASSERT_EQ(KeyTimesOf(optimized),
                      ReferenceOptimizeKeys(animation, tolerance.m_fPosition, tolerance.m_fAngleDegrees))
                << "seed " << seed << " tolerances " << tolerance.m_fPosition << ", "
                << tolerance.m_fAngleDegrees;
        }
    }
}

TEST(OptimizeKeysEquivalence, ReducesANoiselessWalk)
{
    TAnimatedSkeleton animation = MakeWalkAnimation(10, 120, 7, 0.0f);
    animation.OptimizeKeys(0.01f, 2.0f);
    EXPECT_LT(animation.GetKeysCount(), 120u);
    EXPECT_GT(animation.GetKeysCount(), 2u);
}
