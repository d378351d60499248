#include "SpanPoseCache.h"

#include <algorithm>
#include <cstddef>

namespace AnimationTech
{
MatrixLanes* SpanPoseCache::AppendBlock()
{
    const std::size_t slotCount = m_aBlocks.size() / m_uiBoneCount;
    if (m_uiFirstSlot + m_uiBlockCount == slotCount && m_uiFirstSlot >= m_uiBlockCount && m_uiFirstSlot > 0)
    {
        std::copy(m_aBlocks.begin() + std::ptrdiff_t(m_uiFirstSlot) * m_uiBoneCount, m_aBlocks.end(),
                  m_aBlocks.begin());
        m_uiFirstSlot = 0;
    }
    const std::size_t blockEnd = (std::size_t(m_uiFirstSlot) + m_uiBlockCount + 1) * m_uiBoneCount;
    if (m_aBlocks.size() < blockEnd)
        m_aBlocks.resize(blockEnd);
    ++m_uiBlockCount;
    m_ulPeakPoses = std::max(m_ulPeakPoses, uint64_t(m_uiBlockCount) * kPoseLanes * m_uiBoneCount);
    return m_aBlocks.data() + (blockEnd - m_uiBoneCount);
}

void SpanPoseCache::DropBefore(uint32_t block)
{
    if (block <= m_uiFirstBlock)
        return;
    const uint32_t dropped = std::min(block - m_uiFirstBlock, m_uiBlockCount);
    m_uiBlockCount -= dropped;
    m_uiFirstSlot = m_uiBlockCount == 0 ? 0 : m_uiFirstSlot + dropped;
    m_uiFirstBlock = block;
}
} // namespace AnimationTech
