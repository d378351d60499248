#include "IO/KvIOStream_Memory.h"
#include "support/KvTestReports.h"
#include "testaccess/KvFoundationTestAccess.h"

#include <gtest/gtest.h>
#include <map>
#include <string>

namespace
{
// Records the named integers written, and answers `m_iAnswer` in their place when it is set.
class MapBackend : public KvArchiveBackend
{
public:
    void SerializeInt32(const char* name, int32_t& value) override
    {
        m_Values[name] = value;
        if (m_iAnswer)
            value = m_iAnswer;
    }

    int32_t m_iAnswer = 0;
    std::map<std::string, int32_t> m_Values;
};
} // namespace

TEST(Archive, SaveWritesVersion1)
{
    MapBackend backend;
    KvArchive archive(KvArchive::MODE_SAVE, &backend);
    KvIOStream_Memory().Serialize(archive);
    EXPECT_EQ(backend.m_Values["Version"], 1);
}

// Only a load of a newer version reports, and goes on; a save never checks what it wrote.
TEST(Archive, NewerVersion_ReportedOnlyWhileLoading)
{
    const std::string newer = ExpectedReport("IO\\KvArchive", "KvArchive::Error", 67,
                                             "Archive error: Archive version (2) is larger than current game "
                                             "version (1)");
    const std::tuple<KvArchive::tMode, int32_t, std::string> rows[] = {
        {KvArchive::MODE_LOAD, 2, newer}, {KvArchive::MODE_LOAD, 1, ""}, {KvArchive::MODE_SAVE, 2, ""}};
    for (const auto& [mode, version, report] : rows)
    {
        MapBackend backend;
        backend.m_iAnswer = version;
        KvArchive archive(mode, &backend);
        RecordingLog log;
        KvIOStream_Memory().Serialize(archive);
        ASSERT_EQ(log.m_aEntries.size(), report.empty() ? 0u : 1u);
        for (const RecordingLog::Entry& entry : log.m_aEntries)
            EXPECT_EQ(std::pair(entry.m_strMessage, entry.m_uiLevel), std::pair(report, 3u));
    }
}
