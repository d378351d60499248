#include "store/KvBlobReference.h"

#include "store/KvJsonWriter.h"

#include <algorithm>
#include <deque>

namespace
{
constexpr const char* kMarker = "$blob";
constexpr std::string_view kHashPrefix = "sha256:";
} // namespace

void KvBlobReference::Write(KvJsonWriter& writer) const
{
    writer.BeginObject();
    writer.Key(kMarker);
    writer.String(std::string(kHashPrefix) + m_strHash);
    writer.Key("size");
    writer.Unsigned(m_ullSize);
    writer.EndObject();
}

bool KvBlobReference::IsMarked(const nlohmann::ordered_json& json)
{
    return json.is_object() && json.contains(kMarker);
}

bool KvBlobReference::IsHash(std::string_view text)
{
    return text.size() == 64 &&
           std::all_of(text.begin(), text.end(),
                       [](char digit)
                       { return (digit >= '0' && digit <= '9') || (digit >= 'a' && digit <= 'f'); });
}

std::optional<KvBlobReference> KvBlobReference::Parse(const nlohmann::ordered_json& json)
{
    // Documents built in memory hold small sizes as signed numbers.
    if (!IsMarked(json) || !json.contains("size") || !json.at("size").is_number_integer() ||
        (!json.at("size").is_number_unsigned() && json.at("size").get<int64_t>() < 0))
        return std::nullopt;
    const auto& marker = json.at(kMarker);
    if (!marker.is_string())
        return std::nullopt;
    const std::string_view text = marker.get_ref<const std::string&>();
    if (!text.starts_with(kHashPrefix) || !IsHash(text.substr(kHashPrefix.size())))
        return std::nullopt;
    return KvBlobReference{std::string(text.substr(kHashPrefix.size())), json.at("size").get<uint64_t>()};
}

std::vector<KvBlobReference> KvBlobReference::CollectIn(const nlohmann::ordered_json& document)
{
    std::vector<KvBlobReference> references;
    std::deque<const nlohmann::ordered_json*> pending = {&document};
    for (; !pending.empty(); pending.pop_front())
    {
        const nlohmann::ordered_json& value = *pending.front();
        if (std::optional<KvBlobReference> reference = Parse(value))
            references.push_back(std::move(*reference));
        else if (value.is_structured())
            for (const nlohmann::ordered_json& child : value)
                pending.push_back(&child);
    }
    return references;
}
