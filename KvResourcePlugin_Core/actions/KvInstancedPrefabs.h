#pragma once

#include <unordered_set>
#include <vector>

class KvProjectData_Core_Raw_ActorEntry;
class KvProjectData_Core_Raw_ActorPrefab;

using KvPrefabSet = std::unordered_set<const KvProjectData_Core_Raw_ActorPrefab*>;

// The prefabs instanced anywhere below a list of actors: by an actor itself, by its children
// and by the actors of every prefab found on the way, at any depth. A prefab's actors are
// walked only when the prefab is first found, so prefabs that instance each other end the walk.
KvPrefabSet KvCollectInstancedPrefabs(const std::vector<KvProjectData_Core_Raw_ActorEntry*>& actors);
