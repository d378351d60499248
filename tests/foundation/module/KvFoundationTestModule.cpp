#include "module/KvFoundationTestModule.h"

#include "Foundation/KvDebugDrawInterface.h"
#include "Foundation/KvEastlSharedMemory.h"
#include "Foundation/KvError_Globals.h"
#include "Foundation/KvExport.h"
#include "Foundation/KvLog.h"
#include "Foundation/KvRandom.h"
#include "TypeManager/KvObjectFactory.h"

class KvTestModuleObject : public KvTypedObject
{
    KV_DECLARE_TYPED_CLASS(KvTestModuleObject, KvTypedObject)
};

KV_IMPLEMENT_TYPED_CLASS(KvTestModuleObject)

extern "C"
{
    KV_EXPORT KvTypeManager* KvTestModule_GetTypeManager()
    {
        return KvTypeManager::GetInstance();
    }

    KV_EXPORT KvLogInterfaceContainer* KvTestModule_GetLogContainer()
    {
        return KvLog::GetContainer();
    }

    KV_EXPORT tGlobals* KvTestModule_GetErrorGlobals()
    {
        return KvError::GetGlobals();
    }

    KV_EXPORT KvDebugDrawInterface* KvTestModule_GetDebugDraw()
    {
        return KvDebugDraw::GetInterface();
    }

    KV_EXPORT const uint8_t* KvTestModule_GetEmptyBlock()
    {
        return KvEastlSharedMemory::GetSharedEmptyBlock();
    }

    KV_EXPORT uint32_t KvTestModule_GetTypeIndex(const char* name)
    {
        return KvTypeManager::GetInstance()->GetTypeIndex(name);
    }

    KV_EXPORT float KvTestModule_NextRandom()
    {
        return KvRandomGeneratorCRT().GetRandom(0.0f, 1.0f);
    }

    KV_EXPORT void KvTestModule_Log(const char* message)
    {
        KvLog::Write("Default", 3, message);
    }
}
