#include "animtech/TAnimatedSkeleton.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace AnimationTech
{
namespace
{
// The float 3.1415925 (0x40490FDA), one ulp below KvMath::kPi: the angle tolerance has always
// been converted with it, and the reduced key sets depend on it.
constexpr float kAngleTolerancePi = 3.1415925f;

// Pose comparison limits, derived once per comparison run.
struct PoseTolerance
{
    PoseTolerance(float positionTolerance, float angleToleranceDegrees)
        : m_fMaxAxisDeviation(1.0f - std::cos(angleToleranceDegrees * kAngleTolerancePi / 180.0f)),
          m_fMaxSquaredDistance(positionTolerance * positionTolerance)
    {
    }

    float m_fMaxAxisDeviation;
    float m_fMaxSquaredDistance;
};

// Two bone poses differ only where a deviation exceeds its limit. A NaN deviation exceeds
// nothing: keys that share one time interpolate with 0/0 and must still count as reproduced.
bool BonePosesMatch(const AniMatrix4x3& a, const AniMatrix4x3& b, const PoseTolerance& tolerance)
{
    for (uint32_t row = 0; row < 3; ++row)
    {
        const float dot =
            a.At(row, 0) * b.At(row, 0) + a.At(row, 1) * b.At(row, 1) + a.At(row, 2) * b.At(row, 2);
        if (1.0f - dot > tolerance.m_fMaxAxisDeviation)
            return false;
    }
    const float dx = a.At(3, 0) - b.At(3, 0);
    const float dy = a.At(3, 1) - b.At(3, 1);
    const float dz = a.At(3, 2) - b.At(3, 2);
    return !(dx * dx + dy * dy + dz * dz > tolerance.m_fMaxSquaredDistance);
}

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
        if (!BonePosesMatch(posesA[bone], posesB[bone], tolerance))
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
    const uint32_t keyCount = GetKeysCount();
    if (keyCount < 3)
        return;
    const uint32_t boneCount = GetBonesCount();
    const PoseTolerance tolerance(positionTolerance, angleToleranceDegrees);

    // A key's own pose does not depend on the end being tried: sample each once.
    std::vector<AniMatrix4x3> keyPoses(size_t(keyCount) * boneCount);
    for (uint32_t key = 0; key < keyCount; ++key)
        GetMatricesEx(0.0f, key, key, keyPoses.data() + size_t(key) * boneCount);

    std::vector<AniMatrix4x3> interpolated(boneCount);
    // Each bone's rotation arc between anchor and end serves every key tested against it.
    std::vector<KvSlerpArc> arcs(boneCount);
    auto prepareArcs = [&](uint32_t anchor, uint32_t end)
    {
        for (uint32_t bone = 0; bone < boneCount; ++bone)
            arcs[bone] = KvSlerpArc(m_aKeys[anchor].m_aBoneKeys[bone].m_Rotation,
                                    m_aKeys[end].m_aBoneKeys[bone].m_Rotation);
    };
    // Builds the interpolated pose bone by bone and stops at the first bone that differs.
    auto interpolationMatches = [&](uint32_t anchor, uint32_t end, uint32_t key)
    {
        const float factor = (m_aKeys[key].m_fTime - m_aKeys[anchor].m_fTime) /
                             (m_aKeys[end].m_fTime - m_aKeys[anchor].m_fTime);
        const AniMatrix4x3* pKeyPose = keyPoses.data() + size_t(key) * boneCount;
        for (uint32_t bone = 0; bone < boneCount; ++bone)
        {
            const Ani3DVector translation =
                KvMath::Lerp(m_aKeys[anchor].m_aBoneKeys[bone].m_Translation,
                             m_aKeys[end].m_aBoneKeys[bone].m_Translation, factor);
            ComposeModelMatrix(bone, arcs[bone].At(factor), translation, interpolated.data());
            if (!BonePosesMatch(pKeyPose[bone], interpolated[bone], tolerance))
                return false;
        }
        return true;
    };

    std::vector<bool> removed(keyCount, false);
    uint32_t anchor = 0;
    for (uint32_t end = 2; end < keyCount; ++end)
    {
        removed[end - 1] = true;
        prepareArcs(anchor, end);
        for (uint32_t key = anchor + 1; key < end; ++key)
        {
            if (!interpolationMatches(anchor, end, key))
            {
                removed[end - 1] = false;
                anchor = end - 1;
                break;
            }
        }
    }

    std::vector<TKeyFrame> kept;
    kept.reserve(keyCount);
    for (uint32_t key = 0; key < keyCount; ++key)
    {
        if (!removed[key])
            kept.push_back(std::move(m_aKeys[key]));
    }
    m_aKeys = std::move(kept);
}
} // namespace AnimationTech
