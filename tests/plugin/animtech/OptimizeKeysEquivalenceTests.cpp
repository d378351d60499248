#include "support/ReferenceKeyReduction.h"
#include "support/TAnimatedSkeletonTestAccess.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <random>

#include <gtest/gtest.h>

using namespace AnimationTech;

namespace
{
struct Tolerances
{
    float m_fPosition;
    float m_fAngleDegrees;
};

// A copy whose keys are changed one bone record at a time.
TAnimatedSkeleton WithBoneKeys(const TAnimatedSkeleton& animation,
                               const std::function<void(TBoneKey&)>& change)
{
    TAnimatedSkeleton result;
    for (uint32_t bone = 0; bone < animation.GetBonesCount(); ++bone)
        result.AddBone(*animation.GetBone(bone));
    for (uint32_t index = 0; index < animation.GetKeysCount(); ++index)
    {
        TKeyFrame key = *animation.GetKey(index);
        for (TBoneKey& boneKey : key.m_aBoneKeys)
            change(boneKey);
        result.AddKey(key);
    }
    return result;
}

// Rotations negated at random (q and -q are one rotation, but slerp takes the near one), and
// now and then a NaN or an infinity in a rotation or translation.
TAnimatedSkeleton WithFlipsAndNonFinite(const TAnimatedSkeleton& animation, uint32_t seed)
{
    std::mt19937 random(seed);
    const float strange[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                             -std::numeric_limits<float>::infinity()};
    return WithBoneKeys(animation,
                        [&](TBoneKey& boneKey)
                        {
                            if (random() % 3 == 0)
                                boneKey.m_Rotation = {-boneKey.m_Rotation.x, -boneKey.m_Rotation.y,
                                                      -boneKey.m_Rotation.z, -boneKey.m_Rotation.w};
                            AniQuat& q = boneKey.m_Rotation;
                            Ani3DVector& t = boneKey.m_Translation;
                            float* const components[] = {&q.x, &q.y, &q.z, &q.w, &t.x, &t.y, &t.z};
                            if (random() % 97 == 0)
                                *components[random() % 4] = strange[random() % 3];
                            if (random() % 89 == 0)
                                *components[4 + random() % 3] = strange[random() % 3];
                        });
}

// Every key the same pose, whatever its time.
TAnimatedSkeleton WithConstantPose(const TAnimatedSkeleton& animation)
{
    const TKeyFrame first = *animation.GetKey(0);
    uint32_t bone = 0;
    return WithBoneKeys(animation,
                        [&](TBoneKey& boneKey)
                        {
                            boneKey = first.m_aBoneKeys[bone];
                            bone = (bone + 1) % static_cast<uint32_t>(first.m_aBoneKeys.size());
                        });
}

std::vector<float> FastKeptTimes(const TAnimatedSkeleton& animation, const Tolerances& tolerance,
                                 uint32_t threadCount)
{
    TAnimatedSkeleton optimized(animation);
    TAnimatedSkeletonTestAccess::OptimizeKeys(optimized, tolerance.m_fPosition, tolerance.m_fAngleDegrees,
                                              threadCount);
    return KeyTimesOf(optimized);
}
} // namespace

// The fast reduction must keep exactly the keys the plain algorithm keeps, on one thread and
// on several. Every third animation has runs of keys at one time, where the interpolation
// factor is 0/0; the variants flip rotations, add non-finite values, hold one pose, or move
// so slowly that spans between kept keys grow long.
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
        const TAnimatedSkeleton walk = MakeWalkAnimation(boneCount, keyCount, seed, noise, repeatChance);
        const TAnimatedSkeleton variants[] = {
            walk, WithFlipsAndNonFinite(walk, seed), WithConstantPose(walk),
            MakeWalkAnimation(boneCount, keyCount * 4, seed, 0.0f, repeatChance, 0.3f)};
        for (const TAnimatedSkeleton& animation : variants)
        {
            for (const Tolerances& tolerance : tolerances)
            {
                const std::vector<float> expected =
                    ReferenceOptimizeKeys(animation, tolerance.m_fPosition, tolerance.m_fAngleDegrees);
                for (uint32_t threads : {1u, 3u})
                    ASSERT_EQ(FastKeptTimes(animation, tolerance, threads), expected)
                        << "seed " << seed << " variant " << (&animation - variants) << " tolerances "
                        << tolerance.m_fPosition << ", " << tolerance.m_fAngleDegrees << " threads "
                        << threads;
            }
        }
    }
}

// Long rounds are split over threads; the kept keys must not depend on how many.
TEST(OptimizeKeysEquivalence, LongSpansGiveTheSameKeysOnAnyThreadCount)
{
    const TAnimatedSkeleton animation = MakeWalkAnimation(12, 1500, 11, 0.0f, 0.0f, 0.2f);
    const Tolerances tolerance{0.05f, 3.0f};
    const std::vector<float> expected =
        ReferenceOptimizeKeys(animation, tolerance.m_fPosition, tolerance.m_fAngleDegrees);
    ASSERT_LT(expected.size(), 100u);
    for (uint32_t threads : {1u, 2u, 4u})
        EXPECT_EQ(FastKeptTimes(animation, tolerance, threads), expected) << "threads " << threads;
}

// The reduction holds the poses of one span at a time: its memory follows the longest span
// between kept keys (rounded out to blocks of four keys), not the key count.
TEST(OptimizeKeysEquivalence, CachedPosesAreBoundedByTheLongestSpan)
{
    const uint32_t boneCount = 5;
    const TAnimatedSkeleton animation = MakeWalkAnimation(boneCount, 2000, 3, 0.0f, 0.0f, 0.2f);
    TAnimatedSkeleton optimized(animation);
    const uint64_t peakPoses = TAnimatedSkeletonTestAccess::OptimizeKeys(optimized, 0.05f, 3.0f, 1);
    uint32_t longestSpan = 0;
    for (uint32_t key = 1; key < optimized.GetKeysCount(); ++key)
    {
        const float span = (optimized.GetKeyTime(key) - optimized.GetKeyTime(key - 1)) * 30.0f;
        longestSpan = std::max(longestSpan, static_cast<uint32_t>(std::lround(span)));
    }
    ASSERT_LT(optimized.GetKeysCount(), 200u);
    EXPECT_LE(peakPoses, uint64_t(longestSpan + 7) * boneCount);
    EXPECT_GE(peakPoses, uint64_t(longestSpan - 1) * boneCount);
}

TEST(OptimizeKeysEquivalence, ReducesANoiselessWalk)
{
    TAnimatedSkeleton animation = MakeWalkAnimation(10, 120, 7, 0.0f);
    animation.OptimizeKeys(0.01f, 2.0f);
    EXPECT_LT(animation.GetKeysCount(), 120u);
    EXPECT_GT(animation.GetKeysCount(), 2u);
}
