#include "testaccess/KvResourceCommonTestAccess.h"

#include <gtest/gtest.h>

TEST(Base64, KnownVectorsAndEveryByteValue)
{
    const std::pair<std::string, std::string> vectors[] = {{"", ""},
                                                           {"f", "Zg=="},
                                                           {"fo", "Zm8="},
                                                           {"foo", "Zm9v"},
                                                           {"foob", "Zm9vYg=="},
                                                           {"fooba", "Zm9vYmE="},
                                                           {"foobar", "Zm9vYmFy"}};
    for (const auto& [plain, encoded] : vectors)
    {
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
