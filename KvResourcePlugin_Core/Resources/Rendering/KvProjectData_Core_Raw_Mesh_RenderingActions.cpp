#include "Foundation/KvReport.h"
#include "actions/KvNativeAction_Mesh_OverrideShaderBinding.h"
#include "actions/KvNativeAction_Mesh_RevertShaderBinding.h"
#include "actions/KvNativeAction_Mesh_SetMeshDecalBindings.h"
#include "projectdata/KvProjectData_Core_Material.h"
#include "projectdata/KvProjectData_Core_Mesh.h"

#include <array>

namespace
{
constexpr const char* kReportFile = "Resources\\Rendering\\KvProjectData_Core_Raw_Mesh";
constexpr const char* kReportFunction = "KvProjectData_Core_Raw_Mesh::GetRenderingActions";
// The menu names passes and shaders of the renderer; a project without them needs new actions.
constexpr const char* kMissingPasses =
    "RenderPasses no longer match hardcodeed native actions changed. Please update native actions";
constexpr const char* kMissingShaders =
    "Shaders no longer match hardcodeed native actions changed. Please update native actions";
constexpr const char* kOverridePass = "gbuffer_noSSAO";
constexpr const char* kReplacedPass = "gbuffer";

enum class eRenderingAction
{
    Override,
    MeshDecal,
    Revert
};

struct tMenuEntry
{
    eRenderingAction m_eAction;
    const char* m_szLabel;
    // The shader an override binds, null for the others.
    const char* m_szShader;
    // The line a missing shader is reported at: the shaders are checked in two groups.
    int m_iMissingShaderLine;
};

constexpr tMenuEntry kMenu[] = {
    {eRenderingAction::Override, "Override nonSSAO", "LPP_GBuffer_Default", 75},
    {eRenderingAction::Override, "Override nonSSAO Skinned", "LPP_GBuffer_Default_Skinned", 75},
    {eRenderingAction::Override, "Override nonSSAO AlphaTested", "LPP_GBuffer_AlphaTest", 75},
    {eRenderingAction::Override, "Override nonSSAO AlternateLight", "LPP_GBuffer_AlternateLight", 81},
    {eRenderingAction::Override, "Override nonSSAO AlternateLight Skinned",
     "LPP_GBuffer_AlternateLight_Skinned", 81},
    {eRenderingAction::Override, "Override nonSSAO AlternateLight AlphaTested",
     "LPP_GBuffer_AlternateLight_AlphaTest", 81},
    {eRenderingAction::Override, "Override nonSSAO AlternateLight Skinned AlphaTested",
     "LPP_GBuffer_AlternateLight_Skinned_AlphaTest", 81},
    {eRenderingAction::MeshDecal, "Set MeshDecal bindings", nullptr, 0},
    {eRenderingAction::Revert, "Revert Shader Override", nullptr, 0},
};

KvProjectData_Core_Raw_RenderPass* RequirePass(const char* name)
{
    KvProjectData_Core_Raw_RenderPass* pPass = KvProjectData_Core_Raw_RenderPass::GetExternalReference(name);
    if (!pPass)
        KvFatalReport({kReportFile, kReportFunction, 69}, "%s", kMissingPasses);
    return pPass;
}
} // namespace

// The selected mesh is the member-data argument.
void KvProjectData_Core_Raw_Mesh::GetRenderingActions(std::vector<KvSmartPtr<KvNativeAction>>& outActions,
                                                      KvResource*, const KvReflectedDataType*, void*,
                                                      const KvReflectedPrimitive*, void* pMemberData)
{
    KvProjectData_Core_Raw_RenderPass* pReplacedPass = RequirePass(kReplacedPass);
    KvProjectData_Core_Raw_RenderPass* pOverridePass = RequirePass(kOverridePass);
    // Every name is checked before the first action is offered.
    std::array<KvCompiledShaderPass_Ref*, std::size(kMenu)> shaders{};
    for (size_t index = 0; index < std::size(kMenu); ++index)
    {
        const tMenuEntry& entry = kMenu[index];
        if (!entry.m_szShader)
            continue;
        shaders[index] = KvCompiledShaderPass_Ref::GetExternalReference(entry.m_szShader);
        if (!shaders[index])
            KvFatalReport({kReportFile, kReportFunction, entry.m_iMissingShaderLine}, "%s", kMissingShaders);
    }
    auto* pMesh = static_cast<KvProjectData_Core_Raw_Mesh*>(pMemberData);
    for (size_t index = 0; index < std::size(kMenu); ++index)
    {
        const tMenuEntry& entry = kMenu[index];
        switch (entry.m_eAction)
        {
        case eRenderingAction::Override:
            outActions.push_back(new KvNativeAction_Mesh_OverrideShaderBinding(
                entry.m_szLabel, pMesh, shaders[index], pOverridePass, pReplacedPass));
            break;
        case eRenderingAction::MeshDecal:
            outActions.push_back(new KvNativeAction_Mesh_SetMeshDecalBindings(entry.m_szLabel, pMesh));
            break;
        case eRenderingAction::Revert:
            outActions.push_back(new KvNativeAction_Mesh_RevertShaderBinding(entry.m_szLabel, pMesh,
                                                                             pOverridePass, pReplacedPass));
            break;
        }
    }
}
