#pragma once

#include "actions/KvNativeAction_Mesh_BindingEdit.h"

class KvCompiledShaderPass_Ref;
class KvProjectData_Core_Raw_RenderPass;

// Moves every material of a mesh from one render pass to another: the override pass gets the
// shader, the replaced pass keeps its binding without a shader; either binding is made when
// the material has none. Undo gives the materials their bindings as they were before.
class KV_PLUGIN_CORE_API KvNativeAction_Mesh_OverrideShaderBinding : public KvNativeAction_Mesh_BindingEdit
{
    KV_DECLARE_TYPED_CLASS(KvNativeAction_Mesh_OverrideShaderBinding, KvReflectedObjectAction)

public:
    explicit KvNativeAction_Mesh_OverrideShaderBinding(
        const char* label = nullptr, KvProjectData_Core_Raw_Mesh* pMesh = nullptr,
        KvCompiledShaderPass_Ref* pShader = nullptr,
        KvProjectData_Core_Raw_RenderPass* pOverridePass = nullptr,
        KvProjectData_Core_Raw_RenderPass* pReplacedPass = nullptr);

private:
    void EditBindings(KvProjectData_Core_Raw_Material& material) override;

    KvCompiledShaderPass_Ref* m_pShader;
    KvProjectData_Core_Raw_RenderPass* m_pOverridePass;
    KvProjectData_Core_Raw_RenderPass* m_pReplacedPass;
};
