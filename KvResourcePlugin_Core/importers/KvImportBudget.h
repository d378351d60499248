#pragma once

#include "Foundation/KvReport.h"

#include <cstddef>
#include <cstdint>

// The memory one import may take: ten times its source's size plus an allowance, whatever the
// source's shape. An importer charges what it builds before building it, and refuses the
// source once the budget is spent, so no text of short lines or empty elements can make it
// take memory out of proportion to its size. Charges are estimates that err on the high side.
class KvImportBudget
{
public:
    static constexpr uint64_t kFactor = 10;
    static constexpr uint64_t kAllowance = 2 * 1024 * 1024;
    // What the heap adds to every block it hands out.
    static constexpr uint64_t kHeapOverhead = 16;

    explicit KvImportBudget(uint64_t sourceBytes);

    // False once the charges exceed the budget.
    bool Charge(uint64_t bytes);
    // An object of its own on the heap.
    template <class T>
    bool ChargeObject()
    {
        return Charge(sizeof(T) + kHeapOverhead);
    }
    // One more element of a growing array, whose old and new storage coexist while it grows.
    template <class T>
    bool ChargeElement()
    {
        return Charge(3 * sizeof(T));
    }
    // An entry of a node-based map: its value, the node's links and the heap's share.
    template <class Map>
    bool ChargeMapEntry()
    {
        return Charge(sizeof(typename Map::value_type) + 4 * sizeof(void*) + kHeapOverhead);
    }
    // A copy of a text, on the heap beyond the string's own small storage.
    bool ChargeText(size_t length);

    // Logs, for the reporting importer, that the source was refused.
    void ReportSpent(const KvReportSite& site, const char* sourceName) const;

private:
    uint64_t m_ulSourceBytes;
    uint64_t m_ulCharged = 0;
};
