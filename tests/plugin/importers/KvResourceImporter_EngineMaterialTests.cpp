#include "Host/KvTestFolder.h"
#include "Resources/KvSourceProbe.h"
#include "Store/KvJsonStore.h"
#include "importers/KvImporterTestSupport.h"
#include "importers/KvResourceImporter_EngineMaterial.h"
#include "projectdata/KvProjectData_Core_Material.h"
#include "projectdata/KvProjectData_Core_Mesh.h"
#include "projectdata/KvProjectData_Core_Texture.h"
#include "support/KvTestReports.h"

#include <gtest/gtest.h>

namespace
{
using Mesh = KvProjectData_Core_Raw_Mesh;
using Material = KvProjectData_Core_Raw_Material;
using Params = KvProjectData_Core_Raw_Material_Params;
using Slot = KvProjectData_Core_Raw_MaterialTextureSlot;
using Texture = KvProjectData_Core_Raw_Texture;

Params PreviousParams()
{
    Params params;
    params.m_fSpecularMultiplier = 5.0f;
    params.m_fSpecularStrength = 7.0f;
    params.m_fAlphaTestThreshold = 0.9f;
    params.m_bAlphaTest = true;
    return params;
}

KvJsonStore::Json JsonOf(const Params& params)
{
    return KvJsonStore::Save(Params::GetReflectedDataType(), &params);
}

// The mesh "meshes\rock" the files update: entry 0 is named as the importer builds full names
// (lower case), entry 1 differs only in case. Each material has the three slots a file sets and
// one it leaves, all pointing at a texture, and parameters other than the importer's defaults.
class MaterialImport : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_pTexture = NewData<Texture>();
        m_pMesh = NewData<Mesh>();
        for (const char* name : {"meshes\\rock\\stone", "meshes\\rock\\Stone"})
        {
            KvProjectData_Core_Raw_MaterialInfo info;
            info.m_strName = name;
            info.m_diffuseTextureName = "kept";
            info.m_pDefaultMaterial = NewData<Material>();
            info.m_pDefaultMaterial->m_props = PreviousParams();
            for (const char* slotName : {"diffuse", "normal", "specular", "detail"})
            {
                Slot* pSlot = NewData<Slot>();
                pSlot->m_strSlotName = slotName;
                pSlot->m_strDefaultTexture = "before";
                pSlot->m_pTexture = m_pTexture;
                info.m_pDefaultMaterial->m_apTextureSlots.push_back(pSlot);
            }
            m_pMesh->m_aMaterials.push_back(info);
        }
    }
    void TearDown() override
    {
        ReleaseResult();
        DestroyData(m_pMesh);
        DestroyData(m_pTexture);
    }
    void ReleaseResult()
    {
        if (m_pResult && m_pResult != m_pMesh)
            DestroyData(static_cast<Mesh*>(m_pResult));
        m_pResult = nullptr;
    }

    // Imports the text as the resource "meshes\rock"; the result lives until the next import.
    void* Import(const std::string& text, Mesh* pExisting)
    {
        ReleaseResult();
        const std::vector<uint8_t> bytes = BytesOf(text);
        auto exact = std::make_unique_for_overwrite<uint8_t[]>(bytes.size());
        std::copy(bytes.begin(), bytes.end(), exact.get());
        KvIOStream_Memory stream(exact.get(), static_cast<uint32_t>(bytes.size()));
        KvResource resource;
        resource.SetName("meshes\\rock");
        void* pPayload = nullptr;
        m_pResult = m_Importer.ConvertToRaw(pPayload, &resource, &stream, pExisting);
        EXPECT_EQ(pPayload, nullptr);
        return m_pResult;
    }
    // The imported mesh after one Material element.
    Mesh& ImportElement(const std::string& element)
    {
        void* pMesh = Import("<m><Materials>" + element + "</Materials></m>", m_pMesh);
        EXPECT_NE(pMesh, nullptr);
        return pMesh ? *static_cast<Mesh*>(pMesh) : *m_pMesh;
    }

    KvResourceImporter_EngineMaterial m_Importer;
    Texture* m_pTexture = nullptr;
    Mesh* m_pMesh = nullptr;
    void* m_pResult = nullptr;
};
} // namespace

