// The 256-bit lanes pass by value only between functions that are all inlined into the one
// compiled for AVX, so the changed calling convention GCC warns about is never used.
#pragma GCC diagnostic ignored "-Wpsabi"

#include "KeyReduction.h"

#include "ParallelRounds.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
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
// How far ahead of the sampled bone its key's records are fetched (about four cache lines).
constexpr uint32_t kPrefetchBones = 9;

// Four rows of four lanes into four columns.
inline void TransposeLanes(const Lanes (&rows)[kPoseLanes], Lanes (&outColumns)[kPoseLanes])
{
    const Lanes low01 = __builtin_shufflevector(rows[0], rows[1], 0, 4, 1, 5);
    const Lanes low23 = __builtin_shufflevector(rows[2], rows[3], 0, 4, 1, 5);
    const Lanes high01 = __builtin_shufflevector(rows[0], rows[1], 2, 6, 3, 7);
    const Lanes high23 = __builtin_shufflevector(rows[2], rows[3], 2, 6, 3, 7);
    outColumns[0] = __builtin_shufflevector(low01, low23, 0, 1, 4, 5);
    outColumns[1] = __builtin_shufflevector(low01, low23, 2, 3, 6, 7);
    outColumns[2] = __builtin_shufflevector(high01, high23, 0, 1, 4, 5);
    outColumns[3] = __builtin_shufflevector(high01, high23, 2, 3, 6, 7);
}

// One bone's model-space matrices from its local poses, its parent's already in outPoses.
// Inlined into both callers: as a call, passing the lanes through memory cost a fifth of a
// reduction.
template <class V, class Matrix>
[[gnu::always_inline]] inline void ComposeModelLanes(uint32_t bone, int32_t parent, const V (&rotation)[4],
                                                     const V (&translation)[3], Matrix* outPoses)
{
    if (parent == -1)
    {
        KvMath::FillMatrixFromRotation(rotation[0], rotation[1], rotation[2], rotation[3], translation[0],
                                       translation[1], translation[2], outPoses[bone].m);
        return;
    }
    Matrix local;
    KvMath::FillMatrixFromRotation(rotation[0], rotation[1], rotation[2], rotation[3], translation[0],
                                   translation[1], translation[2], local.m);
    KvMath::FillConcatenation(local.m, outPoses[parent].m, outPoses[bone].m);
}

// The sines of the two parts of an arc (from, then to) at each tested lane's factor.
template <uint32_t N>
using ArcSines = float[2][N];

// The lanes of a pass that hold a key to test, in order.
template <uint32_t N>
struct TestedLanes
{
    uint32_t m_aLanes[N];
    uint32_t m_uiCount = 0;
};

// Only the tested lanes' sines are taken; the others keep what they held.
template <class V, uint32_t N>
[[gnu::always_inline]] inline void TakeArcSines(const KvSlerpArc& arc, const V& factor,
                                                const TestedLanes<N>& tested, ArcSines<N>& outSines)
{
    if (arc.IsCoincident())
        return;
    uint32_t part = 0;
    V unusedFrom;
    V unusedTo;
    arc.WeightsAt(factor, unusedFrom, unusedTo,
                  [&](const V& angles)
                  {
                      for (uint32_t index = 0; index < tested.m_uiCount; ++index)
                          outSines[part][tested.m_aLanes[index]] = std::sin(angles[tested.m_aLanes[index]]);
                      ++part;
                      return V{};
                  });
}

