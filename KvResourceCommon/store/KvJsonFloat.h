#pragma once

#include <nlohmann/json.hpp>

#include <optional>

class KvJsonWriter;

// 32-bit floats in JSON, exact for every bit pattern: a finite value is the shortest number
// that reads back as the same float (-0 included); a NaN or an infinity, which JSON numbers
// cannot hold, is {"$f32": "0x7fc00001"}, its bits in eight lower-case hex digits, so a
// NaN keeps its sign and payload.
void KvWriteFloat(KvJsonWriter& writer, float value);
// Either form; nothing for other JSON and for numbers that are no finite float, since
// rounding them to an infinity would silently change the data.
std::optional<float> KvFloatFromJson(const nlohmann::ordered_json& json);
