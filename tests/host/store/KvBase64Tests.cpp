#include "support/KvTestData.h"
#include "testaccess/KvResourceCommonTestAccess.h"

#include <gtest/gtest.h>

// The examples of RFC 4648, then every byte value.
TEST(Base64, KnownVectorsAndEveryByteValue)
{
    for (const auto& row : TestDataJson("store/base64.json"))
    {
        const std::string plain = row[0], encoded = row[1];
        const std::vector<uint8_t> bytes(plain.begin(), plain.end());
        EXPECT_EQ(KvEncodeBase64(bytes), encoded);
        EXPECT_EQ(KvDecodeBase64(encoded), bytes);
    }
    std::vector<uint8_t> every(256);
    for (size_t i = 0; i < every.size(); ++i)
        every[i] = static_cast<uint8_t>(i);
    EXPECT_EQ(KvDecodeBase64(KvEncodeBase64(every)), every);
}

TEST(Base64, RejectsMalformedText)
{
    for (const char* text : {"Zg=", "Z===", "Zg=a", "Zm9v!A==", "=Zg=", "Zm=v"})
        EXPECT_FALSE(KvDecodeBase64(text)) << text;
}
