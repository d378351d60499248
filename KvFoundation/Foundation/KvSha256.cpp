#include "Foundation/KvSha256.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace
{
constexpr uint32_t kRoundConstants[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

uint32_t LoadBigEndian(const uint8_t* pBytes)
{
    return uint32_t(pBytes[0]) << 24 | uint32_t(pBytes[1]) << 16 | uint32_t(pBytes[2]) << 8 | pBytes[3];
}
} // namespace

void KvSha256::Compress(const uint8_t* pBlock)
{
    uint32_t schedule[64];
    for (int index = 0; index < 16; ++index)
        schedule[index] = LoadBigEndian(pBlock + 4 * index);
    for (int index = 16; index < 64; ++index)
    {
        const uint32_t early = schedule[index - 15];
        const uint32_t late = schedule[index - 2];
        const uint32_t sigma0 = std::rotr(early, 7) ^ std::rotr(early, 18) ^ (early >> 3);
        const uint32_t sigma1 = std::rotr(late, 17) ^ std::rotr(late, 19) ^ (late >> 10);
        schedule[index] = schedule[index - 16] + sigma0 + schedule[index - 7] + sigma1;
    }
    auto [a, b, c, d, e, f, g, h] = m_State;
    for (int index = 0; index < 64; ++index)
    {
        const uint32_t sum1 = std::rotr(e, 6) ^ std::rotr(e, 11) ^ std::rotr(e, 25);
        const uint32_t choose = (e & f) ^ (~e & g);
        const uint32_t temp1 = h + sum1 + choose + kRoundConstants[index] + schedule[index];
        const uint32_t sum0 = std::rotr(a, 2) ^ std::rotr(a, 13) ^ std::rotr(a, 22);
        const uint32_t majority = (a & b) ^ (a & c) ^ (b & c);
        h = g;
        g = f;
        f = e;
        e = d + temp1;
        d = c;
        c = b;
        b = a;
        a = temp1 + sum0 + majority;
    }
    const uint32_t worked[8] = {a, b, c, d, e, f, g, h};
    for (int index = 0; index < 8; ++index)
        m_State[index] += worked[index];
}

void KvSha256::Update(const void* pData, size_t size)
{
    if (size == 0)
        return;
    const auto* pBytes = static_cast<const uint8_t*>(pData);
    m_ullTotalBytes += size;
    if (m_uiBlockUsed > 0)
    {
        const size_t taken = std::min(size, m_Block.size() - m_uiBlockUsed);
        std::memcpy(m_Block.data() + m_uiBlockUsed, pBytes, taken);
        m_uiBlockUsed += taken;
        pBytes += taken;
        size -= taken;
        if (m_uiBlockUsed < m_Block.size())
            return;
        Compress(m_Block.data());
        m_uiBlockUsed = 0;
    }
    // Whole blocks straight from the caller's bytes, without a copy.
    for (; size >= m_Block.size(); pBytes += m_Block.size(), size -= m_Block.size())
        Compress(pBytes);
    std::memcpy(m_Block.data(), pBytes, size);
    m_uiBlockUsed = size;
}

KvSha256::tDigest KvSha256::Final()
{
    const uint64_t totalBits = m_ullTotalBytes * 8;
    // A one bit, zeros up to 8 bytes short of a block, then the length in bits.
    uint8_t padding[72] = {0x80};
    const size_t paddingSize = (m_uiBlockUsed < 56 ? 56 : 120) - m_uiBlockUsed;
    for (int index = 0; index < 8; ++index)
        padding[paddingSize + index] = static_cast<uint8_t>(totalBits >> (56 - 8 * index));
    Update(padding, paddingSize + 8);
    tDigest digest;
    for (size_t index = 0; index < digest.size(); ++index)
        digest[index] = static_cast<uint8_t>(m_State[index / 4] >> (24 - 8 * (index % 4)));
    *this = KvSha256();
    return digest;
}

std::string KvSha256::ToHex(const tDigest& digest)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(2 * digest.size());
    for (const uint8_t byte : digest)
    {
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 0xf];
    }
    return hex;
}
