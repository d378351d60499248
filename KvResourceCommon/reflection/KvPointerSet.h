#pragma once

#include "KvResourceCommonExport.h"
#include "reflection/KvPointerHash.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// A set of non-null pointers that only grows: open addressing over a power-of-two table kept at
// most half full. Walks over object trees insert one pointer per object, tens of thousands of
// times, where a node-based set would allocate once per pointer.
// Tables are borrowed from the thread's spares and given back uncleared: each set stamps its
// slots with an epoch of its own, and a slot stamped by another set is empty to it. A release
// walk thus starts on a table as large as the thread's last one, paged in, without zeroing it
// or growing through every size again.
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
        if (2 * (m_uiCount + 1) > m_aSlots.size())
            Grow();
        Slot& slot = m_aSlots[Probe(pPointer)];
        if (slot.ulEpoch == m_ulEpoch)
            return false;
        slot = {pPointer, m_ulEpoch};
        ++m_uiCount;
        return true;
    }

    struct Slot
    {
        const void* pPointer = nullptr;
        // Epoch 0 is no set's: fresh slots are empty to all.
        uint64_t ulEpoch = 0;
    };

private:
    // The slot that holds the pointer, or the empty slot where it would go.
    size_t Probe(const void* pPointer) const
    {
        const size_t mask = m_aSlots.size() - 1;
        size_t slot = KvPointerHash(pPointer, m_uiSlotBits);
        while (m_aSlots[slot].ulEpoch == m_ulEpoch && m_aSlots[slot].pPointer != pPointer)
            slot = (slot + 1) & mask;
        return slot;
    }

    void Grow();

    std::vector<Slot> m_aSlots;
    uint64_t m_ulEpoch;
    size_t m_uiCount = 0;
    uint32_t m_uiSlotBits = 0;
};
