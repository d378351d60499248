#include "Foundation/KvDebugDrawInterface.h"
#include "Foundation/KvSharedMemoryPtr.h"
#include "Foundation/KvSharedObjects.h"
#include "Profiling/KvStatistics.h"

namespace
{
// Runs in every module when it loads: opens each process-wide pointer of this module and
// publishes the log container and error globals when no module has yet.
struct KvFoundationStartup
{
    KvFoundationStartup()
    {
        KvSharedMemoryPtr<KvLogInterfaceContainer>& logContainer =
            KvSharedMemoryPtr<KvLogInterfaceContainer>::ForModule();
        KvSharedMemoryPtr<tGlobals>& errorGlobals = KvSharedMemoryPtr<tGlobals>::ForModule();
        if (!logContainer.Get())
        {
            logContainer.Set(new KvLogInterfaceContainer());
            errorGlobals.Set(new tGlobals());
        }
        KvSharedMemoryPtr<KvDebugDrawInterface>::ForModule();
        KvSharedMemoryPtr<KvStatistics>::ForModule();
        KvSharedMemoryPtr<KvStatistics::tGlobalData>::ForModule();
        KvSharedMemoryPtr<KvFramework>::ForModule();
        KvSharedMemoryPtr<KvTime>::ForModule();
        KvSharedMemoryPtr<KvMessageInterface>::ForModule();
    }
};

const KvFoundationStartup s_Startup;
} // namespace
