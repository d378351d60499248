#pragma once

#include "KvResourcePlugin_CoreExport.h"
#include "actions/KvNativeAction.h"

#include <string>
#include <vector>

class KvIOStream;
class KvProjectData_Core_Raw_ActorPrefab;
class KvProjectData_Core_Raw_RenderShapeMesh;
struct KvVector3;

// "Export Prefab": writes a prefab as a prefab file of the run-time engine, below the host's base
// folder in "export\\actorprefabs\\<prefab name>.prefab": one static-mesh shape for the prefab's
// own shape at the origin and one for each actor's shape at the actor's world placement. The
// project data does not change, so there is nothing to undo; a redo writes the file again.
class KV_PLUGIN_CORE_API KvNativeAction_ActorPrefab_Export : public KvReflectedObjectAction
{
    KV_DECLARE_TYPED_CLASS(KvNativeAction_ActorPrefab_Export, KvReflectedObjectAction)

public:
    // A null prefab is fatal, so the type manager cannot make the action without one.
    explicit KvNativeAction_ActorPrefab_Export(KvProjectData_Core_Raw_ActorPrefab* pPrefab = nullptr);

    const std::string& GetName() const override { return m_strName; }
    // A file that cannot be opened is logged; the action still counts as done.
    void Do() override;
    void Undo() override {}
    void GetChangedMemory(std::vector<void*>&) const override {}
    void GetModifiedResources(std::vector<KvResource*>&) const override {}
    bool UpdatesSelection() const override { return true; }
    void GetSelection(std::vector<tReflectedObject>&) const override {}

private:
    static void DoExport(const KvProjectData_Core_Raw_ActorPrefab* pPrefab);
    // One shape element; angles in degrees as stored, nothing converted.
    static void WriteMesh(KvIOStream& stream, const char* shapeName,
                          const KvProjectData_Core_Raw_RenderShapeMesh& shape, const KvVector3& position,
                          const KvVector3& orientation, const KvVector3& scaling);

    std::string m_strName;
    KvProjectData_Core_Raw_ActorPrefab* m_pPrefab;
};
