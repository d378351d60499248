#pragma once

#include "KvResourceCommonExport.h"

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

class KvReflectedDataType;
class KvReflectedPrimitive;

// How a schema is shown: as JSON ({"type", "size", "attributes", "members"}, each member
// {"name", "kind", "valueType", "attributes"}) and as text, one member per line.
namespace KvSchemaDescription
{
// "value", "enum", "struct", "array", "arrayStruct", "pointer", "arrayPointer", "dynamicPointer".
KV_RESOURCECOMMON_API const char* GetKindName(const KvReflectedPrimitive& member);
// The value type name, the enumeration's name, or the element or pointee type's name.
KV_RESOURCECOMMON_API std::string GetValueTypeName(const KvReflectedPrimitive& member);
KV_RESOURCECOMMON_API nlohmann::ordered_json ToJson(const KvReflectedDataType& type);
// "<member> <kind> <value type> <attribute>(<args>) ..." lines after a "<type> (<size> bytes)" header.
KV_RESOURCECOMMON_API std::string ToText(const KvReflectedDataType& type);
// The type and every type its members name (embedded, element, pointee), each once, in
// the order they are first reached.
KV_RESOURCECOMMON_API std::vector<const KvReflectedDataType*>
GetReachableTypes(const KvReflectedDataType& root);
} // namespace KvSchemaDescription
