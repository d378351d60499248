#include "Foundation/KvError_Globals.h"

#include "Foundation/KvSharedMemoryPtr.h"
#include "src/foundation/KvSharedObjects.h"

namespace KvError
{
tGlobals* GetGlobals()
{
    return KvSharedMemoryPtr<tGlobals>::ForModule().Get();
}
} // namespace KvError
