#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Little-endian bytes built by hand.
class ByteWriter
{
public:
    ByteWriter& U8(uint8_t value)
    {
        m_aBytes.push_back(value);
        return *this;
    }
    ByteWriter& U32(uint32_t value)
    {
        for (int shift = 0; shift < 32; shift += 8)
            m_aBytes.push_back(static_cast<uint8_t>(value >> shift));
        return *this;
    }
    ByteWriter& Zeros(size_t count)
    {
        m_aBytes.insert(m_aBytes.end(), count, 0);
        return *this;
    }
    ByteWriter& Bytes(const std::vector<uint8_t>& bytes)
    {
        m_aBytes.insert(m_aBytes.end(), bytes.begin(), bytes.end());
        return *this;
    }
    ByteWriter& Text(const std::string& text)
    {
        m_aBytes.insert(m_aBytes.end(), text.begin(), text.end());
        return *this;
    }
    // A chunk-file string: length, then the bytes.
    ByteWriter& String(const std::string& text) { return U32(static_cast<uint32_t>(text.size())).Text(text); }

    std::vector<uint8_t> m_aBytes;
};

inline std::vector<uint8_t> BytesOf(const std::string& text)
{
    return std::vector<uint8_t>(text.begin(), text.end());
}
