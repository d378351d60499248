#pragma once

#include "Foundation/KvSingleton_ProcessShared.h"
#include "TypeManager/KvTypeManager.h"

#include <map>
#include <string>
#include <vector>

class KvTypeManagerImpl;
KV_DECLARE_SHARED_TYPE(KvTypeManagerImpl, "KvTypeManagerImpl", "instance", "class KvTypeManagerImpl");

// The registry behind KvTypeManager. It owns its records and is never destroyed while the
// process runs; nothing is ever unregistered.
class KvTypeManagerImpl : public KvTypeManager, public KvSingleton_ProcessShared<KvTypeManagerImpl>
{
public:
    using KvSingleton_ProcessShared<KvTypeManagerImpl>::GetInstance;

    // Registers the root "KvTypedObject" as index 0.
    KvTypeManagerImpl();
    ~KvTypeManagerImpl() override;

    KvTypeManagerImpl(const KvTypeManagerImpl&) = delete;
    KvTypeManagerImpl& operator=(const KvTypeManagerImpl&) = delete;

    KvTypeInfo* RegisterTemplate(const void* pFactory, bool bAbstract, const char* className,
                                 const char* parentName, KvTypeInfo::CreateFunction pfnCreate,
                                 uint32_t objectSize, uint64_t extra64, uint32_t extra32) override;
    KvTypeInfo* FindType(const char* name) const override;
    KvTypeInfo* GetTypeByIndex(uint32_t index) const override { return m_apTypes[index]; }
    void GetDerivedTypes(const KvTypeInfo* pBase, std::vector<KvTypeInfo*>& outTypes) const override;
    uint32_t GetTypeCount() const override { return static_cast<uint32_t>(m_apTypes.size()); }
    uint32_t Validate() override;
    uint32_t GetTypeIndex(const std::string& name) const override;
    uint32_t GetDerivedTypeNames(uint32_t index, std::vector<std::string>& outNames) const override;

    bool IsValidated() const { return m_bValidated; }

private:
    // The record of a name, appended as a bare placeholder when the name is new.
    KvTypeInfo* FindOrAddRecord(const std::string& name);
    bool m_bValidated = false;
    std::map<std::string, uint32_t> m_NameToIndex;
    std::map<uint32_t, std::string> m_IndexToName;
    std::vector<KvTypeInfo*> m_apTypes;
};
