#pragma once

#include <cstdint>
#include <map>
#include <unordered_map>
#include <vector>

// The live objects of one type, each once, in the order they were registered. Adding and
// removing take logarithmic time, so making and releasing many objects stays near linear.
class KvLiveObjectList
{
public:
    void Add(void* pObject)
    {
        if (m_Order.emplace(pObject, m_ulNext).second)
            m_Objects.emplace(m_ulNext++, pObject);
    }
    void Remove(void* pObject)
    {
        if (const auto found = m_Order.find(pObject); found != m_Order.end())
        {
            m_Objects.erase(found->second);
            m_Order.erase(found);
        }
    }
    // The first object, in registration order, for which the test holds; null when none does.
    template <class Test>
    void* FindFirst(Test&& test) const
    {
        for (const auto& [order, pObject] : m_Objects)
            if (test(pObject))
                return pObject;
        return nullptr;
    }
    void AppendTo(std::vector<void*>& outObjects) const
    {
        for (const auto& [order, pObject] : m_Objects)
            outObjects.push_back(pObject);
    }

private:
    std::map<uint64_t, void*> m_Objects;
    std::unordered_map<void*, uint64_t> m_Order;
    uint64_t m_ulNext = 0;
};
