#pragma once

#include "KvResourceCommonExport.h"
#include "reflection/KvPointerHash.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// A set of non-null pointers that only grows: open addressing over a power-of-two table kept at
// most half full. Walks over object trees insert one pointer per object, tens of thousands of
// times, where a node-based set would allocate once per pointer.
// The tables are borrowed from the thread's spares and given back, so that a release walk
// reuses memory already paged in instead of mapping and zeroing fresh tables for each tree.
class KV_RESOURCECOMMON_API KvPointerSet
{
public:
    KvPointerSet();
    ~KvPointerSet();
    KvPointerSet(const KvPointerSet&) = delete;
    KvPointerSet& operator=(const KvPointerSet&) = delete;

    // False when the pointer was in the set already.
    bool Insert(const void* pPointer)
    {
        if (2 * (m_uiCount + 1) > m_apSlots.size())
            Grow();
        for (size_t slot = SlotOf(pPointer);; slot = (slot + 1) & (m_apSlots.size() - 1))
        {
            if (m_apSlots[slot] == pPointer)
                return false;
            if (!m_apSlots[slot])
            {
                m_apSlots[slot] = pPointer;
                ++m_uiCount;
                return true;
            }
        }
    }

private:
    size_t SlotOf(const void* pPointer) const { return KvPointerHash(pPointer, m_uiSlotBits); }

    void Grow();

    std::vector<const void*> m_apSlots;
    // The table before the last growth; its storage is reused by the next one.
    std::vector<const void*> m_apPrevious;
    size_t m_uiCount = 0;
    uint32_t m_uiSlotBits = 3;
};
