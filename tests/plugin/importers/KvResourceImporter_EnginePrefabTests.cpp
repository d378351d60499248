#include "Host/KvImportDriver.h"
#include "Store/KvJsonStore.h"
#include "Store/KvPlaceholderSet.h"
#include "importers/KvImporterTestSupport.h"
#include "importers/KvResourceImporter_EnginePrefab.h"
#include "projectdata/KvProjectData_Core_Actor.h"
#include "projectdata/KvProjectData_Core_OpaqueData.h"
#include "projectdata/KvProjectData_Core_RenderShape.h"
#include "projectdata/KvProjectData_Core_Texture.h"
#include "support/KvTestReports.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace
{
using Json = KvJsonStore::Json;
using Prefab = KvProjectData_Core_Raw_ActorPrefab;
using Entry = KvProjectData_Core_Raw_ActorEntry;

std::string Property(const std::string& name, const std::string& value)
{
    return "<property name=\"" + name + "\" value=\"" + value + "\"/>";
}

std::string Shape(const std::string& shapeClass, const std::string& body)
{
    return "<shape class=\"" + shapeClass + "\">" + body + "</shape>";
}

// A mesh shape, which the prefab always keeps.
std::string MeshShape(const std::string& body)
{
    return Shape("StaticMeshShape", Property("MeshFileName", "rock") + body);
}

// One import of a prefab made of the shapes given, with the game types loaded, and the
// placeholders it handed over; all released at the end.
class PrefabImport
{
public:
    explicit PrefabImport(const std::string& shapes, const std::string& document = "")
        : m_Run(m_Importer, BytesOf(document.empty() ? "<prefab>" + shapes + "</prefab>" : document))
    {
        m_Importer.AppendTempXRef(m_aPlaceholders);
    }
    ~PrefabImport()
    {
        for (const auto& [pObject, pType] : m_aPlaceholders)
            KvReflectionInterface::GetInstance()->DestroyObject(pType, pObject);
    }

    Prefab* Get() const { return m_Run.Raw<Prefab>(); }
    Entry& Actor(size_t index) const { return *Get()->m_apActors.at(index); }
    KvTransformSpace& Local(size_t index) const { return *Actor(index).m_pTransform->m_LocalTransform; }
    // "<type>:<name>" of each placeholder, in the order handed over.
    std::vector<std::string> Placeholders() const
    {
        std::vector<std::string> names;
        for (const auto& [pObject, pType] : m_aPlaceholders)
            names.push_back(pType->GetName() + ":" + *KvReflectionInterface::GetObjectName(pType, pObject));
        return names;
    }

    KvResourceImporter_EnginePrefab m_Importer;
    ImportRun m_Run;
    std::vector<KvTempXRef> m_aPlaceholders;
};

// The saved form of a record's game object.
Json DataOf(const KvProjectData_Core_CodeHolder& record)
{
    return record.m_pData ? KvJsonStore::Save(record.m_pDataType, record.m_pData) : Json();
}

std::vector<std::string> ComponentNames(const Entry& actor)
{
    std::vector<std::string> names;
    for (const KvProjectData_Core_Raw_ActorComponent* pComponent : actor.m_apComponents)
        names.push_back(pComponent->m_strName);
    return names;
}

class EnginePrefabImport : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        const KvResult loaded = PluginHost().LoadGameModule(KV_GAME_TYPES_PATH);
        ASSERT_TRUE(loaded) << loaded.GetReason();
    }
};
} // namespace

TEST_F(EnginePrefabImport, Paths_NormalisedPrefixesInOrderExtensionFromTheLastDot)
{
    const std::pair<const char*, const char*> rows[] = {
        {"Models\\Static Meshes\\Rock A.vmesh", "static_meshes\\rock_a"},
        {"models\\StaticMeshes\\Tree.vmesh", "tree"},
        {"Prefabs\\Models\\Door.v2.prefab", "models\\door.v2"},
        {"particles\\fire", "fire"},
        {"fx\\particles\\fire.xml", "fx\\particles\\fire"},
        {"a.b\\c", "a"},
        {"", ""},
    };
    for (const auto& [path, expected] : rows)
    {
        PrefabImport run(Shape("StaticMeshShape", Property("MeshFileName", path)));
        ASSERT_NE(run.Get(), nullptr);
        EXPECT_EQ(run.Actor(0).m_pDefaultEditorShape->m_strName, expected) << path;
    }
}

