#include "projectdata/KvProjectData_Core_Mesh.h"

#include "projectdata/KvProjectData_Core_EditorPawn.h"
#include "projectdata/KvProjectData_Core_Material.h"
#include "projectdata/KvProjectData_Core_RenderShape.h"
#include "projectdata/KvProjectData_Core_Transform.h"
#include "projectdata/KvSchema.h"

KvProjectData_Core_Raw_Mesh::~KvProjectData_Core_Raw_Mesh()
{
    DestroyEditorPawn();
}

void KvProjectData_Core_Raw_Mesh::CreateEditorPawn()
{
    DestroyEditorPawn();
    const KvReflectedObjCtorContext preview("DUMMY-DONT-SELECT",
                                            KvProjectData_Core_Raw_RenderShapeMesh::GetReflectedDataType(),
                                            nullptr, nullptr, this, 0);
    m_pPreviewShape = new KvProjectData_Core_Raw_RenderShapeMesh(preview);
    m_pEditorPawn = new KvProjectData_Core_Raw_EditorPawn();
    m_pEditorPawn->m_pTransform = static_cast<KvProjectData_Core_Raw_KvObjectTransform*>(
        KvProjectData_Core_Raw_KvObjectTransform::GetReflectedDataType()->GetObjectConstructor()->Create());
    m_pEditorPawn->m_ppRenderShape = &m_pPreviewShape;
}

void KvProjectData_Core_Raw_Mesh::DestroyEditorPawn()
{
    delete m_pPreviewShape;
    m_pPreviewShape = nullptr;
    delete m_pEditorPawn;
    m_pEditorPawn = nullptr;
}

namespace
{
// "m_boundingBox.m_vMin" and "m_boundingBox.m_vMax" of a class with an m_boundingBox.
template <class T>
void DeclareBoundingBox(KvSchema<T>& schema)
{
    schema.NestedMember("m_boundingBox.m_vMin", &T::m_boundingBox, &KvBoundingBox::m_vMin);
    schema.NestedMember("m_boundingBox.m_vMax", &T::m_boundingBox, &KvBoundingBox::m_vMax);
}
} // namespace

KV_BEGIN_SCHEMA(KvProjectData_Core_SubMesh, ObjectConstructor)
using T = KvProjectData_Core_SubMesh;
schema.Member("m_ulIndexRange_Start", &T::m_ulIndexRange_Start);
schema.Member("m_ulIndexCount", &T::m_ulIndexCount);
schema.Member("m_ulMaterialIndex", &T::m_ulMaterialIndex);
DeclareBoundingBox(schema);
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_Raw_MaterialInfo, ObjectConstructor)
using T = KvProjectData_Core_Raw_MaterialInfo;
schema.Member("m_strName", &T::m_strName);
schema.Member("m_diffuseTextureName", &T::m_diffuseTextureName);
schema.Member("m_normalTextureName", &T::m_normalTextureName);
schema.Member("m_specularTextureName", &T::m_specularTextureName);
schema
    .Pointer("m_pDefaultMaterial", &T::m_pDefaultMaterial,
             KvProjectData_Core_Raw_Material::GetReflectedDataType())
    .With(new KvAttribute_HideVirtualNode());
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_Raw_Mesh, ObjectConstructor)
using T = KvProjectData_Core_Raw_Mesh;
schema.TypeAttribute(new KvAttribute_Network())
    .TypeAttribute(new KvAttribute_Editor("KvToolComponent_RenderView"))
    .TypeAttribute(new KvAttribute_NativeAction("Rendering", &T::GetRenderingActions));
schema.IdentityName(&T::m_strName);
schema.IdentityGuid();
schema.IdentityLocalIndex();
schema.RecordArray("m_aSubMesh", &T::m_aSubMesh, KvProjectData_Core_SubMesh::GetReflectedDataType())
    .With(new KvAttribute_HideInPropertyGrid());
DeclareBoundingBox(schema);
schema.RecordArray("m_aMaterials", &T::m_aMaterials,
                   KvProjectData_Core_Raw_MaterialInfo::GetReflectedDataType());
schema
    .PointerArray("m_apMaterials", &T::m_apMaterials, KvProjectData_Core_Raw_Material::GetReflectedDataType())
    .With(new KvAttribute_HideInPropertyGrid());
schema.Member("m_pRunResource", &T::m_pRunResource).With(new KvAttribute_SetResourceHandle());
schema.Member("m_pPayloadData", &T::m_pPayloadData).With(new KvAttribute_SetPayloadHandle());
schema.Pointer("m_pSkeleton", &T::m_pSkeleton, KvDeclareForward("KvProjectData_Core_Raw_AnimationSkeleton"));
schema.Pointer("m_pRenderShape", &T::m_pRenderShape,
               KvDeclareForward("KvProjectData_Core_Raw_RenderShapeMesh"));
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_Mesh_Payload, ObjectConstructor)
using T = KvProjectData_Core_Mesh_Payload;
static const char* const kUVStreamNames[T::kUVStreamCount] = {
    "m_aUVStream[0]", "m_aUVStream[1]", "m_aUVStream[2]", "m_aUVStream[3]",
    "m_aUVStream[4]", "m_aUVStream[5]", "m_aUVStream[6]", "m_aUVStream[7]"};
schema.Array("m_aulIndices", &T::m_aulIndices).With(new KvAttribute_HideInPropertyGrid());
schema.Array("m_aPositionStream", &T::m_aPositionStream).With(new KvAttribute_HideInPropertyGrid());
schema.Array("m_aNormalStream", &T::m_aNormalStream).With(new KvAttribute_HideInPropertyGrid());
schema.Array("m_aTangentStream", &T::m_aTangentStream).With(new KvAttribute_HideInPropertyGrid());
schema.Array("m_aBiTangentStream", &T::m_aBiTangentStream).With(new KvAttribute_HideInPropertyGrid());
schema.Array("m_aBoneIndexStream", &T::m_aBoneIndexStream).With(new KvAttribute_HideInPropertyGrid());
schema.Array("m_aBoneWeightStream", &T::m_aBoneWeightStream).With(new KvAttribute_HideInPropertyGrid());
for (int stream = 0; stream < T::kUVStreamCount; ++stream)
    schema.ArrayElement(kUVStreamNames[stream], &T::m_aUVStream, stream)
        .With(new KvAttribute_HideInPropertyGrid());
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_Cooked_SubMeshInfo, ObjectConstructor)
schema.Member("m_ulIndexRange_Start", &KvProjectData_Core_Cooked_SubMeshInfo::m_ulIndexRange_Start);
schema.Member("m_ulPrimCount", &KvProjectData_Core_Cooked_SubMeshInfo::m_ulPrimCount);
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvProjectData_Core_Cooked_MeshHandle, ObjectConstructor)
using T = KvProjectData_Core_Cooked_MeshHandle;
schema.IdentityName(&T::m_strName);
schema.IdentityGuid();
schema.IdentityLocalIndex();
schema.Pointer("m_pDecl", &T::m_pDecl, KvDeclareForward("KvVertexBufferSource_tVertexDeclaration"));
schema.Member("m_ulNumVertices", &T::m_ulNumVertices);
schema.Member("m_ulNumIndices", &T::m_ulNumIndices);
schema.Member("m_ulIndexStride", &T::m_ulIndexStride);
schema.Array("m_acVertexData", &T::m_acVertexData);
schema.Array("m_acIndexData", &T::m_acIndexData);
schema.RecordArray("m_aSubmesh", &T::m_aSubmesh,
                   KvProjectData_Core_Cooked_SubMeshInfo::GetReflectedDataType());
KV_END_SCHEMA()
