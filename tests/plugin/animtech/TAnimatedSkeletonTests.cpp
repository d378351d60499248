#include "animtech/TAnimatedSkeleton.h"
#include "support/TAnimatedSkeletonTestAccess.h"

#include <bit>
#include <cmath>
#include <type_traits>

#include <gtest/gtest.h>

using namespace AnimationTech;

namespace
{
using Access = TAnimatedSkeletonTestAccess;

TBoneKey Pose(AniQuat rotation, Ani3DVector translation)
{
    TBoneKey key;
    key.m_Rotation = rotation;
    key.m_Translation = translation;
    return key;
}

// A skeleton of bones with the given parents, then the given keys.
TAnimatedSkeleton Skeleton(const std::vector<int32_t>& parents, const std::vector<TKeyFrame>& keys)
{
    TAnimatedSkeleton skeleton;
    for (int32_t parent : parents)
    {
        TBone bone;
        bone.m_iParent = parent;
        EXPECT_TRUE(skeleton.AddBone(bone));
    }
    for (const TKeyFrame& key : keys)
        EXPECT_TRUE(skeleton.AddKey(key));
    return skeleton;
}

// Keys at the given times, every bone at identity with a translation of (time, 0, 0).
TAnimatedSkeleton MakeSkeleton(const std::vector<int32_t>& parents, const std::vector<float>& times)
{
    std::vector<TKeyFrame> keys;
    for (float time : times)
        keys.push_back({time, std::vector<TBoneKey>(parents.size(), Pose({}, {time, 0.0f, 0.0f}))});
    return Skeleton(parents, keys);
}

// A bone's local translation and rotation at a time.
std::pair<Ani3DVector, AniQuat> Sample(const TAnimatedSkeleton& skeleton, float time)
{
    std::pair<Ani3DVector, AniQuat> local;
    skeleton.GetLocalBoneAtTime(0, time, local.first, local.second);
    return local;
}
} // namespace

TEST(AnimatedSkeleton, KeySearch_NoEarlyExitAndUnclampedFactor)
{
    const TAnimatedSkeleton skeleton = MakeSkeleton({-1}, {0.0f, 1.0f, 2.0f});
    const std::tuple<float, uint32_t, uint32_t, float> rows[] = {
        {1.5f, 1, 2, 0.5f}, {1.0f, 0, 1, 1.0f}, {5.0f, 2, 2, 0.0f}, {-1.0f, 0, 1, -1.0f}};
    for (const auto& [time, expectedFirst, expectedSecond, expectedFactor] : rows)
    {
        uint32_t first = 99;
        uint32_t second = 99;
        float factor = 99.0f;
        Access::GetKeyIndices(skeleton, time, first, second, factor);
        EXPECT_EQ(std::tie(first, second, factor), std::tie(expectedFirst, expectedSecond, expectedFactor))
            << "time " << time;
    }
    // Before the first key the translation extrapolates.
    EXPECT_FLOAT_EQ(Sample(skeleton, -1.0f).first.x, -1.0f);
}

TEST(AnimatedSkeleton, SingleKey_EveryTimeSamplesIt)
{
    const TAnimatedSkeleton skeleton = MakeSkeleton({-1}, {0.5f});
    for (float time : {-3.0f, 0.0f, 0.5f, 100.0f})
    {
        EXPECT_EQ(Sample(skeleton, time).first.x, 0.5f);
        EXPECT_EQ(Sample(skeleton, time).second.w, 1.0f);
    }
    EXPECT_EQ(skeleton.GetAnimationLength(), 0.5f);
}

// Halfway from identity to a quarter turn is an eighth turn; equal or opposite rotations (q and -q
// are one) give the second exactly as stored.
TEST(AnimatedSkeleton, Slerp_HalfwayAndCoincidentRotations)
{
    const AniQuat half = Sample(Skeleton({-1}, {{0.0f, {Pose({}, {})}},
                                                {1.0f, {Pose(QuatFromAxisAngle(0, 0, 1, 1.5707964f), {})}}}),
                                0.5f)
                             .second;
    const AniQuat expected = QuatFromAxisAngle(0, 0, 1, 0.7853982f);
    EXPECT_NEAR(half.z, expected.z, 1e-6f);
    EXPECT_NEAR(half.w, expected.w, 1e-6f);

    const AniQuat q = QuatFromAxisAngle(0.0f, 1.0f, 0.0f, 0.7f);
    const AniQuat minusQ = {-q.x, -q.y, -q.z, -q.w};
    for (const AniQuat& second : {q, minusQ})
    {
        const AniQuat rotation =
            Sample(Skeleton({-1}, {{0.0f, {Pose(q, {})}}, {1.0f, {Pose(second, {})}}}), 0.3f).second;
        EXPECT_EQ(std::tie(rotation.x, rotation.y, rotation.z, rotation.w),
                  std::tie(second.x, second.y, second.z, second.w));
    }
}

