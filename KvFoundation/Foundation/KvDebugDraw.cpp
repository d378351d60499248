#include "Foundation/KvDebugDrawInterface.h"

#include "Foundation/KvSharedMemoryPtr.h"

namespace KvDebugDraw
{
KvDebugDrawInterface* GetInterface()
{
    static KvDebugDrawStub s_Stub;
    KvDebugDrawInterface* pInterface = KvSharedMemoryPtr<KvDebugDrawInterface>::ForModule().Get();
    return pInterface ? pInterface : &s_Stub;
}

void SetInterface(KvDebugDrawInterface* pInterface)
{
    KvSharedMemoryPtr<KvDebugDrawInterface>::ForModule().Set(pInterface);
}
} // namespace KvDebugDraw
