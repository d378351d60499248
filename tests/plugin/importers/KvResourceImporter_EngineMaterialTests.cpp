#include "projectdata/KvProjectData_Core_Material.h"
#include "projectdata/KvProjectData_Core_Mesh.h"
#include "projectdata/KvProjectData_Core_Texture.h"
#include "resources/KvSourceProbe.h"
#include "store/KvJsonStore.h"
#include "support/KvByteWriter.h"
#include "support/KvImportRun.h"
#include "support/KvReflectedData.h"
#include "support/KvTestData.h"
#include "support/KvTestFolder.h"
#include "support/KvTestReports.h"
#include "testaccess/KvResourcePlugin_CoreTestAccess.h"

#include <gtest/gtest.h>

namespace
{
using Mesh = KvProjectData_Core_Raw_Mesh;
using Params = KvProjectData_Core_Raw_Material_Params;
using Slot = KvProjectData_Core_Raw_MaterialTextureSlot;
using Texture = KvProjectData_Core_Raw_Texture;
using Json = KvJsonStore::Json;

// The tables of material sources and names (tests/data/material).
Json Cases(const char* table)
{
    return TestDataTable("material/cases.json", table);
}

// Away from every value an import writes, so that each write shows.
Params PreviousParams()
{
    Params params;
    params.m_fSpecularMultiplier = 5.0f;
    params.m_fSpecularStrength = 7.0f;
    params.m_fAlphaTestThreshold = 0.9f;
    params.m_bAlphaTest = true;
    return params;
}

// The mesh "meshes\rock" the files update: entry 0 named as the importer builds full names
// (lower case), entry 1 only in another case. Each material has the three slots a file sets and
// one it leaves, all pointing at a texture.
class MaterialImport : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const char* name : {"meshes\\rock\\stone", "meshes\\rock\\Stone"})
        {
            KvProjectData_Core_Raw_MaterialInfo& info = m_pMesh->m_aMaterials.emplace_back();
            info.m_strName = name;
            info.m_diffuseTextureName = "kept";
            info.m_pDefaultMaterial = NewData<KvProjectData_Core_Raw_Material>();
            info.m_pDefaultMaterial->m_props = PreviousParams();
            for (const char* slotName : {"diffuse", "normal", "specular", "detail"})
            {
                Slot* pSlot = info.m_pDefaultMaterial->m_apTextureSlots.emplace_back(NewData<Slot>());
                pSlot->m_strSlotName = slotName;
                pSlot->m_strDefaultTexture = "before";
                pSlot->m_pTexture = m_pTexture;
            }
        }
    }
    void TearDown() override
    {
        m_pRun.reset();
        DestroyData(m_pMesh);
        DestroyData(m_pTexture);
    }

    std::unique_ptr<ImportRun> Import(const std::string& text, Mesh* pExisting)
    {
        return std::make_unique<ImportRun>(m_Importer, BytesOf(text), "meshes\\rock", pExisting);
    }
    // The first material of the mesh imported from Material elements.
    KvProjectData_Core_Raw_Material& ImportMaterial(const std::string& elements, size_t index = 0)
    {
        m_pRun = Import("<m><Materials>" + elements + "</Materials></m>", m_pMesh);
        Mesh* pMesh = m_pRun->Raw<Mesh>();
        EXPECT_TRUE(pMesh && pMesh != m_pMesh);
        return *(pMesh ? pMesh : m_pMesh)->m_aMaterials[index].m_pDefaultMaterial;
    }

    KvResourceImporter_EngineMaterial m_Importer;
    Texture* m_pTexture = NewData<Texture>();
    Mesh* m_pMesh = NewData<Mesh>();
    std::unique_ptr<ImportRun> m_pRun;
};
} // namespace

// Each row: a material element and the saved parameters it sets beyond what every import writes.
TEST_F(MaterialImport, Settings_EachAttributeAndParameterKey)
{
    // What every import writes when the file says nothing.
    Params written = PreviousParams();
    written.m_fSpecularMultiplier = 0.0f;
    written.m_fSpecularStrength = 1.0f;
    written.m_fAlphaTestThreshold = 0.5f;
    written.m_bAlphaTest = false;
    for (const Json& row : Cases("settings"))
    {
        Json expected = KvJsonStore::Save(Params::GetReflectedDataType(), &written);
        expected.update(row[1]);
        EXPECT_EQ(KvJsonStore::Save(Params::GetReflectedDataType(), &ImportMaterial(row[0]).m_props),
                  expected)
            << row[0];
    }
}

TEST_F(MaterialImport, FullName_ResourceNameAndLowerCasedNameMatchedExactly)
{
    const char* elements = R"(<Material name="STONE" specexp="9"/><Material name="Other" specexp="3"/>)";
    EXPECT_EQ(ImportMaterial(elements, 0).m_props.m_fSpecularStrength, 9.0f);
    EXPECT_EQ(ImportMaterial(elements, 1).m_props.m_fSpecularStrength, 7.0f);
}

