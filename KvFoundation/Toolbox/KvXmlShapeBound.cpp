#include "Toolbox/KvXmlShapeBound.h"

#include <algorithm>
#include <cstring>

namespace
{
// Sixteen bytes compared at once; a comparison gives 0xFF where it holds, so subtracting it
// counts one per byte.
using Block = unsigned char __attribute__((vector_size(16)));
constexpr int64_t kBlockSize = sizeof(Block);
// Blocks a byte counter takes before it could wrap.
constexpr int kBlocksPerFlush = 255;

// The block at offset, with zeros where it reaches outside the text.
Block LoadPadded(const char* text, int64_t size, int64_t offset)
{
    Block block{};
    const int64_t first = std::max<int64_t>(offset, 0);
    const int64_t last = std::min(offset + kBlockSize, size);
    if (first < last)
        std::memcpy(reinterpret_cast<char*>(&block) + (first - offset), text + first, last - first);
    return block;
}

Block Equal(Block block, unsigned char c)
{
    return reinterpret_cast<Block>(block == c);
}

uint64_t Sum(Block counters)
{
    uint64_t sum = 0;
    for (int lane = 0; lane < kBlockSize; ++lane)
        sum += counters[lane];
    return sum;
}
} // namespace

KvXmlShapeBound KvXmlShapeBound::Count(const char* text, uint64_t size, uint64_t depthLimit)
{
    KvXmlShapeBound bound;
    const auto length = static_cast<int64_t>(size);
    for (int64_t offset = 0; offset < length && bound.m_ulOpeningEnds <= depthLimit;)
    {
        Block openingEnds{};
        Block openingBrackets{};
        Block equals{};
        for (int block = 0; block < kBlocksPerFlush && offset < length; ++block, offset += kBlockSize)
        {
            Block current;
            Block previous;
            // Only the first and the last blocks reach outside the text.
            if (offset > 0 && offset + kBlockSize <= length)
            {
                std::memcpy(&current, text + offset, kBlockSize);
                std::memcpy(&previous, text + offset - 1, kBlockSize);
            }
            else
            {
                current = LoadPadded(text, length, offset);
                previous = LoadPadded(text, length, offset - 1);
            }
            openingEnds -= Equal(current, '>') & ~Equal(previous, '/');
            openingBrackets -= Equal(current, '<');
            equals -= Equal(current, '=');
        }
        bound.m_ulOpeningEnds += Sum(openingEnds);
        bound.m_ulOpeningBrackets += Sum(openingBrackets);
        bound.m_ulEquals += Sum(equals);
    }
    return bound;
}
