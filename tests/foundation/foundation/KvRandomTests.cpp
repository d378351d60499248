#include "Foundation/KvRandom.h"
#include "support/KvTestReports.h"

#include <cmath>
#include <gtest/gtest.h>

namespace
{
class RandomSequence : public ::testing::Test
{
protected:
    void SetUp() override { KvRandomGeneratorCRT::SetSeed(123456); }
};
} // namespace

TEST_F(RandomSequence, FirstValueFromInitialSeed)
{
    KvRandomGeneratorCRT generator;
    EXPECT_EQ(generator.GetRandom(0.0f, 1.0f), 0.304473876953125f);
    EXPECT_EQ(KvRandomGeneratorCRT::GetSeed(), 653916163u);
}

TEST_F(RandomSequence, InstancesContinueOneSequence)
{
    KvRandomGeneratorCRT first;
    first.GetRandom(0.0f, 1.0f);
    const uint32_t seedAfterFirst = KvRandomGeneratorCRT::GetSeed();
    KvRandomGeneratorCRT second;
    second.GetRandom(0.0f, 1.0f);
    EXPECT_EQ(KvRandomGeneratorCRT::GetSeed(), seedAfterFirst * 214013u + 2531011u);
}

TEST_F(RandomSequence, EqualBoundsGiveTheBound)
{
    EXPECT_EQ(KvRandomGeneratorCRT().GetRandom(5.0f, 5.0f), 5.0f);
}

TEST_F(RandomSequence, ValuesStayInRangeWith15Bits)
{
    KvRandomGeneratorCRT generator;
    for (int i = 0; i < 10000; ++i)
    {
        const float value = generator.GetRandom(-3.0f, 7.0f);
        ASSERT_GE(value, -3.0f);
        ASSERT_LT(value, 7.0f);
        // Every value is min plus a multiple of range / 2^15.
        const float steps = (value + 3.0f) / 10.0f * 32768.0f;
        ASSERT_NEAR(steps, std::round(steps), 1e-2f);
    }
}

TEST_F(RandomSequence, MaxBelowMin_WarnsAndStaysInReversedRange)
{
    RecordingLog log;
    const float value = KvRandomGeneratorCRT().GetRandom(2.0f, 1.0f);
    EXPECT_GT(value, 1.0f);
    EXPECT_LE(value, 2.0f);
    ASSERT_EQ(log.m_aEntries.size(), 1u);
    EXPECT_EQ(log.m_aEntries[0].m_uiLevel, 3u);
    EXPECT_EQ(log.m_aEntries[0].m_strMessage,
              ExpectedReport("KvFoundation/api/public/Foundation/KvRandom", "KvRandomGeneratorCRT::GetRandom",
                             254, "Max < min"));
}
