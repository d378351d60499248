#include "reflection/KvReflectedPrimitive.h"

#include "TypeManager/KvTypeManager.h"
#include "reflection/KvReflectedDataType.h"

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

bool KvReflectedPrimitive::AcceptsType(const KvReflectedDataType* pType) const
{
    if (m_strBaseClassName.empty() || pType->GetName() == m_strBaseClassName)
        return true;
    const KvTypeManager* pManager = KvTypeManager::GetInstance();
    const KvTypeInfo* pBase = pManager->FindType(m_strBaseClassName.c_str());
    const KvTypeInfo* pClass = pManager->FindType(pType->GetName().c_str());
    return pBase && pClass && pManager->IsOrDerivesFrom(pClass, pBase->m_uiIndex);
}
