#include "Foundation/KvError_Globals.h"

#include "Foundation/KvSharedMemoryPtr.h"
#include "Foundation/KvSharedObjects.h"

namespace KvError
{
tGlobals* GetGlobals()
{
    return KvSharedMemoryPtr<tGlobals>::ForModule().Get();
}
} // namespace KvError
