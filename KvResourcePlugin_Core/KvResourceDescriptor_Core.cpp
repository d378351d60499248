#include "KvResourceDescriptor_Core.h"

KvResourceDescriptor_Core::KvResourceDescriptor_Core(const tResourceTypeInfo& info) : m_Info(info)
{
    m_ulHostValue = 0xFFFFFFFF;
    m_Info.m_pfnDeclareDataTypes();
    m_pRootDataType = m_Info.m_pfnRootDataType();
}

eResourceLoadOrder KvResourceDescriptor_Core::GetLoadOrder() const
{
    return m_Info.m_iLoadOrder < 0 ? KvResourceDescriptor::GetLoadOrder()
                                   : static_cast<eResourceLoadOrder>(m_Info.m_iLoadOrder);
}
