#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

// SHA-256 (FIPS 180-4) of bytes fed in pieces of any size, so that a large array or file is
// hashed as it streams past.
class KvSha256
{
public:
    using tDigest = std::array<uint8_t, 32>;

    void Update(const void* pData, size_t size);
    // The digest of everything fed; the object starts over afterwards.
    tDigest Final();

    // 64 lower-case hex digits.
    static std::string ToHex(const tDigest& digest);

private:
    void Compress(const uint8_t* pBlock);

    std::array<uint32_t, 8> m_State = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                       0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
    std::array<uint8_t, 64> m_Block = {};
    size_t m_uiBlockUsed = 0;
    uint64_t m_ullTotalBytes = 0;
};
