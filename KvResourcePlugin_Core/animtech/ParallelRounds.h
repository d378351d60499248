#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace AnimationTech
{
// Runs one job on a fixed set of threads, round after round: the threads start once and
// wait between rounds, so a round costs a wake-up rather than a thread start.
class ParallelRounds
{
public:
    // threadCount includes the caller's thread, which does its share of every round.
    explicit ParallelRounds(uint32_t threadCount);
    ~ParallelRounds();
    ParallelRounds(const ParallelRounds&) = delete;
    ParallelRounds& operator=(const ParallelRounds&) = delete;

    uint32_t GetThreadCount() const { return static_cast<uint32_t>(m_aThreads.size()) + 1; }
    // Calls job(worker) once for every worker 0 .. GetThreadCount() - 1, worker 0 on the
    // caller's thread, and returns when all calls have returned.
    void Run(const std::function<void(uint32_t)>& job);

private:
    void Serve(uint32_t worker);

    std::mutex m_Mutex;
    std::condition_variable m_Start;
    std::condition_variable m_Done;
    const std::function<void(uint32_t)>* m_pJob = nullptr;
    uint64_t m_ulRound = 0;
    uint32_t m_uiPending = 0;
    bool m_bStopping = false;
    std::vector<std::thread> m_aThreads;
};
} // namespace AnimationTech
