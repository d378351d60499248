#include "host/KvSchemaDescription.h"
#include "resources/KvResourceDescriptor.h"
#include "store/KvJsonStore.h"
#include "support/KvPluginHost.h"
#include "support/KvReflectedData.h"
#include "support/KvTestFolder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <set>

namespace
{
namespace fs = std::filesystem;

// The types a resource kind saves: those reachable from its root, then from its payload.
std::vector<const KvReflectedDataType*> TypesOf(const KvResourceDescriptor& descriptor)
{
    std::vector<const KvReflectedDataType*> types =
        KvSchemaDescription::GetReachableTypes(*descriptor.GetRootDataType());
    if (const KvReflectedDataType* pPayload = descriptor.GetPayloadDataType())
        for (const KvReflectedDataType* pType : KvSchemaDescription::GetReachableTypes(*pPayload))
            if (std::find(types.begin(), types.end(), pType) == types.end())
                types.push_back(pType);
    return types;
}

// Compares every expected file of one golden folder, and fails on golden files nothing produces
// any more. With KV_UPDATE_GOLDEN set, rewrites the folder instead; otherwise the actual files
// land beside the build for review.
void ExpectGoldenFolder(const std::string& subFolder, const std::map<std::string, std::string>& expected)
{
    const fs::path goldenFolder = fs::path(KV_GOLDEN_DIR) / subFolder;
    const fs::path actualFolder = fs::path(KV_GOLDEN_ACTUAL_DIR) / subFolder;
    const bool bUpdate = std::getenv("KV_UPDATE_GOLDEN") != nullptr;
    if (bUpdate)
    {
        fs::remove_all(goldenFolder);
        fs::create_directories(goldenFolder);
    }
    fs::create_directories(actualFolder);
    for (const auto& [fileName, actual] : expected)
    {
        if (bUpdate)
        {
            std::ofstream(goldenFolder / fileName, std::ios::binary) << actual;
            continue;
        }
        if (actual == ReadFile(goldenFolder / fileName))
            continue;
        std::ofstream(actualFolder / fileName, std::ios::binary) << actual;
        ADD_FAILURE() << subFolder << "/" << fileName << " differs; the actual file is "
                      << (actualFolder / fileName) << " (KV_UPDATE_GOLDEN=1 rewrites the golden files)";
    }
    for (const fs::directory_entry& entry : fs::directory_iterator(goldenFolder))
        EXPECT_TRUE(expected.count(entry.path().filename().string()))
            << subFolder << "/" << entry.path().filename().string() << " is no longer produced";
}
} // namespace

// A schema that changes without its golden file changing is a silent format change; one file per
// type, so a change shows once, and one list per resource kind of the types it reaches.
TEST(PluginSchemas, MatchTheGoldenFiles)
{
    const std::vector<const KvResourceDescriptor*>& descriptors =
        PluginHost().GetDescriptors().GetDescriptors();
    ASSERT_FALSE(descriptors.empty());
    std::map<std::string, std::string> schemas;
    std::map<std::string, std::string> reachable;
    for (const KvResourceDescriptor* pDescriptor : descriptors)
    {
        std::string& list = reachable[std::string(pDescriptor->GetShortName()) + ".types.txt"];
        for (const KvReflectedDataType* pType : TypesOf(*pDescriptor))
        {
            list += std::string(pType->GetName()) + "\n";
            schemas[std::string(pType->GetName()) + ".schema.json"] =
                KvSchemaDescription::ToJson(*pType).dump(2) + "\n";
        }
    }
    // The game types the prefab import creates and fills by member name.
    LoadGameModule();
    for (const char* name : {"KvActorComponent_LightShape", "KvActorComponent_MeshShape",
                             "KvActorComponent_ParticleShape", "KvActorComponent_Object3D",
                             "KvActorCode_LightingPreset", "MqActorCode_MoodSelector", "MqProjectData_Tag"})
    {
        const KvReflectedDataType* pType = KvReflectionInterface::GetInstance()->FindType(name);
        ASSERT_NE(pType, nullptr) << name;
        schemas[std::string(name) + ".schema.json"] = KvSchemaDescription::ToJson(*pType).dump(2) + "\n";
    }
    ExpectGoldenFolder("types", schemas);
    ExpectGoldenFolder("reachable", reachable);
}

// Every registered type (and every type it reaches) saves, loads and saves to the same text.
TEST(PluginSchemas, EveryTypeRoundTripsThroughJson)
{
    size_t tested = 0;
    for (const KvResourceDescriptor* pDescriptor : PluginHost().GetDescriptors().GetDescriptors())
    {
        for (const KvReflectedDataType* pType :
             KvSchemaDescription::GetReachableTypes(*pDescriptor->GetRootDataType()))
        {
            if (!pType->GetObjectConstructor())
                continue;
            void* pObject = pType->GetObjectConstructor()->Create();
            const nlohmann::ordered_json first = KvJsonStore::Save(pType, pObject);
            void* pLoaded = KvJsonStore::Load(pType, first, pType->GetName());
            ASSERT_NE(pLoaded, nullptr) << pType->GetName();
            EXPECT_EQ(KvJsonStore::Save(pType, pLoaded).dump(), first.dump()) << pType->GetName();
            KvReflectionInterface::GetInstance()->DestroyObject(pType, pLoaded);
            KvReflectionInterface::GetInstance()->DestroyObject(pType, pObject);
            ++tested;
        }
    }
    EXPECT_GE(tested, 50u);
}
