#pragma once

#include "KvResourceCommonExport.h"
#include "resources/KvResourcePlugin.h"

#include <string>
#include <vector>

// The registered resource types, in registration order. A descriptor registered again
// (a plug-in initialised twice) is kept once.
class KV_RESOURCECOMMON_API KvDescriptorRegistry : public KvResourceDescriptorRegistry
{
public:
    void Register(const KvResourceDescriptor* pDescriptor) override;

    const std::vector<const KvResourceDescriptor*>& GetDescriptors() const { return m_apDescriptors; }
    // By type name or by short name; null when unknown.
    const KvResourceDescriptor* FindByTypeName(const std::string& typeName) const;
    const KvResourceDescriptor* FindByShortName(const std::string& shortName) const;

private:
    std::vector<const KvResourceDescriptor*> m_apDescriptors;
};
