#include "Profiling/KvChrono.h"

#include "Foundation/KvReport.h"
#include "Profiling/KvStatistics.h"
#include "src/foundation/KvPlatformClock.h"

#include <numeric>

namespace
{
constexpr const char* kFile = "Profiling\\KvStatistics";

float CounterFrequency()
{
    static const float s_fFrequency = static_cast<float>(KvPlatform::GetCounterFrequency());
    return s_fFrequency;
}
} // namespace

void KvChrono::Report(std::string& output, const char* name)
{
    const float milliseconds = m_fAccumulatedSeconds * 1000.0f;
    if (milliseconds >= 0.1f)
        output +=
            KvFormatMessage("%s=%.4f ms for %d calls\n", name, milliseconds, static_cast<int>(m_uiCallCount));
}

float KvChrono::GetTime()
{
    if (m_iDepth > 0)
        KvLogReport(kKvLogLevelWarning, {kFile, "KvChrono::GetTime", 177}, "Chrono running");
    return m_fAccumulatedSeconds;
}

uint32_t KvChrono::GetCallCount()
{
    if (m_iDepth > 0)
        KvLogReport(kKvLogLevelWarning, {kFile, "KvChrono::GetCallCount", 183}, "Chrono running");
    return m_uiCallCount;
}

float KvChrono::GetAverage()
{
    if (m_aHistory.empty())
        return 0.0f;
    return std::accumulate(m_aHistory.begin(), m_aHistory.end(), 0.0f) /
           static_cast<float>(m_aHistory.size());
}

void KvChrono::NewFrame()
{
    m_uiSequenceNumber = 0;
    m_aHistory.push_back(m_fAccumulatedSeconds);
    if (m_aHistory.size() > kHistoryCapacity)
        m_aHistory.pop_front();
    m_fAccumulatedSeconds = 0.0f;
    m_uiCallCount = 0;
}

void KvChrono::Start()
{
    KvStatistics::tGlobalData* pGlobalData = KvStatistics::GetGlobalData();
    if (!pGlobalData)
        return;
    if (m_iDepth == 0)
    {
        m_uiNestingLevel = pGlobalData->m_uiNestingLevel;
        m_uiSequenceNumber = ++pGlobalData->m_uiSequence;
        ++pGlobalData->m_uiNestingLevel;
        m_Timer.m_bRunning = true;
        m_Timer.m_lStartCount = static_cast<int64_t>(KvPlatform::GetCounter());
    }
    ++m_uiCallCount;
    ++m_iDepth;
}

void KvChrono::Stop()
{
    KvStatistics::tGlobalData* pGlobalData = KvStatistics::GetGlobalData();
    if (!pGlobalData || m_iDepth == 0)
        return;
    if (--m_iDepth > 0)
        return;
    --pGlobalData->m_uiNestingLevel;
    if (m_Timer.m_bRunning)
    {
        m_Timer.m_fLastDuration = GetElapsedSeconds();
        m_Timer.m_bRunning = false;
    }
    m_fAccumulatedSeconds += m_Timer.m_fLastDuration;
}

float KvChrono::GetElapsedSeconds() const
{
    if (!m_Timer.m_bRunning)
        return m_Timer.m_fLastDuration;
    const uint64_t elapsed = KvPlatform::GetCounter() - static_cast<uint64_t>(m_Timer.m_lStartCount);
    return static_cast<float>(elapsed) / CounterFrequency();
}
