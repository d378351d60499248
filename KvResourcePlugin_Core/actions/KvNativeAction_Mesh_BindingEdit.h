#pragma once

#include "actions/KvNativeAction_Mesh.h"

#include <vector>

class KvProjectData_Core_Raw_Material;
class KvProjectData_Core_Raw_MaterialPassBinding;

// Base of the actions that edit the bindings of every material of a mesh. Do saves clones of
// each material's bindings, one list per material in material order, before the edit; Undo
// destroys the materials' bindings and gives material i the clones of list i, so it relies on
// the mesh keeping its materials in order in between. The clones belong to the action while
// it holds them; the destructor destroys what it still holds.
class KV_PLUGIN_CORE_API KvNativeAction_Mesh_BindingEdit : public KvNativeAction_Mesh
{
public:
    ~KvNativeAction_Mesh_BindingEdit() override;

protected:
    KvNativeAction_Mesh_BindingEdit(const char* label, KvProjectData_Core_Raw_Mesh* pMesh);
    // A copy holds clones of its own, so that each action frees only what it holds.
    KvNativeAction_Mesh_BindingEdit(const KvNativeAction_Mesh_BindingEdit& other);
    KvNativeAction_Mesh_BindingEdit& operator=(const KvNativeAction_Mesh_BindingEdit& other);

    // The edit of one material, after its bindings have been saved.
    virtual void EditBindings(KvProjectData_Core_Raw_Material& material) = 0;

private:
    using BindingList = std::vector<KvProjectData_Core_Raw_MaterialPassBinding*>;

    void DoOn(KvProjectData_Core_Raw_Mesh& mesh) final;
    void UndoOn(KvProjectData_Core_Raw_Mesh& mesh) final;

    static std::vector<BindingList> CloneLists(const std::vector<BindingList>& lists);
    static BindingList CloneList(const BindingList& bindings);
    void DestroySaved();

    std::vector<BindingList> m_aSavedBindings;
};
