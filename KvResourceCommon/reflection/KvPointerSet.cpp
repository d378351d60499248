#include "reflection/KvPointerSet.h"

#include <bit>
#include <utility>

namespace
{
constexpr size_t kFirstSlots = 16;
// Tables larger than this go back to the heap rather than to the spares: one huge tree must
// not pin its table for the rest of the thread's life.
constexpr size_t kMaxSpareSlots = size_t(1) << 19;

thread_local std::vector<std::vector<KvPointerSet::Slot>> t_aSpareTables;
thread_local uint64_t t_ulLastEpoch = 0;

void GiveBack(std::vector<KvPointerSet::Slot>& table)
{
    if (!table.empty() && table.size() <= kMaxSpareSlots)
        t_aSpareTables.push_back(std::move(table));
}
} // namespace

KvPointerSet::KvPointerSet() : m_ulEpoch(++t_ulLastEpoch)
{
    if (t_aSpareTables.empty())
        return;
    m_aSlots = std::move(t_aSpareTables.back());
    t_aSpareTables.pop_back();
    m_uiSlotBits = static_cast<uint32_t>(std::countr_zero(m_aSlots.size()));
}

KvPointerSet::~KvPointerSet()
{
    GiveBack(m_aSlots);
}

void KvPointerSet::Grow()
{
    const size_t size = m_aSlots.empty() ? kFirstSlots : 2 * m_aSlots.size();
    std::vector<Slot> previous(size);
    previous.swap(m_aSlots);
    m_uiSlotBits = static_cast<uint32_t>(std::countr_zero(size));
    for (const Slot& slot : previous)
        if (slot.ulEpoch == m_ulEpoch)
            m_aSlots[Probe(slot.pPointer)] = slot;
    GiveBack(previous);
}
