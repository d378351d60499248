#include "host/KvDescriptorRegistry.h"

#include "resources/KvResourceDescriptor.h"

#include <algorithm>

void KvDescriptorRegistry::Register(const KvResourceDescriptor* pDescriptor)
{
    if (pDescriptor &&
        std::find(m_apDescriptors.begin(), m_apDescriptors.end(), pDescriptor) == m_apDescriptors.end())
        m_apDescriptors.push_back(pDescriptor);
}

const KvResourceDescriptor* KvDescriptorRegistry::FindByTypeName(const std::string& typeName) const
{
    for (const KvResourceDescriptor* pDescriptor : m_apDescriptors)
    {
        if (typeName == pDescriptor->GetTypeName())
            return pDescriptor;
    }
    return nullptr;
}

const KvResourceDescriptor* KvDescriptorRegistry::FindByShortName(const std::string& shortName) const
{
    for (const KvResourceDescriptor* pDescriptor : m_apDescriptors)
    {
        if (shortName == pDescriptor->GetShortName())
            return pDescriptor;
    }
    return nullptr;
}
