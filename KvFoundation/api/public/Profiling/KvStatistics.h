#pragma once

#include "Foundation/KvSharedTypeTraits.h"
#include "Profiling/KvChrono.h"

#include <cstdint>
#include <string>
#include <unordered_map>

class KvStatistics;
KV_DECLARE_SHARED_TYPE(KvStatistics, "KvStatistics", "FRAMEWORK", "class KvStatistics");

// Process-wide named chronos. A framework module publishes the statistics and their global
// data; every other module only finds them.
class KvStatistics
{
public:
    // Nesting and sequence counters shared by every chrono of the process.
    struct tGlobalData
    {
        uint32_t m_uiNestingLevel = 0;
        uint32_t m_uiSequence = 0;
    };

    virtual ~KvStatistics();

    // The chrono of a name, created on first use; owned by the statistics.
    virtual KvChrono* GetChrono(const char* name);

    // The per-thread profiling switch lives in the publishing module's code, so that every
    // module reads the same flag for a thread.
    virtual bool IsThreadProfilingEnabled() const;
    virtual void SetThreadProfilingEnabled(bool bEnabled);

    bool m_bEnabled = false;

    // The published statistics and global data, or null.
    static KvStatistics* GetPublished();
    static tGlobalData* GetGlobalData();
    // Publishes new statistics and global data where none are; returns the published ones.
    static KvStatistics* Publish();

private:
    std::unordered_map<std::string, KvChrono*> m_Chronos;
};

KV_DECLARE_SHARED_TYPE(KvStatistics::tGlobalData, "KvStatistics_GlobalData", "FRAMEWORK",
                       "struct KvStatistics::tGlobalData");

// Times a scope under a name when the statistics are published and enabled and the calling
// thread profiles; otherwise costs one lookup.
class KvScopedChrono
{
public:
    explicit KvScopedChrono(const char* name);
    ~KvScopedChrono();

    KvScopedChrono(const KvScopedChrono&) = delete;
    KvScopedChrono& operator=(const KvScopedChrono&) = delete;

private:
    KvChrono* m_pChrono = nullptr;
};
