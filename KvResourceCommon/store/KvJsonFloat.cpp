#include "store/KvJsonFloat.h"

#include "store/KvJsonWriter.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

namespace
{
constexpr const char* kBitsKey = "$f32";
// Doubles from here on round to infinity as floats: FLT_MAX plus half its last step.
constexpr double kFloatOverflow = 0x1.ffffffp+127;
constexpr size_t kBitsTextLength = 10;

std::optional<uint32_t> ParseBits(const std::string& text)
{
    if (text.size() != kBitsTextLength || text.compare(0, 2, "0x") != 0)
        return std::nullopt;
    uint32_t bits = 0;
    const char* pEnd = text.data() + text.size();
    const auto result = std::from_chars(text.data() + 2, pEnd, bits, 16);
    if (result.ec != std::errc() || result.ptr != pEnd)
        return std::nullopt;
    return bits;
}
} // namespace

void KvWriteFloat(KvJsonWriter& writer, float value)
{
    if (!std::isfinite(value))
    {
        char text[kBitsTextLength + 1];
        std::snprintf(text, sizeof(text), "0x%08x", std::bit_cast<uint32_t>(value));
        writer.BeginObject();
        writer.Key(kBitsKey);
        writer.String(text);
        writer.EndObject();
        return;
    }
    // The shortest text that reads back as this float, held as the double of that text, so
    // that the written number is short and exact.
    char text[32];
    const auto result = std::to_chars(text, text + sizeof(text), value);
    writer.Double(std::strtod(std::string(text, result.ptr).c_str(), nullptr));
}

std::optional<float> KvFloatFromJson(const nlohmann::ordered_json& json)
{
    if (json.is_number())
    {
        const double value = json.get<double>();
        if (!(std::fabs(value) < kFloatOverflow))
            return std::nullopt;
        return static_cast<float>(value);
    }
    if (!json.is_object() || json.size() != 1 || !json.contains(kBitsKey) || !json[kBitsKey].is_string())
        return std::nullopt;
    const std::optional<uint32_t> bits = ParseBits(json[kBitsKey].get<std::string>());
    if (!bits)
        return std::nullopt;
    return std::bit_cast<float>(*bits);
}
