#include "importers/KvResourceImporter_i18n.h"

#include "KvResourcePlugin_Core_Resources.h"
#include "importers/KvImportBudget.h"
#include "importers/KvImporterSupport.h"
#include "projectdata/KvProjectData_Core_Localisation.h"

#include <algorithm>

namespace
{
using Table = KvProjectData_Core_Raw_i18nStringTable;
using Entry = KvProjectData_Core_Raw_i18nStringTable_Entry;

// Bytes read from the source at a time.
constexpr size_t kBlockBytes = 64 * 1024;

// The locale a resource name stands for; the whole name must match, else English.
tLocale LocaleOfName(const std::string& name)
{
    const std::pair<const char*, tLocale> locales[] = {{"en_us", LOCALE_EN_US},
                                                       {"fr_fr", LOCALE_FR_FR},
                                                       {"it_it", LOCALE_IT_IT},
                                                       {"de_de", LOCALE_DE_DE},
                                                       {"es_es", LOCALE_ES_ES}};
    for (const auto& [text, locale] : locales)
    {
        if (name == text)
            return locale;
    }
    return LOCALE_EN_US;
}

// Builds the entries in one pass over the source, fed a block at a time, so that no copy of
// the whole file is held: the id runs to the first "=", the text to the first CR after it
// (a backslash directly followed by "n" in it becoming a line feed, scanning from the left),
// and the byte after the CR is skipped. A line the source ends inside gives no entry.
class EntryReader
{
public:
    EntryReader(Table& table, KvImportBudget& budget) : m_rTable(table), m_rBudget(budget) {}

    // False once the budget is spent.
    bool Feed(const char* pBytes, size_t count)
    {
        const char* const pEnd = pBytes + count;
        while (pBytes < pEnd)
        {
            switch (m_eState)
            {
            case tState::Id:
            {
                const char* pEquals = std::find(pBytes, pEnd, '=');
                m_strId.append(pBytes, pEquals);
                pBytes = pEquals;
                if (pEquals < pEnd)
                {
                    ++pBytes;
                    m_eState = tState::Text;
                }
                break;
            }
            case tState::Text:
            {
                const char* pCarriageReturn = std::find(pBytes, pEnd, '\r');
                AppendUnescaped(pBytes, pCarriageReturn);
                pBytes = pCarriageReturn;
                if (pCarriageReturn < pEnd)
                {
                    ++pBytes;
                    if (!AddEntry())
                        return false;
                    m_eState = tState::LineFeed;
                }
                break;
            }
            case tState::LineFeed:
                ++pBytes;
                m_eState = tState::Id;
                break;
            }
        }
        return true;
    }

private:
    enum class tState
    {
        Id,
        Text,
        LineFeed,
    };

    void AppendUnescaped(const char* pBytes, const char* pEnd)
    {
        for (; pBytes < pEnd; ++pBytes)
        {
            if (m_bBackslash)
            {
                m_bBackslash = false;
                if (*pBytes == 'n')
                {
                    m_strText.push_back('\n');
                    continue;
                }
                m_strText.push_back('\\');
            }
            if (*pBytes == '\\')
                m_bBackslash = true;
            else
                m_strText.push_back(*pBytes);
        }
    }

    bool AddEntry()
    {
        if (m_bBackslash)
            m_strText.push_back('\\');
        m_bBackslash = false;
        if (!m_rBudget.ChargeObject<Entry>() || !m_rBudget.ChargeElement<Entry*>() ||
            !m_rBudget.ChargeText(m_strId.size()) || !m_rBudget.ChargeText(m_strText.size()))
            return false;
        auto* pEntry = KvCreateData<Entry>();
        m_rTable.m_apEntries.push_back(pEntry);
        pEntry->m_strStringId = std::move(m_strId);
        pEntry->m_strLocalizedString = std::move(m_strText);
        m_strId.clear();
        m_strText.clear();
        return true;
    }

    Table& m_rTable;
    KvImportBudget& m_rBudget;
    tState m_eState = tState::Id;
    std::string m_strId;
    std::string m_strText;
    // The text's last byte read was a backslash, not yet written.
    bool m_bBackslash = false;
};
} // namespace

const KvResourceDescriptor* KvResourceImporter_i18n::GetResourceType() const
{
    return KvResourcePlugin_Core_i18nStringTable::GetStaticDescriptor();
}

void* KvResourceImporter_i18n::ConvertToRaw(void*&, KvResource* pResource, KvIOStream* pSource, void*)
{
    KvImportedData<Table> table;
    table->m_strName = pResource ? pResource->GetName() : "";
    table->m_eLocale = LocaleOfName(table->m_strName);

    uint64_t remaining = KvRemainingBytes(*pSource);
    KvImportBudget budget(remaining);
    EntryReader reader(*table, budget);
    std::vector<char> block(std::min<uint64_t>(remaining, kBlockBytes));
    while (remaining > 0)
    {
        const uint64_t count = pSource->Read(block.data(), std::min<uint64_t>(remaining, block.size()));
        if (count == 0)
            break;
        remaining -= count;
        if (!reader.Feed(block.data(), count))
        {
            budget.ReportSpent(KV_REPORT_SITE, pSource->GetName());
            return nullptr;
        }
    }
    return table.Release();
}
