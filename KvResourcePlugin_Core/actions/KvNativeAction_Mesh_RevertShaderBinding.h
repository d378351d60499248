#pragma once

#include "actions/KvNativeAction_Mesh_BindingEdit.h"

class KvProjectData_Core_Raw_RenderPass;

// Takes the bindings of two render passes out of every material of a mesh, keeping the others
// in their order: what an override added goes again. Undo gives the materials their bindings
// as they were before.
class KV_PLUGIN_CORE_API KvNativeAction_Mesh_RevertShaderBinding : public KvNativeAction_Mesh_BindingEdit
{
    KV_DECLARE_TYPED_CLASS(KvNativeAction_Mesh_RevertShaderBinding, KvReflectedObjectAction)

public:
    explicit KvNativeAction_Mesh_RevertShaderBinding(
        const char* label = nullptr, KvProjectData_Core_Raw_Mesh* pMesh = nullptr,
        KvProjectData_Core_Raw_RenderPass* pFirstPass = nullptr,
        KvProjectData_Core_Raw_RenderPass* pSecondPass = nullptr);

private:
    void EditBindings(KvProjectData_Core_Raw_Material& material) override;

    KvProjectData_Core_Raw_RenderPass* m_pFirstPass;
    KvProjectData_Core_Raw_RenderPass* m_pSecondPass;
};
