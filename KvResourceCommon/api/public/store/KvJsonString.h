#pragma once

#include "KvResourceCommonExport.h"

#include <nlohmann/json.hpp>

#include <optional>
#include <string>
#include <string_view>

class KvJsonWriter;

// Strings are 8-bit byte sequences. In JSON, one that is valid UTF-8 is a JSON string; any
// other is {"$latin1": text} holding each byte as the code point of the same value, so that
// every byte sequence round-trips exactly and stays readable, and writing the JSON never
// meets text it cannot encode.

// Strict UTF-8 (RFC 3629): no overlong forms, no surrogates, nothing above U+10FFFF.
KV_RESOURCECOMMON_API bool KvIsValidUtf8(std::string_view bytes);
KV_RESOURCECOMMON_API void KvWriteString(KvJsonWriter& writer, const std::string& bytes);
// The bytes of either form; nothing for other JSON or a "$latin1" code point above U+00FF.
KV_RESOURCECOMMON_API std::optional<std::string> KvStringFromJson(const nlohmann::ordered_json& json);
