#include "Foundation/KvError_Globals.h"
#include "Foundation/KvFatalError.h"
#include "Foundation/KvLog.h"
#include "Foundation/KvReport.h"
#include "Foundation/KvSharedMemoryPtr.h"
#include "support/KvTestReports.h"
#include "testaccess/KvFoundationTestAccess.h"

#include <cstdio>
#include <gtest/gtest.h>

namespace
{
// A sink that shows what it received on standard error, for checks in a dying child.
class StderrLog : public KvLogInterface
{
public:
    void Write(const char* category, uint32_t level, const char* message) override
    {
        std::fprintf(stderr, "sink[%s|%u]%s\n", category, level, message);
    }
};
} // namespace

TEST(FatalError, Report_FormatsFileFunctionLineThenMessage)
{
    EXPECT_EQ(KvFormatReport({"IO\\KvArchive", "KvArchive::Error", 67}, "Archive error: %s", "x"),
              "IO\\KvArchive::KvArchive::Error(67)\n\tArchive error: x");
    // Reports longer than any inline buffer are kept whole.
    const std::string longText(2000, 'y');
    EXPECT_EQ(KvFormatReport({"f", "g", 1}, "%s", longText.c_str()).size(),
              std::string("f::g(1)\n\t").size() + 2000);
}

TEST(FatalError, DefaultSettings_LogsAtLevel4ShowsMessageBoxAndExits255)
{
    EXPECT_EXIT(
        {
            static StderrLog s_Sink;
            KvLog::AddInterface(&s_Sink);
            KvFatalError("Default", "the message");
        },
        ::testing::ExitedWithCode(255),
        ::testing::AllOf(::testing::HasSubstr("sink[Default|4]the message"),
                         ::testing::HasSubstr("[Fatal error!]\nthe message")));
}

TEST(FatalError, LogFanOut_SkipsNullSinksAndKeepsOrder)
{
    RecordingLog first;
    KvLog::GetContainer()->m_apInterfaces.push_back(nullptr);
    RecordingLog second;
    KvLog::Write("Default", 3, "one");
    std::erase(KvLog::GetContainer()->m_apInterfaces, nullptr);
    ASSERT_EQ(first.m_aEntries.size(), 1u);
    ASSERT_EQ(second.m_aEntries.size(), 1u);
    EXPECT_EQ(second.m_aEntries[0].m_strMessage, "one");
}

// The message is logged before the exception with the code and the report leaves.
TEST(FatalError, RaiseExceptionMode_LoggedThenRaisedToTheHost)
{
    RecordingLog log;
    EXPECT_EQ(RaisedFatalReport(
                  [] {
                      KvFatalReport({"IO\\KvIOStream_Memory", "KvIOStream_Memory::Seek", 48},
                                    "No buffer specified!");
                  }),
              ExpectedReport("IO\\KvIOStream_Memory", "KvIOStream_Memory::Seek", 48, "No buffer specified!"));
    ASSERT_EQ(log.m_aEntries.size(), 1u);
    EXPECT_EQ(log.m_aEntries[0].m_uiLevel, 4u);
}

TEST(FatalError, MessageBoxOff_NothingShown)
{
    EXPECT_EXIT(
        {
            KvError::GetGlobals()->m_bShowMessageBox = 0;
            KvFatalError("Default", "quiet message");
        },
        ::testing::ExitedWithCode(255), ::testing::Not(::testing::HasSubstr("quiet message")));
}

TEST(FatalError, NoLogContainerNoGlobals_LogsNothingShowsNothingExits255)
{
    EXPECT_EXIT(
        {
            static StderrLog s_Sink;
            KvLog::AddInterface(&s_Sink);
            KvSharedMemoryPtr<KvLogInterfaceContainer>::ForModule().Set(nullptr);
            KvSharedMemoryPtr<tGlobals>::ForModule().Set(nullptr);
            KvFatalError("Default", "unseen message");
        },
        ::testing::ExitedWithCode(255), ::testing::Not(::testing::HasSubstr("unseen message")));
}
