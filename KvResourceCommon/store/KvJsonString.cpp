#include "store/KvJsonString.h"

#include "store/KvJsonWriter.h"

#include <cstdint>

namespace
{
constexpr const char* kLatin1Key = "$latin1";

// The length of the UTF-8 sequence a lead byte starts, with the payload bits it carries
// and the smallest code point that needs that length; 0 for a byte that cannot lead.
struct tLead
{
    size_t m_Length;
    uint32_t m_Bits;
    uint32_t m_Minimum;
};

tLead ReadLead(uint8_t byte)
{
    if ((byte & 0xE0) == 0xC0)
        return {2, byte & 0x1Fu, 0x80};
    if ((byte & 0xF0) == 0xE0)
        return {3, byte & 0x0Fu, 0x800};
    if ((byte & 0xF8) == 0xF0)
        return {4, byte & 0x07u, 0x10000};
    return {0, 0, 0};
}

// Decodes the code point at `position` and moves past it; nothing for a malformed sequence.
std::optional<uint32_t> NextCodePoint(std::string_view text, size_t& position)
{
    const auto lead = static_cast<uint8_t>(text[position]);
    if (lead < 0x80)
    {
        ++position;
        return lead;
    }
    const tLead sequence = ReadLead(lead);
    if (sequence.m_Length == 0 || text.size() - position < sequence.m_Length)
        return std::nullopt;
    uint32_t codePoint = sequence.m_Bits;
    for (size_t index = 1; index < sequence.m_Length; ++index)
    {
        const auto next = static_cast<uint8_t>(text[position + index]);
        if ((next & 0xC0) != 0x80)
            return std::nullopt;
        codePoint = (codePoint << 6) | (next & 0x3Fu);
    }
    if (codePoint < sequence.m_Minimum || codePoint > 0x10FFFF ||
        (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        return std::nullopt;
    position += sequence.m_Length;
    return codePoint;
}
} // namespace

bool KvIsValidUtf8(std::string_view bytes)
{
    for (size_t position = 0; position < bytes.size();)
        if (!NextCodePoint(bytes, position))
            return false;
    return true;
}

void KvWriteString(KvJsonWriter& writer, const std::string& bytes)
{
    if (KvIsValidUtf8(bytes))
    {
        writer.String(bytes);
        return;
    }
    std::string text;
    text.reserve(bytes.size() * 2);
    for (const char character : bytes)
    {
        const auto byte = static_cast<uint8_t>(character);
        if (byte < 0x80)
            text += character;
        else
        {
            text += static_cast<char>(0xC0 | (byte >> 6));
            text += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    writer.BeginObject();
    writer.Key(kLatin1Key);
    writer.String(text);
    writer.EndObject();
}

std::optional<std::string> KvStringFromJson(const nlohmann::ordered_json& json)
{
    if (json.is_string())
        return json.get<std::string>();
    if (!json.is_object() || json.size() != 1 || !json.contains(kLatin1Key) || !json[kLatin1Key].is_string())
        return std::nullopt;
    const std::string& text = json[kLatin1Key].get_ref<const std::string&>();
    std::string bytes;
    bytes.reserve(text.size());
    for (size_t position = 0; position < text.size();)
    {
        const std::optional<uint32_t> codePoint = NextCodePoint(text, position);
        if (!codePoint || *codePoint > 0xFF)
            return std::nullopt;
        bytes += static_cast<char>(*codePoint);
    }
    return bytes;
}
