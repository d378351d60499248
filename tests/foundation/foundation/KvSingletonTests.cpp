#include "Foundation/KvEastlSharedMemory.h"
#include "support/KvTestReports.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
constexpr const char* kAutoSingletonFile = "KvFoundation/api/public/Foundation/KvAutoSingleton_ProcessShared";

const std::string kDestroyTwiceReport =
    ExpectedReport(kAutoSingletonFile,
                   "KvAutoSingleton_ProcessShared<class KvEastlSharedMemory>::~KvAutoSingleton_ProcessShared",
                   69, "Tried to destroy singleton more than once");

// Two owners can only coexist when someone withdrew the first from the block; the first
// destruction then takes the module's pointer object with it.
void DestroyTwoOwners()
{
    KvEastlSharedMemory* pFirst = KvEastlSharedMemory::GetInstance();
    KvSharedMemoryPtr<KvEastlSharedMemory>("KvEastlSharedMemory", "instance").Set(nullptr);
    KvEastlSharedMemory* pSecond = new KvEastlSharedMemory();
    delete pFirst;
    delete pSecond;
}
} // namespace

TEST(AutoSingleton, DestroyWithdrawsThenANewOneMayPublish)
{
    KvEastlSharedMemory* pFirst = KvEastlSharedMemory::GetInstance();
    delete pFirst;
    EXPECT_EQ(KvEastlSharedMemory::GetPublished(), nullptr);
    KvEastlSharedMemory* pSecond = KvEastlSharedMemory::GetInstance();
    EXPECT_EQ(KvEastlSharedMemory::GetPublished(), pSecond);
}

TEST(AutoSingleton, SecondInstance_Fatal)
{
    KvEastlSharedMemory::GetInstance();
    EXPECT_FATAL(KvEastlSharedMemory second, kAutoSingletonFile,
                 "KvAutoSingleton_ProcessShared<class KvEastlSharedMemory>::KvAutoSingleton_ProcessShared",
                 61, "Tried to instantiate singleton more than once");
}

TEST(AutoSingleton, DestroyTwice_FatalAndRaisedToAHostThatAsks)
{
    EXPECT_EXIT(DestroyTwoOwners(), ::testing::ExitedWithCode(255),
                ::testing::HasSubstr(kDestroyTwiceReport));
    EXPECT_EQ(RaisedFatalReport(&DestroyTwoOwners), kDestroyTwiceReport);
}
