#include "core/KvPluginTestSupport.h"
#include "projectdata/KvProjectData_Core_EditorPawn.h"
#include "projectdata/KvProjectData_Core_Font.h"
#include "projectdata/KvProjectData_Core_Material.h"
#include "projectdata/KvProjectData_Core_RenderShape.h"
#include "projectdata/KvProjectData_Core_Texture.h"
#include "resources/KvResource.h"
#include "store/KvJsonStore.h"
#include "support/KvTestReports.h"

#include <cfloat>
#include <gtest/gtest.h>

namespace
{
using Mesh = KvProjectData_Core_Raw_Mesh;
using Shape = KvProjectData_Core_Raw_RenderShapeMesh;

KvReflectedObjCtorContext MeshContext(Mesh* pMesh)
{
    return KvReflectedObjCtorContext("label", Shape::GetReflectedDataType(), nullptr, nullptr, pMesh, 0);
}

// A mesh with three submeshes: material "stone" (loaded), material "moss" (not loaded), none.
Mesh* NewThreeSubmeshMesh()
{
    Mesh* pMesh = NewData<Mesh>();
    pMesh->m_strName = "rock";
    pMesh->m_aMaterials.resize(2);
    pMesh->m_aMaterials[0].m_strName = "stone";
    pMesh->m_aMaterials[1].m_strName = "moss";
    pMesh->m_aSubMesh.resize(3);
    pMesh->m_aSubMesh[0].m_ulMaterialIndex = 0;
    pMesh->m_aSubMesh[1].m_ulMaterialIndex = 1;
    pMesh->m_aSubMesh[2].m_ulMaterialIndex = KvProjectData_Core_SubMesh::kNoMaterial;
    pMesh->m_boundingBox.m_vMin = {-1, -2, -3};
    pMesh->m_boundingBox.m_vMax = {1, 2, 3};
    return pMesh;
}
} // namespace

TEST(RenderingData, Defaults)
{
    auto* pTexture = NewData<KvProjectData_Core_Raw_Texture>();
    EXPECT_EQ(pTexture->m_ulDepth, 1u);
    EXPECT_EQ(pTexture->m_eFormat, FORMAT_RGB);
    EXPECT_EQ(pTexture->m_ulLocalIndex, 0xFFFFFFFFu);
    EXPECT_FALSE(pTexture->m_XRefGUID.IsNull());
    Mesh* pMesh = NewData<Mesh>();
    EXPECT_EQ(pMesh->m_boundingBox.m_vMin.x, FLT_MAX);
    EXPECT_EQ(pMesh->m_boundingBox.m_vMax.z, -FLT_MAX);
    auto* pLayer = NewData<KvProjectData_Core_Raw_RenderShapeMeshLayer>();
    EXPECT_EQ(pLayer->m_ulSubMeshIndex, 0xFFFFFFFFu);
    auto* pLod = NewData<KvProjectData_Core_Raw_RenderShapeMeshLod>();
    EXPECT_EQ(pLod->m_apLayers.size(), 1u);
    auto* pShape = NewData<Shape>();
    EXPECT_EQ(pShape->m_strName, "DEFAULT");
    EXPECT_EQ(pShape->m_vLocalCollisionScale, (KvVector3{1, 1, 1}));
    auto* pCharacter = NewData<KvProjectData_Core_Font_Character>();
    EXPECT_EQ(pCharacter->m_vUV.m_vMin.x, FLT_MAX);
    auto* pParams = NewData<KvProjectData_Core_Raw_Material_Params>();
    EXPECT_EQ(pParams->m_fSpecularStrength, 4.0f);
    EXPECT_EQ(pParams->m_colRimlightColor, (KvColor{255, 255, 255, 255}));
    // The saved forms show the JSON of the defaults the schemas fix.
    EXPECT_EQ(KvJsonStore::Save(Mesh::GetReflectedDataType(), pMesh)["m_boundingBox.m_vMin"].dump(),
              "[3.4028235e+38,3.4028235e+38,3.4028235e+38]");
    EXPECT_EQ(
        KvJsonStore::Save(KvProjectData_Core_Raw_Texture::GetReflectedDataType(), pTexture)["m_eFormat"],
        "FORMAT_RGB");
    DestroyData(pTexture);
    DestroyData(pMesh);
    DestroyData(pLayer);
    DestroyData(pLod);
    DestroyData(pShape);
    DestroyData(pCharacter);
    DestroyData(pParams);
}

