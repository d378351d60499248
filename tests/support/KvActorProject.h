#pragma once

#include "Foundation/KvSmartPtr.h"
#include "actions/KvNativeAction.h"
#include "projectdata/KvProjectData_Core_Actor.h"
#include "projectdata/KvProjectData_Core_RenderShape.h"
#include "reflection/KvAttributes.h"
#include "store/KvJsonStore.h"
#include "support/KvReflectedData.h"

#include <string>
#include <vector>

// A small project for the actor and prefab actions: prefabs, render shapes and a layer of
// root actors, all released by schema with the project. Actors are placed as the editor places
// them, through the parent-change handler.
class ActorProject
{
public:
    using Actor = KvProjectData_Core_Raw_ActorEntry;
    using Prefab = KvProjectData_Core_Raw_ActorPrefab;
    using Shape = KvProjectData_Core_Raw_RenderShapeMesh;
    using Actions = std::vector<KvSmartPtr<KvNativeAction>>;

    ActorProject() = default;
    ~ActorProject()
    {
        for (Prefab* pPrefab : m_apPrefabs)
            DestroyData(pPrefab);
        for (Shape* pShape : m_apShapes)
            DestroyData(pShape);
    }
    ActorProject(const ActorProject&) = delete;
    ActorProject& operator=(const ActorProject&) = delete;

    Prefab* NewPrefab(const std::string& name)
    {
        Prefab* pPrefab = m_apPrefabs.emplace_back(NewData<Prefab>());
        pPrefab->m_strName = name;
        return pPrefab;
    }
    Shape* NewShape(const std::string& name)
    {
        Shape* pShape = m_apShapes.emplace_back(NewData<Shape>());
        pShape->m_strName = name;
        return pShape;
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

    // The first actor in the project that breaks the editor's links, with what is wrong, or
    // empty: every placed actor has a pawn at its transform; top-level actors have no parent
    // links; a child links its parent actor and that actor's transform.
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
            const auto* pMenu = static_cast<const KvAttribute_NativeAction*>(pAttribute);
            if (pAttribute->GetKind() == KvAttribute_NativeAction::kKind && pMenu->GetMenuName() == menuName)
                pMenu->GetFactory()(actions, pResource, T::GetReflectedDataType(), pObject, nullptr, pObject);
        }
        return actions;
    }

    // Editor pawns alive in the process: a destroyed actor tree takes its pawns with it.
    static size_t LivePawnCount()
    {
        std::vector<void*> pawns;
        KvReflectionInterface::GetInstance()->GetLiveObjects(
            KvProjectData_Core_Raw_EditorPawn::GetReflectedDataType(), pawns);
        return pawns.size();
    }

    std::vector<Prefab*> m_apPrefabs;
    std::vector<Shape*> m_apShapes;
    OwnedData<KvProjectData_Core_Raw_ActorLayer> m_pLayer = MakeData<KvProjectData_Core_Raw_ActorLayer>();

private:
    static Actor* Place(const KvReflectedDataType* pParentType, void* pParent, std::vector<Actor*>& list,
                        const std::string& name, Prefab* pInstanceOf)
    {
        Actor* pActor = list.emplace_back(NewData<Actor>());
        pActor->m_strName = name;
        pActor->m_pPrefab = pInstanceOf;
        Actor::OnParentChanged(pParentType, pParent, nullptr, pActor);
        return pActor;
    }

    static void CheckLinks(const Actor* pActor, const Actor* pParent, std::string& fault)
    {
        if (!fault.empty())
            return;
        const auto* pParentTransform = pParent ? pParent->m_pTransform : nullptr;
        if (!pActor->m_pEditorPawn || pActor->m_pEditorPawn->m_pTransform != pActor->m_pTransform)
            fault = pActor->m_strName + ": no pawn at its transform";
        else if (pActor->m_pParentActor != pParent ||
                 pActor->m_pTransform->m_pParentTransform != pParentTransform)
            fault = pActor->m_strName + ": parent links";
        for (const Actor* pChild : pActor->m_apChildren)
            CheckLinks(pChild, pActor, fault);
    }
};
