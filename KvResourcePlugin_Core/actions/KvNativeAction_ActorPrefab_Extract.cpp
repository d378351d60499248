#include "actions/KvNativeAction_ActorPrefab_Extract.h"

#include "Foundation/KvReport.h"
#include "TypeManager/KvObjectFactory.h"
#include "actions/KvActorReparenting.h"
#include "projectdata/KvProjectData_Core_Actor.h"
#include "reflection/KvReflectionInterface.h"

#include <algorithm>

KV_IMPLEMENT_TYPED_CLASS(KvNativeAction_ActorPrefab_Extract)

namespace
{
constexpr const char* kReportFile = "actions\\KvNativeAction_ActorPrefab_Extract";

const KvReflectedDataType* ActorType()
{
    return KvProjectData_Core_Raw_ActorEntry::GetReflectedDataType();
}

const KvReflectedDataType* PrefabType()
{
    return KvProjectData_Core_Raw_ActorPrefab::GetReflectedDataType();
}
} // namespace

KvNativeAction_ActorPrefab_Extract::KvNativeAction_ActorPrefab_Extract(
    KvResource* pResource, KvProjectData_Core_Raw_ActorEntry* pActor)
    : m_pActor(pActor), m_pResource(pResource)
{
    if (!pActor || !pActor->m_pPrefab)
        KvFatalReport(
            {kReportFile, "KvNativeAction_ActorPrefab_Extract::KvNativeAction_ActorPrefab_Extract", 24},
            "Expected valid actor entry with a valid prefab actor such that the prefab can be opened "
            "for edit.");
    m_pPrefab = FindPrefabToOpen(*pActor);
    // Found by this very name, so the name is the same whether it was found or not.
    m_strName = "Extract prefab " + pActor->m_pPrefab->m_strName;
}

KvNativeAction_ActorPrefab_Extract::~KvNativeAction_ActorPrefab_Extract()
{
    if (m_bDone)
        return;
    for (KvProjectData_Core_Raw_ActorEntry* pActor : m_apExtractedActors)
        KvReflectionInterface::GetInstance()->DestroyObject(ActorType(), pActor);
}

KvProjectData_Core_Raw_ActorPrefab*
KvNativeAction_ActorPrefab_Extract::FindPrefabToOpen(const KvProjectData_Core_Raw_ActorEntry& actor)
{
    if (!actor.m_pPrefab)
        return nullptr;
    return static_cast<KvProjectData_Core_Raw_ActorPrefab*>(
        KvReflectionInterface::GetInstance()->FindLiveObjectByName(PrefabType(),
                                                                   actor.m_pPrefab->m_strName.c_str()));
}

void KvNativeAction_ActorPrefab_Extract::EnsureLocalStore()
{
    if (!m_apExtractedActors.empty() || m_pPrefab->m_apActors.empty())
        return;
    // Unlinked first, so that the copies start without a parent or a pawn of the originals.
    KvDetachActors(m_pPrefab->m_apActors);
    for (const KvProjectData_Core_Raw_ActorEntry* pActor : m_pPrefab->m_apActors)
        if (auto* pCopy = static_cast<KvProjectData_Core_Raw_ActorEntry*>(
                KvReflectionInterface::GetInstance()->CloneObject(ActorType(), pActor)))
            m_apExtractedActors.push_back(pCopy);
    KvAttachActors(
        PrefabType(), m_pPrefab,
        KvFindExpectedMember(PrefabType(), "m_apActors",
                             {kReportFile, "KvNativeAction_ActorPrefab_Extract::EnsureLocalStore", 158}),
        m_pPrefab->m_apActors);
}

void KvNativeAction_ActorPrefab_Extract::Do()
{
    if (!m_pPrefab)
        return;
    EnsureLocalStore();
    m_pActor->m_pPrefab = nullptr;
    m_pActor->m_apChildren.insert(m_pActor->m_apChildren.end(), m_apExtractedActors.begin(),
                                  m_apExtractedActors.end());
    m_bDone = true;
    KvAttachActors(ActorType(), m_pActor,
                   KvFindExpectedMember(ActorType(), "m_apChildren",
                                        {kReportFile, "KvNativeAction_ActorPrefab_Extract::Do", 63}),
                   m_apExtractedActors);
}

void KvNativeAction_ActorPrefab_Extract::Undo()
{
    if (!m_pPrefab)
        return;
    for (const KvProjectData_Core_Raw_ActorEntry* pActor : m_apExtractedActors)
        std::erase(m_pActor->m_apChildren, pActor);
    m_bDone = false;
    m_pActor->m_pPrefab = m_pPrefab;
    KvDetachActors(m_apExtractedActors);
}

void KvNativeAction_ActorPrefab_Extract::GetChangedMemory(std::vector<void*>& outMemory) const
{
    outMemory.push_back(m_pActor);
}

void KvNativeAction_ActorPrefab_Extract::GetModifiedResources(std::vector<KvResource*>& outResources) const
{
    outResources.push_back(m_pResource);
}

void KvNativeAction_ActorPrefab_Extract::GetSelection(std::vector<tReflectedObject>& outSelection) const
{
    if (!m_bDone)
    {
        outSelection.push_back({ActorType(), m_pActor, m_pResource});
        return;
    }
    for (KvProjectData_Core_Raw_ActorEntry* pActor : m_apExtractedActors)
        outSelection.push_back({ActorType(), pActor, m_pResource});
}
