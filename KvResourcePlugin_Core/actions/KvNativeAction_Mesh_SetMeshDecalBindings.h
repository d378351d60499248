#pragma once

#include "actions/KvNativeAction_Mesh.h"

class KvCompiledShaderPass_Ref;
class KvProjectData_Core_Raw_Material;

// Rebuilds a mesh as a mesh decal: its first three materials are the sources, three clones
// of them bound to the door shaders are added, and a new render shape draws submesh 2 with
// the stencil-tag and cull materials, submesh 0 with the interior clone and submesh 1 with
// the two exterior clones. The change stays in the data: Undo does nothing.
class KV_PLUGIN_CORE_API KvNativeAction_Mesh_SetMeshDecalBindings : public KvNativeAction_Mesh
{
    KV_DECLARE_TYPED_CLASS(KvNativeAction_Mesh_SetMeshDecalBindings, KvReflectedObjectAction)

public:
    // Looks the stencil-tag and cull materials and the two door shaders up by name; what the
    // project lacks stays null and ends up null in the layers and bindings.
    explicit KvNativeAction_Mesh_SetMeshDecalBindings(const char* label = nullptr,
                                                      KvProjectData_Core_Raw_Mesh* pMesh = nullptr);

private:
    // A mesh with fewer than three materials is left as it is.
    void DoOn(KvProjectData_Core_Raw_Mesh& mesh) override;
    void UndoOn(KvProjectData_Core_Raw_Mesh&) override {}
    // Replaces the material's bindings by "gbuffer" without a shader and "gbuffer_door" with
    // the shader.
    static void AssignAlphaPasses(KvProjectData_Core_Raw_Material& material,
                                  KvCompiledShaderPass_Ref* pShader);

    KvProjectData_Core_Raw_Material* m_pStencilTagMaterial;
    KvProjectData_Core_Raw_Material* m_pCullMaterial;
    KvCompiledShaderPass_Ref* m_pAlphaTestDoorShader;
    KvCompiledShaderPass_Ref* m_pAlphaDoorShader;
};
