#include "Foundation/KvError_Globals.h"
#include "IO/KvIOStream_Memory.h"
#include "TypeManager/KvTypeManager.h"
#include "host/KvBatchImport.h"
#include "host/KvImportDriver.h"
#include "host/KvProjectStore.h"
#include "host/KvResourceHost.h"
#include "host/KvResultAssertion.h"
#include "host/KvSavedProject.h"
#include "host/KvTestFolder.h"
#include "model/KvTestModel.h"
#include "resources/KvResourceDescriptor.h"
#include "store/KvJsonStore.h"
#include "support/KvTestReports.h"

namespace fs = std::filesystem;

namespace
{
// One host with the test plug-in for the whole suite: modules stay loaded for the process.
KvResourceHost& Host()
{
    static KvResourceHost* s_pHost = []
    {
        auto* pHost = new KvResourceHost();
        EXPECT_TRUE(Succeeded(pHost->LoadPlugin(KV_TEST_PLUGIN_PATH)));
        return pHost;
    }();
    return *s_pHost;
}

class ResourceHost : public TestFolder
{
protected:
    std::string WriteSource(const std::string& relative, const std::string& text) const
    {
        return Write("sources/" + relative, text);
    }

    KvImportResult Import(const std::string& path, const std::string& type = "") const
    {
        return KvImportDriver(Host()).Import({path, Path("sources"), type});
    }
};
} // namespace

TEST_F(ResourceHost, Plugin_RegistersItsTypesImportersBinderAndCooker)
{
    KvResourceHost& host = Host();
    ASSERT_EQ(host.GetDescriptors().GetDescriptors().size(), 4u);
    EXPECT_STREQ(host.GetDescriptors().GetDescriptors()[0]->GetTypeName(), "TestNode");
    EXPECT_EQ(host.GetDescriptors().FindByShortName("tnode"), host.GetDescriptors().GetDescriptors()[0]);
    EXPECT_EQ(host.GetDescriptors().FindByTypeName("Rendering_Mesh"),
              host.GetDescriptors().FindByShortName("mesh"));
    EXPECT_EQ(host.GetImporters().FindByExtension("XML").size(), 2u);
    ASSERT_EQ(host.GetUnregisteredImporters().GetImporters().size(), 1u);
    EXPECT_EQ(host.GetUnregisteredImporters().GetImporters()[0]->GetResourceType(),
              host.GetDescriptors().FindByShortName("mesh"));
    EXPECT_EQ(host.GetBinders().GetCount(), 1u);
    EXPECT_EQ(host.GetCookers().GetCount(), 1u);
    ASSERT_EQ(host.GetUnregisteredDescriptors().size(), 1u);
    EXPECT_STREQ(host.GetUnregisteredDescriptors()[0]->GetTypeName(), "TestUnregistered");
    EXPECT_EQ(host.GetDescriptors().FindByTypeName("TestUnregistered"), nullptr);
    EXPECT_NE(host.GetCookers().FindByResourceType(host.GetDescriptors().FindByShortName("tnode")), nullptr);
}

// Strings are bytes: one that is not UTF-8 is cooked in the store's readable form.
TEST_F(ResourceHost, PassthroughCooker_WritesNonUtf8Text)
{
    KvResourceCooker* pCooker =
        Host().GetCookers().FindByResourceType(Host().GetDescriptors().FindByShortName("tnode"));
    ASSERT_NE(pCooker, nullptr);
    KvTestNode node;
    node.m_strName = "Caf\xe9";
    std::vector<char> buffer(4096);
    KvIOStream_Memory output(buffer.data(), static_cast<uint32_t>(buffer.size()));
    ASSERT_TRUE(pCooker->Cook(&node, 0, output));
    const auto cooked = KvJsonStore::Json::parse(std::string(buffer.data(), output.Tell()));
    EXPECT_EQ(cooked["m_strName"], KvJsonStore::Json({{"$latin1", "Caf\xc3\xa9"}}));
}

