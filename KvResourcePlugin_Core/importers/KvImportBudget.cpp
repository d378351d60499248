#include "importers/KvImportBudget.h"

#include "Foundation/KvReport.h"
#include "importers/KvSaturatingArithmetic.h"

#include <string>

namespace
{
// Text up to this length lives inside the string object.
const size_t kSmallText = std::string().capacity();
} // namespace

KvImportBudget::KvImportBudget(uint64_t sourceBytes) : m_ulSourceBytes(sourceBytes) {}

bool KvImportBudget::Charge(uint64_t bytes)
{
    m_ulCharged = KvSaturatingAdd(m_ulCharged, bytes);
    return m_ulCharged <= KvSaturatingAdd(KvSaturatingMultiply(m_ulSourceBytes, kFactor), kAllowance);
}

bool KvImportBudget::ChargeText(size_t length)
{
    return Charge(length <= kSmallText ? 0 : length + 1 + kHeapOverhead);
}

void KvImportBudget::ReportSpent(const KvReportSite& site, const char* sourceName) const
{
    KvLogReport(kKvLogLevelWarning, site,
                "Ignoring %s: importing its %llu bytes would take more than %llu times as many and %llu more",
                sourceName, static_cast<unsigned long long>(m_ulSourceBytes),
                static_cast<unsigned long long>(kFactor), static_cast<unsigned long long>(kAllowance));
}
