#pragma once

#include "KvResourceCommonExport.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Standard base64 (RFC 4648) with padding, for byte arrays in JSON.
KV_RESOURCECOMMON_API std::string KvEncodeBase64(const std::vector<uint8_t>& bytes);
// Nothing for text that is not padded base64 of the standard alphabet.
KV_RESOURCECOMMON_API std::optional<std::vector<uint8_t>> KvDecodeBase64(const std::string& text);
