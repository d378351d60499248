#pragma once

#include "host/KvImportDriver.h"
#include "host/KvResourceHost.h"
#include "host/KvSavedProject.h"
#include "resources/KvResourceDescriptor.h"
#include "store/KvJsonStore.h"
#include "support/KvPluginHost.h"
#include "support/KvTestData.h"
#include "support/KvTestReports.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

// Sources imported by the suite's host as `kvres` imports them (fatal errors raised to it), each
// checked against what its case expects. A file tests/data/<folder>/<kind>.json is a list of cases:
//   "name"    the case's name in the test's
//   "source"  the file's path below the source root: the extension picks the importer, the
//             rest is the resource name
//   "type"    the resource type asked for, as `kvres import --type` asks
//   "text"    the file's text, or pieces of it where [piece, n] stands for n copies of the piece;
//             or "file": a fixture in the folder
//   "project" a saved project in the folder whose resources the import updates
//   "expect"  JSON pointer -> value, into the document `kvres show --bind` prints
//   "near"    JSON pointer -> numbers, each within 1e-3 of the number there
//   "same"    JSON pointer -> another, whose value is the same
//   "count"   JSON pointer -> the number of elements there
//   "placeholders"  "<type>:<name>" of each placeholder handed over, in order
//   "failure" the report that fails the import: in its reason and the last report logged
//   "reason"  the whole reason a failed import gives
//   "log"     every report the import logs (before the failure's), each [file, function, message]
//   "fatal"   the fatal report that ends the process when fatal errors are not raised
// A report is [file, function, message]; in a message or reason "{source}" is the source's path.
struct tImportCase
{
    std::string m_strFolder;
    std::string m_strName;
    KvJsonStore::Json m_Case;
};

inline void PrintTo(const tImportCase& test, std::ostream* pOut)
{
    *pOut << test.m_strName;
}

class ImportCase : public TestFolder, public ::testing::WithParamInterface<tImportCase>
{
public:
    using Json = KvJsonStore::Json;

    // Every case of the files of a data folder, named "<kind>_<name>".
    static std::vector<tImportCase> All(const std::string& folder)
    {
        std::vector<std::filesystem::path> files;
        for (const auto& entry : std::filesystem::directory_iterator(TestDataPath(folder)))
            if (entry.path().extension() == ".json")
                files.push_back(entry.path());
        std::sort(files.begin(), files.end());
        std::vector<tImportCase> cases;
        for (const std::filesystem::path& file : files)
            for (const Json& test : TestDataJson(folder + "/" + file.filename().string()))
                cases.push_back({folder, file.stem().string() + "_" + test["name"].get<std::string>(), test});
        return cases;
    }
    static std::string NameOf(const ::testing::TestParamInfo<tImportCase>& row)
    {
        return row.param.m_strName;
    }

protected:
    static void SetUpTestSuite() { LoadGameModule(); }

    // Imports the case's source through the host and checks what the case expects.
    void Run(KvResourceHost& host)
    {
        const Json& test = GetParam().m_Case;
        const std::string folder = GetParam().m_strFolder + "/";
        m_strSource = Write(test.at("source").get<std::string>(),
                            test.contains("file") ? TestDataText(folder + test["file"].get<std::string>())
                                                  : TextOf(test.at("text")));
        std::optional<KvSavedProject> project;
        if (test.contains("project"))
            project.emplace(TestDataPath(folder + test["project"].get<std::string>()), host.GetDescriptors());
        const auto import = [&]
        {
            return KvImportDriver(host).Import({m_strSource, m_Folder.string(), test.value("type", "")},
                                               project ? &*project : nullptr);
        };
        if (test.contains("fatal"))
        {
            EXPECT_EXIT(import(), ::testing::ExitedWithCode(255), IsReport(test["fatal"]));
            return;
        }
        RecordingLog log;
        const KvImportResult result = [&]
        {
            RaisingFatalErrors raising;
            return import();
        }();
        const bool bFails = test.contains("failure") || test.contains("reason");
        ASSERT_EQ(result.Succeeded(), !bFails) << result.m_Result.GetReason();
        if (bFails)
            CheckFailure(result, test, log.m_aEntries);
        else
            CheckShown(host, result, test);
        if (!test.contains("log"))
            return;
        ASSERT_EQ(log.m_aEntries.size(), test["log"].size());
        for (size_t index = 0; index < log.m_aEntries.size(); ++index)
            EXPECT_THAT(log.m_aEntries[index].m_strMessage, IsReport(test["log"][index]));
    }

private:
    static std::string TextOf(const Json& text)
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