TEST_F(MaterialImport, Textures_SlotsTakeNormalisedPathsAndLoseTheirTexture)
{
    for (const Json& row : Cases("textures"))
    {
        const std::string path = row[0];
        const std::string expected = row[1];
        SCOPED_TRACE(path);
        const std::vector<Slot*>& slots = ImportMaterial(std::string("<Material name=\"stone\" diffuse=\"") +
                                                         path + R"(" normalmap="n.dds"/>)")
                                              .m_apTextureSlots;
        EXPECT_EQ((std::vector<std::string>{slots[0]->m_strDefaultTexture, slots[1]->m_strDefaultTexture,
                                            slots[2]->m_strDefaultTexture, slots[3]->m_strDefaultTexture}),
                  (std::vector<std::string>{expected, "n", "", "before"}));
        EXPECT_EQ((std::vector<Texture*>{slots[0]->m_pTexture, slots[1]->m_pTexture, slots[2]->m_pTexture,
                                         slots[3]->m_pTexture}),
                  (std::vector<Texture*>{nullptr, nullptr, nullptr, m_pTexture}));
        EXPECT_EQ(m_pRun->Raw<Mesh>()->m_aMaterials[0].m_diffuseTextureName, "kept");
    }
}

TEST_F(MaterialImport, Copy_TheMeshGivenStaysAsItWas)
{
    const KvJsonStore::Json before = KvJsonStore::Save(Mesh::GetReflectedDataType(), m_pMesh);
    EXPECT_EQ(
        ImportMaterial(R"(<Material name="stone" specexp="9" diffuse="d"/>)").m_props.m_fSpecularStrength,
        9.0f);
    EXPECT_EQ(KvJsonStore::Save(Mesh::GetReflectedDataType(), m_pMesh), before);
}

TEST_F(MaterialImport, NothingToApply_NullWithoutAMeshOtherwiseTheMeshItself)
{
    RecordingLog log;
    EXPECT_EQ(Import("<m><Materials><Material name=\"stone\"/></Materials></m>", nullptr)->Raw<Mesh>(),
              nullptr);
    EXPECT_EQ(Import("<m><Material name=\"stone\" specexp=\"9\"/></m>", m_pMesh)->Raw<Mesh>(), m_pMesh);
    EXPECT_TRUE(log.m_aEntries.empty());
    EXPECT_EQ(Import("", m_pMesh)->Raw<Mesh>(), m_pMesh);
    ASSERT_EQ(log.m_aEntries.size(), 1u);
    EXPECT_EQ(log.m_aEntries[0].m_uiLevel, kKvLogLevelWarning);
    EXPECT_THAT(log.m_aEntries[0].m_strMessage,
                ContainsReportFrom("importers\\KvResourceImporter_EngineMaterial",
                                   "KvResourceImporter_EngineMaterial::ConvertToRaw",
                                   "Empty material file 'KvIOStream_Memory'"));
    EXPECT_EQ(m_pMesh->m_aMaterials[0].m_pDefaultMaterial->m_props.m_fSpecularStrength, 7.0f);
    EXPECT_THAT(RaisedFatalReport([&] { Import("<m><Materials><Material name=\"stone\"", m_pMesh); }),
                ::testing::HasSubstr("Parse error"));
}

TEST(MaterialImporter, ResourceNames_CutInMaterialFoldersAndMappedBack)
{
    KvResourceImporter_EngineMaterial importer;
    for (const Json& row : Cases("resourceNames"))
    {
        const std::string original = row[0];
        const std::string converted = row[1];
        std::string name = original;
        EXPECT_EQ(importer.ConvertResourceName(name), !converted.empty()) << original;
        EXPECT_EQ(name, converted.empty() ? original : converted);
        EXPECT_EQ(importer.GetOriginalFileName(name), converted.empty() ? "" : original);
    }
    // A later file of the same converted name replaces the entry.
    std::string later = "project\\_data\\materials\\stone.bak";
    importer.ConvertResourceName(later);
    EXPECT_EQ(importer.GetOriginalFileName(later), "project\\_data\\materials\\stone.bak");
}

class MaterialRecognition : public TestFolder
{
};

TEST_F(MaterialRecognition, TakesARootWithAMaterialsChild)
{
    const KvResourceImporter_EngineMaterial importer;
    for (const Json& row : Cases("recognised"))
        EXPECT_EQ(importer.RecognizeSource(KvSourceProbe(Write("material.xml", row[0]))),
                  row[1] ? SOURCE_RECOGNISED : SOURCE_NOT_TAKEN)
            << row[0];
}
