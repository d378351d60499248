#include "animtech/TAnimatedSkeleton.h"

#include "KeyReduction.h"
#include "PoseTolerance.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace AnimationTech
{
namespace
{
// The grid frame nearest a time; times outside the unsigned range clamp to its ends.
uint32_t NearestFrame(float time)
{
    const float frame = time / TAnimatedSkeleton::kFrameStep + 0.5f;
    if (!(frame > 0.0f))
        return 0;
    if (frame >= 4294967296.0f)
        return std::numeric_limits<uint32_t>::max();
    return static_cast<uint32_t>(frame);
}
} // namespace

bool TAnimatedSkeleton::AddBone(const TBone& bone)
{
    if (!m_aKeys.empty() || bone.m_iParent < -1 || bone.m_iParent >= static_cast<int32_t>(m_aBones.size()))
        return false;
    m_aBones.push_back(bone);
    return true;
}

bool TAnimatedSkeleton::AddKey(const TKeyFrame& key)
{
    if (key.m_aBoneKeys.size() != m_aBones.size() || !std::isfinite(key.m_fTime) ||
        (!m_aKeys.empty() && key.m_fTime < m_aKeys.back().m_fTime))
        return false;
    m_aKeys.push_back(key);
    return true;
}

void TAnimatedSkeleton::Clear()
{
    m_aBones.clear();
    m_aKeys.clear();
}

void TAnimatedSkeleton::GetTimeValues(uint32_t& outCount, float*& outTimes) const
{
    outCount = GetKeysCount();
    outTimes = new float[outCount];
    for (uint32_t index = 0; index < outCount; ++index)
        outTimes[index] = m_aKeys[index].m_fTime;
}

uint32_t TAnimatedSkeleton::GetAnimationMemorySize() const
{
    return static_cast<uint32_t>(uint64_t(m_aKeys.size()) * m_aBones.size() * sizeof(TBoneKey));
}

void TAnimatedSkeleton::GetKeyIndices(float time, uint32_t& outFirst, uint32_t& outSecond,
                                      float& outFactor) const
{
    const uint32_t count = GetKeysCount();
    // Every key is looked at: the last key before the time wins.
    outFirst = 0;
    for (uint32_t index = 0; index < count; ++index)
    {
        if (time > m_aKeys[index].m_fTime)
            outFirst = index;
    }
    outSecond = std::min(outFirst + 1, count - 1);
    outFactor = outFirst == outSecond ? 0.0f
                                      : (time - m_aKeys[outFirst].m_fTime) /
                                            (m_aKeys[outSecond].m_fTime - m_aKeys[outFirst].m_fTime);
}

void TAnimatedSkeleton::GetLocalBoneAtTime(uint32_t boneIndex, float time, Ani3DVector& outTranslation,
                                           AniQuat& outRotation) const
{
    uint32_t first = 0;
    uint32_t second = 0;
    float factor = 0.0f;
    GetKeyIndices(time, first, second, factor);
    GetLocalBoneAtTimeEx(boneIndex, factor, first, second, outTranslation, outRotation);
}

void TAnimatedSkeleton::GetLocalBoneAtTimeEx(uint32_t boneIndex, float factor, uint32_t firstKey,
                                             uint32_t secondKey, Ani3DVector& outTranslation,
                                             AniQuat& outRotation) const
{
    const TBoneKey& from = m_aKeys[firstKey].m_aBoneKeys[boneIndex];
    const TBoneKey& to = m_aKeys[secondKey].m_aBoneKeys[boneIndex];
    outTranslation = KvMath::Lerp(from.m_Translation, to.m_Translation, factor);
    outRotation = KvSlerpArc(from.m_Rotation, to.m_Rotation).At(factor);
}

void TAnimatedSkeleton::GetMatrices(float time, AniMatrix4x3* outMatrices) const
{
    uint32_t first = 0;
    uint32_t second = 0;
    float factor = 0.0f;
    GetKeyIndices(time, first, second, factor);
    GetMatricesEx(factor, first, second, outMatrices);
}

void TAnimatedSkeleton::ComputeModelMatrix(uint32_t boneIndex, float factor, uint32_t firstKey,
                                           uint32_t secondKey, AniMatrix4x3* outMatrices) const
{
    Ani3DVector translation;
    AniQuat rotation;
    GetLocalBoneAtTimeEx(boneIndex, factor, firstKey, secondKey, translation, rotation);
    ComposeModelMatrix(boneIndex, rotation, translation, outMatrices);
}

void TAnimatedSkeleton::ComposeModelMatrix(uint32_t boneIndex, const AniQuat& rotation,
                                           const Ani3DVector& translation, AniMatrix4x3* outMatrices) const
{
    const AniMatrix4x3 local = KvMath::MatrixFromRotation(rotation, translation);
    const int32_t parent = m_aBones[boneIndex].m_iParent;
    outMatrices[boneIndex] = parent == -1 ? local : KvMath::Concatenate(local, outMatrices[parent]);
}

void TAnimatedSkeleton::GetMatricesEx(float factor, uint32_t firstKey, uint32_t secondKey,
                                      AniMatrix4x3* outMatrices) const
{
    // Parents are stored first, so each parent is in model space when its children need it.
    for (uint32_t bone = 0; bone < GetBonesCount(); ++bone)
        ComputeModelMatrix(bone, factor, firstKey, secondKey, outMatrices);
}

bool TAnimatedSkeleton::ComparePoses(const AniMatrix4x3* posesA, const AniMatrix4x3* posesB,
                                     float positionTolerance, float angleToleranceDegrees) const
{
    const PoseTolerance tolerance(positionTolerance, angleToleranceDegrees);
    for (uint32_t bone = 0; bone < GetBonesCount(); ++bone)
    {
        if (BonePosesDiffer(posesA[bone].m, posesB[bone].m, tolerance.m_fMaxAxisDeviation,
                            tolerance.m_fMaxSquaredDistance))
            return false;
    }
    return true;
}

void TAnimatedSkeleton::FixTime()
{
    for (const TKeyFrame& key : m_aKeys)
    {
        const float deviation = key.m_fTime - static_cast<float>(NearestFrame(key.m_fTime)) * kFrameStep;
        if (std::fabs(deviation) > kFrameTolerance)
            return;
    }
    for (TKeyFrame& key : m_aKeys)
        key.m_fTime = static_cast<float>(NearestFrame(key.m_fTime)) * kFrameStep;
}

void TAnimatedSkeleton::OptimizeKeys(float positionTolerance, float angleToleranceDegrees)
{
    OptimizeKeysOnThreads(positionTolerance, angleToleranceDegrees,
                          KeyReduction::DefaultThreadCount(GetKeysCount(), GetBonesCount()));
}

uint64_t TAnimatedSkeleton::OptimizeKeysOnThreads(float positionTolerance, float angleToleranceDegrees,
                                                  uint32_t threadCount)
{
    KeyReduction reduction(*this, PoseTolerance(positionTolerance, angleToleranceDegrees), threadCount);
    const std::vector<bool> removed = reduction.FindRemovedKeys();
    std::vector<TKeyFrame> kept;
    kept.reserve(m_aKeys.size());
    for (size_t key = 0; key < m_aKeys.size(); ++key)
    {
        if (!removed[key])
            kept.push_back(std::move(m_aKeys[key]));
    }
    m_aKeys = std::move(kept);
    return reduction.GetStats().m_ulPeakCachedPoses;
}
} // namespace AnimationTech
