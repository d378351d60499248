#include "IO/KvIOStream_Memory.h"
#include "support/KvTestReports.h"
#include "testaccess/KvFoundationTestAccess.h"

#include <gtest/gtest.h>
#include <map>
#include <string>

namespace
{
// Holds named integers in memory.
class MapBackend : public KvArchiveBackend
{
public:
    explicit MapBackend(bool bLoading) : m_bLoading(bLoading) {}

    void SerializeInt32(const char* name, int32_t& value) override
    {
        if (m_bLoading)
            value = m_Values[name];
        else
            m_Values[name] = value;
    }

    bool m_bLoading;
    std::map<std::string, int32_t> m_Values;
};

const std::string kVersionError =
    ExpectedReport("IO\\KvArchive", "KvArchive::Error", 67,
                   "Archive error: Archive version (2) is larger than current game "
                   "version (1)");
} // namespace

TEST(Archive, SaveWritesVersion1)
{
    MapBackend backend(false);
    KvArchive archive(KvArchive::MODE_SAVE, &backend);
    KvIOStream_Memory object;
    object.Serialize(archive);
    EXPECT_EQ(backend.m_Values["Version"], 1);
}

TEST(Archive, LoadNewerVersion_ReportsAndGoesOn)
{
    MapBackend backend(true);
    backend.m_Values["Version"] = 2;
    KvArchive archive(KvArchive::MODE_LOAD, &backend);
    RecordingLog log;
    KvIOStream_Memory object;
    object.Serialize(archive);
    ASSERT_EQ(log.m_aEntries.size(), 1u);
    EXPECT_EQ(log.m_aEntries[0].m_strMessage, kVersionError);
    EXPECT_EQ(log.m_aEntries[0].m_uiLevel, 3u);
}

TEST(Archive, LoadCurrentVersion_Silent)
{
    MapBackend backend(true);
    backend.m_Values["Version"] = 1;
    KvArchive archive(KvArchive::MODE_LOAD, &backend);
    RecordingLog log;
    KvIOStream_Memory().Serialize(archive);
    EXPECT_TRUE(log.m_aEntries.empty());
}

TEST(Archive, SaveNeverReportsTheVersion)
{
    // A backend that answers 2 whatever is written: the check only applies while loading.
    class ForcingBackend : public KvArchiveBackend
    {
    public:
        void SerializeInt32(const char*, int32_t& value) override { value = 2; }
    } backend;
    KvArchive archive(KvArchive::MODE_SAVE, &backend);
    RecordingLog log;
    KvIOStream_Memory().Serialize(archive);
    EXPECT_TRUE(log.m_aEntries.empty());
}