TEST_F(EnginePrefabImport, SkyTextureNames)
{
    const std::pair<const char*, const char*> rows[] = {
        {"Textures\\Sky\\Day.dds", "sky\\day"}, {"Sky\\Night Sky.DDS", "sky\\night sky"},
        {"env\\textures\\a.dds", "res\\a"},     {"a.dds.dds", "a"},
        {"clouds.png", "clouds.png"},
    };
    for (const auto& [path, expected] : rows)
    {
        PrefabImport run(Shape("KvSceneLighting", Property("Skybox", path)));
        ASSERT_NE(run.Get(), nullptr);
        EXPECT_EQ(DataOf(*run.Actor(0).m_apActorCode.at(0))["m_pSkybox"]["name"], expected) << path;
    }
}

// Vectors and colours read as scanf reads "%f,%f,%f" and "%i,%i,%i": a comma right after each
// number, and what the text does not supply keeps its value.
TEST_F(EnginePrefabImport, VectorsAndColours)
{
    const struct
    {
        const char* m_Text;
        KvVector3 m_Position;
    } vectors[] = {{"1.5,-2,3e2", {1.5f, -2.0f, 300.0f}},
                   {"4, 5", {4.0f, 5.0f, 0.0f}},
                   {"4 ,5,6", {4.0f, 0.0f, 0.0f}},
                   {"x,1,2", {0.0f, 0.0f, 0.0f}}};
    for (const auto& row : vectors)
    {
        PrefabImport run(MeshShape(Property("Position", row.m_Text)));
        ASSERT_NE(run.Get(), nullptr);
        EXPECT_EQ(run.Local(0).m_vPosition, row.m_Position) << row.m_Text;
    }
    const struct
    {
        const char* m_Text;
        Json m_Color;
    } colors[] = {{"255,128,0", {255, 128, 0, 255}},
                  {"0xFF,010,300", {255, 8, 44, 255}},
                  {"-1,0x100,0377", {255, 0, 255, 255}},
                  {"12", {12, 255, 255, 255}},
                  {"99999999999999999999,1,2", {255, 1, 2, 255}}};
    for (const auto& row : colors)
    {
        PrefabImport run(Shape("DynLightShape", Property("LightColor", row.m_Text)));
        ASSERT_NE(run.Get(), nullptr);
        EXPECT_EQ(DataOf(*run.Actor(0).m_apComponents.at(0))["m_colColor"], row.m_Color) << row.m_Text;
    }
}

// The engine's angles come back in the transforms' convention: yaw turns the other way,
// pitch becomes roll, roll becomes pitch; a roll of 90 takes the second branch (roll 0).
TEST_F(EnginePrefabImport, OrientationsInTheTransformsConvention)
{
    const struct
    {
        const char* m_Text;
        KvVector3 m_Stored;
    } rows[] = {{"0,0,0", {0, 0, 0}},    {"90,0,0", {-90, 0, 0}},    {"0,30,0", {0, 0, -30}},
                {"0,0,30", {0, -30, 0}}, {"40,0,90", {-40, -90, 0}}, {"0,0,-90", {0, 90, 0}}};
    for (const auto& row : rows)
    {
        PrefabImport run(MeshShape(Property("Orientation", row.m_Text)));
        ASSERT_NE(run.Get(), nullptr);
        const KvVector3 stored = run.Local(0).m_vYPR;
        EXPECT_NEAR(stored.x, row.m_Stored.x, 1e-3f) << row.m_Text;
        EXPECT_NEAR(stored.y, row.m_Stored.y, 1e-3f) << row.m_Text;
        EXPECT_NEAR(stored.z, row.m_Stored.z, 1e-3f) << row.m_Text;
    }
    PrefabImport gimbal(MeshShape(Property("Orientation", "40,0,90")));
    EXPECT_EQ(gimbal.Local(0).m_vYPR.z, 0.0f);
}

