#pragma once

#include "KvResourcePlugin_CoreExport.h"
#include "projectdata/KvProjectData_Core_Mesh.h"
#include "projectdata/KvXRefObject.h"
#include "reflection/KvReflectedObjCtorContext.h"

#include <cstdint>
#include <string>
#include <vector>

class KvAttachmentSlot;
class KvProjectData_Core_Raw_AnimationSkeleton;
class KvProjectData_Core_Raw_EditorPawn;
class KvProjectData_Core_Raw_Material;

// One mesh and material pair of a level of detail: a submesh drawn with a material.
class KV_PLUGIN_CORE_API KvProjectData_Core_Raw_RenderShapeMeshLayer
{
public:
    KvProjectData_Core_Raw_Mesh* m_pMesh = nullptr;
    KvProjectData_Core_Raw_Material* m_pMaterial = nullptr;
    uint32_t m_ulSubMeshIndex = 0xFFFFFFFF;
    bool m_bFlag = false;

    static const KvReflectedDataType* GetReflectedDataType();
};

class KV_PLUGIN_CORE_API KvProjectData_Core_Raw_RenderShapeMeshLod
{
public:
    // One default layer.
    KvProjectData_Core_Raw_RenderShapeMeshLod();
    // "By Mesh": one layer per submesh of the context's mesh, with its material when loaded.
    explicit KvProjectData_Core_Raw_RenderShapeMeshLod(const KvReflectedObjCtorContext& context);
    // Frees the layers it still holds.
    ~KvProjectData_Core_Raw_RenderShapeMeshLod();

    KvProjectData_Core_Raw_RenderShapeMeshLod(const KvProjectData_Core_Raw_RenderShapeMeshLod&) = delete;
    KvProjectData_Core_Raw_RenderShapeMeshLod&
    operator=(const KvProjectData_Core_Raw_RenderShapeMeshLod&) = delete;

    std::vector<KvProjectData_Core_Raw_RenderShapeMeshLayer*> m_apLayers;
    KvProjectData_Core_Raw_AnimationSkeleton* m_pSkeleton = nullptr;

    static const KvReflectedDataType* GetReflectedDataType();
};

// The drawable of an actor: levels of detail, collision settings, attachment slots.
class KV_PLUGIN_CORE_API KvProjectData_Core_Raw_RenderShapeMesh
    : public KvXRefObject<KvProjectData_Core_Raw_RenderShapeMesh>
{
public:
    KvProjectData_Core_Raw_RenderShapeMesh() = default;
    // "By Mesh": named after the mesh, one level of detail from it, the mesh as collision.
    explicit KvProjectData_Core_Raw_RenderShapeMesh(const KvReflectedObjCtorContext& context);
    // Frees its levels of detail (and their layers) and its pawn; not the attachment slots.
    ~KvProjectData_Core_Raw_RenderShapeMesh() override;

    KvProjectData_Core_Raw_RenderShapeMesh(const KvProjectData_Core_Raw_RenderShapeMesh&) = delete;
    KvProjectData_Core_Raw_RenderShapeMesh& operator=(const KvProjectData_Core_Raw_RenderShapeMesh&) = delete;

    // The bounds become the first layer's mesh bounds, or empty.
    void PostDeserialize();
    // The mesh of the first layer of the first level of detail, or null.
    KvProjectData_Core_Raw_Mesh* GetFirstMesh() const;
    void CreateEditorPawn();
    void DestroyEditorPawn();

    static void GetConstructContexts(std::vector<KvReflectedObjCtorContext*>& outContexts,
                                     const KvReflectedDataType* pTargetType, void* pParentObject,
                                     const KvReflectedPrimitive* pParentMember);

    std::string m_strName = "DEFAULT";
    KvProjectData_Core_Raw_Mesh* m_pCollisionMesh = nullptr;
    KvProjectData_Core_Raw_Mesh* m_pCollisionMesh_Fallback = nullptr;
    KvProjectData_Core_Raw_Mesh* m_pSkinningResultMesh = nullptr;
    uint32_t m_iLodCategory = 0;
    std::vector<KvProjectData_Core_Raw_RenderShapeMeshLod*> m_apLods;
    std::vector<KvAttachmentSlot*> m_apAttachmentSlots;
    KvVector3 m_vLocalCollisionScale{1.0f, 1.0f, 1.0f};
    KvVector3 m_vCollisionOffset;
    bool m_bDontImport = false;
    KvBoundingBox m_Bounds;
    KvProjectData_Core_Raw_EditorPawn* m_pEditorPawn = nullptr;
    // What the pawn's shape link reads.
    KvProjectData_Core_Raw_RenderShapeMesh* m_pSelf = nullptr;

    static const KvReflectedDataType* GetReflectedDataType();
};

class KV_PLUGIN_CORE_API KvProjectData_Core_RenderShapeLibrary_TopLevel
{
public:
    std::vector<KvProjectData_Core_Raw_RenderShapeMesh*> m_apMeshShapes;

    static const KvReflectedDataType* GetReflectedDataType();
};