// The rotation at each tested lane's factor along an arc, as KvSlerpArc::At gives it, from
// the sines TakeArcSines took.
template <class V, uint32_t N>
[[gnu::always_inline]] inline void InterpolateRotation(const KvSlerpArc& arc, const V& factor,
                                                       const ArcSines<N>& sines, V (&outRotation)[4])
{
    if (arc.IsCoincident())
    {
        outRotation[0] = Broadcast<V>(arc.To().x);
        outRotation[1] = Broadcast<V>(arc.To().y);
        outRotation[2] = Broadcast<V>(arc.To().z);
        outRotation[3] = Broadcast<V>(arc.To().w);
        return;
    }
    uint32_t part = 0;
    V weightFrom;
    V weightTo;
    arc.WeightsAt(factor, weightFrom, weightTo,
                  [&](const V&)
                  {
                      V partSines;
                      std::memcpy(&partSines, sines[part++], sizeof(partSines));
                      return partSines;
                  });
    const AniQuat& from = arc.From();
    const AniQuat& to = arc.ToNear();
    outRotation[0] = from.x * weightFrom + to.x * weightTo;
    outRotation[1] = from.y * weightFrom + to.y * weightTo;
    outRotation[2] = from.z * weightFrom + to.z * weightTo;
    outRotation[3] = from.w * weightFrom + to.w * weightTo;
}

// One bone's own poses of the keys of the given blocks, side by side.
template <uint32_t N>
[[gnu::always_inline]] inline const typename LaneTypes<N>::Matrix&
KeyPosesOf(const MatrixLanes* const (&blocks)[N / kPoseLanes], uint32_t bone,
           typename LaneTypes<N>::Matrix& scratch)
{
    if constexpr (N == kPoseLanes)
        return blocks[0][bone];
    for (uint32_t element = 0; element < 12; ++element)
    {
        for (uint32_t block = 0; block < N / kPoseLanes; ++block)
            std::memcpy(reinterpret_cast<char*>(&scratch.m[element]) + block * sizeof(Lanes),
                        &blocks[block][bone].m[element], sizeof(Lanes));
    }
    return scratch;
}
} // namespace

KeyReduction::KeyReduction(const TAnimatedSkeleton& animation, const PoseTolerance& tolerance,
                           uint32_t threadCount)
    : m_Animation(animation), m_uiBoneCount(animation.GetBonesCount()),
      m_uiThreadCount(std::max(threadCount, 1u)),
      m_MaxAxisDeviation(Broadcast(tolerance.m_fMaxAxisDeviation)),
      m_MaxSquaredDistance(Broadcast(tolerance.m_fMaxSquaredDistance)), m_aArcs(m_uiBoneCount),
      m_aArcEnds(m_uiBoneCount, 0), m_SpanPoses(m_uiBoneCount),
      m_aInterpolated(m_uiThreadCount, std::vector<MatrixLanes>(m_uiBoneCount)),
      m_bAvx(__builtin_cpu_supports("avx")),
      m_aWideInterpolated(m_bAvx ? m_uiThreadCount : 0, std::vector<WideMatrixLanes>(m_uiBoneCount))
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
    // The bone's chain, root first, then the other bones in their order so far: the bones
    // that failed before stay next, in the order they last failed.
    m_aPlaced.assign(m_uiBoneCount, 0);
    std::vector<uint32_t>& order = m_aNextBoneOrder;
    order.clear();
    for (int32_t ancestor = static_cast<int32_t>(bone); ancestor != -1; ancestor = m_aParents[ancestor])
    {
        m_aPlaced[ancestor] = 1;
        order.push_back(ancestor);
    }
    std::reverse(order.begin(), order.end());
    for (uint32_t other : m_aBoneOrder)
    {
        if (!m_aPlaced[other])
            order.push_back(other);
    }
    std::swap(m_aBoneOrder, order);
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
            if (m_bAvx)
                SampleKeyBlockAvx(block, m_SpanPoses.AppendBlock());
            else
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
    m_uiRoundFirstBlock = firstBlock;
    m_uiRoundBlockCount = blockCount;
    const uint32_t blocksPerPass = m_bAvx ? 2 : 1;

    if (pWorkers == nullptr || blockCount < kMinBlocksPerThread * pWorkers->GetThreadCount())
    {
        for (uint32_t order = 0; order < blockCount; order += blocksPerPass)
        {
            if (PassFails(anchor, end, order, 0))
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
            for (uint32_t order = worker * blocksPerPass;
                 order < blockCount && !failed.load(std::memory_order_relaxed);
                 order += threadCount * blocksPerPass)
            {
                if (PassFails(anchor, end, order, worker))
                    failed.store(true, std::memory_order_relaxed);
            }
        });
    return !failed.load();
}

