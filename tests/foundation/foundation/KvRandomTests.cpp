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

// The sequence itself, from the initial seed, is checked by the two-module tests.
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
    EXPECT_EQ(generator.GetRandom(5.0f, 5.0f), 5.0f);
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
