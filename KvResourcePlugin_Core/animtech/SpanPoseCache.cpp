#include "SpanPoseCache.h"

#include <algorithm>
#include <cstddef>

namespace AnimationTech
{
MatrixLanes* SpanPoseCache::AppendBlock()
{
    const size_t blockEnd = (size_t(m_uiBlockCount) + 1) * m_uiBoneCount;
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
    // A span restarts at its anchor's next key, so at most one block survives a drop.
    std::copy(m_aBlocks.begin() + std::ptrdiff_t(dropped) * m_uiBoneCount,
              m_aBlocks.begin() + std::ptrdiff_t(m_uiBlockCount) * m_uiBoneCount, m_aBlocks.begin());
    m_uiBlockCount -= dropped;
    m_uiFirstBlock = block;
}
} // namespace AnimationTech
