#include "projectdata/KvProjectData_Core_EditorPawn.h"
#include "projectdata/KvProjectData_Core_Font.h"
#include "projectdata/KvProjectData_Core_Material.h"
#include "projectdata/KvProjectData_Core_RenderShape.h"
#include "projectdata/KvProjectData_Core_Texture.h"
#include "resources/KvResource.h"
#include "store/KvJsonStore.h"
#include "support/KvReflectedData.h"
#include "support/KvTestData.h"
#include "support/KvTestReports.h"

#include <cfloat>
#include <gtest/gtest.h>

namespace
{
using Mesh = KvProjectData_Core_Raw_Mesh;
using Shape = KvProjectData_Core_Raw_RenderShapeMesh;

// A mesh with three submeshes: material "stone" (loaded), material "moss" (not loaded), none.
OwnedData<Mesh> NewThreeSubmeshMesh()
{
    auto pMesh = MakeNamed<Mesh>("rock");
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

TEST(RenderShape, FromThreeSubmeshMesh_OneLodThreeLayers)
{
    const auto pStone = MakeNamed<KvProjectData_Core_Raw_Material>("stone");
    const auto pMesh = NewThreeSubmeshMesh();
    RecordingLog log;
    const OwnedData<Shape> pShape(new Shape(ContextFor<Shape>(pMesh.get())));
    EXPECT_EQ(pShape->m_strName, "rock");
    EXPECT_EQ(pShape->m_pCollisionMesh, pMesh.get());
    ASSERT_EQ(pShape->m_apLods.size(), 1u);
    const auto& layers = pShape->m_apLods[0]->m_apLayers;
    ASSERT_EQ(layers.size(), 3u);
    for (uint32_t index = 0; index < 3; ++index)
    {
        EXPECT_EQ(layers[index]->m_ulSubMeshIndex, index);
        EXPECT_EQ(layers[index]->m_pMesh, pMesh.get());
    }
    EXPECT_EQ(layers[0]->m_pMaterial, pStone.get());
    EXPECT_EQ(layers[1]->m_pMaterial, nullptr);
    EXPECT_EQ(layers[2]->m_pMaterial, nullptr);
    // Only the missing material is reported; the submesh without one is not.
    ASSERT_EQ(log.m_aEntries.size(), 1u);
    EXPECT_EQ(
        log.m_aEntries[0].m_strMessage,
        ExpectedReport("Resources\\Rendering\\KvProjectData_Core_Raw_RenderShapeMesh",
                       "KvProjectData_Core_Raw_RenderShapeMeshLod::KvProjectData_Core_Raw_RenderShapeMeshLod",
                       64, "Failed to find material 'moss' for mesh 'rock'"));
    EXPECT_EQ(pShape->GetFirstMesh(), pMesh.get());
    pShape->PostDeserialize();
    EXPECT_EQ(pShape->m_Bounds.m_vMax, (KvVector3{1, 2, 3}));
}

// Without a mesh, or with a first level of detail without layers, the bounds stay empty.
TEST(RenderShape, BoundsStayEmptyWithoutMeshLayers)
{
    Shape shape(ContextFor<Shape>(nullptr));
    EXPECT_EQ(shape.m_strName, "");
    EXPECT_TRUE(shape.m_apLods.empty());
    shape.PostDeserialize();
    EXPECT_EQ(shape.m_Bounds.m_vMin.x, FLT_MAX);
    auto* pLod = NewData<KvProjectData_Core_Raw_RenderShapeMeshLod>();
    DestroyData(pLod->m_apLayers[0]);
    pLod->m_apLayers.clear();
    shape.m_apLods.push_back(pLod);
    shape.PostDeserialize();
    EXPECT_EQ(shape.m_Bounds.m_vMax.x, -FLT_MAX);
}

TEST(RenderShape, EditorPreviews)
{
    const auto pMesh = NewThreeSubmeshMesh();
    RecordingLog log;
    pMesh->CreateEditorPawn();
    ASSERT_NE(pMesh->m_pPreviewShape, nullptr);
    EXPECT_EQ(pMesh->m_pPreviewShape->m_apLods[0]->m_apLayers.size(), 3u);
    EXPECT_EQ(pMesh->m_pEditorPawn->m_ppRenderShape, &pMesh->m_pPreviewShape);
    const auto pShape = MakeData<Shape>();
    pShape->CreateEditorPawn();
    EXPECT_EQ(pShape->m_pSelf, pShape.get());
    EXPECT_EQ(pShape->m_pEditorPawn->m_ppRenderShape, &pShape->m_pSelf);
    pShape->DestroyEditorPawn();
    EXPECT_EQ(pShape->m_pEditorPawn, nullptr);
}

TEST(TextureSlot, DefaultTexturePathRule)
{
    const auto pTexture = MakeNamed<KvProjectData_Core_Raw_Texture>("walls\\brick");
    for (const auto& row : TestDataTable("core/values.json", "default texture paths"))
    {
        const auto pSlot = MakeData<KvProjectData_Core_Raw_MaterialTextureSlot>();
        pSlot->m_strDefaultTexture = row[0];
        KvProjectData_Core_Raw_MaterialTextureSlot::GetReflectedDataType()
            ->GetObjectConstructor()
            ->PostDeserialize(pSlot.get());
        EXPECT_EQ(pSlot->m_strDefaultTexture, row[1]) << row[0];
        EXPECT_EQ(pSlot->m_pTexture, row[2].get<bool>() ? pTexture.get() : nullptr) << row[0];
    }
}

TEST(Texture, SourceRequestedThroughTheResource)
{
    KvResource resource;
    int requests = 0;
    resource.GetResourceInterface()->SetPayloadLoader([&requests](KvResource&, uint32_t) { ++requests; });
    const auto pTexture = MakeData<KvProjectData_Core_Raw_Texture>();
    EXPECT_EQ(pTexture->EnsureTextureSourceLoaded(), nullptr);
    EXPECT_EQ(requests, 0);
    pTexture->m_pRunResource = &resource;
    EXPECT_EQ(pTexture->EnsureTextureSourceLoaded(), nullptr);
    EXPECT_EQ(requests, 1);
    resource.GetResourceInterface()->SetPayloadLoader(nullptr);
}
