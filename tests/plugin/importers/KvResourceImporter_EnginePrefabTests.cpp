#include "host/KvImportDriver.h"
#include "projectdata/KvProjectData_Core_Actor.h"
#include "projectdata/KvProjectData_Core_OpaqueData.h"
#include "projectdata/KvProjectData_Core_RenderShape.h"
#include "store/KvJsonStore.h"
#include "store/KvPlaceholderSet.h"
#include "support/KvByteWriter.h"
#include "support/KvImportRun.h"
#include "support/KvPluginHost.h"
#include "support/KvReflectedData.h"
#include "support/KvTestReports.h"
#include "testaccess/KvResourcePlugin_CoreTestAccess.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace
{
using Json = KvJsonStore::Json;
using Names = std::vector<std::string>;
using Prefab = KvProjectData_Core_Raw_ActorPrefab;
using Entry = KvProjectData_Core_Raw_ActorEntry;
const std::string kMesh = "KvProjectData_Core_Raw_RenderShapeMesh:";
const std::string kParticles = "KvProjectData_Core_Raw_ParticleSystem:";
const std::string kPrefab = "KvProjectData_Core_Raw_ActorPrefab:";
const std::string kTexture = "KvProjectData_Core_Raw_Texture:";
const std::string kObject3D = "KvActorComponent_Object3D";

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

// One import of a prefab of the shapes given (or of a whole document), and the placeholders it
// handed over; all released at the end.
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
    Names Placeholders() const
    {
        Names names;
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

Names ComponentNames(const Entry& actor)
{
    Names names;
    for (const KvProjectData_Core_Raw_ActorComponent* pComponent : actor.m_apComponents)
        names.push_back(pComponent->m_strName);
    return names;
}

// The game types loaded, as in the tool.
class EnginePrefabImport : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { LoadGameModule(); }
};
} // namespace

// File paths: lower case, blanks as "_", the leading folders in their order, the extension from
// the last dot. Sky boxes: the first 9 characters go when "textures\" is anywhere, cut at ".dds".
TEST_F(EnginePrefabImport, FilesNamePlaceholders)
{
    const struct
    {
        const char* m_Class;
        const char* m_Property;
        const char* m_Value;
        std::string m_Placeholder;
    } rows[] = {
        {"StaticMeshShape", "MeshFileName", "Models\\Static Meshes\\Rock A.vmesh",
         kMesh + "static_meshes\\rock_a"},
        {"StaticMeshShape", "MeshFileName", "models\\StaticMeshes\\Tree.vmesh", kMesh + "tree"},
        {"StaticMeshShape", "MeshFileName", "a.b\\c", kMesh + "a"},
        {"StaticMeshShape", "MeshFileName", "", kMesh},
        {"EntityShape", "ModelFile", "Models\\Hero.vmodel", kMesh + "hero"},
        {"ParticleGroupShape", "EffectFile", "particles\\fire", kParticles + "fire"},
        {"ParticleGroupShape", "EffectFile", "fx\\particles\\fire.xml", kParticles + "fx\\particles\\fire"},
        {"PrefabShape", "Filename", "Prefabs\\Models\\Door.v2.prefab", kPrefab + "models\\door.v2"},
        {"KvSceneLighting", "Skybox", "Textures\\Sky\\Day.dds", kTexture + "sky\\day"},
        {"KvSceneLighting", "Skybox", "Sky\\Night Sky.DDS", kTexture + "sky\\night sky"},
        {"KvSceneLighting", "Skybox", "env\\textures\\a.dds", kTexture + "res\\a"},
        {"KvSceneLighting", "Skybox", "a.dds.dds", kTexture + "a"},
    };
    for (const auto& row : rows)
    {
        PrefabImport run(Shape(row.m_Class, Property(row.m_Property, row.m_Value)));
        ASSERT_NE(run.Get(), nullptr);
        ASSERT_EQ(run.Get()->m_apActors.size(), 1u) << row.m_Value;
        EXPECT_EQ(run.Placeholders().at(0), row.m_Placeholder) << row.m_Value;
    }
}

