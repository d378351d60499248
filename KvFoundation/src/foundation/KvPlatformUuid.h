#pragma once

#include <cstdint>
#include <string_view>

namespace KvPlatform
{
// Status of a sequential UUID that could not be made globally unique (no usable node id).
inline constexpr uint32_t kUuidStatusLocalOnly = 0x720;

// Fills 16 bytes (RFC 4122 order) with a time-based UUID; 0 on success, else a status.
uint32_t GenerateSequentialUuid(uint8_t (&outBytes)[16]);
// Fills 16 bytes with the name-based (SHA-1, version 5) UUID of a name in a namespace.
void GenerateNameBasedUuid(const uint8_t (&nameSpace)[16], std::string_view name, uint8_t (&outBytes)[16]);
} // namespace KvPlatform
