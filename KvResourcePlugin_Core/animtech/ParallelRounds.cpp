#include "ParallelRounds.h"

namespace AnimationTech
{
ParallelRounds::ParallelRounds(uint32_t threadCount)
{
    for (uint32_t worker = 1; worker < threadCount; ++worker)
        m_aThreads.emplace_back([this, worker] { Serve(worker); });
}

ParallelRounds::~ParallelRounds()
{
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_bStopping = true;
    }
    m_Start.notify_all();
    for (std::thread& thread : m_aThreads)
        thread.join();
}

void ParallelRounds::Run(const std::function<void(uint32_t)>& job)
{
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_pJob = &job;
        m_uiPending = static_cast<uint32_t>(m_aThreads.size());
        ++m_ulRound;
    }
    m_Start.notify_all();
    job(0);
    std::unique_lock<std::mutex> lock(m_Mutex);
    m_Done.wait(lock, [this] { return m_uiPending == 0; });
    m_pJob = nullptr;
}

void ParallelRounds::Serve(uint32_t worker)
{
    uint64_t servedRound = 0;
    for (;;)
    {
        const std::function<void(uint32_t)>* pJob = nullptr;
        {
            std::unique_lock<std::mutex> lock(m_Mutex);
            m_Start.wait(lock, [&] { return m_bStopping || m_ulRound != servedRound; });
            if (m_bStopping)
                return;
            servedRound = m_ulRound;
            pJob = m_pJob;
        }
        (*pJob)(worker);
        std::lock_guard<std::mutex> lock(m_Mutex);
        if (--m_uiPending == 0)
            m_Done.notify_one();
    }
}
} // namespace AnimationTech
