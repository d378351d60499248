#include "actions/KvNativeAction_Mesh_RevertShaderBinding.h"

#include "TypeManager/KvObjectFactory.h"
#include "importers/KvImporterSupport.h"
#include "projectdata/KvProjectData_Core_Material.h"

#include <utility>
#include <vector>

KV_IMPLEMENT_TYPED_CLASS(KvNativeAction_Mesh_RevertShaderBinding)

using Binding = KvProjectData_Core_Raw_MaterialPassBinding;

KvNativeAction_Mesh_RevertShaderBinding::KvNativeAction_Mesh_RevertShaderBinding(
    const char* label, KvProjectData_Core_Raw_Mesh* pMesh, KvProjectData_Core_Raw_RenderPass* pFirstPass,
    KvProjectData_Core_Raw_RenderPass* pSecondPass)
    : KvNativeAction_Mesh_BindingEdit(label, pMesh), m_pFirstPass(pFirstPass), m_pSecondPass(pSecondPass)
{
}

void KvNativeAction_Mesh_RevertShaderBinding::EditBindings(KvProjectData_Core_Raw_Material& material)
{
    // The material owns its bindings and the action keeps their clones for Undo, so the ones
    // taken out are destroyed: nothing else refers to a binding.
    std::vector<Binding*> kept;
    for (Binding* pBinding : material.m_apBindings)
    {
        if (pBinding && (pBinding->m_pRenderPass == m_pFirstPass || pBinding->m_pRenderPass == m_pSecondPass))
            KvDestroyData(pBinding);
        else
            kept.push_back(pBinding);
    }
    material.m_apBindings = std::move(kept);
}