TEST_F(EnginePrefabImport, MeshShape_PlaceholderComponentsAndTransform)
{
    PrefabImport run(
        Shape("StaticMeshShape", Property("ShapeName", "Rock") + Property("Position", "1,2,3") +
                                     Property("Orientation", "90,0,0") + Property("Scaling", "2,2,2") +
                                     Property("MeshFileName", "Models\\Static Meshes\\Rock A.vmesh")) +
        Shape("EntityShape", Property("ModelFile", "Models\\Hero.vmodel")));
    ASSERT_NE(run.Get(), nullptr);
    ASSERT_EQ(run.Get()->m_apActors.size(), 2u);
    const Entry& rock = run.Actor(0);
    EXPECT_EQ(rock.m_strName, "Rock");
    ASSERT_NE(rock.m_pDefaultEditorShape, nullptr);
    EXPECT_EQ(rock.m_pDefaultEditorShape->m_strName, "static_meshes\\rock_a");
    EXPECT_EQ(ComponentNames(rock),
              (std::vector<std::string>{"KvActorComponent_MeshShape", "KvActorComponent_Object3D"}));
    EXPECT_NE(rock.m_apComponents[0]->m_pData, nullptr);
    const KvTransformSpace& world = *rock.m_pTransform->m_WorldTransform;
    EXPECT_EQ(world.m_vPosition, (KvVector3{1, 2, 3}));
    EXPECT_NEAR(world.m_vYPR.x, -90.0f, 1e-3f);
    EXPECT_EQ(world.m_fUniformHierarchyScale, 2.0f);
    EXPECT_EQ(run.Actor(1).m_pDefaultEditorShape->m_strName, "hero");
    EXPECT_EQ(run.Placeholders(),
              (std::vector<std::string>{"KvProjectData_Core_Raw_RenderShapeMesh:static_meshes\\rock_a",
                                        "KvProjectData_Core_Raw_RenderShapeMesh:hero"}));
}

TEST_F(EnginePrefabImport, Scaling_UniformFoldedOthersKept)
{
    const struct
    {
        const char* m_Scaling;
        KvVector3 m_Scale;
        float m_fUniform;
    } rows[] = {{"2,2,2", {1, 1, 1}, 2.0f},
                {"1,2,3", {1, 2, 3}, 1.0f},
                {"5", {5, 1, 1}, 1.0f},
                {"3,3", {3, 3, 1}, 1.0f}};
    for (const auto& row : rows)
    {
        PrefabImport run(MeshShape(Property("Scaling", row.m_Scaling)));
        ASSERT_NE(run.Get(), nullptr);
        EXPECT_EQ(run.Local(0).m_vScale, row.m_Scale) << row.m_Scaling;
        EXPECT_EQ(run.Local(0).m_fUniformHierarchyScale, row.m_fUniform) << row.m_Scaling;
    }
}

// Each row: the light's properties and the saved light data members expected.
TEST_F(EnginePrefabImport, Light_ValuesDefaultsAndTheRadiusScaledByTheAverageScale)
{
    const struct
    {
        std::string m_Properties;
        Json m_Expected;
    } rows[] = {
        {Property("Radius", "100") + Property("Scaling", "1,2,3"), {{"m_fRadius", 200.0}}},
        {Property("Scaling", "1,2,3") + Property("Radius", "100"), {{"m_fRadius", 100.0}}},
        {Property("Radius", "100") + Property("Scaling", "2,2,2"), {{"m_fRadius", 100.0}}},
        {Property("LightColor", "255,128,0") + Property("LightType", "Spotlight"),
         {{"m_colColor", {255, 128, 0, 255}}, {"m_slLightType", 1}}},
        {Property("LightColor", "0x10,010,256") + Property("LightType", "spotlight"),
         {{"m_colColor", {16, 8, 0, 255}}, {"m_slLightType", 0}}},
        {"<property name=\"Multiplier\"/><property name=\"SpotAngle\"/><property name=\"Radius\"/>",
         {{"m_fMultiplier", 1.0}, {"m_fSpotAngle", 45.0}, {"m_fRadius", 0.0}}},
        {Property("Multiplier", "1e39") + Property("SpotAngle", "1e-39") + Property("Radius", "2.5"),
         {{"m_fMultiplier", 0.0}, {"m_fSpotAngle", 0.0}, {"m_fRadius", 2.5}}},
        // Settings of the other lighting class are not read.
        {Property("FogEnd", "7") + Property("Multiplier", "3"), {{"m_fMultiplier", 3.0}}},
    };
    for (const auto& row : rows)
    {
        PrefabImport run(
            Shape("DynLightShape", Property("Radius", "1") + Property("Multiplier", "2") + row.m_Properties));
        ASSERT_NE(run.Get(), nullptr);
        ASSERT_EQ(run.Get()->m_apActors.size(), 1u);
        const Entry& light = run.Actor(0);
        EXPECT_EQ(ComponentNames(light),
                  (std::vector<std::string>{"KvActorComponent_LightShape", "KvActorComponent_Object3D"}));
        const Json data = DataOf(*light.m_apComponents[0]);
        for (const auto& [member, value] : row.m_Expected.items())
            EXPECT_EQ(data[member], value) << row.m_Properties << " " << member;
        EXPECT_TRUE(run.Placeholders().empty());
    }
}

