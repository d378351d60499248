#include "KeyReduction.h"

#include "ParallelRounds.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>
#include <memory>
#include <thread>

namespace AnimationTech
{
namespace
{
// A round is split over threads only from this many blocks per thread on: shorter rounds
// cost less than waking the threads.
constexpr uint32_t kMinBlocksPerThread = 4;
// Bone keys (keys x bones) from which threads pay for their start.
constexpr uint64_t kMinBoneKeysForThreads = 100000;
constexpr uint32_t kMaxThreads = 8;

// Sampling a key alone slerps its rotation with itself at factor 0, which gives the rotation
// back to the bit (weights exactly 1 and +0, or the stored rotation where the arc is too short
// to tell), except that a NaN component turns all four into NaN. No sine is needed for it.
AniQuat KeyRotation(const AniQuat& rotation)
{
    if (std::isnan(rotation.x) || std::isnan(rotation.y) || std::isnan(rotation.z) || std::isnan(rotation.w))
    {
        const float nan = std::numeric_limits<float>::quiet_NaN();
        return {nan, nan, nan, nan};
    }
    return rotation;
}

// One bone's model-space matrices from its local poses, its parent's already in outPoses.
// Inlined into both callers: as a call, passing the lanes through memory cost a fifth of a
// reduction.
[[gnu::always_inline]] inline void ComposeModelLanes(uint32_t bone, int32_t parent,
                                                     const Lanes (&rotation)[4],
                                                     const Lanes (&translation)[3], MatrixLanes* outPoses)
{
    if (parent == -1)
    {
        KvMath::FillMatrixFromRotation(rotation[0], rotation[1], rotation[2], rotation[3], translation[0],
                                       translation[1], translation[2], outPoses[bone].m);
        return;
    }
    MatrixLanes local;
    KvMath::FillMatrixFromRotation(rotation[0], rotation[1], rotation[2], rotation[3], translation[0],
                                   translation[1], translation[2], local.m);
    KvMath::FillConcatenation(local.m, outPoses[parent].m, outPoses[bone].m);
}

// The sines of the two parts of an arc (from, then to) at each tested lane's factor.
using ArcSines = float[2][kPoseLanes];

void TakeArcSines(const KvSlerpArc& arc, const Lanes& factor, const LaneMask& tested, ArcSines& outSines)
{
    if (arc.IsCoincident())
        return;
    uint32_t part = 0;
    Lanes unusedFrom;
    Lanes unusedTo;
    arc.WeightsAt(factor, unusedFrom, unusedTo,
                  [&](const Lanes& angles)
                  {
                      for (uint32_t lane = 0; lane < kPoseLanes; ++lane)
                          outSines[part][lane] = tested[lane] ? std::sin(angles[lane]) : 0.0f;
                      ++part;
                      return Lanes{};
                  });
}

// The rotation at each tested lane's factor along an arc, as KvSlerpArc::At gives it, from
// the sines TakeArcSines took.
void InterpolateRotation(const KvSlerpArc& arc, const Lanes& factor, const ArcSines& sines,
                         Lanes (&outRotation)[4])
{
    if (arc.IsCoincident())
    {
        outRotation[0] = Broadcast(arc.To().x);
        outRotation[1] = Broadcast(arc.To().y);
        outRotation[2] = Broadcast(arc.To().z);
        outRotation[3] = Broadcast(arc.To().w);
        return;
    }
    uint32_t part = 0;
    Lanes weightFrom;
    Lanes weightTo;
    arc.WeightsAt(factor, weightFrom, weightTo, [&](const Lanes&) { return LoadLanes(sines[part++]); });
    const AniQuat& from = arc.From();
    const AniQuat& to = arc.ToNear();
    outRotation[0] = from.x * weightFrom + to.x * weightTo;
    outRotation[1] = from.y * weightFrom + to.y * weightTo;
    outRotation[2] = from.z * weightFrom + to.z * weightTo;
    outRotation[3] = from.w * weightFrom + to.w * weightTo;
}
} // namespace

KeyReduction::KeyReduction(const TAnimatedSkeleton& animation, const PoseTolerance& tolerance,
                           uint32_t threadCount)
    : m_Animation(animation), m_uiBoneCount(animation.GetBonesCount()),
      m_uiThreadCount(std::max(threadCount, 1u)),
      m_MaxAxisDeviation(Broadcast(tolerance.m_fMaxAxisDeviation)),
      m_MaxSquaredDistance(Broadcast(tolerance.m_fMaxSquaredDistance)), m_aArcs(m_uiBoneCount),
      m_aArcEnds(m_uiBoneCount, 0), m_SpanPoses(m_uiBoneCount),
      m_aInterpolated(m_uiThreadCount, std::vector<MatrixLanes>(m_uiBoneCount))
{
    for (uint32_t bone = 0; bone < m_uiBoneCount; ++bone)
    {
        m_aParents.push_back(animation.GetBoneParent(bone));
        m_aBoneOrder.push_back(bone);
    }
}

void KeyReduction::TestFirst(uint32_t bone)
{
    m_uiFirstTestedBone = bone;
    std::vector<bool> first(m_uiBoneCount, false);
    for (int32_t ancestor = static_cast<int32_t>(bone); ancestor != -1; ancestor = m_aParents[ancestor])
        first[ancestor] = true;
    m_aBoneOrder.clear();
    for (bool bFirst : {true, false})
    {
        for (uint32_t other = 0; other < m_uiBoneCount; ++other)
        {
            if (first[other] == bFirst)
                m_aBoneOrder.push_back(other);
        }
    }
}

uint32_t KeyReduction::DefaultThreadCount(uint32_t keyCount, uint32_t boneCount)
{
    if (uint64_t(keyCount) * boneCount < kMinBoneKeysForThreads)
        return 1;
    return std::clamp(std::thread::hardware_concurrency(), 1u, kMaxThreads);
}

std::vector<bool> KeyReduction::FindRemovedKeys()
{
    const uint32_t keyCount = m_Animation.GetKeysCount();
    std::vector<bool> removed(keyCount, false);
    if (keyCount < 3)
        return removed;

    std::unique_ptr<ParallelRounds> pWorkers;
    if (m_uiThreadCount > 1)
        pWorkers = std::make_unique<ParallelRounds>(m_uiThreadCount);
    uint32_t anchor = 0;
    for (uint32_t end = 2; end < keyCount; ++end)
    {
        while (m_SpanPoses.GetEndBlock() <= (end - 1) / kPoseLanes)
        {
            const uint32_t block = m_SpanPoses.GetEndBlock();
            SampleKeyBlock(block, m_SpanPoses.AppendBlock());
        }
        removed[end - 1] = true;
        if (!RoundPasses(anchor, end, pWorkers.get()))
        {
            const uint32_t failedBone = m_uiFailedBone.load(std::memory_order_relaxed);
            if (failedBone != m_uiFirstTestedBone)
                TestFirst(failedBone);
            removed[end - 1] = false;
            anchor = end - 1;
            m_SpanPoses.DropBefore(end / kPoseLanes);
        }
    }
    m_Stats.m_ulPeakCachedPoses = m_SpanPoses.GetPeakPoses();
    return removed;
}

bool KeyReduction::RoundPasses(uint32_t anchor, uint32_t end, ParallelRounds* pWorkers)
{
    const uint32_t firstBlock = (anchor + 1) / kPoseLanes;
    const uint32_t blockCount = (end - 1) / kPoseLanes + 1 - firstBlock;
    // The keys in the middle of a span stray furthest from the interpolation: start there.
    auto blockAt = [&](uint32_t order)
    {
        return firstBlock + (order + blockCount / 2) % blockCount;
    };

    if (pWorkers == nullptr || blockCount < kMinBlocksPerThread * pWorkers->GetThreadCount())
    {
        for (uint32_t order = 0; order < blockCount; ++order)
        {
            if (BlockFails(anchor, end, blockAt(order), m_aInterpolated[0].data()))
                return false;
        }
        return true;
    }

    // The threads only read the arcs: set them all up first.
    for (uint32_t bone = 0; bone < m_uiBoneCount; ++bone)
        ArcOf(anchor, end, bone);
    std::atomic<bool> failed = false;
    const uint32_t threadCount = pWorkers->GetThreadCount();
    pWorkers->Run(
        [&](uint32_t worker)
        {
            for (uint32_t order = worker; order < blockCount && !failed.load(std::memory_order_relaxed);
                 order += threadCount)
            {
                if (BlockFails(anchor, end, blockAt(order), m_aInterpolated[worker].data()))
                    failed.store(true, std::memory_order_relaxed);
            }
        });
    return !failed.load();
}

const KvSlerpArc& KeyReduction::ArcOf(uint32_t anchor, uint32_t end, uint32_t bone)
{
    if (m_aArcEnds[bone] != end)
    {
        m_aArcs[bone] = KvSlerpArc(BoneKey(anchor, bone).m_Rotation, BoneKey(end, bone).m_Rotation);
        m_aArcEnds[bone] = end;
    }
    return m_aArcs[bone];
}

bool KeyReduction::BlockFails(uint32_t anchor, uint32_t end, uint32_t block, MatrixLanes* pInterpolated)
{
    float factors[kPoseLanes] = {};
    LaneMask tested = {};
    for (uint32_t lane = 0; lane < kPoseLanes; ++lane)
    {
        const uint32_t key = block * kPoseLanes + lane;
        if (key <= anchor || key >= end)
            continue;
        factors[lane] = (m_Animation.GetKeyTime(key) - m_Animation.GetKeyTime(anchor)) /
                        (m_Animation.GetKeyTime(end) - m_Animation.GetKeyTime(anchor));
        tested[lane] = -1;
    }
    const Lanes factor = LoadLanes(factors);
    const Lanes keep = 1.0f - factor;
    const MatrixLanes* pKeyPoses = m_SpanPoses.Block(block);

    // Bones go in batches: first every library sine call of the batch, which would otherwise
    // force the lanes of the matrix work out of registers around each call and stall on
    // reading back the four sines as one vector, then the rotations, matrices and comparisons.
    constexpr uint32_t kBatch = 8;
    ArcSines sines[kBatch];
    for (uint32_t first = 0; first < m_uiBoneCount; first += kBatch)
    {
        const uint32_t batchEnd = std::min(first + kBatch, m_uiBoneCount);
        for (uint32_t index = first; index < batchEnd; ++index)
            TakeArcSines(ArcOf(anchor, end, m_aBoneOrder[index]), factor, tested, sines[index - first]);
        for (uint32_t index = first; index < batchEnd; ++index)
        {
            const uint32_t bone = m_aBoneOrder[index];
            Lanes rotation[4];
            InterpolateRotation(m_aArcs[bone], factor, sines[index - first], rotation);
            const Ani3DVector& from = BoneKey(anchor, bone).m_Translation;
            const Ani3DVector& to = BoneKey(end, bone).m_Translation;
            const Lanes translation[3] = {keep * from.x + factor * to.x, keep * from.y + factor * to.y,
                                          keep * from.z + factor * to.z};
            ComposeModelLanes(bone, m_aParents[bone], rotation, translation, pInterpolated);
            const LaneMask differ = BonePosesDiffer(pKeyPoses[bone].m, pInterpolated[bone].m,
                                                    m_MaxAxisDeviation, m_MaxSquaredDistance);
            if (AnyLane(differ & tested))
            {
                m_uiFailedBone.store(bone, std::memory_order_relaxed);
                return true;
            }
        }
    }
    return false;
}

void KeyReduction::SampleKeyBlock(uint32_t block, MatrixLanes* outPoses) const
{
    const uint32_t lastKey = m_Animation.GetKeysCount() - 1;
    const TBoneKey* laneKeys[kPoseLanes];
    for (uint32_t lane = 0; lane < kPoseLanes; ++lane)
        laneKeys[lane] = m_Animation.GetKey(std::min(block * kPoseLanes + lane, lastKey))->m_aBoneKeys.data();
    for (uint32_t bone = 0; bone < m_uiBoneCount; ++bone)
    {
        float components[7][kPoseLanes];
        for (uint32_t lane = 0; lane < kPoseLanes; ++lane)
        {
            const TBoneKey& boneKey = laneKeys[lane][bone];
            const AniQuat q = KeyRotation(boneKey.m_Rotation);
            const Ani3DVector t = KvMath::Lerp(boneKey.m_Translation, boneKey.m_Translation, 0.0f);
            const float values[7] = {q.x, q.y, q.z, q.w, t.x, t.y, t.z};
            for (uint32_t component = 0; component < 7; ++component)
                components[component][lane] = values[component];
        }
        const Lanes rotation[4] = {LoadLanes(components[0]), LoadLanes(components[1]),
                                   LoadLanes(components[2]), LoadLanes(components[3])};
        const Lanes translation[3] = {LoadLanes(components[4]), LoadLanes(components[5]),
                                      LoadLanes(components[6])};
        ComposeModelLanes(bone, m_aParents[bone], rotation, translation, outPoses);
    }
}
} // namespace AnimationTech
