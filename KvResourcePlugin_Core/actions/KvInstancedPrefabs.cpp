#include "actions/KvInstancedPrefabs.h"

#include "projectdata/KvProjectData_Core_Actor.h"

KvPrefabSet KvCollectInstancedPrefabs(const std::vector<KvProjectData_Core_Raw_ActorEntry*>& actors)
{
    KvPrefabSet prefabs;
    // A hand-edited project may share an actor between parents, even with itself: each actor is
    // looked at once, so such a project cannot loop.
    std::unordered_set<const KvProjectData_Core_Raw_ActorEntry*> visited;
    // An explicit stack: prefab chains and actor trees may be deeper than the call stack allows.
    std::vector<const KvProjectData_Core_Raw_ActorEntry*> stack(actors.begin(), actors.end());
    while (!stack.empty())
    {
        const KvProjectData_Core_Raw_ActorEntry* pActor = stack.back();
        stack.pop_back();
        if (!pActor || !visited.insert(pActor).second)
            continue;
        if (pActor->m_pPrefab && prefabs.insert(pActor->m_pPrefab).second)
            stack.insert(stack.end(), pActor->m_pPrefab->m_apActors.begin(),
                         pActor->m_pPrefab->m_apActors.end());
        stack.insert(stack.end(), pActor->m_apChildren.begin(), pActor->m_apChildren.end());
    }
    return prefabs;
}
