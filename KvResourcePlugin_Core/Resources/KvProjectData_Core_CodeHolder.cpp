#include "projectdata/KvProjectData_Core_CodeHolder.h"

#include "editor/KvEditorDebugDrawable.h"
#include "reflection/KvReflectedDataType.h"
#include "reflection/KvReflectionInterface.h"

KvProjectData_Core_CodeHolder::KvProjectData_Core_CodeHolder(const KvReflectedObjCtorContext& context)
{
    ChooseClass(context.m_strLabel);
}

void KvProjectData_Core_CodeHolder::ChooseClass(const std::string& typeName)
{
    KvReflectionInterface* pRegistry = KvReflectionInterface::GetInstance();
    if (m_pData && m_pDataType)
        pRegistry->DestroyObject(m_pDataType, m_pData);
    m_strName = typeName;
    m_pDataType = pRegistry->FindType(typeName.c_str());
    m_pData = m_pDataType && m_pDataType->GetObjectConstructor()
                  ? m_pDataType->GetObjectConstructor()->Create()
                  : nullptr;
}

void KvProjectData_Core_CodeHolder::DrawDebug(KvEditorPawn* pPawn, uint32_t flags) const
{
    if (m_pData)
        static_cast<const KvEditorDebugDrawable*>(m_pData)->OnDrawDebug(pPawn, flags);
}
