#pragma once

#include "projectdata/KvProjectData_Core_Actor.h"
#include "store/KvJsonStore.h"
#include "support/KvActionMenu.h"
#include "support/KvReflectedData.h"

#include <string>
#include <vector>

// A small project for the actor and prefab actions: prefabs and a layer of root actors,
// released by schema with it. Actors are placed as the editor places them, through the
// parent-change handler.
class ActorProject
{
public:
    using Actor = KvProjectData_Core_Raw_ActorEntry;
    using Prefab = KvProjectData_Core_Raw_ActorPrefab;

    ActorProject() = default;
    ~ActorProject()
    {
        for (Prefab* pPrefab : m_apPrefabs)
            DestroyData(pPrefab);
    }

    Prefab* NewPrefab(const std::string& name) { return m_apPrefabs.emplace_back(NewNamed<Prefab>(name)); }
    Actor* AddRoot(const std::string& name, Prefab* pInstanceOf = nullptr)
    {
        return Place(KvProjectData_Core_Raw_ActorLayer::GetReflectedDataType(), m_pLayer.get(),
                     m_pLayer->m_apActors, name, pInstanceOf);
    }
    Actor* AddActor(Prefab* pPrefab, const std::string& name, Prefab* pInstanceOf = nullptr)
    {
        return Place(Prefab::GetReflectedDataType(), pPrefab, pPrefab->m_apActors, name, pInstanceOf);
    }
    Actor* AddChild(Actor* pParent, const std::string& name, Prefab* pInstanceOf = nullptr)
    {
        return Place(Actor::GetReflectedDataType(), pParent, pParent->m_apChildren, name, pInstanceOf);
    }

    // The whole project as the JSON store saves it: the layer, then each prefab.
    KvJsonStore::Json Save() const
    {
        KvJsonStore::Json saved = {
            KvJsonStore::Save(KvProjectData_Core_Raw_ActorLayer::GetReflectedDataType(), m_pLayer.get())};
        for (const Prefab* pPrefab : m_apPrefabs)
            saved.push_back(KvJsonStore::Save(Prefab::GetReflectedDataType(), pPrefab));
        return saved;
    }

    // The first placed actor that breaks the editor's links, or empty: each has a pawn at its
    // transform; a top-level actor has no parent links, a child those of its parent actor.
    std::string FindLinkFault() const
    {
        std::string fault;
        for (const Actor* pActor : m_pLayer->m_apActors)
            CheckLinks(pActor, nullptr, fault);
        for (const Prefab* pPrefab : m_apPrefabs)
            for (const Actor* pActor : pPrefab->m_apActors)
                CheckLinks(pActor, nullptr, fault);
        return fault;
    }

    // Editor pawns alive in the process: a destroyed actor tree takes its pawns along.
    static size_t LivePawnCount()
    {
        std::vector<void*> pawns;
        KvReflectionInterface::GetInstance()->GetLiveObjects(
            KvProjectData_Core_Raw_EditorPawn::GetReflectedDataType(), pawns);
        return pawns.size();
    }

    std::vector<Prefab*> m_apPrefabs;
    OwnedData<KvProjectData_Core_Raw_ActorLayer> m_pLayer = MakeData<KvProjectData_Core_Raw_ActorLayer>();

private:
    static Actor* Place(const KvReflectedDataType* pParentType, void* pParent, std::vector<Actor*>& list,
                        const std::string& name, Prefab* pInstanceOf)
    {
        Actor* pActor = list.emplace_back(NewNamed<Actor>(name));
        pActor->m_pPrefab = pInstanceOf;
        Actor::OnParentChanged(pParentType, pParent, nullptr, pActor);
        return pActor;
    }
    static void CheckLinks(const Actor* pActor, const Actor* pParent, std::string& fault)
    {
        const bool bPawn =
            pActor->m_pEditorPawn && pActor->m_pEditorPawn->m_pTransform == pActor->m_pTransform;
        const bool bLinks =
            pActor->m_pParentActor == pParent &&
            pActor->m_pTransform->m_pParentTransform == (pParent ? pParent->m_pTransform : nullptr);
        if (fault.empty() && !(bPawn && bLinks))
            fault = pActor->m_strName + (bPawn ? ": parent links" : ": no pawn at its transform");
        for (const Actor* pChild : pActor->m_apChildren)
            CheckLinks(pChild, pActor, fault);
    }
};
