#pragma once

#include "Foundation/KvSmartPtr.h"
#include "KvResourcePlugin_CoreExport.h"
#include "math/KvVector.h"
#include "projectdata/KvXRefObject.h"

#include <cstdint>
#include <string>
#include <vector>

class KvNativeAction;
class KvProjectData_Core_Raw_AnimationSkeleton;
class KvProjectData_Core_Raw_EditorPawn;
class KvProjectData_Core_Raw_Material;
class KvProjectData_Core_Raw_RenderShapeMesh;
class KvReflectedPrimitive;
class KvResource;

// An axis-aligned box; the default is empty (minimum above maximum).
struct KvBoundingBox
{
    KvVector3 m_vMin{3.40282347e38f, 3.40282347e38f, 3.40282347e38f};
    KvVector3 m_vMax{-3.40282347e38f, -3.40282347e38f, -3.40282347e38f};
};

class KV_PLUGIN_CORE_API KvProjectData_Core_SubMesh
{
public:
    static constexpr uint32_t kNoMaterial = 0xFFFFFFFF;

    uint32_t m_ulIndexRange_Start = 0;
    uint32_t m_ulIndexCount = 0;
    // Index into the mesh's material list, kNoMaterial for none.
    uint32_t m_ulMaterialIndex = 0;
    KvBoundingBox m_boundingBox;

    static const KvReflectedDataType* GetReflectedDataType();
};

class KV_PLUGIN_CORE_API KvProjectData_Core_Raw_MaterialInfo
{
public:
    // The name render shapes look the material up by.
    std::string m_strName;
    std::string m_diffuseTextureName;
    std::string m_normalTextureName;
    std::string m_specularTextureName;
    KvProjectData_Core_Raw_Material* m_pDefaultMaterial = nullptr;

    static const KvReflectedDataType* GetReflectedDataType();
};

class KV_PLUGIN_CORE_API KvProjectData_Core_Raw_Mesh : public KvXRefObject<KvProjectData_Core_Raw_Mesh>
{
public:
    KvProjectData_Core_Raw_Mesh() = default;
    ~KvProjectData_Core_Raw_Mesh() override;

    KvProjectData_Core_Raw_Mesh(const KvProjectData_Core_Raw_Mesh&) = delete;
    KvProjectData_Core_Raw_Mesh& operator=(const KvProjectData_Core_Raw_Mesh&) = delete;

    // A preview render shape from the mesh itself, and a pawn drawing it.
    void CreateEditorPawn();
    void DestroyEditorPawn();

    // The "Rendering" menu of the mesh given as member data: seven shader overrides, the
    // mesh-decal rebuild and the revert. Fatal when the project lacks a render pass or shader
    // the actions name.
    static void GetRenderingActions(std::vector<KvSmartPtr<KvNativeAction>>& outActions,
                                    KvResource* pResource, const KvReflectedDataType* pType, void* pObject,
                                    const KvReflectedPrimitive* pMember, void* pMemberData);

    std::string m_strName;
    std::vector<KvProjectData_Core_SubMesh> m_aSubMesh;
    KvBoundingBox m_boundingBox;
    std::vector<KvProjectData_Core_Raw_MaterialInfo> m_aMaterials;
    std::vector<KvProjectData_Core_Raw_Material*> m_apMaterials;
    void* m_pRunResource = nullptr;
    void* m_pPayloadData = nullptr;
    KvProjectData_Core_Raw_AnimationSkeleton* m_pSkeleton = nullptr;
    KvProjectData_Core_Raw_RenderShapeMesh* m_pRenderShape = nullptr;
    KvProjectData_Core_Raw_EditorPawn* m_pEditorPawn = nullptr;
    KvProjectData_Core_Raw_RenderShapeMesh* m_pPreviewShape = nullptr;

    static const KvReflectedDataType* GetReflectedDataType();
};

// The vertex streams of a mesh, loaded on demand.
class KV_PLUGIN_CORE_API KvProjectData_Core_Mesh_Payload
{
public:
    static constexpr int kUVStreamCount = 8;

    std::vector<uint32_t> m_aulIndices;
    std::vector<KvVector4> m_aPositionStream;
    std::vector<KvVector4> m_aNormalStream;
    std::vector<KvVector4> m_aTangentStream;
    std::vector<KvVector4> m_aBiTangentStream;
    std::vector<KvVector2> m_aUVStream[kUVStreamCount];
    std::vector<KvVector4> m_aBoneIndexStream;
    std::vector<KvVector4> m_aBoneWeightStream;

    static const KvReflectedDataType* GetReflectedDataType();
};

class KV_PLUGIN_CORE_API KvProjectData_Core_Cooked_SubMeshInfo
{
public:
    uint32_t m_ulIndexRange_Start = 0;
    uint32_t m_ulPrimCount = 0;

    static const KvReflectedDataType* GetReflectedDataType();
};

class KvVertexBufferSource_tVertexDeclaration;

class KV_PLUGIN_CORE_API KvProjectData_Core_Cooked_MeshHandle
    : public KvXRefObject<KvProjectData_Core_Cooked_MeshHandle>
{
public:
    std::string m_strName;
    KvVertexBufferSource_tVertexDeclaration* m_pDecl = nullptr;
    uint32_t m_ulNumVertices = 0;
    uint32_t m_ulNumIndices = 0;
    uint32_t m_ulIndexStride = 0;
    std::vector<uint8_t> m_acVertexData;
    std::vector<uint8_t> m_acIndexData;
    std::vector<KvProjectData_Core_Cooked_SubMeshInfo> m_aSubmesh;

    static const KvReflectedDataType* GetReflectedDataType();
};
