#include "Foundation/KvError_Globals.h"
#include "IO/KvIOStream_Memory.h"
#include "TypeManager/KvTypeInfo.h"
#include "host/KvImportDriver.h"
#include "host/KvProjectStore.h"
#include "host/KvResourceHost.h"
#include "resources/KvResourceDescriptor.h"
#include "store/KvJsonStore.h"
#include "support/KvImportCases.h"
#include "support/KvPluginHost.h"
#include "support/KvResultAssertion.h"
#include "support/KvTestFolder.h"
#include "support/KvTestModel.h"
#include "support/KvTestReports.h"

namespace fs = std::filesystem;

namespace
{
class ResourceHost : public TestFolder
{
protected:
    std::string WriteSource(const std::string& relative, const std::string& text) const
    {
        return Write("sources/" + relative, text);
    }

    KvImportResult Import(const std::string& path, const std::string& type = "") const
    {
        return KvImportDriver(PluginHost()).Import({path, Path("sources"), type});
    }
};
} // namespace

// The registries hold what the plug-in registered, once however often it is initialised, with its
// unregistered descriptors apart; look-ups by extension ignore case.
TEST_F(ResourceHost, Plugin_RegistriesHoldWhatItRegistered)
{
    KvResourceHost host;
    ASSERT_TRUE(Succeeded(host.LoadPlugin(KV_PLUGIN_PATH)));
    ASSERT_TRUE(Succeeded(host.LoadPlugin(KV_PLUGIN_PATH)));
    const std::vector<const KvResourceDescriptor*>& descriptors = host.GetDescriptors().GetDescriptors();
    EXPECT_EQ(descriptors, PluginHost().GetDescriptors().GetDescriptors());
    ASSERT_EQ(descriptors.size(), 4u);
    EXPECT_EQ(host.GetDescriptors().FindByShortName("tnode"), descriptors[0]);
    EXPECT_EQ(host.GetDescriptors().FindByTypeName("Rendering_Mesh"),
              host.GetDescriptors().FindByShortName("mesh"));
    EXPECT_EQ(host.GetDescriptors().FindByTypeName("TestUnregistered"), nullptr);
    EXPECT_EQ(host.GetImporters().GetImporters().size(), 6u);
    ASSERT_EQ(host.GetUnregisteredDescriptors().size(), 1u);
    EXPECT_STREQ(host.GetUnregisteredDescriptors()[0]->GetTypeName(), "TestUnregistered");
    EXPECT_EQ(PluginHost().GetImporters().FindByExtension("XML").size(), 2u);
    const std::vector<KvResourceImporter*>& unregistered =
        PluginHost().GetUnregisteredImporters().GetImporters();
    ASSERT_EQ(unregistered.size(), 1u);
    EXPECT_EQ(unregistered[0]->GetResourceType(), host.GetDescriptors().FindByShortName("mesh"));
}

// Strings are bytes: one that is not UTF-8 is cooked in the store's readable form.
TEST_F(ResourceHost, PassthroughCooker_WritesNonUtf8Text)
{
    KvResourceCooker* pCooker =
        PluginHost().GetCookers().FindByResourceType(PluginHost().GetDescriptors().FindByShortName("tnode"));
    ASSERT_NE(pCooker, nullptr);
    KvTestNode node;
    node.m_strName = "Caf\xe9";
    std::vector<char> buffer(4096);
    KvIOStream_Memory output(buffer.data(), static_cast<uint32_t>(buffer.size()));
    ASSERT_TRUE(pCooker->Cook(&node, 0, output));
    const auto cooked = KvJsonStore::Json::parse(std::string(buffer.data(), output.Tell()));
    EXPECT_EQ(cooked["m_strName"], KvJsonStore::Json({{"$latin1", "Caf\xc3\xa9"}}));
}

TEST_F(ResourceHost, Import_NamesBindsAndPayload)
{
    const std::string path = WriteSource("sub/level.one.tnode", "payload=7\n");
    KvImportResult result = Import(path);
    ASSERT_TRUE(Succeeded(result.m_Result));
    KvResource* pResource = result.m_pResource.Get();
    EXPECT_EQ(pResource->GetName(), "sub\\level.one");
    EXPECT_EQ(pResource->GetClassType()->m_strName, "KvTestResource_Node");
    auto* pNode = static_cast<KvTestNode*>(pResource->GetRawData());
    EXPECT_EQ(pNode->m_strName, "sub\\level.one");
    EXPECT_EQ(pNode->m_pRunResource, pResource);
    EXPECT_EQ(pNode->m_ulRuntimeOnly, 1234u);
    ASSERT_NE(pResource->GetPayload(), nullptr);
    EXPECT_EQ(static_cast<KvTestPayload*>(pResource->GetPayload())->m_slValue, 7);
}

