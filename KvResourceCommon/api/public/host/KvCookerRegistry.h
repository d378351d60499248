#pragma once

#include "KvResourceCommonExport.h"
#include "resources/KvResourceCooker.h"
#include "resources/KvResourcePlugin.h"

#include <memory>
#include <vector>

// The registered cookers, owned.
class KV_RESOURCECOMMON_API KvCookerRegistry : public KvResourceCookerRegistry
{
public:
    void Register(KvResourceCooker* pCooker) override
    {
        if (pCooker)
            m_apCookers.emplace_back(pCooker);
    }
    // The cooker of a resource type, or null.
    KvResourceCooker* FindByResourceType(const KvResourceDescriptor* pDescriptor) const
    {
        for (const auto& pCooker : m_apCookers)
        {
            if (pCooker->GetResourceType() == pDescriptor)
                return pCooker.get();
        }
        return nullptr;
    }
    size_t GetCount() const { return m_apCookers.size(); }

private:
    std::vector<std::unique_ptr<KvResourceCooker>> m_apCookers;
};
