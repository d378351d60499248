#include "host/KvImportDriver.h"
#include "resources/KvResourceDescriptor.h"
#include "store/KvJsonStore.h"
#include "support/KvPluginHost.h"
#include "support/KvTestData.h"
#include "support/KvTestReports.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace
{
using Json = KvJsonStore::Json;

// One source imported by the host as `kvres` imports it, and what the import must give. Each
// file tests/data/import/<kind>.json is a list of cases:
//   "name"    the case's name in the test's
//   "source"  the file's path below the source root: the extension picks the importer, the
//             rest is the resource name
//   "type"    the resource type asked for, as `kvres import --type` asks
//   "text"    the file's text, or pieces of it where [piece, n] stands for n copies of the piece;
//             or "file": a fixture below tests/data/import
//   "expect"  JSON pointer -> value, into the document `kvres show --bind` prints
//   "count"   JSON pointer -> the number of elements there
//   "placeholders"  "<type>:<name>" of each placeholder handed over, in order
//   "failure" the report that fails the import: its reason and the last report logged
//   "log"     every report the import logs (before the failure's), each [file, function, message]
//   "fatal"   the fatal report that ends the process, [file, function, message]
// In a message "{source}" stands for the source's path.
struct tImportCase
{
    std::string m_strName;
    Json m_Case;
};

void PrintTo(const tImportCase& test, std::ostream* pOut)
{
    *pOut << test.m_strName;
}

std::vector<tImportCase> ImportCases()
{
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(TestDataPath("import")))
        if (entry.path().extension() == ".json")
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    std::vector<tImportCase> cases;
    for (const std::filesystem::path& file : files)
        for (const Json& test : TestDataJson("import/" + file.filename().string()))
            cases.push_back({file.stem().string() + "_" + test["name"].get<std::string>(), test});
    return cases;
}

std::string TextOf(const Json& text)
{
    if (text.is_string())
        return text;
    std::string joined;
    for (const Json& piece : text)
    {
        for (size_t copies = piece.is_string() ? 1 : piece.at(1).get<size_t>(); copies > 0; --copies)
            joined += piece.is_string() ? piece.get<std::string>() : piece.at(0).get<std::string>();
    }
    return joined;
}

// What `kvres show --bind` prints of an import.
Json Shown(const KvImportResult& result)
{
    const KvResource& resource = *result.m_pResource;
    const KvResourceDescriptor& descriptor = *resource.GetDescriptor();
    const KvResourceBinder* pBinder = PluginHost().GetBinders().FindByResourceType(&descriptor);
    const KvBoundObject bound = pBinder ? pBinder->GetBoundObject(resource.GetRawData()) : KvBoundObject();
    Json placeholders = Json::array();
    for (const auto& [pObject, pType] : result.m_aPlaceholders)
        placeholders.push_back(KvJsonStore::Save(pType, pObject));
    const bool bPayload = resource.GetPayload() && descriptor.GetPayloadDataType();
    return {{"name", resource.GetName()},
            {"resourceType", descriptor.GetTypeName()},
            {"raw", KvJsonStore::Save(descriptor.GetRootDataType(), resource.GetRawData(),
                                      result.GetPlaceholderAddresses())},
            {"bound", bound.m_pObject ? KvJsonStore::Save(bound.m_pType, bound.m_pObject) : Json()},
            {"payload",
             bPayload ? KvJsonStore::Save(descriptor.GetPayloadDataType(), resource.GetPayload()) : Json()},
            {"placeholders", placeholders}};
}

::testing::Matcher<const std::string&> IsReport(const Json& report, const std::string& source)
{
    std::string message = report.at(2);
    if (const size_t at = message.find("{source}"); at != std::string::npos)
        message.replace(at, 8, source);
    return ContainsReportFrom(report.at(0).get<std::string>(), report.at(1).get<std::string>(), message);
}

class ImportCase : public TestFolder, public ::testing::WithParamInterface<tImportCase>
{
protected:
    static void SetUpTestSuite() { LoadGameModule(); }
};
} // namespace

TEST_P(ImportCase, GivesWhatTheCaseExpects)
{
    const Json& test = GetParam().m_Case;
    const std::string text = test.contains("file") ? TestDataText("import/" + test["file"].get<std::string>())
                                                   : TextOf(test.at("text"));
    const std::string path = Write(test.at("source").get<std::string>(), text);
    const auto import = [&]
    {
        return KvImportDriver(PluginHost()).Import({path, m_Folder.string(), test.value("type", "")});
    };
    if (test.contains("fatal"))
    {
        EXPECT_EXIT(import(), ::testing::ExitedWithCode(255), IsReport(test["fatal"], path));
        return;
    }
    RecordingLog log;
    const KvImportResult result = import();
    std::vector<RecordingLog::Entry>& logged = log.m_aEntries;
    if (test.contains("failure"))
    {
        EXPECT_FALSE(result.Succeeded());
        EXPECT_TRUE(result.m_aPlaceholders.empty());
        EXPECT_THAT(result.m_Result.GetReason(), IsReport(test["failure"], path));
        ASSERT_FALSE(logged.empty());
        EXPECT_THAT(logged.back().m_strMessage, IsReport(test["failure"], path));
        logged.pop_back();
    }
    else
    {
        ASSERT_TRUE(result.Succeeded()) << result.m_Result.GetReason();
        const Json shown = Shown(result);
        if (getenv("KV_SHOW_CASE"))
            std::cerr << shown.dump(1) << "\n";
        const Json expectations = test.value("expect", Json::object());
        for (const auto& [pointer, expected] : expectations.items())
            EXPECT_EQ(shown.at(Json::json_pointer(pointer)), expected) << pointer;
        const Json counts = test.value("count", Json::object());
        for (const auto& [pointer, expected] : counts.items())
            EXPECT_EQ(shown.at(Json::json_pointer(pointer)).size(), expected) << pointer;
        Json placeholders = Json::array();
        for (const Json& placeholder : shown["placeholders"])
            placeholders.push_back(placeholder["$type"].get<std::string>() + ":" +
                                   placeholder.value("m_strName", ""));
        EXPECT_EQ(placeholders, test.value("placeholders", placeholders));
    }
    if (!test.contains("log"))
        return;
    ASSERT_EQ(logged.size(), test["log"].size());
    for (size_t index = 0; index < logged.size(); ++index)
        EXPECT_THAT(logged[index].m_strMessage, IsReport(test["log"][index], path));
}

INSTANTIATE_TEST_SUITE_P(Sources, ImportCase, ::testing::ValuesIn(ImportCases()),
                         [](const ::testing::TestParamInfo<tImportCase>& row)
                         { return row.param.m_strName; });