TEST_F(EnginePrefabImport, SceneLighting_PresetFlagTexturesAndDefaults)
{
    for (const auto& [name, flag] :
         {std::pair<const char*, int>{"DEFAULT", 0}, {"Default", 1}, {"DEFAULT ", 1}})
    {
        PrefabImport run(Shape("KvSceneLighting",
                               Property("ShapeName", name) + Property("Skybox", "Textures\\Sky\\Day.dds") +
                                   Property("LightColor", "1,2,3") + Property("Saturation", "0.5") +
                                   "<property name=\"FogEnd\"/>" + Property("Radius", "9")));
        ASSERT_NE(run.Get(), nullptr);
        ASSERT_EQ(run.Get()->m_apActors.size(), 1u);
        const Entry& lighting = run.Actor(0);
        EXPECT_TRUE(lighting.m_apComponents.empty());
        ASSERT_EQ(lighting.m_apActorCode.size(), 1u);
        EXPECT_EQ(lighting.m_apActorCode[0]->m_strName, "KvActorCode_LightingPreset");
        const Json preset = DataOf(*lighting.m_apActorCode[0]);
        EXPECT_EQ(preset["m_slNotDefault"], flag) << name;
        EXPECT_EQ(preset["m_colColor"], Json({1, 2, 3, 255}));
        EXPECT_EQ(preset["m_fSaturation"], 0.5);
        EXPECT_EQ(preset["m_fFogEnd"], 5000.0);
        EXPECT_EQ(preset["m_pSkybox"]["name"], "sky\\day");
        EXPECT_EQ(preset["m_pAmbientGradient"]["name"], "gradients\\globalambientgradient");
        EXPECT_EQ(
            run.Placeholders(),
            (std::vector<std::string>{"KvProjectData_Core_Raw_Texture:sky\\day",
                                      "KvProjectData_Core_Raw_Texture:gradients\\globalfoggradient",
                                      "KvProjectData_Core_Raw_Texture:gradients\\globalambientgradient"}));
    }
}

