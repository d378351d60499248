#include "actions/KvNativeAction_Mesh_OverrideShaderBinding.h"

#include "TypeManager/KvObjectFactory.h"
#include "importers/KvImporterSupport.h"
#include "projectdata/KvProjectData_Core_Material.h"

KV_IMPLEMENT_TYPED_CLASS(KvNativeAction_Mesh_OverrideShaderBinding)

using Binding = KvProjectData_Core_Raw_MaterialPassBinding;

KvNativeAction_Mesh_OverrideShaderBinding::KvNativeAction_Mesh_OverrideShaderBinding(
    const char* label, KvProjectData_Core_Raw_Mesh* pMesh, KvCompiledShaderPass_Ref* pShader,
    KvProjectData_Core_Raw_RenderPass* pOverridePass, KvProjectData_Core_Raw_RenderPass* pReplacedPass)
    : KvNativeAction_Mesh_BindingEdit(label, pMesh), m_pShader(pShader), m_pOverridePass(pOverridePass),
      m_pReplacedPass(pReplacedPass)
{
}

void KvNativeAction_Mesh_OverrideShaderBinding::EditBindings(KvProjectData_Core_Raw_Material& material)
{
    // Where a pass is bound more than once, its last binding is the one that changes.
    Binding* pOverride = nullptr;
    Binding* pReplaced = nullptr;
    for (Binding* pBinding : material.m_apBindings)
    {
        if (pBinding && pBinding->m_pRenderPass == m_pOverridePass)
            pOverride = pBinding;
        if (pBinding && pBinding->m_pRenderPass == m_pReplacedPass)
            pReplaced = pBinding;
    }
    if (!pOverride)
        pOverride = material.m_apBindings.emplace_back(KvCreateData<Binding>());
    if (!pReplaced)
        pReplaced = material.m_apBindings.emplace_back(KvCreateData<Binding>());
    pOverride->m_pRenderPass = m_pOverridePass;
    pOverride->m_pShader = m_pShader;
    pReplaced->m_pRenderPass = m_pReplacedPass;
    pReplaced->m_pShader = nullptr;
}
