#pragma once

#include "KvResourcePlugin_CoreExport.h"
#include "actions/KvNativeAction.h"

#include <string>
#include <vector>

class KvProjectData_Core_Raw_ActorComponent;
class KvProjectData_Core_Raw_ActorEntry;
class KvProjectData_Core_Raw_ActorPrefab;
class KvProjectData_Core_Raw_RenderShapeMesh;

// "Actor 'mob' as prefab instance": makes an actor an instance of a prefab, taking its
// components (and, when asked, its default editor shape) off it, since the prefab brings its own.
// While done the action owns the components it took; after Undo they are the actor's again.
class KV_PLUGIN_CORE_API KvNativeAction_ActorAsPrefabInstance : public KvReflectedObjectAction
{
    KV_DECLARE_TYPED_CLASS(KvNativeAction_ActorAsPrefabInstance, KvReflectedObjectAction)

public:
    // A null actor is fatal, so the type manager cannot make the action without one. A null
    // prefab makes the actor an instance of nothing; the resource may be null.
    explicit KvNativeAction_ActorAsPrefabInstance(KvProjectData_Core_Raw_ActorEntry* pActor = nullptr,
                                                  KvProjectData_Core_Raw_ActorPrefab* pPrefab = nullptr,
                                                  KvResource* pResource = nullptr,
                                                  bool bClearEditorShape = false);
    // Destroys the components it took when done.
    ~KvNativeAction_ActorAsPrefabInstance() override;
    // A copy shares what the original took: only one of them may be destroyed while done.
    KvNativeAction_ActorAsPrefabInstance(const KvNativeAction_ActorAsPrefabInstance&) = default;
    KvNativeAction_ActorAsPrefabInstance& operator=(const KvNativeAction_ActorAsPrefabInstance&) = default;

    const std::string& GetName() const override { return m_strName; }
    // A redo takes the same components as the first Do; the actor keeps none.
    void Do() override;
    // Gives the components back after those the actor has now.
    void Undo() override;
    void GetChangedMemory(std::vector<void*>& outMemory) const override;
    void GetModifiedResources(std::vector<KvResource*>& outResources) const override;
    bool UpdatesSelection() const override { return false; }
    void GetSelection(std::vector<tReflectedObject>&) const override {}

private:
    std::string m_strName;
    KvResource* m_pResource;
    KvProjectData_Core_Raw_ActorEntry* m_pActor;
    KvProjectData_Core_Raw_ActorPrefab* m_pPrefab;
    KvProjectData_Core_Raw_ActorPrefab* m_pPreviousPrefab = nullptr;
    std::vector<KvProjectData_Core_Raw_ActorComponent*> m_apRemovedComponents;
    bool m_bClearEditorShape;
    // A cross-reference: the shape belongs to its render-shape resource, never to the actor or
    // to the action, which only remembers it.
    KvProjectData_Core_Raw_RenderShapeMesh* m_pRemovedEditorShape = nullptr;
    bool m_bDone = false;
};
