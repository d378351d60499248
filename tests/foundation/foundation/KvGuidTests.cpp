#include "Foundation/KvGuid.h"

#include <gtest/gtest.h>
#include <set>

TEST(Guid, GenerateNew_UniqueAndTimeBased)
{
    std::set<KvGuid> seen;
    for (int i = 0; i < 1000; ++i)
    {
        const KvGuid guid = KvGuid::GenerateNew();
        EXPECT_FALSE(guid.IsNull());
        // Version 1 (time-based) sits in the high nibble of the third field.
        EXPECT_EQ(guid.m_usData3 >> 12, 1);
        EXPECT_TRUE(seen.insert(guid).second);
    }
}

TEST(Guid, Text_RoundTripsLowerCaseMalformedRefused)
{
    KvGuid guid;
    guid.m_ulData1 = 0x0123ABCD;
    guid.m_usData2 = 0x4567;
    guid.m_usData3 = 0x89EF;
    for (int i = 0; i < 8; ++i)
        guid.m_aucData4[i] = static_cast<uint8_t>(0xA0 + i);
    EXPECT_EQ(guid.ToString(), "0123abcd-4567-89ef-a0a1-a2a3a4a5a6a7");
    EXPECT_EQ(KvGuid::FromString("0123ABCD-4567-89EF-A0A1-A2A3A4A5A6A7"), guid);
    const KvGuid generated = KvGuid::GenerateNew();
    EXPECT_EQ(KvGuid::FromString(generated.ToString()), generated);
    for (const char* text :
         {"", "0123abcd-4567-89ef-a0a1-a2a3a4a5a6a", "0123abcd-4567-89ef-a0a1-a2a3a4a5a6a78",
          "0123abcd+4567-89ef-a0a1-a2a3a4a5a6a7", "0123abcg-4567-89ef-a0a1-a2a3a4a5a6a7"})
        EXPECT_FALSE(KvGuid::FromString(text)) << text;
}

TEST(Guid, FromName_IsTheVersion5UuidOfTheName)
{
    // The DNS namespace of RFC 4122 and the identifier every version 5 generator gives "python.org".
    const KvGuid dns = *KvGuid::FromString("6ba7b810-9dad-11d1-80b4-00c04fd430c8");
    EXPECT_EQ(KvGuid::FromName(dns, "python.org").ToString(), "886313e1-3b8a-5372-9b90-0c9aee199e5d");
    EXPECT_NE(KvGuid::FromName(dns, "python.org"), KvGuid::FromName(dns, "python.org."));
}
