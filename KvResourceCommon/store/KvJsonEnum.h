#pragma once

#include <nlohmann/json.hpp>

#include <cstdint>
#include <optional>

class KvEnumConverterBase;
class KvJsonWriter;

// Enumerations in JSON. With a converter a value is its name, unless another value of the
// same enumeration has that name too ("[NONE]" is both 0 and N in several tables), then its
// number, so that every value reloads as itself; without a converter, or without a name, a
// value is its number.
void KvWriteEnum(KvJsonWriter& writer, const KvEnumConverterBase* pConverter, uint32_t value);
// A number up to 0xFFFFFFFF, or a name of the converter standing for its lowest value.
std::optional<uint32_t> KvEnumFromJson(const KvEnumConverterBase* pConverter,
                                       const nlohmann::ordered_json& json);
