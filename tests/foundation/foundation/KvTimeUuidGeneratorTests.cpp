#include "support/KvTestProcess.h"
#include "testaccess/KvFoundationTestAccess.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <set>
#include <thread>
#include <vector>

namespace
{
using Uuid = std::array<uint8_t, 16>;

Uuid Generate()
{
    uint8_t bytes[16];
    EXPECT_TRUE(KvPlatform::KvTimeUuidGenerator::GetInstance().Generate(bytes));
    Uuid uuid;
    std::copy(std::begin(bytes), std::end(bytes), uuid.begin());
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
    return (ReadBigEndian(&uuid[6], 2) & 0x0FFF) << 48 | ReadBigEndian(&uuid[4], 2) << 32 |
           ReadBigEndian(&uuid[0], 4);
}

uint64_t NodeOf(const Uuid& uuid)
{
    return ReadBigEndian(&uuid[10], 6);
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

TEST(TimeUuidGenerator, Generate_TimestampsStrictlyIncreaseUnderOneNode)
{
    const std::vector<Uuid> uuids = GenerateMany(100000);
    for (size_t index = 1; index < uuids.size(); ++index)
    {
        ASSERT_GT(TimestampOf(uuids[index]), TimestampOf(uuids[index - 1])) << index;
        ASSERT_EQ(NodeOf(uuids[index]), NodeOf(uuids[0]));
        ASSERT_EQ(ReadBigEndian(&uuids[index][8], 2), ReadBigEndian(&uuids[0][8], 2));
    }
}

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
            timestamps.insert(TimestampOf(uuid));
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
