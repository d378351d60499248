#pragma once

#include <cstdint>
#include <vector>

// A set of non-null pointers that only grows: open addressing over a power-of-two table kept at
// most half full. Walks over object trees insert one pointer per object, tens of thousands of
// times, where a node-based set would allocate once per pointer.
class KvPointerSet
{
public:
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
    // Fibonacci hashing: the multiplication spreads the aligned low bits over the high ones
    // that pick the slot.
    size_t SlotOf(const void* pPointer) const
    {
        return static_cast<size_t>((reinterpret_cast<uintptr_t>(pPointer) * 0x9E3779B97F4A7C15ull) >>
                                   (64 - m_uiSlotBits));
    }

    void Grow()
    {
        std::vector<const void*> old(size_t(1) << ++m_uiSlotBits, nullptr);
        old.swap(m_apSlots);
        m_uiCount = 0;
        for (const void* pPointer : old)
            if (pPointer)
                Insert(pPointer);
    }

    std::vector<const void*> m_apSlots;
    size_t m_uiCount = 0;
    uint32_t m_uiSlotBits = 3;
};
