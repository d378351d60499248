#pragma once

#include "reflection/KvPointerHash.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// A map from non-null pointers to indices: open addressing with linear probing over a
// power-of-two table kept at most half full, and deletion by shifting the probe chain back, so
// no tombstones pile up. Registering and releasing an object costs no heap block of its own.
class KvPointerIndexMap
{
public:
    static constexpr size_t kNone = SIZE_MAX;

    size_t GetSize() const { return m_uiCount; }

    // False, and nothing changed, when the pointer is in the map already.
    bool Insert(const void* pPointer, size_t index)
    {
        if (2 * (m_uiCount + 1) > m_aEntries.size())
            Grow();
        Entry& entry = m_aEntries[Probe(pPointer)];
        if (entry.pPointer)
            return false;
        entry = {pPointer, index};
        ++m_uiCount;
        return true;
    }

    // Sets the index of a pointer that is in the map.
    void Reassign(const void* pPointer, size_t index)
    {
        if (!m_aEntries.empty())
            if (Entry& entry = m_aEntries[Probe(pPointer)]; entry.pPointer)
                entry.uiIndex = index;
    }

    // The index the pointer had, or kNone when it was not in the map.
    size_t Erase(const void* pPointer)
    {
        if (m_aEntries.empty())
            return kNone;
        size_t hole = Probe(pPointer);
        if (!m_aEntries[hole].pPointer)
            return kNone;
        const size_t index = m_aEntries[hole].uiIndex;
        --m_uiCount;
        // Moves back each later entry of the chain whose home slot does not lie between the
        // hole and itself (cyclically), so every probe still reaches its entry.
        const size_t mask = m_aEntries.size() - 1;
        for (size_t next = (hole + 1) & mask; m_aEntries[next].pPointer; next = (next + 1) & mask)
        {
            const size_t home = KvPointerHash(m_aEntries[next].pPointer, m_uiSlotBits);
            if (((next - home) & mask) >= ((next - hole) & mask))
            {
                m_aEntries[hole] = m_aEntries[next];
                hole = next;
            }
        }
        m_aEntries[hole] = {};
        return index;
    }

private:
    struct Entry
    {
        const void* pPointer = nullptr;
        size_t uiIndex = 0;
    };

    // The slot that holds the pointer, or the empty slot where it would go.
    size_t Probe(const void* pPointer) const
    {
        const size_t mask = m_aEntries.size() - 1;
        size_t slot = KvPointerHash(pPointer, m_uiSlotBits);
        while (m_aEntries[slot].pPointer && m_aEntries[slot].pPointer != pPointer)
            slot = (slot + 1) & mask;
        return slot;
    }

    void Grow()
    {
        std::vector<Entry> old(size_t(1) << ++m_uiSlotBits);
        old.swap(m_aEntries);
        for (const Entry& entry : old)
            if (entry.pPointer)
                m_aEntries[Probe(entry.pPointer)] = entry;
    }

    std::vector<Entry> m_aEntries;
    size_t m_uiCount = 0;
    uint32_t m_uiSlotBits = 3;
};
