#pragma once

#include "reflection/KvPointerIndexMap.h"

#include <cstdint>
#include <vector>

// The live objects of one type, each once, in the order they were registered. Objects sit in a
// vector in that order; a removed one leaves a null slot, and the slots are compacted once they
// outnumber the live objects, so making and releasing many objects costs one slot in a flat
// table each and stays linear.
class KvLiveObjectList
{
public:
    void Add(void* pObject)
    {
        if (pObject && m_Slots.Insert(pObject, m_apObjects.size()))
            m_apObjects.push_back(pObject);
    }
    void Remove(void* pObject)
    {
        const size_t slot = m_Slots.Erase(pObject);
        if (slot == KvPointerIndexMap::kNone)
            return;
        m_apObjects[slot] = nullptr;
        if (m_apObjects.size() > 2 * m_Slots.GetSize() + kCompactionSlack)
            Compact();
    }
    // The first object, in registration order, for which the test holds; null when none does.
    template <class Test>
    void* FindFirst(Test&& test) const
    {
        for (void* pObject : m_apObjects)
            if (pObject && test(pObject))
                return pObject;
        return nullptr;
    }
    void AppendTo(std::vector<void*>& outObjects) const
    {
        for (void* pObject : m_apObjects)
            if (pObject)
                outObjects.push_back(pObject);
    }

private:
    // Few removals leave their slots, so a small list is never compacted back and forth.
    static constexpr size_t kCompactionSlack = 64;

    void Compact()
    {
        size_t kept = 0;
        for (void* pObject : m_apObjects)
            if (pObject)
            {
                m_Slots.Reassign(pObject, kept);
                m_apObjects[kept++] = pObject;
            }
        m_apObjects.resize(kept);
    }

    std::vector<void*> m_apObjects;
    KvPointerIndexMap m_Slots;
};
