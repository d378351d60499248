#include "Foundation/KvGuid.h"

#include "Foundation/KvReport.h"
#include "src/foundation/KvPlatformUuid.h"

#include <cstdio>

namespace
{
// The UUID's fields are big-endian; the GUID holds them as integers.
KvGuid FromUuidBytes(const uint8_t (&bytes)[16])
{
    KvGuid guid;
    guid.m_ulData1 =
        (uint32_t(bytes[0]) << 24) | (uint32_t(bytes[1]) << 16) | (uint32_t(bytes[2]) << 8) | bytes[3];
    guid.m_usData2 = static_cast<uint16_t>((bytes[4] << 8) | bytes[5]);
    guid.m_usData3 = static_cast<uint16_t>((bytes[6] << 8) | bytes[7]);
    for (int i = 0; i < 8; ++i)
        guid.m_aucData4[i] = bytes[8 + i];
    return guid;
}

void ToUuidBytes(const KvGuid& guid, uint8_t (&outBytes)[16])
{
    for (int i = 0; i < 4; ++i)
        outBytes[i] = static_cast<uint8_t>(guid.m_ulData1 >> (24 - 8 * i));
    outBytes[4] = static_cast<uint8_t>(guid.m_usData2 >> 8);
    outBytes[5] = static_cast<uint8_t>(guid.m_usData2);
    outBytes[6] = static_cast<uint8_t>(guid.m_usData3 >> 8);
    outBytes[7] = static_cast<uint8_t>(guid.m_usData3);
    for (int i = 0; i < 8; ++i)
        outBytes[8 + i] = guid.m_aucData4[i];
}
} // namespace

KvGuid KvGuid::FromName(const KvGuid& nameSpace, std::string_view name)
{
    uint8_t space[16];
    ToUuidBytes(nameSpace, space);
    uint8_t bytes[16];
    KvPlatform::GenerateNameBasedUuid(space, name, bytes);
    return FromUuidBytes(bytes);
}

KvGuid KvGuid::GenerateNew()
{
    uint8_t bytes[16] = {};
    const uint32_t status = KvPlatform::GenerateSequentialUuid(bytes);
    if (status != 0)
        KvFatalReport(
            {"kvfoundation\\src\\foundation\\KvGuid_Win32", "KvGuid::GenerateNew", 21},
            "Failed to allocate guid. The machine needs a valid mac address to allocate guid's. Error code "
            "is '0x%x'",
            status);
    return FromUuidBytes(bytes);
}

std::string KvGuid::ToString() const
{
    char text[37];
    std::snprintf(text, sizeof(text), "%08x-%04x-%04x-%02x%02x-%02x%02x%02x%02x%02x%02x", m_ulData1,
                  m_usData2, m_usData3, m_aucData4[0], m_aucData4[1], m_aucData4[2], m_aucData4[3],
                  m_aucData4[4], m_aucData4[5], m_aucData4[6], m_aucData4[7]);
    return text;
}

std::optional<KvGuid> KvGuid::FromString(const std::string& text)
{
    // Hex digits at every place but the four dashes.
    if (text.size() != 36)
        return std::nullopt;
    uint8_t nibbles[32];
    size_t count = 0;
    for (size_t i = 0; i < text.size(); ++i)
    {
        const char c = text[i];
        const bool bDashPlace = i == 8 || i == 13 || i == 18 || i == 23;
        if (bDashPlace)
        {
            if (c != '-')
                return std::nullopt;
            continue;
        }
        if (c >= '0' && c <= '9')
            nibbles[count++] = static_cast<uint8_t>(c - '0');
        else if (c >= 'a' && c <= 'f')
            nibbles[count++] = static_cast<uint8_t>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F')
            nibbles[count++] = static_cast<uint8_t>(c - 'A' + 10);
        else
            return std::nullopt;
    }
    auto readBits = [&nibbles](size_t first, size_t digitCount)
    {
        uint32_t value = 0;
        for (size_t i = 0; i < digitCount; ++i)
            value = (value << 4) | nibbles[first + i];
        return value;
    };
    KvGuid guid;
    guid.m_ulData1 = readBits(0, 8);
    guid.m_usData2 = static_cast<uint16_t>(readBits(8, 4));
    guid.m_usData3 = static_cast<uint16_t>(readBits(12, 4));
    for (size_t i = 0; i < 8; ++i)
        guid.m_aucData4[i] = static_cast<uint8_t>(readBits(16 + 2 * i, 2));
    return guid;
}
