#include "Foundation/KvReport.h"
#include "projectdata/KvConstructContexts.h"
#include "projectdata/KvProjectData_Core_Attachment.h"
#include "projectdata/KvProjectData_Core_EditorPawn.h"
#include "projectdata/KvProjectData_Core_Material.h"
#include "projectdata/KvProjectData_Core_RenderShape.h"
#include "projectdata/KvProjectData_Core_Transform.h"
#include "projectdata/KvSchema.h"

KvProjectData_Core_Raw_RenderShapeMeshLod::KvProjectData_Core_Raw_RenderShapeMeshLod()
    : m_apLayers{new KvProjectData_Core_Raw_RenderShapeMeshLayer()}
{
}

KvProjectData_Core_Raw_RenderShapeMeshLod::KvProjectData_Core_Raw_RenderShapeMeshLod(
    const KvReflectedObjCtorContext& context)
{
    const auto* pMesh = static_cast<KvProjectData_Core_Raw_Mesh*>(context.m_pSourceObject);
    if (!pMesh)
        return;
    m_pSkeleton = pMesh->m_pSkeleton;
    for (uint32_t index = 0; index < pMesh->m_aSubMesh.size(); ++index)
    {
        auto* pLayer = new KvProjectData_Core_Raw_RenderShapeMeshLayer();
        pLayer->m_pMesh = const_cast<KvProjectData_Core_Raw_Mesh*>(pMesh);
        pLayer->m_ulSubMeshIndex = index;
        const uint32_t materialIndex = pMesh->m_aSubMesh[index].m_ulMaterialIndex;
        if (materialIndex != KvProjectData_Core_SubMesh::kNoMaterial)
        {
            // A material index past the list names no material.
            const std::string materialName = materialIndex < pMesh->m_aMaterials.size()
                                                 ? pMesh->m_aMaterials[materialIndex].m_strName
                                                 : "";
            pLayer->m_pMaterial = KvProjectData_Core_Raw_Material::GetExternalReference(materialName.c_str());
            if (!pLayer->m_pMaterial)
                KvLogReport(
                    kKvLogLevelWarning,
                    {"Resources\\Rendering\\KvProjectData_Core_Raw_RenderShapeMesh",
                     "KvProjectData_Core_Raw_RenderShapeMeshLod::KvProjectData_Core_Raw_RenderShapeMeshLod",
                     64},
                    "Failed to find material '%s' for mesh '%s'", materialName.c_str(),
                    pMesh->m_strName.c_str());
        }
        m_apLayers.push_back(pLayer);
    }
}

KvProjectData_Core_Raw_RenderShapeMeshLod::~KvProjectData_Core_Raw_RenderShapeMeshLod()
{
    for (KvProjectData_Core_Raw_RenderShapeMeshLayer* pLayer : m_apLayers)
        delete pLayer;
}

KvProjectData_Core_Raw_RenderShapeMesh::KvProjectData_Core_Raw_RenderShapeMesh(
    const KvReflectedObjCtorContext& context)
{
    m_strName.clear();
    auto* pMesh = static_cast<KvProjectData_Core_Raw_Mesh*>(context.m_pSourceObject);
    if (!pMesh)
        return;
    m_strName = pMesh->m_strName;
    m_apLods.push_back(new KvProjectData_Core_Raw_RenderShapeMeshLod(context));
    m_pCollisionMesh = pMesh;
}

KvProjectData_Core_Raw_RenderShapeMesh::~KvProjectData_Core_Raw_RenderShapeMesh()
{
    DestroyEditorPawn();
    for (KvProjectData_Core_Raw_RenderShapeMeshLod* pLod : m_apLods)
        delete pLod;
}

void KvProjectData_Core_Raw_RenderShapeMesh::PostDeserialize()
{
    m_Bounds = KvBoundingBox();
    if (const KvProjectData_Core_Raw_Mesh* pMesh = GetFirstMesh())
        m_Bounds = pMesh->m_boundingBox;
}

KvProjectData_Core_Raw_Mesh* KvProjectData_Core_Raw_RenderShapeMesh::GetFirstMesh() const
{
    if (m_apLods.empty() || !m_apLods[0] || m_apLods[0]->m_apLayers.empty() || !m_apLods[0]->m_apLayers[0])
        return nullptr;
    return m_apLods[0]->m_apLayers[0]->m_pMesh;
}

void KvProjectData_Core_Raw_RenderShapeMesh::CreateEditorPawn()
{
    DestroyEditorPawn();
    m_pSelf = this;
    m_pEditorPawn = new KvProjectData_Core_Raw_EditorPawn();
    m_pEditorPawn->m_pTransform = static_cast<KvProjectData_Core_Raw_KvObjectTransform*>(
        KvProjectData_Core_Raw_KvObjectTransform::GetReflectedDataType()->GetObjectConstructor()->Create());
    m_pEditorPawn->m_ppRenderShape = &m_pSelf;
}

