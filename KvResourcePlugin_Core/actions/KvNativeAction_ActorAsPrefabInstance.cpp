#include "actions/KvNativeAction_ActorAsPrefabInstance.h"

#include "Foundation/KvReport.h"
#include "TypeManager/KvObjectFactory.h"
#include "projectdata/KvProjectData_Core_Actor.h"
#include "reflection/KvReflectionInterface.h"

KV_IMPLEMENT_TYPED_CLASS(KvNativeAction_ActorAsPrefabInstance)

KvNativeAction_ActorAsPrefabInstance::KvNativeAction_ActorAsPrefabInstance(
    KvProjectData_Core_Raw_ActorEntry* pActor, KvProjectData_Core_Raw_ActorPrefab* pPrefab,
    KvResource* pResource, bool bClearEditorShape)
    : m_pResource(pResource), m_pActor(pActor), m_pPrefab(pPrefab), m_bClearEditorShape(bClearEditorShape)
{
    if (!pActor)
        KvFatalReport({"actions\\KvNativeAction_ActorAsPrefabInstance",
                       "KvNativeAction_ActorAsPrefabInstance::KvNativeAction_ActorAsPrefabInstance", 23},
                      "Cannot accept a NULL Actor for this action.");
    m_strName = pPrefab ? pPrefab->m_strName : "(none)";
}

KvNativeAction_ActorAsPrefabInstance::~KvNativeAction_ActorAsPrefabInstance()
{
    if (!m_bDone)
        return;
    for (KvProjectData_Core_Raw_ActorComponent* pComponent : m_apRemovedComponents)
        KvReflectionInterface::GetInstance()->DestroyObject(
            KvProjectData_Core_Raw_ActorComponent::GetReflectedDataType(), pComponent);
}

void KvNativeAction_ActorAsPrefabInstance::Do()
{
    m_pPreviousPrefab = m_pActor->m_pPrefab;
    m_pActor->m_pPrefab = m_pPrefab;
    // A redo takes what the first Do took; the list is not filled twice.
    if (m_apRemovedComponents.empty())
        m_apRemovedComponents = m_pActor->m_apComponents;
    m_pActor->m_apComponents.clear();
    if (m_bClearEditorShape)
    {
        if (!m_pRemovedEditorShape)
            m_pRemovedEditorShape = m_pActor->m_pDefaultEditorShape;
        m_pActor->m_pDefaultEditorShape = nullptr;
    }
    m_bDone = true;
}

void KvNativeAction_ActorAsPrefabInstance::Undo()
{
    m_pActor->m_pPrefab = m_pPreviousPrefab;
    m_pActor->m_apComponents.insert(m_pActor->m_apComponents.end(), m_apRemovedComponents.begin(),
                                    m_apRemovedComponents.end());
    if (m_bClearEditorShape)
        m_pActor->m_pDefaultEditorShape = m_pRemovedEditorShape;
    m_bDone = false;
}

void KvNativeAction_ActorAsPrefabInstance::GetChangedMemory(std::vector<void*>& outMemory) const
{
    outMemory.push_back(m_pActor);
}

void KvNativeAction_ActorAsPrefabInstance::GetModifiedResources(std::vector<KvResource*>& outResources) const
{
    if (m_pResource)
        outResources.push_back(m_pResource);
}
