#include "Host/KvSchemaDescription.h"
#include "Resources/KvResourceDescriptor.h"
#include "Store/KvJsonStore.h"
#include "core/KvPluginTestSupport.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace
{
using Json = nlohmann::ordered_json;

// Every schema of a resource kind: the types reachable from its root and payload.
Json SchemasOf(const KvResourceDescriptor& descriptor)
{
    std::vector<const KvReflectedDataType*> types =
        KvSchemaDescription::GetReachableTypes(*descriptor.GetRootDataType());
    if (const KvReflectedDataType* pPayload = descriptor.GetPayloadDataType())
        for (const KvReflectedDataType* pType : KvSchemaDescription::GetReachableTypes(*pPayload))
            if (std::find(types.begin(), types.end(), pType) == types.end())
                types.push_back(pType);
    Json schemas = Json::array();
    for (const KvReflectedDataType* pType : types)
        schemas.push_back(KvSchemaDescription::ToJson(*pType));
    return schemas;
}
} // namespace

// A schema that changes without its golden file changing is a silent format change.
TEST(PluginSchemas, MatchTheGoldenFiles)
{
    const std::filesystem::path actualFolder = std::filesystem::path(KV_GOLDEN_ACTUAL_DIR);
    std::filesystem::create_directories(actualFolder);
    ASSERT_FALSE(PluginHost().GetDescriptors().GetDescriptors().empty());
    for (const KvResourceDescriptor* pDescriptor : PluginHost().GetDescriptors().GetDescriptors())
    {
        const std::string fileName = std::string(pDescriptor->GetShortName()) + ".schema.json";
        const std::string actual = SchemasOf(*pDescriptor).dump(2) + "\n";
        std::ifstream golden(std::filesystem::path(KV_GOLDEN_DIR) / fileName);
        const std::string expected((std::istreambuf_iterator<char>(golden)),
                                   std::istreambuf_iterator<char>());
        if (actual != expected)
            std::ofstream(actualFolder / fileName) << actual;
        EXPECT_EQ(actual, expected) << fileName << " differs; the actual schema is in "
                                    << (actualFolder / fileName);
    }
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
            const Json first = KvJsonStore::Save(pType, pObject);
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