void KvProjectData_Core_Raw_RenderShapeMesh::DestroyEditorPawn()
{
    delete m_pEditorPawn;
    m_pEditorPawn = nullptr;
}

void KvProjectData_Core_Raw_RenderShapeMesh::GetConstructContexts(
    std::vector<KvReflectedObjCtorContext*>& outContexts, const KvReflectedDataType* pTargetType,
    void* pParentObject, const KvReflectedPrimitive* pParentMember)
{
    KvAppendLiveObjectContexts(outContexts, "KvProjectData_Core_Raw_Mesh", pTargetType, pParentObject,
                               pParentMember);
}

namespace
{
// The three attributes of a drop-down cross-reference to a mesh or material.
template <class T>
void DropDownReference(KvSchema<T>& schema, bool bFlag)
{
    schema.With(new KvAttribute_HideVirtualNode()).PickedByName(bFlag).With(new KvAttribute_XRef());
}
} // namespace

KV_BEGIN_SCHEMA(KvProjectData_Core_Raw_RenderShapeMeshLayer, ObjectConstructor)
using T = KvProjectData_Core_Raw_RenderShapeMeshLayer;
schema.TypeAttribute(new KvAttribute_NoSorting()).TypeAttribute(new KvAttribute_DisplayName("Layer"));
schema.Pointer("m_pMesh", &T::m_pMesh, KvProjectData_Core_Raw_Mesh::GetReflectedDataType())
    .With(new KvAttribute_HideVirtualNode())
    .With(new KvAttribute_XRef())
    .PickedByName(false);
schema.Pointer("m_pMaterial", &T::m_pMaterial, KvProjectData_Core_Raw_Material::GetReflectedDataType());
DropDownReference(schema, false);
schema.Member("m_ulSubMeshIndex", &T::m_ulSubMeshIndex);
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_Raw_RenderShapeMeshLod, ObjectConstructor)
using T = KvProjectData_Core_Raw_RenderShapeMeshLod;
schema.TypeAttribute(new KvAttribute_NoSorting())
    .TypeAttribute(new KvAttribute_CtorByContext(
        "By Mesh", &KvProjectData_Core_Raw_RenderShapeMesh::GetConstructContexts, new ObjectCtor<T>()))
    .TypeAttribute(new KvAttribute_DisplayName("LOD"));
schema.PointerArray("m_apLayers", &T::m_apLayers,
                    KvProjectData_Core_Raw_RenderShapeMeshLayer::GetReflectedDataType());
schema.Pointer("m_pSkeleton", &T::m_pSkeleton, KvDeclareForward("KvProjectData_Core_Raw_AnimationSkeleton"));
DropDownReference(schema, false);
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_Raw_RenderShapeMesh, ObjectConstructorWithPost)
using T = KvProjectData_Core_Raw_RenderShapeMesh;
const KvReflectedDataType* pMesh = KvProjectData_Core_Raw_Mesh::GetReflectedDataType();
schema.TypeAttribute(new KvAttribute_Network())
    .TypeAttribute(new KvAttribute_CtorByContext("By Mesh", &T::GetConstructContexts, new ObjectCtor<T>()))
    .TypeAttribute(new KvAttribute_Editor("KvToolComponent_RenderView"));
schema.IdentityName(&T::m_strName).With(new KvAttribute_DisplayNameFromMember("MeshShape: %s"));
schema.IdentityGuid();
schema.IdentityLocalIndex();
for (auto [name, member] : {std::pair{"m_pCollisionMesh", &T::m_pCollisionMesh},
                            std::pair{"m_pCollisionMesh_Fallback", &T::m_pCollisionMesh_Fallback},
                            std::pair{"m_pSkinningResultMesh", &T::m_pSkinningResultMesh}})
{
    schema.Pointer(name, member, pMesh);
    DropDownReference(schema, true);
}
schema.Member("m_iLodCategory", &T::m_iLodCategory);
schema
    .PointerArray("m_apLods", &T::m_apLods, KvProjectData_Core_Raw_RenderShapeMeshLod::GetReflectedDataType())
    .With(new KvAttribute_DisplayName("Lods"));
schema.PointerArray("m_apAttachmentSlots", &T::m_apAttachmentSlots, KvAttachmentSlot::GetReflectedDataType());
schema.Member("m_vLocalCollisionScale", &T::m_vLocalCollisionScale);
schema.Member("m_vCollisionOffset", &T::m_vCollisionOffset);
schema.Member("m_bDontImport", &T::m_bDontImport);
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_RenderShapeLibrary_TopLevel, ObjectConstructor)
schema
    .PointerArray("m_apMeshShapes", &KvProjectData_Core_RenderShapeLibrary_TopLevel::m_apMeshShapes,
                  KvProjectData_Core_Raw_RenderShapeMesh::GetReflectedDataType())
    .With(new KvAttribute_DisplayName("Mesh Shapes"));
KV_END_SCHEMA()