// Vectors read as scanf reads "%f,%f,%f": a comma right after each number, and the components
// the text does not supply keep their value. Equal scales fold into the uniform scale.
TEST_F(EnginePrefabImport, MeshShape_VectorsAndUniformScale)
{
    const struct
    {
        std::string m_Properties;
        KvVector3 m_Position;
        KvVector3 m_Scale;
        float m_fUniform;
    } rows[] = {
        {Property("Position", "1.5,-2,3e2") + Property("Scaling", "2,2,2"), {1.5f, -2, 300}, {1, 1, 1}, 2},
        {Property("Position", "4, 5") + Property("Scaling", "1,2,3"), {4, 5, 0}, {1, 2, 3}, 1},
        {Property("Position", "4 ,5,6") + Property("Scaling", "5"), {4, 0, 0}, {5, 1, 1}, 1},
        {Property("Position", "x,1,2") + Property("Scaling", "3,3"), {0, 0, 0}, {3, 3, 1}, 1},
    };
    for (const auto& row : rows)
    {
        PrefabImport run(MeshShape(Property("ShapeName", "Rock") + row.m_Properties));
        ASSERT_NE(run.Get(), nullptr);
        EXPECT_EQ(run.Actor(0).m_strName, "Rock");
        EXPECT_EQ(ComponentNames(run.Actor(0)), (Names{"KvActorComponent_MeshShape", kObject3D}));
        // The world transform of a root is its local one.
        EXPECT_EQ(run.Actor(0).m_pTransform->m_WorldTransform->m_vPosition, row.m_Position);
        EXPECT_EQ(run.Local(0).m_vPosition, row.m_Position) << row.m_Properties;
        EXPECT_EQ(run.Local(0).m_vScale, row.m_Scale) << row.m_Properties;
        EXPECT_EQ(run.Local(0).m_fUniformHierarchyScale, row.m_fUniform) << row.m_Properties;
    }
}

// The engine's angles come back in the transforms' convention: yaw turns the other way,
// pitch becomes roll, roll becomes pitch; a roll of 90 takes the second branch (roll 0).
TEST_F(EnginePrefabImport, OrientationsInTheTransformsConvention)
{
    const std::pair<const char*, KvVector3> rows[] = {{"0,0,0", {0, 0, 0}},       {"90,0,0", {-90, 0, 0}},
                                                      {"0,30,0", {0, 0, -30}},    {"0,0,30", {0, -30, 0}},
                                                      {"40,0,90", {-40, -90, 0}}, {"0,0,-90", {0, 90, 0}}};
    for (const auto& [text, expected] : rows)
    {
        PrefabImport run(MeshShape(Property("Orientation", text)));
        ASSERT_NE(run.Get(), nullptr);
        const KvVector3 stored = run.Local(0).m_vYPR;
        EXPECT_NEAR(stored.x, expected.x, 1e-3f) << text;
        EXPECT_NEAR(stored.y, expected.y, 1e-3f) << text;
        EXPECT_NEAR(stored.z, expected.z, 1e-3f) << text;
    }
    PrefabImport gimbal(MeshShape(Property("Orientation", "40,0,90")));
    EXPECT_EQ(gimbal.Local(0).m_vYPR.z, 0.0f);
}

