#include "reflection/KvPointerSet.h"

#include <utility>

namespace
{
// Tables larger than this go back to the heap rather than to the spares: one huge tree must
// not pin its table for the rest of the thread's life.
constexpr size_t kMaxSpareSlots = size_t(1) << 20;

thread_local std::vector<std::vector<const void*>> t_aSpareTables;

std::vector<const void*> TakeSpareTable()
{
    if (t_aSpareTables.empty())
        return {};
    std::vector<const void*> table = std::move(t_aSpareTables.back());
    t_aSpareTables.pop_back();
    return table;
}

void GiveBack(std::vector<const void*>& table)
{
    if (table.capacity() > 0 && table.capacity() <= kMaxSpareSlots)
        t_aSpareTables.push_back(std::move(table));
}
} // namespace

KvPointerSet::KvPointerSet() : m_apSlots(TakeSpareTable()), m_apPrevious(TakeSpareTable())
{
    m_apSlots.clear();
    m_apPrevious.clear();
}

KvPointerSet::~KvPointerSet()
{
    GiveBack(m_apSlots);
    GiveBack(m_apPrevious);
}

void KvPointerSet::Grow()
{
    m_apPrevious.assign(size_t(1) << ++m_uiSlotBits, nullptr);
    m_apPrevious.swap(m_apSlots);
    m_uiCount = 0;
    for (const void* pPointer : m_apPrevious)
        if (pPointer)
            Insert(pPointer);
}
