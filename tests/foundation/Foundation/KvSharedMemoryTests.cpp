#include "Foundation/KvMemoryMappedFile.h"
#include "Foundation/KvSharedMemoryPtr.h"
#include "src/foundation/KvPlatformProcess.h"
#include "src/foundation/KvPlatformSharedMemory.h"
#include "support/KvTestReports.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
struct KvTestSharedObject
{
    int m_iValue = 0;
};
} // namespace

KV_DECLARE_SHARED_TYPE(KvTestSharedObject, "KvTestSharedObject", "instance", "struct KvTestSharedObject");

namespace
{
bool ObjectExists(const std::string& objectName)
{
    struct stat info = {};
    return stat(("/dev/shm" + objectName).c_str(), &info) == 0;
}

// Runs a function in a forked child and returns its exit status.
template <class Fn>
int RunInChild(Fn function)
{
    const pid_t child = fork();
    if (child == 0)
        _exit(function());
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
} // namespace

TEST(SharedMemoryPtr, Name_FormatAndCap)
{
    EXPECT_EQ(KvFormatSharedMemoryName("KvTypeManagerImpl", "instance", 1234),
              "KvSharedMemoryPtr_KvTypeManagerImpl_instance_pid1234");
    const std::string longType(300, 't');
    EXPECT_EQ(KvFormatSharedMemoryName(longType.c_str(), "instance", 1).size(), 255u);
}

TEST(SharedMemoryPtr, FirstHandleCreatesNull_SecondHandleSeesPublishedAddress)
{
    KvTestSharedObject object;
    KvSharedMemoryPtr<KvTestSharedObject> first("KvTestSharedObject", "first");
    EXPECT_EQ(first.Get(), nullptr);
    first.Set(&object);
    {
        KvSharedMemoryPtr<KvTestSharedObject> second("KvTestSharedObject", "first");
        EXPECT_EQ(second.Get(), &object);
        // Opening an existing block must not clear it.
        EXPECT_EQ(first.Get(), &object);
    }
    // Destroying a handle leaves the block and the object.
    EXPECT_EQ(first.Get(), &object);
    first.Set(nullptr);
    EXPECT_EQ(first.Get(), nullptr);
}

TEST(SharedMemoryPtr, ForModule_UsesTraitNames)
{
    KvSharedMemoryPtr<KvTestSharedObject>& modulePtr = KvSharedMemoryPtr<KvTestSharedObject>::ForModule();
    EXPECT_EQ(&modulePtr, &KvSharedMemoryPtr<KvTestSharedObject>::ForModule());
    KvTestSharedObject object;
    modulePtr.Set(&object);
    KvSharedMemoryPtr<KvTestSharedObject> byName("KvTestSharedObject", "instance");
    EXPECT_EQ(byName.Get(), &object);
    modulePtr.Set(nullptr);
}

TEST(SharedMemoryBlock, GetDataWithoutView_Fatal)
{
    EXPECT_FATAL(
        KvMemoryMappedFile_SharedMemory(false, 8, -1, nullptr).GetData(),
        "kvfoundation\\src\\foundation\\KvMemoryMappedFile_Win32", "KvMemoryMappedFile_SharedMemory::GetData",
        69,
        "Shared memory is no longer valid due to a write commit error. Is this a case we need to support?");
}

TEST(SharedMemoryBlock, CreatedFlagAndZeroedContents)
{
    KvMemoryMappedFile_SharedMemory* pFirst =
        KvMemoryMappedFile_SharedMemory::CreateShared("KvTest_CreatedFlag");
    ASSERT_NE(pFirst, nullptr);
    EXPECT_TRUE(pFirst->IsCreated());
    EXPECT_EQ(pFirst->GetSize(), 8u);
    uint64_t contents = 0;
    std::memcpy(&contents, pFirst->GetData(), 8);
    EXPECT_EQ(contents, 0u);

    KvMemoryMappedFile_SharedMemory* pSecond =
        KvMemoryMappedFile_SharedMemory::CreateShared("KvTest_CreatedFlag");
    ASSERT_NE(pSecond, nullptr);
    EXPECT_FALSE(pSecond->IsCreated());
    delete pSecond;
    delete pFirst;
}

TEST(SharedMemoryBlock, AnotherProcessGetsItsOwnBlock)
{
    KvPlatform::SharedMemoryBlock block;
    ASSERT_TRUE(KvPlatform::OpenOrCreateSharedMemory("KvTest_PerProcess", 8, block));
    *static_cast<uint64_t*>(block.m_pView) = 42;
    const std::string parentName = KvPlatform::GetSharedMemoryObjectName("KvTest_PerProcess");

    const int childResult = RunInChild(
        [&]
        {
            if (KvPlatform::GetSharedMemoryObjectName("KvTest_PerProcess") == parentName)
                return 1;
            KvPlatform::SharedMemoryBlock childBlock;
            if (!KvPlatform::OpenOrCreateSharedMemory("KvTest_PerProcess", 8, childBlock))
                return 2;
            // A new process must neither find nor read the parent's block.
            if (!childBlock.m_bCreated || *static_cast<uint64_t*>(childBlock.m_pView) != 0)
                return 3;
            return 0;
        });
    EXPECT_EQ(childResult, 0);
    KvPlatform::CloseSharedMemory(block.m_iHandle, block.m_pView, 8);
}

TEST(SharedMemoryBlock, ForkedChildWritesStayInTheChild)
{
    KvPlatform::SharedMemoryBlock block;
    ASSERT_TRUE(KvPlatform::OpenOrCreateSharedMemory("KvTest_ForkPrivate", 8, block));
    auto* pValue = static_cast<uint64_t*>(block.m_pView);
    *pValue = 1;
    const int childResult = RunInChild(
        [&]
        {
            // The child keeps what the parent had published...
            if (*pValue != 1)
                return 1;
            *pValue = 2;
            return 0;
        });
    EXPECT_EQ(childResult, 0);
    // ...but what it publishes does not reach the parent.
    EXPECT_EQ(*pValue, 1u);
    KvPlatform::CloseSharedMemory(block.m_iHandle, block.m_pView, 8);
}

TEST(SharedMemoryBlock, Sweep_RemovesBlocksOfDeadProcesses_KeepsLiveOnes)
{
    uint32_t deadPid = 0;
    {
        const pid_t child = fork();
        if (child == 0)
            _exit(0);
        waitpid(child, nullptr, 0);
        deadPid = static_cast<uint32_t>(child);
    }
    uint64_t ownStartTime = 0;
    ASSERT_TRUE(KvPlatform::GetProcessStartTime(KvPlatform::GetProcessId(), ownStartTime));
    const std::string deadName = "/KvShm." + std::to_string(deadPid) + ".1.KvTest_Stale";
    // A live pid with another start time is a reused pid: its block is stale too.
    const std::string reusedName = "/KvShm." + std::to_string(KvPlatform::GetProcessId()) + "." +
                                   std::to_string(ownStartTime + 1) + ".KvTest_Reused";
    const std::string liveName = KvPlatform::GetSharedMemoryObjectName("KvTest_Live");
    for (const std::string& name : {deadName, reusedName, liveName})
    {
        const int handle = shm_open(name.c_str(), O_RDWR | O_CREAT, 0600);
        ASSERT_GE(handle, 0);
        close(handle);
    }

    KvPlatform::SweepStaleSharedMemory();
    EXPECT_FALSE(ObjectExists(deadName));
    EXPECT_FALSE(ObjectExists(reusedName));
    EXPECT_TRUE(ObjectExists(liveName));
    shm_unlink(liveName.c_str());
}

TEST(SharedMemoryBlock, LongNamesStayWithinFileSystemLimits)
{
    const std::string longName(255, 'n');
    const std::string objectName = KvPlatform::GetSharedMemoryObjectName(longName.c_str());
    EXPECT_LE(objectName.size(), 250u);
    EXPECT_NE(objectName, KvPlatform::GetSharedMemoryObjectName(std::string(255, 'm').c_str()));
    KvPlatform::SharedMemoryBlock block;
    ASSERT_TRUE(KvPlatform::OpenOrCreateSharedMemory(longName.c_str(), 8, block));
    KvPlatform::CloseSharedMemory(block.m_iHandle, block.m_pView, 8);
}