// Each row: the light's properties (after a radius of 1 and a multiplier of 2) and saved light
// data members expected.
TEST_F(EnginePrefabImport, Light_ValuesDefaultsAndTheRadiusScaledByTheAverageScale)
{
    const std::pair<std::string, Json> rows[] = {
        {Property("Radius", "100") + Property("Scaling", "1,2,3"), {{"m_fRadius", 200.0}}},
        {Property("Scaling", "1,2,3") + Property("Radius", "100"), {{"m_fRadius", 100.0}}},
        {Property("Radius", "100") + Property("Scaling", "2,2,2"), {{"m_fRadius", 100.0}}},
        {Property("LightColor", "255,128,0") + Property("LightType", "Spotlight"),
         {{"m_colColor", {255, 128, 0, 255}}, {"m_slLightType", 1}}},
        {Property("LightColor", "0xFF,010,300") + Property("LightType", "spotlight"),
         {{"m_colColor", {255, 8, 44, 255}}, {"m_slLightType", 0}}},
        {Property("LightColor", "-1,0x100,0377"), {{"m_colColor", {255, 0, 255, 255}}}},
        {Property("LightColor", "12"), {{"m_colColor", {12, 255, 255, 255}}}},
        {Property("LightColor", "99999999999999999999,1,2"), {{"m_colColor", {255, 1, 2, 255}}}},
        {"<property name=\"Multiplier\"/><property name=\"SpotAngle\"/><property name=\"Radius\"/>",
         {{"m_fMultiplier", 1.0}, {"m_fSpotAngle", 45.0}, {"m_fRadius", 0.0}}},
        {Property("Multiplier", "1e39") + Property("SpotAngle", "1e-39") + Property("Radius", "2.5"),
         {{"m_fMultiplier", 0.0}, {"m_fSpotAngle", 0.0}, {"m_fRadius", 2.5}}},
        // Settings of the other lighting class are not read.
        {Property("FogEnd", "7") + Property("Multiplier", "3"), {{"m_fMultiplier", 3.0}}},
    };
    for (const auto& [properties, expected] : rows)
    {
        PrefabImport run(
            Shape("DynLightShape", Property("Radius", "1") + Property("Multiplier", "2") + properties));
        ASSERT_NE(run.Get(), nullptr);
        EXPECT_EQ(ComponentNames(run.Actor(0)), (Names{"KvActorComponent_LightShape", kObject3D}));
        const Json data = DataOf(*run.Actor(0).m_apComponents[0]);
        for (const auto& [member, value] : expected.items())
            EXPECT_EQ(data[member], value) << properties << " " << member;
        EXPECT_TRUE(run.Placeholders().empty());
    }
}

