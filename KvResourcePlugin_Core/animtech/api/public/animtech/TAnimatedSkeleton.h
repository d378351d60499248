#pragma once

#include "animtech/AnimationTechMath.h"
#include "animtech/KvAnimationTechExport.h"
#include "animtech/TBone.h"
#include "animtech/TKeyFrame.h"

#include <cstdint>
#include <vector>

namespace AnimationTech
{
// One keyframed skeletal animation: bones (parents before children) and keys (ascending
// times, one record per bone). Sampling requires at least one key; indices are not checked.
class KV_ANIMATIONTECH_API TAnimatedSkeleton
{
public:
    // Key times snap to this grid (30 Hz) only when every key lies within kFrameTolerance
    // seconds of it. The tolerance is the float 0x3ADA740F, one ulp above 1.0f / 600.0f.
    static constexpr float kFrameStep = 1.0f / 30.0f;
    static constexpr float kFrameTolerance = 0.0016666668f;

    TAnimatedSkeleton() = default;
    // Copies are deep; moves take both arrays as they are.
    TAnimatedSkeleton(const TAnimatedSkeleton&) = default;
    TAnimatedSkeleton& operator=(const TAnimatedSkeleton&) = default;
    TAnimatedSkeleton(TAnimatedSkeleton&&) noexcept = default;
    TAnimatedSkeleton& operator=(TAnimatedSkeleton&&) noexcept = default;
    ~TAnimatedSkeleton() { Clear(); }

    // Building: each call refuses (false) what would break the invariants: a parent that is
    // not an earlier bone, a bone added after keys, a key with the wrong record count or a
    // time before the previous key.
    bool AddBone(const TBone& bone);
    bool AddKey(const TKeyFrame& key);

    uint32_t GetBonesCount() const { return static_cast<uint32_t>(m_aBones.size()); }
    const TBone* GetBone(uint32_t index) const { return &m_aBones[index]; }
    const char* GetBoneName(uint32_t index) const { return m_aBones[index].m_strName.c_str(); }
    int32_t GetBoneParent(uint32_t index) const { return m_aBones[index].m_iParent; }

    uint32_t GetKeysCount() const { return static_cast<uint32_t>(m_aKeys.size()); }
    float GetKeyTime(uint32_t index) const { return m_aKeys[index].m_fTime; }
    const TKeyFrame* GetKey(uint32_t index) const { return &m_aKeys[index]; }
    float GetAnimationLength() const { return m_aKeys.back().m_fTime; }
    // The key times in a new array the caller frees with delete[].
    void GetTimeValues(uint32_t& outCount, float*& outTimes) const;
    // Bytes of key records: keys x bones x 28, truncated to 32 bits.
    uint32_t GetAnimationMemorySize() const;
    uint64_t GetSkeletonID() const { return 0; }

    // One bone's local transform at a time (seconds).
    void GetLocalBoneAtTime(uint32_t boneIndex, float time, Ani3DVector& outTranslation,
                            AniQuat& outRotation) const;
    // Every bone's model-space matrix at a time; outMatrices holds one per bone.
    void GetMatrices(float time, AniMatrix4x3* outMatrices) const;

    // Removes keys that translation lerp and rotation slerp between the kept neighbours
    // reproduce within positionTolerance (model units) and angleToleranceDegrees, compared
    // on the model-space matrices of all bones. The first and last keys always stay.
    void OptimizeKeys(float positionTolerance, float angleToleranceDegrees);

private:
    friend class TAnimatedSkeletonTestAccess;

    void Clear();
    // Snaps every key time to the 30 Hz grid, or changes nothing when a key is off the grid.
    void FixTime();
    // The keys around a time and the unclamped factor between them.
    void GetKeyIndices(float time, uint32_t& outFirst, uint32_t& outSecond, float& outFactor) const;
    void GetLocalBoneAtTimeEx(uint32_t boneIndex, float factor, uint32_t firstKey, uint32_t secondKey,
                              Ani3DVector& outTranslation, AniQuat& outRotation) const;
    void GetMatricesEx(float factor, uint32_t firstKey, uint32_t secondKey, AniMatrix4x3* outMatrices) const;
    bool ComparePoses(const AniMatrix4x3* posesA, const AniMatrix4x3* posesB, float positionTolerance,
                      float angleToleranceDegrees) const;
    // OptimizeKeys on a given number of threads (the result does not depend on it); returns the
    // most bone poses of keys it held at once.
    uint64_t OptimizeKeysOnThreads(float positionTolerance, float angleToleranceDegrees,
                                   uint32_t threadCount);

    // The model-space matrix of one bone, its parent's matrix already in outMatrices.
    void ComputeModelMatrix(uint32_t boneIndex, float factor, uint32_t firstKey, uint32_t secondKey,
                            AniMatrix4x3* outMatrices) const;
    // The model-space matrix of one bone from its local pose.
    void ComposeModelMatrix(uint32_t boneIndex, const AniQuat& rotation, const Ani3DVector& translation,
                            AniMatrix4x3* outMatrices) const;

    std::vector<TBone> m_aBones;
    std::vector<TKeyFrame> m_aKeys;
};
} // namespace AnimationTech
