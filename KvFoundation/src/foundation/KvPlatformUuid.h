#pragma once

#include <cstdint>

namespace KvPlatform
{
// Status of a sequential UUID that could not be made globally unique (no usable node id).
inline constexpr uint32_t kUuidStatusLocalOnly = 0x720;

// Fills 16 bytes (RFC 4122 order) with a time-based UUID; 0 on success, else a status.
uint32_t GenerateSequentialUuid(uint8_t (&outBytes)[16]);
} // namespace KvPlatform
