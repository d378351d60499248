#include "host/KvSavedProject.h"
#include "projectdata/KvProjectData_Core_Material.h"
#include "projectdata/KvProjectData_Core_Mesh.h"
#include "resources/KvSourceProbe.h"
#include "store/KvJsonStore.h"
#include "support/KvByteWriter.h"
#include "support/KvImportRun.h"
#include "support/KvPluginHost.h"
#include "support/KvTestData.h"
#include "support/KvTestFolder.h"
#include "support/KvTestReports.h"
#include "testaccess/KvResourcePlugin_CoreTestAccess.h"

#include <gtest/gtest.h>

namespace
{
using Mesh = KvProjectData_Core_Raw_Mesh;
using Json = KvJsonStore::Json;

// The tables of material sources and names (tests/data/material).
Json Cases(const char* table)
{
    return TestDataTable("material/cases.json", table);
}

constexpr const char* kMeshName = "meshes\\_data\\materials\\rock";

// The saved mesh the material files update (tests/data/import/material/project): entry 0 named as
// the importer builds full names (lower case), entry 1 only in another case.
class MaterialImport : public ::testing::Test
{
protected:
    std::unique_ptr<ImportRun> Import(const std::string& text, Mesh* pExisting)
    {
        return std::make_unique<ImportRun>(m_Importer, BytesOf(text), kMeshName, pExisting);
    }

    KvResourceImporter_EngineMaterial m_Importer;
    KvSavedProject m_Project{TestDataPath("import/material/project").string(), PluginHost().GetDescriptors()};
    Mesh* m_pMesh = static_cast<Mesh*>(
        m_Project.FindSavedRawData(kMeshName, KvResourcePlugin_Core_Mesh::GetStaticDescriptor()));
};
} // namespace

// The update is a copy: the saved mesh stays as it was.
TEST_F(MaterialImport, Copy_TheMeshGivenStaysAsItWas)
{
    ASSERT_NE(m_pMesh, nullptr);
    const Json before = KvJsonStore::Save(Mesh::GetReflectedDataType(), m_pMesh);
    const auto run =
        Import("<m><Materials><Material name='stone' specexp='9' diffuse='d'/></Materials></m>", m_pMesh);
    ASSERT_NE(run->Raw<Mesh>(), nullptr);
    EXPECT_NE(run->Raw<Mesh>(), m_pMesh);
    EXPECT_EQ(run->Raw<Mesh>()->m_aMaterials[0].m_pDefaultMaterial->m_props.m_fSpecularStrength, 9.0f);
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
