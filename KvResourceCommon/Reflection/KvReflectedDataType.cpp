#include "Reflection/KvReflectedDataType.h"

KvReflectedDataType::KvReflectedDataType(const std::string& name) : m_strName(name) {}

KvReflectedDataType::~KvReflectedDataType()
{
    for (KvReflectedPrimitive* pMember : m_apMembers)
        delete pMember;
    for (KvAttribute* pAttribute : m_apAttributes)
        delete pAttribute;
    delete m_pConstructor;
}

int32_t KvReflectedDataType::FindMember(const char* name) const
{
    for (size_t index = 0; index < m_apMembers.size(); ++index)
    {
        if (m_apMembers[index]->GetName() == name)
            return static_cast<int32_t>(index);
    }
    return -1;
}

std::string KvReflectedDataType::GetObjectDisplayName(const void* pObject) const
{
    if (const auto* pDelegate = KvFindAttribute<KvAttribute_DisplayNameFromDelegate>(m_apAttributes))
    {
        std::string name;
        pDelegate->GetFunction()(name, this, pObject);
        return name;
    }
    for (const KvReflectedPrimitive* pMember : m_apMembers)
    {
        const auto* pFormat = KvFindAttribute<KvAttribute_DisplayNameFromMember>(pMember->GetAttributes());
        if (pFormat && pMember->GetKind() == PRIMITIVE_VALUE && pMember->GetValueType() == VALUE_STRING)
        {
            const auto* pValue = static_cast<const std::string*>(pMember->GetAddress(pObject));
            // The format is data: only its first "%s" is filled, never interpreted by printf.
            std::string name = pFormat->GetText();
            const size_t place = name.find("%s");
            if (place != std::string::npos)
                name.replace(place, 2, *pValue);
            return name;
        }
    }
    if (const auto* pDisplayName = KvFindAttribute<KvAttribute_DisplayName>(m_apAttributes))
        return pDisplayName->GetText();
    return m_strName;
}