    std::string Substituted(std::string text) const
    {
        for (size_t at = text.find("{source}"); at != std::string::npos; at = text.find("{source}", at))
            text.replace(at, 8, m_strSource);
        return text;
    }

    ::testing::Matcher<const std::string&> IsReport(const Json& report) const
    {
        return ContainsReportFrom(report.at(0).get<std::string>(), report.at(1).get<std::string>(),
                                  Substituted(report.at(2)));
    }

    // What `kvres show --bind` prints of an import.
    static Json Shown(KvResourceHost& host, const KvImportResult& result)
    {
        const KvResource& resource = *result.m_pResource;
        const KvResourceDescriptor& descriptor = *resource.GetDescriptor();
        const KvResourceBinder* pBinder = host.GetBinders().FindByResourceType(&descriptor);
        const KvBoundObject bound =
            pBinder ? pBinder->GetBoundObject(resource.GetRawData()) : KvBoundObject();
        Json placeholders = Json::array();
        for (const auto& [pObject, pType] : result.m_aPlaceholders)
            placeholders.push_back(KvJsonStore::Save(pType, pObject));
        const bool bPayload = resource.GetPayload() && descriptor.GetPayloadDataType();
        return {{"name", resource.GetName()},
                {"resourceType", descriptor.GetTypeName()},
                {"raw", KvJsonStore::Save(descriptor.GetRootDataType(), resource.GetRawData(),
                                          result.GetPlaceholderAddresses())},
                {"bound", bound.m_pObject ? KvJsonStore::Save(bound.m_pType, bound.m_pObject) : Json()},
                {"payload", bPayload
                                ? KvJsonStore::Save(descriptor.GetPayloadDataType(), resource.GetPayload())
                                : Json()},
                {"placeholders", placeholders}};
    }

    // The failure's report ends the log; it is taken off, leaving the reports before it.
    void CheckFailure(const KvImportResult& result, const Json& test,
                      std::vector<RecordingLog::Entry>& logged) const
    {
        EXPECT_TRUE(result.m_aPlaceholders.empty());
        if (test.contains("reason"))
        {
            EXPECT_EQ(result.m_Result.GetReason(), Substituted(test["reason"]));
        }
        if (!test.contains("failure"))
            return;
        EXPECT_THAT(result.m_Result.GetReason(), IsReport(test["failure"]));
        ASSERT_FALSE(logged.empty());
        EXPECT_THAT(logged.back().m_strMessage, IsReport(test["failure"]));
        logged.pop_back();
    }

    static void CheckShown(KvResourceHost& host, const KvImportResult& result, const Json& test)
    {
        const Json shown = Shown(host, result);
        const Json expectations = test.value("expect", Json::object());
        for (const auto& [pointer, expected] : expectations.items())
            EXPECT_TRUE(JsonEqual(shown.at(Json::json_pointer(pointer)), expected)) << pointer;
        const Json same = test.value("same", Json::object());
        for (const auto& [pointer, other] : same.items())
            EXPECT_TRUE(JsonEqual(shown.at(Json::json_pointer(pointer)), shown.at(Json::json_pointer(other))))
                << pointer;
        const Json near = test.value("near", Json::object());
        for (const auto& [pointer, expected] : near.items())
            for (size_t index = 0; index < expected.size(); ++index)
                EXPECT_NEAR(shown.at(Json::json_pointer(pointer)).at(index), expected[index], 1e-3)
                    << pointer;
        const Json counts = test.value("count", Json::object());
        for (const auto& [pointer, expected] : counts.items())
            EXPECT_EQ(shown.at(Json::json_pointer(pointer)).size(), expected) << pointer;
        Json placeholders = Json::array();
        for (const Json& placeholder : shown["placeholders"])
            placeholders.push_back(placeholder["$type"].get<std::string>() + ":" +
                                   placeholder.value("m_strName", ""));
        EXPECT_EQ(placeholders, test.value("placeholders", placeholders));
    }

    std::string m_strSource;
};
