#pragma once

#include "PoseLanes.h"
#include "PoseTolerance.h"
#include "SpanPoseCache.h"
#include "animtech/TAnimatedSkeleton.h"

#include <atomic>
#include <cstdint>
#include <vector>

namespace AnimationTech
{
class ParallelRounds;

// How a key reduction ran, for its callers' measurements.
struct KeyReductionStats
{
    // Most bone poses of keys held at once: at most bones x the longest span between kept
    // keys, whatever the key count.
    uint64_t m_ulPeakCachedPoses = 0;
};

// Finds the keys that OptimizeKeys removes, with the plain algorithm's results to the bit.
// An end key is removed exactly when every key between the anchor and the end passes, so the
// keys of one round are tried in any order: four (eight with AVX) side by side, the middle ones
// (most likely to fail) first, and split over threads when a round is long. The result does
// not depend on the thread count.
class KeyReduction
{
public:
    KeyReduction(const TAnimatedSkeleton& animation, const PoseTolerance& tolerance, uint32_t threadCount);

    // One flag per key, true for the keys to erase.
    std::vector<bool> FindRemovedKeys();
    const KeyReductionStats& GetStats() const { return m_Stats; }

    // Threads worth using for an animation of this size on this machine.
    static uint32_t DefaultThreadCount(uint32_t keyCount, uint32_t boneCount);

private:
    // Whether every key between anchor and end is reproduced by interpolating between them.
    bool RoundPasses(uint32_t anchor, uint32_t end, ParallelRounds* pWorkers);
    // Whether the tests of one pass, the ones of the given order and, when wide, the next
    // order's block, find a failing key.
    bool PassFails(uint32_t anchor, uint32_t end, uint32_t order, uint32_t worker);
    // Whether any key of the given blocks (one per four lanes) that lies between anchor and
    // end fails its test.
    template <uint32_t N>
    bool BlocksFail(uint32_t anchor, uint32_t end, const uint32_t (&blocks)[N / kPoseLanes],
                    typename LaneTypes<N>::Matrix* pInterpolated);
    // BlocksFail compiled for AVX, called only where the processor has it: eight lanes fill
    // one 256-bit vector, and four take the shorter three-operand instructions.
    template <uint32_t N>
    __attribute__((target("avx"), flatten)) bool BlocksFailAvx(uint32_t anchor, uint32_t end,
                                                               const uint32_t (&blocks)[N / kPoseLanes],
                                                               typename LaneTypes<N>::Matrix* pInterpolated);
    // The own model-space poses of the four keys of a block, as sampling each key alone gives
    // them; lanes past the last key repeat it.
    void SampleKeyBlock(uint32_t block, MatrixLanes* outPoses) const;
    __attribute__((target("avx"), flatten)) void SampleKeyBlockAvx(uint32_t block,
                                                                   MatrixLanes* outPoses) const;
    // The bone's rotation arc between anchor and end, set up the first time a round needs it:
    // a round that fails early never pays for the arcs of the bones it did not reach.
    const KvSlerpArc& ArcOf(uint32_t anchor, uint32_t end, uint32_t bone);
    // Orders the bones by how recently they failed, each after its ancestors: a bone that
    // failed lately is the likeliest to fail again, and a failing round stops there.
    void TestFirst(uint32_t bone);
    const TBoneKey& BoneKey(uint32_t key, uint32_t bone) const
    {
        return m_Animation.GetKey(key)->m_aBoneKeys[bone];
    }

    const TAnimatedSkeleton& m_Animation;
    const uint32_t m_uiBoneCount;
    const uint32_t m_uiThreadCount;
    const Lanes m_MaxAxisDeviation;
    const Lanes m_MaxSquaredDistance;
    std::vector<int32_t> m_aParents;
    // The order in which a block's bones are built and compared, parents before children.
    std::vector<uint32_t> m_aBoneOrder;
    // The bone whose chain leads the order.
    uint32_t m_uiFirstTestedBone = 0;
    // TestFirst's record of the bones it has placed, and the order it builds.
    std::vector<uint8_t> m_aPlaced;
    std::vector<uint32_t> m_aNextBoneOrder;
    // The blocks of the current round's keys.
    uint32_t m_uiRoundFirstBlock = 0;
    uint32_t m_uiRoundBlockCount = 0;
    // The bone that failed in the last failing round.
    std::atomic<uint32_t> m_uiFailedBone{0};
    // Each bone's rotation arc and the end key it was set up for (0: none yet).
    std::vector<KvSlerpArc> m_aArcs;
    std::vector<uint32_t> m_aArcEnds;
    SpanPoseCache m_SpanPoses;
    // Interpolated model-space poses of one block, one set per thread.
    std::vector<std::vector<MatrixLanes>> m_aInterpolated;
    // Where the processor has AVX, blocks go in pairs, eight keys to a pass.
    const bool m_bAvx;
    std::vector<std::vector<WideMatrixLanes>> m_aWideInterpolated;
    KeyReductionStats m_Stats;
};
} // namespace AnimationTech
