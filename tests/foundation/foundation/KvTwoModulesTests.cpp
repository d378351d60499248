#include "Foundation/KvDebugDrawInterface.h"
#include "Foundation/KvEastlSharedMemory.h"
#include "Foundation/KvError_Globals.h"
#include "Foundation/KvLog.h"
#include "Foundation/KvRandom.h"
#include "TypeManager/KvTypeManager.h"
#include "TypeManager/KvTypedObject.h"
#include "module/KvFoundationTestModule.h"
#include "support/KvRecordingDebugDraw.h"
#include "support/KvTestProcess.h"
#include "support/KvTestReports.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

namespace
{
// Loads the test module once for the process. It is never unloaded: the type manager keeps
// its class's creation function, as it does for every module.
void* LoadTestModule()
{
    static void* s_pHandle = dlopen(KV_TEST_MODULE_PATH, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    return s_pHandle;
}

template <class Fn>
Fn Lookup(void* pHandle, const char* name)
{
    return pHandle ? reinterpret_cast<Fn>(dlsym(pHandle, name)) : nullptr;
}

template <class Fn>
Fn Lookup(const char* name)
{
    return Lookup<Fn>(LoadTestModule(), name);
}

class TwoModules : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_NE(LoadTestModule(), nullptr) << dlerror(); }
};
} // namespace

// One type manager: both modules agree on the indices of their classes, and each creates the
// other's class by name, with the shared class record.
TEST_F(TwoModules, TypeManager_OneForBoth)
{
    auto getTypeManager = Lookup<KvTestModule_GetTypeManagerFn>("KvTestModule_GetTypeManager");
    auto getTypeIndex = Lookup<KvTestModule_GetTypeIndexFn>("KvTestModule_GetTypeIndex");
    ASSERT_TRUE(getTypeManager && getTypeIndex);
    KvTypeManager* pManager = KvTypeManager::GetInstance();
    EXPECT_EQ(getTypeManager(), pManager);
    EXPECT_EQ(getTypeIndex("KvIOStream_Memory"), pManager->GetTypeIndex("KvIOStream_Memory"));
    const uint32_t moduleClassIndex = pManager->GetTypeIndex(kTestModuleClassName);
    ASSERT_NE(moduleClassIndex, 0xFFFFFFFFu);
    EXPECT_EQ(getTypeIndex(kTestModuleClassName), moduleClassIndex);

    KvTypeInfo* pType = pManager->GetTypeByIndex(moduleClassIndex);
    KvTypedObject* pObject = pType->CreateInstance();
    ASSERT_NE(pObject, nullptr);
    EXPECT_EQ(pObject->GetClassType(), pType);
    EXPECT_EQ(pType->m_pParent, KvTypedObject::GetType());
    delete pObject;
}

// The log sinks, the error globals and the empty-string block are the same objects for both.
TEST_F(TwoModules, LogErrorGlobalsAndEmptyBlock_Shared)
{
    auto getLogContainer = Lookup<KvTestModule_GetLogContainerFn>("KvTestModule_GetLogContainer");
    auto getErrorGlobals = Lookup<KvTestModule_GetErrorGlobalsFn>("KvTestModule_GetErrorGlobals");
    auto getEmptyBlock = Lookup<KvTestModule_GetEmptyBlockFn>("KvTestModule_GetEmptyBlock");
    auto log = Lookup<KvTestModule_LogFn>("KvTestModule_Log");
    ASSERT_TRUE(getLogContainer && getErrorGlobals && getEmptyBlock && log);

    ASSERT_NE(KvLog::GetContainer(), nullptr);
    ASSERT_NE(KvError::GetGlobals(), nullptr);
    EXPECT_EQ(getLogContainer(), KvLog::GetContainer());
    EXPECT_EQ(getErrorGlobals(), KvError::GetGlobals());
    const uint8_t* pBlock = KvEastlSharedMemory::GetSharedEmptyBlock();
    EXPECT_EQ(getEmptyBlock(), pBlock);
    EXPECT_EQ(pBlock[0] | pBlock[1] | pBlock[2] | pBlock[3], 0);

    RecordingLog recording;
    log("from the other module");
    ASSERT_EQ(recording.m_aEntries.size(), 1u);
    EXPECT_EQ(recording.m_aEntries[0].m_strMessage, "from the other module");
    EXPECT_EQ(recording.m_aEntries[0].m_strCategory, "Default");
    EXPECT_EQ(recording.m_aEntries[0].m_uiLevel, 3u);
}

TEST_F(TwoModules, DebugDraw_PublishedSinkSeenByBoth_StubsAreLocal)
{
    auto getDebugDraw = Lookup<KvTestModule_GetDebugDrawFn>("KvTestModule_GetDebugDraw");
    ASSERT_TRUE(getDebugDraw);

    // Without a published sink each module falls back to its own stub, never null.
    KvDebugDrawInterface* pLocalStub = KvDebugDraw::GetInterface();
    KvDebugDrawInterface* pOtherStub = getDebugDraw();
    ASSERT_NE(pLocalStub, nullptr);
    ASSERT_NE(pOtherStub, nullptr);
    EXPECT_NE(pLocalStub, pOtherStub);

    {
        const RecordingDebugDraw sink;
        EXPECT_EQ(KvDebugDraw::GetInterface(), &sink);
        EXPECT_EQ(getDebugDraw(), &sink);
    }
    EXPECT_EQ(getDebugDraw(), pOtherStub);
}

TEST_F(TwoModules, RandomSeed_IsModuleLocal)
{
    auto nextRandom = Lookup<KvTestModule_NextRandomFn>("KvTestModule_NextRandom");
    ASSERT_TRUE(nextRandom);
    // Advancing this module's sequence leaves the other module's untouched: its first value
    // is still the first value of the fresh sequence.
    KvRandomGeneratorCRT::SetSeed(7);
    KvRandomGeneratorCRT().GetRandom(0.0f, 1.0f);
    EXPECT_FLOAT_EQ(nextRandom(), 0.304473876953125f);
    EXPECT_EQ(KvRandomGeneratorCRT::GetSeed(), 7u * 214013u + 2531011u);
}

// A forked child is a process of its own, yet a module it loads must find the objects the
// child inherited, not publish second ones.
TEST(TwoModulesAfterFork, ModuleLoadedInTheChild_FindsTheInheritedObjects)
{
    KvTypeManager* pManager = KvTypeManager::GetInstance();
    RecordingLog recording;
    const int childResult = RunInChild(
        [&]
        {
            void* pLate = dlopen(KV_LATE_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
            auto getTypeManager = Lookup<KvTestModule_GetTypeManagerFn>(pLate, "KvTestModule_GetTypeManager");
            auto getLogContainer =
                Lookup<KvTestModule_GetLogContainerFn>(pLate, "KvTestModule_GetLogContainer");
            auto getErrorGlobals =
                Lookup<KvTestModule_GetErrorGlobalsFn>(pLate, "KvTestModule_GetErrorGlobals");
            auto log = Lookup<KvTestModule_LogFn>(pLate, "KvTestModule_Log");
            if (!getTypeManager || !getLogContainer || !getErrorGlobals || !log)
                return 1;
            if (getTypeManager() != pManager)
                return 2;
            if (getLogContainer() != KvLog::GetContainer() || getErrorGlobals() != KvError::GetGlobals())
                return 3;
            log("from a module loaded after the fork");
            return recording.m_aEntries.size() == 1 ? 0 : 4;
        });
    EXPECT_EQ(childResult, 0);
}
