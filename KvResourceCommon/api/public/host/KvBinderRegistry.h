#pragma once

#include "KvResourceCommonExport.h"
#include "resources/KvResourceBinder.h"
#include "resources/KvResourcePlugin.h"

#include <memory>
#include <utility>
#include <vector>

// The registered binders, owned, each with its resource type.
class KV_RESOURCECOMMON_API KvBinderRegistry : public KvResourceBinderRegistry
{
public:
    void Register(const KvResourceDescriptor* pDescriptor, void*, void*, KvResourceBinder* pBinder) override
    {
        if (pBinder)
            m_aBinders.emplace_back(pDescriptor, std::unique_ptr<KvResourceBinder>(pBinder));
    }
    // The binder of a resource type, or null.
    KvResourceBinder* FindByResourceType(const KvResourceDescriptor* pDescriptor) const
    {
        for (const auto& [pBinderType, pBinder] : m_aBinders)
        {
            if (pBinderType == pDescriptor)
                return pBinder.get();
        }
        return nullptr;
    }
    size_t GetCount() const { return m_aBinders.size(); }

private:
    std::vector<std::pair<const KvResourceDescriptor*, std::unique_ptr<KvResourceBinder>>> m_aBinders;
};