TEST_F(MaterialImport, Settings_EachAttributeAndParameterKey)
{
    struct tRow
    {
        const char* m_szElement;
        void (*m_pfnExpect)(Params&);
    };
    // Every row: an import always writes the specular values, the threshold and alpha testing.
    const tRow rows[] = {
        {R"(<Material name="stone"/>)",
         [](Params&) {
         }},
        {R"(<Material name="stone" specmul="2" Lighting="Lightmapping"/>)",
         [](Params& p)
         {
             p.m_fSpecularMultiplier = 0.6f;
         }},
        {R"(<Material name="stone" specmul="2" Lighting="lightmapping"/>)",
         [](Params& p)
         {
             p.m_fSpecularMultiplier = 2.0f;
         }},
        {R"(<Material name="stone" transparency="colorkey" alphathreshold="0.25" specexp="16"/>)",
         [](Params& p)
         {
             p.m_bAlphaTest = true;
             p.m_fAlphaTestThreshold = 0.25f;
             p.m_fSpecularStrength = 16.0f;
         }},
        {R"(<Material name="stone" transparency="ColorKey" specexp="1e39" alphathreshold="1e-40"/>)",
         [](Params& p)
         {
             p.m_fSpecularStrength = 0.0f;
             p.m_fAlphaTestThreshold = 0.0f;
         }},
        {R"(<Material name="stone"><Shader paramstring="materialambient=1,0.5,0,2;globallightmapmask=0.25"/>
            </Material>)",
         [](Params& p)
         {
             p.m_colMaterialAmbient = {255, 127, 0, 255};
             p.m_fGlobalLightmapMask = 0.25f;
         }},
        // Components not given are 0; unknown keys and a key without "=" set nothing.
        {R"(<Material name="stone"><Shader paramstring=")"
         R"(rimlightparam=1,2;rimlightcolor=-1,0.5;shininess=9;globalambientmultiplier=3;materialambient"/>)"
         R"(</Material>)",
         [](Params& p)
         {
             p.m_vRimParams = {1.0f, 2.0f, 0.0f, 0.0f};
             p.m_colRimlightColor = {0, 127, 0, 0};
             p.m_fGlobalAmbientMultiplier = 3.0f;
         }},
    };
    for (const tRow& row : rows)
    {
        SCOPED_TRACE(row.m_szElement);
        Params expected = PreviousParams();
        expected.m_fSpecularMultiplier = 0.0f;
        expected.m_fSpecularStrength = 1.0f;
        expected.m_fAlphaTestThreshold = 0.5f;
        expected.m_bAlphaTest = false;
        row.m_pfnExpect(expected);
        Mesh& mesh = ImportElement(row.m_szElement);
        EXPECT_EQ(JsonOf(mesh.m_aMaterials[0].m_pDefaultMaterial->m_props), JsonOf(expected));
    }
}

TEST_F(MaterialImport, FullName_ResourceNameAndLowerCasedNameMatchedExactly)
{
    Mesh& mesh = ImportElement(R"(<Material name="STONE" specexp="9"/><Material name="Other" specexp="3"/>)");
    EXPECT_EQ(mesh.m_aMaterials[0].m_pDefaultMaterial->m_props.m_fSpecularStrength, 9.0f);
    EXPECT_EQ(mesh.m_aMaterials[1].m_pDefaultMaterial->m_props.m_fSpecularStrength, 7.0f);
}

TEST_F(MaterialImport, Textures_SlotsTakeNormalisedPathsAndLoseTheirTexture)
{
    const std::pair<const char*, const char*> rows[] = {{"Data\\Textures\\Rock_D.dds", "rock_d"},
                                                        {"ROCK.DDS", "rock"},
                                                        {"Maps.v2\\Rock", "maps"},
                                                        {"a\\textures\\b\\textures\\c.x", "b\\textures\\c"},
                                                        {"textures\\", ""},
                                                        {"", ""}};
    for (const auto& [path, expected] : rows)
    {
        SCOPED_TRACE(path);
        Mesh& mesh = ImportElement(std::string("<Material name=\"stone\" diffuse=\"") + path +
                                   R"(" normalmap="n.dds" specularmap="Textures\S.dds"/>)");
        const std::vector<Slot*>& slots = mesh.m_aMaterials[0].m_pDefaultMaterial->m_apTextureSlots;
        EXPECT_EQ(slots[0]->m_strDefaultTexture, expected);
        EXPECT_EQ(slots[1]->m_strDefaultTexture, "n");
        EXPECT_EQ(slots[2]->m_strDefaultTexture, "s");
        EXPECT_EQ(slots[3]->m_strDefaultTexture, "before");
        EXPECT_EQ((std::vector<Texture*>{slots[0]->m_pTexture, slots[1]->m_pTexture, slots[2]->m_pTexture,
                                         slots[3]->m_pTexture}),
                  (std::vector<Texture*>{nullptr, nullptr, nullptr, m_pTexture}));
        EXPECT_EQ(mesh.m_aMaterials[0].m_diffuseTextureName, "kept");
    }
}

