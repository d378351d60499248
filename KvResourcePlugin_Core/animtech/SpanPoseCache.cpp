#include "SpanPoseCache.h"

#include <algorithm>

namespace AnimationTech
{
MatrixLanes* SpanPoseCache::AppendBlock()
{
    if (m_uiBlockCount == m_uiSlotCount)
    {
        // Full: twice the slots, each held block moved to its slot in the larger ring.
        const uint32_t slotCount = std::max(2 * m_uiSlotCount, 1u);
        std::vector<MatrixLanes> blocks(std::size_t(slotCount) * m_uiBoneCount);
        for (uint32_t block = m_uiFirstBlock; block < GetEndBlock(); ++block)
            std::copy_n(Block(block), m_uiBoneCount,
                        blocks.begin() + std::ptrdiff_t(block & (slotCount - 1)) * m_uiBoneCount);
        m_aBlocks = std::move(blocks);
        m_uiSlotCount = slotCount;
    }
    const uint32_t block = GetEndBlock();
    ++m_uiBlockCount;
    m_ulPeakPoses = std::max(m_ulPeakPoses, uint64_t(m_uiBlockCount) * kPoseLanes * m_uiBoneCount);
    return m_aBlocks.data() + SlotOffset(block);
}

void SpanPoseCache::DropBefore(uint32_t block)
{
    if (block <= m_uiFirstBlock)
        return;
    m_uiBlockCount -= std::min(block - m_uiFirstBlock, m_uiBlockCount);
    m_uiFirstBlock = block;
}
} // namespace AnimationTech