TEST(RenderShape, FromThreeSubmeshMesh_OneLodThreeLayers)
{
    auto* pStone = NewData<KvProjectData_Core_Raw_Material>();
    pStone->m_strName = "stone";
    Mesh* pMesh = NewThreeSubmeshMesh();
    RecordingLog log;
    auto* pShape = new Shape(MeshContext(pMesh));
    EXPECT_EQ(pShape->m_strName, "rock");
    EXPECT_EQ(pShape->m_pCollisionMesh, pMesh);
    ASSERT_EQ(pShape->m_apLods.size(), 1u);
    const auto& layers = pShape->m_apLods[0]->m_apLayers;
    ASSERT_EQ(layers.size(), 3u);
    for (uint32_t index = 0; index < 3; ++index)
    {
        EXPECT_EQ(layers[index]->m_ulSubMeshIndex, index);
        EXPECT_EQ(layers[index]->m_pMesh, pMesh);
    }
    EXPECT_EQ(layers[0]->m_pMaterial, pStone);
    EXPECT_EQ(layers[1]->m_pMaterial, nullptr);
    EXPECT_EQ(layers[2]->m_pMaterial, nullptr);
    // Only the missing material is reported; the submesh without one is not.
    ASSERT_EQ(log.m_aEntries.size(), 1u);
    EXPECT_EQ(
        log.m_aEntries[0].m_strMessage,
        ExpectedReport("Resources\\Rendering\\KvProjectData_Core_Raw_RenderShapeMesh",
                       "KvProjectData_Core_Raw_RenderShapeMeshLod::KvProjectData_Core_Raw_RenderShapeMeshLod",
                       64, "Failed to find material 'moss' for mesh 'rock'"));
    EXPECT_EQ(pShape->GetFirstMesh(), pMesh);
    pShape->PostDeserialize();
    EXPECT_EQ(pShape->m_Bounds.m_vMax, (KvVector3{1, 2, 3}));
    DestroyData(pShape);
    DestroyData(pMesh);
    DestroyData(pStone);
}

TEST(RenderShape, FromNoneHasNoLodsAndAnEmptyName)
{
    Shape shape(MeshContext(nullptr));
    EXPECT_EQ(shape.m_strName, "");
    EXPECT_TRUE(shape.m_apLods.empty());
    shape.PostDeserialize();
    EXPECT_EQ(shape.m_Bounds.m_vMin.x, FLT_MAX);
}

TEST(RenderShape, BoundsStayEmptyWhenTheFirstLodHasNoLayers)
{
    Shape* pShape = NewData<Shape>();
    auto* pLod = NewData<KvProjectData_Core_Raw_RenderShapeMeshLod>();
    DestroyData(pLod->m_apLayers[0]);
    pLod->m_apLayers.clear();
    pShape->m_apLods.push_back(pLod);
    pShape->PostDeserialize();
    EXPECT_EQ(pShape->m_Bounds.m_vMax.x, -FLT_MAX);
    DestroyData(pShape);
}

TEST(RenderShape, EditorPreviews)
{
    Mesh* pMesh = NewThreeSubmeshMesh();
    RecordingLog log;
    pMesh->CreateEditorPawn();
    ASSERT_NE(pMesh->m_pPreviewShape, nullptr);
    EXPECT_EQ(pMesh->m_pPreviewShape->m_apLods[0]->m_apLayers.size(), 3u);
    EXPECT_EQ(pMesh->m_pEditorPawn->m_ppRenderShape, &pMesh->m_pPreviewShape);
    Shape* pShape = NewData<Shape>();
    pShape->CreateEditorPawn();
    EXPECT_EQ(pShape->m_pSelf, pShape);
    EXPECT_EQ(pShape->m_pEditorPawn->m_ppRenderShape, &pShape->m_pSelf);
    pShape->DestroyEditorPawn();
    EXPECT_EQ(pShape->m_pEditorPawn, nullptr);
    DestroyData(pShape);
    DestroyData(pMesh);
}

TEST(TextureSlot, DefaultTexturePathRule)
{
    auto* pTexture = NewData<KvProjectData_Core_Raw_Texture>();
    pTexture->m_strName = "walls\\brick";
    const struct
    {
        const char* m_Text;
        const char* m_Expected;
        bool m_bFound;
    } cases[] = {
        {"u:\\game\\texture\\walls\\brick", "walls\\brick", true},
        {"u:\\texture\\texture\\walls\\brick", "texture\\walls\\brick", false},
        {"c:\\game\\texture\\walls\\brick", "c:\\game\\texture\\walls\\brick", false},
        {"walls\\brick", "walls\\brick", true},
        {"u:\\x", "u:\\x", false},
    };
    for (const auto& row : cases)
    {
        auto* pSlot = NewData<KvProjectData_Core_Raw_MaterialTextureSlot>();
        pSlot->m_strDefaultTexture = row.m_Text;
        KvProjectData_Core_Raw_MaterialTextureSlot::GetReflectedDataType()
            ->GetObjectConstructor()
            ->PostDeserialize(pSlot);
        EXPECT_EQ(pSlot->m_strDefaultTexture, row.m_Expected) << row.m_Text;
        EXPECT_EQ(pSlot->m_pTexture, row.m_bFound ? pTexture : nullptr) << row.m_Text;
        DestroyData(pSlot);
    }
    DestroyData(pTexture);
}

TEST(Texture, SourceRequestedThroughTheResource)
{
    KvResource resource;
    int requests = 0;
    resource.GetResourceInterface()->SetPayloadLoader([&requests](KvResource&, uint32_t) { ++requests; });
    auto* pTexture = NewData<KvProjectData_Core_Raw_Texture>();
    EXPECT_EQ(pTexture->EnsureTextureSourceLoaded(), nullptr);
    EXPECT_EQ(requests, 0);
    pTexture->m_pRunResource = &resource;
    EXPECT_EQ(pTexture->EnsureTextureSourceLoaded(), nullptr);
    EXPECT_EQ(requests, 1);
    resource.GetResourceInterface()->SetPayloadLoader(nullptr);
    DestroyData(pTexture);
}