TEST_F(EnginePrefabImport, MoodPrefab_TenSelectorsAndTwentyOnePlaceholdersInOrder)
{
    PrefabImport run(Shape("PrefabShape", Property("Filename", "Prefabs\\Mood\\Sky.prefab")) +
                     Shape("PrefabShape", Property("Filename", "Prefabs\\Doors\\Door.prefab")));
    ASSERT_NE(run.Get(), nullptr);
    ASSERT_EQ(run.Get()->m_apActors.size(), 2u);
    const Entry& mood = run.Actor(0);
    EXPECT_EQ(mood.m_pPrefab, nullptr);
    // The shape component stays empty before the Object3D record.
    EXPECT_EQ(ComponentNames(mood), (std::vector<std::string>{"", "KvActorComponent_Object3D"}));
    const char* folders[] = {"mood",         "mood_darknight", "mood_evening", "mood_green",  "mood_limbo",
                             "mood_morning", "mood_night",     "mood_orange",  "mood_purple", "mood_red"};
    const char* tags[] = {"id_mood_standard", "id_mood_darknight", "id_mood_evening", "id_mood_green",
                          "id_mood_limbo",    "id_mood_morning",   "id_mood_night",   "id_mood_orange",
                          "id_mood_purple",   "id_mood_red"};
    ASSERT_EQ(mood.m_apActorCode.size(), 10u);
    std::vector<std::string> expected = {"KvProjectData_Core_Raw_ActorPrefab:mood\\sky"};
    for (size_t index = 0; index < 10; ++index)
    {
        const std::string prefab = std::string(folders[index]) + "\\sky";
        const Json selector = DataOf(*mood.m_apActorCode[index]);
        EXPECT_EQ(selector["$type"], "MqActorCode_MoodSelector");
        EXPECT_EQ(selector["m_pPrefab"]["name"], prefab);
        EXPECT_EQ(selector["m_pTag"]["name"], tags[index]);
        expected.push_back("KvProjectData_Core_Raw_ActorPrefab:" + prefab);
        expected.push_back(std::string("MqProjectData_Tag:") + tags[index]);
    }
    expected.push_back("KvProjectData_Core_Raw_ActorPrefab:doors\\door");
    EXPECT_EQ(run.Placeholders(), expected);
    ASSERT_NE(run.Actor(1).m_pPrefab, nullptr);
    EXPECT_EQ(run.Actor(1).m_pPrefab->m_strName, "doors\\door");
    EXPECT_TRUE(run.Actor(1).m_apActorCode.empty());
    // Handed over once.
    std::vector<KvTempXRef> again;
    run.m_Importer.AppendTempXRef(again);
    EXPECT_TRUE(again.empty());
}

// Only shapes the editor knows are kept, each after its parent; nesting makes no child link.
TEST_F(EnginePrefabImport, KeptShapesAndNesting)
{
    PrefabImport run(
        Shape("Group",
              Property("ShapeName", "group") +
                  Shape("StaticMeshShape",
                        Property("ShapeName", "inner") + Property("MeshFileName", "a") +
                            Shape("ParticleGroupShape", Property("EffectFile", "Particles\\Fire.xml"))) +
                  Shape("StaticMeshShape", Property("ModelFile", "b")) +
                  Shape("staticmeshshape", Property("MeshFileName", "c")) + Shape("ParticleGroupShape", "")) +
        "<shape>" + Property("MeshFileName", "d") + "</shape>" +
        Shape("PrefabShape", Property("Filename", "e")));
    ASSERT_NE(run.Get(), nullptr);
    ASSERT_EQ(run.Get()->m_apActors.size(), 3u);
    EXPECT_EQ(run.Actor(0).m_strName, "inner");
    EXPECT_TRUE(run.Actor(0).m_apChildren.empty());
    EXPECT_EQ(run.Actor(1).m_pDefaultParticleShape->m_strName, "fire");
    EXPECT_EQ(ComponentNames(run.Actor(1)),
              (std::vector<std::string>{"KvActorComponent_ParticleShape", "KvActorComponent_Object3D"}));
    EXPECT_EQ(run.Actor(2).m_pPrefab->m_strName, "e");
    EXPECT_EQ(run.Placeholders(), (std::vector<std::string>{"KvProjectData_Core_Raw_RenderShapeMesh:a",
                                                            "KvProjectData_Core_Raw_ParticleSystem:fire",
                                                            "KvProjectData_Core_Raw_ActorPrefab:e"}));
}

