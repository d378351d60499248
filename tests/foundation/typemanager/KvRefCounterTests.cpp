#include "Foundation/KvRefCounter.h"
#include "Foundation/KvSmartPtr.h"
#include "support/KvTestReports.h"

#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace
{
constexpr const char* kFile = "KvFoundation/api/public/Foundation/KvRefCounter";

// Counts its destructions.
class Counted : public KvRefCounter
{
public:
    explicit Counted(int* pDestroyed) : m_pDestroyed(pDestroyed) {}
    ~Counted() override { ++*m_pDestroyed; }

private:
    int* m_pDestroyed;
};
} // namespace

// The last release destroys the object, once; a copy starts without references of its own.
TEST(RefCounter, LastReleaseDestroysOnce_CopiesStartUnreferenced)
{
    int destroyed = 0;
    auto* pOriginal = new Counted(&destroyed);
    EXPECT_EQ(pOriginal->GetRefCount(), 0);
    pOriginal->AddRef();
    pOriginal->AddRef();
    auto* pCopy = new Counted(*pOriginal);
    EXPECT_EQ(pCopy->GetRefCount(), 0);
    pCopy->AddRef();
    pOriginal->Release();
    EXPECT_EQ(destroyed, 0);
    pOriginal->Release();
    EXPECT_EQ(destroyed, 1);
    pCopy->Release();
    EXPECT_EQ(destroyed, 2);
}

TEST(RefCounter, ReleaseWithoutReference_Fatal)
{
    EXPECT_FATAL(
        {
            int destroyed = 0;
            Counted object(&destroyed);
            object.Release();
        },
        kFile, "KvRefCounter::Release", 77,
        "Tried to release reference on object without any active references!");
}

TEST(RefCounter, DestroyedWhileReferenced_Fatal)
{
    EXPECT_FATAL(
        {
            int destroyed = 0;
            auto* pObject = new Counted(&destroyed);
            pObject->AddRef();
            delete pObject;
        },
        kFile, "KvRefCounter::~KvRefCounter", 56, "Reference count was not null when destroyed!");
}

TEST(SmartPtr, AssignAddsThenReleasesPrevious)
{
    int destroyedA = 0;
    int destroyedB = 0;
    auto* pA = new Counted(&destroyedA);
    auto* pB = new Counted(&destroyedB);
    KvSmartPtr<Counted> holder(pA);
    EXPECT_EQ(pA->GetRefCount(), 1);
    holder = pB;
    EXPECT_EQ(destroyedA, 1);
    EXPECT_EQ(pB->GetRefCount(), 1);
    // Reassigning the held object must not destroy it in between.
    holder = pB;
    EXPECT_EQ(destroyedB, 0);
    holder.Clear();
    EXPECT_EQ(destroyedB, 1);
    EXPECT_FALSE(holder);
}

TEST(SmartPtr, CopiesAndArraysShareOneObject)
{
    int destroyed = 0;
    {
        std::vector<KvSmartPtr<Counted>> actions;
        actions.emplace_back(new Counted(&destroyed));
        actions.push_back(actions[0]);
        actions.push_back(actions[0]);
        EXPECT_EQ(actions[0]->GetRefCount(), 3);
        KvSmartPtr<Counted> moved(std::move(actions[2]));
        EXPECT_EQ(moved->GetRefCount(), 3);
        EXPECT_FALSE(actions[2]);
    }
    EXPECT_EQ(destroyed, 1);
}

TEST(SmartPtr, ConcurrentCopies_CountStaysExact)
{
    int destroyed = 0;
    KvSmartPtr<Counted> shared(new Counted(&destroyed));
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
    {
        threads.emplace_back(
            [&shared]
            {
                for (int i = 0; i < 10000; ++i)
                    KvSmartPtr<Counted> copy(shared);
            });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(shared->GetRefCount(), 1);
    shared.Clear();
    EXPECT_EQ(destroyed, 1);
}
