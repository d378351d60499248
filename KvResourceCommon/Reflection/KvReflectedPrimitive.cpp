#include "Reflection/KvReflectedPrimitive.h"

KvReflectedPrimitive::KvReflectedPrimitive(const std::string& name, eReflectedPrimitiveType kind,
                                           uint32_t offset, uint32_t width)
    : m_strName(name), m_eKind(kind), m_uiOffset(offset), m_uiWidth(width)
{
}

KvReflectedPrimitive::~KvReflectedPrimitive()
{
    for (KvAttribute* pAttribute : m_apAttributes)
        delete pAttribute;
    delete m_pArrayAccessor;
}

bool KvReflectedPrimitive::HasAttribute(eAttributeKind kind) const
{
    for (const KvAttribute* pAttribute : m_apAttributes)
    {
        if (pAttribute->GetKind() == kind)
            return true;
    }
    return false;
}
