#pragma once

#include "KvResourcePlugin_CoreExport.h"
#include "actions/KvNativeAction.h"

#include <string>
#include <vector>

class KvProjectData_Core_Raw_ActorEntry;
class KvProjectData_Core_Raw_ActorPrefab;

// "Prefab Extract": opens a prefab instance for editing. Copies of the prefab's actors become
// the actor's children and the actor stops being an instance. The copies are made once, so a
// redo brings back the same objects; while not done the action owns them.
class KV_PLUGIN_CORE_API KvNativeAction_ActorPrefab_Extract : public KvReflectedObjectAction
{
    KV_DECLARE_TYPED_CLASS(KvNativeAction_ActorPrefab_Extract, KvReflectedObjectAction)

public:
    // An actor that is null or no prefab instance is fatal, so the type manager cannot make
    // the action without one.
    explicit KvNativeAction_ActorPrefab_Extract(KvResource* pResource = nullptr,
                                                KvProjectData_Core_Raw_ActorEntry* pActor = nullptr);
    // Destroys the copies when not done.
    ~KvNativeAction_ActorPrefab_Extract() override;
    // A copy shares the copies the original made: only one of them may be destroyed while not done.
    KvNativeAction_ActorPrefab_Extract(const KvNativeAction_ActorPrefab_Extract&) = default;
    KvNativeAction_ActorPrefab_Extract& operator=(const KvNativeAction_ActorPrefab_Extract&) = default;

    // The live prefab named as the actor's prefab, which is the one opened; null when there is
    // none. The menu offers no action then, and an action built anyway does nothing.
    static KvProjectData_Core_Raw_ActorPrefab*
    FindPrefabToOpen(const KvProjectData_Core_Raw_ActorEntry& actor);

    const std::string& GetName() const override { return m_strName; }
    void Do() override;
    // Takes the copies out again; the actor's other children keep their order.
    void Undo() override;
    void GetChangedMemory(std::vector<void*>& outMemory) const override;
    void GetModifiedResources(std::vector<KvResource*>& outResources) const override;
    bool UpdatesSelection() const override { return true; }
    // The actor while not done, the copies while done.
    void GetSelection(std::vector<tReflectedObject>& outSelection) const override;

private:
    // Copies the prefab's actors, once.
    void EnsureLocalStore();

    std::string m_strName;
    KvProjectData_Core_Raw_ActorEntry* m_pActor;
    KvProjectData_Core_Raw_ActorPrefab* m_pPrefab = nullptr;
    std::vector<KvProjectData_Core_Raw_ActorEntry*> m_apExtractedActors;
    bool m_bDone = false;
    KvResource* m_pResource;
};
