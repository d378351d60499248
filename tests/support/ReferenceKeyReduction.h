#pragma once

#include "animtech/TAnimatedSkeleton.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

// Key reduction written out plainly from its description, sharing nothing with the skeleton
// but its public data: its own slerp, bone matrices, concatenation and pose comparison, and
// every pose sampled afresh for every test. The arithmetic follows the description step by
// step, so it agrees with a correct implementation to the last bit.
namespace ReferenceKeyReduction
{
using Matrix = std::array<float, 12>; // rows 0..2 rotation, row 3 translation

inline AnimationTech::AniQuat Slerp(const AnimationTech::AniQuat& q0, const AnimationTech::AniQuat& q1,
                                    float factor)
{
    float near[4] = {q1.x, q1.y, q1.z, q1.w};
    float dot = q0.x * q1.x + q0.y * q1.y + q0.z * q1.z + q0.w * q1.w;
    if (dot < 0.0f)
    {
        for (float& component : near)
            component = -component;
        dot = -dot;
    }
    const float angle = std::acos(std::min(dot, 1.0f));
    const float sine = std::sin(angle);
    if (std::fabs(sine) < 1e-6f)
        return q1;
    const float weight0 = std::sin((1.0f - factor) * angle) / sine;
    const float weight1 = std::sin(factor * angle) / sine;
    return {q0.x * weight0 + near[0] * weight1, q0.y * weight0 + near[1] * weight1,
            q0.z * weight0 + near[2] * weight1, q0.w * weight0 + near[3] * weight1};
}

inline Matrix BoneMatrix(const AnimationTech::AniQuat& q, float tx, float ty, float tz)
{
    const float x2 = 2.0f * q.x;
    const float y2 = 2.0f * q.y;
    const float z2 = 2.0f * q.z;
    return {1.0f - (y2 * q.y + z2 * q.z),
            q.x * y2 - q.w * z2,
            q.x * z2 + q.w * y2,
            q.x * y2 + q.w * z2,
            1.0f - (x2 * q.x + z2 * q.z),
            q.y * z2 - q.w * x2,
            q.x * z2 - q.w * y2,
            q.y * z2 + q.w * x2,
            1.0f - (x2 * q.x + y2 * q.y),
            tx,
            ty,
            tz};
}

// a (x) b: rows of a through b's rotation block; a's translation row also moved by b's.
inline Matrix Concatenate(const Matrix& a, const Matrix& b)
{
    Matrix result{};
    for (int row = 0; row < 4; ++row)
    {
        for (int column = 0; column < 3; ++column)
        {
            const float* pRow = &a[3 * row];
            const float sum = pRow[0] * b[column] + pRow[1] * b[3 + column] + pRow[2] * b[6 + column];
            result[3 * row + column] = row == 3 ? sum + b[9 + column] : sum;
        }
    }
    return result;
}

// Every bone in model space, interpolated between two keys.
inline std::vector<Matrix> ModelPose(const AnimationTech::TAnimatedSkeleton& skeleton, uint32_t first,
                                     uint32_t second, float factor)
{
    std::vector<Matrix> pose;
    for (uint32_t bone = 0; bone < skeleton.GetBonesCount(); ++bone)
    {
        const AnimationTech::TBoneKey& from = skeleton.GetKey(first)->m_aBoneKeys[bone];
        const AnimationTech::TBoneKey& to = skeleton.GetKey(second)->m_aBoneKeys[bone];
        const float keep = 1.0f - factor;
        Matrix local = BoneMatrix(Slerp(from.m_Rotation, to.m_Rotation, factor),
                                  keep * from.m_Translation.x + factor * to.m_Translation.x,
                                  keep * from.m_Translation.y + factor * to.m_Translation.y,
                                  keep * from.m_Translation.z + factor * to.m_Translation.z);
        const int32_t parent = skeleton.GetBoneParent(bone);
        pose.push_back(parent == -1 ? local : Concatenate(local, pose[parent]));
    }
    return pose;
}

// Poses differ only where a deviation exceeds its limit; a NaN exceeds nothing.
inline bool PosesDiffer(const std::vector<Matrix>& a, const std::vector<Matrix>& b, float positionTolerance,
                        float angleToleranceDegrees)
{
    const float maxAxisDeviation = 1.0f - std::cos(angleToleranceDegrees * 3.1415925f / 180.0f);
    for (size_t bone = 0; bone < a.size(); ++bone)
    {
        for (int row = 0; row < 3; ++row)
        {
            const float* pA = &a[bone][3 * row];
            const float* pB = &b[bone][3 * row];
            if (1.0f - (pA[0] * pB[0] + pA[1] * pB[1] + pA[2] * pB[2]) > maxAxisDeviation)
                return true;
        }
        const float dx = a[bone][9] - b[bone][9];
        const float dy = a[bone][10] - b[bone][10];
        const float dz = a[bone][11] - b[bone][11];
        if (dx * dx + dy * dy + dz * dz > positionTolerance * positionTolerance)
            return true;
    }
    return false;
}
} // namespace ReferenceKeyReduction

// The times of the keys that the reduction keeps.
inline std::vector<float> ReferenceOptimizeKeys(const AnimationTech::TAnimatedSkeleton& skeleton,
                                                float positionTolerance, float angleToleranceDegrees)
{
    using namespace ReferenceKeyReduction;
    const uint32_t keyCount = skeleton.GetKeysCount();
    std::vector<bool> removed(keyCount, false);
    uint32_t anchor = 0;
    for (uint32_t end = 2; end < keyCount; ++end)
    {
        removed[end - 1] = true;
        for (uint32_t key = anchor + 1; key < end; ++key)
        {
            const float factor = (skeleton.GetKeyTime(key) - skeleton.GetKeyTime(anchor)) /
                                 (skeleton.GetKeyTime(end) - skeleton.GetKeyTime(anchor));
            if (PosesDiffer(ModelPose(skeleton, key, key, 0.0f), ModelPose(skeleton, anchor, end, factor),
                            positionTolerance, angleToleranceDegrees))
            {
                removed[end - 1] = false;
                anchor = end - 1;
                break;
            }
        }
    }
    std::vector<float> kept;
    for (uint32_t key = 0; key < keyCount; ++key)
    {
        if (!removed[key])
            kept.push_back(skeleton.GetKeyTime(key));
    }
    return kept;
}
