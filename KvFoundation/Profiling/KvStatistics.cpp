#include "Profiling/KvStatistics.h"

#include "Foundation/KvSharedMemoryPtr.h"

namespace
{
thread_local bool t_bThreadProfiling = false;
}

KvStatistics::~KvStatistics()
{
    for (auto& entry : m_Chronos)
        delete entry.second;
}

KvChrono* KvStatistics::GetChrono(const char* name)
{
    KvChrono*& pChrono = m_Chronos[name];
    if (!pChrono)
        pChrono = new KvChrono();
    return pChrono;
}

bool KvStatistics::IsThreadProfilingEnabled() const
{
    return t_bThreadProfiling;
}

void KvStatistics::SetThreadProfilingEnabled(bool bEnabled)
{
    t_bThreadProfiling = bEnabled;
}

KvStatistics* KvStatistics::GetPublished()
{
    return KvSharedMemoryPtr<KvStatistics>::ForModule().Get();
}

KvStatistics::tGlobalData* KvStatistics::GetGlobalData()
{
    return KvSharedMemoryPtr<tGlobalData>::ForModule().Get();
}

KvStatistics* KvStatistics::Publish()
{
    KvSharedMemoryPtr<tGlobalData>& globalData = KvSharedMemoryPtr<tGlobalData>::ForModule();
    if (!globalData.Get())
        globalData.Set(new tGlobalData());
    KvSharedMemoryPtr<KvStatistics>& statistics = KvSharedMemoryPtr<KvStatistics>::ForModule();
    if (!statistics.Get())
        statistics.Set(new KvStatistics());
    return statistics.Get();
}

KvScopedChrono::KvScopedChrono(const char* name)
{
    KvStatistics* pStatistics = KvStatistics::GetPublished();
    if (!pStatistics || !pStatistics->m_bEnabled || !pStatistics->IsThreadProfilingEnabled())
        return;
    m_pChrono = pStatistics->GetChrono(name);
    m_pChrono->Start();
}

KvScopedChrono::~KvScopedChrono()
{
    if (m_pChrono)
        m_pChrono->Stop();
}
