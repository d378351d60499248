#pragma once

#include "Foundation/KvSmartPtr.h"
#include "actions/KvNativeAction.h"
#include "projectdata/KvProjectData_Core_Actor.h"
#include "reflection/KvAttributes.h"
#include "store/KvJsonStore.h"
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
    using Actions = std::vector<KvSmartPtr<KvNativeAction>>;

    ActorProject() = default;
    ~ActorProject()
    {
        for (Prefab* pPrefab : m_apPrefabs)
            DestroyData(pPrefab);
    }

    Prefab* NewPrefab(const std::string& name)
    {
        return Named(m_apPrefabs.emplace_back(NewData<Prefab>()), name);
    }
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

    // What an object's menu offers, asked as the host asks: the object passed both as the
    // object and as the member data.
    template <class T>
    static Actions Menu(T* pObject, const std::string& menuName, KvResource* pResource = nullptr)
    {
        Actions actions;
        for (const KvAttribute* pAttribute : T::GetReflectedDataType()->GetAttributes())
        {
            if (pAttribute->GetKind() != KvAttribute_NativeAction::kKind)
                continue;
            const auto* pMenu = static_cast<const KvAttribute_NativeAction*>(pAttribute);
            if (pMenu->GetMenuName() == menuName)
                pMenu->GetFactory()(actions, pResource, T::GetReflectedDataType(), pObject, nullptr, pObject);
        }
        return actions;
    }
    static std::vector<std::string> NamesOf(const Actions& actions)
    {
        std::vector<std::string> names;
        for (const KvSmartPtr<KvNativeAction>& action : actions)
            names.push_back(action->GetName());
        return names;
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
    template <class T>
    static T* Named(T* pObject, const std::string& name)
    {
        pObject->m_strName = name;
        return pObject;
    }
    static Actor* Place(const KvReflectedDataType* pParentType, void* pParent, std::vector<Actor*>& list,
                        const std::string& name, Prefab* pInstanceOf)
    {
        Actor* pActor = Named(list.emplace_back(NewData<Actor>()), name);
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
