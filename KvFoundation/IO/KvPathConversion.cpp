#include "IO/KvPathConversion.h"

#include <cstdint>

std::u16string KvConvertPathToUtf16(const char* path)
{
    std::u16string result;
    const auto* pByte = reinterpret_cast<const uint8_t*>(path);
    while (*pByte)
    {
        const uint8_t lead = *pByte++;
        if (lead < 0x80)
        {
            result.push_back(lead);
            continue;
        }
        uint32_t value = lead & 0x1F;
        const int continuationCount = lead < 0xE0 ? 1 : 2;
        for (int i = 0; i < continuationCount; ++i)
        {
            // A path cut inside a sequence ends here; the partial character is dropped.
            if (!*pByte)
                return result;
            value = ((value << 6) | (*pByte++ & 0x3F)) & 0xFFFF;
        }
        result.push_back(static_cast<char16_t>(value));
    }
    return result;
}
