#include "animtech/TAnimatedSkeleton.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace AnimationTech
{
namespace
{
// The float 3.1415925 (0x40490FDA), one ulp below the nearest float to pi: the angle
// tolerance has always been converted with it.
constexpr float kPi = 3.1415925f;
// Below this sine two rotations count as equal and the second is taken as stored.
constexpr float kSlerpEpsilon = 1e-6f;

// Pose comparison limits, derived once per comparison run.
struct PoseTolerance
{
    PoseTolerance(float positionTolerance, float angleToleranceDegrees)
        : m_fMaxAxisDeviation(1.0f - std::cos(angleToleranceDegrees * kPi / 180.0f)),
          m_fMaxSquaredDistance(positionTolerance * positionTolerance)
    {
    }

    float m_fMaxAxisDeviation;
    float m_fMaxSquaredDistance;
};

// What slerp between two rotations needs regardless of the factor.
struct SlerpSpan
{
    AniQuat m_First;
    AniQuat m_Second;
    // The second rotation on the first one's side of the sphere.
    AniQuat m_SecondNear;
    float m_fAngle;
    float m_fSine;
};

SlerpSpan MakeSlerpSpan(const AniQuat& q0, const AniQuat& q1)
{
    SlerpSpan span{q0, q1, q1, 0.0f, 0.0f};
    float dot = q0.x * q1.x + q0.y * q1.y + q0.z * q1.z + q0.w * q1.w;
    if (dot < 0.0f)
    {
        span.m_SecondNear = {-q1.x, -q1.y, -q1.z, -q1.w};
        dot = -dot;
    }
    span.m_fAngle = std::acos(std::min(dot, 1.0f));
    span.m_fSine = std::sin(span.m_fAngle);
    return span;
}

AniQuat SlerpAlong(const SlerpSpan& span, float factor)
{
    if (std::fabs(span.m_fSine) < kSlerpEpsilon)
        return span.m_Second;
    const float scale0 = std::sin((1.0f - factor) * span.m_fAngle) / span.m_fSine;
    const float scale1 = std::sin(factor * span.m_fAngle) / span.m_fSine;
    const AniQuat& q0 = span.m_First;
    const AniQuat& q1 = span.m_SecondNear;
    return {q0.x * scale0 + q1.x * scale1, q0.y * scale0 + q1.y * scale1, q0.z * scale0 + q1.z * scale1,
            q0.w * scale0 + q1.w * scale1};
}

Ani3DVector Lerp(const Ani3DVector& t0, const Ani3DVector& t1, float factor)
{
    const float keep = 1.0f - factor;
    return {keep * t0.x + factor * t1.x, keep * t0.y + factor * t1.y, keep * t0.z + factor * t1.z};
}

void MatrixFromPose(const AniQuat& q, const Ani3DVector& t, AniMatrix4x3& out)
{
    const float x2 = q.x + q.x;
    const float y2 = q.y + q.y;
    const float z2 = q.z + q.z;
    const float xx = q.x * x2;
    const float yy = q.y * y2;
    const float zz = q.z * z2;
    const float xy = q.x * y2;
    const float xz = q.x * z2;
    const float yz = q.y * z2;
    const float wx = q.w * x2;
    const float wy = q.w * y2;
    const float wz = q.w * z2;
    out.m[0] = 1.0f - (yy + zz);
    out.m[1] = xy - wz;
    out.m[2] = xz + wy;
    out.m[3] = xy + wz;
    out.m[4] = 1.0f - (xx + zz);
    out.m[5] = yz - wx;
    out.m[6] = xz - wy;
    out.m[7] = yz + wx;
    out.m[8] = 1.0f - (xx + yy);
    out.m[9] = t.x;
    out.m[10] = t.y;
    out.m[11] = t.z;
}

// child <- child (x) parent: rotation block multiplied, translation row moved by the parent.
void ConcatenateParent(AniMatrix4x3& child, const AniMatrix4x3& parent)
{
    const AniMatrix4x3 local = child;
    for (uint32_t row = 0; row < 4; ++row)
    {
        for (uint32_t column = 0; column < 3; ++column)
        {
            float value = local.At(row, 0) * parent.At(0, column) + local.At(row, 1) * parent.At(1, column) +
                          local.At(row, 2) * parent.At(2, column);
            if (row == 3)
                value += parent.At(3, column);
            child.At(row, column) = value;
        }
    }
}

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
    outTranslation = Lerp(from.m_Translation, to.m_Translation, factor);
    outRotation = SlerpAlong(MakeSlerpSpan(from.m_Rotation, to.m_Rotation), factor);
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
    MatrixFromPose(rotation, translation, outMatrices[boneIndex]);
    const int32_t parent = m_aBones[boneIndex].m_iParent;
    if (parent != -1)
        ConcatenateParent(outMatrices[boneIndex], outMatrices[parent]);
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
    // Each bone's rotation span between anchor and end serves every key tested against it.
    std::vector<SlerpSpan> spans(boneCount);
    auto prepareSpans = [&](uint32_t anchor, uint32_t end)
    {
        for (uint32_t bone = 0; bone < boneCount; ++bone)
            spans[bone] = MakeSlerpSpan(m_aKeys[anchor].m_aBoneKeys[bone].m_Rotation,
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
            const Ani3DVector translation = Lerp(m_aKeys[anchor].m_aBoneKeys[bone].m_Translation,
                                                 m_aKeys[end].m_aBoneKeys[bone].m_Translation, factor);
            ComposeModelMatrix(bone, SlerpAlong(spans[bone], factor), translation, interpolated.data());
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
        prepareSpans(anchor, end);
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