TEST_F(EnginePrefabImport, SceneLighting_PresetFlagTexturesAndDefaults)
{
    for (const auto& [name, flag] :
         {std::pair<const char*, int>{"DEFAULT", 0}, {"Default", 1}, {"DEFAULT ", 1}})
    {
        PrefabImport run(
            Shape("KvSceneLighting", Property("ShapeName", name) + Property("Skybox", "day.dds") +
                                         Property("LightColor", "1,2,3") + Property("Saturation", "0.5") +
                                         "<property name=\"FogEnd\"/>" + Property("Radius", "9")));
        ASSERT_NE(run.Get(), nullptr);
        const Entry& lighting = run.Actor(0);
        EXPECT_TRUE(lighting.m_apComponents.empty());
        ASSERT_EQ(lighting.m_apActorCode.size(), 1u);
        EXPECT_EQ(lighting.m_apActorCode[0]->m_strName, "KvActorCode_LightingPreset");
        const Json preset = DataOf(*lighting.m_apActorCode[0]);
        EXPECT_EQ(preset["m_slNotDefault"], flag) << name;
        EXPECT_EQ(preset["m_colColor"], Json({1, 2, 3, 255}));
        EXPECT_EQ(preset["m_fSaturation"], 0.5);
        EXPECT_EQ(preset["m_fFogEnd"], 5000.0);
        EXPECT_EQ(preset["m_pAmbientGradient"]["name"], "gradients\\globalambientgradient");
        EXPECT_EQ(run.Placeholders(), (Names{kTexture + "day", kTexture + "gradients\\globalfoggradient",
                                             kTexture + "gradients\\globalambientgradient"}));
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
    EXPECT_EQ(ComponentNames(mood), (Names{"", kObject3D}));
    const char* moods[] = {"standard", "darknight", "evening", "green",  "limbo",
                           "morning",  "night",     "orange",  "purple", "red"};
    ASSERT_EQ(mood.m_apActorCode.size(), 10u);
    Names expected = {kPrefab + "mood\\sky"};
    for (size_t index = 0; index < 10; ++index)
    {
        const std::string prefab = (index ? "mood_" + std::string(moods[index]) : "mood") + "\\sky";
        const std::string tag = "id_mood_" + std::string(moods[index]);
        const Json selector = DataOf(*mood.m_apActorCode[index]);
        EXPECT_EQ(selector["$type"], "MqActorCode_MoodSelector");
        EXPECT_EQ(selector["m_pPrefab"]["name"], prefab);
        EXPECT_EQ(selector["m_pTag"]["name"], tag);
        expected.push_back(kPrefab + prefab);
        expected.push_back("MqProjectData_Tag:" + tag);
    }
    expected.push_back(kPrefab + "doors\\door");
    EXPECT_EQ(run.Placeholders(), expected);
    EXPECT_EQ(static_cast<void*>(run.Actor(1).m_pPrefab), run.m_aPlaceholders.back().first);
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
              Shape("StaticMeshShape", Property("ShapeName", "inner") + Property("MeshFileName", "a") +
                                           Shape("ParticleGroupShape", Property("EffectFile", "b"))) +
                  Shape("StaticMeshShape", Property("ModelFile", "b")) +
                  Shape("staticmeshshape", Property("MeshFileName", "c")) + Shape("ParticleGroupShape", "")) +
        "<shape>" + Property("MeshFileName", "d") + "</shape>" +
        Shape("PrefabShape", Property("Filename", "e")));
    ASSERT_NE(run.Get(), nullptr);
    ASSERT_EQ(run.Get()->m_apActors.size(), 3u);
    EXPECT_EQ(run.Actor(0).m_strName, "inner");
    EXPECT_TRUE(run.Actor(0).m_apChildren.empty());
    EXPECT_EQ(ComponentNames(run.Actor(1)), (Names{"KvActorComponent_ParticleShape", kObject3D}));
    EXPECT_EQ(run.Placeholders(), (Names{kMesh + "a", kParticles + "b", kPrefab + "e"}));
    PrefabImport empty("", "<?xml version=\"1.0\"?><root>" + Property("ShapeName", "x") + "</root>");
    ASSERT_NE(empty.Get(), nullptr);
    EXPECT_TRUE(empty.Get()->m_apActors.empty());
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
    // One mesh for both shapes, the particles, three textures, and a prefab and a tag per mood.
    EXPECT_EQ(placeholders.GetObjects().size(), 25u);
    EXPECT_EQ(static_cast<void*>(pLoaded->m_apActors.at(1)->m_pDefaultEditorShape),
              placeholders.GetObjects()[0].first);
    EXPECT_EQ(KvJsonStore::Save(pType, pLoaded, placeholders.GetNameOnlyTargets()), saved);
    DestroyData(pLoaded);
}

// A file without elements leaves the resource's data as it was.
TEST_F(EnginePrefabImport, EmptyFile_ExistingReturnedAndLogged)
{
    for (const std::string text : {"", "  \n", "<?xml version=\"1.0\"?><!-- nothing -->"})
    {
        KvResourceImporter_EnginePrefab importer;
        Prefab existing;
        RecordingLog log;
        EXPECT_EQ(ImportRun(importer, BytesOf(text), "resource", &existing).Raw<Prefab>(), &existing);
        ASSERT_EQ(log.m_aEntries.size(), 1u);
        EXPECT_EQ(log.m_aEntries[0].m_uiLevel, 3u);
        EXPECT_THAT(log.m_aEntries[0].m_strMessage,
                    ContainsReportFrom("importers\\KvResourceImporter_EnginePrefab",
                                       "KvResourceImporter_EnginePrefab::ConvertToRaw",
                                       "Empty prefab file 'KvIOStream_Memory'"));
    }
}

// Sources the import refuses leave no prefab and no placeholders.
TEST_F(EnginePrefabImport, RefusedSources_LoggedWithoutPlaceholders)
{
    std::string moods;
    std::string deep;
    for (int index = 0; index < 3000; ++index)
        moods += Shape("PrefabShape", Property("Filename", "mood\\m"));
    for (int level = 0; level < 300; ++level)
        deep = Shape("PrefabShape", Property("Filename", "x") + deep);
    const std::pair<std::string, const char*> rows[] = {{moods, "would take more than 10 times as many"},
                                                        {deep, "nests elements deeper than 256 levels"}};
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
