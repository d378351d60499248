#pragma once

#include "animtech/TAnimatedSkeleton.h"

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

namespace AnimationTech
{
// Reaches the skeleton's private steps.
class TAnimatedSkeletonTestAccess
{
public:
    static void FixTime(TAnimatedSkeleton& skeleton) { skeleton.FixTime(); }
    static void GetKeyIndices(const TAnimatedSkeleton& skeleton, float time, uint32_t& first,
                              uint32_t& second, float& factor)
    {
        skeleton.GetKeyIndices(time, first, second, factor);
    }
    static bool ComparePoses(const TAnimatedSkeleton& skeleton, const AniMatrix4x3* a, const AniMatrix4x3* b,
                             float positionTolerance, float angleToleranceDegrees)
    {
        return skeleton.ComparePoses(a, b, positionTolerance, angleToleranceDegrees);
    }
    // Returns the most bone poses of keys the reduction held at once.
    static uint64_t OptimizeKeys(TAnimatedSkeleton& skeleton, float positionTolerance,
                                 float angleToleranceDegrees, uint32_t threadCount)
    {
        return skeleton.OptimizeKeysOnThreads(positionTolerance, angleToleranceDegrees, threadCount);
    }
};
} // namespace AnimationTech

inline std::vector<float> KeyTimesOf(const AnimationTech::TAnimatedSkeleton& skeleton)
{
    std::vector<float> times;
    for (uint32_t key = 0; key < skeleton.GetKeysCount(); ++key)
        times.push_back(skeleton.GetKeyTime(key));
    return times;
}

inline AnimationTech::AniQuat QuatFromAxisAngle(float ax, float ay, float az, float radians)
{
    const float length = std::sqrt(ax * ax + ay * ay + az * az);
    const float s = std::sin(radians * 0.5f) / length;
    return {ax * s, ay * s, az * s, std::cos(radians * 0.5f)};
}

// A walk-like motion at 30 keys per second: a root moving forward, limbs swinging on sine
// waves (swingRate radians per second) with per-bone phase, plus noise. With a repeat chance,
// a key takes the previous key's time instead of the next frame's, so runs of keys share one
// time. Same seed, same animation.
inline AnimationTech::TAnimatedSkeleton MakeWalkAnimation(uint32_t boneCount, uint32_t keyCount,
                                                          uint32_t seed, float noise,
                                                          float repeatChance = 0.0f, float swingRate = 6.0f)
{
    using namespace AnimationTech;
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
    TAnimatedSkeleton skeleton;
    std::vector<float> phase(boneCount);
    std::vector<Ani3DVector> offset(boneCount);
    for (uint32_t bone = 0; bone < boneCount; ++bone)
    {
        TBone record;
        record.m_strName = "bone" + std::to_string(bone);
        record.m_iParent = bone == 0 ? -1 : static_cast<int32_t>(random() % bone);
        skeleton.AddBone(record);
        phase[bone] = unit(random) * 3.14159f;
        offset[bone] = {unit(random) * 0.2f, 0.3f + unit(random) * 0.1f, unit(random) * 0.2f};
    }
    std::uniform_real_distribution<float> chance(0.0f, 1.0f);
    uint32_t frameIndex = 0;
    for (uint32_t key = 0; key < keyCount; ++key)
    {
        const bool bRepeat = repeatChance > 0.0f && chance(random) < repeatChance;
        if (key > 0 && !bRepeat)
            ++frameIndex;
        TKeyFrame frame;
        frame.m_fTime = static_cast<float>(frameIndex) / 30.0f;
        for (uint32_t bone = 0; bone < boneCount; ++bone)
        {
            const float swing =
                0.6f * std::sin(frame.m_fTime * swingRate + phase[bone]) + noise * unit(random);
            TBoneKey boneKey;
            boneKey.m_Rotation = QuatFromAxisAngle(1.0f, 0.2f * bone, 0.1f, swing);
            boneKey.m_Translation = bone == 0 ? Ani3DVector{0.0f, 1.0f, 1.4f * frame.m_fTime}
                                              : Ani3DVector{offset[bone].x + noise * unit(random),
                                                            offset[bone].y, offset[bone].z};
            frame.m_aBoneKeys.push_back(boneKey);
        }
        skeleton.AddKey(frame);
    }
    return skeleton;
}
