#include "actions/KvNativeAction_ActorPrefab_Update.h"

#include "Foundation/KvReport.h"
#include "TypeManager/KvObjectFactory.h"
#include "actions/KvActorReparenting.h"
#include "projectdata/KvProjectData_Core_Actor.h"
#include "reflection/KvReflectionInterface.h"

KV_IMPLEMENT_TYPED_CLASS(KvNativeAction_ActorPrefab_Update)

namespace
{
constexpr const char* kReportFile = "actions\\KvNativeAction_ActorPrefab_Update";

const KvReflectedDataType* ActorType()
{
    return KvProjectData_Core_Raw_ActorEntry::GetReflectedDataType();
}

const KvReflectedDataType* PrefabType()
{
    return KvProjectData_Core_Raw_ActorPrefab::GetReflectedDataType();
}

template <class T>
void Append(std::vector<T>& to, const std::vector<T>& from)
{
    to.insert(to.end(), from.begin(), from.end());
}
} // namespace

KvNativeAction_ActorPrefab_Update::KvNativeAction_ActorPrefab_Update(
    KvProjectData_Core_Raw_ActorPrefab* pPrefab, KvProjectData_Core_Raw_ActorEntry* pActor,
    KvResource* pResource)
    : m_strName("Update prefab " + (pPrefab ? pPrefab->m_strName : std::string())), m_pPrefab(pPrefab),
      m_pActor(pActor), m_pResource(pResource)
{
}

KvNativeAction_ActorPrefab_Update::~KvNativeAction_ActorPrefab_Update()
{
    if (!m_bDone)
        return;
    for (KvProjectData_Core_Raw_ActorEntry* pActor : m_apFormerPrefabActors)
        KvReflectionInterface::GetInstance()->DestroyObject(ActorType(), pActor);
}

void KvNativeAction_ActorPrefab_Update::EnsureLocalStore()
{
    if (m_apFormerChildren.empty())
        m_apFormerChildren = m_pActor->m_apChildren;
    if (m_apFormerPrefabActors.empty())
        m_apFormerPrefabActors = m_pPrefab->m_apActors;
}

void KvNativeAction_ActorPrefab_Update::RemoveAllPrefabParts()
{
    KvDetachActors(m_apFormerChildren);
    m_pActor->m_apChildren.clear();
    KvDetachActors(m_apFormerPrefabActors);
    m_pPrefab->m_apActors.clear();
}

void KvNativeAction_ActorPrefab_Update::Do()
{
    if (!m_pPrefab || !m_pActor)
        return;
    const KvReflectedPrimitive* pActors = KvFindExpectedMember(
        PrefabType(), "m_apActors", {kReportFile, "KvNativeAction_ActorPrefab_Update::Do", 51});
    EnsureLocalStore();
    RemoveAllPrefabParts();
    if (!m_pPreviousPrefab)
        m_pPreviousPrefab = m_pActor->m_pPrefab;
    m_pActor->m_pPrefab = m_pPrefab;
    Append(m_pPrefab->m_apActors, m_apFormerChildren);
    m_bDone = true;
    // Under a prefab the children get pawns and keep no parent actor.
    KvAttachActors(PrefabType(), m_pPrefab, pActors, m_apFormerChildren);
}

void KvNativeAction_ActorPrefab_Update::Undo()
{
    if (!m_pPrefab || !m_pActor)
        return;
    RemoveAllPrefabParts();
    m_pActor->m_pPrefab = m_pPreviousPrefab;
    Append(m_pPrefab->m_apActors, m_apFormerPrefabActors);
    Append(m_pActor->m_apChildren, m_apFormerChildren);
    m_bDone = false;
    KvAttachActors(PrefabType(), m_pPrefab,
                   KvFindExpectedMember(PrefabType(), "m_apActors",
                                        {kReportFile, "KvNativeAction_ActorPrefab_Update::Undo", 96}),
                   m_apFormerPrefabActors);
    KvAttachActors(ActorType(), m_pActor,
                   KvFindExpectedMember(ActorType(), "m_apChildren",
                                        {kReportFile, "KvNativeAction_ActorPrefab_Update::Undo", 103}),
                   m_apFormerChildren);
}

void KvNativeAction_ActorPrefab_Update::GetChangedMemory(std::vector<void*>& outMemory) const
{
    outMemory.push_back(m_pActor);
    outMemory.push_back(m_pPrefab);
}

void KvNativeAction_ActorPrefab_Update::GetModifiedResources(std::vector<KvResource*>& outResources) const
{
    outResources.push_back(m_pResource);
    if (m_pPrefab && m_pPrefab->m_pRunResource)
        outResources.push_back(static_cast<KvResource*>(m_pPrefab->m_pRunResource));
}

void KvNativeAction_ActorPrefab_Update::GetSelection(std::vector<tReflectedObject>& outSelection) const
{
    outSelection.push_back({ActorType(), m_pActor, m_pResource});
}
