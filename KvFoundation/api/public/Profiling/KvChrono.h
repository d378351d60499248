#pragma once

#include "Profiling/KvStatistic.h"

#include <cstdint>
#include <deque>

// Wall-clock time of nested start/stop pairs, accumulated per frame.
class KvChrono : public KvStatistic
{
public:
    // Frame totals kept for the average.
    static constexpr size_t kHistoryCapacity = 100;

    // Appends "<name>=<ms> ms for <calls> calls" when at least 0.1 ms accumulated.
    void Report(std::string& output, const char* name) override;
    // Both warn while the chrono is running.
    float GetTime() override;
    uint32_t GetCallCount() override;
    float GetAverage() override;
    uint32_t GetNestingLevel() override { return m_uiNestingLevel; }
    uint32_t GetSequenceNumber() override { return m_uiSequenceNumber; }
    void NewFrame() override;

    // Only the outermost start and stop measure; both do nothing while no module has
    // published the statistics global data.
    void Start();
    void Stop();

    uint32_t GetHistorySize() const { return static_cast<uint32_t>(m_aHistory.size()); }
    // Adds seconds measured elsewhere (another clock, a replayed capture) to the current frame.
    void AddTime(float seconds) { m_fAccumulatedSeconds += seconds; }

private:
    // Seconds since the outermost start while running, else the last measured duration.
    float GetElapsedSeconds() const;

    struct tTimer
    {
        bool m_bRunning = false;
        float m_fLastDuration = 0.0f;
        int64_t m_lStartCount = 0;
    };

    tTimer m_Timer;
    float m_fAccumulatedSeconds = 0.0f;
    int32_t m_iDepth = 0;
    uint32_t m_uiCallCount = 0;
    uint32_t m_uiNestingLevel = 0;
    uint32_t m_uiSequenceNumber = 0;
    std::deque<float> m_aHistory;
};
