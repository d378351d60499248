#include "projectdata/KvProjectData_Core_EditorPawn.h"

#include "TypeManager/KvObjectFactory.h"

#include "TypeManager/KvTypeManager.h"
#include "projectdata/KvProjectData_Core_Transform.h"
#include "projectdata/KvSchema.h"
#include <algorithm>

KV_IMPLEMENT_TYPED_CLASS(KvEditorPhysicsEntry)
KV_IMPLEMENT_TYPED_CLASS(KvEditorPawnCallbackHandler)

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

KV_BEGIN_SCHEMA(KvProjectData_Core_Raw_EditorPawn, ObjectConstructor)
schema.Member("m_ulLocalIndex", &KvProjectData_Core_Raw_EditorPawn::m_ulLocalIndex)
    .With(new KvAttribute_XRefKey());
KV_END_SCHEMA()

KvEditorPawnCallbackHandler* KvEditorPawnCallbackHandler::CreateInstance(const char* className)
{
    KvTypeManager* pManager = KvTypeManager::GetInstance();
    const KvTypeInfo* pType = pManager->FindType(className);
    if (!pType)
        return nullptr;
    std::vector<std::string> handlers;
    pManager->GetDerivedTypeNames(GetType()->m_uiIndex, handlers);
    if (std::find(handlers.begin(), handlers.end(), pType->m_strName) == handlers.end())
        return nullptr;
    return static_cast<KvEditorPawnCallbackHandler*>(pType->CreateInstance());
}
