#include "importers/KvResourceImporter_i18n.h"

#include "KvResourcePlugin_Core_Resources.h"
#include "importers/KvImporterSupport.h"
#include "projectdata/KvProjectData_Core_Localisation.h"

#include <algorithm>

namespace
{
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

// Every backslash directly followed by "n" becomes a line feed, scanning from the left.
std::string UnescapeLineFeeds(const std::string& text)
{
    std::string result;
    for (size_t index = 0; index < text.size(); ++index)
    {
        if (text[index] == '\\' && index + 1 < text.size() && text[index + 1] == 'n')
        {
            result.push_back('\n');
            ++index;
        }
        else
            result.push_back(text[index]);
    }
    return result;
}
} // namespace

const KvResourceDescriptor* KvResourceImporter_i18n::GetResourceType() const
{
    return KvResourcePlugin_Core_i18nStringTable::GetStaticDescriptor();
}

void* KvResourceImporter_i18n::ConvertToRaw(void*&, KvResource* pResource, KvIOStream* pSource, void*)
{
    KvImportedData<KvProjectData_Core_Raw_i18nStringTable> table;
    table->m_strName = pResource ? pResource->GetName() : "";
    table->m_eLocale = LocaleOfName(table->m_strName);
    if (pSource->GetSize() == 0)
        return table.Release();

    const std::vector<uint8_t> bytes = KvReadRemainingBytes(*pSource);
    // Every search stays inside the buffer, which has no terminating zero.
    auto position = bytes.begin();
    while (position < bytes.end())
    {
        const auto equals = std::find(position, bytes.end(), '=');
        if (equals == bytes.end())
            break;
        const auto carriageReturn = std::find(equals + 1, bytes.end(), '\r');
        if (carriageReturn == bytes.end())
            break;
        auto* pEntry = KvCreateData<KvProjectData_Core_Raw_i18nStringTable_Entry>();
        pEntry->m_strStringId.assign(position, equals);
        pEntry->m_strLocalizedString = UnescapeLineFeeds(std::string(equals + 1, carriageReturn));
        table->m_apEntries.push_back(pEntry);
        if (bytes.end() - carriageReturn <= 2)
            break;
        position = carriageReturn + 2;
    }
    return table.Release();
}
