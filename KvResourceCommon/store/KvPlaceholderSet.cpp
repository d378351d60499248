#include "store/KvPlaceholderSet.h"

#include "reflection/KvReflectedDataType.h"
#include "reflection/KvReflectionInterface.h"

KvPlaceholderSet::~KvPlaceholderSet()
{
    for (const KvTempXRef& placeholder : m_aObjects)
        KvReflectionInterface::GetInstance()->DestroyObject(placeholder.second, placeholder.first);
}

void* KvPlaceholderSet::Get(const KvReflectedDataType* pType, const std::string& name,
                            const std::optional<KvGuid>& guid)
{
    const auto key = std::make_tuple(pType, name, guid ? guid->ToString() : std::string());
    if (const auto found = m_ByIdentity.find(key); found != m_ByIdentity.end())
        return found->second;
    if (!pType->GetObjectConstructor())
        return nullptr;
    KvReflectionInterface* pRegistry = KvReflectionInterface::GetInstance();
    void* pPlaceholder = pType->GetObjectConstructor()->Create();
    m_aObjects.emplace_back(pPlaceholder, pType);
    pRegistry->UnregisterLiveObject(pType, pPlaceholder);
    if (const std::string* pName = KvReflectionInterface::GetObjectName(pType, pPlaceholder))
        *const_cast<std::string*>(pName) = name;
    if (!guid || !SetGuid(pType, pPlaceholder, *guid))
        m_NameOnly.insert(pPlaceholder);
    m_ByIdentity.emplace(key, pPlaceholder);
    return pPlaceholder;
}

bool KvPlaceholderSet::SetGuid(const KvReflectedDataType* pType, void* pObject, const KvGuid& guid)
{
    const int32_t index = pType->FindMember(KvReflectionInterface::kGuidMember);
    const KvReflectedPrimitive* pMember = index >= 0 ? pType->GetMember(index) : nullptr;
    if (!pMember || pMember->GetKind() != PRIMITIVE_VALUE || pMember->GetValueType() != VALUE_GUID)
        return false;
    *static_cast<KvGuid*>(pMember->GetAddress(pObject)) = guid;
    return true;
}