TEST_F(ResourceHost, Plugin_InitialisedAgainKeepsDescriptorsOnce)
{
    KvResourceHost host;
    ASSERT_TRUE(Succeeded(host.LoadPlugin(KV_TEST_PLUGIN_PATH)));
    ASSERT_TRUE(Succeeded(host.LoadPlugin(KV_TEST_PLUGIN_PATH)));
    EXPECT_EQ(host.GetDescriptors().GetDescriptors().size(), 4u);
    EXPECT_EQ(host.GetImporters().GetImporters().size(), 6u);
    EXPECT_EQ(host.GetUnregisteredDescriptors().size(), 1u);
    EXPECT_EQ(host.GetDescriptors().GetDescriptors()[0], Host().GetDescriptors().GetDescriptors()[0]);
}

TEST_F(ResourceHost, Modules_MissingFileOrEntryPointsAreReported)
{
    KvResourceHost host;
    const KvResult missing = host.LoadPlugin((m_Folder / "none.so").string());
    EXPECT_FALSE(missing);
    EXPECT_THAT(missing.GetReason(), ::testing::HasSubstr("cannot load module"));
    const KvResult notAPlugin = host.LoadPlugin(KV_TEST_GAME_MODULE_PATH);
    EXPECT_FALSE(notAPlugin);
    EXPECT_EQ(notAPlugin.GetReason(),
              "module '" KV_TEST_GAME_MODULE_PATH "' has no entry point KvCreateResourcePlugin");
    const KvResult notAGameModule = host.LoadGameModule(KV_TEST_PLUGIN_PATH);
    EXPECT_FALSE(notAGameModule);
    EXPECT_EQ(notAGameModule.GetReason(),
              "module '" KV_TEST_PLUGIN_PATH "' has no entry point KvRegisterGameTypes");
}

TEST_F(ResourceHost, Modules_StartUpFailureIsReportedWithItsReason)
{
    RaisingFatalErrors raising;
    KvResourceHost host;
    const std::string expected =
        ExpectedReport("module\\KvTestFailingModule", "KvTestFailingModule::Start", 1, "Cannot start");
    const KvResult plugin = host.LoadPlugin(KV_TEST_FAILING_MODULE_PATH);
    EXPECT_EQ(plugin.GetReason(), "module '" KV_TEST_FAILING_MODULE_PATH "' failed to start: " + expected);
    const KvResult game = host.LoadGameModule(KV_TEST_FAILING_MODULE_PATH);
    EXPECT_EQ(game.GetReason(), "module '" KV_TEST_FAILING_MODULE_PATH "' failed to start: " + expected);
}

