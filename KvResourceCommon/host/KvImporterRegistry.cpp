#include "host/KvImporterRegistry.h"

#include <algorithm>
#include <cctype>

namespace
{
std::string LowerCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}
} // namespace

void KvImporterRegistry::Register(KvResourceImporter* pImporter)
{
    if (pImporter)
        m_apImporters.emplace_back(pImporter);
}

std::vector<KvResourceImporter*> KvImporterRegistry::GetImporters() const
{
    std::vector<KvResourceImporter*> importers;
    for (const auto& pImporter : m_apImporters)
        importers.push_back(pImporter.get());
    return importers;
}

std::vector<KvResourceImporter*> KvImporterRegistry::FindByExtension(const std::string& extension) const
{
    std::vector<KvResourceImporter*> importers;
    for (const auto& pImporter : m_apImporters)
    {
        if (LowerCase(pImporter->GetExtension()) == LowerCase(extension))
            importers.push_back(pImporter.get());
    }
    return importers;
}

std::vector<KvResourceImporter*>
KvImporterRegistry::FindByResourceType(const KvResourceDescriptor* pDescriptor) const
{
    std::vector<KvResourceImporter*> importers;
    for (const auto& pImporter : m_apImporters)
    {
        if (pImporter->GetResourceType() == pDescriptor)
            importers.push_back(pImporter.get());
    }
    return importers;
}
