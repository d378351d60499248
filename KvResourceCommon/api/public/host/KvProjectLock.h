#pragma once

#include "KvResourceCommonExport.h"
#include "host/KvResult.h"

#include <functional>
#include <string>

// An exclusive lock on a project folder, held by one import at a time: a lock on the file
// ".kvlock" in the folder, released when the object goes or the process ends in any way.
class KV_RESOURCECOMMON_API KvProjectLock
{
public:
    KvProjectLock() = default;
    ~KvProjectLock();

    KvProjectLock(const KvProjectLock&) = delete;
    KvProjectLock& operator=(const KvProjectLock&) = delete;

    // Creates the folder when it is missing and takes the lock. When another process holds
    // it, calls onWait (so that the caller can say why it stops) and waits for its release.
    // Fails when the folder or the lock file cannot be made, opened or locked.
    KvResult Acquire(const std::string& folder, const std::function<void()>& onWait);

private:
    int m_iFd = -1;
};
