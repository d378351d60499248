#include "host/KvBlobStore.h"
#include "host/KvImportDriver.h"
#include "host/KvProjectStore.h"
#include "host/KvSavedProject.h"
#include "store/KvBlobSink.h"
#include "store/KvJsonStore.h"
#include "support/KvPluginHost.h"
#include "support/KvResultAssertion.h"
#include "support/KvTestData.h"
#include "support/KvTestFolder.h"
#include "support/KvTestModel.h"
#include "support/KvTestReports.h"

namespace fs = std::filesystem;

namespace
{
class BlobStore : public TestFolder
{
protected:
    // Imports a node holding `size` bytes and saves it into the project; the save's result.
    KvResult SaveNode(const std::string& name, size_t size) const
    {
        const std::string source =
            Write("sources/" + name + ".tnode", "bytes=" + std::to_string(size) + "\n");
        KvImportResult imported = KvImportDriver(PluginHost()).Import({source, Path("sources"), ""});
        EXPECT_TRUE(imported.Succeeded());
        std::vector<std::string> written;
        return KvProjectStore(Path("project")).Save(*imported.m_pResource, {}, written);
    }

    KvJsonStore::Json SavedJson(const std::string& name) const
    {
        return KvJsonStore::Json::parse(Read("project/" + name + ".tnode.json"));
    }

    std::vector<fs::path> BlobFiles() const
    {
        std::vector<fs::path> files;
        if (fs::exists(Path("project/.kvblobs")))
            for (const auto& entry : fs::recursive_directory_iterator(Path("project/.kvblobs")))
                if (entry.is_regular_file())
                    files.push_back(entry.path());
        return files;
    }

    // The bytes of each node of the project, in its load order.
    std::vector<std::vector<uint8_t>> LoadedBytes() const
    {
        KvSavedProject project(Path("project"), PluginHost().GetDescriptors());
        std::vector<std::vector<uint8_t>> loaded;
        for (const KvSmartPtr<KvResource>& pResource : project.GetResources())
            loaded.push_back(static_cast<KvTestNode*>(pResource->GetRawData())->m_acBytes);
        return loaded;
    }

    static std::vector<uint8_t> Pattern(size_t size)
    {
        std::vector<uint8_t> bytes(size);
        for (size_t index = 0; index < size; ++index)
            bytes[index] = static_cast<uint8_t>(index % 251);
        return bytes;
    }
};
} // namespace

// Arrays below the threshold stay base64 in the document; from it on they are referenced blobs,
// stored once however many resources hold the same bytes, and every one reloads byte for byte.
TEST_F(BlobStore, Project_LargeArraysBecomeSharedBlobs)
{
    constexpr size_t kThreshold = KvBlobSink::kMinBlobSize;
    ASSERT_TRUE(Succeeded(SaveNode("small", kThreshold - 1)));
    EXPECT_TRUE(SavedJson("small")["m_acBytes"].is_string());
    EXPECT_TRUE(BlobFiles().empty());

    ASSERT_TRUE(Succeeded(SaveNode("large", kThreshold)));
    ASSERT_TRUE(Succeeded(SaveNode("same", kThreshold)));
    const KvJsonStore::Json reference = SavedJson("large")["m_acBytes"];
    EXPECT_EQ(reference, SavedJson("same")["m_acBytes"]);
    EXPECT_EQ(reference["size"], kThreshold);
    const std::vector<fs::path> blobs = BlobFiles();
    ASSERT_EQ(blobs.size(), 1u);
    EXPECT_EQ("sha256:" + blobs[0].parent_path().filename().string() + blobs[0].filename().string(),
              reference["$blob"]);

    EXPECT_EQ(LoadedBytes(), (std::vector<std::vector<uint8_t>>{Pattern(kThreshold), Pattern(kThreshold),
                                                                Pattern(kThreshold - 1)}));
}

// A blob that is gone, cut short or changed fails its document with the member's place and
// what is wrong; the project loads the rest.
TEST_F(BlobStore, Project_DamagedBlobIsALoadError)
{
    const struct
    {
        const char* m_pDamage;
        std::function<void(const fs::path&)> m_Damage;
        const char* m_pReason;
    } kRows[] = {
        {"missing", [](const fs::path& blob) { fs::remove(blob); }, ") is missing"},
        {"truncated", [](const fs::path& blob) { fs::resize_file(blob, 100); },
         ") holds 100 bytes, not 65536"},
        {"tampered",
         [](const fs::path& blob)
         {
             std::fstream file(blob, std::ios::in | std::ios::out | std::ios::binary);
             file.seekp(1000);
             file.put('\x7f');
         },
         ") does not hash to its name: it was changed or damaged"},
    };
    for (const auto& row : kRows)
    {
        fs::remove_all(Path("project"));
        ASSERT_TRUE(Succeeded(SaveNode("large", KvBlobSink::kMinBlobSize)));
        ASSERT_TRUE(Succeeded(SaveNode("small", 10)));
        row.m_Damage(BlobFiles().at(0));
        RecordingLog log;
        EXPECT_EQ(LoadedBytes(), (std::vector<std::vector<uint8_t>>{Pattern(10)})) << row.m_pDamage;
        ASSERT_EQ(log.m_aEntries.size(), 1u) << row.m_pDamage;
        EXPECT_THAT(log.m_aEntries[0].m_strMessage,
                    ::testing::AllOf(::testing::HasSubstr("large.tnode.json: /m_acBytes: blob sha256:"),
                                     ::testing::HasSubstr(row.m_pReason)))
            << row.m_pDamage;
    }
}

// A reference that is not well formed never names a file, and one without a store to read it
// from is refused. Rows: the reference, whether a store is given, the reason.
TEST_F(BlobStore, Load_MalformedOrUnresolvableReferenceRefused)
{
    const KvBlobStore blobs(Path("project"));
    for (const KvJsonStore::Json& row : TestDataJson("store/blob_references.json"))
    {
        RecordingLog log;
        const KvJsonStore::Json document = {{"$type", "KvTestNode"}, {"m_acBytes", row[0]}};
        EXPECT_EQ(KvJsonStore::Load(KvTestNode::GetReflectedDataType(), document, "doc", nullptr,
                                    row[1].get<bool>() ? &blobs : nullptr),
                  nullptr);
        ASSERT_EQ(log.m_aEntries.size(), 1u);
        EXPECT_THAT(log.m_aEntries[0].m_strMessage, ::testing::HasSubstr("doc: /m_acBytes: "));
        EXPECT_THAT(log.m_aEntries[0].m_strMessage, ::testing::HasSubstr(row[2].get<std::string>()))
            << row[0];
    }
}