TEST_F(MaterialImport, Copy_TheMeshGivenStaysAsItWas)
{
    const KvJsonStore::Json before = KvJsonStore::Save(Mesh::GetReflectedDataType(), m_pMesh);
    Mesh& mesh = ImportElement(R"(<Material name="stone" specexp="9" diffuse="d.dds"/>)");
    EXPECT_NE(&mesh, m_pMesh);
    EXPECT_EQ(mesh.m_aMaterials[0].m_pDefaultMaterial->m_props.m_fSpecularStrength, 9.0f);
    EXPECT_NE(mesh.m_aMaterials[0].m_pDefaultMaterial, m_pMesh->m_aMaterials[0].m_pDefaultMaterial);
    EXPECT_EQ(KvJsonStore::Save(Mesh::GetReflectedDataType(), m_pMesh), before);
}

TEST_F(MaterialImport, NothingToApply_NullWithoutAMeshOtherwiseTheMeshItself)
{
    RecordingLog log;
    EXPECT_EQ(Import("<m><Materials><Material name=\"stone\"/></Materials></m>", nullptr), nullptr);
    EXPECT_TRUE(log.m_aEntries.empty());
    EXPECT_EQ(Import("<m><Material name=\"stone\" specexp=\"9\"/></m>", m_pMesh), m_pMesh);
    EXPECT_TRUE(log.m_aEntries.empty());
    EXPECT_EQ(Import("", m_pMesh), m_pMesh);
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
    struct tRow
    {
        const char* m_szName;
        bool m_bConverted;
        const char* m_szConverted;
    };
    const tRow rows[] = {{"project\\_data\\materials\\stone.xml", true, "project\\_data\\materials\\stone"},
                         {"a.b\\_data\\materials\\stone", true, "a"},
                         {"_data\\materials", true, "_data\\materials"},
                         {"meshes\\rock.xml", false, "meshes\\rock.xml"},
                         {"x\\_Data\\Materials\\stone.xml", false, "x\\_Data\\Materials\\stone.xml"}};
    KvResourceImporter_EngineMaterial importer;
    for (const tRow& row : rows)
    {
        std::string name = row.m_szName;
        EXPECT_EQ(importer.ConvertResourceName(name), row.m_bConverted) << row.m_szName;
        EXPECT_EQ(name, row.m_szConverted);
        EXPECT_EQ(importer.GetOriginalFileName(name), row.m_bConverted ? row.m_szName : "");
    }
    // A later file of the same converted name replaces the entry.
    std::string other = "project\\_data\\materials\\stone.bak";
    importer.ConvertResourceName(other);
    EXPECT_EQ(importer.GetOriginalFileName("project\\_data\\materials\\stone"),
              "project\\_data\\materials\\stone.bak");
}

class MaterialRecognition : public TestFolder
{
};

TEST_F(MaterialRecognition, TakesARootWithAMaterialsChild)
{
    const std::pair<const char*, bool> rows[] = {{"<MaterialFile><Materials/></MaterialFile>", true},
                                                 {"<x><a/><Materials></Materials></x>", true},
                                                 {"<Materials/>", false},
                                                 {"<x><a><Materials/></a></x>", false},
                                                 {"<x><materials/></x>", false},
                                                 {"", false}};
    const KvResourceImporter_EngineMaterial importer;
    for (const auto& [text, bRecognised] : rows)
    {
        const KvSourceProbe probe(Write("material.xml", text));
        EXPECT_EQ(importer.RecognizesSource(probe), bRecognised) << text;
    }
}