TEST(AnimatedSkeleton, Matrices_ChildConcatenatedWithRotatedParent)
{
    // Parent turned 90 degrees about z at (1, 2, 3); child 2 along x in the parent.
    const TAnimatedSkeleton skeleton = Skeleton(
        {-1, 0}, {{0.0f, {Pose(QuatFromAxisAngle(0, 0, 1, 1.5707964f), {1, 2, 3}), Pose({}, {2, 0, 0})}}});
    AniMatrix4x3 matrices[2];
    skeleton.GetMatrices(0.0f, matrices);
    // Rows follow the matrix formula: row 0 = (1 - 2(y² + z²), 2(xy - wz), 2(xz + wy)).
    EXPECT_NEAR(matrices[0].At(0, 0), 0.0f, 1e-6f);
    EXPECT_NEAR(matrices[0].At(0, 1), -1.0f, 1e-6f);
    EXPECT_NEAR(matrices[0].At(1, 0), 1.0f, 1e-6f);
    EXPECT_EQ(matrices[0].At(3, 1), 2.0f);
    // The child's translation row times the parent's block, plus the parent's row 3:
    // 2 * (0, -1, 0) + (1, 2, 3).
    EXPECT_NEAR(matrices[1].At(3, 0), 1.0f, 1e-6f);
    EXPECT_NEAR(matrices[1].At(3, 1), 0.0f, 1e-6f);
    EXPECT_NEAR(matrices[1].At(3, 2), 3.0f, 1e-6f);
    EXPECT_NEAR(matrices[1].At(0, 1), -1.0f, 1e-6f);
}

// Keys within the tolerance of the 30 Hz grid snap to it, all or none. The tolerance is the float
// nearest 0.0016666668 (0x3ADA740F, where 1.0f / 600.0f is 0x3ADA740E): a key before frame 0's
// half-way mark deviates by its own time, so 0x3ADA740F snaps and the next float up does not.
TEST(AnimatedSkeleton, FixTime_SnapsToThe30HzGridWhenEveryKeyIsNear)
{
    const float atTolerance = std::bit_cast<float>(0x3ADA740Fu);
    const float aboveTolerance = std::bit_cast<float>(0x3ADA7410u);
    const std::pair<std::vector<float>, std::vector<float>> rows[] = {
        {{0.0f, 0.0334f, 0.0667f}, {0.0f, 0.033333335f, 2.0f * 0.033333335f}},
        {{0.0f, 0.0334f, 0.05f, 0.0667f}, {0.0f, 0.0334f, 0.05f, 0.0667f}},
        {{0.0f, atTolerance}, {0.0f, 0.0f}},
        {{0.0f, aboveTolerance}, {0.0f, aboveTolerance}},
    };
    for (const auto& [times, fixed] : rows)
    {
        TAnimatedSkeleton skeleton = MakeSkeleton({-1}, times);
        Access::FixTime(skeleton);
        EXPECT_EQ(KeyTimesOf(skeleton), fixed);
    }
}

TEST(AnimatedSkeleton, ComparePoses_ZeroTolerancesAcceptOnlyIdentity)
{
    const TAnimatedSkeleton skeleton = MakeSkeleton({-1}, {0.0f});
    AniMatrix4x3 a;
    a.At(0, 0) = a.At(1, 1) = a.At(2, 2) = 1.0f;
    AniMatrix4x3 b = a;
    EXPECT_TRUE(Access::ComparePoses(skeleton, &a, &b, 0.0f, 0.0f));
    b.At(3, 2) = 1e-4f;
    EXPECT_FALSE(Access::ComparePoses(skeleton, &a, &b, 0.0f, 0.0f));
    EXPECT_TRUE(Access::ComparePoses(skeleton, &a, &b, 1e-3f, 0.0f));
    b = a;
    // Tilt the x axis by about 0.6 degrees.
    b.At(0, 0) = 0.99995f;
    b.At(0, 1) = 0.01f;
    EXPECT_FALSE(Access::ComparePoses(skeleton, &a, &b, 0.0f, 0.0f));
    EXPECT_TRUE(Access::ComparePoses(skeleton, &a, &b, 0.0f, 1.0f));
    // Without bones there is nothing to differ.
    const TAnimatedSkeleton empty;
    EXPECT_TRUE(Access::ComparePoses(empty, &a, &b, 0.0f, 0.0f));
    // A NaN deviation (what a 0/0 factor yields) exceeds no tolerance.
    b = a;
    b.At(3, 0) = std::nanf("");
    EXPECT_TRUE(Access::ComparePoses(skeleton, &a, &b, 0.0f, 0.0f));
    b.At(0, 0) = std::nanf("");
    EXPECT_TRUE(Access::ComparePoses(skeleton, &a, &b, 0.0f, 0.0f));
}

