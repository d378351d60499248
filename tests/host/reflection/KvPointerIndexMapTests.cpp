#include "reflection/KvPointerIndexMap.h"

#include <gtest/gtest.h>

#include <random>
#include <unordered_map>
#include <vector>

// Random inserts, erases and reassignments over few pointers close together, so probe chains
// grow long and wrap around the table, against a node-based map doing the same.
TEST(PointerIndexMap, MatchesANodeMapThroughRandomChanges)
{
    std::vector<char> bytes(300);
    std::mt19937 random(7);
    KvPointerIndexMap map;
    std::unordered_map<const void*, size_t> expected;
    for (size_t step = 0; step < 200000; ++step)
    {
        const void* pPointer = &bytes[random() % bytes.size()];
        switch (random() % 3)
        {
        case 0:
            ASSERT_EQ(map.Insert(pPointer, step), expected.emplace(pPointer, step).second) << step;
            break;
        case 1:
        {
            const auto found = expected.find(pPointer);
            ASSERT_EQ(map.Erase(pPointer), found == expected.end() ? KvPointerIndexMap::kNone : found->second)
                << step;
            if (found != expected.end())
                expected.erase(found);
            break;
        }
        default:
            map.Reassign(pPointer, step);
            if (const auto found = expected.find(pPointer); found != expected.end())
                found->second = step;
        }
        ASSERT_EQ(map.GetSize(), expected.size());
        // Every pointer's index, read by erasing it from a copy.
        if (step % 1000 == 0)
            for (const char& byte : bytes)
            {
                KvPointerIndexMap copy = map;
                const auto found = expected.find(&byte);
                ASSERT_EQ(copy.Erase(&byte),
                          found == expected.end() ? KvPointerIndexMap::kNone : found->second);
            }
    }
}
