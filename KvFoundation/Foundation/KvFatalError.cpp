#include "Foundation/KvFatalError.h"

#include "Foundation/KvError_Globals.h"
#include "Foundation/KvLog.h"
#include "Foundation/KvReport.h"
#include "src/foundation/KvPlatformProcess.h"

void KvFatalError(const char* category, const char* message)
{
    KvLog::Write(category, kKvLogLevelFatal, message);
    const tGlobals* pGlobals = KvError::GetGlobals();
    if (pGlobals && pGlobals->m_bShowMessageBox)
        KvPlatform::ShowMessageBox("Fatal error!", message);
    if (pGlobals && pGlobals->m_bRaiseException)
        KvPlatform::RaiseStructuredException(kKvFatalExceptionCode, message);
    KvPlatform::BreakIfDebuggerAttached();
    KvPlatform::TerminateProcess(-1);
}