bool KeyReduction::PassFails(uint32_t anchor, uint32_t end, uint32_t order, uint32_t worker)
{
    // The keys in the middle of a span stray furthest from the interpolation: start there.
    auto blockAt = [&](uint32_t blockOrder)
    {
        return m_uiRoundFirstBlock + (blockOrder + m_uiRoundBlockCount / 2) % m_uiRoundBlockCount;
    };
    if (!m_bAvx)
        return BlocksFail<kPoseLanes>(anchor, end, {blockAt(order)}, m_aInterpolated[worker].data());
    if (order + 1 < m_uiRoundBlockCount)
        return BlocksFailAvx<kWidePoseLanes>(anchor, end, {blockAt(order), blockAt(order + 1)},
                                             m_aWideInterpolated[worker].data());
    return BlocksFailAvx<kPoseLanes>(anchor, end, {blockAt(order)}, m_aInterpolated[worker].data());
}

template <uint32_t N>
bool KeyReduction::BlocksFailAvx(uint32_t anchor, uint32_t end, const uint32_t (&blocks)[N / kPoseLanes],
                                 typename LaneTypes<N>::Matrix* pInterpolated)
{
    return BlocksFail<N>(anchor, end, blocks, pInterpolated);
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

template <uint32_t N>
bool KeyReduction::BlocksFail(uint32_t anchor, uint32_t end, const uint32_t (&blocks)[N / kPoseLanes],
                              typename LaneTypes<N>::Matrix* pInterpolated)
{
    using V = typename LaneTypes<N>::Lanes;
    using Mask = typename LaneTypes<N>::Mask;
    V factor = {};
    Mask tested = {};
    TestedLanes<N> testedLanes;
    for (uint32_t lane = 0; lane < N; ++lane)
    {
        const uint32_t key = blocks[lane / kPoseLanes] * kPoseLanes + lane % kPoseLanes;
        if (key <= anchor || key >= end)
            continue;
        factor[lane] = (m_Animation.GetKeyTime(key) - m_Animation.GetKeyTime(anchor)) /
                       (m_Animation.GetKeyTime(end) - m_Animation.GetKeyTime(anchor));
        tested[lane] = -1;
        testedLanes.m_aLanes[testedLanes.m_uiCount++] = lane;
    }
    const V keep = 1.0f - factor;
    const V maxAxisDeviation = Broadcast<V>(m_MaxAxisDeviation[0]);
    const V maxSquaredDistance = Broadcast<V>(m_MaxSquaredDistance[0]);
    const MatrixLanes* keyBlocks[N / kPoseLanes];
    for (uint32_t block = 0; block < N / kPoseLanes; ++block)
        keyBlocks[block] = m_SpanPoses.Block(blocks[block]);

    // Bones go in batches: first every library sine call of the batch, which would otherwise
    // force the lanes of the matrix work out of registers around each call and stall on
    // reading back the sines as one vector, then the rotations, matrices and comparisons.
    constexpr uint32_t kBatch = 8;
    const TBoneKey* const pAnchorKeys = m_Animation.GetKey(anchor)->m_aBoneKeys.data();
    const TBoneKey* const pEndKeys = m_Animation.GetKey(end)->m_aBoneKeys.data();
    ArcSines<N> sines[kBatch] = {};
    typename LaneTypes<N>::Matrix keyPosesScratch;
    for (uint32_t first = 0; first < m_uiBoneCount; first += kBatch)
    {
        const uint32_t batchEnd = std::min(first + kBatch, m_uiBoneCount);
        for (uint32_t index = first; index < batchEnd; ++index)
            TakeArcSines<V, N>(ArcOf(anchor, end, m_aBoneOrder[index]), factor, testedLanes,
                               sines[index - first]);
        for (uint32_t index = first; index < batchEnd; ++index)
        {
            const uint32_t bone = m_aBoneOrder[index];
            V rotation[4];
            InterpolateRotation<V, N>(m_aArcs[bone], factor, sines[index - first], rotation);
            const Ani3DVector& from = pAnchorKeys[bone].m_Translation;
            const Ani3DVector& to = pEndKeys[bone].m_Translation;
            const V translation[3] = {keep * from.x + factor * to.x, keep * from.y + factor * to.y,
                                      keep * from.z + factor * to.z};
            ComposeModelLanes(bone, m_aParents[bone], rotation, translation, pInterpolated);
            const Mask differ = BonePosesDiffer(KeyPosesOf<N>(keyBlocks, bone, keyPosesScratch).m,
                                                pInterpolated[bone].m, maxAxisDeviation, maxSquaredDistance);
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
    {
        laneKeys[lane] = m_Animation.GetKey(std::min(block * kPoseLanes + lane, lastKey))->m_aBoneKeys.data();
        // The next block's first records, which the bone loop's look-ahead does not reach.
        const TKeyFrame* pNext = m_Animation.GetKey(std::min((block + 1) * kPoseLanes + lane, lastKey));
        for (uint32_t bone = 0; bone < std::min(kPrefetchBones, m_uiBoneCount); bone += 2)
            __builtin_prefetch(&pNext->m_aBoneKeys[bone]);
    }
    for (uint32_t bone = 0; bone < m_uiBoneCount; ++bone)
    {
        // Each lane's record as two overlapping vectors, (qx, qy, qz, qw) and (qw, tx, ty, tz),
        // read whole from the record (a narrower read of the translation would stall on
        // joining it into a vector), then turned into one vector per component.
        Lanes heads[kPoseLanes];
        Lanes tails[kPoseLanes];
#pragma GCC unroll 4
        for (uint32_t lane = 0; lane < kPoseLanes; ++lane)
        {
            // Each key's records are read once, from memory: ask for them a few bones ahead.
            __builtin_prefetch(&laneKeys[lane][std::min(bone + kPrefetchBones, m_uiBoneCount - 1)]);
            const char* const pRecord = reinterpret_cast<const char*>(&laneKeys[lane][bone]);
            std::memcpy(&heads[lane], pRecord, sizeof(Lanes));
            std::memcpy(&tails[lane], pRecord + sizeof(TBoneKey) - sizeof(Lanes), sizeof(Lanes));
        }
        Lanes rotation[4];
        Lanes wAndTranslation[4];
        TransposeLanes(heads, rotation);
        TransposeLanes(tails, wAndTranslation);
        // Sampling a key alone slerps its rotation with itself at factor 0, which gives the
        // rotation back to the bit (weights exactly 1 and +0, or the stored rotation where the
        // arc is too short to tell), except that a NaN component turns all four into NaN. No
        // sine is needed for it. The translation's lerp with itself is t + 0 t.
        const LaneMask nan = (rotation[0] != rotation[0]) | (rotation[1] != rotation[1]) |
                             (rotation[2] != rotation[2]) | (rotation[3] != rotation[3]);
#pragma GCC unroll 4
        for (Lanes& component : rotation)
            component = nan ? Broadcast(std::numeric_limits<float>::quiet_NaN()) : component;
        Lanes translation[3];
#pragma GCC unroll 3
        for (uint32_t axis = 0; axis < 3; ++axis)
            translation[axis] = wAndTranslation[axis + 1] + 0.0f * wAndTranslation[axis + 1];
        ComposeModelLanes(bone, m_aParents[bone], rotation, translation, outPoses);
    }
}

void KeyReduction::SampleKeyBlockAvx(uint32_t block, MatrixLanes* outPoses) const
{
    SampleKeyBlock(block, outPoses);
}
} // namespace AnimationTech
