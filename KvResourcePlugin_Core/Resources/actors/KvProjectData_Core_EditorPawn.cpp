#include "projectdata/KvProjectData_Core_EditorPawn.h"

#include "TypeManager/KvObjectFactory.h"
#include "projectdata/KvProjectData_Core_Transform.h"
#include "projectdata/KvSchema.h"

KV_IMPLEMENT_TYPED_CLASS(KvEditorPhysicsEntry)

KvProjectData_Core_Raw_EditorPawn::~KvProjectData_Core_Raw_EditorPawn()
{
    if (m_pTransform)
        KvReflectionInterface::GetInstance()->DestroyObject(
            KvProjectData_Core_Raw_KvObjectTransform::GetReflectedDataType(), m_pTransform);
}

void KvProjectData_Core_Raw_EditorPawn::DrawDebug(uint32_t flags)
{
    if (m_pCallback)
        m_pCallback->OnDrawDebug(this, flags);
}

KvVector3 KvProjectData_Core_Raw_EditorPawn::GetWorldPosition() const
{
    if (!m_pTransform || !m_pTransform->m_WorldTransform)
        return {};
    return m_pTransform->m_WorldTransform->m_vPosition;
}

KV_BEGIN_SCHEMA(KvProjectData_Core_Raw_EditorPawn, ObjectConstructor)
schema.Member("m_ulLocalIndex", &KvProjectData_Core_Raw_EditorPawn::m_ulLocalIndex)
    .With(new KvAttribute_XRefKey());
KV_END_SCHEMA()
