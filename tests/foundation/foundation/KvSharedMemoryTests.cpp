#include "Foundation/KvMemoryMappedFile.h"
#include "Foundation/KvSharedMemoryPtr.h"
#include "support/KvTestProcess.h"
#include "support/KvTestReports.h"
#include "testaccess/KvFoundationTestAccess.h"

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
} // namespace

// A pointer's name is capped at 255 bytes; the object name of a long one stays within the file
// system's limits, distinct from others, and opens.
TEST(SharedMemoryPtr, Names_FormatAndCap)
{
    EXPECT_EQ(KvFormatSharedMemoryName("KvTypeManagerImpl", "instance", 1234),
              "KvSharedMemoryPtr_KvTypeManagerImpl_instance_pid1234");
    const std::string longType(300, 't');
    EXPECT_EQ(KvFormatSharedMemoryName(longType.c_str(), "instance", 1).size(), 255u);
    const std::string longName(255, 'n');
    const std::string objectName = KvPlatform::GetSharedMemoryObjectName(longName.c_str());
    EXPECT_LE(objectName.size(), 250u);
    EXPECT_NE(objectName, KvPlatform::GetSharedMemoryObjectName(std::string(255, 'm').c_str()));
    KvPlatform::SharedMemoryBlock block;
    ASSERT_EQ(KvPlatform::OpenOrCreateSharedMemory(longName.c_str(), 8, block),
              KvPlatform::SharedMemoryStatus::Ready);
    KvPlatform::CloseSharedMemory(block.m_iHandle, block.m_pView, 8);
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

TEST(SharedMemoryBlock, ForkedChild_FindsInheritedBlockUnderItsOwnName_ParentKeepsItsOwn)
{
    KvPlatform::SharedMemoryBlock block;
    ASSERT_EQ(KvPlatform::OpenOrCreateSharedMemory("KvTest_Inherited", 8, block),
              KvPlatform::SharedMemoryStatus::Ready);
    auto* pInherited = static_cast<uint64_t*>(block.m_pView);
    *pInherited = 42;
    const std::string parentName = KvPlatform::GetSharedMemoryObjectName("KvTest_Inherited");

    const int childResult = RunInChild(
        [&]
        {
            if (KvPlatform::GetSharedMemoryObjectName("KvTest_Inherited") == parentName)
                return 1;
            // Opened by name, as by a module loaded after the fork: the inherited block.
            KvPlatform::SharedMemoryBlock found;
            if (KvPlatform::OpenOrCreateSharedMemory("KvTest_Inherited", 8, found) !=
                KvPlatform::SharedMemoryStatus::Ready)
                return 2;
            auto* pFound = static_cast<uint64_t*>(found.m_pView);
            if (found.m_bCreated || *pFound != 42)
                return 3;
            *pFound = 7;
            if (*pInherited != 7)
                return 4;
            *pInherited = 8;
            return 0;
        });
    EXPECT_EQ(childResult, 0);
    // Neither view of the child wrote into the parent's block.
    EXPECT_EQ(*pInherited, 42u);
    KvPlatform::CloseSharedMemory(block.m_iHandle, block.m_pView, 8);
}

TEST(SharedMemoryBlock, Sweep_RemovesBlocksOfDeadProcesses_KeepsLiveOnesAndOtherNamespaces)
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
    const uint64_t pidNamespace = KvPlatform::GetPidNamespaceId();
    const uint32_t ownPid = KvPlatform::GetProcessId();
    const std::string deadName =
        KvPlatform::FormatSharedMemoryObjectName(pidNamespace, deadPid, 1, "KvTest_Stale");
    // A live pid with another start time is a reused pid: its block is stale too.
    const std::string reusedName =
        KvPlatform::FormatSharedMemoryObjectName(pidNamespace, ownPid, ownStartTime + 1, "KvTest_Reused");
    const std::string liveName = KvPlatform::GetSharedMemoryObjectName("KvTest_Live");
    // The same pid in a sandbox beside this one is another, live process.
    const std::string otherNamespaceName = KvPlatform::FormatSharedMemoryObjectName(
        pidNamespace + 1, ownPid, ownStartTime + 1, "KvTest_Sandboxed");
    for (const std::string& name : {deadName, reusedName, liveName, otherNamespaceName})
    {
        const int handle = shm_open(name.c_str(), O_RDWR | O_CREAT, 0600);
        ASSERT_GE(handle, 0);
        close(handle);
    }

    KvPlatform::SweepStaleSharedMemory();
    EXPECT_FALSE(ObjectExists(deadName));
    EXPECT_FALSE(ObjectExists(reusedName));
    EXPECT_TRUE(ObjectExists(liveName));
    EXPECT_TRUE(ObjectExists(otherNamespaceName));
    shm_unlink(liveName.c_str());
    shm_unlink(otherNamespaceName.c_str());
}

namespace
{
// A block that someone else made under a name of this process before this process did.
struct PlantedBlock
{
    const char* m_pCase;
    mode_t m_Mode;
    off_t m_Size;
    bool m_bOtherOwner;
};

// Plants the block under this process's object name; it holds an address that must never be
// followed.
void Plant(const char* blockName, const PlantedBlock& planted)
{
    const std::string objectName = KvPlatform::GetSharedMemoryObjectName(blockName);
    const int handle = shm_open(objectName.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
    const uint64_t plantedAddress = 0x10;
    if (handle < 0 || ftruncate(handle, planted.m_Size) != 0 || fchmod(handle, planted.m_Mode) != 0 ||
        (planted.m_Size >= 8 && pwrite(handle, &plantedAddress, 8, 0) != 8) ||
        (planted.m_bOtherOwner && fchown(handle, 65534, static_cast<gid_t>(-1)) != 0))
        _exit(3);
    close(handle);
}

// Names the case in test output, so that the test's name does not carry the row's bytes.
void PrintTo(const PlantedBlock& planted, std::ostream* pOut)
{
    *pOut << planted.m_pCase;
}

class SharedMemoryPlanted : public ::testing::TestWithParam<PlantedBlock>
{
};
} // namespace

TEST_P(SharedMemoryPlanted, RefusedBeforeItsAddressIsRead)
{
    const PlantedBlock& planted = GetParam();
    if (planted.m_bOtherOwner && geteuid() != 0)
        GTEST_SKIP() << "only root can hand a block to another user";
    EXPECT_FATAL_FROM(
        {
            Plant("KvTest_Planted", planted);
            KvMemoryMappedFile_SharedMemory* pBlock =
                KvMemoryMappedFile_SharedMemory::CreateShared("KvTest_Planted");
            const KvTestSharedObject* pObject = nullptr;
            std::memcpy(&pObject, pBlock->GetData(), sizeof(pObject));
            std::printf("%d\n", pObject->m_iValue);
        },
        "Foundation\\KvMemoryMappedFile", "KvMemoryMappedFile_SharedMemory::CreateShared",
        "Shared memory block 'KvTest_Planted' was not made by this process (another owner, access for "
        "others or a wrong size); it is not used.");
}

INSTANTIATE_TEST_SUITE_P(Blocks, SharedMemoryPlanted,
                         ::testing::Values(PlantedBlock{"WritableByAll", 0666, 8, false},
                                           PlantedBlock{"ReadableByGroup", 0640, 8, false},
                                           PlantedBlock{"Larger", 0600, 16, false},
                                           PlantedBlock{"Empty", 0600, 0, false},
                                           PlantedBlock{"OtherOwner", 0600, 8, true}),
                         [](const ::testing::TestParamInfo<PlantedBlock>& row) { return row.param.m_pCase; });
