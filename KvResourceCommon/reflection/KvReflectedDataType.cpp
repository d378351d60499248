#include "reflection/KvReflectedDataType.h"

namespace
{
// The first string member that carries an attribute of class A, or null.
template <class A>
const KvReflectedPrimitive* FindStringMemberWith(const std::vector<KvReflectedPrimitive*>& members)
{
    for (const KvReflectedPrimitive* pMember : members)
    {
        if (pMember->GetKind() == PRIMITIVE_VALUE && pMember->GetValueType() == VALUE_STRING &&
            KvFindAttribute<A>(pMember->GetAttributes()))
            return pMember;
    }
    return nullptr;
}

const std::string& StringValue(const KvReflectedPrimitive* pMember, const void* pObject)
{
    return *static_cast<const std::string*>(pMember->GetAddress(pObject));
}
} // namespace

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
    if (const KvReflectedPrimitive* pMember =
            FindStringMemberWith<KvAttribute_DisplayNameFromMember>(m_apMembers))
    {
        const auto* pFormat = KvFindAttribute<KvAttribute_DisplayNameFromMember>(pMember->GetAttributes());
        // The format is data: only its first "%s" is filled, never interpreted by printf.
        std::string name = pFormat->GetText();
        const size_t place = name.find("%s");
        if (place != std::string::npos)
            name.replace(place, 2, StringValue(pMember, pObject));
        return name;
    }
    // A cross-referenced object is told apart from its siblings by its identity name; an
    // empty one would read as a blank entry, so the type's name stands in for it.
    if (const KvReflectedPrimitive* pMember = FindStringMemberWith<KvAttribute_XRefKey>(m_apMembers))
    {
        if (!StringValue(pMember, pObject).empty())
            return StringValue(pMember, pObject);
    }
    if (const auto* pDisplayName = KvFindAttribute<KvAttribute_DisplayName>(m_apAttributes))
        return pDisplayName->GetText();
    return m_strName;
}
