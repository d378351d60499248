#include "support/KvTestProcess.h"
#include "testaccess/KvFoundationTestAccess.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <set>
#include <thread>
#include <vector>

namespace
{
struct Uuid
{
    uint8_t m_aBytes[16];
    uint8_t operator[](size_t index) const { return m_aBytes[index]; }
};

Uuid Generate()
{
    Uuid uuid;
    EXPECT_TRUE(KvPlatform::KvTimeUuidGenerator::GetInstance().Generate(uuid.m_aBytes));
    return uuid;
}

uint64_t ReadBigEndian(const uint8_t* pBytes, int byteCount)
{
    uint64_t value = 0;
    for (int index = 0; index < byteCount; ++index)
        value = value << 8 | pBytes[index];
    return value;
}

// The 60-bit count of 100 ns since 1582-10-15, gathered from its three fields.
uint64_t TimestampOf(const Uuid& uuid)
{
    return (ReadBigEndian(&uuid.m_aBytes[6], 2) & 0x0FFF) << 48 | ReadBigEndian(&uuid.m_aBytes[4], 2) << 32 |
           ReadBigEndian(&uuid.m_aBytes[0], 4);
}

uint64_t NodeOf(const Uuid& uuid)
{
    return ReadBigEndian(&uuid.m_aBytes[10], 6);
}

std::vector<Uuid> GenerateMany(size_t count)
{
    std::vector<Uuid> uuids(count);
    std::generate(uuids.begin(), uuids.end(), Generate);
    return uuids;
}
} // namespace

TEST(TimeUuidGenerator, Generate_Version1VariantMulticastNodeAndTheCurrentTime)
{
    // The Unix epoch counted in 100 ns from 1582-10-15, as RFC 4122 gives it.
    const uint64_t unixEpoch = 122192928000000000ull;
    const auto sinceUnixEpoch = std::chrono::system_clock::now().time_since_epoch();
    const uint64_t now =
        unixEpoch +
        static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(sinceUnixEpoch).count()) *
            10;
    const Uuid uuid = Generate();
    EXPECT_EQ(uuid[6] >> 4, 1);
    EXPECT_EQ(uuid[8] >> 6, 2);
    EXPECT_EQ(uuid[10] & 1, 1);
    const uint64_t timestamp = TimestampOf(uuid);
    EXPECT_LT(timestamp > now ? timestamp - now : now - timestamp, 10'000'000ull) << "more than a second off";
}

// Each thread sees strictly increasing timestamps, no two calls share one, and the node and clock
// sequence stay those of the process.
TEST(TimeUuidGenerator, Generate_ThreadsNeverShareATimestamp)
{
    constexpr size_t kThreads = 4;
    constexpr size_t kPerThread = 20000;
    std::vector<std::vector<Uuid>> made(kThreads);
    {
        std::vector<std::jthread> threads;
        for (std::vector<Uuid>& uuids : made)
            threads.emplace_back([&uuids] { uuids = GenerateMany(kPerThread); });
    }
    std::set<uint64_t> timestamps;
    for (const std::vector<Uuid>& uuids : made)
    {
        for (size_t index = 1; index < uuids.size(); ++index)
            ASSERT_GT(TimestampOf(uuids[index]), TimestampOf(uuids[index - 1]));
        for (const Uuid& uuid : uuids)
        {
            timestamps.insert(TimestampOf(uuid));
            ASSERT_EQ(NodeOf(uuid), NodeOf(made[0][0]));
            ASSERT_EQ(uuid[8] << 8 | uuid[9], made[0][0][8] << 8 | made[0][0][9]);
        }
    }
    EXPECT_EQ(timestamps.size(), kThreads * kPerThread);
}

TEST(TimeUuidGenerator, Generate_AForkedChildTakesANodeOfItsOwn)
{
    const Uuid parent = Generate();
    // The child exits 0 when its node differs from the parent's.
    const int childResult = RunInChild(
        [&parent]
        {
            const Uuid child = Generate();
            return NodeOf(child) != NodeOf(parent) && (child[10] & 1) == 1 ? 0 : 1;
        });
    EXPECT_EQ(childResult, 0);
    EXPECT_EQ(NodeOf(Generate()), NodeOf(parent));
}