TEST_F(ResourceHost, GameModule_RegistersItsClasses)
{
    ASSERT_TRUE(Succeeded(Host().LoadGameModule(KV_TEST_GAME_MODULE_PATH)));
    KvTypeInfo* pType = KvTypeManager::GetInstance()->FindType("KvTestGameCode");
    ASSERT_NE(pType, nullptr);
    EXPECT_EQ(pType->m_pParent->m_strName, "KvTypedObject");
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

TEST_F(ResourceHost, Import_FailureKeepsTheLoggedReasonAndReleasesThePayload)
{
    const std::string path = WriteSource("broken.tnode", "payload=1\nfail\n");
    KvImportResult result = Import(path);
    EXPECT_FALSE(result.Succeeded());
    EXPECT_EQ(result.m_Result.GetReason(),
              ExpectedReport("importers\\KvTestImporter", "NodeImporter::ConvertToRaw", 10,
                             "Cannot import file " + path));
    ASSERT_NE(result.m_pResource.Get(), nullptr);
    EXPECT_EQ(result.m_pResource->GetRawData(), nullptr);
}

TEST_F(ResourceHost, Import_FailureReasonIsEveryReportLoggedThenTheHostsOwn)
{
    const std::string path = Path("sources/reported.tnode");
    const auto report = [&](int line, const std::string& message)
    {
        return ExpectedReport("importers\\KvTestImporter", "NodeImporter::ConvertToRaw", line,
                              message + path);
    };
    const std::string warning = report(30, "Odd line in ");
    const struct
    {
        const char* m_Text;
        std::string m_Expected;
    } cases[] = {{"silent\n", "the importer made nothing and logged no reason"},
                 {"warn\nfail\n", warning + "\n" + report(10, "Cannot import file ")},
                 {"warn\nthrow=bad_alloc\n", warning + "\nout of memory"},
                 {"warn\nfatal\n", warning + "\n" + report(20, "Broken file ")}};
    RaisingFatalErrors raising;
    for (const auto& row : cases)
        EXPECT_EQ(Import(WriteSource("reported.tnode", row.m_Text)).m_Result.GetReason(), row.m_Expected)
            << row.m_Text;
}

TEST_F(ResourceHost, Import_FatalErrorFailsTheFileWhenTheHostAsks)
{
    const std::string path = WriteSource("fatal.tnode", "fatal\n");
    KvImportResult result = [&]
    {
        RaisingFatalErrors raising;
        return Import(path);
    }();
    EXPECT_EQ(
        result.m_Result.GetReason(),
        ExpectedReport("importers\\KvTestImporter", "NodeImporter::ConvertToRaw", 20, "Broken file " + path));
}

TEST_F(ResourceHost, Import_AnythingThrownFailsTheFileWithItsReason)
{
    const struct
    {
        const char* m_Kind;
        const char* m_Expected;
    } cases[] = {{"bad_alloc", "out of memory"},
                 {"length_error", "a size beyond the limits: vector::reserve"},
                 {"filesystem_error", "filesystem error: cannot stat: Permission denied [/gone]"},
                 {"runtime_error", "unexpected error: bad state"},
                 {"int", "unexpected error of an unknown kind"}};
    for (const auto& row : cases)
    {
        KvImportResult result =
            Import(WriteSource("thrown.tnode", std::string("throw=") + row.m_Kind + "\n"));
        EXPECT_EQ(result.m_Result.GetReason(), row.m_Expected);
    }
}

TEST_F(ResourceHost, Import_UnknownExtensionAndUnreadableFile)
{
    EXPECT_EQ(Import(WriteSource("notes.txt", "x")).m_Result.GetReason(),
              "no importer handles the extension 'txt'");
    const std::string missing = (m_Folder / "sources" / "missing.tnode").string();
    EXPECT_EQ(Import(missing).m_Result.GetReason(), "cannot open '" + missing + "'");
}

TEST_F(ResourceHost, HandlesExtensionOf_IgnoresCaseAndFolders)
{
    const KvImportDriver driver(Host());
    EXPECT_TRUE(driver.HandlesExtensionOf("a/b.tnode"));
    EXPECT_TRUE(driver.HandlesExtensionOf("a/B.TNODE"));
    EXPECT_FALSE(driver.HandlesExtensionOf("a.tnode/readme"));
    EXPECT_FALSE(driver.HandlesExtensionOf("a/notes.txt"));
    EXPECT_FALSE(driver.HandlesExtensionOf("a/.tnode.bak"));
}

TEST_F(ResourceHost, Import_SharedExtensionGoesToTheFirstImporterThatRecognisesTheSource)
{
    const struct
    {
        const char* m_File;
        const char* m_Text;
        const char* m_Expected;
    } cases[] = {{"source.xml", "<particlelayer/>", "Rendering_ParticleSystem"},
                 {"source.xml", "<Mesh><Materials/></Mesh>", "Rendering_Mesh"},
                 {"source.xml", "<InputMap><Command/></InputMap>", "InputTranslator"},
                 // Recognised by the particle and the mesh importers: a registered one wins.
                 {"source.xml", "<particlelayer><Materials/></particlelayer>", "Rendering_ParticleSystem"},
                 {"SOURCE.XML", "<Mesh><Materials/></Mesh>", "Rendering_Mesh"}};
    for (const auto& row : cases)
    {
        KvImportResult result = Import(WriteSource(row.m_File, row.m_Text));
        ASSERT_TRUE(Succeeded(result.m_Result)) << row.m_Text;
        EXPECT_EQ(static_cast<KvTestNode*>(result.m_pResource->GetRawData())->m_strName, row.m_Expected);
    }
}

TEST_F(ResourceHost, Import_SourceNoImporterRecognisesFailsWithTheReason)
{
    EXPECT_EQ(
        Import(WriteSource("comment.xml", "<!-- no element -->")).m_Result.GetReason(),
        "no importer of 'xml' files recognises the file (asked: InputTranslator, Rendering_ParticleSystem, "
        "Rendering_Mesh)");
    RaisingFatalErrors raising;
    EXPECT_EQ(Import(WriteSource("broken.xml", "<a><b>")).m_Result.GetReason(),
              ExpectedReport("Toolbox\\KvToolboxXML", "rapidxml::parse_error_handler", 24,
                             "Parse error : unexpected end of data with ''"));
}

TEST_F(ResourceHost, Import_RequestedTypeOverridesRecognition)
{
    for (const char* text : {"<particlelayer/>", "<a><b>"})
    {
        KvImportResult forced = Import(WriteSource("forced.xml", text), "mesh");
        ASSERT_TRUE(Succeeded(forced.m_Result)) << text;
        EXPECT_EQ(static_cast<KvTestNode*>(forced.m_pResource->GetRawData())->m_strName, "Rendering_Mesh");
    }
    EXPECT_EQ(Import(WriteSource("forced.xml", "<a/>"), "texture").m_Result.GetReason(),
              "no importer of 'xml' files makes resources of type 'texture'");
}

TEST_F(ResourceHost, Import_PlaceholderResolvedToALoadedTarget)
{
    KvTestTarget real;
    real.m_strName = "hero";
    KvImportResult result = Import(WriteSource("refers.tnode", "target=hero\n"));
    ASSERT_TRUE(result.Succeeded());
    EXPECT_TRUE(result.m_aPlaceholders.empty());
    EXPECT_EQ(static_cast<KvTestNode*>(result.m_pResource->GetRawData())->m_pTarget, &real);
}

// Placeholders stand for objects not loaded: no reference resolves to one, neither to another
// of the same import nor to one another import still holds.
TEST_F(ResourceHost, Import_PlaceholdersAreNoTargets)
{
    KvImportResult earlier = Import(WriteSource("earlier.tnode", "target=villain\n"));
    KvImportResult result = Import(WriteSource("twice.tnode", "target=villain\ntarget=villain\n"));
    ASSERT_TRUE(earlier.Succeeded() && result.Succeeded());
    ASSERT_EQ(result.m_aPlaceholders.size(), 2u);
    EXPECT_EQ(static_cast<KvTestNode*>(result.m_pResource->GetRawData())->m_pTarget,
              result.m_aPlaceholders[1].first);
}

TEST_F(ResourceHost, Import_PlaceholderKeptAndSavedByName)
{
    KvImportResult result = Import(WriteSource("sub/refers.tnode", "target=villain\npayload=3\n"));
    ASSERT_TRUE(result.Succeeded());
    ASSERT_EQ(result.m_aPlaceholders.size(), 1u);
    std::vector<std::string> written;
    const KvProjectStore project((m_Folder / "project").string());
    ASSERT_TRUE(Succeeded(project.Save(*result.m_pResource, result.GetPlaceholderAddresses(), written)));
    ASSERT_EQ(written.size(), 2u);
    EXPECT_EQ(written[0], (m_Folder / "project" / "sub" / "refers.tnode.json").string());
    EXPECT_EQ(written[1], (m_Folder / "project" / "sub" / "refers.tnode.payload.json").string());
    std::ifstream raw(written[0]);
    const KvJsonStore::Json saved = KvJsonStore::Json::parse(raw);
    EXPECT_EQ(saved["m_pTarget"].dump(), R"({"$xref":"KvTestTarget","name":"villain"})");
    EXPECT_EQ(saved["m_strName"], "sub\\refers");
}

// A placeholder whose target a project file of the resource of its name holds is saved with
// that target's GUID; the others by name only, and names that leave the project are not followed.
TEST_F(ResourceHost, BatchImport_PlaceholdersResolvedAgainstTheProject)
{
    const KvGuid guid = KvGuid::GenerateNew();
    const auto target = [](const std::string& name, const KvGuid& id)
    {
        return KvJsonStore::Json{
            {"$type", "KvTestNode"},
            {"m_aRecords", {{{"$type", "KvTestTarget"}, {"m_strName", name}, {"m_XRefGUID", id.ToString()}}}}}
            .dump();
    };
    Write("project/heroes/hero.tnode.json", target("heroes\\hero", guid));
    Write("project/heroes/hero.tnode.payload.json", target("heroes\\villain", guid));
    Write("outside.tnode.json", target("..\\outside", guid));
    KvImportDriver driver(Host());
    const KvProjectStore project(Path("project"));
    KvSavedProject saved(Path("project"), Host().GetDescriptors());
    KvBatchImport batch(driver, project, saved);
    const std::pair<const char*, KvJsonStore::Json> rows[] = {
        {"heroes\\hero", {{"$xref", "KvTestTarget"}, {"name", "heroes\\hero"}, {"guid", guid.ToString()}}},
        {"heroes\\villain", {{"$xref", "KvTestTarget"}, {"name", "heroes\\villain"}}},
        {"..\\outside", {{"$xref", "KvTestTarget"}, {"name", "..\\outside"}}},
    };
    int index = 0;
    for (const auto& [name, expected] : rows)
    {
        tImportedFile imported;
        const std::string source =
            WriteSource("refers" + std::to_string(index++) + ".tnode", std::string("target=") + name + "\n");
        ASSERT_TRUE(Succeeded(batch.ImportFile({source, Path("sources"), ""}, imported)));
        std::ifstream file(imported.m_aWritten.at(0));
        EXPECT_EQ(KvJsonStore::Json::parse(file)["m_pTarget"], expected) << name;
    }
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
    for (const char* name : {"wall", "textures\\wall", "a/b\\c", "v1.2\\wall", "..wall\\a..b"})
        EXPECT_TRUE(Succeeded(KvProjectStore::CheckResourceName(name))) << name;
    const struct
    {
        const char* m_Name;
        const char* m_Why;
    } refused[] = {{"", "it is empty"},
                   {"\\var\\x\\ABS", "it is absolute"},
                   {"C:\\x", "it names a drive"},
                   {"..\\x", "it climbs out with '..'"},
                   {"link\\..\\..\\x", "it climbs out with '..'"},
                   {"a\\\\b", "it has an empty or '.' component"},
                   {"a\\.\\b", "it has an empty or '.' component"},
                   {"a\\", "it has an empty or '.' component"}};
    for (const auto& row : refused)
    {
        const KvResult checked = KvProjectStore::CheckResourceName(row.m_Name);
        EXPECT_FALSE(checked);
        EXPECT_EQ(checked.GetReason(),
                  "refused resource name '" + std::string(row.m_Name) + "': " + row.m_Why);
    }
}

TEST(ImporterBase, DefaultSlots)
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
    EXPECT_TRUE(importer.ShouldCreateResource());
    std::vector<KvTempXRef> references;
    importer.AppendTempXRef(references);
    EXPECT_TRUE(references.empty());
    std::string stamp = "x";
    importer.GetMinimumTimeStampFile(stamp);
    EXPECT_EQ(stamp, "");
    importer.AddReferenceImporter(&importer);
    EXPECT_EQ(importer.GetReferenceImporters().size(), 1u);
}
