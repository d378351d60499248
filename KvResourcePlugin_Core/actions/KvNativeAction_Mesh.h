#pragma once

#include "KvResourcePlugin_CoreExport.h"
#include "actions/KvNativeAction.h"

#include <string>
#include <vector>

class KvProjectData_Core_Raw_Mesh;

// Base of the "Rendering" actions on a mesh: the label, the mesh, and the slots they share.
// Each edits the mesh's materials and render shape, dirties the mesh's resource and leaves the
// selection alone.
class KV_PLUGIN_CORE_API KvNativeAction_Mesh : public KvReflectedObjectAction
{
public:
    const std::string& GetName() const override { return m_strName; }
    // An action the type manager made has no mesh and changes nothing.
    void Do() final;
    void Undo() final;
    // The mesh, when there is one.
    void GetChangedMemory(std::vector<void*>& outMemory) const override;
    // The mesh's resource, when it is set.
    void GetModifiedResources(std::vector<KvResource*>& outResources) const override;
    bool UpdatesSelection() const override { return false; }
    void GetSelection(std::vector<tReflectedObject>&) const override {}

protected:
    // A null label names the action "Undefined".
    KvNativeAction_Mesh(const char* label, KvProjectData_Core_Raw_Mesh* pMesh);

    virtual void DoOn(KvProjectData_Core_Raw_Mesh& mesh) = 0;
    virtual void UndoOn(KvProjectData_Core_Raw_Mesh& mesh) = 0;

private:
    std::string m_strName;
    KvProjectData_Core_Raw_Mesh* m_pMesh;
};
