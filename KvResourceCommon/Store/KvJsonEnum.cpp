#include "Store/KvJsonEnum.h"

#include "Foundation/KvEnumConverter.h"

#include <limits>
#include <string>
#include <string_view>

namespace
{
// The lowest value 0..N named `name` other than `except`, if any.
std::optional<uint32_t> FindValueNamed(const KvEnumConverterBase& converter, std::string_view name,
                                       std::optional<uint32_t> except = std::nullopt)
{
    for (uint32_t value = 0; value <= converter.GetCount(); ++value)
    {
        const char* candidate = converter.ToString(value);
        if (value != except && candidate && name == candidate)
            return value;
    }
    return std::nullopt;
}
} // namespace

nlohmann::ordered_json KvEnumToJson(const KvEnumConverterBase* pConverter, uint32_t value)
{
    const char* name = pConverter ? pConverter->ToString(value) : nullptr;
    if (!name || FindValueNamed(*pConverter, name, value))
        return value;
    return name;
}

std::optional<uint32_t> KvEnumFromJson(const KvEnumConverterBase* pConverter,
                                       const nlohmann::ordered_json& json)
{
    if (json.is_number_unsigned() && json.get<uint64_t>() <= std::numeric_limits<uint32_t>::max())
        return json.get<uint32_t>();
    if (json.is_string() && pConverter)
        return FindValueNamed(*pConverter, json.get_ref<const std::string&>());
    return std::nullopt;
}
