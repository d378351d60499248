#pragma once

#include "PoseLanes.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace AnimationTech
{
// The model-space poses of the keys between the current anchor and end, each sampled once
// and dropped when the anchor moves past it. Poses are held in blocks of four consecutive
// keys (block b holds keys 4b .. 4b + 3, one per lane), as the tests read them, in a ring of
// slots (block b in slot b mod the slot count) that doubles when full, so the memory follows
// the longest span between kept keys, not the key count, and no block moves while the span
// keeps its length.
class SpanPoseCache
{
public:
    explicit SpanPoseCache(uint32_t boneCount) : m_uiBoneCount(boneCount) {}

    // One past the last block held.
    uint32_t GetEndBlock() const { return m_uiFirstBlock + m_uiBlockCount; }
    // Room for block GetEndBlock(), one MatrixLanes per bone, for the caller to fill.
    MatrixLanes* AppendBlock();
    // Forgets the blocks before the given one; the storage stays for later blocks.
    void DropBefore(uint32_t block);
    // The bone matrices of a held block.
    const MatrixLanes* Block(uint32_t block) const { return m_aBlocks.data() + SlotOffset(block); }
    // The most bone poses of keys held at once.
    uint64_t GetPeakPoses() const { return m_ulPeakPoses; }

private:
    std::size_t SlotOffset(uint32_t block) const
    {
        return std::size_t(block & (m_uiSlotCount - 1)) * m_uiBoneCount;
    }

    uint32_t m_uiBoneCount;
    uint32_t m_uiFirstBlock = 0;
    uint32_t m_uiBlockCount = 0;
    // A power of two, or 0 before the first block.
    uint32_t m_uiSlotCount = 0;
    uint64_t m_ulPeakPoses = 0;
    std::vector<MatrixLanes> m_aBlocks;
};
} // namespace AnimationTech
