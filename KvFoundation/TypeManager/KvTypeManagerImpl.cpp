#include "TypeManager/KvTypeManagerImpl.h"

#include "Foundation/KvReport.h"
#include "TypeManager/KvTypedObject.h"

namespace
{
constexpr const char* kFile = "TypeManager\\KvTypeManagerImpl";
}

KvTypeManager* KvTypeManager::GetInstance()
{
    return KvSingleton_ProcessShared<KvTypeManagerImpl>::GetInstance();
}

KvTypeManagerImpl::KvTypeManagerImpl()
{
    KvTypeInfo* pRoot = FindOrAddRecord(KvTypedObject::kClassName);
    pRoot->m_bAbstract = true;
    pRoot->m_uiObjectSize = sizeof(KvTypedObject);
}

KvTypeManagerImpl::~KvTypeManagerImpl()
{
    for (KvTypeInfo* pType : m_apTypes)
        delete pType;
}

KvTypeInfo* KvTypeManagerImpl::FindOrAddRecord(const std::string& name)
{
    const auto found = m_NameToIndex.find(name);
    if (found != m_NameToIndex.end())
        return m_apTypes[found->second];
    const uint32_t index = GetTypeCount();
    m_NameToIndex.emplace(name, index);
    m_IndexToName.emplace(index, name);
    m_apTypes.push_back(new KvTypeInfo(name, index));
    return m_apTypes.back();
}

bool KvTypeManager::IsOrDerivesFrom(const KvTypeInfo* pType, uint32_t ancestorIndex) const
{
    for (uint32_t steps = 0; pType && steps < GetTypeCount(); ++steps, pType = pType->m_pParent)
    {
        if (pType->m_uiIndex == ancestorIndex)
            return true;
    }
    return false;
}

KvTypeInfo* KvTypeManagerImpl::RegisterTemplate(const void* pFactory, bool bAbstract, const char* className,
                                                const char* parentName, KvTypeInfo::CreateFunction pfnCreate,
                                                uint32_t objectSize, uint64_t extra64, uint32_t extra32)
{
    static constexpr const char* kFunction = "KvTypeManagerImpl::RegisterTemplate";
    if (!pFactory)
        KvFatalReport({kFile, kFunction, 48}, "No factory object specified!");
    if (!className)
        KvFatalReport({kFile, kFunction, 49}, "No name specified for the class type");
    if (!parentName)
        KvFatalReport({kFile, kFunction, 50}, "No name specified for the parent class type");

    // The parent is entered first, so an unknown parent gets the lower index.
    KvTypeInfo* pParent = FindOrAddRecord(parentName);
    KvTypeInfo* pType = FindOrAddRecord(className);

    pType->m_pfnCreate = pfnCreate;
    pType->m_pParent = pParent;
    pType->m_pFactory = pFactory;
    pType->m_bAbstract = bAbstract;
    pType->m_uiExtra32 = extra32;
    pType->m_uiObjectSize = objectSize;
    pType->m_ulExtra64 = extra64;
    return pType;
}

KvTypeInfo* KvTypeManagerImpl::FindType(const char* name) const
{
    if (!name)
        return nullptr;
    const auto found = m_NameToIndex.find(name);
    return found == m_NameToIndex.end() ? nullptr : m_apTypes[found->second];
}

void KvTypeManagerImpl::GetDerivedTypes(const KvTypeInfo* pBase, std::vector<KvTypeInfo*>& outTypes) const
{
    for (KvTypeInfo* pType : m_apTypes)
    {
        if (pType != pBase && IsOrDerivesFrom(pType->m_pParent, pBase->m_uiIndex))
            outTypes.push_back(pType);
    }
}

uint32_t KvTypeManagerImpl::Validate()
{
    for (const KvTypeInfo* pType : m_apTypes)
    {
        if (!pType->Validate())
            KvFatalReport({kFile, "KvTypeManagerImpl::Validate", 150}, "Validation of class '%s' failed.",
                          pType->m_strName.c_str());
    }
    m_bValidated = true;
    return GetTypeCount();
}

uint32_t KvTypeManagerImpl::GetTypeIndex(const std::string& name) const
{
    const auto found = m_NameToIndex.find(name);
    return found == m_NameToIndex.end() ? KvTypeInfo::kInvalidIndex : found->second;
}

uint32_t KvTypeManagerImpl::GetDerivedTypeNames(uint32_t index, std::vector<std::string>& outNames) const
{
    for (const KvTypeInfo* pType : m_apTypes)
    {
        if (IsOrDerivesFrom(pType, index))
            outNames.push_back(pType->m_strName);
    }
    return GetTypeCount();
}