// Linear motion keeps its ends; keys sharing a time collapse (the factor 0/0 interpolates to NaN,
// which matches); without bones every pose matches; fewer than three keys stay whatever the
// tolerances.
TEST(AnimatedSkeleton, OptimizeKeys_KeptTimes)
{
    const std::tuple<std::vector<int32_t>, std::vector<float>, float, float, std::vector<float>> rows[] = {
        {{-1, 0}, {0.0f, 0.25f, 0.5f, 1.0f, 1.5f, 3.0f}, 1e-4f, 0.0f, {0.0f, 3.0f}},
        {{-1}, {1.0f, 1.0f, 1.0f}, 0.0f, 0.0f, {1.0f, 1.0f}},
        {{-1}, {0.0f, 0.0f, 0.0f, 1.0f}, 0.0f, 0.0f, {0.0f, 1.0f}},
        {{}, {0.0f, 0.5f, 1.0f, 4.0f}, 0.0f, 0.0f, {0.0f, 4.0f}},
        {{-1}, {0.0f, 1.0f}, 100.0f, 180.0f, {0.0f, 1.0f}},
    };
    for (const auto& [parents, times, position, angle, kept] : rows)
    {
        TAnimatedSkeleton skeleton = MakeSkeleton(parents, times);
        skeleton.OptimizeKeys(position, angle);
        EXPECT_EQ(KeyTimesOf(skeleton), kept) << times.size() << " keys";
    }
}

// A key whose distance from the interpolation equals the position tolerance exactly is
// reproduced; one ulp less tolerance keeps it.
TEST(AnimatedSkeleton, OptimizeKeys_DistanceAtTheToleranceIsReproduced)
{
    const std::vector<TKeyFrame> keys = {{0.0f, {Pose({}, {0.0f, 0.0f, 0.0f})}},
                                         {1.0f, {Pose({}, {0.75f, 0.0f, 0.0f})}},
                                         {2.0f, {Pose({}, {1.0f, 0.0f, 0.0f})}}};
    const std::pair<float, std::vector<float>> rows[] = {
        {0.25f, {0.0f, 2.0f}},
        {std::nextafter(0.25f, 0.0f), {0.0f, 1.0f, 2.0f}},
    };
    for (const auto& [position, kept] : rows)
    {
        TAnimatedSkeleton skeleton = Skeleton({-1}, keys);
        skeleton.OptimizeKeys(position, 0.0f);
        EXPECT_EQ(KeyTimesOf(skeleton), kept) << position;
    }
}

TEST(AnimatedSkeleton, Moves_TakeTheArraysWithoutCopying)
{
    // Containers of skeletons move them on growth only when the move cannot throw.
    EXPECT_TRUE(std::is_nothrow_move_constructible_v<TAnimatedSkeleton>);
    EXPECT_TRUE(std::is_nothrow_move_assignable_v<TAnimatedSkeleton>);
    TAnimatedSkeleton original = MakeSkeleton({-1, 0}, {0.0f, 1.0f, 2.0f});
    const TBone* pBones = original.GetBone(0);
    const TKeyFrame* pKeys = original.GetKey(0);
    TAnimatedSkeleton moved(std::move(original));
    EXPECT_EQ(moved.GetBone(0), pBones);
    EXPECT_EQ(moved.GetKey(0), pKeys);
    TAnimatedSkeleton assigned = MakeSkeleton({-1}, {5.0f});
    assigned = std::move(moved);
    EXPECT_EQ(assigned.GetBone(0), pBones);
    EXPECT_EQ(assigned.GetKey(0), pKeys);
    EXPECT_EQ(assigned.GetKeysCount(), 3u);
}

TEST(AnimatedSkeleton, Building_RefusesWhatBreaksTheInvariants)
{
    TAnimatedSkeleton skeleton;
    TBone forwardParent;
    forwardParent.m_iParent = 0;
    EXPECT_FALSE(skeleton.AddBone(forwardParent));
    EXPECT_TRUE(skeleton.AddBone(TBone()));
    EXPECT_FALSE(skeleton.AddKey({0.0f, {}}));
    EXPECT_TRUE(skeleton.AddKey({1.0f, {TBoneKey()}}));
    EXPECT_FALSE(skeleton.AddKey({0.5f, {TBoneKey()}}));
    EXPECT_FALSE(skeleton.AddKey({std::nanf(""), {TBoneKey()}}));
    EXPECT_FALSE(skeleton.AddBone(TBone()));
    EXPECT_EQ(skeleton.GetBonesCount(), 1u);
    EXPECT_EQ(skeleton.GetKeysCount(), 1u);
}
