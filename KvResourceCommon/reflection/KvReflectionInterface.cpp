#include "reflection/KvReflectionInterface.h"

#include "Foundation/KvReport.h"
#include "reflection/KvObjectTree.h"
#include "reflection/KvReflectedDataType.h"

#include <algorithm>

const std::string* KvReflectionInterface::GetObjectName(const KvReflectedDataType* pType, const void* pObject)
{
    const int32_t index = pType->FindMember(kNameMember);
    if (index < 0)
        return nullptr;
    const KvReflectedPrimitive* pMember = pType->GetMember(index);
    if (pMember->GetKind() != PRIMITIVE_VALUE || pMember->GetValueType() != VALUE_STRING)
        return nullptr;
    return static_cast<const std::string*>(pMember->GetAddress(pObject));
}

KvReflectionInterface::KvReflectionInterface()
    : m_pTypeRecordType(std::make_unique<KvReflectedDataType>("KvReflectedDataType"))
{
}

KvReflectionInterface::~KvReflectionInterface()
{
    for (KvReflectedDataType* pType : m_apTypes)
        delete pType;
}

void KvReflectionInterface::RegisterType(KvReflectedDataType* pType)
{
    const auto found = m_TypesByName.find(pType->GetName());
    if (found != m_TypesByName.end())
    {
        if (found->second != pType)
        {
            KvLogReport(kKvLogLevelWarning, KV_REPORT_SITE, "A second record for type '%s' was refused",
                        pType->GetName().c_str());
            delete pType;
        }
        return;
    }
    m_apTypes.push_back(pType);
    m_TypesByName.emplace(pType->GetName(), pType);
}

KvReflectedDataType* KvReflectionInterface::FindType(const char* name) const
{
    if (!name)
        return nullptr;
    const auto found = m_TypesByName.find(std::string_view(name));
    return found == m_TypesByName.end() ? nullptr : found->second;
}

std::vector<KvReflectedDataType*> KvReflectionInterface::GetTypes() const
{
    return m_apTypes;
}

const KvReflectedDataType* KvReflectionInterface::GetTypeRecordType() const
{
    return m_pTypeRecordType.get();
}

void* KvReflectionInterface::CreateObject(const char* typeName) const
{
    const KvReflectedDataType* pType = FindType(typeName);
    if (!pType || !pType->GetObjectConstructor())
    {
        KvLogReport(kKvLogLevelWarning, KV_REPORT_SITE, "No object of type '%s' can be created",
                    typeName ? typeName : "(null)");
        return nullptr;
    }
    return pType->GetObjectConstructor()->Create();
}

void KvReflectionInterface::RegisterLiveObject(const KvReflectedDataType* pType, void* pObject)
{
    m_LiveObjects[pType].Add(pObject);
}

void KvReflectionInterface::UnregisterLiveObject(const KvReflectedDataType* pType, void* pObject)
{
    const auto found = m_LiveObjects.find(pType);
    if (found != m_LiveObjects.end())
        found->second.Remove(pObject);
}

void* KvReflectionInterface::FindLiveObjectByName(const KvReflectedDataType* pType, const char* name,
                                                  const void* pExcept) const
{
    const auto found = m_LiveObjects.find(pType);
    if (!name || found == m_LiveObjects.end())
        return nullptr;
    return found->second.FindFirst(
        [&](const void* pObject)
        {
            const std::string* pName = GetObjectName(pType, pObject);
            return pObject != pExcept && pName && *pName == name;
        });
}

void* KvReflectionInterface::FindLiveObjectByGuid(const KvReflectedDataType* pType, const KvGuid& guid) const
{
    const auto found = m_LiveObjects.find(pType);
    const int32_t guidIndex = pType->FindMember(kGuidMember);
    if (found == m_LiveObjects.end() || guidIndex < 0)
        return nullptr;
    const KvReflectedPrimitive* pGuidMember = pType->GetMember(guidIndex);
    if (pGuidMember->GetValueType() != VALUE_GUID)
        return nullptr;
    return found->second.FindFirst(
        [&](const void* pObject)
        { return *static_cast<const KvGuid*>(pGuidMember->GetAddress(pObject)) == guid; });
}

void KvReflectionInterface::GetLiveObjects(const KvReflectedDataType* pType,
                                           std::vector<void*>& outObjects) const
{
    const auto found = m_LiveObjects.find(pType);
    if (found != m_LiveObjects.end())
        found->second.AppendTo(outObjects);
}

void* KvReflectionInterface::CloneObject(const KvReflectedDataType* pType, const void* pObject) const
{
    return KvObjectTree::Clone(pType, pObject);
}

void KvReflectionInterface::DestroyObject(const KvReflectedDataType* pType, void* pObject) const
{
    KvObjectTree::Destroy(pType, pObject);
}

void KvReflectionInterface::AddChangeListener(KvReflectionChangeListener* pListener)
{
    m_apListeners.push_back(pListener);
}

void KvReflectionInterface::RemoveChangeListener(KvReflectionChangeListener* pListener)
{
    std::erase(m_apListeners, pListener);
}

void KvReflectionInterface::NotifyChanged(const KvReflectedDataType* pType, void* pObject,
                                          const KvReflectedPrimitive* pMember)
{
    for (KvReflectionChangeListener* pListener : m_apListeners)
        pListener->OnObjectChanged(pType, pObject, pMember);
}
