#include "store/KvJsonEnum.h"

#include "Foundation/KvEnumConverter.h"
#include "store/KvJsonWriter.h"

#include <limits>
#include <string>

void KvWriteEnum(KvJsonWriter& writer, const KvEnumConverterBase* pConverter, uint32_t value)
{
    const char* name = pConverter ? pConverter->ToString(value) : nullptr;
    if (!name || pConverter->IsNameShared(value))
        writer.Unsigned(value);
    else
        writer.String(name);
}

std::optional<uint32_t> KvEnumFromJson(const KvEnumConverterBase* pConverter,
                                       const nlohmann::ordered_json& json)
{
    if (json.is_number_unsigned() && json.get<uint64_t>() <= std::numeric_limits<uint32_t>::max())
        return json.get<uint32_t>();
    if (json.is_string() && pConverter)
        return pConverter->FindValue(json.get_ref<const std::string&>());
    return std::nullopt;
}