// The resource stays, without data; the payload made before the failure is released (checked by
// the sanitizer build).
TEST_F(ResourceHost, Import_FailureKeepsTheResourceAndReleasesThePayload)
{
    KvImportResult result = Import(WriteSource("broken.tnode", "payload=1\nfail\n"));
    EXPECT_FALSE(result.Succeeded());
    ASSERT_NE(result.m_pResource.Get(), nullptr);
    EXPECT_EQ(result.m_pResource->GetRawData(), nullptr);
}

// The test plug-in's sources, each as tests/data/host/import describes it: failure reasons and the
// importer a shared extension goes to.
TEST_P(ImportCase, GivesWhatTheCaseExpects)
{
    Run(PluginHost());
}

INSTANTIATE_TEST_SUITE_P(Sources, ImportCase, ::testing::ValuesIn(ImportCase::All("host/import")),
                         ImportCase::NameOf);

// A reference resolves to a loaded target; placeholders stand for objects not loaded and no
// reference resolves to one, neither to another of the same import nor to one another import holds.
TEST_F(ResourceHost, Import_PlaceholdersOnlyForTargetsNotLoaded)
{
    KvTestTarget real;
    real.m_strName = "hero";
    KvImportResult loaded = Import(WriteSource("refers.tnode", "target=hero\n"));
    ASSERT_TRUE(loaded.Succeeded());
    EXPECT_TRUE(loaded.m_aPlaceholders.empty());
    EXPECT_EQ(static_cast<KvTestNode*>(loaded.m_pResource->GetRawData())->m_pTarget, &real);

    KvImportResult earlier = Import(WriteSource("earlier.tnode", "target=villain\n"));
    KvImportResult result = Import(WriteSource("twice.tnode", "target=villain\ntarget=villain\n"));
    ASSERT_TRUE(earlier.Succeeded() && result.Succeeded());
    ASSERT_EQ(result.m_aPlaceholders.size(), 2u);
    EXPECT_EQ(static_cast<KvTestNode*>(result.m_pResource->GetRawData())->m_pTarget,
              result.m_aPlaceholders[1].first);
}

TEST(ResourceName, RelativeToTheRootWithBackslashes)
{
    EXPECT_EQ(KvImportDriver::GetResourceName("/p/src/a/b/c.dds", "/p/src"), "a\\b\\c.dds");
    EXPECT_EQ(KvImportDriver::GetResourceName("/p/src/c.dds", "/p/src/"), "c.dds");
    EXPECT_EQ(KvImportDriver::GetResourceName("/elsewhere/c.dds", "/p/src"), "c.dds");
    EXPECT_EQ(KvImportDriver::GetResourceName("/p/src/./a/../c.dds", ""), "c.dds");
    const std::string current = fs::current_path().string();
    EXPECT_EQ(KvImportDriver::GetResourceName(current + "/a/c.dds", "."), "a\\c.dds");
    EXPECT_EQ(KvImportDriver::GetResourceName("a/c.dds", current), "a\\c.dds");
}

TEST(ResourceName, StaysInsideTheProjectFolder)
{
    for (const auto& name : TestDataTable("host/resource_names.json", "accepted"))
        EXPECT_TRUE(Succeeded(KvProjectStore::CheckResourceName(name))) << name;
    for (const auto& row : TestDataTable("host/resource_names.json", "refused"))
        EXPECT_EQ(KvProjectStore::CheckResourceName(row[0]).GetReason(),
                  "refused resource name '" + row[0].get<std::string>() + "': " + row[1].get<std::string>());
}

TEST(ImporterBase, ResourceNameLosesTheExtensionOnce)
{
    class Minimal : public KvResourceImporter
    {
    public:
        const KvResourceDescriptor* GetResourceType() const override { return nullptr; }
        const char* GetExtension() const override { return "dds"; }
        void* ConvertToRaw(void*&, KvResource*, KvIOStream*, void*) override { return nullptr; }
    } importer;
    std::string name = "textures\\wall.dds";
    EXPECT_TRUE(importer.ConvertResourceName(name));
    EXPECT_EQ(name, "textures\\wall");
    EXPECT_FALSE(importer.ConvertResourceName(name));
    std::string dotted = "v1.2\\wall";
    EXPECT_FALSE(importer.ConvertResourceName(dotted));
    EXPECT_EQ(dotted, "v1.2\\wall");
    EXPECT_EQ(importer.GetOriginalFileName("textures\\wall"), "textures\\wall.dds");
}

// Rows: a reason, its one line, its one line with the sites.
TEST(Result, OneLineReasonDropsSitesUnlessAsked)
{
    for (const auto& row : TestDataJson("host/one_line_reasons.json"))
    {
        const KvResult failure = KvResult::Failure(row[0].get<std::string>());
        EXPECT_EQ(failure.GetOneLineReason(), row[1]);
        EXPECT_EQ(failure.GetOneLineReason(true), row[2]);
    }
}
