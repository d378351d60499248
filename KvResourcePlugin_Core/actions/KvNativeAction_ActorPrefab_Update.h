#pragma once

#include "KvResourcePlugin_CoreExport.h"
#include "actions/KvNativeAction.h"

#include <string>
#include <vector>

class KvProjectData_Core_Raw_ActorEntry;
class KvProjectData_Core_Raw_ActorPrefab;

// "Prefab Update": the actor's children become the prefab's actors, and the actor an instance
// of the prefab. While done the action owns the prefab's former actors; after Undo the prefab
// has them again.
class KV_PLUGIN_CORE_API KvNativeAction_ActorPrefab_Update : public KvReflectedObjectAction
{
    KV_DECLARE_TYPED_CLASS(KvNativeAction_ActorPrefab_Update, KvReflectedObjectAction)

public:
    // The factory passes live objects only; an action without prefab or actor does nothing.
    explicit KvNativeAction_ActorPrefab_Update(KvProjectData_Core_Raw_ActorPrefab* pPrefab = nullptr,
                                               KvProjectData_Core_Raw_ActorEntry* pActor = nullptr,
                                               KvResource* pResource = nullptr);
    // Destroys the prefab's former actors when done.
    ~KvNativeAction_ActorPrefab_Update() override;
    // A copy shares what the original took: only one of them may be destroyed while done.
    KvNativeAction_ActorPrefab_Update(const KvNativeAction_ActorPrefab_Update&) = default;
    KvNativeAction_ActorPrefab_Update& operator=(const KvNativeAction_ActorPrefab_Update&) = default;

    const std::string& GetName() const override { return m_strName; }
    // A redo moves the very actors of the first Do.
    void Do() override;
    void Undo() override;
    void GetChangedMemory(std::vector<void*>& outMemory) const override;
    void GetModifiedResources(std::vector<KvResource*>& outResources) const override;
    bool UpdatesSelection() const override { return true; }
    void GetSelection(std::vector<tReflectedObject>& outSelection) const override;

private:
    // Remembers, once, the actor's children and the prefab's actors as they were.
    void EnsureLocalStore();
    // Takes both remembered lists out of the actor and the prefab, destroying nothing.
    void RemoveAllPrefabParts();

    std::string m_strName;
    KvProjectData_Core_Raw_ActorPrefab* m_pPrefab;
    KvProjectData_Core_Raw_ActorEntry* m_pActor;
    KvProjectData_Core_Raw_ActorPrefab* m_pPreviousPrefab = nullptr;
    std::vector<KvProjectData_Core_Raw_ActorEntry*> m_apFormerPrefabActors;
    std::vector<KvProjectData_Core_Raw_ActorEntry*> m_apFormerChildren;
    bool m_bDone = false;
    KvResource* m_pResource;
};
