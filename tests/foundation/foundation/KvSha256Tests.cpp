#include "Foundation/KvSha256.h"

#include <gtest/gtest.h>

namespace
{
std::string HashInPieces(const std::string& text, size_t pieceSize)
{
    KvSha256 hash;
    for (size_t start = 0; start < text.size(); start += pieceSize)
        hash.Update(text.data() + start, std::min(pieceSize, text.size() - start));
    return KvSha256::ToHex(hash.Final());
}
} // namespace

// The FIPS 180-2 examples, fed whole and in pieces that straddle block boundaries unevenly.
TEST(Sha256, StandardVectors_AnyPieceSize)
{
    const struct
    {
        std::string m_strText;
        const char* m_pDigest;
    } kVectors[] = {
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const auto& vector : kVectors)
        for (const size_t pieceSize : {size_t(1), size_t(55), size_t(64), size_t(1000), size_t(1) << 20})
            EXPECT_EQ(HashInPieces(vector.m_strText, pieceSize), vector.m_pDigest)
                << vector.m_strText.substr(0, 20) << " in pieces of " << pieceSize;
}

TEST(Sha256, Final_StartsOver)
{
    KvSha256 hash;
    hash.Update("xyz", 3);
    (void)hash.Final();
    hash.Update("abc", 3);
    EXPECT_EQ(KvSha256::ToHex(hash.Final()),
              "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
}
