#pragma once

#include "KvResourceCommonExport.h"

#include <string>

// An exclusive lock on a project folder, held by one import at a time: a lock on the file
// ".kvlock" in the folder, released when the object goes or the process ends in any way.
class KV_RESOURCECOMMON_API KvProjectLock
{
public:
    enum class eResult
    {
        Acquired,
        // Another process holds the lock (only without waiting).
        Busy,
        // The folder or the lock file cannot be made or opened; the reason is in outError.
        Failed,
    };

    KvProjectLock() = default;
    ~KvProjectLock();

    KvProjectLock(const KvProjectLock&) = delete;
    KvProjectLock& operator=(const KvProjectLock&) = delete;

    // Creates the folder when it is missing and takes the lock, waiting for its holder to
    // release it when bWait is set.
    eResult Acquire(const std::string& folder, bool bWait, std::string& outError);

private:
    int m_iFd = -1;
};
