#include "actions/KvActionFactories.h"

#include "actions/KvInstancedPrefabs.h"
#include "actions/KvNativeAction_ActorAsPrefabInstance.h"
#include "actions/KvNativeAction_ActorPrefab_Export.h"
#include "actions/KvNativeAction_ActorPrefab_Extract.h"
#include "actions/KvNativeAction_ActorPrefab_Update.h"
#include "projectdata/KvProjectData_Core_Actor.h"
#include "projectdata/KvSchema.h"

#include <cctype>

namespace
{
// The actor and prefab factories make sure the prefab type is known by name before they use it.
void DeclarePrefabTypeName()
{
    KvDeclareForward("KvProjectData_Core_Raw_ActorPrefab");
}

// Every prefab of the open project, in the order the reflection interface lists them.
std::vector<KvProjectData_Core_Raw_ActorPrefab*> ListPrefabs()
{
    std::vector<void*> objects;
    KvReflectionInterface::GetInstance()->GetLiveObjects(
        KvProjectData_Core_Raw_ActorPrefab::GetReflectedDataType(), objects);
    std::vector<KvProjectData_Core_Raw_ActorPrefab*> prefabs;
    for (void* pObject : objects)
        prefabs.push_back(static_cast<KvProjectData_Core_Raw_ActorPrefab*>(pObject));
    return prefabs;
}

// "mob" in any case, and nothing longer or shorter.
bool IsMobName(const std::string& name)
{
    constexpr std::string_view kMob = "mob";
    if (name.size() != kMob.size())
        return false;
    for (size_t index = 0; index < kMob.size(); ++index)
        if (std::tolower(static_cast<unsigned char>(name[index])) != kMob[index])
            return false;
    return true;
}

KvProjectData_Core_Raw_ActorEntry* FindMobActor(const KvProjectData_Core_Raw_ActorPrefab& prefab)
{
    for (KvProjectData_Core_Raw_ActorEntry* pActor : prefab.m_apActors)
        if (pActor && IsMobName(pActor->m_strName))
            return pActor;
    return nullptr;
}
} // namespace

// The selected actor is the member-data argument.
void GetPrefabExtractActions(KvActionList& outActions, KvResource* pResource, const KvReflectedDataType*,
                             void*, const KvReflectedPrimitive*, void* pMemberData)
{
    DeclarePrefabTypeName();
    auto* pActor = static_cast<KvProjectData_Core_Raw_ActorEntry*>(pMemberData);
    // Without a live prefab of its prefab's name there is nothing to open: no action is offered.
    if (pActor && KvNativeAction_ActorPrefab_Extract::FindPrefabToOpen(*pActor))
        outActions.push_back(new KvNativeAction_ActorPrefab_Extract(pResource, pActor));
}

// One action per prefab that the actor's children do not already instance, at any depth: a
// prefab cannot be made of actors that instance it.
void GetPrefabUpdateActions(KvActionList& outActions, KvResource* pResource, const KvReflectedDataType*,
                            void*, const KvReflectedPrimitive*, void* pMemberData)
{
    DeclarePrefabTypeName();
    auto* pActor = static_cast<KvProjectData_Core_Raw_ActorEntry*>(pMemberData);
    if (!pActor)
        return;
    const KvPrefabSet instanced = KvCollectInstancedPrefabs(pActor->m_apChildren);
    for (KvProjectData_Core_Raw_ActorPrefab* pPrefab : ListPrefabs())
        if (!instanced.contains(pPrefab))
            outActions.push_back(new KvNativeAction_ActorPrefab_Update(pPrefab, pActor, pResource));
}

// The selected prefab is the object argument.
void GetExportPrefabActions(KvActionList& outActions, KvResource*, const KvReflectedDataType*, void* pObject,
                            const KvReflectedPrimitive*, void*)
{
    DeclarePrefabTypeName();
    outActions.push_back(
        new KvNativeAction_ActorPrefab_Export(static_cast<KvProjectData_Core_Raw_ActorPrefab*>(pObject)));
}

// The selected prefab is the member-data argument. Its "mob" actor may become an instance of any
// prefab but the selected one and those its actors already instance.
void GetMobAsPrefabInstanceActions(KvActionList& outActions, KvResource* pResource,
                                   const KvReflectedDataType*, void*, const KvReflectedPrimitive*,
                                   void* pMemberData)
{
    DeclarePrefabTypeName();
    const auto* pSource = static_cast<const KvProjectData_Core_Raw_ActorPrefab*>(pMemberData);
    KvProjectData_Core_Raw_ActorEntry* pMob = pSource ? FindMobActor(*pSource) : nullptr;
    if (!pMob)
        return;
    const KvPrefabSet instanced = KvCollectInstancedPrefabs(pSource->m_apActors);
    for (KvProjectData_Core_Raw_ActorPrefab* pPrefab : ListPrefabs())
        if (pPrefab != pSource && !instanced.contains(pPrefab))
            outActions.push_back(new KvNativeAction_ActorAsPrefabInstance(pMob, pPrefab, pResource, true));
}
