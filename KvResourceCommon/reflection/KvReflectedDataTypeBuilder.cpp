#include "reflection/KvReflectedDataTypeBuilder.h"

#include "Foundation/KvReport.h"
#include "reflection/KvReflectionInterface.h"

KvReflectedDataTypeBuilder::KvReflectedDataTypeBuilder(const char* name, uint32_t size,
                                                       KvReflectedObjectConstructor* pConstructor)
{
    KvReflectionInterface* pRegistry = KvReflectionInterface::GetInstance();
    m_pType = pRegistry->FindType(name);
    if (!m_pType)
    {
        // Registered at once, so that a forward declaration made while this type is still
        // being declared finds this very record.
        m_pType = new KvReflectedDataType(name);
        pRegistry->RegisterType(m_pType);
    }
    if (m_pType->m_bSealed || !pConstructor)
    {
        delete pConstructor;
        return;
    }
    m_pType->m_uiSize = size;
    delete m_pType->m_pConstructor;
    m_pType->m_pConstructor = pConstructor;
}

bool KvReflectedDataTypeBuilder::IsSealed() const
{
    return m_pType->m_bSealed;
}

void KvReflectedDataTypeBuilder::SealDeclaration()
{
    m_pType->m_bSealed = true;
}

KvReflectedPrimitive* KvReflectedDataTypeBuilder::NewMember(const char* name, eReflectedPrimitiveType kind,
                                                            uint32_t offset, uint32_t width)
{
    if (IsSealed())
        return nullptr;
    if (m_pType->FindMember(name) >= 0)
    {
        KvLogReport(kKvLogLevelWarning, KV_REPORT_SITE,
                    "Member '%s' of '%s' is declared twice; the second declaration is ignored", name,
                    m_pType->GetName().c_str());
        return nullptr;
    }
    auto* pMember = new KvReflectedPrimitive(name, kind, offset, width);
    m_pType->m_apMembers.push_back(pMember);
    if (kind != PRIMITIVE_VALUE && kind != PRIMITIVE_ENUM && kind != PRIMITIVE_ARRAY)
        m_pType->m_apMembersHoldingObjects.push_back(pMember);
    return pMember;
}

void KvReflectedDataTypeBuilder::AddValue(const char* name, eReflectedPrimitiveType kind,
                                          eReflectedValueType valueType, uint32_t offset, uint32_t width,
                                          const KvEnumConverterBase* pConverter)
{
    if (KvReflectedPrimitive* pMember = NewMember(name, kind, offset, width))
    {
        pMember->m_eValueType = valueType;
        pMember->m_pEnumConverter = pConverter;
    }
}

void KvReflectedDataTypeBuilder::AddRecord(const char* name, eReflectedPrimitiveType kind, uint32_t offset,
                                           uint32_t width, const KvReflectedDataType* pType)
{
    if (KvReflectedPrimitive* pMember = NewMember(name, kind, offset, width))
        pMember->m_pElementType = pType;
}

void KvReflectedDataTypeBuilder::AddArray(const char* name, eReflectedPrimitiveType elementKind,
                                          eReflectedValueType valueType,
                                          const KvReflectedDataType* pElementType, uint32_t offset,
                                          KvReflectedArrayAccessor* pAccessor)
{
    const eReflectedPrimitiveType kind =
        elementKind == PRIMITIVE_STRUCT ? PRIMITIVE_ARRAY_STRUCT : PRIMITIVE_ARRAY;
    KvReflectedPrimitive* pMember = NewMember(name, kind, offset, sizeof(std::vector<int>));
    if (!pMember)
    {
        delete pAccessor;
        return;
    }
    pMember->m_eElementKind = elementKind;
    pMember->m_eValueType = valueType;
    pMember->m_pElementType = pElementType;
    pMember->m_pArrayAccessor = pAccessor;
}

KvReflectedPrimitive* KvReflectedDataTypeBuilder::AddPointer(const char* name, eReflectedPrimitiveType kind,
                                                             uint32_t offset,
                                                             const KvReflectedDataType* pPointeeType,
                                                             KvReflectedArrayAccessor* pAccessor)
{
    const bool bTypeRecord =
        pPointeeType && pPointeeType == KvReflectionInterface::GetInstance()->GetTypeRecordType();
    // A type record names the type of one sibling object; nothing holds an array of them.
    if (bTypeRecord && pAccessor && !IsSealed())
    {
        KvLogReport(kKvLogLevelWarning, KV_REPORT_SITE,
                    "Member '%s' of '%s' is an array of type records, which no object holds; it is ignored",
                    name, m_pType->GetName().c_str());
        delete pAccessor;
        return nullptr;
    }
    const uint32_t width = pAccessor ? sizeof(std::vector<void*>) : sizeof(void*);
    KvReflectedPrimitive* pMember = NewMember(name, kind, offset, width);
    if (!pMember)
    {
        delete pAccessor;
        return nullptr;
    }
    pMember->m_pPointeeType = pPointeeType;
    pMember->m_bTypeRecord = bTypeRecord;
    pMember->m_eElementKind = pAccessor ? PRIMITIVE_POINTER : PRIMITIVE_NONE;
    pMember->m_pArrayAccessor = pAccessor;
    return pMember;
}

void KvReflectedDataTypeBuilder::AddTypeRecordPointer(const char* name, uint32_t offset,
                                                      const char* baseClassName)
{
    if (KvReflectedPrimitive* pMember =
            AddPointer(name, PRIMITIVE_POINTER, offset,
                       KvReflectionInterface::GetInstance()->GetTypeRecordType(), nullptr))
        pMember->m_strBaseClassName = baseClassName ? baseClassName : "";
}

void KvReflectedDataTypeBuilder::AddDynamicPointer(const char* name, const char* typeMemberName,
                                                   uint32_t offset)
{
    if (KvReflectedPrimitive* pMember = NewMember(name, PRIMITIVE_DYNAMIC_POINTER, offset, sizeof(void*)))
        pMember->m_strDynamicTypeMember = typeMemberName;
}

void KvReflectedDataTypeBuilder::AddAttributeMember(const char* memberName, KvAttribute* pAttribute)
{
    const int32_t index = IsSealed() ? -1 : m_pType->FindMember(memberName);
    if (index < 0)
    {
        if (!IsSealed())
            KvLogReport(kKvLogLevelWarning, KV_REPORT_SITE, "Attribute '%s' names no member '%s' of '%s'",
                        pAttribute->GetName(), memberName, m_pType->GetName().c_str());
        delete pAttribute;
        return;
    }
    KvReflectedPrimitive& member = *m_pType->m_apMembers[index];
    member.m_apAttributes.push_back(pAttribute);
    member.m_ulAttributeKinds |= uint64_t(1) << pAttribute->GetKind();
}

void KvReflectedDataTypeBuilder::AddAttributeType(KvAttribute* pAttribute)
{
    if (IsSealed())
    {
        delete pAttribute;
        return;
    }
    m_pType->m_apAttributes.push_back(pAttribute);
}

void KvReflectedDataTypeBuilder::SetEditorPreview(KvEditorPreviewFunction draw)
{
    if (!IsSealed())
        m_pType->m_pfnEditorPreview = draw;
}
