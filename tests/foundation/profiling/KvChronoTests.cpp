#include "Foundation/KvSharedMemoryPtr.h"
#include "Profiling/KvStatistics.h"
#include "support/KvTestReports.h"

#include <gtest/gtest.h>

namespace
{
constexpr const char* kFile = "Profiling\\KvStatistics";

class Chrono : public ::testing::Test
{
protected:
    void SetUp() override { KvStatistics::Publish(); }
};
} // namespace

TEST_F(Chrono, Report_ThresholdAtOneTenthMillisecond)
{
    KvChrono below;
    below.AddTime(0.00009f);
    std::string output;
    below.Report(output, "Below");
    EXPECT_EQ(output, "");

    KvChrono above;
    above.AddTime(0.0002f);
    above.Report(output, "TextureLoadRequest");
    EXPECT_EQ(output, "TextureLoadRequest=0.2000 ms for 0 calls\n");
}

TEST_F(Chrono, NewFrame_ClearsTheFrameAndKeepsTheLast100Totals)
{
    KvChrono chrono;
    for (int frame = 0; frame < 150; ++frame)
    {
        chrono.Start();
        chrono.Stop();
        chrono.AddTime(static_cast<float>(frame));
        chrono.NewFrame();
        ASSERT_EQ(chrono.GetSequenceNumber(), 0u);
        ASSERT_EQ(chrono.GetCallCount(), 0u);
    }
    EXPECT_EQ(chrono.GetHistorySize(), 100u);
    // Frames 50..149 remain: their mean is 99.5.
    EXPECT_FLOAT_EQ(chrono.GetAverage(), 99.5f);
    EXPECT_EQ(chrono.GetTime(), 0.0f);
}

TEST_F(Chrono, NestedStarts_OnlyTheOutermostMeasures)
{
    KvStatistics::tGlobalData* pGlobal = KvStatistics::GetGlobalData();
    ASSERT_NE(pGlobal, nullptr);
    const uint32_t levelBefore = pGlobal->m_uiNestingLevel;
    const uint32_t sequenceBefore = pGlobal->m_uiSequence;

    KvChrono chrono;
    chrono.Start();
    chrono.Start();
    EXPECT_EQ(pGlobal->m_uiNestingLevel, levelBefore + 1);
    EXPECT_EQ(pGlobal->m_uiSequence, sequenceBefore + 1);
    EXPECT_EQ(chrono.GetNestingLevel(), levelBefore);
    EXPECT_EQ(chrono.GetSequenceNumber(), sequenceBefore + 1);
    chrono.Stop();
    EXPECT_EQ(pGlobal->m_uiNestingLevel, levelBefore + 1);
    chrono.Stop();
    EXPECT_EQ(pGlobal->m_uiNestingLevel, levelBefore);
    EXPECT_EQ(chrono.GetCallCount(), 2u);
    EXPECT_GE(chrono.GetTime(), 0.0f);

    // An unmatched stop changes nothing.
    chrono.Stop();
    EXPECT_EQ(pGlobal->m_uiNestingLevel, levelBefore);
}

TEST_F(Chrono, QueriesWhileRunning_Warn)
{
    KvChrono chrono;
    chrono.Start();
    RecordingLog log;
    chrono.GetTime();
    chrono.GetCallCount();
    chrono.Stop();
    ASSERT_EQ(log.m_aEntries.size(), 2u);
    EXPECT_EQ(log.m_aEntries[0].m_strMessage,
              ExpectedReport(kFile, "KvChrono::GetTime", 177, "Chrono running"));
    EXPECT_EQ(log.m_aEntries[1].m_strMessage,
              ExpectedReport(kFile, "KvChrono::GetCallCount", 183, "Chrono running"));
    EXPECT_EQ(log.m_aEntries[1].m_uiLevel, 3u);
}

TEST_F(Chrono, ScopedChrono_MeasuresOnlyWhenEnabledForTheThread)
{
    KvStatistics* pStatistics = KvStatistics::GetPublished();
    ASSERT_NE(pStatistics, nullptr);
    {
        KvScopedChrono scope("ScopedDisabled");
    }
    EXPECT_EQ(pStatistics->GetChrono("ScopedDisabled")->GetCallCount(), 0u);

    pStatistics->m_bEnabled = true;
    {
        KvScopedChrono scope("ScopedNoThread");
    }
    EXPECT_EQ(pStatistics->GetChrono("ScopedNoThread")->GetCallCount(), 0u);

    pStatistics->SetThreadProfilingEnabled(true);
    {
        KvScopedChrono scope("ScopedOn");
    }
    EXPECT_EQ(pStatistics->GetChrono("ScopedOn")->GetCallCount(), 1u);
    pStatistics->SetThreadProfilingEnabled(false);
    pStatistics->m_bEnabled = false;
}

TEST(ChronoWithoutGlobalData, StartRecordsNothing)
{
    KvSharedMemoryPtr<KvStatistics::tGlobalData>& globalData =
        KvSharedMemoryPtr<KvStatistics::tGlobalData>::ForModule();
    KvStatistics::tGlobalData* pSaved = globalData.Get();
    globalData.Set(nullptr);
    KvChrono chrono;
    chrono.Start();
    EXPECT_EQ(chrono.GetCallCount(), 0u);
    chrono.Stop();
    globalData.Set(pSaved);
}
