#include "actions/KvNativeAction_Mesh_SetMeshDecalBindings.h"

#include "TypeManager/KvObjectFactory.h"
#include "importers/KvImporterSupport.h"
#include "projectdata/KvProjectData_Core_Material.h"
#include "projectdata/KvProjectData_Core_Mesh.h"
#include "projectdata/KvProjectData_Core_RenderShape.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <string_view>

KV_IMPLEMENT_TYPED_CLASS(KvNativeAction_Mesh_SetMeshDecalBindings)

namespace
{
using Material = KvProjectData_Core_Raw_Material;
using Binding = KvProjectData_Core_Raw_MaterialPassBinding;
using Layer = KvProjectData_Core_Raw_RenderShapeMeshLayer;

// The decal is made of the mesh's first three materials.
constexpr size_t kSourceCount = 3;
// The submesh the stencil-tag and cull layers draw.
constexpr uint32_t kStencilSubMesh = 2;

// The clones, in the order they are added to the materials and the level of detail.
struct tDecalMaterial
{
    const char* m_szNameSuffix;
    bool m_bExterior;
    bool m_bAlphaTested;
    uint32_t m_ulSubMeshIndex;
};
constexpr tDecalMaterial kDecalMaterials[] = {{"_meshdecal_interior", false, true, 0},
                                              {"_meshdecal_exterior_at", true, true, 1},
                                              {"_meshdecal_exterior", true, false, 1}};

bool ContainsIgnoringCase(std::string_view text, std::string_view lowerCaseWord)
{
    return std::search(text.begin(), text.end(), lowerCaseWord.begin(), lowerCaseWord.end(),
                       [](unsigned char c, char word) { return std::tolower(c) == word; }) != text.end();
}

struct tSources
{
    const Material* m_pInterior;
    const Material* m_pExterior;
};

// A "cull" material is neither source; one with "_alpha" is the exterior source, any other
// the interior source; later materials win.
tSources ClassifySources(const std::vector<Material*>& materials)
{
    tSources sources{materials[1], materials[0]};
    for (const Material* pMaterial : materials)
    {
        if (ContainsIgnoringCase(pMaterial->m_strName, "cull"))
            continue;
        (ContainsIgnoringCase(pMaterial->m_strName, "_alpha") ? sources.m_pExterior : sources.m_pInterior) =
            pMaterial;
    }
    return sources;
}

// The mesh owns its materials (an owned pointer array, saved nested in the mesh), so the ones
// cut from the list are destroyed. A document may hold one object in two owned places, so a
// material the mesh still holds elsewhere stays, and each is destroyed once.
void DestroyCutMaterials(const KvProjectData_Core_Raw_Mesh& mesh, const std::vector<Material*>& cut)
{
    std::set<const Material*> held(mesh.m_apMaterials.begin(), mesh.m_apMaterials.end());
    for (const KvProjectData_Core_Raw_MaterialInfo& info : mesh.m_aMaterials)
        held.insert(info.m_pDefaultMaterial);
    held.insert(nullptr);
    for (Material* pMaterial : cut)
    {
        if (held.insert(pMaterial).second)
            KvDestroyData(pMaterial);
    }
}

void AppendLayer(KvProjectData_Core_Raw_RenderShapeMeshLod& lod, KvProjectData_Core_Raw_Mesh& mesh,
                 uint32_t subMeshIndex, Material* pMaterial)
{
    Layer* pLayer = lod.m_apLayers.emplace_back(KvCreateData<Layer>());
    pLayer->m_pMesh = &mesh;
    pLayer->m_ulSubMeshIndex = subMeshIndex;
    pLayer->m_pMaterial = pMaterial;
}
} // namespace

KvNativeAction_Mesh_SetMeshDecalBindings::KvNativeAction_Mesh_SetMeshDecalBindings(
    const char* label, KvProjectData_Core_Raw_Mesh* pMesh)
    : KvNativeAction_Mesh(label, pMesh),
      m_pStencilTagMaterial(Material::GetExternalReference("meshdecals\\meshdecal_stenciltag")),
      m_pCullMaterial(Material::GetExternalReference("meshdecals\\meshdecal_cull")),
      m_pAlphaTestDoorShader(KvCompiledShaderPass_Ref::GetExternalReference("Mq_Door_GBuffer_AlphaTest")),
      m_pAlphaDoorShader(KvCompiledShaderPass_Ref::GetExternalReference("Mq_Door_GBuffer_Alpha"))
{
}

void KvNativeAction_Mesh_SetMeshDecalBindings::DoOn(KvProjectData_Core_Raw_Mesh& mesh)
{
    std::vector<Material*>& materials = mesh.m_apMaterials;
    // An empty entry, which a hand-edited project can hold, counts as a missing material.
    if (materials.size() < kSourceCount || std::find(materials.begin(), materials.begin() + kSourceCount,
                                                     nullptr) != materials.begin() + kSourceCount)
        return;
    const std::vector<Material*> cut(materials.begin() + kSourceCount, materials.end());
    materials.resize(kSourceCount);
    DestroyCutMaterials(mesh, cut);

    KvDestroyData(mesh.m_pRenderShape);
    mesh.m_pRenderShape = KvCreateData<KvProjectData_Core_Raw_RenderShapeMesh>();
    mesh.m_pRenderShape->m_strName = mesh.m_strName;
    mesh.m_pRenderShape->m_bDontImport = true;
    auto& lod = *mesh.m_pRenderShape->m_apLods.emplace_back(
        KvCreateData<KvProjectData_Core_Raw_RenderShapeMeshLod>());
    // A new level of detail holds a default layer; the decal's layers are its only ones.
    KvDestroyAllData(lod.m_apLayers);
    AppendLayer(lod, mesh, kStencilSubMesh, m_pStencilTagMaterial);
    AppendLayer(lod, mesh, kStencilSubMesh, m_pCullMaterial);

    const tSources sources = ClassifySources(materials);
    for (const tDecalMaterial& decal : kDecalMaterials)
    {
        auto* pClone = static_cast<Material*>(KvReflectionInterface::GetInstance()->CloneObject(
            Material::GetReflectedDataType(), decal.m_bExterior ? sources.m_pExterior : sources.m_pInterior));
        pClone->m_strName = mesh.m_strName + decal.m_szNameSuffix;
        // A clone is a material of its own: with its source's GUID, references to it would
        // resolve to the source once the project is loaded again.
        pClone->m_XRefGUID = KvGuid::GenerateNew();
        materials.push_back(pClone);
        AssignAlphaPasses(*pClone, decal.m_bAlphaTested ? m_pAlphaTestDoorShader : m_pAlphaDoorShader);
        AppendLayer(lod, mesh, decal.m_ulSubMeshIndex, pClone);
    }
}

void KvNativeAction_Mesh_SetMeshDecalBindings::AssignAlphaPasses(KvProjectData_Core_Raw_Material& material,
                                                                 KvCompiledShaderPass_Ref* pShader)
{
    KvDestroyAllData(material.m_apBindings);
    const std::pair<const char*, KvCompiledShaderPass_Ref*> passes[] = {{"gbuffer", nullptr},
                                                                        {"gbuffer_door", pShader}};
    for (const auto& [passName, pPassShader] : passes)
    {
        Binding* pBinding = material.m_apBindings.emplace_back(KvCreateData<Binding>());
        pBinding->m_pRenderPass = KvProjectData_Core_Raw_RenderPass::GetExternalReference(passName);
        pBinding->m_pShader = pPassShader;
    }
}
