#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// 128-bit identifier laid out as the Windows GUID it stands for.
struct KvGuid
{
    uint32_t m_ulData1 = 0;
    uint16_t m_usData2 = 0;
    uint16_t m_usData3 = 0;
    uint8_t m_aucData4[8] = {};

    bool operator==(const KvGuid&) const = default;
    auto operator<=>(const KvGuid&) const = default;

    bool IsNull() const { return *this == KvGuid(); }

    // "xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx", lower case.
    std::string ToString() const;
    // Parses the form ToString writes (either case); nothing on any other text.
    static std::optional<KvGuid> FromString(const std::string& text);

    // A new sequential (time-based) identifier; fatal when the system cannot make one.
    static KvGuid GenerateNew();
    // The name-based identifier (UUID version 5) of a name in a namespace: the same on every
    // machine and in every run.
    static KvGuid FromName(const KvGuid& nameSpace, std::string_view name);
};

static_assert(sizeof(KvGuid) == 16, "a GUID is 128 bits");
