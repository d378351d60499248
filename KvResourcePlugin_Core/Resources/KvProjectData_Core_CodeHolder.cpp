#include "projectdata/KvProjectData_Core_CodeHolder.h"

#include "editor/KvEditorDebugDrawable.h"
#include "reflection/KvReflectedDataType.h"
#include "reflection/KvReflectionInterface.h"

KvProjectData_Core_CodeHolder::KvProjectData_Core_CodeHolder(const KvReflectedObjCtorContext& context)
    : m_strName(context.m_strLabel),
      m_pDataType(KvReflectionInterface::GetInstance()->FindType(context.m_strLabel.c_str()))
{
    if (m_pDataType && m_pDataType->GetObjectConstructor())
        m_pData = m_pDataType->GetObjectConstructor()->Create();
}

void KvProjectData_Core_CodeHolder::DrawDebug(KvEditorPawn* pPawn, uint32_t flags) const
{
    if (m_pData)
        static_cast<const KvEditorDebugDrawable*>(m_pData)->OnDrawDebug(pPawn, flags);
}