// Imported by the host, saved with its unresolved references by name and loaded where none of
// them exists, the prefab gets a placeholder for each, as the import made them: every shape
// keeps its mesh.
TEST_F(EnginePrefabImport, SavedAndLoaded_UnresolvedReferencesGetPlaceholders)
{
    const std::filesystem::path source =
        std::filesystem::temp_directory_path() / ("KvPrefabTest_" + std::to_string(getpid()) + ".prefab");
    std::ofstream(source) << "<prefab>" + MeshShape("") + MeshShape("") +
                                 Shape("ParticleGroupShape", Property("EffectFile", "fire")) +
                                 Shape("KvSceneLighting", Property("Skybox", "day.dds")) +
                                 Shape("PrefabShape", Property("Filename", "mood\\sky")) + "</prefab>";
    KvImportResult imported = KvImportDriver(PluginHost()).Import({source.string(), "", ""});
    std::filesystem::remove(source);
    ASSERT_TRUE(imported.Succeeded()) << imported.m_Result.GetReason();
    const KvReflectedDataType* pType = Prefab::GetReflectedDataType();
    const Json saved =
        KvJsonStore::Save(pType, imported.m_pResource->GetRawData(), imported.GetPlaceholderAddresses());
    KvPlaceholderSet placeholders;
    auto* pLoaded = static_cast<Prefab*>(KvJsonStore::Load(pType, saved, "saved", &placeholders));
    ASSERT_NE(pLoaded, nullptr);
    ASSERT_EQ(pLoaded->m_apActors.size(), 5u);
    for (size_t index : {0, 1})
    {
        ASSERT_NE(pLoaded->m_apActors[index]->m_pDefaultEditorShape, nullptr);
        EXPECT_EQ(pLoaded->m_apActors[index]->m_pDefaultEditorShape->m_strName, "rock");
    }
    EXPECT_EQ(pLoaded->m_apActors[0]->m_pDefaultEditorShape, pLoaded->m_apActors[1]->m_pDefaultEditorShape);
    EXPECT_EQ(pLoaded->m_apActors[2]->m_pDefaultParticleShape->m_strName, "fire");
    // One mesh, the particles, three textures, and a prefab and a tag per mood.
    EXPECT_EQ(placeholders.GetObjects().size(), 25u);
    EXPECT_EQ(KvJsonStore::Save(pType, pLoaded, placeholders.GetNameOnlyTargets()), saved);
    DestroyData(pLoaded);
}

TEST_F(EnginePrefabImport, EmptyRootGivesAnEmptyPrefab)
{
    PrefabImport run("", "<?xml version=\"1.0\"?><root><property name=\"ShapeName\" value=\"x\"/></root>");
    ASSERT_NE(run.Get(), nullptr);
    EXPECT_TRUE(run.Get()->m_apActors.empty());
    EXPECT_TRUE(run.Placeholders().empty());
}

// A file without elements leaves the resource's data as it was.
TEST_F(EnginePrefabImport, EmptyFile_ExistingReturnedAndLogged)
{
    for (const std::string text : {"", "  \n", "<?xml version=\"1.0\"?><!-- nothing -->"})
    {
        KvResourceImporter_EnginePrefab importer;
        KvIOStream_Memory stream(const_cast<char*>(text.data()), static_cast<uint32_t>(text.size()));
        Prefab existing;
        void* pPayload = nullptr;
        RecordingLog log;
        EXPECT_EQ(importer.ConvertToRaw(pPayload, nullptr, &stream, &existing), &existing);
        ASSERT_EQ(log.m_aEntries.size(), 1u);
        EXPECT_EQ(log.m_aEntries[0].m_uiLevel, 3u);
        EXPECT_THAT(log.m_aEntries[0].m_strMessage,
                    ContainsReportFrom("importers\\KvResourceImporter_EnginePrefab",
                                       "KvResourceImporter_EnginePrefab::ConvertToRaw",
                                       "Empty prefab file '" + std::string(stream.GetName()) + "'"));
    }
}

// Sources the import refuses leave no prefab and no placeholders.
TEST_F(EnginePrefabImport, RefusedSources_LoggedWithoutPlaceholders)
{
    std::string moods;
    for (int index = 0; index < 3000; ++index)
        moods += Shape("PrefabShape", Property("Filename", "mood\\m"));
    std::string deep;
    for (int level = 0; level < 300; ++level)
        deep += "<shape class=\"PrefabShape\">" + Property("Filename", "x");
    for (int level = 0; level < 300; ++level)
        deep += "</shape>";
    const std::pair<std::string, const char*> rows[] = {
        {moods, "would take more than 10 times as many"},
        {deep, "nests elements deeper than 256 levels"},
    };
    for (const auto& [shapes, reason] : rows)
    {
        RecordingLog log;
        PrefabImport run(shapes);
        EXPECT_EQ(run.Get(), nullptr);
        EXPECT_TRUE(run.Placeholders().empty());
        ASSERT_FALSE(log.m_aEntries.empty());
        EXPECT_THAT(log.m_aEntries.back().m_strMessage, ::testing::HasSubstr(reason));
    }
}
