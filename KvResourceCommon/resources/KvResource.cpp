#include "resources/KvResource.h"

#include "TypeManager/KvObjectFactory.h"
#include "reflection/KvReflectedDataType.h"
#include "reflection/KvReflectedDataTypeBuilder.h"
#include "reflection/KvReflectionInterface.h"
#include "resources/KvResourceDescriptor.h"

KV_IMPLEMENT_TYPED_CLASS(KvResource)

namespace
{
// Fills the members a resource sets in its data: its name, itself and its payload.
void FillResourceMembers(const KvReflectedDataType* pType, void* pObject, KvResource* pResource)
{
    if (!pType || !pObject)
        return;
    for (uint32_t index = 0; index < pType->GetMemberCount(); ++index)
    {
        const KvReflectedPrimitive* pMember = pType->GetMember(index);
        void* pAddress = pMember->GetAddress(pObject);
        if (pMember->HasAttribute(ATTRIBUTE_SET_FROM_RESOURCE_NAME) &&
            pMember->GetValueType() == VALUE_STRING)
            *static_cast<std::string*>(pAddress) = pResource->GetName();
        if (pMember->HasAttribute(ATTRIBUTE_SET_RESOURCE_HANDLE) && pMember->GetValueType() == VALUE_HANDLE)
            *static_cast<void**>(pAddress) = pResource;
        if (pMember->HasAttribute(ATTRIBUTE_SET_PAYLOAD_HANDLE) && pMember->GetValueType() == VALUE_HANDLE)
            *static_cast<void**>(pAddress) = pResource->GetPayload();
    }
}
} // namespace

KvResource::~KvResource()
{
    ReleasePayload();
    ReleaseRawData();
}

KvResourceQueryInterface* KvResource::GetResourceInterface() const
{
    static KvResourceQueryInterface s_Interface;
    return &s_Interface;
}

void KvResource::OnLoadPhase(uint32_t) {}

void KvResource::OnUnloadPhase(uint32_t) {}

bool KvResource::SaveToStream(KvIOStream&)
{
    return false;
}

void KvResource::BindRawData(void* pRawData, uint32_t, bool)
{
    if (pRawData != m_pRawData)
        ReleaseRawData();
    m_pRawData = pRawData;
    FillResourceMembers(m_pDescriptor ? m_pDescriptor->GetRootDataType() : nullptr, m_pRawData, this);
}

void KvResource::BindPayloadData(void* pPayload, uint32_t)
{
    if (pPayload != m_pPayload)
        ReleasePayload();
    m_pPayload = pPayload;
    FillResourceMembers(m_pDescriptor ? m_pDescriptor->GetRootDataType() : nullptr, m_pRawData, this);
}

void KvResource::ReleaseRawData()
{
    if (m_pRawData && m_pDescriptor)
        KvReflectionInterface::GetInstance()->DestroyObject(m_pDescriptor->GetRootDataType(), m_pRawData);
    m_pRawData = nullptr;
}

void KvResource::ReleasePayload()
{
    if (m_pPayload && m_pDescriptor && m_pDescriptor->GetPayloadDataType())
        KvReflectionInterface::GetInstance()->DestroyObject(m_pDescriptor->GetPayloadDataType(), m_pPayload);
    m_pPayload = nullptr;
}

void KvResource::BindDataTypes()
{
    GetReflectedDataType();
}

const KvReflectedDataType* KvResource::GetReflectedDataType()
{
    static const KvReflectedDataType* s_pType = nullptr;
    if (s_pType)
        return s_pType;
    KvReflectedDataTypeBuilder builder("KvResource", 0, nullptr);
    s_pType = builder.GetConstructedType();
    builder.SealDeclaration();
    return s_pType;
}
